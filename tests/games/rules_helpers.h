// Helpers for the rules tests, which run without Qt: a generator that gives
// every sequence of answers in turn, and a solver that decides positions
// from the moves alone.
#pragma once

#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "base/Random.h"

namespace testing_zam {

// Answers random(n) from a fixed list of choices, then 0; records every call.
class TReplayRandom final : public TRandom {
 public:
  explicit TReplayRandom(std::vector<std::pair<int, int>> path) : path_(std::move(path)) {}
  int random(int n) override {
    if (n < 1) return 0;
    if (next_ < path_.size()) {
      path_[next_].second = n;
      return path_[next_++].first;
    }
    path_.push_back({0, n});
    ++next_;
    return 0;
  }
  std::vector<std::pair<int, int>> Trace() const {
    return {path_.begin(), path_.begin() + long(next_)};
  }

 private:
  std::vector<std::pair<int, int>> path_;  // (answer, n)
  size_t next_ = 0;
};

// Calls f once for every sequence of answers the generator can give it:
// each random(n) answers 0..n-1 in turn. f must make finitely many calls on
// every path.
template <class F>
void ForEachOutcome(F f) {
  std::vector<std::pair<int, int>> path;
  while (true) {
    TReplayRandom rng(path);
    f(rng);
    path = rng.Trace();
    while (!path.empty() && path.back().first + 1 >= path.back().second) path.pop_back();
    if (path.empty()) return;
    ++path.back().first;
  }
}

// Whether a position is lost for the side to move, worked out from the
// moves alone, for games whose moves never come back to an earlier
// position: lost when every move leads to a position won for the side to
// move then (so a position without moves is lost).
template <class Position, class Key>
class TAcyclicSolver {
 public:
  using Moves = std::function<std::vector<Position>(const Position&)>;
  TAcyclicSolver(Moves next, Key key) : next_(std::move(next)), key_(key) {}
  bool Lost(const Position& p) {
    const auto k = key_(p);
    if (auto it = memo_.find(k); it != memo_.end()) return it->second;
    bool lost = true;
    for (const Position& q : next_(p))
      if (Lost(q)) {
        lost = false;
        break;
      }
    memo_[k] = lost;
    return lost;
  }

 private:
  Moves next_;
  Key key_;
  std::map<decltype(std::declval<Key>()(std::declval<Position>())), bool> memo_;
};

}  // namespace testing_zam
