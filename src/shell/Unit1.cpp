// SPDX-License-Identifier: GPL-3.0-or-later
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
#include "drawing/Unit2.h"
#include "drawing/accessible.h"
#include "drawing/frames.h"
#include "drawing/pieces.h"
#include "drawing/rilArrayBtn.h"
#include "games/catalogue.h"
#include "halloffame/scoreform.h"
#include "halloffame/scores.h"
#include "help/help_unit.h"
#include "shell/gamecontrol.h"
#include "shell/keycommands.h"
#include "shell/typing.h"
#include "shell/voice.h"

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
  BuildControls(*this, *this, InfoItems());
  Timer1.setInterval(10);
  Timer1.setTimerType(Qt::PreciseTimer);
  ConnectControls();
  voice_ = std::make_unique<TVoice>(*this, controller_);
  FormCreate();
  keys_ = new TKeyCommands(*this);
  NameControls(*this, *this);
  RefreshDescriptions();

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - rect().center());
  }
}

// Routing: every control's event to its handler.
void TForm1::ConnectControls() {
  box1->OnPaint = [this] { box1Paint(); };
  directionbox->OnPaint = [this] { directionboxPaint(); };
  // Before the first choice the rules box shows the general text, block 10.
  largemsgbox->OnPaint = [this] {
    panels_->PaintRulesBox(controller_.GameType() == kNoGame ? 10 : controller_.GameType());
  };
  scoreBox->OnPaint = [this] { panels_->PaintScoreBox(controller_.Levels()); };
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
  new TTypingFilter(
      namebox, passwordEdit, [this](QChar key) { return FormKeyPress(key); }, this);
}

TForm1::~TForm1() {
  // The key commands watch every event of the program and ask this window
  // about each one; they go first, while the whole window still exists,
  // not with the children after its own parts are gone.
  delete keys_;
  keys_ = nullptr;
  FormDestroy();
  // The hall-of-fame window shows the table of this window's hall of fame,
  // which goes before the children do.
  delete hallWindow_;
}

void TForm1::FormCreate() {
  gameselbtn->CanvasFont = MakeFont(QStringLiteral("arial"), int(25 * 0.8), false);
  PieceImages();  // built once, before the first picture needs them
  panels_ = std::make_unique<TSidePanels>(
      TSidePanels::TControls{largemsgbox, scoreBox, directionbox, totalscore, &InfoItems()});
  hall_.SetNamesListener(
      [this](const QStringList& names) { static_cast<TNameBox*>(namebox)->SetNames(names); });
  hall_.Load();
  controller_.InitController();
}

