// SPDX-License-Identifier: GPL-3.0-or-later
#include "games/game0.h"

#include "drawing/Unit2.h"
#include "games/position_text.h"

namespace {
constexpr uint32_t kGround = 0xD3FFFF;   // pale yellow
constexpr uint32_t kOutline = 0x0000C0;  // dark red
constexpr uint32_t kFill = 0x0080FF;     // orange
constexpr uint32_t kCross = 0x0000FF;    // red
}  // namespace

namespace game0 {

TRect BlockRect(int column, int row) {
  const int left = column == 1 ? 250 : 330, top = (12 - row) * 40;
  return {left, top, left + 60, top + 40};
}

THit HitBlock(const TPosition& p, int x, int y) {
  int column = 0;
  if (255 < x && x < 300) column = 1;
  if (335 < x && x < 380) column = 2;
  int row = 0;
  if (y >= 0 && y % 40 >= 6) row = 12 - y / 40;
  const bool found = column != 0 && row >= 1 && row <= p.ColumnHeights[column - 1];
  return {found, column, row};
}

}  // namespace game0

using namespace game0;

void TGame0::DrawBlock(int column, int row) {
  TXBitmap& b = board_.BackgroundBitmap;
  const TRect r = BlockRect(column, row);
  b.SetPenColor(kOutline);
  b.SetFillColor(kFill);
  b.SetPenLevel(0);
  b.SetFillLevel(0);
  b.SetDashStyle(0);
  b.Filled = true;
  b.SetPenWidth(2);
  b.RoundRect(r.Left + 1, r.Top + 1, r.Right - 2, r.Bottom - 2, 0);
  board_.AddErase(r);
}

void TGame0::EraseBlock(int column, int row) {
  const TRect r = BlockRect(column, row);
  board_.BackgroundBitmap.FillRect(r, kGround);
  board_.AddErase(r);
}

void TGame0::CrossBlock(int column, int row) {
  TXBitmap& b = board_.BackgroundBitmap;
  const TRect r = BlockRect(column, row);
  b.SetPenWidth(3);
  b.SetPenColor(kCross);
  b.Line(r.Left + 3, r.Top + 3, r.Right - 3, r.Bottom - 3);
  board_.AddErase(b.ChangedRect());
  b.Line(r.Left + 3, r.Bottom - 3, r.Right - 3, r.Top + 3);
  board_.AddErase(b.ChangedRect());
}

void TGame0::PrepareBoard() {
  board_.BackgroundBitmap.FillRect(
      {0, 0, board_.BackgroundBitmap.Width(), board_.BackgroundBitmap.Height()}, kGround);
  for (int column = 1; column <= 2; ++column)
    for (int row = 1; row <= 11; ++row) DrawBlock(column, row);
  board_.ShowBackground();
}

void TGame0::NewPosition() { SetPosition(RandomStart(zam::ProgramRandom())); }

void TGame0::SetPosition(const TPosition& p) {
  pos_ = p;
  for (int column = 1; column <= 2; ++column)
    for (int row = 1; row <= kMaxHeight; ++row)
      if (row <= pos_.ColumnHeights[column - 1])
        DrawBlock(column, row);
      else
        EraseBlock(column, row);
  board_.RestoreBackground();
  board_.FlushScreen();
  pressed_ = false;
  // No hover on the new position: the arrow, whatever the pointer last left.
  hoverValid_ = false;
  shell_.SetBoardCursor(Qt::ArrowCursor);
}

void TGame0::CrossBlocks() {
  for (int row = selRow_; row <= pos_.ColumnHeights[selColumn_ - 1]; ++row)
    CrossBlock(selColumn_, row);
  board_.RestoreBackground();
  board_.FlushScreen();
}

void TGame0::TakeBlocks() {
  const int height = pos_.ColumnHeights[selColumn_ - 1];
  for (int row = selRow_; row <= height; ++row) EraseBlock(selColumn_, row);
  board_.RestoreBackground();
  board_.FlushScreen();
}

