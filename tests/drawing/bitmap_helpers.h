// SPDX-License-Identifier: GPL-3.0-or-later
// Small helpers for reading what the engine drew.
#pragma once

#include <string>
#include <vector>

#include "drawing/Xbitmap.h"

namespace testing_zam {

constexpr uint32_t kWhite = 0xFFFFFF;

// A bitmap of the given size, cleared to white (tag 3) with the default state.
inline void Clear(TXBitmap& b, uint32_t colour = kWhite) {
  b.FillRect({0, 0, b.Width(), b.Height()}, SwapRB(colour));
}

// Rows of the area as text: '#' where the pixel differs from the ground.
inline std::vector<std::string> Picture(const TXBitmap& b, TRect area, uint32_t ground = kWhite) {
  std::vector<std::string> rows;
  for (int y = area.Top; y < area.Bottom; ++y) {
    std::string row;
    for (int x = area.Left; x < area.Right; ++x) row += b.GetPixel(x, y) == ground ? '.' : '#';
    rows.push_back(row);
  }
  return rows;
}

inline int CountNot(const TXBitmap& b, uint32_t ground = kWhite) {
  int n = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) n += b.GetPixel(x, y) != ground;
  return n;
}

inline int Count(const TXBitmap& b, uint32_t value) {
  int n = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) n += b.GetPixel(x, y) == value;
  return n;
}

// Bounding box (right/bottom exclusive) of the pixels that differ from the ground.
inline TRect InkBounds(const TXBitmap& b, uint32_t ground = kWhite) {
  TRect r{b.Width(), b.Height(), -1, -1};
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (b.GetPixel(x, y) != ground) {
        r.Left = std::min(r.Left, x);
        r.Top = std::min(r.Top, y);
        r.Right = std::max(r.Right, x + 1);
        r.Bottom = std::max(r.Bottom, y + 1);
      }
  return r;
}

}  // namespace testing_zam

inline std::ostream& operator<<(std::ostream& os, const TRect& r) {
  return os << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}
