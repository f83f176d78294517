// SPDX-License-Identifier: GPL-3.0-or-later
// The 16 x 12 grid of the coin games (games 2 and 3): cell geometry, the
// board drawing and the cell painting, and the module both games are: one
// coin dragged by the player along its tracks and slid by the computer,
// with the rules of the game deciding every move.
#pragma once

#include <cstdint>
#include <vector>

#include "games/GameModule.h"
#include "games/drag.h"
#include "games/game1_rules.h"
#include "games/slide.h"

class TBoard;
class TXBitmap;

namespace coinboard {

using game1::TCell;

TRect CellRect(const TCell& cell);
// The cell whose inner part (offsets 6..34) holds the point, if any.
bool HitCell(int x, int y, TCell& cell);

// Board drawing and cell painting, into BackgroundBitmap.
void DrawBoard(TBoard& board);
void EraseCell(TBoard& board, const TCell& cell);
void DrawInCell(TBoard& board, const TXBitmap& image, const TCell& cell);

// What tells games 2 and 3 apart: their rules, and whether the coin may also
// be dragged along the diagonal.
struct TCoinRules {
  std::vector<game1::TMove> (*LegalMoves)(const game1::TPosition&);
  bool (*IsLegal)(const game1::TPosition&, const game1::TMove&);
  bool (*IsFinal)(const game1::TPosition&);
  game1::TMove (*ComputerMove)(const game1::TPosition&, TRandom&);
  game1::TPosition (*RandomStart)(TRandom&);
  bool diagonalTrack;
};

// The drag tracks from a cell: left and down, and the diagonal down-left.
std::vector<TrackSegment> Tracks(const TCell& from, bool diagonal);

}  // namespace coinboard

class TCoinGame : public TGameModule, private TDragBoard, private TSlideBoard {
 public:
  TCoinGame(TGameShell& shell, TBoard& board, uint8_t gameType, const coinboard::TCoinRules& rules)
      : TGameModule(shell, board, gameType),
        rules_(rules),
        drag_(*this, shell, board, true),
        slide_(*this, shell, board) {}

  void PrepareBoard() override;
  void NewPosition() override;
  void StartComputerMove() override;
  void TimerStep() override { slide_.Tick(); }
  void HandleMouse(const TBoardInput& input) override { drag_.HandleMouse(input); }
  bool IsGameOver() override { return rules_.IsFinal(pos_); }

  // Keyboard play: the rules' legal moves, each as a drag of its piece.
  int KeyMoveCount() const override;
  std::string Describe() const override;
  std::string DescribeKeyMove(int index) const override;

  // Puts the coin in a cell as a fresh start (NewPosition picks one at random).
  void SetCoin(const coinboard::TCell& cell);
  const coinboard::TCell& Coin() const { return pos_.CoinPos; }
  const coinboard::TCell& Target() const { return target_; }
  uint8_t DragState() const { return drag_.DragState(); }

 protected:
  TDrag* KeyDrag() override { return &drag_; }
  TKeyGesture KeyGesture(int index) const override;

 private:
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

  const coinboard::TCoinRules& rules_;
  game1::TPosition pos_;
  coinboard::TCell target_;
  std::vector<TrackSegment> tracks_;
  TDrag drag_;
  TSlide slide_;
};
