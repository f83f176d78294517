// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of game 5, without a window: every position of the ring decided
// by a retrograde analysis that allows for repetition, for either side to
// move; the good test, the computer's choices and the start positions
// checked against it and against the description of the game.
#include <gtest/gtest.h>

#include <array>
#include <set>

#include "games/game4_rules.h"
#include "rules_helpers.h"

using namespace game4;
using testing_zam::ForEachOutcome;

namespace {

int Forward(int from, int to) { return ((to - from) % 24 + 24) % 24; }

// States: cells of X coin 1, X coin 2, O coin 1, O coin 2 as base-24 digits,
// then the side to move; a state is valid when the coins stand apart in
// this forward order.
size_t State(const TPosition& p, TSide side) {
  const size_t index =
      ((size_t(p.PlayerCell[0]) * 24 + p.PlayerCell[1]) * 24 + p.ComputerCell[0]) * 24 +
      p.ComputerCell[1];
  return 2 * index + (side == SideComputer ? 0 : 1);
}
TPosition Position(size_t state) {
  size_t i = state / 2;
  TPosition p;
  p.ComputerCell[1] = uint8_t(i % 24);
  p.ComputerCell[0] = uint8_t(i / 24 % 24);
  p.PlayerCell[1] = uint8_t(i / 576 % 24);
  p.PlayerCell[0] = uint8_t(i / 13824);
  return p;
}
TSide Side(size_t state) { return state % 2 == 0 ? SideComputer : SidePlayer; }
TSide Other(TSide s) { return s == SideComputer ? SidePlayer : SideComputer; }
bool Valid(const TPosition& p) {
  const int x1 = p.PlayerCell[0];
  const int a = Forward(x1, p.PlayerCell[1]), b = Forward(x1, p.ComputerCell[0]),
            c = Forward(x1, p.ComputerCell[1]);
  return 0 < a && a < b && b < c;
}

// The free cells strictly between two coins, going forward.
std::set<int> Between(int behind, int ahead) {
  std::set<int> out;
  for (int c = (behind + 1) % 24; c != ahead; c = (c + 1) % 24) out.insert(c);
  return out;
}

TEST(Game5Rules, EveryPositionDecidedAndTheComputerPlaysIt) {
  const size_t n = 2 * 24 * 24 * 24 * 24;
  const std::vector<int8_t> result = testing_zam::SolveWithRepetition(
      n, [](size_t s) { return Valid(Position(s)); },
      [](size_t s, std::vector<uint32_t>& out) {
        const TPosition p = Position(s);
        for (const TMove& m : LegalMoves(p, Side(s)))
          out.push_back(uint32_t(State(Apply(p, Side(s), m), Other(Side(s)))));
      },
      [](size_t s, std::vector<uint32_t>& out) {
        const TPosition p = Position(s);
        const TSide mover = Other(Side(s));
        for (const TMove& m : LegalMoves(p, mover))
          out.push_back(uint32_t(State(Apply(p, mover, m), mover)));
      });
  int positions = 0;
  for (size_t s = 0; s < n; ++s) {
    const TPosition p = Position(s);
    if (!Valid(p)) continue;
    ++positions;
    ASSERT_NE(result[s], 0) << "undecided: " << s;
    ASSERT_EQ(IsGood(p), result[s] == -1) << s;
    const TSide side = Side(s);
    // The rules' own moves: each coin to a free cell between its neighbours.
    std::set<std::pair<int, int>> mine, game;
    for (const TMove& m : LegalMoves(p, side)) mine.insert({m.coin, m.cell});
    const int x1 = p.PlayerCell[0], x2 = p.PlayerCell[1], o1 = p.ComputerCell[0],
              o2 = p.ComputerCell[1];
    const int behind[2] = {side == SidePlayer ? o2 : x2, side == SidePlayer ? x1 : o1};
    const int ahead[2] = {side == SidePlayer ? x2 : o2, side == SidePlayer ? o1 : x1};
    const int own[2] = {side == SidePlayer ? x1 : o1, side == SidePlayer ? x2 : o2};
    for (int coin = 0; coin < 2; ++coin)
      for (int c : Between(behind[coin], ahead[coin]))
        if (c != own[coin]) game.insert({coin + 1, c});
    ASSERT_EQ(mine, game) << s;
    if (side != SideComputer || IsFinal(p)) continue;
    std::set<std::pair<int, int>> targets;
    ForEachOutcome([&](TRandom& rng) {
      const TComputerMove c = ComputerMove(p, rng);
      ASSERT_TRUE(IsLegal(p, SideComputer, c.move)) << s;
      targets.insert({c.move.coin, c.move.cell});
      if (!IsGood(p)) {
        ASSERT_TRUE(IsGood(Apply(p, SideComputer, c.move))) << s;
      }
      // On the screen the coin travels cell by cell the way angleStep
      // says: every cell it passes, and the target, is free.
      ASSERT_TRUE(c.angleStep == 1 || c.angleStep == -1) << s;
      const int from = p.ComputerCell[c.move.coin - 1];
      for (int cell = from; cell != c.move.cell;) {
        cell = (cell + c.angleStep + 24) % 24;
        ASSERT_TRUE(cell != x1 && cell != x2 && cell != o1 && cell != o2)
            << s << ": O coin " << int(c.move.coin) << " from " << from << " to "
            << int(c.move.cell) << " passes cell " << cell;
      }
    });
    if (IsGood(p)) {
      // Every free cell forward of O coin 1 through M then A, and of O coin
      // 2 through B then M.
      std::set<std::pair<int, int>> expected;
      for (int c : Between(o1, o2)) expected.insert({1, c});
      for (int c : Between(x2, o1)) expected.insert({1, c});
      for (int c : Between(o2, x1)) expected.insert({2, c});
      for (int c : Between(o1, o2)) expected.insert({2, c});
      ASSERT_EQ(targets, expected) << s;
    }
  }
  // Each side to move: 24 places for X coin 1, then 20 free cells in 4 gaps.
  EXPECT_EQ(positions, 2 * 24 * 1771);
}

}  // namespace
