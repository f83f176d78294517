// The 16 x 12 board of the coin games (games 2 and 3), and the pieces every
// game with a dragged coin shares: cell geometry, the track test of the drag
// protocol, the drag itself and the computer's sliding coin.
#pragma once

#include <cstdint>
#include <vector>

#include "drawing/Xbitmap.h"
#include "games/GameModule.h"

class TXBitmap;

namespace coinboard {

struct TCell {
  int column = 0;
  int row = 0;  // counted from the bottom
  bool operator==(const TCell&) const = default;
};

struct TrackSegment {
  int ax, ay, bx, by;
};

TRect CellRect(const TCell& cell);
// The cell whose inner part (offsets 6..34) holds the point, if any.
bool HitCell(int x, int y, TCell& cell);
// Whether (x, y) lies within d of the segment, strictly between its ends.
bool TrackTest(int x, int y, const TrackSegment& segment, int d);

// Board drawing and cell painting, into BackgroundBitmap.
void DrawBoard();
void EraseCell(const TCell& cell);
void DrawInCell(const TXBitmap& image, const TCell& cell);

}  // namespace coinboard

// A game with one coin on the 16 x 12 board: the drag protocol of the
// player's move, the computer's sliding coin and the new-position steps.
// Subclasses give the rules: the tracks a dragged coin may follow, the
// start cells and the computer's target.
class TCoinGame : public TGameModule {
 public:
  using TGameModule::TGameModule;

  void PrepareBoard() override;
  void NewPosition() override;
  void StartComputerMove() override;
  void TimerStep() override;
  void HandleMouse() override;
  bool IsGameOver() override { return coin_ == coinboard::TCell{0, 0}; }

  // Puts the coin in a cell as a fresh start (NewPosition picks one at random).
  void SetCoin(const coinboard::TCell& cell);
  const coinboard::TCell& Coin() const { return coin_; }
  const coinboard::TCell& Target() const { return target_; }
  uint8_t DragState() const { return dragState_; }

 protected:
  virtual coinboard::TCell RandomStart() const = 0;
  virtual coinboard::TCell ComputerTarget(const coinboard::TCell& from) const = 0;
  virtual std::vector<coinboard::TrackSegment> Tracks(const coinboard::TCell& from) const = 0;
  // One tick of the computer's coin: 2 pixels left and/or down.
  virtual void Shift(TRect& r) const = 0;

  coinboard::TCell coin_;
  coinboard::TCell target_;

 private:
  bool OnTrack(int x, int y) const;

  uint8_t dragState_ = 0;
  int grabX_ = 0, grabY_ = 0;
  bool pointerValid_ = false;
  std::vector<coinboard::TrackSegment> tracks_;
  TRect moving_{0, 0, 0, 0};
};
