// SPDX-License-Identifier: GPL-3.0-or-later
#include "games/keycursor.h"

#include "games/GameModule.h"
#include "games/drag.h"

bool TKeyCursor::HandleKey(TGameModule& game, int key) {
  const int count = game.KeyMoveCount();
  switch (key) {
    case Qt::Key_Right:
    case Qt::Key_Down:
      if (count == 0) return true;
      index_ = (index_ + 1) % count;
      game.ShowKeyMove(index_);
      return true;
    case Qt::Key_Left:
    case Qt::Key_Up:
      if (count == 0) return true;
      index_ = index_ <= 0 ? count - 1 : index_ - 1;
      game.ShowKeyMove(index_);
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
      if (index_ < 0) {
        // Nothing shown yet: the first press shows the first move.
        if (count == 0) return true;
        index_ = 0;
        game.ShowKeyMove(index_);
      } else {
        // The cursor is used up before the move, which may end the turn
        // and call back into the shell.
        const int index = index_;
        index_ = -1;
        game.PlayKeyMove(index);
      }
      return true;
    case Qt::Key_Escape:
      Drop(game);
      return true;
    default:
      return false;
  }
}

void TKeyCursor::Drop(TGameModule& game) {
  if (index_ < 0) return;
  index_ = -1;
  game.ShowKeyMove(-1);
}

// The drag games: the gesture held over its target shows the move, the
// release plays it.
void TGameModule::ShowKeyMove(int index) {
  TDrag* drag = KeyDrag();
  if (!drag) return;
  if (index < 0) {
    drag->Cancel();
    return;
  }
  const TKeyGesture g = KeyGesture(index);
  drag->Hold(g.from, g.to);
}

void TGameModule::PlayKeyMove(int index) {
  TDrag* drag = KeyDrag();
  if (!drag) return;
  const TKeyGesture g = KeyGesture(index);
  drag->Hold(g.from, g.to);
  drag->HandleMouse({TInputKind::Release, g.to.x, g.to.y});
}
