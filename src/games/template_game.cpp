#include "games/template_game.h"

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
  const TMove move{1};
  if (!IsLegal(pos_, move)) {
    shell_.RaiseEvent(ControllerEvent::EvWrongMove);
    return;
  }
  pos_ = Apply(pos_, move);
  shell_.RaiseEvent(ControllerEvent::EvPlayerMoved);
}
