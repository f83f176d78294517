// SPDX-License-Identifier: GPL-3.0-or-later
#include "games/game1_rules.h"

namespace game1 {

std::vector<TMove> LegalMoves(const TPosition& p) {
  const TCell c = p.CoinPos;
  std::vector<TMove> moves;
  for (int k = 1; k <= c.column; ++k) moves.push_back({c.column - k, c.row});
  for (int k = 1; k <= c.row; ++k) moves.push_back({c.column, c.row - k});
  return moves;
}

bool IsLegal(const TPosition& p, const TMove& m) {
  const TCell c = p.CoinPos;
  const bool left = m.row == c.row && m.column >= 0 && m.column < c.column;
  const bool down = m.column == c.column && m.row >= 0 && m.row < c.row;
  return left || down;
}

TPosition Apply(const TPosition&, const TMove& m) { return {m}; }

bool IsFinal(const TPosition& p) { return p.CoinPos == TCell{0, 0}; }

bool IsGood(const TPosition& p) { return p.CoinPos.column == p.CoinPos.row; }

TMove ComputerMove(const TPosition& p, TRandom& rng) {
  const int c = p.CoinPos.column, r = p.CoinPos.row;
  if (r < c) return {r, r};  // left onto the diagonal
  if (r > c) return {c, c};  // down onto the diagonal
  // On the diagonal no move is good: a random one.
  if (c <= 3) return rng.random(2) == 0 ? TCell{c - 1, r} : TCell{c, r - 1};
  const int k = rng.random(2 * (c - 2));
  const int s = k / 2 + 1;
  return k % 2 == 0 ? TCell{c - s, r} : TCell{c, r - s};
}

TPosition RandomStart(TRandom& rng) {
  const int column = 15 - rng.random(8);
  const int row = 11 - rng.random(6);
  return {{column, row}};
}

}  // namespace game1
