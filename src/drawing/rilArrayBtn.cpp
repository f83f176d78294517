// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawing/rilArrayBtn.h"

#include <QMouseEvent>
#include <algorithm>

#include "drawing/PaintBox.h"

TRilArrayBtn::TRilArrayBtn(QWidget* parent) : TSurfaceWidget(parent) {
  if (parent) color_ = SwapRB(ToPixel(parent->palette().color(QPalette::Window)));
  CanvasFont = font();
  ResetBtns();
  UpdateSize();
}

// ---- properties ---------------------------------------------------------------

void TRilArrayBtn::SetRows(uint8_t v) {
  v = std::clamp<uint8_t>(v, 1, 48);
  if (v * columns_ > 48) columns_ = 1;
  rows_ = v;
  ResetBtns();
  UpdateSize();
}

void TRilArrayBtn::SetColumns(uint8_t v) {
  v = std::clamp<uint8_t>(v, 1, 48);
  if (v * rows_ > 48) rows_ = 1;
  columns_ = v;
  ResetBtns();
  UpdateSize();
}

void TRilArrayBtn::SetBtnWidth(uint8_t v) {
  btnWidth_ = std::max<uint8_t>(v, 10);
  UpdateSize();
}

void TRilArrayBtn::SetBtnHeight(uint8_t v) {
  btnHeight_ = std::max<uint8_t>(v, 10);
  UpdateSize();
}

void TRilArrayBtn::SetBtnSpacing(uint8_t v) {
  btnSpacing_ = v;
  UpdateSize();
}

void TRilArrayBtn::SetBorder(uint8_t v) {
  border_ = v;
  UpdateSize();
}

void TRilArrayBtn::SetBtnEdge(uint8_t v) {
  btnEdge_ = std::clamp<uint8_t>(v, 1, 2);
  PaintAllBtns();
}

void TRilArrayBtn::SetBtnShape(TBtnShape v) {
  btnShape_ = v;
  update();
}

void TRilArrayBtn::SetColor(uint32_t v) {
  color_ = v;
  update();
}

void TRilArrayBtn::ResetBtns() {
  for (int i = 0; i < 49; ++i) info_[i] = i < rows_ * columns_ ? 0x50 : 0;
}

void TRilArrayBtn::UpdateSize() {
  if (rows_ == 0) rows_ = 1;
  if (columns_ == 0) columns_ = 1;
  resize((btnWidth_ + btnSpacing_) * columns_ + 2 * border_ - btnSpacing_,
         (btnHeight_ + btnSpacing_) * rows_ + 2 * border_ - btnSpacing_);
}

TRect TRilArrayBtn::GetBtnRect(uint8_t n) const {
  const int column = n % columns_, row = n / columns_;
  const int left = column * (btnWidth_ + btnSpacing_) + border_;
  const int top = row * (btnHeight_ + btnSpacing_) + border_;
  return {left, top, left + btnWidth_, top + btnHeight_};
}

// ---- painting -------------------------------------------------------------------

namespace {
// A one-pixel line from (x1, y1) to (x2, y2) along a row or column, without
// its end pixel.
void Stroke(TXBitmap& s, int x1, int y1, int x2, int y2, uint32_t colour) {
  if (y1 == y2 && x1 != x2) {
    const int a = x2 > x1 ? x1 : x2 + 1, b = x2 > x1 ? x2 - 1 : x1;
    s.FillRect({a, y1, b + 1, y1 + 1}, colour);
  } else if (x1 == x2 && y1 != y2) {
    const int a = y2 > y1 ? y1 : y2 + 1, b = y2 > y1 ? y2 - 1 : y1;
    s.FillRect({x1, a, x1 + 1, b + 1}, colour);
  }
}
}  // namespace

void TRilArrayBtn::PaintBtn(uint8_t n, uint8_t s) {
  const TRect R = GetBtnRect(n);
  if (s == stHidden) {
    Surface().FillRect(R, color_);
    Show(R);
    return;
  }
  uint32_t F = BtnColors[0], E1 = BtnColors[2], E2 = BtnColors[2];
  if (s == stDown) {
    F = BtnColors[1];
    E1 = BtnColors[4];
    E2 = BtnColors[3];
  } else if (s == stHI) {
    E1 = BtnColors[3];
    E2 = BtnColors[4];
  }
  if (btnShape_ == bs3D) {
    Surface().FillRect(R, F);
    for (int i = 0; i < btnEdge_; ++i) {
      const int l = R.Left + i, t = R.Top + i, r = R.Right - 1 - i, b = R.Bottom - 1 - i;
      Stroke(Surface(), r, t, l, t, E1);
      Stroke(Surface(), l, t, l, b, E1);
      Stroke(Surface(), l, b, r, b, E2);
      Stroke(Surface(), r, b, r, t, E2);
    }
  } else {
    const int corner = std::clamp(btnHeight_ / 2, 10, 40);
    Surface().SetFillLevel(0);
    Surface().SetPenLevel(0);
    Surface().Filled = true;
    Surface().SetFillColor(F);
    Surface().SetPenColor(E1);
    Surface().SetPenWidth(btnEdge_);
    Surface().RoundRect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1, uint8_t(corner / 2));
  }
  if (onBtnPaint) onBtnPaint(this, n, s);
  Show(R);
}

