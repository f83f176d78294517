// SPDX-License-Identifier: GPL-3.0-or-later
// The board in words: what a screen reader reads for a position and for the
// move the keyboard cursor shows. Expected texts are written out by hand.
#include <gtest/gtest.h>

#include "games/position_text.h"

using position_text::Describe;

TEST(PositionText, Game1Columns) {
  EXPECT_EQ(Describe(game0::TPosition{{5, 1}}), "Linker kolom: 5 stenen, rechter kolom: 1 steen.");
  EXPECT_EQ(Describe(game0::TPosition{{5, 1}}, game0::TMove{2, 1}),
            "neem 1 steen van de rechter kolom");
  EXPECT_EQ(Describe(game0::TPosition{{5, 1}}, game0::TMove{1, 3}),
            "neem 3 stenen van de linker kolom");
}

TEST(PositionText, CoinGridCountsFromTheGreenCorner) {
  const game1::TPosition p{{8, 6}};
  EXPECT_EQ(Describe(p), "De munt staat in kolom 9, rij 7; het groene vakje is kolom 1, rij 1.");
  EXPECT_EQ(Describe(p, game1::TMove{0, 6}), "munt naar kolom 1, rij 7");
}

TEST(PositionText, RowsNameEveryRow) {
  rows::TPosition p;
  p.rows = 3;
  const uint8_t o[3] = {0, 4, 2}, x[3] = {15, 6, 3};
  for (int r = 0; r < 3; ++r) p.ComputerColumn[r] = o[r], p.PlayerColumn[r] = x[r];
  EXPECT_EQ(Describe(p),
            "Rij 1: O in vakje 1, X in vakje 16. Rij 2: O in vakje 5, X in vakje 7. "
            "Rij 3: O in vakje 3, X in vakje 4.");
  EXPECT_EQ(Describe(p, rows::TMove{2, 5}), "X van rij 2 van vakje 7 naar vakje 6");
}

TEST(PositionText, RingNamesAllFourCoins) {
  game4::TPosition p;
  p.PlayerCell[0] = 0, p.PlayerCell[1] = 5, p.ComputerCell[0] = 11, p.ComputerCell[1] = 23;
  EXPECT_EQ(Describe(p),
            "Ring van 24 vakjes. X-munt 1 in vakje 1, X-munt 2 in vakje 6, O-munt 1 in vakje "
            "12, O-munt 2 in vakje 24.");
  EXPECT_EQ(Describe(p, game4::TMove{1, 22}), "X-munt 1 van vakje 1 naar vakje 23");
}

TEST(PositionText, Game7SkipsTheCoinsOffTheBoard) {
  game6::TPosition p;
  const int8_t c[6] = {-2, -1, 0, 4, 5, 9};
  for (int i = 0; i < 6; ++i) p.CoinColumn[i] = c[i];
  EXPECT_EQ(Describe(p), "Munten in vakje 1, 5, 6 en 10.");
  EXPECT_EQ(Describe(p, game6::TMove{6, 7}), "munt van vakje 10 naar vakje 8");
}

TEST(PositionText, Game8NamesTheEuroCoinAndTheDrop) {
  game7::TPosition p;
  p.CoinCount = 3, p.EuroIndex = 2;
  p.CoinColumn[0] = 2, p.CoinColumn[1] = 5, p.CoinColumn[2] = 9;
  EXPECT_EQ(Describe(p),
            "Munten in vakje 3, 6 (de euromunt) en 10. Een munt in vakje 1 valt uit het spel.");
  EXPECT_EQ(Describe(p, game7::TMove{1, 0}), "munt van vakje 3 naar vakje 1: valt uit het spel");
  EXPECT_EQ(Describe(p, game7::TMove{2, 4}), "euromunt van vakje 6 naar vakje 5");
}

TEST(PositionText, Game9Cans) {
  EXPECT_EQ(Describe(game8::TPosition{0b1011}), "Er staan 3 blikjes, op plaats 1, 2 en 4.");
  EXPECT_EQ(Describe(game8::TPosition{1 << 15}), "Er staat 1 blikje: plaats 16.");
  EXPECT_EQ(Describe(game8::TPosition{0}), "Er staat geen blikje meer.");
  EXPECT_EQ(position_text::DescribeCans({0b1011}, 0b11), "gooi blikjes 1 en 2 om");
  EXPECT_EQ(position_text::DescribeCans({0b1011}, 0b1000), "gooi blikje 4 om");
}

// The computer's move as a player is told it, on the positions above.
TEST(PositionText, TheComputersMoveInWords) {
  using position_text::DescribeComputer;
  EXPECT_EQ(DescribeComputer(game0::TPosition{{5, 1}}, game0::TMove{1, 2}),
            "de computer neemt 2 stenen van de linker kolom");
  EXPECT_EQ(DescribeComputer(game0::TPosition{{5, 1}}, game0::TMove{2, 1}),
            "de computer neemt 1 steen van de rechter kolom");
  EXPECT_EQ(DescribeComputer(game1::TPosition{{8, 6}}, game1::TMove{3, 3}),
            "de computer zet de munt naar kolom 4, rij 4");
  rows::TPosition r;
  r.rows = 2;
  r.ComputerColumn[0] = 0, r.ComputerColumn[1] = 4, r.PlayerColumn[0] = 15, r.PlayerColumn[1] = 6;
  EXPECT_EQ(DescribeComputer(r, rows::TMove{2, 5}), "de computer schuift O van rij 2 van vakje 5 naar vakje 6");
  game4::TPosition ring;
  ring.PlayerCell[0] = 0, ring.PlayerCell[1] = 5, ring.ComputerCell[0] = 11, ring.ComputerCell[1] = 23;
  EXPECT_EQ(DescribeComputer(ring, game4::TMove{2, 20}),
            "de computer schuift O-munt 2 van vakje 24 naar vakje 21");
  game6::TPosition row;
  const int8_t c[6] = {-2, -1, 0, 4, 5, 9};
  for (int i = 0; i < 6; ++i) row.CoinColumn[i] = c[i];
  EXPECT_EQ(DescribeComputer(row, game6::TMove{4, 1}),
            "de computer schuift de munt van vakje 5 naar vakje 2");
  game7::TPosition euro;
  euro.CoinCount = 3, euro.EuroIndex = 2;
  euro.CoinColumn[0] = 2, euro.CoinColumn[1] = 5, euro.CoinColumn[2] = 9;
  EXPECT_EQ(DescribeComputer(euro, game7::TMove{2, 0}),
            "de computer schuift de euromunt van vakje 6 naar vakje 1: die valt uit het spel");
  EXPECT_EQ(DescribeComputer(euro, game7::TMove{3, 7}),
            "de computer schuift de munt van vakje 10 naar vakje 8");
  EXPECT_EQ(position_text::DescribeComputerCans({0b1011}, 0b11), "de computer gooit blikjes 1 en 2 om");
  EXPECT_EQ(position_text::DescribeComputerCans({0b1011}, 0b1000), "de computer gooit blikje 4 om");
}
