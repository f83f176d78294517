// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/help_unit.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QToolButton>

#include "drawing/PaintBox.h"
#include "drawing/accessible.h"
#include "drawing/Unit2.h"
#include "help/help_text.h"

namespace {

constexpr uint32_t kPageColour = 0xE0FFFF;  // 0x00BBGGRR

}  // namespace

Thelpform::Thelpform(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Zam9 help"));
  setFixedSize(833, 693);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  UseButtonFace(this);

  // The page: a screen reader's text object, which has the keyboard while
  // the window is open, so its reading is the first thing said.
  helpbox = new TSpokenBox(QAccessible::Paragraph, this);
  helpbox->setGeometry(16, 64, 800, 600);
  helpbox->setFocusPolicy(Qt::StrongFocus);
  announcer = new TAnnouncer(this);
  subtitle = new QLabel(this);
  subtitle->setGeometry(16, 16, 553, 30);
  subtitle->setFont(PixelFont(QStringLiteral("Arial"), 19, true));
  page1Btn = new QToolButton(this);
  page1Btn->setGeometry(720, 16, 33, 30);
  page1Btn->setText(QStringLiteral("1"));
  page1Btn->setToolTip(QStringLiteral("pagina 1"));
  page1Btn->setFont(PixelFont(QStringLiteral("Arial"), 19, false));
  page1Btn->setAutoRaise(true);
  pageNrdisplay = new QLabel(QStringLiteral("1"), this);
  pageNrdisplay->setGeometry(760, 16, 49, 30);
  pageNrdisplay->setAlignment(Qt::AlignCenter);
  pageNrdisplay->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  pageNrdisplay->setFont(PixelFont(QStringLiteral("Arial"), 19, true));
  pageNrdisplay->setToolTip(QStringLiteral("klik hier voor volgende pagina"));
  pageNrdisplay->setAutoFillBackground(true);
  QPalette nr = pageNrdisplay->palette();
  nr.setColor(QPalette::WindowText, ToQColor(0x800000));
  pageNrdisplay->setPalette(nr);
  auto label = [this](int x, int y, const char* text) {
    return MakeLabel(this, x, y, QString::fromLatin1(text));
  };
  Label1 = label(592, 16, "page UP/Down");
  Label2 = label(592, 32, "of klik op pagina nr.");
  Label3 = label(16, 672, "ESC: sluit pagina");
  ListBox1 = new QListWidget(this);
  ListBox1->addItems(HelpSource());
  ListBox1->hide();
  Timer1.setInterval(400);

  helpbox->OnPaint = [this] { helpboxPaint(); };
  helpbox->OnMouseMove = [this](QMouseEvent* e) {
    helpboxMouseMove(int(e->position().x()), int(e->position().y()));
  };
  helpbox->OnMouseDown = [this](QMouseEvent*) { helpboxMouseDown(); };
  pageNrdisplay->installEventFilter(this);
  connect(page1Btn, &QToolButton::clicked, this, [this] { GotoPage1(); });
  connect(&Timer1, &QTimer::timeout, this, [this] { StepPage(0); });
}

void Thelpform::showEvent(QShowEvent* e) {
  FormShow();
  QDialog::showEvent(e);
}

void Thelpform::FormShow() {
  CurrentPage = 1;
  pageNrdisplay->setText(QStringLiteral("1"));
  QPalette nr = pageNrdisplay->palette();
  nr.setColor(QPalette::Window, ToQColor(0xC0F0F0));
  pageNrdisplay->setPalette(nr);
  PageCount = uint8_t(ListBox1->count() / 25 + 1);
  exposedPage_ = 0;
  helpboxPaint();  // page 1 at once, title included
  helpbox->setFocus(Qt::OtherFocusReason);
  helpbox->Invalidate();
}

void Thelpform::helpboxPaint() {
  TXBitmap& s = helpbox->Surface();
  const int w = s.Width(), h = s.Height();
  s.FillRect({0, 0, w, h}, kPageColour);
  for (int k = 0; k < 3; ++k) {
    s.FillRect({k + 1, k, w - k, k + 1}, 0x000000);          // top, leftward
    s.FillRect({k, k, k + 1, h - k - 1}, 0x000000);          // left, downward
    s.FillRect({k, h - k - 1, w - k - 1, h - k}, 0x808080);  // bottom
    s.FillRect({w - k - 1, k + 1, w - k, h - k}, 0x808080);  // right, upward
  }
  RenderPage();
}

