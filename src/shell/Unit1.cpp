#include "shell/Unit1.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "base/Random.h"
#include "drawing/PaintBox.h"
#include "drawing/Unit2.h"
#include "drawing/rilArrayBtn.h"
#include "halloffame/scores.h"
#include "help/help_unit.h"
#include "shell/gamecontrol.h"

TForm1* Form1 = nullptr;

namespace {

void SetTextColour(QWidget* w, uint32_t colour) {
  QPalette pal = w->palette();
  pal.setColor(QPalette::WindowText, ToQColor(colour));
  pal.setColor(QPalette::ButtonText, ToQColor(colour));
  w->setPalette(pal);
}

// The name box: an editable combo box that tells a name chosen from its
// open list apart from the activation Qt also reports when typed text
// happens to equal an entry (on Return or when the box loses the focus).
class TNameBox final : public QComboBox {
 public:
  using QComboBox::QComboBox;
  void hidePopup() override {
    QComboBox::hidePopup();
    // A choice from the list is reported right after the list closes, in
    // the same call; the flag lasts until control returns to the loop.
    fromList_ = true;
    QTimer::singleShot(0, this, [this] { fromList_ = false; });
  }
  bool FromList() const { return fromList_; }

 private:
  bool fromList_ = false;
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

QPushButton* MakeButton(QWidget* parent, const QRect& geometry, const QString& caption,
                        const QFont& font, uint32_t colour, bool flat) {
  auto* button = new QPushButton(caption, parent);
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

  box1 = new TPaintBox(this);
  box1->setGeometry(16, 144, 641, 481);
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
  gameselbtn->SetRows(9);
  gameselbtn->SetBtnWidth(40);
  gameselbtn->SetBtnHeight(25);
  gameselbtn->SetBorder(5);
  gameselbtn->SetBtnEdge(2);
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
  actionBtn->setFocusPolicy(Qt::ClickFocus);
  stopBtn = MakeButton(this, {784, 648, 65, 33}, QStringLiteral("menu"),
                       PixelFont(QStringLiteral("Arial"), 16, true), 0x0000FF, false);
  infobox = new QListWidget(this);
  infobox->setGeometry(24, 160, 529, 97);
  infobox->addItems(InfoItems());
  infobox->hide();
  setTabOrder(namebox, totalscore);
  setTabOrder(totalscore, infobox);
  setTabOrder(infobox, passwordEdit);
  setTabOrder(passwordEdit, actionBtn);
  setTabOrder(actionBtn, stopBtn);
  setTabOrder(stopBtn, BitBtn1);

  Timer1.setInterval(10);
  Timer1.setTimerType(Qt::PreciseTimer);

  // Routing.
  box1->OnPaint = [this] { box1Paint(); };
  directionbox->OnPaint = [this] { directionboxPaint(); };
  largemsgbox->OnPaint = [] { PaintRulesBox(GameType == 255 ? 10 : GameType); };
  scoreBox->OnPaint = [] { PaintScoreBox(Levels); };
  box1->OnMouseDown = [this](QMouseEvent* e) {
    box1Mouse(0, int(e->position().x()), int(e->position().y()));
  };
  box1->OnMouseMove = [this](QMouseEvent* e) {
    box1Mouse(1, int(e->position().x()), int(e->position().y()));
  };
  box1->OnMouseUp = [this](QMouseEvent* e) {
    box1Mouse(2, int(e->position().x()), int(e->position().y()));
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

  FormCreate();

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
  BackgroundBitmap = std::make_unique<TXBitmap>(box1->width(), box1->height());
  ComposeBitmap = std::make_unique<TXBitmap>(box1->width(), box1->height());
  DirectionBitmap = std::make_unique<TXBitmap>(directionbox->width(), directionbox->height());
  DirectionBitmap->FillRect({0, 0, 75, 75}, ButtonFaceColor);
  auto make = [](std::unique_ptr<TXBitmap>& image, int w, int h, void (*build)(TXBitmap&)) {
    image = std::make_unique<TXBitmap>(w, h);
    build(*image);
  };
  make(CoinSprite, 40, 40, BuildCoinSprite);
  make(CoinOSprite, 40, 40, BuildCoinOSprite);
  make(CoinXSprite, 40, 40, BuildCoinXSprite);
  make(CoinEuroSprite, 40, 40, BuildCoinEuroSprite);
  make(CanSprite, 40, 60, BuildCanSprite);
  make(BallSprite, 40, 40, BuildBallSprite);
  make(RingSprite, 40, 40, BuildRingSprite);
  BuildStarPicture(ster);
  BoardControls = {box1, largemsgbox, scoreBox, directionbox, totalscore, &InfoItems(), &ster};
  NameListBox = namebox;
  LoadHallOfFame();
  InitController();
}

void TForm1::FormDestroy() {
  if (destroyed_) return;
  destroyed_ = true;
  Timer1.stop();
  BoardControls = {};
  NameListBox = nullptr;
  BackgroundBitmap.reset();
  ComposeBitmap.reset();
  DirectionBitmap.reset();
  CoinSprite.reset();
  CoinOSprite.reset();
  CoinXSprite.reset();
  CoinEuroSprite.reset();
  CanSprite.reset();
  BallSprite.reset();
  RingSprite.reset();
  SaveHallOfFame();
}

void TForm1::paintEvent(QPaintEvent*) {
  QPainter p(this);
  DrawFrame(p, FrameBounds(box1->geometry(), 10), 0x00FFFF, 0x0080FF, 3, 10);
}

void TForm1::box1Paint() {
  if (ComposeBitmap) box1->Surface().CopyRect(0, 0, *ComposeBitmap, ComposeBitmap->ClipRect());
}

void TForm1::directionboxPaint() {
  TXBitmap& s = directionbox->Surface();
  s.FillRect({0, 0, s.Width(), s.Height()}, ButtonFaceColor);
  if (!DirectionBitmap) return;
  DirectionBitmap->Transparent = true;
  DirectionBitmap->TransparentColor = TransparentColor;
  s.Draw(0, 0, *DirectionBitmap);
}

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

void TForm1::gameselbtnBtnChange(QObject*, uint8_t BtnNr, uint8_t status, Qt::MouseButton) {
  if (status != stDown) return;
  GameType = BtnNr;
  DispatchEvent(EvGameChosen);
}

void TForm1::box1Mouse(uint8_t action, int x, int y) {
  if (GameState != GsPlayerToMove) return;
  MouseAction = action;
  MouseX = x;
  MouseY = y;
  if (TGameModule* m = GameModule(GameType)) m->HandleMouse();
}

void TForm1::Timer1Timer() {
  if (GameType == 255) return;
  if (TGameModule* m = GameModule(GameType)) m->TimerStep();
}

void TForm1::actionBtnClick() { DispatchEvent(EvAction); }
void TForm1::compstartBtnClick() { DispatchEvent(EvComputerBegins); }
void TForm1::stopBtnClick() { DispatchEvent(EvStop); }

void TForm1::galleryBtnClick() {
  if (GameState == GsMenu || GameState == GsGameOver) ShowHallOfFame();
}

void TForm1::BitBtn1Click() {
  if (GameState == GsComputerMoving) return;
  if (Thelpform* help = HelpForm()) help->exec();
}

void TForm1::nameboxChange() {
  PickedName = -1;
  SignedIn = false;
  passwordEdit->clear();
}

void TForm1::nameboxSelect(int index) {
  PickedName = index;
  SignedIn = false;
  passwordEdit->clear();
  DispatchEvent(EvSignIn);
}

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
  if (event->type() == QEvent::KeyPress &&
      (watched == namebox || watched == namebox->lineEdit() || watched == passwordEdit)) {
    auto* key = static_cast<QKeyEvent*>(event);
    // Only keys that type a character go through the filter; cursor keys,
    // Delete and Tab keep their usual meaning.
    QChar ch;
    switch (key->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
        ch = QChar(13);
        break;
      case Qt::Key_Backspace:
        ch = QChar(8);
        break;
      default:
        if (key->text().isEmpty() || key->key() == Qt::Key_Delete || key->key() == Qt::Key_Tab)
          return false;
        ch = key->text().at(0);
        break;
    }
    return FormKeyPress(ch).isNull();
  }
  return QWidget::eventFilter(watched, event);
}
