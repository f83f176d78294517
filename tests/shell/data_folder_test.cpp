// SPDX-License-Identifier: GPL-3.0-or-later
// --data-folder: the program's folder is $XDG_DATA_HOME/<application id>, or
// ~/.local/share/<application id>; a relative XDG_DATA_HOME or HOME is
// ignored, never taken relative to the folder the program was started from.
// Everything lies in the test's own folder; the environment is put back.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>
#include <optional>

#include "halloffame/child_process.h"
#include "shell/commandline.h"

namespace {

// Sets an environment variable for the test's time, or unsets it.
class Env {
 public:
  Env(const char* name, std::optional<QByteArray> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = QByteArray(old);
    if (value)
      qputenv(name, *value);
    else
      qunsetenv(name);
  }
  ~Env() {
    if (old_)
      qputenv(name_, *old_);
    else
      qunsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<QByteArray> old_;
};

class DataFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    root = dir.path();
    ASSERT_TRUE(QDir().mkpath(root + QStringLiteral("/home")));
    ASSERT_TRUE(QDir().mkpath(root + QStringLiteral("/start")));
    ASSERT_TRUE(QDir::setCurrent(root + QStringLiteral("/start")));
  }
  void TearDown() override { QDir::setCurrent(previous); }
  QStringList Made() const {
    return QDir(root + QStringLiteral("/start"))
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
  }
  QString previous = QDir::currentPath();
  QTemporaryDir dir;
  QString root;
};

TEST_F(DataFolder, AnAbsoluteXdgDataHomeIsUsed) {
  Env home("HOME", (root + QStringLiteral("/home")).toLocal8Bit());
  Env data("XDG_DATA_HOME", (root + QStringLiteral("/data")).toLocal8Bit());
  ASSERT_TRUE(EnterDataFolder());
  EXPECT_EQ(QDir::currentPath(), root + QStringLiteral("/data/net.zamspelen.ZamGames"));
  EXPECT_TRUE(Made().isEmpty());
}

// A relative XDG_DATA_HOME: the home folder's ~/.local/share instead, and
// nothing made under the folder the program was started from.
TEST_F(DataFolder, ARelativeXdgDataHomeIsIgnored) {
  Env home("HOME", (root + QStringLiteral("/home")).toLocal8Bit());
  Env data("XDG_DATA_HOME", QByteArray("data"));
  ASSERT_TRUE(EnterDataFolder());
  EXPECT_EQ(QDir::currentPath(),
            root + QStringLiteral("/home/.local/share/net.zamspelen.ZamGames"));
  EXPECT_TRUE(Made().isEmpty()) << Made().join(QLatin1Char(' ')).toStdString();
}

// A relative HOME is ignored too. As a user without an account (root only:
// a child process with a free user number), so that the account's own home
// folder is never touched: no folder is entered, nothing is made under the
// folder the program was started from, and the program says so.
TEST_F(DataFolder, ARelativeHomeIsIgnored) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to run as a user without an account";
  uid_t nobody = 0;
  for (uid_t id = 61000; id < 65000 && !nobody; ++id)
    if (!getpwuid(id)) nobody = id;
  ASSERT_NE(nobody, 0u);
  ASSERT_EQ(chmod(root.toLocal8Bit().constData(), 0755), 0);
  ASSERT_EQ(chmod((root + QStringLiteral("/start")).toLocal8Bit().constData(), 0777), 0);
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    if (setresgid(nobody, nobody, nobody) != 0 || setresuid(nobody, nobody, nobody) != 0)
      _exit(10);
    qputenv("HOME", "home");
    qunsetenv("XDG_DATA_HOME");
    _exit(EnterDataFolder() ? 11 : 0);
  }
  const int status = WaitFor(pid, 30);
  ASSERT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_TRUE(Made().isEmpty()) << Made().join(QLatin1Char(' ')).toStdString();
}

}  // namespace