void TGame0::HandleMouse(const TBoardInput& input) {
  const int MouseX = input.MouseX, MouseY = input.MouseY;
  switch (input.MouseAction) {
    case TInputKind::Move: {
      if (pressed_) return;
      const THit hit = HitBlock(pos_, MouseX, MouseY);
      if (hit.found) {
        selColumn_ = hit.column;
        selRow_ = hit.row;
      }
      if (!hoverValid_ && hit.found) shell_.SetBoardCursor(Qt::PointingHandCursor);
      if (hoverValid_ && !hit.found) shell_.SetBoardCursor(Qt::ArrowCursor);
      hoverValid_ = hit.found;
      break;
    }
    case TInputKind::Press:
      // The hover test is repeated at the press, so a press without a
      // movement since the last move cannot act on a block that is gone.
      if (hoverValid_ && HitBlock(pos_, MouseX, MouseY).found) {
        const THit hit = HitBlock(pos_, MouseX, MouseY);
        selColumn_ = hit.column;
        selRow_ = hit.row;
        pressed_ = true;
        CrossBlocks();
      }
      break;
    case TInputKind::Release: {
      shell_.SetBoardCursor(Qt::ArrowCursor);
      const bool wasPressed = pressed_;
      pressed_ = false;
      // The selected block and all above it; the rules confirm the move.
      const TMove move{uint8_t(selColumn_),
                       uint8_t(pos_.ColumnHeights[selColumn_ - 1] - selRow_ + 1)};
      if (wasPressed && IsLegal(pos_, move)) {
        TakeBlocks();
        pos_ = Apply(pos_, move);
        shell_.RaiseEvent(ControllerEvent::EvPlayerMoved);
      }
      break;
    }
    default:
      break;
  }
}

void TGame0::StartComputerMove() {
  const TMove move = ComputerMove(pos_, zam::ProgramRandom());
  computerMoveText_ = position_text::DescribeComputer(pos_, move);
  compColumn_ = move.column;
  toTake_ = move.count;
  ticks_ = 0;
  moving_ = true;
  shell_.SetMoveTimer(true);
}

void TGame0::TimerStep() {
  if (!moving_) return;  // a tick with no computer move under way
  if (toTake_ == 0) {
    moving_ = false;
    shell_.SetMoveTimer(false);
    shell_.RaiseEvent(ControllerEvent::EvComputerMoved);
    return;
  }
  ++ticks_;
  const int height = pos_.ColumnHeights[compColumn_ - 1];
  if (ticks_ == 20) {
    CrossBlock(compColumn_, height);
  } else if (ticks_ == 30) {
    EraseBlock(compColumn_, height);
    ticks_ = 10;
    --toTake_;
    pos_ = Apply(pos_, {uint8_t(compColumn_), 1});
  } else {
    return;
  }
  board_.RestoreBackground();
  board_.FlushScreen();
}

bool TGame0::IsGameOver() { return IsFinal(pos_); }

// ---- keyboard play -------------------------------------------------------------

// The crossed blocks drawn as they were before the press.
void TGame0::UncrossBlocks() {
  for (int row = selRow_; row <= pos_.ColumnHeights[selColumn_ - 1]; ++row) {
    EraseBlock(selColumn_, row);
    DrawBlock(selColumn_, row);
  }
  board_.RestoreBackground();
  board_.FlushScreen();
}

// The middle of the lowest block a move takes, where its press goes.
TPoint TGame0::KeyMoveBlock(const TMove& m) const {
  return RectCentre(BlockRect(m.column, pos_.ColumnHeights[m.column - 1] - m.count + 1));
}

int TGame0::KeyMoveCount() const { return int(LegalMoves(pos_).size()); }

// A move is shown as a press on its lowest block shows it: that block and
// all above it crossed.
void TGame0::ShowKeyMove(int index) {
  if (pressed_) {
    UncrossBlocks();
    pressed_ = false;
    shell_.SetBoardCursor(Qt::ArrowCursor);
  }
  if (index < 0) return;
  const TMove m = LegalMoves(pos_).at(size_t(index));
  const TPoint p = KeyMoveBlock(m);
  HandleMouse({TInputKind::Move, p.x, p.y});
  HandleMouse({TInputKind::Press, p.x, p.y});
}

void TGame0::PlayKeyMove(int index) {
  const TPoint p = KeyMoveBlock(LegalMoves(pos_).at(size_t(index)));
  ShowKeyMove(index);
  HandleMouse({TInputKind::Release, p.x, p.y});
}

std::string TGame0::Describe() const { return position_text::Describe(pos_); }

std::string TGame0::DescribeKeyMove(int index) const {
  return position_text::Describe(pos_, LegalMoves(pos_).at(size_t(index)));
}
