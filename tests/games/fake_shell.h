// A stand-in for the shell that a test hands a game module: it records what
// the module reported (events, the move timer, the board cursor) and answers
// the game state and the levels the test sets.
#pragma once

#include <vector>

#include "games/GameModule.h"

class TFakeShell final : public TGameShell {
 public:
  void RaiseEvent(uint8_t event) override { events.push_back(event); }
  void SetMoveTimer(bool enabled) override { timer = enabled; }
  void SetBoardCursor(Qt::CursorShape shape) override { cursor = shape; }
  uint8_t State() const override { return state; }
  uint8_t LevelOf(uint8_t gameType) const override { return gameType < 9 ? levels[gameType] : 0; }

  std::vector<uint8_t> events;
  bool timer = false;
  Qt::CursorShape cursor = Qt::ArrowCursor;
  uint8_t state = GsPlayerToMove;
  uint8_t levels[9] = {};
};
