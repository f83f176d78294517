// SPDX-License-Identifier: GPL-3.0-or-later
// Lines with dashes and arrowheads, ellipses and arcs.
#include <gtest/gtest.h>

#include "bitmap_helpers.h"

using namespace testing_zam;

namespace {

std::string RowPattern(const TXBitmap& b, int y, int x0, int x1) {
  return Picture(b, {x0, y, x1, y + 1})[0];
}

TEST(Line, SolidAndDashedWidthOne) {
  TXBitmap b(16, 3);
  Clear(b);
  b.Line(0, 1, 10, 1);
  EXPECT_EQ(RowPattern(b, 1, 0, 16), "###########.....");
  Clear(b);
  b.SetDashStyle(2);  // 0xCCCC
  b.Line(0, 1, 10, 1);
  EXPECT_EQ(RowPattern(b, 1, 0, 16), "##..##..##......");
  EXPECT_EQ(b.ChangedRect(), (TRect{0, 0, 12, 3}));
}

TEST(Line, DashRuleAtWidthSixStampsEveryTwelfthPosition) {
  TXBitmap b;
  b.SetPenWidth(6);
  b.SetDashStyle(1);  // 0xAAAA
  for (int k = 0; k < 96; ++k) EXPECT_EQ(b.DashAllows(k), k % 12 == 0) << k;
  // Drawn: a row of round dots, 12 pixels apart.
  TXBitmap c(60, 12);
  Clear(c);
  c.SetPenWidth(6);
  c.SetDashStyle(1);
  c.Line(5, 5, 55, 5);
  EXPECT_EQ(RowPattern(c, 5, 0, 60),
            "...######......######......######......######......######...");
}

// With width 1 each pattern bit is one pixel: 40 pixels of a line, the
// patterns of the table written out, highest bit first.
TEST(Line, DashRuleWidthOneIsThePatternBits) {
  struct Case {
    uint8_t style;
    const char* pixels;
  } cases[] = {
      {1, "#.#.#.#.#.#.#.#.#.#.#.#.#.#.#.#.#.#.#.#."},   // 0xAAAA
      {2, "##..##..##..##..##..##..##..##..##..##.."},   // 0xCCCC
      {3, "###.###.###.###.###.###.###.###.###.###."},   // 0xEEEE
      {11, "########........########........########"},  // 0xFF00
      {16, "########...##...########...##...########"},  // 0xFF18
      {17, "#########...#...#########...#...########"},  // 0xFF88
      {25, "########################################"},  // past the table: solid
  };
  for (const Case& c : cases) {
    TXBitmap b(44, 3);
    Clear(b);
    b.SetDashStyle(c.style);
    b.Line(0, 1, 39, 1);
    EXPECT_EQ(RowPattern(b, 1, 0, 44), std::string(c.pixels) + "....") << int(c.style);
  }
}

TEST(Line, SteepAndReversedLinesVisitEveryRow) {
  TXBitmap b(12, 12);
  Clear(b);
  b.Line(9, 10, 3, 1);  // |dy| > |dx|: one stamp per row
  for (int y = 1; y <= 10; ++y) {
    int inRow = 0;
    for (int x = 0; x < 12; ++x) inRow += b.GetPixel(x, y) != kWhite;
    EXPECT_EQ(inRow, 1) << y;
  }
  EXPECT_EQ(b.GetPixel(9, 10), 0u);
  EXPECT_EQ(b.GetPixel(3, 1), 0u);
}

TEST(Line, ZeroLengthIsADot) {
  TXBitmap b(10, 10);
  Clear(b);
  b.SetPenWidth(3);
  b.Line(5, 5, 5, 5);
  EXPECT_EQ(InkBounds(b), (TRect{4, 4, 7, 7}));
  EXPECT_EQ(b.ChangedRect(), (TRect{2, 2, 8, 8}));  // Dot's margin: 3 div 2 + 2
}

// Shape 1 with size 0 at pen width 1: H = 3, A = 4. An end head needs a line
// longer than 1.2 A = 4.8, a start head one longer than 2.2 A = 8.8.
TEST(Line, ArrowheadsNeedRoom) {
  struct Case {
    int length;
    bool startHead, endHead;
  } cases[] = {{4, false, false}, {7, false, true}, {10, true, true}};
  for (const Case& c : cases) {
    TXBitmap b(40, 21);
    Clear(b);
    b.LineEnds = 0xC0 | (1 << 2);
    b.Line(10, 10, 10 + c.length, 10);
    // A start head spreads across the stroke near the start, an end head near the end.
    EXPECT_EQ(b.GetPixel(12, 9) != kWhite, c.startHead) << c.length;
    EXPECT_EQ(b.GetPixel(10 + c.length - 2, 9) != kWhite, c.endHead) << c.length;
    const int margin = 2 + ((c.startHead || c.endHead) ? 4 : 0);
    EXPECT_EQ(b.ChangedRect(),
              (TRect{10 - margin, 10 - margin, 10 + c.length + margin, 10 + margin}))
        << c.length;
  }
}

TEST(Line, ArrowSizeFromLineEnds) {
  TXBitmap b;
  b.SetPenWidth(3);
  b.LineEnds = 0x80 | 2 | (3 << 2);  // size 2, shape 3
  auto [A, H] = b.ArrowSize();
  EXPECT_FLOAT_EQ(H, 3 * 2 + 2);
  EXPECT_FLOAT_EQ(A, 9 / 0.25f);
}

TEST(Line, EndHeadIsAFilledTriangleAtTheTip) {
  TXBitmap b(60, 40);
  Clear(b);
  b.SetFillLevel(0);
  b.SetFillColor(0x00FFFF);
  b.LineEnds = 0x80 | 1 | (1 << 2);  // size 1, shape 1: H = 4, A = 5
  b.Line(5, 20, 50, 20);
  EXPECT_EQ(b.GetPixel(50, 20), 0u);  // tip
  EXPECT_EQ(b.GetPixel(45, 16), 0u);  // base corners at 50 - A, 20 -+ H
  EXPECT_EQ(b.GetPixel(45, 24), 0u);
  EXPECT_EQ(b.GetPixel(46, 19), SwapRB(0x00FFFF) & 0xFFFFFC);  // yellow inside
  EXPECT_EQ(b.GetPixel(44, 16), kWhite);
  EXPECT_EQ(b.GetPixel(52, 20), kWhite);
}

TEST(Ellipse, FilledCircleRows) {
  TXBitmap b(121, 121);
  Clear(b);
  b.SetFillLevel(0);
  b.SetFillColor(0x00FF00);
  b.SetPenWidth(0);  // fill only
  b.Ellipse(15, 15, 105, 105);
  EXPECT_EQ(InkBounds(b), (TRect{15, 15, 106, 106}));
  EXPECT_EQ(RowPattern(b, 60, 14, 107), "." + std::string(91, '#') + ".");
  EXPECT_EQ(RowPattern(b, 15, 59, 62), ".#.");
}

TEST(Ellipse, FlatEllipseFills31Rows) {
  TXBitmap b(121, 61);
  Clear(b);
  b.SetFillLevel(0);
  b.SetPenWidth(0);
  b.SetFillColor(0x00FF00);
  b.Ellipse(15, 15, 105, 45);
  EXPECT_EQ(InkBounds(b), (TRect{15, 15, 106, 46}));
}

TEST(Ellipse, OutlineCoversTheCircleAndStaysInItsBox) {
  TXBitmap b(121, 121);
  Clear(b);
  b.SetPenWidth(6);
  b.Filled = false;
  b.Ellipse(15, 15, 105, 105);
  EXPECT_EQ(b.ChangedRect(), (TRect{10, 10, 110, 110}));
  EXPECT_EQ(InkBounds(b), (TRect{13, 13, 109, 109}));  // stamps 2 left/up, 3 right/down
  EXPECT_EQ(b.GetPixel(60, 60), kWhite);
  // Every angle of the circle is covered by the outline.
  for (int deg = 0; deg < 360; deg += 3) {
    const double t = deg * 3.14159265358979 / 180;
    const int x = int(std::lround(60 + 45 * std::cos(t))),
              y = int(std::lround(60 + 45 * std::sin(t)));
    EXPECT_EQ(b.GetPixel(x, y), 0u) << deg;
  }
}

TEST(Ellipse, DegenerateDrawsNothing) {
  TXBitmap b(20, 20);
  Clear(b);
  b.SetChangedRect(1, 1, 1, 1, 0);
  b.Ellipse(0, 0, 1, 10);     // a = 0
  b.Ellipse(0, 0, 5000, 10);  // a > 1000
  EXPECT_EQ(CountNot(b), 0);
  EXPECT_EQ(b.ChangedRect(), (TRect{1, 1, 1, 1}));  // filled: left alone
  b.Filled = false;
  b.Ellipse(0, 0, 1, 10);
  EXPECT_EQ(CountNot(b), 0);
  EXPECT_EQ(b.ChangedRect(), (TRect{0, 0, 3, 12}));  // unfilled: still set from the box
}

TEST(Arc, LowerHalfOfTheCanRim) {
  TXBitmap b(120, 180);
  Clear(b);
  b.Arc(15, 135, 105, 165, 15, 150, 105, 150);
  const TRect ink = InkBounds(b);
  EXPECT_EQ(ink.Top, 150);
  EXPECT_EQ(ink.Bottom, 166);
  EXPECT_EQ(b.GetPixel(15, 150), 0u);       // starts at the left end
  EXPECT_EQ(b.GetPixel(105, 150), kWhite);  // the right end is not stamped
  EXPECT_EQ(b.GetPixel(60, 165), 0u);
  EXPECT_EQ(b.GetPixel(60, 135), kWhite);
}

// The walk runs counter-clockwise on screen: from the top to the left is the
// upper-left quarter; from the left to the top the other three quarters.
TEST(Arc, WalksCounterClockwise) {
  TXBitmap b(121, 121);
  Clear(b);
  b.Arc(15, 15, 105, 105, 60, 0, 0, 60);
  TRect ink = InkBounds(b);
  EXPECT_LE(ink.Right, 61);
  EXPECT_LE(ink.Bottom, 61);
  EXPECT_EQ(b.GetPixel(60, 15), 0u);
  EXPECT_EQ(b.GetPixel(15, 60), kWhite);  // end not included
  Clear(b);
  b.Arc(15, 15, 105, 105, 0, 60, 60, 0);
  EXPECT_EQ(b.GetPixel(15, 60), 0u);
  EXPECT_EQ(b.GetPixel(60, 105), 0u);
  EXPECT_EQ(b.GetPixel(105, 60), 0u);
  EXPECT_EQ(b.GetPixel(60, 15), kWhite);
  for (int y = 16; y < 58; ++y)
    for (int x = 16; x < 58; ++x) ASSERT_EQ(b.GetPixel(x, y), kWhite) << x << "," << y;
}

// A dash pattern makes the order of the walk visible: 0xFF00 at width 1 draws
// the first eight positions from the start direction, then skips eight.
TEST(Arc, DashesFollowTheWalkFromTheStart) {
  TXBitmap b(121, 121);
  Clear(b);
  b.SetDashStyle(11);
  b.Arc(15, 15, 105, 105, 60, 0, 0, 60);  // starts at the top, (60, 15)
  // Positions 0..7 run leftward from the top: (60..54, 15) and (53, 16).
  for (int x = 54; x <= 60; ++x) EXPECT_EQ(b.GetPixel(x, 15), 0u) << x;
  EXPECT_EQ(b.GetPixel(53, 16), 0u);
  EXPECT_EQ(b.GetPixel(61, 15), kWhite);  // nothing to the right of the start
  // Positions 8..15 (x 52..45) are skipped.
  for (int y = 10; y < 20; ++y)
    for (int x = 45; x <= 52; ++x) EXPECT_EQ(b.GetPixel(x, y), kWhite) << x << "," << y;
}

TEST(Arc, EqualEndsDrawTheWholeOutlineOnce) {
  TXBitmap full(121, 121), arc(121, 121);
  Clear(full);
  Clear(arc);
  full.Filled = false;
  full.Ellipse(15, 15, 105, 105);
  arc.DrawArc(15, 15, 105, 105, 100, 30, 100, 30, 0);
  EXPECT_EQ(CountNot(arc), CountNot(full));
  EXPECT_EQ(Picture(arc, {0, 0, 121, 121}), Picture(full, {0, 0, 121, 121}));
}

TEST(Arc, ArrowheadAtTheEnd) {
  TXBitmap b(121, 121);
  Clear(b);
  b.SetFillLevel(0);
  b.SetFillColor(0x00FFFF);
  b.SetPenWidth(2);
  b.LineEnds = 0x80 | 1 | (1 << 2);  // H = 6, A = 7
  b.Arc(15, 15, 105, 105, 60, 0, 0, 60);
  EXPECT_EQ(b.ChangedRect(), (TRect{15 - 3 - 7, 15 - 3 - 7, 105 + 3 + 7, 105 + 3 + 7}));
  // The head's tip is the end point (15, 60); its base crosses the arc eight
  // steps before, at (16, 52), along the circle's normal.
  EXPECT_EQ(b.GetPixel(15, 60), 0u);
  EXPECT_EQ(b.GetPixel(10, 51), 0u);
  EXPECT_EQ(b.GetPixel(22, 53), 0u);
  EXPECT_EQ(b.GetPixel(16, 56), SwapRB(0x00FFFF) & 0xFFFFFC);
}

}  // namespace
