#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "support/TestSupport.h"
#include "platform/appdir.h"
#include "platform/profile.h"
#include "model/uDApp.h"

using testsupport::ReadBytes;

namespace {
const std::string kCesky =
    "\xC8"
    "esky";  // "Česky"
}  // namespace

// The table shipped beside the program.
TEST(ShippedTable, BothLanguagesHoldExactlyEveryKey) {
  const std::set<std::string> expected(LangKeys.begin(), LangKeys.end());
  ASSERT_EQ(expected.size(), kLangKeyCount);

  const std::string path = testsupport::SourceDir() + "data/jazyk.ini";
  const std::string bytes = ReadBytes(path);
  ASSERT_FALSE(bytes.empty());
  // Code page 1250 with CR LF line ends throughout.
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n') {
      ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare line feed at " << i;
    }
  }
  EXPECT_EQ(bytes.find("\xC3"), std::string::npos) << "UTF-8 in the table";

  const platform::ProfileFile table(path);
  ASSERT_EQ(table.ReadSections(), (std::vector<std::string>{kCesky, "English"}));
  for (const std::string& language : {kCesky, std::string("English")}) {
    const std::vector<std::string> keys = table.ReadSectionKeys(language);
    EXPECT_EQ(keys.size(), kLangKeyCount) << language;
    EXPECT_EQ(std::set<std::string>(keys.begin(), keys.end()), expected) << language;
    for (const std::string_view key : LangKeys) {
      const std::string text = table.ReadString(language, std::string(key), "");
      EXPECT_FALSE(text.empty()) << language << " " << key;
      EXPECT_NE(text.substr(0, 2), "!_") << language << " " << key;
    }
  }
  // The first section lists the keys in the program's order, for the table editor's rows.
  EXPECT_EQ(table.ReadSectionKeys(kCesky), std::vector<std::string>(LangKeys.begin(), LangKeys.end()));
}

TEST(ShippedTable, LiesBesideTheProgramAndFollowsTheChosenLanguage) {
  const std::string source = ReadBytes(testsupport::SourceDir() + "data/jazyk.ini");
  EXPECT_EQ(ReadBytes(testsupport::BinDir() + "jazyk.ini"), source);
  testsupport::TempDir dir;
  testsupport::WriteBytes(dir.File("jazyk.ini"), source);
  platform::SetProgramDir(dir.Path());
  Settings.pJazyk = kCesky;
  EXPECT_EQ(LangText("NacistTest"), "Na\xE8\xEDst test");  // "Načíst test"
  Settings.pJazyk = "English";
  EXPECT_EQ(LangText("NacistTest"), "Load test");
  EXPECT_EQ(ReadBytes(dir.File("jazyk.ini")), source);  // complete tables are only read
  platform::SetProgramDir("");
  Settings = TNastaveni();
}
