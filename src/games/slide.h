// SPDX-License-Identifier: GPL-3.0-or-later
// The computer's piece on its way to its target cell, shared by the games
// whose pieces slide (games 2 to 8): each 10 ms tick the piece's old place
// is restored from the background, the piece is drawn a step further and
// only the two rectangles reach the screen; on arrival the timer stops, the
// piece lands in its cell and the controller hears EvComputerMoved.
#pragma once

#include "base/geometry.h"
#include "games/GameModule.h"

class TBoard;
class TXBitmap;

class TSlideBoard {
 public:
  virtual ~TSlideBoard() = default;
  // The piece's rectangle one tick further on.
  virtual TRect NextRect(const TRect& r) = 0;
  // Whether the piece at r has reached its target.
  virtual bool Arrived(const TRect& r) const = 0;
  // The piece put into its target cell on the background.
  virtual void Land() = 0;
};

class TSlide {
 public:
  TSlide(TSlideBoard& board, TGameShell& shell, TBoard& compositor)
      : board_(board), shell_(shell), compositor_(compositor) {}

  // The piece at r starts moving (it has already left the background).
  void Start(const TRect& r, const TXBitmap& sprite);
  // One tick; a tick with no piece under way does nothing.
  void Tick();
  bool Active() const { return sprite_ != nullptr; }
  const TRect& Rect() const { return rect_; }

 private:
  TSlideBoard& board_;
  TGameShell& shell_;
  TBoard& compositor_;
  const TXBitmap* sprite_ = nullptr;
  TRect rect_;
};
