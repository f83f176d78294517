// TPaintBox: a widget whose picture lives in a TXBitmap surface.
//
// Drawing code paints into Surface() whenever it likes and asks for the
// changed part to reach the screen with update(rect); the widget then copies
// that part of the surface to the screen. When the window system asks for the
// whole widget (first showing, a full repaint request) the OnPaint handler
// runs first, so a fully repainted box is always complete.
#pragma once

#include <QRegion>
#include <QWidget>
#include <functional>

#include "drawing/Xbitmap.h"

uint32_t ToPixel(const QColor& c);  // QColor -> 0x00RRGGBB pixel value
QColor ToQColor(uint32_t colour);   // 0x00BBGGRR colour -> QColor

class TPaintBox : public QWidget {
  Q_OBJECT
 public:
  explicit TPaintBox(QWidget* parent = nullptr);

  TXBitmap& Surface() { return surface_; }
  const TXBitmap& Surface() const { return surface_; }
  // Runs on every full repaint, before the surface is shown.
  std::function<void()> OnPaint;
  std::function<void(QMouseEvent*)> OnMouseDown, OnMouseMove, OnMouseUp;

  // Asks for a full repaint: OnPaint, then the whole surface to the screen.
  void Invalidate();
  // Copies rectangle r (box pixels) of the surface to the screen.
  void Show(const TRect& r);

 protected:
  void resizeEvent(QResizeEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  TXBitmap surface_;
  QRegion requested_;  // parts asked for by Show(), not yet painted
  bool painting_ = false;
};
