// SPDX-License-Identifier: GPL-3.0-or-later
// The ranking table: 100 slots of players, how many are used, and the rank
// order, sorted by total score with an exchange sort.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "halloffame/scorerecord.h"

constexpr int kHallSize = 100;

// The table owns its slots, their count and the rank order; only its own
// methods change them, so the three always agree.
class TRanking {
 public:
  TRanking();  // every slot empty, none used

  // Every slot empty, the rank order the slot order; the count unchanged.
  void Clear();
  // Ranks the used slots by total score.
  void Sort();
  QString StoredPasswordOf(const QString& name) const;  // scrambled
  uint32_t StoredLevelsOf(const QString& name) const;
  // The result of a game in the table: the slot of the name (letter case
  // ignored), else a new slot, else slot 100; then the table is ranked.
  void StoreResult(const QString& name, const QString& password, uint32_t levels);
  // A stored record into the slot of its player (letter case ignored), else
  // a new slot, else slot 100; the table is not ranked again.
  void Put(const ScoreRecord& record);
  // The used slots, and the table holding exactly `records` in rank order.
  std::vector<ScoreRecord> TableRecords() const;
  void SetTable(const std::vector<ScoreRecord>& records);

  // Slots 1..Count() are in use.
  int Count() const { return count_; }
  const ScoreRecord& Slot(int k) const { return slots_[k]; }  // k: 1..100
  int SlotAtRank(int r) const { return order_[r]; }           // r: 1..100
  const ScoreRecord& AtRank(int r) const { return slots_[order_[r]]; }

 private:
  // The slot whose record `same` accepts, else a new one, else the last.
  int SlotFor(const std::function<bool(const ScoreRecord&)>& same);

  ScoreRecord slots_[kHallSize + 1] = {};  // slots 1..100
  uint8_t count_ = 0;
  uint8_t order_[kHallSize + 1] = {};  // order_[r]: the slot at rank r
};

// The ranking's exchange sort, descending by total: an entry moves up only
// past a strictly greater total, so equal totals never swap with each other
// directly.
template <class T, class Total>
void ExchangeSort(std::vector<T>& order, Total total) {
  for (size_t i = 0; i + 1 < order.size(); ++i)
    for (size_t j = i + 1; j < order.size(); ++j)
      if (total(order[j]) > total(order[i])) std::swap(order[i], order[j]);
}
