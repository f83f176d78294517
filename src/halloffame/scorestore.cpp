// SPDX-License-Identifier: GPL-3.0-or-later
#include "halloffame/scorestore.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>

#include "halloffame/ranking.h"

namespace scorestore {

TPlace::~TPlace() {
  if (dir >= 0) ::close(dir);
}

TFileState Refused(TRefusal refusal, const std::string& why) {
  TFileState f;
  f.kind = TFileState::kUnreadable;
  f.refusal = refusal;
  f.why = why;
  return f;
}

namespace {

std::string DirName(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

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

bool CurrentFolder(TPlace& place) {
  place.base = kScoreFile;
  place.dir = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  return place.dir >= 0;
}

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
  f.valid = DecodeValidRecords(f.bytes, &f.dropsBytes);
  if (f.valid.size() > size_t(kHallSize)) f.dropsBytes = true;  // past 100: not written back
  return f;
}

// Judged by the user's own access, not by the owner's mode bits. The
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

bool RewritesInPlace(const TFileState& f) {
  return f.kind == TFileState::kRead && ::geteuid() != 0 && f.st.st_uid != ::geteuid();
}

namespace {

bool GroupFolder(const TPlace& place, struct stat& folder) {
  return ::fstat(place.dir, &folder) == 0 && (folder.st_mode & S_IWGRP) != 0;
}

}  // namespace

mode_t NewFileMode(const TPlace& place, const TFileState& f) {
  if (f.kind == TFileState::kRead) return f.st.st_mode & 0666;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  mode_t mode = 0666 & ~mask;
  struct stat folder;
  if (GroupFolder(place, folder)) mode |= 0660;
  return mode;
}

void GiveFolderGroup(const TPlace& place, int fd) {
  struct stat folder, file;
  if (GroupFolder(place, folder) && ::fstat(fd, &file) == 0 && file.st_gid != folder.st_gid)
    [[maybe_unused]] const int given = ::fchown(fd, uid_t(-1), folder.st_gid);
}

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

std::vector<uint8_t> ReadUpTo(int fd, size_t size) {
  std::vector<uint8_t> bytes(size);
  size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += size_t(n);
  }
  bytes.resize(got);
  return bytes;
}

void SyncFolder(int dir) {
  const int d = ::openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (d >= 0) {
    ::fsync(d);
    ::close(d);
  }
}

namespace {

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

}  // namespace

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

std::vector<std::string> NamesStartingWith(int dir, const std::string& prefix) {
  std::vector<std::string> names;
  const int copy = ::fcntl(dir, F_DUPFD_CLOEXEC, 0);
  DIR* d = copy >= 0 ? ::fdopendir(copy) : nullptr;
  if (!d) {
    if (copy >= 0) ::close(copy);
    return names;
  }
  ::rewinddir(d);
  while (dirent* e = ::readdir(d)) {
    const std::string name = e->d_name;
    if (name.rfind(prefix, 0) == 0) names.push_back(name);
  }
  ::closedir(d);
  return names;
}

namespace {

// The new file takes the old one's mode and group, and its owner where the
// user may give it (the superuser); a first file the mode given.
void TakeModeAndOwner(const TPlace& place, int fd, const struct stat* keep, mode_t mode) {
  if (!keep) {
    GiveFolderGroup(place, fd);
    ::fchmod(fd, mode);
    return;
  }
  const uid_t owner = ::geteuid() == 0 ? keep->st_uid : uid_t(-1);
  [[maybe_unused]] const int changed = ::fchown(fd, owner, keep->st_gid);
  ::fchmod(fd, keep->st_mode & 07777);
}

bool WriteTemporary(const TPlace& place, const std::string& prefix, const std::vector<uint8_t>& data,
                    const struct stat* keep, mode_t mode, std::string& temp, std::string& why) {
  const int fd = NewTemporary(place.dir, prefix, temp);
  if (fd < 0) {
    why = std::strerror(errno);
    return false;
  }
  TakeModeAndOwner(place, fd, keep, mode);
  bool ok = WriteAll(fd, data.data(), data.size()) && ::fsync(fd) == 0;
  if (!ok) why = std::strerror(errno);
  if (::close(fd) != 0 && ok) {
    why = std::strerror(errno);
    ok = false;
  }
  if (!ok) ::unlinkat(place.dir, temp.c_str(), 0);
  return ok;
}

}  // namespace

TReplace ReplaceFile(const TPlace& place, const std::vector<uint8_t>& data, const struct stat* keep,
                     mode_t mode, bool (*stop)(), std::string& why) {
  std::string temp;
  if (!WriteTemporary(place, place.base + ".tmp.", data, keep, mode, temp, why))
    return TReplace::kFailed;
  if (stop && stop()) return TReplace::kStopped;
  if (::renameat(place.dir, temp.c_str(), place.dir, place.base.c_str()) != 0) {
    why = std::strerror(errno);
    ::unlinkat(place.dir, temp.c_str(), 0);
    return TReplace::kFailed;
  }
  SyncFolder(place.dir);
  return TReplace::kDone;
}

namespace {

std::string BackupName(const TPlace& place, int i) {
  std::string name = place.base + ".bak";
  if (i > 0) name += '.' + std::to_string(i);
  return name;
}

// A backup name this user may use: free, or a regular file of this user's
// with no other name.
bool UsableBackupName(const TPlace& place, const std::string& name, bool& free) {
  struct stat st;
  if (::fstatat(place.dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
    free = errno == ENOENT;
    return free;
  }
  free = false;
  return S_ISREG(st.st_mode) && st.st_uid == ::geteuid() && st.st_nlink == 1;
}

}  // namespace

bool Backup(const TPlace& place, const std::vector<uint8_t>& bytes, const struct stat& st,
            std::string& why) {
  std::string temp;
  if (!WriteTemporary(place, place.base + ".bak.tmp.", bytes, &st, 0, temp, why)) return false;
  std::vector<std::string> names;  // the usable ones, newest first
  std::vector<bool> taken;
  for (int i = 0; i < kBackupNames; ++i) {
    bool free = false;
    if (UsableBackupName(place, BackupName(place, i), free)) {
      names.push_back(BackupName(place, i));
      taken.push_back(!free);
    }
  }
  if (names.empty()) {  // every name is somebody else's or no file: one of its own
    const std::string own = place.base + ".bak-" + temp.substr(temp.size() - 6);
    if (::renameat2(place.dir, temp.c_str(), place.dir, own.c_str(), RENAME_NOREPLACE) != 0) {
      why = std::strerror(errno);
      ::unlinkat(place.dir, temp.c_str(), 0);
      return false;
    }
    SyncFolder(place.dir);
    return true;
  }
  // Oldest first, each moves one usable name on; the last one's file goes.
  for (size_t i = names.size() - 1; i-- > 0;)
    if (taken[i]) ::renameat(place.dir, names[i].c_str(), place.dir, names[i + 1].c_str());
  if (::renameat(place.dir, temp.c_str(), place.dir, names[0].c_str()) != 0) {
    why = std::strerror(errno);
    ::unlinkat(place.dir, temp.c_str(), 0);
    return false;
  }
  SyncFolder(place.dir);
  return true;
}

void RemoveStaleTemporaries(const TPlace& place) {
  for (const std::string& prefix :
       {place.base + ".tmp.", place.base + ".bak.tmp.", place.base + ".lock.tmp."})
    for (const std::string& name : NamesStartingWith(place.dir, prefix))
      if (name.size() == prefix.size() + 6) ::unlinkat(place.dir, name.c_str(), 0);
}

namespace {

// A new lock, with the group and mode everybody who may write the score file
// needs; -1 with errno EEXIST when another copy made one first. It appears
// under its name complete: made under a name of its own, then linked to the
// lock's name. Made in place, another copy could find it still private for
// a moment and be refused. Where the filesystem has no hard links it is
// made in place.
int NewLock(const TPlace& place, const TFileState& f, const std::string& name) {
  const auto give = [&](int fd) {
    if (f.kind == TFileState::kRead)
      [[maybe_unused]] const int given = ::fchown(fd, uid_t(-1), f.st.st_gid);
    else
      GiveFolderGroup(place, fd);
    ::fchmod(fd, NewFileMode(place, f));
  };
  std::string temp;
  int fd = NewTemporary(place.dir, place.base + ".lock.tmp.", temp);
  if (fd < 0) return -1;
  give(fd);
  const bool linked = ::linkat(place.dir, temp.c_str(), place.dir, name.c_str(), 0) == 0;
  const int error = errno;
  ::unlinkat(place.dir, temp.c_str(), 0);
  if (linked) return fd;
  ::close(fd);
  // ENOENT: a save removed the new one as a stale temporary; try again.
  if (error == EEXIST || error == ENOENT) {
    errno = EEXIST;
    return -1;
  }
  fd = ::openat(place.dir, name.c_str(), O_RDONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd >= 0) give(fd);
  return fd;
}

}  // namespace

int OpenLock(const TPlace& place, const TFileState& f, std::string& why) {
  const std::string name = place.base + ".lock";
  for (int attempt = 0; attempt < 10; ++attempt) {
    int fd = ::openat(place.dir, name.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) {
      struct stat st;
      if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        why = "\"" + name + "\" is not a regular file";
        return -1;
      }
      // The lock's owner lets everybody who may write the score file open it.
      if (st.st_uid == ::geteuid() && f.kind == TFileState::kRead) {
        if (st.st_gid != f.st.st_gid)
          [[maybe_unused]] const int given = ::fchown(fd, uid_t(-1), f.st.st_gid);
        if ((st.st_mode & 07777) != (f.st.st_mode & 0666)) ::fchmod(fd, f.st.st_mode & 0666);
      }
      return fd;
    }
    if (errno == ELOOP) {
      why = "\"" + name + "\" is a link; the program does not follow it";
      return -1;
    }
    if (errno != ENOENT) {
      why = "\"" + name + "\": " + std::strerror(errno);
      return -1;
    }
    fd = NewLock(place, f, name);
    if (fd >= 0) return fd;
    if (errno != EEXIST) {
      why = "\"" + name + "\" cannot be made: " + std::strerror(errno);
      return -1;
    }
  }
  why = "\"" + name + "\" keeps changing";
  return -1;
}

bool WaitForLock(int fd, int milliseconds, const volatile std::sig_atomic_t* stops,
                 std::string& why) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  const std::sig_atomic_t start = stops ? *stops : 0;
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EWOULDBLOCK && errno != EINTR) {
      why = std::strerror(errno);
      return false;
    }
    if (stops && *stops != start) {
      why = "the wait for the lock was stopped";
      return false;
    }
    if (std::chrono::steady_clock::now() >= end) {
      why = "another program held the lock for " + std::to_string(milliseconds) + " ms";
      return false;
    }
    const struct timespec pause = {0, 20 * 1000 * 1000};
    ::nanosleep(&pause, nullptr);
  }
  return true;
}

}  // namespace scorestore
