// SPDX-License-Identifier: GPL-3.0-or-later
// Another user's score file rewritten in place: a write, truncate or sync
// that fails after any number of bytes, or the program killed there, never
// loses or doubles a player: the old file is back at once, or the new one
// is whole (completed from the journal at the next start). Also under a
// real file-size limit and on a real full filesystem (root only).
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <map>

#include <QFileInfo>

#include "halloffame/child_process.h"
#include "halloffame/hall_fixture.h"
#include "halloffame/rewrite.h"

using namespace scorestore;

namespace {

std::vector<ScoreRecord> Players(int from, int count, uint32_t level = 1) {
  std::vector<ScoreRecord> out;
  for (int i = from; i < from + count; ++i) out.push_back(MakeRecord(PlayerName(i), "", level));
  return out;
}

std::vector<uint8_t> Raw(const std::vector<ScoreRecord>& records) {
  const QByteArray b = Bytes(records);
  return std::vector<uint8_t>(b.begin(), b.end());
}

// How often each name occurs in the file's valid records, read by the
// tests' own reading of the layout.
std::map<std::string, int> NameCounts(const QByteArray& file) {
  std::map<std::string, int> counts;
  for (int i = 0; i + 56 <= file.size(); i += 56)
    ++counts[std::string(file.constData() + i + 1, size_t(uint8_t(file[i])))];
  return counts;
}

std::vector<std::string> JournalsLeft() {
  std::vector<std::string> out;
  for (const QString& n : QDir().entryList({QStringLiteral("ZamScores.journal.*")}, QDir::Files))
    out.push_back(n.toStdString());
  return out;
}

// A folder of the test's own, in memory where the machine has one, so that
// thousands of synced rewrites take seconds rather than minutes.
class InMemoryFolder {
 public:
  InMemoryFolder()
      : dir_(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                 ? QStringLiteral("/dev/shm/zam-rewrite-XXXXXX")
                 : QDir::tempPath() + QStringLiteral("/zam-rewrite-XXXXXX")),
        previous_(QDir::currentPath()) {
    QDir::setCurrent(dir_.path());
  }
  ~InMemoryFolder() { QDir::setCurrent(previous_); }

 private:
  QTemporaryDir dir_;
  QString previous_;
};

class RewriteTest : public ::testing::Test {
 protected:
  InMemoryFolder folder;
  TRewriteFault fault;  // what the next rewrite meets
  THallOfFame hall;     // the program's, for what it loads after a rewrite

