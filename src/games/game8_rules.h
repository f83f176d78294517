// SPDX-License-Identifier: GPL-3.0-or-later
// Game 9's rules: a row of 16 places with standing cans; a move knocks over
// one standing can or two standing cans in neighbouring places; whoever
// knocks over the last can wins. A run of n standing cans has the Grundy
// value of the game of knocking over one or two neighbouring pins; good
// positions have runs whose values' exclusive-or is 0.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "base/Random.h"

namespace game8 {

struct TPosition {
  uint16_t Standing = 0;  // bit i: a can stands in place i (0..15, left to right)
  bool operator==(const TPosition&) const = default;
};

// A move: the mask of the can or the two neighbouring cans knocked over.
using TMove = uint16_t;

extern const std::array<uint8_t, 17> Grundy;  // of a run of 0..16 cans
// The 31 candidate moves: 0..15 a single can, 16..30 the pair from k - 16.
TMove Candidate(int k);
// The lengths of the runs of consecutive set bits, left to right.
std::vector<int> Runs(uint16_t mask);
int HeapXor(uint16_t mask);

std::vector<TMove> LegalMoves(const TPosition& p);
bool IsLegal(const TPosition& p, TMove m);
TPosition Apply(const TPosition& p, TMove m);
bool IsFinal(const TPosition& p);  // no can standing
bool IsGood(const TPosition& p);
// Uniformly one of the winning moves, in candidate order; uniformly one of
// all legal moves when none wins.
TMove ComputerMove(const TPosition& p, TRandom& rng);
// One of the twelve start masks of the level's row (level 5 uses level 4's).
TPosition RandomStart(int level, TRandom& rng);
extern const std::array<std::array<uint16_t, 12>, 5> StartMasks;

}  // namespace game8
