// SPDX-License-Identifier: GPL-3.0-or-later
// Stand-ins for the shell and the board screen that a test hands a game
// module: the shell records what the module reported (events, the move
// timer, the board cursor) and answers the game state and the levels the
// test sets; the board's screen keeps what each flush put there.
#pragma once

#include <vector>

#include "drawing/Unit2.h"
#include "games/GameModule.h"

class TFakeShell final : public TGameShell {
 public:
  void RaiseEvent(ControllerEvent event) override { events.push_back(event); }
  void SetMoveTimer(bool enabled) override { timer = enabled; }
  void SetBoardCursor(Qt::CursorShape shape) override { cursor = shape; }
  TGameState State() const override { return state; }
  uint8_t LevelOf(uint8_t gameType) const override {
    return gameType < kGameCount ? levels[gameType] : 0;
  }

  std::vector<ControllerEvent> events;
  bool timer = false;
  Qt::CursorShape cursor = Qt::ArrowCursor;
  TGameState state = TGameState::GsPlayerToMove;
  uint8_t levels[kGameCount] = {};
};

// A board whose screen is a bitmap of its own: FlushScreen copies the
// changed rectangle there, a repaint copies all of ComposeBitmap.
class TFakeBoard final : private TBoardScreen {
 public:
  TFakeBoard() { screen.FillRect(screen.ClipRect(), 0x000000); }
  void ShowBoard(const TXBitmap& compose, const TRect& r) override {
    screen.CopyRect(r.Left, r.Top, compose, r);
    ++shown;
  }
  void RepaintBoard() override {
    screen.CopyRect(0, 0, board.ComposeBitmap, board.ComposeBitmap.ClipRect());
    ++repaints;
  }

  TBoard board{this};
  TXBitmap screen{TBoard::kWidth, TBoard::kHeight};
  int shown = 0, repaints = 0;
};

inline TBoardInput Press(int x, int y) { return {TInputKind::Press, x, y}; }
inline TBoardInput Move(int x, int y) { return {TInputKind::Move, x, y}; }
inline TBoardInput Release(int x, int y) { return {TInputKind::Release, x, y}; }
