// SPDX-License-Identifier: GPL-3.0-or-later
// The lock beside the score file and the results kept aside when a save
// cannot have it: the lock's mode and kind, a held lock, a bounded wait that
// a further signal stops, kept-aside results joining the next save; and the
// real program with its standard files closed or the lock held at exit.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include "halloffame/child_process.h"
#include "halloffame/hall_fixture.h"
#include "halloffame/other_users.h"

extern char** environ;

namespace {

using namespace hall;
using Clock = std::chrono::steady_clock;

class LockTest : public HallFixture {};

// ---- the lock ----------------------------------------------------------------------------

// A new lock gets the mode a new score file would get, or the score file's
// own; a lock file the user may not write does not block a save; a lock
// that is no regular file stops the save without hanging.
TEST_F(LockTest, TheLockFilesModeAndKind) {
  struct {
    const char* what;
    mode_t umask, file;  // file 0: no score file yet
    mode_t lock;
  } modes[] = {
      {"a shared file", 022, 0664, 0664},
      {"a private file", 002, 0600, 0600},
      {"no file, a group's umask", 002, 0, 0664},
      {"no file, a private umask", 077, 0, 0600},
  };
  for (const auto& m : modes) {
    SCOPED_TRACE(m.what);
    InTempFolder folder;
    hall = THallOfFame();
    if (m.file) {
      WriteFile(Bytes({MakeRecord("Anna", "", 1)}));
      ASSERT_EQ(chmod("ZamScores", m.file), 0);
    }
    const mode_t previous = umask(m.umask);
    hall.Load();
    Record("Bert", 2);
    const bool saved = hall.Save();
    umask(previous);
    ASSERT_TRUE(saved);
    EXPECT_EQ(Stat("ZamScores.lock").st_mode & 07777, m.lock);
  }
  {
    SCOPED_TRACE("a read-only lock");
    InTempFolder folder;
    hall = THallOfFame();
    WriteFile("", "ZamScores.lock");
    ASSERT_EQ(chmod("ZamScores.lock", 0444), 0);
    hall.Load();
    Record("Bert", 2);
    EXPECT_TRUE(hall.Save());
    EXPECT_EQ(ReadFile().size(), 56);
  }
  {
    SCOPED_TRACE("a pipe as the lock");
    InTempFolder folder;
    hall = THallOfFame();
    ASSERT_EQ(mkfifo("ZamScores.lock", 0666), 0);
    hall.Load();
    CatchStderr err;
    EXPECT_FALSE(hall.Save());  // returns: no wait on a pipe
    err.Stop();
    EXPECT_FALSE(QFile::exists(QStringLiteral("ZamScores")));
  }
}

// Holds the lock beside "ZamScores" as another program would: its own open
// file, so flock conflicts with the save's.
class HeldLock {
 public:
  HeldLock() {
    fd_ = open("ZamScores.lock", O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
    held_ = fd_ >= 0 && flock(fd_, LOCK_EX) == 0;
  }
  ~HeldLock() { close(fd_); }
  bool held() const { return held_; }

 private:
  int fd_ = -1;
  bool held_ = false;
};

QStringList UnsavedFiles() {
  return QDir().entryList({QStringLiteral("ZamScores.unsaved-*")}, QDir::Files);
}

// A save waits a bounded time for a held lock; then this run's results are
// kept beside the file, and join it at the next save that gets the lock.
TEST_F(LockTest, AHeldLockKeepsTheResultsAsideUntilTheNextSave) {
  const QByteArray old = Bytes({MakeRecord("Anna", "", 1)});
  WriteFile(old);
  ASSERT_TRUE(hall.Load());
  Record("Bert", 2);
  const ScoreRecord bert = hall.Ranking().Slot(2);
  hall.SaveSettings().lockWaitMilliseconds = 200;
  {
    HeldLock other;
    ASSERT_TRUE(other.held());
    CatchStderr err;
    EXPECT_FALSE(hall.Save());
    EXPECT_NE(err.Stop().find("unsaved"), std::string::npos) << err.Stop();
  }
  hall.SaveSettings().lockWaitMilliseconds = 5000;
  EXPECT_EQ(ReadFile(), old);
  const QStringList aside = UnsavedFiles();
  ASSERT_EQ(aside.size(), 1);
  EXPECT_EQ(ReadFile(aside[0].toLatin1().constData()), Bytes({bert}));
  // The next run sees Bert's result at once, and its save puts it in the file.
  hall = THallOfFame();
  ASSERT_TRUE(hall.Load());
  EXPECT_EQ(hall.Ranking().StoredLevelsOf(QStringLiteral("Bert")), 2u);
  ASSERT_TRUE(hall.Save());
  EXPECT_EQ(ReadFile(), Bytes({bert, MakeRecord("Anna", "", 1)}));
  EXPECT_TRUE(UnsavedFiles().isEmpty());
}

// A result kept aside joins the file at a save of a run that never saw it
// (it started before), unless the file holds a later result of that player.
TEST_F(LockTest, ResultsKeptAsideJoinAtTheNextSave) {
  WriteFile(Bytes({MakeRecord("Anna", "", 1, 45000.0), MakeRecord("Bert", "", 1, 45000.0)}));
  ASSERT_TRUE(hall.Load());
  Record("Cees", 1);
  WriteFile(Bytes({MakeRecord("Anna", "", 3, 45001.0), MakeRecord("Bert", "", 3, 44999.0)}),
            "ZamScores.unsaved-20230315-120000");
  ASSERT_TRUE(hall.Save());
  const QByteArray file = ReadFile();
  EXPECT_EQ(file.size(), 3 * 56);
  EXPECT_EQ(hall.Ranking().StoredLevelsOf(QStringLiteral("Anna")), 3u);  // later than the file's
  EXPECT_EQ(hall.Ranking().StoredLevelsOf(QStringLiteral("Bert")), 1u);  // older than the file's
  EXPECT_EQ(hall.Ranking().StoredLevelsOf(QStringLiteral("Cees")), 1u);
  EXPECT_TRUE(UnsavedFiles().isEmpty());
}

// One kept-aside file per user: when two copies fail to save one after the
// other (in the same second), the second takes the first one's results into
// the file instead of writing over them; the file is private whatever the
// score file's mode, and a link planted in its place is replaced, never
// followed.
TEST_F(LockTest, ASecondKeepAsideTakesInTheFirstNeverThroughALink) {
  WriteFile(Bytes({MakeRecord("Anna", "", 1)}));
  ASSERT_EQ(chmod("ZamScores", 0664), 0);
  WriteFile("precious", "victim");
  const QByteArray aside = KeptAsideName().toLatin1();
  ASSERT_EQ(symlink("victim", aside.constData()), 0);
  HeldLock other;
  ASSERT_TRUE(other.held());
  // This copy starts and records Cees.
  ASSERT_TRUE(hall.Load());
  Record("Cees", 2);
  const ScoreRecord cees = hall.Ranking().Slot(2);
  // Another copy, started at the same time, records Bert and fails first.
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    hall = THallOfFame();
    hall.SaveSettings().lockWaitMilliseconds = 100;
    const bool loaded = hall.Load();
    Record("Bert", 2);
    _exit(loaded && !hall.Save() ? 0 : 1);
  }
  ASSERT_EQ(WaitFor(pid, 30), 0);
  EXPECT_EQ(ReadFile("victim"), QByteArray("precious"));
  ASSERT_TRUE(S_ISREG(Stat(aside.constData()).st_mode));
  EXPECT_EQ(Stat(aside.constData()).st_mode & 07777, 0600u);
  const QByteArray first = ReadFile(aside.constData());
  ASSERT_EQ(first.size(), 56);
  EXPECT_EQ(first.mid(0, 5), QByteArray("\x04" "Bert"));
  // Then this copy fails too: both results in the one file.
  hall.SaveSettings().lockWaitMilliseconds = 100;
  CatchStderr err;
  EXPECT_FALSE(hall.Save());
  err.Stop();
  EXPECT_EQ(UnsavedFiles(), QStringList{KeptAsideName()});
  EXPECT_EQ(Stat(aside.constData()).st_mode & 07777, 0600u);
  EXPECT_EQ(ReadFile(aside.constData()), first + Bytes({cees}));
  EXPECT_EQ(ReadFile("victim"), QByteArray("precious"));
}

// A signal asking the program to end stops the wait for the lock at once.
volatile sig_atomic_t* stopCounter = &SaveStopRequests;
void AskToStop(int) { *stopCounter = *stopCounter + 1; }

TEST_F(LockTest, AFurtherSignalStopsTheWait) {
  hall.Load();
  Record("Bert", 2);
  hall.SaveSettings().lockWaitMilliseconds = 60000;  // far longer than the test may take
  HeldLock other;
  ASSERT_TRUE(other.held());
  struct sigaction action = {}, previous;
  action.sa_handler = AskToStop;
  sigemptyset(&action.sa_mask);
  sigaction(SIGALRM, &action, &previous);
  struct itimerval timer = {{0, 0}, {0, 200 * 1000}};
  setitimer(ITIMER_REAL, &timer, nullptr);
  CatchStderr err;
  const auto start = Clock::now();
  EXPECT_FALSE(hall.Save());
  const double waited = std::chrono::duration<double>(Clock::now() - start).count();
  err.Stop();
  sigaction(SIGALRM, &previous, nullptr);
  hall.SaveSettings().lockWaitMilliseconds = 5000;
  EXPECT_NE(err.Stop().find("stopped"), std::string::npos) << err.Stop();
  EXPECT_LT(waited, 30.0);  // a guard against waiting the whole minute, not a timing target
  EXPECT_EQ(UnsavedFiles().size(), 1);
}

// A save waits for a lock another process holds, then merges what that
// process wrote under it.
TEST_F(LockTest, ASaveWaitsForAHeldLockAndMergesWhatItsHolderWrote) {
  WriteFile(Bytes({MakeRecord("Anna", "", 1)}));
  ASSERT_TRUE(hall.Load());
  Record("Bert", 2);
  const ScoreRecord bert = hall.Ranking().Slot(2);
  const QByteArray theirs = Bytes({MakeRecord("Anna", "", 1), MakeRecord("Cees", "", 3)});
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {  // the other copy: takes the lock, then writes its file
    const int lock = open("ZamScores.lock", O_RDONLY | O_CREAT, 0644);
    if (lock < 0 || flock(lock, LOCK_EX) != 0) _exit(1);
    if (write(ready[1], "r", 1) != 1) _exit(1);
    const struct timespec pause = {0, 500 * 1000 * 1000};
    nanosleep(&pause, nullptr);
    const int fd = open("ZamScores.new", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || write(fd, theirs.constData(), size_t(theirs.size())) != theirs.size()) _exit(1);
    close(fd);
    if (rename("ZamScores.new", "ZamScores") != 0) _exit(1);
    _exit(0);  // the lock goes with the process
  }
  close(ready[1]);
  char byte;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  close(ready[0]);
  EXPECT_TRUE(hall.Save());
  EXPECT_EQ(WaitFor(pid, 20), 0);
  EXPECT_EQ(ReadFile(), Bytes({MakeRecord("Cees", "", 3), bert, MakeRecord("Anna", "", 1)}));
}

// ---- the real program --------------------------------------------------------------------

// The program with standard input, output and error as given.
pid_t StartProgram(bool closeStandardFiles) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (closeStandardFiles)
    for (int fd = 0; fd <= 2; ++fd) posix_spawn_file_actions_addclose(&actions, fd);
  pid_t pid = 0;
  char path[] = ZAM_BINARY;
  char* args[] = {path, nullptr};
  if (posix_spawn(&pid, path, &actions, nullptr, args, environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// Started with standard input, output and error closed, the program gives
// them to /dev/null before it opens anything, and runs and ends as usual.
TEST(StandardFiles, ClosedOnesAreOpenedOnTheNullDevice) {
  InTempFolder folder;
  WriteFile("not scores\n");  // something to say on standard error at start
  const pid_t pid = StartProgram(true);
  ASSERT_GT(pid, 0);
  ASSERT_TRUE(WaitUntilCatching(pid, SIGTERM));  // the window is up
  for (int fd = 0; fd <= 2; ++fd) {
    const std::string link = "/proc/" + std::to_string(pid) + "/fd/" + std::to_string(fd);
    char target[256] = {};
    const ssize_t n = readlink(link.c_str(), target, sizeof target - 1);
    EXPECT_EQ(std::string(target, size_t(std::max<ssize_t>(n, 0))), "/dev/null") << fd;
  }
  kill(pid, SIGTERM);
  const int status = WaitFor(pid, 15);
  ASSERT_NE(status, -1) << "the program hung";
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(ReadFile(), QByteArray("not scores\n"));
}

// With the lock held by another program, the program still ends: a bounded
// wait, cut short by a further signal.
TEST(HeldLockAtExit, TheProgramEnds) {
  InTempFolder folder;
  WriteFile(Bytes({MakeRecord("Anna", "", 1)}));
  HeldLock other;
  ASSERT_TRUE(other.held());
  const pid_t pid = StartProgram(false);
  ASSERT_GT(pid, 0);
  ASSERT_TRUE(WaitUntilCatching(pid, SIGTERM));  // the window is up
  kill(pid, SIGTERM);  // ends the message loop; the save waits for the lock
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  kill(pid, SIGTERM);  // stops the wait
  const int status = WaitFor(pid, 20);  // a guard: without either it would hang
  ASSERT_NE(status, -1) << "the program hung";
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(ReadFile(), Bytes({MakeRecord("Anna", "", 1)}));
}

}  // namespace
