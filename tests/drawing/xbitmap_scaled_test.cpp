// SPDX-License-Identifier: GPL-3.0-or-later
// The area-averaging scaled copy.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "bitmap_helpers.h"

using namespace testing_zam;

namespace {

constexpr uint32_t kMarker = 0x123456;

void Fill(TXBitmap& b, uint32_t value) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) b.SetPixel(x, y, value);
}

TEST(CopyScaled, ThreeToOneAveragesBlocks) {
  TXBitmap src(120, 120), dst(40, 40);
  Fill(src, kWhite);
  // Block (1, 0): four white and five black pixels.
  for (int i = 0; i < 5; ++i) src.SetPixel(3 + i % 3, i / 3, 0);
  // Block (2, 0): red, green and blue thirds.
  for (int j = 0; j < 3; ++j) {
    src.SetPixel(6, j, 0xFF0000);
    src.SetPixel(7, j, 0x00FF00);
    src.SetPixel(8, j, 0x0000FF);
  }
  dst.CopyScaled({0, 0, 40, 40}, src, {0, 0, 120, 120});
  EXPECT_EQ(dst.GetPixel(0, 0), 0xFFFFFFu);
  EXPECT_EQ(dst.GetPixel(1, 0), 0x717171u);  // trunc(4 * 255 / 9) = 113
  EXPECT_EQ(dst.GetPixel(2, 0), 0x555555u);  // 255 / 3 = 85 per channel
  EXPECT_EQ(dst.GetPixel(39, 39), 0xFFFFFFu);
}

struct SizeCase {
  int sw, sh, dw, dh;
  bool fill;
  int columns, rows;
};

class CopyScaledSize : public ::testing::TestWithParam<SizeCase> {};

TEST_P(CopyScaledSize, OutputSize) {
  const SizeCase& c = GetParam();
  TXBitmap src(c.sw, c.sh), dst(c.dw + 5, c.dh + 5);
  Fill(src, 0x000000);
  Fill(dst, kMarker);
  dst.ScaleToFill = c.fill;
  dst.CopyScaled({0, 0, c.dw, c.dh}, src, {0, 0, c.sw, c.sh});
  EXPECT_EQ(InkBounds(dst, kMarker), (TRect{0, 0, c.columns, c.rows}));
  EXPECT_EQ(Count(dst, 0), c.columns * c.rows);
}

INSTANTIATE_TEST_SUITE_P(FitAndFill, CopyScaledSize,
                         ::testing::Values(SizeCase{120, 180, 40, 60, false, 40, 60},
                                           SizeCase{120, 120, 40, 40, false, 40, 40},
                                           SizeCase{100, 50, 40, 40, false, 40, 20},
                                           SizeCase{100, 50, 40, 40, true, 40, 40},
                                           SizeCase{30, 30, 90, 60, false, 60, 60}),
                         [](const ::testing::TestParamInfo<SizeCase>& info) {
                           const SizeCase& c = info.param;
                           return std::to_string(c.sw) + "x" + std::to_string(c.sh) + "_to_" +
                                  std::to_string(c.dw) + "x" + std::to_string(c.dh) +
                                  (c.fill ? "_fill" : "_fit");
                         });

TEST(CopyScaled, FillModeUsesTheLeftPartOfAWideSource) {
  TXBitmap src(100, 50), dst(40, 40);
  Fill(src, kWhite);
  for (int y = 0; y < 50; ++y)
    for (int x = 50; x < 100; ++x) src.SetPixel(x, y, 0);
  dst.ScaleToFill = true;
  dst.CopyScaled({0, 0, 40, 40}, src, {0, 0, 100, 50});
  EXPECT_EQ(Count(dst, kWhite), 1600);
}

TEST(CopyScaled, OneToOneIsExactIncludingTags) {
  TXBitmap src(17, 9), dst(17, 9);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 17; ++x) src.SetPixel(x, y, uint32_t(x * 0x0F0E0D + y * 0x010203 + x % 4));
  dst.CopyScaled({0, 0, 17, 9}, src, {0, 0, 17, 9});
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 17; ++x) ASSERT_EQ(dst.GetPixel(x, y), src.GetPixel(x, y));
}

