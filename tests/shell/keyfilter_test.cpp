// The key filter of the name and password boxes, with real key presses.
#include <QKeyEvent>

#include "shell/shell_fixture.h"

namespace {

// Types each character as a key press with that text (QTest::keyClicks
// knows only ASCII).
void Type(QWidget* w, const QString& text) {
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress,
                    c.unicode() < 128 ? int(c.toUpper().unicode()) : int(Qt::Key_unknown),
                    Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, press.key(), Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &release);
  }
}

struct Typing {
  const char* keys;
  const char* name;      // what the name box then holds
  const char* password;  // what the password box then holds
};

TEST_F(ShellTest, KeyFilterOfNameAndPassword) {
  const Typing cases[] = {
      {"7", "", "7"},
      {"a7", "a7", "a7"},
      {"Zam 9-x", "Zam9x", "Zam9x"},
      {"\xe9t\xe9", "t", "t"},
      {"abcdefghijkl", "abcdefghij", "abcdefghij"},
  };
  for (const Typing& c : cases) {
    form->namebox->lineEdit()->clear();
    form->passwordEdit->clear();
    form->namebox->setFocus();
    Type(form->namebox->lineEdit(), QString::fromLatin1(c.keys));
    EXPECT_EQ(form->namebox->currentText(), QString::fromLatin1(c.name)) << c.keys;
    form->passwordEdit->setFocus();
    Type(form->passwordEdit, QString::fromLatin1(c.keys));
    EXPECT_EQ(form->passwordEdit->text(), QString::fromLatin1(c.password)) << c.keys;
  }
}

TEST_F(ShellTest, BackspaceAndCursorKeysStillWork) {
  form->namebox->setFocus();
  QTest::keyClicks(form->namebox->lineEdit(), QStringLiteral("abc"));
  QTest::keyClick(form->namebox->lineEdit(), Qt::Key_Left);
  QTest::keyClick(form->namebox->lineEdit(), Qt::Key_Backspace);
  EXPECT_EQ(form->namebox->currentText(), QStringLiteral("ac"));
}

TEST_F(ShellTest, PasswordShowsBulletsAndEnterSignsIn) {
  form->passwordEdit->setFocus();
  QTest::keyClicks(form->passwordEdit, QStringLiteral("x1"));
  EXPECT_EQ(form->passwordEdit->echoMode(), QLineEdit::Password);
  EXPECT_EQ(form->passwordEdit->displayText().size(), 2);
  EXPECT_NE(form->passwordEdit->displayText(), QStringLiteral("x1"));
  QTest::keyClick(form->passwordEdit, Qt::Key_Return);
  EXPECT_TRUE(SignedIn);  // empty name: anonymous
  EXPECT_EQ(form->passwordEdit->text(), QStringLiteral("x1"));
}

}  // namespace
