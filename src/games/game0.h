// Game 1: two columns of blocks; a move takes one or more blocks from the
// top of one column; whoever takes the last block wins.
#pragma once

#include <cstdint>

#include "drawing/Xbitmap.h"
#include "games/GameModule.h"

namespace game0 {
// The rules, without a window.
constexpr int kMaxHeight = 12;
struct TPosition {
  uint8_t heights[2];  // column 1 (left) and column 2 (right)
};
// Good positions are those with equal columns: every move unbalances them.
inline bool IsGood(const TPosition& p) { return p.heights[0] == p.heights[1]; }
inline bool IsFinal(const TPosition& p) { return p.heights[0] == 0 && p.heights[1] == 0; }
struct TMove {
  uint8_t column;  // 1 or 2
  uint8_t count;   // blocks taken from the top, at least 1
};
// The computer's choice: equalise the columns when they differ; otherwise a
// random move that never empties a column of 3 or more nor leaves one block.
TMove ComputerMove(const TPosition& p);

// Board geometry and hit test.
TRect BlockRect(int column, int row);
struct THit {
  bool found;
  int column, row;
};
THit HitBlock(const TPosition& p, int x, int y);
}  // namespace game0

class TGame0 final : public TGameModule {
 public:
  using TGameModule::TGameModule;

  void PrepareBoard() override;
  void NewPosition() override;
  void StartComputerMove() override;
  void TimerStep() override;
  void HandleMouse() override;
  bool IsGameOver() override;

  // Shows the given position as a fresh start (NewPosition draws a random one).
  void SetPosition(const game0::TPosition& p);
  const game0::TPosition& Position() const { return pos_; }
  int BlocksToTake() const { return toTake_; }
  int ComputerColumn() const { return compColumn_; }

 private:
  void DrawBlock(int column, int row);
  void EraseBlock(int column, int row);
  void CrossBlock(int column, int row);
  void CrossBlocks();
  void TakeBlocks();

  game0::TPosition pos_{{0, 0}};
  int selColumn_ = 1, selRow_ = 1;
  bool hoverValid_ = false;
  bool pressed_ = false;
  int compColumn_ = 1;
  int toTake_ = 0;
  int ticks_ = 0;
  bool moving_ = false;  // a computer move is being shown
};
