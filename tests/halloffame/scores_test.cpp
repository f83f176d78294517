// The hall of fame and its score file.
#include <sys/resource.h>

#include <csignal>

#include "halloffame/hall_fixture.h"

namespace {

class HallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EntryCount = 0;
    ClearHallOfFame();
  }
  InTempFolder folder;
};

TEST(Record, BytesAtTheirOffsets) {
  ScoreRecord r = MakeRecord("Anna", "x1", 0x01234567, 45000.5);
  const auto b = EncodeRecord(r);
  EXPECT_EQ(b[0], 4);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[1]), 4), "Anna");
  EXPECT_EQ(b[11], 6);  // "x1" scrambles to six symbols
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[12]), 6), ScrambleText(std::string("x1")));
  EXPECT_EQ(b[32], 0x67);
  EXPECT_EQ(b[33], 0x45);
  EXPECT_EQ(b[34], 0x23);
  EXPECT_EQ(b[35], 0x01);
  double date;
  std::memcpy(&date, &b[40], 8);
  EXPECT_EQ(date, 45000.5);
  EXPECT_EQ(uint32_t(b[48] | b[49] << 8 | b[50] << 16 | uint32_t(b[51]) << 24), r.checksum);
  const ScoreRecord back = DecodeRecord(b.data());
  EXPECT_EQ(std::memcmp(&back, &r, 56), 0);
}

