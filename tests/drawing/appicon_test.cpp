// The program's icon at every installed size: transparent outside the coin,
// with no trace of the pieces' pale ground around the rim.
#include <gtest/gtest.h>

#include <QImage>
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

}  // namespace
