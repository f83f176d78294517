#include "games/coinboard.h"

#include <cmath>

#include "drawing/Unit2.h"

namespace coinboard {

namespace {
constexpr uint32_t kBoard = 0xF3FFFF;
constexpr uint32_t kTargetDrawn = 0x03FF00;
constexpr uint32_t kTargetErased = 0x00F300;
constexpr uint32_t kGrid = 0x000080;
}  // namespace

TRect CellRect(const TCell& c) {
  return {40 * c.column, 440 - 40 * c.row, 40 * c.column + 40, 480 - 40 * c.row};
}

bool HitCell(int x, int y, TCell& cell) {
  if (x < 0 || y < 0) return false;
  int column = x / 40, line = y / 40;
  if (column == 16) column = 15;
  if (line == 12) line = 11;
  if (column > 15 || line > 11) return false;
  const int fx = x % 40, fy = y % 40;
  if (fx < 6 || fx > 34 || fy < 6 || fy > 34) return false;
  cell = {column, 11 - line};
  return true;
}

bool TrackTest(int x, int y, const TrackSegment& s, int d) {
  const float dx = float(s.bx - s.ax), dy = float(s.by - s.ay);
  const float L = dx * dx + dy * dy;
  const float t = L == 0 ? 1000.0f : ((float(x - s.ax)) * dx + (float(y - s.ay)) * dy) / L;
  if (!(t > 0 && t < 1)) return false;
  const float px = float(s.ax) + t * dx - float(x), py = float(s.ay) + t * dy - float(y);
  return std::sqrt(px * px + py * py) < float(d);
}

void DrawBoard() {
  TXBitmap& b = *BackgroundBitmap;
  b.FillRect({0, 0, b.Width(), b.Height()}, kBoard);
  b.FillRect({1, 441, 41, 481}, kTargetDrawn);
  b.SetPenWidth(1);
  b.SetPenLevel(1);
  b.SetPenColor(kGrid);
  b.SetDashStyle(0);
  b.LineEnds = 0;
  for (int y = 0; y <= 480; y += 40) b.Line(0, y, 640, y);
  for (int x = 0; x <= 640; x += 40) b.Line(x, 0, x, 480);
  ComposeBitmap->CopyRect(0, 0, b, b.ClipRect());
  UpdateArea = {b.ClipRect(), true};
  FlushScreen();
  ClearAreas();
}

void EraseCell(const TCell& cell) {
  const TRect r = CellRect(cell);
  const bool target = cell == TCell{0, 0};
  BackgroundBitmap->FillRect({r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1},
                             target ? kTargetErased : kBoard);
  AddErase(r);
}

void DrawInCell(const TXBitmap& image, const TCell& cell) {
  const TRect r = CellRect(cell);
  BackgroundBitmap->Draw(r.Left, r.Top, image);
  AddErase(r);
}

}  // namespace coinboard

using namespace coinboard;

void TCoinGame::PrepareBoard() { DrawBoard(); }

void TCoinGame::NewPosition() { SetCoin(RandomStart()); }

void TCoinGame::SetCoin(const TCell& cell) {
  EraseCell(coin_);
  RestoreBackground();
  FlushScreen();
  coin_ = cell;
  DrawInCell(*CoinSprite, coin_);
  RestoreBackground();
  FlushScreen();
  dragState_ = 0;
  pointerValid_ = false;
}

void TCoinGame::StartComputerMove() {
  target_ = ComputerTarget(coin_);
  moving_ = CellRect(coin_);
  EraseCell(coin_);  // off the background; the screen still shows it
  shell_.SetMoveTimer(true);
}

void TCoinGame::TimerStep() {
  if (moving_.Right == moving_.Left) return;  // no motion under way
  MarkDirty(moving_);
  RestoreBackground();
  Shift(moving_);
  ComposeBitmap->Draw(moving_.Left, moving_.Top, *CoinSprite);
  MarkDirty(moving_);
  FlushScreen();
  TCell hit;
  if (HitCell(moving_.Left + 20, moving_.Top + 20, hit) && hit == target_) {
    shell_.SetMoveTimer(false);
    moving_ = {0, 0, 0, 0};
    coin_ = target_;
    RestoreBackground();
    DrawInCell(*CoinSprite, coin_);
    RestoreBackground();
    FlushScreen();
    shell_.RaiseEvent(EvComputerMoved);
  }
}

bool TCoinGame::OnTrack(int x, int y) const {
  for (const TrackSegment& t : tracks_)
    if (TrackTest(x, y, t, 15)) return true;
  return false;
}

void TCoinGame::HandleMouse() {
  switch (MouseAction) {
    case 1:
      if (dragState_ == 0) {
        TCell hit;
        const bool onCoin = HitCell(MouseX, MouseY, hit) && hit == coin_;
        if (onCoin != pointerValid_)
          shell_.SetBoardCursor(onCoin ? Qt::PointingHandCursor : Qt::ArrowCursor);
        pointerValid_ = onCoin;
      } else if (dragState_ == 1) {
        EraseCell(coin_);
        DrawInCell(*RingSprite, coin_);
        pointerValid_ = OnTrack(MouseX, MouseY);
        dragState_ = 2;
      } else {
        RestoreBackground();
        const int px = MouseX - grabX_, py = MouseY - grabY_;
        pointerValid_ = OnTrack(px, py);
        if (!pointerValid_) return;
        ComposeBitmap->Draw(px, py, *CoinSprite);
        MarkDirty({px, py, px + 40, py + 40});
        FlushScreen();
      }
      break;
    case 0:
      if (dragState_ != 0 || !pointerValid_) return;
      grabX_ = MouseX % 40;
      grabY_ = MouseY % 40;
      dragState_ = 1;
      tracks_ = Tracks(coin_);
      break;
    case 2: {
      if (dragState_ == 0) return;
      EraseCell(coin_);
      bool moved = false;
      TCell hit;
      if (pointerValid_) {
        const int px = MouseX - grabX_, py = MouseY - grabY_;
        moved = HitCell(px + 20, py + 20, hit) && !(hit == coin_);
      }
      if (moved) {
        DrawInCell(*CoinSprite, hit);
        MarkDirty(CellRect(hit));
        coin_ = hit;
      } else {
        DrawInCell(*CoinSprite, coin_);
      }
      RestoreBackground();
      FlushScreen();
      dragState_ = 0;
      pointerValid_ = false;
      shell_.SetBoardCursor(Qt::ArrowCursor);
      shell_.RaiseEvent(moved ? EvPlayerMoved : EvWrongMove);
      break;
    }
    default:
      break;
  }
}
