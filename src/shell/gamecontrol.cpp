#include "shell/gamecontrol.h"

#include <memory>

#include "drawing/Unit2.h"
#include "games/catalogue.h"
#include "halloffame/scores.h"
#include "halloffame/security.h"
#include "shell/panels.h"

uint8_t GameType = kNoGame;
uint8_t GameState = GsIdle;
uint8_t Levels[kGameCount] = {};
bool SignedIn = false;
bool Anonymous = false;

namespace {

TControllerView* view = nullptr;  // the window the controller runs
TBoard* board = nullptr;          // the board the game modules draw on
TPlayerEntry player;              // what the name and password boxes hold

// What a game module may ask of the shell.
class TShellSeam final : public TGameShell {
 public:
  void RaiseEvent(uint8_t event) override { DispatchEvent(event); }
  void SetMoveTimer(bool enabled) override {
    if (view) view->SetMoveTimer(enabled);
  }
  void SetBoardCursor(Qt::CursorShape shape) override {
    if (view) view->SetBoardCursor(shape);
  }
  uint8_t State() const override { return GameState; }
  uint8_t LevelOf(uint8_t gameType) const override { return ::LevelOf(gameType); }
};

std::unique_ptr<TGameModule> modules[kGameCount];

TGameModule* Current() { return GameType < kGameCount ? GameModule(GameType) : nullptr; }

// Games whose per-turn input the controller resets (games 8 and 9).
void ResetPlayerInputWhereDue() {
  const TGameEntry* entry = FindGame(GameType);
  if (entry && entry->resetsPlayerInput && Current()) Current()->ResetPlayerInput();
}

// A move of the player still running on the board (game 9's thrown ball).
bool PlayerMoveUnderWay() { return Current() && Current()->Busy(); }

void RecordForNamedPlayer() {
  if (Anonymous || !view) return;
  RecordResult(player.name, player.password, PackLevels());
}

void SetCaption(const QString& caption) {
  if (view) view->SetActionCaption(caption);
}

void EnableMenuControls(bool enabled) {
  if (view) view->EnableMenuControls(enabled);
}

void EnableComputerBegins(bool enabled) {
  if (view) view->EnableComputerBegins(enabled);
}

void RepaintScores() {
  if (view) view->RepaintScores();
}

void GameWon() {
  RaiseLevel();
  GameState = GsGameOver;
  SetCaption(QStringLiteral("nieuw spel"));
  QString text = QStringLiteral("je hebt gewonnen !");
  if (IsMaxLevel()) text += QStringLiteral("  (maximale score bereikt)");
  ShowStatus(MsgWin, text);
  RecordForNamedPlayer();
}

void GameLost() {
  LowerLevel();
  GameState = GsGameOver;
  SetCaption(QStringLiteral("nieuw spel"));
  ShowStatus(MsgLoss, QStringLiteral("computer heeft gewonnen"));
  RecordForNamedPlayer();
}

void ComputerToMove() {
  GameState = GsComputerMoving;
  ShowStatus(MsgInfo, QStringLiteral("computer aan zet ..."));
  if (TGameModule* m = Current()) m->StartComputerMove();
}

}  // namespace

TGameShell& ShellSeam() {
  static TShellSeam seam;
  return seam;
}

TGameModule* GameModule(uint8_t gameType) {
  if (gameType >= kGameCount || !board) return nullptr;
  if (!modules[gameType]) modules[gameType] = MakeGame(gameType, ShellSeam(), *board);
  return modules[gameType].get();
}

uint32_t MessageColor(MessageKind kind) {
  switch (kind) {
    case MsgError:
      return 0x0000FF;
    case MsgPrompt:
      return 0x606060;
    case MsgWin:
      return 0x00C000;
    case MsgLoss:
      return 0xFF00FF;
    default:
      return 0xF00000;
  }
}

void ShowStatus(MessageKind kind, const QString& text) {
  if (view) view->ShowStatus(kind, text);
}

uint8_t LevelOf(uint8_t gameType) { return gameType < kGameCount ? Levels[gameType] : 0; }

void RefreshScores() {
  if (view) view->ShowScores(Levels);
}

void ClearLevels() {
  for (uint8_t& level : Levels) level = 0;
  RepaintScores();
}

void RaiseLevel() {
  if (GameType < kGameCount && Levels[GameType] < 5) ++Levels[GameType];
  RefreshScores();
}

void LowerLevel() {
  if (GameType < kGameCount && Levels[GameType] > 0) --Levels[GameType];
  RefreshScores();
}

bool IsMaxLevel() { return GameType < kGameCount && Levels[GameType] == 5; }

uint32_t PackLevels() {
  uint32_t r = 0;
  for (int t = 0; t < kGameCount; ++t) r |= uint32_t(Levels[t]) << (3 * t);
  return r;
}

void UnpackLevels(uint32_t r) {
  for (int t = 0; t < kGameCount; ++t) Levels[t] = uint8_t((r >> (3 * t)) & 7);
}

