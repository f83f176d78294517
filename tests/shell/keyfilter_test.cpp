// SPDX-License-Identifier: GPL-3.0-or-later
// The name and password boxes with input as it really arrives: a click into
// the box, then keys to whatever widget has the focus; pasted and composed
// text; the drop-down list; the focus and the tab order.
#include <QAbstractItemView>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <functional>
#include <map>
#include <set>

#include "halloffame/hall_fixture.h"
#include "halloffame/scoreform.h"
#include "shell/shell_fixture.h"

namespace {

// Types each character as a key press with that text, at the widget with
// the focus (QTest::keyClicks knows only ASCII). "\b" is Backspace, "\r"
// Return.
void Type(const QString& text) {
  for (QChar c : text) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    int key = c.unicode() < 128 ? int(c.toUpper().unicode()) : int(Qt::Key_unknown);
    QString chars(c);
    if (c == QLatin1Char('\b')) key = Qt::Key_Backspace;
    if (c == QLatin1Char('\r')) key = Qt::Key_Return;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, chars);
    QApplication::sendEvent(focus, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, chars);
    QApplication::sendEvent(focus, &release);
  }
}

class InputTest : public ShellTest {
 protected:
  void ClickInto(QWidget* w) {
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(20, w->height() / 2));
  }
  void ClickName() { ClickInto(form->namebox); }
  void ClickPassword() { ClickInto(form->passwordEdit); }
  void KeyAtFocus(int key, Qt::KeyboardModifiers mods = {}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), mods);
  }
  void ClearBoxes() {
    form->namebox->setEditText(QString());
    form->passwordEdit->clear();
  }
};

struct Typing {
  const char* keys;
  const char* name;  // what the name box then holds
  bool signedIn;     // after the keys
};

// Keys typed into the name box after a click into it.
TEST_F(InputTest, TypingIntoTheNameBox) {
  const Typing cases[] = {
      {"7 -x9", "x9", false},
      {"7", "", false},
      {"a7", "a7", false},
      {"Zam 9-x", "Zam9x", false},
      {"\xe9t\xe9", "t", false},  // accented letters
      {"abcdefghijkl", "abcdefghij", false},
      {"abc\b\bd", "ad", false},
      {"Bert\r", "Bert", true},  // Enter signs in
      {"\r", "", true},          // an empty name: anonymous
  };
  for (const Typing& c : cases) {
    ClearBoxes();
    Controller().ForgetSignIn();
    ClickName();
    ASSERT_EQ(QApplication::focusWidget(), form->namebox);  // the combo box itself
    Type(QString::fromLatin1(c.keys));
    EXPECT_EQ(form->namebox->currentText(), QString::fromLatin1(c.name)) << c.keys;
    EXPECT_EQ(Controller().SignedIn(), c.signedIn) << c.keys;
    if (c.signedIn) {
      EXPECT_EQ(QApplication::focusWidget(), form->actionBtn) << c.keys;
    }
  }
}

// A key the name box refuses does nothing at all: the name, the password
// and the sign-in stay as they were, and so does the status line.
TEST_F(InputTest, ARefusedKeyInTheNameBoxChangesNothing) {
  struct Case {
    const char* name;     // signed in with this name first ("" anonymous)
    const char* refused;  // then these keys, each refused
  } cases[] = {
      {"", "7"}, {"", "0"}, {"", " -!"}, {"", "\xe9"}, {"Bert", " -!"}, {"Bert", "\xe9_"},
  };
  for (const Case& c : cases) {
    ClearBoxes();
    Controller().ForgetSignIn();
    ClickName();
    Type(QString::fromLatin1(c.name) + QLatin1Char('\r'));
    ASSERT_TRUE(Controller().SignedIn()) << c.name;
    form->passwordEdit->setText(QStringLiteral("pw1"));
    const QString status = Status();
    ClickName();
    ASSERT_EQ(QApplication::focusWidget(), form->namebox);
    Type(QString::fromLatin1(c.refused));
    EXPECT_EQ(form->namebox->currentText(), QString::fromLatin1(c.name)) << c.refused;
    EXPECT_EQ(form->passwordEdit->text(), QStringLiteral("pw1")) << c.name << c.refused;
    EXPECT_TRUE(Controller().SignedIn()) << c.name << c.refused;
    EXPECT_EQ(Status(), status) << c.name << c.refused;
    EXPECT_EQ(QApplication::focusWidget(), form->namebox) << c.refused;
  }
}

