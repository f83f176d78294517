// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawing/Xbitmap.h"

#include <QFontMetrics>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

using i64 = long long;

namespace {

constexpr uint32_t kOpaque = 0xFF000000u;  // storage byte above red
constexpr uint32_t kWhite = 0xFFFFFFu;

// A stroke whose start lies this many steps before the visible part of the
// bitmap has its float position stepped forward one step at a time, exactly
// as a full walk would; beyond that the position is computed directly (such
// lines lie millions of pixels off the bitmap, where single precision has long
// stopped resolving single pixels anyway).
constexpr i64 kMaxSkippedSteps = i64(1) << 22;

constexpr uint16_t kDashPatterns[20] = {0xFFFF, 0xAAAA, 0xCCCC, 0xEEEE, 0xF0F0, 0xF8F8, 0xFCFC,
                                        0xFEFE, 0x8888, 0xC0C0, 0xE0E0, 0xFF00, 0x8080, 0xBEBE,
                                        0x9C9C, 0xDEDE, 0xFF18, 0xFF88, 0xFFE4, 0xFFFA};

constexpr float kArrowShapes[4] = {2.5f, 1.0f, 0.5f, 0.25f};

// R(v): add 0.5, truncate toward zero; saturates far out, NaN gives 0.
inline i64 R(float v) {
  const float t = v + 0.5f;
  if (t >= -4.0e18f && t <= 4.0e18f) [[likely]]
    return static_cast<i64>(t);
  if (t > 0) return 4000000000000000000LL;
  if (t < 0) return -4000000000000000000LL;
  return 0;
}

inline int ClampInt(i64 v) { return int(std::clamp<i64>(v, INT_MIN, INT_MAX)); }

// Pixel store under the level rule.
inline void Put(uint32_t* p, uint32_t v) {
  if ((*p & 3) >= (v & 3)) *p = v;
}

inline i64 TruncDiv2(i64 v) { return v / 2; }  // div: truncates toward zero

// ---- polygon geometry ------------------------------------------------------

struct Edge {
  i64 ox, oy;  // origin
  i64 dx, dy;  // direction
};

// Where E and F (origin plus t times direction) cross: t along E, u along F.
// False for parallel edges. Products are formed exactly (doubles hold them for
// every coordinate a board can have); t and u are single precision.
bool Intersect(const Edge& e, const Edge& f, float& t, float& u) {
  const double c = double(e.dx) * double(f.dy) - double(e.dy) * double(f.dx);
  if (c == 0) return false;
  const double gx = double(f.ox - e.ox), gy = double(f.oy - e.oy);
  const float cf = float(c);
  t = float(gx * double(f.dy) - gy * double(f.dx)) / cf;
  u = float(gx * double(e.dy) - gy * double(e.dx)) / cf;
  return true;
}

// ---- arc walk -------------------------------------------------------------
//
// The outline of an ellipse with half-axes a, b is walked in four pieces
// (top, left, bottom, right), counter-clockwise on screen. Every position has
// an index 0 .. 4(xq + yq) - 1 along one turn, so a step forward is the next
// index and a step back the previous one.
struct ArcWalk {
  i64 a, b, xq, yq;
  float ba, ab;  // b/a and a/b in single precision

  i64 Total() const { return 4 * (xq + yq); }

  // Index of position (q, p) after the end-of-piece rule.
  i64 Index(int q, i64 p) const {
    for (int guard = 0; guard < 4; ++guard) {  // at most one pass round the pieces
      if (q == 0 && p == -xq) {
        q = 1;
        p = -yq;
      } else if (q == 1 && p == yq) {
        q = 2;
        p = -xq;
      } else if (q == 2 && p == xq) {
        q = 3;
        p = yq;
      } else if (q == 3 && p == -yq) {
        q = 0;
        p = xq;
      } else
        break;
    }
    switch (q) {
      case 0:
        return xq - p;
      case 1:
        return 2 * xq + yq + p;
      case 2:
        return 3 * xq + 2 * yq + p;
      default:
        return 4 * xq + 3 * yq - p;
    }
  }

  // Point of the position with index i, relative to the centre.
  void Point(i64 i, i64& x, i64& y) const {
    if (i < 2 * xq) {
      const i64 p = xq - i;
      x = p;
      y = -R(std::sqrt(float(a * a - p * p)) * ba);
    } else if (i < 2 * xq + 2 * yq) {
      const i64 p = i - 2 * xq - yq;
      x = -R(std::sqrt(float(b * b - p * p)) * ab);
      y = p;
    } else if (i < 4 * xq + 2 * yq) {
      const i64 p = i - 3 * xq - 2 * yq;
      x = p;
      y = R(std::sqrt(float(a * a - p * p)) * ba);
    } else {
      const i64 p = 4 * xq + 3 * yq - i;
      x = R(std::sqrt(float(b * b - p * p)) * ab);
      y = p;
    }
  }

