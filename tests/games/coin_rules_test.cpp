// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of games 2 and 3, without a window: checked against a
// retrograde analysis of the whole board, with the computer's choice over
// every answer of the generator.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "games/game1_rules.h"
#include "games/game2_rules.h"
#include "rules_helpers.h"

using game1::TCell;
using testing_zam::ForEachOutcome;

namespace {

// Every legal move from a cell: left, down and, with diagonals, down-left.
std::vector<TCell> Moves(const TCell& from, bool diagonal) {
  std::vector<TCell> out;
  for (int k = 1; k <= from.column; ++k) out.push_back({from.column - k, from.row});
  for (int k = 1; k <= from.row; ++k) out.push_back({from.column, from.row - k});
  if (diagonal) {
    for (int k = 1; k <= std::min(from.column, from.row); ++k)
      out.push_back({from.column - k, from.row - k});
  }
  return out;
}

bool IsMove(const TCell& from, const TCell& to, bool diagonal) {
  for (const TCell& m : Moves(from, diagonal))
    if (m == to) return true;
  return false;
}

// Good and wrong cells of the whole board, worked out backwards from the
// final position: good when every move leads to a wrong cell.
std::map<std::pair<int, int>, bool> Retrograde(bool diagonal) {
  std::map<std::pair<int, int>, bool> good;
  for (int sum = 0; sum <= 15 + 11; ++sum)
    for (int c = 0; c <= 15; ++c) {
      const int r = sum - c;
      if (r < 0 || r > 11) continue;
      bool allWrong = true;
      for (const TCell& m : Moves({c, r}, diagonal))
        allWrong = allWrong && !good[{m.column, m.row}];
      good[{c, r}] = allWrong;
    }
  return good;
}

template <class IsGood, class Target, class IsLegal>
void CheckWholeBoard(bool diagonal, IsGood isGood, Target target, IsLegal isLegal) {
  const auto good = Retrograde(diagonal);
  for (int c = 0; c <= 15; ++c)
    for (int r = 0; r <= 11; ++r) {
      const TCell cell{c, r};
      ASSERT_EQ(isGood({cell}), good.at({c, r})) << c << "," << r;
      // The rules' legality is exactly the moves of the game.
      for (int c2 = -1; c2 <= 16; ++c2)
        for (int r2 = -1; r2 <= 12; ++r2)
          ASSERT_EQ(isLegal({cell}, TCell{c2, r2}), IsMove(cell, {c2, r2}, diagonal))
              << c << "," << r << " -> " << c2 << "," << r2;
      if (cell == TCell{0, 0}) continue;
      ForEachOutcome([&](TRandom& rng) {
        const TCell to = target({cell}, rng);
        ASSERT_TRUE(IsMove(cell, to, diagonal))
            << c << "," << r << " -> " << to.column << "," << to.row;
        if (!good.at({c, r})) {
          ASSERT_TRUE(good.at({to.column, to.row})) << c << "," << r;
        }
      });
    }
}

TEST(CoinRules, Game2AgreesWithTheRetrogradeAnalysis) {
  CheckWholeBoard(false, game1::IsGood, game1::ComputerMove, game1::IsLegal);
}

TEST(CoinRules, Game3AgreesWithTheRetrogradeAnalysis) {
  CheckWholeBoard(true, game2::IsGood, game2::ComputerMove, game2::IsLegal);
}

// How often each target comes up from a cell.
std::map<std::pair<int, int>, int> Targets(TCell (*target)(const game1::TPosition&, TRandom&),
                                           TCell from, int draws) {
  std::map<std::pair<int, int>, int> seen;
  TSeededRandom rng(99);
  for (int i = 0; i < draws; ++i) {
    const TCell t = target({from}, rng);
    ++seen[{t.column, t.row}];
  }
  return seen;
}

using Seen = std::map<std::pair<int, int>, int>;

std::set<std::pair<int, int>> Keys(const Seen& seen) {
  std::set<std::pair<int, int>> keys;
  for (const auto& [k, n] : seen) keys.insert(k);
  return keys;
}

TEST(CoinRules, Game2ListedMoves) {
  EXPECT_EQ(Keys(Targets(game1::ComputerMove, {5, 9}, 20)),
            (std::set<std::pair<int, int>>{{5, 5}}));
  EXPECT_EQ(Keys(Targets(game1::ComputerMove, {9, 5}, 20)),
            (std::set<std::pair<int, int>>{{5, 5}}));
  EXPECT_EQ(Keys(Targets(game1::ComputerMove, {3, 3}, 200)),
            (std::set<std::pair<int, int>>{{2, 3}, {3, 2}}));
  const Seen four = Targets(game1::ComputerMove, {4, 4}, 4000);
  EXPECT_EQ(Keys(four), (std::set<std::pair<int, int>>{{3, 4}, {2, 4}, {4, 3}, {4, 2}}));
  for (const auto& [cell, n] : four) EXPECT_NEAR(n, 1000, 150);
}

TEST(CoinRules, Game3ListedMoves) {
  EXPECT_EQ(Keys(Targets(game2::ComputerMove, {7, 7}, 20)),
            (std::set<std::pair<int, int>>{{0, 0}}));
  EXPECT_EQ(Keys(Targets(game2::ComputerMove, {5, 3}, 200)),
            (std::set<std::pair<int, int>>{{4, 2}, {3, 1}}));
  EXPECT_EQ(Keys(Targets(game2::ComputerMove, {1, 2}, 20)),
            (std::set<std::pair<int, int>>{{0, 1}}));
  const Seen six = Targets(game2::ComputerMove, {6, 5}, 2000);
  EXPECT_EQ(Keys(six), (std::set<std::pair<int, int>>{{2, 1}, {3, 5}}));
  for (const auto& [cell, n] : six) EXPECT_NEAR(n, 1000, 150);
  EXPECT_EQ(Keys(Targets(game2::ComputerMove, {9, 4}, 50)),
            (std::set<std::pair<int, int>>{{7, 4}}));
  EXPECT_EQ(game2::ReachableGood({6, 5}), (std::vector<int>{3, 4}));
  // Three good cells in reach, one in each direction: all three are chosen,
  // equally often.
  EXPECT_EQ(game2::ReachableGood({10, 7}), (std::vector<int>{5, 8, 9}));
  std::set<std::pair<int, int>> all;
  ForEachOutcome([&](TRandom& rng) {
    const TCell t = game2::ComputerMove({{10, 7}}, rng);
    all.insert({t.column, t.row});
  });
  EXPECT_EQ(all, (std::set<std::pair<int, int>>{{4, 7}, {7, 4}, {10, 6}}));
  // The generator's answers 0, 1, 2 give them in the table's order.
  for (int k = 0; k < 3; ++k) {
    testing_zam::TReplayRandom rng({{k, 3}});
    const TCell t = game2::ComputerMove({{10, 7}}, rng);
    const TCell listed[] = {{4, 7}, {7, 4}, {10, 6}};
    EXPECT_EQ(t, listed[k]) << k;
  }
  // With the target corner in reach it is chosen, whatever else is in
  // reach and whatever the generator says: from (5, 5) also (3, 5) and (5, 3).
  EXPECT_EQ(game2::ReachableGood({5, 5}), (std::vector<int>{1, 4, 6}));
  ForEachOutcome([&](TRandom& rng) { EXPECT_EQ(game2::ComputerMove({{5, 5}}, rng), (TCell{0, 0})); });
  const Seen three = Targets(game2::ComputerMove, {10, 7}, 3000);
  EXPECT_EQ(Keys(three), (std::set<std::pair<int, int>>{{4, 7}, {7, 4}, {10, 6}}));
  for (const auto& [cell, n] : three) EXPECT_NEAR(n, 1000, 150);
}

TEST(CoinRules, StartCellsCoverTheirRanges) {
  std::set<std::pair<int, int>> starts2, expected2, starts3, expected3;
  ForEachOutcome([&](TRandom& rng) {
    const TCell a = game1::RandomStart(rng).CoinPos;
    starts2.insert({a.column, a.row});
  });
  for (int c = 8; c <= 15; ++c)
    for (int r = 6; r <= 11; ++r) expected2.insert({c, r});
  EXPECT_EQ(starts2, expected2);
  // Game 3 draws again while the cell is on the diagonal.
  TSeededRandom rng(7);
  for (int i = 0; i < 6000; ++i) {
    const TCell b = game2::RandomStart(rng).CoinPos;
    starts3.insert({b.column, b.row});
  }
  for (int c = 4; c <= 15; ++c)
    for (int r = 4; r <= 11; ++r)
      if (c != r) expected3.insert({c, r});
  EXPECT_EQ(starts3, expected3);
}

}  // namespace
