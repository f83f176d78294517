// SPDX-License-Identifier: GPL-3.0-or-later
// The one table of the games the program offers, one line per game type in
// order: the module it makes and what tells it apart from the others. A game
// not listed here is not built yet: the controller refuses to start it.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "games/GameModule.h"

class TBoard;

struct TGameEntry {
  std::unique_ptr<TGameModule> (*make)(TGameShell& shell, TBoard& board, uint8_t gameType);
  uint8_t directions;      // TDirection flags: the arrows of the direction box
  bool resetsPlayerInput;  // the controller calls ResetPlayerInput at each turn
  // The rules text above the board, line by line (UTF-8; unused lines null).
  std::array<const char*, 5> rules;
};

// The rules text shown while no game is chosen, line by line (UTF-8).
extern const std::array<const char*, 6> kGeneralRules;

// The entry of a game type, or nullptr for a game not built in.
const TGameEntry* FindGame(uint8_t gameType);

// The module of a game type, made from its catalogue line, or nullptr for a
// game not built in.
std::unique_ptr<TGameModule> MakeGame(uint8_t gameType, TGameShell& shell, TBoard& board);
