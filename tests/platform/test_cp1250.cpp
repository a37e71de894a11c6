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
  EXPECT_EQ(Utf8ToCp1250("a\xC0\xAF"
                         "b\xE0\x80\x80"),
            "a?b?");  // overlong forms of '/' and of NUL are no characters
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

TEST(Cp1250, APathOfAnyBytesReadsBackExactlyAndOneTheCodePageHoldsIsItsPlainText) {
  const std::string cyrillic = "/home/u/\xD0\xA2\xD0\xB5\xD1\x81\xD1\x82\xD1\x8B";  // "Тесты"
  const std::string french = "/home/u/Mati\xC3\xA8res";                             // è is not in the code page
  const std::string czech = "/home/u\xC4\x8Ditel/Testy";                             // "učitel"
  for (const std::string& native :
       {cyrillic, french, czech, std::string("/tmp/bad\xFF\xC3 name"), std::string("/tmp/c1 \xC2\x81;41;"),
        std::string("/tmp/emoji \xF0\x9F\x98\x80.sst"), std::string("/tmp/?")}) {
    const std::string text = PathText(native);
    EXPECT_EQ(NativeOfPathText(text), native) << text;
  }
  EXPECT_EQ(PathText(czech), Utf8ToCp1250(czech));
  EXPECT_FALSE(BeyondCodePage(PathText(czech)));
  EXPECT_FALSE(BeyondCodePage(PathText("/tmp/?")));
  EXPECT_TRUE(BeyondCodePage(PathText(french)));
  EXPECT_EQ(PlainPathText(PathText(french)), "/home/u/Mati?res");
  EXPECT_EQ(PlainPathText(PathText(cyrillic)), "/home/u/?????");
  // A 0x81 in a text that starts no escape stays the character it always was.
  EXPECT_EQ(NativeOfPathText("a\x81;b\x81" "4;"), "a\xC2\x81;b\xC2\x81" "4;");
}
