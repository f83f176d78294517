// SPDX-License-Identifier: GPL-3.0-or-later
#include "halloffame/merge.h"

#include <algorithm>

#include "halloffame/ranking.h"

std::vector<ScoreRecord> ThisRunsRecords(const std::vector<ScoreRecord>& loaded,
                                         const std::vector<ScoreRecord>& table) {
  std::vector<ScoreRecord> mine;
  for (const ScoreRecord& now : table) {
    bool changed = true;
    for (const ScoreRecord& before : loaded)
      if (UpperName(before) == UpperName(now) && SameRecord(before, now)) changed = false;
    if (changed) mine.push_back(now);
  }
  return mine;
}

bool TakeIn(std::vector<ScoreRecord>& table, const ScoreRecord& r) {
  for (ScoreRecord& t : table)
    if (UpperName(t) == UpperName(r)) {
      if (!(r.date > t.date) || SameRecord(t, r)) return false;
      t = r;
      return true;
    }
  table.push_back(r);
  return true;
}

TMergeResult MergeTables(const TMergeInput& in) {
  std::vector<ScoreRecord> merged = in.file;
  bool changes = false;
  auto find = [&merged](const std::string& name) {
    return std::find_if(merged.begin(), merged.end(),
                        [&](const ScoreRecord& r) { return UpperName(r) == name; });
  };
  for (const ScoreRecord& before : in.loaded) {
    bool kept = false;
    for (const ScoreRecord& now : in.table) kept = kept || UpperName(now) == UpperName(before);
    const auto it = find(UpperName(before));
    if (!kept && it != merged.end() && SameRecord(*it, before)) {
      merged.erase(it);
      changes = true;
    }
  }
  for (const ScoreRecord& r : in.aside) changes = TakeIn(merged, r) || changes;
  const std::vector<ScoreRecord> mine = ThisRunsRecords(in.loaded, in.table);
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
  if (changes) {
    std::vector<uint8_t> totals(merged.size());  // worked out once: a hand-made file may be long
    for (size_t i = 0; i < merged.size(); ++i) totals[i] = TotalScore(merged[i].levels);
    ExchangeSort(order, [&](size_t i) { return totals[i]; });
  }
  auto ofThisRun = [&](size_t i) {
    for (const ScoreRecord& r : mine)
      if (SameRecord(r, merged[i])) return true;
    return false;
  };
  for (size_t r = order.size(); r-- > 0 && order.size() > size_t(kHallSize);)
    if (!ofThisRun(order[r])) order.erase(order.begin() + std::ptrdiff_t(r));
  if (order.size() > size_t(kHallSize)) order.resize(size_t(kHallSize));
  TMergeResult out;
  out.changed = changes;
  for (size_t i : order) out.table.push_back(merged[i]);
  return out;
}
