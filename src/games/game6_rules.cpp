// SPDX-License-Identifier: GPL-3.0-or-later
#include "games/game6_rules.h"

namespace game6 {

namespace {
int C(const TPosition& p, int slot) { return p.CoinColumn[slot - 1]; }
}  // namespace

int Coins(const TPosition& p) {
  int n = 0;
  for (int8_t c : p.CoinColumn) n += c >= 0;
  return n;
}

int Heap(const TPosition& p, int pair) { return C(p, 2 * pair) - C(p, 2 * pair - 1) - 1; }

int Space(const TPosition& p, int pair) {
  return pair == 1 ? 0 : C(p, 2 * pair - 1) - C(p, 2 * pair - 2) - 1;
}

int HeapXor(const TPosition& p) { return Heap(p, 1) ^ Heap(p, 2) ^ Heap(p, 3); }

std::vector<TMove> LegalMoves(const TPosition& p) {
  std::vector<TMove> moves;
  for (int k = 2; k <= 6; ++k)
    if (C(p, k) >= 0)
      for (int to = C(p, k - 1) + 1; to < C(p, k); ++to)
        if (to >= 0) moves.push_back({uint8_t(k), int8_t(to)});
  return moves;
}

bool IsLegal(const TPosition& p, const TMove& m) {
  return m.slot >= 2 && m.slot <= 6 && C(p, m.slot) >= 0 && m.column >= 0 &&
         m.column > C(p, m.slot - 1) && m.column < C(p, m.slot);
}

TPosition Apply(const TPosition& p, const TMove& m) {
  TPosition next = p;
  next.CoinColumn[m.slot - 1] = m.column;
  return next;
}

bool IsFinal(const TPosition& p) {
  for (int k = 1; k <= 5; ++k)
    if (C(p, k + 1) - C(p, k) != 1) return false;
  return true;
}

bool IsGood(const TPosition& p) { return HeapXor(p) == 0; }

TMove ComputerMove(const TPosition& p, TRandom& rng) {
  const int s = HeapXor(p);
  if (s != 0) {
    for (int i = 1; i <= 3; ++i) {
      if (C(p, 2 * i) <= 0) continue;
      const int heap = Heap(p, i), h = heap ^ s;
      if (h < heap) return {uint8_t(2 * i), int8_t(C(p, 2 * i - 1) + h + 1)};
      if (Space(p, i) + heap >= h) return {uint8_t(2 * i - 1), int8_t(C(p, 2 * i) - h - 1)};
    }
  }
  // No good move (or, against the rules of play, none found): a random one.
  int slots[5], rooms[5], count = 0;
  for (int k = 2; k <= 6; ++k) {
    const int room = C(p, k) - C(p, k - 1) - 1;
    if (C(p, k) > 0 && room > 0) {
      slots[count] = k;
      rooms[count] = room;
      ++count;
    }
  }
  if (count == 0) return {6, int8_t(C(p, 6))};  // final: the computer is never asked
  const int pick = rng.random(count);
  const int k = slots[pick];
  return {uint8_t(k), int8_t(C(p, k - 1) + 1 + rng.random(rooms[pick]))};
}

TPosition RandomStart(int level, TRandom& rng) {
  // next(p, m): a column from p + 1 to m.
  auto next = [&rng](int p, int m) { return p + 1 + rng.random(m - p); };
  TPosition p;
  int8_t* c = p.CoinColumn;
  if (level <= 0) {
    c[0] = -4, c[1] = -3, c[2] = -2, c[3] = -1;
    c[4] = int8_t(rng.random(9) + 3);
  } else if (level <= 2) {
    c[0] = -3, c[1] = -2, c[2] = -1;
    c[3] = int8_t(rng.random(9) + 1);
    c[4] = int8_t(next(c[3], 13));
  } else if (level == 3) {
    c[0] = -2, c[1] = -1;
    c[2] = int8_t(rng.random(6) + 2);
    c[3] = int8_t(next(c[2], 12));
    c[4] = int8_t(next(c[3], 14));
  } else {
    c[0] = -1;
    c[1] = int8_t(rng.random(5) + 2);
    c[2] = int8_t(next(c[1], 10));
    c[3] = int8_t(next(c[2], 12));
    c[4] = int8_t(next(c[3], 14));
  }
  c[5] = int8_t(next(c[4], 15));
  return p;
}

}  // namespace game6
