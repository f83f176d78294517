// SPDX-License-Identifier: GPL-3.0-or-later
// Rewriting another user's score file in place (so that its owner stays),
// made safe: the old and the new contents are written and synced to a
// journal of this user's own beside the file, and room for the new length
// is reserved, before the first byte of the file changes; a failed write, truncate or sync puts
// the old contents back at once; a rewrite cut short by the program's end is
// completed from its journal by the next copy of the program that gets the
// lock, before the file is loaded.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "halloffame/scorestore.h"

namespace scorestore {

// For tests: makes one step on the score file fail once the rewrite has
// written `afterBytes` bytes to it (a write writes what fits and fails; a
// truncate or sync fails), as a full disk or a file-size limit would; or,
// with `killed`, ends the rewrite there as if the program had been killed.
// The default fault is none.
struct TRewriteFault {
  enum Step { kNone, kWrite, kTruncate, kSync } step = kNone;
  size_t afterBytes = 0;
  bool killed = false;
};

enum class TRewrite {
  kDone,      // the file holds the new contents
  kRestored,  // nothing changed, or the old contents were put back
  kPending,   // cut short and not put back: the journal completes it
};

// Rewrites the file read (`old`, the very file: same device and inode) to
// `data` in place. Only under the lock. `fault` is the tests' seam.
TRewrite RewriteInPlace(const TPlace& place, const TFileState& old,
                        const std::vector<uint8_t>& data, std::string& why,
                        const TRewriteFault& fault = {});

// The contents a rewrite cut short was writing, when a journal beside the
// file belongs to the file as it is now; used to load a file another copy
// is rewriting this very moment.
std::optional<std::vector<uint8_t>> JournalledContents(const TPlace& place, const TFileState& f);

// Completes rewrites cut short, from their journals, and removes journals
// that are done. Only under the lock. True when the file was changed.
bool RepairFromJournals(const TPlace& place);

}  // namespace scorestore
