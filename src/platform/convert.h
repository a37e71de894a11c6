#pragma once
// Text to number and flag conversions with the program's own rules and messages.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// A signed 32-bit decimal integer: optional leading blanks, an optional sign,
// then digits and nothing else. Empty, out of range or anything more: no value.
std::optional<int32_t> TryStrToInt(std::string_view s);

// TryStrToInt or EConvertError "'%s' is not a valid integer value".
int32_t StrToInt(const std::string& s);

// A number reads true when it is not zero; otherwise "True" and "False" in any
// capitals; anything else raises EConvertError "'%s' is not a valid boolean value".
bool StrToBool(const std::string& s);

// Decimal text of a signed 32-bit integer.
std::string IntToStr(int32_t v);

// The text without the blanks and control characters (every byte up to ' ') at its ends.
std::string_view TrimControls(std::string_view s);

// The value of a hexadecimal digit, either case; -1 for any other character.
int HexDigit(char c);

// ASCII-only case folding, as the profile files and keys need.
std::string AsciiLower(std::string_view s);
bool SameTextAscii(std::string_view a, std::string_view b);

}  // namespace platform
