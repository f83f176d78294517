// SPDX-License-Identifier: GPL-3.0-or-later
#include "games/game2_rules.h"

#include <algorithm>

namespace game2 {

const std::array<TCell, 11> GoodCells = {
    {{0, 0}, {1, 2}, {2, 1}, {3, 5}, {4, 7}, {5, 3}, {6, 10}, {7, 4}, {10, 6}, {13, 8}, {15, 9}}};

std::vector<TMove> LegalMoves(const TPosition& p) {
  std::vector<TMove> moves = game1::LegalMoves(p);
  const TCell c = p.CoinPos;
  for (int k = 1; k <= std::min(c.column, c.row); ++k) moves.push_back({c.column - k, c.row - k});
  return moves;
}

bool IsLegal(const TPosition& p, const TMove& m) {
  const TCell c = p.CoinPos;
  const int dc = c.column - m.column, dr = c.row - m.row;
  const bool diagonal = dc == dr && dc > 0 && m.column >= 0 && m.row >= 0;
  return game1::IsLegal(p, m) || diagonal;
}

TPosition Apply(const TPosition&, const TMove& m) { return {m}; }

bool IsFinal(const TPosition& p) { return p.CoinPos == TCell{0, 0}; }

bool IsGood(const TPosition& p) {
  return std::find(GoodCells.begin(), GoodCells.end(), p.CoinPos) != GoodCells.end();
}

std::vector<int> ReachableGood(const TCell& from) {
  const int c = from.column, r = from.row;
  std::vector<int> found;
  for (int n = 1; n <= 11 && found.size() < 3; ++n) {
    const TCell& e = GoodCells[size_t(n - 1)];
    if ((c == e.column && r > e.row) || (r == e.row && c > e.column) ||
        (r - e.row == c - e.column && c - e.column > 0))
      found.push_back(n);
  }
  return found;
}

TMove ComputerMove(const TPosition& p, TRandom& rng) {
  const int c = p.CoinPos.column, r = p.CoinPos.row;
  if (game2::IsGood(p)) {
    // No good move: a random diagonal step.
    const int m = std::min(c, r);
    const int s = rng.random(m - 1) + 1;
    return {c - s, r - s};
  }
  const std::vector<int> reachable = ReachableGood(p.CoinPos);
  if (reachable.empty()) return p.CoinPos;  // cannot happen: every good cell is listed
  if (reachable.front() == 1) return {0, 0};
  const int k = rng.random(int(reachable.size()));
  return GoodCells[size_t(reachable[size_t(k)] - 1)];
}

TPosition RandomStart(TRandom& rng) {
  while (true) {
    const int column = 15 - rng.random(12);
    const int row = 11 - rng.random(8);
    if (column != row) return {{column, row}};
  }
}

}  // namespace game2
