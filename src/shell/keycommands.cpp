// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/keycommands.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

#include "drawing/arrows.h"

namespace {

void OnKeys(QWidget& form, const QKeySequence& keys, std::function<void()> action) {
  auto* shortcut = new QShortcut(keys, &form);
  shortcut->setContext(Qt::WindowShortcut);
  QObject::connect(shortcut, &QShortcut::activated, &form, std::move(action));
  // Held down, a key repeats: a command acts once per press.
  shortcut->setAutoRepeat(false);
}

bool IsArrow(int key) {
  return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

bool IsBoardKey(int key) {
  switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
    case Qt::Key_Escape:
      return true;
    default:
      return false;
  }
}

}  // namespace

TKeyCommands::TKeyCommands(TKeyWindow& window) : QObject(&window.Window()), window_(window) {
  using TButton = TKeyWindow::TButton;
  QWidget& form = window.Window();
  TKeyWindow* w = &window;
  // A command is a click on its button, so each is refused exactly where
  // its button is (a disabled button takes no click).
  OnKeys(form, QKeySequence(Qt::Key_F1), [w] { w->Click(TButton::Help); });
  OnKeys(form, QKeySequence(Qt::CTRL | Qt::Key_N), [w] { w->Click(TButton::Action); });
  OnKeys(form, QKeySequence(Qt::CTRL | Qt::Key_B), [w] { w->Click(TButton::ComputerBegins); });
  OnKeys(form, QKeySequence(Qt::CTRL | Qt::Key_M), [w] { w->Click(TButton::Menu); });
  OnKeys(form, QKeySequence(Qt::CTRL | Qt::Key_H), [w] { w->Click(TButton::Gallery); });
  // Ending the program the normal way: the window closes and the hall of
  // fame is written as when its close button is used.
  OnKeys(form, QKeySequence(Qt::CTRL | Qt::Key_Q), [&form] { form.close(); });
  // The name and password boxes are no tab stops: these keys lead there.
  OnKeys(form, QKeySequence(Qt::ALT | Qt::Key_N), [w] { w->FocusBox(TKeyWindow::TBox::Name); });
  OnKeys(form, QKeySequence(Qt::ALT | Qt::Key_P), [w] { w->FocusBox(TKeyWindow::TBox::Password); });
  // A digit chooses a game like a click on its button. A box that takes the
  // digit as text claims the key first (the empty name box does not take a
  // digit; the window's key filter lets that one choose the game).
  for (int d = 1; d <= 9; ++d) {
    const auto choose = [w, d] { w->ChooseGameByKey(d); };
    OnKeys(form, QKeySequence(Qt::Key_0 + d), choose);
    OnKeys(form, QKeySequence(Qt::KeypadModifier | (Qt::Key_0 + d)), choose);
  }
  qApp->installEventFilter(this);
}

bool TKeyCommands::eventFilter(QObject* watched, QEvent* event) {
  // While the player is to move, the arrows, Enter, Space and Escape belong
  // to the board's move cursor, whichever control has the focus: Space must
  // not click a focused "menu" button in the middle of a game.
  const QEvent::Type type = event->type();
  // A player who uses the keyboard sees where the focus is: the style draws
  // the focus frame once the window's focus has moved by keyboard. Any key
  // counts, not only Tab, so the frame also shows where Enter or a command
  // key sent the focus. A player who only uses the mouse sees no change.
  QWidget& form = window_.Window();
  if (type == QEvent::KeyPress && !form.testAttribute(Qt::WA_KeyboardFocusChange)) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget && widget->window() == &form) {
      form.setAttribute(Qt::WA_KeyboardFocusChange);
      if (QWidget* focus = QApplication::focusWidget()) focus->update();
    }
  }
  if ((type == QEvent::KeyPress || type == QEvent::KeyRelease ||
       type == QEvent::ShortcutOverride) &&
      window_.PlayerMayMove()) {
    auto* key = static_cast<QKeyEvent*>(event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget && widget->window() == &form && IsBoardKey(key->key()) &&
        (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
      if (type == QEvent::ShortcutOverride) {
        event->accept();  // no shortcut takes these keys away from the board
        return true;
      }
      if (type == QEvent::KeyPress) window_.BoardKey(key->key());
      return true;
    }
  }
  // With no move to show (the menu, the computer moving, a game over) the
  // arrows do nothing: on a button they would move the focus on, and the
  // next Enter would press "menu" or "help" instead.
  if (type == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget && widget->window() == &form && IsArrow(key->key()) &&
        (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
        (qobject_cast<QAbstractButton*>(widget) || widget == &window_.BoardWidget()))
      return true;
  }
  return QObject::eventFilter(watched, event);
}

QString DirectionsText(uint8_t directions) {
  QStringList parts;
  if (directions & DirLeft) parts << QStringLiteral("naar links");
  if (directions & DirDown) parts << QStringLiteral("omlaag");
  if (directions & DirDiagonal) parts << QStringLiteral("diagonaal naar links omlaag");
  if (directions & DirBothWays) parts << QStringLiteral("naar links en naar rechts");
  if (parts.isEmpty()) return QStringLiteral("geen richtingen");
  QString text = parts.takeLast();
  if (!parts.isEmpty()) text = parts.join(QStringLiteral(", ")) + QStringLiteral(" of ") + text;
  return text;
}
