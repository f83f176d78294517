// SPDX-License-Identifier: GPL-3.0-or-later
// Game 1's module: the two columns of blocks on the board, the player's
// click on a block, and the computer's blocks crossed and taken one by one.
#pragma once

#include <cstdint>

#include "base/geometry.h"
#include "games/GameModule.h"
#include "games/game0_rules.h"

namespace game0 {
// Board geometry and hit test.
TRect BlockRect(int column, int row);
struct THit {
  bool found;
  int column, row;
};
THit HitBlock(const TPosition& p, int x, int y);
}  // namespace game0

class TGame0 final : public TGameModule {
 public:
  using TGameModule::TGameModule;

  void PrepareBoard() override;
  void NewPosition() override;
  void StartComputerMove() override;
  void TimerStep() override;
  void HandleMouse(const TBoardInput& input) override;
  bool IsGameOver() override;

  // Keyboard play: the rules' legal moves, each as the click that makes it.
  int KeyMoveCount() const override;
  void ShowKeyMove(int index) override;
  void PlayKeyMove(int index) override;
  std::string Describe() const override;
  std::string DescribeKeyMove(int index) const override;

  // Shows the given position as a fresh start (NewPosition draws a random one).
  void SetPosition(const game0::TPosition& p);
  const game0::TPosition& Position() const { return pos_; }
  int BlocksToTake() const { return toTake_; }
  int ComputerColumn() const { return compColumn_; }

 private:
  void DrawBlock(int column, int row);
  void EraseBlock(int column, int row);
  void CrossBlock(int column, int row);
  void CrossBlocks();
  void UncrossBlocks();
  TPoint KeyMoveBlock(const game0::TMove& m) const;
  void TakeBlocks();

  game0::TPosition pos_{{0, 0}};
  int selColumn_ = 1, selRow_ = 1;
  bool hoverValid_ = false;
  bool pressed_ = false;
  int compColumn_ = 1;
  int toTake_ = 0;
  int ticks_ = 0;
  bool moving_ = false;  // a computer move is being shown
};
