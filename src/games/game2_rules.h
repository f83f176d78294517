// SPDX-License-Identifier: GPL-3.0-or-later
// Game 3's rules: game 2's grid and coin, pushed left, down or diagonally
// down-left; whoever puts it in the corner cell (0, 0) wins.
#pragma once

#include <array>
#include <vector>

#include "games/game1_rules.h"

namespace game2 {

using game1::TCell;
using game1::TMove;
using game1::TPosition;

// The good cells of the board, in the order the computer scans them.
extern const std::array<TCell, 11> GoodCells;

std::vector<TMove> LegalMoves(const TPosition& p);
bool IsLegal(const TPosition& p, const TMove& m);
TPosition Apply(const TPosition& p, const TMove& m);
bool IsFinal(const TPosition& p);
bool IsGood(const TPosition& p);
// The good cells one move away, by their numbers 1..11 in GoodCells: at most
// one per direction.
std::vector<int> ReachableGood(const TCell& from);
// The corner when it is in reach, else one of the reachable good cells, each
// equally likely; from a good cell a random diagonal step.
TMove ComputerMove(const TPosition& p, TRandom& rng);
TPosition RandomStart(TRandom& rng);  // columns 4..15, rows 4..11, never on the diagonal

}  // namespace game2
