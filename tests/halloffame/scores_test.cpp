// SPDX-License-Identifier: GPL-3.0-or-later
// The hall of fame and its score file.
#include <sys/resource.h>

#include <csignal>

#include "halloffame/hall_fixture.h"

namespace {

class HallTest : public HallFixture {};

// Bytes made by the tests' own writer from the record layout: the program
// reads every field from its offset, finds the same checksum, and writes the
// record back byte for byte.
TEST(Record, BytesAtTheirOffsets) {
  const QByteArray bytes = RecordBytes("Anna", "8baW00", 0x01234567, 45000.5);
  ASSERT_EQ(bytes.size(), 56);
  const ScoreRecord r = DecodeRecord(reinterpret_cast<const uint8_t*>(bytes.constData()));
  EXPECT_EQ(RecordName(r), QStringLiteral("Anna"));
  EXPECT_EQ(r.passwordLength, 6);
  EXPECT_EQ(std::string(r.password, 6), "8baW00");
  EXPECT_EQ(UnscrambleText(std::string(r.password, 6)), "x1");
  EXPECT_EQ(r.levels, 0x01234567u);
  EXPECT_EQ(r.date, 45000.5);
  EXPECT_EQ(r.checksum, TestRecordChecksum("Anna", "8baW00", 0x01234567));
  EXPECT_EQ(RecordChecksum(r), r.checksum);
  const auto back = EncodeRecord(r);
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(back.data()), 56), bytes);
}

// Which fields the checksum covers: a change to each, one at a time.
TEST(Record, ChecksumCoversNamePasswordAndLowLevelByteOnly) {
  const ScoreRecord r = MakeRecord("Bert", "x1", 5);
  ASSERT_EQ(RecordChecksum(r), TestRecordChecksum("Bert", "8baW00", 5));
  struct Change {
    const char* what;
    void (*apply)(ScoreRecord&);
    bool covered;
  } changes[] = {
      {"name letter", [](ScoreRecord& s) { s.name[0] = 'b'; }, true},
      {"name length", [](ScoreRecord& s) { s.nameLength = 3; }, true},
      {"password symbol", [](ScoreRecord& s) { s.password[2] = 'b'; }, true},
      {"password length", [](ScoreRecord& s) { s.passwordLength = 5; }, true},
      {"low level byte", [](ScoreRecord& s) { s.levels = 6; }, true},
      {"levels above the low byte", [](ScoreRecord& s) { s.levels = 5 | (1u << 9); }, false},
      {"date", [](ScoreRecord& s) { s.date = 1.0; }, false},
      {"name bytes past its length", [](ScoreRecord& s) { s.name[8] = 'z'; }, false},
      {"password bytes past its length", [](ScoreRecord& s) { s.password[10] = 'z'; }, false},
      {"reserved words", [](ScoreRecord& s) { s.reserved1 = s.reserved2 = 7; }, false},
  };
  for (const Change& c : changes) {
    ScoreRecord other = r;
    c.apply(other);
    EXPECT_EQ(RecordChecksum(other) != r.checksum, c.covered) << c.what;
  }
}

TEST(Record, TotalScoreAndDates) {
  EXPECT_EQ(TotalScore(0), 0);
  uint32_t all5 = 0;
  for (int t = 0; t < 9; ++t) all5 |= 5u << (3 * t);
  EXPECT_EQ(TotalScore(all5), 225);
  EXPECT_EQ(TotalScore(7 | 6u << 3), 15);  // 6 and 7 count as 5
  EXPECT_EQ(TotalScore(~0u), 225);
  EXPECT_EQ(FormatOleDate(45000.75), QStringLiteral("15-03-2023"));
  EXPECT_EQ(FormatOleDate(2.0), QStringLiteral("01-01-1900"));
  EXPECT_EQ(FormatOleDate(1e300), QString());
  EXPECT_NEAR(OleDateNow(), double(QDate(1899, 12, 30).daysTo(QDate::currentDate())) + 0.5, 0.51);
}