void TRilArrayBtn::PaintAllBtns() {
  for (int n = 0; n < rows_ * columns_; ++n) PaintBtn(uint8_t(n), GetBtnStatus(uint8_t(n)));
}

void TRilArrayBtn::PaintControl() {
  hotBtn_ = kNone;
  const int w = width(), h = height();
  Surface().FillRect({0, 0, w, h}, color_);
  if (border_ != 0) {
    const uint32_t c1 = btnShape_ == bs3D ? BtnColors[3] : BtnColors[2], c2 = BtnColors[2];
    Stroke(Surface(), w - 1, 0, 0, 0, c1);
    Stroke(Surface(), 0, 0, 0, h - 1, c1);
    Stroke(Surface(), 0, h - 1, w - 1, h - 1, c2);
    Stroke(Surface(), w - 1, h - 1, w - 1, 0, c2);
  }
  for (int n = 0; n < rows_ * columns_; ++n)
    if (GetBtnStatus(uint8_t(n)) != stHidden) PaintBtn(uint8_t(n), GetBtnStatus(uint8_t(n)));
}

void TRilArrayBtn::changeEvent(QEvent* e) {
  // The owner paints captions in another colour when disabled.
  if (e->type() == QEvent::EnabledChange) update();
  QWidget::changeEvent(e);
}

// ---- mouse ------------------------------------------------------------------------

uint8_t TRilArrayBtn::HitTest(int x, int y) const {
  const int dx = x - border_, dy = y - border_;
  const int cw = btnWidth_ + btnSpacing_, ch = btnHeight_ + btnSpacing_;
  const int fx = dx % cw, fy = dy % ch;
  if (dx < cw * columns_ && dy < ch * rows_ && btnEdge_ < fx && fx < btnWidth_ - btnEdge_ &&
      btnEdge_ < fy && fy < btnHeight_ - btnEdge_) {
    const int n = (dy / ch) * columns_ + dx / cw;
    if (n < 48 && GetBtnStatus(uint8_t(n)) != stHidden) return uint8_t(n);
  }
  return kNone;
}

void TRilArrayBtn::MouseMove(int x, int y) {
  const uint8_t h = HitTest(x, y);
  if (h == hotBtn_) return;
  setCursor(h == kNone ? Qt::ArrowCursor : Qt::PointingHandCursor);
  if (hotBtn_ != kNone && GetBtnStatus(hotBtn_) != stDown) PaintBtn(hotBtn_, stFlat);
  if (h != kNone && GetBtnStatus(h) != stDown) PaintBtn(h, stHI);
  hotBtn_ = h;
}

void TRilArrayBtn::MouseDown(Qt::MouseButton button) {
  pressedBtn_ = kNone;
  if (hotBtn_ == kNone) return;
  const uint8_t s = GetBtnStatus(hotBtn_);
  const uint8_t hot = hotBtn_;
  if (s == stFlat) Latch(hot, button);
  const uint8_t m = GetBtnMode(hot);
  if (m == 0 || (m == 2 && s == stDown)) pressedBtn_ = hot;
}

void TRilArrayBtn::Latch(uint8_t n, Qt::MouseButton button) {
  SetBtnStatus(n, stDown);
  PaintBtn(n, stDown);
  ReleaseGroup(n);
  if (onBtnChange) onBtnChange(this, n, stDown, button);
}

void TRilArrayBtn::PressBtn(uint8_t BtnNr) {
  if (!isEnabled() || BtnNr >= rows_ * columns_ || GetBtnStatus(BtnNr) != stFlat) return;
  Latch(BtnNr, Qt::NoButton);
}

void TRilArrayBtn::MouseUp(Qt::MouseButton button) {
  if (pressedBtn_ == kNone) return;
  SetBtnStatus(pressedBtn_, stFlat);
  PaintBtn(pressedBtn_, stFlat);
  if (onBtnChange) onBtnChange(this, pressedBtn_, stFlat, button);
}

void TRilArrayBtn::MouseLeave() {
  if (hotBtn_ != kNone) {
    if (GetBtnStatus(hotBtn_) != stDown) PaintBtn(hotBtn_, stFlat);
    hotBtn_ = kNone;
  }
  if (OnLeave) OnLeave(this);
}

void TRilArrayBtn::ReleaseGroup(uint8_t n) {
  for (int i = 0; i < rows_ * columns_; ++i) {
    if (i == n || GetBtnGroup(uint8_t(i)) != GetBtnGroup(n) || GetBtnStatus(uint8_t(i)) != stDown)
      continue;
    SetBtnStatus(uint8_t(i), stFlat);
    PaintBtn(uint8_t(i), stFlat);
  }
}

void TRilArrayBtn::mousePressEvent(QMouseEvent* e) { MouseDown(e->button()); }
void TRilArrayBtn::mouseReleaseEvent(QMouseEvent* e) { MouseUp(e->button()); }
void TRilArrayBtn::mouseMoveEvent(QMouseEvent* e) {
  MouseMove(int(e->position().x()), int(e->position().y()));
}
void TRilArrayBtn::enterEvent(QEnterEvent*) {
  if (OnEnter) OnEnter(this);
}
void TRilArrayBtn::leaveEvent(QEvent*) { MouseLeave(); }
