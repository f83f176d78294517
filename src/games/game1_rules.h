// SPDX-License-Identifier: GPL-3.0-or-later
// Game 2's rules: one coin on a 16 x 12 grid, pushed any number of cells
// left or down; whoever puts it in the corner cell (0, 0) wins. Game 3
// shares the cell and position types.
#pragma once

#include <vector>

#include "base/Random.h"

namespace game1 {

constexpr int kColumns = 16, kRows = 12;

struct TCell {
  int column = 0;  // 0..15
  int row = 0;     // 0..11, counted from the bottom
  bool operator==(const TCell&) const = default;
};

struct TPosition {
  TCell CoinPos;
  bool operator==(const TPosition&) const = default;
};

// A move names the cell the coin is pushed to.
using TMove = TCell;

std::vector<TMove> LegalMoves(const TPosition& p);
bool IsLegal(const TPosition& p, const TMove& m);
TPosition Apply(const TPosition& p, const TMove& m);
bool IsFinal(const TPosition& p);  // the coin in the corner cell
// Good positions: the diagonal through the corner.
bool IsGood(const TPosition& p);
// Onto the diagonal when off it; from the diagonal a random move left or
// down (one cell when column <= 3, else s = 1 .. column - 2 cells).
TMove ComputerMove(const TPosition& p, TRandom& rng);
TPosition RandomStart(TRandom& rng);  // columns 8..15, rows 6..11

}  // namespace game1
