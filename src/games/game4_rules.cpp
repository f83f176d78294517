// SPDX-License-Identifier: GPL-3.0-or-later
#include "games/game4_rules.h"

namespace game4 {

namespace {
int Mod(int v) { return ((v % kCells) + kCells) % kCells; }

// The free cells strictly between `behind` and `ahead`, going forward.
std::vector<int> Between(int behind, int ahead) {
  std::vector<int> cells;
  for (int c = Next(behind); c != ahead; c = Next(c)) cells.push_back(c);
  return cells;
}

// The coins behind and ahead of one coin of a side.
void Neighbours(const TPosition& p, TSide side, int coin, int& behind, int& ahead) {
  if (side == SidePlayer) {
    behind = coin == 1 ? p.ComputerCell[1] : p.PlayerCell[0];
    ahead = coin == 1 ? p.PlayerCell[1] : p.ComputerCell[0];
  } else {
    behind = coin == 1 ? p.PlayerCell[1] : p.ComputerCell[0];
    ahead = coin == 1 ? p.ComputerCell[1] : p.PlayerCell[0];
  }
}
}  // namespace

int GapA(const TPosition& p) { return Mod(p.ComputerCell[0] - p.PlayerCell[1] - 1); }
int GapB(const TPosition& p) { return Mod(p.PlayerCell[0] - p.ComputerCell[1] - 1); }
int GapM(const TPosition& p) { return Mod(p.ComputerCell[1] - p.ComputerCell[0] - 1); }

std::vector<TMove> LegalMoves(const TPosition& p, TSide side) {
  std::vector<TMove> moves;
  for (int coin = 1; coin <= 2; ++coin) {
    int behind, ahead;
    Neighbours(p, side, coin, behind, ahead);
    const int own = side == SidePlayer ? p.PlayerCell[coin - 1] : p.ComputerCell[coin - 1];
    for (int c : Between(behind, ahead))
      if (c != own) moves.push_back({uint8_t(coin), uint8_t(c)});
  }
  return moves;
}

bool IsLegal(const TPosition& p, TSide side, const TMove& m) {
  if (m.coin < 1 || m.coin > 2 || m.cell >= kCells) return false;
  for (const TMove& legal : LegalMoves(p, side))
    if (legal == m) return true;
  return false;
}

TPosition Apply(const TPosition& p, TSide side, const TMove& m) {
  TPosition next = p;
  (side == SidePlayer ? next.PlayerCell : next.ComputerCell)[m.coin - 1] = m.cell;
  return next;
}

bool IsFinal(const TPosition& p) {
  const int x1 = p.PlayerCell[0], x2 = p.PlayerCell[1], o1 = p.ComputerCell[0],
            o2 = p.ComputerCell[1];
  const bool playerShut = Next(o2) == x1 && Next(x1) == x2 && Next(x2) == o1;
  const bool computerShut = Next(x2) == o1 && Next(o1) == o2 && Next(o2) == x1;
  return playerShut || computerShut;
}

bool IsGood(const TPosition& p) { return GapA(p) == GapB(p); }

TComputerMove ComputerMove(const TPosition& p, TRandom& rng) {
  const int a = GapA(p), b = GapB(p), m = GapM(p);
  if (b < a) return {{1, uint8_t(Mod(p.PlayerCell[1] + b + 1))}, -1};
  if (a < b) return {{2, uint8_t(Mod(p.PlayerCell[0] - a - 1))}, +1};
  // A = B: no good move; a random one. The count runs forward through the
  // gap ahead of the coin, then on through the gap behind it.
  const int count[2] = {a + m, b + m};
  if (count[0] == 0 && count[1] == 0) return {{1, p.ComputerCell[0]}, +1};  // final: never asked
  int coin = 1;
  do {
    coin = rng.random(2) + 1;
  } while (count[coin - 1] == 0);
  int c = p.ComputerCell[coin - 1];
  bool behind = false;
  for (int n = rng.random(count[coin - 1]) + 1; n > 0; --n) {
    c = Next(c);
    if (coin == 1 && c == p.ComputerCell[1]) {
      c = Next(p.PlayerCell[1]);
      behind = true;
    }
    if (coin == 2 && c == p.PlayerCell[0]) {
      c = Next(p.ComputerCell[0]);
      behind = true;
    }
  }
  // The coin travels through the free cells: back to a target behind it, so
  // it never slides over another coin on the screen.
  return {{uint8_t(coin), uint8_t(c)}, int8_t(behind ? -1 : +1)};
}

TPosition RandomStart(TRandom& rng) {
  TPosition p;
  p.PlayerCell[0] = 0;
  p.PlayerCell[1] = uint8_t(rng.random(14) + 1);
  p.ComputerCell[0] = uint8_t(p.PlayerCell[1] + 1 + rng.random(20 - p.PlayerCell[1]));
  p.ComputerCell[1] = uint8_t(p.ComputerCell[0] + 1 + rng.random(22 - p.ComputerCell[0]));
  return p;
}

}  // namespace game4
