// SPDX-License-Identifier: GPL-3.0-or-later
#include "halloffame/security.h"

namespace {

uint32_t checksum = 0;

uint32_t Permute(uint32_t v) {
  uint32_t w = 0;
  for (int j = 1; j <= 32; ++j) w |= ((v >> ((11 * j) % 32)) & 1u) << (j - 1);
  return w;
}

uint32_t Unpermute(uint32_t v) {
  uint32_t w = 0;
  for (int j = 1; j <= 32; ++j) w |= ((v >> (j - 1)) & 1u) << ((11 * j) % 32);
  return w;
}

std::string BuildSymbolTable() {
  std::string table;
  for (char c = '0'; c <= '9'; ++c) table += c;
  for (char c = 'A'; c <= 'Z'; ++c) table += c;
  for (char c = 'a'; c <= '|'; ++c) table += c;  // a..z { |
  return table;
}

}  // namespace

void ChecksumReset() { checksum = 0; }

void ChecksumAddByte(uint8_t b) {
  for (int i = 0; i < 8; ++i) {
    checksum = (checksum << 1) | (checksum >> 31);
    if ((b >> i) & 1) checksum ^= 0x11203045u;
  }
}

uint32_t ChecksumValue() { return checksum; }

const std::string& SymbolTable() {
  static const std::string table = BuildSymbolTable();
  return table;
}

std::string ScrambleText(const std::string& input) {
  const std::string plain = input.substr(0, 255);
  const std::string& table = SymbolTable();
  const size_t groups = (plain.size() + 3) / 4;
  std::string out;
  out.reserve(groups * 6);
  for (size_t g = 0; g < groups; ++g) {
    uint32_t v = 0;
    for (size_t k = 0; k < 4; ++k) {
      const size_t pos = 4 * g + k;
      if (pos < plain.size()) v |= uint32_t(uint8_t(plain[pos])) << (8 * k);
    }
    const uint32_t w = Permute(v);
    for (int k = 0; k < 6; ++k) out += table[(w >> (6 * k)) & 63];
  }
  return out;
}

std::string UnscrambleText(const std::string& s) {
  const std::string& table = SymbolTable();
  const size_t groups = (s.size() + 5) / 6;
  std::string out;
  for (size_t g = 0; g < groups; ++g) {
    uint32_t v = 0;
    for (size_t i = 0; i < 6 && 6 * g + i < s.size(); ++i) {
      const size_t found = table.find(s[6 * g + i]);
      uint32_t p = found == std::string::npos ? 0 : uint32_t(found);  // foreign symbol: 0
      if (i == 5) p &= 3;
      v |= p << (6 * i);
    }
    uint32_t w = Unpermute(v);
    for (int k = 0; k < 4; ++k) {
      const char byte = char(w & 255);
      if (byte == 0) break;
      out += byte;
      w >>= 8;
    }
  }
  return out;
}

QString ScrambleText(const QString& plain) {
  return QString::fromLatin1(ScrambleText(plain.toLatin1().toStdString()));
}

QString UnscrambleText(const QString& scrambled) {
  return QString::fromLatin1(UnscrambleText(scrambled.toLatin1().toStdString()));
}
