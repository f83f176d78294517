// SPDX-License-Identifier: GPL-3.0-or-later
// Results a save could not put in the score file, kept aside beside it in a
// private file of the user's own, "ZamScores.unsaved-<user>", until a later
// save of the same user can write the score file.
#pragma once

#include <string>
#include <vector>

#include "halloffame/scorestore.h"

namespace scorestore {

struct TKeptAside {
  std::vector<std::string> names;    // this user's files, taken in
  std::vector<ino_t> inodes;         // the files read under those names
  std::vector<ScoreRecord> records;  // their valid records
  std::vector<std::string> refused;  // this user's files others may write: left alone
};

// This user's kept-aside files (another user's are left for that user).
// Only regular files, never through a link, that nobody else may write.
TKeptAside ReadKeptAside(const TPlace& place);

// Keeps `records` aside, together with what this user had kept aside
// already: the new file is written and synced under a fresh name, mode
// 0600, then renamed into place (a link or anything else in that place is
// replaced, never followed); the older files it took in go. The file's name
// in `name`.
bool KeepAside(const TPlace& place, const std::vector<ScoreRecord>& records, std::string& name,
               std::string& why);

// Removes the kept-aside files a save has taken in.
void RemoveKeptAside(const TPlace& place, const TKeptAside& aside);

}  // namespace scorestore
