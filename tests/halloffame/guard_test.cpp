// What the score file promises, each against its abuse: files that are no
// hall of fame, links planted by somebody else, files of other users, shared
// folders, a full table, a lock held by another program, closed standard
// files, backups, and a save that records nothing.
//
// Everything a test makes, links to or changes lies in its own temporary
// folder. "Another user" is a user number no account uses, given to files
// there with chown and to a copy of the program with setuid, both only
// possible for root: those tests are skipped otherwise.
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/time.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFileInfo>
#include <QMessageBox>
#include <chrono>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "halloffame/hall_fixture.h"
#include "halloffame/child_process.h"
#include "shell/shell_fixture.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

bool Root() { return ::geteuid() == 0; }

// A user and a group number that no account on this machine uses.
uid_t FreeId(int skip = 0) {
  for (uid_t id = 61000; id < 65000; ++id)
    if (!getpwuid(id) && !getgrgid(gid_t(id)) && skip-- == 0) return id;
  return 0;
}

struct stat Stat(const char* path) {
  struct stat st = {};
  lstat(path, &st);
  return st;
}

QStringList Entries(const QString& dir = QStringLiteral(".")) {
  QStringList all =
      QDir(dir).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
  all.sort();
  return all;
}

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

// The program's own lines in a text caught from standard error.
int Lines(const std::string& text) {
  int n = 0;
  for (size_t at = 0; (at = text.find("zam: ", at)) != std::string::npos; ++at)
    n += at == 0 || text[at - 1] == '\n';
  return n;
}


// ---- files that are no hall of fame --------------------------------------------------

class GuardTest : public HallFixture {
 protected:
  void Record(const char* name, uint32_t levels) {
    RecordResult(QString::fromLatin1(name), QString(), levels);
  }
};

