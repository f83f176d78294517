// SPDX-License-Identifier: GPL-3.0-or-later
// The typing rule of the name and password boxes, and the filter that holds
// the boxes to it however text comes in: keys, a paste (keys, the boxes' own
// menu, the middle mouse button), a drop, an input method's composed text.
// A name consists of letters and digits and does not begin with a digit; a
// password consists of letters and digits; both hold at most 10 characters.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QComboBox;
class QLineEdit;

// The one rule: a letter "A".."Z" or "a".."z" may always be typed; a digit
// "0".."9" may, except as the first character of a name.
bool IsTypeableLetter(QChar c);
bool IsTypeableDigit(QChar c);
bool MayType(QChar c, bool name, bool boxEmpty);

// Keeps a box to what typing could have produced, whatever way the text
// came in (a paste, a drop, an input method's composed character).
void KeepTypeable(QLineEdit* box, bool name);

// Watches the name box (with its line edit) and the password box. Each
// typed character, Enter (13) and Backspace (8) go to `keyPress`, the
// window's key filter, which returns the key to pass on (0 = swallowed);
// text that does not come from a key goes in as typing it would.
class TTypingFilter final : public QObject {
 public:
  TTypingFilter(QComboBox* namebox, QLineEdit* passwordEdit, std::function<QChar(QChar)> keyPress,
                QObject* parent);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Key(QLineEdit* box, bool name, QEvent* event);
  bool InputMethod(QLineEdit* box, bool name, QEvent* event);
  bool Drop(QObject* watched, QLineEdit* box, bool name, QEvent* event);
  bool ContextMenu(QLineEdit* box, bool name, QEvent* event);
  bool MiddleButtonPaste(QObject* watched, QLineEdit* box, bool name, QEvent* event);

  QComboBox* namebox_;
  QLineEdit* nameEdit_;  // the name box's line edit, taken once
  QLineEdit* passwordEdit_;
  std::function<QChar(QChar)> keyPress_;
  bool filteringDrop_ = false;  // a drop with its text already filtered
};
