// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/typing.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <algorithm>
#include <memory>

bool IsTypeableLetter(QChar c) {
  return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
         (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}

bool IsTypeableDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

bool MayType(QChar c, bool name, bool boxEmpty) {
  return IsTypeableLetter(c) || (IsTypeableDigit(c) && !(name && boxEmpty));
}

namespace {

// What typing can put into a box: letters "A".."Z" and "a".."z" and digits,
// at most 10 characters; in the name box no digit first.
QString Typeable(const QString& text, bool name) {
  QString out;
  for (QChar c : text)
    if (MayType(c, name, out.isEmpty())) out += c;
  return out.left(10);
}

// What typing `incoming` one character at a time does to a box holding
// `text` with [start, end) selected (start = end: the cursor there): the key
// filter drops each refused character, the first one it lets through
// replaces the selection, a full box takes no more, and after every
// character the box keeps only what typing can produce.
struct TTyped {
  QString text;
  int cursor;
  bool typed;  // at least one character went in
};
TTyped TypeInto(QString text, int start, int end, const QString& incoming, bool name) {
  int cursor = start;
  bool selection = start != end, typed = false;
  for (QChar c : incoming) {
    if (!MayType(c, name, text.isEmpty())) continue;
    typed = true;
    if (selection) {
      text.remove(start, end - start);
      selection = false;
    }
    if (text.size() >= 10) continue;
    text.insert(cursor++, c);
    const QString kept = Typeable(text, name);
    cursor -= int(text.left(cursor).size() - Typeable(text.left(cursor), name).size());
    text = kept;
  }
  return {text, std::clamp(cursor, 0, int(text.size())), typed};
}

// Puts text that did not come from the keys (a paste, an input method's
// commit) into a box as typing those characters would, as one edit of the
// box (so the box reports it as edited and can undo it).
void InsertAsTyped(QLineEdit* box, const QString& incoming, bool name) {
  const QString old = box->text();
  int start = box->cursorPosition(), end = start;
  if (box->hasSelectedText()) {
    start = box->selectionStart();
    end = start + int(box->selectedText().size());
  }
  const TTyped r = TypeInto(old, start, end, incoming, name);
  if (!r.typed) return;
  if (r.text != old) {
    int prefix = 0;
    while (prefix < old.size() && prefix < r.text.size() && old[prefix] == r.text[prefix]) ++prefix;
    int suffix = 0;
    while (suffix < old.size() - prefix && suffix < r.text.size() - prefix &&
           old[old.size() - 1 - suffix] == r.text[r.text.size() - 1 - suffix])
      ++suffix;
    box->setCursorPosition(prefix);
    if (old.size() - prefix - suffix > 0)
      box->setSelection(prefix, int(old.size() - prefix - suffix));
    box->insert(r.text.mid(prefix, r.text.size() - prefix - suffix));
  }
  box->setCursorPosition(r.cursor);
}

}  // namespace

void KeepTypeable(QLineEdit* box, bool name) {
  const QString text = box->text(), kept = Typeable(text, name);
  if (kept == text) return;
  const int cursor = box->cursorPosition();
  const int removedBefore =
      int(text.left(cursor).size() - Typeable(text.left(cursor), name).size());
  box->setText(kept);
  box->setCursorPosition(std::clamp(cursor - removedBefore, 0, int(kept.size())));
}

TTypingFilter::TTypingFilter(QComboBox* namebox, QLineEdit* passwordEdit,
                             std::function<QChar(QChar)> keyPress, QObject* parent)
    : QObject(parent),
      namebox_(namebox),
      nameEdit_(namebox->lineEdit()),
      passwordEdit_(passwordEdit),
      keyPress_(std::move(keyPress)) {
  // Keys reach the combo box, which hands them to its line edit without
  // asking that one's filters: the filter watches both.
  namebox->installEventFilter(this);
  nameEdit_->installEventFilter(this);
  passwordEdit->installEventFilter(this);
}

bool TTypingFilter::eventFilter(QObject* watched, QEvent* event) {
  // Compared by address only: a box may be part-way through its own
  // destruction when its last events pass here.
  const bool name = watched == namebox_ || watched == nameEdit_;
  if (!name && watched != passwordEdit_) return QObject::eventFilter(watched, event);
  QLineEdit* box = name ? nameEdit_ : passwordEdit_;
  switch (event->type()) {
    case QEvent::KeyPress:
      return Key(box, name, event);
    case QEvent::InputMethod:
      return InputMethod(box, name, event);
    case QEvent::Drop:
      return Drop(watched, box, name, event);
    case QEvent::ContextMenu:
      return ContextMenu(box, name, event);
    case QEvent::MouseButtonRelease:
      return MiddleButtonPaste(watched, box, name, event);
    default:
      return QObject::eventFilter(watched, event);
  }
}

bool TTypingFilter::Key(QLineEdit* box, bool name, QEvent* event) {
  auto* key = static_cast<QKeyEvent*>(event);
  // A paste from the keyboard gives what typing the pasted characters
  // gives.
  if (key->matches(QKeySequence::Paste)) {
    InsertAsTyped(box, QGuiApplication::clipboard()->text(), name);
    return true;
  }
  // Only keys that type a character go through the filter; cursor keys,
  // Delete, Tab and the boxes' own shortcuts (select all, copy, cut,
  // undo: a control character) keep their usual meaning.
  QChar ch;
  switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      ch = QChar(13);
      break;
    case Qt::Key_Backspace:
      ch = QChar(8);
      break;
    default: {
      const QString text = key->text();
      if (text.isEmpty() || key->key() == Qt::Key_Delete || key->key() == Qt::Key_Tab) return false;
      if (text.size() == 1 && (text[0] < QLatin1Char(' ') || text[0] == QChar(127))) return false;
      if (text.size() > 1) {  // one key, several characters: typed one by one
        InsertAsTyped(box, text, name);
        return true;
      }
      ch = text[0];
      break;
    }
  }
  return keyPress_(ch).isNull();
}

