// SPDX-License-Identifier: GPL-3.0-or-later
// The hall-of-fame window: 25 rows at a time in rank order, painted one by
// one by a 40 ms timer, with a scroll bar for ranks 1..100. It shows the
// ranking it is given, which outlives it.
#pragma once

#include <QDialog>
#include <QTimer>
#include <cstdint>

class QScrollBar;
class QLabel;
class TPaintBox;
class TAnnouncer;
class TRanking;

class Tscoreform : public QDialog {
  Q_OBJECT
 public:
  explicit Tscoreform(const TRanking& ranking, QWidget* parent = nullptr);

  TPaintBox* scorebox;
  QLabel *Label1, *Label2, *Label3, *Label4, *Label5;
  QScrollBar* ScrollBar1;
  QTimer Timer1;
  uint8_t RowCounter = 26;
  // The rank the keys have selected (0: none yet); it shows a focus mark.
  int Selected = 0;
  TAnnouncer* announcer;  // says each rank the keys select

  void scoreboxPaint();
  void Timer1Timer();
  void PaintRow(int a);  // row a (1..25) of the page
  void ScrollBar1Change();
  // Shows the window and waits until it is closed; its painting stops then.
  void ShowModal();

 protected:
  void paintEvent(QPaintEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  const TRanking& ranking_;
};
