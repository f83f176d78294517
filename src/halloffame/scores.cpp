#include "halloffame/scores.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QComboBox>
#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <bit>
#include <chrono>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <cstring>
#include <string>
#include <vector>

#include "drawing/PaintBox.h"
#include "drawing/accessible.h"
#include "drawing/Unit2.h"
#include "drawing/frames.h"
#include "halloffame/hall_keys.h"
#include "halloffame/security.h"

static_assert(std::endian::native == std::endian::little,
              "records are kept in memory exactly as stored: little-endian");
static_assert(offsetof(ScoreRecord, passwordLength) == 11);
static_assert(offsetof(ScoreRecord, levels) == 32);
static_assert(offsetof(ScoreRecord, date) == 40);
static_assert(offsetof(ScoreRecord, checksum) == 48);

ScoreRecord Slots[kHallSize + 1];
uint8_t EntryCount = 0;
uint8_t RankOrder[kHallSize + 1];
Tscoreform* scoreform = nullptr;
Tscoreform* (*MakeScoreForm)() = nullptr;
QComboBox* NameListBox = nullptr;

namespace {

QString ToUpperAscii(const QString& s) {
  QString out = s;
  for (QChar& c : out)
    if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - 32);
  return out;
}

// Writes all bytes to fd; false on any error.
bool WriteAll(int fd, const uint8_t* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= size_t(n);
  }
  return true;
}

// The ranking's exchange sort, descending by total: an entry moves up only
// past a strictly lower total, so equal totals never swap with each other
// directly.
template <class T, class Total>
void ExchangeSort(std::vector<T>& order, Total total) {
  for (size_t i = 0; i + 1 < order.size(); ++i)
    for (size_t j = i + 1; j < order.size(); ++j)
      if (total(order[j]) > total(order[i])) std::swap(order[i], order[j]);
}

}  // namespace

// ---- records -----------------------------------------------------------------

std::array<uint8_t, 56> EncodeRecord(const ScoreRecord& r) {
  std::array<uint8_t, 56> bytes;
  std::memcpy(bytes.data(), &r, 56);
  return bytes;
}

ScoreRecord DecodeRecord(const uint8_t* bytes) {
  ScoreRecord r;
  std::memcpy(&r, bytes, 56);
  return r;
}

uint8_t TotalScore(uint32_t levels) {
  int total = 0;
  for (int g = 1; g <= 9; ++g) total += g * std::min<int>(5, (levels >> (3 * (g - 1))) & 7);
  return uint8_t(total);
}

uint32_t RecordChecksum(const ScoreRecord& r) {
  ChecksumReset();
  for (int i = 0; i < std::min<int>(r.nameLength, 10); ++i) ChecksumAddByte(uint8_t(r.name[i]));
  for (int i = 0; i < std::min<int>(r.passwordLength, 20); ++i)
    ChecksumAddByte(uint8_t(r.password[i]));
  // The level record shifted left and cut to its low byte: its low byte,
  // then three zero bytes. Stored files depend on exactly this.
  for (int shift = 0; shift < 32; shift += 8) ChecksumAddByte(uint8_t((r.levels << shift) & 0xFF));
  for (uint8_t b : {0x83, 0xC4, 0xE8, 0x8D, 0x44, 0x24, 0x08, 0x50}) ChecksumAddByte(b);
  return ChecksumValue();
}

QString RecordName(const ScoreRecord& r) {
  return QString::fromLatin1(r.name, std::min<int>(r.nameLength, 10));
}

double OleDateNow() {
  const QDateTime now = QDateTime::currentDateTime();
  return double(QDate(1899, 12, 30).daysTo(now.date())) +
         double(now.time().msecsSinceStartOfDay()) / 86400000.0;
}

QString FormatOleDate(double date) {
  // Only dates the calendar can hold (years 100..9999); an edited file may
  // hold anything.
  if (!std::isfinite(date) || date < -657434.0 || date >= 2958466.0) return QString();
  const QDate day = QDate(1899, 12, 30).addDays(qint64(std::floor(date)));
  return day.toString(QStringLiteral("dd-MM-yyyy"));
}

// ---- the table -------------------------------------------------------------------

void ClearHallOfFame() {
  for (int k = 1; k <= kHallSize; ++k) {
    Slots[k] = ScoreRecord{};
    RankOrder[k] = uint8_t(k);
  }
}

