// SPDX-License-Identifier: GPL-3.0-or-later
// Game 1's rules, without a window: the good test against positions solved
// from the moves, the computer's choice over every answer of the generator,
// and the start range.
#include "games/game0_rules.h"

#include <gtest/gtest.h>

#include <set>

#include "rules_helpers.h"

using namespace game0;
using testing_zam::ForEachOutcome;

namespace {

TPosition P(int a, int b) { return {{uint8_t(a), uint8_t(b)}}; }

// Every move, written from the rule "one or more blocks from the top of one
// column", independently of LegalMoves.
std::vector<TPosition> After(const TPosition& p) {
  std::vector<TPosition> out;
  for (int left = 0; left < p.ColumnHeights[0]; ++left) out.push_back(P(left, p.ColumnHeights[1]));
  for (int right = 0; right < p.ColumnHeights[1]; ++right)
    out.push_back(P(p.ColumnHeights[0], right));
  return out;
}

int Key(const TPosition& p) { return p.ColumnHeights[0] * 16 + p.ColumnHeights[1]; }

TEST(Game1Rules, GoodPositionsAreTheLostOnesAndTheComputerReachesThem) {
  testing_zam::TAcyclicSolver<TPosition, int (*)(const TPosition&)> solver(After, Key);
  for (int a = 0; a <= 12; ++a)
    for (int b = 0; b <= 12; ++b) {
      const TPosition p = P(a, b);
      ASSERT_EQ(IsGood(p), solver.Lost(p)) << a << "/" << b;
      ASSERT_EQ(IsFinal(p), a == 0 && b == 0);
      // The rules' own moves are exactly these.
      std::set<int> mine, theirs;
      for (const TMove& m : LegalMoves(p)) {
        ASSERT_TRUE(IsLegal(p, m));
        mine.insert(Key(Apply(p, m)));
      }
      for (const TPosition& q : After(p)) theirs.insert(Key(q));
      ASSERT_EQ(mine, theirs) << a << "/" << b;
      if (IsFinal(p)) continue;
      ForEachOutcome([&](TRandom& rng) {
        const TMove m = ComputerMove(p, rng);
        ASSERT_TRUE(IsLegal(p, m)) << a << "/" << b;
        if (!IsGood(p)) {
          ASSERT_TRUE(IsGood(Apply(p, m))) << a << "/" << b;
        }
      });
    }
  EXPECT_FALSE(IsLegal(P(3, 0), {2, 1}));
  EXPECT_FALSE(IsLegal(P(3, 2), {1, 4}));
  EXPECT_FALSE(IsLegal(P(3, 2), {1, 0}));
  EXPECT_FALSE(IsLegal(P(3, 2), {3, 1}));
}

// From equal columns: either column, 1 block from a column of 1..3, else 1
// to height - 2 blocks; over all answers of the generator, each of these.
TEST(Game1Rules, RandomMoveFromEqualColumns) {
  struct Case {
    int height;
    int maxTake;
  } cases[] = {{1, 1}, {2, 1}, {3, 1}, {7, 5}, {12, 10}};
  for (const Case& c : cases) {
    std::set<std::pair<int, int>> moves;
    ForEachOutcome([&](TRandom& rng) {
      const TMove m = ComputerMove(P(c.height, c.height), rng);
      moves.insert({m.column, m.count});
    });
    std::set<std::pair<int, int>> expected;
    for (int column = 1; column <= 2; ++column)
      for (int take = 1; take <= c.maxTake; ++take) expected.insert({column, take});
    EXPECT_EQ(moves, expected) << c.height;
  }
}

TEST(Game1Rules, StartColumnsHoldFourToTwelveBlocksEach) {
  std::set<std::pair<int, int>> starts;
  ForEachOutcome([&](TRandom& rng) {
    const TPosition p = RandomStart(rng);
    starts.insert({p.ColumnHeights[0], p.ColumnHeights[1]});
  });
  std::set<std::pair<int, int>> expected;
  for (int a = 4; a <= 12; ++a)
    for (int b = 4; b <= 12; ++b) expected.insert({a, b});
  EXPECT_EQ(starts, expected);
}

}  // namespace
