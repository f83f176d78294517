// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of games 7 and 8, without a window. Coins only move left, so
// every position is decided from the moves alone; the good tests, the
// computer's choices and the start positions are checked against that.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <tuple>

#include "games/game6_rules.h"
#include "games/game7_rules.h"
#include "rules_helpers.h"

using testing_zam::ForEachOutcome;

namespace {

// Every ascending choice of `count` columns from first..15.
void Choose(int count, int first, std::vector<int>& chosen,
            const std::function<void(const std::vector<int>&)>& f) {
  if (int(chosen.size()) == count) {
    f(chosen);
    return;
  }
  for (int c = chosen.empty() ? first : chosen.back() + 1; c <= 15; ++c) {
    chosen.push_back(c);
    Choose(count, first, chosen, f);
    chosen.pop_back();
  }
}

// ---- game 7 ----------------------------------------------------------------------

// The coins' columns, ascending; a move takes one coin to an empty cell
// between its left neighbour (or the wall) and itself.
using Columns = std::vector<int>;

std::vector<Columns> After7(const Columns& c) {
  std::vector<Columns> out;
  for (size_t i = 0; i < c.size(); ++i)
    for (int to = i == 0 ? 0 : c[i - 1] + 1; to < c[i]; ++to) {
      Columns next = c;
      next[i] = to;
      out.push_back(next);
    }
  return out;
}

game6::TPosition Slots(const Columns& c) {
  game6::TPosition p;
  const int empty = 6 - int(c.size());
  for (int k = 0; k < empty; ++k) p.CoinColumn[k] = int8_t(k - empty);
  for (size_t i = 0; i < c.size(); ++i) p.CoinColumn[size_t(empty) + i] = int8_t(c[i]);
  return p;
}

Columns Real(const game6::TPosition& p) {
  Columns c;
  for (int8_t v : p.CoinColumn)
    if (v >= 0) c.push_back(v);
  return c;
}

TEST(Game7Rules, EveryPositionDecidedAndTheComputerPlaysIt) {
  auto key = [](const Columns& c) { return c; };
  testing_zam::TAcyclicSolver<Columns, decltype(key)> solver(After7, key);
  int positions = 0;
  for (int n = 2; n <= 5; ++n) {
    Columns chosen;
    Choose(n, 0, chosen, [&](const Columns& c) {
      ++positions;
      const game6::TPosition p = Slots(c);
      ASSERT_EQ(game6::Coins(p), n);
      ASSERT_EQ(game6::IsGood(p), solver.Lost(c)) << ::testing::PrintToString(c);
      ASSERT_EQ(game6::IsFinal(p), After7(c).empty()) << ::testing::PrintToString(c);
      std::set<Columns> mine, game;
      for (const game6::TMove& m : game6::LegalMoves(p)) {
        ASSERT_TRUE(game6::IsLegal(p, m));
        mine.insert(Real(game6::Apply(p, m)));
      }
      for (const Columns& q : After7(c)) game.insert(q);
      ASSERT_EQ(mine, game) << ::testing::PrintToString(c);
      if (game6::IsFinal(p)) return;
      std::set<Columns> reached;
      ForEachOutcome([&](TRandom& rng) {
        const game6::TMove m = game6::ComputerMove(p, rng);
        ASSERT_TRUE(game6::IsLegal(p, m)) << ::testing::PrintToString(c);
        reached.insert(Real(game6::Apply(p, m)));
      });
      if (!game6::IsGood(p)) {
        // One winning move: pair 1, 2, 3 in turn, shrinking before growing.
        ASSERT_EQ(reached.size(), 1u) << ::testing::PrintToString(c);
        ASSERT_TRUE(solver.Lost(*reached.begin())) << ::testing::PrintToString(c);
        // Which one: the six slots pair up from the left (1-2, 3-4, 5-6),
        // the real coins filling the rightmost slots; the winning move of
        // the lowest pair is the one played.
        std::optional<Columns> first;
        int firstPair = 4;
        for (const Columns& q : After7(c)) {
          if (!solver.Lost(q)) continue;
          size_t j = 0;
          while (q[j] == c[j]) ++j;
          const int slot = int(j) + 7 - n;
          const int pair = (slot + 1) / 2;
          if (pair < firstPair) {
            firstPair = pair;
            first = q;
          }
        }
        ASSERT_TRUE(first.has_value()) << ::testing::PrintToString(c);
        ASSERT_EQ(*reached.begin(), *first) << ::testing::PrintToString(c);
      } else {
        ASSERT_EQ(reached, game) << ::testing::PrintToString(c);  // any move at all
      }
    });
  }
  EXPECT_EQ(positions, 120 + 560 + 1820 + 4368);
}

// The order of the search: with two winning moves, pair 1's comes first.
TEST(Game7Rules, PairsInTurnShrinkingFirst) {
  // Five coins at 1, 3, 6, 9, 11: heaps (wall-1) 1, (3..6) 2, (9..11) 1: xor 2.
  const game6::TPosition p = Slots({1, 3, 6, 9, 11});
  ASSERT_EQ(game6::HeapXor(p), 2);
  TSeededRandom rng(1);
  // Pair 1 (the wall and the coin at 1) cannot shrink to 1 xor 2 = 3 or grow;
  // pair 2 (3 and 6) shrinks its heap 2 to 0: the coin at 6 goes to 4.
  EXPECT_EQ(game6::ComputerMove(p, rng), (game6::TMove{4, 4}));
  // Growing: coins at 4, 6, 7, 12 (four coins): heaps 4-6: 1, 7-12: 4;
  // xor 5: pair 2 (4, 6) grows its heap to 4 by moving the coin at 4 to 1.
  const game6::TPosition q = Slots({4, 6, 7, 12});
  ASSERT_EQ(game6::HeapXor(q), 5);
  EXPECT_EQ(game6::ComputerMove(q, rng), (game6::TMove{3, 1}));
}

TEST(Game7Rules, StartPositionsByLevel) {
  struct Case {
    int level, coins;
    std::vector<std::pair<int, int>> ranges;  // of each coin, left to right
  } cases[] = {
      {0, 2, {{3, 11}, {4, 15}}},
      {1, 3, {{1, 9}, {2, 13}, {3, 15}}},
      {2, 3, {{1, 9}, {2, 13}, {3, 15}}},
      {3, 4, {{2, 7}, {3, 12}, {4, 14}, {5, 15}}},
      {4, 5, {{2, 6}, {3, 10}, {4, 12}, {5, 14}, {6, 15}}},
      {5, 5, {{2, 6}, {3, 10}, {4, 12}, {5, 14}, {6, 15}}},
  };
  for (const Case& c : cases) {
    std::vector<std::set<int>> seen(size_t(c.coins));
    ForEachOutcome([&](TRandom& rng) {
      const game6::TPosition p = game6::RandomStart(c.level, rng);
      const Columns real = Real(p);
      ASSERT_EQ(int(real.size()), c.coins) << c.level;
      ASSERT_EQ(p, Slots(real)) << c.level;  // the empty slots count down to -1
      ASSERT_FALSE(game6::IsFinal(p)) << c.level;
      for (size_t i = 0; i < real.size(); ++i) seen[i].insert(real[i]);
    });
    for (size_t i = 0; i < seen.size(); ++i) {
      EXPECT_EQ(*seen[i].begin(), c.ranges[i].first) << c.level << " coin " << i + 1;
      EXPECT_EQ(*seen[i].rbegin(), c.ranges[i].second) << c.level << " coin " << i + 1;
      EXPECT_EQ(int(seen[i].size()), c.ranges[i].second - c.ranges[i].first + 1);
    }
  }
}

// ---- game 8 ----------------------------------------------------------------------

// A position: the coins' columns (1..15) and which is the euro coin (1-based,
// 0 once dropped out). A move takes a coin left; the first may go to column
// 0, where it drops out.
struct Row8 {
  Columns c;
  int euro;
  bool operator<(const Row8& o) const { return std::tie(c, euro) < std::tie(o.c, o.euro); }
  bool operator==(const Row8& o) const { return c == o.c && euro == o.euro; }
};

std::vector<Row8> After8(const Row8& r) {
  std::vector<Row8> out;
  if (r.euro == 0) return out;  // over: the euro coin has gone
  for (size_t i = 0; i < r.c.size(); ++i)
    for (int to = i == 0 ? 0 : r.c[i - 1] + 1; to < r.c[i]; ++to) {
      Row8 next = r;
      next.c[i] = to;
      if (to == 0) {  // dropped out
        next.c.erase(next.c.begin());
        next.euro -= 1;
      }
      out.push_back(next);
    }
  return out;
}

game7::TPosition Make8(const Row8& r) {
  game7::TPosition p;
  p.CoinCount = uint8_t(r.c.size());
  p.EuroIndex = uint8_t(r.euro);
  for (size_t i = 0; i < r.c.size(); ++i) p.CoinColumn[i] = int8_t(r.c[i]);
  return p;
}

Row8 Of(const game7::TPosition& p) {
  Row8 r{{}, p.EuroIndex};
  for (int k = 0; k < p.CoinCount; ++k) r.c.push_back(p.CoinColumn[k]);
  return r;
}

TEST(Game8Rules, EveryPositionDecidedAndTheComputerPlaysIt) {
  auto key = [](const Row8& r) { return r; };
  testing_zam::TAcyclicSolver<Row8, decltype(key)> solver(After8, key);
  int positions = 0;
  for (int n = 1; n <= 5; ++n) {
    Columns chosen;
    Choose(n, 1, chosen, [&](const Columns& c) {
      for (int euro = 1; euro <= n; ++euro) {
        ++positions;
        const Row8 r{c, euro};
        const game7::TPosition p = Make8(r);
        const std::string name = ::testing::PrintToString(c) + " euro " + std::to_string(euro);
        ASSERT_EQ(game7::IsGood(p), solver.Lost(r)) << name;
        std::set<Row8> mine, game;
        for (const game7::TMove& m : game7::LegalMoves(p)) mine.insert(Of(game7::Apply(p, m)));
        for (const Row8& q : After8(r)) game.insert(q);
        ASSERT_EQ(mine, game) << name;
        std::set<Row8> reached;
        ForEachOutcome([&](TRandom& rng) {
          const game7::TMove m = game7::ComputerMove(p, rng);
          ASSERT_TRUE(game7::IsLegal(p, m)) << name;
          reached.insert(Of(game7::Apply(p, m)));
          // The search never drops the first coin with the euro coin second
          // (which hands over the euro coin) unless that still wins.
          if (!game7::IsGood(p) && m.coin == 1 && m.column == 0 && euro == 2) {
            ASSERT_TRUE(game7::IsGood(game7::Apply(p, m))) << name;
          }
        });
        if (!game7::IsGood(p)) {
          // The first winning move, coin 1 first, each coin's largest step first.
          ASSERT_EQ(reached.size(), 1u) << name;
          std::optional<Row8> first;
          for (size_t i = 0; i < c.size() && !first; ++i)
            for (int to = i == 0 ? 0 : c[i - 1] + 1; to < c[i] && !first; ++to) {
              Row8 q = r;
              q.c[i] = to;
              if (to == 0) {
                q.c.erase(q.c.begin());
                q.euro -= 1;
              }
              if (solver.Lost(q)) first = q;
            }
          ASSERT_TRUE(first.has_value()) << name;
          ASSERT_EQ(*reached.begin(), *first) << name;
        } else {
          // Any coin but the first with room to its left, anywhere in that
          // room; the first only when none other has room.
          std::set<Row8> expected;
          for (const Row8& q : After8(r)) {
            const bool firstMoved = q.c.size() < c.size() || q.c[0] != c[0];
            if (!firstMoved) expected.insert(q);
          }
          if (expected.empty()) expected = game;
          ASSERT_EQ(reached, expected) << name;
        }
      }
    });
  }
  EXPECT_EQ(positions, 15 + 105 * 2 + 455 * 3 + 1365 * 4 + 3003 * 5);
  // The euro coin gone: over, whoever is to move.
  EXPECT_TRUE(game7::IsFinal(Make8({{4, 9}, 0})));
  EXPECT_TRUE(game7::IsGood(Make8({{4, 9}, 0})));
}

TEST(Game8Rules, StartPositionsByLevel) {
  struct Case {
    int level, coins, euroLow, euroHigh;
    std::vector<std::pair<int, int>> ranges;
  } cases[] = {
      {0, 2, 2, 2, {{3, 11}, {4, 15}}},
      {1, 3, 2, 3, {{1, 9}, {2, 13}, {3, 15}}},
      {2, 3, 2, 3, {{1, 9}, {2, 13}, {3, 15}}},
      {3, 4, 2, 4, {{2, 7}, {3, 12}, {4, 14}, {5, 15}}},
      {4, 5, 2, 5, {{2, 6}, {3, 10}, {4, 12}, {5, 14}, {6, 15}}},
      {5, 5, 2, 5, {{2, 6}, {3, 10}, {4, 12}, {5, 14}, {6, 15}}},
  };
  for (const Case& c : cases) {
    std::vector<std::set<int>> seen(size_t(c.coins));
    std::set<int> euros;
    ForEachOutcome([&](TRandom& rng) {
      const game7::TPosition p = game7::RandomStart(c.level, rng);
      ASSERT_EQ(p.CoinCount, c.coins) << c.level;
      for (int i = 0; i < c.coins; ++i) {
        seen[size_t(i)].insert(p.CoinColumn[i]);
        if (i > 0) {
          ASSERT_LT(p.CoinColumn[i - 1], p.CoinColumn[i]);
        }
      }
      euros.insert(p.EuroIndex);
    });
    for (size_t i = 0; i < seen.size(); ++i) {
      EXPECT_EQ(*seen[i].begin(), c.ranges[i].first) << c.level << " coin " << i + 1;
      EXPECT_EQ(*seen[i].rbegin(), c.ranges[i].second) << c.level << " coin " << i + 1;
    }
    EXPECT_EQ(*euros.begin(), c.euroLow) << c.level;
    EXPECT_EQ(*euros.rbegin(), c.euroHigh) << c.level;
    EXPECT_EQ(int(euros.size()), c.euroHigh - c.euroLow + 1) << c.level;
  }
}

}  // namespace
