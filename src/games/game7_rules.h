// SPDX-License-Identifier: GPL-3.0-or-later
// Game 8's rules: 2 to 5 coins in columns 1..15 of one row, one of them the
// euro coin; a move slides a coin any number of cells left without passing
// another, and the first coin may slide into the exit cell (column 0) and
// drop out. Whoever drops the euro coin out wins.
#pragma once

#include <cstdint>
#include <vector>

#include "base/Random.h"

namespace game7 {

struct TPosition {
  int8_t CoinColumn[5] = {};  // coins 1..CoinCount at 0..CoinCount-1, ascending
  uint8_t CoinCount = 0;
  uint8_t EuroIndex = 0;  // 1..CoinCount; 0 once the euro coin has dropped out
  bool operator==(const TPosition&) const = default;
};

struct TMove {
  uint8_t coin;   // 1..CoinCount
  int8_t column;  // 0 drops the first coin out
  bool operator==(const TMove&) const = default;
};

// D[0]: the cells left of the first coin, the exit cell included; D[k]: the
// empty cells between coins k and k + 1.
int Distance(const TPosition& p, int k);
// How far a coin may move: D[0] for the first, else the gap to its left.
int LargestStep(const TPosition& p, int coin);

std::vector<TMove> LegalMoves(const TPosition& p);
bool IsLegal(const TPosition& p, const TMove& m);
// The move, and the coin that reaches column 0 taken out of the row.
TPosition Apply(const TPosition& p, const TMove& m);
// The coin that reached column 0 taken out: the others shift down a slot.
void RemoveDropped(TPosition& p);
bool IsFinal(const TPosition& p);  // the euro coin has dropped out
// The table of good positions for the side that has just moved.
bool IsGood(const TPosition& p);
// A winning move when there is one (coin 1 first, each coin's largest step
// first); otherwise a random coin with room to its left (coin 1 only when no
// other has room) to a random reachable cell.
TMove ComputerMove(const TPosition& p, TRandom& rng);
// The coins for the player's level, the euro coin never the leftmost.
TPosition RandomStart(int level, TRandom& rng);

}  // namespace game7
