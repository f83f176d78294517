// SPDX-License-Identifier: GPL-3.0-or-later
// One 10 ms tick of the computer's sliding piece, as the player sees it: the
// module's step, the flush into the board and the repaint of the changed
// rectangle through the real widget (offscreen), for games 2 to 8, and game
// 9's thrown ball and the computer's framing of its cans; beside a
// bare Qt widget that restores a 44 x 44 rectangle from a QImage, draws a
// 40 x 40 sprite and repaints that rectangle. After the runs a table gives
// each game's median and its ratio to the bare widget. The whole run is then
// repeated at scale factor 2 (a child process with QT_SCALE_FACTOR=2), where
// the board is shown as 2 x 2 blocks and the bare widget's picture is scaled
// by Qt, with a second table.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QApplication>
#include <QDir>
#include <QPaintEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <QWidget>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

extern char** environ;

#include "drawing/PaintBox.h"
#include "drawing/Unit2.h"
#include "games/coinboard.h"
#include "games/game4.h"
#include "games/game6.h"
#include "games/game7.h"
#include "games/game8.h"
#include "games/rowboard.h"
#include "medians.h"
#include "shell/Unit1.h"
#include "shell/gamecontrol.h"

namespace {

// The bare widget: its picture, the ground under the sprite and the sprite.
class TBareBoard : public QWidget {
 public:
  TBareBoard()
      : canvas_(641, 481, QImage::Format_RGB32),
        ground_(641, 481, QImage::Format_RGB32),
        sprite_(40, 40, QImage::Format_ARGB32_Premultiplied) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(641, 481);
    ground_.fill(QColor(255, 255, 243));
    canvas_ = ground_.copy();
    sprite_.fill(Qt::transparent);
    QPainter p(&sprite_);
    p.setBrush(QColor(192, 192, 192));
    p.setPen(QPen(QColor(224, 128, 0), 2));
    p.drawEllipse(3, 3, 34, 34);
  }
  // One step of the sprite, 2 pixels to the right.
  void Step() {
    x_ = x_ >= 590 ? 2 : x_ + 2;
    const QRect dirty(x_ - 4, 200, 44, 44);
    {
      QPainter p(&canvas_);
      p.drawImage(dirty.topLeft(), ground_, dirty);
      p.drawImage(QPoint(x_, 202), sprite_);
    }
    update(dirty);
  }

 protected:
  void paintEvent(QPaintEvent* e) override {
    QPainter p(this);
    p.drawImage(e->rect().topLeft(), canvas_, e->rect());
  }

 private:
  QImage canvas_, ground_, sprite_;
  int x_ = 2;
};

void BareTick(benchmark::State& state) {
  TBareBoard board;
  board.show();
  QApplication::processEvents();
  for (auto _ : state) {
    board.Step();
    QApplication::processEvents();
  }
}

// A game started with a position whose computer move slides a long way.
// The controller of the window a benchmark runs, for the cases' positions.
TGameController* benchController = nullptr;

struct TSlideCase {
  const char* name;
  uint8_t gameType;
  std::function<void()> position;  // puts the start position on the board
};

void GameTick(benchmark::State& state, const TSlideCase& c) {
  QTemporaryDir folder;  // the window reads and writes its score file here
  const QString previous = QDir::currentPath();
  QDir::setCurrent(folder.path());
  {
    auto form = std::make_unique<TForm1>();
    form->show();
    QApplication::processEvents();
    TGameController& controller = form->Controller();
    benchController = &controller;
    controller.ChooseGame(c.gameType);
    controller.DispatchEvent(ControllerEvent::EvAction);
    auto restart = [&] {
      if (controller.GameState() != TGameState::GsPlayerToMove)
        controller.DispatchEvent(ControllerEvent::EvAction);
      c.position();
      controller.DispatchEvent(ControllerEvent::EvComputerBegins);
      QApplication::processEvents();
    };
    restart();
    for (auto _ : state) {
      if (!form->Timer1.isActive()) {
        state.PauseTiming();
        restart();
        state.ResumeTiming();
      }
      form->Timer1Timer();
      QApplication::processEvents();
    }
    form->Timer1.stop();
  }
  QDir::setCurrent(previous);
}

template <class T>
T& Module(uint8_t t) {
  return *static_cast<T*>(benchController->GameModule(t));
}

rows::TPosition Rows(int count, std::initializer_list<std::pair<int, int>> coins) {
  rows::TPosition p;
  p.rows = uint8_t(count);
  int r = 0;
  for (auto [o, x] : coins) {
    p.ComputerColumn[r] = uint8_t(o);
    p.PlayerColumn[r] = uint8_t(x);
    ++r;
  }
  return p;
}

