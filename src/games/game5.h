// SPDX-License-Identifier: GPL-3.0-or-later
// Game 6's module: three rows, an O coin and an X coin in each.
#pragma once

#include "games/game5_rules.h"
#include "games/rowboard.h"

class TGame5 final : public TRowGame {
 public:
  TGame5(TGameShell& shell, TBoard& board, uint8_t gameType);
};