TEST_F(InputTest, TypingIntoThePasswordBox) {
  const Typing cases[] = {
      {"7", "7", false},  // a digit may come first here
      {"Zam 9-x", "Zam9x", false},
      {"\xe9t\xe9", "t", false},
      {"x1\r", "x1", true},
  };
  for (const Typing& c : cases) {
    ClearBoxes();
    Controller().ForgetSignIn();
    ClickPassword();
    ASSERT_EQ(QApplication::focusWidget(), form->passwordEdit);
    Type(QString::fromLatin1(c.keys));
    EXPECT_EQ(form->passwordEdit->text(), QString::fromLatin1(c.name)) << c.keys;
    EXPECT_EQ(Controller().SignedIn(), c.signedIn) << c.keys;
  }
  EXPECT_EQ(form->passwordEdit->echoMode(), QLineEdit::Password);
}

TEST_F(InputTest, CursorKeysStillWork) {
  ClickName();
  Type(QStringLiteral("abc"));
  KeyAtFocus(Qt::Key_Left);
  Type(QStringLiteral("\b"));
  EXPECT_EQ(form->namebox->currentText(), QStringLiteral("ac"));
}

// Text that typing could not have produced never stays in a box, however it
// came in.
TEST_F(InputTest, PastedAndComposedText) {
  const QString paste = QString::fromUtf8(
      "\xF0\x9F\x98\x80"
      "Ann 7!");  // an emoji first
  struct Way {
    const char* name;
    int key;
    Qt::KeyboardModifiers mods;
  } ways[] = {{"Ctrl+V", Qt::Key_V, Qt::ControlModifier},
              {"Shift+Insert", Qt::Key_Insert, Qt::ShiftModifier}};
  for (const Way& w : ways) {
    ClearBoxes();
    QGuiApplication::clipboard()->setText(paste);
    ClickName();
    KeyAtFocus(w.key, w.mods);
    EXPECT_EQ(form->namebox->currentText(), QStringLiteral("Ann7")) << w.name;
    QGuiApplication::clipboard()->setText(QStringLiteral("7 x!\xe9y"));
    ClickPassword();
    KeyAtFocus(w.key, w.mods);
    EXPECT_EQ(form->passwordEdit->text(), QStringLiteral("7xy")) << w.name;
  }
  // A digit pasted at the front of a name goes too.
  ClearBoxes();
  QGuiApplication::clipboard()->setText(QStringLiteral("42Bo b"));
  ClickName();
  KeyAtFocus(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(form->namebox->currentText(), QStringLiteral("Bob"));
  // An input method committing a composed character (a dead key, then e).
  for (QWidget* box :
       {static_cast<QWidget*>(form->namebox), static_cast<QWidget*>(form->passwordEdit)}) {
    ClearBoxes();
    ClickInto(box);
    Type(QStringLiteral("ab"));
    QInputMethodEvent compose;
    compose.setCommitString(QString::fromUtf8("\xC3\xA9"));  // é
    QApplication::sendEvent(QApplication::focusWidget(), &compose);
    const QString text =
        box == form->namebox ? form->namebox->currentText() : form->passwordEdit->text();
    EXPECT_EQ(text, QStringLiteral("ab"));
  }
}

// Text that arrives all at once (pasted with the keys or from the box's
// menu, dropped, committed by an input method) gives exactly what typing
// its characters one by one gives: each refused character dropped, the
// rest kept, and only then the box's 10 characters applied.
class ArrivingText : public InputTest {
 protected:
  struct Case {
    bool name;           // the name box, else the password box
    const char* before;  // typed first
    int home, select;    // then Home (1) or not, then Shift+Right this often
    const char* text;    // arriving
    const char* after;   // what the box then holds
  };
  void SetUp() override {
    InputTest::SetUp();
    // No button still held from an earlier test: Qt Test's clicks in the
    // menu need a free mouse.
    for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
      QTest::mouseRelease(form->Label2, b);
  }
  QLineEdit* Box(bool name) { return name ? form->namebox->lineEdit() : form->passwordEdit; }
  // The box as the case has it before the text arrives, the focus in it.
  void Prepare(const Case& c) {
    ClearBoxes();
    ClickInto(c.name ? static_cast<QWidget*>(form->namebox) : form->passwordEdit);
    Type(QString::fromLatin1(c.before));
    if (c.home) KeyAtFocus(Qt::Key_Home);
    for (int i = 0; i < c.select; ++i) KeyAtFocus(Qt::Key_Right, Qt::ShiftModifier);
  }
  // The text pasted from the box's own menu: a right-click in the box opens
  // it, a click on its paste entry pastes.
  void PasteFromMenu(QWidget* box) {
    bool clicked = false;
    QObject guard;  // no late call once this returns
    QTimer::singleShot(0, &guard, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (!menu) return;
      for (QAction* a : menu->actions())
        if (a->text().startsWith(QStringLiteral("&Paste"))) {
          const QPoint at = menu->actionGeometry(a).center();
          QTest::mouseMove(menu, at);
          QTest::mouseClick(menu, Qt::LeftButton, {}, at);
          clicked = true;
        }
      if (!clicked) menu->close();
    });
    const QPoint at(30, box->height() / 2);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, box->mapToGlobal(at));
    QApplication::sendEvent(box, &event);  // the line edit under the pointer, in either box
    EXPECT_TRUE(clicked) << "no paste entry in the box's menu";
  }

  static constexpr Case kCases[] = {
      {false, "", 0, 0, "Tr0ub4dor&3xyz", "Tr0ub4dor3"},
      {true, "", 0, 0, "Tr0ub4dor&3xyz", "Tr0ub4dor3"},
      {true, "", 0, 0, "42Bo b", "Bob"},
      {true, "Ann", 0, 0, " 7!x", "Ann7x"},
      {true, "abcdefghi", 0, 0, "&&z9", "abcdefghiz"},
      {false, "abcdefghij", 1, 2, "-X-Y-Z", "XYcdefghij"},  // typed over a selection
      {false, "abc", 1, 3, "!! ", "abc"},                   // all refused: nothing typed
      {true, "ab", 1, 0, "7x", "xab"},                      // a digit cannot lead a name
      {true, "Bert", 0, 0, "\xe9\xe8n", "Bertn"},
  };
};

