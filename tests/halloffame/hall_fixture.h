// SPDX-License-Identifier: GPL-3.0-or-later
// A fresh, empty current folder for each test, so "ZamScores" is the test's
// own; and a small writer of score files of its own, written from the record
// layout, so that no fixture is made by the code it tests.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <pwd.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "halloffame/scores.h"
#include "halloffame/security.h"
#include "temp_folder.h"

// "P0", "P1", ...
inline std::string PlayerName(int i) {
  std::string name = std::to_string(i);
  name.insert(name.begin(), 'P');
  return name;
}

// Passwords and their scrambled forms, worked out by hand from the bit map
// of the scrambling: bit (j - 1) of w is bit (11 j mod 32) of v, so bit b of
// v lands in bit (3 b mod 32) - 1 of w (3 is the inverse of 11 modulo 32; 0
// counts as 32); w is then cut into six-bit symbols, lowest first, each
// written with the table "0".."9", "A".."Z", "a".."|".
//   "a"  = 0x61, bits 0, 5, 6 -> w bits 31, 14, 17 -> symbols 0, 0, 36, 0, 0, 2
//   "x1" : v bits 3, 4, 5, 6 ('x') and 8, 12, 13 ('1')
//          -> w bits 8, 11, 14, 17, 23, 3, 6 -> symbols 8, 37, 36, 32, 0, 0
// The two longer ones were worked the same way, group by group.
struct KnownScramble {
  const char* plain;
  const char* scrambled;
};
inline constexpr KnownScramble kKnownScrambles[] = {
    {"", ""},
    {"a", "00a002"},
    {"x1", "8baW00"},
    {"Zam2026", "6zew118X49C1"},
    {"secret", "6vipY3e9a0W2"},
};

inline std::string KnownScrambled(const std::string& plain) {
  for (const KnownScramble& k : kKnownScrambles)
    if (plain == k.plain) return k.scrambled;
  ADD_FAILURE() << "no scrambled form worked out for \"" << plain << "\"";
  return {};
}

// The checksum register, fed as the file format defines it: for each bit of
// the byte, lowest first, rotate left by one, then XOR 0x11203045 if the bit
// is set.
class TestChecksum {
 public:
  explicit TestChecksum(uint32_t start = 0) : reg_(start) {}
  void Feed(uint8_t byte) {
    for (int i = 0; i < 8; ++i) {
      reg_ = reg_ << 1 | reg_ >> 31;
      if (byte >> i & 1) reg_ ^= 0x11203045u;
    }
  }
  uint32_t Value() const { return reg_; }

 private:
  uint32_t reg_;
};

// The checksum of a record: name bytes, scrambled password bytes, the low
// byte of the level record and three zero bytes, then eight fixed bytes.
inline uint32_t TestRecordChecksum(const std::string& name, const std::string& scrambled,
                                   uint32_t levels) {
  TestChecksum c;
  for (char ch : name) c.Feed(uint8_t(ch));
  for (char ch : scrambled) c.Feed(uint8_t(ch));
  c.Feed(uint8_t(levels));
  for (int i = 0; i < 3; ++i) c.Feed(0);
  for (uint8_t b : {0x83, 0xC4, 0xE8, 0x8D, 0x44, 0x24, 0x08, 0x50}) c.Feed(b);
  return c.Value();
}

inline void PutLittleEndian(QByteArray& out, int offset, uint64_t value, int size) {
  for (int i = 0; i < size; ++i) out[offset + i] = char(uint8_t(value >> (8 * i)));
}

// One 56-byte record: name (length byte + 10), scrambled password (length
// byte + 20), levels at 32, reserved, date (an IEEE double) at 40, checksum
// at 48, reserved. Unused bytes are zero.
inline QByteArray RecordBytes(const std::string& name, const std::string& scrambled,
                              uint32_t levels, double date = 45000.25) {
  QByteArray out(56, '\0');
  out[0] = char(name.size());
  for (size_t i = 0; i < name.size(); ++i) out[int(1 + i)] = name[i];
  out[11] = char(scrambled.size());
  for (size_t i = 0; i < scrambled.size(); ++i) out[int(12 + i)] = scrambled[i];
  PutLittleEndian(out, 32, levels, 4);
  uint64_t dateBits;
  std::memcpy(&dateBits, &date, 8);
  PutLittleEndian(out, 40, dateBits, 8);
  PutLittleEndian(out, 48, TestRecordChecksum(name, scrambled, levels), 4);
  return out;
}

// The record with a plain password (one of kKnownScrambles), in memory.
inline ScoreRecord MakeRecord(const std::string& name, const std::string& password, uint32_t levels,
                              double date = 45000.25) {
  const QByteArray bytes = RecordBytes(name, KnownScrambled(password), levels, date);
  ScoreRecord r;
  std::memcpy(&r, bytes.constData(), 56);
  return r;
}

inline QByteArray Bytes(const std::vector<ScoreRecord>& records) {
  QByteArray out;
  for (const ScoreRecord& r : records) out.append(reinterpret_cast<const char*>(&r), 56);
  return out;
}

inline void WriteFile(const QByteArray& bytes, const char* name = "ZamScores") {
  QFile f(QString::fromLatin1(name));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  ASSERT_EQ(f.write(bytes), bytes.size());
}

inline QByteArray ReadFile(const char* name = "ZamScores") {
  QFile f(QString::fromLatin1(name));
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

// Where a user's results are kept when a save cannot write the score file:
// one file per user, named after the login name (or the user number when
// there is no account).
inline QString KeptAsideName(uid_t uid = geteuid()) {
  const passwd* pw = getpwuid(uid);
  return QStringLiteral("ZamScores.unsaved-") +
         (pw ? QString::fromLocal8Bit(pw->pw_name) : QString::number(uid));
}

// Each test starts as the program does: a hall of fame of its own with an
// empty table, nothing loaded, nothing said yet, in a fresh current folder.
// A test that starts the program again gives itself a fresh one.
class HallFixture : public ::testing::Test {
 protected:
  // A player without a password whose game this run recorded.
  void Record(const char* name, uint32_t levels) {
    hall.RecordResult(QString::fromLatin1(name), QString(), levels);
  }
  InTempFolder folder;
  THallOfFame hall;
};
