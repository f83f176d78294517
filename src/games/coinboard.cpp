// SPDX-License-Identifier: GPL-3.0-or-later
#include "games/coinboard.h"

#include "drawing/Unit2.h"
#include "drawing/pieces.h"
#include "games/position_text.h"

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

std::vector<TrackSegment> Tracks(const TCell& from, bool diagonal) {
  const int left = 40 * from.column, top = 440 - 40 * from.row;
  std::vector<TrackSegment> tracks = {{-15, top, left + 10, top}, {left, top - 15, left, 460}};
  if (diagonal)
    tracks.push_back(from.column <= from.row
                         ? TrackSegment{left + 10, top - 10, -10, top + left + 10}
                         : TrackSegment{left + 10, top - 10, left + top - 450, 450});
  return tracks;
}

void DrawBoard(TBoard& board) {
  TXBitmap& b = board.BackgroundBitmap;
  b.FillRect({0, 0, b.Width(), b.Height()}, kBoard);
  b.FillRect({1, 441, 41, 481}, kTargetDrawn);
  b.SetPenWidth(1);
  b.SetPenLevel(1);
  b.SetPenColor(kGrid);
  b.SetDashStyle(0);
  b.LineEnds = 0;
  for (int y = 0; y <= 480; y += 40) b.Line(0, y, 640, y);
  for (int x = 0; x <= 640; x += 40) b.Line(x, 0, x, 480);
  board.ShowBackground();
}

void EraseCell(TBoard& board, const TCell& cell) {
  const TRect r = CellRect(cell);
  const bool target = cell == TCell{0, 0};
  board.BackgroundBitmap.FillRect({r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1},
                                  target ? kTargetErased : kBoard);
  board.AddErase(r);
}

void DrawInCell(TBoard& board, const TXBitmap& image, const TCell& cell) {
  const TRect r = CellRect(cell);
  board.BackgroundBitmap.Draw(r.Left, r.Top, image);
  board.AddErase(r);
}

}  // namespace coinboard

using namespace coinboard;

void TCoinGame::PrepareBoard() { DrawBoard(board_); }

void TCoinGame::NewPosition() { SetCoin(rules_.RandomStart(zam::ProgramRandom()).CoinPos); }

void TCoinGame::SetCoin(const TCell& cell) {
  EraseCell(board_, pos_.CoinPos);
  board_.RestoreBackground();
  board_.FlushScreen();
  pos_.CoinPos = cell;
  DrawInCell(board_, PieceImages().CoinSprite, cell);
  board_.RestoreBackground();
  board_.FlushScreen();
  drag_.Reset();
}

void TCoinGame::StartComputerMove() {
  target_ = rules_.ComputerMove(pos_, zam::ProgramRandom());
  computerMoveText_ = position_text::DescribeComputer(pos_, target_);
  const TRect from = CellRect(pos_.CoinPos);
  EraseCell(board_, pos_.CoinPos);  // off the background; the screen still shows it
  slide_.Start(from, PieceImages().CoinSprite);
}

// ---- the player's drag ---------------------------------------------------------

int TCoinGame::PieceAt(int x, int y) const {
  TCell hit;
  return HitCell(x, y, hit) && hit == pos_.CoinPos ? 0 : -1;
}

TPoint TCoinGame::GrabOffset(int, int x, int y) const { return {x % 40, y % 40}; }

void TCoinGame::SetTracks(int) { tracks_ = Tracks(pos_.CoinPos, rules_.diagonalTrack); }

bool TCoinGame::OnTrack(int x, int y) const {
  for (const TrackSegment& t : tracks_)
    if (TrackTest(x, y, t, 15)) return true;
  return false;
}

void TCoinGame::LiftPiece(int) {
  EraseCell(board_, pos_.CoinPos);
  DrawInCell(board_, PieceImages().RingSprite, pos_.CoinPos);
}

const TXBitmap& TCoinGame::Sprite(int) const { return PieceImages().CoinSprite; }

void TCoinGame::ClearStart(int) { EraseCell(board_, pos_.CoinPos); }

bool TCoinGame::DropPiece(int, TPoint p) {
  TCell hit;
  if (!HitCell(p.x + 20, p.y + 20, hit) || !rules_.IsLegal(pos_, hit)) return false;
  DrawInCell(board_, PieceImages().CoinSprite, hit);
  board_.MarkDirty(CellRect(hit));
  pos_.CoinPos = hit;
  return true;
}

void TCoinGame::PutBack(int) { DrawInCell(board_, PieceImages().CoinSprite, pos_.CoinPos); }

// ---- the computer's slide --------------------------------------------------------

TRect TCoinGame::NextRect(const TRect& r) {
  const int dx = pos_.CoinPos.column != target_.column ? -2 : 0;
  const int dy = pos_.CoinPos.row != target_.row ? 2 : 0;
  return Offset(r, dx, dy);
}

bool TCoinGame::Arrived(const TRect& r) const {
  TCell hit;
  return HitCell(r.Left + 20, r.Top + 20, hit) && hit == target_;
}

void TCoinGame::Land() {
  pos_.CoinPos = target_;
  board_.RestoreBackground();
  DrawInCell(board_, PieceImages().CoinSprite, target_);
  board_.RestoreBackground();
  board_.FlushScreen();
}

// ---- keyboard play -------------------------------------------------------------

int TCoinGame::KeyMoveCount() const { return int(rules_.LegalMoves(pos_).size()); }

TGameModule::TKeyGesture TCoinGame::KeyGesture(int index) const {
  const game1::TMove m = rules_.LegalMoves(pos_).at(size_t(index));
  return {RectCentre(coinboard::CellRect(pos_.CoinPos)), RectCentre(coinboard::CellRect(m))};
}

std::string TCoinGame::Describe() const { return position_text::Describe(pos_); }

std::string TCoinGame::DescribeKeyMove(int index) const {
  return position_text::Describe(pos_, rules_.LegalMoves(pos_).at(size_t(index)));
}
