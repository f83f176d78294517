// SPDX-License-Identifier: GPL-3.0-or-later
// Game 9 on the real board: pointing at cans and pairs, the click move, the
// ball dragged along its lane and thrown, the computer's framed cans, and
// "computer begint" or "menu" while the ball is in the air.
#include "games/game8.h"
#include "shell/shell_fixture.h"

namespace {

constexpr uint32_t kOrange = 0xFF8000;  // the frames, as a pixel value

class CansBoard : public ShellTest {
 protected:
  void Start(uint16_t standing) {
    ChooseGame(8);
    Click(form->actionBtn);
    ASSERT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
    Game().SetStanding(standing);
  }
  TGame8& Game() { return *static_cast<TGame8*>(Controller().GameModule(8)); }
  void Move(QPoint p) { QTest::mouseMove(form->box1, p); }
  // The ball taken and dragged along the lane so that its left edge snaps to
  // `left`, then let go. The ball snaps to multiples of 20 (rounding toward
  // zero) while the pointer stays strictly inside the lane, x 1..639, so the
  // ends need a grab near one side of the ball.
  void Throw(int left) {
    const TRect b = Game().BallRect();
    auto snap = [](int v) { return (v + 10) / 20 * 20; };
    int grab = 0, x = 0;
    for (int g : {20, 2, 38})
      for (int px = 1; px <= 639 && grab == 0; ++px)
        if (snap(px - g) == left) {
          grab = g;
          x = px;
        }
    ASSERT_NE(grab, 0) << left;
    const QPoint press(b.Left + grab, 370);
    Move(press + QPoint(grab > 20 ? -1 : 1, 0));
    Move(press);
    QTest::mousePress(form->box1, Qt::LeftButton, {}, press);
    const QPoint to(x, 370);
    for (int i = 1; i <= 10; ++i) Move(press + (to - press) * i / 10);
    QTest::mouseRelease(form->box1, Qt::LeftButton, {}, to);
  }
  const TXBitmap& Screen() { return form->box1->Surface(); }
  // The can's body, inside where a frame is drawn round it.
  bool CanShown(int i) {
    for (int y = 10; y < 50; ++y)
      for (int x = 8; x < 32; ++x)
        if (Screen().GetPixel(40 * i + x, 180 + y) != PieceImages().CanSprite.GetPixel(x, y))
          return false;
    return true;
  }
};

// Where the pointer is (after where it was) and what it points at.
TEST_F(CansBoard, PointingAtCansAndPairs) {
  Start(0xFFFF & ~(1u << 9));  // every can but the one in place 9
  struct Case {
    int before, x;  // x at y = 210; `before` first (or -1)
    uint16_t candidate;
  } cases[] = {
      {-1, 120 + 6, 1u << 3},
      {-1, 120 + 34, 1u << 3},  // a single can: 6..34
      {-1, 120 + 36, 3u << 3},
      {-1, 120 + 39, 3u << 3},  // 36 or more: the pair to the right
      {-1, 120 + 0, 3u << 2},
      {-1, 120 + 4, 3u << 2},  // 4 or less: the pair to the left
      {120 + 20, 120 + 5, 1u << 3},
      {120 + 38, 120 + 35, 3u << 3},  // 5 and 35 keep it
      {260, 2, 1u << 6},              // the left edge of place 0 keeps it too
      {260, 600 + 37, 1u << 6},       // 36 or more into place 15
      {-1, 640, 0},                   // the rightmost column: nothing
      {-1, 320 + 38, 0},              // the pair 8-9: can 9 has fallen
      {-1, 360 + 20, 0},              // the fallen can itself
      {-1, 0 + 20, 1u << 0},
  };
  for (const Case& c : cases) {
    Move({5, 300});  // off the row: no candidate
    if (c.before >= 0) Move({c.before, 210});
    Move({c.x, 210});
    EXPECT_EQ(Game().Candidate(), c.candidate) << c.before << " then " << c.x;
    EXPECT_EQ(Game().Selected(), c.candidate) << c.before << " then " << c.x;
  }
  // The framed candidate on the board: an orange rounded frame round can 3.
  Move({5, 300});
  Move({140, 210});
  EXPECT_EQ(Screen().GetPixel(120 + 3, 210), kOrange);
  EXPECT_EQ(form->box1->cursor().shape(), Qt::PointingHandCursor);
  Move({140, 300});
  EXPECT_NE(Screen().GetPixel(120 + 3, 210), kOrange);
  EXPECT_EQ(form->box1->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(CansBoard, AClickKnocksOverAtThePress) {
  Start(0x0FF0);
  Move({5, 300});
  Move({200, 210});  // between cans 4 and 5
  QTest::mousePress(form->box1, Qt::LeftButton, {}, {200, 210});
  EXPECT_EQ(Game().Standing() & 0x0030, 0);  // (the computer has chosen its cans too)
  EXPECT_FALSE(CanShown(4));
  EXPECT_FALSE(CanShown(5));
  EXPECT_TRUE(CanShown(6));
  EXPECT_EQ(Controller().GameState(), TGameState::GsComputerMoving);
  QTest::mouseRelease(form->box1, Qt::LeftButton, {}, {200, 210});
}

TEST_F(CansBoard, ThrowsFromACanAndFromBetweenTwo) {
  struct Case {
    int left;
    uint16_t knocked;
  } cases[] = {{160, 1u << 4}, {180, 3u << 4}, {-20, 1u << 0}, {620, 1u << 15}};
  for (const Case& c : cases) {
    Start(0xFFFF);
    Throw(c.left);
    ASSERT_EQ(Game().BallState(), 4) << c.left;
    EXPECT_EQ(Game().BallRect().Left, c.left);
    int knockedAt = 0, goneAt = 0, ticks = 0;
    uint16_t standing = 0xFFFF;
    while (form->Timer1.isActive() && Controller().GameState() == TGameState::GsPlayerToMove &&
           ticks < 500) {
      form->Timer1Timer();
      ++ticks;
      if (!knockedAt && Game().Standing() != 0xFFFF) {
        knockedAt = ticks;
        standing = Game().Standing();
      }
      if (!goneAt && knockedAt &&
          !ShowsImage(Screen(), c.left, Game().BallRect().Top, PieceImages().BallSprite))
        goneAt = ticks;
    }
    EXPECT_EQ(knockedAt, 86) << c.left;  // 2 pixels a tick from y 350 to 178
    EXPECT_EQ(goneAt, 86 + 25) << c.left;
    EXPECT_EQ(ticks, 86 + 75) << c.left;
    EXPECT_EQ(standing, 0xFFFF ^ c.knocked) << c.left;
    EXPECT_EQ(Controller().GameState(), TGameState::GsComputerMoving) << c.left;
    EXPECT_TRUE(ShowsImage(Screen(), c.left, 350, PieceImages().BallSprite))
        << c.left;  // back on the lane
    RunTimer();
    Click(form->stopBtn);
  }
}

TEST_F(CansBoard, AThrowThatHitsNothingAndADragThatLeavesTheLane) {
  Start(0x0F00);  // cans 8..11
  Throw(640);     // the right end of the lane: no can
  RunTimer();
  EXPECT_EQ(Status(), QStringLiteral("foute zet ... opnieuw"));
  EXPECT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
  EXPECT_EQ(Game().Standing(), 0x0F00);
  // Thrown from the lane's right end, x 640, where no pointer could get
  // inside it again, the ball comes back one place left.
  EXPECT_EQ(Game().BallRect(), (TRect{620, 350, 660, 390}));
  // Take it back left; the pointer leaves the lane on the way: the ball waits
  // until the pointer is over it again.
  Move({638, 370});
  Move({639, 370});
  QTest::mousePress(form->box1, Qt::LeftButton, {}, {639, 370});  // grabbed 19 pixels in
  Move({580, 370});
  EXPECT_EQ(Game().BallRect().Left, 560);
  Move({500, 300});  // off the lane
  EXPECT_EQ(Game().BallState(), 2);
  Move({400, 370});  // back on the lane, but not over the ball
  EXPECT_EQ(Game().BallRect().Left, 560);
  Move({580, 370});  // over the ball: the drag goes on
  EXPECT_EQ(Game().BallState(), 3);
  Move({360, 370});
  EXPECT_EQ(Game().BallRect().Left, 340);
  QTest::mouseRelease(form->box1, Qt::LeftButton, {}, {360, 370});
  uint16_t standing = Game().Standing();
  while (form->Timer1.isActive() && Controller().GameState() == TGameState::GsPlayerToMove) {
    form->Timer1Timer();
    if (Game().Standing() != 0x0F00) standing = Game().Standing();
    if (standing != 0x0F00) break;
  }
  EXPECT_EQ(standing, 0x0F00 & ~0x0300);  // cans 8 and 9
}

TEST_F(CansBoard, TheComputerFramesThenRemoves) {
  Start(0x0007);  // three cans: the winning moves take the middle one
  Click(form->compstartBtn);
  EXPECT_EQ(Game().ComputerMask(), 1u << 1);
  for (int t = 1; t <= 29; ++t) form->Timer1Timer();
  EXPECT_NE(Screen().GetPixel(40 + 3, 210), kOrange);
  form->Timer1Timer();  // tick 30
  EXPECT_EQ(Screen().GetPixel(40 + 3, 210), kOrange);
  EXPECT_TRUE(CanShown(1));
  for (int t = 31; t <= 59; ++t) form->Timer1Timer();
  EXPECT_TRUE(CanShown(1));
  EXPECT_EQ(Controller().GameState(), TGameState::GsComputerMoving);
  form->Timer1Timer();  // tick 60
  EXPECT_FALSE(CanShown(1));
  EXPECT_NE(Screen().GetPixel(40 + 3, 210), kOrange);
  EXPECT_FALSE(form->Timer1.isActive());
  EXPECT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
}

TEST_F(CansBoard, AWonAndALostGame) {
  Start(0x0001);
  SetLevel(8, 2);
  Move({5, 300});
  Move({20, 210});
  QTest::mousePress(form->box1, Qt::LeftButton, {}, {20, 210});
  QTest::mouseRelease(form->box1, Qt::LeftButton, {}, {20, 210});
  EXPECT_EQ(Status(), QStringLiteral("je hebt gewonnen !"));
  EXPECT_EQ(Controller().Levels()[8], 3);
  Click(form->actionBtn);
  Game().SetStanding(0x0018);  // two cans side by side: the computer takes both
  Click(form->compstartBtn);
  RunTimer();
  EXPECT_EQ(Status(), QStringLiteral("computer heeft gewonnen"));
  EXPECT_EQ(Controller().Levels()[8], 2);
}

// While the ball is in the air the player's move is under way: "computer
// begint" and "menu" wait for it, and the throw ends as it would have.
TEST_F(CansBoard, ButtonsWaitForTheBallInTheAir) {
  Start(0x00F0);
  Throw(200);  // can 5
  for (int t = 0; t < 40; ++t) form->Timer1Timer();
  Click(form->compstartBtn);
  Click(form->stopBtn);
  EXPECT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
  EXPECT_EQ(Game().BallState(), 4);
  const auto [ticks, most] = RunTimerMeasured();
  EXPECT_GT(ticks, 0);
  EXPECT_EQ(Game().Standing() & (1u << 5), 0u);
  EXPECT_FALSE(CanShown(5));
  EXPECT_TRUE(ShowsImage(Screen(), 200, 350, PieceImages().BallSprite));
  // Now the buttons act again: the computer has taken its turn by now.
  EXPECT_TRUE(Controller().GameState() == TGameState::GsPlayerToMove ||
              Controller().GameState() == TGameState::GsGameOver);
  Click(form->stopBtn);
  EXPECT_EQ(Controller().GameState(), TGameState::GsMenu);
}

}  // namespace
