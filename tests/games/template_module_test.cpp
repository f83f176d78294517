// SPDX-License-Identifier: GPL-3.0-or-later
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

// Keyboard play goes the mouse's way: the key move is the rules' legal
// move, reported through the same seam; the position and the move are told
// in words.
TEST(TemplateModule, PlaysByKeyAndTellsThePosition) {
  TFakeShell shell;
  TFakeBoard board;
  TGameTemplate game(shell, board.board, 0);
  zam::RandSeed(3);
  game.NewPosition();
  const int start = game.Position().Count;
  EXPECT_EQ(game.Describe(), std::to_string(start) + " fiches op het bord.");
  ASSERT_EQ(game.KeyMoveCount(), 1);
  EXPECT_EQ(game.DescribeKeyMove(0), "neem 1 fiche");
  game.ShowKeyMove(0);
  EXPECT_TRUE(shell.events.empty());
  game.PlayKeyMove(0);
  EXPECT_EQ(shell.events, std::vector<ControllerEvent>{ControllerEvent::EvPlayerMoved});
  EXPECT_EQ(game.Position().Count, start - 1);
  for (int i = 0; i < 10 && game.Position().Count > 1; ++i) game.PlayKeyMove(0);
  EXPECT_EQ(game.Describe(), "1 fiche op het bord.");
  game.PlayKeyMove(0);
  EXPECT_TRUE(game.IsGameOver());
  EXPECT_EQ(game.KeyMoveCount(), 0);
}

}  // namespace
