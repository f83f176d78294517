// SPDX-License-Identifier: GPL-3.0-or-later
// The help window: fifteen pages of built-in Dutch help, drawn line by line
// with a small mark-up (font switches, tab stops, framed words, page links).
#pragma once

#include <QDialog>
#include <QStringList>
#include <QTimer>
#include <cstdint>

class QLabel;
class QListWidget;
class QToolButton;
class TAnnouncer;
class TPaintBox;

// The page source: 25 lines a page, the first line of a page its title.
const QStringList& HelpSource();

// What drawing one line left behind (for the window and for tests).
struct THelpLineState {
  int x = 10;              // where the next character would go
  int link = 0;            // page a click on the line opens, 0 = none
  bool frameOpen = false;  // a \[ frame not yet closed by \n
  int frameStartX = 0;
  int offset = 0;  // vertical text offset
  int size = 12;   // font size in points
  bool bold = false;
  bool shaded = false;  // grey text background
};

// The page's font at a size in points, at 96 pixels per inch rounded to
// whole pixels (14 points: 19 pixels), drawn without smoothing.
QFont PageFont(int points, bool bold);

class Thelpform : public QDialog {
  Q_OBJECT
 public:
  explicit Thelpform(QWidget* parent = nullptr);

  TPaintBox* helpbox;
  QLabel* subtitle;
  QToolButton* page1Btn;
  QLabel* pageNrdisplay;
  QLabel *Label1, *Label2, *Label3;
  QListWidget* ListBox1;
  QTimer Timer1;
  TAnnouncer* announcer;  // says each new page to a screen reader

  uint8_t PageCount = 1;
  uint8_t CurrentPage = 1;
  uint8_t LinkTarget[25] = {};  // body lines 1..24
  uint8_t HoverLine = 0;
  uint8_t LastDirection = 1;

  void FormShow();
  void helpboxPaint();
  void ClearPageArea();
  void RenderPage();
  THelpLineState DrawLine(int i, const QString& text);
  void StepPage(uint8_t direction);
  void GotoPage1();
  void ToggleBand(int line);
  void helpboxMouseMove(int x, int y);
  void helpboxMouseDown();
  void pageNrMouseDown(Qt::MouseButton button);
  void pageNrMouseUp();
  // Gives a screen reader the page shown: the page box's name and text,
  // and the page said when it is a new one.
  void ExposePage();

 private:
  int exposedPage_ = 0;

 protected:
  void showEvent(QShowEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
};
