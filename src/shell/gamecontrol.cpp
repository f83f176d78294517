#include "shell/gamecontrol.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

#include "drawing/PaintBox.h"
#include "drawing/Unit2.h"
#include "drawing/rilArrayBtn.h"
#include "games/catalogue.h"
#include "halloffame/scores.h"
#include "halloffame/security.h"
#include "shell/Unit1.h"

uint8_t GameType = 255;
uint8_t GameState = GsIdle;
uint8_t Levels[9] = {};
bool SignedIn = false;
bool Anonymous = false;

namespace {

// What a game module may ask of the shell.
class TShellSeam final : public TGameShell {
 public:
  void RaiseEvent(uint8_t event) override { DispatchEvent(event); }
  void SetMoveTimer(bool enabled) override {
    if (!Form1) return;
    if (enabled)
      Form1->Timer1.start();
    else
      Form1->Timer1.stop();
  }
  void SetBoardCursor(Qt::CursorShape shape) override {
    if (Form1) Form1->box1->setCursor(shape);
  }
  uint8_t State() const override { return GameState; }
  uint8_t LevelOf(uint8_t gameType) const override { return ::LevelOf(gameType); }
};

std::unique_ptr<TGameModule> modules[9];

TGameModule* Current() { return GameType < 9 ? GameModule(GameType) : nullptr; }

// Games whose per-turn input the controller resets (games 8 and 9).
void ResetPlayerInputWhereDue() {
  const TGameEntry* entry = FindGame(GameType);
  if (entry && entry->resetsPlayerInput && Current()) Current()->ResetPlayerInput();
}

// A move of the player still running on the board (game 9's thrown ball).
bool PlayerMoveUnderWay() { return Current() && Current()->Busy(); }

void RecordForNamedPlayer() {
  if (Anonymous || !Form1) return;
  RecordResult(Form1->namebox->currentText(), Form1->passwordEdit->text(), PackLevels());
}

void SetCaption(const QString& caption) {
  if (Form1) Form1->actionBtn->setText(caption);
}

void EnableMenuControls(bool enabled) {
  if (!Form1) return;
  Form1->gameselbtn->setEnabled(enabled);
  Form1->namebox->setEnabled(enabled);
  Form1->passwordEdit->setEnabled(enabled);
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
  const TGameEntry* entry = FindGame(gameType);
  if (!entry) return nullptr;
  if (!modules[gameType]) modules[gameType] = entry->make(ShellSeam());
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
  if (!Form1) return;
  QPalette pal = Form1->smallmsgbox->palette();
  pal.setColor(QPalette::WindowText, ToQColor(MessageColor(kind)));
  Form1->smallmsgbox->setPalette(pal);
  Form1->smallmsgbox->setText(text);
}

uint8_t LevelOf(uint8_t gameType) { return gameType < 9 ? Levels[gameType] : 0; }

void RefreshScores() { PaintScoreBox(Levels); }

void ClearLevels() {
  for (uint8_t& level : Levels) level = 0;
  if (BoardControls.scores) BoardControls.scores->Invalidate();
}

void RaiseLevel() {
  if (GameType < 9 && Levels[GameType] < 5) ++Levels[GameType];
  RefreshScores();
}

void LowerLevel() {
  if (GameType < 9 && Levels[GameType] > 0) --Levels[GameType];
  RefreshScores();
}

bool IsMaxLevel() { return GameType < 9 && Levels[GameType] == 5; }

uint32_t PackLevels() {
  uint32_t r = 0;
  for (int t = 0; t < 9; ++t) r |= uint32_t(Levels[t]) << (3 * t);
  return r;
}

void UnpackLevels(uint32_t r) {
  for (int t = 0; t < 9; ++t) Levels[t] = uint8_t((r >> (3 * t)) & 7);
}

void InitController() {
  GameState = GsIdle;
  GameType = 255;
  for (uint8_t& level : Levels) level = 0;
  DrawWelcomeBoard();
  if (Form1) {
    Form1->namebox->setEditText(QString());
    Form1->passwordEdit->clear();
    Form1->PickedName = -1;
  }
  SignedIn = false;
  ClearHallOfFame();
  LoadHallOfFame();
  DispatchEvent(EvMenu);
}

void ShowMenu() {
  EnableMenuControls(true);
  if (Form1) Form1->compstartBtn->setEnabled(false);
  ShowStatus(MsgInfo, QStringLiteral("Welkom bij Zam - Spelen 1..9  , kies spel en naam"));
  SetCaption(QStringLiteral("start"));
  GameState = GsMenu;
}

void StartPlay() {
  EnableMenuControls(false);
  ShowStatus(MsgInfo, QStringLiteral("doe een zet of laat de computer beginnen"));
  if (Form1) Form1->compstartBtn->setEnabled(true);
  GameState = GsPlayerToMove;
  ResetPlayerInputWhereDue();
  if (TGameModule* m = Current()) m->NewPosition();
}

void SelectGame() {
  const TGameEntry* entry = FindGame(GameType);
  DrawDirections(entry ? entry->directions : 0);
  ClearAreas();
  if (TGameModule* m = Current()) m->PrepareBoard();
  PaintRulesBox(entry ? entry->rulesText : GameType);
}

void SignIn() {
  if (SignedIn || !Form1) return;
  for (uint8_t& level : Levels) level = 0;
  if (BoardControls.scores) BoardControls.scores->Invalidate();
  RefreshScores();
  const QString name = Form1->namebox->currentText();
  Anonymous = name.isEmpty();
  if (Anonymous) {
    SignedIn = true;
    return;
  }
  if (Form1->PickedName >= 0) {
    const QString password = Form1->passwordEdit->text();
    if (UnscrambleText(StoredPasswordOf(name)) != password) {
      if (!password.isEmpty())
        ShowStatus(MsgError, QStringLiteral("password niet correct"));
      else
        ShowStatus(MsgPrompt, QStringLiteral("geef password..."));
      Form1->passwordEdit->setFocus();
      return;
    }
    UnpackLevels(StoredLevelsOf(name));
    SignedIn = true;
    RefreshScores();
    ShowStatus(MsgInfo, QStringLiteral(" "));
    return;
  }
  for (int i = 0; i < Form1->namebox->count(); ++i) {
    if (Form1->namebox->itemText(i).compare(name, Qt::CaseInsensitive) == 0) {
      ShowStatus(MsgError, QStringLiteral("deze naam is al in gebruik, kies andere..."));
      return;
    }
  }
  SignedIn = true;
  Form1->actionBtn->setFocus();
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
        if (GameType == 255)
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
        if (Form1) Form1->actionBtn->setFocus();
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
      if (Form1) Form1->compstartBtn->setEnabled(false);
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
