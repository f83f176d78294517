// SPDX-License-Identifier: GPL-3.0-or-later
// The controller through the real main window: states, status line, captions
// and enabled controls, sign-in and levels.
#include <QTimer>

#include "halloffame/scoreform.h"
#include "halloffame/scores.h"
#include "help/help_unit.h"
#include "shell/shell_fixture.h"

namespace {

constexpr uint32_t kBlue = 0xF00000, kRed = 0x0000FF, kGreen = 0x00C000, kMagenta = 0xFF00FF;
const QString kWelcome = QStringLiteral("Welkom bij Zam - Spelen 1..9  , kies spel en naam");

TEST_F(ShellTest, StartsInTheMenu) {
  EXPECT_EQ(Controller().GameState(), TGameState::GsMenu);
  EXPECT_EQ(Controller().GameType(), 255);
  EXPECT_EQ(Status(), kWelcome);
  EXPECT_EQ(StatusColour(), kBlue);
  EXPECT_EQ(form->actionBtn->text(), QStringLiteral("start"));
  EXPECT_TRUE(form->gameselbtn->isEnabled());
  EXPECT_TRUE(form->namebox->isEnabled());
  EXPECT_TRUE(form->passwordEdit->isEnabled());
  EXPECT_FALSE(form->compstartBtn->isEnabled());
  EXPECT_EQ(form->totalscore->text(), QStringLiteral("0"));
  EXPECT_FALSE(form->Timer1.isActive());
}

TEST_F(ShellTest, StartWithoutAGameSignsInThenAsksForOne) {
  Click(form->actionBtn);
  EXPECT_TRUE(Controller().SignedIn());
  EXPECT_TRUE(Controller().Anonymous());
  EXPECT_EQ(Status(), QStringLiteral("selecteer een spel..."));
  EXPECT_EQ(StatusColour(), kRed);
  EXPECT_EQ(Controller().GameState(), TGameState::GsMenu);
  ChooseGame(0);
  EXPECT_EQ(Controller().GameType(), 0);
  EXPECT_EQ(Status(), QStringLiteral(" "));
  Click(form->actionBtn);
  EXPECT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
  EXPECT_EQ(Status(), QStringLiteral("doe een zet of laat de computer beginnen"));
  EXPECT_FALSE(form->gameselbtn->isEnabled());
  EXPECT_FALSE(form->namebox->isEnabled());
  EXPECT_FALSE(form->passwordEdit->isEnabled());
  EXPECT_TRUE(form->compstartBtn->isEnabled());
  EXPECT_EQ(form->actionBtn->text(), QStringLiteral("start"));
}

// Each row: the events that bring the game into a state, the event under
// test, then what the window shows.
struct Transition {
  const char* name;
  std::vector<ControllerEvent> setup;  // after game 1 is chosen and started
  game0::TPosition position;           // shown before the event
  ControllerEvent event;
  bool runTimer;  // let a computer move started by the event run to its end
  TGameState state;
  QString status;
  uint32_t colour;
  QString caption;
  bool compstart;
};

void PrintTo(const Transition& t, std::ostream* os) { *os << t.name; }

class ControllerTable : public ShellTest, public ::testing::WithParamInterface<Transition> {};

TEST_P(ControllerTable, StateStatusAndControls) {
  const Transition& t = GetParam();
  StartGame1();
  for (ControllerEvent e : t.setup) {
    Controller().DispatchEvent(e);
    RunTimer();
  }
  Game1().SetPosition(t.position);
  Controller().DispatchEvent(t.event);
  if (t.runTimer) RunTimer();
  EXPECT_EQ(Controller().GameState(), t.state);
  EXPECT_EQ(Status(), t.status);
  EXPECT_EQ(StatusColour(), t.colour);
  EXPECT_EQ(form->actionBtn->text(), t.caption);
  EXPECT_EQ(form->compstartBtn->isEnabled(), t.compstart);
}

const game0::TPosition kOver{{0, 0}}, kRunning{{3, 5}}, kLastBlock{{0, 1}};

INSTANTIATE_TEST_SUITE_P(
    StatesAndEvents, ControllerTable,
    ::testing::Values(Transition{"PlayerWins",
                                 {},
                                 kOver,
                                 ControllerEvent::EvPlayerMoved,
                                 false,
                                 TGameState::GsGameOver,
                                 QStringLiteral("je hebt gewonnen !"),
                                 kGreen,
                                 QStringLiteral("nieuw spel"),
                                 true},
                      Transition{"PlayerMovesOn",
                                 {},
                                 kRunning,
                                 ControllerEvent::EvPlayerMoved,
                                 false,
                                 TGameState::GsComputerMoving,
                                 QStringLiteral("computer aan zet ..."),
                                 kBlue,
                                 QStringLiteral("start"),
                                 true},
                      Transition{"ComputerWins",
                                 {},
                                 kLastBlock,
                                 ControllerEvent::EvComputerBegins,
                                 true,
                                 TGameState::GsGameOver,
                                 QStringLiteral("computer heeft gewonnen"),
                                 kMagenta,
                                 QStringLiteral("nieuw spel"),
                                 false},
                      Transition{"WrongMove",
                                 {},
                                 kRunning,
                                 ControllerEvent::EvWrongMove,
                                 false,
                                 TGameState::GsPlayerToMove,
                                 QStringLiteral("foute zet ... opnieuw"),
                                 kRed,
                                 QStringLiteral("start"),
                                 true},
                      Transition{"ComputerBegins",
                                 {},
                                 kRunning,
                                 ControllerEvent::EvComputerBegins,
                                 false,
                                 TGameState::GsComputerMoving,
                                 QStringLiteral("computer aan zet ..."),
                                 kBlue,
                                 QStringLiteral("start"),
                                 true},
                      Transition{"StopDuringPlay",
                                 {},
                                 kRunning,
                                 ControllerEvent::EvStop,
                                 false,
                                 TGameState::GsMenu,
                                 kWelcome,
                                 kBlue,
                                 QStringLiteral("start"),
                                 false},
                      Transition{"ActionIgnoredDuringPlay",
                                 {},
                                 kRunning,
                                 ControllerEvent::EvAction,
                                 false,
                                 TGameState::GsPlayerToMove,
                                 QStringLiteral("doe een zet of laat de computer beginnen"),
                                 kBlue,
                                 QStringLiteral("start"),
                                 true},
                      Transition{"UnknownEventIgnored",
                                 {},
                                 kRunning,
                                 ControllerEvent(9),
                                 false,
                                 TGameState::GsPlayerToMove,
                                 QStringLiteral("doe een zet of laat de computer beginnen"),
                                 kBlue,
                                 QStringLiteral("start"),
                                 true}),
    [](const ::testing::TestParamInfo<Transition>& info) { return std::string(info.param.name); });

// The generator is seeded where the test says (the fixture's seed), never
// by building a window: a second window after the same seed deals the same
// start positions.
TEST_F(ShellTest, AWindowKeepsTheSeedItWasBuiltUnder) {
  auto deal = [&] {
    std::vector<int> heights;
    ChooseGame(0);
    for (int game = 0; game < 6; ++game) {
      Click(form->actionBtn);
      EXPECT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
      for (int c = 0; c < 2; ++c) heights.push_back(Game1().Position().ColumnHeights[c]);
      Click(form->stopBtn);
    }
    return heights;
  };
  const std::vector<int> first = deal();
  form.reset();
  zam::RandSeed(20261210);
  form = std::make_unique<TForm1>();
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  EXPECT_EQ(deal(), first);
}

TEST_F(ShellTest, ComputerMoveEndsWithThePlayerToMove) {
  StartGame1();
  Game1().SetPosition({{4, 6}});
  Click(form->compstartBtn);
  EXPECT_EQ(Controller().GameState(), TGameState::GsComputerMoving);
  Click(form->stopBtn);  // "menu" does nothing while the computer moves
  EXPECT_EQ(Controller().GameState(), TGameState::GsComputerMoving);
  RunTimer();
  EXPECT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
  EXPECT_EQ(Status(), QStringLiteral("doe een zet ... "));
  EXPECT_FALSE(form->compstartBtn->isEnabled());
  EXPECT_EQ(Game1().Position().ColumnHeights[0], 4);
  EXPECT_EQ(Game1().Position().ColumnHeights[1], 4);
  Click(form->compstartBtn);  // disabled once the computer has moved
  EXPECT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
}

TEST_F(ShellTest, GameOverThenNewGameThenMenu) {
  StartGame1();
  Game1().SetPosition({{0, 1}});
  ClickBoard(BlockCentre(2, 1));
  ASSERT_EQ(Controller().GameState(), TGameState::GsGameOver);
  Click(form->actionBtn);  // "nieuw spel": same game, new position
  EXPECT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
  EXPECT_EQ(form->actionBtn->text(), QStringLiteral("nieuw spel"));
  const auto h = Game1().Position().ColumnHeights;
  EXPECT_TRUE(h[0] >= 4 && h[0] <= 12 && h[1] >= 4 && h[1] <= 12);
  Game1().SetPosition({{0, 1}});
  ClickBoard(BlockCentre(2, 1));
  Click(form->stopBtn);
  EXPECT_EQ(Controller().GameState(), TGameState::GsMenu);
  EXPECT_EQ(Controller().Levels()[0], 2);  // two wins; leaving after the end costs nothing
  EXPECT_TRUE(form->gameselbtn->isEnabled());
}

struct LevelCase {
  uint8_t before;
  bool win;
  uint8_t after;
  const char* suffix;
};

// Each game played to its end through the board: the player takes the last
// block, or lets the computer take it.
TEST_F(ShellTest, LevelsClampAndTheMaximumSuffix) {
  const LevelCase cases[] = {{4, true, 5, "  (maximale score bereikt)"},
                             {5, true, 5, "  (maximale score bereikt)"},
                             {3, true, 4, ""},
                             {0, false, 0, ""},
                             {2, false, 1, ""}};
  StartGame1();
  for (const LevelCase& c : cases) {
    if (Controller().GameState() == TGameState::GsGameOver) Click(form->actionBtn);  // "nieuw spel"
    ASSERT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
    SetLevel(0, c.before);
    Game1().SetPosition({{0, 1}});
    if (c.win) {
      ClickBoard(BlockCentre(2, 1));
    } else {
      Click(form->compstartBtn);
      RunTimer();
    }
    ASSERT_EQ(Controller().GameState(), TGameState::GsGameOver);
    EXPECT_EQ(Controller().Levels()[0], c.after) << int(c.before);
    EXPECT_EQ(Status(), c.win ? QStringLiteral("je hebt gewonnen !") + c.suffix
                              : QStringLiteral("computer heeft gewonnen"));
    EXPECT_EQ(form->totalscore->text(), QString::number(c.after));
  }
}

TEST_F(ShellTest, MenuDuringThePlayersTurnCountsAsALoss) {
  StartGame1();
  SetLevel(0, 3);
  Click(form->stopBtn);
  EXPECT_EQ(Controller().Levels()[0], 2);
  EXPECT_EQ(Controller().GameState(), TGameState::GsMenu);
  EXPECT_EQ(form->totalscore->text(), QStringLiteral("2"));
  EXPECT_TRUE(Controller().SignedIn());  // back in the menu, still signed in
}

TEST_F(ShellTest, PackAndUnpackLevels) {
  const uint8_t levels[9] = {1, 2, 3, 4, 5, 0, 1, 2, 5};
  const uint32_t packed =
      1u | 2u << 3 | 3u << 6 | 4u << 9 | 5u << 12 | 1u << 18 | 2u << 21 | 5u << 24;
  Controller().UnpackLevels(packed);
  EXPECT_TRUE(std::equal(levels, levels + 9, Controller().Levels()));
  EXPECT_EQ(Controller().PackLevels(), packed);
  Controller().ClearLevels();
  EXPECT_EQ(Controller().PackLevels(), 0u);
  Controller().UnpackLevels(packed);
  EXPECT_TRUE(std::equal(levels, levels + 9, Controller().Levels()));
}

TEST_F(ShellTest, SignInWithANewNameAndARefusedOne) {
  form->namebox->addItem(QStringLiteral("Anna"));  // a player of the hall of fame
  form->namebox->setEditText(QString());
  form->namebox->setFocus();
  QTest::keyClicks(form->namebox->lineEdit(), QStringLiteral("aNNa"));
  QTest::keyClick(form->namebox->lineEdit(), Qt::Key_Return);
  EXPECT_FALSE(Controller().SignedIn());
  EXPECT_EQ(Status(), QStringLiteral("deze naam is al in gebruik, kies andere..."));
  EXPECT_EQ(StatusColour(), kRed);
  EXPECT_EQ(form->totalscore->text(), QStringLiteral("0"));
  form->namebox->lineEdit()->clear();
  QTest::keyClicks(form->namebox->lineEdit(), QStringLiteral("Bert"));
  QTest::keyClick(form->namebox->lineEdit(), Qt::Key_Return);
  EXPECT_TRUE(Controller().SignedIn());
  EXPECT_FALSE(Controller().Anonymous());
  EXPECT_EQ(Status(), QStringLiteral(" "));
  EXPECT_EQ(QApplication::focusWidget(), form->actionBtn);
  // Editing the name signs out again and empties the password.
  form->passwordEdit->setText(QStringLiteral("x1"));
  form->namebox->setFocus();
  QTest::keyClick(form->namebox->lineEdit(), Qt::Key_Backspace);
  EXPECT_FALSE(Controller().SignedIn());
  EXPECT_TRUE(form->passwordEdit->text().isEmpty());
}

TEST_F(ShellTest, EnterInAnEmptyNameBoxSignsInAnonymously) {
  form->namebox->setFocus();
  QTest::keyClick(form->namebox->lineEdit(), Qt::Key_Return);
  EXPECT_TRUE(Controller().SignedIn());
  EXPECT_TRUE(Controller().Anonymous());
  EXPECT_EQ(QApplication::focusWidget(), form->actionBtn);
}

}  // namespace

namespace {

// The help and gallery buttons open their windows (modally) only when
// allowed: help unless the computer moves, the gallery in the menu or after
// a game.
TEST_F(ShellTest, HelpAndGalleryOpenOnlyWhenAllowed) {
  Thelpform* helpform = form->HelpWindow();
  Tscoreform* scoreform = form->HallWindow();
  auto opens = [&](QPushButton* button, QDialog* dialog) {
    bool opened = false;
    QTimer::singleShot(50, dialog, [&] {
      opened = dialog->isVisible();
      dialog->accept();
    });
    Click(button);
    QTest::qWait(80);
    return opened;
  };
  EXPECT_TRUE(opens(form->BitBtn1, helpform));
  EXPECT_TRUE(opens(form->galleryBtn, scoreform));
  StartGame1();
  EXPECT_FALSE(opens(form->galleryBtn, scoreform));
  EXPECT_TRUE(opens(form->BitBtn1, helpform));
  Game1().SetPosition({{3, 5}});
  Click(form->compstartBtn);
  EXPECT_FALSE(opens(form->BitBtn1, helpform));
}

}  // namespace
