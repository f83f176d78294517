// SPDX-License-Identifier: GPL-3.0-or-later
// The board of games 4 and 6: two or three rows of 16 cells on a strip, an
// O coin and an X coin in each row. The player drags an X coin along its
// row; the computer slides an O coin. The two games differ only by data:
// their rows, where the rows lie, and their rules.
#pragma once

#include <cstdint>

#include "base/Random.h"
#include "games/GameModule.h"
#include "games/drag.h"
#include "games/rows_rules.h"
#include "games/slide.h"

class TXBitmap;

namespace rowboard {

struct TRowGeometry {
  int rows;      // 2 or 3
  int firstTop;  // top of row 1: 200 (game 4) or 180 (game 6)
};

TRect CellRect(const TRowGeometry& g, int column, int row);  // row 1..rows
// The cell whose inner part (offsets 6..34) holds the point, if any.
bool HitCell(const TRowGeometry& g, int x, int y, int& column, int& row);

struct TRowRules {
  TRowGeometry geometry;
  rows::TMove (*ComputerMove)(const rows::TPosition&, TRandom&);
  rows::TPosition (*RandomStart)(TRandom&);
};

}  // namespace rowboard

class TRowGame : public TGameModule, private TDragBoard, private TSlideBoard {
 public:
  TRowGame(TGameShell& shell, TBoard& board, uint8_t gameType, const rowboard::TRowRules& rules)
      : TGameModule(shell, board, gameType),
        rules_(rules),
        drag_(*this, shell, board, true),
        slide_(*this, shell, board) {
    pos_.rows = uint8_t(rules.geometry.rows);
  }

  void PrepareBoard() override;
  void NewPosition() override;
  void StartComputerMove() override;
  void TimerStep() override { slide_.Tick(); }
  void HandleMouse(const TBoardInput& input) override { drag_.HandleMouse(input); }
  bool IsGameOver() override { return rows::IsFinal(pos_); }

  // Keyboard play: the rules' legal moves, each as a drag of its piece.
  int KeyMoveCount() const override;
  std::string Describe() const override;
  std::string DescribeKeyMove(int index) const override;

  // Shows the given position as a fresh start (NewPosition draws a random one).
  void SetPosition(const rows::TPosition& p);
  const rows::TPosition& Position() const { return pos_; }
  const rows::TMove& ComputerTarget() const { return target_; }
  uint8_t DragState() const { return drag_.DragState(); }
  TRect CellRect(int column, int row) const {
    return rowboard::CellRect(rules_.geometry, column, row);
  }

 protected:
  TDrag* KeyDrag() override { return &drag_; }
  TKeyGesture KeyGesture(int index) const override;

 private:
  void EraseCell(int column, int row);
  void DrawInCell(int column, int row, const TXBitmap& image);

  // The drag.
  int PieceAt(int x, int y) const override;
  TPoint GrabOffset(int piece, int x, int y) const override;
  void SetTracks(int piece) override;
  bool OnTrack(int x, int y) const override;
  void LiftPiece(int piece) override;
  const TXBitmap& Sprite(int piece) const override;
  TPoint SpriteTopLeft(TPoint p) const override { return p; }
  void ClearStart(int piece) override;
  bool DropPiece(int piece, TPoint p) override;
  void PutBack(int piece) override;
  // The computer's slide.
  TRect NextRect(const TRect& r) override;
  bool Arrived(const TRect& r) const override;
  void Land() override;

  const rowboard::TRowRules& rules_;
  rows::TPosition pos_;
  rows::TMove target_{1, 0};
  TrackSegment track_{0, 0, 0, 0};
  TDrag drag_;
  TSlide slide_;
};
