#include "shell/Unit1.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCursor>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <memory>

#include "base/Random.h"
#include "drawing/PaintBox.h"
#include "drawing/accessible.h"
#include "drawing/Unit2.h"
#include "drawing/frames.h"
#include "drawing/pieces.h"
#include "drawing/rilArrayBtn.h"
#include "games/catalogue.h"
#include "halloffame/scores.h"
#include "help/help_unit.h"
#include "shell/gamecontrol.h"
#include "shell/keycommands.h"
#include "shell/voice.h"

TForm1* Form1 = nullptr;

namespace {

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

// The name box: an editable combo box that tells a name chosen from its
// list (the open list, with the mouse or the keys, or the arrow keys on the
// closed box) apart from the activation Qt also reports when typed text
// happens to equal an entry (on Return or when the box loses the focus).
class TNameBox final : public TNamedComboBox {
 public:
  using TNamedComboBox::TNamedComboBox;
  void hidePopup() override {
    TNamedComboBox::hidePopup();
    // A choice from the list is reported right after the list closes, in
    // the same call; the flag lasts until control returns to the loop.
    fromList_ = true;
    QTimer::singleShot(0, this, [this] { fromList_ = false; });
  }
  bool FromList() const { return fromList_ || stepping_; }

 protected:
  // On the closed box the arrow and page keys step to the entry above or
  // below: that entry is chosen from the list just as a click chooses it.
  void keyPressEvent(QKeyEvent* e) override {
    const bool step = !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
                      (e->key() == Qt::Key_Up || e->key() == Qt::Key_Down ||
                       e->key() == Qt::Key_PageUp || e->key() == Qt::Key_PageDown);
    stepping_ = step;
    TNamedComboBox::keyPressEvent(e);
    stepping_ = false;
  }

