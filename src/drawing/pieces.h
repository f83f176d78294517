// SPDX-License-Identifier: GPL-3.0-or-later
// The piece images the games draw with: coins (plain, O, X, euro), the can,
// the ball and the ring, each drawn on TransparentColor, built once at first
// use; and the star of the score box.
#pragma once

#include "drawing/Xbitmap.h"

struct TPieceImages {
  TPieceImages();
  TXBitmap CoinSprite{40, 40};
  TXBitmap CoinOSprite{40, 40};
  TXBitmap CoinXSprite{40, 40};
  TXBitmap CoinEuroSprite{40, 40};
  TXBitmap CanSprite{40, 60};
  TXBitmap BallSprite{40, 40};
  TXBitmap RingSprite{40, 40};
};

// The one set of piece images, built the first time it is asked for.
const TPieceImages& PieceImages();

void ClearToTransparent(TXBitmap& bitmap);
void SnapToTransparent(TXBitmap& bitmap);
void BuildCoinSprite(TXBitmap& image);
void BuildCoinOSprite(TXBitmap& image);
void BuildCoinXSprite(TXBitmap& image);
void BuildCoinEuroSprite(TXBitmap& image);
void BuildCanSprite(TXBitmap& image);
void BuildBallSprite(TXBitmap& image);
void BuildRingSprite(TXBitmap& image);
// The 16 x 16 star of the score box: an orange star on a pale yellow ground.
void BuildStarPicture(TXBitmap& image);
