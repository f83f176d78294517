// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/controls.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

#include "drawing/PaintBox.h"
#include "drawing/rilArrayBtn.h"
#include "games/GameModule.h"

namespace {

constexpr int kWidth = 860, kHeight = 689;  // the window's client area

// The caption colour of a control while it works; switched off, it shows
// the platform's disabled caption instead.
void SetTextColour(QWidget* w, uint32_t colour) {
  QPalette pal = w->palette();
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    pal.setColor(group, QPalette::WindowText, ToQColor(colour));
    pal.setColor(group, QPalette::ButtonText, ToQColor(colour));
  }
  w->setPalette(pal);
}

// The buttons' look: the platform's own, but a disabled caption is always
// drawn embossed (greyed, over a light copy one pixel down and right), the
// classic desktop sign that a button does nothing now, even where the
// platform style would only grey it.
class TButtonStyle final : public QProxyStyle {
 public:
  void drawItemText(QPainter* painter, const QRect& rect, int flags, const QPalette& pal,
                    bool enabled, const QString& text,
                    QPalette::ColorRole textRole) const override {
    if (!enabled && textRole != QPalette::NoRole) {
      QPalette light = pal;
      light.setColor(textRole, pal.color(QPalette::Light));
      QProxyStyle::drawItemText(painter, rect.translated(1, 1), flags, light, enabled, text,
                                textRole);
    }
    QProxyStyle::drawItemText(painter, rect, flags, pal, enabled, text, textRole);
  }
};

QPushButton* MakeButton(QWidget* parent, const QRect& geometry, const QString& caption,
                        const QFont& font, uint32_t colour, bool flat) {
  static QPointer<TButtonStyle> style;
  if (!style) {
    style = new TButtonStyle;
    style->setParent(QCoreApplication::instance());  // goes with the application
  }
  auto* button = new QPushButton(caption, parent);
  button->setStyle(style);
  button->setGeometry(geometry);
  button->setFont(font);
  button->setFlat(flat);
  SetTextColour(button, colour);
  return button;
}

// The window itself, the board, the panels beside it and the game selector.
void BuildBoardSide(QWidget& window, TMainControls& c) {
  window.setWindowTitle(QStringLiteral("Zam games V1.1"));
  window.setFixedSize(kWidth, kHeight);
  window.setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                        Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                        Qt::MSWindowsFixedSizeDialogHint);
  UseButtonFace(&window);
  window.setFont(PixelFont(QStringLiteral("MS Sans Serif"), 11, false));

  // The board is a screen reader's canvas and takes the keyboard: the move
  // cursor's keys reach it, and Tab leads to it.
  c.box1 = new TSpokenBox(QAccessible::Canvas, &window);
  c.box1->setGeometry(16, 144, 641, 481);
  c.box1->setFocusPolicy(Qt::StrongFocus);
  c.largemsgbox = new TPaintBox(&window);
  c.largemsgbox->setGeometry(16, 8, 641, 121);
  c.largemsgbox->setFont(PixelFont(QStringLiteral("Arial"), 13, false));
  c.smallmsgbox = new QLabel(&window);
  c.smallmsgbox->setGeometry(16, 648, 641, 25);
  c.smallmsgbox->setFont(PixelFont(QStringLiteral("Arial"), 13, true));
  c.smallmsgbox->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  c.directionbox = new TPaintBox(&window);
  c.directionbox->setGeometry(680, 40, 75, 75);
  c.Label4 = MakeLabel(&window, 680, 24, QStringLiteral("richtingen"));
  c.BitBtn1 = MakeButton(&window, {768, 64, 75, 25}, QStringLiteral("help"),
                         PixelFont(QStringLiteral("Arial"), 16, true), 0x008000, false);
  c.Label2 = MakeLabel(&window, 680, 128, QStringLiteral("Zam game"));
  c.gameselbtn = new TRilArrayBtn(&window);
  c.gameselbtn->move(680, 150);
  c.gameselbtn->SetColumns(1);
  c.gameselbtn->SetRows(kGameCount);
  c.gameselbtn->SetBtnWidth(40);
  c.gameselbtn->SetBtnHeight(25);
  c.gameselbtn->SetBorder(5);
  c.gameselbtn->SetBtnEdge(2);
  for (int n = 1; n <= kGameCount; ++n)
    c.gameselbtn->ButtonNames << QStringLiteral("spel %1").arg(n);
  c.Label3 = MakeLabel(&window, 736, 128, QStringLiteral("level           /    score"));
  c.scoreBox = new TPaintBox(&window);
  c.scoreBox->setGeometry(736, 155, 105, 270);
  c.Label6 = MakeLabel(&window, 704, 440, QStringLiteral("totaalscore"));
  c.Label6->setFont(PixelFont(QStringLiteral("Arial"), 13, true));
  SetTextColour(c.Label6, 0x000080);
  c.Label6->adjustSize();
  c.totalscore = new QLabel(QStringLiteral("0"), &window);
  c.totalscore->setGeometry(784, 437, 58, 33);
  c.totalscore->setAlignment(Qt::AlignCenter);
  c.totalscore->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  c.totalscore->setFont(PixelFont(QStringLiteral("Arial"), 19, true));
  SetTextColour(c.totalscore, 0x008080);
}