namespace {

// Records read at most from a score file: far beyond the 100 a hall of fame
// holds, so a huge or endless file cannot hold up the start. A longer file
// is not one this program wrote; it is kept as it is and never replaced.
constexpr size_t kScanLimit = 10000;

// Backups beside the file: "ZamScores.bak", then "ZamScores.bak.1" up to
// ".bak.9". A backup never replaces an earlier one.
constexpr int kBackupNames = 10;

// Why this run's results cannot be saved to the score file.
enum class TRefusal {
  kNone,
  kUnreadable,      // not a regular file, a link leading nowhere, huge, a read error
  kNotAHallOfFame,  // not empty, and not one valid record in it
  kForeignLink,     // a link of another user, or one leading to another user's file
  kReadOnly,        // this user may not write it
  kFolder,          // this user may not make files in its folder
};

// Where the score file lives: its folder, held open so that every later
// step works in that very folder, and its name there.
struct TPlace {
  int dir = -1;
  std::string base;
  TPlace() = default;
  TPlace(const TPlace&) = delete;
  TPlace& operator=(const TPlace&) = delete;
  ~TPlace() {
    if (dir >= 0) ::close(dir);
  }
};

// What a score file holds, as far as it could be read.
struct TFileState {
  enum Kind { kMissing, kRead, kUnreadable } kind = kMissing;
  TRefusal refusal = TRefusal::kNone;
  std::vector<ScoreRecord> valid;  // the records with a good checksum, in file order
  std::vector<uint8_t> bytes;      // everything read
  bool dropsBytes = false;         // damaged records, a partial tail, records past 100
  std::string why;                 // why its results cannot be saved
  struct stat st = {};             // the file read
};

TFileState Refused(TRefusal refusal, const std::string& why) {
  TFileState f;
  f.kind = TFileState::kUnreadable;
  f.refusal = refusal;
  f.why = why;
  return f;
}

std::string DirName(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Finds the score file's folder and name. "ZamScores" as a symbolic link is
// followed only when every link on the way and the regular file at its end
// belong to the user running the program: nobody else's link can aim a
// save at a file, and no link leads a save to a file of somebody else.
TRefusal Locate(TPlace& place, std::string& why) {
  std::string path = kScoreFile;
  for (int hops = 0;; ++hops) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) {
      if (errno == ENOENT && hops == 0) break;  // no file yet: it is made here
      why = errno == ENOENT ? "a link that leads nowhere" : std::strerror(errno);
      return TRefusal::kUnreadable;
    }
    if (!S_ISLNK(st.st_mode)) {
      if (hops > 0 && !S_ISREG(st.st_mode)) {
        why = "a link to something that is not a regular file";
        return TRefusal::kUnreadable;
      }
      if (hops > 0 && st.st_uid != ::geteuid()) {
        why = "a link to a file of another user";
        return TRefusal::kForeignLink;
      }
      break;
    }
    if (st.st_uid != ::geteuid()) {
      why = "a link made by another user";
      return TRefusal::kForeignLink;
    }
    if (hops == 8) {
      why = "a chain of too many links";
      return TRefusal::kUnreadable;
    }
    char target[4096];
    const ssize_t n = ::readlink(path.c_str(), target, sizeof target);
    if (n <= 0 || size_t(n) >= sizeof target) {
      why = "a link that cannot be read";
      return TRefusal::kUnreadable;
    }
    const std::string to(target, size_t(n));
    path = to[0] == '/' ? to : DirName(path) + "/" + to;
  }
  place.base = BaseName(path);
  place.dir = ::open(DirName(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (place.dir < 0) {
    why = std::string("its folder cannot be opened: ") + std::strerror(errno);
    return TRefusal::kUnreadable;
  }
  return TRefusal::kNone;
}

// Reads the score file without blocking: only a regular file (never opened
// through a link) of at most kScanLimit records is read; anything else is an
// existing file that cannot be read.
TFileState ReadScoreFile(const TPlace& place) {
  struct stat st;
  if (::fstatat(place.dir, place.base.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
    if (errno == ENOENT) return {};  // no file at all
    return Refused(TRefusal::kUnreadable, std::strerror(errno));
  }
  if (S_ISLNK(st.st_mode)) return Refused(TRefusal::kUnreadable, "a link in the file's place");
  if (!S_ISREG(st.st_mode)) return Refused(TRefusal::kUnreadable, "not a regular file");
  const size_t limit = kScanLimit * sizeof(ScoreRecord);
  if (uint64_t(st.st_size) > limit)
    return Refused(TRefusal::kUnreadable, "far larger than a hall of fame");
  const int fd =
      ::openat(place.dir, place.base.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return Refused(TRefusal::kUnreadable, std::strerror(errno));
  TFileState f;
  if (::fstat(fd, &f.st) != 0 || !S_ISREG(f.st.st_mode)) {
    ::close(fd);
    return Refused(TRefusal::kUnreadable, "not a regular file");
  }
  uint8_t buffer[4096];
  while (true) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const std::string why = std::strerror(errno);
      ::close(fd);
      return Refused(TRefusal::kUnreadable, why);
    }
    if (n == 0) break;
    f.bytes.insert(f.bytes.end(), buffer, buffer + n);
    if (f.bytes.size() > limit) {
      ::close(fd);
      return Refused(TRefusal::kUnreadable, "far larger than a hall of fame");
    }
  }
  ::close(fd);
  f.kind = TFileState::kRead;
  const size_t whole = f.bytes.size() / sizeof(ScoreRecord);
  f.dropsBytes = f.bytes.size() % sizeof(ScoreRecord) != 0;
  for (size_t i = 0; i < whole; ++i) {
    const ScoreRecord r = DecodeRecord(f.bytes.data() + i * sizeof(ScoreRecord));
    if (RecordChecksum(r) == r.checksum)
      f.valid.push_back(r);
    else
      f.dropsBytes = true;
  }
  if (f.valid.size() > size_t(kHallSize)) f.dropsBytes = true;  // past 100: not written back
  return f;
}

// Whether this user may replace the file read (judged by the user's own
// access, not by the owner's mode bits) and make files beside it. The
// superuser passes every access test, so for it a file without any write
// bit counts as read-only, as it does for everybody else.
void Judge(const TPlace& place, TFileState& f) {
  if (f.kind == TFileState::kUnreadable) return;
  auto refuse = [&f](TRefusal refusal, const char* why) {
    f.refusal = refusal;
    f.why = why;
  };
  if (f.kind == TFileState::kRead && !f.bytes.empty() && f.valid.empty()) {
    f.kind = TFileState::kUnreadable;
    refuse(TRefusal::kNotAHallOfFame, "not a hall of fame (not one valid record in it)");
    return;
  }
  const uid_t me = ::geteuid();
  if (f.kind == TFileState::kRead) {
    const bool writable = me == 0 ? (f.st.st_mode & 0222) != 0
                                  : ::faccessat(place.dir, place.base.c_str(), W_OK, AT_EACCESS) == 0;
    if (!writable) return refuse(TRefusal::kReadOnly, "this user may not write it");
    // Another user's file is rewritten in place (its owner stays); never
    // one that also has other names, which a rewrite would change too.
    if (me != 0 && f.st.st_uid != me && f.st.st_nlink > 1)
      return refuse(TRefusal::kReadOnly, "another user's file that has other names too");
  }
  if (::faccessat(place.dir, ".", W_OK | X_OK, AT_EACCESS) != 0)
    refuse(TRefusal::kFolder, "this user may not make files in its folder");
}

// The mode new files beside the score file get: the score file's own, or
// for a first file the mode the user's umask gives.
mode_t NewFileMode(const TFileState& f) {
  if (f.kind == TFileState::kRead) return f.st.st_mode & 0666;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// A name for a new temporary file: prefix and six letters or digits.
std::string TemporaryName(const std::string& prefix) {
  static uint64_t counter = 0;
  uint64_t v = uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()) ^
               uint64_t(::getpid()) << 32 ^ (++counter * 0x9E3779B97F4A7C15ull);
  static const char digits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  std::string name = prefix;
  for (int i = 0; i < 6; ++i) {
    name += digits[v % 62];
    v /= 62;
  }
  return name;
}

// Makes a new file in the folder under a fresh temporary name: created by
// this call (O_EXCL), never through a link.
int NewTemporary(int dir, const std::string& prefix, std::string& name) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = TemporaryName(prefix);
    const int fd = ::openat(dir, name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                            0600);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

// The new file takes the old one's mode, and its owner where the user may
// give it (the superuser); else the umask's mode.
void TakeModeAndOwner(int fd, const struct stat* keep, mode_t mode) {
  if (!keep) {
    ::fchmod(fd, mode);
    return;
  }
  const uid_t owner = ::geteuid() == 0 ? keep->st_uid : uid_t(-1);
  [[maybe_unused]] const int changed = ::fchown(fd, owner, keep->st_gid);
  ::fchmod(fd, keep->st_mode & 07777);
}

void SyncFolder(int dir) {
  const int d = ::openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (d >= 0) {
    ::fsync(d);
    ::close(d);
  }
}

// Writes data to a new temporary file beside `name`; its name in `temp`.
bool WriteTemporary(const TPlace& place, const std::string& prefix, const std::vector<uint8_t>& data,
                    const struct stat* keep, mode_t mode, std::string& temp, std::string& why) {
  const int fd = NewTemporary(place.dir, prefix, temp);
  if (fd < 0) {
    why = std::strerror(errno);
    return false;
  }
  TakeModeAndOwner(fd, keep, mode);
  bool ok = WriteAll(fd, data.data(), data.size()) && ::fsync(fd) == 0;
  if (!ok) why = std::strerror(errno);
  if (::close(fd) != 0 && ok) {
    why = std::strerror(errno);
    ok = false;
  }
  if (!ok) ::unlinkat(place.dir, temp.c_str(), 0);
  return ok;
}

// Writes bytes to a new file and renames it to name, so the file named is
// either the old one or the complete new one.
bool ReplaceFile(const TPlace& place, const std::vector<uint8_t>& data, const struct stat* keep,
                 mode_t mode, std::string& why) {
  std::string temp;
  if (!WriteTemporary(place, place.base + ".tmp.", data, keep, mode, temp, why)) return false;
  if (SaveInterruption && SaveInterruption()) {  // as if killed here
    why = "stopped before the new file took the old one's place";
    return false;
  }
  if (::renameat(place.dir, temp.c_str(), place.dir, place.base.c_str()) != 0) {
    why = std::strerror(errno);
    ::unlinkat(place.dir, temp.c_str(), 0);
    return false;
  }
  SyncFolder(place.dir);
  return true;
}

// Another user's file, which this user may write but whose owner a new file
// could not keep: rewritten in place, under the lock. Only the very file
// read is written.
bool RewriteInPlace(const TPlace& place, const std::vector<uint8_t>& data, const struct stat& read,
                    std::string& why) {
  const int fd =
      ::openat(place.dir, place.base.c_str(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    why = std::strerror(errno);
    return false;
  }
  struct stat st;
  bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_dev == read.st_dev &&
            st.st_ino == read.st_ino;
  if (!ok) why = "the file changed while it was being saved";
  if (ok && !(WriteAll(fd, data.data(), data.size()) && ::ftruncate(fd, off_t(data.size())) == 0 &&
              ::fsync(fd) == 0)) {
    why = std::strerror(errno);
    ok = false;
  }
  ::close(fd);
  return ok;
}

// Keeps the file's present bytes under the next free backup name; an
// earlier backup is never replaced. False when every name is taken.
bool Backup(const TPlace& place, const TFileState& f, std::string& why) {
  std::string temp;
  if (!WriteTemporary(place, place.base + ".bak.tmp.", f.bytes, &f.st, 0, temp, why)) return false;
  for (int i = 0; i < kBackupNames; ++i) {
    const std::string name = place.base + ".bak" + (i == 0 ? "" : "." + std::to_string(i));
    int done = ::renameat2(place.dir, temp.c_str(), place.dir, name.c_str(), RENAME_NOREPLACE);
    if (done != 0 && (errno == EINVAL || errno == ENOSYS)) {  // no such rename here: a new link
      done = ::linkat(place.dir, temp.c_str(), place.dir, name.c_str(), 0);
      if (done == 0) ::unlinkat(place.dir, temp.c_str(), 0);
    }
    if (done == 0) {
      SyncFolder(place.dir);
      return true;
    }
    if (errno != EEXIST) {
      why = std::strerror(errno);
      ::unlinkat(place.dir, temp.c_str(), 0);
      return false;
    }
  }
  ::unlinkat(place.dir, temp.c_str(), 0);
  why = "all " + std::to_string(kBackupNames) + " backup names (\"" + place.base +
        ".bak\" and on) are taken";
  return false;
}

// Temporary files of earlier saves that never finished (the program was
// killed between writing and renaming). Only called under the lock, when
// no other save can be writing one.
void RemoveStaleTemporaries(const TPlace& place) {
  const int copy = ::fcntl(place.dir, F_DUPFD_CLOEXEC, 0);
  DIR* d = copy >= 0 ? ::fdopendir(copy) : nullptr;
  if (!d) {
    if (copy >= 0) ::close(copy);
    return;
  }
  ::rewinddir(d);
  const std::string prefixes[] = {place.base + ".tmp.", place.base + ".bak.tmp."};
  while (dirent* e = ::readdir(d)) {
    const std::string name = e->d_name;
    for (const std::string& prefix : prefixes)
      if (name.rfind(prefix, 0) == 0 && name.size() == prefix.size() + 6)
        ::unlinkat(place.dir, name.c_str(), 0);
  }
  ::closedir(d);
}

// The lock beside the file: opened read-only, which is all flock needs, so
// a lock file another user made does not block; never through a link. A
// new one gets the mode a new score file would get, so that everybody who
// may write the score file may open it.
int OpenLock(const TPlace& place, mode_t mode, std::string& why) {
  const std::string name = place.base + ".lock";
  for (int attempt = 0; attempt < 10; ++attempt) {
    int fd = ::openat(place.dir, name.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) {
      struct stat st;
      if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) return fd;
      ::close(fd);
      why = "\"" + name + "\" is not a regular file";
      return -1;
    }
    if (errno == ELOOP) {
      why = "\"" + name + "\" is a link; the program does not follow it";
      return -1;
    }
    if (errno != ENOENT) {
      why = "\"" + name + "\": " + std::strerror(errno);
      return -1;
    }
    fd = ::openat(place.dir, name.c_str(), O_RDONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                  0600);
    if (fd >= 0) {
      ::fchmod(fd, mode);
      return fd;
    }
    if (errno != EEXIST) {
      why = "\"" + name + "\" cannot be made: " + std::strerror(errno);
      return -1;
    }
  }
  why = "\"" + name + "\" keeps changing";
  return -1;
}

// Waits for the lock a bounded time, and stops at once when a further
// signal asks the program to end.
bool WaitForLock(int fd, std::string& why) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(LockWaitMilliseconds);
  const sig_atomic_t stops = SaveStopRequests;
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EWOULDBLOCK && errno != EINTR) {
      why = std::strerror(errno);
      return false;
    }
    if (SaveStopRequests != stops) {
      why = "the wait for the lock was stopped";
      return false;
    }
    if (std::chrono::steady_clock::now() >= end) {
      why = "another program held the lock for " + std::to_string(LockWaitMilliseconds) + " ms";
      return false;
    }
    const struct timespec pause = {0, 20 * 1000 * 1000};
    ::nanosleep(&pause, nullptr);
  }
  return true;
}

