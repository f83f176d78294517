// SPDX-License-Identifier: GPL-3.0-or-later
// Games 4 and 6 on the real board: the strip and its grid, the drag of an X
// coin along its row, the computer's O coin sliding, and games won and lost.
// Both games are one board with other data, so each test runs for both.
#include "games/game3.h"
#include "games/game5.h"
#include "shell/shell_fixture.h"

using rows::TPosition;

namespace {

struct RowGame {
  const char* name;
  int gameType;  // 3: game 4, 5: game 6
  int rows;
  int firstTop;  // top of row 1
};

void PrintTo(const RowGame& g, std::ostream* os) { *os << g.name; }

constexpr uint32_t kGround = 0xFFFFD3, kStrip = 0xFFFFF3, kGrid = 0x800000;  // pixel values

class RowBoard : public ShellTest, public ::testing::WithParamInterface<RowGame> {
 protected:
  void Start() {
    ChooseGame(GetParam().gameType);
    Click(form->actionBtn);
    ASSERT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
  }
  TRowGame& Game() {
    return *static_cast<TRowGame*>(Controller().GameModule(uint8_t(GetParam().gameType)));
  }
  // O coins and X coins by row, rows not given keep O at 0 and X at 15.
  TPosition Make(std::initializer_list<std::pair<int, int>> coins) {
    TPosition p;
    p.rows = uint8_t(GetParam().rows);
    for (int r = 0; r < p.rows; ++r) {
      p.ComputerColumn[r] = 0;
      p.PlayerColumn[r] = 15;
    }
    int r = 0;
    for (auto [o, x] : coins) {
      p.ComputerColumn[r] = uint8_t(o);
      p.PlayerColumn[r] = uint8_t(x);
      ++r;
    }
    return p;
  }
  QPoint Centre(int column, int row) const {
    return {40 * column + 20, GetParam().firstTop + 40 * (row - 1) + 20};
  }
  void Drag(QPoint from, QPoint to) { DragBoard(from, to); }
  const TXBitmap& Screen() { return form->box1->Surface(); }
  bool ShowsX(int column, int row) {
    const QPoint c = Centre(column, row);
    return ShowsImage(Screen(), c.x() - 20, c.y() - 20, PieceImages().CoinXSprite);
  }
  bool ShowsO(int column, int row) {
    const QPoint c = Centre(column, row);
    return ShowsImage(Screen(), c.x() - 20, c.y() - 20, PieceImages().CoinOSprite);
  }
};

TEST_P(RowBoard, BoardPixels) {
  ChooseGame(GetParam().gameType);
  const int top = GetParam().firstTop, bottom = top + 40 * GetParam().rows;
  const TXBitmap& s = Screen();
  EXPECT_EQ(s.GetPixel(300, top - 1), kGround);
  EXPECT_EQ(s.GetPixel(300, bottom + 1), kGround);
  EXPECT_EQ(s.GetPixel(300, top), kGrid);
  EXPECT_EQ(s.GetPixel(300, bottom), kGrid);
  EXPECT_EQ(s.GetPixel(300, top + 40), kGrid);
  EXPECT_EQ(s.GetPixel(0, top + 20), kGrid);
  EXPECT_EQ(s.GetPixel(640, top + 20), kGrid);
  EXPECT_EQ(s.GetPixel(120, top + 20), kGrid);
  EXPECT_EQ(s.GetPixel(121, top + 20), kStrip);
  EXPECT_EQ(s.GetPixel(639, bottom - 1), kStrip);
  EXPECT_EQ(s.GetPixel(640, top - 1), kGround);  // the strip ends with the grid
}

TEST_P(RowBoard, LegalDragThenTheComputerSlides) {
  Start();
  // Distances 6 and 4 (and 13 in a third row): a drag of row 1's X coin from
  // column 8 to 10 leaves the computer a move to make.
  Game().SetPosition(Make({{2, 8}, {5, 9}, {0, 13}}));
  Drag(Centre(8, 1), Centre(10, 1));
  EXPECT_EQ(Game().Position().PlayerColumn[0], 10);
  EXPECT_TRUE(ShowsX(10, 1));
  EXPECT_EQ(Screen().GetPixel(Centre(8, 1).x(), Centre(8, 1).y()), kStrip);  // no ring left
  ASSERT_EQ(Controller().GameState(), TGameState::GsComputerMoving);
  const rows::TMove target = Game().ComputerTarget();
  const int from = Game().Position().ComputerColumn[target.row - 1];
  const auto [ticks, most] = RunTimerMeasured();
  // Two pixels a tick; the coin's centre enters the target's inner part 6
  // pixels into it moving right (at 34 moving left): 14 pixels short of the
  // cell either way, then it snaps.
  const int distance = 40 * std::abs(target.column - from);
  EXPECT_EQ(ticks, (distance - 14) / 2);
  EXPECT_LE(most, 42 * 40 + 40 * 74);  // the coin's old and new place, and the snap
  EXPECT_EQ(Game().Position().ComputerColumn[target.row - 1], target.column);
  EXPECT_TRUE(ShowsO(target.column, target.row));
  EXPECT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
  EXPECT_EQ(FirstDifference(Screen(), form->Board().BackgroundBitmap), QPoint(-1, -1));
}

TEST_P(RowBoard, WrongDrops) {
  Start();
  Game().SetPosition(Make({{3, 9}, {5, 9}, {1, 4}}));
  struct Case {
    const char* name;
    QPoint to;
  } cases[] = {
      {"onto the O coin", Centre(3, 1)},
      {"past the O coin", Centre(1, 1)},
      {"into another row", Centre(11, 2)},
      {"off the track", Centre(11, 1) + QPoint(0, -17)},
      {"cell margin", Centre(11, 1) + QPoint(17, 0)},
      {"own cell", Centre(9, 1) + QPoint(4, 2)},
  };
  for (const Case& c : cases) {
    Controller().ShowStatus(MsgInfo, QStringLiteral(" "));
    Drag(Centre(9, 1), c.to);
    EXPECT_EQ(Status(), QStringLiteral("foute zet ... opnieuw")) << c.name;
    EXPECT_EQ(Controller().GameState(), TGameState::GsPlayerToMove) << c.name;
    EXPECT_EQ(Game().Position().PlayerColumn[0], 9) << c.name;
    EXPECT_TRUE(ShowsX(9, 1)) << c.name;
  }
  // A press and release without a move between them.
  Controller().ShowStatus(MsgInfo, QStringLiteral(" "));
  QTest::mouseMove(form->box1, Centre(9, 1) + QPoint(3, 3));
  QTest::mouseMove(form->box1, Centre(9, 1));
  QTest::mousePress(form->box1, Qt::LeftButton, {}, Centre(9, 1));
  QTest::mouseRelease(form->box1, Qt::LeftButton, {}, Centre(9, 1));
  EXPECT_EQ(Status(), QStringLiteral("foute zet ... opnieuw"));
  // Next to the O coin and into column 15 are legal.
  Drag(Centre(9, 1), Centre(4, 1));
  EXPECT_EQ(Game().Position().PlayerColumn[0], 4);
  RunTimer();
  ASSERT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
}

// The X coin of row 1 dropped into column 12 with its centre 5, 6, 34 and 35
// pixels into the cell, along the row and across it (across, the track's
// 15 pixels end where the margin begins).
TEST_P(RowBoard, DropsAtTheEdgesOfTheCellsInnerPart) {
  Start();
  const int top = GetParam().firstTop, mid = top + 20;
  struct Case {
    QPoint to;
    bool legal;
  } cases[] = {
      {{485, mid}, false},     {{486, mid}, true},       {{514, mid}, true},
      {{515, mid}, false},     {{500, top + 5}, false},  {{500, top + 6}, true},
      {{500, top + 34}, true}, {{500, top + 35}, false},
  };
  for (const Case& c : cases) {
    Game().SetPosition(Make({{3, 9}, {5, 9}, {1, 4}}));
    Controller().ShowStatus(MsgInfo, QStringLiteral(" "));
    Drag(Centre(9, 1), c.to);
    const std::string at = std::to_string(c.to.x()) + "," + std::to_string(c.to.y() - top);
    if (c.legal) {
      EXPECT_EQ(Game().Position().PlayerColumn[0], 12) << at;
      EXPECT_EQ(Controller().GameState(), TGameState::GsComputerMoving) << at;
      RunTimer();
    } else {
      EXPECT_EQ(Game().Position().PlayerColumn[0], 9) << at;
      EXPECT_EQ(Status(), QStringLiteral("foute zet ... opnieuw")) << at;
    }
    ASSERT_EQ(Controller().GameState(), TGameState::GsPlayerToMove) << at;
  }
}

// A press at the spot of the last release, with no motion in between, is
// no press on the coin: nothing is dragged.
TEST_P(RowBoard, APressRightAfterAReleaseStartsNoDrag) {
  Start();
  Game().SetPosition(Make({{3, 9}, {5, 9}, {1, 4}}));
  const QPoint rest = Centre(9, 1) + QPoint(4, 2);
  Drag(Centre(9, 1), rest);
  ASSERT_EQ(Status(), QStringLiteral("foute zet ... opnieuw"));
  Controller().ShowStatus(MsgInfo, QStringLiteral(" "));
  QTest::mousePress(form->box1, Qt::LeftButton, {}, rest);
  for (int i = 1; i <= 20; ++i)
    QTest::mouseMove(form->box1, rest + (Centre(12, 1) - rest) * i / 20);
  QTest::mouseRelease(form->box1, Qt::LeftButton, {}, Centre(12, 1));
  EXPECT_EQ(Game().Position().PlayerColumn[0], 9);
  EXPECT_EQ(Status(), QStringLiteral(" "));
  EXPECT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
  EXPECT_TRUE(ShowsX(9, 1));
}

TEST_P(RowBoard, AWonAndALostGame) {
  Start();
  SetLevel(GetParam().gameType, 2);
  // The player shuts the last O coin in at the left wall.
  Game().SetPosition(Make({{0, 1}, {0, 1}, {0, 3}}));
  if (GetParam().rows == 2) Game().SetPosition(Make({{0, 1}, {0, 3}}));
  Drag(Centre(GetParam().rows == 2 ? 3 : 3, GetParam().rows), Centre(1, GetParam().rows));
  EXPECT_EQ(Controller().GameState(), TGameState::GsGameOver);
  EXPECT_EQ(Status(), QStringLiteral("je hebt gewonnen !"));
  EXPECT_EQ(Controller().Levels()[GetParam().gameType], 3);
  // The computer shuts the last X coin in at the right wall.
  Click(form->actionBtn);  // "nieuw spel"
  TPosition p = Make({});
  for (int r = 0; r < p.rows; ++r) p.ComputerColumn[r] = 14;
  p.ComputerColumn[0] = 12;
  Game().SetPosition(p);
  Click(form->compstartBtn);
  RunTimer();
  EXPECT_EQ(Controller().GameState(), TGameState::GsGameOver);
  EXPECT_EQ(Status(), QStringLiteral("computer heeft gewonnen"));
  EXPECT_EQ(Controller().Levels()[GetParam().gameType], 2);
}

INSTANTIATE_TEST_SUITE_P(Games4And6, RowBoard,
                         ::testing::Values(RowGame{"Game4", 3, 2, 200},
                                           RowGame{"Game6", 5, 3, 180}),
                         [](const ::testing::TestParamInfo<RowGame>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
