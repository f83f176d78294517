// SPDX-License-Identifier: GPL-3.0-or-later
// The window's keyboard commands and what a screen reader is told, with
// keys sent where a player's keys arrive: at the widget with the focus, or
// at the window when no control has it.
#include <QAccessible>
#include <QKeyEvent>
#include <QTimer>
#include <vector>

#include "drawing/accessible.h"
#include "halloffame/scoreform.h"
#include "halloffame/scores.h"
#include "help/help_unit.h"
#include "shell/keycommands.h"
#include "shell/shell_fixture.h"

namespace {

class KeyboardTest : public ShellTest {
 protected:
  // A key as the player presses it: at the focused control.
  void Press(int key, Qt::KeyboardModifiers mods = {}) {
    QWidget* target = QApplication::focusWidget();
    if (!target) target = form.get();
    QTest::keyClick(target, Qt::Key(key), mods);
  }
  void ClickInto(QWidget* w) {
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(20, w->height() / 2));
  }
  // The focus on the "menu" button, as after a player clicked it.
  void FocusOnMenuButton() {
    form->stopBtn->setFocus(Qt::MouseFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), form->stopBtn);
  }
  // Presses the key while a modal window is expected to open, closes that
  // window with Escape, and says which window was open.
  QWidget* PressExpectingModal(int key, Qt::KeyboardModifiers mods) {
    QWidget* seen = nullptr;
    QTimer::singleShot(0, [&] {
      seen = QApplication::activeModalWidget();
      if (seen) QTest::keyClick(seen, Qt::Key_Escape);
    });
    Press(key, mods);
    QApplication::processEvents();
    // The desktop gives the main window the keyboard back.
    QApplication::setActiveWindow(form.get());
    EXPECT_EQ(QApplication::activeWindow(), form.get());
    return seen;
  }
};

}  // namespace

// A digit chooses its game like a click on the game's button, wherever the
// digit would not be typed as text.
TEST_F(KeyboardTest, DigitsChooseTheGameUnlessTheyAreText) {
  FocusOnMenuButton();
  Press(Qt::Key_4);
  EXPECT_EQ(Controller().GameType(), 3);
  EXPECT_EQ(form->gameselbtn->GetBtnStatus(3), stDown);
  // The empty name box: a name cannot begin with a digit.
  ClickInto(form->namebox);
  Press(Qt::Key_7);
  EXPECT_EQ(Controller().GameType(), 6);
  EXPECT_EQ(form->gameselbtn->GetBtnStatus(3), stFlat);
  EXPECT_EQ(form->namebox->currentText(), QString());
  // After a letter the digit is part of the name.
  Press(Qt::Key_A);
  Press(Qt::Key_2);
  EXPECT_EQ(form->namebox->currentText(), QStringLiteral("a2"));
  EXPECT_EQ(Controller().GameType(), 6);
  // In the password box every digit is text.
  ClickInto(form->passwordEdit);
  Press(Qt::Key_5);
  EXPECT_EQ(form->passwordEdit->text(), QStringLiteral("5"));
  EXPECT_EQ(Controller().GameType(), 6);
}

TEST_F(KeyboardTest, DigitsAreIgnoredWhileTheGameButtonsAreOff) {
  StartGame1();
  FocusOnMenuButton();
  Press(Qt::Key_5);
  EXPECT_EQ(Controller().GameType(), 0);
  EXPECT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
}

TEST_F(KeyboardTest, CommandKeysActAsTheirButtonsInTheSameStates) {
  FocusOnMenuButton();
  // Ctrl+N without a game: the same refusal as the click.
  Press(Qt::Key_N, Qt::ControlModifier);
  EXPECT_EQ(Controller().GameState(), TGameState::GsMenu);
  EXPECT_EQ(Status(), QStringLiteral("selecteer een spel..."));
  // Ctrl+B in the menu: the button is off, nothing happens.
  Press(Qt::Key_B, Qt::ControlModifier);
  EXPECT_EQ(Controller().GameState(), TGameState::GsMenu);
  Press(Qt::Key_1);
  Press(Qt::Key_N, Qt::ControlModifier);
  ASSERT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
  // "ere galerij" does nothing during a game.
  EXPECT_EQ(PressExpectingModal(Qt::Key_H, Qt::ControlModifier), nullptr);
  // Ctrl+N during a game is ignored like the click.
  Press(Qt::Key_N, Qt::ControlModifier);
  EXPECT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
  Press(Qt::Key_B, Qt::ControlModifier);
  EXPECT_EQ(Controller().GameState(), TGameState::GsComputerMoving);
  // "menu" while the computer moves does nothing.
  Press(Qt::Key_M, Qt::ControlModifier);
  EXPECT_EQ(Controller().GameState(), TGameState::GsComputerMoving);
  RunTimer();
  ASSERT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
  // Ctrl+M during the player's turn: back to the menu, counted as lost.
  SetLevel(0, 2);
  Press(Qt::Key_M, Qt::ControlModifier);
  EXPECT_EQ(Controller().GameState(), TGameState::GsMenu);
  EXPECT_EQ(Controller().Levels()[0], 1);
}

