// SPDX-License-Identifier: GPL-3.0-or-later
#include "games/game3.h"

namespace {
const rowboard::TRowRules kRules{{2, 200}, game3::ComputerMove, game3::RandomStart};
}  // namespace

TGame3::TGame3(TGameShell& shell, TBoard& board, uint8_t gameType)
    : TRowGame(shell, board, gameType, kRules) {}
