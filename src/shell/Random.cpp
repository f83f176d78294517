#include "shell/Random.h"

#include <chrono>
#include <random>

namespace {
std::mt19937_64& Generator() {
  static std::mt19937_64 generator(0x5A4D);
  return generator;
}
}  // namespace

namespace zam {

int random(int n) {
  if (n < 1) return 0;
  return int(std::uniform_int_distribution<int>(0, n - 1)(Generator()));
}

void Randomize() {
  Generator().seed(uint64_t(std::chrono::system_clock::now().time_since_epoch().count()));
}

void RandSeed(uint64_t seed) { Generator().seed(seed); }

}  // namespace zam
