// SPDX-License-Identifier: GPL-3.0-or-later
#include "games/game4.h"

#include <cmath>
#include <numbers>

#include "drawing/Unit2.h"
#include "drawing/pieces.h"
#include "games/position_text.h"

namespace game4 {

namespace {
constexpr uint32_t kGround = 0xD3FFFF;
constexpr uint32_t kTrack = 0xF3FFFF;
constexpr uint32_t kLines = 0x000080;
constexpr float kPi = std::numbers::pi_v<float>;

int Radius(int x, int y) {
  const double dx = x - 320, dy = y - 240;
  return int(std::sqrt(dx * dx + dy * dy));
}
}  // namespace

float PolarDegrees(int x, int y) {
  if (x == 320) return y > 240 ? 90.0f : 270.0f;
  const float ratio = float(y - 240) / float(x - 320);
  float angle = std::atan(ratio) * (180.0f / kPi);
  if (x < 320) angle += 180.0f;
  if (angle < 0) angle += 360.0f;
  return angle;
}

TPoint CellCentre(int k) {
  // The angle is held in single precision, the rest is worked in double:
  // cell 6 then lies just left of and above (320, 445).
  const double phi = double(float(k * std::numbers::pi / 12.0));
  return {int(320.0 + 205.0 * std::cos(phi)), int(240.0 + 205.0 * std::sin(phi))};
}

int CellAngle(int k) {
  const TPoint c = CellCentre(k);
  return int(PolarDegrees(c.x, c.y));
}

TRect RingCellRect(int k) {
  const TPoint c = CellCentre(k);
  return {c.x - 20, c.y - 20, c.x + 20, c.y + 20};
}

int RingHit(int x, int y) {
  const int d = int(PolarDegrees(x, y) + 7.5f);
  const int r = Radius(x, y);
  if (!(180 < r && r < 230) || d % 15 < 2 || d % 15 > 13) return -1;
  const int cell = d / 15;
  return cell == 24 ? 0 : cell;
}

bool ArcTest(int x, int y, int low, int high, int tolerance) {
  const int a = int(PolarDegrees(x, y));
  const bool inArc = low < high ? (low < a && a < high) : (a > low || a < high);
  return inArc && std::abs(Radius(x, y) - 205) < tolerance;
}

}  // namespace game4

using namespace game4;

void TGame4::EraseCell(int k) {
  const TPoint c = CellCentre(k);
  board_.BackgroundBitmap.FillRect({c.x - 17, c.y - 18, c.x + 17, c.y + 18}, kTrack);
  board_.AddErase(RingCellRect(k));
}

void TGame4::DrawInCell(int k, const TXBitmap& image) {
  const TRect r = RingCellRect(k);
  board_.BackgroundBitmap.Draw(r.Left, r.Top, image);
  board_.AddErase(r);
}

void TGame4::PrepareBoard() {
  TXBitmap& b = board_.BackgroundBitmap;
  b.FillRect({0, 0, b.Width(), b.Height()}, kGround);
  b.SetPenWidth(2);
  b.SetDashStyle(0);
  b.SetPenColor(kLines);
  b.SetPenLevel(0);
  b.SetFillColor(kTrack);
  b.SetFillLevel(0);
  b.Filled = true;
  b.Ellipse(85, 5, 555, 475);
  b.SetFillColor(kGround);
  b.Ellipse(145, 65, 495, 415);
  b.SetDashStyle(0);
  b.LineEnds = 0;
  for (int i = 0; i <= 5; ++i) {
    const double phi = double(float((i + 0.5) * std::numbers::pi / 12.0));
    const int s1 = int(235.0 * std::sin(phi)), c1 = int(235.0 * std::cos(phi));
    const int s2 = int(175.0 * std::sin(phi)), c2 = int(175.0 * std::cos(phi));
    b.Line(320 + s1, 240 + c1, 320 + s2, 240 + c2);
    b.Line(320 - s1, 240 + c1, 320 - s2, 240 + c2);
    b.Line(320 + s1, 240 - c1, 320 + s2, 240 - c2);
    b.Line(320 - s1, 240 - c1, 320 - s2, 240 - c2);
  }
  board_.ShowBackground();
}

void TGame4::NewPosition() { SetPosition(RandomStart(zam::ProgramRandom())); }

