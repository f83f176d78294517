// SPDX-License-Identifier: GPL-3.0-or-later
// The game controller: the single authority over what the main window is
// doing (menu, sign-in, turns, game end), the player's levels and the score.
// The main window owns it; the game modules reach it only as their shell.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>

#include "games/GameModule.h"

class TBoard;
class THallOfFame;

enum MessageKind : uint8_t { MsgInfo = 0, MsgError = 1, MsgPrompt = 2, MsgWin = 3, MsgLoss = 4 };

// What the player entered in the name and password boxes.
struct TPlayerEntry {
  QString name;
  QString password;
  bool picked = false;  // the name was picked from the list of stored players
};

// What the controller needs of the window it runs: the main window is one
// implementation, a test's stand-in another.
class TControllerView {
 public:
  virtual ~TControllerView() = default;
  // The game selector, the name box and the password box together.
  virtual void EnableMenuControls(bool enabled) = 0;
  virtual void EnableComputerBegins(bool enabled) = 0;
  virtual void ShowStatus(MessageKind kind, const QString& text) = 0;
  virtual void SetActionCaption(const QString& caption) = 0;
  enum class TFocus : uint8_t { Password, Action };
  virtual void SetFocus(TFocus where) = 0;
  // Empties the name and password boxes; the name is no longer a pick.
  virtual void ClearPlayer() = 0;
  // Whether the list of stored players offers the name, in any letter case.
  virtual bool IsListedName(const QString& name) const = 0;
  // The panels beside the board.
  virtual void ShowDirections(uint8_t directions) = 0;  // TDirection flags
  virtual void ShowRules(int index) = 0;
  virtual void ShowScores(const uint8_t (&levels)[kGameCount]) = 0;
  virtual void RepaintScores() = 0;  // painted again later, from Levels
  // What a game module asks for.
  virtual void SetMoveTimer(bool enabled) = 0;
  virtual void SetBoardCursor(Qt::CursorShape shape) = 0;
};

// One controller runs one window and the board it shows, and records the
// named players' results in a hall of fame that outlives it. It owns the
// game modules, made when a game type is first needed; they live until
// CloseController or the controller's end.
class TGameController final : private TGameShell {
 public:
  TGameController(TControllerView& view, TBoard& board, THallOfFame& hall);
  ~TGameController() override;
  TGameController(const TGameController&) = delete;
  TGameController& operator=(const TGameController&) = delete;

  // The start: the board's start picture, empty boxes, the hall of fame
  // read again, and the menu.
  void InitController();
  // Lets go of the window, the board and the game modules.
  void CloseController();

  void DispatchEvent(ControllerEvent event);
  // The window's part: the game the player chose on the selector, the entries
  // of the name and password boxes whenever they change, and an edit of the
  // name (which signs the player out).
  void ChooseGame(uint8_t gameType);
  void SetPlayer(const TPlayerEntry& player);
  void ForgetSignIn();
  void ShowStatus(MessageKind kind, const QString& text);
  uint8_t LevelOf(uint8_t gameType) const override;
  void RefreshScores();
  // A player's stored levels, as signing in takes them over.
  void UnpackLevels(uint32_t record);
  uint32_t PackLevels() const;
  void ClearLevels();  // all nine to 0; the score box is painted later

  uint8_t GameType() const { return gameType_; }  // 0..8; kNoGame before the first choice
  TGameState GameState() const { return gameState_; }
  const uint8_t (&Levels() const)[kGameCount] { return levels_; }  // 0..5 per game type
  bool SignedIn() const { return signedIn_; }
  bool Anonymous() const { return anonymous_; }
  // Whether the board takes the player's moves now: mouse and keys alike.
  bool PlayerMayMove() const { return gameState_ == TGameState::GsPlayerToMove; }

  // The module of a game type (nullptr for a game not built in yet, or with
  // no window running), and the one of the chosen game.
  TGameModule* GameModule(uint8_t gameType) const;
  TGameModule* Current() const { return GameModule(gameType_); }

 private:
  // The shell the game modules see.
  void RaiseEvent(ControllerEvent event) override { DispatchEvent(event); }
  void SetMoveTimer(bool enabled) override;
  void SetBoardCursor(Qt::CursorShape shape) override;
  TGameState State() const override { return gameState_; }

  void ShowMenu();
  void StartPlay();
  void SelectGame();
  void SignIn();
  void RaiseLevel();
  void LowerLevel();
  bool IsMaxLevel() const;

  // The steps of the events that need more than one line.
  void Action();
  void PlayerMoved();
  void ComputerMoved();
  void Stop();
  void GameWon();
  void GameLost();
  void ComputerToMove();
  void ResetPlayerInputWhereDue();
  bool PlayerMoveUnderWay() const;
  void RecordForNamedPlayer();

  TControllerView* view_;  // nullptr once closed
  TBoard* board_;
  THallOfFame& hall_;
  mutable std::unique_ptr<TGameModule> modules_[kGameCount];
  TPlayerEntry player_;  // what the name and password boxes hold
  uint8_t gameType_ = kNoGame;
  TGameState gameState_ = TGameState::GsIdle;
  uint8_t levels_[kGameCount] = {};
  bool signedIn_ = false;
  bool anonymous_ = false;
};

// The colour of a message kind in the status line.
uint32_t MessageColor(MessageKind kind);  // 0x00BBGGRR
