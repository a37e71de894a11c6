#include "help/hxhshtb.h"

#include <array>

namespace help {
namespace {

// One value per byte of code page 1250 text. The values are fixed: the keys
// stored with forms were made with them. Several characters share a value on
// purpose, so names that differ only in ASCII letter case find the same topic.
constexpr int32_t ByteValue(int c) {
  if (c == 0) return 0;
  if (c <= 31) return c + 208;
  switch (c) {
    case ' ': return -16;
    case '!': return 11;
    case '"': return -14;
    case '*':
    case '+': return c + 208;
    case '.': return 12;
    case '/': return -1;
    case '0': return 10;
    case '_': return 13;
    default: break;
  }
  if (c >= 35 && c <= 37) return c + 208;  // # $ %
  if (c <= 90) return c - 48;              // & ' ( ) , -  1-9  : to @  A-Z
  if (c <= 127) return c - 80;             // [ \ ] ^ ` a-z { | } ~ DEL
  if (c >= 145 && c <= 151) return c - 48;
  return c - 304;
}

constexpr std::array<int32_t, 256> MakeTable() {
  std::array<int32_t, 256> t{};
  for (int c = 0; c < 256; ++c) t[c] = ByteValue(c);
  return t;
}

constexpr std::array<int32_t, 256> kTable = MakeTable();

}  // namespace

int32_t ContextStringHash(std::string_view s) {
  // Unsigned arithmetic wraps by definition; the bits are those of the signed result.
  uint32_t h = 0;
  for (const char ch : s) {
    h = h * 43u + static_cast<uint32_t>(kTable[static_cast<unsigned char>(ch)]);
  }
  return static_cast<int32_t>(h);
}

}  // namespace help
