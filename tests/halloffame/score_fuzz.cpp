// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds the hall of fame's loader (and now and then its merging save)
// random and mutated score files: structured records with good and bad
// checksums, length bytes past their fields, random lengths and tails, dates
// that are NaN, infinite or far out of range. After each file the loaded
// table must hold only valid records, at most 100, and everything shown of
// them must be in range; a save must leave a file that reads back valid.
// Run under the sanitizers it also shows that nothing reads or writes out of
// bounds.
//   score_fuzz [count] [seed]
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "halloffame/scores.h"

namespace {

std::mt19937_64 rng;
uint64_t Next(uint64_t n) { return n == 0 ? 0 : rng() % n; }

double OddDate() {
  switch (Next(8)) {
    case 0:
      return std::numeric_limits<double>::quiet_NaN();
    case 1:
      return std::numeric_limits<double>::infinity();
    case 2:
      return -std::numeric_limits<double>::infinity();
    case 3:
      return 1e300 * (Next(2) ? 1 : -1);
    case 4: {
      double d;
      const uint64_t bits = rng();
      std::memcpy(&d, &bits, 8);
      return d;
    }
    default:
      return double(Next(3000000)) - 700000.0 + double(Next(1000)) / 1000.0;
  }
}

ScoreRecord RandomRecord() {
  ScoreRecord r;
  uint8_t* bytes = reinterpret_cast<uint8_t*>(&r);
  for (size_t i = 0; i < sizeof r; ++i) bytes[i] = uint8_t(rng());
  if (Next(3) != 0) r.nameLength = uint8_t(Next(11));
  if (Next(3) != 0) r.passwordLength = uint8_t(Next(21));
  r.date = OddDate();
  if (Next(4) != 0) r.levels &= 0x07FFFFFF;
  if (Next(5) != 0) r.checksum = RecordChecksum(r);  // mostly valid
  return r;
}

std::vector<uint8_t> RandomFile(const std::vector<uint8_t>& previous) {
  std::vector<uint8_t> out;
  switch (Next(4)) {
    case 0: {  // bytes at random
      out.resize(Next(60 * 56 + 56));
      for (uint8_t& b : out) b = uint8_t(rng());
      break;
    }
    case 1:
    case 2: {  // records, some valid
      const size_t count = Next(4) == 0 ? 100 + Next(60) : Next(40);
      for (size_t i = 0; i < count; ++i) {
        const ScoreRecord r = RandomRecord();
        const auto b = EncodeRecord(r);
        out.insert(out.end(), b.begin(), b.end());
      }
      for (size_t tail = Next(3) == 0 ? Next(56) : 0; tail > 0; --tail)
        out.push_back(uint8_t(rng()));
      break;
    }
    default: {  // the last file, mutated
      out = previous;
      for (size_t flips = 1 + Next(8); flips > 0 && !out.empty(); --flips)
        out[Next(out.size())] ^= uint8_t(1u << Next(8));
      if (Next(3) == 0 && !out.empty()) out.resize(Next(out.size() + 1));
      break;
    }
  }
  return out;
}

bool Write(const char* name, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(name, "wb");
  if (!f) return false;
  const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

std::vector<uint8_t> Read(const char* name) {
  std::vector<uint8_t> out;
  FILE* f = std::fopen(name, "rb");
  if (!f) return out;
  uint8_t buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
    out.insert(out.end(), buffer, buffer + n);
  std::fclose(f);
  return out;
}

int failures = 0;
void Check(bool ok, const char* what, long long input) {
  if (ok) return;
  ++failures;
  std::fprintf(stderr, "score_fuzz: input %lld: %s\n", input, what);
}

// The table as loaded must hold only what a valid file can.
void CheckTable(const THallOfFame& hall, long long input) {
  Check(hall.Ranking().Count() <= kHallSize, "more than 100 entries", input);
  for (int k = 1; k <= hall.Ranking().Count(); ++k) {
    const ScoreRecord& r = hall.Ranking().Slot(k);
    Check(RecordChecksum(r) == r.checksum, "a record with a wrong checksum loaded", input);
    Check(TotalScore(r.levels) <= 225, "a total past 225", input);
    Check(RecordName(r).size() <= 10, "a name past 10 characters", input);
    const QString date = FormatOleDate(r.date);
    Check(date.isEmpty() || date.size() == 10, "a date that is no dd-mm-yyyy", input);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const long long count = argc > 1 ? std::atoll(argv[1]) : 2000;
  rng.seed(argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 20261210);
  QTemporaryDir folder;
  if (!folder.isValid() || !QDir::setCurrent(folder.path())) return 2;
  std::vector<uint8_t> file;
  THallOfFame hall;
  for (long long i = 0; i < count; ++i) {
    file = RandomFile(file);
    if (!Write(kScoreFile, file)) return 2;
    hall.Ranking() = TRanking();
    hall.Load();
    CheckTable(hall, i);
    if (i % 50 == 0) {  // the merging save, and the file it leaves
      if (hall.Ranking().Count() > 0)
        hall.RecordResult(QStringLiteral("Fuzz"), QStringLiteral("x1"), 1);
      // Backups are never replaced, so earlier ones would soon take every
      // backup name and stop the save.
      for (const QString& backup : QDir().entryList({QStringLiteral("ZamScores.bak*")}, QDir::Files))
        QFile::remove(backup);
      if (hall.Save()) {
        const std::vector<uint8_t> saved = Read(kScoreFile);
        Check(saved.size() % sizeof(ScoreRecord) == 0, "a saved file with a partial record", i);
        Check(saved.size() <= size_t(kHallSize) * sizeof(ScoreRecord), "past 100 saved", i);
        hall.Ranking() = TRanking();
        hall.Load();
        CheckTable(hall, i);
        Check(size_t(hall.Ranking().Count()) * sizeof(ScoreRecord) == saved.size(),
              "a saved record that does not load", i);
      }
    }
  }
  std::printf("score_fuzz: %lld inputs, %d faults\n", count, failures);
  return failures == 0 ? 0 : 1;
}
