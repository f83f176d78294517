// SPDX-License-Identifier: GPL-3.0-or-later
// TXBitmap: an off-screen 32-bit bitmap with its own pixel engine.
//
// Every board, coin, can and arrow of the program is drawn with this engine:
// round thick pens, dash patterns, lines with arrowheads, ellipses, elliptic
// arcs, rounded rectangles, ear-clipped polygons and an area-averaging scaled
// copy. The engine writes the 32-bit pixels itself; Qt supplies only a canvas
// on the same pixels (text, transparent drawing of other bitmaps, rectangle
// copies) and the copy to the screen.
//
// Pixel model. A pixel value is 0x00RRGGBB. The two lowest bits of blue are a
// level tag 0..3; every run and stamp obeys the level rule: a new value v
// replaces the pixel p only when (p & 3) >= (v & 3). SetPixel and CopyScaled
// write without the rule. The byte above red is not part of a pixel value:
// the storage keeps it 0xFF so that Qt sees an opaque RGB32 image, and
// GetPixel never reports it.
//
// Colours handed to the setters are 0x00BBGGRR (red in the low byte), the
// colour format of the rest of the program; SwapRB turns one into the other.
//
// Coordinates may be anything an int can hold: every primitive clips pixel by
// pixel to ClipRect and never writes outside the bitmap.
#pragma once

#include <QFont>
#include <QImage>
#include <QString>
#include <cstdint>
#include <functional>
#include <utility>

#include "base/geometry.h"

// Exchanges the low and the third byte and drops the top byte.
uint32_t SwapRB(uint32_t colour);
// R(v) of the engine: add 0.5, then truncate toward zero. Values beyond the
// range of a 64-bit integer saturate; NaN gives 0.
long long RoundHalfUp(float v);

// The installed face for a font name of the program: "Arial" and
// "MS Sans Serif" are drawn with the metric-compatible Liberation Sans.
QString FontFace(const QString& name);

// A font as the program names it: face, cell height in pixels (ascent plus
// descent), weight.
QFont MakeFont(const QString& face, int cellHeight, bool bold);

// A piece of text as TextOut drew it: its position (the top-left of the
// cell), text, font and colour, the rectangle it can have changed (its
// advance box and its ink), and that rectangle's pixels before and after.
// A screen of a higher density redraws it from these at its own resolution.
struct TTextRun {
  QPoint at;
  QString text;
  QFont font;
  uint32_t colour = 0;  // 0x00BBGGRR
  QRect cell;
  QImage before, after;
};

class TXBitmap {
 public:
  TXBitmap();  // 10 x 10, default drawing state
  TXBitmap(int width, int height);
  TXBitmap(const TXBitmap&) = delete;
  TXBitmap& operator=(const TXBitmap&) = delete;

  // ---- size -----------------------------------------------------------
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetWidth(int w);
  void SetHeight(int h);
  void SetSize(int w, int h);

  // ---- drawing state ---------------------------------------------------
  // Callers set these three directly.
  bool Filled = true;        // closed shapes are filled before outlined
  uint8_t LineEnds = 0;      // bit 6 start head, bit 7 end head, bits 0-1 size, 2-3 shape
  bool ScaleToFill = false;  // CopyScaled: fill the destination instead of fitting

  uint8_t PenWidth() const { return penWidth_; }
  uint8_t PenHalf() const { return penHalf_; }
  uint32_t PenMaskRow(int i) const { return penMask_[i & 31]; }
  uint32_t PenColor() const { return penColor_; }
  uint8_t PenLevel() const { return penLevel_; }
  uint32_t FillColor() const { return fillColor_; }
  uint8_t FillLevel() const { return fillLevel_; }
  uint16_t DashPattern() const { return dashPattern_; }
  const TRect& ClipRect() const { return clip_; }
  // Area touched by the most recent line, dot, ellipse, arc, rounded
  // rectangle or polygon, clipped to ClipRect; (-1,-1,-1,-1) before any.
  const TRect& ChangedRect() const { return changed_; }

  void SetPenColor(uint32_t colour);
  void SetPenLevel(uint8_t level);
  void SetFillColor(uint32_t colour);
  void SetFillLevel(uint8_t level);
  void SetPenWidth(uint8_t width);   // 0..32; larger values become 32
  void SetDashStyle(uint8_t index);  // 0..19; larger selects solid

  // ---- pixels ------------------------------------------------------------
  uint32_t GetPixel(int x, int y) const;  // 0xFFFFFF outside the bitmap
  void SetPixel(int x, int y, uint32_t value);

