// SPDX-License-Identifier: GPL-3.0-or-later
#include "games/rows_rules.h"

namespace rows {

std::vector<TMove> LegalMoves(const TPosition& p, TSide side) {
  std::vector<TMove> moves;
  for (int r = 0; r < p.rows; ++r) {
    const int c = p.ComputerColumn[r], x = p.PlayerColumn[r];
    const int own = side == SideComputer ? c : x;
    const int low = side == SideComputer ? 0 : c + 1;
    const int high = side == SideComputer ? x - 1 : kColumns - 1;
    for (int to = low; to <= high; ++to)
      if (to != own) moves.push_back({uint8_t(r + 1), uint8_t(to)});
  }
  return moves;
}

bool IsLegal(const TPosition& p, TSide side, const TMove& m) {
  if (m.row < 1 || m.row > p.rows) return false;
  const int r = m.row - 1, c = p.ComputerColumn[r], x = p.PlayerColumn[r];
  if (side == SideComputer) return m.column < x && m.column != c;
  return m.column > c && m.column < kColumns && m.column != x;
}

TPosition Apply(const TPosition& p, TSide side, const TMove& m) {
  TPosition next = p;
  (side == SideComputer ? next.ComputerColumn : next.PlayerColumn)[m.row - 1] = m.column;
  return next;
}

bool IsFinal(const TPosition& p) {
  bool computerShut = true, playerShut = true;
  for (int r = 0; r < p.rows; ++r) {
    computerShut = computerShut && p.PlayerColumn[r] == 1;
    playerShut = playerShut && p.ComputerColumn[r] == 14;
  }
  return computerShut || playerShut;
}

TPosition RandomStart(int rowCount, int maxComputerColumn, TRandom& rng) {
  TPosition p;
  p.rows = uint8_t(rowCount);
  for (int r = 0; r < rowCount; ++r) {
    p.ComputerColumn[r] = uint8_t(rng.random(maxComputerColumn + 1));
    p.PlayerColumn[r] = uint8_t(15 - rng.random(14 - p.ComputerColumn[r]));
  }
  return p;
}

}  // namespace rows
