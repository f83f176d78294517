// SPDX-License-Identifier: GPL-3.0-or-later
// A surface shown on a scaled screen: every pixel a square block of device
// pixels, copied unchanged.
#include <gtest/gtest.h>

#include <QImage>

#include "drawing/PaintBox.h"

TEST(BlockImageTest, EveryPixelBecomesAnUnchangedSquareBlock) {
  QImage source(13, 9, QImage::Format_RGB32);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 13; ++x) source.setPixel(x, y, 0xFF000000u | uint32_t(x * 0x1301 + y * 0x70007));
  const QRect part(3, 2, 7, 5);
  for (int factor : {2, 3}) {
    const QImage out = BlockImage(source, part, factor);
    ASSERT_EQ(out.size(), part.size() * factor);
    EXPECT_EQ(out.devicePixelRatio(), factor);  // drawn at part's place, it covers part
    for (int y = 0; y < out.height(); ++y)
      for (int x = 0; x < out.width(); ++x)
        ASSERT_EQ(out.pixel(x, y), source.pixel(part.left() + x / factor, part.top() + y / factor))
            << "factor " << factor << " at " << x << "," << y;
  }
}

TEST(BlockImageTest, TheScaleFactorIsRoundedToAWholeNumber) {
  const struct {
    double ratio;
    int factor;
  } cases[] = {{1.0, 1}, {1.25, 1}, {1.49, 1}, {1.5, 2}, {1.75, 2}, {2.0, 2}, {2.5, 3}, {0.5, 1}};
  for (const auto& c : cases) EXPECT_EQ(BlockFactor(c.ratio), c.factor) << c.ratio;
}
