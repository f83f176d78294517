// SPDX-License-Identifier: GPL-3.0-or-later
#include "games/game8.h"

#include <algorithm>

#include "drawing/Unit2.h"
#include "drawing/pieces.h"
#include "games/position_text.h"

using namespace game8;

namespace {
constexpr uint32_t kGround = 0xD3FFFF;
constexpr uint32_t kStrip = 0xF3FFFF;
constexpr uint32_t kLines = 0x000080;
constexpr uint32_t kFrame = 0x0080FF;

TRect PlaceRect(int i) { return {40 * i, 180, 40 * i + 40, 240}; }

// The rightmost place for the ball that a pointer on the board (x 0..640)
// can still get strictly inside.
constexpr int kLastReachable = 620;
}  // namespace

void TGame8::EraseCan(int i) {
  board_.BackgroundBitmap.FillRect({40 * i + 1, 181, 40 * i + 39, 239}, kStrip);
  board_.AddErase({40 * i + 1, 181, 40 * i + 39, 239});
}

void TGame8::DrawCan(int i) {
  EraseCan(i);
  board_.BackgroundBitmap.Draw(40 * i, 180, PieceImages().CanSprite);
  board_.AddErase(PlaceRect(i));
}

void TGame8::FrameCans(uint16_t mask) {
  TXBitmap& c = board_.ComposeBitmap;
  c.SetPenWidth(3);
  c.SetPenColor(kFrame);
  c.SetPenLevel(0);
  c.SetDashStyle(0);
  c.Filled = false;
  // Only the places that change: a new frame, or an old one taken away (the
  // other places already show the background).
  const uint16_t changed = mask | framed_;
  for (int i = 0; i < 16; ++i) {
    if (!(changed >> i & 1)) continue;
    const TRect r = PlaceRect(i);
    if (mask >> i & 1)
      c.RoundRect(40 * i + 2, 182, 40 * i + 37, 237, 5);
    else
      c.CopyRect(r.Left, r.Top, board_.BackgroundBitmap, r);
    board_.MarkDirty(r);
  }
  framed_ = mask;
  board_.FlushScreen();  // nothing reaches the screen between the places
}

void TGame8::DrawBall(int x, int y) {
  board_.ComposeBitmap.CopyRect(ballRect_.Left, ballRect_.Top, board_.BackgroundBitmap, ballRect_);
  board_.ComposeBitmap.Draw(x, y, PieceImages().BallSprite);
  const TRect moved{x, y, x + 40, y + 40};
  board_.AddUpdate(RectUnion(moved, ballRect_));
  board_.FlushScreen();
  ballRect_ = moved;
}

void TGame8::KnockOver(uint16_t mask) {
  standing_ ^= mask;
  for (int i = 0; i < 16; ++i)
    if (mask >> i & 1) EraseCan(i);
  board_.RestoreBackground();
  board_.FlushScreen();
}

void TGame8::PrepareBoard() {
  TXBitmap& b = board_.BackgroundBitmap;
  b.FillRect({0, 0, b.Width(), b.Height()}, kGround);
  b.FillRect({0, 180, 641, 240}, kStrip);
  b.SetPenWidth(1);
  b.SetPenLevel(0);
  b.SetPenColor(kLines);
  b.LineEnds = 0;
  b.SetDashStyle(2);
  b.Line(0, 180, 640, 180);
  b.Line(0, 240, 640, 240);
  for (int i = 0; i <= 16; ++i) b.Line(40 * i, 180, 40 * i, 240);
  b.SetDashStyle(0);
  b.SetPenWidth(3);
  b.Line(0, 390, 641, 390);
  board_.ComposeBitmap.CopyRect(0, 0, b, b.ClipRect());
  framed_ = 0;
  ballRect_ = {0, 350, 40, 390};
  DrawBall(0, 350);
  board_.UpdateArea = {b.ClipRect(), true};
  board_.FlushScreen();
  board_.ClearAreas();
}

void TGame8::NewPosition() {
  SetStanding(RandomStart(shell_.LevelOf(gameType_), zam::ProgramRandom()).Standing);
}

