// SPDX-License-Identifier: GPL-3.0-or-later
// The module of a game to start a new one from (see README.md in this
// folder). It draws nothing: a press anywhere on the board takes a counter,
// and the computer's move ends at the next tick. A real game draws its
// board into BackgroundBitmap, and drags and slides its pieces with TDrag
// and TSlide (see coinboard.h).
//
// Keyboard play and the screen reader's words are part of every game: the
// key moves are the rules' legal moves in their order, a key move is played
// through the same path as the mouse gesture that makes it, and the position
// and a move are told in words by position_text.
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

  // Keyboard play. A game whose pieces are dragged overrides KeyDrag and
  // KeyGesture instead of ShowKeyMove and PlayKeyMove (see coinboard.h); a
  // game whose pieces are clicked marks the chosen ones in ShowKeyMove (see
  // game0.h). The template has no pieces to mark.
  int KeyMoveCount() const override;
  void ShowKeyMove(int) override {}
  void PlayKeyMove(int index) override;
  std::string Describe() const override;
  std::string DescribeKeyMove(int index) const override;

  const gametemplate::TPosition& Position() const { return pos_; }

 private:
  // The player's move, from the mouse or the keys.
  void PlayerMove(const gametemplate::TMove& move);

  gametemplate::TPosition pos_;
  bool moving_ = false;  // a computer move is under way
};
