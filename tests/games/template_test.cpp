// SPDX-License-Identifier: GPL-3.0-or-later
// The game a new one starts from: its rules hold together like a real
// game's, so a copy starts from something that passes the same checks.
#include <gtest/gtest.h>

#include <set>

#include "games/template_rules.h"
#include "rules_helpers.h"

using namespace gametemplate;

namespace {

TEST(TemplateRules, GoodPositionsAreTheLostOnes) {
  auto next = [](const TPosition& p) {
    std::vector<TPosition> out;
    for (const TMove& m : LegalMoves(p)) out.push_back(Apply(p, m));
    return out;
  };
  auto key = [](const TPosition& p) { return int(p.Count); };
  testing_zam::TAcyclicSolver<TPosition, decltype(key)> solver(next, key);
  for (int n = 0; n <= 12; ++n) {
    const TPosition p{uint8_t(n)};
    EXPECT_EQ(IsGood(p), solver.Lost(p)) << n;
    EXPECT_EQ(IsFinal(p), n == 0);
  }
  std::set<int> starts;
  testing_zam::ForEachOutcome([&](TRandom& rng) { starts.insert(RandomStart(rng).Count); });
  EXPECT_EQ(starts, (std::set<int>{4, 5, 6, 7, 8, 9}));
}

}  // namespace