void TGame8::SetStanding(uint16_t standing) {
  standing_ = standing;
  for (int i = 0; i < 16; ++i) {
    if (standing_ >> i & 1)
      DrawCan(i);
    else
      EraseCan(i);
  }
  selected_ = 0;
  shell_.SetBoardCursor(Qt::ArrowCursor);  // nothing framed, nothing under the hand
  board_.RestoreBackground();
  board_.FlushScreen();
}

void TGame8::ResetPlayerInput() {
  ballState_ = 0;
  selected_ = 0;
  tick_ = 0;
  overBall_ = false;
  // The hover is forgotten, so is its hand: the next move over a can or
  // the ball brings it back.
  shell_.SetBoardCursor(Qt::ArrowCursor);
}

void TGame8::StartComputerMove() {
  computerMask_ = ComputerMove({standing_}, zam::ProgramRandom());
  computerMoveText_ = position_text::DescribeComputerCans({standing_}, computerMask_);
  tick_ = 0;
  shell_.SetMoveTimer(true);
  standing_ ^= computerMask_;  // the cans stay on screen until the display ends
}

void TGame8::HitCans(int x, int y) {
  if (!(185 < y && y < 235)) {
    candidate_ = 0;
  } else if (x >= 0) {
    const int c = x % 40, d = x / 40;
    uint32_t mask = 0;
    bool keep = false;
    if (6 <= c && c <= 34)
      mask = 1u << d;
    else if (c >= 36 && d < 15)
      mask = 3u << d;
    else if (c <= 4 && d > 0)
      mask = 3u << (d - 1);
    else
      keep = true;
    if (!keep) candidate_ = d < 16 ? uint16_t(mask) : 0;
  } else {
    candidate_ = 0;  // left of the board
  }
  if ((candidate_ & standing_) != candidate_) candidate_ = 0;
}

uint16_t TGame8::CansUnderBall() const {
  const int cx = ballRect_.Left + 20;
  uint32_t places = 0;
  if (cx % 40 == 0) {
    const int right = cx / 40;
    if (right - 1 >= 0 && right - 1 <= 15) places |= 1u << (right - 1);
    if (right >= 0 && right <= 15) places |= 1u << right;
  } else if (cx >= 0 && cx / 40 <= 15) {
    places = 1u << (cx / 40);
  }
  return uint16_t(places & standing_);
}

void TGame8::TimerStep() {
  const TGameState state = shell_.State();
  if (state == TGameState::GsComputerMoving) {
    if (computerMask_ == 0) return;  // no computer move under way
    ++tick_;
    if (tick_ == 30) FrameCans(computerMask_);
    if (tick_ == 60) {
      shell_.SetMoveTimer(false);
      for (int i = 0; i < 16; ++i)
        if (computerMask_ >> i & 1) EraseCan(i);
      board_.RestoreBackground();
      board_.FlushScreen();
      computerMask_ = 0;
      ballState_ = 0;
      tick_ = 0;
      shell_.RaiseEvent(ControllerEvent::EvComputerMoved);
    }
    return;
  }
  if (state != TGameState::GsPlayerToMove || ballState_ != 4) return;  // no throw under way
  if (tick_ == 0) DrawBall(ballRect_.Left, ballRect_.Top - 2);         // rising
  if (ballRect_.Top >= 180) return;
  if (tick_ == 0) {
    KnockOver(selected_);
    DrawBall(ballRect_.Left, ballRect_.Top);  // over the emptied places
  } else if (tick_ == 25) {
    board_.AddErase(ballRect_);  // the ball vanishes
    board_.RestoreBackground();
    board_.FlushScreen();
  } else if (tick_ == 75) {
    shell_.SetMoveTimer(false);
    // Back on the lane, under where it was thrown; a ball thrown from the
    // lane's right end (640, where it hits no can) would rest where no
    // pointer can get inside it, so it comes back one place to the left.
    DrawBall(std::min(ballRect_.Left, kLastReachable), 350);
    ballState_ = 0;
    shell_.RaiseEvent(selected_ != 0 ? ControllerEvent::EvPlayerMoved
                                     : ControllerEvent::EvWrongMove);
    return;
  }
  ++tick_;
}

