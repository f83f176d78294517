// SPDX-License-Identifier: GPL-3.0-or-later
// The score file on disk: where it is, reading it, judging whether this user
// may replace it, the lock beside it, new files beside it (with the modes a
// shared folder needs), whole-file replacement and rotating backups.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <csignal>
#include <string>
#include <vector>

#include "halloffame/scorerecord.h"

namespace scorestore {

constexpr const char* kScoreFile = "ZamScores";

// Records read at most from a score file: far beyond the 100 a hall of fame
// holds, so a huge or endless file cannot hold up the start. A longer file
// is not one this program wrote; it is kept as it is and never replaced.
constexpr size_t kScanLimit = 10000;

// Backups beside the file: "ZamScores.bak" (the newest), then ".bak.1" up
// to ".bak.9" (the oldest).
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
  ~TPlace();
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

TFileState Refused(TRefusal refusal, const std::string& why);

// Finds the score file's folder and name. "ZamScores" as a symbolic link is
// followed only when every link on the way and the regular file at its end
// belong to the user running the program.
TRefusal Locate(TPlace& place, std::string& why);
// The current folder, for keeping results aside when the file cannot be
// located.
bool CurrentFolder(TPlace& place);

// Reads the score file without blocking: only a regular file (never opened
// through a link) of at most kScanLimit records.
TFileState ReadScoreFile(const TPlace& place);
// Whether this user may write the file read and make files beside it.
void Judge(const TPlace& place, TFileState& f);
// Whether a save must rewrite the file in place (another user's file, which
// a new file could not take the owner of) rather than replace it.
bool RewritesInPlace(const TFileState& f);

// Files made beside the score file: the score file's own mode, or for a
// first file the umask's; in a folder its group may write (a class's shared
// folder) group-writable with the folder's group, whatever the umask.
mode_t NewFileMode(const TPlace& place, const TFileState& f);
void GiveFolderGroup(const TPlace& place, int fd);

bool WriteAll(int fd, const uint8_t* data, size_t size);
// Up to `size` bytes from the file's position: fewer where the file ends or
// a read fails.
std::vector<uint8_t> ReadUpTo(int fd, size_t size);
void SyncFolder(int dir);
// A new file under a fresh name "<prefix>XXXXXX" made by this call (O_EXCL),
// never through a link, mode 0600.
int NewTemporary(int dir, const std::string& prefix, std::string& name);
// Every name in the folder starting with prefix.
std::vector<std::string> NamesStartingWith(int dir, const std::string& prefix);

// Writes data to a new file and renames it to the score file's name, so the
// file named is either the old one or the complete new one. `keep`: the
// old file, whose mode and owner (where the user may give it) the new one
// takes.
// `stop`, for tests, is asked between writing and renaming; true ends the
// replacement there as if the program had been killed.
enum class TReplace { kDone, kFailed, kStopped };
TReplace ReplaceFile(const TPlace& place, const std::vector<uint8_t>& data, const struct stat* keep,
                     mode_t mode, bool (*stop)(), std::string& why);
// Keeps `bytes` as the newest backup; the older ones move one name on and
// the oldest of ten goes. Names that are not this user's regular files are
// skipped, never followed or replaced; with none left the backup takes a
// fresh name of its own. False only when the bytes could not be written.
bool Backup(const TPlace& place, const std::vector<uint8_t>& bytes, const struct stat& st,
            std::string& why);
// Temporary files of earlier saves that never finished. Only under the lock.
void RemoveStaleTemporaries(const TPlace& place);

// The lock beside the file, opened read-only (all flock needs) and never
// through a link. A new one gets the mode a new score file would get; one of
// this user's takes the score file's mode and group, so that everybody who
// may write the score file may open it. -1 with `why` when it cannot be had.
int OpenLock(const TPlace& place, const TFileState& f, std::string& why);
// Waits for the lock at most `milliseconds`, and stops at once when
// `*stops` changes (a signal asks the program to end).
bool WaitForLock(int fd, int milliseconds, const volatile std::sig_atomic_t* stops, std::string& why);

}  // namespace scorestore
