// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of a game to start a new one from (see README.md in this
// folder): a heap of counters, each move takes one, whoever takes the last
// wins. Copy it to gameN_rules.h/.cpp, rename the namespace and write the
// real rules; keep every function, the tests and the board rely on them.
// No Qt here: the rules build into zamrules and are tested without a window.
#pragma once

#include <cstdint>
#include <vector>

#include "base/Random.h"

namespace gametemplate {

struct TPosition {
  uint8_t Count = 0;  // counters left
  bool operator==(const TPosition&) const = default;
};

struct TMove {
  uint8_t take = 1;
  bool operator==(const TMove&) const = default;
};

std::vector<TMove> LegalMoves(const TPosition& p);
bool IsLegal(const TPosition& p, const TMove& m);
TPosition Apply(const TPosition& p, const TMove& m);
bool IsFinal(const TPosition& p);
bool IsGood(const TPosition& p);  // an even count
TMove ComputerMove(const TPosition& p, TRandom& rng);
TPosition RandomStart(TRandom& rng);  // 4..9 counters

}  // namespace gametemplate
