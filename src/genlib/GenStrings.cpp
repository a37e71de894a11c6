#include "genlib/GenStrings.h"

#include "platform/chartype.h"
#include "platform/cp1250.h"

namespace genlib {

std::array<std::uint16_t, 256> CharTypes{};
std::array<unsigned char, 256> LowerCaseTable{};
std::array<unsigned char, 256> UpperCaseTable{};
std::array<unsigned char, 256> ReflectCaseTable{};
bool CaseTablesBuilt = false;

namespace {
int startCount = 0;
}  // namespace

void BuildCharTypeTable() {
  for (int c = 0; c < 256; ++c) CharTypes[c] = platform::Cp1250CharType(static_cast<unsigned char>(c));
}

bool IsUpperChar(unsigned char c) { return (CharTypes[c] & platform::kCharUpper) != 0; }
bool IsLowerChar(unsigned char c) { return (CharTypes[c] & platform::kCharLower) != 0; }

void BuildCaseTables() {
  if (CaseTablesBuilt) return;
  for (int i = 0; i < 256; ++i) {
    const auto c = static_cast<unsigned char>(i);
    const unsigned char lower = platform::Cp1250Lower(c);
    const unsigned char upper = platform::Cp1250Upper(c);
    LowerCaseTable[i] = lower;
    UpperCaseTable[i] = upper;
    if (IsUpperChar(c)) {
      ReflectCaseTable[i] = lower;
    } else if (IsLowerChar(c)) {
      ReflectCaseTable[i] = upper;
    } else {
      ReflectCaseTable[i] = c;
    }
  }
  CaseTablesBuilt = true;
}

void GenStringsStart() {
  if (startCount++ != 0) return;
  BuildCharTypeTable();
  BuildCaseTables();
}

void GenStringsEnd() {
  if (startCount == 0) return;
  --startCount;
}

}  // namespace genlib