  // Projects the direction (dx, dy) onto the ellipse: returns the walk index
  // and the projected point (the tip of an arrowhead at that end).
  i64 Project(i64 dx, i64 dy, i64& px, i64& py) const {
    const float fdx = float(dx), fdy = float(dy);
    const float bdx = float(b) * fdx, ady = float(a) * fdy;
    const float f = float(a * b) / std::sqrt(bdx * bdx + ady * ady);
    px = R(fdx * f);
    py = R(fdy * f);
    if (std::llabs(px) <= xq) return Index(dy > 0 ? 2 : 0, px);
    // Rounding may land one step past the side pieces' range: keep it inside.
    const i64 p = std::clamp(py, -yq, yq);
    return Index(dx >= 0 ? 3 : 1, p);
  }
};

}  // namespace

// ---- free helpers ------------------------------------------------------------

long long RoundHalfUp(float v) { return R(v); }

uint32_t SwapRB(uint32_t colour) {
  return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

QString FontFace(const QString& name) {
  if (name.compare(QLatin1String("arial"), Qt::CaseInsensitive) == 0 ||
      name.compare(QLatin1String("MS Sans Serif"), Qt::CaseInsensitive) == 0)
    return QStringLiteral("Liberation Sans");
  return name;
}

QFont MakeFont(const QString& face, int cellHeight, bool bold) {
  QFont font(FontFace(face));
  font.setBold(bold);
  font.setStyleStrategy(QFont::PreferDefault);
  if (cellHeight < 1) cellHeight = 1;
  // The program sizes fonts by cell height; Qt by em size. Measure once and
  // scale so that ascent + descent matches the requested cell.
  font.setPixelSize(cellHeight);
  const int measured = QFontMetrics(font).ascent() + QFontMetrics(font).descent();
  if (measured > 0 && measured != cellHeight) {
    const int px = std::max(1, int(std::lround(double(cellHeight) * cellHeight / measured)));
    font.setPixelSize(px);
  }
  return font;
}

// ---- construction and size -----------------------------------------------------

TXBitmap::TXBitmap() : TXBitmap(10, 10) {}

TXBitmap::TXBitmap(int width, int height) {
  SetSize(width, height);
  SetPenWidth(1);
}

void TXBitmap::SetWidth(int w) { SetSize(w, height_); }
void TXBitmap::SetHeight(int h) { SetSize(width_, h); }

void TXBitmap::SetSize(int w, int h) {
  w = std::max(w, 0);
  h = std::max(h, 0);
  if (w == width_ && h == height_ && (!image_.isNull() || w == 0 || h == 0)) return;
  QImage next;
  if (w > 0 && h > 0) {
    next = QImage(w, h, QImage::Format_RGB32);
    if (!next.isNull()) {
      next.fill(kOpaque | kWhite);
      // Keep what overlaps, as a resized platform bitmap does.
      const int cw = std::min(w, width_), ch = std::min(h, height_);
      for (int y = 0; y < ch && rows_; ++y)
        std::copy_n(Row(y), cw, reinterpret_cast<uint32_t*>(next.scanLine(y)));
    }
  }
  image_ = std::move(next);  // a copy would leave it shared, and bits() would then detach
  // A bitmap with no pixels keeps its other side, as a platform bitmap does,
  // but its clip is empty.
  width_ = image_.isNull() && w > 0 && h > 0 ? 0 : w;
  height_ = image_.isNull() && w > 0 && h > 0 ? 0 : h;
  UpdateRows();
}

// Refreshes the row access and the clip rectangle after a size change. The
// clip is always the bitmap's real size (empty for a bitmap without pixels),
// so no primitive can reach past the pixels it has.
void TXBitmap::UpdateRows() {
  if (image_.isNull()) {
    rows_ = nullptr;
    stride_ = 0;
  } else {
    rows_ = reinterpret_cast<uint32_t*>(image_.bits());
    stride_ = image_.bytesPerLine() / 4;
  }
  clip_ = {0, 0, width_, height_};
}

// ---- state setters ---------------------------------------------------------------

void TXBitmap::SetPenColor(uint32_t colour) { penColor_ = (SwapRB(colour) & 0xFFFFFC) | penLevel_; }

void TXBitmap::SetPenLevel(uint8_t level) {
  penLevel_ = level & 3;
  penColor_ = (penColor_ & 0xFFFFFC) | penLevel_;
}

void TXBitmap::SetFillColor(uint32_t colour) {
  fillColor_ = (SwapRB(colour) & 0xFFFFFC) | fillLevel_;
}

void TXBitmap::SetFillLevel(uint8_t level) {
  fillLevel_ = level & 3;
  fillColor_ = (fillColor_ & 0xFFFFFC) | fillLevel_;
}

void TXBitmap::SetDashStyle(uint8_t index) { dashPattern_ = kDashPatterns[index < 20 ? index : 0]; }

// The pen is the set of pixels of the w x w square whose centres lie within
// w/2 of the square's centre; computed on one quadrant and mirrored.
void TXBitmap::SetPenWidth(uint8_t w) {
  if (w > 32) w = 32;
  if (w == penWidth_) return;
  penWidth_ = w;
  if (w == 0) return;  // undrawable until a real width is set; mask kept
  penHalf_ = uint8_t((w - 1) / 2);
  std::fill(std::begin(penMask_), std::end(penMask_), 0u);
  const float r = float(w) / 2.0f;
  const int k = (w - 1) / 2 + 1;
  for (int i = 0; i < k; ++i) {
    for (int j = 0; j < k; ++j) {
      const float dy = r - (float(i) + 0.5f);
      const float dx = r - (float(j) + 0.5f);
      if (dx * dx + dy * dy <= r * r) {
        const uint32_t bits = (1u << j) | (1u << (w - 1 - j));
        penMask_[i] |= bits;
        penMask_[w - 1 - i] |= bits;
      }
    }
  }
  // Every row of a round pen is one run: remember where it starts and ends.
  for (int i = 0; i < 32; ++i) {
    const uint32_t m = penMask_[i];
    if (m == 0) {
      maskFirst_[i] = 1;
      maskLast_[i] = 0;
    } else {
      maskFirst_[i] = int8_t(__builtin_ctz(m));
      maskLast_[i] = int8_t(31 - __builtin_clz(m));
    }
  }
  dashStep_ = 1.0f / float(w);
}

// ---- pixels ------------------------------------------------------------------------

uint32_t TXBitmap::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return kWhite;
  return Row(y)[x] & kWhite;
}

