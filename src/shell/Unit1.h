// TForm1: the main window of Zam games.
#pragma once

#include <QWidget>

class TForm1 : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kClientWidth = 860;
  static constexpr int kClientHeight = 689;

  explicit TForm1(QWidget* parent = nullptr);
};
