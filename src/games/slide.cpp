// SPDX-License-Identifier: GPL-3.0-or-later
#include "games/slide.h"

#include "drawing/Unit2.h"

void TSlide::Start(const TRect& r, const TXBitmap& sprite) {
  rect_ = r;
  sprite_ = &sprite;
  shell_.SetMoveTimer(true);
}

void TSlide::Tick() {
  if (!sprite_) return;
  // The piece's old place is in the erase area already: the last tick marked
  // it, and before the first tick the piece's cell was emptied.
  compositor_.RestoreBackground();
  rect_ = board_.NextRect(rect_);
  compositor_.ComposeBitmap.Draw(rect_.Left, rect_.Top, *sprite_);
  compositor_.MarkDirty(rect_);
  compositor_.FlushScreen();
  if (board_.Arrived(rect_)) {
    shell_.SetMoveTimer(false);
    sprite_ = nullptr;
    board_.Land();
    shell_.RaiseEvent(ControllerEvent::EvComputerMoved);
  }
}