void TXBitmap::SetPixel(int x, int y, uint32_t value) {
  Own();
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  Row(y)[x] = kOpaque | (value & kWhite);
}

// ---- runs and stamps -------------------------------------------------------------

void TXBitmap::Span(i64 x1, i64 y, i64 x2, uint32_t value) {
  if (y < clip_.Top || y >= clip_.Bottom) return;
  if (x2 < x1) std::swap(x1, x2);
  x1 = std::max<i64>(x1, clip_.Left);
  x2 = std::min<i64>(x2, clip_.Right - 1);
  if (x1 > x2) return;
  uint32_t* p = Row(y) + x1;
  uint32_t* const end = Row(y) + x2 + 1;
  const uint32_t v = kOpaque | (value & kWhite);
  if ((v & 3) == 0) {
    std::fill(p, end, v);  // tag 0 passes the level rule everywhere
  } else {
    for (; p != end; ++p) Put(p, v);
  }
}

void TXBitmap::VSpan64(i64 x, i64 y1, i64 y2, uint32_t value) {
  if (x < clip_.Left || x >= clip_.Right) return;
  if (y2 < y1) std::swap(y1, y2);
  y1 = std::max<i64>(y1, clip_.Top);
  y2 = std::min<i64>(y2, clip_.Bottom - 1);
  const uint32_t v = kOpaque | (value & kWhite);
  for (i64 y = y1; y <= y2; ++y) Put(Row(y) + x, v);
}

void TXBitmap::HSpan(int x1, int y, int x2, uint32_t value) {
  Own();
  Span(x1, y, x2, value);
}
void TXBitmap::VSpan(int x, int y1, int y2, uint32_t value) {
  Own();
  VSpan64(x, y1, y2, value);
}

[[gnu::always_inline]] inline void TXBitmap::Stamp(i64 x, i64 y) {
  const int w = penWidth_;
  if (w == 0) return;
  const i64 left = x - penHalf_, top = y - penHalf_;
  if (left >= clip_.Right || top >= clip_.Bottom || left + w <= clip_.Left || top + w <= clip_.Top)
    return;
  const uint32_t v = kOpaque | penColor_;
  if (w == 1) {
    Put(Row(top) + left, v);
    return;
  }
  if ((v & 3) == 0 && left >= clip_.Left && top >= clip_.Top && left + w <= clip_.Right &&
      top + w <= clip_.Bottom) {
    // Whole stamp inside, and tag 0 passes the level rule everywhere.
    uint32_t* row = Row(top) + left;
    for (int i = 0; i < w; ++i, row += stride_)
      std::fill(row + maskFirst_[i], row + maskLast_[i] + 1, v);
    return;
  }
  const i64 i0 = std::max<i64>(0, clip_.Top - top);
  const i64 i1 = std::min<i64>(w, clip_.Bottom - top);
  for (i64 i = i0; i < i1; ++i) {
    const i64 xa = std::max<i64>(left + maskFirst_[i], clip_.Left);
    const i64 xb = std::min<i64>(left + maskLast_[i], clip_.Right - 1);
    uint32_t* row = Row(top + i);
    for (i64 xx = xa; xx <= xb; ++xx) Put(row + xx, v);
  }
}

void TXBitmap::StampPen(int x, int y) {
  Own();
  Stamp(x, y);
}

bool TXBitmap::DashAllows(long long k) const {
  if (dashPattern_ == 0xFFFF) return true;
  if (penWidth_ == 0) return false;
  const float kq = float(k) * dashStep_;
  const i64 b1 = i64(kq) % 16;
  const i64 b2 = i64(kq + 0.9f) % 16;
  return ((dashPattern_ >> (15 - b1)) & 1) && ((dashPattern_ >> (15 - b2)) & 1);
}