TEST(CopyScaled, OffsetsAndOutsideSourceReadWhite) {
  TXBitmap src(20, 20), dst(30, 30);
  Fill(src, 0);
  Fill(dst, kMarker);
  // The source rectangle hangs 10 pixels off the right of the source.
  dst.CopyScaled({5, 5, 25, 25}, src, {10, 0, 30, 20});
  EXPECT_EQ(dst.GetPixel(5, 5), 0u);
  EXPECT_EQ(dst.GetPixel(14, 5), 0u);
  EXPECT_EQ(dst.GetPixel(15, 5), kWhite);
  EXPECT_EQ(dst.GetPixel(4, 4), kMarker);
  EXPECT_EQ(dst.GetPixel(25, 25), kMarker);
}

TEST(CopyScaled, WritesWithoutTheLevelRule) {
  TXBitmap src(3, 3), dst(1, 1);
  dst.SetPixel(0, 0, 0x000001);  // tag 1 would refuse a tag-3 run
  Fill(src, 0xFFFFFF);
  dst.CopyScaled({0, 0, 1, 1}, src, {0, 0, 3, 3});
  EXPECT_EQ(dst.GetPixel(0, 0), 0xFFFFFFu);
}

// The weighted mean written out plainly, in single precision, as the
// reduction is defined: the engine's shortcuts must give the same bits.
uint32_t ReferencePixel(const TXBitmap& s, float f, int r, int c) {
  const float step = 1.0f / f, g = f * f;
  auto spanEnd = [](float v) { return v - std::trunc(v) <= 0.001f ? int(v) : int(v) + 1; };
  const float y0 = step * float(r), y1 = y0 + step, x0 = step * float(c), x1 = x0 + step;
  float sb = 0, sg = 0, sr = 0;
  for (int j = int(y0); j < spanEnd(y1); ++j) {
    float wy = 1;
    if (y0 > float(j)) wy -= y0 - float(j);
    if (float(j + 1) > y1) wy -= float(j + 1) - y1;
    for (int i = int(x0); i < spanEnd(x1); ++i) {
      float wx = 1;
      if (x0 > float(i)) wx -= x0 - float(i);
      if (float(i + 1) > x1) wx -= float(i + 1) - x1;
      const uint32_t v = s.GetPixel(i, j);
      const float w = g * wy * wx;
      sb += w * float(v & 0xFF);
      sg += w * float((v >> 8) & 0xFF);
      sr += w * float((v >> 16) & 0xFF);
    }
  }
  return uint32_t(sb) + 256 * uint32_t(sg) + 65536 * uint32_t(sr);
}

TEST(CopyScaled, MatchesThePlainWeightedMeanBitForBit) {
  std::mt19937 rng(7);
  // 19, 38, 76, 152 and 161 are channel values whose one-value blocks sum
  // to just below the value at 3 : 1, so they come out one lower.
  const uint32_t palette[] = {0xFFFFF3, 0xE08000, 0xC0C0C0, 0x000000,
                              0xFFFFFF, 0x808080, 0x13264C, 0xA19813};
  struct Case {
    int sw, sh, dw, dh;
  } cases[] = {{120, 120, 40, 40}, {120, 180, 40, 60}, {80, 80, 40, 40},
               {96, 96, 24, 24},   {100, 50, 40, 40},  {50, 70, 33, 33}};
  for (const Case& c : cases) {
    TXBitmap src(c.sw, c.sh), dst(c.dw, c.dh);
    // Patches of few colours (as piece images have) with noisy edges.
    for (int y = 0; y < c.sh; ++y)
      for (int x = 0; x < c.sw; ++x) {
        const uint32_t base = palette[((x / 7) + (y / 5) * 3) % 8];
        src.SetPixel(x, y, rng() % 5 == 0 ? rng() & 0xFFFFFF : base);
      }
    dst.CopyScaled({0, 0, c.dw, c.dh}, src, {0, 0, c.sw, c.sh});
    const float f = std::min(float(c.dw) / float(c.sw), float(c.dh) / float(c.sh));
    const int cols = int(float(c.sw) * f), rows = int(float(c.sh) * f);
    for (int r = 0; r < rows; ++r)
      for (int col = 0; col < cols; ++col)
        ASSERT_EQ(dst.GetPixel(col, r), ReferencePixel(src, f, r, col))
            << c.sw << "x" << c.sh << " -> " << c.dw << "x" << c.dh << " at " << col << "," << r;
  }
}

}  // namespace
