// The contract between the game controller and the nine game modules.
//
// A module keeps its rules (position, legality, good positions, the
// computer's choice) in plain functions and data; its board drawing and mouse
// protocol sit on top. It reaches the shell only through TGameShell: raise a
// controller event, switch the move timer, set the board cursor, read the
// game state and the player's level.
#pragma once

#include <Qt>
#include <cstdint>

// Controller events (the argument of DispatchEvent).
enum ControllerEvent : uint8_t {
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
enum TGameState : uint8_t {
  GsIdle = 0,
  GsMenu = 1,
  GsPlayerToMove = 2,
  GsComputerMoving = 3,
  GsGameOver = 4,
};

// The board mouse event being handled: written by the main window just
// before HandleMouse, read only by game modules.
extern uint8_t MouseAction;  // 0 pressed, 1 moved, 2 released
extern int MouseX, MouseY;   // board pixels

class TGameShell {
 public:
  virtual ~TGameShell() = default;
  virtual void RaiseEvent(uint8_t event) = 0;
  virtual void SetMoveTimer(bool enabled) = 0;
  virtual void SetBoardCursor(Qt::CursorShape shape) = 0;
  virtual uint8_t State() const = 0;
  virtual uint8_t LevelOf(uint8_t gameType) const = 0;
};

class TGameModule {
 public:
  explicit TGameModule(TGameShell& shell) : shell_(shell) {}
  virtual ~TGameModule() = default;

  virtual void PrepareBoard() = 0;       // the board without a running game
  virtual void NewPosition() = 0;        // a random start position, drawn
  virtual void StartComputerMove() = 0;  // choose the reply and start its motion
  virtual void TimerStep() = 0;          // one 10 ms tick
  virtual void HandleMouse() = 0;        // MouseAction, MouseX, MouseY
  virtual bool IsGameOver() = 0;         // no move left
  virtual void ResetPlayerInput() {}     // games 8 and 9 only
  // The player's move is under way on the board (game 9's thrown ball): the
  // controller lets it finish before "computer begint" or "menu" can act.
  virtual bool Busy() const { return false; }

 protected:
  TGameShell& shell_;
};