// Stamps the pen one pixel apart from (sx, sy) to (tx, ty), both included:
// the major axis advances one pixel a step, the minor one by the slope, each
// float position rounded with R. Only the steps whose stamp can reach the
// bitmap are stamped; the float position before them is stepped exactly.
void TXBitmap::Stroke(i64 sx, i64 sy, i64 tx, i64 ty, bool dashed) {
  if (penWidth_ == 0 || rows_ == nullptr) return;
  const i64 dx = tx - sx, dy = ty - sy;
  const bool yMajor = std::llabs(dy) > std::llabs(dx);
  i64 n;
  float stepX, stepY;
  if (yMajor) {
    n = std::llabs(dy);
    stepY = dy > 0 ? 1.0f : -1.0f;
    stepX = float(dx) / float(n);
  } else {
    n = std::llabs(dx);
    stepX = dx > 0 ? 1.0f : -1.0f;
    stepY = n != 0 ? float(dy) / float(n) : 0.0f;  // n = 0: one stamp at the start
  }
  // Steps whose major coordinate m puts a stamp inside the bitmap:
  // m - PenHalf <= limit - 1 and m - PenHalf + PenWidth - 1 >= 0.
  const i64 m0 = yMajor ? sy : sx;
  const i64 dir = (yMajor ? dy : dx) > 0 ? 1 : -1;
  const i64 limit = yMajor ? clip_.Bottom : clip_.Right;
  const i64 lo = i64(penHalf_) - penWidth_ + 1, hi = limit - 1 + penHalf_;
  i64 kFirst = dir > 0 ? lo - m0 : m0 - hi;
  i64 kLast = dir > 0 ? hi - m0 : m0 - lo;
  kFirst = std::max<i64>(kFirst, 0);
  kLast = std::min(kLast, n);
  if (kFirst > kLast) return;

  float fx = float(sx), fy = float(sy);
  i64 px = sx, py = sy;
  if (kFirst > 0) {
    if (kFirst <= kMaxSkippedSteps) {
      for (i64 k = 0; k < kFirst; ++k) {
        fx += stepX;
        fy += stepY;
      }
    } else {
      fx = float(double(sx) + double(stepX) * double(kFirst));
      fy = float(double(sy) + double(stepY) * double(kFirst));
    }
    px = R(fx);
    py = R(fy);
  }
  const bool solid = !dashed || dashPattern_ == 0xFFFF;
  for (i64 k = kFirst; k <= kLast; ++k) {
    if (solid || DashAllows(k)) Stamp(px, py);
    fx += stepX;
    fy += stepY;
    px = R(fx);
    py = R(fy);
  }
}

void TXBitmap::PenLine(int x1, int y1, int x2, int y2) {
  Own();
  Stroke(x1, y1, x2, y2, false);
}

// ---- changed rectangle -----------------------------------------------------------

void TXBitmap::SetChanged64(i64 x1, i64 y1, i64 x2, i64 y2, i64 margin) {
  const TRect r{ClampInt(std::min(x1, x2) - margin), ClampInt(std::min(y1, y2) - margin),
                ClampInt(std::max(x1, x2) + margin), ClampInt(std::max(y1, y2) + margin)};
  changed_ = RectIntersection(r, clip_);
}

void TXBitmap::SetChangedRect(int x1, int y1, int x2, int y2, int margin) {
  SetChanged64(x1, y1, x2, y2, margin);
}

// ---- shapes ---------------------------------------------------------------------

void TXBitmap::Dot(int x, int y) {
  Own();
  Stamp(x, y);
  SetChanged64(x, y, x, y, penWidth_ / 2 + 2);
}

void TXBitmap::RoundRect(int ix1, int iy1, int ix2, int iy2, uint8_t radius) {
  Own();
  i64 x1 = std::min(ix1, ix2), x2 = std::max(ix1, ix2);
  i64 y1 = std::min(iy1, iy2), y2 = std::max(iy1, iy2);
  SetChanged64(x1, y1, x2, y2, penWidth_ / 2 + 2);
  if (rows_ == nullptr) return;
  i64 r = radius;
  if (2 * r >= x2 - x1) r = (x2 - x1) / 2;
  if (2 * r >= y2 - y1) r = (y2 - y1) / 2;

  if (Filled) {
    const i64 ya = std::max<i64>(y1, clip_.Top), yb = std::min<i64>(y2, clip_.Bottom - 1);
    for (i64 y = ya; y <= yb; ++y) Span(x1 + r, y, x2 - r, fillColor_);
    for (i64 i = 0; i < r; ++i) {
      const i64 t = R(std::sqrt(float(r * r - (r - i) * (r - i))));
      VSpan64(x1 + i, y1 + r - t, y2 - r + t, fillColor_);
      VSpan64(x2 - i, y1 + r - t, y2 - r + t, fillColor_);
    }
  }
  if (penWidth_ == 0) return;
  for (i64 i = 0; i < penWidth_; ++i) {
    Span(x1 + r, y1 - penHalf_ + i, x2 - r, penColor_);
    Span(x1 + r, y2 - penHalf_ + i, x2 - r, penColor_);
    VSpan64(x1 - penHalf_ + i, y1 + r, y2 - r, penColor_);
    VSpan64(x2 - penHalf_ + i, y1 + r, y2 - r, penColor_);
  }
  const i64 ax = x1 + r, ay = y1 + r, bx = x2 - r, by = y2 - r;
  const i64 jEnd = i64(0.707f * float(r) + 0.5f);
  for (i64 j = 0; j <= jEnd; ++j) {
    const i64 u = R(std::sqrt(float(r * r - j * j)));
    Stamp(ax - j, ay - u);
    Stamp(ax - u, ay - j);
    Stamp(ax - j, by + u);
    Stamp(ax - u, by + j);
    Stamp(bx + j, by + u);
    Stamp(bx + u, by + j);
    Stamp(bx + j, ay - u);
    Stamp(bx + u, ay - j);
  }
}

