// SPDX-License-Identifier: GPL-3.0-or-later
// Rectangles and points in board pixels, shared by every subsystem; no Qt.
#pragma once

#include <algorithm>

// Rectangle in pixels, Right and Bottom exclusive unless a caller says so.
struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  bool operator==(const TRect&) const = default;
};

struct TPoint {
  int x = 0;
  int y = 0;
  bool operator==(const TPoint&) const = default;
};

// Smallest Left and Top, largest Right and Bottom.
inline TRect RectUnion(const TRect& a, const TRect& b) {
  return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
          std::max(a.Bottom, b.Bottom)};
}

// Largest Left and Top, smallest Right and Bottom; an empty result stays as
// computed (Right < Left is possible).
inline TRect RectIntersection(const TRect& a, const TRect& b) {
  return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
          std::min(a.Bottom, b.Bottom)};
}

// The middle pixel, rounded towards Left and Top.
inline TPoint RectCentre(const TRect& r) {
  return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
}

inline TRect Offset(const TRect& r, int dx, int dy) {
  return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}
