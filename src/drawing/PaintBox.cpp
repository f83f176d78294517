// SPDX-License-Identifier: GPL-3.0-or-later
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
  // At factor 1 nothing is kept: the surface's pixels are the screen's.
  surface_.TextSink = [this](TTextRun&& run) {
    if (BlockFactor(devicePixelRatioF()) > 1) KeepText(std::move(run));
  };
}

namespace {

// Copies rectangle r (widget pixels) from one image to another, each given
// with the widget position of its top-left pixel.
void CopyArea(const QImage& from, QPoint fromAt, QImage& to, QPoint toAt, const QRect& r) {
  for (int y = r.top(); y <= r.bottom(); ++y) {
    const auto* in = reinterpret_cast<const uint32_t*>(from.constScanLine(y - fromAt.y())) +
                     (r.left() - fromAt.x());
    auto* out = reinterpret_cast<uint32_t*>(to.scanLine(y - toAt.y())) + (r.left() - toAt.x());
    std::copy_n(in, r.width(), out);
  }
}

bool SameArea(const QImage& a, QPoint aAt, const QImage& b, QPoint bAt, const QRect& r) {
  for (int y = r.top(); y <= r.bottom(); ++y) {
    const auto* pa =
        reinterpret_cast<const uint32_t*>(a.constScanLine(y - aAt.y())) + (r.left() - aAt.x());
    const auto* pb =
        reinterpret_cast<const uint32_t*>(b.constScanLine(y - bAt.y())) + (r.left() - bAt.x());
    if (!std::equal(pa, pa + r.width(), pb)) return false;
  }
  return true;
}

}  // namespace

void TSurfaceWidget::KeepText(TTextRun&& run) {
  const QImage& now = surface_.Image();
  const QPoint at = run.cell.topLeft();
  // Older text the new one overlaps (lines closer than their cells, letters
  // side by side): where it was still as drawn, both are kept, the new one
  // with what lay under the older one as its ground, the older one with the
  // pixels it now has; where it was painted over, it is gone.
  std::erase_if(texts_, [&](TTextRun& old) {
    const QRect overlap = old.cell & run.cell;
    if (overlap.isEmpty()) return false;
    const QPoint oldAt = old.cell.topLeft();
    // As it was just before the new text: the rest of its cell is now.
    for (const QRect& r : QRegion(old.cell).subtracted(overlap)) {
      if (!now.rect().contains(r) || !SameArea(now, {0, 0}, old.after, oldAt, r)) return true;
    }
    if (!SameArea(run.before, at, old.after, oldAt, overlap)) return true;
    CopyArea(old.before, oldAt, run.before, at, overlap);
    CopyArea(now, {0, 0}, old.after, oldAt, overlap);
    return false;
  });
  // A list grown long loses the text painted over since (while it is short,
  // text under a passing inversion comes back with it).
  if (texts_.size() >= 4096)
    std::erase_if(texts_, [this](const TTextRun& old) { return !Intact(old); });
  texts_.push_back(std::move(run));
}

bool TSurfaceWidget::Intact(const TTextRun& run) const {
  const QImage& image = surface_.Image();
  return image.rect().contains(run.cell) &&
         SameArea(image, {0, 0}, run.after, run.cell.topLeft(), run.cell);
}

void TSurfaceWidget::DrawSharpText(QImage& image, const QRect& part, int factor) {
  std::vector<const TTextRun*> shown;
  for (const TTextRun& run : texts_)
    if (run.cell.intersects(part) && Intact(run)) shown.push_back(&run);
  if (shown.empty()) return;
  QPainter p(&image);  // the image's own ratio: widget pixels, drawn at factor
  p.translate(-part.topLeft());
  // First the ground under every text, then the texts, so that text whose
  // cells overlap all shows.
  for (const TTextRun* run : shown) {
    p.setClipRect(run->cell & part);
    p.drawImage(run->cell.topLeft(),
                BlockImage(run->before, QRect(QPoint(0, 0), run->cell.size()), factor));
  }
  for (const TTextRun* run : shown) {
    p.setClipRect(run->cell & part);
    p.setFont(run->font);
    p.setPen(ToQColor(run->colour));
    p.drawText(run->at.x(), run->at.y() + QFontMetrics(run->font).ascent(), run->text);
  }
}

void TSurfaceWidget::resizeEvent(QResizeEvent*) {
  texts_.clear();
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
  // fractions of a pixel. Text still as it was drawn is drawn again on top,
  // at the screen's resolution.
  for (const QRect& r : e->region()) {
    const QRect part = r & QRect(QPoint(0, 0), surface_.Image().size());
    if (part.isEmpty()) continue;
    QImage blocks = BlockImage(surface_.Image(), part, factor);
    DrawSharpText(blocks, part, factor);
    p.drawImage(part.topLeft(), blocks);
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