std::pair<float, float> TXBitmap::ArrowSize() const {
  const int s = LineEnds & 3, k = (LineEnds >> 2) & 3;
  const float h = float((s + 1) * (penWidth_ / 2 + 1) + 2);
  return {(h + 1.0f) / kArrowShapes[k], h};
}

void TXBitmap::Line(int x1, int y1, int x2, int y2) {
  Own();
  const float dx = float(i64(x2) - x1), dy = float(i64(y2) - y1);
  if (dx == 0 && dy == 0) {
    Dot(x1, y1);
    return;
  }
  bool start = LineEnds & 0x40, end = LineEnds & 0x80;
  i64 ax = 0, ay = 0;
  float hx = 0, hy = 0, H = 0;
  if (start || end) {
    const float len = std::sqrt(dx * dx + dy * dy);
    const auto [A, h] = ArrowSize();
    H = h;
    end = end && 1.2f * A < len;
    start = start && 2.2f * A < len;
    ax = R(A * dx / len);
    ay = R(A * dy / len);
    hx = H * dy / len;
    hy = H * dx / len;
  }
  i64 margin = penWidth_ / 2 + 2;
  if (start || end) margin += i64(H + 1.0f);
  SetChanged64(x1, y1, x2, y2, margin);

  i64 sx = x1, sy = y1, tx = x2, ty = y2;
  TPoint t1[3], t2[3];
  auto clampPt = [](i64 x, i64 y) { return TPoint{ClampInt(x), ClampInt(y)}; };
  if (start) {
    const i64 bx = x1 + ax, by = y1 + ay;
    t1[0] = {x1, y1};
    t1[1] = clampPt(R(float(bx) + hx), R(float(by) - hy));
    t1[2] = clampPt(R(float(bx) - hx), R(float(by) + hy));
    sx = bx;
    sy = by;
  }
  if (end) {
    const i64 ex = x2 - ax, ey = y2 - ay;
    t2[0] = {x2, y2};
    t2[1] = clampPt(R(float(ex) + hx), R(float(ey) - hy));
    t2[2] = clampPt(R(float(ex) - hx), R(float(ey) + hy));
    tx = ex;
    ty = ey;
  }
  Stroke(sx, sy, tx, ty, true);
  if (start) DrawPolygon(t1, 2);
  if (end) DrawPolygon(t2, 2);
}

void TXBitmap::Ellipse(int x1, int y1, int x2, int y2) {
  Own();
  if (Filled) {
    const i64 a = std::llabs(i64(x2) - x1) / 2, b = std::llabs(i64(y2) - y1) / 2;
    if (a == 0 || b == 0 || a > 1000 || b > 1000) return;
    const i64 cx = TruncDiv2(i64(x1) + x2), cy = TruncDiv2(i64(y1) + y2);
    const float ab = float(a) / float(b);
    for (i64 i = -b; i <= b; ++i) {
      const i64 w = i64(std::sqrt(float(b * b - i * i)) * ab);
      Span(cx - w, cy + i, cx + w, fillColor_);
    }
  }
  DrawArc(x1, y1, x2, y2, x1, y1, x1, y1, 0);
}

void TXBitmap::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  DrawArc(x1, y1, x2, y2, x3, y3, x4, y4, LineEnds);
}

