#include "drawing/PaintBox.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

uint32_t ToPixel(const QColor& c) { return uint32_t(c.rgb()) & 0xFFFFFF; }

QColor ToQColor(uint32_t colour) {
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

TPaintBox::TPaintBox(QWidget* parent) : QWidget(parent), surface_(1, 1) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
}

void TPaintBox::resizeEvent(QResizeEvent*) {
  surface_.SetSize(width(), height());
  surface_.FillRect({0, 0, width(), height()}, SwapRB(ToPixel(palette().color(QPalette::Window))));
}

void TPaintBox::Invalidate() {
  if (!painting_) update();  // a paint under way shows the whole surface anyway
}

void TPaintBox::Show(const TRect& r) {
  if (painting_) return;
  const QRect rect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
  requested_ += rect;
  update(rect);
}

void TPaintBox::paintEvent(QPaintEvent* e) {
  // Parts that Show() asked for come straight from the surface; anything
  // else is a repaint by the window system, which gets the whole picture.
  const bool ownUpdate = (e->region() - requested_).isEmpty();
  requested_ -= e->region();
  if (!ownUpdate && OnPaint) {
    painting_ = true;
    OnPaint();
    painting_ = false;
  }
  QPainter p(this);
  p.drawImage(e->rect().topLeft(), surface_.Image(), e->rect());
}

void TPaintBox::mousePressEvent(QMouseEvent* e) {
  if (OnMouseDown) OnMouseDown(e);
}
void TPaintBox::mouseMoveEvent(QMouseEvent* e) {
  if (OnMouseMove) OnMouseMove(e);
}
void TPaintBox::mouseReleaseEvent(QMouseEvent* e) {
  if (OnMouseUp) OnMouseUp(e);
}
