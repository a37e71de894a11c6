#include "platform/cp1250.h"

#include <array>

#include "platform/convert.h"

namespace platform {
namespace {

// Bytes 0x80..0xFF; below 0x80 the code page is ASCII.
constexpr std::array<char16_t, 128> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  // F8
};

// The length of the UTF-8 sequence this byte starts; 0 for a byte that starts none.
size_t Utf8LeadLength(unsigned char c) {
  if (c < 0x80) return 1;
  if ((c & 0xE0) == 0xC0) return 2;
  if ((c & 0xF0) == 0xE0) return 3;
  if ((c & 0xF8) == 0xF0) return 4;
  return 0;
}

}  // namespace

char16_t Cp1250ToUnicode(unsigned char c) { return c < 0x80 ? char16_t(c) : kHigh[c - 0x80]; }

char UnicodeToCp1250(char32_t u) {
  if (u < 0x80) return static_cast<char>(u);
  for (unsigned i = 0; i < kHigh.size(); ++i) {
    if (kHigh[i] == u) return static_cast<char>(0x80 + i);
  }
  return '?';
}

unsigned char Cp1250Upper(unsigned char c) {
  if (c >= 'a' && c <= 'z') return c - 32;
  switch (c) {
    case 0x9A:
    case 0x9C:
    case 0x9D:
    case 0x9E:
    case 0x9F: return c - 0x10;  // š ś ť ž ź
    case 0xB3: return 0xA3;      // ł
    case 0xB9: return 0xA5;      // ą
    case 0xBA: return 0xAA;      // ş
    case 0xBE: return 0xBC;      // ľ
    case 0xBF: return 0xAF;      // ż
    default: break;
  }
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
  return c;
}

unsigned char Cp1250Lower(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  switch (c) {
    case 0x8A:
    case 0x8C:
    case 0x8D:
    case 0x8E:
    case 0x8F: return c + 0x10;  // Š Ś Ť Ž Ź
    case 0xA3: return 0xB3;      // Ł
    case 0xA5: return 0xB9;      // Ą
    case 0xAA: return 0xBA;      // Ş
    case 0xBC: return 0xBE;      // Ľ
    case 0xAF: return 0xBF;      // Ż
    default: break;
  }
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  return c;
}

std::string Cp1250ToUtf8(std::string_view cp) {
  std::string out;
  out.reserve(cp.size() * 2);
  for (unsigned char c : cp) AppendUtf8(out, Cp1250ToUnicode(c));
  return out;
}

std::string Utf8ToCp1250(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    char32_t u;
    if (const size_t n = Utf8Sequence(s, i, u)) {
      out += UnicodeToCp1250(u);
      i += n;
      continue;
    }
    // A broken sequence is one '?': its lead byte and the continuation bytes after it.
    const size_t len = Utf8LeadLength(static_cast<unsigned char>(s[i]));
    ++i;
    for (size_t k = 1; k < len && i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80; ++k) ++i;
    out += '?';
  }
  return out;
}

size_t Utf8Sequence(std::string_view s, size_t i, char32_t& u) {
  const unsigned char c = static_cast<unsigned char>(s[i]);
  const size_t len = Utf8LeadLength(c);
  if (len == 1) {
    u = c;
    return 1;
  }
  if (len == 0 || i + len > s.size()) return 0;
  u = c & (0x7F >> len);
  for (size_t k = 1; k < len; ++k) {
    const unsigned char d = static_cast<unsigned char>(s[i + k]);
    if ((d & 0xC0) != 0x80) return 0;
    u = (u << 6) | (d & 0x3F);
  }
  // Overlong forms, surrogates and values past the last code point.
  constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (u < kShortest[len] || u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF)) return 0;
  return len;
}

bool ValidUtf8(std::string_view s) {
  char32_t u;
  for (size_t i = 0; i < s.size();) {
    const size_t n = Utf8Sequence(s, i, u);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

void AppendUtf8(std::string& out, char32_t u) {
  if (u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF)) u = 0xFFFD;
  if (u < 0x80) {
    out += static_cast<char>(u);
  } else if (u < 0x800) {
    out += static_cast<char>(0xC0 | (u >> 6));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else if (u < 0x10000) {
    out += static_cast<char>(0xE0 | (u >> 12));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (u >> 18));
    out += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  }
}

namespace {

constexpr char kEscape = '\x81';

// The length of the escape at i (0x81 through ';') with its bytes; 0 when none starts there.
size_t EscapeAt(std::string_view text, size_t i, std::string* bytes) {
  if (text[i] != kEscape) return 0;
  size_t j = i + 1;
  std::string out;
  while (j + 1 < text.size() && HexDigit(text[j]) >= 0 && HexDigit(text[j + 1]) >= 0) {
    out += static_cast<char>(HexDigit(text[j]) * 16 + HexDigit(text[j + 1]));
    j += 2;
  }
  if (out.empty() || j >= text.size() || text[j] != ';') return 0;
  if (bytes) *bytes = std::move(out);
  return j + 1 - i;
}

}  // namespace

std::string PathText(std::string_view native) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  std::string pending;  // bytes of the escape being gathered
  const auto flush = [&] {
    if (pending.empty()) return;
    out += kEscape;
    for (unsigned char b : pending) {
      out += kHex[b >> 4];
      out += kHex[b & 15];
    }
    out += ';';
    pending.clear();
  };
  for (size_t i = 0; i < native.size();) {
    char32_t u = 0;
    const size_t len = Utf8Sequence(native, i, u);
    if (len == 0) {
      pending += native[i++];
      continue;
    }
    const char c = UnicodeToCp1250(u);
    if ((c == '?' && u != U'?') || c == kEscape) {
      pending += native.substr(i, len);
    } else {
      flush();
      out += c;
    }
    i += len;
  }
  flush();
  return out;
}

std::string NativeOfPathText(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (size_t i = 0; i < text.size();) {
    std::string bytes;
    if (const size_t len = EscapeAt(text, i, &bytes)) {
      out += bytes;
      i += len;
    } else {
      AppendUtf8(out, Cp1250ToUnicode(static_cast<unsigned char>(text[i++])));
    }
  }
  return out;
}

bool BeyondCodePage(std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (EscapeAt(text, i, nullptr)) return true;
  }
  return false;
}

std::string PlainPathText(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    std::string bytes;
    if (const size_t len = EscapeAt(text, i, &bytes)) {
      for (size_t k = 0; k < bytes.size();) {
        char32_t u = 0;
        const size_t n = Utf8Sequence(bytes, k, u);
        k += n == 0 ? 1 : n;
        out += '?';
      }
      i += len;
    } else {
      out += text[i++];
    }
  }
  return out;
}

}  // namespace platform
