// SPDX-License-Identifier: GPL-3.0-or-later
// The position of each game, and a move in it, in words (Dutch, as the rest
// of the program): what a screen reader reads for the board and for the
// move the keyboard cursor shows. Cells and places are counted from 1, from
// the left (and for the coin grid from the bottom), as a player counts them.
#pragma once

#include <string>

#include "games/game0_rules.h"
#include "games/game1_rules.h"
#include "games/game4_rules.h"
#include "games/game6_rules.h"
#include "games/game7_rules.h"
#include "games/game8_rules.h"
#include "games/rows_rules.h"
#include "games/template_rules.h"

namespace position_text {

// Game 1: the two columns of blocks.
std::string Describe(const game0::TPosition& p);
std::string Describe(const game0::TPosition& p, const game0::TMove& m);
// Games 2 and 3: the coin on the grid.
std::string Describe(const game1::TPosition& p);
std::string Describe(const game1::TPosition& p, const game1::TMove& m);
// Games 4 and 6: O and X coins in two or three rows.
std::string Describe(const rows::TPosition& p);
std::string Describe(const rows::TPosition& p, const rows::TMove& m);
// Game 5: the ring of 24 cells.
std::string Describe(const game4::TPosition& p);
std::string Describe(const game4::TPosition& p, const game4::TMove& m);
// Game 7: coins in one row.
std::string Describe(const game6::TPosition& p);
std::string Describe(const game6::TPosition& p, const game6::TMove& m);
// Game 8: coins in one row, with the euro coin.
std::string Describe(const game7::TPosition& p);
std::string Describe(const game7::TPosition& p, const game7::TMove& m);
// Game 9: the row of cans.
std::string Describe(const game8::TPosition& p);
std::string DescribeCans(const game8::TPosition& p, game8::TMove m);

// The game a new one starts from (template_rules.h).
std::string Describe(const gametemplate::TPosition& p);
std::string Describe(const gametemplate::TPosition& p, const gametemplate::TMove& m);

// The computer's move from position p, as a player is told it: "de computer
// neemt 2 stenen van de linker kolom".
std::string DescribeComputer(const game0::TPosition& p, const game0::TMove& m);
std::string DescribeComputer(const game1::TPosition& p, const game1::TMove& m);
std::string DescribeComputer(const rows::TPosition& p, const rows::TMove& m);
std::string DescribeComputer(const game4::TPosition& p, const game4::TMove& m);
std::string DescribeComputer(const game6::TPosition& p, const game6::TMove& m);
std::string DescribeComputer(const game7::TPosition& p, const game7::TMove& m);
std::string DescribeComputerCans(const game8::TPosition& p, game8::TMove m);

}  // namespace position_text
