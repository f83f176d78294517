// SPDX-License-Identifier: GPL-3.0-or-later
#include "halloffame/ranking.h"

#include <QByteArray>
#include <algorithm>
#include <cstring>

#include "halloffame/security.h"

ScoreRecord Slots[kHallSize + 1];
uint8_t EntryCount = 0;
uint8_t RankOrder[kHallSize + 1];

namespace {

QString ToUpperAscii(const QString& s) {
  QString out = s;
  for (QChar& c : out)
    if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - 32);
  return out;
}

}  // namespace

void ClearHallOfFame() {
  for (int k = 1; k <= kHallSize; ++k) {
    Slots[k] = ScoreRecord{};
    RankOrder[k] = uint8_t(k);
  }
}

void SortHallOfFame() {
  std::vector<uint8_t> order(RankOrder + 1, RankOrder + 1 + EntryCount);
  ExchangeSort(order, [](uint8_t slot) { return TotalScore(Slots[slot].levels); });
  std::copy(order.begin(), order.end(), RankOrder + 1);
}

QString StoredPasswordOf(const QString& name) {
  for (int k = 1; k <= EntryCount; ++k)
    if (RecordName(Slots[k]) == name)
      return QString::fromLatin1(Slots[k].password, std::min<int>(Slots[k].passwordLength, 20));
  return QString();
}

uint32_t StoredLevelsOf(const QString& name) {
  for (int k = 1; k <= EntryCount; ++k)
    if (RecordName(Slots[k]) == name) return Slots[k].levels;
  return 0;
}

void StoreResult(const QString& typedName, const QString& typedPassword, uint32_t levels) {
  const QString name = typedName.left(10);
  int slot = 0;
  for (int k = 1; k <= EntryCount && slot == 0; ++k)
    if (ToUpperAscii(RecordName(Slots[k])) == ToUpperAscii(name)) slot = k;
  if (slot == 0) {
    if (EntryCount < kHallSize) ++EntryCount;
    slot = EntryCount;
  }
  ScoreRecord& r = Slots[slot];
  const QByteArray nameBytes = name.toLatin1();
  const QByteArray password = ScrambleText(typedPassword).toLatin1().left(20);
  std::memset(r.name, 0, sizeof r.name);
  std::memset(r.password, 0, sizeof r.password);
  r.nameLength = uint8_t(nameBytes.size());
  std::memcpy(r.name, nameBytes.constData(), size_t(nameBytes.size()));
  r.passwordLength = uint8_t(password.size());
  std::memcpy(r.password, password.constData(), size_t(password.size()));
  r.levels = levels;
  r.date = OleDateNow();
  r.checksum = RecordChecksum(r);
  SortHallOfFame();
}

std::vector<ScoreRecord> TableRecords() {
  return std::vector<ScoreRecord>(Slots + 1, Slots + 1 + EntryCount);
}

void SetTable(const std::vector<ScoreRecord>& records) {
  const size_t n = std::min(records.size(), size_t(kHallSize));
  EntryCount = uint8_t(n);
  for (size_t r = 0; r < n; ++r) {
    Slots[r + 1] = records[r];
    RankOrder[r + 1] = uint8_t(r + 1);
  }
  for (size_t r = n; r < size_t(kHallSize); ++r) RankOrder[r + 1] = uint8_t(r + 1);
}
