// The hall-of-fame window: 25 rows at a time in rank order, painted one by
// one by a 40 ms timer, with a scroll bar for ranks 1..100.
#pragma once

#include <QDialog>
#include <QTimer>
#include <cstdint>

class QScrollBar;
class QLabel;
class TPaintBox;

class Tscoreform : public QDialog {
  Q_OBJECT
 public:
  explicit Tscoreform(QWidget* parent = nullptr);

  TPaintBox* scorebox;
  QLabel *Label1, *Label2, *Label3, *Label4, *Label5;
  QScrollBar* ScrollBar1;
  QTimer Timer1;
  uint8_t RowCounter = 26;

  void scoreboxPaint();
  void Timer1Timer();
  void ScrollBar1Change();

 protected:
  void paintEvent(QPaintEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
};

extern Tscoreform* scoreform;
// Builds the window when it is first shown, if the program set it; tests
// set scoreform themselves.
extern Tscoreform* (*MakeScoreForm)();
