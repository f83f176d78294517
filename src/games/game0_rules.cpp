// SPDX-License-Identifier: GPL-3.0-or-later
#include "games/game0_rules.h"

#include <cstdlib>

namespace game0 {

std::vector<TMove> LegalMoves(const TPosition& p) {
  std::vector<TMove> moves;
  for (int column = 1; column <= 2; ++column)
    for (int count = 1; count <= p.ColumnHeights[column - 1]; ++count)
      moves.push_back({uint8_t(column), uint8_t(count)});
  return moves;
}

bool IsLegal(const TPosition& p, const TMove& m) {
  return (m.column == 1 || m.column == 2) && m.count >= 1 &&
         m.count <= p.ColumnHeights[m.column - 1];
}

TPosition Apply(const TPosition& p, const TMove& m) {
  TPosition next = p;
  next.ColumnHeights[m.column - 1] = uint8_t(p.ColumnHeights[m.column - 1] - m.count);
  return next;
}

bool IsFinal(const TPosition& p) { return p.ColumnHeights[0] == 0 && p.ColumnHeights[1] == 0; }

bool IsGood(const TPosition& p) { return p.ColumnHeights[0] == p.ColumnHeights[1]; }

TMove ComputerMove(const TPosition& p, TRandom& rng) {
  const int h1 = p.ColumnHeights[0], h2 = p.ColumnHeights[1];
  if (h1 == h2) {
    const int column = 1 + rng.random(2);
    const int d = p.ColumnHeights[column - 1];
    const int count = d <= 2 ? 1 : 1 + rng.random(d - 2);
    return {uint8_t(column), uint8_t(count)};
  }
  return {uint8_t(h1 > h2 ? 1 : 2), uint8_t(std::abs(h1 - h2))};
}

TPosition RandomStart(TRandom& rng) {
  TPosition p;
  p.ColumnHeights[0] = uint8_t(12 - rng.random(9));
  p.ColumnHeights[1] = uint8_t(12 - rng.random(9));
  return p;
}

}  // namespace game0
