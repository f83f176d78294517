// SPDX-License-Identifier: GPL-3.0-or-later
// Game 9's rules, without a window: the Grundy values worked out here by the
// minimum-excludant rule, every one of the 65,536 masks decided from the
// moves alone, the computer's choice over every answer of the generator,
// and the start masks against their drawn layouts.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "games/game8_rules.h"
#include "rules_helpers.h"

using namespace game8;
using testing_zam::ForEachOutcome;

namespace {

// The game "knock over one or two neighbouring pins" on a run of n: a move
// leaves two runs a and b with a + b = n - 1 or n - 2.
TEST(Game9Rules, GrundyValuesByTheMinimumExcludant) {
  std::vector<int> g(17, 0);
  for (int n = 1; n <= 16; ++n) {
    std::set<int> reached;
    for (int taken = 1; taken <= 2 && taken <= n; ++taken)
      for (int a = 0; a <= n - taken; ++a) reached.insert(g[size_t(a)] ^ g[size_t(n - taken - a)]);
    while (reached.count(g[size_t(n)])) ++g[size_t(n)];
  }
  for (int n = 0; n <= 16; ++n) EXPECT_EQ(Grundy[size_t(n)], g[size_t(n)]) << n;
  EXPECT_EQ(Runs(0x36D8), (std::vector<int>{2, 2, 2, 2}));
  EXPECT_EQ(HeapXor(0xFFFF), 1);
}

// Every move from a mask, written from the rule: one standing can, or two
// standing cans side by side.
std::vector<uint16_t> Moves(uint16_t mask) {
  std::vector<uint16_t> out;
  for (int i = 0; i < 16; ++i) {
    if (mask >> i & 1) out.push_back(uint16_t(1u << i));
    if (i < 15 && (mask >> i & 3) == 3) out.push_back(uint16_t(3u << i));
  }
  return out;
}

TEST(Game9Rules, EveryMaskDecidedAndTheComputerPlaysIt) {
  // Moves only take cans away, so a mask's moves lead to smaller numbers.
  std::vector<bool> lost(65536, false);
  for (uint32_t m = 0; m < 65536; ++m) {
    bool anyToLost = false;
    for (uint16_t move : Moves(uint16_t(m))) anyToLost = anyToLost || lost[m ^ move];
    lost[m] = !anyToLost;
  }
  for (uint32_t m = 0; m < 65536; ++m) {
    const TPosition p{uint16_t(m)};
    ASSERT_EQ(IsGood(p), lost[m]) << std::hex << m;
    const std::vector<uint16_t> moves = Moves(uint16_t(m));
    const std::set<uint16_t> legal(moves.begin(), moves.end());
    const std::vector<TMove> mine = LegalMoves(p);
    ASSERT_EQ(std::set<uint16_t>(mine.begin(), mine.end()), legal) << std::hex << m;
    if (m == 0) continue;
    std::set<uint16_t> winning;
    for (uint16_t move : legal)
      if (lost[m ^ move]) winning.insert(move);
    std::set<uint16_t> chosen;
    std::vector<uint16_t> inTurn;
    ForEachOutcome([&](TRandom& rng) {
      const uint16_t move = ComputerMove(p, rng);
      chosen.insert(move);
      inTurn.push_back(move);
    });
    // Every winning move comes up, and nothing else; with none, any move.
    ASSERT_EQ(chosen, winning.empty() ? legal : winning) << std::hex << m;
    // The generator's answer 0, 1, 2, ... picks the moves in the order of
    // the candidate list: single cans 0..15, then the pairs from 0-1 on.
    std::vector<uint16_t> listed;
    for (int k = 0; k <= 30; ++k) {
      const uint16_t move = k < 16 ? uint16_t(1u << k) : uint16_t(3u << (k - 16));
      if ((m & move) != move) continue;
      if (winning.empty() || lost[m ^ move]) listed.push_back(move);
    }
    ASSERT_EQ(inTurn, listed) << std::hex << m;
  }
}

TEST(Game9Rules, StartMasksAreTheirLayouts) {
  const char* layouts[5][12] = {
      {".....X.X.X......", ".....XX.X.X.....", ".....X.X.XXX....", "....XX.XX.XX....",
       "....XXX.X.XXX...", "..XXXX.XXXX.XX..", "...XX.XX.XX.XX..", "..X.X.XXX.X.XXX.",
       "..XXXXX.X.XXXXX.", "XXXXXX.XX.XXXXXX", "....XXXX.XXXX...", ".....XXX.XXX...."},
      {".....XXXXX......", ".....XXXXXX.....", "....XXXXXXX.....", "....XXXXXXXX....",
       "...XXXXXXXXX....", "...XXXXXXXXXX...", "..XXXXXXXXXXX...", "..XXXXXXXXXXXX..",
       ".XXXXXXXXXXXXX..", ".XXXXXXXXXXXXXX.", "XXXXXXXXXXXXXXX.", "XXXXXXXXXXXXXXXX"},
      {".....XX.X.......", "....XXX.XX......", "..XXXXX.XXXX....", "......X.XXX.....",
       "...XXXX.XX......", ".XXXXXX.XXXX....", ".XXXX.X.XXX.X...", "XX.XXXX.XXX.XX..",
       ".XXX.XX.XXX.XX..", "XXXXXX.XXXXX.X.X", "XXXX.XX.XXXX.XX.", "XXXXXXXX.XXXXXX."},
      {"....XXX.X.X.....", "....X.XXXX.X....", "..XX.XX.XXXXX...", ".XXX.XXXXXX.XX..",
       "...X.XXX.XXXXX..", "XX.XXXX.XXXXXXXX", "..X.XXX.XXXXXX..", "XXXXXXX.XX.XXX..",
       "XXXXX.XXXXXXXX.X", ".XXXXXXX.X.XXXXX", "....XXXXX.X.XX..", "XXXXXXX.XX.XXXX."},
      {"XXXXXXXXXXXXXX.X", ".XXXXX.XXXXXXXXX", "..XXXXXXX.XX....", ".XX.XXXXXXXXXX..",
       "XXXXXXXXXXXXX.XX", ".XXX.XXXX.XXXXXX", "XXXX.XXXXXXXXXXX", ".XXXXX.XXXX.XXX.",
       "..XXX.XXXXXXXX..", "XXXXX.XXXXXXXX..", "..XXXXXXX.XXXX..", "XXX.XXXXXXXXX.XX"},
  };
  for (int level = 0; level <= 5; ++level) {
    const int row = level == 5 ? 4 : level;
    std::set<uint16_t> expected, drawn;
    for (const char* layout : layouts[row]) {
      uint16_t mask = 0;
      for (int i = 0; i < 16; ++i)
        if (layout[i] == 'X') mask |= uint16_t(1u << i);
      expected.insert(mask);
    }
    ForEachOutcome([&](TRandom& rng) { drawn.insert(RandomStart(level, rng).Standing); });
    EXPECT_EQ(drawn, expected) << level;
    EXPECT_EQ(drawn.size(), 12u) << level;
  }
  // Some starts are good: letting the computer begin there wins.
  EXPECT_TRUE(IsGood({0x36D8}));
}

}  // namespace
