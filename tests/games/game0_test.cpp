// SPDX-License-Identifier: GPL-3.0-or-later
// Game 1 played on the real board.
#include <set>

#include "shell/shell_fixture.h"

using namespace game0;

namespace {

struct EqualCase {
  int height;
  int minTake, maxTake;
};

TEST(Game1Board, HitBlockSensitiveStrips) {
  const TPosition p{{5, 12}};
  struct Case {
    int x, y;
    bool found;
    int column, row;
  } cases[] = {
      {280, 470, true, 1, 1},  {256, 446, true, 1, 1},   {299, 479, true, 1, 1},
      {255, 470, false, 0, 0}, {300, 470, false, 0, 0},  {280, 445, false, 1, 0},
      {280, 286, true, 1, 5},  {280, 250, false, 1, 6},  {360, 6, true, 2, 12},
      {336, 100, true, 2, 10}, {380, 100, false, 0, 0},  {-5, -5, false, 0, 0},
      {280, 480, false, 1, 0}, {280, 2000, false, 1, 0},
  };
  for (const auto& c : cases) {
    const THit hit = HitBlock(p, c.x, c.y);
    EXPECT_EQ(hit.found, c.found) << c.x << "," << c.y;
    if (c.found) {
      EXPECT_EQ(hit.column, c.column) << c.x << "," << c.y;
      EXPECT_EQ(hit.row, c.row) << c.x << "," << c.y;
    }
  }
}

// ---- on the board ----------------------------------------------------------------

uint32_t BoardPixel(TForm1& f, QPoint p) { return f.box1->Surface().GetPixel(p.x(), p.y()); }
constexpr uint32_t kBlockFill = 0xFF8000, kGround = 0xFFFFD3;  // as pixel values

// Each column starts with 4 to 12 blocks, every height of that range
// possible in either column.
TEST_F(ShellTest, StartPositionsCoverTheirRange) {
  StartGame1();
  std::set<int> seen[2];
  for (int i = 0; i < 400; ++i) {
    Game1().NewPosition();
    for (int c = 0; c < 2; ++c) seen[c].insert(Game1().Position().ColumnHeights[c]);
  }
  const std::set<int> all{4, 5, 6, 7, 8, 9, 10, 11, 12};
  EXPECT_EQ(seen[0], all);
  EXPECT_EQ(seen[1], all);
}

TEST_F(ShellTest, Game1PlayerWins) {
  StartGame1();
  Game1().SetPosition({{2, 0}});
  EXPECT_EQ(BoardPixel(*form, BlockCentre(1, 2)), kBlockFill);
  ClickBoard(BlockCentre(1, 1), Qt::RightButton);  // any mouse button counts
  EXPECT_EQ(Controller().GameState(), TGameState::GsGameOver);
  EXPECT_EQ(Status(), QStringLiteral("je hebt gewonnen !"));
  EXPECT_EQ(Controller().Levels()[0], 1);
  EXPECT_EQ(form->totalscore->text(), QStringLiteral("1"));
  EXPECT_EQ(BoardPixel(*form, BlockCentre(1, 1)), kGround);
  EXPECT_EQ(BoardPixel(*form, BlockCentre(1, 2)), kGround);
}

TEST_F(ShellTest, Game1ComputerWinsBlockByBlock) {
  StartGame1();
  SetLevel(0, 2);
  Game1().SetPosition({{0, 3}});
  Click(form->compstartBtn);
  EXPECT_EQ(Game1().BlocksToTake(), 3);
  EXPECT_EQ(Game1().ComputerColumn(), 2);
  // Tick by tick: crossed at 200 ms, gone at 300 ms, then every 100 ms more.
  std::vector<int> vanished;
  for (int tick = 1; tick <= 200 && form->Timer1.isActive(); ++tick) {
    const int before = Game1().Position().ColumnHeights[1];
    form->Timer1Timer();
    if (Game1().Position().ColumnHeights[1] < before) vanished.push_back(tick);
    if (tick == 20) {
      EXPECT_NE(BoardPixel(*form, BlockCentre(2, 3)), kBlockFill);  // crossed
    }
  }
  EXPECT_EQ(vanished, (std::vector<int>{30, 50, 70}));
  EXPECT_FALSE(form->Timer1.isActive());
  EXPECT_EQ(Controller().GameState(), TGameState::GsGameOver);
  EXPECT_EQ(Status(), QStringLiteral("computer heeft gewonnen"));
  EXPECT_EQ(Controller().Levels()[0], 1);
  EXPECT_EQ(form->totalscore->text(), QStringLiteral("1"));
}

TEST_F(ShellTest, Game1ComputerTakesSevenFromTwoAndNine) {
  StartGame1();
  Game1().SetPosition({{2, 9}});
  Click(form->compstartBtn);
  EXPECT_EQ(Game1().ComputerColumn(), 2);
  EXPECT_EQ(Game1().BlocksToTake(), 7);
  RunTimer();
  EXPECT_EQ(Game1().Position().ColumnHeights[0], 2);
  EXPECT_EQ(Game1().Position().ColumnHeights[1], 2);
  EXPECT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
}

// The move timer as the program runs it: its 10 ms ticks arrive through the
// event loop, and the computer's move ends on its own.
TEST_F(ShellTest, Game1ComputerMovesOnTheRunningTimer) {
  StartGame1();
  Game1().SetPosition({{2, 4}});
  Click(form->compstartBtn);
  ASSERT_TRUE(form->Timer1.isActive());
  EXPECT_EQ(form->Timer1.interval(), 10);
  EXPECT_TRUE(QTest::qWaitFor(
      [this] { return Controller().GameState() != TGameState::GsComputerMoving; }, 10000));
  EXPECT_FALSE(form->Timer1.isActive());
  EXPECT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
  EXPECT_EQ(Game1().Position().ColumnHeights[0], 2);
  EXPECT_EQ(Game1().Position().ColumnHeights[1], 2);
  EXPECT_EQ(BoardPixel(*form, BlockCentre(2, 3)), kGround);
  EXPECT_EQ(BoardPixel(*form, BlockCentre(2, 2)), kBlockFill);
}

TEST_F(ShellTest, Game1EqualColumnsFromTheBoard) {
  const EqualCase cases[] = {{3, 1, 1}, {7, 1, 5}};
  for (const EqualCase& c : cases) {
    StartGame1();
    Game1().SetPosition({{uint8_t(c.height), uint8_t(c.height)}});
    Click(form->compstartBtn);
    EXPECT_GE(Game1().BlocksToTake(), c.minTake);
    EXPECT_LE(Game1().BlocksToTake(), c.maxTake);
    RunTimer();
    Click(form->stopBtn);
  }
}

TEST_F(ShellTest, Game1CrossesOnPressRemovesOnReleaseAnywhere) {
  StartGame1();
  Game1().SetPosition({{6, 6}});
  const QPoint p = BlockCentre(1, 4);
  QTest::mouseMove(form->box1, {1, 1});
  QTest::mouseMove(form->box1, p);
  EXPECT_EQ(form->box1->cursor().shape(), Qt::PointingHandCursor);
  QTest::mousePress(form->box1, Qt::LeftButton, {}, p);
  EXPECT_NE(BoardPixel(*form, BlockCentre(1, 5)), kBlockFill);  // crossed, not gone
  EXPECT_EQ(Game1().Position().ColumnHeights[0], 6);
  QTest::mouseMove(form->box1, {5, 5});
  QTest::mouseRelease(form->box1, Qt::LeftButton, {}, {5, 5});
  EXPECT_EQ(Game1().Position().ColumnHeights[0], 3);
  EXPECT_EQ(form->box1->cursor().shape(), Qt::ArrowCursor);
  EXPECT_EQ(Controller().GameState(), TGameState::GsComputerMoving);
}

TEST_F(ShellTest, Game1DeadStripsDoNothing) {
  StartGame1();
  Game1().SetPosition({{6, 6}});
  for (QPoint p : {QPoint(252, 460), QPoint(305, 460), QPoint(280, 402), QPoint(280, 100)}) {
    QTest::mouseMove(form->box1, BlockCentre(1, 1));
    QTest::mouseMove(form->box1, p);
    EXPECT_EQ(form->box1->cursor().shape(), Qt::ArrowCursor) << p.x() << "," << p.y();
    QTest::mousePress(form->box1, Qt::LeftButton, {}, p);
    QTest::mouseRelease(form->box1, Qt::LeftButton, {}, p);
    EXPECT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
    EXPECT_EQ(Game1().Position().ColumnHeights[0], 6);
  }
}

TEST_F(ShellTest, Game1TickWithoutAComputerMoveDoesNothing) {
  StartGame1();
  Game1().SetPosition({{0, 0}});
  form->Timer1Timer();
  EXPECT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
  Click(form->stopBtn);
  form->Timer1Timer();
  EXPECT_EQ(Controller().GameState(), TGameState::GsMenu);
}

TEST_F(ShellTest, BoardIgnoresTheMouseOutsideThePlayersTurn) {
  ChooseGame(0);
  QTest::mouseMove(form->box1, {1, 1});
  QTest::mouseMove(form->box1, BlockCentre(1, 1));
  EXPECT_EQ(form->box1->cursor().shape(), Qt::ArrowCursor);
}

// Only changed rectangles reach the screen: a computer tick flushes one
// cell, a hover change flushes nothing.
TEST_F(ShellTest, Game1FlushesOnlyChangedCells) {
  StartGame1();
  Game1().SetPosition({{5, 9}});
  form->Board().FlushStats = {};
  QTest::mouseMove(form->box1, {1, 1});
  QTest::mouseMove(form->box1, BlockCentre(1, 1));
  QTest::mouseMove(form->box1, {10, 10});
  EXPECT_EQ(form->Board().FlushStats.pixels, 0);
  Click(form->compstartBtn);
  long long most = 0;
  while (form->Timer1.isActive()) {
    const long long before = form->Board().FlushStats.pixels;
    form->Timer1Timer();
    most = std::max(most, form->Board().FlushStats.pixels - before);
  }
  EXPECT_GT(form->Board().FlushStats.flushes, 0);
  EXPECT_LE(most, 60 * 40);
  EXPECT_EQ(form->Board().FlushStats.last, BlockRect(2, 6));
}

}  // namespace