// The table as loaded: players whose record differs from this at the save
// were changed by this run of the program.
std::vector<ScoreRecord> loaded;

// Why this run's results cannot be saved, found at load.
TRefusal refusal = TRefusal::kNone;

std::string lastReport;

void Report(const std::string& what) { std::fprintf(stderr, "zam: %s\n", what.c_str()); }

// A message said once, however often the file is loaded.
void ReportOnce(const std::string& what) {
  if (what == lastReport) return;
  lastReport = what;
  Report(what);
}

std::string UpperName(const ScoreRecord& r) {
  std::string name(r.name, size_t(std::min<int>(r.nameLength, 10)));
  for (char& c : name)
    if (c >= 'a' && c <= 'z') c = char(c - 32);
  return name;
}

bool SameRecord(const ScoreRecord& a, const ScoreRecord& b) {
  return std::memcmp(&a, &b, sizeof(ScoreRecord)) == 0;
}

// The records this run made or changed.
std::vector<ScoreRecord> ThisRunsRecords() {
  std::vector<ScoreRecord> mine;
  for (int k = 1; k <= EntryCount; ++k) {
    bool changed = true;
    for (const ScoreRecord& before : loaded)
      if (UpperName(before) == UpperName(Slots[k]) && SameRecord(before, Slots[k])) changed = false;
    if (changed) mine.push_back(Slots[k]);
  }
  return mine;
}

