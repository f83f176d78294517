// SPDX-License-Identifier: GPL-3.0-or-later
// Coordinates anywhere: every primitive clips pixel by pixel. Run in the
// sanitizer build too, where any write past the pixels is reported.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>

#include "bitmap_helpers.h"

using namespace testing_zam;

namespace {

constexpr int kFar[] = {INT_MIN, INT_MIN / 2, -1000000000, -70000,     -33,         -1,     0, 5,
                        17,      40,          70000,       1000000000, INT_MAX / 2, INT_MAX};

int Plus(int a, int b) { return int(std::clamp<long long>((long long)a + b, INT_MIN, INT_MAX)); }

void DrawEverything(TXBitmap& b, int x1, int y1, int x2, int y2) {
  b.HSpan(x1, y1, x2, 0x000000);
  b.VSpan(x1, y1, y2, 0x000000);
  b.StampPen(x1, y2);
  b.Dot(x2, y1);
  b.PenLine(x1, y1, x2, y2);
  b.Line(x1, y1, x2, y2);
  b.RoundRect(x1, y1, x2, y2, 200);
  b.Ellipse(x1, y1, x2, y2);
  b.Ellipse(x1, y1, Plus(x1, 37), Plus(y1, 23));
  b.Arc(x1, y1, Plus(x1, 50), Plus(y1, 30), x2, y2, x1, y2);
  b.DrawArc(x1, y1, Plus(x1, 3), Plus(y1, 900), x2, y1, x1, y2, 0xC0);
  const TPoint tri[3] = {{x1, y1}, {x2, y1}, {x1, y2}};
  b.Polygon(tri, 2);
  const TPoint arrow[7] = {{x1, y1},         {x2, y2},         {x1, y2}, {x2, y1},
                           {x1 / 2, y2 / 2}, {x2 / 3, y1 / 3}, {x1, 0}};
  b.Polygon(arrow, 6);
  b.SetPixel(x1, y1, 0x123456);
  b.FillRect({x1, y1, x2, y2}, 0x00FF00);
}

TEST(Clipping, FarCoordinatesNeverLeaveTheBitmap) {
  TXBitmap b(41, 31);
  for (uint8_t width : {1, 3, 8, 32}) {
    b.SetPenWidth(width);
    b.LineEnds = 0xC3;
    for (int x1 : kFar)
      for (int y1 : kFar)
        for (int x2 : {INT_MIN, -50, 20, 60, INT_MAX})
          for (int y2 : {INT_MIN, -50, 20, 60, INT_MAX}) {
            DrawEverything(b, x1, y1, x2, y2);
            const TRect c = b.ChangedRect();
            if (c.Left <= c.Right && c.Top <= c.Bottom) {
              ASSERT_GE(c.Left, 0);
              ASSERT_GE(c.Top, 0);
              ASSERT_LE(c.Right, 41);
              ASSERT_LE(c.Bottom, 31);
            }
          }
  }
}

TEST(Clipping, LineAcrossTheWholeIntRangeDrawsItsVisibleRow) {
  TXBitmap b(50, 10);
  Clear(b);
  b.Line(INT_MIN, 4, INT_MAX, 4);
  EXPECT_EQ(Picture(b, {0, 4, 50, 5})[0], std::string(50, '#'));
  EXPECT_EQ(CountNot(b), 50);
  Clear(b);
  b.SetPenWidth(3);
  b.PenLine(7, -2000000000, 7, 2000000000);
  EXPECT_EQ(InkBounds(b), (TRect{6, 0, 9, 10}));
}

TEST(Clipping, HugeFilledShapesCoverTheBitmap) {
  TXBitmap b(30, 20);
  Clear(b);
  b.SetFillLevel(0);
  b.SetFillColor(0x00FF00);
  b.SetPenWidth(0);
  const TPoint tri[3] = {{-1000000, -1000000}, {1000000, -1000000}, {0, 1000000}};
  b.Polygon(tri, 2);
  EXPECT_EQ(Count(b, 0x00FF00), 600);
  Clear(b);
  b.RoundRect(-100000, -100000, 100000, 100000, 50);
  EXPECT_EQ(Count(b, 0x00FF00), 600);
}

// Shapes that stick out of a 40 x 40 bitmap on every side: what lands in it
// is exactly what the same shapes put into the top-left 40 x 40 pixels of a
// bitmap large enough to hold their right and bottom parts. (A pixel that
// leaked past the left edge would land at the end of the row above, which
// lies elsewhere in the two bitmaps; one past the top or bottom is caught by
// the sanitizer build.)
TEST(Clipping, RandomShapesAroundTheEdges) {
  std::mt19937 rng(12345);
  std::uniform_int_distribution<int> coord(-80, 120);
  std::uniform_int_distribution<int> width(0, 32);
  TXBitmap small(40, 40), large(1200, 1200);
  Clear(small);
  Clear(large);
  int inked = 0;
  for (int i = 0; i < 1500; ++i) {
    const uint8_t pen = uint8_t(width(rng)), ends = uint8_t(rng()), dash = uint8_t(rng() % 24);
    const bool filled = rng() % 2;
    const int x1 = coord(rng), y1 = coord(rng), x2 = coord(rng), y2 = coord(rng);
    for (TXBitmap* b : {&small, &large}) {
      b->SetPenWidth(pen);
      b->LineEnds = ends;
      b->SetDashStyle(dash);
      b->Filled = filled;
      b->SetPenColor(uint32_t(i * 2654435761u) & 0xFFFFFC);
      b->SetFillColor(uint32_t(i * 40503u) & 0xFFFFFC);
    }
    const QImage before = small.Image().copy();
    DrawEverything(small, x1, y1, x2, y2);
    DrawEverything(large, x1, y1, x2, y2);
    inked += small.Image() != before;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x)
        ASSERT_EQ(small.GetPixel(x, y), large.GetPixel(x, y))
            << "shape " << i << " at " << x << "," << y;
  }
  EXPECT_GT(inked, 500);  // most shapes reach into the small bitmap
}

