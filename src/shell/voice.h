// SPDX-License-Identifier: GPL-3.0-or-later
// What the main window says to a screen reader, beyond what the focused
// control's reading says: the status messages, the position after every
// move, the computer's move in words, the move the keyboard cursor shows and
// the game chosen. Everything one key, click or timer tick brings is said as
// one message, in the order a player wants it: the computer's move, the new
// position, then the status.
#pragma once

#include <QString>
#include <QStringList>
#include <QTimer>
#include <cstdint>

#include "games/GameModule.h"

class QWidget;
class TAnnouncer;
class TGameController;

class TVoice {
 public:
  // Speaks for `window`, of the game `controller` runs.
  TVoice(QWidget& window, const TGameController& controller);

  TAnnouncer& Announcer() { return *announcer_; }
  // A new status message (a blank one clears the line and says nothing).
  void Status(const QString& text);
  // After a key, a click or a tick handled in game state `before`: a
  // finished computer move is said first.
  void AfterStep(TGameState before);
  // The keyboard cursor shows move `index` (-1: no move shown any more).
  void CursorMoved(int index);
  // The player chose a game on the selector.
  void GameChosen(uint8_t gameType, const QString& rules);

 private:
  void Flush();
  QString Position() const;

  const TGameController& controller_;
  TAnnouncer* announcer_;
  QStringList statuses_;
  QString computerMove_;
  QString positionBeforeReply_;  // the position the player's move left
  QString lastPosition_;         // the position last said
  QTimer flush_;
};