// Results that a save could not put in the file because it could not get the
// lock, kept beside it as "ZamScores.unsaved-<time>".
struct TUnsaved {
  std::vector<std::string> names;  // the files
  std::vector<ScoreRecord> records;
};

const char* const kUnsavedInfix = ".unsaved-";

// The unsaved results of this user beside the file (a file of another user
// is left for that user's next save).
TUnsaved ReadUnsaved(const TPlace& place) {
  TUnsaved out;
  const int copy = ::fcntl(place.dir, F_DUPFD_CLOEXEC, 0);
  DIR* d = copy >= 0 ? ::fdopendir(copy) : nullptr;
  if (!d) {
    if (copy >= 0) ::close(copy);
    return out;
  }
  ::rewinddir(d);
  const std::string prefix = place.base + kUnsavedInfix;
  while (dirent* e = ::readdir(d)) {
    const std::string name = e->d_name;
    if (name.rfind(prefix, 0) != 0) continue;
    struct stat st;
    if (::fstatat(place.dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode) ||
        st.st_uid != ::geteuid() || st.st_size > off_t((kHallSize + 1) * sizeof(ScoreRecord)))
      continue;
    const int fd = ::openat(place.dir, name.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) continue;
    uint8_t bytes[(kHallSize + 1) * sizeof(ScoreRecord)];
    size_t size = 0;
    while (size < sizeof bytes) {
      const ssize_t n = ::read(fd, bytes + size, sizeof bytes - size);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      size += size_t(n);
    }
    ::close(fd);
    out.names.push_back(name);
    for (size_t i = 0; i + sizeof(ScoreRecord) <= size; i += sizeof(ScoreRecord)) {
      const ScoreRecord r = DecodeRecord(bytes + i);
      if (RecordChecksum(r) == r.checksum) out.records.push_back(r);
    }
  }
  ::closedir(d);
  return out;
}