void Thelpform::ClearPageArea() {
  TXBitmap& s = helpbox->Surface();
  s.FillRect({7, 7, s.Width() - 7, s.Height() - 7}, kPageColour);
  helpbox->Show({0, 0, s.Width(), s.Height()});
}

void Thelpform::RenderPage() {
  HoverLine = 0;
  std::fill(std::begin(LinkTarget), std::end(LinkTarget), 0);
  const int first = 25 * (CurrentPage - 1);
  for (int i = 0; i <= 24 && first + i < ListBox1->count(); ++i)
    DrawLine(i, ListBox1->item(first + i)->text());
  const TXBitmap& s = helpbox->Surface();
  helpbox->Show({0, 0, s.Width(), s.Height()});
  ExposePage();
}

void Thelpform::ExposePage() {
  if (CurrentPage == exposedPage_) return;  // a repaint of the same page
  const bool opening = exposedPage_ == 0;
  exposedPage_ = CurrentPage;
  const QString name = HelpPageName(HelpSource(), CurrentPage, PageCount);
  const QString text = PlainHelpPage(HelpSource(), CurrentPage);
  const QString body = text.section(QLatin1Char('\n'), 1).replace(QLatin1Char('\n'), QLatin1Char(' '));
  static const QString keys = QStringLiteral(
      "Page Down: volgende pagina, Page Up: vorige pagina, Home: inhoud, Escape: sluit de help.");
  // The page box's name is the page, its text the page without mark-up, its
  // description the body and the keys: what a screen reader reads when the
  // box gets the focus, as the window opens.
  helpbox->setAccessibleName(name);
  helpbox->setAccessibleDescription(body.isEmpty() ? keys : body + QLatin1Char(' ') + keys);
  static_cast<TSpokenBox*>(helpbox)->SetText(text);
  // A new page while the window is open is said by the announcer.
  if (!opening) {
    announcer->Say(name);
    announcer->Say(body);
  }
}

THelpLineState Thelpform::DrawLine(int i, const QString& text) {
  THelpLineState st;
  if (i == 0) {
    subtitle->setText(text);
    return st;
  }
  TXBitmap& s = helpbox->Surface();
  const int y = 20 * i;
  bool escape = false;
  // A frame edge 2 pixels wide along a row, or down a column.
  auto edgeAcross = [&](int x1, int x2, int yy) {
    if (x2 > x1) s.FillRect({x1, yy - 1, x2, yy + 1}, 0x606060);
  };
  auto closeEdges = [&] {
    if (!st.frameOpen) return;
    edgeAcross(st.frameStartX, st.x, y - 5);
    edgeAcross(st.frameStartX, st.x, y + 25);
  };
  const QString line = text.left(255);
  for (int k = 0; k < line.size(); ++k) {
    const QChar c = line[k];
    if (!escape && c == QLatin1Char('\\')) {
      escape = true;
      continue;
    }
    if (escape) {
      escape = false;
      if (c == QLatin1Char('\\')) {
        escape = true;  // a doubled backslash acts as one
        continue;
      }
      switch (c.toLower().unicode()) {
        case 'b':
          st.size = 12;
          st.offset = 7;
          break;
        case 'f':
          st.bold = true;
          break;
        case 'i': {
          // The digits right after the code (they are drawn as text too).
          int target = 0;
          for (int j = k + 1; j < line.size() && line[j].isDigit(); ++j)
            target = std::min(1000, target * 10 + line[j].digitValue());
          st.link = std::min(target, 255);
          if (i >= 1 && i <= 24) LinkTarget[i] = uint8_t(st.link);
          break;
        }
        case 'l':
          st.size = 14;
          st.offset = 0;
          break;
        case 'm':
          st.shaded = true;
          break;
        case 'n':
          st.size = 12;
          st.bold = false;
          st.shaded = false;
          st.frameOpen = false;
          st.offset = 0;
          break;
        case 'p':
          st.size = 12;
          st.offset = -5;
          break;
        case 's':
          st.size = 12;
          st.offset = 0;
          break;
        case 't':
          st.x = (st.x / 100) * 100 + 100;
          break;
        case '[':
          closeEdges();
          st.frameOpen = true;
          st.frameStartX = st.x;
          s.FillRect({st.x - 1, y - 5, st.x + 1, y + 25}, 0x606060);
          st.x += 5;
          break;
        default:
          break;  // not a code: dropped
      }
      continue;
    }
    const QFont font = PageFont(st.size, st.bold);
    const QFontMetrics metrics(font);
    const QString ch(c);
    const int width = metrics.horizontalAdvance(ch);
    if (st.shaded)
      s.FillRect({st.x, y + st.offset, st.x + width, y + st.offset + metrics.height()}, 0xD8D8D8);
    s.TextOut(st.x, y + st.offset, ch, font, 0x000000);
    if (st.frameOpen) {
      closeEdges();
      st.frameStartX = st.x;
    }
    st.x += width + 1;
  }
  return st;
}

