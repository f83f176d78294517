// The game controller: the single authority over what the main window is
// doing (menu, sign-in, turns, game end), the player's levels and the score.
#pragma once

#include <QString>
#include <cstdint>

#include "games/GameModule.h"

class TBoard;

enum MessageKind : uint8_t { MsgInfo = 0, MsgError = 1, MsgPrompt = 2, MsgWin = 3, MsgLoss = 4 };

extern uint8_t GameType;            // 0..8; kNoGame before the first choice
extern uint8_t GameState;           // TGameState
extern uint8_t Levels[kGameCount];  // 0..5 per game type
extern bool SignedIn;
extern bool Anonymous;

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

// Starts the controller on a window and the board it shows; CloseController
// lets go of both (the game modules go with them).
void InitController(TControllerView& view, TBoard& board);
void CloseController();
void DispatchEvent(uint8_t event);
// The window's part: the game the player chose on the selector, the entries
// of the name and password boxes whenever they change, and an edit of the
// name (which signs the player out).
void ChooseGame(uint8_t gameType);
void SetPlayer(const TPlayerEntry& player);
void ForgetSignIn();
void ShowStatus(MessageKind kind, const QString& text);
uint8_t LevelOf(uint8_t gameType);
void RefreshScores();

void ShowMenu();
void StartPlay();
void SelectGame();
void SignIn();
void RaiseLevel();
void LowerLevel();
bool IsMaxLevel();
void ClearLevels();
uint32_t PackLevels();
void UnpackLevels(uint32_t record);

// The colour of a message kind in the status line.
uint32_t MessageColor(MessageKind kind);  // 0x00BBGGRR

// The module of a game type (nullptr for a game not built in yet, or with no
// window running), and the seam the modules reach the shell through.
TGameModule* GameModule(uint8_t gameType);
TGameShell& ShellSeam();