// Keeps this run's results beside the file when the lock could not be had;
// the next save that gets the lock merges them. False when they could not
// be kept either: then they are listed on standard error.
void SaveAside(const TPlace& place, const TFileState& f, const std::string& reason) {
  const std::vector<ScoreRecord> mine = ThisRunsRecords();
  if (mine.empty()) {
    Report("cannot save the hall of fame to \"" + std::string(kScoreFile) + "\": " + reason +
           "; this run recorded nothing, so nothing is lost");
    return;
  }
  std::vector<uint8_t> data;
  for (const ScoreRecord& r : mine) {
    const auto bytes = EncodeRecord(r);
    data.insert(data.end(), bytes.begin(), bytes.end());
  }
  const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
  const std::string stem = place.base + kUnsavedInfix + stamp.toStdString();
  std::string why = "no name left";
  for (int n = 0; n < 100; ++n) {
    const std::string name = n == 0 ? stem : stem + "-" + std::to_string(n);
    const int fd = ::openat(place.dir, name.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) {
      why = std::strerror(errno);
      break;
    }
    ::fchmod(fd, NewFileMode(f));
    const bool ok = WriteAll(fd, data.data(), data.size()) && ::fsync(fd) == 0;
    why = std::strerror(errno);
    ::close(fd);
    if (ok) {
      Report("cannot save the hall of fame to \"" + std::string(kScoreFile) + "\": " + reason +
             "; this run's results are kept in \"" + name +
             "\" and join the hall of fame at the next save");
      return;
    }
    ::unlinkat(place.dir, name.c_str(), 0);
    break;
  }
  std::string lost;
  for (const ScoreRecord& r : mine)
    lost += " " + std::string(r.name, size_t(std::min<int>(r.nameLength, 10))) + " (score " +
            std::to_string(TotalScore(r.levels)) + ")";
  Report("cannot save the hall of fame to \"" + std::string(kScoreFile) + "\": " + reason +
         ", nor keep the results beside it (" + why + "); not saved:" + lost);
}

// A result kept aside joins a table: a new player is added, a known one
// takes it when it is later than the one the table holds.
bool Apply(std::vector<ScoreRecord>& table, const ScoreRecord& r) {
  for (ScoreRecord& t : table)
    if (UpperName(t) == UpperName(r)) {
      if (!(r.date > t.date) || SameRecord(t, r)) return false;
      t = r;
      return true;
    }
  table.push_back(r);
  return true;
}

}  // namespace

bool (*SaveInterruption)() = nullptr;
int LockWaitMilliseconds = 5000;  // a few seconds: long enough for another copy's save
volatile std::sig_atomic_t SaveStopRequests = 0;

bool LoadHallOfFame() {
  TPlace place;
  std::string why;
  TFileState f;
  const TRefusal located = Locate(place, why);
  if (located == TRefusal::kNone) {
    f = ReadScoreFile(place);
    Judge(place, f);
  } else {
    f = Refused(located, why);
  }
  refusal = f.refusal;
  if (refusal != TRefusal::kNone)
    ReportOnce(std::string("the hall of fame \"") + kScoreFile + "\" is kept as it is (" + f.why +
               "): this run's results will not be saved to it");
  if (f.kind == TFileState::kRead) {
    const int n = std::min<int>(int(f.valid.size()), kHallSize);
    for (int k = 1; k <= n; ++k) Slots[k] = f.valid[size_t(k - 1)];
    EntryCount = uint8_t(n);
    for (int k = 1; k <= kHallSize; ++k) RankOrder[k] = uint8_t(k);
  }
  loaded.assign(Slots + 1, Slots + 1 + EntryCount);
  // Results an earlier run had to keep beside the file join the table now,
  // as results of this run, so that the player sees them.
  if (refusal == TRefusal::kNone) {
    bool applied = false;
    for (const ScoreRecord& r : ReadUnsaved(place).records) {
      std::vector<ScoreRecord> table(Slots + 1, Slots + 1 + EntryCount);
      if (!Apply(table, r)) continue;
      applied = true;
      int slot = 0;
      for (int k = 1; k <= EntryCount && slot == 0; ++k)
        if (UpperName(Slots[k]) == UpperName(r)) slot = k;
      if (slot == 0) {
        if (EntryCount < kHallSize) ++EntryCount;
        slot = EntryCount;
      }
      Slots[slot] = r;
    }
    if (applied) SortHallOfFame();
  }
  FillNameList();
  return f.kind != TFileState::kUnreadable;
}

