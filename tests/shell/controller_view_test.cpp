// SPDX-License-Identifier: GPL-3.0-or-later
// The controller on its own: a stand-in view records what the window would
// show, a stand-in board takes the drawing, and no main window exists. A
// named player signs in, wins game 1, then loses it to the computer; the
// hall of fame follows.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/Random.h"
#include "games/fake_shell.h"
#include "games/game0.h"
#include "halloffame/scores.h"
#include "halloffame/security.h"
#include "shell/gamecontrol.h"
#include "temp_folder.h"

namespace {

class TFakeView final : public TControllerView {
 public:
  void EnableMenuControls(bool enabled) override { menuEnabled = enabled; }
  void EnableComputerBegins(bool enabled) override { computerBegins = enabled; }
  void ShowStatus(MessageKind kind, const QString& text) override {
    statusKind = kind;
    status = text;
  }
  void SetActionCaption(const QString& text) override { caption = text; }
  void SetFocus(TFocus where) override { focus = where; }
  void ClearPlayer() override { ++cleared; }
  bool IsListedName(const QString& name) const override {
    return name.compare(QStringLiteral("Anna"), Qt::CaseInsensitive) == 0;
  }
  void ShowDirections(uint8_t flags) override { directions = flags; }
  void ShowRules(int index) override { rules = index; }
  void ShowScores(const uint8_t (&levels)[kGameCount]) override {
    std::copy(levels, levels + kGameCount, scores);
  }
  void RepaintScores() override {}
  void SetMoveTimer(bool enabled) override { timer = enabled; }
  void SetBoardCursor(Qt::CursorShape shape) override { cursor = shape; }

  bool menuEnabled = false, computerBegins = true, timer = false;
  MessageKind statusKind = MsgInfo;
  QString status, caption;
  TFocus focus = TFocus::Password;
  int cleared = 0, rules = -1;
  uint8_t directions = 0xFF;
  uint8_t scores[kGameCount] = {};
  Qt::CursorShape cursor = Qt::ArrowCursor;
};

class ControllerAlone : public ::testing::Test {
 protected:
  void SetUp() override {
    zam::RandSeed(20261210);
    controller.InitController();
  }

  TGameController& Controller() { return controller; }

  // Game 1 with the given columns, and the player's click on block (column,
  // row), as the window delivers it.
  TGame0& Game1() { return *static_cast<TGame0*>(Controller().GameModule(0)); }
  void ClickBlock(int column, int row) {
    const TRect r = game0::BlockRect(column, row);
    const int x = (r.Left + r.Right) / 2, y = (r.Top + r.Bottom) / 2;
    for (TInputKind kind : {TInputKind::Move, TInputKind::Press, TInputKind::Release})
      Game1().HandleMouse({kind, x, y});
  }
  void RunTimer() {
    for (int ticks = 0; view.timer && ticks < 100000; ++ticks)
      Controller().GameModule(Controller().GameType())->TimerStep();
    ASSERT_FALSE(view.timer);
  }

  InTempFolder folder;  // the hall of fame reads ZamScores here
  TFakeView view;
  TFakeBoard screen;
  THallOfFame hall;  // outlives the controller, as the window's does
  TGameController controller{view, screen.board, hall};
};

TEST_F(ControllerAlone, ANamedPlayerWinsThenLosesGame1) {
  EXPECT_EQ(Controller().GameState(), TGameState::GsMenu);
  EXPECT_EQ(Controller().GameType(), kNoGame);
  EXPECT_EQ(view.status, QStringLiteral("Welkom bij Zam - Spelen 1..9  , kies spel en naam"));
  EXPECT_EQ(view.caption, QStringLiteral("start"));
  EXPECT_TRUE(view.menuEnabled);
  EXPECT_FALSE(view.computerBegins);
  EXPECT_EQ(view.cleared, 1);
  EXPECT_EQ(screen.repaints, 1);  // the start picture

  Controller().ChooseGame(0);
  EXPECT_EQ(Controller().GameType(), 0);
  EXPECT_EQ(view.directions, 0);  // game 1 has no arrows
  EXPECT_EQ(view.rules, 0);
  EXPECT_TRUE(screen.screen.Image() == screen.board.BackgroundBitmap.Image());

  // A name of the list without its pick is refused; a new one signs in.
  Controller().SetPlayer({QStringLiteral("ANNA"), QString(), false});
  Controller().DispatchEvent(ControllerEvent::EvAction);
  EXPECT_FALSE(Controller().SignedIn());
  EXPECT_EQ(view.status, QStringLiteral("deze naam is al in gebruik, kies andere..."));
  EXPECT_EQ(view.statusKind, MsgError);
  Controller().SetPlayer({QStringLiteral("Bert"), QStringLiteral("pw1"), false});
  Controller().DispatchEvent(ControllerEvent::EvAction);
  EXPECT_TRUE(Controller().SignedIn());
  EXPECT_FALSE(Controller().Anonymous());
  EXPECT_EQ(view.focus, TControllerView::TFocus::Action);
  EXPECT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
  EXPECT_EQ(view.status, QStringLiteral("doe een zet of laat de computer beginnen"));
  EXPECT_FALSE(view.menuEnabled);
  EXPECT_TRUE(view.computerBegins);

  // The player takes the last block.
  Game1().SetPosition({{1, 0}});
  ClickBlock(1, 1);
  EXPECT_EQ(Controller().GameState(), TGameState::GsGameOver);
  EXPECT_EQ(view.status, QStringLiteral("je hebt gewonnen !"));
  EXPECT_EQ(view.statusKind, MsgWin);
  EXPECT_EQ(view.caption, QStringLiteral("nieuw spel"));
  EXPECT_EQ(Controller().Levels()[0], 1);
  EXPECT_EQ(view.scores[0], 1);
  EXPECT_EQ(hall.Ranking().StoredLevelsOf(QStringLiteral("Bert")), 1u);
  EXPECT_EQ(UnscrambleText(hall.Ranking().StoredPasswordOf(QStringLiteral("Bert"))),
            QStringLiteral("pw1"));

  // Next game: the computer begins and takes the last block itself.
  Controller().DispatchEvent(ControllerEvent::EvAction);
  ASSERT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
  Game1().SetPosition({{0, 1}});
  Controller().DispatchEvent(ControllerEvent::EvComputerBegins);
  EXPECT_EQ(Controller().GameState(), TGameState::GsComputerMoving);
  EXPECT_EQ(view.status, QStringLiteral("computer aan zet ..."));
  EXPECT_TRUE(view.timer);
  RunTimer();
  EXPECT_EQ(Controller().GameState(), TGameState::GsGameOver);
  EXPECT_EQ(view.status, QStringLiteral("computer heeft gewonnen"));
  EXPECT_EQ(view.statusKind, MsgLoss);
  EXPECT_FALSE(view.computerBegins);
  EXPECT_EQ(Controller().Levels()[0], 0);
  EXPECT_EQ(hall.Ranking().StoredLevelsOf(QStringLiteral("Bert")), 0u);
  EXPECT_TRUE(screen.screen.Image() == screen.board.ComposeBitmap.Image());

  // Without a window the controller has no modules.
  Controller().CloseController();
  EXPECT_EQ(Controller().GameModule(0), nullptr);
}

}  // namespace
