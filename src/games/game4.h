// SPDX-License-Identifier: GPL-3.0-or-later
// Game 5's module: the ring of 24 cells around the board's centre, two O and
// two X coins on it. The player drags an X coin along its arc; the computer's
// O coin travels a degree a tick.
#pragma once

#include <cstdint>

#include "games/GameModule.h"
#include "games/drag.h"
#include "games/game4_rules.h"
#include "games/slide.h"

class TXBitmap;

namespace game4 {

// The angle of (x - 320, y - 240) in degrees, 0 <= angle < 360, clockwise on
// the screen from the right, in single precision.
float PolarDegrees(int x, int y);
// The centre of cell k (0..23) and its truncated angle, used for motion.
TPoint CellCentre(int k);
int CellAngle(int k);
TRect RingCellRect(int k);
// The cell a point lies on: radius strictly 181..229 and from 5.5 degrees
// before to 6.5 after the cell's centre direction; -1 when none.
int RingHit(int x, int y);
// Whether a point lies within the arc from low to high (exclusive, whole
// degrees; an arc with low > high crosses 0 degrees) and within tolerance
// of the middle circle (radius 205).
bool ArcTest(int x, int y, int low, int high, int tolerance);

}  // namespace game4

class TGame4 final : public TGameModule, private TDragBoard, private TSlideBoard {
 public:
  TGame4(TGameShell& shell, TBoard& board, uint8_t gameType)
      : TGameModule(shell, board, gameType),
        drag_(*this, shell, board, false),
        slide_(*this, shell, board) {}

  void PrepareBoard() override;
  void NewPosition() override;
  void StartComputerMove() override;
  void TimerStep() override { slide_.Tick(); }
  void HandleMouse(const TBoardInput& input) override { drag_.HandleMouse(input); }
  bool IsGameOver() override { return game4::IsFinal(pos_); }

  // Keyboard play: the rules' legal moves, each as a drag of its piece.
  int KeyMoveCount() const override;
  std::string Describe() const override;
  std::string DescribeKeyMove(int index) const override;

  // Shows the given position as a fresh start (NewPosition draws a random one).
  void SetPosition(const game4::TPosition& p);
  const game4::TPosition& Position() const { return pos_; }
  const game4::TComputerMove& ComputerChoice() const { return choice_; }
  // Where the computer's coin is drawn while it travels.
  const TRect& MovingRect() const { return slide_.Rect(); }
  uint8_t DragState() const { return drag_.DragState(); }
  int ArcLow() const { return arcLow_; }
  int ArcHigh() const { return arcHigh_; }

 protected:
  TDrag* KeyDrag() override { return &drag_; }
  TKeyGesture KeyGesture(int index) const override;

 private:
  void EraseCell(int k);
  void DrawInCell(int k, const TXBitmap& image);

  // The drag: a piece is X coin 1 or 2 (0-based).
  int PieceAt(int x, int y) const override;
  TPoint GrabOffset(int piece, int x, int y) const override;
  void SetTracks(int piece) override;
  bool OnTrack(int x, int y) const override;
  void LiftPiece(int piece) override;
  const TXBitmap& Sprite(int piece) const override;
  TPoint SpriteTopLeft(TPoint p) const override { return {p.x - 20, p.y - 20}; }
  void ClearStart(int piece) override;
  bool DropPiece(int piece, TPoint p) override;
  void PutBack(int piece) override;
  // The computer's coin, a degree a tick.
  TRect NextRect(const TRect& r) override;
  bool Arrived(const TRect& r) const override;
  void Land() override;

  game4::TPosition pos_;
  game4::TComputerMove choice_{{1, 0}, 1};
  int currentAngle_ = 0, targetAngle_ = 0;
  int arcLow_ = 0, arcHigh_ = 0;
  TDrag drag_;
  TSlide slide_;
};
