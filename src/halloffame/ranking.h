// SPDX-License-Identifier: GPL-3.0-or-later
// The ranking table: 100 slots of players, how many are used, and the rank
// order, sorted by total score with an exchange sort.
#pragma once

#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

#include "halloffame/scorerecord.h"

constexpr int kHallSize = 100;

extern ScoreRecord Slots[kHallSize + 1];  // slots 1..100
extern uint8_t EntryCount;                // slots 1..EntryCount are in use
extern uint8_t RankOrder[kHallSize + 1];  // RankOrder[r]: the slot at rank r

// Every slot empty, the rank order the slot order; EntryCount unchanged.
void ClearHallOfFame();
void SortHallOfFame();
QString StoredPasswordOf(const QString& name);  // scrambled
uint32_t StoredLevelsOf(const QString& name);
// The result of a game in the table: the slot of the name (letter case
// ignored), else a new slot, else slot 100; then the table is ranked.
void StoreResult(const QString& name, const QString& password, uint32_t levels);
// The used slots, and the table holding exactly `records` in rank order.
std::vector<ScoreRecord> TableRecords();
void SetTable(const std::vector<ScoreRecord>& records);

// The ranking's exchange sort, descending by total: an entry moves up only
// past a strictly greater total, so equal totals never swap with each other
// directly.
template <class T, class Total>
void ExchangeSort(std::vector<T>& order, Total total) {
  for (size_t i = 0; i + 1 < order.size(); ++i)
    for (size_t j = i + 1; j < order.size(); ++j)
      if (total(order[j]) > total(order[i])) std::swap(order[i], order[j]);
}
