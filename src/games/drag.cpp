// SPDX-License-Identifier: GPL-3.0-or-later
#include "games/drag.h"

#include <cmath>

#include "drawing/Unit2.h"

bool TrackTest(int x, int y, const TrackSegment& s, int d) {
  const float dx = float(s.bx - s.ax), dy = float(s.by - s.ay);
  const float L = dx * dx + dy * dy;
  const float t = L == 0 ? 1000.0f : ((float(x - s.ax)) * dx + (float(y - s.ay)) * dy) / L;
  if (!(t > 0 && t < 1)) return false;
  const float px = float(s.ax) + t * dx - float(x), py = float(s.ay) + t * dy - float(y);
  return std::sqrt(px * px + py * py) < float(d);
}

void TDrag::Reset() {
  dragState_ = 0;
  pointerValid_ = false;
  // The pointer may have left the board from a piece, taking no arrow with
  // it: with the hover forgotten the board shows the arrow again, so the
  // next hover over a piece switches to the hand.
  shell_.SetBoardCursor(Qt::ArrowCursor);
}

void TDrag::Hold(TPoint from, TPoint to) {
  Cancel();
  HandleMouse({TInputKind::Move, from.x, from.y});
  HandleMouse({TInputKind::Press, from.x, from.y});
  HandleMouse({TInputKind::Move, to.x, to.y});  // the piece leaves its cell
  HandleMouse({TInputKind::Move, to.x, to.y});  // and is shown over its target
}

void TDrag::Cancel() {
  if (dragState_ == 0) return;
  board_.ClearStart(piece_);
  board_.PutBack(piece_);
  EndDrag();
}

// The piece has been put down: the screen shows the board as it now is,
// and the drag is over.
void TDrag::EndDrag() {
  compositor_.RestoreBackground();
  compositor_.FlushScreen();
  Reset();
}

void TDrag::HandleMouse(const TBoardInput& input) {
  const int x = input.MouseX, y = input.MouseY;
  switch (input.MouseAction) {
    case TInputKind::Move:
      if (dragState_ == 0) {
        piece_ = board_.PieceAt(x, y);
        const bool onPiece = piece_ >= 0;
        if (onPiece != pointerValid_)
          shell_.SetBoardCursor(onPiece ? Qt::PointingHandCursor : Qt::ArrowCursor);
        pointerValid_ = onPiece;
      } else if (dragState_ == 1) {
        board_.LiftPiece(piece_);
        pointerValid_ = firstMoveTestsPointer_ ? board_.OnTrack(x, y)
                                               : board_.OnTrack(x - grab_.x, y - grab_.y);
        dragState_ = 2;
      } else {
        compositor_.RestoreBackground();
        const TPoint p{x - grab_.x, y - grab_.y};
        pointerValid_ = board_.OnTrack(p.x, p.y);
        if (!pointerValid_) return;  // the screen keeps the piece at its last place
        const TPoint at = board_.SpriteTopLeft(p);
        const TXBitmap& sprite = board_.Sprite(piece_);
        compositor_.ComposeBitmap.Draw(at.x, at.y, sprite);
        compositor_.MarkDirty({at.x, at.y, at.x + sprite.Width(), at.y + sprite.Height()});
        compositor_.FlushScreen();
      }
      break;
    case TInputKind::Press:
      if (dragState_ != 0 || !pointerValid_) return;
      grab_ = board_.GrabOffset(piece_, x, y);
      dragState_ = 1;
      board_.SetTracks(piece_);
      break;
    case TInputKind::Release: {
      if (dragState_ == 0) return;
      board_.ClearStart(piece_);
      const bool moved = pointerValid_ && board_.DropPiece(piece_, {x - grab_.x, y - grab_.y});
      if (!moved) board_.PutBack(piece_);
      EndDrag();
      shell_.RaiseEvent(moved ? ControllerEvent::EvPlayerMoved : ControllerEvent::EvWrongMove);
      break;
    }
    default:
      break;
  }
}
