// Program start: the main window, then the hall-of-fame and help windows,
// then the message loop until the main window closes. Closing the main window
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
#include <csignal>

#include "base/Random.h"
#include "drawing/AppIcon.h"
#include "halloffame/scores.h"
#include "help/help_unit.h"
#include "shell/Unit1.h"

namespace {

int signalPipe[2] = {-1, -1};
volatile sig_atomic_t windowShown = 0;

// Before the window is shown nothing can have changed: the program ends at
// once, writing nothing. Afterwards the message loop is told to end.
void OnSignal(int sig) {
  if (!windowShown) ::_exit(128 + sig);
  SaveStopRequests = SaveStopRequests + 1;  // a save waiting for its lock gives up
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

// A termination signal ends the message loop like closing the window does,
// so the normal shutdown (and the save) runs.
void QuitOnSignals(QApplication& app) {
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) return;
  auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
  QObject::connect(notifier, &QSocketNotifier::activated, &app, [&app] {
    char byte;
    [[maybe_unused]] const ssize_t n = ::read(signalPipe[0], &byte, 1);
    app.quit();
  });
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaction(sig, &action, nullptr);
}

}  // namespace

int main(int argc, char* argv[]) {
  // Standard input, output and error are open before anything else: a
  // program started with one closed would otherwise write its messages into
  // whatever file it opens next under that number.
  for (int fd = 0; fd <= 2; ++fd)
    if (::fcntl(fd, F_GETFD) == -1 && ::open("/dev/null", O_RDWR) != fd) return 127;
  // The window is laid out in screen pixels: no scaling by pixel density.
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  QApplication app(argc, argv);
  // The desktop ties the window to the program's entry; the icon is the
  // program's own drawing.
  QGuiApplication::setDesktopFileName(QString::fromLatin1(kAppId));
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128, 256})
    icon.addPixmap(QPixmap::fromImage(AppIconImage(size)));
  app.setWindowIcon(icon);
  // A write past a file-size limit fails as an error (the save reports it)
  // instead of killing the program.
  std::signal(SIGXFSZ, SIG_IGN);
  QuitOnSignals(app);
  // The one seeding of the program's generator. It happens here rather than
  // in the window, so that a test building windows keeps the seed it set.
  zam::Randomize();
  TForm1 form;
  Tscoreform scores(&form);
  scoreform = &scores;
  Thelpform help(&form);
  helpform = &help;
  QObject::connect(&app, &QGuiApplication::commitDataRequest, &app,
                   [](QSessionManager&) { SaveHallOfFame(); });
  form.show();
  windowShown = 1;
  WarnAboutHallOfFame(&form);  // when this run's results cannot be saved
  const int result = app.exec();
  scoreform = nullptr;
  helpform = nullptr;
  return result;
}
