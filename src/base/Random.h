// SPDX-License-Identifier: GPL-3.0-or-later
// The program's one pseudo-random generator, and the interface through which
// the games' rules draw from it: a rules function takes a TRandom&, so a test
// can hand it a seeded or a scripted generator instead.
#pragma once

#include <cstdint>
#include <random>

class TRandom {
 public:
  virtual ~TRandom() = default;
  // A uniform integer 0..n-1; random(0) (and any n below 1) yields 0.
  virtual int random(int n) = 0;
};

// A Mersenne twister, seeded with a fixed value until told otherwise.
class TSeededRandom final : public TRandom {
 public:
  explicit TSeededRandom(uint64_t seed = 0x5A4D) : generator_(seed) {}
  int random(int n) override;
  void Seed(uint64_t seed) { generator_.seed(seed); }

 private:
  std::mt19937_64 generator_;
};

namespace zam {
// The program's generator: seeded once from the clock at start (Randomize),
// or with a fixed value by a test (RandSeed).
TSeededRandom& ProgramRandom();
int random(int n);
void Randomize();
void RandSeed(uint64_t seed);
}  // namespace zam