QString HallOfFameWarning() {
  QString why;
  switch (refusal) {
    case TRefusal::kNone:
      return QString();
    case TRefusal::kUnreadable:
      why = QStringLiteral("\"ZamScores\" kan niet gelezen worden");
      break;
    case TRefusal::kNotAHallOfFame:
      why = QStringLiteral("\"ZamScores\" is geen ere-galerij");
      break;
    case TRefusal::kForeignLink:
      why = QStringLiteral("\"ZamScores\" is een link van of naar een andere gebruiker");
      break;
    case TRefusal::kReadOnly:
      why = QStringLiteral("\"ZamScores\" mag niet door u gewijzigd worden");
      break;
    case TRefusal::kFolder:
      why = QStringLiteral("in de map van \"ZamScores\" mag u niet schrijven");
      break;
  }
  return why + QStringLiteral(": de resultaten van deze keer worden niet bewaard.");
}

QMessageBox* WarnAboutHallOfFame(QWidget* window) {
  const QString text = HallOfFameWarning();
  if (text.isEmpty()) return nullptr;
  auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Zam"), text, QMessageBox::Ok,
                              window);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
  return box;
}

void ResetHallOfFame() {
  EntryCount = 0;
  ClearHallOfFame();
  loaded.clear();
  refusal = TRefusal::kNone;
  lastReport.clear();
  LockWaitMilliseconds = 5000;
  SaveInterruption = nullptr;
}

