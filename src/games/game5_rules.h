// SPDX-License-Identifier: GPL-3.0-or-later
// Game 6's rules: the three-row game of rows_rules.h. The heap of a row is
// the number of empty cells between its coins; good positions have heaps
// whose exclusive-or is 0.
#pragma once

#include "base/Random.h"
#include "games/rows_rules.h"

namespace game5 {

using rows::TMove;
using rows::TPosition;

int Heap(const TPosition& p, int row);  // row 1..3
int HeapXor(const TPosition& p);
bool IsGood(const TPosition& p);
// With a non-zero HeapXor, starting at a random row and going round, the
// first row whose O coin can move right to make the HeapXor 0; otherwise,
// from a random row round, the first row whose O coin can move, to a random
// other column left of its X coin.
TMove ComputerMove(const TPosition& p, TRandom& rng);
// O coins in columns 0..12, each X coin at least two columns right of its O.
TPosition RandomStart(TRandom& rng);

}  // namespace game5