// The player's boxes, the buttons below them and the hidden rules list.
void BuildPlayerSide(QWidget& window, TMainControls& c, const QStringList& infoItems) {
  c.Label5 = MakeLabel(&window, 680, 472, QStringLiteral("naam"));
  c.namebox = new TNameBox(&window);
  c.namebox->setGeometry(680, 488, 169, 24);
  c.namebox->setEditable(true);
  c.namebox->setInsertPolicy(QComboBox::NoInsert);
  c.namebox->setCompleter(nullptr);
  c.namebox->lineEdit()->setMaxLength(10);
  c.namebox->setFont(PixelFont(QStringLiteral("MS Sans Serif"), 13, true));
  c.namebox->setFocusPolicy(Qt::ClickFocus);
  c.Label1 = MakeLabel(&window, 680, 520, QStringLiteral("password (optie)"));
  c.passwordEdit = new QLineEdit(&window);
  c.passwordEdit->setGeometry(680, 536, 153, 24);
  c.passwordEdit->setMaxLength(10);
  c.passwordEdit->setEchoMode(QLineEdit::Password);
  c.passwordEdit->setFont(PixelFont(QStringLiteral("MS Sans Serif"), 13, true));
  c.passwordEdit->setFocusPolicy(Qt::ClickFocus);
  c.galleryBtn = MakeButton(&window, {680, 568, 169, 30}, QStringLiteral("ere galerij"),
                            PixelFont(QStringLiteral("MS Sans Serif"), 16, true), 0x800080, true);
  c.compstartBtn = MakeButton(&window, {680, 608, 169, 30}, QStringLiteral("computer begint"),
                              PixelFont(QStringLiteral("MS Sans Serif"), 16, true), 0x808080, true);
  c.compstartBtn->setToolTip(QStringLiteral("laat computer 1e zet doen"));
  // The flat buttons are no tab stops and a click leaves the focus where it is.
  c.galleryBtn->setFocusPolicy(Qt::NoFocus);
  c.compstartBtn->setFocusPolicy(Qt::NoFocus);
  c.actionBtn = MakeButton(&window, {680, 648, 97, 33}, QStringLiteral("speel"),
                           PixelFont(QStringLiteral("Arial"), 16, true), 0x800000, false);
  // "start" / "nieuw spel" is a tab stop: the keyboard always finds it again.
  c.actionBtn->setFocusPolicy(Qt::StrongFocus);
  c.stopBtn = MakeButton(&window, {784, 648, 65, 33}, QStringLiteral("menu"),
                         PixelFont(QStringLiteral("Arial"), 16, true), 0x0000FF, false);
  c.infobox = new QListWidget(&window);
  c.infobox->setGeometry(24, 160, 529, 97);
  c.infobox->addItems(infoItems);
  c.infobox->hide();
  QWidget::setTabOrder(c.namebox, c.totalscore);
  QWidget::setTabOrder(c.totalscore, c.infobox);
  QWidget::setTabOrder(c.infobox, c.passwordEdit);
  QWidget::setTabOrder(c.passwordEdit, c.box1);
  QWidget::setTabOrder(c.box1, c.actionBtn);
  QWidget::setTabOrder(c.actionBtn, c.stopBtn);
  QWidget::setTabOrder(c.stopBtn, c.BitBtn1);
}

}  // namespace

