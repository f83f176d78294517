// SPDX-License-Identifier: GPL-3.0-or-later
#include "games/template_game.h"

#include "games/position_text.h"

using namespace gametemplate;

void TGameTemplate::NewPosition() { pos_ = RandomStart(zam::ProgramRandom()); }

void TGameTemplate::StartComputerMove() {
  moving_ = true;
  shell_.SetMoveTimer(true);
}

void TGameTemplate::TimerStep() {
  if (!moving_) return;  // a tick with no computer move under way
  moving_ = false;
  pos_ = Apply(pos_, ComputerMove(pos_, zam::ProgramRandom()));
  shell_.SetMoveTimer(false);
  shell_.RaiseEvent(ControllerEvent::EvComputerMoved);
}

void TGameTemplate::HandleMouse(const TBoardInput& input) {
  if (input.MouseAction != TInputKind::Press) return;
  PlayerMove(TMove{1});
}

void TGameTemplate::PlayerMove(const TMove& move) {
  if (!IsLegal(pos_, move)) {
    shell_.RaiseEvent(ControllerEvent::EvWrongMove);
    return;
  }
  pos_ = Apply(pos_, move);
  shell_.RaiseEvent(ControllerEvent::EvPlayerMoved);
}

int TGameTemplate::KeyMoveCount() const { return int(LegalMoves(pos_).size()); }

void TGameTemplate::PlayKeyMove(int index) { PlayerMove(LegalMoves(pos_).at(size_t(index))); }

std::string TGameTemplate::Describe() const { return position_text::Describe(pos_); }

std::string TGameTemplate::DescribeKeyMove(int index) const {
  return position_text::Describe(pos_, LegalMoves(pos_).at(size_t(index)));
}
