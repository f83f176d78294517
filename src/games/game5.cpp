// SPDX-License-Identifier: GPL-3.0-or-later
#include "games/game5.h"

namespace {
const rowboard::TRowRules kRules{{3, 180}, game5::ComputerMove, game5::RandomStart};
}  // namespace

TGame5::TGame5(TGameShell& shell, TBoard& board, uint8_t gameType)
    : TRowGame(shell, board, gameType, kRules) {}