// A damaged record is skipped; the save writes the valid ones (in the file's
// order: nothing was recorded, so nothing is ranked) and keeps the file as it
// was in "ZamScores.bak".
TEST_F(HallTest, DamagedRecordIsSkippedAndGoneAfterSaving) {
  ScoreRecord bad = MakeRecord("Dirk", "", 9);
  bad.checksum ^= 1;
  const QByteArray original = Bytes({MakeRecord("Anna", "", 1), MakeRecord("Bert", "", 2),
                                     MakeRecord("Cees", "", 3), bad, MakeRecord("Eva", "", 4)});
  WriteFile(original);
  ASSERT_TRUE(hall.Load());
  EXPECT_EQ(hall.Ranking().Count(), 4);
  EXPECT_EQ(RecordName(hall.Ranking().Slot(4)), QStringLiteral("Eva"));
  ASSERT_TRUE(hall.Save());
  EXPECT_EQ(ReadFile(), Bytes({MakeRecord("Anna", "", 1), MakeRecord("Bert", "", 2),
                               MakeRecord("Cees", "", 3), MakeRecord("Eva", "", 4)}));
  EXPECT_EQ(ReadFile("ZamScores.bak"), original);
  // The next save drops nothing: the backup stays as it was.
  ASSERT_TRUE(hall.Save());
  EXPECT_EQ(ReadFile("ZamScores.bak"), original);
}

TEST_F(HallTest, PartialTailAndOverlongFiles) {
  QByteArray bytes = Bytes({MakeRecord("Anna", "", 1), MakeRecord("Bert", "", 2)});
  WriteFile(bytes + QByteArray(30, 'x'));
  EXPECT_TRUE(hall.Load());
  EXPECT_EQ(hall.Ranking().Count(), 2);
  std::vector<ScoreRecord> many;
  for (int i = 0; i < 120; ++i) many.push_back(MakeRecord(PlayerName(i), "", 1));
  WriteFile(Bytes(many));
  hall.Ranking().Clear();
  EXPECT_TRUE(hall.Load());
  EXPECT_EQ(hall.Ranking().Count(), 100);
  EXPECT_EQ(RecordName(hall.Ranking().Slot(100)), QStringLiteral("P99"));
}

TEST_F(HallTest, PlayersWithAllLevelsZeroAreNotSaved) {
  WriteFile(Bytes({MakeRecord("Anna", "", 0), MakeRecord("Bert", "", 1)}));
  hall.Load();
  EXPECT_EQ(hall.Ranking().Count(), 2);
  hall.Save();
  EXPECT_EQ(ReadFile(), Bytes({MakeRecord("Bert", "", 1)}));
  // An empty table and no file: the file is made, of length 0.
  ASSERT_TRUE(QFile::remove(QStringLiteral("ZamScores")));
  hall.Ranking() = TRanking();
  hall.Load();
  EXPECT_TRUE(hall.Save());
  EXPECT_EQ(ReadFile().size(), 0);
  EXPECT_TRUE(QFile::exists(QStringLiteral("ZamScores")));
}

// Levels giving a total, filled from game 9 down (at most level 5 each).
uint32_t LevelsForTotal(int total) {
  uint32_t levels = 0;
  for (int g = 9; g >= 1; --g) {
    const int level = std::min(5, total / g);
    levels |= uint32_t(level) << (3 * (g - 1));
    total -= g * level;
  }
  return levels;
}

