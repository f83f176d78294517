// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/commandline.h"

#include <pwd.h>
#include <unistd.h>

#include <QByteArray>
#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "drawing/AppIcon.h"

namespace {

constexpr const char* kVersion = "1.1";

void Print(FILE* to, const QString& text) {
  const QByteArray bytes = text.toLocal8Bit();
  std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to);
  std::fflush(to);
}

QString ProgramName(const char* argv0) {
  const QString path = QString::fromLocal8Bit(argv0 ? argv0 : "zam");
  return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

// The platform Qt will use: -platform, else QT_QPA_PLATFORM (its first
// choice), else the X11 one Qt picks on this system by default.
QString Platform(const QCommandLineParser& parser) {
  QString name = parser.value(QStringLiteral("platform"));
  if (name.isEmpty()) name = qEnvironmentVariable("QT_QPA_PLATFORM");
  if (name.isEmpty()) return QStringLiteral("xcb");
  name = name.section(QLatin1Char(';'), 0, 0);
  return name.section(QLatin1Char(':'), 0, 0);
}

// Qt's own options, hidden from the help, so that they pass the parser.
void AddQtOptions(QCommandLineParser& parser) {
  for (const char* qtOption :
       {"platform", "platformpluginpath", "platformtheme", "plugin", "display", "session", "style",
        "stylesheet", "qwindowgeometry", "qwindowtitle", "qwindowicon", "name"}) {
    QCommandLineOption o(QString::fromLatin1(qtOption), QString(), QStringLiteral("value"));
    o.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(o);
  }
  for (const char* qtFlag : {"reverse", "nograb", "dograb", "sync"}) {
    QCommandLineOption o(QString::fromLatin1(qtFlag));
    o.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(o);
  }
}

// Whether there is a display to show the window on; if not, says so.
bool HasDisplay(const QCommandLineParser& parser, const QString& name) {
  const QString platform = Platform(parser);
  const bool x11 = platform == QLatin1String("xcb");
  const bool wayland = platform.startsWith(QLatin1String("wayland"));
  if (x11 && parser.value(QStringLiteral("display")).isEmpty() &&
      qEnvironmentVariableIsEmpty("DISPLAY")) {
    Print(stderr,
          name + QStringLiteral(": no display to show the window on (DISPLAY is not set)\n"));
    return false;
  }
  if (wayland && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    Print(stderr, name + QStringLiteral(
                             ": no display to show the window on (WAYLAND_DISPLAY is not set)\n"));
    return false;
  }
  return true;
}

}  // namespace

int ReadCommandLine(int argc, char** argv, TStartOptions& options) {
  const QString name = ProgramName(argc > 0 ? argv[0] : nullptr);
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Zam games: nine take-away games played against the computer with the mouse or\n"
      "the keyboard. The hall of fame is kept in the file ZamScores in the current folder."));
  // Qt's own options (-platform, -display, -session from the session
  // manager, ...) are written with one dash and are passed on to Qt.
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("Show this help and exit."));
  const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                   QStringLiteral("Show the version and exit."));
  const QCommandLineOption data(QStringLiteral("data-folder"),
                                QStringLiteral("Keep the hall of fame in the user's data folder\n"
                                               "($XDG_DATA_HOME/%1) instead of the current folder.")
                                    .arg(QString::fromLatin1(kAppId)));
  parser.addOption(help);
  parser.addOption(version);
  parser.addOption(data);
  AddQtOptions(parser);

  QStringList args;
  for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  QString usage = parser.helpText();
  usage.replace(QRegularExpression(QStringLiteral("^Usage: [^ ]*")),
                QStringLiteral("Usage: ") + name);
  if (!parser.parse(args)) {
    Print(stderr, name + QStringLiteral(": ") + parser.errorText() + QLatin1Char('\n') + usage);
    return 2;
  }
  if (!parser.positionalArguments().isEmpty()) {
    Print(stderr, name + QStringLiteral(": unexpected argument '") +
                      parser.positionalArguments().first() + QStringLiteral("'\n") + usage);
    return 2;
  }
  if (parser.isSet(help)) {
    Print(stdout, usage);
    return 0;
  }
  if (parser.isSet(version)) {
    Print(stdout, QStringLiteral("%1 %2\n").arg(name, QString::fromLatin1(kVersion)));
    return 0;
  }
  options.dataFolder = parser.isSet(data);

  // The window needs a display: say so in one line rather than letting the
  // toolkit abort.
  return HasDisplay(parser, name) ? -1 : 1;
}

