// SPDX-License-Identifier: GPL-3.0-or-later
#include "games/game6.h"

#include "drawing/Unit2.h"
#include "drawing/pieces.h"
#include "games/coinrow.h"
#include "games/position_text.h"

using namespace game6;
using coinrow::CellRect;
using coinrow::EraseCell;
using coinrow::HitCell;

void TGame6::DrawInCell(int column, const TXBitmap& image) {
  EraseCell(board_, column);
  const TRect r = CellRect(column);
  board_.BackgroundBitmap.Draw(r.Left, r.Top, image);
  board_.AddErase(r);
  board_.RestoreBackground();
  board_.FlushScreen();
}

void TGame6::PrepareBoard() {
  coinrow::DrawGround(board_, 0xF3FFFF);
  TXBitmap& b = board_.BackgroundBitmap;
  b.Line(0, 220, 640, 220);
  b.Line(0, 260, 640, 260);
  for (int x = 0; x <= 640; x += 40) b.Line(x, 220, x, 260);
  board_.ShowBackground();
}

void TGame6::NewPosition() {
  SetPosition(RandomStart(shell_.LevelOf(gameType_), zam::ProgramRandom()));
}

void TGame6::SetPosition(const TPosition& p) {
  pos_ = p;
  for (int c = 0; c < 16; ++c) EraseCell(board_, c);
  for (int8_t column : pos_.CoinColumn)
    if (column >= 0) DrawInCell(column, PieceImages().CoinSprite);
  board_.RestoreBackground();
  board_.FlushScreen();
  drag_.Reset();
}

void TGame6::StartComputerMove() {
  target_ = ComputerMove(pos_, zam::ProgramRandom());
  computerMoveText_ = position_text::DescribeComputer(pos_, target_);
  const int column = pos_.CoinColumn[target_.slot - 1];
  EraseCell(board_, column);  // off the background; the screen still shows it
  slide_.Start(CellRect(column), PieceImages().CoinSprite);
}

// ---- the player's drag ---------------------------------------------------------

int TGame6::PieceAt(int x, int y) const {
  const int column = HitCell(x, y);
  if (column < 0) return -1;
  for (int k = 2; k <= 6; ++k)
    if (pos_.CoinColumn[k - 1] == column) return k;
  return -1;
}

TPoint TGame6::GrabOffset(int, int x, int y) const { return {x % 40, (y - 220) % 40}; }

void TGame6::SetTracks(int slot) {
  const int left = pos_.CoinColumn[slot - 2];
  track_ = {40 * pos_.CoinColumn[slot - 1] + 15, 220, left >= 0 ? 40 * left + 25 : -15, 220};
}

bool TGame6::OnTrack(int x, int y) const { return TrackTest(x, y, track_, 15); }

void TGame6::LiftPiece(int slot) {
  EraseCell(board_, pos_.CoinColumn[slot - 1]);
  DrawInCell(pos_.CoinColumn[slot - 1], PieceImages().RingSprite);
}

const TXBitmap& TGame6::Sprite(int) const { return PieceImages().CoinSprite; }

void TGame6::ClearStart(int slot) { EraseCell(board_, pos_.CoinColumn[slot - 1]); }

bool TGame6::DropPiece(int slot, TPoint p) {
  const int column = HitCell(p.x + 20, p.y + 20);
  const TMove move{uint8_t(slot), int8_t(column)};
  if (column < 0 || !IsLegal(pos_, move)) return false;
  DrawInCell(column, PieceImages().CoinSprite);
  board_.MarkDirty(CellRect(column));
  pos_ = Apply(pos_, move);
  return true;
}

void TGame6::PutBack(int slot) { DrawInCell(pos_.CoinColumn[slot - 1], PieceImages().CoinSprite); }

// ---- the computer's slide -----------------------------------------------------------

bool TGame6::Arrived(const TRect& r) const {
  return HitCell(r.Left + 20, r.Top + 20) == target_.column;
}

void TGame6::Land() {
  pos_ = Apply(pos_, target_);
  board_.RestoreBackground();
  DrawInCell(target_.column, PieceImages().CoinSprite);
  board_.RestoreBackground();
  board_.FlushScreen();
}

// ---- keyboard play -------------------------------------------------------------

int TGame6::KeyMoveCount() const { return int(game6::LegalMoves(pos_).size()); }

TGameModule::TKeyGesture TGame6::KeyGesture(int index) const {
  const game6::TMove m = game6::LegalMoves(pos_).at(size_t(index));
  return {coinrow::CellCentre(pos_.CoinColumn[m.slot - 1]), coinrow::CellCentre(m.column)};
}

std::string TGame6::Describe() const { return position_text::Describe(pos_); }

std::string TGame6::DescribeKeyMove(int index) const {
  return position_text::Describe(pos_, game6::LegalMoves(pos_).at(size_t(index)));
}
