// The program's one pseudo-random generator.
#pragma once

#include <cstdint>

namespace zam {
// A uniform integer 0..n-1; random(0) (and any n below 1) yields 0.
int random(int n);
// Seeds from the clock (once, at start) or with a fixed value (tests).
void Randomize();
void RandSeed(uint64_t seed);
}  // namespace zam