// Saves under a lock beside the file: the file is read again as it is now,
// the players this run changed take this run's records, every other player
// keeps the record now in the file. When this run changed anything the
// table is ranked; it is cut to 100 without ever dropping a record of this
// run. The result replaces the file whole (a new file renamed over it),
// with the file's own mode and owner; a save that changes nothing writes
// nothing. A file that cannot be read, is no hall of fame or may not be
// written is never replaced; bytes a save would drop are kept in a backup.
bool SaveHallOfFame() {
  const std::string file = kScoreFile;
  auto fail = [&](const std::string& why) {
    Report("cannot save the hall of fame to \"" + file + "\": " + why);
    return false;
  };
  if (refusal != TRefusal::kNone) return false;  // said at start
  TPlace place;
  std::string why;
  if (Locate(place, why) != TRefusal::kNone) return fail(why);
  TFileState now = ReadScoreFile(place);
  Judge(place, now);
  if (now.refusal != TRefusal::kNone) return fail(now.why);
  const int lock = OpenLock(place, NewFileMode(now), why);
  if (lock < 0 || !WaitForLock(lock, why)) {
    if (lock >= 0) ::close(lock);
    SaveAside(place, now, "no lock: " + why);
    return false;
  }
  struct Unlock {
    int fd;
    ~Unlock() { ::close(fd); }  // closing releases the lock
  } unlock{lock};
  RemoveStaleTemporaries(place);
  now = ReadScoreFile(place);  // as it is now, under the lock
  Judge(place, now);
  if (now.refusal != TRefusal::kNone) return fail(now.why);

  // The merge.
  std::vector<ScoreRecord> merged = now.valid;
  bool changes = false;
  auto find = [&merged](const std::string& name) {
    return std::find_if(merged.begin(), merged.end(),
                        [&](const ScoreRecord& r) { return UpperName(r) == name; });
  };
  // Players this run removed (a newcomer took the last slot of a full
  // table) go from the file too, unless another copy changed them since.
  for (const ScoreRecord& before : loaded) {
    bool kept = false;
    for (int k = 1; k <= EntryCount; ++k) kept = kept || UpperName(Slots[k]) == UpperName(before);
    const auto it = find(UpperName(before));
    if (!kept && it != merged.end() && SameRecord(*it, before)) {
      merged.erase(it);
      changes = true;
    }
  }
  // Results earlier saves had to keep beside the file, then this run's.
  const TUnsaved unsaved = ReadUnsaved(place);
  for (const ScoreRecord& r : unsaved.records) changes = Apply(merged, r) || changes;
  const std::vector<ScoreRecord> mine = ThisRunsRecords();
  for (const ScoreRecord& r : mine) {
    const auto it = find(UpperName(r));
    if (it != merged.end())
      *it = r;
    else
      merged.push_back(r);
    changes = true;
  }
  std::vector<size_t> order(merged.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  // Ranked by the exchange sort only when something changed: a save that
  // records nothing keeps the file's order.
  if (changes) {
    std::vector<uint8_t> totals(merged.size());  // worked out once: a hand-made file may be long
    for (size_t i = 0; i < merged.size(); ++i) totals[i] = TotalScore(merged[i].levels);
    ExchangeSort(order, [&](size_t i) { return totals[i]; });
  }
  // At most 100: the lowest ranked go first, never a record of this run.
  auto ofThisRun = [&](size_t i) {
    for (const ScoreRecord& r : mine)
      if (SameRecord(r, merged[i])) return true;
    return false;
  };
  for (size_t r = order.size(); r-- > 0 && order.size() > size_t(kHallSize);)
    if (!ofThisRun(order[r])) order.erase(order.begin() + std::ptrdiff_t(r));
  if (order.size() > size_t(kHallSize)) order.resize(size_t(kHallSize));
  std::vector<uint8_t> data;
  for (size_t i : order) {
    if (merged[i].levels == 0) continue;
    const auto bytes = EncodeRecord(merged[i]);
    data.insert(data.end(), bytes.begin(), bytes.end());
  }
  if (now.kind != TFileState::kRead || data != now.bytes) {
    const bool read = now.kind == TFileState::kRead;
    if (read && now.dropsBytes && !Backup(place, now, why))
      return fail("no backup of the damaged file could be made: " + why);
    const bool foreign = read && ::geteuid() != 0 && now.st.st_uid != ::geteuid();
    const bool written = foreign ? RewriteInPlace(place, data, now.st, why)
                                 : ReplaceFile(place, data, read ? &now.st : nullptr,
                                               NewFileMode(now), why);
    if (!written) return fail(why);
  }
  for (const std::string& name : unsaved.names) ::unlinkat(place.dir, name.c_str(), 0);
  // Saved: the table becomes what the file now holds.
  EntryCount = uint8_t(order.size());
  for (size_t r = 0; r < order.size(); ++r) {
    Slots[r + 1] = merged[order[r]];
    RankOrder[r + 1] = uint8_t(r + 1);
  }
  loaded.assign(Slots + 1, Slots + 1 + EntryCount);
  return true;
}

QString StoredPasswordOf(const QString& name) {
  for (int k = 1; k <= EntryCount; ++k)
    if (RecordName(Slots[k]) == name)
      return QString::fromLatin1(Slots[k].password, std::min<int>(Slots[k].passwordLength, 20));
  return QString();
}

uint32_t StoredLevelsOf(const QString& name) {
  for (int k = 1; k <= EntryCount; ++k)
    if (RecordName(Slots[k]) == name) return Slots[k].levels;
  return 0;
}

void RecordResult(const QString& typedName, const QString& typedPassword, uint32_t levels) {
  const QString name = typedName.left(10);
  int slot = 0;
  for (int k = 1; k <= EntryCount && slot == 0; ++k)
    if (ToUpperAscii(RecordName(Slots[k])) == ToUpperAscii(name)) slot = k;
  if (slot == 0) {
    if (EntryCount < kHallSize) ++EntryCount;
    slot = EntryCount;
  }
  ScoreRecord& r = Slots[slot];
  const QByteArray nameBytes = name.toLatin1();
  const QByteArray password = ScrambleText(typedPassword).toLatin1().left(20);
  std::memset(r.name, 0, sizeof r.name);
  std::memset(r.password, 0, sizeof r.password);
  r.nameLength = uint8_t(nameBytes.size());
  std::memcpy(r.name, nameBytes.constData(), size_t(nameBytes.size()));
  r.passwordLength = uint8_t(password.size());
  std::memcpy(r.password, password.constData(), size_t(password.size()));
  r.levels = levels;
  r.date = OleDateNow();
  r.checksum = RecordChecksum(r);
  SortHallOfFame();
  FillNameList();
}

void SortHallOfFame() {
  std::vector<uint8_t> order(RankOrder + 1, RankOrder + 1 + EntryCount);
  ExchangeSort(order, [](uint8_t slot) { return TotalScore(Slots[slot].levels); });
  std::copy(order.begin(), order.end(), RankOrder + 1);
}

void FillNameList() {
  QComboBox* box = NameListBox;
  if (!box) return;
  const QString typed = box->currentText();
  QStringList names;
  for (int k = 1; k <= EntryCount; ++k) names << RecordName(Slots[k]);
  // The list is sorted alphabetically, without regard to letter case.
  std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) < 0;
  });
  const QSignalBlocker block(box);
  box->clear();
  box->addItems(names);
  box->setCurrentIndex(-1);
  box->setEditText(typed);
}

void ShowHallOfFame() {
  if (!scoreform && MakeScoreForm) scoreform = MakeScoreForm();
  if (!scoreform) return;
  scoreform->exec();
  scoreform->Timer1.stop();
}

// ---- the window --------------------------------------------------------------------

