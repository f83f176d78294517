// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/gamecontrol.h"

#include "drawing/Unit2.h"
#include "games/catalogue.h"
#include "halloffame/scores.h"
#include "halloffame/security.h"
#include "shell/panels.h"

TGameController::TGameController(TControllerView& view, TBoard& board, THallOfFame& hall)
    : view_(&view), board_(&board), hall_(hall) {}

TGameController::~TGameController() = default;

TGameModule* TGameController::GameModule(uint8_t gameType) const {
  if (gameType >= kGameCount || !board_) return nullptr;
  auto* shell = const_cast<TGameController*>(this);
  if (!modules_[gameType]) modules_[gameType] = MakeGame(gameType, *shell, *board_);
  return modules_[gameType].get();
}

void TGameController::SetMoveTimer(bool enabled) {
  if (view_) view_->SetMoveTimer(enabled);
}

void TGameController::SetBoardCursor(Qt::CursorShape shape) {
  if (view_) view_->SetBoardCursor(shape);
}

// Games whose per-turn input the controller resets (games 8 and 9).
void TGameController::ResetPlayerInputWhereDue() {
  const TGameEntry* entry = FindGame(gameType_);
  if (entry && entry->resetsPlayerInput && Current()) Current()->ResetPlayerInput();
}

// A move of the player still running on the board (game 9's thrown ball).
bool TGameController::PlayerMoveUnderWay() const { return Current() && Current()->Busy(); }

void TGameController::RecordForNamedPlayer() {
  if (anonymous_ || !view_) return;
  hall_.RecordResult(player_.name, player_.password, PackLevels());
}

void TGameController::GameWon() {
  RaiseLevel();
  gameState_ = TGameState::GsGameOver;
  if (view_) view_->SetActionCaption(QStringLiteral("nieuw spel"));
  QString text = QStringLiteral("je hebt gewonnen !");
  if (IsMaxLevel()) text += QStringLiteral("  (maximale score bereikt)");
  ShowStatus(MsgWin, text);
  RecordForNamedPlayer();
}

void TGameController::GameLost() {
  LowerLevel();
  gameState_ = TGameState::GsGameOver;
  if (view_) view_->SetActionCaption(QStringLiteral("nieuw spel"));
  ShowStatus(MsgLoss, QStringLiteral("computer heeft gewonnen"));
  RecordForNamedPlayer();
}

