// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/voice.h"

#include "drawing/accessible.h"
#include "games/GameModule.h"
#include "shell/gamecontrol.h"

TVoice::TVoice(QWidget& window, const TGameController& controller)
    : controller_(controller), announcer_(new TAnnouncer(&window)) {
  announcer_->setObjectName(QStringLiteral("meldingen"));
  // What a step brings is put together once the step is done: a game's
  // start shows the status before the new position is drawn.
  flush_.setSingleShot(true);
  flush_.setInterval(0);
  QObject::connect(&flush_, &QTimer::timeout, announcer_, [this] { Flush(); });
}

QString TVoice::Position() const {
  if (controller_.GameType() == kNoGame || controller_.GameState() == TGameState::GsMenu ||
      controller_.GameState() == TGameState::GsIdle)
    return {};
  const TGameModule* m = controller_.Current();
  return m ? QString::fromStdString(m->Describe()) : QString();
}

void TVoice::Status(const QString& text) {
  if (controller_.GameState() == TGameState::GsMenu) lastPosition_.clear();
  // "computer aan zet": the position is the one the player's move left,
  // before the computer's reply starts to change it.
  if (controller_.GameState() == TGameState::GsComputerMoving) positionBeforeReply_ = Position();
  if (!text.trimmed().isEmpty()) statuses_ << text;
  flush_.start();
}

void TVoice::AfterStep(TGameState before) {
  // The computer's move ends on a tick: the game raised its event, the
  // controller has shown whose turn it is or who won.
  if (before != TGameState::GsComputerMoving ||
      (controller_.GameState() != TGameState::GsPlayerToMove &&
       controller_.GameState() != TGameState::GsGameOver))
    return;
  if (const TGameModule* m = controller_.Current())
    computerMove_ = QString::fromStdString(m->DescribeComputerMove());
  flush_.start();
}

void TVoice::CursorMoved(int index) {
  const TGameModule* m = controller_.Current();
  if (!m) return;
  announcer_->Say(index < 0 ? QStringLiteral("geen zet gekozen")
                            : QString::fromStdString(m->DescribeKeyMove(index)));
}

void TVoice::GameChosen(uint8_t gameType, const QString& rules) {
  announcer_->Say(QStringLiteral("spel %1 gekozen").arg(gameType + 1));
  announcer_->Say(rules);
}

void TVoice::Flush() {
  if (!computerMove_.isEmpty()) announcer_->Say(computerMove_);
  computerMove_.clear();
  QString position = positionBeforeReply_.isEmpty() ? Position() : positionBeforeReply_;
  positionBeforeReply_.clear();
  if (!position.isEmpty() && position != lastPosition_) {
    announcer_->Say(position);
    lastPosition_ = position;
  }
  for (const QString& s : statuses_) announcer_->Say(s);
  statuses_.clear();
  announcer_->Flush();
}
