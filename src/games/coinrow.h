// SPDX-License-Identifier: GPL-3.0-or-later
// The one row of 16 cells of games 7 and 8 (y 220..260): cell geometry and
// the emptying of a cell.
#pragma once

#include <cstdint>

#include "base/geometry.h"

class TBoard;

namespace coinrow {

constexpr int kTop = 220;

TRect CellRect(int column);
// The middle of the cell, where a keyboard move picks up and drops a coin.
TPoint CellCentre(int column);
// The column whose cell's inner part (offsets 6..34) holds the point, or -1.
int HitCell(int x, int y);
// Fills the cell inside its grid lines with the emptied colour, in the
// background, and adds the cell to the erase area.
void EraseCell(TBoard& board, int column);
// The background under the row: the ground, the strip in `strip` colour.
void DrawGround(TBoard& board, uint32_t strip);

}  // namespace coinrow
