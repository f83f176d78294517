// The area-averaging scaled copy.
#include <gtest/gtest.h>

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

}  // namespace
