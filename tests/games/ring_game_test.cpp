// SPDX-License-Identifier: GPL-3.0-or-later
// Game 5 on the real board: the ring's geometry against the tables of its
// description, the drag along an arc and the computer's coin travelling a
// degree a tick.
#include <random>

#include "games/game4.h"
#include "shell/shell_fixture.h"

using namespace game4;
using game4::TPosition;

namespace {

TEST(RingGeometry, CellCentresAndAnglesAreTheTables) {
  const int xs[24] = {525, 518, 497, 464, 422, 373, 319, 266, 217, 175, 142, 121,
                      115, 121, 142, 175, 217, 266, 320, 373, 422, 464, 497, 518};
  const int ys[24] = {240, 293, 342, 384, 417, 438, 444, 438, 417, 384, 342, 293,
                      239, 186, 137, 95,  62,  41,  35,  41,  62,  95,  137, 186};
  const int angles[24] = {0,   14,  29,  45,  60,  75,  90,  105, 120, 135, 150, 165,
                          180, 195, 210, 225, 239, 254, 270, 284, 299, 314, 329, 344};
  for (int k = 0; k < 24; ++k) {
    EXPECT_EQ(CellCentre(k), (TPoint{xs[k], ys[k]})) << k;
    EXPECT_EQ(CellAngle(k), angles[k]) << k;
    EXPECT_EQ(RingCellRect(k), (TRect{xs[k] - 20, ys[k] - 20, xs[k] + 20, ys[k] + 20})) << k;
  }
  EXPECT_EQ(PolarDegrees(320, 300), 90.0f);
  EXPECT_EQ(PolarDegrees(320, 240), 270.0f);
  EXPECT_EQ(PolarDegrees(320, 100), 270.0f);
  EXPECT_EQ(PolarDegrees(200, 240), 180.0f);
}

// A point at `degrees` and radius `r` from the centre, rounded to pixels.
TPoint At(double degrees, double r) {
  const double a = degrees * 3.14159265358979 / 180.0;
  return {int(std::lround(320 + r * std::cos(a))), int(std::lround(240 + r * std::sin(a)))};
}

TEST(RingGeometry, RingHitBandsAndEdges) {
  struct Case {
    int x, y, cell;
  } cases[] = {
      // Along the ray of cell 0 (straight right): radius strictly 181..229.
      {320 + 180, 240, -1},
      {320 + 181, 240, 0},
      {320 + 229, 240, 0},
      {320 + 230, 240, -1},
      // Straight down (90 degrees, cell 6) and up (270, cell 18).
      {320, 240 + 205, 6},
      {320, 240 - 205, 18},
  };
  for (const Case& c : cases) EXPECT_EQ(RingHit(c.x, c.y), c.cell) << c.x << "," << c.y;
  // The angular edges of cell 2 (centre 30 degrees): it answers from 5.5
  // degrees before to 6.5 after; the margins between cells answer nothing.
  struct Angle {
    double degrees;
    int cell;
  } angles[] = {{24.2, -1}, {24.8, 2}, {36.2, 2}, {36.8, -1}, {359.0, 0}, {353.0, -1}, {6.0, 0}};
  for (const Angle& a : angles) {
    const TPoint p = At(a.degrees, 205);
    const float d = PolarDegrees(p.x, p.y);
    // Only points whose angle lands clearly on one side of an edge.
    SCOPED_TRACE(d);
    EXPECT_EQ(RingHit(p.x, p.y), a.cell) << a.degrees;
  }
}

TEST(RingGeometry, ArcAcrossZeroDegrees) {
  // X coin 2 in cell 0, O coin 2 in cell 18: X coin 1 may go from 9 degrees
  // past cell 18 to 10 degrees short of cell 0, across no 0.
  const int low = 15 * 18 + 9, high = 15 * 0 - 10 + 360;
  EXPECT_EQ(low, 279);
  EXPECT_EQ(high, 350);
  EXPECT_TRUE(ArcTest(At(345, 205).x, At(345, 205).y, low, high, 25));
  EXPECT_FALSE(ArcTest(At(352, 205).x, At(352, 205).y, low, high, 25));  // onto cell 0: no
  EXPECT_FALSE(ArcTest(At(0, 205).x, At(0, 205).y, low, high, 25));
  // The limits themselves are outside: whole degrees strictly between.
  struct Edge {
    double degrees;
    bool in;
  } edges[] = {{279.5, false}, {280.5, true}, {349.5, true}, {350.5, false}};
  for (const Edge& e : edges) {
    const TPoint p = At(e.degrees, 205);
    ASSERT_EQ(int(PolarDegrees(p.x, p.y)), int(e.degrees));
    EXPECT_EQ(ArcTest(p.x, p.y, low, high, 25), e.in) << e.degrees;
  }
  // An arc that crosses 0: from 339 (past cell 22) to 35 (short of cell 3).
  EXPECT_TRUE(ArcTest(At(350, 205).x, At(350, 205).y, 339, 35, 25));
  EXPECT_TRUE(ArcTest(At(10, 205).x, At(10, 205).y, 339, 35, 25));
  EXPECT_FALSE(ArcTest(At(40, 205).x, At(40, 205).y, 339, 35, 25));
  EXPECT_FALSE(ArcTest(At(330, 205).x, At(330, 205).y, 339, 35, 25));
  // The band: within 24 pixels of the middle circle.
  EXPECT_TRUE(ArcTest(At(10, 229).x, At(10, 229).y, 339, 35, 25));
  EXPECT_FALSE(ArcTest(At(10, 231).x, At(10, 231).y, 339, 35, 25));
}

// ---- on the board ----------------------------------------------------------------

// Pixel values. The discs are drawn with fill level 0, so their pixels carry
// the level tag 0 in the low bits of blue; a cell emptied later is filled
// with a brush and keeps 0xF3.
constexpr uint32_t kGround = 0xFFFFD3, kInnerDisc = 0xFFFFD0, kTrack = 0xFFFFF0,
                   kEmptied = 0xFFFFF3, kLines = 0x800000;

TPosition Ring(int x1, int x2, int o1, int o2) {
  TPosition p;
  p.PlayerCell[0] = uint8_t(x1);
  p.PlayerCell[1] = uint8_t(x2);
  p.ComputerCell[0] = uint8_t(o1);
  p.ComputerCell[1] = uint8_t(o2);
  return p;
}

class RingBoard : public ShellTest {
 protected:
  void Start(const TPosition& p) {
    ChooseGame(4);
    Click(form->actionBtn);
    ASSERT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
    Game().SetPosition(p);
  }
  TGame4& Game() { return *static_cast<TGame4*>(Controller().GameModule(4)); }
  static QPoint Q(TPoint p) { return {p.x, p.y}; }
  // Hover onto the coin of cell k, press, move along the ring to `degrees`
  // (the shorter way; `radius` at the end), release.
  void Drag(int k, double degrees, double radius = 205) {
    const QPoint from = Q(CellCentre(k));
    QTest::mouseMove(form->box1, from + QPoint(3, 2));
    QTest::mouseMove(form->box1, from);
    QTest::mousePress(form->box1, Qt::LeftButton, {}, from);
    const double start = CellAngle(k);
    double turn = degrees - start;
    while (turn > 180) turn -= 360;
    while (turn < -180) turn += 360;
    QPoint to = from;
    for (int i = 1; i <= 30; ++i) {
      to = Q(At(start + turn * i / 30, 205 + (radius - 205) * i / 30));
      QTest::mouseMove(form->box1, to);
    }
    QTest::mouseRelease(form->box1, Qt::LeftButton, {}, to);
  }
  const TXBitmap& Screen() { return form->box1->Surface(); }
  bool Shows(int k, const TXBitmap& image) {
    const TRect r = RingCellRect(k);
    return ShowsImage(Screen(), r.Left, r.Top, image);
  }
};

TEST_F(RingBoard, BoardPixels) {
  ChooseGame(4);
  const TXBitmap& s = Screen();
  EXPECT_EQ(s.GetPixel(20, 20), kGround);
  EXPECT_EQ(s.GetPixel(320, 240), kInnerDisc);
  EXPECT_EQ(s.GetPixel(525, 240), kTrack);  // cell 0, empty
  EXPECT_EQ(s.GetPixel(320, 35), kTrack);   // cell 18
  // The outlines of the two discs, crossed on the ray to the right.
  int outlines = 0;
  for (int x = 480; x <= 570; ++x) outlines += s.GetPixel(x, 240) == kLines;
  EXPECT_GE(outlines, 4);  // two pixels wide, twice
  EXPECT_EQ(s.GetPixel(565, 240), kGround);
  // A separator between cells 0 and 1, at 7.5 degrees: inside the track.
  const TPoint mid = At(7.5, 205);
  int separator = 0;
  for (int dx = -2; dx <= 2; ++dx) separator += s.GetPixel(mid.x + dx, mid.y) == kLines;
  EXPECT_GE(separator, 1);
  EXPECT_EQ(s.GetPixel(At(3.0, 205).x, At(3.0, 205).y), kTrack);
}

TEST_F(RingBoard, LegalDragThenTheComputerTravelsADegreeATick) {
  Start(Ring(0, 5, 10, 15));  // A = 4, B = 8
  EXPECT_TRUE(Shows(0, PieceImages().CoinXSprite));
  EXPECT_TRUE(Shows(10, PieceImages().CoinOSprite));
  Drag(0, 330);  // X coin 1 back to cell 22: B = 6
  ASSERT_EQ(Game().Position().PlayerCell[0], 22);
  EXPECT_TRUE(Shows(22, PieceImages().CoinXSprite));
  EXPECT_EQ(Screen().GetPixel(525, 240), kEmptied);  // no ring left in cell 0
  ASSERT_EQ(Controller().GameState(), TGameState::GsComputerMoving);
  // A < B: O coin 2 goes forward from cell 15 to 17, 225 to 254 degrees.
  EXPECT_EQ(Game().ComputerChoice().move, (TMove{2, 17}));
  const auto [ticks, most] = RunTimerMeasured();
  EXPECT_EQ(ticks, 254 - 225);
  EXPECT_LE(most, 2 * 44 * 44);  // the coin's old and new place
  EXPECT_EQ(Game().Position().ComputerCell[1], 17);
  EXPECT_TRUE(Shows(17, PieceImages().CoinOSprite));
  EXPECT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
  EXPECT_EQ(FirstDifference(Screen(), form->Board().BackgroundBitmap), QPoint(-1, -1));
}

TEST_F(RingBoard, TheComputerGoesBackAndNeverRoundOverTheOthers) {
  Start(Ring(0, 5, 9, 12));                // A = 3, B = 11
  Game().SetPosition(Ring(20, 2, 6, 18));  // A = 3, B = 1: O coin 1 two cells back
  Click(form->compstartBtn);
  EXPECT_EQ(Game().ComputerChoice().move, (TMove{1, 4}));
  EXPECT_EQ(Game().ComputerChoice().angleStep, -1);
  EXPECT_EQ(RunTimerMeasured().first, 90 - 60);
  EXPECT_EQ(Game().Position().ComputerCell[0], 4);
  // A = B = 1, M = 13: a random move. O coin 1 (cell 4) may go forward to
  // 5..17 or back to cell 3; O coin 2 (cell 18) forward to 19 or back to
  // 5..17. Whichever it is, the coin takes the way through the free cells.
  struct Case {
    int seed;
  } seeds[] = {{1}, {2}, {3}, {4}, {5}, {6}, {7}, {8}};
  int back = 0;
  for (const Case& c : seeds) {
    zam::RandSeed(uint32_t(c.seed));
    Click(form->stopBtn);
    Click(form->actionBtn);
    Game().SetPosition(Ring(20, 2, 4, 18));
    Click(form->compstartBtn);
    const TComputerMove m = Game().ComputerChoice();
    const int from = m.move.coin == 1 ? 4 : 18, to = m.move.cell;
    // Ahead of O coin 1 up to O coin 2 (cell 18); ahead of O coin 2 up to X
    // coin 1 (cell 20).
    const bool ahead = m.move.coin == 1 ? (to > 4 && to < 18) : (to > 18 && to < 20);
    EXPECT_EQ(m.angleStep, ahead ? 1 : -1) << c.seed << ": " << from << " to " << to;
    back += !ahead;
    const int degrees = ahead ? CellAngle(to) - CellAngle(from) : CellAngle(from) - CellAngle(to);
    EXPECT_EQ(RunTimerMeasured().first, degrees) << c.seed;
    EXPECT_EQ(Game().Position().ComputerCell[m.move.coin - 1], to) << c.seed;
    EXPECT_TRUE(Shows(to, PieceImages().CoinOSprite)) << c.seed;
  }
  EXPECT_GE(back, 1);  // the seeds include moves to a cell behind the coin
}

// Whole games from many seeded starts, the player's coins dragged on the
// board: at every tick of every computer move the travelling O coin keeps
// clear of the cells of the three other coins, which stay on the screen.
TEST_F(RingBoard, TheTravellingCoinNeverCoversAnotherCoin) {
  ChooseGame(4);
  std::mt19937 player(7);
  int computerMoves = 0, backward = 0;
  for (uint32_t seed = 1; seed <= 25; ++seed) {
    zam::RandSeed(seed);
    Click(form->actionBtn);  // "start", then "nieuw spel"
    ASSERT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
    bool first = true;
    for (int turn = 0; turn < 40 && Controller().GameState() != TGameState::GsGameOver; ++turn) {
      ASSERT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
      if (first && seed % 2 == 0) {
        Click(form->compstartBtn);
      } else {
        // The player leaves equal gaps A and B when it can, so the computer
        // has to make its random moves; otherwise any move.
        const TPosition p = Game().Position();
        std::vector<TMove> moves = LegalMoves(p, SidePlayer), good;
        for (const TMove& m : moves)
          if (IsGood(Apply(p, SidePlayer, m))) good.push_back(m);
        const std::vector<TMove>& pick = good.empty() ? moves : good;
        ASSERT_FALSE(pick.empty());
        const TMove m = pick[player() % pick.size()];
        Drag(p.PlayerCell[m.coin - 1], CellAngle(m.cell) + 0.5);
        ASSERT_EQ(Game().Position(), Apply(p, SidePlayer, m)) << seed;
      }
      first = false;
      if (Controller().GameState() != TGameState::GsComputerMoving) continue;  // the player has won
      const TPosition before = Game().Position();
      const TComputerMove c = Game().ComputerChoice();
      ++computerMoves;
      backward += c.angleStep < 0;
      std::vector<int> others;
      for (int i = 0; i < 2; ++i) {
        others.push_back(before.PlayerCell[i]);
        if (i != c.move.coin - 1) others.push_back(before.ComputerCell[i]);
      }
      int ticks = 0;
      while (form->Timer1.isActive()) {
        ASSERT_LT(++ticks, 400) << seed;
        form->Timer1Timer();
        if (!form->Timer1.isActive()) break;  // landed
        const TRect coin = Game().MovingRect();
        for (int k : others) {
          const TRect cell = RingCellRect(k);
          const bool overlap = coin.Left < cell.Right && cell.Left < coin.Right &&
                               coin.Top < cell.Bottom && cell.Top < coin.Bottom;
          ASSERT_FALSE(overlap) << "seed " << seed << ": O coin " << int(c.move.coin) << " to cell "
                                << int(c.move.cell) << " covers cell " << k;
          const bool x = k == before.PlayerCell[0] || k == before.PlayerCell[1];
          ASSERT_TRUE(Shows(k, x ? PieceImages().CoinXSprite : PieceImages().CoinOSprite))
              << seed << ", cell " << k;
        }
      }
      ASSERT_EQ(Game().Position(), Apply(before, SideComputer, c.move)) << seed;
    }
  }
  // The starts gave the computer plenty of moves, some of them backwards.
  EXPECT_GE(computerMoves, 50);
  EXPECT_GE(backward, 10);
}

TEST_F(RingBoard, WrongDrops) {
  Start(Ring(0, 5, 10, 15));
  struct Case {
    const char* name;
    double degrees, radius;
  } cases[] = {
      // Straight up, cell 18 is free: the radius must be 181..229.
      {"onto X coin 2", 75, 205},     {"past X coin 2", 90, 205},    {"radius 180", 270, 180},
      {"radius 230", 270, 230},       {"between cells", 337.5, 205}, {"own cell", 1, 205},
      {"too close behind", 232, 205},
  };
  for (const Case& c : cases) {
    Controller().ShowStatus(MsgInfo, QStringLiteral(" "));
    Drag(0, c.degrees, c.radius);
    EXPECT_EQ(Status(), QStringLiteral("foute zet ... opnieuw")) << c.name;
    EXPECT_EQ(Game().Position().PlayerCell[0], 0) << c.name;
    EXPECT_TRUE(Shows(0, PieceImages().CoinXSprite)) << c.name;
  }
  // The band's inner and outer edge still count.
  Drag(0, 270, 181);
  ASSERT_EQ(Game().Position().PlayerCell[0], 18);
  RunTimerMeasured();
  ASSERT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
  Game().SetPosition(Ring(0, 5, 10, 15));
  Drag(0, 270, 229);
  ASSERT_EQ(Game().Position().PlayerCell[0], 18);
  RunTimerMeasured();
  Game().SetPosition(Ring(0, 5, 10, 15));
  // A press and release with no move between them.
  Controller().ShowStatus(MsgInfo, QStringLiteral(" "));
  QTest::mouseMove(form->box1, {520, 236});
  QTest::mouseMove(form->box1, {525, 240});
  QTest::mousePress(form->box1, Qt::LeftButton, {}, {525, 240});
  QTest::mouseRelease(form->box1, Qt::LeftButton, {}, {525, 240});
  EXPECT_EQ(Status(), QStringLiteral("foute zet ... opnieuw"));
  EXPECT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
}

// The player's coins across the 0 degree mark, forward (clockwise) and
// back, and onto cell 0 from either side of the mark.
TEST_F(RingBoard, ThePlayersCoinsCrossTheZeroMark) {
  struct Case {
    const char* name;
    TPosition start;
    int from;
    double degrees;
    int coin;  // 0: X coin 1, 1: X coin 2
    int lands;
  } cases[] = {
      {"X coin 1 forward over 0", Ring(22, 5, 10, 15), 22, 30, 0, 2},
      {"X coin 1 forward onto cell 0, short of 0", Ring(22, 5, 10, 15), 22, 356, 0, 0},
      {"X coin 1 forward onto cell 0, past 0", Ring(22, 5, 10, 15), 22, 4, 0, 0},
      {"X coin 2 back over 0", Ring(18, 1, 5, 10), 1, 300, 1, 20},
      {"X coin 2 back onto cell 0, past 0", Ring(18, 2, 5, 10), 2, 357, 1, 0},
      {"X coin 1 back over 0", Ring(1, 5, 10, 15), 1, 335, 0, 22},
  };
  Start(Ring(0, 5, 10, 15));
  for (const Case& c : cases) {
    Game().SetPosition(c.start);
    Drag(c.from, c.degrees);
    EXPECT_EQ(Game().Position().PlayerCell[c.coin], c.lands) << c.name;
    EXPECT_TRUE(Shows(c.lands, PieceImages().CoinXSprite)) << c.name;
    EXPECT_EQ(Controller().GameState(), TGameState::GsComputerMoving) << c.name;
    RunTimerMeasured();
    ASSERT_EQ(Controller().GameState(), TGameState::GsPlayerToMove) << c.name;
  }
  // With X coin 2 in cell 0, X coin 1 stops 10 degrees short of the mark:
  // a drop at 356 degrees, on cell 0, is refused.
  Game().SetPosition(Ring(20, 0, 5, 10));
  Controller().ShowStatus(MsgInfo, QStringLiteral(" "));
  Drag(20, 356);
  EXPECT_EQ(Status(), QStringLiteral("foute zet ... opnieuw"));
  EXPECT_EQ(Game().Position().PlayerCell[0], 20);
  EXPECT_TRUE(Shows(20, PieceImages().CoinXSprite));
  EXPECT_TRUE(Shows(0, PieceImages().CoinXSprite));
  Drag(20, 345);  // 10 degrees short still counts: cell 23
  EXPECT_EQ(Game().Position().PlayerCell[0], 23);
}

// The computer's coin across the mark, back (O coin 1) and forward (O coin
// 2): whichever way it travels, it ends in the cell the good move asks for.
TEST_F(RingBoard, TheComputersCoinLandsAcrossTheZeroMark) {
  struct Case {
    const char* name;
    TPosition start;
    int coin;  // 0: O coin 1, 1: O coin 2
    int lands;
  } cases[] = {
      // A = 7, B = 1: O coin 1 from cell 2 to cell 20.
      {"O coin 1 back over 0", Ring(8, 18, 2, 6), 0, 20},
      // A = 0, B = 5: O coin 2 from cell 22 to cell 3.
      {"O coin 2 forward over 0", Ring(4, 10, 11, 22), 1, 3},
  };
  Start(Ring(0, 5, 10, 15));
  for (const Case& c : cases) {
    Click(form->stopBtn);
    Click(form->actionBtn);
    Game().SetPosition(c.start);
    Click(form->compstartBtn);
    ASSERT_EQ(Controller().GameState(), TGameState::GsComputerMoving) << c.name;
    RunTimer(2000);
    EXPECT_EQ(Controller().GameState(), TGameState::GsPlayerToMove) << c.name;
    EXPECT_EQ(Game().Position().ComputerCell[c.coin], c.lands) << c.name;
    EXPECT_TRUE(Shows(c.lands, PieceImages().CoinOSprite)) << c.name;
    EXPECT_EQ(FirstDifference(Screen(), form->Board().BackgroundBitmap), QPoint(-1, -1)) << c.name;
  }
}

TEST_F(RingBoard, AWonAndALostGame) {
  Start(Ring(12, 5, 10, 11));  // A = 4, B = 0
  SetLevel(4, 1);
  Drag(5, 135);  // X coin 2 to cell 9: both O coins shut in
  EXPECT_EQ(Controller().GameState(), TGameState::GsGameOver);
  EXPECT_EQ(Status(), QStringLiteral("je hebt gewonnen !"));
  EXPECT_EQ(Controller().Levels()[4], 2);
  Click(form->actionBtn);                 // "nieuw spel"
  Game().SetPosition(Ring(0, 1, 2, 20));  // A = 0, B = 3
  Click(form->compstartBtn);
  EXPECT_EQ(RunTimerMeasured().first, 344 - 299);  // O coin 2 to cell 23: both X coins shut in
  EXPECT_EQ(Controller().GameState(), TGameState::GsGameOver);
  EXPECT_EQ(Status(), QStringLiteral("computer heeft gewonnen"));
  EXPECT_EQ(Controller().Levels()[4], 1);
}

}  // namespace
