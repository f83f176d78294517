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
