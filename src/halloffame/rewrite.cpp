// SPDX-License-Identifier: GPL-3.0-or-later
#include "halloffame/rewrite.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace scorestore {

namespace {

// The journal: a header, then the old contents, then the new.
//   0  8  "ZAMJRNL1"
//   8  8  device of the score file
//  16  8  inode of the score file
//  24  8  length of the old contents
//  32  8  length of the new contents
//  40  8  FNV-1a of bytes 0..39 and of both contents
constexpr char kMagic[8] = {'Z', 'A', 'M', 'J', 'R', 'N', 'L', '1'};
constexpr size_t kHeader = 48;

std::string JournalPrefix(const TPlace& place) { return place.base + ".journal."; }

uint64_t Fnv(const uint8_t* data, size_t size, uint64_t h = 0xcbf29ce484222325ull) {
  for (size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 0x100000001b3ull;
  return h;
}

void Put(std::vector<uint8_t>& out, size_t at, uint64_t v) {
  for (int i = 0; i < 8; ++i) out[at + size_t(i)] = uint8_t(v >> (8 * i));
}

uint64_t Get(const std::vector<uint8_t>& in, size_t at) {
  uint64_t v = 0;
  for (int i = 0; i < 8; ++i) v |= uint64_t(in[at + size_t(i)]) << (8 * i);
  return v;
}

struct TJournal {
  std::string name;
  dev_t dev = 0;
  ino_t ino = 0;
  std::vector<uint8_t> before, after;
};

std::vector<uint8_t> EncodeJournal(const struct stat& st, const std::vector<uint8_t>& before,
                                   const std::vector<uint8_t>& after) {
  std::vector<uint8_t> out(kHeader);
  std::memcpy(out.data(), kMagic, 8);
  Put(out, 8, uint64_t(st.st_dev));
  Put(out, 16, uint64_t(st.st_ino));
  Put(out, 24, before.size());
  Put(out, 32, after.size());
  out.insert(out.end(), before.begin(), before.end());
  out.insert(out.end(), after.begin(), after.end());
  uint64_t h = Fnv(out.data(), 40);
  h = Fnv(out.data() + kHeader, out.size() - kHeader, h);
  Put(out, 40, h);
  return out;
}

// A journal beside the file, read only when it is a regular file (never
// through a link) made by somebody who may write the score file: its owner,
// or a member of its group when the group may write it.
bool ReadJournal(const TPlace& place, const std::string& name, const struct stat& file,
                 TJournal& j) {
  const int fd = ::openat(place.dir, name.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  const size_t limit = kHeader + 2 * kScanLimit * sizeof(ScoreRecord);
  const bool trusted = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && size_t(st.st_size) <= limit &&
                       (st.st_uid == file.st_uid || st.st_uid == 0 ||
                        ((file.st_mode & S_IWGRP) && st.st_gid == file.st_gid) ||
                        (file.st_mode & S_IWOTH));
  const std::vector<uint8_t> bytes = trusted ? ReadUpTo(fd, size_t(st.st_size)) : std::vector<uint8_t>();
  ::close(fd);
  if (bytes.size() < kHeader || std::memcmp(bytes.data(), kMagic, 8) != 0) return false;
  const uint64_t before = Get(bytes, 24), after = Get(bytes, 32);
  if (before > limit || after > limit || kHeader + before + after != bytes.size()) return false;
  uint64_t h = Fnv(bytes.data(), 40);
  h = Fnv(bytes.data() + kHeader, bytes.size() - kHeader, h);
  if (h != Get(bytes, 40)) return false;
  j.name = name;
  j.dev = dev_t(Get(bytes, 8));
  j.ino = ino_t(Get(bytes, 16));
  j.before.assign(bytes.begin() + kHeader, bytes.begin() + std::ptrdiff_t(kHeader + before));
  j.after.assign(bytes.begin() + std::ptrdiff_t(kHeader + before), bytes.end());
  return true;
}

// Whether `now` is what a rewrite from j.before to j.after can leave when
// cut short: the new bytes up to some point, the old ones (or the zeros of
// reserved room) after it, of the old length or the new.
bool CutShort(const TJournal& j, const std::vector<uint8_t>& now) {
  if (now.size() != j.before.size() && now.size() != j.after.size()) return false;
  size_t k = 0;
  while (k < now.size() && k < j.after.size() && now[k] == j.after[k]) ++k;
  for (size_t i = k; i < now.size(); ++i)
    if (now[i] != (i < j.before.size() ? j.before[i] : 0)) return false;
  return true;
}

// Counts the bytes written to the score file, for the fault seam.
struct TSteps {
  TRewriteFault fault;  // none: every step as the system does it
  size_t written = 0;
  bool armed = fault.step != TRewriteFault::kNone;
  bool Fails(TRewriteFault::Step step) {
    if (!armed || fault.step != step || written < fault.afterBytes) return false;
    armed = false;
    return true;
  }
  bool Write(int fd, const uint8_t* data, size_t size, off_t at) {
    while (size > 0) {
      size_t chunk = size;
      bool fail = false;
      if (armed && fault.step == TRewriteFault::kWrite && written + chunk > fault.afterBytes) {
        chunk = fault.afterBytes > written ? fault.afterBytes - written : 0;
        fail = true;
      }
      if (chunk > 0) {
        const ssize_t n = ::pwrite(fd, data, chunk, at);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= size_t(n);
        at += n;
        written += size_t(n);
        if (size_t(n) < chunk) continue;
      }
      if (fail) {
        armed = false;
        errno = ENOSPC;
        return false;
      }
    }
    return true;
  }
  bool Truncate(int fd, off_t length) {
    if (Fails(TRewriteFault::kTruncate)) {
      errno = EIO;
      return false;
    }
    return ::ftruncate(fd, length) == 0;
  }
  bool Sync(int fd) {
    if (Fails(TRewriteFault::kSync)) {
      errno = EIO;
      return false;
    }
    return ::fsync(fd) == 0;
  }
};

// Writes `data` over the file's contents: the bytes, then the length, then
// a sync.
bool Overwrite(int fd, const std::vector<uint8_t>& data, TSteps& steps) {
  return steps.Write(fd, data.data(), data.size(), 0) && steps.Truncate(fd, off_t(data.size())) &&
         steps.Sync(fd);
}

// The score file opened for writing: the very file `st` describes.
int OpenSame(const TPlace& place, const struct stat& st) {
  const int fd =
      ::openat(place.dir, place.base.c_str(), O_RDWR | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat now;
  if (::fstat(fd, &now) != 0 || !S_ISREG(now.st_mode) || now.st_dev != st.st_dev ||
      now.st_ino != st.st_ino) {
    ::close(fd);
    errno = ESTALE;
    return -1;
  }
  return fd;
}

// Room for `size` bytes, so that a full disk or a file-size limit stops the
// rewrite before anything is changed. The file's length stays as it is.
bool Reserve(int fd, size_t size, std::string& why) {
  struct rlimit limit;
  if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
      size > limit.rlim_cur) {
    why = std::strerror(EFBIG);
    return false;
  }
  if (size > 0 && ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, off_t(size)) != 0 &&
      errno != EOPNOTSUPP && errno != ENOSYS) {
    why = std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace

TRewrite RewriteInPlace(const TPlace& place, const TFileState& old,
                        const std::vector<uint8_t>& data, std::string& why,
                        const TRewriteFault& fault) {
  const int fd = OpenSame(place, old.st);
  if (fd < 0) {
    why = errno == ESTALE ? "the file changed while it was being saved" : std::strerror(errno);
    return TRewrite::kRestored;
  }
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  // The journal: both contents, synced, before the first byte changes.
  std::string journal;
  const int jfd = NewTemporary(place.dir, JournalPrefix(place), journal);
  if (jfd < 0) {
    why = std::string("no journal could be made: ") + std::strerror(errno);
    return TRewrite::kRestored;
  }
  [[maybe_unused]] const int given = ::fchown(jfd, uid_t(-1), old.st.st_gid);
  ::fchmod(jfd, (old.st.st_mode & 0444) | 0200);  // readable by those who may repair
  const std::vector<uint8_t> bytes = EncodeJournal(old.st, old.bytes, data);
  const bool journalled = WriteAll(jfd, bytes.data(), bytes.size()) && ::fsync(jfd) == 0;
  const int saved = errno;
  ::close(jfd);
  if (!journalled) {
    ::unlinkat(place.dir, journal.c_str(), 0);
    why = std::string("no journal could be written: ") + std::strerror(saved);
    return TRewrite::kRestored;
  }
  SyncFolder(place.dir);
  if (!Reserve(fd, std::max(data.size(), old.bytes.size()), why)) {
    ::unlinkat(place.dir, journal.c_str(), 0);
    return TRewrite::kRestored;
  }
  TSteps steps{fault};
  if (Overwrite(fd, data, steps)) {
    ::unlinkat(place.dir, journal.c_str(), 0);
    SyncFolder(place.dir);
    return TRewrite::kDone;
  }
  why = std::strerror(errno);
  if (fault.killed) return TRewrite::kPending;  // as if the program ended here
  // The old contents back at once.
  TSteps unfailing;
  unfailing.armed = false;
  if (Overwrite(fd, old.bytes, unfailing)) {
    ::unlinkat(place.dir, journal.c_str(), 0);
    SyncFolder(place.dir);
    return TRewrite::kRestored;
  }
  return TRewrite::kPending;
}

namespace {

std::vector<TJournal> Journals(const TPlace& place, const struct stat& file) {
  std::vector<TJournal> out;
  for (const std::string& name : NamesStartingWith(place.dir, JournalPrefix(place))) {
    TJournal j;
    if (ReadJournal(place, name, file, j) && j.dev == file.st_dev && j.ino == file.st_ino)
      out.push_back(std::move(j));
  }
  return out;
}

}  // namespace

std::optional<std::vector<uint8_t>> JournalledContents(const TPlace& place, const TFileState& f) {
  if (f.kind != TFileState::kRead) return std::nullopt;
  for (const TJournal& j : Journals(place, f.st))
    if (CutShort(j, f.bytes)) return j.after;
  return std::nullopt;
}

bool RepairFromJournals(const TPlace& place) {
  const TFileState f = ReadScoreFile(place);
  if (f.kind != TFileState::kRead) return false;
  bool repaired = false;
  for (const std::string& name : NamesStartingWith(place.dir, JournalPrefix(place))) {
    TJournal j;
    if (!ReadJournal(place, name, f.st, j)) continue;  // not a journal, or nobody's to trust
    const TFileState now = ReadScoreFile(place);
    if (now.kind != TFileState::kRead) break;
    if (j.dev == now.st.st_dev && j.ino == now.st.st_ino && now.bytes != j.after &&
        CutShort(j, now.bytes)) {
      const int fd = OpenSame(place, now.st);
      if (fd < 0) continue;  // not this user's to write: left for one who may
      TSteps unfailing;
      unfailing.armed = false;
      const bool done = Overwrite(fd, j.after, unfailing);
      ::close(fd);
      if (!done) continue;
      repaired = true;
    }
    // Done, or a journal of a file replaced since: it has served.
    ::unlinkat(place.dir, j.name.c_str(), 0);
  }
  if (repaired) SyncFolder(place.dir);
  return repaired;
}

}  // namespace scorestore
