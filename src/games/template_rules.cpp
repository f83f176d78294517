// SPDX-License-Identifier: GPL-3.0-or-later
#include "games/template_rules.h"

namespace gametemplate {

std::vector<TMove> LegalMoves(const TPosition& p) {
  if (p.Count == 0) return {};
  return {TMove{1}};
}

bool IsLegal(const TPosition& p, const TMove& m) { return m.take == 1 && p.Count >= 1; }

TPosition Apply(const TPosition& p, const TMove& m) { return {uint8_t(p.Count - m.take)}; }

bool IsFinal(const TPosition& p) { return p.Count == 0; }

bool IsGood(const TPosition& p) { return p.Count % 2 == 0; }

TMove ComputerMove(const TPosition&, TRandom&) { return {1}; }

TPosition RandomStart(TRandom& rng) { return {uint8_t(4 + rng.random(6))}; }

}  // namespace gametemplate