void TGame8::HandleMouse(const TBoardInput& input) {
  const int x = input.MouseX, y = input.MouseY;
  const bool inBall =
      ballRect_.Left < x && x < ballRect_.Right && ballRect_.Top < y && y < ballRect_.Bottom;
  switch (input.MouseAction) {
    case TInputKind::Move:
      if (ballState_ == 0 || ballState_ == 1) {
        HitCans(x, y);
        if (candidate_ != selected_) {
          shell_.SetBoardCursor(candidate_ != 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
          FrameCans(candidate_);
        }
        selected_ = candidate_;
        if (selected_ != 0) return;
        if (inBall != overBall_)
          shell_.SetBoardCursor(inBall ? Qt::PointingHandCursor : Qt::ArrowCursor);
        overBall_ = inBall;
        ballState_ = inBall ? 1 : 0;
      } else if (ballState_ == 2) {
        if (inBall) ballState_ = 3;
      } else if (ballState_ == 3) {
        if (0 < x && x < 640 && 350 < y && y < 390) {
          const int left = x - grabOffsetX_;
          DrawBall((left + 10) / 20 * 20, 350);
        } else {
          ballState_ = 2;  // paused until the pointer is over the ball again
        }
      }
      break;
    case TInputKind::Press:
      if (ballState_ == 0 && selected_ != 0) {
        const uint16_t mask = selected_;
        if (!IsLegal({standing_}, mask)) return;
        KnockOver(mask);
        shell_.SetBoardCursor(Qt::ArrowCursor);
        selected_ = 0;
        shell_.RaiseEvent(ControllerEvent::EvPlayerMoved);
      } else if (ballState_ == 1) {
        ballState_ = 3;
        grabOffsetX_ = x - ballRect_.Left;
      }
      break;
    case TInputKind::Release:
      if (ballState_ == 1 || ballState_ == 2) {
        shell_.SetBoardCursor(Qt::ArrowCursor);
        shell_.RaiseEvent(ControllerEvent::EvWrongMove);
      } else if (ballState_ == 3) {
        selected_ = CansUnderBall();
        tick_ = 0;
        ballState_ = 4;
        shell_.SetBoardCursor(Qt::ArrowCursor);
        shell_.SetMoveTimer(true);
      } else if (ballState_ != 4) {
        shell_.SetBoardCursor(Qt::ArrowCursor);
      }
      break;
    default:
      break;
  }
}

// ---- keyboard play -------------------------------------------------------------

namespace {
// Where a click knocks over the cans of a move: a can's middle, or the
// border between the two cans of a pair.
TPoint ClickPoint(uint16_t mask) {
  const int first = __builtin_ctz(mask);
  return {mask >> first == 3 ? 40 * first + 40 : 40 * first + 20, 210};
}
}  // namespace

int TGame8::KeyMoveCount() const { return Busy() ? 0 : int(game8::LegalMoves({standing_}).size()); }

// A move is shown as the pointer over it shows it: its cans framed.
void TGame8::ShowKeyMove(int index) {
  if (index < 0) {
    HandleMouse({TInputKind::Move, 0, 300});  // away from the cans and the ball
    return;
  }
  const TPoint p = ClickPoint(game8::LegalMoves({standing_}).at(size_t(index)));
  HandleMouse({TInputKind::Move, p.x, p.y});
}

void TGame8::PlayKeyMove(int index) {
  const TPoint p = ClickPoint(game8::LegalMoves({standing_}).at(size_t(index)));
  HandleMouse({TInputKind::Move, p.x, p.y});
  HandleMouse({TInputKind::Press, p.x, p.y});
  HandleMouse({TInputKind::Release, p.x, p.y});
}

std::string TGame8::Describe() const {
  return position_text::Describe(game8::TPosition{standing_});
}

std::string TGame8::DescribeKeyMove(int index) const {
  return position_text::DescribeCans({standing_}, game8::LegalMoves({standing_}).at(size_t(index)));
}
