// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers for the rules tests, which run without Qt: a generator that gives
// every sequence of answers in turn, and a solver that decides positions
// from the moves alone.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "base/Random.h"

namespace testing_zam {

// Thrown when a path of answers grows past the depth ForEachOutcome follows.
struct TTooDeep {};

// Answers random(n) from a fixed list of choices, then 0; records every call.
class TReplayRandom final : public TRandom {
 public:
  explicit TReplayRandom(std::vector<std::pair<int, int>> path, size_t depth = 24)
      : path_(std::move(path)), depth_(depth) {}
  int random(int n) override {
    if (n < 1) return 0;
    if (next_ >= depth_) throw TTooDeep{};
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
  size_t depth_;
  size_t next_ = 0;
};

// Calls f once for every sequence of answers the generator can give it:
// each random(n) answers 0..n-1 in turn. A path longer than 24 answers (a
// draw repeated until it fits, unlucky every time) is cut off there.
template <class F>
void ForEachOutcome(F f) {
  std::vector<std::pair<int, int>> path;
  while (true) {
    TReplayRandom rng(path);
    try {
      f(rng);
    } catch (const TTooDeep&) {
    }
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

// Retrograde analysis for games whose positions can repeat. States are
// numbered 0..n-1; moves(s, out) lists the states one move leads to and
// previous(s, out) the states with a move to s; valid(s) says which numbers
// are states at all. Each state comes out -1 (lost for the side to move:
// every move leads to a won state, or there is none), +1 (won: some move
// leads to a lost state) or 0 (neither: play can go on for ever).
template <class Valid, class Moves, class Previous>
std::vector<int8_t> SolveWithRepetition(size_t n, Valid valid, Moves moves, Previous previous) {
  std::vector<int8_t> result(n, 0);
  std::vector<uint8_t> open(n, 0);  // moves not yet known to lead to a won state
  std::vector<uint32_t> queue;
  std::vector<uint32_t> list;
  for (size_t s = 0; s < n; ++s) {
    if (!valid(s)) continue;
    list.clear();
    moves(s, list);
    open[s] = uint8_t(list.size());
    if (list.empty()) {
      result[s] = -1;
      queue.push_back(uint32_t(s));
    }
  }
  for (size_t head = 0; head < queue.size(); ++head) {
    const uint32_t s = queue[head];
    list.clear();
    previous(s, list);
    for (uint32_t q : list) {
      if (result[q] != 0) continue;
      if (result[s] == -1) {
        result[q] = 1;
        queue.push_back(q);
      } else if (--open[q] == 0) {
        result[q] = -1;
        queue.push_back(q);
      }
    }
  }
  return result;
}

}  // namespace testing_zam
