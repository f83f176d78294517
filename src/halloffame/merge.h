// SPDX-License-Identifier: GPL-3.0-or-later
// The merge of a save: what the score file holds now, what this run loaded
// and changed, and results kept aside by earlier saves, into the new table.
// No file is touched here.
#pragma once

#include <vector>

#include "halloffame/scorerecord.h"

struct TMergeInput {
  std::vector<ScoreRecord> file;    // the file's valid records now, in its order
  std::vector<ScoreRecord> loaded;  // the table as this run loaded it
  std::vector<ScoreRecord> table;   // this run's table now, slot order
  std::vector<ScoreRecord> aside;   // results kept aside earlier, of this user
};

struct TMergeResult {
  std::vector<ScoreRecord> table;  // the new table in rank order (at most 100)
  bool changed = false;            // anything recorded, removed or taken in
};

// The records of `table` that this run made or changed: those not found,
// byte for byte, under the same name among the loaded ones.
std::vector<ScoreRecord> ThisRunsRecords(const std::vector<ScoreRecord>& loaded,
                                         const std::vector<ScoreRecord>& table);

// Players this run changed take this run's records; every other player keeps
// the record the file holds now. A player this run removed (a newcomer took
// the last slot of a full table) goes, unless the file changed it since. A
// result kept aside is taken in when its player is new or it is later than
// the one held. When anything changed the table is ranked by the exchange
// sort, else it keeps the file's order; past 100 the lowest ranked go, never
// a record of this run.
TMergeResult MergeTables(const TMergeInput& in);

// A result kept aside joins a table: a new player is added, a known one takes
// it when it is later than the one the table holds. False if nothing changed.
bool TakeIn(std::vector<ScoreRecord>& table, const ScoreRecord& r);
