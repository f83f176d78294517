// SPDX-License-Identifier: GPL-3.0-or-later
// Game 8's module: coins in one row leaving at the exit cell on the left,
// onto a pile below it; whoever drops the euro coin out wins.
#pragma once

#include <cstdint>

#include "games/GameModule.h"
#include "games/drag.h"
#include "games/game7_rules.h"
#include "games/slide.h"

class TXBitmap;

class TGame7 final : public TGameModule, private TDragBoard, private TSlideBoard {
 public:
  TGame7(TGameShell& shell, TBoard& board, uint8_t gameType)
      : TGameModule(shell, board, gameType),
        drag_(*this, shell, board, true),
        slide_(*this, shell, board) {}

  void PrepareBoard() override;
  void NewPosition() override;
  void StartComputerMove() override;
  void TimerStep() override { slide_.Tick(); }
  void HandleMouse(const TBoardInput& input) override { drag_.HandleMouse(input); }
  bool IsGameOver() override { return game7::IsFinal(pos_); }

  // Keyboard play: the rules' legal moves, each as a drag of its piece.
  int KeyMoveCount() const override;
  std::string Describe() const override;
  std::string DescribeKeyMove(int index) const override;
  void ResetPlayerInput() override {}  // the drag is idle again after every release

  // Shows the given position as a fresh start (NewPosition draws one for the
  // player's level).
  void SetPosition(const game7::TPosition& p);
  const game7::TPosition& Position() const { return pos_; }
  const game7::TMove& ComputerTarget() const { return target_; }
  int FallenCount() const { return fallen_; }
  uint8_t DragState() const { return drag_.DragState(); }

 protected:
  TDrag* KeyDrag() override { return &drag_; }
  TKeyGesture KeyGesture(int index) const override;

 private:
  const TXBitmap& ImageOf(int coin) const;
  // A coin into a cell of the background, shown at once; column 0 drops the
  // coin onto the pile.
  void PlaceCoin(int column, int coin, bool ring);
  void DropOntoPile(int coin);
  void ClearPile();

  // The drag: a piece is a coin 1..CoinCount.
  int PieceAt(int x, int y) const override;
  TPoint GrabOffset(int piece, int x, int y) const override;
  void SetTracks(int piece) override;
  bool OnTrack(int x, int y) const override;
  void LiftPiece(int piece) override;
  const TXBitmap& Sprite(int piece) const override { return ImageOf(piece); }
  TPoint SpriteTopLeft(TPoint p) const override { return p; }
  void ClearStart(int piece) override;
  bool DropPiece(int piece, TPoint p) override;
  void PutBack(int piece) override;
  // The computer's slide.
  TRect NextRect(const TRect& r) override { return Offset(r, -2, 0); }
  bool Arrived(const TRect& r) const override;
  void Land() override;

  game7::TPosition pos_;
  game7::TMove target_{1, 0};
  int fallen_ = 0;  // coins on the pile since the last new position
  TrackSegment track_{0, 0, 0, 0};
  TDrag drag_;
  TSlide slide_;
};
