// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawing/arrows.h"

#include <algorithm>
#include <cmath>

#include "drawing/pieces.h"

const TArrowStyle WelcomeArrow{1, 2, 0xC0C0C0, 0xF0F0F0};
const TArrowStyle DirectionArrow{1, 2, 0x0000FF, 0x00FFFF};
const TArrowStyle DoubleDirectionArrow{3, 2, 0x0000FF, 0x00FFFF};
const TArrowGeometry ArrowToSelector{525, 50, 625, 50};
const TArrowGeometry ArrowToNameBox{525, 380, 625, 380};
const TArrowGeometry ArrowLeft{55, 15, 5, 15};
const TArrowGeometry ArrowDown{60, 20, 60, 70};
const TArrowGeometry ArrowDiagonal{50, 25, 5, 70};
const TArrowGeometry ArrowBothWays{5, 40, 75, 40};

int ArrowPolygon(const TArrowStyle& style, const TArrowGeometry& g, TPoint (&pts)[10]) {
  const int x1 = g.x1, y1 = g.y1, x2 = g.x2, y2 = g.y2;
  const float dx = float(x2 - x1), dy = float(y1 - y2);  // y up
  const float L = std::sqrt(dx * dx + dy * dy);
  if (L == 0) return 0;
  const float w = std::clamp(L / 10.0f, 6.0f, 10.0f) / 2.0f;  // half the shaft
  const float h = std::min(L / 3.0f, 40.0f);                  // length of a head
  const float s = dy / L, c = dx / L;
  const int a = int(w * s), b = int(w * c);  // across the arrow
  const TPoint P{x1 + int(h * c), y1 - int(h * s)};
  const TPoint Q{x2 - int(h * c), y2 + int(h * s)};
  auto off = [&](TPoint v, int k) { return TPoint{v.x + k * a, v.y + k * b}; };
  if (style.flags & 2) {
    const TPoint list[10] = {{x2, y2}, off(Q, -3), off(Q, -1), off(P, -1), off(P, -3),
                             {x1, y1}, off(P, 3),  off(P, 1),  off(Q, 1),  off(Q, 3)};
    std::copy(list, list + 10, pts);
    return 10;
  }
  const TPoint list[7] = {{x2, y2},         off(Q, -3), off(Q, -1), {x1 - a, y1 - b},
                          {x1 + a, y1 + b}, off(Q, 1),  off(Q, 3)};
  std::copy(list, list + 7, pts);
  return 7;
}

void DrawArrow(TXBitmap& target, const TArrowStyle& style, const TArrowGeometry& g) {
  TPoint pts[10];
  const int n = ArrowPolygon(style, g, pts);
  if (n == 0) return;
  target.SetPenColor(style.penColor);
  target.SetPenLevel(0);
  target.SetFillLevel(1);
  target.Filled = style.flags & 1;
  if (target.Filled) target.SetFillColor(style.fillColor);
  target.SetPenWidth(style.penWidth);
  target.SetDashStyle(0);
  target.Polygon(pts, n - 1);
}

void DrawDirections(TXBitmap& target, uint8_t directions) {
  ClearToTransparent(target);
  if (directions & DirLeft) DrawArrow(target, DirectionArrow, ArrowLeft);
  if (directions & DirDown) DrawArrow(target, DirectionArrow, ArrowDown);
  if (directions & DirDiagonal) DrawArrow(target, DirectionArrow, ArrowDiagonal);
  if (directions & DirBothWays) DrawArrow(target, DoubleDirectionArrow, ArrowBothWays);
}
