// SPDX-License-Identifier: GPL-3.0-or-later
// One player of the hall of fame as stored: the 56-byte record, its checksum,
// its total score and its date.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

// One player: 56 bytes, little-endian, the same in memory and in the file.
struct ScoreRecord {
  uint8_t nameLength;      // 0..10
  char name[10];           //
  uint8_t passwordLength;  // 0..20
  char password[20];       // scrambled
  uint32_t levels;         // three bits per game type
  uint32_t reserved1;
  double date;  // OLE Automation date: days since 30-12-1899
  uint32_t checksum;
  uint32_t reserved2;
};
static_assert(sizeof(ScoreRecord) == 56);

// The record's bytes as stored, and back.
std::array<uint8_t, 56> EncodeRecord(const ScoreRecord& r);
ScoreRecord DecodeRecord(const uint8_t* bytes);
// Records one after another, as a score file holds them.
std::vector<uint8_t> EncodeRecords(const std::vector<ScoreRecord>& records);
// The records of `bytes` whose checksum is right, in order; `dropped` is set
// when anything else was in it (a damaged record, a partial one at the end).
std::vector<ScoreRecord> DecodeValidRecords(const std::vector<uint8_t>& bytes, bool* dropped);

uint8_t TotalScore(uint32_t levels);  // 0..225; a level above 5 counts as 5
uint32_t RecordChecksum(const ScoreRecord& r);
QString RecordName(const ScoreRecord& r);
// The name in capitals (ASCII letters only): one player whatever the case.
std::string UpperName(const ScoreRecord& r);
bool SameRecord(const ScoreRecord& a, const ScoreRecord& b);
double OleDateNow();
QString FormatOleDate(double date);  // "dd-mm-yyyy"
