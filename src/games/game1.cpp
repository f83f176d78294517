// SPDX-License-Identifier: GPL-3.0-or-later
#include "games/game1.h"

namespace {
const coinboard::TCoinRules kRules{game1::LegalMoves,   game1::IsLegal,     game1::IsFinal,
                                   game1::ComputerMove, game1::RandomStart, false};
}  // namespace

TGame1::TGame1(TGameShell& shell, TBoard& board, uint8_t gameType)
    : TCoinGame(shell, board, gameType, kRules) {}
