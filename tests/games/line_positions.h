// SPDX-License-Identifier: GPL-3.0-or-later
// Positions of games 7 and 8 written the way the tests think of them: the
// columns of the coins from the left.
#pragma once

#include <cstdint>
#include <vector>

#include "games/game6_rules.h"
#include "games/game7_rules.h"

// Game 7's coins in the last slots; the empty slots count down to -1.
inline game6::TPosition Seven(const std::vector<int>& columns) {
  game6::TPosition p;
  const int empty = 6 - int(columns.size());
  for (int k = 0; k < empty; ++k) p.CoinColumn[k] = int8_t(k - empty);
  for (size_t i = 0; i < columns.size(); ++i) p.CoinColumn[size_t(empty) + i] = int8_t(columns[i]);
  return p;
}

// Game 8's coins from the left, the euro the coin at index euro.
inline game7::TPosition Eight(const std::vector<int>& columns, int euro) {
  game7::TPosition p;
  p.CoinCount = uint8_t(columns.size());
  p.EuroIndex = uint8_t(euro);
  for (size_t i = 0; i < columns.size(); ++i) p.CoinColumn[i] = int8_t(columns[i]);
  return p;
}
