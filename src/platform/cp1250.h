#pragma once
// Code page 1250 (Windows Central European), the single-byte text of every
// string in the model and every file the program writes. Conversion between
// it and Unicode happens here and nowhere else.

#include <string>
#include <string_view>

namespace platform {

// The Unicode code point of one code page 1250 byte. The five bytes that the
// code page leaves undefined map to the C1 control of the same number, so a
// round trip through Unicode never loses a byte.
char16_t Cp1250ToUnicode(unsigned char c);

// The code page 1250 byte of a code point; '?' when the code page cannot hold it.
char UnicodeToCp1250(char32_t u);

// Letter case within the code page: the Latin letters and the Central
// European letters that have both cases in it; every other byte is kept.
unsigned char Cp1250Upper(unsigned char c);
unsigned char Cp1250Lower(unsigned char c);

// Whole strings to and from UTF-8. Malformed UTF-8 sequences become '?'.
std::string Cp1250ToUtf8(std::string_view cp);
std::string Utf8ToCp1250(std::string_view utf8);

}  // namespace platform
