// SPDX-License-Identifier: GPL-3.0-or-later
// What games 4 and 6 share: two or three rows of 16 cells, in each an O coin
// of the computer left of an X coin of the player. A move slides one's own
// coin in one row any number of cells left or right, never onto or past the
// other coin of its row; whoever leaves the other side without a move wins.
#pragma once

#include <cstdint>
#include <vector>

#include "base/Random.h"

namespace rows {

constexpr int kColumns = 16;
constexpr int kMaxRows = 3;

enum TSide : uint8_t { SideComputer = 0, SidePlayer = 1 };  // O coins, X coins

struct TPosition {
  uint8_t rows = 2;                       // 2 or 3
  uint8_t ComputerColumn[kMaxRows] = {};  // rows 1..rows at 0..rows-1
  uint8_t PlayerColumn[kMaxRows] = {};    // ComputerColumn < PlayerColumn
  bool operator==(const TPosition&) const = default;
};

struct TMove {
  uint8_t row;     // 1..rows
  uint8_t column;  // where the side's coin of that row goes
  bool operator==(const TMove&) const = default;
};

std::vector<TMove> LegalMoves(const TPosition& p, TSide side);
bool IsLegal(const TPosition& p, TSide side, const TMove& m);
TPosition Apply(const TPosition& p, TSide side, const TMove& m);
// Both walls closed: every O coin at column 0 with its X coin beside it
// (the computer cannot move), or every X coin at column 15 with its O coin
// beside it (the player cannot move).
bool IsFinal(const TPosition& p);
// Row by row: the O coin in 0..maxComputerColumn, then the X coin at least
// two columns right of it, up to 15.
TPosition RandomStart(int rowCount, int maxComputerColumn, TRandom& rng);

}  // namespace rows
