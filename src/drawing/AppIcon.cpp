#include "drawing/AppIcon.h"

#include <algorithm>
#include <cmath>

#include "drawing/Unit2.h"

namespace {

// The coin of the 40 x 40 piece image (drawn at three times that size around
// the point (61, 61) and reduced): its middle and the outer edge of its rim,
// and the radius inside which the rim's colour is unmixed with the ground.
constexpr double kCentre = 61.0 / 3, kRim = 16.0, kPureRim = 15.0;

}  // namespace

QImage AppIconImage(int size) {
  TXBitmap coin(40, 40);
  BuildCoinXSprite(coin);
  // Each icon pixel is the mean of 8 x 8 samples of the coin. A sample
  // outside the rim is transparent; a sample inside takes the piece's pixel
  // there, except that in the rim's outer edge (where the piece mixes the rim
  // with its ground) it takes the rim's own colour just inside. So the icon
  // has no trace of the ground colour: transparent outside the coin, a soft
  // edge of the rim's colour on any background.
  constexpr int n = 8;
  const double scale = 40.0 / size;
  QImage image(size, size, QImage::Format_ARGB32);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      double r = 0, g = 0, b = 0;
      int inside = 0;
      for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
          double u = (x + (i + 0.5) / n) * scale - kCentre;
          double v = (y + (j + 0.5) / n) * scale - kCentre;
          const double d = std::hypot(u, v);
          if (d > kRim) continue;
          if (d > kPureRim) {
            u *= kPureRim / d;
            v *= kPureRim / d;
          }
          const int px = std::clamp(int(std::floor(u + kCentre)), 0, 39);
          const int py = std::clamp(int(std::floor(v + kCentre)), 0, 39);
          const uint32_t p = coin.GetPixel(px, py);  // 0x00RRGGBB
          r += (p >> 16) & 0xFF;
          g += (p >> 8) & 0xFF;
          b += p & 0xFF;
          ++inside;
        }
      if (inside == 0) {
        image.setPixel(x, y, 0u);
        continue;
      }
      const auto channel = [inside](double sum) { return uint32_t(std::lround(sum / inside)); };
      const uint32_t alpha = uint32_t(std::lround(255.0 * inside / (n * n)));
      image.setPixel(x, y, alpha << 24 | channel(r) << 16 | channel(g) << 8 | channel(b));
    }
  return image;
}