TEST_F(KeyboardTest, F1AndCtrlHOpenHelpAndTheHallOfFameWhichEscapeCloses) {
  Thelpform& help = *form->HelpWindow();
  Tscoreform& scores = *form->HallWindow();
  FocusOnMenuButton();
  EXPECT_EQ(PressExpectingModal(Qt::Key_F1, {}), &help);
  EXPECT_FALSE(help.isVisible());
  EXPECT_EQ(PressExpectingModal(Qt::Key_H, Qt::ControlModifier), &scores);
  EXPECT_FALSE(scores.isVisible());
  // No help while the computer moves.
  Press(Qt::Key_1);
  Press(Qt::Key_N, Qt::ControlModifier);
  Press(Qt::Key_B, Qt::ControlModifier);
  ASSERT_EQ(Controller().GameState(), TGameState::GsComputerMoving);
  EXPECT_EQ(PressExpectingModal(Qt::Key_F1, {}), nullptr);
  RunTimer();
}

TEST_F(KeyboardTest, CtrlQClosesTheWindow) {
  ClickInto(form->namebox);
  Press(Qt::Key_Q, Qt::ControlModifier);
  EXPECT_FALSE(form->isVisible());
}

TEST_F(KeyboardTest, AltNAndAltPLeadIntoTheBoxes) {
  FocusOnMenuButton();
  Press(Qt::Key_N, Qt::AltModifier);
  EXPECT_EQ(QApplication::focusWidget(), form->namebox);
  Press(Qt::Key_B);
  Press(Qt::Key_P, Qt::AltModifier);
  EXPECT_EQ(QApplication::focusWidget(), form->passwordEdit);
  Press(Qt::Key_X);
  EXPECT_EQ(form->namebox->currentText(), QStringLiteral("b"));
  EXPECT_EQ(form->passwordEdit->text(), QStringLiteral("x"));
}

// Every control a player meets has a name and a description a screen reader
// reads out.
TEST_F(KeyboardTest, EveryControlHasAnAccessibleNameAndDescription) {
  QWidget* controls[] = {form->box1,      form->largemsgbox,  form->smallmsgbox, form->directionbox,
                         form->BitBtn1,   form->gameselbtn,   form->scoreBox,    form->totalscore,
                         form->namebox,   form->passwordEdit, form->galleryBtn,  form->compstartBtn,
                         form->actionBtn, form->stopBtn,      form->Label1,      form->Label2,
                         form->Label3,    form->Label4,       form->Label5,      form->Label6};
  for (QWidget* w : controls) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    ASSERT_NE(a, nullptr);
    EXPECT_FALSE(a->text(QAccessible::Name).trimmed().isEmpty()) << w->metaObject()->className();
    EXPECT_FALSE(a->text(QAccessible::Description).trimmed().isEmpty())
        << a->text(QAccessible::Name).toStdString();
  }
  EXPECT_EQ(QAccessible::queryAccessibleInterface(form->compstartBtn)->text(QAccessible::Name),
            QStringLiteral("computer begint"));
  EXPECT_EQ(QAccessible::queryAccessibleInterface(form->namebox)->text(QAccessible::Name),
            QStringLiteral("naam"));
}

TEST_F(KeyboardTest, TheDirectionsAndRulesOfTheChosenGameAreDescribed) {
  FocusOnMenuButton();
  Press(Qt::Key_3);
  EXPECT_EQ(form->directionbox->accessibleDescription(),
            QStringLiteral("naar links, omlaag of diagonaal naar links omlaag"));
  EXPECT_TRUE(form->largemsgbox->accessibleDescription().startsWith(
      QStringLiteral("Schuif per zet de munt een aantal vakjes naar links, omlaag, of diagonaal")));
  Press(Qt::Key_9);
  EXPECT_EQ(form->directionbox->accessibleDescription(),
            QStringLiteral("naar links en naar rechts"));
}

