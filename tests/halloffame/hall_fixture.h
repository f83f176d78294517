// A fresh, empty current folder for each test, so "ZamScores" is the test's
// own; and helpers that build score files.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
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

inline ScoreRecord MakeRecord(const std::string& name, const std::string& password, uint32_t levels,
                              double date = 45000.25) {
  ScoreRecord r{};
  r.nameLength = uint8_t(name.size());
  std::memcpy(r.name, name.data(), name.size());
  const std::string scrambled = ScrambleText(password);
  r.passwordLength = uint8_t(scrambled.size());
  std::memcpy(r.password, scrambled.data(), scrambled.size());
  r.levels = levels;
  r.date = date;
  r.checksum = RecordChecksum(r);
  return r;
}

inline QByteArray Bytes(const std::vector<ScoreRecord>& records) {
  QByteArray out;
  for (const ScoreRecord& r : records) {
    const auto b = EncodeRecord(r);
    out.append(reinterpret_cast<const char*>(b.data()), 56);
  }
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
