// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers for the score file's tests that look at files as the system
// shows them and act as other users: copies of the program run under user
// numbers no account uses (root only), in the test's own folder.
#pragma once

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "halloffame/child_process.h"
#include "halloffame/hall_fixture.h"

namespace hall {

// Standard error of this process, caught in a file of the test's folder.
class CatchStderr {
 public:
  CatchStderr() {
    std::fflush(stderr);
    saved_ = dup(2);
    const int fd = open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    dup2(fd, 2);
    close(fd);
  }
  ~CatchStderr() { Stop(); }
  std::string Stop() {
    if (saved_ >= 0) {
      std::fflush(stderr);
      dup2(saved_, 2);
      close(saved_);
      saved_ = -1;
      text_ = ReadFile("stderr.txt").toStdString();
      unlink("stderr.txt");
    }
    return text_;
  }

 private:
  int saved_ = -1;
  std::string text_;
};


inline bool Root() { return ::geteuid() == 0; }

// A user and a group number that no account on this machine uses.
inline uid_t FreeId(int skip = 0) {
  for (uid_t id = 61000; id < 65000; ++id)
    if (!getpwuid(id) && !getgrgid(gid_t(id)) && skip-- == 0) return id;
  return 0;
}

inline struct stat Stat(const char* path) {
  struct stat st = {};
  lstat(path, &st);
  return st;
}

inline QStringList Entries(const QString& dir = QStringLiteral(".")) {
  QStringList all =
      QDir(dir).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
  all.sort();
  return all;
}

// The program's own lines in a text caught from standard error.
inline int Lines(const std::string& text) {
  int n = 0;
  for (size_t at = 0; (at = text.find("zam: ", at)) != std::string::npos; ++at)
    n += at == 0 || text[at - 1] == '\n';
  return n;
}

// A copy of the program (the probe: the real window, a player winning game 1)
// started as another user in `dir`, with its standard error in `err` and the
// umask given. Its home and runtime folders lie in the test's folder. Root
// only. The process, or -1.
inline pid_t StartProbeAs(uid_t uid, gid_t gid, const std::vector<gid_t>& groups, const char* dir,
                   const char* player, const char* err, mode_t mask = 022) {
  const QString home = QDir::current().absoluteFilePath(QStringLiteral("home-%1").arg(uid));
  QDir().mkpath(home + QStringLiteral("/run"));
  if (chown(home.toLocal8Bit().constData(), uid, gid) != 0 ||
      chown((home + QStringLiteral("/run")).toLocal8Bit().constData(), uid, gid) != 0)
    return -1;
  chmod((home + QStringLiteral("/run")).toLocal8Bit().constData(), 0700);
  const std::string homeVar = "HOME=" + home.toStdString();
  const std::string runVar = "XDG_RUNTIME_DIR=" + home.toStdString() + "/run";
  const int errFd = open(err, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  const pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    dup2(errFd, 2);
    close(0);  // the probe ends (and saves) as soon as it has played
    umask(mask);
    if (chdir(dir) != 0 || setgroups(groups.size(), groups.data()) != 0 ||
        setresgid(gid, gid, gid) != 0 || setresuid(uid, uid, uid) != 0)
      _exit(126);
    char path[] = PLAYER_PROBE;
    char* args[] = {path, const_cast<char*>(player), const_cast<char*>("1"), nullptr};
    char platform[] = "QT_QPA_PLATFORM=offscreen";
    char* env[] = {platform, const_cast<char*>(homeVar.c_str()),
                   const_cast<char*>(runVar.c_str()), nullptr};
    execve(path, args, env);
    _exit(127);
  }
  close(errFd);
  return pid;
}

inline int RunProbeAs(uid_t uid, gid_t gid, const std::vector<gid_t>& groups, const char* dir,
               const char* player, const char* err, mode_t mask = 022) {
  const pid_t pid = StartProbeAs(uid, gid, groups, dir, player, err, mask);
  return pid < 0 ? -2 : WaitFor(pid, 30);
}

inline std::string Text(const char* path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace hall