  // Writes `old` as the score file and rewrites it in place to `now`.
  TRewrite Rewrite(const std::vector<ScoreRecord>& old, const std::vector<ScoreRecord>& now) {
    WriteFile(Bytes(old));
    TPlace place;
    std::string why;
    EXPECT_EQ(Locate(place, why), TRefusal::kNone);
    TFileState f = ReadScoreFile(place);
    return RewriteInPlace(place, f, Raw(now), why, fault);
  }
};

// Every step failing after every number of bytes, for a table of 30 and one
// of 100 players, growing, shrinking and re-ranked.
TEST_F(RewriteTest, AFaultAfterAnyByteLeavesTheOldFileOrTheNewWhole) {
  struct Table {
    const char* what;
    std::vector<ScoreRecord> old, now;
  };
  std::vector<ScoreRecord> reranked = Players(0, 100);
  std::swap(reranked[0], reranked[99]);
  reranked[0] = MakeRecord("P99", "", 3);
  std::vector<ScoreRecord> grown = Players(0, 30);
  grown.insert(grown.begin(), MakeRecord("New", "", 2));
  const Table tables[] = {
      {"30 players and a newcomer", Players(0, 30), grown},
      {"31 players, one less", grown, Players(0, 30)},
      {"100 players re-ranked", Players(0, 100), reranked},
  };
  int cases = 0, restored = 0, done = 0, lost = 0, doubled = 0, other = 0;
  for (const Table& t : tables) {
    const QByteArray oldBytes = Bytes(t.old), newBytes = Bytes(t.now);
    const size_t most = size_t(std::max(oldBytes.size(), newBytes.size()));
    for (auto step : {TRewriteFault::kWrite, TRewriteFault::kTruncate, TRewriteFault::kSync}) {
      for (size_t n = 0; n <= most + 1; ++n) {
        fault = {step, n, false};
        const TRewrite result = Rewrite(t.old, t.now);
        fault = {};
        ++cases;
        const QByteArray file = ReadFile();
        const auto counts = NameCounts(file);
        const auto& expected = result == TRewrite::kDone ? t.now : t.old;
        for (const ScoreRecord& r : expected) {
          const auto it = counts.find(RecordName(r).toStdString());
          lost += it == counts.end();
          doubled += it != counts.end() && it->second > 1;
        }
        if (result == TRewrite::kDone && file == newBytes) {
          ++done;
        } else if (result == TRewrite::kRestored && file == oldBytes) {
          ++restored;
        } else {
          ++other;
          ADD_FAILURE() << t.what << ", step " << step << " after " << n << " bytes";
        }
        EXPECT_TRUE(JournalsLeft().empty());
      }
    }
  }
  EXPECT_EQ(lost, 0);
  EXPECT_EQ(doubled, 0);
  EXPECT_EQ(other, 0);
  EXPECT_GT(restored, 0);
  std::printf("fault sweep: %d rewrites, %d old file back, %d new file whole, %d lost, %d doubled\n",
              cases, restored, done, lost, doubled);
}

// The program killed after any number of bytes: the journal it leaves makes
// the next start complete the rewrite before it loads the file.
TEST_F(RewriteTest, ARewriteKilledAfterAnyByteIsCompletedAtTheNextStart) {
  std::vector<ScoreRecord> old = Players(0, 30), now = Players(0, 30);
  now.insert(now.begin(), MakeRecord("New", "", 2));
  now.pop_back();  // P29 went
  now.pop_back();  // and P28: a shorter table
  const QByteArray newBytes = Bytes(now);
  int cases = 0, completed = 0;
  for (size_t n = 0; n < size_t(newBytes.size()); n += 7) {
    SCOPED_TRACE(n);
    hall = THallOfFame();
    fault = {TRewriteFault::kWrite, n, true};
    const TRewrite result = Rewrite(old, now);
    fault = {};
    ++cases;
    ASSERT_EQ(result, TRewrite::kPending);
    ASSERT_EQ(JournalsLeft().size(), 1u);
    ASSERT_TRUE(hall.Load());  // the next start
    EXPECT_EQ(ReadFile(), newBytes);
    EXPECT_TRUE(JournalsLeft().empty());
    EXPECT_EQ(hall.Ranking().Count(), now.size());
    completed += ReadFile() == newBytes;
  }
  EXPECT_EQ(completed, cases);
  std::printf("killed rewrites: %d, completed from the journal at the next start: %d\n", cases,
              completed);
}

// A shorter table written in place is cut to its new length: no old bytes
// stay at the end.
TEST_F(RewriteTest, AShorterTableIsCutToItsLength) {
  const std::vector<ScoreRecord> old = Players(0, 3), now = {old[2], old[0]};
  ASSERT_EQ(Rewrite(old, now), TRewrite::kDone);
  EXPECT_EQ(ReadFile(), Bytes(now));
  EXPECT_EQ(ReadFile().size(), 2 * 56);
}

// While another copy holds the lock in the middle of a rewrite, a start
// loads the contents that copy is writing, and leaves the file to it.
TEST_F(RewriteTest, AStartDuringARewriteLoadsWhatIsBeingWritten) {
  std::vector<ScoreRecord> old = Players(0, 5), now = Players(0, 5, 2);
  fault = {TRewriteFault::kWrite, 100, true};
  ASSERT_EQ(Rewrite(old, now), TRewrite::kPending);
  fault = {};
  const QByteArray halfway = ReadFile();
  ASSERT_NE(halfway, Bytes(now));
  const int lock = open("ZamScores.lock", O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
  ASSERT_EQ(flock(lock, LOCK_EX), 0);
  const pid_t pid = fork();  // another process, so that flock conflicts
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    hall = THallOfFame();
    const bool ok = hall.Load() && hall.Ranking().Count() == 5 &&
                    hall.Ranking().Slot(1).levels == 2 && hall.Ranking().Slot(5).levels == 2 &&
                    ReadFile() == halfway;
    _exit(ok ? 0 : 1);
  }
  EXPECT_EQ(WaitFor(pid, 30), 0);
  close(lock);
}

// A journal that is not one, or one for another file, changes nothing.
TEST_F(RewriteTest, AJournalThatDoesNotFitTheFileIsIgnored) {
  const QByteArray old = Bytes(Players(0, 4));
  WriteFile(old);
  WriteFile("ZAMJRNL1 but nothing a rewrite wrote", "ZamScores.journal.AAAAAA");
  ASSERT_TRUE(hall.Load());
  EXPECT_EQ(ReadFile(), old);
  EXPECT_EQ(hall.Ranking().Count(), 4);
}

// ---- real limits, as another user (root only) ------------------------------------

bool Root() { return geteuid() == 0; }

uid_t FreeId(int skip) {
  for (uid_t id = 61000; id < 65000; ++id)
    if (!getpwuid(id) && !getgrgid(gid_t(id)) && skip-- == 0) return id;
  return 0;
}

// Becomes `uid` in `group` (child processes only).
bool Become(uid_t uid, gid_t group) {
  const gid_t groups[] = {group};
  return setgroups(1, groups) == 0 && setresgid(group, group, group) == 0 &&
         setresuid(uid, uid, uid) == 0;
}

// Anna's 30-player file, group-writable, in a folder of the group; Bert, a
// member, finishes a game and saves under a file-size limit of 1024 bytes,
// less than the file: the rewrite fails before anything is changed, and
// Bert's result is kept aside.
TEST(RewriteLimits, AFileSizeLimitChangesNothingAndKeepsTheResultAside) {
  if (!Root()) GTEST_SKIP() << "needs root to act as other users";
  InTempFolder folder;
  const uid_t anna = FreeId(0), bert = FreeId(1);
  const gid_t group = gid_t(FreeId(2));
  ASSERT_EQ(chmod(".", 0775), 0);
  ASSERT_EQ(chown(".", 0, group), 0);
  const QByteArray old = Bytes(Players(0, 30));
  WriteFile(old);
  ASSERT_EQ(chown("ZamScores", anna, group), 0);
  ASSERT_EQ(chmod("ZamScores", 0664), 0);
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    if (!Become(bert, group)) _exit(10);
    std::signal(SIGXFSZ, SIG_IGN);
    const struct rlimit limit = {1024, 1024};
    setrlimit(RLIMIT_FSIZE, &limit);
    THallOfFame hall;
    if (!hall.Load()) _exit(11);
    hall.RecordResult(QStringLiteral("Bert"), QString(), 2);
    _exit(hall.Save() ? 12 : 0);
  }
  const int status = WaitFor(pid, 30);
  ASSERT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadFile(), old);
  EXPECT_TRUE(JournalsLeft().empty());
  const QByteArray aside = ReadFile(KeptAsideName(bert).toLatin1().constData());
  EXPECT_EQ(NameCounts(aside), (std::map<std::string, int>{{"Bert", 1}}));
}

