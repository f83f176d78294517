// SPDX-License-Identifier: GPL-3.0-or-later
// The whole program, end to end: a named player wins every one of the nine
// games through the real window, with mouse events and timer ticks only.
// The player's moves come from solvers written here from the rules of each
// game (not from the program's strategy); the player lets the computer
// begin where the start position is lost for the side to move. Afterwards
// the hall of fame holds the player with level 1 in every game: 45 points.
#include <cmath>

#include "halloffame/hall_fixture.h"
#include "shell/shell_fixture.h"
#include "shell/solvers.h"

namespace {

using namespace solvers;

// ---- the session ------------------------------------------------------------------

class AllGames : public ShellTest {
 protected:
  QPoint At(double degrees, double r = 205) {
    const double a = degrees * 3.14159265358979 / 180.0;
    return {int(std::lround(320 + r * std::cos(a))), int(std::lround(240 + r * std::sin(a)))};
  }
  // Game 5: a coin dragged along the ring by `turn` degrees.
  void RingDrag(int cell, double turn) {
    const TPoint c = game4::CellCentre(cell);
    const QPoint from(c.x, c.y);
    QTest::mouseMove(form->box1, from + QPoint(2, 2));
    QTest::mouseMove(form->box1, from);
    QTest::mousePress(form->box1, Qt::LeftButton, {}, from);
    QPoint to = from;
    const double start = game4::CellAngle(cell);
    for (int i = 1; i <= 40; ++i) QTest::mouseMove(form->box1, to = At(start + turn * i / 40));
    QTest::mouseRelease(form->box1, Qt::LeftButton, {}, to);
  }
  // Game 9: the ball thrown from under a can (left 40c) or two (40c + 20).
  void Throw(int left) {
    const TRect b = static_cast<TGame8*>(Controller().GameModule(8))->BallRect();
    const QPoint grab(b.Left + 20, 370), to(left + 20, 370);
    QTest::mouseMove(form->box1, grab + QPoint(1, 0));
    QTest::mouseMove(form->box1, grab);
    QTest::mousePress(form->box1, Qt::LeftButton, {}, grab);
    for (int i = 1; i <= 10; ++i) QTest::mouseMove(form->box1, grab + (to - grab) * i / 10);
    QTest::mouseRelease(form->box1, Qt::LeftButton, {}, to);
  }

  // Whether the position on the board is lost for the side to move, and
  // the player's winning move made with the mouse.
  bool StartIsLost(int type) { return judge.StartIsLost(Controller(), type); }
  void PlayWinningMove(int type);

