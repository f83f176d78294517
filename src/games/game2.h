// Game 3: game 2's board, the coin moved left, down or diagonally down-left.
#pragma once

#include <array>

#include "games/coinboard.h"

namespace game2 {
// The good cells of the board, in the order the computer scans them.
extern const std::array<coinboard::TCell, 11> GoodCells;
bool IsGood(const coinboard::TCell& c);
// The good cells one move away, by their numbers 1..11 in GoodCells.
std::vector<int> ReachableGood(const coinboard::TCell& from);
coinboard::TCell ComputerTarget(const coinboard::TCell& from);
coinboard::TCell RandomStart();  // columns 4..15, rows 4..11, never on the diagonal
}  // namespace game2

class TGame2 final : public TCoinGame {
 public:
  using TCoinGame::TCoinGame;

 protected:
  coinboard::TCell RandomStart() const override { return game2::RandomStart(); }
  coinboard::TCell ComputerTarget(const coinboard::TCell& from) const override {
    return game2::ComputerTarget(from);
  }
  std::vector<coinboard::TrackSegment> Tracks(const coinboard::TCell& from) const override;
  void Shift(TRect& r) const override;
};
