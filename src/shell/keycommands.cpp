#include "shell/keycommands.h"

#include <QAccessible>
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

#include "drawing/PaintBox.h"
#include "drawing/arrows.h"
#include "drawing/rilArrayBtn.h"
#include "shell/Unit1.h"
#include "shell/gamecontrol.h"

namespace {

void OnKeys(TForm1& form, const QKeySequence& keys, std::function<void()> action) {
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

TKeyCommands::TKeyCommands(TForm1& form) : QObject(&form), form_(form) {
  // QPushButton::click() does nothing on a disabled button, so each command
  // is refused exactly where its button is.
  OnKeys(form, QKeySequence(Qt::Key_F1), [&form] { form.BitBtn1->click(); });
  OnKeys(form, QKeySequence(Qt::CTRL | Qt::Key_N), [&form] { form.actionBtn->click(); });
  OnKeys(form, QKeySequence(Qt::CTRL | Qt::Key_B), [&form] { form.compstartBtn->click(); });
  OnKeys(form, QKeySequence(Qt::CTRL | Qt::Key_M), [&form] { form.stopBtn->click(); });
  OnKeys(form, QKeySequence(Qt::CTRL | Qt::Key_H), [&form] { form.galleryBtn->click(); });
  // Ending the program the normal way: the window closes and the hall of
  // fame is written as when its close button is used.
  OnKeys(form, QKeySequence(Qt::CTRL | Qt::Key_Q), [&form] { form.close(); });
  // The name and password boxes are no tab stops: these keys lead there.
  OnKeys(form, QKeySequence(Qt::ALT | Qt::Key_N), [&form] {
    if (form.namebox->isEnabled()) form.namebox->setFocus(Qt::ShortcutFocusReason);
  });
  OnKeys(form, QKeySequence(Qt::ALT | Qt::Key_P), [&form] {
    if (form.passwordEdit->isEnabled()) form.passwordEdit->setFocus(Qt::ShortcutFocusReason);
  });
  // A digit chooses a game like a click on its button. A box that takes the
  // digit as text claims the key first (the empty name box does not take a
  // digit; the window's key filter lets that one choose the game).
  for (int d = 1; d <= 9; ++d) {
    const auto choose = [&form, d] { form.ChooseGameByKey(d); };
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
  if (type == QEvent::KeyPress && !form_.testAttribute(Qt::WA_KeyboardFocusChange)) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget && widget->window() == &form_) {
      form_.setAttribute(Qt::WA_KeyboardFocusChange);
      if (QWidget* focus = QApplication::focusWidget()) focus->update();
    }
  }
  if ((type == QEvent::KeyPress || type == QEvent::KeyRelease ||
       type == QEvent::ShortcutOverride) &&
      GameState == GsPlayerToMove) {
    auto* key = static_cast<QKeyEvent*>(event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget && widget->window() == &form_ && IsBoardKey(key->key()) &&
        (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
      if (type == QEvent::ShortcutOverride) {
        event->accept();  // no shortcut takes these keys away from the board
        return true;
      }
      if (type == QEvent::KeyPress) form_.box1Key(key->key());
      return true;
    }
  }
  // With no move to show (the menu, the computer moving, a game over) the
  // arrows do nothing: on a button they would move the focus on, and the
  // next Enter would press "menu" or "help" instead.
  if (type == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget && widget->window() == &form_ && IsArrow(key->key()) &&
        (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
        (qobject_cast<QAbstractButton*>(widget) || widget == form_.box1))
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

void NameControls(TForm1& form) {
  struct TName {
    QWidget* widget;
    const char* name;  // nullptr: the control's own caption is its name
    const char* description;
  };
  const TName names[] = {
      {&form, nullptr,
       "Zam games: negen spelen tegen de computer. Toetsen: 1 tot 9 kiezen een spel, Ctrl+N "
       "start, Ctrl+B laat de computer beginnen, Ctrl+M menu, Ctrl+H ere galerij, F1 help, "
       "Ctrl+Q stoppen; tijdens een spel kiezen de pijltjestoetsen een zet en speelt Enter of "
       "spatie die zet."},
      {form.box1, "speelbord", "geen spel gekozen"},
      {form.largemsgbox, "spelregels", ""},
      {form.smallmsgbox, nullptr, "statusregel: wie aan zet is en de uitslag"},
      {form.directionbox, "richtingen", "geen richtingen"},
      {form.Label4, nullptr, "kop van de richtingen"},
      {form.BitBtn1, nullptr, "opent de help (F1)"},
      {form.Label2, nullptr, "kop van de spelkeuze"},
      {form.gameselbtn, "Zam game", "kies een spel met de knoppen of de toetsen 1 tot 9"},
      {form.Label3, nullptr, "kop van de levels en scores"},
      {form.scoreBox, "level en score", ""},
      {form.Label6, nullptr, "kop van de totaalscore"},
      {form.totalscore, "totaalscore", "0"},
      {form.Label5, nullptr, "kop van het naamvak"},
      {form.namebox, "naam",
       "naam van de speler (Alt+N): letters en cijfers, niet beginnend met een cijfer; Enter "
       "meldt aan"},
      {form.Label1, nullptr, "kop van het passwordvak"},
      {form.passwordEdit, "password (optie)",
       "password van de speler (Alt+P): letters en cijfers; Enter meldt aan"},
      {form.galleryBtn, nullptr, "toont de ere galerij (Ctrl+H)"},
      {form.compstartBtn, nullptr, "laat computer 1e zet doen (Ctrl+B)"},
      {form.actionBtn, nullptr, "start een spel (Ctrl+N)"},
      {form.stopBtn, nullptr, "terug naar het menu (Ctrl+M); tijdens een spel telt dit als verlies"},
  };
  for (const TName& n : names) {
    if (n.name) n.widget->setAccessibleName(QString::fromUtf8(n.name));
    n.widget->setAccessibleDescription(QString::fromUtf8(n.description));
  }
}
