// SPDX-License-Identifier: GPL-3.0-or-later
// Games 7 and 8 on the real board: the row, the drag of any coin to the
// left, the computer's slide, the exit cell and its pile, and the number of
// coins following the player's level.
#include "games/game6.h"
#include "games/game7.h"
#include "line_positions.h"
#include "shell/shell_fixture.h"

namespace {

constexpr uint32_t kGround = 0xFFFFD3, kStrip7 = 0xFFFFF3, kWhite = 0xFFFFFF, kGrid = 0x800000;

class LineBoard : public ShellTest {
 protected:
  void Start(int gameType) {
    ChooseGame(gameType);
    Click(form->actionBtn);
    ASSERT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
  }
  TGame6& Game7() { return *static_cast<TGame6*>(Controller().GameModule(6)); }
  TGame7& Game8() { return *static_cast<TGame7*>(Controller().GameModule(7)); }
  static QPoint Centre(int column) { return {40 * column + 20, 240}; }
  void Drag(QPoint from, QPoint to) { DragBoard(from, to); }
  const TXBitmap& Screen() { return form->box1->Surface(); }
  bool Shows(int column, const TXBitmap& image) {
    return ShowsImage(Screen(), 40 * column, 220, image);
  }
};

TEST_F(LineBoard, BoardPixels) {
  ChooseGame(6);
  EXPECT_EQ(Screen().GetPixel(300, 219), kGround);
  EXPECT_EQ(Screen().GetPixel(300, 220), kGrid);
  EXPECT_EQ(Screen().GetPixel(300, 240), kStrip7);
  EXPECT_EQ(Screen().GetPixel(40, 240), kGrid);
  EXPECT_EQ(Screen().GetPixel(300, 260), kGrid);
  EXPECT_EQ(Screen().GetPixel(40, 280), kGround);
  ChooseGame(7);
  EXPECT_EQ(Screen().GetPixel(300, 240), kWhite);  // the white strip
  EXPECT_EQ(Screen().GetPixel(300, 260), kGrid);
  // The exit cell's lines run 40 pixels further down; its floor is dashed.
  EXPECT_EQ(Screen().GetPixel(0, 290), kGrid);
  EXPECT_EQ(Screen().GetPixel(40, 299), kGrid);
  EXPECT_EQ(Screen().GetPixel(80, 280), kGround);
  std::string floor;
  for (int x = 0; x < 12; ++x) floor += Screen().GetPixel(x, 260) == kGrid ? '#' : '.';
  EXPECT_EQ(floor, "##..##..##..");
}

TEST_F(LineBoard, Game7LegalDragAndTheComputersSlide) {
  Start(6);
  Game7().SetPosition(Seven({2, 6, 11}));  // heaps 2 (wall..2), 4 (6..11): xor 6
  Drag(Centre(11), Centre(8));             // heap 1: xor 3
  EXPECT_EQ(Game7().Position(), Seven({2, 6, 8}));
  EXPECT_TRUE(Shows(8, PieceImages().CoinSprite));
  EXPECT_EQ(Screen().GetPixel(Centre(11).x(), Centre(11).y()), kStrip7);  // no ring
  ASSERT_EQ(Controller().GameState(), TGameState::GsComputerMoving);
  const game6::TMove target = Game7().ComputerTarget();
  const int from = Game7().Position().CoinColumn[target.slot - 1];
  const auto [ticks, most] = RunTimerMeasured();
  EXPECT_EQ(ticks, (40 * (from - target.column) - 14) / 2);  // snaps when 34 px into the cell
  EXPECT_LE(most, 42 * 40 + 40 * 54);
  EXPECT_TRUE(game6::IsGood(Game7().Position()));
  EXPECT_TRUE(Shows(target.column, PieceImages().CoinSprite));
  EXPECT_EQ(FirstDifference(Screen(), form->Board().BackgroundBitmap), QPoint(-1, -1));
}

TEST_F(LineBoard, Game7CoinsWithoutRoomCannotMove) {
  Start(6);
  Game7().SetPosition(Seven({0, 3, 4, 9}));
  struct Case {
    const char* name;
    int from;
    QPoint to;
  } cases[] = {
      {"at column 0", 0, Centre(0) + QPoint(-12, 0)},
      {"next to its neighbour", 4, Centre(3)},
      {"next to its neighbour, a little left", 4, Centre(4) + QPoint(-13, 0)},
      {"to the right", 3, Centre(6)},
      {"past its neighbour", 9, Centre(2)},
  };
  for (const Case& c : cases) {
    Controller().ShowStatus(MsgInfo, QStringLiteral(" "));
    Drag(Centre(c.from), c.to);
    EXPECT_EQ(Status(), QStringLiteral("foute zet ... opnieuw")) << c.name;
    EXPECT_EQ(Game7().Position(), Seven({0, 3, 4, 9})) << c.name;
    EXPECT_TRUE(Shows(c.from, PieceImages().CoinSprite)) << c.name;
  }
  Drag(Centre(3), Centre(1));  // any coin may be moved, by either side
  EXPECT_EQ(Game7().Position(), Seven({0, 1, 4, 9}));
}

// Games 7 and 8: the coin of column 11 dropped into column 8 with its centre
// 5, 6, 34 and 35 pixels into the cell, along the row and across it, and a
// press at the spot of the last release, which drags nothing.
TEST_F(LineBoard, DropsAtTheEdgesOfTheCellsInnerPartAndAPressAfterARelease) {
  struct Case {
    QPoint to;
    bool legal;
  } cases[] = {
      {{325, 240}, false}, {{326, 240}, true}, {{354, 240}, true}, {{355, 240}, false},
      {{340, 225}, false}, {{340, 226}, true}, {{340, 254}, true}, {{340, 255}, false},
  };
  for (int gameType : {6, 7}) {
    Start(gameType);
    auto set = [&] {
      if (gameType == 6) {
        Game7().SetPosition(Seven({2, 5, 11}));
      } else {
        Game8().SetPosition(Eight({2, 5, 11}, 3));
      }
    };
    auto column = [&] {
      return gameType == 6 ? Game7().Position().CoinColumn[5] : Game8().Position().CoinColumn[2];
    };
    for (const Case& c : cases) {
      set();
      Controller().ShowStatus(MsgInfo, QStringLiteral(" "));
      Drag(Centre(11), c.to);
      const std::string at = "game " + std::to_string(gameType + 1) + " at " +
                             std::to_string(c.to.x()) + "," + std::to_string(c.to.y());
      if (c.legal) {
        EXPECT_EQ(column(), 8) << at;
        EXPECT_EQ(Controller().GameState(), TGameState::GsComputerMoving) << at;
        RunTimer();
      } else {
        EXPECT_EQ(column(), 11) << at;
        EXPECT_EQ(Status(), QStringLiteral("foute zet ... opnieuw")) << at;
      }
      ASSERT_EQ(Controller().GameState(), TGameState::GsPlayerToMove) << at;
    }
    set();
    const QPoint rest = Centre(11) + QPoint(4, 2);
    Drag(Centre(11), rest);
    ASSERT_EQ(Status(), QStringLiteral("foute zet ... opnieuw"));
    Controller().ShowStatus(MsgInfo, QStringLiteral(" "));
    QTest::mousePress(form->box1, Qt::LeftButton, {}, rest);
    for (int i = 1; i <= 20; ++i) QTest::mouseMove(form->box1, rest + (Centre(8) - rest) * i / 20);
    QTest::mouseRelease(form->box1, Qt::LeftButton, {}, Centre(8));
    EXPECT_EQ(column(), 11) << gameType;
    EXPECT_EQ(Status(), QStringLiteral(" ")) << gameType;
    EXPECT_EQ(Controller().GameState(), TGameState::GsPlayerToMove) << gameType;
    Click(form->stopBtn);
  }
}

TEST_F(LineBoard, Game7LevelsGiveTheCoins) {
  Start(6);
  // A win at level 0 (the last move packs the coins) gives level 1: 3 coins.
  Game7().SetPosition(Seven({0, 2}));
  Drag(Centre(2), Centre(1));
  ASSERT_EQ(Status(), QStringLiteral("je hebt gewonnen !"));
  ASSERT_EQ(Controller().Levels()[6], 1);
  Click(form->actionBtn);
  EXPECT_EQ(game6::Coins(Game7().Position()), 3);
  // A loss gives level 0 again: 2 coins.
  Game7().SetPosition(Seven({0, 1, 3}));
  Click(form->compstartBtn);
  RunTimer();
  ASSERT_EQ(Status(), QStringLiteral("computer heeft gewonnen"));
  ASSERT_EQ(Controller().Levels()[6], 0);
  Click(form->actionBtn);
  EXPECT_EQ(game6::Coins(Game7().Position()), 2);
}

TEST_F(LineBoard, Game8DroppingTheFirstCoin) {
  Start(7);
  Game8().SetPosition(Eight({2, 5, 9}, 3));
  form->Board().FlushStats = {};
  Drag(Centre(2), Centre(0));
  // On the pile at once, and gone from the row before the computer's turn.
  EXPECT_TRUE(ShowsImage(Screen(), 0, 350, PieceImages().CoinSprite));
  EXPECT_EQ(Game8().FallenCount(), 1);
  EXPECT_EQ(Controller().GameState(),
            TGameState::GsComputerMoving);  // EvPlayerMoved after the removal
  EXPECT_EQ(Game8().Position().CoinCount, 2);
  EXPECT_EQ(Game8().Position().EuroIndex, 2);
  EXPECT_EQ(Screen().GetPixel(20, 240), 0xFFFFF3u);  // the exit cell emptied
  RunTimer();
  EXPECT_EQ(FirstDifference(Screen(), form->Board().ComposeBitmap), QPoint(-1, -1));
}

TEST_F(LineBoard, Game8TheEuroCoinDecides) {
  Start(7);
  SetLevel(7, 1);
  // The player drops the euro coin: the player's win.
  Game8().SetPosition(Eight({3, 7}, 1));
  Drag(Centre(3), Centre(0));
  EXPECT_TRUE(ShowsImage(Screen(), 0, 350, PieceImages().CoinEuroSprite));
  EXPECT_EQ(Status(), QStringLiteral("je hebt gewonnen !"));
  EXPECT_EQ(Controller().Levels()[7], 2);
  // The computer drops it: the computer's win.
  Click(form->actionBtn);
  EXPECT_EQ(Game8().Position().CoinCount, 3);  // level 2: three coins
  Game8().SetPosition(Eight({4, 8}, 1));
  Click(form->compstartBtn);
  EXPECT_EQ(Game8().ComputerTarget(), (game7::TMove{1, 0}));
  const auto [ticks, most] = RunTimerMeasured();
  EXPECT_EQ(ticks, (160 - 8) / 2);  // stops 8 pixels short of the exit cell
  // The coin's places; on the last tick also the box around the exit cell
  // and the pile, x 0..48 and y 220..400.
  EXPECT_LE(most, 42 * 40 + 48 * 180);
  EXPECT_EQ(Status(), QStringLiteral("computer heeft gewonnen"));
  EXPECT_EQ(Controller().Levels()[7], 1);
  EXPECT_TRUE(ShowsImage(Screen(), 0, 350, PieceImages().CoinEuroSprite));
}

TEST_F(LineBoard, Game8FiveCoinsStackUpTheirPile) {
  Start(7);
  Game8().SetPosition(Eight({1, 2, 3, 4, 5}, 5));
  int moves = 0;
  while (Controller().GameState() != TGameState::GsGameOver && moves++ < 40) {
    if (Controller().GameState() == TGameState::GsComputerMoving) {
      RunTimer();
    } else {
      Drag(Centre(Game8().Position().CoinColumn[0]), Centre(0));  // the first coin out
    }
  }
  ASSERT_EQ(Controller().GameState(), TGameState::GsGameOver);
  EXPECT_EQ(Game8().FallenCount(), 5);
  EXPECT_TRUE(ShowsImage(Screen(), 0, 310, PieceImages().CoinEuroSprite));  // the last, on top
  // A new game clears the pile.
  Click(form->actionBtn);
  EXPECT_EQ(Game8().FallenCount(), 0);
  EXPECT_EQ(Screen().GetPixel(20, 330), kGround);
}

}  // namespace
