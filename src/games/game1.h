// SPDX-License-Identifier: GPL-3.0-or-later
// Game 2's module: one coin on the 16 x 12 board, moved left or down.
#pragma once

#include "games/coinboard.h"

class TGame1 final : public TCoinGame {
 public:
  TGame1(TGameShell& shell, TBoard& board, uint8_t gameType);
};
