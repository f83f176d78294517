// SPDX-License-Identifier: GPL-3.0-or-later
// Games 2 and 3 on the real board: cells and tracks, the drag protocol and
// the computer's slide.

#include <string>

#include "games/drag.h"
#include "games/game1.h"
#include "games/game2.h"
#include "shell/shell_fixture.h"

using coinboard::TCell;

namespace {
TEST(CoinRules, CellsAndTracks) {
  using namespace coinboard;
  EXPECT_EQ(CellRect({0, 0}), (TRect{0, 440, 40, 480}));
  EXPECT_EQ(CellRect({15, 11}), (TRect{600, 0, 640, 40}));
  TCell c;
  EXPECT_TRUE(HitCell(20, 460, c));
  EXPECT_EQ(c, (TCell{0, 0}));
  EXPECT_TRUE(HitCell(646, 6, c));  // column 16 counts as 15
  EXPECT_EQ(c, (TCell{15, 11}));
  for (QPoint p : {QPoint(5, 460), QPoint(35, 460), QPoint(20, 445), QPoint(20, 475),
                   QPoint(-20, 20), QPoint(20, -20), QPoint(700, 20)})
    EXPECT_FALSE(HitCell(p.x(), p.y(), c)) << p.x() << "," << p.y();
  const TrackSegment s{0, 0, 100, 0};
  EXPECT_TRUE(TrackTest(50, 14, s, 15));
  EXPECT_FALSE(TrackTest(50, 15, s, 15));
  EXPECT_FALSE(TrackTest(0, 0, s, 15));  // t = 0: strict
  EXPECT_FALSE(TrackTest(100, 0, s, 15));
  EXPECT_FALSE(TrackTest(5, 5, {3, 3, 3, 3}, 15));  // zero length never passes
}

// ---- on the board ----------------------------------------------------------------

class CoinBoard : public ShellTest {
 protected:
  void Start(int game, TCell cell) {
    ChooseGame(game);
    Click(form->actionBtn);
    ASSERT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
    gameType = game;
    Game().SetCoin(cell);
  }
  TCoinGame& Game() { return *static_cast<TCoinGame*>(Controller().GameModule(uint8_t(gameType))); }
  static QPoint Centre(TCell c) {
    const TRect r = coinboard::CellRect(c);
    return {r.Left + 20, r.Top + 20};
  }
  // Hover onto the coin, press, move in small steps to `to`, release.
  void Drag(QPoint from, QPoint to, bool hover = true) {
    QTest::mouseMove(form->box1, {from.x() + 13, from.y() + 17});
    if (hover) QTest::mouseMove(form->box1, from);
    QTest::mousePress(form->box1, Qt::LeftButton, {}, from);
    const int steps = 20;
    for (int i = 1; i <= steps; ++i) QTest::mouseMove(form->box1, from + (to - from) * i / steps);
    QTest::mouseRelease(form->box1, Qt::LeftButton, {}, to);
  }
  uint32_t ScreenAt(QPoint p) { return form->box1->Surface().GetPixel(p.x(), p.y()); }
  int gameType = 1;
};

constexpr uint32_t kCoinFace = 0xC0C0C0, kBoardPixel = 0xFFFFF3;

TEST_F(CoinBoard, Game2LegalDragThenTheComputerSlides) {
  Start(1, {5, 9});
  EXPECT_EQ(ScreenAt(Centre({5, 9})), kCoinFace);
  Drag(Centre({5, 9}), Centre({2, 9}));
  EXPECT_EQ(Game().Coin(), (TCell{2, 9}));
  EXPECT_EQ(ScreenAt(Centre({2, 9})), kCoinFace);
  EXPECT_EQ(ScreenAt(Centre({5, 9})), kBoardPixel);  // no ring left behind
  EXPECT_EQ(Controller().GameState(), TGameState::GsComputerMoving);
  EXPECT_EQ(Game().Target(), (TCell{2, 2}));
  const auto [ticks, most] = RunTimerMeasured();
  EXPECT_EQ(ticks, (280 - 14) / 2);  // 2 pixels a tick, snapping 14 short
  // Only the coin's old and new place; the last tick also snaps it into its
  // cell, 14 pixels on.
  EXPECT_LE(most, 40 * 42 + 40 * 54);
  EXPECT_EQ(Game().Coin(), (TCell{2, 2}));
  EXPECT_EQ(ScreenAt(Centre({2, 2})), kCoinFace);
  EXPECT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
  EXPECT_EQ(Status(), QStringLiteral("doe een zet ... "));
  // The cells the coin slid over are clean again: no trail of old coin
  // images, on the screen or in the picture it is copied from.
  for (int row = 8; row >= 3; --row) EXPECT_EQ(ScreenAt(Centre({2, row})), kBoardPixel) << row;
  EXPECT_EQ(FirstDifference(form->box1->Surface(), form->Board().BackgroundBitmap), QPoint(-1, -1));
  EXPECT_EQ(FirstDifference(form->Board().ComposeBitmap, form->Board().BackgroundBitmap),
            QPoint(-1, -1));
}

// While the coin is dragged only its old and new place reach the screen.
TEST_F(CoinBoard, DraggingFlushesOnlyAroundTheCoin) {
  Start(1, {5, 9});
  const QPoint from = Centre({5, 9});
  QTest::mouseMove(form->box1, {1, 1});
  QTest::mouseMove(form->box1, from);
  QTest::mousePress(form->box1, Qt::LeftButton, {}, from);
  long long most = 0;
  for (int dx = 2; dx <= 120; dx += 2) {
    const long long before = form->Board().FlushStats.pixels;
    QTest::mouseMove(form->box1, from - QPoint(dx, 0));
    most = std::max(most, form->Board().FlushStats.pixels - before);
  }
  EXPECT_GT(most, 0);
  EXPECT_LE(most, 42 * 40 + 40 * 40);  // the coin's two places (and the ring's cell once)
  QTest::mouseRelease(form->box1, Qt::LeftButton, {}, from - QPoint(120, 0));
  EXPECT_EQ(Game().Coin(), (TCell{2, 9}));
}

// Off its tracks the dragged coin is not drawn: the screen keeps it at its
// last place on a track.
TEST_F(CoinBoard, Game2ADraggedCoinStaysOnItsTrack) {
  Start(1, {5, 9});
  const QPoint from = Centre({5, 9}), onTrack = Centre({3, 9}),
               offTrack = Centre({3, 9}) - QPoint(0, 60);
  QTest::mouseMove(form->box1, from + QPoint(3, 3));
  QTest::mouseMove(form->box1, from);
  QTest::mousePress(form->box1, Qt::LeftButton, {}, from);
  for (int i = 1; i <= 10; ++i) QTest::mouseMove(form->box1, from + (onTrack - from) * i / 10);
  EXPECT_EQ(ScreenAt(onTrack), kCoinFace);
  QTest::mouseMove(form->box1, offTrack);
  EXPECT_NE(ScreenAt(offTrack), kCoinFace);
  EXPECT_EQ(ScreenAt(onTrack), kCoinFace);
  QTest::mouseRelease(form->box1, Qt::LeftButton, {}, offTrack);
  EXPECT_EQ(Status(), QStringLiteral("foute zet ... opnieuw"));
  EXPECT_EQ(ScreenAt(Centre({5, 9})), kCoinFace);  // back in its cell
}

TEST_F(CoinBoard, Game2WrongDrops) {
  struct Case {
    const char* name;
    QPoint to;
  } cases[] = {
      {"up", Centre({5, 11})},
      {"right", Centre({9, 9})},
      {"cell margin", Centre({2, 9}) + QPoint(17, 0)},
      {"own cell", Centre({5, 9}) + QPoint(3, 3)},
      {"no move", Centre({5, 9})},
  };
  Start(1, {5, 9});
  for (const Case& c : cases) {
    Drag(Centre({5, 9}), c.to);
    EXPECT_EQ(Status(), QStringLiteral("foute zet ... opnieuw")) << c.name;
    EXPECT_EQ(Controller().GameState(), TGameState::GsPlayerToMove) << c.name;
    EXPECT_EQ(Game().Coin(), (TCell{5, 9})) << c.name;
    EXPECT_EQ(ScreenAt(Centre({5, 9})), kCoinFace) << c.name;
    Controller().ShowStatus(MsgInfo, QStringLiteral(" "));
  }
  // A press and release without any move between them.
  QTest::mouseMove(form->box1, {1, 1});
  QTest::mouseMove(form->box1, Centre({5, 9}));
  QTest::mousePress(form->box1, Qt::LeftButton, {}, Centre({5, 9}));
  QTest::mouseRelease(form->box1, Qt::LeftButton, {}, Centre({5, 9}));
  EXPECT_EQ(Status(), QStringLiteral("foute zet ... opnieuw"));
}

// A drop counts when the coin's centre lies 6 to 34 pixels into the cell,
// across and along its track; 5 or 35 pixels in is the cell's margin. The
// press is at the coin's centre, so the centre lands where the pointer is
// released.
TEST_F(CoinBoard, Game2DropsAtTheEdgesOfTheCellsInnerPart) {
  struct Case {
    const char* name;
    QPoint to;
    bool legal;
  } cases[] = {
      // Left, into cell (2, 9): x 80..119, y 80..119.
      {"left, x 5 in", {85, 100}, false},
      {"left, x 6 in", {86, 100}, true},
      {"left, x 34 in", {114, 100}, true},
      {"left, x 35 in", {115, 100}, false},
      {"left, y 6 in", {100, 86}, true},
      {"left, y 34 in", {100, 114}, true},
      // Down, into cell (5, 6): x 200..239, y 200..239.
      {"down, y 5 in", {220, 205}, false},
      {"down, y 6 in", {220, 206}, true},
      {"down, y 34 in", {220, 234}, true},
      {"down, y 35 in", {220, 235}, false},
      {"down, x 6 in", {206, 220}, true},
      {"down, x 34 in", {234, 220}, true},
      {"down, x 5 in", {205, 220}, false},
      {"down, x 35 in", {235, 220}, false},
  };
  Start(1, {5, 9});
  for (const Case& c : cases) {
    Game().SetCoin({5, 9});
    Controller().ShowStatus(MsgInfo, QStringLiteral(" "));
    Drag(Centre({5, 9}), c.to);
    if (c.legal) {
      const bool left = std::string(c.name).rfind("left", 0) == 0;
      EXPECT_EQ(Game().Coin(), (left ? TCell{2, 9} : TCell{5, 6})) << c.name;
      EXPECT_EQ(ScreenAt(Centre(Game().Coin())), kCoinFace) << c.name;
      EXPECT_EQ(Controller().GameState(), TGameState::GsComputerMoving) << c.name;
      RunTimer();
    } else {
      EXPECT_EQ(Game().Coin(), (TCell{5, 9})) << c.name;
      EXPECT_EQ(Status(), QStringLiteral("foute zet ... opnieuw")) << c.name;
    }
    ASSERT_EQ(Controller().GameState(), TGameState::GsPlayerToMove) << c.name;
  }
}

// After a release the pointer must move before a press counts: a press at
// the very spot of the release starts no drag, even with the pointer on the
// coin, and the moves and the release that follow do nothing.
TEST_F(CoinBoard, Game2APressRightAfterAReleaseStartsNoDrag) {
  Start(1, {5, 9});
  const QPoint rest = Centre({5, 9}) + QPoint(3, 3);
  Drag(Centre({5, 9}), rest);  // back onto its own cell: a wrong move
  ASSERT_EQ(Status(), QStringLiteral("foute zet ... opnieuw"));
  Controller().ShowStatus(MsgInfo, QStringLiteral(" "));
  QTest::mousePress(form->box1, Qt::LeftButton, {}, rest);
  for (int i = 1; i <= 20; ++i)
    QTest::mouseMove(form->box1, rest + (Centre({2, 9}) - rest) * i / 20);
  QTest::mouseRelease(form->box1, Qt::LeftButton, {}, Centre({2, 9}));
  EXPECT_EQ(Game().Coin(), (TCell{5, 9}));
  EXPECT_EQ(Status(), QStringLiteral(" "));
  EXPECT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
  EXPECT_EQ(ScreenAt(Centre({5, 9})), kCoinFace);
  // A move onto the coin makes the next press count again.
  Drag(Centre({5, 9}), Centre({2, 9}));
  EXPECT_EQ(Game().Coin(), (TCell{2, 9}));
}

TEST_F(CoinBoard, Game2PressWithoutHoverStartsNoDrag) {
  Start(1, {5, 9});
  QTest::mouseMove(form->box1, {1, 1});
  QTest::mousePress(form->box1, Qt::LeftButton, {}, Centre({5, 9}));
  EXPECT_EQ(Game().DragState(), 0);
  QTest::mouseRelease(form->box1, Qt::LeftButton, {}, Centre({5, 9}));
  EXPECT_EQ(Status(), QStringLiteral("doe een zet of laat de computer beginnen"));
}

TEST_F(CoinBoard, Game2HoverShowsTheHand) {
  Start(1, {5, 9});
  QTest::mouseMove(form->box1, {1, 1});
  QTest::mouseMove(form->box1, Centre({5, 9}));
  EXPECT_EQ(form->box1->cursor().shape(), Qt::PointingHandCursor);
  QTest::mouseMove(form->box1, Centre({6, 9}));
  EXPECT_EQ(form->box1->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(CoinBoard, Game2WinningMove) {
  Start(1, {0, 4});
  Drag(Centre({0, 4}), Centre({0, 0}));
  EXPECT_EQ(Controller().GameState(), TGameState::GsGameOver);
  EXPECT_EQ(Status(), QStringLiteral("je hebt gewonnen !"));
  EXPECT_EQ(Controller().Levels()[1], 1);
  EXPECT_EQ(form->totalscore->text(), QStringLiteral("2"));
}

TEST_F(CoinBoard, Game3DiagonalDragAndItsLimits) {
  Start(2, {5, 8});
  Drag(Centre({5, 8}), Centre({2, 5}));
  EXPECT_EQ(Game().Coin(), (TCell{2, 5}));
  EXPECT_EQ(Controller().GameState(), TGameState::GsComputerMoving);
  while (form->Timer1.isActive()) form->Timer1Timer();
  EXPECT_TRUE(game2::IsGood({Game().Coin()}));
  // A coin at (5, 3) cannot be taken below the bottom row along the diagonal.
  Game().SetCoin({5, 3});
  Drag(Centre({5, 3}), Centre({1, -1}));
  EXPECT_EQ(Game().Coin(), (TCell{5, 3}));
  EXPECT_EQ(Status(), QStringLiteral("foute zet ... opnieuw"));
  Drag(Centre({5, 3}), Centre({3, 1}));
  EXPECT_EQ(Game().Coin(), (TCell{3, 1}));
}

// The drag tracks' tolerance is 15 pixels: a coin dropped on the diagonal
// cell (3, 6) from (5, 8), pushed off the diagonal track at right angles,
// still lands inside that cell, but counts only while within 15 pixels.
TEST_F(CoinBoard, Game3DropsNearTheDiagonalTrack) {
  struct Case {
    int k;  // the coin moved by (k, k): k * 1.414 pixels off the track
    bool legal;
  } cases[] = {{0, true}, {10, true}, {11, false}, {12, false}, {13, false}};
  Start(2, {5, 8});
  for (const Case& c : cases) {
    Game().SetCoin({5, 8});
    Controller().ShowStatus(MsgInfo, QStringLiteral(" "));
    Drag(Centre({5, 8}), Centre({3, 6}) + QPoint(c.k, c.k));
    if (c.legal) {
      EXPECT_EQ(Game().Coin(), (TCell{3, 6})) << c.k;
      EXPECT_EQ(Controller().GameState(), TGameState::GsComputerMoving) << c.k;
      RunTimer();
    } else {
      EXPECT_EQ(Game().Coin(), (TCell{5, 8})) << c.k;
      EXPECT_EQ(Status(), QStringLiteral("foute zet ... opnieuw")) << c.k;
    }
    ASSERT_EQ(Controller().GameState(), TGameState::GsPlayerToMove) << c.k;
  }
}

TEST_F(CoinBoard, Game3ComputerMovesDiagonallyIntoTheTarget) {
  Start(2, {7, 7});
  Click(form->compstartBtn);
  EXPECT_EQ(Game().Target(), (TCell{0, 0}));
  int ticks = 0;
  while (form->Timer1.isActive() && ticks < 1000) {
    form->Timer1Timer();
    ++ticks;
  }
  EXPECT_EQ(ticks, (280 - 14) / 2);  // left and down together
  EXPECT_EQ(Controller().GameState(), TGameState::GsGameOver);
  EXPECT_EQ(Status(), QStringLiteral("computer heeft gewonnen"));
}

}  // namespace