bool TTypingFilter::InputMethod(QLineEdit* box, bool name, QEvent* event) {
  // A composed text, committed: as typed, character by character.
  auto* im = static_cast<QInputMethodEvent*>(event);
  if (im->commitString().isEmpty()) return false;
  if (im->preeditString().isEmpty() && im->replacementLength() == 0) {
    InsertAsTyped(box, im->commitString(), name);
    return true;
  }
  // Along with a new composition: only what the key filter lets
  // through; the box's length limit then keeps what fits.
  QString kept, text = box->text();
  for (QChar c : im->commitString())
    if (MayType(c, name, text.isEmpty())) {
      kept += c;
      text += c;
    }
  im->setCommitString(kept, im->replacementStart(), im->replacementLength());
  return false;
}

bool TTypingFilter::Drop(QObject* watched, QLineEdit* box, bool name, QEvent* event) {
  // Text dropped into the box: what typing it at the drop point gives.
  auto* drop = static_cast<QDropEvent*>(event);
  if (filteringDrop_ || !drop->mimeData()->hasText() || drop->source() == box) return false;
  const int at = box->cursorPositionAt(
      box->mapFrom(static_cast<QWidget*>(watched), drop->position().toPoint()));
  const QString old = box->text();
  const TTyped r = TypeInto(old, at, at, drop->mimeData()->text(), name);
  QMimeData kept;
  kept.setText(r.text.mid(at, r.text.size() - old.size()));
  QDropEvent filtered(drop->position(), drop->possibleActions(), &kept, drop->buttons(),
                      drop->modifiers());
  filtered.setDropAction(drop->dropAction());
  filteringDrop_ = true;
  QCoreApplication::sendEvent(watched, &filtered);
  filteringDrop_ = false;
  drop->setDropAction(filtered.dropAction());
  drop->setAccepted(filtered.isAccepted());
  return true;
}

bool TTypingFilter::ContextMenu(QLineEdit* box, bool name, QEvent* event) {
  // The box's own menu, whose "paste" gives what typing gives.
  auto* menuEvent = static_cast<QContextMenuEvent*>(event);
  std::unique_ptr<QMenu> menu(box->createStandardContextMenu());
  for (QAction* paste : menu->actions()) {
    // The entry's text is the box's own "Paste" (its shortcut after a tab).
    if (paste->text().section(QLatin1Char('\t'), 0, 0) != QLineEdit::tr("&Paste")) continue;
    disconnect(paste, &QAction::triggered, nullptr, nullptr);
    connect(paste, &QAction::triggered, box,
            [box, name] { InsertAsTyped(box, QGuiApplication::clipboard()->text(), name); });
  }
  menu->exec(menuEvent->globalPos());
  return true;
}

bool TTypingFilter::MiddleButtonPaste(QObject* watched, QLineEdit* box, bool name, QEvent* event) {
  // The middle button pastes the selected text where the platform has
  // one (X11): as typed, too.
  auto* mouse = static_cast<QMouseEvent*>(event);
  if (watched != box || mouse->button() != Qt::MiddleButton ||
      !QGuiApplication::clipboard()->supportsSelection())
    return false;
  box->deselect();
  InsertAsTyped(box, QGuiApplication::clipboard()->text(QClipboard::Selection), name);
  return true;
}
