#pragma once
// Character classes of the 256 codes of code page 1250, standing in for the
// locale's character-type query, which Linux has no service for in this code page.

#include <cstdint>

namespace platform {

// Character-type flags of the first kind; a code may carry several.
constexpr std::uint16_t kCharUpper = 0x0001;
constexpr std::uint16_t kCharLower = 0x0002;
constexpr std::uint16_t kCharDigit = 0x0004;
constexpr std::uint16_t kCharSpace = 0x0008;
constexpr std::uint16_t kCharPunct = 0x0010;
constexpr std::uint16_t kCharControl = 0x0020;
constexpr std::uint16_t kCharBlank = 0x0040;
constexpr std::uint16_t kCharHexDigit = 0x0080;
constexpr std::uint16_t kCharAlpha = 0x0100;

// The flags of one code page 1250 byte, derived from the character it stands for.
std::uint16_t Cp1250CharType(unsigned char c);

}  // namespace platform
