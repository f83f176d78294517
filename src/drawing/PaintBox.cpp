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

void TPaintBox::Invalidate() { update(); }

void TPaintBox::Show(const TRect& r) {
  update(QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top));
}

void TPaintBox::paintEvent(QPaintEvent* e) {
  if (e->rect().contains(rect()) && OnPaint) OnPaint();
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
