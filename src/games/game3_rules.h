// SPDX-License-Identifier: GPL-3.0-or-later
// Game 4's rules: the two-row game of rows_rules.h. Good positions have
// equal distances between the coins of the two rows.
#pragma once

#include "base/Random.h"
#include "games/rows_rules.h"

namespace game3 {

using rows::TMove;
using rows::TPosition;

// PlayerColumn - ComputerColumn of a row 1..2.
int Distance(const TPosition& p, int row);
bool IsGood(const TPosition& p);
// The O coin of the row with the longer distance moves right until the
// distances are equal; with equal distances the O coin of the row whose X
// coin stands further right (row 2 on a tie) goes to a random other column
// left of its X coin.
TMove ComputerMove(const TPosition& p, TRandom& rng);
// O coins in columns 0..10, each X coin at least two columns right of its O.
TPosition RandomStart(TRandom& rng);

}  // namespace game3
