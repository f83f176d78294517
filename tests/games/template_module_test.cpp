// The module a new game starts from, driven through the shell's seam alone.
#include <gtest/gtest.h>

#include "fake_shell.h"
#include "games/template_game.h"

namespace {

TEST(TemplateModule, ReportsItsMovesThroughTheSeam) {
  TFakeShell shell;
  TFakeBoard board;
  TGameTemplate game(shell, board.board, 0);
  zam::RandSeed(3);
  game.PrepareBoard();
  game.NewPosition();
  const int start = game.Position().Count;
  ASSERT_GE(start, 4);
  ASSERT_LE(start, 9);
  game.TimerStep();  // a tick with no computer move under way
  EXPECT_TRUE(shell.events.empty());
  game.HandleMouse(Press(100, 100));
  EXPECT_EQ(shell.events, std::vector<ControllerEvent>{ControllerEvent::EvPlayerMoved});
  EXPECT_EQ(game.Position().Count, start - 1);
  game.StartComputerMove();
  EXPECT_TRUE(shell.timer);
  game.TimerStep();
  EXPECT_FALSE(shell.timer);
  EXPECT_EQ(shell.events, (std::vector<ControllerEvent>{ControllerEvent::EvPlayerMoved,
                                                        ControllerEvent::EvComputerMoved}));
  EXPECT_EQ(game.Position().Count, start - 2);
}

}  // namespace
