// SPDX-License-Identifier: GPL-3.0-or-later
// Game 7's module: 2 to 5 coins in one row, any of them dragged left by the
// player or slid left by the computer.
#pragma once

#include <cstdint>

#include "games/GameModule.h"
#include "games/drag.h"
#include "games/game6_rules.h"
#include "games/slide.h"

class TXBitmap;

class TGame6 final : public TGameModule, private TDragBoard, private TSlideBoard {
 public:
  TGame6(TGameShell& shell, TBoard& board, uint8_t gameType)
      : TGameModule(shell, board, gameType),
        drag_(*this, shell, board, true),
        slide_(*this, shell, board) {}

  void PrepareBoard() override;
  void NewPosition() override;
  void StartComputerMove() override;
  void TimerStep() override { slide_.Tick(); }
  void HandleMouse(const TBoardInput& input) override { drag_.HandleMouse(input); }
  bool IsGameOver() override { return game6::IsFinal(pos_); }

  // Keyboard play: the rules' legal moves, each as a drag of its piece.
  int KeyMoveCount() const override;
  std::string Describe() const override;
  std::string DescribeKeyMove(int index) const override;

  // Shows the given position as a fresh start (NewPosition draws one for the
  // player's level).
  void SetPosition(const game6::TPosition& p);
  const game6::TPosition& Position() const { return pos_; }
  const game6::TMove& ComputerTarget() const { return target_; }
  uint8_t DragState() const { return drag_.DragState(); }

 protected:
  TDrag* KeyDrag() override { return &drag_; }
  TKeyGesture KeyGesture(int index) const override;

 private:
  // Draws the image into a cell of the background and shows it at once.
  void DrawInCell(int column, const TXBitmap& image);

  // The drag: a piece is a slot 2..6.
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
  TRect NextRect(const TRect& r) override { return Offset(r, -2, 0); }
  bool Arrived(const TRect& r) const override;
  void Land() override;

  game6::TPosition pos_;
  game6::TMove target_{6, 0};
  TrackSegment track_{0, 0, 0, 0};
  TDrag drag_;
  TSlide slide_;
};
