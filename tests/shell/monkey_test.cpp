// SPDX-License-Identifier: GPL-3.0-or-later
// A long seeded session of random clicks, drags, keys and timer ticks on the
// real main window. Whatever the order, the program keeps the controller's
// rules: states change only along the controller's table, levels change only
// with a game's end, the screen shows exactly the composed picture, the
// picture is the background wherever nothing moves, and the hall of fame it
// saves at the end reads back valid. Run under the sanitizers in CI too.
#include <random>
#include <set>

#include "games/coinboard.h"
#include "games/game4.h"
#include "games/game6.h"
#include "games/game7.h"
#include "games/game8.h"
#include "games/rowboard.h"
#include "halloffame/hall_fixture.h"
#include "shell/shell_fixture.h"

namespace {

// The controller's transitions (from, to).
const std::set<std::pair<TGameState, TGameState>> kTransitions = {
    {TGameState::GsMenu, TGameState::GsPlayerToMove},
    {TGameState::GsPlayerToMove, TGameState::GsComputerMoving},
    {TGameState::GsPlayerToMove, TGameState::GsGameOver},
    {TGameState::GsPlayerToMove, TGameState::GsMenu},
    {TGameState::GsComputerMoving, TGameState::GsPlayerToMove},
    {TGameState::GsComputerMoving, TGameState::GsGameOver},
    {TGameState::GsGameOver, TGameState::GsPlayerToMove},
    {TGameState::GsGameOver, TGameState::GsMenu},
};

// What the level of the game in play must be after a transition.
int ExpectedLevel(int before, TGameState from, TGameState to) {
  if (from == TGameState::GsPlayerToMove && to == TGameState::GsGameOver)
    return std::min(before + 1, 5);
  if (from == TGameState::GsComputerMoving && to == TGameState::GsGameOver)
    return std::max(before - 1, 0);
  if (from == TGameState::GsPlayerToMove && to == TGameState::GsMenu)
    return std::max(before - 1, 0);
  return before;
}

// Whether something is on its way across the board (the computer's move or
// a dragged coin), so that the picture may differ from the background.
bool SomethingMoves(TForm1& form) {
  if (form.Timer1.isActive()) return true;
  if (form.Controller().GameType() == 1 || form.Controller().GameType() == 2)
    return static_cast<TCoinGame*>(form.Controller().GameModule(form.Controller().GameType()))
               ->DragState() != 0;
  if (form.Controller().GameType() == 3 || form.Controller().GameType() == 5)
    return static_cast<TRowGame*>(form.Controller().GameModule(form.Controller().GameType()))
               ->DragState() != 0;
  if (form.Controller().GameType() == 4)
    return static_cast<TGame4*>(form.Controller().GameModule(form.Controller().GameType()))
               ->DragState() != 0;
  if (form.Controller().GameType() == 6)
    return static_cast<TGame6*>(form.Controller().GameModule(form.Controller().GameType()))
               ->DragState() != 0;
  if (form.Controller().GameType() == 7)
    return static_cast<TGame7*>(form.Controller().GameModule(form.Controller().GameType()))
               ->DragState() != 0;
  if (form.Controller().GameType() ==
      8) {  // the ball on its way, or cans framed on the picture only
    const auto& game =
        *static_cast<TGame8*>(form.Controller().GameModule(form.Controller().GameType()));
    return game.BallState() >= 2 || game.Selected() != 0;
  }
  return false;
}

// A press on a from, moves in eight steps to b, a release there.
void DragOnBoard(TForm1& form, QPoint a, QPoint b) {
  QTest::mouseMove(form.box1, a + QPoint(1, 1));
  QTest::mouseMove(form.box1, a);
  QTest::mousePress(form.box1, Qt::LeftButton, {}, a);
  for (int i = 1; i <= 8; ++i) QTest::mouseMove(form.box1, a + (b - a) * i / 8);
  QTest::mouseRelease(form.box1, Qt::LeftButton, {}, b);
}

TEST_F(ShellTest, RandomSessionKeepsTheProgramsRules) {
  std::mt19937 rng(424242);
  auto pick = [&](int n) { return int(rng() % uint32_t(n)); };
  QPushButton* buttons[] = {form->actionBtn, form->compstartBtn, form->stopBtn};
  int computerMoves = 0, gamesOver = 0, pictureChecks = 0;
  TGameState last = Controller().GameState();
  // The session ticks the move timer itself; a real 10 ms tick slipping in
  // while Qt Test delivers a click would make the steps depend on the clock.
  form->Timer1.setInterval(24 * 3600 * 1000);
  // A named player, so the session's games reach the hall of fame (later
  // letters typed in the menu make new names).
  form->namebox->setFocus();
  QTest::keyClicks(form->namebox->lineEdit(), QStringLiteral("zam"));
  QTest::keyClick(form->namebox->lineEdit(), Qt::Key_Return);
  ASSERT_TRUE(Controller().SignedIn());
  for (int step = 0; step < 20000; ++step) {
    uint8_t levelsBefore[9];
    std::copy(Controller().Levels(), Controller().Levels() + 9, levelsBefore);
    const uint8_t typeBefore = Controller().GameType();
    const int action = pick(10);
    switch (action) {
      case 0:
        if (form->gameselbtn->isEnabled()) ChooseGame(pick(9));
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
      case 6: {
        // Ticks until the state changes (a throw of game 9 ends in the
        // player's turn, then the computer's move starts on the same timer).
        const TGameState before = Controller().GameState();
        for (int t = pick(200);
             t > 0 && form->Timer1.isActive() && Controller().GameState() == before; --t)
          form->Timer1Timer();
        break;
      }
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
        if (Controller().GameState() == TGameState::GsPlayerToMove &&
            Controller().GameType() == 0) {
          ClickBoard(BlockCentre(1 + pick(2), 1 + pick(12)));
        } else if (Controller().GameState() == TGameState::GsPlayerToMove &&
                   (Controller().GameType() == 1 || Controller().GameType() == 2)) {
          auto& game = *static_cast<TCoinGame*>(Controller().GameModule(Controller().GameType()));
          const TRect from = coinboard::CellRect(game.Coin());
          DragOnBoard(*form, {from.Left + 20, from.Top + 20},
                      {40 * pick(16) + 20, 40 * pick(12) + 20});
        } else if (Controller().GameState() == TGameState::GsPlayerToMove &&
                   (Controller().GameType() == 3 || Controller().GameType() == 5)) {
          auto& game = *static_cast<TRowGame*>(Controller().GameModule(Controller().GameType()));
          const int row = 1 + pick(game.Position().rows);
          const TRect from = game.CellRect(game.Position().PlayerColumn[row - 1], row);
          const TRect to = game.CellRect(pick(16), row);
          DragOnBoard(*form, {from.Left + 20, from.Top + 20}, {to.Left + 20, to.Top + 20});
        } else if (Controller().GameState() == TGameState::GsPlayerToMove &&
                   Controller().GameType() == 4) {
          auto& game = *static_cast<TGame4*>(Controller().GameModule(Controller().GameType()));
          const TPoint from = game4::CellCentre(game.Position().PlayerCell[pick(2)]);
          const TPoint to = game4::CellCentre(pick(24));
          DragOnBoard(*form, {from.x, from.y}, {to.x, to.y});
        } else if (Controller().GameState() == TGameState::GsPlayerToMove &&
                   (Controller().GameType() == 6 || Controller().GameType() == 7)) {
          std::vector<int> columns;
          if (Controller().GameType() == 6) {
            for (int8_t c : static_cast<TGame6*>(Controller().GameModule(6))->Position().CoinColumn)
              if (c >= 0) columns.push_back(c);
          } else {
            const auto& p = static_cast<TGame7*>(Controller().GameModule(7))->Position();
            for (int k = 0; k < p.CoinCount; ++k) columns.push_back(p.CoinColumn[k]);
          }
          const int from = columns[size_t(pick(int(columns.size())))];
          DragOnBoard(*form, {40 * from + 20, 240}, {40 * pick(16) + 20, 240});
        } else if (Controller().GameState() == TGameState::GsPlayerToMove &&
                   Controller().GameType() == 8) {
          const TRect ball = static_cast<TGame8*>(Controller().GameModule(8))->BallRect();
          if (pick(2) == 0)
            ClickBoard(QPoint(40 * pick(16) + pick(40), 185 + pick(50)));
          else
            DragOnBoard(*form, {std::min(ball.Left + 20, 639), 370}, {1 + pick(639), 370});
        } else {
          ClickBoard(QPoint(pick(641), pick(481)));
        }
        break;
    }
    ASSERT_LE(Controller().GameState(), TGameState::GsGameOver);
    ASSERT_TRUE(Controller().GameType() == 255 || Controller().GameType() < 9);
    // The move timer runs for the computer's move, and for game 9's thrown
    // ball during the player's turn.
    const bool throwing = Controller().GameType() == 8 &&
                          static_cast<TGame8*>(Controller().GameModule(8))->BallState() == 4;
    ASSERT_EQ(form->Timer1.isActive(),
              Controller().GameState() == TGameState::GsComputerMoving || throwing)
        << step;
    const bool changed = Controller().GameState() != last;
    if (changed) {
      ASSERT_TRUE(kTransitions.count({last, Controller().GameState()}))
          << step << ": " << int(last) << " -> " << int(Controller().GameState());
      computerMoves += Controller().GameState() == TGameState::GsComputerMoving;
      gamesOver += Controller().GameState() == TGameState::GsGameOver;
    }
    // Outside the menu (where signing in sets the levels) a level moves only
    // with a game's end, by one, within 0..5.
    if (last != TGameState::GsMenu) {
      for (int t = 0; t < 9; ++t) {
        const int expected = t == typeBefore
                                 ? ExpectedLevel(levelsBefore[t], last, Controller().GameState())
                                 : levelsBefore[t];
        ASSERT_EQ(Controller().Levels()[t], expected) << step << " game " << t + 1;
      }
    }
    for (uint8_t level : Controller().Levels()) ASSERT_LE(level, 5);
    last = Controller().GameState();
    // The pictures, at every change of state and now and then between.
    if (changed || step % 25 == 0) {
      ++pictureChecks;
      // (While a piece is dragged off its track the screen keeps it at its
      // last place on the track, until the next flush.)
      if (!SomethingMoves(*form)) {
        ASSERT_EQ(FirstDifference(form->box1->Surface(), form->Board().ComposeBitmap),
                  QPoint(-1, -1))
            << step;
      }
      // (In the menu the start picture may still be up, drawn over no board.)
      // (Game 8's pile of dropped coins lives in the picture only.)
      if (Controller().GameState() != TGameState::GsMenu && !SomethingMoves(*form)) {
        // (Game 9's ball is never part of the background either.)
        const TRect pile = Controller().GameType() == 7 ? TRect{0, 300, 40, 400}
                           : Controller().GameType() == 8
                               ? static_cast<TGame8*>(Controller().GameModule(8))->BallRect()
                               : TRect{};
        ASSERT_EQ(
            FirstDifference(form->Board().ComposeBitmap, form->Board().BackgroundBitmap, pile),
            QPoint(-1, -1))
            << step;
      }
    }
  }
  // The session really played.
  EXPECT_GT(computerMoves, 20);
  EXPECT_GT(gamesOver, 3);
  EXPECT_GT(pictureChecks, 800);

  // The hall of fame it leaves behind: whole records, each with a valid
  // checksum, a name of letters, levels 0..5 and not all 0, best first.
  // One more player who surely wins, so the file holds at least one record.
  RunTimer();
  Click(form->stopBtn);
  ASSERT_EQ(Controller().GameState(), TGameState::GsMenu);
  form->namebox->setFocus();
  form->namebox->lineEdit()->clear();
  QTest::keyClicks(form->namebox->lineEdit(), QStringLiteral("winner"));
  ChooseGame(0);
  Click(form->actionBtn);
  ASSERT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
  Game1().SetPosition({{1, 0}});
  ClickBoard(BlockCentre(1, 1));
  ASSERT_EQ(Status(), QStringLiteral("je hebt gewonnen !"));
  int stored = 0;
  const TRanking& table = form->HallOfFame().Ranking();
  for (int k = 1; k <= table.Count(); ++k) stored += table.Slot(k).levels != 0;
  form.reset();
  const QByteArray file = ReadFile();
  ASSERT_EQ(file.size(), 56 * stored);
  ASSERT_GT(stored, 0);
  int previousTotal = 225;
  for (int i = 0; i < file.size() / 56; ++i) {
    const QByteArray rec = file.mid(56 * i, 56);
    const int nameLength = uint8_t(rec[0]), passwordLength = uint8_t(rec[11]);
    ASSERT_GE(nameLength, 1);
    ASSERT_LE(nameLength, 10);
    ASSERT_LE(passwordLength, 20);
    const std::string name(rec.constData() + 1, size_t(nameLength));
    for (char c : name) ASSERT_TRUE(c >= 'a' && c <= 'z') << name;
    uint32_t levels = 0;
    for (int k = 0; k < 4; ++k) levels |= uint32_t(uint8_t(rec[32 + k])) << (8 * k);
    uint32_t checksum = 0;
    for (int k = 0; k < 4; ++k) checksum |= uint32_t(uint8_t(rec[48 + k])) << (8 * k);
    EXPECT_EQ(
        checksum,
        TestRecordChecksum(name, std::string(rec.constData() + 12, size_t(passwordLength)), levels))
        << name;
    ASSERT_NE(levels, 0u) << name;
    ASSERT_EQ(levels >> 27, 0u) << name;
    int total = 0;
    for (int t = 0; t < 9; ++t) {
      const int level = int(levels >> (3 * t) & 7);
      ASSERT_LE(level, 5) << name;
      total += (t + 1) * level;
    }
    EXPECT_LE(total, previousTotal) << name;
    previousTotal = total;
  }
}

}  // namespace
