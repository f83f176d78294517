// SPDX-License-Identifier: GPL-3.0-or-later
#include "games/game3_rules.h"

namespace game3 {

int Distance(const TPosition& p, int row) {
  return p.PlayerColumn[row - 1] - p.ComputerColumn[row - 1];
}

bool IsGood(const TPosition& p) { return Distance(p, 1) == Distance(p, 2); }

TMove ComputerMove(const TPosition& p, TRandom& rng) {
  const int d1 = Distance(p, 1), d2 = Distance(p, 2);
  if (d2 < d1) return {1, uint8_t(p.ComputerColumn[0] + d1 - d2)};
  if (d1 < d2) return {2, uint8_t(p.ComputerColumn[1] + d2 - d1)};
  const int e = p.PlayerColumn[1] < p.PlayerColumn[0] ? 1 : 2;
  const int x = p.PlayerColumn[e - 1];
  int c = p.ComputerColumn[e - 1];
  for (int steps = rng.random(x - 1) + 1; steps > 0; --steps) {
    ++c;
    if (c == x) c = 0;
  }
  return {uint8_t(e), uint8_t(c)};
}

TPosition RandomStart(TRandom& rng) { return rows::RandomStart(2, 10, rng); }

}  // namespace game3
