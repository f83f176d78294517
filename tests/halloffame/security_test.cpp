// SPDX-License-Identifier: GPL-3.0-or-later
// The checksum register and the text scrambling.
#include "halloffame/security.h"

#include <gtest/gtest.h>

#include <set>

#include "halloffame/hall_fixture.h"

namespace {

TEST(Checksum, Examples) {
  ChecksumReset();
  ChecksumAddByte(0x01);
  EXPECT_EQ(ChecksumValue(), 0x90182288u);
  ChecksumAddByte(0x00);  // a zero byte only rotates by eight bits
  EXPECT_EQ(ChecksumValue(), 0x18228890u);
  ChecksumReset();
  for (int i = 0; i < 5; ++i) ChecksumAddByte(0x00);
  EXPECT_EQ(ChecksumValue(), 0u);
  ChecksumReset();
  for (char c : std::string("abc")) ChecksumAddByte(uint8_t(c));
  EXPECT_EQ(ChecksumValue(), 0xF172BEA4u);
}

// The tests' own checksum register, which builds the score-file fixtures,
// gives the worked examples too.
TEST(Checksum, TheTestWritersRegisterGivesTheExamples) {
  TestChecksum one;
  one.Feed(0x01);
  EXPECT_EQ(one.Value(), 0x90182288u);
  TestChecksum rotated(0x80000000u);
  rotated.Feed(0x00);
  EXPECT_EQ(rotated.Value(), 0x00000080u);
  TestChecksum abc;
  for (char c : std::string("abc")) abc.Feed(uint8_t(c));
  EXPECT_EQ(abc.Value(), 0xF172BEA4u);
}

TEST(Symbols, TableOfSixtyFourPrintableCharacters) {
  const std::string& t = SymbolTable();
  ASSERT_EQ(t.size(), 64u);
  EXPECT_EQ(std::set<char>(t.begin(), t.end()).size(), 64u);
  for (char c : t) EXPECT_TRUE(c > 32 && c < 127);
}

// The scrambled forms worked out by hand (see hall_fixture.h for how).
TEST(Scramble, KnownForms) {
  for (const KnownScramble& c : kKnownScrambles) {
    EXPECT_EQ(ScrambleText(std::string(c.plain)), c.scrambled) << c.plain;
    EXPECT_EQ(UnscrambleText(std::string(c.scrambled)), c.plain) << c.plain;
  }
}

TEST(Scramble, RoundTripsAndLengths) {
  const std::string texts[] = {"",       "a",       "ab",       "abc",       "abcd",      "abcde",
                               "abcdef", "abcdefg", "abcdefgh", "abcdefghi", "x1Y2z3W4v5"};
  for (const std::string& t : texts) {
    const std::string s = ScrambleText(t);
    EXPECT_EQ(s.size(), 6 * ((t.size() + 3) / 4)) << t;
    EXPECT_EQ(UnscrambleText(s), t) << t;
    for (size_t g = 5; g < s.size(); g += 6)
      EXPECT_LT(SymbolTable().find(s[g]), 4u) << t;  // sixth symbol: one of the first four
  }
  EXPECT_NE(ScrambleText(std::string("secret")), "secret");
}

}  // namespace
