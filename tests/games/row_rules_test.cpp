// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of games 4 and 6, without a window. Coins may move back and
// forth, so positions repeat: a retrograde analysis that allows for that
// decides every position of both games for either side to move, and the
// good tests, the computer's choices and the start positions are checked
// against it and against the descriptions of the games.
#include <gtest/gtest.h>

#include <set>

#include "games/game3_rules.h"
#include "games/game5_rules.h"
#include "rules_helpers.h"

using rows::SideComputer;
using rows::SidePlayer;
using rows::TMove;
using rows::TPosition;
using testing_zam::ForEachOutcome;

namespace {

// The 120 ways to place an O coin left of an X coin in a row of 16.
struct TPairs {
  int column[120][2];
  int index[16][16];
  TPairs() {
    int n = 0;
    for (int c = 0; c < 16; ++c)
      for (int x = c + 1; x < 16; ++x) {
        column[n][0] = c;
        column[n][1] = x;
        index[c][x] = n++;
      }
  }
};
const TPairs kPairs;

// States: every position of `rows` rows, with the computer (0) or the player
// (1) to move.
class TRowStates {
 public:
  explicit TRowStates(int rows) : rows_(rows) {
    positions_ = 1;
    for (int r = 0; r < rows; ++r) positions_ *= 120;
  }
  size_t Count() const { return 2 * positions_; }
  TPosition Position(size_t state) const {
    TPosition p;
    p.rows = uint8_t(rows_);
    size_t rest = state / 2;
    for (int r = 0; r < rows_; ++r, rest /= 120) {
      p.ComputerColumn[r] = uint8_t(kPairs.column[rest % 120][0]);
      p.PlayerColumn[r] = uint8_t(kPairs.column[rest % 120][1]);
    }
    return p;
  }
  rows::TSide Side(size_t state) const { return state % 2 == 0 ? SideComputer : SidePlayer; }
  uint32_t State(const TPosition& p, rows::TSide side) const {
    size_t index = 0;
    for (int r = rows_ - 1; r >= 0; --r)
      index = index * 120 + size_t(kPairs.index[p.ComputerColumn[r]][p.PlayerColumn[r]]);
    return uint32_t(2 * index + (side == SideComputer ? 0 : 1));
  }
  // Solved from the game's moves written out here on the state numbers:
  // the O coin of a row goes to any other column left of its X coin, the X
  // coin to any other column right of its O coin.
  std::vector<int8_t> Solve() const {
    auto moves = [&](size_t s, bool computer, std::vector<uint32_t>& out) {
      size_t rest = s / 2, weight = 1;
      const size_t base = s - s % 2, flip = computer ? 1 : 0;  // side to move next
      for (int r = 0; r < rows_; ++r, rest /= 120, weight *= 120) {
        const int pair = int(rest % 120), c = kPairs.column[pair][0], x = kPairs.column[pair][1];
        const int from = computer ? 0 : c + 1, to = computer ? x - 1 : 15;
        for (int k = from; k <= to; ++k) {
          if (k == (computer ? c : x)) continue;
          const int moved = computer ? kPairs.index[k][x] : kPairs.index[c][k];
          out.push_back(
              uint32_t(base + 2 * weight * size_t(moved) - 2 * weight * size_t(pair) + flip));
        }
      }
    };
    return testing_zam::SolveWithRepetition(
        Count(), [](size_t) { return true; },
        [&](size_t s, std::vector<uint32_t>& out) { moves(s, s % 2 == 0, out); },
        [&](size_t s, std::vector<uint32_t>& out) {
          // Moves can be undone: the states before a move of the other side
          // are the ones that side reaches from here, with that side to move.
          const bool computerMoved = s % 2 == 1;
          moves(s, computerMoved, out);
          for (uint32_t& q : out) q ^= 1u;
        });
  }