TEST_F(ArrivingText, PastedAsTyped) {
  struct Way {
    const char* name;
    std::function<void(QWidget*)> paste;
  } ways[] = {
      // Ctrl+V as the desktop sends it: the key with its control character.
      {"Ctrl+V",
       [](QWidget*) {
         QWidget* focus = QApplication::focusWidget();
         ASSERT_NE(focus, nullptr);
         QKeyEvent press(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16"));
         QApplication::sendEvent(focus, &press);
         QKeyEvent release(QEvent::KeyRelease, Qt::Key_V, Qt::ControlModifier,
                           QStringLiteral("\x16"));
         QApplication::sendEvent(focus, &release);
       }},
      {"Ctrl+V (Qt Test)", [this](QWidget*) { KeyAtFocus(Qt::Key_V, Qt::ControlModifier); }},
      {"Shift+Insert", [this](QWidget*) { KeyAtFocus(Qt::Key_Insert, Qt::ShiftModifier); }},
      {"menu", [this](QWidget* box) { PasteFromMenu(box); }},
      {"input method",
       [](QWidget*) {
         ASSERT_NE(QApplication::focusWidget(), nullptr);
         QInputMethodEvent commit;
         commit.setCommitString(QGuiApplication::clipboard()->text());
         QApplication::sendEvent(QApplication::focusWidget(), &commit);
       }},
  };
  for (const Case& c : kCases) {
    const QString text = QString::fromLatin1(c.text);
    Prepare(c);
    Type(text);
    const QString typed = Box(c.name)->text();
    EXPECT_EQ(typed.toStdString(), c.after) << "typed " << c.text;
    for (const Way& w : ways) {
      Prepare(c);
      QGuiApplication::clipboard()->setText(text);
      w.paste(Box(c.name));
      EXPECT_EQ(Box(c.name)->text().toStdString(), typed.toStdString()) << w.name << ": " << c.text;
      EXPECT_LE(Box(c.name)->text().size(), 10);
    }
  }
}

// Text dragged from elsewhere and dropped at the end of a box's text.
TEST_F(ArrivingText, DroppedAsTyped) {
  int dropped = 0;
  for (const Case& c : kCases) {
    if (c.home) continue;  // a drop lands where the pointer is: the end here
    const QString text = QString::fromLatin1(c.text);
    Prepare(c);
    Type(text);
    const QString typed = Box(c.name)->text();
    Prepare(c);
    QLineEdit* box = Box(c.name);
    const QPoint at(box->width() - 4, box->height() / 2);
    QWidget* target = box;  // the line edit under the pointer, in either box
    QMimeData data;
    data.setText(text);
    const QPoint local = target->mapFromGlobal(box->mapToGlobal(at));
    QDragEnterEvent enter(local, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(local, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    EXPECT_TRUE(drop.isAccepted()) << c.text;
    EXPECT_EQ(box->text().toStdString(), typed.toStdString()) << "dropped " << c.text;
    ++dropped;
  }
  EXPECT_GE(dropped, 5);
}

// Whatever the way in, the hall of fame stores only what typing allows.
TEST_F(InputTest, APastedNameReachesTheHallOfFameClean) {
  QGuiApplication::clipboard()->setText(
      QString::fromUtf8("\xF0\x9F\x98\x80"
                        "Ann 7!"));
  ClickName();
  KeyAtFocus(Qt::Key_V, Qt::ControlModifier);
  StartGame1();
  Game1().SetPosition({{1, 0}});
  ClickBoard(BlockCentre(1, 1));
  ASSERT_EQ(Controller().GameState(), TGameState::GsGameOver);
  ASSERT_EQ(form->HallOfFame().Ranking().Count(), 1);
  EXPECT_EQ(RecordName(form->HallOfFame().Ranking().Slot(1)), QStringLiteral("Ann7"));
}

// The tab order runs between "menu" and "help"; the flat buttons are no
// stops, and clicking them leaves the focus where it was.
TEST_F(InputTest, TabOrderAndTheFlatButtons) {
  // Tab goes round "menu", "help", the board and "start" / "nieuw spel".
  form->stopBtn->setFocus();
  KeyAtFocus(Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), form->BitBtn1);
  KeyAtFocus(Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), form->box1);
  KeyAtFocus(Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), form->actionBtn);
  KeyAtFocus(Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), form->stopBtn);
  KeyAtFocus(Qt::Key_Backtab);
  EXPECT_EQ(QApplication::focusWidget(), form->actionBtn);
  ClickName();
  // The gallery opens the hall of fame; the player closes it with Escape.
  QWidget* opened = nullptr;
  QTimer closer;
  closer.setInterval(10);
  QObject::connect(&closer, &QTimer::timeout, [&] {
    opened = QApplication::activeModalWidget();
    if (!opened) return;
    closer.stop();
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus && opened->isAncestorOf(focus) ? focus : opened, Qt::Key_Escape);
  });
  closer.start();
  Click(form->galleryBtn);
  closer.stop();
  EXPECT_EQ(opened, form->HallWindow());
  // The keys come back to the window once it is active again.
  ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::focusWidget() != nullptr; }, 5000));
  EXPECT_EQ(QApplication::focusWidget(), form->namebox);
  Click(form->compstartBtn);
  EXPECT_EQ(QApplication::focusWidget(), form->namebox);
}

