// SPDX-License-Identifier: GPL-3.0-or-later
// What the score file promises, each against its abuse: files that are no
// hall of fame, links planted by somebody else, files of other users,
// backups, the merge, a full table, and a save that records nothing; and
// where the player is told. The lock and kept-aside results are tested in
// lock_test.cpp, other users' folders in shared_folder_test.cpp.
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
#include "halloffame/other_users.h"
#include "shell/shell_fixture.h"

extern char** environ;

namespace {

using namespace hall;
using Clock = std::chrono::steady_clock;

// ---- files that are no hall of fame --------------------------------------------------

class GuardTest : public HallFixture {};

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
    hall = THallOfFame();
    WriteFile(c.bytes);
    ASSERT_EQ(chmod("ZamScores", 0640), 0);
    CatchStderr err;
    EXPECT_FALSE(hall.Load());
    EXPECT_EQ(hall.Ranking().Count(), 0);
    EXPECT_FALSE(hall.Warning().isEmpty());
    Record("Bert", 2);
    const ScoreRecord bert = hall.Ranking().Slot(1);
    EXPECT_FALSE(hall.Save());
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
  hall = THallOfFame();
  const QByteArray mixed = Bytes({bad, MakeRecord("Cees", "", 3)}) + QByteArray(9, 'x');
  WriteFile(mixed);
  EXPECT_TRUE(hall.Load());
  EXPECT_TRUE(hall.Warning().isEmpty());
  Record("Bert", 2);
  ASSERT_TRUE(hall.Save());
  EXPECT_EQ(ReadFile(), Bytes({MakeRecord("Cees", "", 3), hall.Ranking().Slot(2)}));
  EXPECT_EQ(ReadFile("ZamScores.bak"), mixed);
}

// An empty file is an empty hall of fame.
TEST_F(GuardTest, AnEmptyFileIsAHallOfFame) {
  WriteFile(QByteArray());
  EXPECT_TRUE(hall.Load());
  EXPECT_TRUE(hall.Warning().isEmpty());
  Record("Anna", 1);
  ASSERT_TRUE(hall.Save());
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
    hall = THallOfFame();
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
    EXPECT_EQ(hall.Load(), c.followed);
    EXPECT_EQ(hall.Warning().isEmpty(), c.followed);
    Record("Bert", 2);
    EXPECT_EQ(hall.Save(), c.followed);
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
  ASSERT_TRUE(hall.Load());
  Record("Bert", 2);
  CatchStderr err;
  EXPECT_FALSE(hall.Save());
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
    hall = THallOfFame();
    damaged.push_back(Bytes({MakeRecord(PlayerName(save), "", 1), bad}));
    WriteFile(damaged.back());
    ASSERT_TRUE(hall.Load());
    ASSERT_TRUE(hall.Save()) << save;
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
  ASSERT_TRUE(hall.Load());
  Record("Fred", 1);
  const ScoreRecord fred = hall.Ranking().Slot(2);
  CatchStderr err;
  ASSERT_TRUE(hall.Save());
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

// ---- the merge -------------------------------------------------------------------------

// A player already in the file who plays again keeps this run's result, while
// the players another copy saved meanwhile keep theirs.
TEST_F(GuardTest, APlayerWhoPlaysAgainKeepsThisRunsResult) {
  WriteFile(Bytes({MakeRecord("Anna", "", 1), MakeRecord("Bert", "", 2)}));
  ASSERT_TRUE(hall.Load());
  Record("anna", 3);  // the same player, typed in another letter case
  const ScoreRecord anna = hall.Ranking().Slot(1);
  ASSERT_EQ(RecordName(anna), QStringLiteral("anna"));
  WriteFile(Bytes({MakeRecord("Anna", "", 1), MakeRecord("Bert", "", 4)}));  // another copy
  ASSERT_TRUE(hall.Save());
  EXPECT_EQ(ReadFile(), Bytes({MakeRecord("Bert", "", 4), anna}));
}

// With 100 stored players a new name takes slot 100 (whoever is stored there
// is lost), and the merge never drops a record this run made, however low.
TEST_F(GuardTest, ANewcomerInAFullTableIsSaved) {
  std::vector<ScoreRecord> hundred;
  for (int i = 0; i < 100; ++i) hundred.push_back(MakeRecord(PlayerName(i), "", 2));
  hundred[99] = MakeRecord("P99", "", 3);  // slot 100 is lost, whatever its score
  WriteFile(Bytes(hundred));
  ASSERT_TRUE(hall.Load());
  Record("New", 1);  // total 1, the lowest of all
  ASSERT_TRUE(hall.Save());
  std::vector<ScoreRecord> expected(hundred.begin(), hundred.begin() + 99);  // P99 is gone
  ScoreRecord newcomer = MakeRecord("New", "", 1, hall.Ranking().Slot(100).date);
  expected.push_back(newcomer);
  EXPECT_EQ(ReadFile(), Bytes(expected));

  // Another copy added a player meanwhile: 101 players; the lowest of the
  // others goes, never this run's.
  hall = THallOfFame();
  std::vector<ScoreRecord> ninetyNine(hundred.begin(), hundred.begin() + 99);
  ninetyNine[50] = MakeRecord("Low", "", 1);
  WriteFile(Bytes(ninetyNine));
  ASSERT_TRUE(hall.Load());
  Record("Mine", 1);
  const ScoreRecord mine = hall.Ranking().Slot(100);
  std::vector<ScoreRecord> theirs = ninetyNine;
  theirs.push_back(MakeRecord("Top", "", 5));
  WriteFile(Bytes(theirs));
  ASSERT_TRUE(hall.Save());
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
  ASSERT_TRUE(hall.Load());
  ASSERT_TRUE(hall.Save());
  EXPECT_EQ(ReadFile(), unranked);
  EXPECT_EQ(Stat("ZamScores").st_ino, before.st_ino);  // not even rewritten
  // A recorded result ranks the merged table.
  Record("Dirk", 2);
  const ScoreRecord dirk = hall.Ranking().Slot(4);
  ASSERT_TRUE(hall.Save());
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
  ASSERT_TRUE(hall.Load());
  Record("Bert", 2);
  ASSERT_TRUE(hall.Save());
  EXPECT_EQ(ReadFile().size(), 2 * 56);
  EXPECT_EQ(Stat("ZamScores").st_uid, other);
  EXPECT_EQ(Stat("ZamScores").st_gid, gid_t(other));
}

// A partial record at the end is kept in the backup before the save drops it.
TEST_F(GuardTest, APartialRecordIsBackedUpBeforeItIsDropped) {
  const QByteArray whole = Bytes({MakeRecord("Anna", "", 1), MakeRecord("Bert", "", 2)});
  const QByteArray original = whole + RecordBytes("Cees", "", 3).left(30);
  WriteFile(original);
  ASSERT_TRUE(hall.Load());
  EXPECT_EQ(hall.Ranking().Count(), 2);
  ASSERT_TRUE(hall.Save());
  EXPECT_EQ(ReadFile(), whole);
  EXPECT_EQ(ReadFile("ZamScores.bak"), original);
}

// A file of exactly 10,000 records is read; one of 10,001 is kept as it is.
TEST_F(GuardTest, TenThousandRecordsAreReadOneMoreIsRefused) {
  const QByteArray record = RecordBytes("Anna", "", 1);
  for (int count : {10000, 10001}) {
    SCOPED_TRACE(count);
    InTempFolder folder;
    hall = THallOfFame();
    QByteArray bytes;
    bytes.reserve(count * 56);
    for (int i = 0; i < count; ++i) bytes += record;
    WriteFile(bytes);
    CatchStderr err;
    EXPECT_EQ(hall.Load(), count == 10000);
    EXPECT_EQ(hall.Ranking().Count(), count == 10000 ? 100 : 0);
    Record("Bert", 2);
    EXPECT_EQ(hall.Save(), count == 10000);
    err.Stop();
    if (count == 10001) {
      EXPECT_EQ(ReadFile(), bytes);
    }
  }
}

// ---- where the player looks ----------------------------------------------------------

class WarningTest : public ShellTest {
 protected:
  void SetUp() override {}  // the window comes once the test has made its files
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
    c.make();
    CatchStderr err;
    ShellTest::SetUp();  // the window loads the file twice at start
    QMessageBox* box = form->HallOfFame().WarnAbout(form.get());
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->text(), form->HallOfFame().Warning());
    EXPECT_TRUE(box->text().contains(QStringLiteral("niet bewaard")));
    box->close();
    QApplication::processEvents();
    form.reset();  // the save at exit
    EXPECT_EQ(Lines(err.Stop()), 1) << err.Stop();
  }
  // A file that will be saved: nothing to say.
  InTempFolder fine;
  WriteFile(Bytes({MakeRecord("Anna", "", 1)}));
  CatchStderr err;
  ShellTest::SetUp();
  EXPECT_EQ(form->HallOfFame().WarnAbout(form.get()), nullptr);
  EXPECT_TRUE(form->HallOfFame().Warning().isEmpty());
  form.reset();
  EXPECT_EQ(err.Stop(), "");
}

