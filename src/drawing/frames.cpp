// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawing/frames.h"

#include <utility>

#include "drawing/PaintBox.h"

TRect FrameBounds(const QRect& box, int margin) {
  return {box.left() - margin, box.top() - margin, box.left() + box.width() + margin - 1,
          box.top() + box.height() + margin - 1};
}

namespace {
// Pen position and one-pixel lines that leave out their end pixel, along
// rows and columns.
struct TLinePen {
  QPainter& p;
  int x = 0, y = 0;
  void MoveTo(int nx, int ny) {
    x = nx;
    y = ny;
  }
  void LineTo(int nx, int ny) {
    if (ny == y && nx != x) {
      const int a = nx > x ? x : nx + 1, b = nx > x ? nx - 1 : x;
      p.fillRect(QRect(a, y, b - a + 1, 1), p.pen().color());
    } else if (nx == x && ny != y) {
      const int a = ny > y ? y : ny + 1, b = ny > y ? ny - 1 : y;
      p.fillRect(QRect(x, a, 1, b - a + 1), p.pen().color());
    }
    MoveTo(nx, ny);
  }
};
}  // namespace

void DrawFrame(QPainter& surface, const TRect& r, uint32_t colourA, uint32_t colourB, int style,
               int count) {
  auto channel = [](uint32_t c, int shift) { return int((c >> shift) & 0xFF); };
  float step[3] = {0, 0, 0};
  if (count >= 2)
    for (int ch = 0; ch < 3; ++ch)
      step[ch] = float(channel(colourB, 8 * ch) - channel(colourA, 8 * ch)) / float(count - 1);
  TLinePen pen{surface};
  for (int i = 0; i < count; ++i) {
    uint32_t first = colourA, second = colourB;
    switch (style) {
      case 0:
        first = second = 0xCFCFCF;
        break;
      case 2:
        if (i >= count / 2) std::swap(first, second);
        break;
      case 3:
        first = second = 0;
        for (int ch = 0; ch < 3; ++ch) {
          const int d = int(float(i) * step[ch]);
          first |= uint32_t(channel(colourA, 8 * ch) + d) << (8 * ch);
          second |= uint32_t(channel(colourB, 8 * ch) - d) << (8 * ch);
        }
        break;
      default:
        break;
    }
    surface.setPen(ToQColor(first));
    pen.MoveTo(r.Right - 1 - i, r.Top + i);
    pen.LineTo(r.Left + i, r.Top + i);
    pen.LineTo(r.Left + i, r.Bottom - 1 - i);
    surface.setPen(ToQColor(second));
    pen.LineTo(r.Right - 1 - i, r.Bottom - 1 - i);
    pen.LineTo(r.Right - 1 - i, r.Top + i);
  }
}