void TXBitmap::DrawArc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4,
                       uint8_t ends) {
  Own();
  const bool wantHeads = ends & 0xC0;
  const auto [A, H] = ArrowSize();
  i64 margin = penWidth_ / 2 + 2;
  if (wantHeads) margin += i64(H + 1.0f);
  SetChanged64(x1, y1, x2, y2, margin);

  const i64 cx = TruncDiv2(i64(x1) + x2), cy = TruncDiv2(i64(y1) + y2);
  const i64 a = std::llabs(i64(x2) - x1) / 2, b = std::llabs(i64(y2) - y1) / 2;
  if (a == 0 || b == 0 || a > 1000 || b > 1000) return;
  const float n = std::sqrt(float(a * a + b * b));
  ArcWalk walk{
      a, b, R(float(a * a) / n), R(float(b * b) / n), float(b) / float(a), float(a) / float(b)};
  if (walk.xq == 0 && walk.yq == 0) return;
  const i64 total = walk.Total();

  i64 sdx = i64(x3) - cx, sdy = i64(y3) - cy, edx = i64(x4) - cx, edy = i64(y4) - cy;
  if (sdx == 0 && sdy == 0) sdx = walk.xq;
  if (edx == 0 && edy == 0) edx = walk.xq;
  i64 spx, spy, epx, epy;
  i64 from = walk.Project(sdx, sdy, spx, spy);
  i64 to = walk.Project(edx, edy, epx, epy);

  bool startHead = false, endHead = false;
  TPoint head1[3], head2[3];
  if (wantHeads) {
    i64 len = to - from;
    if (len <= 0) len += total;
    endHead = (ends & 0x80) && float(len) > 1.2f * A;
    startHead = (ends & 0x40) && float(len) > 2.2f * A;
    const i64 shift = i64(A + 0.5f) + 1;
    auto makeHead = [&](i64 index, i64 tipX, i64 tipY, TPoint* head) {
      i64 x, y;
      walk.Point(index, x, y);
      float nx = 0, ny = H;
      if (x != 0) {
        const float m = (float(y) * float(a * a)) / (float(x) * float(b * b));
        const float c = 1.0f / std::sqrt(m * m + 1.0f);
        nx = c * H;
        ny = m * c * H;
      }
      head[0] = {ClampInt(cx + tipX), ClampInt(cy + tipY)};
      head[1] = {ClampInt(R(float(cx + x) + nx)), ClampInt(R(float(cy + y) + ny))};
      head[2] = {ClampInt(R(float(cx + x) - nx)), ClampInt(R(float(cy + y) - ny))};
    };
    if (startHead) {
      from = (from + shift) % total;
      makeHead(from, spx, spy, head1);
    }
    if (endHead) {
      to = ((to - shift) % total + total) % total;
      makeHead(to, epx, epy, head2);
    }
  }

  if (penWidth_ != 0 && rows_ != nullptr) {
    const bool solid = dashPattern_ == 0xFFFF;
    i64 i = from, k = 0;
    do {
      if (solid || DashAllows(k)) {
        i64 x, y;
        walk.Point(i, x, y);
        Stamp(cx + x, cy + y);
      }
      i = i + 1 == total ? 0 : i + 1;
      ++k;
    } while (i != to);
  }
  if (startHead) DrawPolygon(head1, 2);
  if (endHead) DrawPolygon(head2, 2);
}

// ---- polygons --------------------------------------------------------------------

void TXBitmap::Polygon(const TPoint* points, int h) {
  DrawPolygon(points, h);
  if (h < 0 || points == nullptr) return;
  int minX = points[0].x, maxX = minX, minY = points[0].y, maxY = minY;
  for (int i = 1; i <= h; ++i) {
    minX = std::min(minX, points[i].x);
    maxX = std::max(maxX, points[i].x);
    minY = std::min(minY, points[i].y);
    maxY = std::max(maxY, points[i].y);
  }
  SetChanged64(minX, minY, maxX, maxY, penWidth_ / 2 + 2);
}

void TXBitmap::DrawPolygon(const TPoint* P, int h) {
  Own();
  const int count = h + 1;
  if (P == nullptr || count < 3 || count > 40 || rows_ == nullptr) return;

  if (Filled) {
    Edge e[40];
    int n = count;
    for (int k = 0; k < n; ++k) {
      const TPoint& o = P[k];
      const TPoint& next = P[(k + 1) % n];
      e[k] = {o.x, o.y, i64(next.x) - o.x, i64(next.y) - o.y};
    }
    bool fill = true;
    // A repeated vertex leaves the polygon unfilled.
    for (int i = 0; i < n && fill; ++i)
      for (int j = i + 1; j < n && fill; ++j)
        if (e[i].ox == e[j].ox && e[i].oy == e[j].oy) fill = false;
    // So do two edges that cross without being neighbours.
    for (int i = 0; i < n && fill; ++i) {
      for (int j = i + 1; j < n && fill; ++j) {
        if (j - i < 2 || (i == 0 && j == n - 1)) continue;
        float t, u;
        if (Intersect(e[i], e[j], t, u) && t >= 0 && t <= 1 && u >= 0 && u <= 1) fill = false;
      }
    }
    // Cut off one ear at a time, filling each.
    while (fill && n > 2) {
      int ear = -1;
      for (int s = 0; s < n && ear < 0; ++s) {
        const int m = s + 1 < n ? s + 1 : 0;
        const int m2 = m + 1 < n ? m + 1 : 0;
        bool isEar = true;
        // The extension of E[s] beyond its end meets no edge.
        for (int i = 0; i < n && isEar; ++i) {
          float t, u;
          if (i != s && Intersect(e[s], e[i], t, u) && t > 1 && u >= 0 && u <= 1) isEar = false;
        }
        // No other vertex lies in the ear: the segment from the ear's tip to
        // the vertex does not reach the diagonal before the vertex.
        const Edge diag{e[s].ox, e[s].oy, e[s].dx + e[m].dx, e[s].dy + e[m].dy};
        for (int i = 0; i < n && isEar; ++i) {
          if (i == s || i == m || i == m2) continue;
          const Edge toVertex{e[m].ox, e[m].oy, e[i].ox - e[m].ox, e[i].oy - e[m].oy};
          float t, u;
          if (Intersect(toVertex, diag, t, u) && t >= 1 && u >= 0 && u <= 1) isEar = false;
        }
        if (isEar) ear = s;
      }
      if (ear < 0) break;  // what is filled so far stays
      const int m = ear + 1 < n ? ear + 1 : 0;
      FillTriangle(e[ear].ox, e[ear].oy, e[m].ox, e[m].oy, e[m].ox + e[m].dx, e[m].oy + e[m].dy);
      e[ear].dx += e[m].dx;
      e[ear].dy += e[m].dy;
      std::copy(e + m + 1, e + n, e + m);
      --n;
    }
  }
  for (int i = 0; i < h; ++i) Stroke(P[i].x, P[i].y, P[i + 1].x, P[i + 1].y, false);
  Stroke(P[h].x, P[h].y, P[0].x, P[0].y, false);
}