// The same on a real full filesystem: a small tmpfs, mounted in a mount
// namespace of a child process only, inside the test's folder. The file
// needs a page more to grow; one page is left, enough for the kept-aside
// result but not for the journal.
TEST(RewriteLimits, AFullFilesystemChangesNothingAndKeepsTheResultAside) {
  if (!Root()) GTEST_SKIP() << "needs root to mount a small filesystem";
  InTempFolder folder;
  const uid_t anna = FreeId(0), bert = FreeId(1);
  const gid_t group = gid_t(FreeId(2));
  ASSERT_TRUE(QDir().mkdir(QStringLiteral("small")));
  ASSERT_EQ(chmod(".", 0755), 0);
  const QByteArray old = Bytes(Players(0, 73));  // 4088 bytes: one page
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    if (unshare(CLONE_NEWNS) != 0) _exit(77);
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) _exit(77);
    if (mount("tmpfs", "small", "tmpfs", 0, "size=32k,mode=0775") != 0) _exit(77);
    if (chdir("small") != 0 || chown(".", 0, group) != 0) _exit(20);
    WriteFile(old);
    if (chown("ZamScores", anna, group) != 0 || chmod("ZamScores", 0664) != 0) _exit(21);
    // Fill every page, then give one back.
    const int fill = open("filler", O_WRONLY | O_CREAT, 0600);
    char page[4096] = {};
    while (write(fill, page, sizeof page) == ssize_t(sizeof page)) {
    }
    const off_t size = lseek(fill, 0, SEEK_END);
    if (ftruncate(fill, (size / 4096 - 1) * 4096) != 0) _exit(22);
    close(fill);
    const pid_t player = fork();
    if (player == 0) {
      if (!Become(bert, group)) _exit(10);
      THallOfFame hall;
      if (!hall.Load()) _exit(11);
      hall.RecordResult(QStringLiteral("Bert"), QString(), 2);
      _exit(hall.Save() ? 12 : 0);
    }
    int status = 0;
    waitpid(player, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) _exit(30 + WEXITSTATUS(status));
    if (ReadFile() != old) _exit(40);
    if (!JournalsLeft().empty()) _exit(41);
    const QByteArray aside = ReadFile(KeptAsideName(bert).toLatin1().constData());
    if (NameCounts(aside) != std::map<std::string, int>{{"Bert", 1}}) _exit(42);
    _exit(0);
  }
  const int status = WaitFor(pid, 60);
  ASSERT_TRUE(WIFEXITED(status)) << status;
  if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "no mount namespace here";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "see the exit codes in the child";
}

}  // namespace
