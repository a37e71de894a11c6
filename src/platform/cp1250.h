#pragma once
// Code page 1250 (Windows Central European), the single-byte text of every
// string in the model and every file the program writes. Conversion between
// it and Unicode happens here and nowhere else.

#include <cstddef>
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

// UTF-8 read strictly: overlong forms, surrogates and values past U+10FFFF
// are malformed. The length of the well-formed sequence at i, with its code
// point in u; 0 when none starts there.
size_t Utf8Sequence(std::string_view s, size_t i, char32_t& u);
bool ValidUtf8(std::string_view s);
// Appends the code point as UTF-8; a surrogate or a value past U+10FFFF as U+FFFD.
void AppendUtf8(std::string& out, char32_t u);

// Paths. A path is the file system's bytes, which the program holds as code
// page 1250 text like every other string, to show, join and compare it. What
// the code page holds becomes its byte; every run of other bytes (letters
// beyond the code page, bytes that are no UTF-8, and U+0081 itself) is kept
// as an escape: the byte 0x81, which the code page leaves undefined, the
// bytes in hex digits, and ';'. A path the code page holds is thus its plain
// text, and every path reads back exactly.
std::string PathText(std::string_view native);
// The file system's bytes of a path text. A 0x81 that starts no escape is
// the character U+0081, as in any other text.
std::string NativeOfPathText(std::string_view text);
// Whether the text holds an escape: a name that code page 1250 cannot hold.
bool BeyondCodePage(std::string_view text);
// The text with every escaped character as one '?', as the code page alone
// would keep it.
std::string PlainPathText(std::string_view text);

}  // namespace platform
