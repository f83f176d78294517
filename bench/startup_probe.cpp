// SPDX-License-Identifier: GPL-3.0-or-later
// Starts, shows a window and quits as soon as it is on the (offscreen)
// screen.
//   zam       the game's main window with everything the program builds
//             before showing it (the help and hall-of-fame windows and the
//             window icon come later, when first needed)
//   bare      a plain Qt window of the same size
//   controls  the same plain window holding the standard Qt controls the main
//             window has (labels, buttons, combo box, edit box), so the
//             difference to "zam" is what the game itself adds
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QTemporaryDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "shell/Unit1.h"

namespace {
void AddControls(QWidget* w) {
  const char* labels[] = {"richtingen",    "Zam game", "level           /    score",
                          "totaalscore",   "naam",     "password (optie)",
                          "Welkom bij Zam"};
  int y = 10;
  for (const char* text : labels) (new QLabel(QString::fromLatin1(text), w))->move(680, y += 20);
  for (const char* text : {"help", "ere galerij", "computer begint", "start", "menu"})
    (new QPushButton(QString::fromLatin1(text), w))->move(680, y += 30);
  auto* combo = new QComboBox(w);
  combo->setEditable(true);
  combo->move(680, y += 30);
  auto* edit = new QLineEdit(w);
  edit->setEchoMode(QLineEdit::Password);
  edit->move(680, y += 30);
}
}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const char* mode = argc > 1 ? argv[1] : "zam";
  QApplication app(argc, argv);
  // The main window reads and writes ZamScores in the current folder: run in
  // an empty one, never where someone plays.
  QTemporaryDir folder;
  QDir::setCurrent(folder.path());
  std::unique_ptr<QWidget> window;
  if (std::strcmp(mode, "zam") == 0) {
    window = std::make_unique<TForm1>();
  } else {
    window = std::make_unique<QWidget>();
    window->setFixedSize(860, 689);
    if (std::strcmp(mode, "controls") == 0) AddControls(window.get());
  }
  window->show();
  while (!window->windowHandle() || !window->windowHandle()->isExposed())
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  QCoreApplication::processEvents();  // the first paint
  // Shown: stop the clock here, without the shutdown (which for the game
  // includes saving the hall of fame).
  std::fflush(nullptr);
  std::_Exit(0);
}
