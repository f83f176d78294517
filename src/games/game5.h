// Game 6's module: three rows, an O coin and an X coin in each.
#pragma once

#include "games/game5_rules.h"
#include "games/rowboard.h"

class TGame5 final : public TRowGame {
 public:
  explicit TGame5(TGameShell& shell);
};
