// SPDX-License-Identifier: GPL-3.0-or-later
// Keyless protection of the score file: a 32-bit checksum register fed byte
// by byte, and a reversible scrambling of short texts into printable 6-bit
// symbols (used for the players' passwords).
#pragma once

#include <QString>
#include <cstdint>
#include <string>

void ChecksumReset();
void ChecksumAddByte(uint8_t b);
uint32_t ChecksumValue();

// The 64 symbols; position p stands for the 6-bit value p.
const std::string& SymbolTable();

// Single-byte texts (at most 255 bytes are scrambled).
std::string ScrambleText(const std::string& plain);
std::string UnscrambleText(const std::string& scrambled);
// The same for the program's texts, which are letters and digits.
QString ScrambleText(const QString& plain);
QString UnscrambleText(const QString& scrambled);