bool EnterDataFolder() {
  QString base = qEnvironmentVariable("XDG_DATA_HOME");
  // A relative XDG_DATA_HOME is invalid and ignored; so is a relative HOME,
  // which would put the data folder under whatever folder the program was
  // started from: then the home folder of the user's account is used.
  if (base.isEmpty() || !QDir::isAbsolutePath(base)) {
    QString home = qEnvironmentVariable("HOME");
    if (home.isEmpty() || !QDir::isAbsolutePath(home)) {
      const passwd* pw = ::getpwuid(::getuid());
      home = pw && pw->pw_dir ? QString::fromLocal8Bit(pw->pw_dir) : QString();
    }
    base = QDir::isAbsolutePath(home) ? home + QStringLiteral("/.local/share") : QString();
  }
  const QString folder = (base.isEmpty() ? QStringLiteral("~/.local/share") : base) +
                         QLatin1Char('/') + QString::fromLatin1(kAppId);
  if (base.isEmpty() || !QDir().mkpath(folder) || !QDir::setCurrent(folder)) {
    Print(stderr, QStringLiteral("zam: cannot make or enter the data folder %1\n").arg(folder));
    return false;
  }
  return true;
}

namespace {

// Every number in text rounded half up to a whole number, at least 1.
QByteArray RoundNumbers(const QByteArray& text) {
  QString out = QString::fromLatin1(text);
  static const QRegularExpression number(QStringLiteral("[0-9]*\\.?[0-9]+"));
  QRegularExpressionMatch m;
  qsizetype from = 0;
  while ((m = number.match(out, from)).hasMatch()) {
    const double value = m.captured().toDouble();
    const QString whole = QString::number(std::max(1, int(value + 0.5)));
    out.replace(m.capturedStart(), m.capturedLength(), whole);
    from = m.capturedStart() + whole.size();
  }
  return out.toLatin1();
}

}  // namespace

void UseWholeScaleFactors() {
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
  for (const char* name : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS"}) {
    const QByteArray value = qgetenv(name);
    if (!value.isEmpty()) qputenv(name, RoundNumbers(value));
  }
}

// ---- TDisplayGuard ----------------------------------------------------------------

namespace {

QtMessageHandler previousHandler = nullptr;
QString displayTrouble;  // the toolkit's first word on the display

void WhileConnecting(QtMsgType type, const QMessageLogContext& context, const QString& msg) {
  if (type == QtFatalMsg) {
    QString line = displayTrouble.isEmpty() ? msg.section(QLatin1Char('\n'), 0, 0) : displayTrouble;
    Print(stderr, QStringLiteral("zam: cannot show the window: ") + line + QLatin1Char('\n'));
    std::_Exit(1);
  }
  // The toolkit's reasons come as warnings before the fatal message: keep
  // the first one for the single line, and show nothing else.
  if (context.category && QByteArray(context.category).startsWith("qt.qpa")) {
    if (displayTrouble.isEmpty()) displayTrouble = msg.section(QLatin1Char('\n'), 0, 0);
    return;
  }
  if (previousHandler) previousHandler(type, context, msg);
}

}  // namespace

TDisplayGuard::TDisplayGuard() { previousHandler = qInstallMessageHandler(WhileConnecting); }

TDisplayGuard::~TDisplayGuard() { qInstallMessageHandler(previousHandler); }