Tscoreform::Tscoreform(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Zam : Ere - Galerij"));
  setFixedSize(538, 707);
  UseButtonFace(this);
  setFont(PixelFont(QStringLiteral("MS Sans Serif"), 11, false));
  // The list takes the keyboard: the keys move through the ranks, and a
  // screen reader hears each one.
  scorebox = new TSpokenBox(QAccessible::List, this);
  scorebox->setGeometry(24, 40, 450, 625);
  scorebox->setFocusPolicy(Qt::StrongFocus);
  scorebox->setAccessibleName(QStringLiteral("ere galerij"));
  // Its items: the ranks of the page shown, in words.
  auto* list = static_cast<TSpokenBox*>(scorebox);
  list->Items = [this] {
    QStringList rows;
    for (int a = 1; a <= kHallRows && a + ScrollBar1->value() <= EntryCount; ++a)
      rows << HallRowText(a + ScrollBar1->value());
    return rows;
  };
  list->SelectedItem = [this] { return Selected > 0 ? Selected - ScrollBar1->value() - 1 : -1; };
  announcer = new TAnnouncer(this);
  auto label = [this](int x, int y, const char* text) {
    return MakeLabel(this, x, y, QString::fromLatin1(text));
  };
  Label1 = label(40, 8, "rang");
  Label2 = label(128, 8, "naam");
  Label3 = label(296, 8, "datum");
  Label4 = label(424, 8, "score");
  Label5 = label(24, 680, "ESC: sluit pagina");
  ScrollBar1 = new QScrollBar(Qt::Vertical, this);
  ScrollBar1->setGeometry(496, 40, 19, 625);
  ScrollBar1->setRange(0, 75);
  ScrollBar1->setPageStep(1);
  ScrollBar1->setFocusPolicy(Qt::NoFocus);
  Timer1.setInterval(40);
  scorebox->OnPaint = [this] { scoreboxPaint(); };
  connect(&Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
  connect(ScrollBar1, &QScrollBar::valueChanged, this, [this] { ScrollBar1Change(); });
}

void Tscoreform::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::Window));
  DrawFrame(p, FrameBounds(scorebox->geometry(), 15), 0x00FFFF, 0x0080FF, 3, 15);
}

void Tscoreform::scoreboxPaint() {
  TXBitmap& s = scorebox->Surface();
  s.FillRect({0, 0, s.Width(), s.Height()}, ButtonFaceColor);
  RowCounter = 1;
  Timer1.start();
}

void Tscoreform::Timer1Timer() {
  const int a = RowCounter;
  if (a < 1 || a > 25) {
    Timer1.stop();
    return;
  }
  PaintRow(a);
  RowCounter = uint8_t(a + 1);
  if (RowCounter > 25) Timer1.stop();
}

void Tscoreform::PaintRow(int a) {
  const int r = a + ScrollBar1->value();
  TXBitmap& s = scorebox->Surface();
  const TRect row{0, 25 * (a - 1), s.Width(), 25 * a};
  s.FillRect(row, a % 2 == 1 ? 0xE0FFE0 : 0xE0E0FF);
  if (r <= EntryCount) {
    const QFont font = PixelFont(QStringLiteral("Arial"), 15, false);
    const QFontMetrics metrics(font);
    const ScoreRecord& slot = Slots[RankOrder[r]];
    const int y = 25 * (a - 1) + 5;
    const QString rank = QString::number(r);
    const QString total = QString::number(TotalScore(slot.levels));
    s.TextOut(30 - metrics.horizontalAdvance(rank), y, rank, font, 0x000000);
    s.TextOut(100, y, RecordName(slot), font, 0x000000);
    s.TextOut(250, y, FormatOleDate(slot.date), font, 0x000000);
    s.TextOut(420 - metrics.horizontalAdvance(total), y, total, font, 0x000000);
  }
  if (r == Selected && Selected > 0) {
    // The focus mark of the rank the keys selected: a dark frame inside the row.
    const TRect in{row.Left + 1, row.Top + 1, row.Right - 1, row.Bottom - 1};
    s.FillRect({in.Left, in.Top, in.Right, in.Top + 1}, 0x000000);
    s.FillRect({in.Left, in.Bottom - 1, in.Right, in.Bottom}, 0x000000);
    s.FillRect({in.Left, in.Top, in.Left + 1, in.Bottom}, 0x000000);
    s.FillRect({in.Right - 1, in.Top, in.Right, in.Bottom}, 0x000000);
  }
  scorebox->Show(row);
}

void Tscoreform::ScrollBar1Change() { scorebox->Invalidate(); }

void Tscoreform::showEvent(QShowEvent* e) {
  // Opened, the list has no rank selected (no mark) and takes the keys; a
  // screen reader reads what it holds and how to move through it.
  Selected = 0;
  scorebox->setAccessibleDescription(
      EntryCount == 0
          ? QStringLiteral("de ere galerij is leeg. Escape: sluit")
          : EntryCount == 1 ? QStringLiteral("1 speler. Pijl omlaag en omhoog, Page Down, Page Up, Home en End: door de lijst. Escape: sluit") : QStringLiteral("%1 spelers. Pijl omlaag en omhoog, Page Down, Page Up, Home en End: "
                           "door de lijst. Escape: sluit")
                .arg(EntryCount));
  scorebox->setFocus(Qt::OtherFocusReason);
  QDialog::showEvent(e);
}

void Tscoreform::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape) {
    accept();  // modal result OK
    return;
  }
  bool handled = false;
  const THallView before{Selected, ScrollBar1->value()};
  const THallView after = StepHall(before, e->key(), EntryCount, &handled);
  if (!handled) {
    e->ignore();
    return;
  }
  if (EntryCount == 0) {
    announcer->Say(QStringLiteral("de ere galerij is leeg"));
    return;
  }
  Selected = after.selected;
  if (after.top != before.top) {
    ScrollBar1->setValue(after.top);  // the page painted again, row by row
  } else if (Timer1.isActive()) {
    // Rows still to come are painted with the mark where it now is; the
    // page is painted again so no row keeps the old mark.
    scorebox->Invalidate();
  } else {
    for (int rank : {before.selected, after.selected})
      if (rank > after.top && rank <= after.top + kHallRows) PaintRow(rank - after.top);
  }
  const QString row = HallRowText(Selected);
  scorebox->setAccessibleDescription(row);
  announcer->Say(row);
}
