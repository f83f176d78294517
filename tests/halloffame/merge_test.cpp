// SPDX-License-Identifier: GPL-3.0-or-later
// The merge of a save, without a disk: the file's records now, the table as
// this run loaded it and as it is now, and results kept aside earlier, into
// the new table. Every expected table is worked out by hand from the rules:
// this run's changes win, other players keep the file's record, a kept-aside
// result joins when its player is new or it is later, the exchange sort
// ranks only when something changed, at most 100 stay and never one of this
// run's.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "halloffame/hall_fixture.h"
#include "halloffame/merge.h"

namespace {

// A player: name, level of game 1 (its total score), date.
ScoreRecord P(const char* name, uint32_t level, double date = 45000.0) {
  return MakeRecord(name, "", level, date);
}

std::vector<std::string> Names(const std::vector<ScoreRecord>& records) {
  std::vector<std::string> out;
  for (const ScoreRecord& r : records)
    out.push_back(RecordName(r).toStdString() + ":" + std::to_string(r.levels & 7));
  return out;
}

TEST(Merge, TableOfCases) {
  struct Case {
    const char* what;
    std::vector<ScoreRecord> file, loaded, table, aside;
    std::vector<std::string> expected;
    bool changed;
  } cases[] = {
      {"nothing recorded keeps the file's order", {P("A", 1), P("B", 3)}, {P("A", 1), P("B", 3)},
       {P("A", 1), P("B", 3)}, {}, {"A:1", "B:3"}, false},
      {"another copy's players stay, this run's newcomer is ranked in",
       {P("A", 1), P("C", 4)}, {P("A", 1)}, {P("A", 1), P("B", 2)}, {},
       {"C:4", "B:2", "A:1"}, true},
      {"this run's change beats the file's", {P("A", 4)}, {P("A", 1)}, {P("A", 2, 45001.0)}, {},
       {"A:2"}, true},
      {"a player this run did not touch keeps the file's record", {P("A", 4)}, {P("A", 1)},
       {P("A", 1)}, {}, {"A:4"}, false},
      {"letter case: one player", {P("Anna", 1)}, {P("Anna", 1)}, {P("ANNA", 3, 45001.0)}, {},
       {"ANNA:3"}, true},
      {"a player this run removed goes", {P("A", 2), P("B", 1)}, {P("A", 2), P("B", 1)},
       {P("A", 2), P("N", 3)}, {}, {"N:3", "A:2"}, true},
      {"... unless another copy changed it since", {P("A", 2), P("B", 4, 45002.0)},
       {P("A", 2), P("B", 1)}, {P("A", 2), P("N", 3)}, {}, {"B:4", "N:3", "A:2"}, true},
      {"a later kept-aside result joins", {P("A", 1, 45000.0)}, {P("A", 1)}, {P("A", 1)},
       {P("A", 5, 45003.0)}, {"A:5"}, true},
      {"an older kept-aside result does not", {P("A", 1, 45005.0)}, {P("A", 1, 45005.0)},
       {P("A", 1, 45005.0)}, {P("A", 5, 45003.0)}, {"A:1"}, false},
      {"a kept-aside newcomer joins, this run's result of it wins", {P("A", 3)}, {P("A", 3)},
       {P("A", 3), P("K", 1, 45009.0)}, {P("K", 4, 45001.0), P("L", 2)},
       {"A:3", "L:2", "K:1"}, true},
      {"equal totals are not swapped directly", {P("A", 1), P("B", 2), P("C", 2)},
       {P("A", 1), P("B", 2), P("C", 2)}, {P("A", 1), P("B", 2), P("C", 2), P("D", 1)}, {},
       // i=1: B(2)>A(1) swap -> B A C D; C(2)>B? no; i=2: C(2)>A(1) -> B C A D
       {"B:2", "C:2", "A:1", "D:1"}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const TMergeResult out = MergeTables({c.file, c.loaded, c.table, c.aside});
    EXPECT_EQ(Names(out.table), c.expected);
    EXPECT_EQ(out.changed, c.changed);
  }
}

// Past 100 the lowest ranked go, never a record of this run, however low.
TEST(Merge, AtMostAHundredNeverDroppingThisRunsRecords) {
  std::vector<ScoreRecord> file;
  for (int i = 0; i < 100; ++i) file.push_back(MakeRecord(PlayerName(i), "", 2));
  const std::vector<ScoreRecord> loaded = file;
  std::vector<ScoreRecord> table = file;
  table.push_back(MakeRecord("Mine", "", 1));  // total 1, the lowest of all
  const TMergeResult out = MergeTables({file, loaded, table, {}});
  ASSERT_EQ(out.table.size(), 100u);
  EXPECT_EQ(RecordName(out.table.back()), QStringLiteral("Mine"));
  EXPECT_EQ(RecordName(out.table[98]), QStringLiteral("P98"));  // P99 went
  for (const ScoreRecord& r : out.table) EXPECT_NE(RecordName(r), QStringLiteral("P99"));
}

TEST(Merge, ThisRunsRecordsAreTheChangedOnes) {
  const std::vector<ScoreRecord> loaded = {P("A", 1), P("B", 2)};
  const std::vector<ScoreRecord> table = {P("A", 1), P("B", 3), P("C", 1)};
  EXPECT_EQ(Names(ThisRunsRecords(loaded, table)), (std::vector<std::string>{"B:3", "C:1"}));
}

}  // namespace
