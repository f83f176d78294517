#include "drawing/PaintBox.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "drawing/Unit2.h"

uint32_t ToPixel(const QColor& c) { return uint32_t(c.rgb()) & 0xFFFFFF; }

QColor ToQColor(uint32_t colour) {
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

QFont PixelFont(const QString& face, int pixels, bool bold) {
  QFont f(FontFace(face));
  f.setPixelSize(pixels);
  f.setBold(bold);
  return f;
}

void UseButtonFace(QWidget* window) {
  QPalette pal = window->palette();
  pal.setColor(QPalette::Window, ToQColor(ButtonFaceColor));
  window->setPalette(pal);
  window->setAutoFillBackground(true);
}

QLabel* MakeLabel(QWidget* parent, int x, int y, const QString& caption) {
  auto* label = new QLabel(caption, parent);
  label->move(x, y);
  label->adjustSize();
  return label;
}

// ---- TSurfaceWidget ---------------------------------------------------------------

TSurfaceWidget::TSurfaceWidget(QWidget* parent) : QWidget(parent), surface_(1, 1) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
}

void TSurfaceWidget::resizeEvent(QResizeEvent*) {
  surface_.SetSize(width(), height());
  surface_.FillRect({0, 0, width(), height()}, SwapRB(ToPixel(palette().color(QPalette::Window))));
}

void TSurfaceWidget::Invalidate() {
  if (!painting_) update();  // a paint under way shows the whole surface anyway
}

void TSurfaceWidget::Show(const TRect& r) {
  if (painting_) return;
  const QRect rect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
  requested_ += rect;
  update(rect);
}

void TSurfaceWidget::paintEvent(QPaintEvent* e) {
  // Parts that Show() asked for come straight from the surface; anything
  // else is a repaint by the window system, which gets the whole picture.
  const bool ownUpdate = (e->region() - requested_).isEmpty();
  requested_ -= e->region();
  if (!ownUpdate) {
    painting_ = true;
    PaintAll();
    painting_ = false;
  }
  QPainter p(this);
  p.drawImage(e->rect().topLeft(), surface_.Image(), e->rect());
}

// ---- TPaintBox ------------------------------------------------------------------------

TPaintBox::TPaintBox(QWidget* parent) : TSurfaceWidget(parent) {}

void TPaintBox::mousePressEvent(QMouseEvent* e) {
  if (OnMouseDown) OnMouseDown(e);
}
void TPaintBox::mouseMoveEvent(QMouseEvent* e) {
  if (OnMouseMove) OnMouseMove(e);
}
void TPaintBox::mouseReleaseEvent(QMouseEvent* e) {
  if (OnMouseUp) OnMouseUp(e);
}
