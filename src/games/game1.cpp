#include "games/game1.h"

#include "shell/Random.h"

using coinboard::TCell;

namespace game1 {

TCell ComputerTarget(const TCell& from) {
  const int c = from.column, r = from.row;
  if (r < c) return {r, r};  // left onto the diagonal
  if (r > c) return {c, c};  // down onto the diagonal
  // On the diagonal no move is good: a random one.
  if (c <= 3) return zam::random(2) == 0 ? TCell{c - 1, r} : TCell{c, r - 1};
  const int k = zam::random(2 * (c - 2));
  const int s = k / 2 + 1;
  return k % 2 == 0 ? TCell{c - s, r} : TCell{c, r - s};
}

TCell RandomStart() {
  const int column = 15 - zam::random(8);
  const int row = 11 - zam::random(6);
  return {column, row};
}

}  // namespace game1

std::vector<coinboard::TrackSegment> TGame1::Tracks(const TCell& from) const {
  const int left = 40 * from.column, top = 440 - 40 * from.row;
  return {{-15, top, left + 10, top}, {left, top - 15, left, 460}};
}

void TGame1::Shift(TRect& r) const {
  if (coin_.row == target_.row) {
    r.Left -= 2;
    r.Right -= 2;
  } else {
    r.Top += 2;
    r.Bottom += 2;
  }
}