 private:
  bool fromList_ = false;
  bool stepping_ = false;
};

// What typing can put into a box: letters "A".."Z" and "a".."z" and digits,
// at most 10 characters; in the name box no digit first.
QString Typeable(const QString& text, bool name) {
  QString out;
  for (QChar c : text) {
    const bool letter = (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
                        (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
    const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (letter || (digit && !(name && out.isEmpty()))) out += c;
  }
  return out.left(10);
}

// Keeps a box to what typing could have produced, whatever way the text
// came in (a paste, a drop, an input method's composed character).
void KeepTypeable(QLineEdit* box, bool name) {
  const QString text = box->text(), kept = Typeable(text, name);
  if (kept == text) return;
  const int cursor = box->cursorPosition();
  const int removedBefore =
      int(text.left(cursor).size() - Typeable(text.left(cursor), name).size());
  box->setText(kept);
  box->setCursorPosition(std::clamp(cursor - removedBefore, 0, int(kept.size())));
}

// Whether the key filter lets a typed character into a box holding `text`:
// letters, and digits (in the name box only once it holds something).
bool KeyPasses(QChar c, bool name, const QString& text) {
  const bool letter = (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
                      (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
  const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
  return letter || (digit && !(name && text.isEmpty()));
}

// What typing `incoming` one character at a time does to a box holding
// `text` with [start, end) selected (start = end: the cursor there): the key
// filter drops each refused character, the first one it lets through
// replaces the selection, a full box takes no more, and after every
// character the box keeps only what typing can produce.
struct TTyped {
  QString text;
  int cursor;
  bool typed;  // at least one character went in
};
TTyped TypeInto(QString text, int start, int end, const QString& incoming, bool name) {
  int cursor = start;
  bool selection = start != end, typed = false;
  for (QChar c : incoming) {
    if (!KeyPasses(c, name, text)) continue;
    typed = true;
    if (selection) {
      text.remove(start, end - start);
      selection = false;
    }
    if (text.size() >= 10) continue;
    text.insert(cursor++, c);
    const QString kept = Typeable(text, name);
    cursor -= int(text.left(cursor).size() - Typeable(text.left(cursor), name).size());
    text = kept;
  }
  return {text, std::clamp(cursor, 0, int(text.size())), typed};
}

// Puts text that did not come from the keys (a paste, an input method's
// commit) into a box as typing those characters would, as one edit of the
// box (so the box reports it as edited and can undo it).
void InsertAsTyped(QLineEdit* box, const QString& incoming, bool name) {
  const QString old = box->text();
  int start = box->cursorPosition(), end = start;
  if (box->hasSelectedText()) {
    start = box->selectionStart();
    end = start + int(box->selectedText().size());
  }
  const TTyped r = TypeInto(old, start, end, incoming, name);
  if (!r.typed) return;
  if (r.text != old) {
    int prefix = 0;
    while (prefix < old.size() && prefix < r.text.size() && old[prefix] == r.text[prefix]) ++prefix;
    int suffix = 0;
    while (suffix < old.size() - prefix && suffix < r.text.size() - prefix &&
           old[old.size() - 1 - suffix] == r.text[r.text.size() - 1 - suffix])
      ++suffix;
    box->setCursorPosition(prefix);
    if (old.size() - prefix - suffix > 0)
      box->setSelection(prefix, int(old.size() - prefix - suffix));
    box->insert(r.text.mid(prefix, r.text.size() - prefix - suffix));
  }
  box->setCursorPosition(r.cursor);
}

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

const QStringList& InfoItems() {
  static const QStringList items = {
      QStringLiteral("[0]"),
      QStringLiteral("Neem per zet een willekeurig aantal stenen van een kolom weg."),
      QStringLiteral("Winnaar is wie de laatste steen (stenen) weghaalt."),
      QStringLiteral("Score: 1 punt per gewonnen spel."),
      QStringLiteral("[1]"),
      QStringLiteral("Schuif per zet de munt een aantal vakjes naar links of omlaag."),
      QStringLiteral("Winnaar is wie de munt in het groene vakje zet."),
      QStringLiteral("Score : 2 punten per gewonnen spel"),
      QStringLiteral("[2]"),
      QStringLiteral(
          "Schuif per zet de munt een aantal vakjes naar links, omlaag, of diagonaal naar links."),
      QStringLiteral("Winnaar is wie de munt in het groene vakje zet."),
      QStringLiteral("Score: 3 punten per gewonnen spel."),
      QStringLiteral("[3]"),
      QStringLiteral(
          "Schuif een eigen munt 'X' per zet een aantal vakjes naar links of naar rechts."),
      QStringLiteral("Per vakje kan er maximaal 1 munt staan. Munten kunnen elkaar niet passeren."),
      QStringLiteral("Winnaar is degene die de ander klem zet, zodat die geen zet meer kan doen."),
      QStringLiteral("Score: 4 punten per gewonnen spel."),
      QStringLiteral("[4]"),
      QStringLiteral(
          "Verschuif een eigen munt 'X' per zet een aantal vakjes naar links of naar rechts."),
      QStringLiteral("Maximaal  1 munt per vakje, munten kunnen elkaar niet passeren."),
      QStringLiteral("Winnaar is degene die de ander klem zet."),
      QStringLiteral("Score: 5 punten per gewonnen spel."),
      QStringLiteral("[5]"),
      QStringLiteral(
          "Verschuif een eigen munt 'X' per zet een aantal vakjes naar links of naar rechts."),
      QStringLiteral("Maximaal  1 munt per vakje, munten kunnen elkaar niet passeren."),
      QStringLiteral("Winnaar is degene die de ander klem zet."),
      QStringLiteral("Score: 6 punten per gewonnen spel."),
      QStringLiteral("[6]"),
      QStringLiteral("Schuif per zet een munt een aantal vakjes naar links."),
      QStringLiteral("Maximaal 1 munt per vakje, passeren is niet toegestaan."),
      QStringLiteral("Winnaar is degene die de laatst mogelijke zet doet."),
      QStringLiteral("Alle munten staan dan links aangeschoven."),
      QStringLiteral("Score: 7 punten per gewonnen spel."),
      QStringLiteral("[7]"),
      QStringLiteral("Schuif per zet een munt een aantalvakjes naar links."),
      QStringLiteral("Maximaal 1 munt per vakje, passeren is niet toegestaan."),
      QStringLiteral("Munten in het linker vakje vallen uit het spel."),
      QStringLiteral("Winnaar is degene die de ' \u20AC ' munt uit het spel haalt."),
      QStringLiteral("Score: 8 punten per gewonnen spel;"),
      QStringLiteral("[8]"),
      QStringLiteral("Gooi per zet 1 of 2 blikjes om."),
      QStringLiteral("Winnaar is degene die de laatste blikjes omgooit."),
      QStringLiteral("Score: 9 punten per gewonnen spel."),
      QStringLiteral("[10]"),
      QStringLiteral("9 Zam spelen, van makkelijk (1) tot moeilijk (9) maar de wiskunde erachter "
                     "is steeds hetzelfde."),
      QStringLiteral("Speler en computer doen om beurten een zet. Wie als eerste de eindstand "
                     "bereikt is de winnaar."),
      QStringLiteral("strategie:"),
      QStringLiteral("Elke stand is \"goed\" of \"fout\". Een stand is \"fout\" als er een zet "
                     "bestaat naar een \"goede\" stand."),
      QStringLiteral("Een stand is \"goed\" als het de eindstand is of als elke zet een \"foute\" "
                     "stand oplevert."),
      QStringLiteral("De speler kan elk spel winnen door bij een \"goede\" beginstand de computer "
                     "de eerste zet te laten doen."),
      QStringLiteral("[]"),
      QString(),
      QString(),
  };
  return items;
}

}  // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
  Form1 = this;
  setWindowTitle(QStringLiteral("Zam games V1.1"));
  setFixedSize(kClientWidth, kClientHeight);
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  UseButtonFace(this);
  setFont(PixelFont(QStringLiteral("MS Sans Serif"), 11, false));

  // The board is a screen reader's canvas and takes the keyboard: the move
  // cursor's keys reach it, and Tab leads to it.
  box1 = new TSpokenBox(QAccessible::Canvas, this);
  box1->setGeometry(16, 144, 641, 481);
  box1->setFocusPolicy(Qt::StrongFocus);
  largemsgbox = new TPaintBox(this);
  largemsgbox->setGeometry(16, 8, 641, 121);
  largemsgbox->setFont(PixelFont(QStringLiteral("Arial"), 13, false));
  smallmsgbox = new QLabel(this);
  smallmsgbox->setGeometry(16, 648, 641, 25);
  smallmsgbox->setFont(PixelFont(QStringLiteral("Arial"), 13, true));
  smallmsgbox->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  directionbox = new TPaintBox(this);
  directionbox->setGeometry(680, 40, 75, 75);
  Label4 = MakeLabel(this, 680, 24, QStringLiteral("richtingen"));
  BitBtn1 = MakeButton(this, {768, 64, 75, 25}, QStringLiteral("help"),
                       PixelFont(QStringLiteral("Arial"), 16, true), 0x008000, false);
  Label2 = MakeLabel(this, 680, 128, QStringLiteral("Zam game"));
  gameselbtn = new TRilArrayBtn(this);
  gameselbtn->move(680, 150);
  gameselbtn->SetColumns(1);
  gameselbtn->SetRows(kGameCount);
  gameselbtn->SetBtnWidth(40);
  gameselbtn->SetBtnHeight(25);
  gameselbtn->SetBorder(5);
  gameselbtn->SetBtnEdge(2);
  for (int n = 1; n <= kGameCount; ++n) gameselbtn->ButtonNames << QStringLiteral("spel %1").arg(n);
  Label3 = MakeLabel(this, 736, 128, QStringLiteral("level           /    score"));
  scoreBox = new TPaintBox(this);
  scoreBox->setGeometry(736, 155, 105, 270);
  Label6 = MakeLabel(this, 704, 440, QStringLiteral("totaalscore"));
  Label6->setFont(PixelFont(QStringLiteral("Arial"), 13, true));
  SetTextColour(Label6, 0x000080);
  Label6->adjustSize();
  totalscore = new QLabel(QStringLiteral("0"), this);
  totalscore->setGeometry(784, 437, 58, 33);
  totalscore->setAlignment(Qt::AlignCenter);
  totalscore->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  totalscore->setFont(PixelFont(QStringLiteral("Arial"), 19, true));
  SetTextColour(totalscore, 0x008080);
  Label5 = MakeLabel(this, 680, 472, QStringLiteral("naam"));
  namebox = new TNameBox(this);
  namebox->setGeometry(680, 488, 169, 24);
  namebox->setEditable(true);
  namebox->setInsertPolicy(QComboBox::NoInsert);
  namebox->setCompleter(nullptr);
  namebox->lineEdit()->setMaxLength(10);
  namebox->setFont(PixelFont(QStringLiteral("MS Sans Serif"), 13, true));
  namebox->setFocusPolicy(Qt::ClickFocus);
  Label1 = MakeLabel(this, 680, 520, QStringLiteral("password (optie)"));
  passwordEdit = new QLineEdit(this);
  passwordEdit->setGeometry(680, 536, 153, 24);
  passwordEdit->setMaxLength(10);
  passwordEdit->setEchoMode(QLineEdit::Password);
  passwordEdit->setFont(PixelFont(QStringLiteral("MS Sans Serif"), 13, true));
  passwordEdit->setFocusPolicy(Qt::ClickFocus);
  galleryBtn = MakeButton(this, {680, 568, 169, 30}, QStringLiteral("ere galerij"),
                          PixelFont(QStringLiteral("MS Sans Serif"), 16, true), 0x800080, true);
  compstartBtn = MakeButton(this, {680, 608, 169, 30}, QStringLiteral("computer begint"),
                            PixelFont(QStringLiteral("MS Sans Serif"), 16, true), 0x808080, true);
  compstartBtn->setToolTip(QStringLiteral("laat computer 1e zet doen"));
  // The flat buttons are no tab stops and a click leaves the focus where it is.
  galleryBtn->setFocusPolicy(Qt::NoFocus);
  compstartBtn->setFocusPolicy(Qt::NoFocus);
  actionBtn = MakeButton(this, {680, 648, 97, 33}, QStringLiteral("speel"),
                         PixelFont(QStringLiteral("Arial"), 16, true), 0x800000, false);
  // "start" / "nieuw spel" is a tab stop: the keyboard always finds it again.
  actionBtn->setFocusPolicy(Qt::StrongFocus);
  stopBtn = MakeButton(this, {784, 648, 65, 33}, QStringLiteral("menu"),
                       PixelFont(QStringLiteral("Arial"), 16, true), 0x0000FF, false);
  infobox = new QListWidget(this);
  infobox->setGeometry(24, 160, 529, 97);
  infobox->addItems(InfoItems());
  infobox->hide();
  setTabOrder(namebox, totalscore);
  setTabOrder(totalscore, infobox);
  setTabOrder(infobox, passwordEdit);
  setTabOrder(passwordEdit, box1);
  setTabOrder(box1, actionBtn);
  setTabOrder(actionBtn, stopBtn);
  setTabOrder(stopBtn, BitBtn1);

  Timer1.setInterval(10);
  Timer1.setTimerType(Qt::PreciseTimer);

  // Routing.
  box1->OnPaint = [this] { box1Paint(); };
  directionbox->OnPaint = [this] { directionboxPaint(); };
  // Before the first choice the rules box shows the general text, block 10.
  largemsgbox->OnPaint = [this] { panels_->PaintRulesBox(GameType == kNoGame ? 10 : GameType); };
  scoreBox->OnPaint = [this] { panels_->PaintScoreBox(Levels); };
  box1->OnMouseDown = [this](QMouseEvent* e) {
    box1Mouse(TInputKind::Press, int(e->position().x()), int(e->position().y()));
  };
  box1->OnMouseMove = [this](QMouseEvent* e) {
    box1Mouse(TInputKind::Move, int(e->position().x()), int(e->position().y()));
  };
  box1->OnMouseUp = [this](QMouseEvent* e) {
    box1Mouse(TInputKind::Release, int(e->position().x()), int(e->position().y()));
  };
  gameselbtn->onBtnPaint = [this](QObject* s, uint8_t n, uint8_t st) {
    gameselbtnBtnPaint(s, n, st);
  };
  gameselbtn->onBtnChange = [this](QObject* s, uint8_t n, uint8_t st, Qt::MouseButton b) {
    gameselbtnBtnChange(s, n, st, b);
  };
  connect(&Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
  connect(actionBtn, &QPushButton::clicked, this, [this] { actionBtnClick(); });
  connect(compstartBtn, &QPushButton::clicked, this, [this] { compstartBtnClick(); });
  connect(stopBtn, &QPushButton::clicked, this, [this] { stopBtnClick(); });
  connect(galleryBtn, &QPushButton::clicked, this, [this] { galleryBtnClick(); });
  connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
  connect(namebox->lineEdit(), &QLineEdit::textEdited, this, [this] {
    KeepTypeable(namebox->lineEdit(), true);
    nameboxChange();
  });
  // Whatever changes the boxes, the controller has what they hold.
  connect(namebox, &QComboBox::editTextChanged, this, [this] { HandPlayer(); });
  connect(passwordEdit, &QLineEdit::textChanged, this, [this] { HandPlayer(); });
  connect(passwordEdit, &QLineEdit::textEdited, this,
          [this] { KeepTypeable(passwordEdit, false); });
  // Only a choice from the open list is a pick.
  connect(namebox, qOverload<int>(&QComboBox::activated), this, [this](int index) {
    if (static_cast<TNameBox*>(namebox)->FromList()) nameboxSelect(index);
  });
  // Keys reach the combo box, which hands them to its line edit without
  // asking that one's filters: the filter watches both.
  namebox->installEventFilter(this);
  namebox->lineEdit()->installEventFilter(this);
  passwordEdit->installEventFilter(this);

  voice_ = std::make_unique<TVoice>(*this);
  FormCreate();
  new TKeyCommands(*this);
  NameControls(*this);
  RefreshDescriptions();

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - rect().center());
  }
}

TForm1::~TForm1() {
  FormDestroy();
  if (Form1 == this) Form1 = nullptr;
}

void TForm1::FormCreate() {
  gameselbtn->CanvasFont = MakeFont(QStringLiteral("arial"), int(25 * 0.8), false);
  PieceImages();  // built once, before the first picture needs them
  panels_ = std::make_unique<TSidePanels>(
      TSidePanels::TControls{largemsgbox, scoreBox, directionbox, totalscore, &InfoItems()});
  NameListBox = namebox;
  LoadHallOfFame();
  InitController(*this, board_);
}

void TForm1::FormDestroy() {
  if (destroyed_) return;
  destroyed_ = true;
  Timer1.stop();
  CloseController();
  board_.SetScreen(nullptr);
  NameListBox = nullptr;
  SaveHallOfFame();
}

void TForm1::paintEvent(QPaintEvent*) {
  QPainter p(this);
  DrawFrame(p, FrameBounds(box1->geometry(), 10), 0x00FFFF, 0x0080FF, 3, 10);
}

void TForm1::box1Paint() {
  box1->Surface().CopyRect(0, 0, board_.ComposeBitmap, board_.ComposeBitmap.ClipRect());
}

void TForm1::directionboxPaint() { panels_->PaintDirectionBox(); }

void TForm1::ShowBoard(const TXBitmap& compose, const TRect& r) {
  box1->Surface().CopyRect(r.Left, r.Top, compose, r);
  box1->Show(r);
}

void TForm1::RepaintBoard() { box1->Invalidate(); }

void TForm1::gameselbtnBtnPaint(QObject*, uint8_t BtnNr, uint8_t status) {
  const uint32_t colour = gameselbtn->isEnabled() ? 0x0000C0 : 0x808080;
  const QString text = QString::number(BtnNr + 1);
  QFont font = gameselbtn->CanvasFont;
  font.setBold(status != stFlat);
  const QFontMetrics metrics(font);
  const TRect r = gameselbtn->GetBtnRect(BtnNr);
  const int x = r.Left + (gameselbtn->BtnWidth() - metrics.horizontalAdvance(text)) / 2;
  const int y = r.Top + (gameselbtn->BtnHeight() - metrics.height()) / 2;
  gameselbtn->Canvas().TextOut(x, y, text, font, colour);
}

namespace {
QString RulesText(int index);
}  // namespace

void TForm1::gameselbtnBtnChange(QObject*, uint8_t BtnNr, uint8_t status, Qt::MouseButton) {
  if (status != stDown) return;
  voice_->GameChosen(BtnNr, RulesText(BtnNr));
  ChooseGame(BtnNr);
  RefreshDescriptions();
}

void TForm1::ChooseGameByKey(int digit) {
  if (digit >= 1 && digit <= 9) gameselbtn->PressBtn(uint8_t(digit - 1));
}

void TForm1::box1Key(int key) {
  if (GameState != GsPlayerToMove) return;
  TGameModule* m = GameModule(GameType);
  const int shown = keyCursor_.Index();
  if (!m || !keyCursor_.HandleKey(*m, key)) return;
  RefreshDescriptions();
  // Each step of the cursor says the move it shows; a played move is
  // told by what follows it (the position, whose turn it is).
  if (GameState == GsPlayerToMove && keyCursor_.Index() != shown)
    voice_->CursorMoved(keyCursor_.Index());
}

void TForm1::DropKeyCursor() {
  if (keyCursor_.Index() < 0) return;
  if (TGameModule* m = GameModule(GameType)) keyCursor_.Drop(*m);
}

namespace {

// The lines of one block of the rules texts, as the rules box shows them.
QString RulesText(int index) {
  QStringList lines;
  bool inSection = false;
  for (const QString& item : InfoItems()) {
    const bool header = item.startsWith(QLatin1Char('['));
    if (header && inSection) break;
    if (header) {
      inSection = item == QLatin1Char('[') + QString::number(index) + QLatin1Char(']');
      continue;
    }
    if (inSection) lines << item;
  }
  return lines.join(QLatin1Char(' '));
}

// Qt tells a screen reader of the change itself, once.
void Describe(QWidget* w, const QString& text) {
  if (w->accessibleDescription() != text) w->setAccessibleDescription(text);
}

}  // namespace

void TForm1::RefreshDescriptions() {
  const TGameEntry* entry = GameType == kNoGame ? nullptr : FindGame(GameType);
  Describe(largemsgbox, RulesText(GameType == kNoGame ? 10 : GameType));
  Describe(directionbox, DirectionsText(entry ? entry->directions : 0));
  QStringList scores;
  int total = 0;
  for (int t = 0; t < kGameCount; ++t) {
    scores << QStringLiteral("spel %1: level %2, %3 punten")
                  .arg(t + 1)
                  .arg(Levels[t])
                  .arg((t + 1) * Levels[t]);
    total += (t + 1) * Levels[t];
  }
  Describe(scoreBox, scores.join(QStringLiteral("; ")));
  Describe(totalscore, QString::number(total));
  Describe(box1, BoardText());
}

QString TForm1::BoardText() const {
  if (GameType == kNoGame) return QStringLiteral("geen spel gekozen");
  const TGameModule* m = GameModule(GameType);
  if (!m) return QString();
  QString text = QString::fromStdString(m->Describe());
  if (keyCursor_.Index() >= 0)
    text += QStringLiteral(" Gekozen zet: ") +
            QString::fromStdString(m->DescribeKeyMove(keyCursor_.Index())) + QLatin1Char('.');
  return text;
}

void TForm1::SetStatusText(const QString& text) {
  // The status line's text is its accessible name (Qt tells a screen reader
  // of a new one). Every message is news, also the same one again (a second
  // wrong move): the window's announcer says it.
  smallmsgbox->setText(text);
  voice_->Status(text);
  RefreshDescriptions();
}

void TForm1::box1Mouse(TInputKind action, int x, int y) {
  if (GameState != GsPlayerToMove) return;
  // The mouse takes over from the keyboard: the move the cursor showed goes.
  DropKeyCursor();
  TBoardInput input;
  input.MouseAction = action;
  input.MouseX = x;
  input.MouseY = y;
  const uint8_t before = GameState;
  if (TGameModule* m = GameModule(GameType)) m->HandleMouse(input);
  voice_->AfterStep(before);
}

void TForm1::Timer1Timer() {
  if (GameType == kNoGame) return;
  const uint8_t before = GameState;
  if (TGameModule* m = GameModule(GameType)) m->TimerStep();
  if (GameState == GsGameOver && before != GsGameOver) ShowBoardIdle();
  voice_->AfterStep(before);
}

void TForm1::actionBtnClick() {
  const uint8_t before = GameState;
  DispatchEvent(EvAction);
  if (GameState == GsPlayerToMove && before != GsPlayerToMove) {
    // A new game: the keys go to the board, whose reading gives the position.
    box1->setFocus(Qt::OtherFocusReason);
    ReportRestingPointer();
  }
  RefreshDescriptions();
}

void TForm1::compstartBtnClick() {
  DispatchEvent(EvComputerBegins);
  RefreshDescriptions();
}

void TForm1::stopBtnClick() {
  DispatchEvent(EvStop);
  if (GameState == GsMenu) ShowBoardIdle();
  RefreshDescriptions();
}

// After a window of its own closes, the keys go to the main window again,
// also where no window manager hands the focus back.
void TForm1::TakeBackKeyboard() { activateWindow(); }

void TForm1::ShowBoardIdle() { box1->setCursor(Qt::ArrowCursor); }

void TForm1::ReportRestingPointer() {
  const QPoint global = QCursor::pos();
  if (QApplication::widgetAt(global) != box1) return;
  const QPoint p = box1->mapFromGlobal(global);
  box1Mouse(TInputKind::Move, p.x(), p.y());
}

void TForm1::galleryBtnClick() {
  if (GameState == GsMenu || GameState == GsGameOver) {
    ShowHallOfFame();
    TakeBackKeyboard();
  }
}

void TForm1::BitBtn1Click() {
  if (GameState == GsComputerMoving) return;
  if (Thelpform* help = HelpForm()) {
    help->exec();
    TakeBackKeyboard();
  }
}

void TForm1::nameboxChange() {
  PickedName = -1;
  ForgetSignIn();
  passwordEdit->clear();
  HandPlayer();
}

void TForm1::nameboxSelect(int index) {
  PickedName = index;
  ForgetSignIn();
  passwordEdit->clear();
  HandPlayer();
  DispatchEvent(EvSignIn);
}

void TForm1::HandPlayer() {
  SetPlayer({namebox->currentText(), passwordEdit->text(), PickedName >= 0});
}

void TForm1::EnableMenuControls(bool enabled) {
  gameselbtn->setEnabled(enabled);
  namebox->setEnabled(enabled);
  passwordEdit->setEnabled(enabled);
}

void TForm1::EnableComputerBegins(bool enabled) { compstartBtn->setEnabled(enabled); }

void TForm1::ShowStatus(MessageKind kind, const QString& text) {
  // Every turn, start, stop and end comes with a message: a move the
  // keyboard cursor still shows is taken away before anything else moves.
  DropKeyCursor();
  QPalette pal = smallmsgbox->palette();
  pal.setColor(QPalette::WindowText, ToQColor(MessageColor(kind)));
  smallmsgbox->setPalette(pal);
  SetStatusText(text);
}

void TForm1::SetActionCaption(const QString& caption) { actionBtn->setText(caption); }

void TForm1::SetFocus(TFocus where) {
  if (where == TFocus::Password)
    passwordEdit->setFocus();
  else
    actionBtn->setFocus();
}

void TForm1::ClearPlayer() {
  namebox->setEditText(QString());
  passwordEdit->clear();
  PickedName = -1;
  HandPlayer();
}

bool TForm1::IsListedName(const QString& name) const {
  for (int i = 0; i < namebox->count(); ++i)
    if (namebox->itemText(i).compare(name, Qt::CaseInsensitive) == 0) return true;
  return false;
}

void TForm1::ShowDirections(uint8_t directions) { panels_->DrawDirections(directions); }
void TForm1::ShowRules(int index) { panels_->PaintRulesBox(index); }
void TForm1::ShowScores(const uint8_t (&levels)[kGameCount]) { panels_->PaintScoreBox(levels); }
void TForm1::RepaintScores() { panels_->InvalidateScores(); }

void TForm1::SetMoveTimer(bool enabled) {
  if (enabled)
    Timer1.start();
  else
    Timer1.stop();
}

void TForm1::SetBoardCursor(Qt::CursorShape shape) { box1->setCursor(shape); }

static bool IsLetter(QChar c) {
  return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
         (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}
static bool IsDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

QChar TForm1::FormKeyPress(QChar key) {
  const QChar enter(13), backspace(8);
  QWidget* focus = QApplication::focusWidget();
  if (focus == namebox || focus == namebox->lineEdit()) {
    if (key == enter) {
      key = QChar(0);
      DispatchEvent(EvSignIn);
    }
    const bool digitOk = IsDigit(key) && !namebox->currentText().isEmpty();
    // A name cannot begin with a digit: in the empty box a digit chooses
    // the game instead, as it does everywhere else in the window.
    if (IsDigit(key) && !digitOk) ChooseGameByKey(key.digitValue());
    if (!(key == backspace || IsLetter(key) || digitOk)) key = QChar(0);
  }
  focus = QApplication::focusWidget();
  if (focus == passwordEdit) {
    if (key == enter) {
      key = QChar(0);
      DispatchEvent(EvSignIn);
    }
    if (!(key == backspace || IsLetter(key) || IsDigit(key))) key = QChar(0);
  }
  return key;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  const bool name = watched == namebox || watched == namebox->lineEdit();
  if (!name && watched != passwordEdit) return QWidget::eventFilter(watched, event);
  QLineEdit* box = name ? namebox->lineEdit() : passwordEdit;
  switch (event->type()) {
    case QEvent::KeyPress: {
      auto* key = static_cast<QKeyEvent*>(event);
      // A paste from the keyboard gives what typing the pasted characters
      // gives.
      if (key->matches(QKeySequence::Paste)) {
        InsertAsTyped(box, QGuiApplication::clipboard()->text(), name);
        return true;
      }
      // Only keys that type a character go through the filter; cursor keys,
      // Delete, Tab and the boxes' own shortcuts (select all, copy, cut,
      // undo: a control character) keep their usual meaning.
      QChar ch;
      switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
          ch = QChar(13);
          break;
        case Qt::Key_Backspace:
          ch = QChar(8);
          break;
        default: {
          const QString text = key->text();
          if (text.isEmpty() || key->key() == Qt::Key_Delete || key->key() == Qt::Key_Tab)
            return false;
          if (text.size() == 1 && (text[0] < QLatin1Char(' ') || text[0] == QChar(127)))
            return false;
          if (text.size() > 1) {  // one key, several characters: typed one by one
            InsertAsTyped(box, text, name);
            return true;
          }
          ch = text[0];
          break;
        }
      }
      return FormKeyPress(ch).isNull();
    }
    case QEvent::InputMethod: {
      // A composed text, committed: as typed, character by character.
      auto* im = static_cast<QInputMethodEvent*>(event);
      if (im->commitString().isEmpty()) return false;
      if (im->preeditString().isEmpty() && im->replacementLength() == 0) {
        InsertAsTyped(box, im->commitString(), name);
        return true;
      }
      // Along with a new composition: only what the key filter lets
      // through; the box's length limit then keeps what fits.
      QString kept, text = box->text();
      for (QChar c : im->commitString())
        if (KeyPasses(c, name, text)) {
          kept += c;
          text += c;
        }
      im->setCommitString(kept, im->replacementStart(), im->replacementLength());
      return false;
    }
    case QEvent::Drop: {
      // Text dropped into the box: what typing it at the drop point gives.
      auto* drop = static_cast<QDropEvent*>(event);
      if (filteringDrop_ || !drop->mimeData()->hasText() || drop->source() == box) return false;
      const int at = box->cursorPositionAt(
          box->mapFrom(static_cast<QWidget*>(watched), drop->position().toPoint()));
      const QString old = box->text();
      const TTyped r = TypeInto(old, at, at, drop->mimeData()->text(), name);
      QMimeData kept;
      kept.setText(r.text.mid(at, r.text.size() - old.size()));
      QDropEvent filtered(drop->position(), drop->possibleActions(), &kept, drop->buttons(),
                          drop->modifiers());
      filtered.setDropAction(drop->dropAction());
      filteringDrop_ = true;
      QCoreApplication::sendEvent(watched, &filtered);
      filteringDrop_ = false;
      drop->setDropAction(filtered.dropAction());
      drop->setAccepted(filtered.isAccepted());
      return true;
    }
    case QEvent::ContextMenu: {
      // The box's own menu, whose "paste" gives what typing gives.
      auto* menuEvent = static_cast<QContextMenuEvent*>(event);
      std::unique_ptr<QMenu> menu(box->createStandardContextMenu());
      for (QAction* paste : menu->actions()) {
        // The entry's text is the box's own "Paste" (its shortcut after a tab).
        if (paste->text().section(QLatin1Char('\t'), 0, 0) != QLineEdit::tr("&Paste")) continue;
        disconnect(paste, &QAction::triggered, nullptr, nullptr);
        connect(paste, &QAction::triggered, box,
                [box, name] { InsertAsTyped(box, QGuiApplication::clipboard()->text(), name); });
      }
      menu->exec(menuEvent->globalPos());
      return true;
    }
    case QEvent::MouseButtonRelease: {
      // The middle button pastes the selected text where the platform has
      // one (X11): as typed, too.
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (watched != box || mouse->button() != Qt::MiddleButton ||
          !QGuiApplication::clipboard()->supportsSelection())
        return false;
      box->deselect();
      InsertAsTyped(box, QGuiApplication::clipboard()->text(QClipboard::Selection), name);
      return true;
    }
    default:
      return QWidget::eventFilter(watched, event);
  }
}
