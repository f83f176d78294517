// SPDX-License-Identifier: GPL-3.0-or-later
// The player's drag of a piece, shared by every game whose pieces slide
// (games 2 to 8): the hover with the hand-point cursor, the press on a
// piece with its grab offset, the ring left in the start cell at the first
// move, the piece drawn while it lies on a track, and the release turned
// into a move that the game's rules confirm, or the piece put back.
//
// The game supplies the geometry through TDragBoard: which piece the pointer
// is on, the tracks (straight segments, or an arc on the ring of game 5),
// where the dragged piece is drawn and how a drop becomes a move.
#pragma once

#include <cstdint>

#include "base/geometry.h"
#include "games/GameModule.h"

class TBoard;
class TXBitmap;

// Whether (x, y) lies within d of the segment A-B, strictly between its
// ends, in single precision; a segment of zero length never passes.
struct TrackSegment {
  int ax, ay, bx, by;
};
bool TrackTest(int x, int y, const TrackSegment& segment, int d);

class TDragBoard {
 public:
  virtual ~TDragBoard() = default;
  // The piece under the pointer that the player may move, or -1.
  virtual int PieceAt(int x, int y) const = 0;
  // The press point relative to the piece's reference point.
  virtual TPoint GrabOffset(int piece, int x, int y) const = 0;
  // At the press: fixes the tracks the piece may follow.
  virtual void SetTracks(int piece) = 0;
  // Whether a point lies on one of the tracks set at the press.
  virtual bool OnTrack(int x, int y) const = 0;
  // At the first move: the piece leaves its cell, the ring marks it.
  virtual void LiftPiece(int piece) = 0;
  // The image of the dragged piece and its top-left for the reference
  // point p (pointer minus grab offset).
  virtual const TXBitmap& Sprite(int piece) const = 0;
  virtual TPoint SpriteTopLeft(TPoint p) const = 0;
  // At the release: the ring's cell is cleared, then the piece lands where
  // p puts it when that is a legal move (true), or goes back (false).
  virtual void ClearStart(int piece) = 0;
  virtual bool DropPiece(int piece, TPoint p) = 0;
  virtual void PutBack(int piece) = 0;
};

class TDrag {
 public:
  // firstMoveTestsPointer: the first move after the press tests the raw
  // pointer against the tracks (the coin games) instead of the reference
  // point (the ring of game 5).
  TDrag(TDragBoard& board, TGameShell& shell, TBoard& compositor, bool firstMoveTestsPointer)
      : board_(board),
        shell_(shell),
        compositor_(compositor),
        firstMoveTestsPointer_(firstMoveTestsPointer) {}

  // One board mouse event (press, move or release); keys are not its.
  void HandleMouse(const TBoardInput& input);
  // Back to idle without drawing (a new position), the arrow cursor on the
  // board.
  void Reset();
  // Keyboard play: the gesture of a player who takes the piece under `from`
  // and holds it over `to` (the ring in its cell, the piece shown there),
  // and the piece put back without a move.
  void Hold(TPoint from, TPoint to);
  void Cancel();

  uint8_t DragState() const { return dragState_; }  // 0 idle, 1 pressed, 2 dragging
  int Piece() const { return piece_; }
  bool PointerValid() const { return pointerValid_; }

 private:
  void EndDrag();

  TDragBoard& board_;
  TGameShell& shell_;
  TBoard& compositor_;
  bool firstMoveTestsPointer_;
  uint8_t dragState_ = 0;
  int piece_ = -1;
  TPoint grab_;
  bool pointerValid_ = false;
};
