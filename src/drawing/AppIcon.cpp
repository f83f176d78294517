#include "drawing/AppIcon.h"

#include <algorithm>
#include <cmath>

#include "drawing/Unit2.h"
#include "drawing/pieces.h"

namespace {

// The coin of the 40 x 40 piece image (drawn at three times that size around
// the point (61, 61) and reduced): its middle and the outer edge of its rim,
// and the radius inside which the rim's colour is unmixed with the ground.
constexpr double kCentre = 61.0 / 3, kRim = 16.0, kPureRim = 15.0;

}  // namespace

QImage AppIconImage(int size) {
  TXBitmap sprite(40, 40);
  BuildCoinXSprite(sprite);
  uint32_t coin[40][40];  // 0x00RRGGBB
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) coin[y][x] = sprite.GetPixel(x, y);
  // Each icon pixel is the mean of a grid of samples of the coin. A sample
  // outside the rim is transparent; a sample inside takes the piece's pixel
  // there, except that in the rim's outer edge (where the piece mixes the rim
  // with its ground) it takes the rim's own colour just inside. So the icon
  // has no trace of the ground colour: transparent outside the coin, a soft
  // edge of the rim's colour on any background. Pixels across the edge get
  // 8 x 8 samples; those wholly inside enough to cover the piece's pixels
  // under them.
  const double scale = 40.0 / size;
  const double halfDiagonal = 0.7072 * scale;
  const int inner = std::max(2, int(std::ceil(2 * scale)));
  QImage image(size, size, QImage::Format_ARGB32);
  for (int y = 0; y < size; ++y) {
    auto* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
    for (int x = 0; x < size; ++x) {
      const double mx = (x + 0.5) * scale - kCentre, my = (y + 0.5) * scale - kCentre;
      const double middle = std::sqrt(mx * mx + my * my);
      if (middle - halfDiagonal > kRim) {
        line[x] = 0;
        continue;
      }
      const int n = middle + halfDiagonal <= kRim ? inner : 8;
      double r = 0, g = 0, b = 0;
      int inside = 0;
      for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
          double u = (x + (i + 0.5) / n) * scale - kCentre;
          double v = (y + (j + 0.5) / n) * scale - kCentre;
          const double d = std::sqrt(u * u + v * v);
          if (d > kRim) continue;
          if (d > kPureRim) {
            u *= kPureRim / d;
            v *= kPureRim / d;
          }
          const int px = std::clamp(int(std::floor(u + kCentre)), 0, 39);
          const int py = std::clamp(int(std::floor(v + kCentre)), 0, 39);
          const uint32_t p = coin[py][px];
          r += (p >> 16) & 0xFF;
          g += (p >> 8) & 0xFF;
          b += p & 0xFF;
          ++inside;
        }
      if (inside == 0) {
        line[x] = 0;
        continue;
      }
      const auto channel = [inside](double sum) { return uint32_t(std::lround(sum / inside)); };
      const uint32_t alpha = uint32_t(std::lround(255.0 * inside / (n * n)));
      line[x] = alpha << 24 | channel(r) << 16 | channel(g) << 8 | channel(b);
    }
  }
  return image;
}
