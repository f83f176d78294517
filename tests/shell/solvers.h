// SPDX-License-Identifier: GPL-3.0-or-later
// What the end-to-end tests know of every game without asking the
// program's strategy: solvers written here from the rules of each game, and
// the positions read off the game modules in the solvers' terms.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "games/catalogue.h"
#include "games/coinboard.h"
#include "games/game0.h"
#include "games/game4.h"
#include "games/game6.h"
#include "games/game7.h"
#include "games/game8.h"
#include "games/rowboard.h"
#include "shell/gamecontrol.h"

namespace solvers {

// For games whose moves never return to an earlier position: the first move
// to a position lost for the side to move then, or none.
template <class P>
class TSolver {
 public:
  using Moves = std::function<std::vector<P>(const P&)>;
  explicit TSolver(Moves moves) : moves_(std::move(moves)) {}
  bool Lost(const P& p) {
    if (auto it = memo_.find(p); it != memo_.end()) return it->second;
    bool lost = true;
    for (const P& q : moves_(p)) lost = lost && !Lost(q);
    return memo_[p] = lost;
  }
  std::optional<P> Winning(const P& p) {
    for (const P& q : moves_(p))
      if (Lost(q)) return q;
    return std::nullopt;
  }

 private:
  Moves moves_;
  std::map<P, bool> memo_;
};

using Cell = std::pair<int, int>;  // column, row

inline std::vector<Cell> CoinMoves(const Cell& c, bool diagonal) {
  std::vector<Cell> out;
  for (int k = 1; k <= c.first; ++k) out.push_back({c.first - k, c.second});
  for (int k = 1; k <= c.second; ++k) out.push_back({c.first, c.second - k});
  if (diagonal)
    for (int k = 1; k <= std::min(c.first, c.second); ++k)
      out.push_back({c.first - k, c.second - k});
  return out;
}

// Columns of the coins in a row, ascending; any coin moves left into the
// room before it (game 7).
inline std::vector<std::vector<int>> RowMoves(const std::vector<int>& c) {
  std::vector<std::vector<int>> out;
  for (size_t i = 0; i < c.size(); ++i)
    for (int to = i == 0 ? 0 : c[i - 1] + 1; to < c[i]; ++to) {
      auto next = c;
      next[i] = to;
      out.push_back(next);
    }
  return out;
}

// Game 8: the coins' columns and the euro coin's number (0: dropped out).
using Euro = std::pair<std::vector<int>, int>;
inline std::vector<Euro> EuroMoves(const Euro& p) {
  std::vector<Euro> out;
  if (p.second == 0) return out;
  const auto& c = p.first;
  for (size_t i = 0; i < c.size(); ++i)
    for (int to = i == 0 ? 0 : c[i - 1] + 1; to < c[i]; ++to) {
      Euro next = p;
      next.first[i] = to;
      if (to == 0) {
        next.first.erase(next.first.begin());
        next.second -= 1;
      }
      out.push_back(next);
    }
  return out;
}

inline std::vector<uint16_t> CanMoves(const uint16_t& m) {
  std::vector<uint16_t> out;
  for (int i = 0; i < 16; ++i) {
    if (m >> i & 1) out.push_back(uint16_t(m & ~(1u << i)));
    if (i < 15 && (m >> i & 3) == 3) out.push_back(uint16_t(m & ~(3u << i)));
  }
  return out;
}

// ---- positions --------------------------------------------------------------------

inline Cell CoinOf(const TGameController& ctl, int type) {
  const auto c = static_cast<TCoinGame*>(ctl.GameModule(uint8_t(type)))->Coin();
  return {c.column, c.row};
}
inline std::vector<int> Columns7(const TGameController& ctl) {
  std::vector<int> c;
  for (int8_t v : static_cast<TGame6*>(ctl.GameModule(6))->Position().CoinColumn)
    if (v >= 0) c.push_back(v);
  return c;
}
inline Euro Position8(const TGameController& ctl) {
  const auto& p = static_cast<TGame7*>(ctl.GameModule(7))->Position();
  Euro e{{}, p.EuroIndex};
  for (int k = 0; k < p.CoinCount; ++k) e.first.push_back(p.CoinColumn[k]);
  return e;
}
// The distances (game 4) or heaps (game 6) of the rows' coins.
inline std::vector<int> Heaps(const TGameController& ctl, int type) {
  const auto& p = static_cast<TRowGame*>(ctl.GameModule(uint8_t(type)))->Position();
  std::vector<int> h;
  for (int r = 0; r < p.rows; ++r) h.push_back(p.PlayerColumn[r] - p.ComputerColumn[r] - 1);
  return h;
}
inline int Xor(const std::vector<int>& h) {
  int x = 0;
  for (int v : h) x ^= v;
  return x;
}
// Game 5's contested gaps: A from X coin 2 to O coin 1, B from O coin 2 to
// X coin 1.
inline std::pair<int, int> Gaps(const TGameController& ctl) {
  const auto& p = static_cast<TGame4*>(ctl.GameModule(4))->Position();
  auto gap = [](int from, int to) { return ((to - from - 1) % 24 + 24) % 24; };
  return {gap(p.PlayerCell[1], p.ComputerCell[0]), gap(p.ComputerCell[1], p.PlayerCell[0])};
}

// The solvers of the games that need one, and whether the position on the
// board is lost for the side to move.
class TJudge {
 public:
  bool StartIsLost(const TGameController& ctl, int type);

  TSolver<Cell> game2{[](const Cell& c) { return CoinMoves(c, false); }};
  TSolver<Cell> game3{[](const Cell& c) { return CoinMoves(c, true); }};
  TSolver<std::vector<int>> game7{RowMoves};
  TSolver<Euro> game8{EuroMoves};
  TSolver<uint16_t> game9{CanMoves};
};

inline bool TJudge::StartIsLost(const TGameController& ctl, int type) {
  switch (type) {
    case 0: {
      const auto h = static_cast<TGame0*>(ctl.GameModule(0))->Position().ColumnHeights;
      return h[0] == h[1];
    }
    case 1:
      return game2.Lost(CoinOf(ctl, 1));
    case 2:
      return game3.Lost(CoinOf(ctl, 2));
    case 3:
    case 5:
      return Xor(Heaps(ctl, type)) == 0;
    case 4:
      return Gaps(ctl).first == Gaps(ctl).second;
    case 6:
      return game7.Lost(Columns7(ctl));
    case 7:
      return game8.Lost(Position8(ctl));
    default:
      return game9.Lost(static_cast<TGame8*>(ctl.GameModule(8))->Standing());
  }
}

}  // namespace solvers
