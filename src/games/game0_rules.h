// SPDX-License-Identifier: GPL-3.0-or-later
// Game 1's rules: two columns of blocks; a move takes one or more blocks
// from the top of one column; whoever takes the last block wins.
#pragma once

#include <cstdint>
#include <vector>

#include "base/Random.h"

namespace game0 {

constexpr int kMaxHeight = 12;

struct TPosition {
  uint8_t ColumnHeights[2];  // column 1 (left) and column 2 (right), 0..12
  bool operator==(const TPosition&) const = default;
};

struct TMove {
  uint8_t column;  // 1 or 2
  uint8_t count;   // blocks taken from the top, at least 1
  bool operator==(const TMove&) const = default;
};

std::vector<TMove> LegalMoves(const TPosition& p);
bool IsLegal(const TPosition& p, const TMove& m);
TPosition Apply(const TPosition& p, const TMove& m);  // m must be legal
bool IsFinal(const TPosition& p);                     // both columns empty
// Good positions are those with equal columns: every move unbalances them.
bool IsGood(const TPosition& p);
// The computer's choice: equalise the columns when they differ; otherwise a
// random move that never empties a column of 3 or more nor leaves one block.
TMove ComputerMove(const TPosition& p, TRandom& rng);
// 4..12 blocks in each column, independently.
TPosition RandomStart(TRandom& rng);

}  // namespace game0