void TGameController::ComputerToMove() {
  gameState_ = TGameState::GsComputerMoving;
  ShowStatus(MsgInfo, QStringLiteral("computer aan zet ..."));
  if (TGameModule* m = Current()) m->StartComputerMove();
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

void TGameController::ShowStatus(MessageKind kind, const QString& text) {
  if (view_) view_->ShowStatus(kind, text);
}

uint8_t TGameController::LevelOf(uint8_t gameType) const {
  return gameType < kGameCount ? levels_[gameType] : 0;
}

void TGameController::RefreshScores() {
  if (view_) view_->ShowScores(levels_);
}

void TGameController::ClearLevels() {
  for (uint8_t& level : levels_) level = 0;
  if (view_) view_->RepaintScores();
}

void TGameController::RaiseLevel() {
  if (gameType_ < kGameCount && levels_[gameType_] < 5) ++levels_[gameType_];
  RefreshScores();
}

void TGameController::LowerLevel() {
  if (gameType_ < kGameCount && levels_[gameType_] > 0) --levels_[gameType_];
  RefreshScores();
}

bool TGameController::IsMaxLevel() const {
  return gameType_ < kGameCount && levels_[gameType_] == 5;
}

uint32_t TGameController::PackLevels() const {
  uint32_t r = 0;
  for (int t = 0; t < kGameCount; ++t) r |= uint32_t(levels_[t]) << (3 * t);
  return r;
}

void TGameController::UnpackLevels(uint32_t r) {
  for (int t = 0; t < kGameCount; ++t) levels_[t] = uint8_t((r >> (3 * t)) & 7);
}

void TGameController::InitController() {
  gameState_ = TGameState::GsIdle;
  gameType_ = kNoGame;
  for (uint8_t& level : levels_) level = 0;
  if (board_) DrawWelcomeBoard(*board_);
  player_ = {};
  if (view_) view_->ClearPlayer();
  signedIn_ = false;
  hall_.Ranking().Clear();
  hall_.Load();
  DispatchEvent(ControllerEvent::EvMenu);
}

void TGameController::CloseController() {
  for (auto& module : modules_) module.reset();
  view_ = nullptr;
  board_ = nullptr;
}

void TGameController::ChooseGame(uint8_t gameType) {
  gameType_ = gameType < kGameCount ? gameType : kNoGame;
  DispatchEvent(ControllerEvent::EvGameChosen);
}

void TGameController::SetPlayer(const TPlayerEntry& entry) { player_ = entry; }

void TGameController::ForgetSignIn() { signedIn_ = false; }

void TGameController::ShowMenu() {
  if (view_) {
    view_->EnableMenuControls(true);
    view_->EnableComputerBegins(false);
  }
  ShowStatus(MsgInfo, QStringLiteral("Welkom bij Zam - Spelen 1..9  , kies spel en naam"));
  if (view_) view_->SetActionCaption(QStringLiteral("start"));
  gameState_ = TGameState::GsMenu;
}

void TGameController::StartPlay() {
  if (view_) view_->EnableMenuControls(false);
  ShowStatus(MsgInfo, QStringLiteral("doe een zet of laat de computer beginnen"));
  if (view_) view_->EnableComputerBegins(true);
  gameState_ = TGameState::GsPlayerToMove;
  ResetPlayerInputWhereDue();
  if (TGameModule* m = Current()) m->NewPosition();
}

void TGameController::SelectGame() {
  const TGameEntry* entry = FindGame(gameType_);
  if (view_) view_->ShowDirections(entry ? entry->directions : 0);
  if (board_) board_->ClearAreas();
  if (TGameModule* m = Current()) m->PrepareBoard();
  // The rules text of a game is the block numbered with its game type.
  if (view_) view_->ShowRules(gameType_);
}

void TGameController::SignIn() {
  if (signedIn_ || !view_) return;
  ClearLevels();
  RefreshScores();
  const QString name = player_.name;
  anonymous_ = name.isEmpty();
  if (anonymous_) {
    signedIn_ = true;
    return;
  }
  if (player_.picked) {
    const QString password = player_.password;
    if (UnscrambleText(hall_.Ranking().StoredPasswordOf(name)) != password) {
      if (!password.isEmpty())
        ShowStatus(MsgError, QStringLiteral("password niet correct"));
      else
        ShowStatus(MsgPrompt, QStringLiteral("geef password..."));
      view_->SetFocus(TControllerView::TFocus::Password);
      return;
    }
    UnpackLevels(hall_.Ranking().StoredLevelsOf(name));
    signedIn_ = true;
    RefreshScores();
    ShowStatus(MsgInfo, QStringLiteral(" "));
    return;
  }
  if (view_->IsListedName(name)) {
    ShowStatus(MsgError, QStringLiteral("deze naam is al in gebruik, kies andere..."));
    return;
  }
  signedIn_ = true;
  view_->SetFocus(TControllerView::TFocus::Action);
}

void TGameController::Action() {
  if (gameState_ == TGameState::GsMenu) {
    SignIn();
    if (!signedIn_) return;
    if (gameType_ == kNoGame)
      ShowStatus(MsgError, QStringLiteral("selecteer een spel..."));
    else
      StartPlay();
  } else if (gameState_ == TGameState::GsGameOver) {
    StartPlay();
  }
}

void TGameController::PlayerMoved() {
  if (Current() && Current()->IsGameOver())
    GameWon();
  else
    ComputerToMove();
}

void TGameController::ComputerMoved() {
  if (view_) view_->EnableComputerBegins(false);
  if (Current() && Current()->IsGameOver()) {
    GameLost();
  } else {
    ShowStatus(MsgInfo, QStringLiteral("doe een zet ... "));
    gameState_ = TGameState::GsPlayerToMove;
    ResetPlayerInputWhereDue();
  }
}

void TGameController::Stop() {
  if (gameState_ == TGameState::GsPlayerToMove && PlayerMoveUnderWay()) {
    // ignored: the player's move finishes first
  } else if (gameState_ == TGameState::GsPlayerToMove) {
    LowerLevel();
    RecordForNamedPlayer();
    ShowMenu();
  } else if (gameState_ == TGameState::GsGameOver) {
    ShowMenu();
  }
}

void TGameController::DispatchEvent(ControllerEvent event) {
  switch (event) {
    case ControllerEvent::EvMenu:
      ShowMenu();
      break;
    case ControllerEvent::EvAction:
      Action();
      break;
    case ControllerEvent::EvGameChosen:
      SelectGame();
      if (signedIn_) ShowStatus(MsgInfo, QStringLiteral(" "));
      break;
    case ControllerEvent::EvSignIn:
      SignIn();
      if (signedIn_) {
        if (view_) view_->SetFocus(TControllerView::TFocus::Action);
        ShowStatus(MsgInfo, QStringLiteral(" "));
      }
      break;
    case ControllerEvent::EvPlayerMoved:
      PlayerMoved();
      break;
    case ControllerEvent::EvWrongMove:
      ShowStatus(MsgError, QStringLiteral("foute zet ... opnieuw"));
      ResetPlayerInputWhereDue();
      break;
    case ControllerEvent::EvComputerMoved:
      ComputerMoved();
      break;
    case ControllerEvent::EvComputerBegins:
      if (gameState_ == TGameState::GsPlayerToMove && !PlayerMoveUnderWay()) ComputerToMove();
      break;
    case ControllerEvent::EvStop:
      Stop();
      break;
  }
}