const TSlideCase kCases[] = {
    {"game2", 1,
     [] {
       Module<TCoinGame>(1).SetCoin({15, 1});
     }},
    {"game3", 2,
     [] {
       Module<TCoinGame>(2).SetCoin({15, 1});
     }},
    {"game4", 3,
     [] {
       Module<TRowGame>(3).SetPosition(Rows(2, {{0, 15}, {0, 2}}));
     }},
    {"game5", 4,
     [] {
       game4::TPosition p;
       p.PlayerCell[0] = 0;
       p.PlayerCell[1] = 5;
       p.ComputerCell[0] = 6;
       p.ComputerCell[1] = 7;
       Module<TGame4>(4).SetPosition(p);
     }},
    {"game6", 5,
     [] {
       Module<TRowGame>(5).SetPosition(Rows(3, {{0, 15}, {0, 2}, {0, 3}}));
     }},
    {"game7", 6,
     [] {
       game6::TPosition p;  // coins at 1 and 15: the computer slides 13 cells
       p.CoinColumn[4] = 1;
       p.CoinColumn[5] = 15;
       Module<TGame6>(6).SetPosition(p);
     }},
    {"game8", 7,
     [] {
       game7::TPosition p;  // the euro coin second, 13 cells from the first
       p.CoinCount = 2;
       p.EuroIndex = 2;
       p.CoinColumn[0] = 1;
       p.CoinColumn[1] = 15;
       Module<TGame7>(7).SetPosition(p);
     }},
};

// Game 9: one tick of the thrown ball, and the tick of the computer's move
// that frames its cans (16 places repainted one by one).
void Game9Tick(benchmark::State& state, bool framing) {
  QTemporaryDir folder;
  const QString previous = QDir::currentPath();
  QDir::setCurrent(folder.path());
  {
    auto form = std::make_unique<TForm1>();
    form->show();
    QApplication::processEvents();
    TGameController& controller = form->Controller();
    benchController = &controller;
    controller.ChooseGame(8);
    controller.DispatchEvent(ControllerEvent::EvAction);
    TGame8& game = Module<TGame8>(8);
    auto restart = [&] {
      if (controller.GameState() != TGameState::GsPlayerToMove)
        controller.DispatchEvent(ControllerEvent::EvAction);
      game.SetStanding(0x0FF0);
      if (framing) {
        controller.DispatchEvent(ControllerEvent::EvComputerBegins);
        for (int t = 1; t < 30; ++t) form->Timer1Timer();  // up to the framing tick
      } else {
        const int x = game.BallRect().Left + 20;  // the ball taken and let go
        form->box1Mouse(TInputKind::Move, x, 370);
        form->box1Mouse(TInputKind::Press, x, 370);
        form->box1Mouse(TInputKind::Move, 200, 370);
        form->box1Mouse(TInputKind::Release, 200, 370);
      }
      QApplication::processEvents();
    };
    for (auto _ : state) {
      state.PauseTiming();
      if (framing || !form->Timer1.isActive() ||
          controller.GameState() != TGameState::GsPlayerToMove) {
        form->Timer1.stop();
        if (controller.GameState() == TGameState::GsComputerMoving)
          while (form->Timer1.isActive() || controller.GameState() == TGameState::GsComputerMoving)
            form->Timer1Timer();
        restart();
      }
      state.ResumeTiming();
      form->Timer1Timer();
      QApplication::processEvents();
    }
    form->Timer1.stop();
  }
  QDir::setCurrent(previous);
}

// The closing table: each game's median and its ratio to the bare widget.
class TableReporter : public zam_bench::MedianReporter {
 public:
  void PrintTable(const char* factor) const {
    const auto bare = medians.find("SlideTick/bare");
    if (bare == medians.end()) return;
    std::printf("\nscale factor %s\n%-10s %12s %12s %8s\n", factor, "game", "tick ns", "bare ns",
                "ratio");
    std::vector<std::string> names;
    for (const TSlideCase& c : kCases) names.push_back(c.name);
    names.push_back("game9throw");
    names.push_back("game9frame");
    for (const std::string& name : names) {
      const auto m = medians.find("SlideTick/" + name);
      if (m == medians.end()) continue;
      std::printf("%-10s %12.1f %12.1f %8.2f\n", name.c_str(), m->second, bare->second,
                  m->second / bare->second);
    }
  }
};

}  // namespace

// Runs this program again with QT_SCALE_FACTOR=2 and the same arguments.
int RunAtFactorTwo(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e)
    if (std::strncmp(*e, "QT_SCALE_FACTOR=", 16) != 0) env.emplace_back(*e);
  env.emplace_back("QT_SCALE_FACTOR=2");
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::fflush(nullptr);
  pid_t pid;
  if (posix_spawn(&pid, "/proc/self/exe", nullptr, nullptr, argv.data(), envp.data()) != 0)
    return 1;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

int main(int argc, char** argv) {
  const QByteArray factor = qgetenv("QT_SCALE_FACTOR");
  const bool child = factor == "2";
  const std::vector<std::string> args(argv, argv + argc);
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  zam_bench::InitializeWithMedians(argc, argv);
  benchmark::RegisterBenchmark("SlideTick/bare", BareTick);
  for (const TSlideCase& c : kCases)
    benchmark::RegisterBenchmark((std::string("SlideTick/") + c.name).c_str(),
                                 [&c](benchmark::State& st) { GameTick(st, c); });
  benchmark::RegisterBenchmark("SlideTick/game9throw",
                               [](benchmark::State& st) { Game9Tick(st, false); });
  benchmark::RegisterBenchmark("SlideTick/game9frame",
                               [](benchmark::State& st) { Game9Tick(st, true); });
  TableReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintTable(child ? "2" : "1");
  benchmark::Shutdown();
  return child ? 0 : RunAtFactorTwo(args);
}
