// SPDX-License-Identifier: GPL-3.0-or-later
#include "games/coinrow.h"

#include "drawing/Unit2.h"

namespace coinrow {

TRect CellRect(int column) { return {40 * column, kTop, 40 * column + 40, kTop + 40}; }

TPoint CellCentre(int column) { return {40 * column + 20, kTop + 20}; }

int HitCell(int x, int y) {
  int column = x / 40;
  if (column == 16) column = 15;
  const int fx = x % 40, fy = (y - kTop) % 40;
  if (column < 0 || column > 15 || (y - kTop) / 40 != 0 || fx < 6 || fx > 34 || fy < 6 || fy > 34)
    return -1;
  return column;
}

void EraseCell(TBoard& board, int column) {
  const TRect r = CellRect(column);
  board.BackgroundBitmap.FillRect({r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}, 0xF3FFFF);
  board.AddErase(r);
}

void DrawGround(TBoard& board, uint32_t strip) {
  TXBitmap& b = board.BackgroundBitmap;
  b.FillRect({0, 0, b.Width(), b.Height()}, 0xD3FFFF);
  b.FillRect({0, kTop, 641, kTop + 40}, strip);
  b.SetPenWidth(1);
  b.SetPenLevel(0);
  b.SetPenColor(0x000080);
  b.SetDashStyle(0);
  b.LineEnds = 0;
}

}  // namespace coinrow
