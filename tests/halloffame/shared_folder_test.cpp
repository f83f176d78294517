// SPDX-License-Identifier: GPL-3.0-or-later
// The score file shared by users: another user's file in a shared folder,
// and a class's folder (group-writable, setgid) where players of the group
// save with any umask, locks never strand anyone, kept-aside results stay
// their owner's, and another user's file with a second name is refused.
// The players are copies of the program run as user numbers no account
// uses, possible for root only: skipped otherwise.
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <map>

#include "halloffame/hall_fixture.h"
#include "halloffame/other_users.h"
#include "halloffame/scorestore.h"

namespace {

using namespace hall;

// ---- another user in a shared folder ---------------------------------------------------

class SharedFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!Root()) GTEST_SKIP() << "needs root to act as other users";
    anna = FreeId(0);
    bert = FreeId(1);
    group = gid_t(FreeId(2));
    ASSERT_TRUE(anna && bert && group);
    ASSERT_EQ(chmod(".", 0711), 0);  // the test's folder: a way through for the players
    ASSERT_TRUE(QDir().mkdir(QStringLiteral("shared")));
    ASSERT_EQ(chown("shared", anna, group), 0);
    ASSERT_EQ(chmod("shared", 0777), 0);
  }
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
  ASSERT_EQ(chmod("class/ZamScores.unsaved-forged", 0644), 0);  // Bert may read it
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

// A new lock is never seen by the others as its maker's private file: while
// Anna (umask 022) makes the lock of the class folder again and again, Bert
// opens it as fast as he can and is never refused. A lock made in place and
// given the group's rights just after was refused now and then when two
// players finished at the same moment.
TEST_F(ClassFolder, ANewLockIsNeverSeenPrivate) {
  int done[2];
  ASSERT_EQ(pipe2(done, O_CLOEXEC), 0);
  const pid_t opener = fork();
  ASSERT_GE(opener, 0);
  if (opener == 0) {  // Bert: opens until Anna is done; the times he was refused
    close(done[1]);
    fcntl(done[0], F_SETFL, O_NONBLOCK);
    const gid_t groups[] = {group};
    if (setgroups(1, groups) != 0 || setresgid(bert, bert, bert) != 0 ||
        setresuid(bert, bert, bert) != 0)
      _exit(126);
    int refused = 0;
    char byte;
    while (read(done[0], &byte, 1) < 0) {
      const int fd = open("class/ZamScores.lock", O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
      if (fd >= 0) close(fd);
      else if (errno == EACCES) ++refused;
    }
    _exit(refused > 0 ? 1 : 0);
  }
  close(done[0]);
  const pid_t maker = fork();
  ASSERT_GE(maker, 0);
  if (maker == 0) {  // Anna: makes the lock, drops it, 3000 times
    umask(022);
    const gid_t groups[] = {group};
    if (setgroups(1, groups) != 0 || setresgid(anna, anna, anna) != 0 ||
        setresuid(anna, anna, anna) != 0)
      _exit(126);
    scorestore::TPlace place;
    place.dir = open("class", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    place.base = "ZamScores";
    const scorestore::TFileState none;
    std::string why;
    for (int i = 0; i < 3000; ++i) {
      const int fd = scorestore::OpenLock(place, none, why);
      if (fd < 0) _exit(1);
      close(fd);
      if (unlinkat(place.dir, "ZamScores.lock", 0) != 0) _exit(2);
    }
    _exit(0);
  }
  EXPECT_EQ(WaitFor(maker, 120), 0);
  close(done[1]);
  EXPECT_EQ(WaitFor(opener, 30), 0) << "Bert found the new lock private";
  EXPECT_TRUE(Entries(QStringLiteral("class")).isEmpty()) << Entries(QStringLiteral("class")).join(' ').toStdString();
}

}  // namespace
