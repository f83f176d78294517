// SPDX-License-Identifier: GPL-3.0-or-later
#include "games/position_text.h"

namespace position_text {

namespace {

std::string N(int n) { return std::to_string(n); }

// "1", "1 en 4", "1, 4 en 7".
std::string List(const std::vector<int>& items) {
  std::string out;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out += i + 1 == items.size() ? " en " : ", ";
    out += N(items[i]);
  }
  return out;
}

std::string Stones(int n) { return N(n) + (n == 1 ? " steen" : " stenen"); }

const char* ColumnName(int column) { return column == 1 ? "linker kolom" : "rechter kolom"; }

}  // namespace

std::string Describe(const game0::TPosition& p) {
  return "Linker kolom: " + Stones(p.ColumnHeights[0]) +
         ", rechter kolom: " + Stones(p.ColumnHeights[1]) + ".";
}

std::string Describe(const game0::TPosition&, const game0::TMove& m) {
  return "neem " + Stones(m.count) + " van de " + ColumnName(m.column);
}

std::string Describe(const game1::TPosition& p) {
  return "De munt staat in kolom " + N(p.CoinPos.column + 1) + ", rij " + N(p.CoinPos.row + 1) +
         "; het groene vakje is kolom 1, rij 1.";
}

std::string Describe(const game1::TPosition&, const game1::TMove& m) {
  return "munt naar kolom " + N(m.column + 1) + ", rij " + N(m.row + 1);
}

std::string Describe(const rows::TPosition& p) {
  std::string out;
  for (int r = 0; r < p.rows; ++r) {
    if (r > 0) out += " ";
    out += "Rij " + N(r + 1) + ": O in vakje " + N(p.ComputerColumn[r] + 1) + ", X in vakje " +
           N(p.PlayerColumn[r] + 1) + ".";
  }
  return out;
}

std::string Describe(const rows::TPosition& p, const rows::TMove& m) {
  return "X van rij " + N(m.row) + " van vakje " + N(p.PlayerColumn[m.row - 1] + 1) +
         " naar vakje " + N(m.column + 1);
}

std::string Describe(const game4::TPosition& p) {
  return "Ring van 24 vakjes. X-munt 1 in vakje " + N(p.PlayerCell[0] + 1) +
         ", X-munt 2 in vakje " + N(p.PlayerCell[1] + 1) + ", O-munt 1 in vakje " +
         N(p.ComputerCell[0] + 1) + ", O-munt 2 in vakje " + N(p.ComputerCell[1] + 1) + ".";
}

std::string Describe(const game4::TPosition& p, const game4::TMove& m) {
  return "X-munt " + N(m.coin) + " van vakje " + N(p.PlayerCell[m.coin - 1] + 1) + " naar vakje " +
         N(m.cell + 1);
}

std::string Describe(const game6::TPosition& p) {
  std::vector<int> cells;
  for (int8_t c : p.CoinColumn)
    if (c >= 0) cells.push_back(c + 1);
  return "Munten in vakje " + List(cells) + ".";
}

std::string Describe(const game6::TPosition& p, const game6::TMove& m) {
  return "munt van vakje " + N(p.CoinColumn[m.slot - 1] + 1) + " naar vakje " + N(m.column + 1);
}

std::string Describe(const game7::TPosition& p) {
  std::string out = "Munten in vakje ";
  for (int k = 0; k < p.CoinCount; ++k) {
    if (k > 0) out += k + 1 == p.CoinCount ? " en " : ", ";
    out += N(p.CoinColumn[k] + 1);
    if (k + 1 == p.EuroIndex) out += " (de euromunt)";
  }
  out += ". Een munt in vakje 1 valt uit het spel.";
  return out;
}

std::string Describe(const game7::TPosition& p, const game7::TMove& m) {
  const std::string what = std::string(m.coin == p.EuroIndex ? "euromunt" : "munt") +
                           " van vakje " + N(p.CoinColumn[m.coin - 1] + 1);
  if (m.column == 0) return what + " naar vakje 1: valt uit het spel";
  return what + " naar vakje " + N(m.column + 1);
}

std::string Describe(const game8::TPosition& p) {
  std::vector<int> cans;
  for (int i = 0; i < 16; ++i)
    if (p.Standing >> i & 1) cans.push_back(i + 1);
  if (cans.empty()) return "Er staat geen blikje meer.";
  return (cans.size() == 1 ? "Er staat 1 blikje: plaats "
                           : "Er staan " + N(int(cans.size())) + " blikjes, op plaats ") +
         List(cans) + ".";
}

std::string DescribeCans(const game8::TPosition&, game8::TMove m) {
  std::vector<int> cans;
  for (int i = 0; i < 16; ++i)
    if (m >> i & 1) cans.push_back(i + 1);
  return (cans.size() == 1 ? "gooi blikje " : "gooi blikjes ") + List(cans) + " om";
}

std::string Describe(const gametemplate::TPosition& p) {
  return N(p.Count) + (p.Count == 1 ? " fiche" : " fiches") + " op het bord.";
}

std::string Describe(const gametemplate::TPosition&, const gametemplate::TMove& m) {
  return "neem " + N(m.take) + (m.take == 1 ? " fiche" : " fiches");
}

std::string DescribeComputer(const game0::TPosition&, const game0::TMove& m) {
  return "de computer neemt " + Stones(m.count) + " van de " + ColumnName(m.column);
}

std::string DescribeComputer(const game1::TPosition&, const game1::TMove& m) {
  return "de computer zet de munt naar kolom " + N(m.column + 1) + ", rij " + N(m.row + 1);
}

std::string DescribeComputer(const rows::TPosition& p, const rows::TMove& m) {
  return "de computer schuift O van rij " + N(m.row) + " van vakje " +
         N(p.ComputerColumn[m.row - 1] + 1) + " naar vakje " + N(m.column + 1);
}

std::string DescribeComputer(const game4::TPosition& p, const game4::TMove& m) {
  return "de computer schuift O-munt " + N(m.coin) + " van vakje " +
         N(p.ComputerCell[m.coin - 1] + 1) + " naar vakje " + N(m.cell + 1);
}

std::string DescribeComputer(const game6::TPosition& p, const game6::TMove& m) {
  return "de computer schuift de munt van vakje " + N(p.CoinColumn[m.slot - 1] + 1) +
         " naar vakje " + N(m.column + 1);
}

std::string DescribeComputer(const game7::TPosition& p, const game7::TMove& m) {
  const std::string what = std::string(m.coin == p.EuroIndex ? "de euromunt" : "de munt") +
                           " van vakje " + N(p.CoinColumn[m.coin - 1] + 1);
  if (m.column == 0) return "de computer schuift " + what + " naar vakje 1: die valt uit het spel";
  return "de computer schuift " + what + " naar vakje " + N(m.column + 1);
}

std::string DescribeComputerCans(const game8::TPosition&, game8::TMove m) {
  std::vector<int> cans;
  for (int i = 0; i < 16; ++i)
    if (m >> i & 1) cans.push_back(i + 1);
  return (cans.size() == 1 ? "de computer gooit blikje " : "de computer gooit blikjes ") +
         List(cans) + " om";
}

}  // namespace position_text