TEST(Record, ChecksumCoversNamePasswordAndLowLevelByteOnly) {
  const ScoreRecord r = MakeRecord("Bert", "pw", 5);
  ScoreRecord other = r;
  other.name[0] = 'b';
  EXPECT_NE(RecordChecksum(other), r.checksum);
  other = r;
  other.levels = 5 | (1u << 9);  // above the low byte: not covered
  EXPECT_EQ(RecordChecksum(other), r.checksum);
  other = r;
  other.date = 1.0;  // the date is not covered
  EXPECT_EQ(RecordChecksum(other), r.checksum);
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

TEST_F(HallTest, DamagedRecordIsSkippedAndGoneAfterSaving) {
  ScoreRecord bad = MakeRecord("Dirk", "", 9);
  bad.checksum ^= 1;
  WriteFile(Bytes({MakeRecord("Anna", "", 1), MakeRecord("Bert", "", 2), MakeRecord("Cees", "", 3),
                   bad, MakeRecord("Eva", "", 4)}));
  ASSERT_TRUE(LoadHallOfFame());
  EXPECT_EQ(EntryCount, 4);
  EXPECT_EQ(RecordName(Slots[4]), QStringLiteral("Eva"));
  ASSERT_TRUE(SaveHallOfFame());
  const QByteArray saved = ReadFile();
  EXPECT_EQ(saved.size(), 4 * 56);
  EXPECT_FALSE(saved.contains("Dirk"));
  EXPECT_EQ(saved.mid(56 * 3, 56), Bytes({MakeRecord("Eva", "", 4)}));
}

TEST_F(HallTest, PartialTailAndOverlongFiles) {
  QByteArray bytes = Bytes({MakeRecord("Anna", "", 1), MakeRecord("Bert", "", 2)});
  WriteFile(bytes + QByteArray(30, 'x'));
  EXPECT_TRUE(LoadHallOfFame());
  EXPECT_EQ(EntryCount, 2);
  std::vector<ScoreRecord> many;
  for (int i = 0; i < 120; ++i) many.push_back(MakeRecord(PlayerName(i), "", 1));
  WriteFile(Bytes(many));
  ClearHallOfFame();
  EXPECT_TRUE(LoadHallOfFame());
  EXPECT_EQ(EntryCount, 100);
  EXPECT_EQ(RecordName(Slots[100]), QStringLiteral("P99"));
}

TEST_F(HallTest, PlayersWithAllLevelsZeroAreNotSaved) {
  WriteFile(Bytes({MakeRecord("Anna", "", 0), MakeRecord("Bert", "", 1)}));
  LoadHallOfFame();
  EXPECT_EQ(EntryCount, 2);
  SaveHallOfFame();
  EXPECT_EQ(ReadFile(), Bytes({MakeRecord("Bert", "", 1)}));
  EntryCount = 0;
  SaveHallOfFame();
  EXPECT_EQ(ReadFile().size(), 0);
  EXPECT_TRUE(QFile::exists(QStringLiteral("ZamScores")));
}

TEST_F(HallTest, RankingByTotalWithTheExchangeSort) {
  // Totals 30, 30, 45 in slots 1, 2, 3.
  Slots[1] = MakeRecord("A", "", 5 << 6 | 3 << 12);  // games 3 and 5: 15 + 15
  Slots[2] = MakeRecord("B", "", 5 << 9 | 5 << 3);   // games 4 and 2: 20 + 10
  Slots[3] = MakeRecord("C", "", 5 << 24);           // game 9: 45
  ASSERT_EQ(TotalScore(Slots[1].levels), 30);
  ASSERT_EQ(TotalScore(Slots[2].levels), 30);
  ASSERT_EQ(TotalScore(Slots[3].levels), 45);
  EntryCount = 3;
  SortHallOfFame();
  EXPECT_EQ(RankOrder[1], 3);
  EXPECT_EQ(RankOrder[2], 2);
  EXPECT_EQ(RankOrder[3], 1);
  ASSERT_TRUE(SaveHallOfFame());
  EXPECT_EQ(ReadFile(), Bytes({Slots[3], Slots[2], Slots[1]}));  // written in rank order
}

TEST_F(HallTest, AFileThatCannotBeReadIsNeverReplaced) {
  ASSERT_TRUE(QDir().mkdir(QStringLiteral("ZamScores")));  // exists, but no file to read
  EXPECT_FALSE(LoadHallOfFame());
  EntryCount = 1;
  Slots[1] = MakeRecord("Anna", "", 1);
  EXPECT_FALSE(SaveHallOfFame());
  EXPECT_TRUE(QFileInfo(QStringLiteral("ZamScores")).isDir());
}

TEST_F(HallTest, AFailingSaveLeavesTheOldFileByteIdentical) {
  const QByteArray old = Bytes({MakeRecord("Anna", "x1", 1), MakeRecord("Bert", "", 2)});
  WriteFile(old);
  ASSERT_TRUE(LoadHallOfFame());
  for (int i = 3; i <= 40; ++i) {  // enough to need more room than allowed below
    Slots[i] = MakeRecord(PlayerName(i), "", 1);
  }
  EntryCount = 40;
  // Files may grow to 200 bytes only: the write fails midway, as on a full disk.
  struct rlimit saved;
  getrlimit(RLIMIT_FSIZE, &saved);
  auto* previous = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 200;
  setrlimit(RLIMIT_FSIZE, &small);
  const bool ok = SaveHallOfFame();
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  EXPECT_FALSE(ok);
  EXPECT_EQ(ReadFile(), old);
  EXPECT_EQ(QDir().entryList(QDir::Files),
            QStringList{QStringLiteral("ZamScores")});  // no leftovers
}

TEST_F(HallTest, StoredPasswordAndLevelsOfAName) {
  WriteFile(Bytes({MakeRecord("Anna", "x1", 3), MakeRecord("anna", "", 1)}));
  LoadHallOfFame();
  EXPECT_EQ(UnscrambleText(StoredPasswordOf(QStringLiteral("Anna"))), QStringLiteral("x1"));
  EXPECT_EQ(StoredLevelsOf(QStringLiteral("Anna")), 3u);
  EXPECT_EQ(StoredLevelsOf(QStringLiteral("anna")), 1u);  // exact match
  EXPECT_EQ(StoredPasswordOf(QStringLiteral("Nobody")), QString());
}

}  // namespace