// Each new status message reaches a screen reader, also the same message a
// second time: the window's announcer says it, once per key.
TEST_F(KeyboardTest, StatusChangesAreAnnounced) {
  std::vector<QString> said;
  TAnnouncer::Watcher = [&](TAnnouncer*, const QString& text) { said.push_back(text); };
  FocusOnMenuButton();
  const auto press = [&](int key, Qt::KeyboardModifiers mods = {}) {
    Press(key, mods);
    QApplication::processEvents();
  };
  press(Qt::Key_N, Qt::ControlModifier);  // "selecteer een spel..."
  press(Qt::Key_N, Qt::ControlModifier);  // the same again
  press(Qt::Key_1);
  press(Qt::Key_N, Qt::ControlModifier);
  press(Qt::Key_B, Qt::ControlModifier);
  TAnnouncer::Watcher = nullptr;
  ASSERT_EQ(said.size(), 5u);
  EXPECT_EQ(said[0], QStringLiteral("selecteer een spel..."));
  EXPECT_EQ(said[1], QStringLiteral("selecteer een spel..."));
  EXPECT_TRUE(said[2].startsWith(QStringLiteral("spel 1 gekozen. Neem per zet"))) << said[2].toStdString();
  // The new game: its position, then whose turn it is.
  EXPECT_TRUE(said[3].startsWith(QStringLiteral("Linker kolom: "))) << said[3].toStdString();
  EXPECT_TRUE(said[3].endsWith(QStringLiteral(" doe een zet of laat de computer beginnen.")))
      << said[3].toStdString();
  EXPECT_EQ(said[4], QStringLiteral("computer aan zet ..."));
  RunTimer();
}

// Where the keyboard sends the focus, the focus can be seen: after a name
// and Enter the focus is on "start", and the button shows it.
TEST_F(KeyboardTest, TheFocusIsVisibleWhenTheKeyboardIsUsed) {
  const QImage unfocused = form->actionBtn->grab().toImage();
  ClickInto(form->namebox);
  for (int key : {Qt::Key_B, Qt::Key_O, Qt::Key_B, Qt::Key_Return}) Press(key);
  ASSERT_EQ(QApplication::focusWidget(), form->actionBtn);
  QApplication::processEvents();
  EXPECT_NE(form->actionBtn->grab().toImage(), unfocused);
}

// Two pictures alike in every colour; the two low bits of blue are the
// engine's level tag, not colour (game 5's ring tags the track under a coin
// put back differently from the first drawing).
bool SameColours(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return false;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if ((a.pixel(x, y) ^ b.pixel(x, y)) & ~0x3u) return false;
  return true;
}

// In every game the arrow key shows a move on the board and Escape takes it
// away, leaving the board exactly as it was; the board's description names
// the move while it is shown.
TEST_F(KeyboardTest, TheMoveCursorShowsAMoveAndEscapeTakesItAway) {
  for (int type = 0; type < kGameCount; ++type) {
    SCOPED_TRACE(type + 1);
    FocusOnMenuButton();
    Press(Qt::Key_1 + type);
    Press(Qt::Key_N, Qt::ControlModifier);
    ASSERT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
    const QImage before = form->Board().ComposeBitmap.Image().copy();
    const QString position = form->box1->accessibleDescription();
    EXPECT_FALSE(position.isEmpty());
    Press(Qt::Key_Right);
    EXPECT_NE(form->Board().ComposeBitmap.Image(), before);
    EXPECT_TRUE(form->box1->accessibleDescription().startsWith(position + " Gekozen zet: "))
        << form->box1->accessibleDescription().toStdString();
    Press(Qt::Key_Left);
    Press(Qt::Key_Escape);
    EXPECT_TRUE(SameColours(form->Board().ComposeBitmap.Image(), before));
    EXPECT_EQ(form->box1->accessibleDescription(), position);
    EXPECT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
    // A move shown, then "menu": the board is left as it was shown before.
    Press(Qt::Key_Down);
    Press(Qt::Key_M, Qt::ControlModifier);
    ASSERT_EQ(Controller().GameState(), TGameState::GsMenu);
    EXPECT_TRUE(SameColours(form->Board().ComposeBitmap.Image(), before));
  }
}

// The mouse takes over from the keyboard: a move shown by the cursor goes
// as soon as the pointer moves on the board.
TEST_F(KeyboardTest, TheMouseTakesOverFromTheCursor) {
  StartGame1();
  const QImage before = form->Board().ComposeBitmap.Image().copy();
  Press(Qt::Key_Right);
  ASSERT_NE(form->Board().ComposeBitmap.Image(), before);
  QTest::mouseMove(form->box1, {2, 2});
  EXPECT_TRUE(SameColours(form->Board().ComposeBitmap.Image(), before));
}