void TGame4::SetPosition(const TPosition& p) {
  EraseCell(pos_.ComputerCell[0]);
  EraseCell(pos_.ComputerCell[1]);
  EraseCell(pos_.PlayerCell[0]);
  EraseCell(pos_.PlayerCell[1]);
  pos_ = p;
  DrawInCell(pos_.ComputerCell[0], PieceImages().CoinOSprite);
  DrawInCell(pos_.ComputerCell[1], PieceImages().CoinOSprite);
  DrawInCell(pos_.PlayerCell[0], PieceImages().CoinXSprite);
  DrawInCell(pos_.PlayerCell[1], PieceImages().CoinXSprite);
  board_.RestoreBackground();
  board_.FlushScreen();
  drag_.Reset();
}

void TGame4::StartComputerMove() {
  choice_ = ComputerMove(pos_, zam::ProgramRandom());
  computerMoveText_ = position_text::DescribeComputer(pos_, choice_.move);
  const int from = pos_.ComputerCell[choice_.move.coin - 1];
  currentAngle_ = CellAngle(from);
  targetAngle_ = CellAngle(choice_.move.cell);
  EraseCell(from);  // off the background; the screen still shows it
  slide_.Start(RingCellRect(from), PieceImages().CoinOSprite);
}

// ---- the player's drag ---------------------------------------------------------

int TGame4::PieceAt(int x, int y) const {
  const int k = RingHit(x, y);
  if (k < 0) return -1;
  if (k == pos_.PlayerCell[0]) return 0;
  if (k == pos_.PlayerCell[1]) return 1;
  return -1;
}

TPoint TGame4::GrabOffset(int piece, int x, int y) const {
  const TPoint c = CellCentre(pos_.PlayerCell[piece]);
  return {x - c.x, y - c.y};
}

void TGame4::SetTracks(int piece) {
  if (piece == 0) {
    arcLow_ = 15 * pos_.ComputerCell[1] + 9;
    arcHigh_ = 15 * pos_.PlayerCell[1] - 10;
  } else {
    arcLow_ = 15 * pos_.PlayerCell[0] + 9;
    arcHigh_ = 15 * pos_.ComputerCell[0] - 10;
  }
  if (arcHigh_ < 0) arcHigh_ += 360;
}

bool TGame4::OnTrack(int x, int y) const { return ArcTest(x, y, arcLow_, arcHigh_, 25); }

void TGame4::LiftPiece(int piece) {
  EraseCell(pos_.PlayerCell[piece]);
  DrawInCell(pos_.PlayerCell[piece], PieceImages().RingSprite);
}

const TXBitmap& TGame4::Sprite(int) const { return PieceImages().CoinXSprite; }

void TGame4::ClearStart(int piece) { EraseCell(pos_.PlayerCell[piece]); }

bool TGame4::DropPiece(int piece, TPoint p) {
  const int k = RingHit(p.x, p.y);
  const TMove move{uint8_t(piece + 1), uint8_t(k)};
  if (k < 0 || !IsLegal(pos_, SidePlayer, move)) return false;
  DrawInCell(k, PieceImages().CoinXSprite);
  board_.MarkDirty(RingCellRect(k));
  pos_ = Apply(pos_, SidePlayer, move);
  return true;
}

void TGame4::PutBack(int piece) { DrawInCell(pos_.PlayerCell[piece], PieceImages().CoinXSprite); }

// ---- the computer's coin ---------------------------------------------------------

TRect TGame4::NextRect(const TRect&) {
  currentAngle_ = (currentAngle_ + choice_.angleStep + 360) % 360;
  const double a = double(currentAngle_) * std::numbers::pi / 180.0;
  const int x = int(320.0 + 205.0 * std::cos(a) + 0.5), y = int(240.0 + 205.0 * std::sin(a) + 0.5);
  return {x - 20, y - 20, x + 20, y + 20};
}

bool TGame4::Arrived(const TRect&) const { return currentAngle_ == targetAngle_; }

void TGame4::Land() {
  pos_ = Apply(pos_, SideComputer, choice_.move);
  board_.RestoreBackground();
  DrawInCell(choice_.move.cell, PieceImages().CoinOSprite);
  board_.RestoreBackground();
  board_.FlushScreen();
}

// ---- keyboard play -------------------------------------------------------------

int TGame4::KeyMoveCount() const { return int(game4::LegalMoves(pos_, game4::SidePlayer).size()); }

TGameModule::TKeyGesture TGame4::KeyGesture(int index) const {
  const game4::TMove m = game4::LegalMoves(pos_, game4::SidePlayer).at(size_t(index));
  return {game4::CellCentre(pos_.PlayerCell[m.coin - 1]), game4::CellCentre(m.cell)};
}

std::string TGame4::Describe() const { return position_text::Describe(pos_); }

std::string TGame4::DescribeKeyMove(int index) const {
  return position_text::Describe(pos_,
                                 game4::LegalMoves(pos_, game4::SidePlayer).at(size_t(index)));
}