void TForm1::FormDestroy() {
  if (destroyed_) return;
  destroyed_ = true;
  Timer1.stop();
  controller_.CloseController();
  board_.SetScreen(nullptr);
  hall_.SetNamesListener(nullptr);
  hall_.Save();
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

void TForm1::gameselbtnBtnChange(QObject*, uint8_t BtnNr, uint8_t status, Qt::MouseButton) {
  if (status != stDown) return;
  voice_->GameChosen(BtnNr, RulesText(BtnNr));
  controller_.ChooseGame(BtnNr);
  RefreshDescriptions();
}

void TForm1::Click(TButton button) {
  // QPushButton::click() does nothing on a disabled button.
  switch (button) {
    case TButton::Help:
      BitBtn1->click();
      break;
    case TButton::Action:
      actionBtn->click();
      break;
    case TButton::ComputerBegins:
      compstartBtn->click();
      break;
    case TButton::Menu:
      stopBtn->click();
      break;
    case TButton::Gallery:
      galleryBtn->click();
      break;
  }
}

QWidget& TForm1::BoardWidget() { return *box1; }

void TForm1::FocusBox(TBox box) {
  QWidget* w = box == TBox::Name ? static_cast<QWidget*>(namebox) : passwordEdit;
  if (w->isEnabled()) w->setFocus(Qt::ShortcutFocusReason);
}

void TForm1::ChooseGameByKey(int digit) {
  if (digit >= 1 && digit <= 9) gameselbtn->PressBtn(uint8_t(digit - 1));
}

void TForm1::box1Key(int key) {
  if (!controller_.PlayerMayMove()) return;
  TGameModule* m = controller_.Current();
  const int shown = keyCursor_.Index();
  if (!m || !keyCursor_.HandleKey(*m, key)) return;
  RefreshDescriptions();
  // Each step of the cursor says the move it shows; a played move is
  // told by what follows it (the position, whose turn it is).
  if (controller_.PlayerMayMove() && keyCursor_.Index() != shown)
    voice_->CursorMoved(keyCursor_.Index());
}

void TForm1::DropKeyCursor() {
  if (keyCursor_.Index() < 0) return;
  if (TGameModule* m = controller_.Current()) keyCursor_.Drop(*m);
}

namespace {

// Qt tells a screen reader of the change itself, once.
void Describe(QWidget* w, const QString& text) {
  if (w->accessibleDescription() != text) w->setAccessibleDescription(text);
}

}  // namespace

void TForm1::RefreshDescriptions() {
  const TGameEntry* entry =
      controller_.GameType() == kNoGame ? nullptr : FindGame(controller_.GameType());
  Describe(largemsgbox, RulesText(controller_.GameType() == kNoGame ? 10 : controller_.GameType()));
  Describe(directionbox, DirectionsText(entry ? entry->directions : 0));
  Describe(scoreBox, ScoresText(controller_.Levels()));
  Describe(totalscore, QString::number(TotalPoints(controller_.Levels())));
  Describe(box1, BoardText());
}

QString TForm1::BoardText() const {
  if (controller_.GameType() == kNoGame) return QStringLiteral("geen spel gekozen");
  const TGameModule* m = controller_.Current();
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
  if (!controller_.PlayerMayMove()) return;
  // The mouse takes over from the keyboard: the move the cursor showed goes.
  DropKeyCursor();
  TBoardInput input;
  input.MouseAction = action;
  input.MouseX = x;
  input.MouseY = y;
  const TGameState before = controller_.GameState();
  if (TGameModule* m = controller_.Current()) m->HandleMouse(input);
  voice_->AfterStep(before);
}

void TForm1::Timer1Timer() {
  if (controller_.GameType() == kNoGame) return;
  const TGameState before = controller_.GameState();
  if (TGameModule* m = controller_.Current()) m->TimerStep();
  if (controller_.GameState() == TGameState::GsGameOver && before != TGameState::GsGameOver)
    ShowBoardIdle();
  voice_->AfterStep(before);
}

void TForm1::actionBtnClick() {
  const TGameState before = controller_.GameState();
  controller_.DispatchEvent(ControllerEvent::EvAction);
  if (controller_.GameState() == TGameState::GsPlayerToMove &&
      before != TGameState::GsPlayerToMove) {
    // A new game: the keys go to the board, whose reading gives the position.
    box1->setFocus(Qt::OtherFocusReason);
    ReportRestingPointer();
  }
  RefreshDescriptions();
}

void TForm1::compstartBtnClick() {
  controller_.DispatchEvent(ControllerEvent::EvComputerBegins);
  RefreshDescriptions();
}

void TForm1::stopBtnClick() {
  controller_.DispatchEvent(ControllerEvent::EvStop);
  if (controller_.GameState() == TGameState::GsMenu) ShowBoardIdle();
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
  if (controller_.GameState() == TGameState::GsMenu ||
      controller_.GameState() == TGameState::GsGameOver) {
    HallWindow()->ShowModal();
    TakeBackKeyboard();
  }
}

void TForm1::BitBtn1Click() {
  if (controller_.GameState() == TGameState::GsComputerMoving) return;
  HelpWindow()->exec();
  TakeBackKeyboard();
}

// Built when first opened, so the main window appears sooner.
Thelpform* TForm1::HelpWindow() {
  if (!help_) help_ = new Thelpform(this);
  return help_;
}

Tscoreform* TForm1::HallWindow() {
  if (!hallWindow_) hallWindow_ = new Tscoreform(hall_.Ranking(), this);
  return hallWindow_;
}

void TForm1::nameboxChange() {
  PickedName = -1;
  controller_.ForgetSignIn();
  passwordEdit->clear();
  HandPlayer();
}

void TForm1::nameboxSelect(int index) {
  PickedName = index;
  controller_.ForgetSignIn();
  passwordEdit->clear();
  HandPlayer();
  controller_.DispatchEvent(ControllerEvent::EvSignIn);
}

void TForm1::HandPlayer() {
  controller_.SetPlayer({namebox->currentText(), passwordEdit->text(), PickedName >= 0});
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

QChar TForm1::FormKeyPress(QChar key) {
  const QChar enter(13), backspace(8);
  QWidget* focus = QApplication::focusWidget();
  if (focus == namebox || focus == namebox->lineEdit()) {
    if (key == enter) {
      key = QChar(0);
      controller_.DispatchEvent(ControllerEvent::EvSignIn);
    }
    const bool digitOk = IsTypeableDigit(key) && !namebox->currentText().isEmpty();
    // A name cannot begin with a digit: in the empty box a digit chooses
    // the game instead, as it does everywhere else in the window.
    if (IsTypeableDigit(key) && !digitOk) ChooseGameByKey(key.digitValue());
    if (!(key == backspace || MayType(key, true, namebox->currentText().isEmpty()))) key = QChar(0);
  }
  focus = QApplication::focusWidget();
  if (focus == passwordEdit) {
    if (key == enter) {
      key = QChar(0);
      controller_.DispatchEvent(ControllerEvent::EvSignIn);
    }
    if (!(key == backspace || MayType(key, false, false))) key = QChar(0);
  }
  return key;
}