  // ---- low-level primitives (level rule; ChangedRect untouched) ----------
  void HSpan(int x1, int y, int x2, uint32_t value);
  void VSpan(int x, int y1, int y2, uint32_t value);
  void StampPen(int x, int y);
  void PenLine(int x1, int y1, int x2, int y2);  // solid, no dashes

  // ---- shapes --------------------------------------------------------------
  void Dot(int x, int y);
  void RoundRect(int x1, int y1, int x2, int y2, uint8_t radius);
  void Line(int x1, int y1, int x2, int y2);
  void Ellipse(int x1, int y1, int x2, int y2);
  void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  void DrawArc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, uint8_t ends);
  // Points P[0..h]; 3 to 40 vertices are drawn.
  void Polygon(const TPoint* points, int h);
  void DrawPolygon(const TPoint* points, int h);
  // Area-averaging copy of rectangle q of src into rectangle d of this bitmap.
  void CopyScaled(const TRect& d, const TXBitmap& src, const TRect& q);

  // Arrowhead length A and half-width H for the current LineEnds and pen.
  std::pair<float, float> ArrowSize() const;
  // Whether the k-th stamp position of a stroke is drawn under DashPattern.
  bool DashAllows(long long k) const;

  void SetChangedRect(int x1, int y1, int x2, int y2, int margin);

  // ---- canvas on the same pixels ---------------------------------------
  // Platform-bitmap transparency: when Transparent is set, Draw() of this
  // bitmap leaves pixels of TransparentColor (0x00BBGGRR) out.
  bool Transparent = false;
  uint32_t TransparentColor = 0;

  // Solid fill without the level rule (a brush, not a pen).
  void FillRect(const TRect& r, uint32_t colour);
  // Text with a transparent background; (x, y) is the top-left of the cell.
  void TextOut(int x, int y, const QString& text, const QFont& font, uint32_t colour);
  // When set, TextOut also hands each text it draws to this (the pixels are
  // drawn all the same).
  std::function<void(TTextRun&&)> TextSink;
  // Draws src with its top-left at (x, y), transparently when src.Transparent.
  void Draw(int x, int y, const TXBitmap& src);
  // Copies rectangle r of src to the same-sized rectangle at (x, y).
  void CopyRect(int x, int y, const TXBitmap& src, const TRect& r);
  // The pixels as an image, for copying to the screen or reading in tests.
  const QImage& Image() const { return image_; }
  // Lets Qt draw into the pixels with any QPainter operation.
  template <class F>
  void Paint(F&& f);

 private:
  void UpdateRows();
  // Makes sure the pixels are not shared with a copy of Image() before the
  // engine writes them through its row pointer.
  void Own() {
    if (!image_.isDetached()) UpdateRows();
  }
  void SetChanged64(long long x1, long long y1, long long x2, long long y2, long long margin);
  uint32_t* Row(long long y) const { return rows_ + y * stride_; }
  void Span(long long x1, long long y, long long x2, uint32_t value);
  void VSpan64(long long x, long long y1, long long y2, uint32_t value);
  void Stamp(long long x, long long y);
  void Stroke(long long sx, long long sy, long long tx, long long ty, bool dashed);
  void FillTriangle(long long ax, long long ay, long long bx, long long by, long long cx,
                    long long cy);

  QImage image_;
  uint32_t* rows_ = nullptr;
  long long stride_ = 0;  // in pixels
  int width_ = 0;
  int height_ = 0;

  uint8_t penWidth_ = 0;
  uint8_t penHalf_ = 0;
  uint32_t penMask_[32] = {};
  int8_t maskFirst_[32] = {};  // first and last pen pixel of each mask row
  int8_t maskLast_[32] = {};   // (first > last: empty row)
  float dashStep_ = 1.0f;      // 1 / PenWidth in single precision
  uint32_t penColor_ = 0;
  uint8_t penLevel_ = 0;
  uint32_t fillColor_ = 0xFFFFFF;
  uint8_t fillLevel_ = 3;
  uint16_t dashPattern_ = 0xFFFF;
  TRect clip_{0, 0, 10, 10};
  TRect changed_{-1, -1, -1, -1};
};

#include <QPainter>

template <class F>
void TXBitmap::Paint(F&& f) {
  if (image_.isNull()) return;
  {
    QPainter painter(&image_);
    f(painter);
  }
  // A QPainter may have detached the image from a shared copy: look the rows
  // up again so the engine and the canvas keep writing the same pixels.
  UpdateRows();
}
