// TForm1: the main window of Zam games. It owns every control, the board
// bitmaps and the piece images; it forwards each user action to the game
// controller, routes board mouse events and timer ticks to the chosen game's
// module, and paints.
#pragma once

#include <QTimer>
#include <QWidget>

#include "drawing/Xbitmap.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class TPaintBox;
class TRilArrayBtn;

class TForm1 : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kClientWidth = 860;
  static constexpr int kClientHeight = 689;

  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  // Controls, by their names.
  TPaintBox* box1;
  TPaintBox* largemsgbox;
  QLabel* smallmsgbox;
  TPaintBox* directionbox;
  QLabel* Label4;
  QPushButton* BitBtn1;
  QLabel* Label2;
  TRilArrayBtn* gameselbtn;
  QLabel* Label3;
  TPaintBox* scoreBox;
  QLabel* Label6;
  QLabel* totalscore;
  QLabel* Label5;
  QComboBox* namebox;
  QLabel* Label1;
  QLineEdit* passwordEdit;
  QPushButton* galleryBtn;
  QPushButton* compstartBtn;
  QPushButton* actionBtn;
  QPushButton* stopBtn;
  TXBitmap ster;
  QListWidget* infobox;
  QTimer Timer1;

  // Index of the name picked from the name list; -1 once the name is edited.
  int PickedName = -1;

  void FormCreate();
  void FormDestroy();
  void box1Paint();
  void directionboxPaint();
  void gameselbtnBtnPaint(QObject* sender, uint8_t BtnNr, uint8_t status);
  void gameselbtnBtnChange(QObject* sender, uint8_t BtnNr, uint8_t status, Qt::MouseButton button);
  void box1Mouse(uint8_t action, int x, int y);
  void Timer1Timer();
  void actionBtnClick();
  void compstartBtnClick();
  void stopBtnClick();
  void galleryBtnClick();
  void BitBtn1Click();
  void nameboxChange();
  void nameboxSelect(int index);
  // The key filter of the name and password boxes: returns the key to pass
  // on (0 = swallowed).
  QChar FormKeyPress(QChar key);
  // The board between games (the menu, a game just ended): nothing on it
  // can be taken, so the arrow, whatever the pointer last left there.
  void ShowBoardIdle();
  // A new position under a pointer that rests on the board: the game hears
  // a move to where the pointer is, so the cursor at once shows whether a
  // piece lies under it.
  void ReportRestingPointer();

 protected:
  void paintEvent(QPaintEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool destroyed_ = false;
  bool filteringDrop_ = false;  // a drop with its text already filtered
};

extern TForm1* Form1;