void BuildControls(QWidget& window, TMainControls& c, const QStringList& infoItems) {
  BuildBoardSide(window, c);
  BuildPlayerSide(window, c, infoItems);
}

void TNameBox::hidePopup() {
  TNamedComboBox::hidePopup();
  // A choice from the list is reported right after the list closes, in the
  // same call; the flag lasts until control returns to the loop.
  fromList_ = true;
  QTimer::singleShot(0, this, [this] { fromList_ = false; });
}

void TNameBox::SetNames(const QStringList& names) {
  const QString typed = currentText();
  const QSignalBlocker block(this);
  clear();
  addItems(names);
  setCurrentIndex(-1);
  setEditText(typed);
}

void TNameBox::keyPressEvent(QKeyEvent* e) {
  const bool step = !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
                    (e->key() == Qt::Key_Up || e->key() == Qt::Key_Down ||
                     e->key() == Qt::Key_PageUp || e->key() == Qt::Key_PageDown);
  stepping_ = step;
  TNamedComboBox::keyPressEvent(e);
  stepping_ = false;
}

void NameControls(QWidget& window, const TMainControls& c) {
  struct TName {
    QWidget* widget;
    const char* name;  // nullptr: the control's own caption is its name
    const char* description;
  };
  const TName names[] = {
      {&window, nullptr,
       "Zam games: negen spelen tegen de computer. Toetsen: 1 tot 9 kiezen een spel, Ctrl+N "
       "start, Ctrl+B laat de computer beginnen, Ctrl+M menu, Ctrl+H ere galerij, F1 help, "
       "Ctrl+Q stoppen; tijdens een spel kiezen de pijltjestoetsen een zet en speelt Enter of "
       "spatie die zet."},
      {c.box1, "speelbord", "geen spel gekozen"},
      {c.largemsgbox, "spelregels", ""},
      {c.smallmsgbox, nullptr, "statusregel: wie aan zet is en de uitslag"},
      {c.directionbox, "richtingen", "geen richtingen"},
      {c.Label4, nullptr, "kop van de richtingen"},
      {c.BitBtn1, nullptr, "opent de help (F1)"},
      {c.Label2, nullptr, "kop van de spelkeuze"},
      {c.gameselbtn, "Zam game", "kies een spel met de knoppen of de toetsen 1 tot 9"},
      {c.Label3, nullptr, "kop van de levels en scores"},
      {c.scoreBox, "level en score", ""},
      {c.Label6, nullptr, "kop van de totaalscore"},
      {c.totalscore, "totaalscore", "0"},
      {c.Label5, nullptr, "kop van het naamvak"},
      {c.namebox, "naam",
       "naam van de speler (Alt+N): letters en cijfers, niet beginnend met een cijfer; Enter "
       "meldt aan"},
      {c.Label1, nullptr, "kop van het passwordvak"},
      {c.passwordEdit, "password (optie)",
       "password van de speler (Alt+P): letters en cijfers; Enter meldt aan"},
      {c.galleryBtn, nullptr, "toont de ere galerij (Ctrl+H)"},
      {c.compstartBtn, nullptr, "laat computer 1e zet doen (Ctrl+B)"},
      {c.actionBtn, nullptr, "start een spel (Ctrl+N)"},
      {c.stopBtn, nullptr, "terug naar het menu (Ctrl+M); tijdens een spel telt dit als verlies"},
  };
  for (const TName& n : names) {
    if (n.name) n.widget->setAccessibleName(QString::fromUtf8(n.name));
    n.widget->setAccessibleDescription(QString::fromUtf8(n.description));
  }
}
