#include <gtest/gtest.h>
#include <iconv.h>

#include <clocale>
#include <cwctype>

#include "platform/cp1250.h"

using namespace platform;

namespace {
// glibc's own table of the code page, as an independent witness.
std::string IconvToUtf8(unsigned char c) {
  iconv_t cd = iconv_open("UTF-8", "CP1250");
  char in[1] = {static_cast<char>(c)};
  char out[8] = {};
  char* ip = in;
  char* op = out;
  size_t il = 1, ol = sizeof out;
  const size_t r = iconv(cd, &ip, &il, &op, &ol);
  iconv_close(cd);
  if (r == size_t(-1)) return {};
  return std::string(out, sizeof out - ol);
}
}  // namespace

TEST(Cp1250, AgreesWithGlibcOnEveryDefinedByte) {
  int defined = 0;
  for (int c = 0; c < 256; ++c) {
    const std::string expected = IconvToUtf8(static_cast<unsigned char>(c));
    if (expected.empty()) continue;  // undefined in the code page
    ++defined;
    EXPECT_EQ(Cp1250ToUtf8(std::string(1, char(c))), expected) << "byte " << c;
  }
  EXPECT_EQ(defined, 251);
}

TEST(Cp1250, EveryByteSurvivesARoundTrip) {
  std::string all;
  for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
  EXPECT_EQ(Utf8ToCp1250(Cp1250ToUtf8(all)), all);
}

TEST(Cp1250, CzechTextBothWays) {
  const std::string utf8 = "Příliš žluťoučký kůň úpěl ďábelské ódy";
  const std::string cp = Utf8ToCp1250(utf8);
  EXPECT_EQ(cp.size(), 38u);
  EXPECT_EQ(static_cast<unsigned char>(cp[1]), 0xF8);  // ř
  EXPECT_EQ(Cp1250ToUtf8(cp), utf8);
}

TEST(Cp1250, UnmappableAndBrokenInputBecomesQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1250("Ж"), "?");  // Cyrillic
  EXPECT_EQ(Utf8ToCp1250("a\xF0\x9F\x98\x80"
                         "b"),
            "a?b");                        // emoji outside the BMP
  EXPECT_EQ(Utf8ToCp1250("a\xC3"), "a?");  // cut sequence
  EXPECT_EQ(Utf8ToCp1250("\xFF"
                         "x"),
            "?x");                             // no lead byte
  EXPECT_EQ(UnicodeToCp1250(0x20AC), '\x80');  // euro sign
}

TEST(Cp1250, CaseMappingAgreesWithUnicodeForEveryByte) {
  // Every pair must be a true Unicode case pair, and each mapping must undo the other.
  ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
  for (int c = 0; c < 256; ++c) {
    const unsigned char b = static_cast<unsigned char>(c);
    const unsigned char up = Cp1250Upper(b), low = Cp1250Lower(b);
    if (up != b) {
      EXPECT_EQ(Cp1250Lower(up), b) << c;
      EXPECT_NE(std::towupper(Cp1250ToUnicode(b)), wint_t(Cp1250ToUnicode(b))) << c;
      EXPECT_EQ(wint_t(Cp1250ToUnicode(up)), std::towupper(Cp1250ToUnicode(b))) << c;
    }
    if (low != b) {
      EXPECT_EQ(Cp1250Upper(low), b) << c;
    }
  }
  EXPECT_EQ(Cp1250Upper(0xE8), 0xC8);  // č Č
  EXPECT_EQ(Cp1250Upper(0xDF), 0xDF);  // ß has no capital here
  EXPECT_EQ(Cp1250Upper(0xF7), 0xF7);  // ÷
  EXPECT_EQ(Cp1250Lower(0xD7), 0xD7);  // ×
}
