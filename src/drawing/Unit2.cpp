// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawing/Unit2.h"

void AddToArea(TArea& area, const TRect& r) {
  area.rect = area.valid ? RectUnion(area.rect, r) : r;
  area.valid = true;
}

void TBoard::AddErase(const TRect& r) { AddToArea(EraseArea, r); }

void TBoard::AddUpdate(const TRect& r) { AddToArea(UpdateArea, r); }

void TBoard::MarkDirty(const TRect& r) {
  AddToArea(EraseArea, r);
  AddToArea(UpdateArea, r);
}

void TBoard::RestoreBackground() {
  if (!EraseArea.valid) return;
  EraseArea.valid = false;
  const TRect& r = EraseArea.rect;
  ComposeBitmap.CopyRect(r.Left, r.Top, BackgroundBitmap, r);
  AddToArea(UpdateArea, r);
}

void TBoard::FlushScreen() {
  if (!UpdateArea.valid) return;
  UpdateArea.valid = false;
  const TRect r = RectIntersection(UpdateArea.rect, ComposeBitmap.ClipRect());
  if (r.Right <= r.Left || r.Bottom <= r.Top) return;
  ++FlushStats.flushes;
  FlushStats.pixels += (long long)(r.Right - r.Left) * (r.Bottom - r.Top);
  FlushStats.last = r;
  if (screen_) screen_->ShowBoard(ComposeBitmap, r);
}

void TBoard::ClearAreas() {
  EraseArea.valid = false;
  UpdateArea.valid = false;
}

void TBoard::ShowBackground() {
  const TRect all = BackgroundBitmap.ClipRect();
  ComposeBitmap.CopyRect(0, 0, BackgroundBitmap, all);
  UpdateArea = {all, true};
  FlushScreen();
  ClearAreas();
}
