#include <gtest/gtest.h>

#include "genlib/GenStrings.h"
#include "platform/chartype.h"

using namespace genlib;

namespace {

class GenStringsTest : public ::testing::Test {
 protected:
  void SetUp() override { GenStringsStart(); }
  void TearDown() override { GenStringsEnd(); }
};

// Capital and small letter pairs of code page 1250: Latin, Czech, Slovak, Polish, Hungarian.
constexpr unsigned char kPairs[][2] = {
    {'A', 'a'},
    {'Z', 'z'},
    {0x8A, 0x9A} /* Š š */,
    {0x8C, 0x9C} /* Ś ś */,
    {0x8D, 0x9D} /* Ť ť */,
    {0x8E, 0x9E} /* Ž ž */,
    {0x8F, 0x9F} /* Ź ź */,
    {0xA3, 0xB3} /* Ł ł */,
    {0xA5, 0xB9} /* Ą ą */,
    {0xAA, 0xBA} /* Ş ş */,
    {0xAF, 0xBF} /* Ż ż */,
    {0xBC, 0xBE} /* Ľ ľ */,
    {0xC1, 0xE1} /* Á á */,
    {0xC8, 0xE8} /* Č č */,
    {0xCF, 0xEF} /* Ď ď */,
    {0xCC, 0xEC} /* Ě ě */,
    {0xD2, 0xF2} /* Ň ň */,
    {0xD5, 0xF5} /* Ő ő */,
    {0xD8, 0xF8} /* Ř ř */,
    {0xD9, 0xF9} /* Ů ů */,
    {0xDD, 0xFD} /* Ý ý */,
};

}  // namespace

TEST_F(GenStringsTest, LettersOfTheCodePageHaveBothCases) {
  ASSERT_TRUE(CaseTablesBuilt);
  for (const auto& p : kPairs) {
    SCOPED_TRACE(int(p[0]));
    EXPECT_TRUE(IsUpperChar(p[0]));
    EXPECT_TRUE(IsLowerChar(p[1]));
    EXPECT_FALSE(IsLowerChar(p[0]));
    EXPECT_FALSE(IsUpperChar(p[1]));
    EXPECT_EQ(LowerCaseTable[p[0]], p[1]);
    EXPECT_EQ(UpperCaseTable[p[1]], p[0]);
    EXPECT_EQ(LowerCaseTable[p[1]], p[1]);
    EXPECT_EQ(UpperCaseTable[p[0]], p[0]);
    EXPECT_EQ(ReflectCaseTable[p[0]], p[1]);
    EXPECT_EQ(ReflectCaseTable[p[1]], p[0]);
  }
}

TEST_F(GenStringsTest, ReflectionIsItsOwnInverseOnEveryCode) {
  for (int c = 0; c < 256; ++c) {
    SCOPED_TRACE(c);
    const unsigned char r = ReflectCaseTable[c];
    if (IsUpperChar(c)) {
      EXPECT_TRUE(IsLowerChar(r));
    }
    // Sharp s has no capital and stays itself, which keeps the round trip.
    EXPECT_EQ(ReflectCaseTable[r], c);
  }
}

TEST_F(GenStringsTest, DigitsSignsAndUndefinedCodesKeepTheirCase) {
  for (int c : std::initializer_list<int>{'0', '5', '9', ' ', '.', '+', '@', '[', 0x80 /* € */, 0x81 /* undefined */,
                                          0xA0 /* no-break space */, 0xA7 /* § */, 0xD7 /* × */, 0xF7 /* ÷ */,
                                          0xFF /* dot above */}) {
    SCOPED_TRACE(int(c));
    EXPECT_FALSE(IsUpperChar(c));
    EXPECT_FALSE(IsLowerChar(c));
    EXPECT_EQ(ReflectCaseTable[c], c);
    EXPECT_EQ(LowerCaseTable[c], c);
    EXPECT_EQ(UpperCaseTable[c], c);
  }
  EXPECT_TRUE(IsLowerChar(0xDF));  // ß
  EXPECT_EQ(UpperCaseTable[0xDF], 0xDF);
}

TEST_F(GenStringsTest, CharacterClasses) {
  EXPECT_EQ(CharTypes['7'], platform::kCharDigit | platform::kCharHexDigit);
  EXPECT_EQ(CharTypes['b'], platform::kCharLower | platform::kCharAlpha | platform::kCharHexDigit);
  EXPECT_EQ(CharTypes['G'], platform::kCharUpper | platform::kCharAlpha);
  EXPECT_EQ(CharTypes[0xC8], platform::kCharUpper | platform::kCharAlpha);  // Č
  EXPECT_EQ(CharTypes[' '], platform::kCharSpace | platform::kCharBlank);
  EXPECT_EQ(CharTypes[0xA0], platform::kCharSpace | platform::kCharBlank);
  EXPECT_EQ(CharTypes['\t'], platform::kCharControl | platform::kCharSpace | platform::kCharBlank);
  EXPECT_EQ(CharTypes['\n'], platform::kCharControl | platform::kCharSpace);
  EXPECT_EQ(CharTypes[0x00], platform::kCharControl);
  EXPECT_EQ(CharTypes[0x81], platform::kCharControl);
  EXPECT_EQ(CharTypes[0x7F], platform::kCharControl);
  EXPECT_EQ(CharTypes[0x80], platform::kCharPunct);                         // €
  EXPECT_EQ(CharTypes[0xD7], platform::kCharPunct);                         // ×
  EXPECT_EQ(CharTypes[0xB5], platform::kCharLower | platform::kCharAlpha);  // µ
}

TEST(GenStringsCounter, StartRunsOnceAndEndWhenBalanced) {
  GenStringsStart();
  GenStringsStart();
  CharTypes['A'] = 0;  // a second start must not rebuild
  GenStringsStart();
  EXPECT_EQ(CharTypes['A'], 0);
  GenStringsEnd();
  GenStringsEnd();
  GenStringsEnd();
  GenStringsEnd();  // one end too many does nothing
  GenStringsStart();
  EXPECT_EQ(CharTypes['A'], platform::kCharUpper | platform::kCharAlpha | platform::kCharHexDigit);
  GenStringsEnd();
}
