#include <gtest/gtest.h>

#include "platform/convert.h"
#include "platform/errors.h"

using namespace platform;

TEST(StrToInt, AcceptsSignedDecimalWithin32Bits) {
  EXPECT_EQ(StrToInt("0"), 0);
  EXPECT_EQ(StrToInt("-5"), -5);
  EXPECT_EQ(StrToInt("+7"), 7);
  EXPECT_EQ(StrToInt("  12"), 12);
  EXPECT_EQ(StrToInt("2147483647"), INT32_MAX);
  EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
}

TEST(StrToInt, RefusesEverythingElseNamingTheWholeText) {
  for (const char* bad : {"", "-", "12a", "2147483648", "-2147483649", "99999999999999999999", "1 ", "0x10"}) {
    try {
      StrToInt(bad);
      ADD_FAILURE() << "accepted '" << bad << "'";
    } catch (const EConvertError& e) {
      EXPECT_EQ(std::string(e.what()), "'" + std::string(bad) + "' is not a valid integer value");
    }
  }
}

TEST(StrToBool, NumbersAndWords) {
  EXPECT_TRUE(StrToBool("-1"));
  EXPECT_TRUE(StrToBool("1"));
  EXPECT_TRUE(StrToBool("2"));
  EXPECT_FALSE(StrToBool("0"));
  EXPECT_TRUE(StrToBool("tRuE"));
  EXPECT_FALSE(StrToBool("FALSE"));
  try {
    StrToBool("Ano");
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'Ano' is not a valid boolean value");
  }
}

TEST(TrimControls, DropsBlanksAndControlsAtTheEndsOnly) {
  EXPECT_EQ(TrimControls(" \t\r\x01 a b\x1F \n"), "a b");
  EXPECT_EQ(TrimControls(" \t "), "");
  // Code page 1250 letters and the no-break space lie above the blank and stay.
  EXPECT_EQ(TrimControls("\xA0\x8A"
                         "ek\xE8\xA0"),
            "\xA0\x8A"
            "ek\xE8\xA0");
}

TEST(Errors, MessagesCarryTheirSubject) {
  EXPECT_STREQ(EIniFileException("/x/jazyk.ini").what(), "Unable to write to /x/jazyk.ini");
  EXPECT_STREQ(EListError(0).what(), "List index out of bounds (0)");
  const std::string io = EInOutError::FromErrno("/x/t.sst", ENOENT).what();
  EXPECT_NE(io.find("/x/t.sst"), std::string::npos);
  EXPECT_NE(io.find("No such file"), std::string::npos);
}