  TJudge judge;
  TSolver<Cell>& game2 = judge.game2;
  TSolver<Cell>& game3 = judge.game3;
  TSolver<std::vector<int>>& game7 = judge.game7;
  TSolver<Euro>& game8 = judge.game8;
  TSolver<uint16_t>& game9 = judge.game9;
  bool thrown = false;
};

void AllGames::PlayWinningMove(int type) {
  switch (type) {
    case 0: {  // equal columns: the block above the shorter column's height
      const auto h = Game1().Position().ColumnHeights;
      const int column = h[0] > h[1] ? 1 : 2, keep = std::min(h[0], h[1]);
      ClickBoard(BlockCentre(column, keep + 1));
      break;
    }
    case 1:
    case 2: {
      const Cell from = CoinOf(Controller(), type);
      const auto to = (type == 1 ? game2 : game3).Winning(from);
      ASSERT_TRUE(to.has_value());
      auto centre = [](Cell c) {
        const TRect r = coinboard::CellRect({c.first, c.second});
        return QPoint(r.Left + 20, r.Top + 20);
      };
      DragBoard(centre(from), centre(*to));
      break;
    }
    case 3:
    case 5: {  // a row's X coin left, to leave heaps whose xor is 0
      auto& game = *static_cast<TRowGame*>(Controller().GameModule(uint8_t(type)));
      const std::vector<int> h = Heaps(Controller(), type);
      const int s = Xor(h);
      for (int r = 0; r < int(h.size()); ++r) {
        const int want = h[size_t(r)] ^ s;
        if (want >= h[size_t(r)]) continue;
        const int from = game.Position().PlayerColumn[r];
        const int to = game.Position().ComputerColumn[r] + 1 + want;
        const TRect a = game.CellRect(from, r + 1), b = game.CellRect(to, r + 1);
        DragBoard({a.Left + 20, a.Top + 20}, {b.Left + 20, b.Top + 20});
        return;
      }
      FAIL() << "no winning row";
    }
    case 4: {  // make the contested gaps equal
      const auto [a, b] = Gaps(Controller());
      const auto& p = static_cast<TGame4*>(Controller().GameModule(4))->Position();
      if (a > b)
        RingDrag(p.PlayerCell[1], 15.0 * (a - b));  // X coin 2 forward
      else
        RingDrag(p.PlayerCell[0], -15.0 * (b - a));  // X coin 1 back
      break;
    }
    case 6: {
      const std::vector<int> from = Columns7(Controller());
      const auto to = game7.Winning(from);
      ASSERT_TRUE(to.has_value());
      for (size_t i = 0; i < from.size(); ++i)
        if (from[i] != (*to)[i]) DragBoard({40 * from[i] + 20, 240}, {40 * (*to)[i] + 20, 240});
      break;
    }
    case 7: {
      const Euro from = Position8(Controller());
      const auto to = game8.Winning(from);
      ASSERT_TRUE(to.has_value());
      // The coin that moved: the first whose column differs (or the first,
      // gone out of the row).
      size_t i = 0;
      if (to->first.size() == from.first.size())
        while (from.first[i] == to->first[i]) ++i;
      const int target = to->first.size() < from.first.size() ? 0 : to->first[i];
      DragBoard({40 * from.first[i] + 20, 240}, {40 * target + 20, 240});
      break;
    }
    default: {
      const uint16_t from = static_cast<TGame8*>(Controller().GameModule(8))->Standing();
      const auto to = game9.Winning(from);
      ASSERT_TRUE(to.has_value());
      const uint16_t knocked = from ^ *to;
      const int first = __builtin_ctz(knocked);
      const bool pair = (knocked >> first) == 3;
      if (!thrown) {  // the first move of game 9 with the ball
        thrown = true;
        Throw(40 * first + (pair ? 20 : 0));
      } else {
        const QPoint p(pair ? 40 * first + 40 : 40 * first + 20, 210);
        QTest::mouseMove(form->box1, {p.x(), 300});
        QTest::mouseMove(form->box1, p);
        QTest::mousePress(form->box1, Qt::LeftButton, {}, p);
        QTest::mouseRelease(form->box1, Qt::LeftButton, {}, p);
      }
      break;
    }
  }
}

TEST_F(AllGames, ANamedPlayerWinsEveryGame) {
  QTest::mouseClick(form->namebox, Qt::LeftButton);
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Winner"));
  for (int type = 0; type < 9; ++type) {
    SCOPED_TRACE(type + 1);
    ChooseGame(type);
    Click(form->actionBtn);
    ASSERT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
    ASSERT_FALSE(Controller().Anonymous());
    if (StartIsLost(type)) {
      Click(form->compstartBtn);
      RunTimer();
    }
    for (int moves = 0; Controller().GameState() == TGameState::GsPlayerToMove && moves < 60;
         ++moves) {
      ASSERT_FALSE(StartIsLost(type)) << "the player to move faces a lost position";
      PlayWinningMove(type);
      ASSERT_NE(Status(), QStringLiteral("foute zet ... opnieuw"));
      RunTimer();
    }
    ASSERT_EQ(Controller().GameState(), TGameState::GsGameOver);
    ASSERT_EQ(Status(), QStringLiteral("je hebt gewonnen !"));
    ASSERT_EQ(Controller().Levels()[type], 1);
    Click(form->stopBtn);  // back to the menu
  }
  EXPECT_TRUE(thrown);
  EXPECT_EQ(form->totalscore->text(), QStringLiteral("45"));
  form.reset();  // the program ends: the hall of fame is written
  const QByteArray file = ReadFile();
  ASSERT_EQ(file.size(), 56);
  EXPECT_EQ(file.mid(0, 7), QByteArray("\x06Winner", 7));
  uint32_t levels = 0;
  for (int k = 0; k < 4; ++k) levels |= uint32_t(uint8_t(file[32 + k])) << (8 * k);
  uint32_t ones = 0;
  for (int t = 0; t < 9; ++t) ones |= 1u << (3 * t);
  EXPECT_EQ(levels, ones);
  int total = 0;
  for (int t = 0; t < 9; ++t) total += (t + 1) * int(levels >> (3 * t) & 7);
  EXPECT_EQ(total, 45);
}

}  // namespace