void Thelpform::StepPage(uint8_t direction) {
  if (direction != 0) LastDirection = direction;
  if (LastDirection == 1 && CurrentPage < PageCount)
    ++CurrentPage;
  else if (LastDirection == 2 && CurrentPage >= 2)
    --CurrentPage;
  else
    return;
  ClearPageArea();
  pageNrdisplay->setText(QString::number(CurrentPage));
  RenderPage();
}

void Thelpform::GotoPage1() {
  ClearPageArea();
  CurrentPage = 1;
  pageNrdisplay->setText(QStringLiteral("1"));
  RenderPage();
}

// Toggles the hover band of a body line: pen OR (NOT destination) with the
// pen 0xA00000, so a second toggle restores every pixel.
void Thelpform::ToggleBand(int line) {
  TXBitmap& s = helpbox->Surface();
  const uint32_t pen = SwapRB(0xA00000);
  for (int y = 20 * line; y < 20 * line + 20; ++y)
    for (int x = 10; x < s.Width() - 10; ++x)
      s.SetPixel(x, y, pen | (~s.GetPixel(x, y) & 0xFFFFFF));
  helpbox->Show({10, 20 * line, s.Width() - 10, 20 * line + 20});
}

void Thelpform::helpboxMouseMove(int, int y) {
  const int line = y / 20;
  if (line == HoverLine) return;
  if (HoverLine != 0) {
    ToggleBand(HoverLine);
    HoverLine = 0;
  }
  if (line >= 1 && line <= 24 && LinkTarget[line] != 0) {
    ToggleBand(line);
    HoverLine = uint8_t(line);
  }
}

void Thelpform::helpboxMouseDown() {
  if (HoverLine == 0) return;
  const int target = LinkTarget[HoverLine];
  if (target < 1 || target > PageCount) return;  // a link past the last page leads nowhere
  CurrentPage = uint8_t(target);
  ClearPageArea();
  RenderPage();
  pageNrdisplay->setText(QString::number(CurrentPage));
}

void Thelpform::pageNrMouseDown(Qt::MouseButton button) {
  StepPage(button == Qt::RightButton ? 2 : 1);
  Timer1.start();
}

void Thelpform::pageNrMouseUp() { Timer1.stop(); }

bool Thelpform::eventFilter(QObject* watched, QEvent* event) {
  if (watched == pageNrdisplay) {
    // A quick second press arrives as a double-click: it steps a page too.
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
      pageNrMouseDown(static_cast<QMouseEvent*>(event)->button());
      return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
      pageNrMouseUp();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void Thelpform::keyPressEvent(QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Escape:
      Timer1.stop();
      accept();  // modal result OK
      break;
    case Qt::Key_PageUp:
      StepPage(2);
      break;
    case Qt::Key_PageDown:
      StepPage(1);
      break;
    case Qt::Key_Home:
      GotoPage1();
      break;
    default:
      e->ignore();
      break;
  }
}

// The page's font at a size in points (96 pixels per inch), drawn without
// smoothing so the hover band's colour inversion stays exact.
QFont PageFont(int points, bool bold) {
  // Rounded as the platform converts points to pixels: 14 points are 19 pixels.
  QFont f = PixelFont(QStringLiteral("arial"), (points * 96 + 36) / 72, bold);
  f.setStyleStrategy(QFont::NoAntialias);
  return f;
}
