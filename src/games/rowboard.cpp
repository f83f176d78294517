// SPDX-License-Identifier: GPL-3.0-or-later
#include "games/rowboard.h"

#include "drawing/Unit2.h"
#include "drawing/pieces.h"
#include "games/position_text.h"

namespace rowboard {

namespace {
constexpr uint32_t kGround = 0xD3FFFF;
constexpr uint32_t kStrip = 0xF3FFFF;
constexpr uint32_t kGrid = 0x000080;
}  // namespace

TRect CellRect(const TRowGeometry& g, int column, int row) {
  const int top = g.firstTop + 40 * (row - 1);
  return {40 * column, top, 40 * column + 40, top + 40};
}

bool HitCell(const TRowGeometry& g, int x, int y, int& column, int& row) {
  int c = x / 40;
  if (c == 16) c = 15;
  const int r = (y - g.firstTop) / 40 + 1;
  const int fx = x % 40, fy = (y - g.firstTop) % 40;
  if (c < 0 || c > 15 || r < 1 || r > g.rows || fx < 6 || fx > 34 || fy < 6 || fy > 34)
    return false;
  column = c;
  row = r;
  return true;
}

}  // namespace rowboard

using namespace rowboard;

void TRowGame::EraseCell(int column, int row) {
  const TRect r = CellRect(column, row);
  board_.BackgroundBitmap.FillRect({r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}, kStrip);
  board_.AddErase(r);
}

void TRowGame::DrawInCell(int column, int row, const TXBitmap& image) {
  const TRect r = CellRect(column, row);
  board_.BackgroundBitmap.Draw(r.Left, r.Top, image);
  board_.AddErase(r);
}

void TRowGame::PrepareBoard() {
  TXBitmap& b = board_.BackgroundBitmap;
  const int top = rules_.geometry.firstTop, bottom = top + 40 * rules_.geometry.rows;
  b.FillRect({0, 0, b.Width(), b.Height()}, kGround);
  b.FillRect({0, top, 641, bottom}, kStrip);
  b.SetPenWidth(1);
  b.SetPenLevel(0);
  b.SetPenColor(kGrid);
  b.SetDashStyle(0);
  b.LineEnds = 0;
  for (int y = top; y <= bottom; y += 40) b.Line(0, y, 640, y);
  for (int x = 0; x <= 640; x += 40) b.Line(x, top, x, bottom);
  board_.ShowBackground();
}

void TRowGame::NewPosition() { SetPosition(rules_.RandomStart(zam::ProgramRandom())); }

void TRowGame::SetPosition(const rows::TPosition& p) {
  for (int r = 1; r <= pos_.rows; ++r) EraseCell(pos_.ComputerColumn[r - 1], r);
  for (int r = 1; r <= pos_.rows; ++r) EraseCell(pos_.PlayerColumn[r - 1], r);
  pos_ = p;
  for (int r = 1; r <= pos_.rows; ++r) {
    DrawInCell(pos_.ComputerColumn[r - 1], r, PieceImages().CoinOSprite);
    DrawInCell(pos_.PlayerColumn[r - 1], r, PieceImages().CoinXSprite);
  }
  board_.RestoreBackground();
  board_.FlushScreen();
  drag_.Reset();
}

void TRowGame::StartComputerMove() {
  target_ = rules_.ComputerMove(pos_, zam::ProgramRandom());
  computerMoveText_ = position_text::DescribeComputer(pos_, target_);
  const int column = pos_.ComputerColumn[target_.row - 1];
  const TRect from = CellRect(column, target_.row);
  EraseCell(column, target_.row);  // off the background; the screen still shows it
  slide_.Start(from, PieceImages().CoinOSprite);
}

// ---- the player's drag: a piece is a row (0-based) ------------------------------

int TRowGame::PieceAt(int x, int y) const {
  int column, row;
  if (!HitCell(rules_.geometry, x, y, column, row)) return -1;
  return column == pos_.PlayerColumn[row - 1] ? row - 1 : -1;
}

TPoint TRowGame::GrabOffset(int, int x, int y) const {
  return {x % 40, (y - rules_.geometry.firstTop) % 40};
}

void TRowGame::SetTracks(int piece) {
  const int top = CellRect(0, piece + 1).Top;
  track_ = {40 * pos_.ComputerColumn[piece] + 25, top, 615, top};
}

bool TRowGame::OnTrack(int x, int y) const { return TrackTest(x, y, track_, 15); }

void TRowGame::LiftPiece(int piece) {
  EraseCell(pos_.PlayerColumn[piece], piece + 1);
  DrawInCell(pos_.PlayerColumn[piece], piece + 1, PieceImages().RingSprite);
}

const TXBitmap& TRowGame::Sprite(int) const { return PieceImages().CoinXSprite; }

void TRowGame::ClearStart(int piece) { EraseCell(pos_.PlayerColumn[piece], piece + 1); }

bool TRowGame::DropPiece(int piece, TPoint p) {
  int column, row;
  if (!HitCell(rules_.geometry, p.x + 20, p.y + 20, column, row) || row != piece + 1) return false;
  const rows::TMove move{uint8_t(row), uint8_t(column)};
  if (!rows::IsLegal(pos_, rows::SidePlayer, move)) return false;
  DrawInCell(column, row, PieceImages().CoinXSprite);
  board_.MarkDirty(CellRect(column, row));
  pos_ = rows::Apply(pos_, rows::SidePlayer, move);
  return true;
}

void TRowGame::PutBack(int piece) {
  DrawInCell(pos_.PlayerColumn[piece], piece + 1, PieceImages().CoinXSprite);
}

// ---- the computer's slide -----------------------------------------------------------

TRect TRowGame::NextRect(const TRect& r) {
  return Offset(r, pos_.ComputerColumn[target_.row - 1] < target_.column ? 2 : -2, 0);
}

bool TRowGame::Arrived(const TRect& r) const {
  int column, row;
  return HitCell(rules_.geometry, r.Left + 20, r.Top + 20, column, row) && column == target_.column;
}

void TRowGame::Land() {
  pos_ = rows::Apply(pos_, rows::SideComputer, target_);
  board_.RestoreBackground();
  DrawInCell(target_.column, target_.row, PieceImages().CoinOSprite);
  board_.RestoreBackground();
  board_.FlushScreen();
}

// ---- keyboard play -------------------------------------------------------------

int TRowGame::KeyMoveCount() const { return int(rows::LegalMoves(pos_, rows::SidePlayer).size()); }

TGameModule::TKeyGesture TRowGame::KeyGesture(int index) const {
  const rows::TMove m = rows::LegalMoves(pos_, rows::SidePlayer).at(size_t(index));
  return {RectCentre(CellRect(pos_.PlayerColumn[m.row - 1], m.row)),
          RectCentre(CellRect(m.column, m.row))};
}

std::string TRowGame::Describe() const { return position_text::Describe(pos_); }

std::string TRowGame::DescribeKeyMove(int index) const {
  return position_text::Describe(pos_, rows::LegalMoves(pos_, rows::SidePlayer).at(size_t(index)));
}
