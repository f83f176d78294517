// SPDX-License-Identifier: GPL-3.0-or-later
#include "halloffame/ranking.h"

#include <QByteArray>
#include <algorithm>
#include <cstring>

#include "halloffame/security.h"

namespace {

QString ToUpperAscii(const QString& s) {
  QString out = s;
  for (QChar& c : out)
    if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - 32);
  return out;
}

}  // namespace

TRanking::TRanking() { Clear(); }

void TRanking::Clear() {
  for (int k = 1; k <= kHallSize; ++k) {
    slots_[k] = ScoreRecord{};
    order_[k] = uint8_t(k);
  }
}

void TRanking::Sort() {
  std::vector<uint8_t> order(order_ + 1, order_ + 1 + count_);
  ExchangeSort(order, [this](uint8_t slot) { return TotalScore(slots_[slot].levels); });
  std::copy(order.begin(), order.end(), order_ + 1);
}

QString TRanking::StoredPasswordOf(const QString& name) const {
  for (int k = 1; k <= count_; ++k)
    if (RecordName(slots_[k]) == name)
      return QString::fromLatin1(slots_[k].password, std::min<int>(slots_[k].passwordLength, 20));
  return QString();
}

uint32_t TRanking::StoredLevelsOf(const QString& name) const {
  for (int k = 1; k <= count_; ++k)
    if (RecordName(slots_[k]) == name) return slots_[k].levels;
  return 0;
}

int TRanking::SlotFor(const std::function<bool(const ScoreRecord&)>& same) {
  int slot = 0;
  for (int k = 1; k <= count_ && slot == 0; ++k)
    if (same(slots_[k])) slot = k;
  if (slot == 0) {
    if (count_ < kHallSize) ++count_;
    slot = count_;
  }
  return slot;
}

void TRanking::StoreResult(const QString& typedName, const QString& typedPassword,
                           uint32_t levels) {
  const QString name = typedName.left(10);
  const QString upper = ToUpperAscii(name);
  ScoreRecord& r =
      slots_[SlotFor([&](const ScoreRecord& s) { return ToUpperAscii(RecordName(s)) == upper; })];
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
  Sort();
}

void TRanking::Put(const ScoreRecord& record) {
  const std::string upper = UpperName(record);
  slots_[SlotFor([&](const ScoreRecord& s) { return UpperName(s) == upper; })] = record;
}

std::vector<ScoreRecord> TRanking::TableRecords() const {
  return std::vector<ScoreRecord>(slots_ + 1, slots_ + 1 + count_);
}

void TRanking::SetTable(const std::vector<ScoreRecord>& records) {
  const size_t n = std::min(records.size(), size_t(kHallSize));
  count_ = uint8_t(n);
  for (size_t r = 0; r < n; ++r) {
    slots_[r + 1] = records[r];
    order_[r + 1] = uint8_t(r + 1);
  }
  for (size_t r = n; r < size_t(kHallSize); ++r) order_[r + 1] = uint8_t(r + 1);
}
