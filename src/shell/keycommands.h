// The main window's keyboard: the keys desktop games use for what its
// buttons do, each acting exactly as a click on its button (ignored where
// the click is), and the keys of the move cursor on the board while the
// player is to move. Also the accessible names and descriptions of the
// window's controls, so a screen reader can follow the game.
#pragma once

#include <QAccessible>
#include <QObject>
#include <functional>

class TForm1;

class TKeyCommands final : public QObject {
 public:
  explicit TKeyCommands(TForm1& form);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TForm1& form_;
};

// Accessible names and descriptions of every control of the window.
void NameControls(TForm1& form);
// The arrows of a game's direction box in words ("links en omlaag").
QString DirectionsText(uint8_t directions);
