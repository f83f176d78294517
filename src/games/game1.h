// Game 2: one coin on the 16 x 12 board, moved left or down; whoever puts
// it in the green cell at the bottom left wins.
#pragma once

#include "games/coinboard.h"

namespace game1 {
// Good positions: the diagonal through the target.
inline bool IsGood(const coinboard::TCell& c) { return c.column == c.row; }
coinboard::TCell ComputerTarget(const coinboard::TCell& from);
coinboard::TCell RandomStart();  // columns 8..15, rows 6..11
}  // namespace game1

class TGame1 final : public TCoinGame {
 public:
  using TCoinGame::TCoinGame;

 protected:
  coinboard::TCell RandomStart() const override { return game1::RandomStart(); }
  coinboard::TCell ComputerTarget(const coinboard::TCell& from) const override {
    return game1::ComputerTarget(from);
  }
  std::vector<coinboard::TrackSegment> Tracks(const coinboard::TCell& from) const override;
  void Shift(TRect& r) const override;
};
