#include "drawing/PaintBox.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

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

int BlockFactor(qreal devicePixelRatio) {
  return std::max(1, int(devicePixelRatio + 0.5));
}

QImage BlockImage(const QImage& source, const QRect& part, int factor) {
  QImage out(part.width() * factor, part.height() * factor, QImage::Format_RGB32);
  for (int y = 0; y < part.height(); ++y) {
    const auto* from = reinterpret_cast<const uint32_t*>(source.constScanLine(part.top() + y)) +
                       part.left();
    auto* to = reinterpret_cast<uint32_t*>(out.scanLine(y * factor));
    for (int x = 0; x < part.width(); ++x) std::fill_n(to + x * factor, factor, from[x]);
    for (int j = 1; j < factor; ++j)
      std::copy_n(to, out.width(), reinterpret_cast<uint32_t*>(out.scanLine(y * factor + j)));
  }
  out.setDevicePixelRatio(factor);
  return out;
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
  const int factor = BlockFactor(devicePixelRatioF());
  if (factor == 1) {
    p.drawImage(e->rect().topLeft(), surface_.Image(), e->rect());
    return;
  }
  // On a scaled screen every surface pixel becomes a square block of
  // factor x factor device pixels, copied as it is: no smoothing, no
  // fractions of a pixel.
  for (const QRect& r : e->region()) {
    const QRect part = r & QRect(QPoint(0, 0), surface_.Image().size());
    if (!part.isEmpty()) p.drawImage(part.topLeft(), BlockImage(surface_.Image(), part, factor));
  }
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
