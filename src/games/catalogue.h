// The one table of the games the program offers. A game not listed here is
// not built yet: the controller refuses to start it.
#pragma once

#include <cstdint>
#include <memory>

#include "drawing/Unit2.h"
#include "games/GameModule.h"

struct TGameEntry {
  uint8_t gameType;  // 0..8: the player's game number minus one
  std::unique_ptr<TGameModule> (*make)(TGameShell& shell);
  uint8_t directions;      // TDirection flags
  int rulesText;           // the block of the rules texts shown for the game
  bool resetsPlayerInput;  // the controller calls ResetPlayerInput at each turn
};

// The entry of a game type, or nullptr for a game not built in.
const TGameEntry* FindGame(uint8_t gameType);