// The exchange sort, worked by hand for each row: only a strictly greater
// total is swapped up, so equal totals never swap with each other directly.
TEST_F(HallTest, RankingByTotalWithTheExchangeSort) {
  struct Case {
    std::vector<int> totals;  // of slots 1, 2, ...
    std::vector<int> ranks;   // the slots at ranks 1, 2, ...
  } cases[] = {
      {{30, 30, 45}, {3, 2, 1}},    {{10, 10}, {1, 2}}, {{10, 20, 20}, {2, 3, 1}},
      {{5, 9, 7, 9}, {2, 4, 3, 1}}, {{8}, {1}},
  };
  for (const Case& c : cases) {
    std::vector<ScoreRecord> records;  // slots 1, 2, ...
    for (size_t i = 0; i < c.totals.size(); ++i) {
      records.push_back(MakeRecord(PlayerName(int(i)), "", LevelsForTotal(c.totals[i])));
      ASSERT_EQ(TotalScore(records.back().levels), c.totals[i]);
    }
    hall.Ranking().SetTable(records);
    hall.Ranking().Sort();
    std::vector<int> ranks;
    for (size_t r = 1; r <= c.totals.size(); ++r) ranks.push_back(hall.Ranking().SlotAtRank(r));
    EXPECT_EQ(ranks, c.ranks) << ::testing::PrintToString(c.totals);
  }
  // Written in rank order.
  ASSERT_TRUE(hall.Save());
  EXPECT_EQ(ReadFile(), Bytes({hall.Ranking().Slot(1)}));
  ASSERT_TRUE(QFile::remove(QStringLiteral("ZamScores")));
  hall.Ranking() = TRanking();
  hall.Load();
  const ScoreRecord a = MakeRecord("A", "", LevelsForTotal(30)),
                    b = MakeRecord("B", "", LevelsForTotal(30)),
                    c = MakeRecord("C", "", LevelsForTotal(45));
  hall.Ranking().SetTable({a, b, c});
  hall.Ranking().Sort();
  ASSERT_TRUE(hall.Save());
  EXPECT_EQ(ReadFile(), Bytes({c, b, a}));
}

// "ZamScores" exists but cannot be read (here a link to a folder, which
// fails for root too): it is kept as it is, never replaced by a save; this
// run's result is kept aside.
TEST_F(HallTest, AFileThatCannotBeReadIsNeverReplaced) {
  ASSERT_TRUE(QDir().mkdir(QStringLiteral("folder")));
  ASSERT_TRUE(QFile::link(QStringLiteral("folder"), QStringLiteral("ZamScores")));
  EXPECT_FALSE(hall.Load());
  hall.Ranking().SetTable({MakeRecord("Anna", "", 1)});
  EXPECT_FALSE(hall.Save());
  EXPECT_TRUE(QFileInfo(QStringLiteral("ZamScores")).isSymLink());
  QStringList entries =
      QDir().entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
  entries.sort();
  // The result is kept aside instead.
  EXPECT_EQ(entries, (QStringList{QStringLiteral("ZamScores"), KeptAsideName(),
                                  QStringLiteral("folder")}));
  EXPECT_EQ(ReadFile(KeptAsideName().toLatin1().constData()), Bytes({MakeRecord("Anna", "", 1)}));
}

TEST_F(HallTest, AFailingSaveLeavesTheOldFileByteIdentical) {
  const QByteArray old = Bytes({MakeRecord("Anna", "x1", 1), MakeRecord("Bert", "", 2)});
  WriteFile(old);
  ASSERT_TRUE(hall.Load());
  std::vector<ScoreRecord> records = hall.Ranking().TableRecords();
  for (int i = 3; i <= 40; ++i) {  // enough to need more room than allowed below
    records.push_back(MakeRecord(PlayerName(i), "", 1));
  }
  hall.Ranking().SetTable(records);
  // Files may grow to 200 bytes only: the write fails midway, as on a full disk.
  struct rlimit saved;
  getrlimit(RLIMIT_FSIZE, &saved);
  auto* previous = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 200;
  setrlimit(RLIMIT_FSIZE, &small);
  const bool ok = hall.Save();
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  EXPECT_FALSE(ok);
  EXPECT_EQ(ReadFile(), old);
  // No leftovers but the lock beside the file.
  EXPECT_EQ(QDir().entryList(QDir::Files),
            (QStringList{QStringLiteral("ZamScores"), QStringLiteral("ZamScores.lock")}));
}

TEST_F(HallTest, StoredPasswordAndLevelsOfAName) {
  WriteFile(Bytes({MakeRecord("Anna", "x1", 3), MakeRecord("anna", "", 1)}));
  hall.Load();
  EXPECT_EQ(UnscrambleText(hall.Ranking().StoredPasswordOf(QStringLiteral("Anna"))),
            QStringLiteral("x1"));
  EXPECT_EQ(hall.Ranking().StoredLevelsOf(QStringLiteral("Anna")), 3u);
  EXPECT_EQ(hall.Ranking().StoredLevelsOf(QStringLiteral("anna")), 1u);  // exact match
  EXPECT_EQ(hall.Ranking().StoredPasswordOf(QStringLiteral("Nobody")), QString());
}

}  // namespace