// Fills a triangle with horizontal runs between its long side (top to bottom
// vertex) and its two short sides, row by row from the top vertex down.
void TXBitmap::FillTriangle(i64 ax, i64 ay, i64 bx, i64 by, i64 cx, i64 cy) {
  struct V {
    i64 x, y;
  } v[3] = {{ax, ay}, {bx, by}, {cx, cy}};
  for (int k = 0; k < 2; ++k)
    for (int j = k + 1; j < 3; ++j)
      if (v[j].y < v[k].y) std::swap(v[k], v[j]);
  const V A = v[0], B = v[1], C = v[2];

  float longSlope = 0, slope1 = 0, slope2 = 0;
  if (A.y != C.y) longSlope = float(C.x - A.x) / float(C.y - A.y);
  if (B.y != A.y) slope1 = float(B.x - A.x) / float(B.y - A.y);
  if (B.y != C.y) slope2 = float(C.x - B.x) / float(C.y - B.y);
  float longX = float(A.x);
  float shortX = B.y == A.y ? float(B.x) : float(A.x);

  // Rows above the bitmap are only stepped over, rows below are not visited.
  i64 y = A.y;
  const i64 firstVisible = std::max<i64>(A.y, clip_.Top);
  const i64 last = std::min<i64>(C.y, clip_.Bottom - 1);
  if (firstVisible > last) return;
  if (firstVisible - y > kMaxSkippedSteps) {
    const i64 rows = firstVisible - y;
    longX = float(double(longX) + double(longSlope) * double(rows));
    const i64 rows1 = std::clamp<i64>(B.y - y, 0, rows);
    shortX = float(double(shortX) + double(slope1) * double(rows1) +
                   double(slope2) * double(rows - rows1));
    y = firstVisible;
  }
  for (; y <= last; ++y) {
    if (y >= firstVisible) Span(R(longX), y, R(shortX), fillColor_);
    longX += longSlope;
    shortX += y < B.y ? slope1 : slope2;
  }
}

// ---- scaled copy -----------------------------------------------------------------

namespace {
// The pixel of three channel means, each truncated. A mean never exceeds
// 255; clamping keeps rounding from carrying into the next channel.
inline uint32_t PackMeans(float b, float g, float r) {
  return kOpaque | uint32_t(std::min(255.0f, b)) | (uint32_t(std::min(255.0f, g)) << 8) |
         (uint32_t(std::min(255.0f, r)) << 16);
}

// E(v): the last source row or column a span ending at v reaches into,
// plus one; a fraction of at most 0.001 does not count.
inline i64 SpanEnd(float v) {
  const i64 t = i64(v);
  return v - float(t) <= 0.001f ? t : t + 1;
}
}  // namespace

