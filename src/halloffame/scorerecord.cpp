// SPDX-License-Identifier: GPL-3.0-or-later
#include "halloffame/scorerecord.h"

#include <QDate>
#include <QDateTime>
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstring>

#include "halloffame/security.h"

static_assert(std::endian::native == std::endian::little,
              "records are kept in memory exactly as stored: little-endian");
static_assert(offsetof(ScoreRecord, passwordLength) == 11);
static_assert(offsetof(ScoreRecord, levels) == 32);
static_assert(offsetof(ScoreRecord, date) == 40);
static_assert(offsetof(ScoreRecord, checksum) == 48);

std::array<uint8_t, 56> EncodeRecord(const ScoreRecord& r) {
  std::array<uint8_t, 56> bytes;
  std::memcpy(bytes.data(), &r, 56);
  return bytes;
}

ScoreRecord DecodeRecord(const uint8_t* bytes) {
  ScoreRecord r;
  std::memcpy(&r, bytes, 56);
  return r;
}

std::vector<uint8_t> EncodeRecords(const std::vector<ScoreRecord>& records) {
  std::vector<uint8_t> out;
  out.reserve(records.size() * sizeof(ScoreRecord));
  for (const ScoreRecord& r : records) {
    const auto bytes = EncodeRecord(r);
    out.insert(out.end(), bytes.begin(), bytes.end());
  }
  return out;
}

std::vector<ScoreRecord> DecodeValidRecords(const std::vector<uint8_t>& bytes, bool* dropped) {
  std::vector<ScoreRecord> valid;
  bool drops = bytes.size() % sizeof(ScoreRecord) != 0;
  for (size_t at = 0; at + sizeof(ScoreRecord) <= bytes.size(); at += sizeof(ScoreRecord)) {
    const ScoreRecord r = DecodeRecord(bytes.data() + at);
    if (RecordChecksum(r) == r.checksum)
      valid.push_back(r);
    else
      drops = true;
  }
  if (dropped) *dropped = drops;
  return valid;
}

uint8_t TotalScore(uint32_t levels) {
  int total = 0;
  for (int g = 1; g <= 9; ++g) total += g * std::min<int>(5, (levels >> (3 * (g - 1))) & 7);
  return uint8_t(total);
}

uint32_t RecordChecksum(const ScoreRecord& r) {
  ChecksumReset();
  for (int i = 0; i < std::min<int>(r.nameLength, 10); ++i) ChecksumAddByte(uint8_t(r.name[i]));
  for (int i = 0; i < std::min<int>(r.passwordLength, 20); ++i)
    ChecksumAddByte(uint8_t(r.password[i]));
  // The level record shifted left and cut to its low byte: its low byte,
  // then three zero bytes. Stored files depend on exactly this.
  for (int shift = 0; shift < 32; shift += 8) ChecksumAddByte(uint8_t((r.levels << shift) & 0xFF));
  for (uint8_t b : {0x83, 0xC4, 0xE8, 0x8D, 0x44, 0x24, 0x08, 0x50}) ChecksumAddByte(b);
  return ChecksumValue();
}

QString RecordName(const ScoreRecord& r) {
  return QString::fromLatin1(r.name, std::min<int>(r.nameLength, 10));
}

std::string UpperName(const ScoreRecord& r) {
  std::string name(r.name, size_t(std::min<int>(r.nameLength, 10)));
  for (char& c : name)
    if (c >= 'a' && c <= 'z') c = char(c - 32);
  return name;
}

bool SameRecord(const ScoreRecord& a, const ScoreRecord& b) {
  return std::memcmp(&a, &b, sizeof(ScoreRecord)) == 0;
}

double OleDateNow() {
  const QDateTime now = QDateTime::currentDateTime();
  return double(QDate(1899, 12, 30).daysTo(now.date())) +
         double(now.time().msecsSinceStartOfDay()) / 86400000.0;
}

QString FormatOleDate(double date) {
  // Only dates the calendar can hold (years 100..9999); an edited file may
  // hold anything.
  if (!std::isfinite(date) || date < -657434.0 || date >= 2958466.0) return QString();
  const QDate day = QDate(1899, 12, 30).addDays(qint64(std::floor(date)));
  return day.toString(QStringLiteral("dd-MM-yyyy"));
}
