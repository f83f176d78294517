// SPDX-License-Identifier: GPL-3.0-or-later
#include "games/game2.h"

namespace {
const coinboard::TCoinRules kRules{game2::LegalMoves,   game2::IsLegal,     game2::IsFinal,
                                   game2::ComputerMove, game2::RandomStart, true};
}  // namespace

TGame2::TGame2(TGameShell& shell, TBoard& board, uint8_t gameType)
    : TCoinGame(shell, board, gameType, kRules) {}
