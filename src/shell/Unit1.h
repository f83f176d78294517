// SPDX-License-Identifier: GPL-3.0-or-later
// TForm1: the main window of Zam games. It owns every control, the board and
// the panels beside it; it forwards each user action to the game controller,
// routes board mouse events and timer ticks to the chosen game's module, and
// paints. It is the controller's view and the board's screen.
#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "drawing/Unit2.h"
#include "drawing/Xbitmap.h"
#include "games/keycursor.h"
#include "halloffame/scores.h"
#include "shell/controls.h"
#include "shell/gamecontrol.h"
#include "shell/keycommands.h"
#include "shell/panels.h"

class Thelpform;
class Tscoreform;
class TVoice;

class TForm1 : public QWidget,
               public TMainControls,
               public TControllerView,
               private TBoardScreen,
               private TKeyWindow {
  Q_OBJECT
 public:
  static constexpr int kClientWidth = 860;
  static constexpr int kClientHeight = 689;

  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  // The controls, by their names, are fields of TMainControls.
  QTimer Timer1;

  // Index of the name picked from the name list; -1 once the name is edited.
  int PickedName = -1;

  // The board the games draw on, shown in box1.
  TBoard& Board() { return board_; }
  // The game controller this window runs.
  TGameController& Controller() { return controller_; }
  const TGameController& Controller() const { return controller_; }
  TSidePanels& Panels() { return *panels_; }
  // The help window, a child of this one, built when first asked for.
  Thelpform* HelpWindow();
  // The hall of fame this window's games record into, loaded at the start
  // and saved when the window goes; and its window, built like the help.
  THallOfFame& HallOfFame() { return hall_; }
  Tscoreform* HallWindow();

  void FormCreate();
  void FormDestroy();
  void box1Paint();
  void directionboxPaint();
  void gameselbtnBtnPaint(QObject* sender, uint8_t BtnNr, uint8_t status);
  void gameselbtnBtnChange(QObject* sender, uint8_t BtnNr, uint8_t status, Qt::MouseButton button);
  void box1Mouse(TInputKind action, int x, int y);
  void Timer1Timer();
  void actionBtnClick();
  void compstartBtnClick();
  void stopBtnClick();
  void galleryBtnClick();
  void BitBtn1Click();
  void nameboxChange();
  void nameboxSelect(int index);
  // The key filter of the name and password boxes: returns the key to pass
  // on (0 = swallowed).
  QChar FormKeyPress(QChar key);
  // The board between games (the menu, a game just ended): nothing on it
  // can be taken, so the arrow, whatever the pointer last left there.
  void ShowBoardIdle();
  void TakeBackKeyboard();
  // A new position under a pointer that rests on the board: the game hears
  // a move to where the pointer is, so the cursor at once shows whether a
  // piece lies under it.
  void ReportRestingPointer();

  // The controller's view.
  void EnableMenuControls(bool enabled) override;
  void EnableComputerBegins(bool enabled) override;
  void ShowStatus(MessageKind kind, const QString& text) override;
  void SetActionCaption(const QString& caption) override;
  void SetFocus(TFocus where) override;
  void ClearPlayer() override;
  bool IsListedName(const QString& name) const override;
  void ShowDirections(uint8_t directions) override;
  void ShowRules(int index) override;
  void ShowScores(const uint8_t (&levels)[kGameCount]) override;
  void RepaintScores() override;
  void SetMoveTimer(bool enabled) override;
  void SetBoardCursor(Qt::CursorShape shape) override;
  // Keyboard play: digit 1..9 chooses that game as a click on its button
  // does; a key for the board's move cursor while the player is to move.
  void ChooseGameByKey(int digit) override;
  void box1Key(int key);
  // Brings the accessible descriptions of the board, the rules, the
  // directions and the scores up to date, and tells a screen reader.
  void RefreshDescriptions();
  // Sets the status line and has a screen reader announce it, even when the
  // text is the one already shown.
  void SetStatusText(const QString& text);
  // The position on the board in words, with the move the cursor shows.
  QString BoardText() const;
  // Takes away the move the keyboard cursor shows, if any.
  void DropKeyCursor();
  // What the window says to a screen reader.
  TVoice& Voice() { return *voice_; }

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  TKeyCursor keyCursor_;
  // Building the window: its controls are built, then connected here.
  void ConnectControls();
  // The key commands' window.
  QWidget& Window() override { return *this; }
  QWidget& BoardWidget() override;
  void Click(TButton button) override;
  void FocusBox(TBox box) override;
  bool PlayerMayMove() const override { return controller_.PlayerMayMove(); }
  void BoardKey(int key) override { box1Key(key); }
  // The board's screen: box1.
  void ShowBoard(const TXBitmap& compose, const TRect& r) override;
  void RepaintBoard() override;
  // Hands the controller what the name and password boxes hold.
  void HandPlayer();

  TBoard board_{this};
  THallOfFame hall_;  // outlives the controller that records into it
  TGameController controller_{*this, board_, hall_};
  std::unique_ptr<TSidePanels> panels_;
  QPointer<Thelpform> help_;
  QPointer<Tscoreform> hallWindow_;
  std::unique_ptr<TVoice> voice_;
  TKeyCommands* keys_ = nullptr;  // a child; deleted first in the destructor
  bool destroyed_ = false;
};