// A non-empty file without one valid record is somebody's other file: never
// backed up, never replaced; the player is told the results are not saved
// to it, and they are kept aside.
TEST_F(GuardTest, AFileWithoutOneValidRecordIsLeftAlone) {
  ScoreRecord bad = MakeRecord("Anna", "", 1);
  bad.checksum ^= 0x100;
  const struct {
    const char* what;
    QByteArray bytes;
  } cases[] = {
      {"a text", QByteArray("Dear committee,\nplease find my thesis attached.\n")},
      {"one damaged record", Bytes({bad})},
      {"a partial record", RecordBytes("Anna", "", 1).left(40)},
      {"two damaged records and a tail", Bytes({bad, bad}) + QByteArray(9, 'x')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    InTempFolder inner;
    ResetHallOfFame();
    WriteFile(c.bytes);
    ASSERT_EQ(chmod("ZamScores", 0640), 0);
    CatchStderr err;
    EXPECT_FALSE(LoadHallOfFame());
    EXPECT_EQ(EntryCount, 0);
    EXPECT_FALSE(HallOfFameWarning().isEmpty());
    Record("Bert", 2);
    const ScoreRecord bert = Slots[1];
    EXPECT_FALSE(SaveHallOfFame());
    // Said at start, and at the save: the player and where the result is.
    const std::string said = err.Stop();
    EXPECT_EQ(Lines(said), 2) << said;
    EXPECT_NE(said.find("Bert"), std::string::npos) << said;
    EXPECT_NE(said.find(KeptAsideName().toStdString()), std::string::npos) << said;
    EXPECT_EQ(ReadFile(), c.bytes);
    EXPECT_EQ(Stat("ZamScores").st_mode & 07777, 0640u);
    EXPECT_EQ(Entries(), (QStringList{QStringLiteral("ZamScores"), KeptAsideName()}));
    EXPECT_EQ(ReadFile(KeptAsideName().toLatin1().constData()), Bytes({bert}));
  }
  // One valid record among damaged ones: a hall of fame, saved as ever.
  ResetHallOfFame();
  const QByteArray mixed = Bytes({bad, MakeRecord("Cees", "", 3)}) + QByteArray(9, 'x');
  WriteFile(mixed);
  EXPECT_TRUE(LoadHallOfFame());
  EXPECT_TRUE(HallOfFameWarning().isEmpty());
  Record("Bert", 2);
  ASSERT_TRUE(SaveHallOfFame());
  EXPECT_EQ(ReadFile(), Bytes({MakeRecord("Cees", "", 3), Slots[2]}));
  EXPECT_EQ(ReadFile("ZamScores.bak"), mixed);
}

// An empty file is an empty hall of fame.
TEST_F(GuardTest, AnEmptyFileIsAHallOfFame) {
  WriteFile(QByteArray());
  EXPECT_TRUE(LoadHallOfFame());
  EXPECT_TRUE(HallOfFameWarning().isEmpty());
  Record("Anna", 1);
  ASSERT_TRUE(SaveHallOfFame());
  EXPECT_EQ(ReadFile().size(), 56);
}

// ---- links ------------------------------------------------------------------------------

// A link is followed only when it and the regular file it leads to belong to
// the user running the program. The files here lie in the test's folder;
// another user's ownership is given with lchown (root only).
TEST_F(GuardTest, ALinkIsFollowedOnlyWhenTheUserOwnsBothEnds) {
  if (!Root()) GTEST_SKIP() << "needs root to give files to another user";
  const uid_t other = FreeId();
  ASSERT_NE(other, 0u);
  const QByteArray thesis = Bytes({MakeRecord("Anna", "", 1)});  // even a valid one
  enum Owner { kMine, kOther };
  const struct {
    const char* what;
    Owner link, target;
    bool followed;
  } cases[] = {
      {"my link to my file", kMine, kMine, true},
      {"another user's link to my file", kOther, kMine, false},
      {"my link to another user's file", kMine, kOther, false},
      {"another user's link to another user's file", kOther, kOther, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    InTempFolder folder;
    ResetHallOfFame();
    ASSERT_TRUE(QDir().mkdir(QStringLiteral("private")));
    WriteFile(thesis, "private/thesis.txt");
    ASSERT_EQ(symlink("private/thesis.txt", "ZamScores"), 0);
    if (c.target == kOther) {
      ASSERT_EQ(chown("private/thesis.txt", other, other), 0);
    }
    if (c.link == kOther) {
      ASSERT_EQ(lchown("ZamScores", other, other), 0);
    }
    CatchStderr err;
    EXPECT_EQ(LoadHallOfFame(), c.followed);
    EXPECT_EQ(HallOfFameWarning().isEmpty(), c.followed);
    Record("Bert", 2);
    EXPECT_EQ(SaveHallOfFame(), c.followed);
    err.Stop();
    if (c.followed) {
      EXPECT_EQ(ReadFile("private/thesis.txt").size(), 2 * 56);
      EXPECT_EQ(Entries(QStringLiteral("private")),
                (QStringList{QStringLiteral("thesis.txt"), QStringLiteral("thesis.txt.lock")}));
    } else {
      EXPECT_EQ(ReadFile("private/thesis.txt"), thesis);
      EXPECT_EQ(Entries(QStringLiteral("private")), QStringList{QStringLiteral("thesis.txt")});
      EXPECT_EQ(Stat("private/thesis.txt").st_uid, c.target == kOther ? other : 0u);
    }
    EXPECT_TRUE(S_ISLNK(Stat("ZamScores").st_mode));
    // A refused link: the result is kept aside where the link is.
    QStringList expected = {QStringLiteral("ZamScores"), QStringLiteral("private")};
    if (!c.followed) expected << KeptAsideName();
    expected.sort();
    EXPECT_EQ(Entries(), expected);
  }
}

// The lock, backup and temporary files are never opened through a link: a
// link in the lock's place stops the save (this run's results are kept
// beside the file), and the file it leads to is not made.
TEST_F(GuardTest, ALinkInTheLocksPlaceIsNotFollowed) {
  const QByteArray old = Bytes({MakeRecord("Anna", "", 1)});
  WriteFile(old);
  ASSERT_TRUE(QDir().mkdir(QStringLiteral("private")));
  ASSERT_EQ(symlink("private/made", "ZamScores.lock"), 0);  // leading nowhere yet
  ASSERT_TRUE(LoadHallOfFame());
  Record("Bert", 2);
  CatchStderr err;
  EXPECT_FALSE(SaveHallOfFame());
  EXPECT_NE(err.Stop().find("link"), std::string::npos) << err.Stop();
  EXPECT_TRUE(Entries(QStringLiteral("private")).isEmpty());
  EXPECT_EQ(ReadFile(), old);
  EXPECT_TRUE(S_ISLNK(Stat("ZamScores.lock").st_mode));
}

// Backups rotate: the newest is "ZamScores.bak", older ones move on to
// ".bak.1" .. ".bak.9" and the oldest of ten goes. A name that is not a
// regular file of this user's (here a link to a file of the test's) is
// skipped, never followed or replaced.
TEST_F(GuardTest, BackupsRotateSkippingNamesThatAreNotTheUsersFiles) {
  ScoreRecord bad = MakeRecord("Dirk", "", 9);
  bad.checksum ^= 1;
  WriteFile("precious", "victim");
  ASSERT_EQ(symlink("victim", "ZamScores.bak.1"), 0);
  std::vector<QByteArray> damaged;
  for (int save = 0; save < 12; ++save) {
    ResetHallOfFame();
    damaged.push_back(Bytes({MakeRecord(PlayerName(save), "", 1), bad}));
    WriteFile(damaged.back());
    ASSERT_TRUE(LoadHallOfFame());
    ASSERT_TRUE(SaveHallOfFame()) << save;
    EXPECT_EQ(ReadFile(), Bytes({MakeRecord(PlayerName(save), "", 1)}));
  }
  // Nine names are usable (.bak, .bak.2 .. .bak.9): the newest nine of
  // twelve, newest first; saves 0, 1 and 2 are gone.
  EXPECT_EQ(ReadFile("ZamScores.bak"), damaged[11]);
  for (int i = 2; i <= 9; ++i)
    EXPECT_EQ(ReadFile(("ZamScores.bak." + std::to_string(i)).c_str()), damaged[size_t(12 - i)])
        << i;
  EXPECT_EQ(ReadFile("victim"), QByteArray("precious"));
  EXPECT_TRUE(S_ISLNK(Stat("ZamScores.bak.1").st_mode));
  QStringList expected = {QStringLiteral("ZamScores"), QStringLiteral("ZamScores.bak"),
                          QStringLiteral("ZamScores.lock"), QStringLiteral("victim")};
  for (int i = 1; i <= 9; ++i) expected << QStringLiteral("ZamScores.bak.%1").arg(i);
  expected.sort();
  EXPECT_EQ(Entries(), expected);
}

// With all ten backup names taken by things that are not this user's files
// (a pipe, a folder, links, and as root another user's file), a save that
// needs a backup still saves: the backup takes a name of its own, and
// nothing in the ten places changes.
TEST_F(GuardTest, BackupsNeverRunOut) {
  ScoreRecord bad = MakeRecord("Dirk", "", 9);
  bad.checksum ^= 1;
  WriteFile("precious", "victim");
  ASSERT_EQ(mkfifo("ZamScores.bak", 0644), 0);
  ASSERT_TRUE(QDir().mkdir(QStringLiteral("ZamScores.bak.1")));
  for (int i = 2; i <= 9; ++i)
    ASSERT_EQ(symlink("victim", ("ZamScores.bak." + std::to_string(i)).c_str()), 0);
  if (Root()) {
    ASSERT_EQ(unlink("ZamScores.bak.9"), 0);
    WriteFile("theirs", "ZamScores.bak.9");
    ASSERT_EQ(chown("ZamScores.bak.9", FreeId(), FreeId()), 0);
  }
  const QByteArray damaged = Bytes({MakeRecord("Eva", "", 1), bad});
  WriteFile(damaged);
  const QStringList before = Entries();
  ASSERT_TRUE(LoadHallOfFame());
  Record("Fred", 1);
  const ScoreRecord fred = Slots[2];
  CatchStderr err;
  ASSERT_TRUE(SaveHallOfFame());
  EXPECT_EQ(err.Stop(), "");
  EXPECT_EQ(ReadFile(), Bytes({MakeRecord("Eva", "", 1), fred}));
  const QStringList own = QDir().entryList({QStringLiteral("ZamScores.bak-*")}, QDir::Files);
  ASSERT_EQ(own.size(), 1);
  EXPECT_EQ(ReadFile(own[0].toLatin1().constData()), damaged);
  EXPECT_EQ(ReadFile("victim"), QByteArray("precious"));
  EXPECT_TRUE(S_ISFIFO(Stat("ZamScores.bak").st_mode));
  QStringList after = Entries();
  after.removeAll(own[0]);
  after.removeAll(QStringLiteral("ZamScores.lock"));
  EXPECT_EQ(after, before);
  if (Root()) {
    EXPECT_EQ(ReadFile("ZamScores.bak.9"), QByteArray("theirs"));
  }
}

// ---- the lock ----------------------------------------------------------------------------

// A new lock gets the mode a new score file would get, or the score file's
// own; a lock file the user may not write does not block a save; a lock
// that is no regular file stops the save without hanging.
TEST_F(GuardTest, TheLockFilesModeAndKind) {
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
    ResetHallOfFame();
    if (m.file) {
      WriteFile(Bytes({MakeRecord("Anna", "", 1)}));
      ASSERT_EQ(chmod("ZamScores", m.file), 0);
    }
    const mode_t previous = umask(m.umask);
    LoadHallOfFame();
    Record("Bert", 2);
    const bool saved = SaveHallOfFame();
    umask(previous);
    ASSERT_TRUE(saved);
    EXPECT_EQ(Stat("ZamScores.lock").st_mode & 07777, m.lock);
  }
  {
    SCOPED_TRACE("a read-only lock");
    InTempFolder folder;
    ResetHallOfFame();
    WriteFile("", "ZamScores.lock");
    ASSERT_EQ(chmod("ZamScores.lock", 0444), 0);
    LoadHallOfFame();
    Record("Bert", 2);
    EXPECT_TRUE(SaveHallOfFame());
    EXPECT_EQ(ReadFile().size(), 56);
  }
  {
    SCOPED_TRACE("a pipe as the lock");
    InTempFolder folder;
    ResetHallOfFame();
    ASSERT_EQ(mkfifo("ZamScores.lock", 0666), 0);
    LoadHallOfFame();
    CatchStderr err;
    EXPECT_FALSE(SaveHallOfFame());  // returns: no wait on a pipe
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
TEST_F(GuardTest, AHeldLockKeepsTheResultsAsideUntilTheNextSave) {
  const QByteArray old = Bytes({MakeRecord("Anna", "", 1)});
  WriteFile(old);
  ASSERT_TRUE(LoadHallOfFame());
  Record("Bert", 2);
  const ScoreRecord bert = Slots[2];
  LockWaitMilliseconds = 200;
  {
    HeldLock other;
    ASSERT_TRUE(other.held());
    CatchStderr err;
    EXPECT_FALSE(SaveHallOfFame());
    EXPECT_NE(err.Stop().find("unsaved"), std::string::npos) << err.Stop();
  }
  LockWaitMilliseconds = 5000;
  EXPECT_EQ(ReadFile(), old);
  const QStringList aside = UnsavedFiles();
  ASSERT_EQ(aside.size(), 1);
  EXPECT_EQ(ReadFile(aside[0].toLatin1().constData()), Bytes({bert}));
  // The next run sees Bert's result at once, and its save puts it in the file.
  ResetHallOfFame();
  ASSERT_TRUE(LoadHallOfFame());
  EXPECT_EQ(StoredLevelsOf(QStringLiteral("Bert")), 2u);
  ASSERT_TRUE(SaveHallOfFame());
  EXPECT_EQ(ReadFile(), Bytes({bert, MakeRecord("Anna", "", 1)}));
  EXPECT_TRUE(UnsavedFiles().isEmpty());
}

// A result kept aside joins the file at a save of a run that never saw it
// (it started before), unless the file holds a later result of that player.
TEST_F(GuardTest, ResultsKeptAsideJoinAtTheNextSave) {
  WriteFile(Bytes({MakeRecord("Anna", "", 1, 45000.0), MakeRecord("Bert", "", 1, 45000.0)}));
  ASSERT_TRUE(LoadHallOfFame());
  Record("Cees", 1);
  WriteFile(Bytes({MakeRecord("Anna", "", 3, 45001.0), MakeRecord("Bert", "", 3, 44999.0)}),
            "ZamScores.unsaved-20230315-120000");
  ASSERT_TRUE(SaveHallOfFame());
  const QByteArray file = ReadFile();
  EXPECT_EQ(file.size(), 3 * 56);
  EXPECT_EQ(StoredLevelsOf(QStringLiteral("Anna")), 3u);  // later than the file's
  EXPECT_EQ(StoredLevelsOf(QStringLiteral("Bert")), 1u);  // older than the file's
  EXPECT_EQ(StoredLevelsOf(QStringLiteral("Cees")), 1u);
  EXPECT_TRUE(UnsavedFiles().isEmpty());
}

// One kept-aside file per user: a second failed save (in the same second)
// takes in the first one's results instead of writing over them; the file
// is private whatever the score file's mode, and a link planted in its
// place is replaced, never followed.
TEST_F(GuardTest, ASecondKeepAsideTakesInTheFirstNeverThroughALink) {
  WriteFile(Bytes({MakeRecord("Anna", "", 1)}));
  ASSERT_EQ(chmod("ZamScores", 0664), 0);
  WriteFile("precious", "victim");
  const QByteArray aside = KeptAsideName().toLatin1();
  ASSERT_EQ(symlink("victim", aside.constData()), 0);
  LockWaitMilliseconds = 100;
  HeldLock other;
  ASSERT_TRUE(other.held());
  std::vector<ScoreRecord> kept;
  for (const char* name : {"Bert", "Cees"}) {
    SCOPED_TRACE(name);
    ResetHallOfFame();
    LockWaitMilliseconds = 100;
    ASSERT_TRUE(LoadHallOfFame());
    Record(name, 2);
    kept.push_back(Slots[EntryCount]);
    CatchStderr err;
    EXPECT_FALSE(SaveHallOfFame());
    err.Stop();
    EXPECT_EQ(ReadFile("victim"), QByteArray("precious"));
    EXPECT_TRUE(S_ISREG(Stat(aside.constData()).st_mode));
    EXPECT_EQ(Stat(aside.constData()).st_mode & 07777, 0600u);
    EXPECT_EQ(UnsavedFiles(), QStringList{KeptAsideName()});
  }
  EXPECT_EQ(ReadFile(aside.constData()), Bytes(kept));
}

// A signal asking the program to end stops the wait for the lock at once.
volatile sig_atomic_t* stopCounter = &SaveStopRequests;
void AskToStop(int) { *stopCounter = *stopCounter + 1; }

TEST_F(GuardTest, AFurtherSignalStopsTheWait) {
  LoadHallOfFame();
  Record("Bert", 2);
  LockWaitMilliseconds = 60000;  // far longer than the test may take
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
  EXPECT_FALSE(SaveHallOfFame());
  const double waited = std::chrono::duration<double>(Clock::now() - start).count();
  err.Stop();
  sigaction(SIGALRM, &previous, nullptr);
  LockWaitMilliseconds = 5000;
  EXPECT_NE(err.Stop().find("stopped"), std::string::npos) << err.Stop();
  EXPECT_LT(waited, 30.0);  // a guard against waiting the whole minute, not a timing target
  EXPECT_EQ(UnsavedFiles().size(), 1);
}

// A save waits for a lock another process holds, then merges what that
// process wrote under it.
TEST_F(GuardTest, ASaveWaitsForAHeldLockAndMergesWhatItsHolderWrote) {
  WriteFile(Bytes({MakeRecord("Anna", "", 1)}));
  ASSERT_TRUE(LoadHallOfFame());
  Record("Bert", 2);
  const ScoreRecord bert = Slots[2];
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
  EXPECT_TRUE(SaveHallOfFame());
  EXPECT_EQ(WaitFor(pid, 20), 0);
  EXPECT_EQ(ReadFile(), Bytes({MakeRecord("Cees", "", 3), bert, MakeRecord("Anna", "", 1)}));
}

// ---- the merge -------------------------------------------------------------------------

// A player already in the file who plays again keeps this run's result, while
// the players another copy saved meanwhile keep theirs.
TEST_F(GuardTest, APlayerWhoPlaysAgainKeepsThisRunsResult) {
  WriteFile(Bytes({MakeRecord("Anna", "", 1), MakeRecord("Bert", "", 2)}));
  ASSERT_TRUE(LoadHallOfFame());
  Record("anna", 3);  // the same player, typed in another letter case
  const ScoreRecord anna = Slots[1];
  ASSERT_EQ(RecordName(anna), QStringLiteral("anna"));
  WriteFile(Bytes({MakeRecord("Anna", "", 1), MakeRecord("Bert", "", 4)}));  // another copy
  ASSERT_TRUE(SaveHallOfFame());
  EXPECT_EQ(ReadFile(), Bytes({MakeRecord("Bert", "", 4), anna}));
}

// With 100 stored players a new name takes slot 100 (whoever is stored there
// is lost), and the merge never drops a record this run made, however low.
TEST_F(GuardTest, ANewcomerInAFullTableIsSaved) {
  std::vector<ScoreRecord> hundred;
  for (int i = 0; i < 100; ++i) hundred.push_back(MakeRecord(PlayerName(i), "", 2));
  hundred[99] = MakeRecord("P99", "", 3);  // slot 100 is lost, whatever its score
  WriteFile(Bytes(hundred));
  ASSERT_TRUE(LoadHallOfFame());
  Record("New", 1);  // total 1, the lowest of all
  ASSERT_TRUE(SaveHallOfFame());
  std::vector<ScoreRecord> expected(hundred.begin(), hundred.begin() + 99);  // P99 is gone
  ScoreRecord newcomer = MakeRecord("New", "", 1, Slots[100].date);
  expected.push_back(newcomer);
  EXPECT_EQ(ReadFile(), Bytes(expected));

  // Another copy added a player meanwhile: 101 players; the lowest of the
  // others goes, never this run's.
  ResetHallOfFame();
  std::vector<ScoreRecord> ninetyNine(hundred.begin(), hundred.begin() + 99);
  ninetyNine[50] = MakeRecord("Low", "", 1);
  WriteFile(Bytes(ninetyNine));
  ASSERT_TRUE(LoadHallOfFame());
  Record("Mine", 1);
  const ScoreRecord mine = Slots[100];
  std::vector<ScoreRecord> theirs = ninetyNine;
  theirs.push_back(MakeRecord("Top", "", 5));
  WriteFile(Bytes(theirs));
  ASSERT_TRUE(SaveHallOfFame());
  // The exchange sort, worked by hand: Top (5) swaps with P0 at rank 1; Low
  // (1) moves down past every player of 2 after it, P0 among them; Mine (1)
  // stays last. Of the 101, Low goes: the lowest that this run did not make.
  std::vector<ScoreRecord> ranked = {MakeRecord("Top", "", 5)};
  for (int i = 1; i < 99; ++i)
    if (i != 50) ranked.push_back(ninetyNine[size_t(i)]);
  ranked.push_back(ninetyNine[0]);
  ranked.push_back(mine);
  EXPECT_EQ(ReadFile(), Bytes(ranked));
}

// A save that records nothing leaves the file byte for byte as it was (and
// does not write it at all), even when its order is not the ranked one.
TEST_F(GuardTest, ASaveThatRecordsNothingLeavesTheFileAlone) {
  const QByteArray unranked =
      Bytes({MakeRecord("Anna", "", 1), MakeRecord("Bert", "", 5), MakeRecord("Cees", "", 3)});
  WriteFile(unranked);
  const struct stat before = Stat("ZamScores");
  ASSERT_TRUE(LoadHallOfFame());
  ASSERT_TRUE(SaveHallOfFame());
  EXPECT_EQ(ReadFile(), unranked);
  EXPECT_EQ(Stat("ZamScores").st_ino, before.st_ino);  // not even rewritten
  // A recorded result ranks the merged table.
  Record("Dirk", 2);
  const ScoreRecord dirk = Slots[4];
  ASSERT_TRUE(SaveHallOfFame());
  EXPECT_EQ(ReadFile(), Bytes({MakeRecord("Bert", "", 5), MakeRecord("Cees", "", 3), dirk,
                               MakeRecord("Anna", "", 1)}));
}

// ---- modes, owners, sizes -------------------------------------------------------------

// Root replaces another user's file, and the owner stays.
TEST_F(GuardTest, RootKeepsTheOwner) {
  if (!Root()) GTEST_SKIP() << "needs root to give files to another user";
  const uid_t other = FreeId();
  WriteFile(Bytes({MakeRecord("Anna", "", 1)}));
  ASSERT_EQ(chown("ZamScores", other, other), 0);
  ASSERT_EQ(chmod("ZamScores", 0644), 0);
  ASSERT_TRUE(LoadHallOfFame());
  Record("Bert", 2);
  ASSERT_TRUE(SaveHallOfFame());
  EXPECT_EQ(ReadFile().size(), 2 * 56);
  EXPECT_EQ(Stat("ZamScores").st_uid, other);
  EXPECT_EQ(Stat("ZamScores").st_gid, gid_t(other));
}

// A partial record at the end is kept in the backup before the save drops it.
TEST_F(GuardTest, APartialRecordIsBackedUpBeforeItIsDropped) {
  const QByteArray whole = Bytes({MakeRecord("Anna", "", 1), MakeRecord("Bert", "", 2)});
  const QByteArray original = whole + RecordBytes("Cees", "", 3).left(30);
  WriteFile(original);
  ASSERT_TRUE(LoadHallOfFame());
  EXPECT_EQ(EntryCount, 2);
  ASSERT_TRUE(SaveHallOfFame());
  EXPECT_EQ(ReadFile(), whole);
  EXPECT_EQ(ReadFile("ZamScores.bak"), original);
}

// A file of exactly 10,000 records is read; one of 10,001 is kept as it is.
TEST_F(GuardTest, TenThousandRecordsAreReadOneMoreIsRefused) {
  const QByteArray record = RecordBytes("Anna", "", 1);
  for (int count : {10000, 10001}) {
    SCOPED_TRACE(count);
    InTempFolder folder;
    ResetHallOfFame();
    QByteArray bytes;
    bytes.reserve(count * 56);
    for (int i = 0; i < count; ++i) bytes += record;
    WriteFile(bytes);
    CatchStderr err;
    EXPECT_EQ(LoadHallOfFame(), count == 10000);
    EXPECT_EQ(EntryCount, count == 10000 ? 100 : 0);
    Record("Bert", 2);
    EXPECT_EQ(SaveHallOfFame(), count == 10000);
    err.Stop();
    if (count == 10001) {
      EXPECT_EQ(ReadFile(), bytes);
    }
  }
}

// ---- where the player looks ----------------------------------------------------------

class WarningTest : public ShellTest {
 protected:
  void SetUp() override { ResetHallOfFame(); }
  void TearDown() override {
    ShellTest::TearDown();
    ResetHallOfFame();
  }
  InTempFolder folder;
};

// A run whose results will not be saved says so once on standard error and
// once in the window, at start; the save at the end adds nothing.
TEST_F(WarningTest, SaidAtStartOnceInTheWindowAndOnceOnStderr) {
  struct {
    const char* what;
    void (*make)();
  } cases[] = {
      {"a pipe", [] { ASSERT_EQ(mkfifo("ZamScores", 0644), 0); }},
      {"no hall of fame", [] { WriteFile("my notes\n"); }},
      {"read-only", [] {
         WriteFile(Bytes({MakeRecord("Anna", "", 1)}));
         ASSERT_EQ(chmod("ZamScores", 0444), 0);
       }},
      {"a folder", [] { ASSERT_TRUE(QDir().mkdir(QStringLiteral("ZamScores"))); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    InTempFolder folder;
    ResetHallOfFame();
    c.make();
    CatchStderr err;
    ShellTest::SetUp();  // the window loads the file twice at start
    QMessageBox* box = WarnAboutHallOfFame(form.get());
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->text(), HallOfFameWarning());
    EXPECT_TRUE(box->text().contains(QStringLiteral("niet bewaard")));
    box->close();
    QApplication::processEvents();
    form.reset();  // the save at exit
    EXPECT_EQ(Lines(err.Stop()), 1) << err.Stop();
  }
  // A file that will be saved: nothing to say.
  InTempFolder fine;
  ResetHallOfFame();
  WriteFile(Bytes({MakeRecord("Anna", "", 1)}));
  CatchStderr err;
  ShellTest::SetUp();
  EXPECT_EQ(WarnAboutHallOfFame(form.get()), nullptr);
  EXPECT_TRUE(HallOfFameWarning().isEmpty());
  form.reset();
  EXPECT_EQ(err.Stop(), "");
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

// ---- another user in a shared folder ---------------------------------------------------

// A copy of the program (the probe: the real window, a player winning game 1)
// started as another user in `dir`, with its standard error in `err` and the
// umask given. Its home and runtime folders lie in the test's folder. Root
// only. The process, or -1.
pid_t StartProbeAs(uid_t uid, gid_t gid, const std::vector<gid_t>& groups, const char* dir,
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

int RunProbeAs(uid_t uid, gid_t gid, const std::vector<gid_t>& groups, const char* dir,
               const char* player, const char* err, mode_t mask = 022) {
  const pid_t pid = StartProbeAs(uid, gid, groups, dir, player, err, mask);
  return pid < 0 ? -2 : WaitFor(pid, 30);
}

std::string Text(const char* path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class SharedFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!Root()) GTEST_SKIP() << "needs root to act as other users";
    ResetHallOfFame();
    anna = FreeId(0);
    bert = FreeId(1);
    group = gid_t(FreeId(2));
    ASSERT_TRUE(anna && bert && group);
    ASSERT_EQ(chmod(".", 0711), 0);  // the test's folder: a way through for the players
    ASSERT_TRUE(QDir().mkdir(QStringLiteral("shared")));
    ASSERT_EQ(chown("shared", anna, group), 0);
    ASSERT_EQ(chmod("shared", 0777), 0);
  }
  void TearDown() override { ResetHallOfFame(); }
  void GiveToAnna(const char* path, mode_t mode) {
    ASSERT_EQ(chown(path, anna, group), 0);
    ASSERT_EQ(chmod(path, mode), 0);
  }
  InTempFolder folder;
  uid_t anna = 0, bert = 0;
  gid_t group = 0;
};

// Anna's score file, which Bert may not write: left as it is, its owner kept,
// Bert told at start and his result kept aside.
TEST_F(SharedFolder, AFileTheUserMayNotWriteIsLeftAlone) {
  const QByteArray annas = Bytes({MakeRecord("Anna", "", 2)});
  WriteFile(annas, "shared/ZamScores");
  GiveToAnna("shared/ZamScores", 0644);
  EXPECT_EQ(RunProbeAs(bert, bert, {}, "shared", "Bert", "err.txt"), 0) << Text("err.txt");
  EXPECT_EQ(ReadFile("shared/ZamScores"), annas);
  EXPECT_EQ(Stat("shared/ZamScores").st_uid, anna);
  // Bert's result is kept aside, in a file only Bert may read.
  const QString aside = KeptAsideName(bert);
  EXPECT_EQ(Entries(QStringLiteral("shared")), (QStringList{QStringLiteral("ZamScores"), aside}));
  const std::string path = "shared/" + aside.toStdString();
  EXPECT_EQ(Stat(path.c_str()).st_uid, bert);
  EXPECT_EQ(Stat(path.c_str()).st_mode & 07777, 0600u);
  EXPECT_EQ(ReadFile(path.c_str()).mid(0, 5), QByteArray("\x04" "Bert"));
  EXPECT_EQ(Lines(Text("err.txt")), 2) << Text("err.txt");
}

// A folder the player may not write: said at start, nothing is made, and the
// save names the result it could not keep.
TEST_F(SharedFolder, AFolderTheUserMayNotWriteIsSaidAtStart) {
  ASSERT_EQ(chmod("shared", 0755), 0);  // Anna's
  EXPECT_EQ(RunProbeAs(bert, bert, {}, "shared", "Bert", "err.txt"), 0) << Text("err.txt");
  // At start; and at the save, which can keep nothing aside there, the
  // result that is lost.
  EXPECT_EQ(Lines(Text("err.txt")), 2) << Text("err.txt");
  EXPECT_NE(Text("err.txt").find("folder"), std::string::npos) << Text("err.txt");
  EXPECT_NE(Text("err.txt").find("not saved: Bert"), std::string::npos) << Text("err.txt");
  EXPECT_TRUE(Entries(QStringLiteral("shared")).isEmpty());
}

// A folder shared by a group: Anna's file and lock may be written by the
// group (Anna's umask 002), or only the file (her lock made with umask 022).
// Bert's result is saved either way; the file keeps its owner and mode.
TEST_F(SharedFolder, EveryoneWhoMayWriteTheFileSaves) {
  for (mode_t lockMode : {0664, 0644}) {
    SCOPED_TRACE(lockMode);
    WriteFile(Bytes({MakeRecord("Anna", "", 2)}), "shared/ZamScores");
    GiveToAnna("shared/ZamScores", 0664);
    WriteFile("", "shared/ZamScores.lock");
    GiveToAnna("shared/ZamScores.lock", lockMode);
    EXPECT_EQ(RunProbeAs(bert, bert, {group}, "shared", "Bert", "err.txt"), 0) << Text("err.txt");
    const QByteArray file = ReadFile("shared/ZamScores");
    ASSERT_EQ(file.size(), 2 * 56) << Text("err.txt");
    EXPECT_EQ(file.left(56), RecordBytes("Anna", "", 2));
    EXPECT_EQ(file.mid(57, 4), QByteArray("Bert"));
    EXPECT_EQ(Stat("shared/ZamScores").st_uid, anna);
    EXPECT_EQ(Stat("shared/ZamScores").st_mode & 07777, 0664u);
    EXPECT_EQ(Text("err.txt").find("zam:"), std::string::npos) << Text("err.txt");
    ASSERT_TRUE(QFile::remove(QStringLiteral("shared/ZamScores")));
    ASSERT_TRUE(QFile::remove(QStringLiteral("shared/ZamScores.lock")));
  }
  // A first save in the shared folder makes a lock the others may open.
  const mode_t previous = umask(002);
  const int status = RunProbeAs(anna, group, {group}, "shared", "Anna", "err.txt");
  umask(previous);
  EXPECT_EQ(status, 0) << Text("err.txt");
  EXPECT_EQ(Stat("shared/ZamScores.lock").st_mode & 07777, Stat("shared/ZamScores").st_mode & 0666);
  EXPECT_EQ(RunProbeAs(bert, bert, {group}, "shared", "Bert", "err.txt"), 0) << Text("err.txt");
  EXPECT_EQ(ReadFile("shared/ZamScores").size(), 2 * 56) << Text("err.txt");
}

// ---- a class's folder ---------------------------------------------------------------

// The level of game 1 of each player in a score file, read by the tests' own
// reading of the layout.
std::map<std::string, int> Game1Levels(const QByteArray& file) {
  std::map<std::string, int> levels;
  for (int i = 0; i + 56 <= file.size(); i += 56)
    levels[std::string(file.constData() + i + 1, size_t(uint8_t(file[i])))] =
        uint8_t(file[i + 32]) & 7;
  return levels;
}

class ClassFolder : public SharedFolder {
 protected:
  void SetUp() override {
    SharedFolder::SetUp();
    if (IsSkipped()) return;
    ASSERT_TRUE(QDir().mkdir(QStringLiteral("class")));
    ASSERT_EQ(chown("class", 0, group), 0);
    ASSERT_EQ(chmod("class", 02775), 0);  // as a teacher makes it
  }
  QStringList KeptAside() {
    return QDir(QStringLiteral("class")).entryList({QStringLiteral("ZamScores.unsaved-*")},
                                                    QDir::Files | QDir::System);
  }
};

// Two players of the group with Debian's default umask 022 finish at the
// same moment in a new class folder, three rounds: both results are in the
// file, which the group may write, as may it the lock; nothing kept aside.
TEST_F(ClassFolder, TwoPlayersWithTheDefaultUmaskShareIt) {
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    for (const char* name : {"ZamScores", "ZamScores.lock"})
      QFile::remove(QStringLiteral("class/") + QString::fromLatin1(name));
    const pid_t a = StartProbeAs(anna, anna, {group}, "class", "Anna", "err-a.txt", 022);
    const pid_t b = StartProbeAs(bert, bert, {group}, "class", "Bert", "err-b.txt", 022);
    ASSERT_GT(a, 0);
    ASSERT_GT(b, 0);
    EXPECT_EQ(WaitFor(a, 30), 0);
    EXPECT_EQ(WaitFor(b, 30), 0);
    EXPECT_EQ(Game1Levels(ReadFile("class/ZamScores")),
              (std::map<std::string, int>{{"Anna", 1}, {"Bert", 1}}))
        << Text("err-a.txt") << Text("err-b.txt");
    for (const char* path : {"class/ZamScores", "class/ZamScores.lock"}) {
      EXPECT_EQ(Stat(path).st_mode & 0060, 0060u) << path;
      EXPECT_EQ(Stat(path).st_gid, group) << path;
    }
    EXPECT_TRUE(KeptAside().isEmpty());
  }
}

// Anna's private lock (made with umask 077) beside her group-writable file:
// Bert cannot lock, so his result is kept aside, in a file only he may read;
// Anna's next run gives the lock the file's mode; Bert's next save then
// merges what was kept aside.
TEST_F(ClassFolder, APrivateLockStrandsNobody) {
  WriteFile(Bytes({MakeRecord("Cees", "", 3)}), "class/ZamScores");
  ASSERT_EQ(chown("class/ZamScores", anna, group), 0);
  ASSERT_EQ(chmod("class/ZamScores", 0664), 0);
  WriteFile("", "class/ZamScores.lock");
  ASSERT_EQ(chown("class/ZamScores.lock", anna, group), 0);
  ASSERT_EQ(chmod("class/ZamScores.lock", 0600), 0);
  EXPECT_EQ(RunProbeAs(bert, bert, {group}, "class", "Bert", "err.txt"), 0);
  EXPECT_EQ(Game1Levels(ReadFile("class/ZamScores")), (std::map<std::string, int>{{"Cees", 3}}));
  const std::string aside = "class/" + KeptAsideName(bert).toStdString();
  EXPECT_EQ(Stat(aside.c_str()).st_mode & 07777, 0600u) << Text("err.txt");
  EXPECT_EQ(Stat(aside.c_str()).st_uid, bert);
  EXPECT_NE(Text("err.txt").find("Bert"), std::string::npos) << Text("err.txt");

  EXPECT_EQ(RunProbeAs(anna, anna, {group}, "class", "Anna", "err.txt", 077), 0);
  EXPECT_EQ(Stat("class/ZamScores.lock").st_mode & 07777, 0664u);
  // Bert plays again (as his sister Dora): his save takes in what he kept aside.
  EXPECT_EQ(RunProbeAs(bert, bert, {group}, "class", "Dora", "err.txt"), 0) << Text("err.txt");
  EXPECT_EQ(Game1Levels(ReadFile("class/ZamScores")),
            (std::map<std::string, int>{{"Anna", 1}, {"Bert", 1}, {"Cees", 3}, {"Dora", 1}}));
  EXPECT_TRUE(KeptAside().isEmpty());
}

// Kept-aside results are merged only by the user who owns them, and only
// from a file nobody else may write: Anna's file holding a forged result
// for Bert, and Bert's own file made writable for the group and forged, are
// neither merged nor removed by Bert's save.
TEST_F(ClassFolder, ForgedKeptAsideResultsAreNotMerged) {
  const QByteArray forged = Bytes({MakeRecord("Bert", "", 5, 46000.0)});
  WriteFile(forged, "class/ZamScores.unsaved-forged");
  ASSERT_EQ(chown("class/ZamScores.unsaved-forged", anna, group), 0);
  ASSERT_EQ(chmod("class/ZamScores.unsaved-forged", 0600), 0);
  const std::string own = "class/" + KeptAsideName(bert).toStdString();
  WriteFile(forged, own.c_str());
  ASSERT_EQ(chown(own.c_str(), bert, group), 0);
  ASSERT_EQ(chmod(own.c_str(), 0660), 0);
  EXPECT_EQ(RunProbeAs(bert, bert, {group}, "class", "Bert", "err.txt"), 0) << Text("err.txt");
  EXPECT_EQ(Game1Levels(ReadFile("class/ZamScores")), (std::map<std::string, int>{{"Bert", 1}}))
      << Text("err.txt");
  EXPECT_EQ(ReadFile("class/ZamScores.unsaved-forged"), forged);
  EXPECT_EQ(ReadFile(own.c_str()), forged);
}

// Another user's file with a second name (a hard link Anna made) is not
// rewritten in place: the rewrite would change the other name too. Bert's
// result is kept aside instead.
TEST_F(ClassFolder, AnotherUsersFileWithASecondNameIsRefused) {
  const QByteArray annas = Bytes({MakeRecord("Anna", "", 2)});
  WriteFile(annas, "class/ZamScores");
  ASSERT_EQ(chown("class/ZamScores", anna, group), 0);
  ASSERT_EQ(chmod("class/ZamScores", 0666), 0);
  ASSERT_EQ(link("class/ZamScores", "class/annas-notes"), 0);
  EXPECT_EQ(RunProbeAs(bert, bert, {group}, "class", "Bert", "err.txt"), 0) << Text("err.txt");
  EXPECT_EQ(ReadFile("class/ZamScores"), annas);
  EXPECT_EQ(Stat("class/ZamScores").st_nlink, 2u);
  EXPECT_NE(Text("err.txt").find("other names"), std::string::npos) << Text("err.txt");
  EXPECT_EQ(KeptAside(), QStringList{KeptAsideName(bert)});
}

}  // namespace
