// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawing/pieces.h"

#include <cmath>
#include <cstdlib>

#include "drawing/PaintBox.h"
#include "drawing/Unit2.h"

TPieceImages::TPieceImages() {
  BuildCoinSprite(CoinSprite);
  BuildCoinOSprite(CoinOSprite);
  BuildCoinXSprite(CoinXSprite);
  BuildCoinEuroSprite(CoinEuroSprite);
  BuildCanSprite(CanSprite);
  BuildBallSprite(BallSprite);
  BuildRingSprite(RingSprite);
}

const TPieceImages& PieceImages() {
  static const TPieceImages images;
  return images;
}

void ClearToTransparent(TXBitmap& bitmap) {
  bitmap.FillRect({0, 0, bitmap.Width(), bitmap.Height()}, TransparentColor);
}

void SnapToTransparent(TXBitmap& bitmap) {
  const uint32_t key = SwapRB(TransparentColor);
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      uint32_t v = bitmap.GetPixel(x, y);
      for (int shift = 0; shift < 24; shift += 8) {
        const int have = int((v >> shift) & 0xFF), want = int((key >> shift) & 0xFF);
        if (std::abs(have - want) == 1) v = (v & ~(0xFFu << shift)) | (uint32_t(want) << shift);
      }
      bitmap.SetPixel(x, y, v);
    }
  }
  bitmap.Transparent = true;
  bitmap.TransparentColor = TransparentColor;
}

namespace {

uint32_t Grey(int g) { return uint32_t(g) * 0x010101u; }

// Draws a piece at three times the image's size, reduces it and snaps the
// near-transparent edge pixels.
template <class Draw>
void BuildImage(TXBitmap& image, Draw draw) {
  TXBitmap big(image.Width() * 3, image.Height() * 3);
  ClearToTransparent(big);
  draw(big);
  image.CopyScaled({0, 0, image.Width(), image.Height()}, big, {0, 0, big.Width(), big.Height()});
  SnapToTransparent(image);
}

// A round coin with a 6-pixel rim, on the three-times-size bitmap.
void DrawCoinBody(TXBitmap& b, uint32_t rim, uint32_t face) {
  b.SetPenLevel(0);
  b.SetFillLevel(0);
  b.Filled = true;
  b.SetPenColor(rim);
  b.SetPenWidth(6);
  b.SetFillColor(face);
  b.Ellipse(15, 15, 105, 105);
}

void DrawCoin(TXBitmap& b) { DrawCoinBody(b, 0x0080E0, 0xC0C0C0); }

void Letter(TXBitmap& image, const QString& letter) {
  const QFont font = MakeFont(QStringLiteral("arial"), 30, true);
  image.TextOut(13, 5, letter, font, 0x000000);
  image.TextOut(10, 5, letter, font, 0xF0F0F0);
}

}  // namespace

void BuildCoinSprite(TXBitmap& image) { BuildImage(image, DrawCoin); }

void BuildCoinOSprite(TXBitmap& image) {
  BuildImage(image, DrawCoin);
  Letter(image, QStringLiteral("O"));
}

void BuildCoinXSprite(TXBitmap& image) {
  BuildImage(image, DrawCoin);
  Letter(image, QStringLiteral("X"));
}

void BuildCoinEuroSprite(TXBitmap& image) {
  BuildImage(image, [](TXBitmap& b) {
    DrawCoinBody(b, 0x808080, 0x00B0FF);
    const QFont font = MakeFont(QStringLiteral("arial"), 80, true);
    b.TextOut(40, 23, QStringLiteral("\u20AC"), font, 0x000000);
    b.TextOut(34, 20, QStringLiteral("\u20AC"), font, 0x0060C0);
  });
}

void BuildCanSprite(TXBitmap& image) {
  BuildImage(image, [](TXBitmap& b) {
    b.SetPenLevel(0);
    b.SetFillLevel(0);
    b.SetFillColor(0xC0C0C0);
    b.Filled = true;
    b.SetPenWidth(3);
    for (int x = 15; x <= 105; ++x) {
      const int v = 30 + int(0.333 * std::sqrt(double(2025 - (x - 60) * (x - 60))));
      b.SetPenColor(Grey(255 - 2 * std::abs(45 - x)));
      b.Line(x, v, x, v + 120);
    }
    b.SetPenWidth(6);
    b.Ellipse(15, 15, 105, 45);
    b.Arc(15, 135, 105, 165, 15, 150, 105, 150);
  });
}

void BuildBallSprite(TXBitmap& image) {
  BuildImage(image, [](TXBitmap& b) {
    b.SetPenWidth(1);
    b.SetPenLevel(0);
    for (int x = 0; x < 120; ++x) {
      for (int y = 0; y < 120; ++y) {
        if (int(std::sqrt(double((60 - x) * (60 - x) + (60 - y) * (60 - y)))) > 45) continue;
        const int d = int(std::sqrt(double((x - 45) * (x - 45) + (y - 45) * (y - 45))));
        b.SetPenColor(Grey(200 - 2 * d));
        b.Dot(x, y);
      }
    }
  });
}

void BuildRingSprite(TXBitmap& image) {
  BuildImage(image, [](TXBitmap& b) {
    b.SetPenLevel(0);
    b.Filled = false;
    b.SetPenColor(0x808080);
    b.SetPenWidth(6);
    b.SetDashStyle(1);
    b.Ellipse(15, 15, 105, 105);
  });
}

void BuildStarPicture(TXBitmap& image) {
  image.SetSize(16, 16);
  image.FillRect({0, 0, 16, 16}, 0xC0FFFF);  // pale yellow ground
  TPoint star[10];
  for (int i = 0; i < 10; ++i) {
    const double angle = -M_PI / 2 + i * M_PI / 5;
    const double radius = i % 2 == 0 ? 7.6 : 3.1;
    star[i] = {int(std::lround(7.5 + radius * std::cos(angle))),
               int(std::lround(8.0 + radius * std::sin(angle)))};
  }
  image.SetPenLevel(0);
  image.SetFillLevel(0);
  image.Filled = true;
  image.SetPenWidth(1);
  image.SetPenColor(0x0060E0);
  image.SetFillColor(0x00A0FF);
  image.Polygon(star, 9);
  // The ground is the transparent colour: whatever the top-left pixel holds.
  image.Transparent = true;
  image.TransparentColor = SwapRB(image.GetPixel(0, 0));
}