// After each move the board describes the new position. (That a screen
// reader is told each change once is checked over AT-SPI, where Qt sends
// the changes: tests/shell/atspi_test.py.)
TEST_F(KeyboardTest, TheBoardIsDescribedAfterEveryMove) {
  StartGame1();
  Game1().SetPosition({{3, 2}});
  form->RefreshDescriptions();
  EXPECT_EQ(form->box1->accessibleDescription(),
            QStringLiteral("Linker kolom: 3 stenen, rechter kolom: 2 stenen."));
  // The first move of the list: one block from the left column.
  Press(Qt::Key_Right);
  EXPECT_EQ(form->box1->accessibleDescription(),
            QStringLiteral("Linker kolom: 3 stenen, rechter kolom: 2 stenen. Gekozen zet: neem 1 "
                           "steen van de linker kolom."));
  Press(Qt::Key_Return);
  EXPECT_EQ(form->box1->accessibleDescription(),
            QStringLiteral("Linker kolom: 2 stenen, rechter kolom: 2 stenen."));
  EXPECT_EQ(Controller().GameState(), TGameState::GsComputerMoving);
  RunTimer();
  EXPECT_NE(form->box1->accessibleDescription(),
            QStringLiteral("Linker kolom: 2 stenen, rechter kolom: 2 stenen."));
}

namespace {

// The move the board says the cursor shows, or "" when it shows none.
std::string ShownMove(TForm1& form) {
  const std::string board = form.box1->accessibleDescription().toStdString();
  const std::string mark = " Gekozen zet: ";
  const size_t at = board.find(mark);
  if (at == std::string::npos) return {};
  std::string move = board.substr(at + mark.size());
  if (!move.empty() && move.back() == '.') move.pop_back();
  return move;
}

// Game 1 with 3 blocks in the left column and 2 in the right: its five
// legal moves, in the order a player reads them off the board (left column
// first, fewest blocks first).
const std::vector<std::string> kMovesOf3And2 = {
    "neem 1 steen van de linker kolom",   "neem 2 stenen van de linker kolom",
    "neem 3 stenen van de linker kolom",  "neem 1 steen van de rechter kolom",
    "neem 2 stenen van de rechter kolom",
};

}  // namespace

// Right and Down step to the next move, Left and Up to the previous one;
// past the last move the cursor comes round to the first and before the
// first to the last, in both directions, and from no move shown the first
// step forward shows the first move and the first step back the last.
TEST_F(KeyboardTest, TheArrowKeysStepRoundTheMovesBothWays) {
  StartGame1();
  Game1().SetPosition({{3, 2}});
  form->RefreshDescriptions();
  const std::vector<std::string>& moves = kMovesOf3And2;
  const int n = int(moves.size());
  struct TKeys {
    int next, previous;
  };
  for (const TKeys keys : {TKeys{Qt::Key_Right, Qt::Key_Left}, TKeys{Qt::Key_Down, Qt::Key_Up},
                           TKeys{Qt::Key_Right, Qt::Key_Up}, TKeys{Qt::Key_Down, Qt::Key_Left}}) {
    SCOPED_TRACE(QKeySequence(keys.next).toString().toStdString() + " / " +
                 QKeySequence(keys.previous).toString().toStdString());
    Press(Qt::Key_Escape);
    ASSERT_EQ(ShownMove(*form), "");
    // Forward twice round and one more: the first move, ..., the last, the
    // first again, ..., the last, the first.
    for (int step = 0; step < 2 * n + 1; ++step) {
      Press(keys.next);
      EXPECT_EQ(ShownMove(*form), moves[size_t(step % n)]) << "step " << step + 1 << " forward";
    }
    // Now on the first move; back twice round: the last, ..., the first.
    for (int step = 0; step < 2 * n; ++step) {
      Press(keys.previous);
      EXPECT_EQ(ShownMove(*form), moves[size_t(n - 1 - step % n)]) << "step " << step + 1 << " back";
    }
    // From no move shown, one step back shows the last move.
    Press(Qt::Key_Escape);
    Press(keys.previous);
    EXPECT_EQ(ShownMove(*form), moves.back());
  }
  EXPECT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
  EXPECT_EQ(Game1().Position().ColumnHeights[0], 3);
  EXPECT_EQ(Game1().Position().ColumnHeights[1], 2);
}