 private:
  int rows_;
  size_t positions_;
};

// The moves of a row, written out from the rules of the game: O anywhere
// left of X, X anywhere right of O, never staying.
std::set<std::pair<int, int>> RowMoves(const TPosition& p, rows::TSide side) {
  std::set<std::pair<int, int>> out;
  for (int r = 1; r <= p.rows; ++r) {
    const int c = p.ComputerColumn[r - 1], x = p.PlayerColumn[r - 1];
    if (side == SideComputer) {
      for (int to = 0; to < x; ++to)
        if (to != c) out.insert({r, to});
    } else {
      for (int to = c + 1; to < 16; ++to)
        if (to != x) out.insert({r, to});
    }
  }
  return out;
}

// Targets the random move may reach in a row: every column left of the X
// coin but the O coin's own.
void AddRowTargets(const TPosition& p, int r, std::set<std::pair<int, int>>& out) {
  for (int to = 0; to < p.PlayerColumn[r - 1]; ++to)
    if (to != p.ComputerColumn[r - 1]) out.insert({r, to});
}

template <class IsGood, class ComputerMove, class RandomTargets>
void CheckGame(int rowCount, IsGood isGood, ComputerMove computerMove,
               RandomTargets randomTargets) {
  const TRowStates states(rowCount);
  const std::vector<int8_t> result = states.Solve();
  for (size_t s = 0; s < states.Count(); ++s) {
    const TPosition p = states.Position(s);
    ASSERT_NE(result[s], 0) << "undecided: " << s;
    ASSERT_EQ(isGood(p), result[s] == -1) << s;
    if (s % 2 != 0) continue;  // below: the computer to move
    // The rules' own moves are the game's moves (the rows' code is shared:
    // two rows show it).
    if (rowCount == 2) {
      for (rows::TSide side : {SideComputer, SidePlayer}) {
        std::set<std::pair<int, int>> mine;
        for (const TMove& m : rows::LegalMoves(p, side)) mine.insert({m.row, m.column});
        ASSERT_EQ(mine, RowMoves(p, side)) << s;
      }
    }
    if (rows::IsFinal(p)) continue;  // the computer is never asked here
    std::set<std::pair<int, int>> targets;
    ForEachOutcome([&](TRandom& rng) {
      const TMove m = computerMove(p, rng);
      ASSERT_TRUE(rows::IsLegal(p, SideComputer, m)) << s;
      targets.insert({m.row, m.column});
      if (!isGood(p)) {
        ASSERT_TRUE(isGood(rows::Apply(p, SideComputer, m))) << s;
      }
    });
    if (isGood(p)) {
      ASSERT_EQ(targets, randomTargets(p)) << s;
    }
  }
}

TEST(Game4Rules, EveryPositionDecidedAndTheComputerPlaysIt) {
  CheckGame(2, game3::IsGood, game3::ComputerMove, [](const TPosition& p) {
    // The row whose X coin stands further right, row 2 on a tie.
    std::set<std::pair<int, int>> out;
    AddRowTargets(p, p.PlayerColumn[1] < p.PlayerColumn[0] ? 1 : 2, out);
    return out;
  });
}

TEST(Game6Rules, EveryPositionDecidedAndTheComputerPlaysIt) {
  CheckGame(3, game5::IsGood, game5::ComputerMove, [](const TPosition& p) {
    // From each first row, the first row round from it whose O coin can move.
    std::set<std::pair<int, int>> out;
    for (int r0 = 1; r0 <= 3; ++r0)
      for (int k = 0; k < 3; ++k) {
        const int r = (r0 - 1 + k) % 3 + 1;
        if (p.PlayerColumn[r - 1] >= 2) {
          AddRowTargets(p, r, out);
          break;
        }
      }
    return out;
  });
}

// Game 6's winning move is searched row by row, starting at a row the
// generator draws and going round (after row 3 comes row 1): the first row
// whose heap can shrink to make the exclusive-or 0 is the one played.
TEST(Game6Rules, WinningRowSearchedRoundFromADrawnRow) {
  struct Case {
    int heaps[3];
    int firstRow;  // the generator's answer + 1
    int row;       // the row played, and its heap afterwards
    int heap;
  } cases[] = {
      // 3 ^ 5 ^ 7 = 1: every row can shrink by one.
      {{3, 5, 7}, 1, 1, 2},
      {{3, 5, 7}, 2, 2, 4},
      {{3, 5, 7}, 3, 3, 6},
      // 6 ^ 1 ^ 5 = 2: only row 1 (6 -> 4); from row 2 or 3 round to it.
      {{6, 1, 5}, 1, 1, 4},
      {{6, 1, 5}, 2, 1, 4},
      {{6, 1, 5}, 3, 1, 4},
      // 2 ^ 5 ^ 6 = 1: only row 2 (5 -> 4), also from row 3.
      {{2, 5, 6}, 3, 2, 4},
  };
  for (const Case& c : cases) {
    TPosition p;
    p.rows = 3;
    for (int r = 0; r < 3; ++r) {
      p.ComputerColumn[r] = uint8_t(r);
      p.PlayerColumn[r] = uint8_t(r + c.heaps[r] + 1);
    }
    testing_zam::TReplayRandom rng({{c.firstRow - 1, 3}});
    const TMove m = game5::ComputerMove(p, rng);
    const int r = c.row - 1;
    EXPECT_EQ(m, (TMove{uint8_t(c.row), uint8_t(p.PlayerColumn[r] - 1 - c.heap)}))
        << c.heaps[0] << c.heaps[1] << c.heaps[2] << " from row " << c.firstRow;
  }
}

// The worked examples of the computer's move in game 4.
TEST(Game4Rules, Examples) {
  TPosition p;
  p.rows = 2;
  p.ComputerColumn[0] = 2;
  p.PlayerColumn[0] = 7;  // distance 5
  p.ComputerColumn[1] = 4;
  p.PlayerColumn[1] = 7;  // distance 3
  TSeededRandom rng(1);
  EXPECT_EQ(game3::ComputerMove(p, rng), (TMove{1, 4}));
  std::swap(p.ComputerColumn[0], p.ComputerColumn[1]);
  EXPECT_EQ(game3::ComputerMove(p, rng), (TMove{2, 4}));
  EXPECT_EQ(game3::Distance(p, 1), 3);
  EXPECT_FALSE(rows::IsLegal(p, SidePlayer, {1, 4}));  // onto the O coin
  EXPECT_TRUE(rows::IsLegal(p, SidePlayer, {1, 5}));   // next to it
  EXPECT_TRUE(rows::IsLegal(p, SidePlayer, {1, 15}));
  EXPECT_FALSE(rows::IsLegal(p, SidePlayer, {1, 16}));
  EXPECT_FALSE(rows::IsLegal(p, SidePlayer, {3, 9}));  // no third row
}

// Game 6 with all heaps 0 away from the walls is not over: the side to move
// must retreat.
TEST(Game6Rules, AllHeapsZeroIsNotFinal) {
  TPosition p;
  p.rows = 3;
  for (int r = 0; r < 3; ++r) {
    p.ComputerColumn[r] = uint8_t(4 + r);
    p.PlayerColumn[r] = uint8_t(5 + r);
  }
  EXPECT_TRUE(game5::IsGood(p));
  EXPECT_FALSE(rows::IsFinal(p));
  EXPECT_EQ(rows::LegalMoves(p, SideComputer).size(), 4u + 5u + 6u);
}

TEST(RowRules, StartPositions) {
  struct Case {
    int rows, maxComputer;
    TPosition (*start)(TRandom&);
  } cases[] = {{2, 10, game3::RandomStart}, {3, 12, game5::RandomStart}};
  for (const Case& c : cases) {
    std::set<std::pair<int, int>> rowsSeen[3], expected;
    for (int o = 0; o <= c.maxComputer; ++o)
      for (int x = o + 2; x <= 15; ++x) expected.insert({o, x});
    long long paths = 0;
    ForEachOutcome([&](TRandom& rng) {
      const TPosition p = c.start(rng);
      ASSERT_EQ(p.rows, c.rows);
      for (int r = 0; r < c.rows; ++r) rowsSeen[r].insert({p.ComputerColumn[r], p.PlayerColumn[r]});
      ++paths;
    });
    long long combinations = 1;
    for (int r = 0; r < c.rows; ++r) {
      EXPECT_EQ(rowsSeen[r], expected) << c.rows << " rows, row " << r + 1;
      combinations *= (long long)expected.size();
    }
    EXPECT_EQ(paths, combinations);  // the rows are drawn independently
  }
}

}  // namespace
