#include "drawing/AppIcon.h"

#include "drawing/Unit2.h"
#include "drawing/pieces.h"

QImage AppIconImage(int size) {
  TXBitmap coin(40, 40);
  BuildCoinXSprite(coin);
  TXBitmap icon(size, size);
  icon.CopyScaled({0, 0, size, size}, coin, {0, 0, 40, 40});
  // The coin's transparent ground, and the pale edge the scaling blends
  // into it, become transparent.
  QImage image(size, size, QImage::Format_ARGB32);
  const uint32_t ground = SwapRB(TransparentColor);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const uint32_t v = icon.GetPixel(x, y);
      image.setPixel(x, y, v == ground ? 0u : (0xFF000000u | v));
    }
  return image;
}
