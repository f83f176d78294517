// SPDX-License-Identifier: GPL-3.0-or-later
// The pixel model, the drawing state, the pen and the runs it is built from.
#include <gtest/gtest.h>

#include "bitmap_helpers.h"

using namespace testing_zam;

namespace {

struct MaskCase {
  int width;
  std::vector<std::string> rows;
};

class PenMask : public ::testing::TestWithParam<MaskCase> {};

TEST_P(PenMask, MatchesRoundShape) {
  const MaskCase& c = GetParam();
  TXBitmap b;
  b.SetPenWidth(uint8_t(c.width));
  ASSERT_EQ(b.PenWidth(), c.width);
  EXPECT_EQ(b.PenHalf(), (c.width - 1) / 2);
  for (int i = 0; i < c.width; ++i) {
    std::string row;
    for (int j = 0; j < c.width; ++j) row += (b.PenMaskRow(i) >> j) & 1 ? '#' : '.';
    EXPECT_EQ(row, c.rows[i]) << "row " << i;
  }
  for (int i = c.width; i < 32; ++i) EXPECT_EQ(b.PenMaskRow(i), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Widths1To8, PenMask,
    ::testing::Values(
        MaskCase{1, {"#"}}, MaskCase{2, {"##", "##"}}, MaskCase{3, {"###", "###", "###"}},
        MaskCase{4, {".##.", "####", "####", ".##."}},
        MaskCase{5, {".###.", "#####", "#####", "#####", ".###."}},
        MaskCase{6, {".####.", "######", "######", "######", "######", ".####."}},
        MaskCase{7, {"..###..", ".#####.", "#######", "#######", "#######", ".#####.", "..###.."}},
        MaskCase{8,
                 {"..####..", ".######.", "########", "########", "########", "########",
                  ".######.", "..####.."}}),
    [](const ::testing::TestParamInfo<MaskCase>& info) {
      return "Width" + std::to_string(info.param.width);
    });

TEST(PenWidth, ClampsTo32AndKeepsMaskWhenUnchanged) {
  TXBitmap b;
  b.SetPenWidth(40);
  EXPECT_EQ(b.PenWidth(), 32);
  b.SetPenWidth(5);
  const uint32_t row0 = b.PenMaskRow(0);
  b.SetPenWidth(5);
  EXPECT_EQ(b.PenMaskRow(0), row0);
}

TEST(PenWidth, StampIsPlacedAroundItsCentre) {
  // Even widths reach one pixel further right and down than left and up.
  TXBitmap b(12, 12);
  Clear(b);
  b.SetPenWidth(4);
  b.StampPen(5, 5);
  EXPECT_EQ(InkBounds(b), (TRect{4, 4, 8, 8}));
  EXPECT_EQ(Picture(b, {4, 4, 8, 8}), (std::vector<std::string>{".##.", "####", "####", ".##."}));
}

TEST(PenWidth, ZeroWidthDrawsNothing) {
  TXBitmap b(10, 10);
  Clear(b);
  b.SetPenWidth(0);
  b.Dot(5, 5);
  b.Line(0, 0, 9, 9);
  b.StampPen(3, 3);
  EXPECT_EQ(CountNot(b), 0);
}

TEST(Colours, SettersSwapRedAndBlueAndKeepTheLevel) {
  TXBitmap b;
  b.SetPenLevel(2);
  b.SetPenColor(0x0000FF);  // red as 0x00BBGGRR
  EXPECT_EQ(b.PenColor(), 0xFF0002u);
  b.SetPenLevel(0);
  b.SetPenColor(0xFFFFFF);
  EXPECT_EQ(b.PenColor(), 0xFFFFFCu);
  b.SetPenLevel(7);  // only two bits
  EXPECT_EQ(b.PenLevel(), 3);
  EXPECT_EQ(b.PenColor(), 0xFFFFFFu);
  b.SetFillColor(0x123456);
  EXPECT_EQ(b.FillColor(), 0x563413u);  // default fill level 3
  b.SetFillLevel(1);
  EXPECT_EQ(b.FillColor(), 0x563411u);
  EXPECT_EQ(SwapRB(0xAA112233), 0x332211u);
}

TEST(Colours, InitialState) {
  TXBitmap b;
  EXPECT_EQ(b.Width(), 10);
  EXPECT_EQ(b.Height(), 10);
  EXPECT_EQ(b.PenWidth(), 1);
  EXPECT_EQ(b.PenColor(), 0u);
  EXPECT_EQ(b.FillColor(), 0xFFFFFFu);
  EXPECT_EQ(b.FillLevel(), 3);
  EXPECT_TRUE(b.Filled);
  EXPECT_EQ(b.LineEnds, 0);
  EXPECT_EQ(b.DashPattern(), 0xFFFF);
  EXPECT_FALSE(b.ScaleToFill);
  EXPECT_EQ(b.ClipRect(), (TRect{0, 0, 10, 10}));
  EXPECT_EQ(b.ChangedRect(), (TRect{-1, -1, -1, -1}));
}

TEST(Colours, DashStylesAndOutOfRangeIndex) {
  TXBitmap b;
  const uint16_t expected[20] = {0xFFFF, 0xAAAA, 0xCCCC, 0xEEEE, 0xF0F0, 0xF8F8, 0xFCFC,
                                 0xFEFE, 0x8888, 0xC0C0, 0xE0E0, 0xFF00, 0x8080, 0xBEBE,
                                 0x9C9C, 0xDEDE, 0xFF18, 0xFF88, 0xFFE4, 0xFFFA};
  for (int i = 0; i < 20; ++i) {
    b.SetDashStyle(uint8_t(i));
    EXPECT_EQ(b.DashPattern(), expected[i]) << i;
  }
  b.SetDashStyle(25);
  EXPECT_EQ(b.DashPattern(), 0xFFFF);
}

TEST(Pixels, OutsideReadsWhiteAndIgnoresWrites) {
  TXBitmap b(4, 3);
  Clear(b, 0x000000);
  EXPECT_EQ(b.GetPixel(-1, 0), 0xFFFFFFu);
  EXPECT_EQ(b.GetPixel(4, 0), 0xFFFFFFu);
  EXPECT_EQ(b.GetPixel(0, 3), 0xFFFFFFu);
  b.SetPixel(-1, 0, 0x123456);
  b.SetPixel(4, 2, 0x123456);
  b.SetPixel(0, 3, 0x123456);
  EXPECT_EQ(Count(b, 0), 12);
  b.SetPixel(3, 2, 0x123457);  // raw, no level rule
  EXPECT_EQ(b.GetPixel(3, 2), 0x123457u);
}

// The level rule: v replaces p only when (p & 3) >= (v & 3).
TEST(LevelRule, RunsAndStampsObeyTags) {
  for (uint32_t p = 0; p < 4; ++p) {
    for (uint32_t v = 0; v < 4; ++v) {
      TXBitmap b(3, 3);
      const uint32_t ground = 0x808080 | p, value = 0x204060 | v;
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) b.SetPixel(x, y, ground);
      b.HSpan(0, 0, 2, value);
      b.VSpan(0, 0, 2, value);
      b.SetPenColor(SwapRB(value));
      b.SetPenLevel(uint8_t(v));
      b.StampPen(2, 2);
      const uint32_t want = p >= v ? value : ground;
      EXPECT_EQ(b.GetPixel(1, 0), want) << "p=" << p << " v=" << v;
      EXPECT_EQ(b.GetPixel(0, 2), want) << "p=" << p << " v=" << v;
      EXPECT_EQ(b.GetPixel(2, 2), want) << "p=" << p << " v=" << v;
      EXPECT_EQ(b.GetPixel(1, 1), ground);
    }
  }
}

TEST(LevelRule, DefaultFillCoversOnlyWhite) {
  TXBitmap b(20, 20);
  Clear(b);
  b.SetPenWidth(1);
  b.HSpan(0, 10, 19, 0x000000);  // a black row under the fill
  b.SetFillColor(0x00FF00);      // fill level 3 by default
  b.SetPenWidth(0);
  b.RoundRect(2, 2, 17, 17, 0);
  EXPECT_EQ(b.GetPixel(5, 10), 0u);        // black stays
  EXPECT_EQ(b.GetPixel(5, 5), 0x00FF03u);  // white was covered
}

TEST(Spans, EndsIncludedAndEitherOrder) {
  TXBitmap b(10, 4);
  Clear(b);
  b.HSpan(7, 1, 2, 0);
  b.VSpan(9, 3, 0, 0);
  EXPECT_EQ(Picture(b, {0, 0, 10, 4}),
            (std::vector<std::string>{".........#", "..######.#", ".........#", ".........#"}));
}

TEST(Rects, UnionIntersectionAndChangedRect) {
  EXPECT_EQ(RectUnion({1, 2, 3, 4}, {0, 5, 2, 9}), (TRect{0, 2, 3, 9}));
  EXPECT_EQ(RectIntersection({1, 2, 5, 6}, {3, 0, 9, 4}), (TRect{3, 2, 5, 4}));
  EXPECT_EQ(RectIntersection({0, 0, 2, 2}, {5, 5, 9, 9}), (TRect{5, 5, 2, 2}));  // not normalised
  TXBitmap b(20, 20);
  b.SetChangedRect(8, 9, 3, 4, 2);
  EXPECT_EQ(b.ChangedRect(), (TRect{1, 2, 10, 11}));
  b.SetChangedRect(18, 1, 25, 3, 3);
  EXPECT_EQ(b.ChangedRect(), (TRect{15, 0, 20, 6}));
}

TEST(Dot, StampsAndSetsChangedRect) {
  TXBitmap b(10, 10);
  Clear(b);
  b.Dot(0, 0);
  EXPECT_EQ(b.ChangedRect(), (TRect{0, 0, 2, 2}));
  EXPECT_EQ(CountNot(b), 1);
  b.SetPenWidth(6);
  b.Dot(5, 5);
  EXPECT_EQ(b.ChangedRect(), (TRect{0, 0, 10, 10}));
  EXPECT_EQ(InkBounds(b), (TRect{0, 0, 9, 9}));
}

TEST(PenLine, StampCount) {
  TXBitmap b(20, 5);
  Clear(b);
  b.PenLine(3, 2, 3, 2);
  EXPECT_EQ(CountNot(b), 1);
  Clear(b);
  b.PenLine(2, 2, 12, 2);
  EXPECT_EQ(CountNot(b), 11);
  Clear(b);
  b.SetDashStyle(2);  // polygon outlines ignore dashes
  b.PenLine(12, 1, 2, 3);
  EXPECT_EQ(CountNot(b), 11);
}

TEST(RoundRect, RadiusIsClampedByWidthThenHeight) {
  TXBitmap b(11, 5);
  Clear(b);
  b.Filled = false;
  b.RoundRect(0, 0, 10, 4, 5);  // radius 5 -> 5 -> 2
  EXPECT_EQ(Picture(b, {0, 0, 11, 5}),
            (std::vector<std::string>{".#########.", "#.........#", "#.........#", "#.........#",
                                      ".#########."}));
  EXPECT_EQ(b.ChangedRect(), (TRect{0, 0, 11, 5}));
}

TEST(RoundRect, RadiusZeroIsAPlainRectangle) {
  TXBitmap b(8, 6);
  Clear(b);
  b.SetFillLevel(0);
  b.SetFillColor(0x00FF00);
  b.RoundRect(6, 4, 1, 1, 0);  // corners exchanged
  EXPECT_EQ(Picture(b, {0, 0, 8, 6}),
            (std::vector<std::string>{"........", ".######.", ".######.", ".######.", ".######.",
                                      "........"}));
  EXPECT_EQ(b.GetPixel(3, 2), 0x00FF00u);  // filled inside
  EXPECT_EQ(b.GetPixel(1, 1), 0u);         // black outline
}

TEST(RoundRect, ThickPenAndFilledCorners) {
  TXBitmap b(40, 40);
  Clear(b);
  b.SetFillLevel(0);
  b.SetFillColor(0x00FF00);
  b.SetPenWidth(3);
  b.RoundRect(5, 5, 34, 30, 8);
  EXPECT_EQ(b.GetPixel(20, 4), 0u);  // top edge is PenHalf above and below y1
  EXPECT_EQ(b.GetPixel(20, 6), 0u);
  EXPECT_EQ(b.GetPixel(20, 7), 0x00FF00u);
  EXPECT_EQ(b.GetPixel(5, 5), kWhite);  // the corner is cut off
  EXPECT_EQ(b.GetPixel(20, 18), 0x00FF00u);
  // Symmetric under a half turn about the centre.
  for (int y = 0; y <= 35; ++y)
    for (int x = 0; x < 40; ++x)
      ASSERT_EQ(b.GetPixel(x, y), b.GetPixel(39 - x, 35 - y)) << x << "," << y;
}

}  // namespace
