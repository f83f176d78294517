// SPDX-License-Identifier: GPL-3.0-or-later
// Widgets whose picture lives in a TXBitmap surface, and small helpers the
// windows share.
//
// Drawing code paints into Surface() whenever it likes and asks for the
// changed part to reach the screen with Show(rect); the widget then copies
// that part of the surface to the screen. When the window system asks for
// anything else (first showing, a full repaint request) the widget paints its
// whole picture first, so a repainted widget is always complete.
//
// On a scaled screen every surface pixel is a square block of device pixels,
// except text: the widget keeps the text drawn into its surface (while the
// screen is scaled) and, where those pixels are still as the text left them,
// shows the text drawn again at the screen's own resolution over the blocks
// of what lay under it.
#pragma once

#include <QFont>
#include <QImage>
#include <QRegion>
#include <QWidget>
#include <functional>
#include <vector>

#include "drawing/Xbitmap.h"

class QLabel;

uint32_t ToPixel(const QColor& c);  // QColor -> 0x00RRGGBB pixel value
QColor ToQColor(uint32_t colour);   // 0x00BBGGRR colour -> QColor
// A font by its character height in pixels.
QFont PixelFont(const QString& face, int pixels, bool bold);
// Gives a window the button-face background all of the program's windows have.
void UseButtonFace(QWidget* window);
// A label at (x, y), sized to its caption.
QLabel* MakeLabel(QWidget* parent, int x, int y, const QString& caption);

// The whole number a window is scaled by on a screen of the given device
// pixel ratio (1.5 and up rounds to 2; never below 1).
int BlockFactor(qreal devicePixelRatio);
// Rectangle part of source, every pixel a factor x factor block, as an image
// of device pixel ratio factor (drawn at part's top-left, it covers part).
QImage BlockImage(const QImage& source, const QRect& part, int factor);

class TSurfaceWidget : public QWidget {
 public:
  explicit TSurfaceWidget(QWidget* parent = nullptr);

  TXBitmap& Surface() { return surface_; }
  const TXBitmap& Surface() const { return surface_; }
  // Asks for a full repaint: the whole picture, then the whole surface.
  void Invalidate();
  // Copies rectangle r (widget pixels) of the surface to the screen.
  void Show(const TRect& r);

 protected:
  // Paints the whole picture into the surface.
  virtual void PaintAll() = 0;
  void resizeEvent(QResizeEvent* e) override;
  void paintEvent(QPaintEvent* e) override;

 private:
  void KeepText(TTextRun&& run);
  // Whether the surface under the run is still as the run left it.
  bool Intact(const TTextRun& run) const;
  // Draws the texts still intact in part (widget pixels) into image, the
  // part's blocks at factor.
  void DrawSharpText(QImage& image, const QRect& part, int factor);

  TXBitmap surface_;
  std::vector<TTextRun> texts_;  // drawn while the screen was scaled
  QRegion requested_;  // parts asked for by Show(), not yet painted
  bool painting_ = false;
};

class TPaintBox : public TSurfaceWidget {
  Q_OBJECT
 public:
  explicit TPaintBox(QWidget* parent = nullptr);

  // Runs on every full repaint, before the surface is shown.
  std::function<void()> OnPaint;
  std::function<void(QMouseEvent*)> OnMouseDown, OnMouseMove, OnMouseUp;

 protected:
  void PaintAll() override {
    if (OnPaint) OnPaint();
  }
  void mousePressEvent(QMouseEvent* e) override;
  // A quick second press arrives as a double-click: it is a press as well.
  void mouseDoubleClickEvent(QMouseEvent* e) override { mousePressEvent(e); }
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
};
