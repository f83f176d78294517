#include "halloffame/scoreform.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>

#include "drawing/PaintBox.h"
#include "drawing/Unit2.h"
#include "drawing/frames.h"
#include "halloffame/ranking.h"

Tscoreform* scoreform = nullptr;
Tscoreform* (*MakeScoreForm)() = nullptr;

Tscoreform::Tscoreform(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Zam : Ere - Galerij"));
  setFixedSize(538, 707);
  UseButtonFace(this);
  setFont(PixelFont(QStringLiteral("MS Sans Serif"), 11, false));
  scorebox = new TPaintBox(this);
  scorebox->setGeometry(24, 40, 450, 625);
  auto label = [this](int x, int y, const char* text) {
    return MakeLabel(this, x, y, QString::fromLatin1(text));
  };
  Label1 = label(40, 8, "rang");
  Label2 = label(128, 8, "naam");
  Label3 = label(296, 8, "datum");
  Label4 = label(424, 8, "score");
  Label5 = label(24, 680, "ESC: sluit pagina");
  ScrollBar1 = new QScrollBar(Qt::Vertical, this);
  ScrollBar1->setGeometry(496, 40, 19, 625);
  ScrollBar1->setRange(0, 75);
  ScrollBar1->setPageStep(1);
  ScrollBar1->setFocusPolicy(Qt::NoFocus);
  Timer1.setInterval(40);
  scorebox->OnPaint = [this] { scoreboxPaint(); };
  connect(&Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
  connect(ScrollBar1, &QScrollBar::valueChanged, this, [this] { ScrollBar1Change(); });
}

void Tscoreform::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::Window));
  DrawFrame(p, FrameBounds(scorebox->geometry(), 15), 0x00FFFF, 0x0080FF, 3, 15);
}

void Tscoreform::scoreboxPaint() {
  TXBitmap& s = scorebox->Surface();
  s.FillRect({0, 0, s.Width(), s.Height()}, ButtonFaceColor);
  RowCounter = 1;
  Timer1.start();
}

void Tscoreform::Timer1Timer() {
  const int a = RowCounter;
  if (a < 1 || a > 25) {
    Timer1.stop();
    return;
  }
  const int r = a + ScrollBar1->value();
  TXBitmap& s = scorebox->Surface();
  const TRect row{0, 25 * (a - 1), s.Width(), 25 * a};
  s.FillRect(row, a % 2 == 1 ? 0xE0FFE0 : 0xE0E0FF);
  if (r <= EntryCount) {
    const QFont font = PixelFont(QStringLiteral("Arial"), 15, false);
    const QFontMetrics metrics(font);
    const ScoreRecord& slot = Slots[RankOrder[r]];
    const int y = 25 * (a - 1) + 5;
    const QString rank = QString::number(r);
    const QString total = QString::number(TotalScore(slot.levels));
    s.TextOut(30 - metrics.horizontalAdvance(rank), y, rank, font, 0x000000);
    s.TextOut(100, y, RecordName(slot), font, 0x000000);
    s.TextOut(250, y, FormatOleDate(slot.date), font, 0x000000);
    s.TextOut(420 - metrics.horizontalAdvance(total), y, total, font, 0x000000);
  }
  scorebox->Show(row);
  RowCounter = uint8_t(a + 1);
  if (RowCounter > 25) Timer1.stop();
}

void Tscoreform::ScrollBar1Change() { scorebox->Invalidate(); }

void Tscoreform::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape)
    accept();  // modal result OK
  else
    e->ignore();
}
