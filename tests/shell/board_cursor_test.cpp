// SPDX-License-Identifier: GPL-3.0-or-later
// The board's cursor through the real window, in all nine games: the hand
// exactly while the pointer is over something the player may take or move,
// the arrow everywhere else, also after the pointer left the board from a
// piece and the game went on without it.
#include <optional>

#include "games/game4.h"
#include "shell/shell_fixture.h"

namespace {

class BoardCursor : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    // No button still held from an earlier test: Qt Test moves the real
    // pointer only while no button is down.
    for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
      QTest::mouseRelease(form->Label2, b);
  }
  Qt::CursorShape Cursor() const { return form->box1->cursor().shape(); }
  // The pointer goes to the button, then clicks it.
  void ClickThere(QPushButton* b) {
    const QPoint centre = b->rect().center();
    QTest::mouseMove(b, centre);
    QTest::mouseClick(b, Qt::LeftButton, {}, centre);
  }
  // The first board point, row by row, where the hover shows the hand.
  std::optional<QPoint> FindPiece() {
    for (int y = 4; y < 481; y += 6)
      for (int x = 4; x < 641; x += 6) {
        QTest::mouseMove(form->box1, {x, y});
        if (Cursor() == Qt::PointingHandCursor) return QPoint(x, y);
      }
    return std::nullopt;
  }
  // A point of the board that holds nothing in any game: a cell's margin
  // or bare ground.
  static constexpr QPoint kEmpty{2, 2};
};

// The pointer leaves the board straight from a piece, the player presses
// "menu" and "start": the board shows the arrow until the pointer comes
// onto a piece of the new game.
TEST_F(BoardCursor, MenuAndStartLeaveNoHandBehind) {
  for (int game = 0; game < 9; ++game) {
    SCOPED_TRACE(game + 1);
    ChooseGame(game);
    ClickThere(form->actionBtn);
    ASSERT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
    ASSERT_TRUE(FindPiece());
    ClickThere(form->stopBtn);
    ASSERT_EQ(Controller().GameState(), TGameState::GsMenu);
    EXPECT_EQ(Cursor(), Qt::ArrowCursor) << "in the menu";
    ClickThere(form->actionBtn);
    ASSERT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
    QTest::mouseMove(form->box1, kEmpty);
    EXPECT_EQ(Cursor(), Qt::ArrowCursor) << "on the new game's empty board";
    const std::optional<QPoint> piece = FindPiece();
    EXPECT_TRUE(piece) << "the hand over a piece of the new game";
    QTest::mouseMove(form->box1, kEmpty);
    EXPECT_EQ(Cursor(), Qt::ArrowCursor);
    ClickThere(form->stopBtn);
  }
}

// A new game started from the keyboard while the pointer rests on the
// board: the cursor at once shows what lies under the pointer.
TEST_F(BoardCursor, AStartUnderARestingPointer) {
  for (int game = 0; game < 9; ++game) {
    SCOPED_TRACE(game + 1);
    ChooseGame(game);
    // The same seed gives the same start position twice.
    zam::RandSeed(300 + uint32_t(game));
    ClickThere(form->actionBtn);
    const std::optional<QPoint> piece = FindPiece();
    ASSERT_TRUE(piece);
    ClickThere(form->stopBtn);
    for (const bool onPiece : {true, false}) {
      zam::RandSeed(300 + uint32_t(game));
      QTest::mouseMove(form->box1, onPiece ? *piece : kEmpty);
      ASSERT_EQ(Controller().GameState(), TGameState::GsMenu);
      form->actionBtn->setFocus();
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);  // "start"
      ASSERT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
      EXPECT_EQ(Cursor(), onPiece ? Qt::PointingHandCursor : Qt::ArrowCursor) << onPiece;
      ClickThere(form->stopBtn);
    }
  }
}

// The game goes on while the pointer is away from the board (a new
// position, the computer's move): back on an empty spot the pointer shows
// the arrow.
TEST_F(BoardCursor, APositionChangedBehindThePointersBack) {
  for (int game = 0; game < 9; ++game) {
    SCOPED_TRACE(game + 1);
    ChooseGame(game);
    zam::RandSeed(500 + uint32_t(game));
    ClickThere(form->actionBtn);
    ASSERT_TRUE(FindPiece());
    QTest::mouseMove(form->stopBtn, form->stopBtn->rect().center());
    Controller().GameModule(uint8_t(game))->NewPosition();  // what "nieuw spel" draws
    QTest::mouseMove(form->box1, kEmpty);
    EXPECT_EQ(Cursor(), Qt::ArrowCursor) << "after a new position";
    ASSERT_TRUE(FindPiece());
    ClickThere(form->compstartBtn);
    RunTimer();
    QTest::mouseMove(form->box1, kEmpty);
    EXPECT_EQ(Cursor(), Qt::ArrowCursor) << "after the computer's move";
    ClickThere(form->stopBtn);
    if (Controller().GameState() == TGameState::GsGameOver) ClickThere(form->stopBtn);
  }
}

// The computer wins with its first move while the hand was left on the
// board: the game is over, nothing can be taken, the board shows the arrow.
TEST_F(BoardCursor, AGameTheComputerEndsLeavesTheArrow) {
  ChooseGame(4);
  ClickThere(form->actionBtn);
  game4::TPosition p;  // X coins in cells 0 and 1, O coins in 2 and 20
  p.PlayerCell[0] = 0;
  p.PlayerCell[1] = 1;
  p.ComputerCell[0] = 2;
  p.ComputerCell[1] = 20;
  static_cast<TGame4*>(Controller().GameModule(4))->SetPosition(p);
  const TPoint coin = game4::CellCentre(0);
  QTest::mouseMove(form->box1, {coin.x + 3, coin.y + 2});
  QTest::mouseMove(form->box1, {coin.x, coin.y});
  ASSERT_EQ(Cursor(), Qt::PointingHandCursor);
  ClickThere(form->compstartBtn);
  RunTimer();
  ASSERT_EQ(Controller().GameState(), TGameState::GsGameOver);
  EXPECT_EQ(Cursor(), Qt::ArrowCursor);
}

}  // namespace
