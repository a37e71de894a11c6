#include "platform/chartype.h"

#include "platform/cp1250.h"

namespace platform {

std::uint16_t Cp1250CharType(unsigned char c) {
  const char16_t u = Cp1250ToUnicode(c);
  // The five undefined bytes map to C1 controls and are classed with them.
  if (u < 0x20 || (u >= 0x7F && u <= 0x9F)) {
    std::uint16_t t = kCharControl;
    if (u >= 0x09 && u <= 0x0D) t |= kCharSpace;
    if (u == 0x09) t |= kCharBlank;
    return t;
  }
  if (u == 0x20 || u == 0xA0) return kCharSpace | kCharBlank;
  if (u >= '0' && u <= '9') return kCharDigit | kCharHexDigit;
  const std::uint16_t hex = ((u >= 'A' && u <= 'F') || (u >= 'a' && u <= 'f')) ? kCharHexDigit : 0;
  if (Cp1250Lower(c) != c) return kCharUpper | kCharAlpha | hex;
  // Sharp s and the micro sign are small letters without a capital in the code page.
  if (Cp1250Upper(c) != c || u == 0x00DF || u == 0x00B5) return kCharLower | kCharAlpha | hex;
  return kCharPunct;
}

}  // namespace platform