// Two quick clicks on game 1's board, the first on the dead top lines of a
// block, the second 3 pixels lower on the block: the window system delivers
// the second press as a double-click, and it takes the block all the same.
TEST_F(InputTest, TwoQuickClicksOnTheBoard) {
  StartGame1();
  Game1().SetPosition({{6, 6}});
  auto send = [&](QEvent::Type type, QPoint p) {
    QMouseEvent e(type, p, form->box1->mapToGlobal(p), Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                  Qt::NoModifier);
    QApplication::sendEvent(form->box1, &e);
  };
  const QPoint dead(280, 244), live(280, 247);  // block (1, 6) starts at y 240
  QTest::mouseMove(form->box1, {280, 300});
  QTest::mouseMove(form->box1, dead);
  send(QEvent::MouseButtonPress, dead);
  send(QEvent::MouseButtonRelease, dead);
  EXPECT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
  QTest::mouseMove(form->box1, live);
  send(QEvent::MouseButtonDblClick, live);
  send(QEvent::MouseButtonRelease, live);
  EXPECT_EQ(Game1().Position().ColumnHeights[0], 5);
  EXPECT_EQ(Controller().GameState(), TGameState::GsComputerMoving);
}

// ---- stored names ----------------------------------------------------------------

class StoredNames : public InputTest {
 protected:
  void SetUp() override {}  // the window comes once the test has made its file
  void Open(const std::vector<ScoreRecord>& players) {
    WriteFile(Bytes(players));
    InputTest::SetUp();
  }
  InTempFolder folder;
};

TEST_F(StoredNames, RetypingAStoredNameIsRefused) {
  Open({MakeRecord("Bob", "", 2)});
  for (const char* typed : {"Bob", "bob", "BOB"}) {
    ClearBoxes();
    ClickName();
    Type(QString::fromLatin1(typed));
    ClickPassword();  // the name box loses the focus
    EXPECT_FALSE(Controller().SignedIn()) << typed;
    Click(form->actionBtn);
    EXPECT_EQ(Controller().GameState(), TGameState::GsMenu) << typed;
    EXPECT_EQ(Status(), QStringLiteral("deze naam is al in gebruik, kies andere...")) << typed;
    EXPECT_EQ(StatusColour(), 0x0000FFu) << typed;
  }
}

