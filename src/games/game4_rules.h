// SPDX-License-Identifier: GPL-3.0-or-later
// Game 5's rules: a ring of 24 cells with, in forward order, X coin 1,
// X coin 2, O coin 1 and O coin 2. A move slides one's own coin along the
// ring any number of cells either way, never onto or past another coin;
// whoever leaves the other side without a move wins. Gap A lies between
// X coin 2 and O coin 1, gap B between O coin 2 and X coin 1; good
// positions have A = B.
#pragma once

#include <cstdint>
#include <vector>

#include "base/Random.h"

namespace game4 {

constexpr int kCells = 24;

enum TSide : uint8_t { SideComputer = 0, SidePlayer = 1 };  // O coins, X coins

struct TPosition {
  uint8_t ComputerCell[2] = {};  // O coins 1 and 2
  uint8_t PlayerCell[2] = {};    // X coins 1 and 2
  bool operator==(const TPosition&) const = default;
};

struct TMove {
  uint8_t coin;  // 1 or 2, of the side that moves
  uint8_t cell;  // where it goes
  bool operator==(const TMove&) const = default;
};

// The cell after c, going forward (clockwise on the screen).
inline int Next(int c) { return (c + 1) % kCells; }
int GapA(const TPosition& p);  // empty cells from X coin 2 to O coin 1
int GapB(const TPosition& p);  // from O coin 2 to X coin 1
int GapM(const TPosition& p);  // the computer's own, from O coin 1 to O coin 2

std::vector<TMove> LegalMoves(const TPosition& p, TSide side);
bool IsLegal(const TPosition& p, TSide side, const TMove& m);
TPosition Apply(const TPosition& p, TSide side, const TMove& m);
// Four coins in consecutive cells with one side's coins between the other's.
bool IsFinal(const TPosition& p);
bool IsGood(const TPosition& p);

struct TComputerMove {
  TMove move;
  int8_t angleStep;  // the way the coin travels on the screen: -1 back, +1 forward
};
// The O coin that makes A = B; with A = B already, a random move, each
// possible target equally likely. The coin travels towards its target
// through the free cells, backwards when the target lies behind it, so it
// never passes another coin.
TComputerMove ComputerMove(const TPosition& p, TRandom& rng);
// X coin 1 in cell 0, X coin 2 in 1..14, O coin 1 after it up to 20, O coin
// 2 after that up to 22.
TPosition RandomStart(TRandom& rng);

}  // namespace game4
