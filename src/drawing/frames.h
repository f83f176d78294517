// SPDX-License-Identifier: GPL-3.0-or-later
// The gradient frames the main window and the hall-of-fame window draw
// around their boxes.
#pragma once

#include <QPainter>
#include <QRect>
#include <cstdint>

#include "drawing/Xbitmap.h"

// The frame rectangle around a box; right and bottom inclusive.
TRect FrameBounds(const QRect& box, int margin);
// Rings of one-pixel lines around r on a window's surface (styles 0..3).
void DrawFrame(QPainter& surface, const TRect& r, uint32_t colourA, uint32_t colourB, int style,
               int count);
