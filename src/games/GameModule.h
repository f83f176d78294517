// SPDX-License-Identifier: GPL-3.0-or-later
// The contract between the game controller and the nine game modules.
//
// A module keeps its rules (position, legality, good positions, the
// computer's choice) in plain functions and data; its board drawing and mouse
// protocol sit on top. It reaches the shell only through TGameShell: raise a
// controller event, switch the move timer, set the board cursor, read the
// game state and the player's level. It draws on the board the shell hands
// it, and receives the player's input as a TBoardInput value.
#pragma once

#include <Qt>
#include <cstdint>
#include <string>

#include "base/geometry.h"

class TBoard;
class TDrag;

// The number of games, one per game type 0..8. The score file keeps exactly
// this many levels per player: another count changes the file's format.
constexpr uint8_t kGameCount = 9;
// The game type while no game has been chosen.
constexpr uint8_t kNoGame = 255;

// Controller events (the argument of DispatchEvent).
enum class ControllerEvent : uint8_t {
  EvMenu = 0,
  EvAction = 1,
  EvGameChosen = 2,
  EvSignIn = 3,
  EvPlayerMoved = 4,
  EvWrongMove = 5,
  EvComputerMoved = 6,
  EvComputerBegins = 7,
  EvStop = 8,
};

// Game states.
enum class TGameState : uint8_t {
  GsIdle = 0,
  GsMenu = 1,
  GsPlayerToMove = 2,
  GsComputerMoving = 3,
  GsGameOver = 4,
};

// What the player did on the board with the mouse: a press, a move or a
// release at a board pixel. Keyboard play reaches a module through its key
// moves (KeyMoveCount, ShowKeyMove, PlayKeyMove), not as input.
enum class TInputKind : uint8_t { Press, Move, Release };

struct TBoardInput {
  TInputKind MouseAction = TInputKind::Move;
  int MouseX = 0, MouseY = 0;  // board pixels
};

class TGameShell {
 public:
  virtual ~TGameShell() = default;
  virtual void RaiseEvent(ControllerEvent event) = 0;
  virtual void SetMoveTimer(bool enabled) = 0;
  virtual void SetBoardCursor(Qt::CursorShape shape) = 0;
  virtual TGameState State() const = 0;
  virtual uint8_t LevelOf(uint8_t gameType) const = 0;
};

class TGameModule {
 public:
  // gameType: the module's own type, from the catalogue line that made it.
  TGameModule(TGameShell& shell, TBoard& board, uint8_t gameType)
      : shell_(shell), board_(board), gameType_(gameType) {}
  virtual ~TGameModule() = default;

  uint8_t Type() const { return gameType_; }

  virtual void PrepareBoard() = 0;       // the board without a running game
  virtual void NewPosition() = 0;        // a random start position, drawn
  virtual void StartComputerMove() = 0;  // choose the reply and start its motion
  virtual void TimerStep() = 0;          // one 10 ms tick
  virtual void HandleMouse(const TBoardInput& input) = 0;
  virtual bool IsGameOver() = 0;      // no move left
  virtual void ResetPlayerInput() {}  // games 8 and 9 only
  // The player's move is under way on the board (game 9's thrown ball): the
  // controller lets it finish before "computer begint" or "menu" can act.
  virtual bool Busy() const { return false; }

  // Keyboard play. The player's legal moves, as the game's rules list them:
  // the move cursor steps through them in this order.
  virtual int KeyMoveCount() const { return 0; }
  // Shows move `index` on the board the way the game marks a chosen piece;
  // -1 takes the mark away again, leaving the board as it was.
  virtual void ShowKeyMove(int index);
  // Plays move `index` through the same path as the mouse gesture that
  // makes it: the same drawing, the same events.
  virtual void PlayKeyMove(int index);
  // The position, and move `index`, in words for a screen reader.
  virtual std::string Describe() const { return {}; }
  virtual std::string DescribeKeyMove(int index) const {
    (void)index;
    return {};
  }
  // The computer's last move in words, set when the move is chosen.
  const std::string& DescribeComputerMove() const { return computerMoveText_; }

 protected:
  // The games whose pieces are dragged play a key move as the gesture of a
  // player who takes the piece at `from` and lets it go at `to`.
  struct TKeyGesture {
    TPoint from, to;
  };
  virtual TDrag* KeyDrag() { return nullptr; }
  virtual TKeyGesture KeyGesture(int index) const {
    (void)index;
    return {};
  }

  TGameShell& shell_;
  TBoard& board_;
  const uint8_t gameType_;
  std::string computerMoveText_;
};
