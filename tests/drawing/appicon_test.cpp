// SPDX-License-Identifier: GPL-3.0-or-later
// The program's icon at every installed size: transparent outside the coin,
// with no trace of the pieces' pale ground around the rim.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <vector>

#include "drawing/AppIcon.h"

namespace {

const std::vector<int> kSizes = {ZAM_ICON_SIZES};

// The coin of the 40 x 40 piece: drawn at three times that size as the
// circle in the square of pixels 15..105 (its middle at 61 counting pixel
// edges) with a 6-pixel pen, so its outer edge lies 16 piece pixels from the
// point (61/3, 61/3) of the piece.
struct Geometry {
  double centre, rim;  // in icon pixels
  explicit Geometry(int size) : centre(61.0 / 3 * size / 40.0), rim(16.0 * size / 40.0) {}
  double Distance(int x, int y) const {
    return std::hypot(x + 0.5 - centre, y + 0.5 - centre);
  }
};

class AppIconTest : public ::testing::TestWithParam<int> {};

TEST_P(AppIconTest, CornersAndARingOutsideTheRimAreFullyTransparent) {
  const int size = GetParam();
  const QImage icon = AppIconImage(size);
  ASSERT_EQ(icon.size(), QSize(size, size));
  ASSERT_TRUE(icon.hasAlphaChannel());
  const Geometry g(size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      // Everything more than a pixel and a half beyond the rim: the corners
      // and the ring just outside the coin.
      if (g.Distance(x, y) < g.rim + 1.5) continue;
      ASSERT_EQ(qAlpha(icon.pixel(x, y)), 0) << "size " << size << " at " << x << "," << y;
    }
  for (auto [x, y] : {std::pair{0, 0}, {size - 1, 0}, {0, size - 1}, {size - 1, size - 1}})
    EXPECT_EQ(qAlpha(icon.pixel(x, y)), 0);
}

TEST_P(AppIconTest, TheCoinIsOpaqueAndItsEdgeIsTheRimsColourOnAnyGround) {
  const int size = GetParam();
  const QImage icon = AppIconImage(size);
  const Geometry g(size);
  const int mid = size / 2;
  EXPECT_EQ(qAlpha(icon.pixel(mid, mid)), 255);
  EXPECT_EQ(qAlpha(icon.pixel(mid, int(g.centre - g.rim * 0.7))), 255);
  // The rim is orange (red 0xE0, green 0x80, blue 0): every visible pixel in
  // the outer band of the rim keeps that hue; a pale ground colour mixed in
  // (blue near 0xF3) would show as a light halo on a dark panel.
  int edge = 0;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const double d = g.Distance(x, y);
      const QRgb p = icon.pixel(x, y);
      if (d < g.rim - 0.5 * size / 40.0 || qAlpha(p) == 0) continue;
      ++edge;
      EXPECT_GE(qRed(p), 0xC0) << "size " << size << " at " << x << "," << y;
      EXPECT_LE(qBlue(p), 0x60) << "size " << size << " at " << x << "," << y;
      // Over black and over white the pixel lies between the ground and the
      // rim's colour: never lighter than the rim on black.
      const int overBlack = qBlue(p) * qAlpha(p) / 255;
      EXPECT_LE(overBlack, 0x60);
    }
  EXPECT_GT(edge, 0) << "no edge pixels at size " << size;
}

INSTANTIATE_TEST_SUITE_P(EveryInstalledSize, AppIconTest, ::testing::ValuesIn(kSizes));

// The large icons are drawn at their own resolution: every edge (the coin's
// outline, the rim's inner edge, the letter and its shadow) is soft over a
// pixel or two. An icon enlarged from the 40-pixel piece shows each of the
// piece's soft pixels as a run of three or four (at 128) or six or seven (at
// 256) pixels between the solid colours.
//
// A pixel is solid when it is fully transparent, or opaque and within a few
// steps of one of the coin's colours: the rim, the face, the letter or its
// shadow. The soft runs are counted along rows: those of the rim on the
// middle row left of the letter, and those of the letter on every row through
// its middle. (Where the letter's shadow shows as a sliver a pixel wide
// between face and letter, two soft edges meet: a run of three or four.)
bool Solid(QRgb p) {
  if (qAlpha(p) == 0) return true;
  if (qAlpha(p) != 255) return false;
  for (QRgb c : {0xE08000u, 0xC0C0C0u, 0xF0F0F0u, 0x000000u}) {
    if (std::abs(qRed(p) - qRed(c)) <= 6 && std::abs(qGreen(p) - qGreen(c)) <= 6 &&
        std::abs(qBlue(p) - qBlue(c)) <= 6)
      return true;
  }
  return false;
}

// The lengths of the runs of soft pixels on row y, from x = begin to end.
std::vector<int> SoftRuns(const QImage& icon, int y, int begin, int end) {
  std::vector<int> runs;
  int run = 0;
  for (int x = begin; x <= end; ++x) {
    const bool solid = x == end || Solid(icon.pixel(x, y));
    if (solid && run > 0) runs.push_back(run);
    run = solid ? 0 : run + 1;
  }
  return runs;
}

class LargeIconTest : public ::testing::TestWithParam<int> {};

TEST_P(LargeIconTest, TheRimsEdgesAreSoftOverAtMostTwoPixels) {
  const int size = GetParam();
  const QImage icon = AppIconImage(size);
  const Geometry g(size);
  // Up to two piece pixels inside the rim: the letter begins further in.
  const int inside = int(g.centre - g.rim * 12 / 16);
  const std::vector<int> runs = SoftRuns(icon, int(g.centre), 0, inside);
  ASSERT_FALSE(runs.empty()) << "size " << size;
  for (int run : runs) EXPECT_LE(run, 2) << "size " << size;
}

TEST_P(LargeIconTest, TheLettersEdgesAreSoftOverAPixelOrTwo) {
  const int size = GetParam();
  const QImage icon = AppIconImage(size);
  const Geometry g(size);
  // The rows a third of the rim above and below the middle cross both of the
  // letter's strokes and its shadow.
  std::vector<int> runs;
  for (int y = int(g.centre - g.rim / 3); y <= int(g.centre + g.rim / 3); ++y) {
    const std::vector<int> row = SoftRuns(icon, y, 0, size);
    EXPECT_GE(row.size(), 4u) << "size " << size << " row " << y;  // smoothed, not jagged
    runs.insert(runs.end(), row.begin(), row.end());
  }
  ASSERT_FALSE(runs.empty());
  int total = 0, wide = 0;
  for (int run : runs) {
    total += run;
    if (run > 2) ++wide;
    EXPECT_LE(run, 4) << "size " << size;
  }
  EXPECT_LE(double(total) / runs.size(), 1.5) << "size " << size;
  EXPECT_LE(wide * 50, int(runs.size())) << "size " << size << ": " << wide << " of " << runs.size();
}

INSTANTIATE_TEST_SUITE_P(LargeSizes, LargeIconTest, ::testing::Values(128, 256));

}  // namespace