TEST_F(StoredNames, APickFromTheListSignsInAndFocusChangesKeepIt) {
  Open({MakeRecord("Anna", "x1", 3)});
  PickName(QStringLiteral("Anna"));
  EXPECT_EQ(Status(), QStringLiteral("geef password..."));
  EXPECT_EQ(QApplication::focusWidget(), form->passwordEdit);
  Type(QStringLiteral("x1\r"));
  ASSERT_TRUE(Controller().SignedIn());
  EXPECT_EQ(Controller().Levels()[0], 3);
  // Moving the focus between the boxes keeps the player signed in.
  ClickName();
  ClickPassword();
  ClickName();
  Click(form->actionBtn);
  EXPECT_TRUE(Controller().SignedIn());
  EXPECT_EQ(form->passwordEdit->text(), QStringLiteral("x1"));
  // Editing the name signs out.
  Click(form->stopBtn);
  ClickName();
  Type(QStringLiteral("\b"));
  EXPECT_FALSE(Controller().SignedIn());
  EXPECT_TRUE(form->passwordEdit->text().isEmpty());
}

// A name chosen from the list with the keys is a pick like a click: the
// arrow keys on the closed box, or the keys and Enter in the open list.
// Typing a listed name still is not.
TEST_F(StoredNames, PickingANameWithTheKeys) {
  Open({MakeRecord("Anna", "", 3), MakeRecord("Bob", "x1", 2), MakeRecord("Cor", "", 4)});
  // Each listed player's levels for game 1: what a pick must load.
  const std::map<QString, int> level = {
      {QStringLiteral("Anna"), 3}, {QStringLiteral("Bob"), 2}, {QStringLiteral("Cor"), 4}};
  auto picked = [&](const char* how) {
    const QString name = form->namebox->currentText();
    SCOPED_TRACE(how);
    ASSERT_TRUE(level.count(name)) << name.toStdString();
    if (name == QStringLiteral("Bob")) {
      // A password is asked for, as after a click on the entry.
      EXPECT_EQ(Status(), QStringLiteral("geef password..."));
      EXPECT_EQ(QApplication::focusWidget(), form->passwordEdit);
      EXPECT_FALSE(Controller().SignedIn());
      Type(QStringLiteral("x1\r"));
    }
    EXPECT_TRUE(Controller().SignedIn()) << name.toStdString();
    EXPECT_EQ(Controller().Levels()[0], level.at(name)) << name.toStdString();
    EXPECT_EQ(QApplication::focusWidget(), form->actionBtn);
  };
  // The arrow keys on the closed box, down the list and up again.
  std::set<QString> seen;
  for (int key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Up}) {
    ClickName();
    const QString before = form->namebox->currentText();
    KeyAtFocus(key);
    if (form->namebox->currentText() == before) continue;  // an end of the list
    seen.insert(form->namebox->currentText());
    picked(key == Qt::Key_Down ? "Down" : "Up");
  }
  EXPECT_EQ(seen.size(), 3u);
  // The open list: a click on the box's arrow, then Down and Enter.
  for (const int steps : {0, 1, 2}) {
    ClearBoxes();
    Controller().ForgetSignIn();
    QComboBox* box = form->namebox;
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 8, box->height() / 2));
    ASSERT_TRUE(QTest::qWaitFor([&] { return box->view()->isVisible(); }, 2000));
    const int from = box->view()->currentIndex().row();
    for (int i = 0; i < steps; ++i) KeyAtFocus(Qt::Key_Down);
    KeyAtFocus(Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !box->view()->isVisible(); }, 2000));
    EXPECT_EQ(box->currentIndex(), std::min(std::max(from, 0) + steps, 2)) << steps;
    picked("open list");
  }
  // Escape closes the open list without a pick.
  ClearBoxes();
  Controller().ForgetSignIn();
  QComboBox* box = form->namebox;
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 8, box->height() / 2));
  ASSERT_TRUE(QTest::qWaitFor([&] { return box->view()->isVisible(); }, 2000));
  KeyAtFocus(Qt::Key_Down);
  KeyAtFocus(Qt::Key_Escape);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !box->view()->isVisible(); }, 2000));
  EXPECT_FALSE(Controller().SignedIn());
  // A listed name typed by hand, then Enter: refused, as before.
  ClearBoxes();
  ClickName();
  Type(QStringLiteral("Cor\r"));
  EXPECT_FALSE(Controller().SignedIn());
  EXPECT_EQ(Status(), QStringLiteral("deze naam is al in gebruik, kies andere..."));
}

}  // namespace
