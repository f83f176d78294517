// SPDX-License-Identifier: GPL-3.0-or-later
// TRilArrayBtn: a grid of up to 48 push buttons that paints itself,
// highlights the button under the mouse, latches pressed buttons and releases
// the others of the same group (radio behaviour). Owners draw the captions in
// onBtnPaint and learn of presses through onBtnChange.
#pragma once

#include <QFont>
#include <QStringList>
#include <functional>

#include "drawing/PaintBox.h"
#include "drawing/Xbitmap.h"

enum TBtnShape : uint8_t { bsFlat = 0, bs3D = 1 };
enum TBtnStatus : uint8_t { stHidden = 0, stFlat = 1, stDown = 2, stHI = 3 };

class TRilArrayBtn : public TSurfaceWidget {
  Q_OBJECT
 public:
  using TBtnChangeProc =
      std::function<void(QObject* sender, uint8_t BtnNr, uint8_t status, Qt::MouseButton button)>;
  using TBtnPaintProc = std::function<void(QObject* sender, uint8_t BtnNr, uint8_t status)>;

  static constexpr uint8_t kNone = 48;
  static constexpr uint32_t BtnColors[5] = {0xC0C0C0, 0xF0F0F0, 0x808080, 0xFFFFFF, 0x202020};

  explicit TRilArrayBtn(QWidget* parent = nullptr);

  uint8_t Rows() const { return rows_; }
  uint8_t Columns() const { return columns_; }
  uint8_t BtnWidth() const { return btnWidth_; }
  uint8_t BtnHeight() const { return btnHeight_; }
  uint8_t BtnSpacing() const { return btnSpacing_; }
  uint8_t Border() const { return border_; }
  uint8_t BtnEdge() const { return btnEdge_; }
  TBtnShape BtnShape() const { return btnShape_; }
  uint32_t Color() const { return color_; }  // 0x00BBGGRR

  void SetRows(uint8_t v);
  void SetColumns(uint8_t v);
  void SetBtnWidth(uint8_t v);
  void SetBtnHeight(uint8_t v);
  void SetBtnSpacing(uint8_t v);
  void SetBorder(uint8_t v);
  void SetBtnEdge(uint8_t v);
  void SetBtnShape(TBtnShape v);
  void SetColor(uint32_t v);

  // What a screen reader calls each button (its number when none is given).
  QStringList ButtonNames;

  TBtnChangeProc onBtnChange;
  TBtnPaintProc onBtnPaint;
  std::function<void(QObject*)> OnEnter, OnLeave;

  // The canvas the buttons are painted on, and its font for onBtnPaint.
  TXBitmap& Canvas() { return Surface(); }
  QFont CanvasFont;

  TRect GetBtnRect(uint8_t BtnNr) const;
  uint8_t GetBtnStatus(uint8_t BtnNr) const { return info_[BtnNr] >> 6; }
  void SetBtnStatus(uint8_t BtnNr, uint8_t status) {
    info_[BtnNr] = uint8_t((info_[BtnNr] & 0x3F) | ((status & 3) << 6));
  }
  uint8_t GetBtnMode(uint8_t BtnNr) const { return (info_[BtnNr] >> 4) & 3; }
  uint8_t GetBtnGroup(uint8_t BtnNr) const { return info_[BtnNr] & 15; }
  uint8_t HotBtn() const { return hotBtn_; }

  void PaintBtn(uint8_t BtnNr, uint8_t status);
  void PaintAllBtns();
  void PaintControl();  // the whole control onto its canvas, as a full repaint does
  void ReleaseGroup(uint8_t BtnNr);
  uint8_t HitTest(int x, int y) const;

  // The mouse notifications, in control coordinates.
  void MouseMove(int x, int y);
  void MouseDown(Qt::MouseButton button);
  void MouseUp(Qt::MouseButton button);
  void MouseLeave();
  // A press of button BtnNr from the keyboard: what a mouse press on it does
  // (latched, the group released, onBtnChange told), without a mouse button.
  void PressBtn(uint8_t BtnNr);

 protected:
  void PaintAll() override { PaintControl(); }
  void mousePressEvent(QMouseEvent* e) override;
  // A quick second press arrives as a double-click: it is a press as well.
  void mouseDoubleClickEvent(QMouseEvent* e) override { mousePressEvent(e); }
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void enterEvent(QEnterEvent* e) override;
  void leaveEvent(QEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  void ResetBtns();
  void Latch(uint8_t BtnNr, Qt::MouseButton button);
  void UpdateSize();

  uint8_t rows_ = 2, columns_ = 2, btnWidth_ = 40, btnHeight_ = 30, btnSpacing_ = 5, border_ = 10,
          btnEdge_ = 1;
  TBtnShape btnShape_ = bs3D;
  uint32_t color_ = 0xF0F0F0;
  uint8_t info_[49] = {};
  uint8_t hotBtn_ = kNone;
  uint8_t pressedBtn_ = kNone;
};
