// SPDX-License-Identifier: GPL-3.0-or-later
#include "games/game8_rules.h"

namespace game8 {

const std::array<uint8_t, 17> Grundy = {0, 1, 2, 3, 1, 4, 3, 2, 1, 4, 2, 6, 4, 1, 2, 7, 1};

const std::array<std::array<uint16_t, 12>, 5> StartMasks = {{
    {0x02A0, 0x0560, 0x0EA0, 0x0DB0, 0x1D70, 0x37BC, 0x36D8, 0x75D4, 0x7D7C, 0xFDBF, 0x1EF0,
     0x0EE0},
    {0x03E0, 0x07E0, 0x07F0, 0x0FF0, 0x0FF8, 0x1FF8, 0x1FFC, 0x3FFC, 0x3FFE, 0x7FFE, 0x7FFF,
     0xFFFF},
    {0x0160, 0x0370, 0x0F7C, 0x0740, 0x0378, 0x0F7E, 0x175E, 0x377B, 0x376E, 0xAFBF, 0x6F6F,
     0x7EFF},
    {0x0570, 0x0BD0, 0x1F6C, 0x37EE, 0x3EE8, 0xFF7B, 0x3F74, 0x3B7F, 0xBFDF, 0xFAFE, 0x35F0,
     0x7B7F},
    {0xBFFF, 0xFFBE, 0x0DFC, 0x3FF6, 0xDFFF, 0xFDEE, 0xFFEF, 0x77BE, 0x3FDC, 0x3FDF, 0x3DFC,
     0xDFF7},
}};

TMove Candidate(int k) { return k < 16 ? TMove(1u << k) : TMove(3u << (k - 16)); }

std::vector<int> Runs(uint16_t mask) {
  std::vector<int> runs;
  int run = 0;
  for (int i = 0; i <= 16; ++i) {
    if (i < 16 && (mask >> i & 1)) {
      ++run;
    } else if (run > 0) {
      runs.push_back(run);
      run = 0;
    }
  }
  return runs;
}

int HeapXor(uint16_t mask) {
  int x = 0;
  for (int run : Runs(mask)) x ^= Grundy[size_t(run)];
  return x;
}

std::vector<TMove> LegalMoves(const TPosition& p) {
  std::vector<TMove> moves;
  for (int k = 0; k <= 30; ++k)
    if (IsLegal(p, Candidate(k))) moves.push_back(Candidate(k));
  return moves;
}

bool IsLegal(const TPosition& p, TMove m) {
  for (int k = 0; k <= 30; ++k)
    if (m == Candidate(k)) return (p.Standing & m) == m;
  return false;
}

TPosition Apply(const TPosition& p, TMove m) { return {uint16_t(p.Standing ^ m)}; }

bool IsFinal(const TPosition& p) { return p.Standing == 0; }

bool IsGood(const TPosition& p) { return HeapXor(p.Standing) == 0; }

TMove ComputerMove(const TPosition& p, TRandom& rng) {
  const std::vector<TMove> legal = LegalMoves(p);
  std::vector<TMove> winning;
  if (!IsGood(p))
    for (TMove m : legal)
      if (HeapXor(uint16_t(p.Standing ^ m)) == 0) winning.push_back(m);
  const std::vector<TMove>& from = winning.empty() ? legal : winning;
  if (from.empty()) return 0;  // no can standing: the computer is never asked
  return from[size_t(rng.random(int(from.size())))];
}

TPosition RandomStart(int level, TRandom& rng) {
  const int row = level < 0 ? 0 : level > 4 ? 4 : level;
  return {StartMasks[size_t(row)][size_t(rng.random(12))]};
}

}  // namespace game8
