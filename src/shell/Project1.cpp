// SPDX-License-Identifier: GPL-3.0-or-later
// Program start: the command line, the main window, then the message loop
// until the main window closes. The hall-of-fame and help windows are built
// when first opened, so the main window appears sooner. Closing the main window
// writes the hall of fame; so does ending the program with SIGTERM, SIGINT or
// SIGHUP once the window is shown, or ending the desktop session.
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <memory>

#include "base/Random.h"
#include "drawing/AppIcon.h"
#include "halloffame/scores.h"
#include "shell/Unit1.h"
#include "shell/commandline.h"

namespace {

int signalPipe[2] = {-1, -1};

// Once the window is shown, a termination signal tells the message loop to
// end.
void OnSignal(int) {
  SaveStopRequests = SaveStopRequests + 1;  // a save waiting for its lock gives up
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

// A termination signal ends the message loop like closing the window does,
// so the normal shutdown (and the save) runs. Before the window is shown
// nothing can have changed, and the signals keep their default action: the
// program ends at once, writing nothing. The handlers are installed only
// once the window is up, so whoever sees them installed (in
// /proc/<pid>/status) knows that a signal now saves.
void QuitOnSignals(QApplication& app) {
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) return;
  auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
  QObject::connect(notifier, &QSocketNotifier::activated, &app, [&app] {
    char byte;
    [[maybe_unused]] const ssize_t n = ::read(signalPipe[0], &byte, 1);
    app.quit();
  });
}

void CatchSignals() {
  if (signalPipe[1] < 0) return;
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaction(sig, &action, nullptr);
}

// The program's icon, its own drawing, in the sizes desktops ask for.
QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128, 256}) icon.addPixmap(QPixmap::fromImage(AppIconImage(size)));
  return icon;
}

}  // namespace

int main(int argc, char* argv[]) {
  // Standard input, output and error are open before anything else: a
  // program started with one closed would otherwise write its messages into
  // whatever file it opens next under that number.
  for (int fd = 0; fd <= 2; ++fd)
    if (::fcntl(fd, F_GETFD) == -1 && ::open("/dev/null", O_RDWR) != fd) return 127;
  TStartOptions options;
  if (const int status = ReadCommandLine(argc, argv, options); status >= 0) return status;
  // The window is scaled by a whole number as the desktop asks (1.5 and up
  // rounds to 2): every pixel the engine draws stays a square block.
  UseWholeScaleFactors();
  std::unique_ptr<QApplication> application;
  {
    TDisplayGuard guard;
    application = std::make_unique<QApplication>(argc, argv);
  }
  QApplication& app = *application;
  if (options.dataFolder && !EnterDataFolder()) return 1;
  // The desktop ties the window to the program's entry.
  QGuiApplication::setDesktopFileName(QString::fromLatin1(kAppId));
  // A write past a file-size limit fails as an error (the save reports it)
  // instead of killing the program.
  std::signal(SIGXFSZ, SIG_IGN);
  QuitOnSignals(app);
  // The one seeding of the program's generator. It happens here rather than
  // in the window, so that a test building windows keeps the seed it set.
  zam::Randomize();
  TForm1 form;
  QObject::connect(&app, &QGuiApplication::commitDataRequest, &form,
                   [&form](QSessionManager&) { form.HallOfFame().Save(); });
  form.show();
  CatchSignals();
  // The icon is drawn once the window is up.
  QTimer::singleShot(0, &app, [] { QApplication::setWindowIcon(ProgramIcon()); });
  form.HallOfFame().WarnAbout(&form);  // when this run's results cannot be saved
  return app.exec();
}
