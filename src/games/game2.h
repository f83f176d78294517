// SPDX-License-Identifier: GPL-3.0-or-later
// Game 3's module: game 2's board, the coin moved left, down or diagonally
// down-left.
#pragma once

#include "games/coinboard.h"
#include "games/game2_rules.h"

class TGame2 final : public TCoinGame {
 public:
  TGame2(TGameShell& shell, TBoard& board, uint8_t gameType);
};
