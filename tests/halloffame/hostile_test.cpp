// SPDX-License-Identifier: GPL-3.0-or-later
// The score file under hostile conditions, against the real program and
// copies of it running side by side: files that are no files, huge files,
// two copies saving in either order, modes and links, a save cut short, a
// file-size limit.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFileInfo>
#include <chrono>
#include <thread>

#include "halloffame/hall_fixture.h"
#include "halloffame/child_process.h"

extern char** environ;

namespace {



pid_t StartProgram() {
  pid_t pid = 0;
  char path[] = ZAM_BINARY;
  char* args[] = {path, nullptr};
  if (posix_spawn(&pid, path, nullptr, nullptr, args, environ) != 0) return -1;
  return pid;
}

struct stat Stat(const char* path) {
  struct stat st = {};
  lstat(path, &st);
  return st;
}

bool IsKind(const char* path, mode_t kind) { return (Stat(path).st_mode & S_IFMT) == kind; }

bool Root() { return geteuid() == 0; }

QStringList Entries() {
  QStringList all = QDir().entryList(QDir::AllEntries | QDir::System | QDir::Hidden |
                                     QDir::NoDotAndDotDot);
  all.sort();
  return all;
}

// "ZamScores" made hostile from things inside the test's folder only: the
// window comes up, a SIGTERM ends the program normally, and nothing in the
// folder has changed or been added.
struct Hostile {
  const char* name;
  void (*make)();
  bool (*unchanged)();
};

const Hostile kHostile[] = {
    {"named pipe", [] { ASSERT_EQ(mkfifo("ZamScores", 0644), 0); },
     [] { return IsKind("ZamScores", S_IFIFO); }},
    {"socket",
     [] {
       const int s = socket(AF_UNIX, SOCK_STREAM, 0);
       sockaddr_un address = {};
       address.sun_family = AF_UNIX;
       std::strcpy(address.sun_path, "ZamScores");
       ASSERT_EQ(bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
       close(s);
     },
     [] { return IsKind("ZamScores", S_IFSOCK); }},
    {"link to a pipe in the folder",
     [] {
       ASSERT_EQ(mkfifo("pipe", 0644), 0);
       ASSERT_EQ(symlink("pipe", "ZamScores"), 0);
     },
     [] { return IsKind("ZamScores", S_IFLNK) && IsKind("pipe", S_IFIFO); }},
    {"folder", [] { ASSERT_TRUE(QDir().mkdir(QStringLiteral("ZamScores"))); },
     [] { return IsKind("ZamScores", S_IFDIR); }},
    {"4 GiB sparse file",
     [] {
       const int fd = open("ZamScores", O_WRONLY | O_CREAT, 0644);
       ASSERT_GE(fd, 0);
       ASSERT_EQ(ftruncate(fd, off_t(4) << 30), 0);
       close(fd);
     },
     [] { return Stat("ZamScores").st_size == off_t(4) << 30; }},
    {"not a hall of fame", [] { WriteFile("Chapter 1\n"); },
     [] { return ReadFile() == QByteArray("Chapter 1\n"); }},
    // A device node of the test's own, made where mknod may (as root): the
    // null device, so that even a broken refusal could do no harm.
    {"device node",
     [] {
       if (Root()) {
         ASSERT_EQ(mknod("ZamScores", S_IFCHR | 0666, makedev(1, 3)), 0);
       }
     },
     [] { return !Root() || IsKind("ZamScores", S_IFCHR); }},
};


TEST(HostileFiles, TheWindowComesUpAndThePathIsLeftAlone) {
  for (const Hostile& h : kHostile) {
    SCOPED_TRACE(h.name);
    InTempFolder folder;
    h.make();
    const QStringList before = Entries();
    const pid_t pid = StartProgram();
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(WaitUntilCatching(pid, SIGTERM));  // the window is up
    kill(pid, SIGTERM);
    const int status = WaitFor(pid, 15);  // a guard, not a timing target
    ASSERT_NE(status, -1) << "the program hung";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_TRUE(h.unchanged());
    EXPECT_EQ(Entries(), before);
  }
}

// A copy of the program where a player wins game 1 `wins` times; it saves
// when told to end.
class TCopy {
 public:
  TCopy(const char* name, int wins) {
    int in[2], out[2];
    // Close-on-exec, so one copy never holds the other's pipes open.
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, in[1]);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    char path[] = PLAYER_PROBE;
    std::string count = std::to_string(wins);
    std::string player = name;
    char* args[] = {path, player.data(), count.data(), nullptr};
    if (posix_spawn(&pid_, path, &actions, nullptr, args, environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    toChild_ = in[1];
    fromChild_ = out[0];
  }
  ~TCopy() {
    if (pid_ > 0) {
      End();
    }
  }
  // Whether it has played and is waiting to end.
  bool Ready() {
    char buffer[16] = {};
    const ssize_t n = read(fromChild_, buffer, sizeof buffer - 1);
    return n > 0 && std::string(buffer).rfind("ready", 0) == 0;
  }
  int End() {
    close(toChild_);
    const int status = WaitFor(pid_, 20);
    close(fromChild_);
    pid_ = -1;
    return status;
  }

 private:
  pid_t pid_ = -1;
  int toChild_ = -1, fromChild_ = -1;
};

uint32_t LevelOfGame1(const QByteArray& file, const std::string& name) {
  for (int i = 0; i + 56 <= file.size(); i += 56) {
    if (std::string(file.constData() + i + 1, size_t(uint8_t(file[i]))) == name)
      return uint8_t(file[i + 32]) & 7;
  }
  return 99;  // not there
}

TEST(TwoCopies, BothResultsAreKeptInEitherOrder) {
  for (bool annaFirst : {true, false}) {
    SCOPED_TRACE(annaFirst ? "Anna's copy ends first" : "Bert's copy ends first");
    InTempFolder folder;
    WriteFile(Bytes({MakeRecord("Cees", "", 3)}));  // a player neither copy touches
    TCopy anna("Anna", 1), bert("Bert", 2);
    ASSERT_TRUE(anna.Ready());
    ASSERT_TRUE(bert.Ready());
    TCopy& first = annaFirst ? anna : bert;
    TCopy& second = annaFirst ? bert : anna;
    EXPECT_EQ(first.End(), 0);
    EXPECT_EQ(second.End(), 0);
    const QByteArray file = ReadFile();
    EXPECT_EQ(file.size(), 3 * 56);
    EXPECT_EQ(LevelOfGame1(file, "Anna"), 1u);
    EXPECT_EQ(LevelOfGame1(file, "Bert"), 2u);
    EXPECT_EQ(LevelOfGame1(file, "Cees"), 3u);
  }
}

TEST(TwoCopies, TheSamePlayerTakesTheLaterExit) {
  for (bool oneWinLast : {true, false}) {
    InTempFolder folder;
    TCopy once("Anna", 1), twice("Anna", 2);
    ASSERT_TRUE(once.Ready());
    ASSERT_TRUE(twice.Ready());
    (oneWinLast ? twice : once).End();
    (oneWinLast ? once : twice).End();
    const QByteArray file = ReadFile();
    EXPECT_EQ(file.size(), 56);
    EXPECT_EQ(LevelOfGame1(file, "Anna"), oneWinLast ? 1u : 2u);
  }
}

// ---- modes, links, a save cut short ---------------------------------------------

class SaveTest : public HallFixture {
 protected:
  static mode_t Mode(const char* path) {
    struct stat st;
    return stat(path, &st) == 0 ? st.st_mode & 07777 : 0;
  }
};

// Also the modes that differ from what a new temporary file gets (0600).
TEST_F(SaveTest, TheFilesModeIsKept) {
  for (mode_t mode : {0600, 0640, 0664, 0644, 0660}) {
    SCOPED_TRACE(mode);
    InTempFolder inner;
    hall = THallOfFame();
    WriteFile(Bytes({MakeRecord("Anna", "", 1)}));
    ASSERT_EQ(chmod("ZamScores", mode), 0);
    ASSERT_TRUE(hall.Load());
    Record("Bert", 2);
    ASSERT_TRUE(hall.Save());
    EXPECT_EQ(Mode("ZamScores"), mode);
    EXPECT_EQ(ReadFile().size(), 2 * 56);
  }
}

TEST_F(SaveTest, ANewFileFollowsTheUmask) {
  const mode_t previous = umask(077);
  hall.Load();
  Record("Bert", 2);
  const bool saved = hall.Save();
  umask(previous);
  ASSERT_TRUE(saved);
  EXPECT_EQ(Mode("ZamScores"), 0600u);
}

TEST_F(SaveTest, AReadOnlyFileIsNotReplaced) {
  const QByteArray old = Bytes({MakeRecord("Anna", "", 1)});
  WriteFile(old);
  ASSERT_EQ(chmod("ZamScores", 0444), 0);
  ASSERT_TRUE(hall.Load());
  Record("Bert", 2);
  EXPECT_FALSE(hall.Save());
  EXPECT_EQ(ReadFile(), old);
  EXPECT_EQ(Mode("ZamScores"), 0444u);
}

TEST_F(SaveTest, ALinksTargetIsUpdatedAndTheLinkKept) {
  ASSERT_TRUE(QDir().mkdir(QStringLiteral("keep")));
  WriteFile(Bytes({MakeRecord("Anna", "", 1)}), "keep/scores");
  ASSERT_EQ(symlink("keep/scores", "ZamScores"), 0);
  ASSERT_TRUE(hall.Load());
  EXPECT_EQ(hall.Ranking().Count(), 1);
  Record("Bert", 2);
  ASSERT_TRUE(hall.Save());
  EXPECT_TRUE(QFileInfo(QStringLiteral("ZamScores")).isSymLink());
  EXPECT_EQ(ReadFile("keep/scores").size(), 2 * 56);
}

TEST_F(SaveTest, ASaveCutShortLeavesTheOldFileAndNoStrayFileAfterTheNext) {
  const QByteArray old = Bytes({MakeRecord("Anna", "", 1)});
  WriteFile(old);
  ASSERT_TRUE(hall.Load());
  Record("Bert", 2);
  hall.SaveSettings().interruption = [] { return true; };  // killed between writing and renaming
  EXPECT_FALSE(hall.Save());
  hall.SaveSettings().interruption = nullptr;
  EXPECT_EQ(ReadFile(), old);
  QStringList files = QDir().entryList(QDir::Files);
  EXPECT_EQ(files.size(), 3) << files.join(QLatin1Char(' ')).toStdString();  // + lock + stray
  ASSERT_TRUE(hall.Save());
  EXPECT_EQ(QDir().entryList(QDir::Files),
            (QStringList{QStringLiteral("ZamScores"), QStringLiteral("ZamScores.lock")}));
  EXPECT_EQ(ReadFile().size(), 2 * 56);
}

// The real program (a copy of it) under a file-size limit too small for its
// save: the save fails, the program is not killed, the old file stays, and
// the player's result is kept aside.
TEST(FileSizeLimit, TheSaveFailsAndNothingCrashes) {
  InTempFolder folder;
  std::vector<ScoreRecord> players;
  for (int i = 0; i < 6; ++i) players.push_back(MakeRecord(PlayerName(i), "", 1));
  const QByteArray old = Bytes(players);
  WriteFile(old);
  int in[2];
  ASSERT_EQ(pipe(in), 0);
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    dup2(in[0], 0);
    close(in[1]);
    struct rlimit limit = {200, 200};  // bytes: less than the new file
    setrlimit(RLIMIT_FSIZE, &limit);
    execl(PLAYER_PROBE, PLAYER_PROBE, "Anna", "1", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(in[0]);
  close(in[1]);  // it ends as soon as it has played
  const int status = WaitFor(pid, 20);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(ReadFile(), old);
  // Anna's result is kept aside, in a file far below the limit.
  QStringList files = QDir().entryList(QDir::Files);
  files.sort();
  EXPECT_EQ(files, (QStringList{QStringLiteral("ZamScores"), QStringLiteral("ZamScores.lock"),
                                KeptAsideName()}));
  const QByteArray aside = ReadFile(KeptAsideName().toLatin1().constData());
  ASSERT_EQ(aside.size(), 56);
  EXPECT_EQ(aside.mid(0, 5), QByteArray("\x04" "Anna"));
}

}  // namespace