// The keypad's arrows and Enter are board keys like the main ones: a player
// with Num Lock off steps and plays with the keypad alone.
TEST_F(KeyboardTest, TheKeypadArrowsAndEnterWorkTheBoard) {
  StartGame1();
  Game1().SetPosition({{3, 2}});
  form->RefreshDescriptions();
  struct TCase {
    int key;
    std::string shown;  // from no move shown
  };
  const TCase cases[] = {
      {Qt::Key_Right, kMovesOf3And2.front()}, {Qt::Key_Down, kMovesOf3And2.front()},
      {Qt::Key_Left, kMovesOf3And2.back()},   {Qt::Key_Up, kMovesOf3And2.back()},
      {Qt::Key_Enter, kMovesOf3And2.front()},  // Enter with nothing shown shows the first
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(QKeySequence(c.key).toString().toStdString());
    Press(Qt::Key_Escape);
    ASSERT_EQ(ShownMove(*form), "");
    Press(c.key, Qt::KeypadModifier);
    EXPECT_EQ(ShownMove(*form), c.shown);
    EXPECT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
  }
  // The keypad's Enter plays the move shown: the last one, two blocks from
  // the right column.
  Press(Qt::Key_Escape);
  Press(Qt::Key_Left, Qt::KeypadModifier);
  Press(Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(Controller().GameState(), TGameState::GsComputerMoving);
  EXPECT_EQ(Game1().Position().ColumnHeights[0], 3);
  EXPECT_EQ(Game1().Position().ColumnHeights[1], 0);
  RunTimer();
}

// Once the computer has moved, "computer begint" is off, and Ctrl+B is
// refused like a click on it: the computer does not move a second time,
// whether it made the first move or answered the player's.
TEST_F(KeyboardTest, CtrlBDoesNothingOnceComputerBeginsIsOff) {
  struct TOpening {
    const char* name;
    std::vector<std::pair<int, Qt::KeyboardModifiers>> keys;
  };
  const TOpening openings[] = {
      {"the computer begins", {{Qt::Key_B, Qt::ControlModifier}}},
      {"the player begins", {{Qt::Key_Right, {}}, {Qt::Key_Return, {}}}},
  };
  for (const TOpening& opening : openings) {
    SCOPED_TRACE(opening.name);
    StartGame1();
    Game1().SetPosition({{5, 3}});
    for (const auto& [key, mods] : opening.keys) Press(key, mods);
    ASSERT_EQ(Controller().GameState(), TGameState::GsComputerMoving);
    RunTimer();
    ASSERT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
    ASSERT_FALSE(form->compstartBtn->isEnabled());
    const game0::TPosition before = Game1().Position();
    const QString status = Status();
    Press(Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
    EXPECT_FALSE(form->Timer1.isActive());
    RunTimer();
    EXPECT_EQ(Game1().Position().ColumnHeights[0], before.ColumnHeights[0]);
    EXPECT_EQ(Game1().Position().ColumnHeights[1], before.ColumnHeights[1]);
    EXPECT_EQ(Status(), status);
    Press(Qt::Key_M, Qt::ControlModifier);  // back to the menu
    ASSERT_EQ(Controller().GameState(), TGameState::GsMenu);
  }
}

// In every game the computer's move is said in words, then the position it
// left and whose turn it is: one message, when the move has ended.
TEST_F(KeyboardTest, TheComputersMoveIsSaidInEveryGame) {
  for (int type = 0; type < kGameCount; ++type) {
    SCOPED_TRACE(type + 1);
    FocusOnMenuButton();
    Press(Qt::Key_1 + type);
    Press(Qt::Key_N, Qt::ControlModifier);
    ASSERT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
    QApplication::processEvents();
    std::vector<QString> said;
    TAnnouncer::Watcher = [&](TAnnouncer*, const QString& text) { said.push_back(text); };
    Press(Qt::Key_B, Qt::ControlModifier);
    QApplication::processEvents();
    RunTimer();
    QApplication::processEvents();
    TAnnouncer::Watcher = nullptr;
    ASSERT_EQ(said.size(), 2u);
    EXPECT_EQ(said[0], QStringLiteral("computer aan zet ..."));
    const QString position = form->box1->accessibleDescription();
    const QString turn = Controller().GameState() == TGameState::GsGameOver ? QStringLiteral(" computer heeft gewonnen.")
                                                 : QStringLiteral(" doe een zet ...");
    EXPECT_TRUE(said[1].startsWith(QStringLiteral("de computer "))) << said[1].toStdString();
    EXPECT_TRUE(said[1].endsWith(QStringLiteral(". ") + position + turn)) << said[1].toStdString();
    Press(Qt::Key_M, Qt::ControlModifier);
  }
}
