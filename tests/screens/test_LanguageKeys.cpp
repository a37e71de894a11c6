#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <set>

#include "support/TestSupport.h"
#include "platform/profile.h"
#include "model/uDApp.h"
#include "screens/uAktualizace.h"
#include "screens/uHodnoceni.h"
#include "screens/uMain.h"
#include "screens/uMenu.h"
#include "screens/uNTest.h"
#include "screens/uNastaveni.h"
#include "screens/uPZTest.h"
#include "screens/uPomucky.h"
#include "screens/uSTRTF.h"
#include "screens/uTisk.h"
#include "screens/uUpravitT.h"
#include "screens/uVyberAdr.h"
#include "screens/uZHeslo.h"
#include "screens/uZTest.h"
#include "screens/uZjistiA.h"

namespace {

const std::string kCesky =
    "\xC8"
    "esky";  // "Česky"

// Lookups whose key is no literal, and where their keys come from instead.
const std::set<std::string> kIndirectLookups = {
    "src/model/uDApp.h: const std::string& key",    // the declaration
    "src/model/uDApp.cpp: const std::string& key",  // the definition
    "src/screens/Captions.h: row.Key",              // the screens' caption tables
    "src/screens/uUpravitT.cpp: type.Key",          // the picture types
};

// Every key the code looks up, with where it does so.
std::map<std::string, std::string> KeysLookedUp(std::vector<std::string>& unseen) {
  std::map<std::string, std::string> keys;
  auto add = [&](const std::vector<std::string>& table, const std::string& where) {
    for (const std::string& key : table) keys.emplace(key, where);
  };
  // A new screen adds its table here.
  add(TfMenu::Captions.Keys(), "TfMenu's captions");
  add(TfMain::Captions.Keys(), "TfMain's captions");
  add(TfZjistiA::Captions.Keys(), "TfZjistiA's captions");
  add(TfNTest::Captions.Keys(), "TfNTest's captions");
  add(TfUpravitT::Captions.Keys(), "TfUpravitT's captions");
  add(TfZTest::Captions.Keys(), "TfZTest's captions");
  add(TfHodnoceni::Captions.Keys(), "TfHodnoceni's captions");
  add(TfTisk::Captions.Keys(), "TfTisk's captions");
  add(TfNastaveni::Captions.Keys(), "TfNastaveni's captions");
  add(TfPomucek::Captions.Keys(), "TfPomucek's captions");
  add(TfSTRTF::Captions.Keys(), "TfSTRTF's captions");
  add(TfAktualizace::Captions.Keys(), "TfAktualizace's captions");
  add(TfVyberAdr::Captions.Keys(), "TfVyberAdr's captions");
  add(TfPZTest::Captions.Keys(), "TfPZTest's captions");
  add(TfZHeslo::Captions.Keys(), "TfZHeslo's captions");
  keys.emplace(toolkit::kAllPictures.Key, "the picture types");
  for (const toolkit::TPictureType& type : toolkit::PictureTypes()) keys.emplace(type.Key, "the picture types");

  // The other lookups, read from the sources.
  const std::filesystem::path root = testsupport::SourceDir();
  const std::regex literal(R"re(^\s*"([A-Za-z0-9_]+)"\s*$)re");
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root / "src")) {
    const std::string ext = entry.path().extension().string();
    if (ext != ".cpp" && ext != ".h") continue;
    const std::string file = entry.path().lexically_relative(root).generic_string();
    const std::string text = testsupport::ReadBytes(entry.path().string());
    for (size_t at = text.find("LangText("); at != std::string::npos; at = text.find("LangText(", at + 1)) {
      const size_t lineStart = text.rfind('\n', at) + 1;
      if (text.substr(lineStart, at - lineStart).find("//") != std::string::npos) continue;
      size_t end = at + 9;
      for (int depth = 1; end < text.size() && depth > 0; ++end) {
        if (text[end] == '(') ++depth;
        if (text[end] == ')') --depth;
      }
      const std::string argument = text.substr(at + 9, end - 1 - (at + 9));
      std::smatch m;
      const int line = 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(at), '\n'));
      if (std::regex_match(argument, m, literal)) {
        keys.emplace(m[1], file + ":" + std::to_string(line));
      } else if (!kIndirectLookups.count(file + ": " + argument)) {
        unseen.push_back(file + ":" + std::to_string(line) + ": LangText(" + argument + ")");
      }
    }
  }
  return keys;
}

}  // namespace

// A caption or message added in the code has its key listed and its texts in
// both shipped languages; a key that nothing looks up any more is dropped.
TEST(LanguageKeys, EveryKeyLookedUpIsListedAndShippedAndNoOtherIs) {
  std::vector<std::string> unseen;
  const std::map<std::string, std::string> used = KeysLookedUp(unseen);
  EXPECT_TRUE(unseen.empty()) << "a lookup whose key is no literal: " << ::testing::PrintToString(unseen)
                              << "; list where its keys come from";

  const std::set<std::string_view> listed(LangKeys.begin(), LangKeys.end());
  const platform::ProfileFile shipped(testsupport::SourceDir() + "data/jazyk.ini");
  for (const auto& [key, where] : used) {
    EXPECT_TRUE(listed.count(key)) << key << " (" << where << ") is not in LangKeys";
    for (const std::string& language : {kCesky, std::string("English")}) {
      const std::string text = shipped.ReadString(language, key, "");
      EXPECT_TRUE(!text.empty() && text.rfind("!_", 0) != 0)
          << key << " (" << where << ") has no text in " << language << " of data/jazyk.ini";
    }
  }
  for (const std::string_view key : LangKeys)
    EXPECT_TRUE(used.count(std::string(key))) << key << " is looked up nowhere";
}
