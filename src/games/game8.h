// SPDX-License-Identifier: GPL-3.0-or-later
// Game 9's module: a row of cans above a ball lane. The player knocks cans
// over with a click on a can (or on the border between two), or drags the
// ball along the lane and lets it go, so it rolls up into the cans; the
// computer's cans are framed, then removed.
#pragma once

#include <cstdint>

#include "base/geometry.h"
#include "games/GameModule.h"
#include "games/game8_rules.h"

class TGame8 final : public TGameModule {
 public:
  using TGameModule::TGameModule;

  void PrepareBoard() override;
  void NewPosition() override;
  void StartComputerMove() override;
  void TimerStep() override;
  void HandleMouse(const TBoardInput& input) override;
  bool IsGameOver() override { return game8::IsFinal({standing_}); }

  // Keyboard play: the rules' legal moves, each as the click that makes it.
  int KeyMoveCount() const override;
  void ShowKeyMove(int index) override;
  void PlayKeyMove(int index) override;
  std::string Describe() const override;
  std::string DescribeKeyMove(int index) const override;
  void ResetPlayerInput() override;
  // A thrown ball is on its way: the player's move is under way.
  bool Busy() const override { return ballState_ == 4; }

  // Shows the given cans as a fresh start (NewPosition draws them for the
  // player's level).
  void SetStanding(uint16_t standing);
  uint16_t Standing() const { return standing_; }
  uint16_t Candidate() const { return candidate_; }
  uint16_t Selected() const { return selected_; }
  uint16_t ComputerMask() const { return computerMask_; }
  uint8_t BallState() const { return ballState_; }
  const TRect& BallRect() const { return ballRect_; }

  // The can or pair under the pointer: 6..34 pixels into a place the can
  // there, 36 or more the pair to the right, 4 or less the pair to the left,
  // 5 and 35 (and a pair zone at the row's ends) the previous candidate.
  void HitCans(int x, int y);

 private:
  void EraseCan(int i);
  void DrawCan(int i);
  void FrameCans(uint16_t mask);
  void DrawBall(int x, int y);
  void KnockOver(uint16_t mask);
  uint16_t CansUnderBall() const;

  uint16_t standing_ = 0;
  uint16_t candidate_ = 0;
  uint16_t selected_ = 0;
  uint16_t computerMask_ = 0;
  uint16_t framed_ = 0;  // places that may show a frame in the picture
  TRect ballRect_{0, 350, 40, 390};
  uint8_t ballState_ = 0;  // 0 idle, 1 over the ball, 2 drag paused, 3 dragging, 4 thrown
  bool overBall_ = false;
  int grabOffsetX_ = 0;
  int tick_ = 0;
};
