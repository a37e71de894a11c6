#pragma once
// Character type and case tables of the single-byte code page, built once at
// start-up and kept for the whole run.

#include <array>
#include <cstdint>

namespace genlib {

// Character-type flags per code: bit value 1 upper case, 2 lower case, and
// the other class bits of platform/chartype.h.
extern std::array<std::uint16_t, 256> CharTypes;

// Lower case, upper case, and the other case of a letter (the code itself otherwise).
extern std::array<unsigned char, 256> LowerCaseTable;
extern std::array<unsigned char, 256> UpperCaseTable;
extern std::array<unsigned char, 256> ReflectCaseTable;
extern bool CaseTablesBuilt;

void BuildCharTypeTable();
// Does nothing once the tables are built.
void BuildCaseTables();
bool IsUpperChar(unsigned char c);
bool IsLowerChar(unsigned char c);

// The unit's start-up and end work, each run once however often it is entered.
void GenStringsStart();
void GenStringsEnd();

}  // namespace genlib
