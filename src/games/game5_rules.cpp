// SPDX-License-Identifier: GPL-3.0-or-later
#include "games/game5_rules.h"

namespace game5 {

int Heap(const TPosition& p, int row) {
  return p.PlayerColumn[row - 1] - p.ComputerColumn[row - 1] - 1;
}

int HeapXor(const TPosition& p) { return Heap(p, 1) ^ Heap(p, 2) ^ Heap(p, 3); }

bool IsGood(const TPosition& p) { return HeapXor(p) == 0; }

TMove ComputerMove(const TPosition& p, TRandom& rng) {
  const int s = HeapXor(p);
  const int r0 = rng.random(3) + 1;
  for (int k = 0; k < 3; ++k) {
    const int r = (r0 - 1 + k) % 3 + 1;
    const int x = p.PlayerColumn[r - 1];
    if (s != 0) {
      const int h = Heap(p, r);
      if ((h ^ s) < h) return {uint8_t(r), uint8_t(x - 1 - (h ^ s))};
    } else if (x >= 2) {
      int c = p.ComputerColumn[r - 1] + 1 + rng.random(x - 1);
      if (c >= x) c -= x;
      return {uint8_t(r), uint8_t(c)};
    }
  }
  return {1, p.ComputerColumn[0]};  // no move at all: a final position
}

TPosition RandomStart(TRandom& rng) { return rows::RandomStart(3, 12, rng); }

}  // namespace game5
