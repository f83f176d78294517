// SPDX-License-Identifier: GPL-3.0-or-later
#include "games/game7_rules.h"

namespace game7 {

int Distance(const TPosition& p, int k) {
  if (k == 0) return p.CoinColumn[0];
  return p.CoinColumn[k] - p.CoinColumn[k - 1] - 1;
}

int LargestStep(const TPosition& p, int coin) { return Distance(p, coin - 1); }

std::vector<TMove> LegalMoves(const TPosition& p) {
  std::vector<TMove> moves;
  if (IsFinal(p)) return moves;
  for (int f = 1; f <= p.CoinCount; ++f)
    for (int s = LargestStep(p, f); s >= 1; --s)
      moves.push_back({uint8_t(f), int8_t(p.CoinColumn[f - 1] - s)});
  return moves;
}

bool IsLegal(const TPosition& p, const TMove& m) {
  if (IsFinal(p) || m.coin < 1 || m.coin > p.CoinCount) return false;
  const int s = p.CoinColumn[m.coin - 1] - m.column;
  return s >= 1 && s <= LargestStep(p, m.coin);
}

void RemoveDropped(TPosition& p) {
  if (p.CoinCount == 0 || p.CoinColumn[0] != 0) return;
  for (int k = 1; k < p.CoinCount; ++k) p.CoinColumn[k - 1] = p.CoinColumn[k];
  p.CoinColumn[p.CoinCount - 1] = 0;
  --p.CoinCount;
  --p.EuroIndex;
}

TPosition Apply(const TPosition& p, const TMove& m) {
  TPosition next = p;
  next.CoinColumn[m.coin - 1] = m.column;
  RemoveDropped(next);
  return next;
}

bool IsFinal(const TPosition& p) { return p.EuroIndex == 0; }

bool IsGood(const TPosition& p) {
  const int e = p.EuroIndex, n = p.CoinCount;
  auto D = [&p](int k) { return Distance(p, k); };
  if (e == 0) return true;
  if (e == 1) return D(0) == 0;
  if (e == 2) {
    switch (n) {
      case 2:
        return D(1) == 0;
      case 3:
        return D(0) - 1 == D(2);
      case 4:
        return D(1) == D(3);
      case 5:
        return ((D(0) - 1) ^ D(2) ^ D(4)) == 0;
      default:
        return false;
    }
  }
  if (e == 3 && n == 3) return D(0) == D(2);
  if ((e == 3 || e == 4) && n == 4) return D(1) == D(3);
  if (e >= 3 && e <= 5 && n == 5) return (D(0) ^ D(2) ^ D(4)) == 0;
  return false;
}

TMove ComputerMove(const TPosition& p, TRandom& rng) {
  if (!IsGood(p)) {
    for (int f = 1; f <= p.CoinCount; ++f)
      for (int s = LargestStep(p, f); s >= 1; --s) {
        const TMove m{uint8_t(f), int8_t(p.CoinColumn[f - 1] - s)};
        if (IsGood(Apply(p, m))) return m;
      }
  }
  int candidates[5], count = 0;
  for (int f = 2; f <= p.CoinCount; ++f)
    if (LargestStep(p, f) > 0) candidates[count++] = f;
  const int coin = count == 0 ? 1 : candidates[rng.random(count)];
  return {uint8_t(coin), int8_t(p.CoinColumn[coin - 1] - rng.random(LargestStep(p, coin)) - 1)};
}

TPosition RandomStart(int level, TRandom& rng) {
  auto next = [&rng](int p, int m) { return p + 1 + rng.random(m - p); };
  TPosition p;
  int8_t* c = p.CoinColumn;
  if (level <= 0) {
    p.CoinCount = 2;
    c[0] = int8_t(rng.random(9) + 3);
    c[1] = int8_t(next(c[0], 15));
    p.EuroIndex = 2;
  } else if (level <= 2) {
    p.CoinCount = 3;
    c[0] = int8_t(rng.random(9) + 1);
    c[1] = int8_t(next(c[0], 13));
    c[2] = int8_t(next(c[1], 15));
    p.EuroIndex = uint8_t(rng.random(2) + 2);
  } else if (level == 3) {
    p.CoinCount = 4;
    c[0] = int8_t(rng.random(6) + 2);
    c[1] = int8_t(next(c[0], 12));
    c[2] = int8_t(next(c[1], 14));
    c[3] = int8_t(next(c[2], 15));
    p.EuroIndex = uint8_t(rng.random(3) + 2);
  } else {
    p.CoinCount = 5;
    c[0] = int8_t(rng.random(5) + 2);
    c[1] = int8_t(next(c[0], 10));
    c[2] = int8_t(next(c[1], 12));
    c[3] = int8_t(next(c[2], 14));
    c[4] = int8_t(next(c[3], 15));
    p.EuroIndex = uint8_t(rng.random(4) + 2);
  }
  return p;
}

}  // namespace game7