// Results an earlier run kept aside are told once at start, in the window,
// with the players and the file; the save at the end takes them in and
// removes the file.
TEST_F(WarningTest, ResultsKeptAsideAreToldAtTheNextStart) {
  WriteFile(Bytes({MakeRecord("Anna", "", 3)}));
  const QByteArray aside = KeptAsideName().toLatin1();
  const ScoreRecord bert = MakeRecord("Bert", "", 2, 46000.0);
  WriteFile(Bytes({bert}), aside.constData());
  ASSERT_EQ(chmod(aside.constData(), 0600), 0);
  CatchStderr err;
  ShellTest::SetUp();  // the window loads the file twice at start
  QMessageBox* box = form->HallOfFame().WarnAbout(form.get());
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->isVisible());
  EXPECT_TRUE(box->text().contains(QStringLiteral("Bert"))) << box->text().toStdString();
  EXPECT_TRUE(box->text().contains(KeptAsideName())) << box->text().toStdString();
  box->close();
  QApplication::processEvents();
  form.reset();  // the save at exit
  EXPECT_EQ(Lines(err.Stop()), 0) << err.Stop();
  EXPECT_EQ(ReadFile(), Bytes({MakeRecord("Anna", "", 3), bert}));
  EXPECT_FALSE(QFile::exists(KeptAsideName()));
}

// Kept-aside results and no score file yet: the name list after start holds
// their players and nothing else, although the window loads twice.
TEST_F(WarningTest, KeptAsideResultsWithoutAFileListTheirPlayersOnly) {
  const QByteArray aside = KeptAsideName().toLatin1();
  const ScoreRecord bert = MakeRecord("Bert", "", 2, 46000.0);
  WriteFile(Bytes({bert}), aside.constData());
  ASSERT_EQ(chmod(aside.constData(), 0600), 0);
  CatchStderr err;
  ShellTest::SetUp();
  QStringList listed;
  for (int i = 0; i < form->namebox->count(); ++i) listed << form->namebox->itemText(i);
  EXPECT_EQ(listed, QStringList{QStringLiteral("Bert")});
  form.reset();  // the save at exit
  EXPECT_EQ(ReadFile(), Bytes({bert}));
}

}  // namespace
