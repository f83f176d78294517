// SPDX-License-Identifier: GPL-3.0-or-later
// How the controls the game switches on and off look in each state, from
// grabs of the real window: the control's own caption colour while it
// works, the platform's greyed look (for buttons greyed and embossed)
// while it does not.
#include <QImage>
#include <map>

#include "shell/shell_fixture.h"

namespace {

// How many pixels of each colour (0xRRGGBB) a grab of a widget holds.
std::map<QRgb, int> Colours(QWidget* w) {
  const QImage image = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
  std::map<QRgb, int> count;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) ++count[image.pixel(x, y) & 0xFFFFFF];
  return count;
}
int Count(const std::map<QRgb, int>& colours, QRgb c) {
  const auto it = colours.find(c & 0xFFFFFF);
  return it == colours.end() ? 0 : it->second;
}
QRgb Colour(QWidget* w, QPalette::ColorGroup group, QPalette::ColorRole role) {
  return w->palette().color(group, role).rgb() & 0xFFFFFF;
}
// The platform's colour for such a control, from the application's palette:
// the control's own palette says whatever the window made of it.
QRgb PlatformColour(QWidget* w, QPalette::ColorGroup group, QPalette::ColorRole role) {
  return QApplication::palette(w).color(group, role).rgb() & 0xFFFFFF;
}

TEST_F(ShellTest, ComputerBeginsLooksDisabledWhenItIs) {
  QPushButton* button = form->compstartBtn;
  const QRgb caption = 0x808080;  // its own caption colour
  const QRgb grey = PlatformColour(button, QPalette::Disabled, QPalette::ButtonText);
  ASSERT_NE(grey, caption) << "the platform's grey must differ from the caption to be seen";
  const QRgb light = Colour(button, QPalette::Disabled, QPalette::Light);
  ASSERT_NE(light, Colour(button, QPalette::Disabled, QPalette::Button));
  ChooseGame(0);
  ASSERT_FALSE(button->isEnabled());  // in the menu
  const auto menu = Colours(button);
  Click(form->actionBtn);
  ASSERT_TRUE(button->isEnabled());
  const auto working = Colours(button);
  Click(button);
  RunTimer();
  ASSERT_FALSE(button->isEnabled());  // after the computer's first move
  const auto used = Colours(button);

  // Working: the caption in its own colour, no emboss.
  EXPECT_GE(Count(working, caption), 50);
  EXPECT_EQ(Count(working, light), 0);
  // Switched off: the platform's grey over a light copy, not the caption
  // colour; the same after the menu and after the computer's move.
  for (const auto* off : {&menu, &used}) {
    EXPECT_GE(Count(*off, grey), 50);
    EXPECT_GE(Count(*off, light), 10) << "embossed";
    EXPECT_EQ(Count(*off, caption), 0);
  }
  EXPECT_EQ(menu, used);
}

// The name and password boxes and the game selector, switched off by a
// running game, look switched off; in the menu they look working again.
TEST_F(ShellTest, TheMenuControlsLookDisabledDuringAGame) {
  QTest::mouseClick(form->namebox, Qt::LeftButton, {}, QPoint(20, 12));
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Bob"));
  QTest::mouseClick(form->passwordEdit, Qt::LeftButton, {}, QPoint(20, 12));
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("x1"));
  ChooseGame(0);
  QWidget* boxes[] = {form->namebox, form->passwordEdit};
  std::map<QRgb, int> menu[2], game[2];
  for (int i = 0; i < 2; ++i) menu[i] = Colours(boxes[i]);
  const auto selectorMenu = Colours(form->gameselbtn);
  Click(form->actionBtn);
  ASSERT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
  for (int i = 0; i < 2; ++i) game[i] = Colours(boxes[i]);
  const auto selectorGame = Colours(form->gameselbtn);
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i == 0 ? "name box" : "password box");
    ASSERT_FALSE(boxes[i]->isEnabled());
    const QRgb text = PlatformColour(boxes[i], QPalette::Active, QPalette::Text);
    const QRgb grey = PlatformColour(boxes[i], QPalette::Disabled, QPalette::Text);
    ASSERT_NE(text, grey);
    EXPECT_GE(Count(menu[i], text), 10);
    EXPECT_EQ(Count(game[i], text), 0);
    EXPECT_GE(Count(game[i], grey), 10);
  }
  // The selector's digits: dark red while it works, grey while it does not.
  EXPECT_GE(Count(selectorMenu, 0xC00000), 20);
  EXPECT_EQ(Count(selectorGame, 0xC00000), 0);
  EXPECT_GE(Count(selectorGame, 0x808080), 20);
  Click(form->stopBtn);
  for (QWidget* box : boxes)
    EXPECT_GE(Count(Colours(box), PlatformColour(box, QPalette::Active, QPalette::Text)), 10);
}

}  // namespace
