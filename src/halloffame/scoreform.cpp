// SPDX-License-Identifier: GPL-3.0-or-later
#include "halloffame/scoreform.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>

#include "drawing/PaintBox.h"
#include "drawing/Unit2.h"
#include "drawing/accessible.h"
#include "drawing/frames.h"
#include "halloffame/hall_keys.h"
#include "halloffame/ranking.h"

Tscoreform::Tscoreform(const TRanking& ranking, QWidget* parent)
    : QDialog(parent), ranking_(ranking) {
  setWindowTitle(QStringLiteral("Zam : Ere - Galerij"));
  setFixedSize(538, 707);
  UseButtonFace(this);
  setFont(PixelFont(QStringLiteral("MS Sans Serif"), 11, false));
  // The table takes the keyboard: the keys move through the ranks, and a
  // screen reader hears each one.
  scorebox = new TSpokenBox(QAccessible::Table, this);
  scorebox->setGeometry(24, 40, 450, 625);
  scorebox->setFocusPolicy(Qt::StrongFocus);
  scorebox->setAccessibleName(QStringLiteral("ere galerij"));
  // Its rows: the ranks of the page shown, cell by cell.
  auto* table = static_cast<TSpokenBox*>(scorebox);
  table->Columns = HallColumns();
  table->Rows = [this] {
    QList<QStringList> rows;
    for (int a = 1; a <= kHallRows && a + ScrollBar1->value() <= ranking_.Count(); ++a)
      rows << HallRowCells(ranking_, a + ScrollBar1->value());
    return rows;
  };
  table->SelectedRow = [this] { return Selected > 0 ? Selected - ScrollBar1->value() - 1 : -1; };
  announcer = new TAnnouncer(this);
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
  PaintRow(a);
  RowCounter = uint8_t(a + 1);
  if (RowCounter > 25) Timer1.stop();
}

void Tscoreform::PaintRow(int a) {
  const int r = a + ScrollBar1->value();
  TXBitmap& s = scorebox->Surface();
  const TRect row{0, 25 * (a - 1), s.Width(), 25 * a};
  s.FillRect(row, a % 2 == 1 ? 0xE0FFE0 : 0xE0E0FF);
  if (r <= ranking_.Count()) {
    const QFont font = PixelFont(QStringLiteral("Arial"), 15, false);
    const QFontMetrics metrics(font);
    const ScoreRecord& slot = ranking_.AtRank(r);
    const int y = 25 * (a - 1) + 5;
    const QString rank = QString::number(r);
    const QString total = QString::number(TotalScore(slot.levels));
    s.TextOut(30 - metrics.horizontalAdvance(rank), y, rank, font, 0x000000);
    s.TextOut(100, y, RecordName(slot), font, 0x000000);
    s.TextOut(250, y, FormatOleDate(slot.date), font, 0x000000);
    s.TextOut(420 - metrics.horizontalAdvance(total), y, total, font, 0x000000);
  }
  if (r == Selected && Selected > 0) {
    // The focus mark of the rank the keys selected: a dark frame inside the row.
    const TRect in{row.Left + 1, row.Top + 1, row.Right - 1, row.Bottom - 1};
    s.FillRect({in.Left, in.Top, in.Right, in.Top + 1}, 0x000000);
    s.FillRect({in.Left, in.Bottom - 1, in.Right, in.Bottom}, 0x000000);
    s.FillRect({in.Left, in.Top, in.Left + 1, in.Bottom}, 0x000000);
    s.FillRect({in.Right - 1, in.Top, in.Right, in.Bottom}, 0x000000);
  }
  scorebox->Show(row);
}

void Tscoreform::ScrollBar1Change() { scorebox->Invalidate(); }

void Tscoreform::ShowModal() {
  exec();
  Timer1.stop();
}

void Tscoreform::showEvent(QShowEvent* e) {
  // Opened, the list has no rank selected (no mark) and takes the keys; a
  // screen reader reads what it holds and how to move through it.
  Selected = 0;
  const QString keys = QStringLiteral(
      "Pijl omlaag en omhoog, Page Down, Page Up, Home en End: door de lijst. Escape: sluit");
  const int entries = ranking_.Count();
  if (entries == 0)
    scorebox->setAccessibleDescription(QStringLiteral("de ere galerij is leeg. Escape: sluit"));
  else if (entries == 1)
    scorebox->setAccessibleDescription(QStringLiteral("1 speler. ") + keys);
  else
    scorebox->setAccessibleDescription(QStringLiteral("%1 spelers. ").arg(entries) + keys);
  scorebox->setFocus(Qt::OtherFocusReason);
  QDialog::showEvent(e);
}

void Tscoreform::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape) {
    accept();  // modal result OK
    return;
  }
  bool handled = false;
  const THallView before{Selected, ScrollBar1->value()};
  const THallView after = StepHall(before, e->key(), ranking_.Count(), &handled);
  if (!handled) {
    e->ignore();
    return;
  }
  if (ranking_.Count() == 0) {
    announcer->Say(QStringLiteral("de ere galerij is leeg"));
    return;
  }
  Selected = after.selected;
  if (after.top != before.top) {
    ScrollBar1->setValue(after.top);  // the page painted again, row by row
  } else if (Timer1.isActive()) {
    // Rows still to come are painted with the mark where it now is; the
    // page is painted again so no row keeps the old mark.
    scorebox->Invalidate();
  } else {
    for (int rank : {before.selected, after.selected})
      if (rank > after.top && rank <= after.top + kHallRows) PaintRow(rank - after.top);
  }
  const QString row = HallRowText(ranking_, Selected);
  scorebox->setAccessibleDescription(row);
  static_cast<TSpokenBox*>(scorebox)->RowSelected();
  announcer->Say(row);
}
