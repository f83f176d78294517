#include "games/game2.h"

#include <algorithm>

#include "shell/Random.h"

using coinboard::TCell;

namespace game2 {

const std::array<TCell, 11> GoodCells = {
    {{0, 0}, {1, 2}, {2, 1}, {3, 5}, {4, 7}, {5, 3}, {6, 10}, {7, 4}, {10, 6}, {13, 8}, {15, 9}}};

bool IsGood(const TCell& c) {
  return std::find(GoodCells.begin(), GoodCells.end(), c) != GoodCells.end();
}

std::vector<int> ReachableGood(const TCell& from) {
  const int c = from.column, r = from.row;
  std::vector<int> found;
  for (int n = 1; n <= 11 && found.size() < 3; ++n) {
    const TCell& e = GoodCells[size_t(n - 1)];
    if ((c == e.column && r > e.row) || (r == e.row && c > e.column) ||
        (r - e.row == c - e.column && c - e.column > 0))
      found.push_back(n);
  }
  return found;
}

TCell ComputerTarget(const TCell& from) {
  const int c = from.column, r = from.row;
  if (IsGood(from)) {
    // No good move: a random diagonal step.
    const int m = std::min(c, r);
    const int s = zam::random(m - 1) + 1;
    return {c - s, r - s};
  }
  const std::vector<int> reachable = ReachableGood(from);
  if (reachable.empty()) return from;  // cannot happen: every good cell is listed
  if (reachable.front() == 1) return {0, 0};
  const int k = zam::random(int(reachable.size()));
  return GoodCells[size_t(reachable[size_t(k)] - 1)];
}

TCell RandomStart() {
  while (true) {
    const int column = 15 - zam::random(12);
    const int row = 11 - zam::random(8);
    if (column != row) return {column, row};
  }
}

}  // namespace game2

std::vector<coinboard::TrackSegment> TGame2::Tracks(const TCell& from) const {
  const int left = 40 * from.column, top = 440 - 40 * from.row;
  const coinboard::TrackSegment diagonal =
      from.column <= from.row ? coinboard::TrackSegment{left + 10, top - 10, -10, top + left + 10}
                              : coinboard::TrackSegment{left + 10, top - 10, left + top - 450, 450};
  return {{-15, top, left + 10, top}, {left, top - 15, left, 460}, diagonal};
}

void TGame2::Shift(TRect& r) const {
  if (coin_.column != target_.column) {
    r.Left -= 2;
    r.Right -= 2;
  }
  if (coin_.row != target_.row) {
    r.Top += 2;
    r.Bottom += 2;
  }
}
