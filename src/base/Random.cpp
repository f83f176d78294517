// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Random.h"

#include <chrono>

int TSeededRandom::random(int n) {
  if (n < 1) return 0;
  return int(std::uniform_int_distribution<int>(0, n - 1)(generator_));
}

namespace zam {

TSeededRandom& ProgramRandom() {
  static TSeededRandom generator;
  return generator;
}

int random(int n) { return ProgramRandom().random(n); }

void Randomize() {
  ProgramRandom().Seed(uint64_t(std::chrono::system_clock::now().time_since_epoch().count()));
}

void RandSeed(uint64_t seed) { ProgramRandom().Seed(seed); }

}  // namespace zam
