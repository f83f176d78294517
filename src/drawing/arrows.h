// SPDX-License-Identifier: GPL-3.0-or-later
// The arrows of the direction box and the start picture: a filled polygon
// around a straight shaft, with one head or two.
#pragma once

#include <cstdint>

#include "drawing/Xbitmap.h"

struct TArrowStyle {
  uint8_t flags;  // bit 0 filled, bit 1 double-headed
  uint8_t penWidth;
  uint32_t penColor, fillColor;
};
struct TArrowGeometry {
  int16_t x1, y1, x2, y2;  // tail, head
};
extern const TArrowStyle WelcomeArrow, DirectionArrow, DoubleDirectionArrow;
extern const TArrowGeometry ArrowToSelector, ArrowToNameBox, ArrowLeft, ArrowDown, ArrowDiagonal,
    ArrowBothWays;

// The arrow's outline: 7 points, or 10 for a double-headed arrow; none for
// an arrow of length 0.
int ArrowPolygon(const TArrowStyle& style, const TArrowGeometry& g, TPoint (&points)[10]);
void DrawArrow(TXBitmap& target, const TArrowStyle& style, const TArrowGeometry& g);
// The arrows of the direction box, as flags.
enum TDirection : uint8_t {
  DirLeft = 1,
  DirDown = 2,
  DirDiagonal = 4,  // down and to the left
  DirBothWays = 8,  // left and right: one double-headed arrow
};
// Clears the 75 x 75 target to TransparentColor and draws the arrows of the
// given TDirection flags; none for 0.
void DrawDirections(TXBitmap& target, uint8_t directions);
