// SPDX-License-Identifier: GPL-3.0-or-later
#include "games/game7.h"

#include "drawing/Unit2.h"
#include "drawing/pieces.h"
#include "games/coinrow.h"
#include "games/position_text.h"

using namespace game7;
using coinrow::CellRect;
using coinrow::EraseCell;
using coinrow::HitCell;

namespace {
constexpr TRect kPile{0, 300, 40, 400};  // below the exit cell
}  // namespace

const TXBitmap& TGame7::ImageOf(int coin) const {
  return coin == pos_.EuroIndex ? PieceImages().CoinEuroSprite : PieceImages().CoinSprite;
}

void TGame7::PrepareBoard() {
  coinrow::DrawGround(board_, 0xFFFFFF);
  TXBitmap& b = board_.BackgroundBitmap;
  b.Line(0, 220, 640, 220);
  b.Line(40, 260, 640, 260);
  for (int i = 0; i <= 16; ++i) b.Line(40 * i, 220, 40 * i, i < 2 ? 300 : 260);
  b.SetDashStyle(2);
  b.Line(0, 260, 40, 260);  // the exit cell's broken floor
  b.SetDashStyle(0);
  board_.ShowBackground();
}

void TGame7::PlaceCoin(int column, int coin, bool ring) {
  EraseCell(board_, column);
  if (column == 0) {
    DropOntoPile(coin);
    return;
  }
  const TRect r = CellRect(column);
  board_.BackgroundBitmap.Draw(r.Left, r.Top, ring ? PieceImages().RingSprite : ImageOf(coin));
  board_.AddErase(r);
  board_.RestoreBackground();
  board_.FlushScreen();
}

void TGame7::DropOntoPile(int coin) {
  board_.ComposeBitmap.Draw(0, 350 - 10 * fallen_, ImageOf(coin));
  board_.AddUpdate(kPile);
  board_.FlushScreen();
  ++fallen_;
}

void TGame7::ClearPile() {
  board_.ComposeBitmap.CopyRect(kPile.Left, kPile.Top, board_.BackgroundBitmap, kPile);
  board_.AddUpdate(kPile);
  board_.FlushScreen();
  fallen_ = 0;
}

void TGame7::NewPosition() {
  SetPosition(RandomStart(shell_.LevelOf(gameType_), zam::ProgramRandom()));
}

void TGame7::SetPosition(const TPosition& p) {
  pos_ = p;
  for (int c = 0; c < 16; ++c) EraseCell(board_, c);
  for (int k = 1; k <= pos_.CoinCount; ++k) PlaceCoin(pos_.CoinColumn[k - 1], k, false);
  board_.RestoreBackground();
  ClearPile();
  drag_.Reset();
}

void TGame7::StartComputerMove() {
  target_ = ComputerMove(pos_, zam::ProgramRandom());
  computerMoveText_ = position_text::DescribeComputer(pos_, target_);
  const int column = pos_.CoinColumn[target_.coin - 1];
  EraseCell(board_, column);  // off the background; the screen still shows it
  slide_.Start(CellRect(column), ImageOf(target_.coin));
}

// ---- the player's drag ---------------------------------------------------------

int TGame7::PieceAt(int x, int y) const {
  const int column = HitCell(x, y);
  if (column < 0) return -1;
  for (int k = 1; k <= pos_.CoinCount; ++k)
    if (pos_.CoinColumn[k - 1] == column) return k;
  return -1;
}

TPoint TGame7::GrabOffset(int, int x, int y) const { return {x % 40, (y - 220) % 40}; }

void TGame7::SetTracks(int coin) {
  const int from = 40 * pos_.CoinColumn[coin - 1] + 15;
  track_ = {from, 220, coin == 1 ? -15 : 40 * pos_.CoinColumn[coin - 2] + 25, 220};
}

bool TGame7::OnTrack(int x, int y) const { return TrackTest(x, y, track_, 15); }

void TGame7::LiftPiece(int coin) {
  EraseCell(board_, pos_.CoinColumn[coin - 1]);
  PlaceCoin(pos_.CoinColumn[coin - 1], coin, true);
}

void TGame7::ClearStart(int coin) { EraseCell(board_, pos_.CoinColumn[coin - 1]); }

bool TGame7::DropPiece(int coin, TPoint p) {
  const int column = HitCell(p.x + 20, p.y + 20);
  const TMove move{uint8_t(coin), int8_t(column)};
  if (column < 0 || !IsLegal(pos_, move)) return false;
  pos_.CoinColumn[coin - 1] = int8_t(column);
  PlaceCoin(column, coin, false);  // column 0: onto the pile
  board_.MarkDirty(CellRect(column));
  RemoveDropped(pos_);  // before the controller asks whether the game is over
  return true;
}

void TGame7::PutBack(int coin) { PlaceCoin(pos_.CoinColumn[coin - 1], coin, false); }

// ---- the computer's slide -----------------------------------------------------------

bool TGame7::Arrived(const TRect& r) const {
  return 40 * target_.column < r.Left && r.Left < 40 * target_.column + 10;
}

void TGame7::Land() {
  pos_.CoinColumn[target_.coin - 1] = target_.column;
  board_.RestoreBackground();
  PlaceCoin(target_.column, target_.coin, false);
  RemoveDropped(pos_);
}

// ---- keyboard play -------------------------------------------------------------

int TGame7::KeyMoveCount() const { return int(game7::LegalMoves(pos_).size()); }

TGameModule::TKeyGesture TGame7::KeyGesture(int index) const {
  const game7::TMove m = game7::LegalMoves(pos_).at(size_t(index));
  return {coinrow::CellCentre(pos_.CoinColumn[m.coin - 1]), coinrow::CellCentre(m.column)};
}

std::string TGame7::Describe() const { return position_text::Describe(pos_); }

std::string TGame7::DescribeKeyMove(int index) const {
  return position_text::Describe(pos_, game7::LegalMoves(pos_).at(size_t(index)));
}
