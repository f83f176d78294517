// SPDX-License-Identifier: GPL-3.0-or-later
// A copy of the program for the tests: the real main window offscreen, in
// the current folder, where a named player wins game 1 a number of times.
// It then says "ready" on standard output and ends (saving the hall of fame
// as the program does) when its standard input closes.
//   player_probe NAME WINS
#include <QApplication>
#include <QComboBox>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "games/game0.h"
#include "shell/Unit1.h"
#include "shell/gamecontrol.h"

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  std::signal(SIGXFSZ, SIG_IGN);  // as the program does
  QApplication app(argc, argv);
  {
    TForm1 form;
    form.show();
    QApplication::processEvents();
    form.namebox->setEditText(QString::fromLatin1(argv[1]));
    TGameController& controller = form.Controller();
    controller.ChooseGame(0);
    const int wins = std::atoi(argv[2]);
    for (int i = 0; i < wins; ++i) {
      controller.DispatchEvent(ControllerEvent::EvAction);  // "start", then "nieuw spel"
      auto& game = *static_cast<TGame0*>(controller.GameModule(0));
      game.SetPosition({{1, 0}});
      const TRect block = game0::BlockRect(1, 1);
      const int x = block.Left + 30, y = block.Top + 20;
      form.box1Mouse(TInputKind::Move, x, y);
      form.box1Mouse(TInputKind::Press, x, y);
      form.box1Mouse(TInputKind::Release, x, y);
      if (controller.GameState() != TGameState::GsGameOver) return 3;
    }
    std::cout << "ready" << std::endl;
    std::string line;
    while (std::getline(std::cin, line)) {
    }
  }  // the window goes: the hall of fame is saved
  return 0;
}
