// A long seeded session of random clicks, drags, keys and timer ticks on the
// real main window: whatever the order, the program keeps a valid state and
// never touches memory it does not own (run under the sanitizers in CI).
#include <random>

#include "games/coinboard.h"
#include "shell/shell_fixture.h"

namespace {

TEST_F(ShellTest, RandomSessionKeepsAValidState) {
  std::mt19937 rng(424242);
  auto pick = [&](int n) { return int(rng() % uint32_t(n)); };
  QPushButton* buttons[] = {form->actionBtn, form->compstartBtn, form->stopBtn};
  int computerMoves = 0, gamesOver = 0;
  uint8_t last = GameState;
  for (int step = 0; step < 20000; ++step) {
    const int action = pick(10);
    switch (action) {
      case 0:
        if (form->gameselbtn->isEnabled()) ChooseGame(pick(4) == 0 ? pick(9) : pick(3));
        break;
      case 1:
        Click(buttons[pick(3)]);
        break;
      case 2:
      case 3: {
        const QPoint p(pick(700) - 30, pick(540) - 30);
        QTest::mouseMove(form->box1, p);
        break;
      }
      case 4:
        QTest::mousePress(form->box1, pick(2) ? Qt::LeftButton : Qt::RightButton, {},
                          QPoint(pick(641), pick(481)));
        break;
      case 5:
        QTest::mouseRelease(form->box1, Qt::LeftButton, {}, QPoint(pick(700) - 30, pick(540) - 30));
        break;
      case 6:
        for (int t = pick(200); t > 0 && form->Timer1.isActive(); --t) form->Timer1Timer();
        break;
      case 7:
        if (form->namebox->isEnabled()) {
          form->namebox->setFocus();
          QTest::keyClicks(form->namebox->lineEdit(), QString(QChar('a' + pick(26))));
          if (pick(4) == 0) QTest::keyClick(form->namebox->lineEdit(), Qt::Key_Return);
        }
        break;
      case 8:
        form->Timer1Timer();  // a tick with or without a move under way
        break;
      default:
        // Something a player would try: a block of game 1, or a drag of the
        // coin towards some cell.
        if (GameState == GsPlayerToMove && GameType == 0) {
          ClickBoard(BlockCentre(1 + pick(2), 1 + pick(12)));
        } else if (GameState == GsPlayerToMove && (GameType == 1 || GameType == 2)) {
          auto& game = *static_cast<TCoinGame*>(GameModule(GameType));
          const TRect from = coinboard::CellRect(game.Coin());
          const QPoint a(from.Left + 20, from.Top + 20);
          const QPoint b(40 * pick(16) + 20, 40 * pick(12) + 20);
          QTest::mouseMove(form->box1, a + QPoint(1, 1));
          QTest::mouseMove(form->box1, a);
          QTest::mousePress(form->box1, Qt::LeftButton, {}, a);
          for (int i = 1; i <= 8; ++i) QTest::mouseMove(form->box1, a + (b - a) * i / 8);
          QTest::mouseRelease(form->box1, Qt::LeftButton, {}, b);
        } else {
          ClickBoard(QPoint(pick(641), pick(481)));
        }
        break;
    }
    ASSERT_LE(GameState, GsGameOver);
    ASSERT_TRUE(GameType == 255 || GameType < 9);
    for (uint8_t level : Levels) ASSERT_LE(level, 5);
    ASSERT_EQ(form->Timer1.isActive(), GameState == GsComputerMoving) << step;
    if (GameState != last) {
      computerMoves += GameState == GsComputerMoving;
      gamesOver += GameState == GsGameOver;
      last = GameState;
    }
  }
  // The session really played.
  EXPECT_GT(computerMoves, 20);
  EXPECT_GT(gamesOver, 3);
}

}  // namespace