void TXBitmap::CopyScaled(const TRect& d, const TXBitmap& src, const TRect& q) {
  Own();
  if (&src == this) return;  // source and destination must differ
  const float dw = float(std::llabs(i64(d.Right) - d.Left));
  const float dh = float(std::llabs(i64(d.Bottom) - d.Top));
  const float sw = float(std::llabs(i64(q.Right) - q.Left));
  const float sh = float(std::llabs(i64(q.Bottom) - q.Top));
  if (sw == 0 || sh == 0 || dw == 0 || dh == 0) return;
  const float fx = dw / sw, fy = dh / sh;
  float f;
  i64 columns, rows;
  if (!ScaleToFill) {
    f = std::min(fx, fy);
    columns = i64(sw * f);
    rows = i64(sh * f);
  } else {
    f = std::max(fx, fy);
    columns = i64(dw);
    rows = i64(dh);
  }
  columns = std::min<i64>(columns, 65535);
  rows = std::min<i64>(rows, 65535);
  const float step = 1.0f / f;
  const float g = f * f;

  // One destination pixel: the coverage-weighted mean of the source pixels
  // under it, summed in single precision row by row, then truncated.
  auto mean = [&](i64 r, i64 c) -> uint32_t {
    const float y0 = step * float(r), y1 = y0 + step;
    const float x0 = step * float(c), x1 = x0 + step;
    const i64 iBegin = i64(x0), iEnd = SpanEnd(x1), jEnd = SpanEnd(y1);
    float sB = 0, sG = 0, sR = 0;
    for (i64 j = i64(y0); j < jEnd; ++j) {
      float wy = 1;
      if (y0 > float(j)) wy -= y0 - float(j);
      if (float(j + 1) > y1) wy -= float(j + 1) - y1;
      const float gwy = g * wy;
      const i64 sy = q.Top + j;
      const uint32_t* srow = sy >= 0 && sy < src.height_ ? src.Row(sy) : nullptr;
      for (i64 i = iBegin; i < iEnd; ++i) {
        float wx = 1;
        if (x0 > float(i)) wx -= x0 - float(i);
        if (float(i + 1) > x1) wx -= float(i + 1) - x1;
        const i64 sx = q.Left + i;
        const uint32_t v = (srow && sx >= 0 && sx < src.width_) ? srow[sx] : kWhite;
        const float w = gwy * wx;
        sB += w * float(v & 0xFF);
        sG += w * float((v >> 8) & 0xFF);
        sR += w * float((v >> 16) & 0xFF);
      }
    }
    return PackMeans(sB, sG, sR);
  };

  // Only destination pixels inside this bitmap are computed.
  const i64 c0 = std::max<i64>(0, -i64(d.Left)), c1 = std::min<i64>(columns, i64(width_) - d.Left);
  const i64 r0 = std::max<i64>(0, -i64(d.Top)), r1 = std::min<i64>(rows, i64(height_) - d.Top);
  if (c0 >= c1 || r0 >= r1) return;

  for (i64 r = r0; r < r1; ++r) {
    uint32_t* out = Row(d.Top + r) + d.Left;
    for (i64 c = c0; c < c1; ++c) out[c] = mean(r, c);
  }
}

// ---- canvas --------------------------------------------------------------------

void TXBitmap::FillRect(const TRect& r, uint32_t colour) {
  Own();
  const TRect c = RectIntersection(r, clip_);
  if (c.Left >= c.Right || c.Top >= c.Bottom) return;
  const uint32_t v = kOpaque | SwapRB(colour);
  for (int y = c.Top; y < c.Bottom; ++y) std::fill(Row(y) + c.Left, Row(y) + c.Right, v);
}

void TXBitmap::TextOut(int x, int y, const QString& text, const QFont& font, uint32_t colour) {
  const QFontMetrics metrics(font);
  const auto draw = [&] {
    Paint([&](QPainter& p) {
      p.setFont(font);
      p.setPen(QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
      p.drawText(x, y + metrics.ascent(), text);
    });
  };
  if (!TextSink) {
    draw();
    return;
  }
  // The advance box and the ink (which a glyph may push a pixel past it),
  // with a pixel to spare for smoothing.
  const QRect box = QRect(x, y, metrics.horizontalAdvance(text), metrics.height()) |
                    metrics.boundingRect(text).translated(x, y + metrics.ascent());
  TTextRun run{QPoint(x, y), text, font, colour,
               box.adjusted(-1, -1, 1, 1) & QRect(0, 0, width_, height_), {}, {}};
  run.before = image_.copy(run.cell);
  draw();
  run.after = image_.copy(run.cell);
  if (!run.cell.isEmpty()) TextSink(std::move(run));
}

void TXBitmap::Draw(int x, int y, const TXBitmap& src) {
  Own();
  TRect area = RectIntersection({x, y, int(std::min<i64>(INT_MAX, i64(x) + src.width_)),
                                 int(std::min<i64>(INT_MAX, i64(y) + src.height_))},
                                clip_);
  const uint32_t key = SwapRB(src.TransparentColor);
  const bool transparent = src.Transparent;
  const int width = area.Right - area.Left;
  for (int yy = area.Top; yy < area.Bottom; ++yy) {
    const uint32_t* in = src.Row(i64(yy) - y) + (i64(area.Left) - x);
    uint32_t* out = Row(yy) + area.Left;
    if (!transparent) {
      for (int i = 0; i < width; ++i) out[i] = in[i] | kOpaque;
      continue;
    }
    // Every pixel is written, the transparent ones with what was there, so
    // the loop has no branch.
    for (int i = 0; i < width; ++i) out[i] = (in[i] & kWhite) != key ? in[i] | kOpaque : out[i];
  }
}

void TXBitmap::CopyRect(int x, int y, const TXBitmap& src, const TRect& r) {
  Own();
  // Clip the source rectangle to the source, then the target to this bitmap.
  const TRect s = RectIntersection(r, src.clip_);
  i64 sx = s.Left, sy = s.Top;
  i64 tx = i64(x) + (s.Left - r.Left), ty = i64(y) + (s.Top - r.Top);
  i64 w = i64(s.Right) - s.Left, h = i64(s.Bottom) - s.Top;
  if (tx < 0) {
    sx -= tx;
    w += tx;
    tx = 0;
  }
  if (ty < 0) {
    sy -= ty;
    h += ty;
    ty = 0;
  }
  w = std::min<i64>(w, width_ - tx);
  h = std::min<i64>(h, height_ - ty);
  if (w <= 0 || h <= 0) return;
  for (i64 i = 0; i < h; ++i) std::copy_n(src.Row(sy + i) + sx, w, Row(ty + i) + tx);
}