void InitController(TControllerView& v, TBoard& b) {
  CloseController();
  view = &v;
  board = &b;
  GameState = GsIdle;
  GameType = kNoGame;
  for (uint8_t& level : Levels) level = 0;
  DrawWelcomeBoard(b);
  player = {};
  view->ClearPlayer();
  SignedIn = false;
  ClearHallOfFame();
  LoadHallOfFame();
  DispatchEvent(EvMenu);
}

void CloseController() {
  for (auto& module : modules) module.reset();
  view = nullptr;
  board = nullptr;
}

void ChooseGame(uint8_t gameType) {
  GameType = gameType < kGameCount ? gameType : kNoGame;
  DispatchEvent(EvGameChosen);
}

void SetPlayer(const TPlayerEntry& entry) { player = entry; }

void ForgetSignIn() { SignedIn = false; }

void ShowMenu() {
  EnableMenuControls(true);
  EnableComputerBegins(false);
  ShowStatus(MsgInfo, QStringLiteral("Welkom bij Zam - Spelen 1..9  , kies spel en naam"));
  SetCaption(QStringLiteral("start"));
  GameState = GsMenu;
}

void StartPlay() {
  EnableMenuControls(false);
  ShowStatus(MsgInfo, QStringLiteral("doe een zet of laat de computer beginnen"));
  EnableComputerBegins(true);
  GameState = GsPlayerToMove;
  ResetPlayerInputWhereDue();
  if (TGameModule* m = Current()) m->NewPosition();
}

void SelectGame() {
  const TGameEntry* entry = FindGame(GameType);
  if (view) view->ShowDirections(entry ? entry->directions : 0);
  if (board) board->ClearAreas();
  if (TGameModule* m = Current()) m->PrepareBoard();
  // The rules text of a game is the block numbered with its game type.
  if (view) view->ShowRules(GameType);
}

void SignIn() {
  if (SignedIn || !view) return;
  for (uint8_t& level : Levels) level = 0;
  RepaintScores();
  RefreshScores();
  const QString name = player.name;
  Anonymous = name.isEmpty();
  if (Anonymous) {
    SignedIn = true;
    return;
  }
  if (player.picked) {
    const QString password = player.password;
    if (UnscrambleText(StoredPasswordOf(name)) != password) {
      if (!password.isEmpty())
        ShowStatus(MsgError, QStringLiteral("password niet correct"));
      else
        ShowStatus(MsgPrompt, QStringLiteral("geef password..."));
      view->SetFocus(TControllerView::TFocus::Password);
      return;
    }
    UnpackLevels(StoredLevelsOf(name));
    SignedIn = true;
    RefreshScores();
    ShowStatus(MsgInfo, QStringLiteral(" "));
    return;
  }
  if (view->IsListedName(name)) {
    ShowStatus(MsgError, QStringLiteral("deze naam is al in gebruik, kies andere..."));
    return;
  }
  SignedIn = true;
  view->SetFocus(TControllerView::TFocus::Action);
}

void DispatchEvent(uint8_t event) {
  switch (event) {
    case EvMenu:
      ShowMenu();
      break;
    case EvAction:
      if (GameState == GsMenu) {
        SignIn();
        if (!SignedIn) break;
        if (GameType == kNoGame)
          ShowStatus(MsgError, QStringLiteral("selecteer een spel..."));
        else
          StartPlay();
      } else if (GameState == GsGameOver) {
        StartPlay();
      }
      break;
    case EvGameChosen:
      SelectGame();
      if (SignedIn) ShowStatus(MsgInfo, QStringLiteral(" "));
      break;
    case EvSignIn:
      SignIn();
      if (SignedIn) {
        if (view) view->SetFocus(TControllerView::TFocus::Action);
        ShowStatus(MsgInfo, QStringLiteral(" "));
      }
      break;
    case EvPlayerMoved:
      if (Current() && Current()->IsGameOver())
        GameWon();
      else
        ComputerToMove();
      break;
    case EvWrongMove:
      ShowStatus(MsgError, QStringLiteral("foute zet ... opnieuw"));
      ResetPlayerInputWhereDue();
      break;
    case EvComputerMoved:
      EnableComputerBegins(false);
      if (Current() && Current()->IsGameOver()) {
        GameLost();
      } else {
        ShowStatus(MsgInfo, QStringLiteral("doe een zet ... "));
        GameState = GsPlayerToMove;
        ResetPlayerInputWhereDue();
      }
      break;
    case EvComputerBegins:
      if (GameState == GsPlayerToMove && !PlayerMoveUnderWay()) ComputerToMove();
      break;
    case EvStop:
      if (GameState == GsPlayerToMove && PlayerMoveUnderWay()) {
        // ignored: the player's move finishes first
      } else if (GameState == GsPlayerToMove) {
        LowerLevel();
        RecordForNamedPlayer();
        ShowMenu();
      } else if (GameState == GsGameOver) {
        ShowMenu();
      }
      break;
    default:
      break;
  }
}
