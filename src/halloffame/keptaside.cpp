// SPDX-License-Identifier: GPL-3.0-or-later
#include "halloffame/keptaside.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "halloffame/merge.h"

namespace scorestore {

namespace {

// Removes the file read as `name`, unless something else took that name since.
void RemoveRead(const TPlace& place, const std::string& name, ino_t inode) {
  struct stat st;
  if (::fstatat(place.dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && st.st_ino == inode)
    ::unlinkat(place.dir, name.c_str(), 0);
}

std::string Prefix(const TPlace& place) { return place.base + ".unsaved-"; }

// The user's login name where it is a plain one, else the user number.
std::string UserTag() {
  const uid_t me = ::geteuid();
  if (const passwd* pw = ::getpwuid(me); pw && pw->pw_name && *pw->pw_name) {
    const std::string name = pw->pw_name;
    bool plain = name.size() <= 32;
    for (char c : name)
      plain = plain && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                        (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '.');
    if (plain && name[0] != '.') return name;
  }
  return std::to_string(me);
}

}  // namespace

TKeptAside ReadKeptAside(const TPlace& place) {
  TKeptAside out;
  const size_t limit = kScanLimit * sizeof(ScoreRecord);
  for (const std::string& name : NamesStartingWith(place.dir, Prefix(place))) {
    struct stat st;
    if (::fstatat(place.dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode) ||
        st.st_uid != ::geteuid() || size_t(st.st_size) > limit)
      continue;
    const int fd = ::openat(place.dir, name.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat opened;
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) || opened.st_uid != ::geteuid()) {
      ::close(fd);
      continue;
    }
    if (opened.st_mode & 022) {  // others may have written it: not taken as this user's
      ::close(fd);
      out.refused.push_back(name);
      continue;
    }
    const std::vector<uint8_t> bytes = ReadUpTo(fd, size_t(opened.st_size));
    ::close(fd);
    out.names.push_back(name);
    out.inodes.push_back(opened.st_ino);
    for (const ScoreRecord& r : DecodeValidRecords(bytes, nullptr)) TakeIn(out.records, r);
  }
  return out;
}

bool KeepAside(const TPlace& place, const std::vector<ScoreRecord>& records, std::string& name,
               std::string& why) {
  const TKeptAside earlier = ReadKeptAside(place);
  std::vector<ScoreRecord> all = earlier.records;
  for (const ScoreRecord& r : records) TakeIn(all, r);
  const std::vector<uint8_t> data = EncodeRecords(all);
  std::string temp;
  const int fd = NewTemporary(place.dir, place.base + ".aside.tmp.", temp);
  if (fd < 0) {
    why = std::strerror(errno);
    return false;
  }
  ::fchmod(fd, 0600);
  bool ok = WriteAll(fd, data.data(), data.size()) && ::fsync(fd) == 0;
  if (!ok) why = std::strerror(errno);
  if (::close(fd) != 0 && ok) {
    why = std::strerror(errno);
    ok = false;
  }
  name = Prefix(place) + UserTag();
  if (ok && ::renameat(place.dir, temp.c_str(), place.dir, name.c_str()) != 0) {
    // Somebody else's file in that place, in a folder that keeps it: a
    // name of its own beside it.
    name += '-';
    name.append(temp, temp.size() - 6, 6);
    if (::renameat2(place.dir, temp.c_str(), place.dir, name.c_str(), RENAME_NOREPLACE) != 0) {
      why = std::strerror(errno);
      ok = false;
    }
  }
  if (!ok) {
    ::unlinkat(place.dir, temp.c_str(), 0);
    return false;
  }
  for (size_t i = 0; i < earlier.names.size(); ++i)
    if (earlier.names[i] != name) RemoveRead(place, earlier.names[i], earlier.inodes[i]);
  SyncFolder(place.dir);
  return true;
}

void RemoveKeptAside(const TPlace& place, const TKeptAside& aside) {
  for (size_t i = 0; i < aside.names.size(); ++i) RemoveRead(place, aside.names[i], aside.inodes[i]);
  if (!aside.names.empty()) SyncFolder(place.dir);
}

}  // namespace scorestore
