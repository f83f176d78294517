// The module of a game to start a new one from (see README.md in this
// folder). It draws nothing: a press anywhere on the board takes a counter,
// and the computer's move ends at the next tick. A real game draws its
// board into BackgroundBitmap, and drags and slides its pieces with TDrag
// and TSlide (see coinboard.h).
#pragma once

#include "games/GameModule.h"
#include "games/template_rules.h"

class TGameTemplate final : public TGameModule {
 public:
  using TGameModule::TGameModule;

  void PrepareBoard() override {}
  void NewPosition() override;
  void StartComputerMove() override;
  void TimerStep() override;
  void HandleMouse(const TBoardInput& input) override;
  bool IsGameOver() override { return gametemplate::IsFinal(pos_); }

  const gametemplate::TPosition& Position() const { return pos_; }

 private:
  gametemplate::TPosition pos_;
  bool moving_ = false;  // a computer move is under way
};
