// SPDX-License-Identifier: GPL-3.0-or-later
// Game 7's rules: 2 to 5 coins in one row of 16 cells, shared by both sides;
// a move slides one coin any number of cells left without passing another;
// whoever makes the last move (all coins packed left) wins.
//
// Six slots hold the coins in ascending order; slots without a coin come
// first and hold -4, -3, -2, -1 (as many as needed), standing for the left
// wall. The coins are paired from the right (slots 5-6, 3-4, 1-2); a pair's
// heap is the empty cells between its coins, and good positions have heaps
// whose exclusive-or is 0.
#pragma once

#include <cstdint>
#include <vector>

#include "base/Random.h"

namespace game6 {

struct TPosition {
  int8_t CoinColumn[6] = {-4, -3, -2, -1, 0, 1};  // slots 1..6 at 0..5
  bool operator==(const TPosition&) const = default;
};

struct TMove {
  uint8_t slot;  // 2..6
  int8_t column;
  bool operator==(const TMove&) const = default;
};

int Coins(const TPosition& p);            // 2..5
int Heap(const TPosition& p, int pair);   // pair 1..3
int Space(const TPosition& p, int pair);  // 0 for pair 1
int HeapXor(const TPosition& p);

std::vector<TMove> LegalMoves(const TPosition& p);
bool IsLegal(const TPosition& p, const TMove& m);
TPosition Apply(const TPosition& p, const TMove& m);
bool IsFinal(const TPosition& p);  // the coins packed against the left end
bool IsGood(const TPosition& p);
// With a non-zero HeapXor, pairs 1, 2, 3 in turn (skipping a pair whose right
// coin stands at column 0 or less): shrink the heap with the right coin, or
// grow it with the left one; otherwise a random coin with room to its left
// goes to a random cell of that room.
TMove ComputerMove(const TPosition& p, TRandom& rng);
// The coins for the player's level: 2 at level 0, 3 at 1 and 2, 4 at 3, 5 at
// 4 and 5.
TPosition RandomStart(int level, TRandom& rng);

}  // namespace game6
