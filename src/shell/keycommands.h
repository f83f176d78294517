// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's keyboard: the keys desktop games use for what its
// buttons do, each acting exactly as a click on its button (ignored where
// the click is), and the keys of the move cursor on the board while the
// player is to move. Also the accessible names and descriptions of the
// window's controls, so a screen reader can follow the game.
#pragma once

#include <QAccessible>
#include <QObject>
#include <functional>

// What the key commands need of the window they serve.
class TKeyWindow {
 public:
  virtual ~TKeyWindow() = default;
  virtual QWidget& Window() = 0;
  virtual QWidget& BoardWidget() = 0;  // the board, which the arrows do not leave
  // A click on one of the window's buttons: nothing where it is disabled.
  enum class TButton : uint8_t { Help, Action, ComputerBegins, Menu, Gallery };
  virtual void Click(TButton button) = 0;
  // The keyboard focus to the name or the password box, where enabled.
  enum class TBox : uint8_t { Name, Password };
  virtual void FocusBox(TBox box) = 0;
  // Digit 1..9 chooses that game as a click on its button does.
  virtual void ChooseGameByKey(int digit) = 0;
  // Whether the board takes the player's moves now, and a key for its move
  // cursor.
  virtual bool PlayerMayMove() const = 0;
  virtual void BoardKey(int key) = 0;
};

class TKeyCommands final : public QObject {
 public:
  explicit TKeyCommands(TKeyWindow& window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TKeyWindow& window_;
};

// Tells a screen reader that the name or description of w has changed.
// Every such notice of the window goes through here; a test may watch them
// (accessibility is only active where a screen reader listens).
void Announce(QWidget* w, QAccessible::Event kind);
void SetAnnounceWatcher(std::function<void(QWidget*, QAccessible::Event)> watcher);
// The arrows of a game's direction box in words ("links en omlaag").
QString DirectionsText(uint8_t directions);