TEST(Resize, ClipFollowsTheSizeAndContentOverlapStays) {
  TXBitmap b(10, 10);
  Clear(b, 0x000000);
  b.SetWidth(20);
  EXPECT_EQ(b.ClipRect(), (TRect{0, 0, 20, 10}));
  EXPECT_EQ(b.GetPixel(9, 9), 0u);
  b.SetHeight(3);
  EXPECT_EQ(b.ClipRect(), (TRect{0, 0, 20, 3}));
  b.Line(0, 0, 100, 100);
  b.SetWidth(0);  // no pixels at all: nothing may be written
  EXPECT_EQ(b.ClipRect(), (TRect{0, 0, 0, 3}));
  DrawEverything(b, -5, -5, 50, 50);
  EXPECT_EQ(b.GetPixel(0, 0), 0xFFFFFFu);
  b.SetSize(5, 5);
  DrawEverything(b, 1, 1, 3, 3);
  EXPECT_NE(CountNot(b), 0);
}

// The canvas (Qt) and the engine share one pixel buffer.
TEST(Canvas, TextAndEngineLandInTheSamePixels) {
  TXBitmap b(60, 40);
  Clear(b);
  b.TextOut(5, 5, QStringLiteral("X"), MakeFont(QStringLiteral("arial"), 30, true), 0x0000FF);
  int red = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 60; ++x) red += b.GetPixel(x, y) == 0xFF0000u;
  EXPECT_GT(red, 20);
  // The engine keeps drawing into the same buffer after the canvas did.
  b.Line(0, 39, 59, 39);
  EXPECT_EQ(b.GetPixel(30, 39), 0u);
  EXPECT_EQ(b.Image().pixel(30, 39) & 0xFFFFFF, 0u);
  EXPECT_EQ(b.Image().pixel(30, 39) >> 24, 0xFFu);  // opaque for Qt
}

TEST(Canvas, CopiesOfTheImageDoNotChangeBehindTheirBack) {
  TXBitmap b(10, 10);
  Clear(b);
  const QImage snapshot = b.Image();
  b.Line(0, 0, 9, 9);
  EXPECT_EQ(snapshot.pixel(5, 5) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(b.GetPixel(5, 5), 0u);
  b.TextOut(0, 0, QStringLiteral("W"), MakeFont(QStringLiteral("arial"), 12, false), 0);
  b.Line(9, 0, 0, 9);
  EXPECT_EQ(b.Image().pixel(9, 0) & 0xFFFFFF, 0u);
}

TEST(Canvas, TransparentDrawAndRectangleCopy) {
  TXBitmap sprite(4, 4), board(10, 10);
  Clear(board, 0x808080);
  Clear(sprite, SwapRB(0xF3FFFF));  // the transparent colour 0x00BBGGRR as a pixel
  sprite.SetPixel(1, 1, 0x0000FF);
  sprite.TransparentColor = 0xF3FFFF;
  sprite.Transparent = true;
  board.Draw(8, 8, sprite);
  board.Draw(-1, -1, sprite);
  EXPECT_EQ(board.GetPixel(0, 0), 0x0000FFu);
  EXPECT_EQ(board.GetPixel(9, 9), 0x0000FFu);
  EXPECT_EQ(board.GetPixel(1, 1), 0x808080u);
  EXPECT_EQ(board.GetPixel(8, 8), 0x808080u);
  sprite.Transparent = false;
  board.Draw(3, 3, sprite);
  EXPECT_EQ(board.GetPixel(3, 3), SwapRB(0xF3FFFF));

  TXBitmap other(10, 10);
  Clear(other, 0x000000);
  other.CopyRect(-2, 6, board, {0, 0, 10, 10});
  EXPECT_EQ(other.GetPixel(2, 9), board.GetPixel(4, 3));
  EXPECT_EQ(other.GetPixel(8, 5), 0u);
  EXPECT_EQ(other.GetPixel(8, 9), 0u);  // source column 10 does not exist
}

}  // namespace
