// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawing/AppIcon.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "drawing/Xbitmap.h"

namespace {

// The X coin of the 40 x 40 piece image, in piece pixels: its middle, the
// outer and inner edges of its orange rim, and the letter with its shadow
// (the piece draws the coin at three times its size as the circle through
// 15..105 with a 6-pixel pen, and the letter in a 30-pixel bold face at
// x = 10, its black shadow 3 pixels to the right, both at y = 5).
constexpr double kCentre = 61.0 / 3, kRim = 16.0, kInnerRim = 14.0;
constexpr int kLetterCell = 30, kLetterX = 10, kShadowX = 13, kLetterY = 5;
constexpr QRgb kRimColour = 0xFFE08000, kFaceColour = 0xFFC0C0C0;
constexpr QRgb kLetterColour = 0xFFF0F0F0, kShadowColour = 0xFF000000;

}  // namespace

// Every size is drawn at its own resolution, not enlarged from the piece:
// the coin's pixels are the mean of a grid of samples of the circles, and
// the letter is laid out in piece pixels and drawn through a scaling
// transform with smoothing, so every edge is at most a pixel or two soft.
QImage AppIconImage(int size) {
  const double scale = size / 40.0;  // icon pixels per piece pixel
  constexpr int n = 8;               // samples across an icon pixel
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < size; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < size; ++x) {
      int rim = 0, face = 0;
      for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
          const double u = (x + (i + 0.5) / n) / scale - kCentre;
          const double v = (y + (j + 0.5) / n) / scale - kCentre;
          const double d = std::sqrt(u * u + v * v);
          if (d <= kInnerRim)
            ++face;
          else if (d <= kRim)
            ++rim;
        }
      // Premultiplied: the sum of the colours each sample carries.
      const auto channel = [&](int shift) {
        const int sum = rim * int((kRimColour >> shift) & 0xFF) + face * int((kFaceColour >> shift) & 0xFF);
        return uint32_t(std::lround(double(sum) / (n * n)));
      };
      const uint32_t alpha = uint32_t(std::lround(255.0 * (rim + face) / (n * n)));
      line[x] = alpha << 24 | channel(16) << 16 | channel(8) << 8 | channel(0);
    }
  }
  QPainter painter(&image);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
  painter.scale(scale, scale);
  const QFont font = MakeFont(QStringLiteral("arial"), kLetterCell, true);
  painter.setFont(font);
  const double baseline = kLetterY + QFontMetricsF(font).ascent();
  painter.setPen(QColor::fromRgb(kShadowColour));
  painter.drawText(QPointF(kShadowX, baseline), QStringLiteral("X"));
  painter.setPen(QColor::fromRgb(kLetterColour));
  painter.drawText(QPointF(kLetterX, baseline), QStringLiteral("X"));
  painter.end();
  return image.convertToFormat(QImage::Format_ARGB32);
}
