// SPDX-License-Identifier: GPL-3.0-or-later
// Game 4's module: two rows, an O coin and an X coin in each.
#pragma once

#include "games/game3_rules.h"
#include "games/rowboard.h"

class TGame3 final : public TRowGame {
 public:
  TGame3(TGameShell& shell, TBoard& board, uint8_t gameType);
};
