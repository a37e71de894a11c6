#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "support/TestSupport.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/profile.h"

using namespace platform;
using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

const std::string kCesky =
    "\xC8"
    "esky";  // "Česky" in code page 1250
const std::string kCESKY =
    "\xC8"
    "ESKY";  // "ČESKY"
const std::string kcesky =
    "\xE8"
    "esky";  // "česky"

// A file as a person might leave it: a preamble, a comment, odd spacing,
// duplicates, a line without "=", and no line break at the end.
const std::string kMessy =
    "garbage before any section\r\n"
    "orphan=not in a section\r\n"
    "[" +
    kCESKY +
    "]\r\n"
    "; Konec=a comment\r\n"
    "  Konec  =   Konec programu  \r\n"
    "KONEC=second wins never\r\n"
    "no equals sign here\r\n"
    "Prazdny=\r\n"
    "Rovnost=a=b\r\n"
    "\r\n"
    "[English]\n"
    "Konec=End\n"
    "[" +
    kcesky +
    "]\r\n"
    "Konec=duplicate section\r\n"
    "Jen=v duplikatu";

}  // namespace

TEST(ProfileRead, MatchesNamesWithoutCaseTakesFirstAndTrims) {
  TempDir dir;
  WriteBytes(dir.File("t.ini"), kMessy);
  ProfileFile ini(dir.File("t.ini"));
  EXPECT_EQ(ini.ReadString(kCesky, "konec", "x"), "Konec programu");
  EXPECT_EQ(ini.ReadString(" " + kcesky + " ", "KONEC", "x"), "Konec programu");
  EXPECT_EQ(ini.ReadString(kCesky, "Prazdny", "x"), "");
  EXPECT_EQ(ini.ReadString(kCesky, "Rovnost", "x"), "a=b");
  EXPECT_EQ(ini.ReadString("english", "konec", "x"), "End");  // LF-only lines
  // Not keys: comments, lines without "=", lines before the first section,
  // and keys of a second section of the same name.
  EXPECT_EQ(ini.ReadString(kCesky, "; Konec", "x"), "x");
  EXPECT_EQ(ini.ReadString(kCesky, "no equals sign here", "x"), "x");
  EXPECT_EQ(ini.ReadString("", "orphan", "x"), "x");
  EXPECT_EQ(ini.ReadString(kCesky, "Jen", "x"), "x");
  EXPECT_EQ(ini.ReadString("Deutsch", "Konec", "def"), "def");

  // Every call reads the file afresh.
  WriteBytes(dir.File("t.ini"), "[English]\nKonec=Quit");
  EXPECT_EQ(ini.ReadString("English", "Konec", "x"), "Quit");

  ProfileFile missing(dir.File("none.ini"));
  EXPECT_EQ(missing.ReadString("A", "b", "default"), "default");
  EXPECT_TRUE(missing.ReadSections().empty());
  EXPECT_FALSE(FileExists(dir.File("none.ini")));
}

TEST(ProfileRead, ValuesAreCutTo2047Characters) {
  TempDir dir;
  const std::string longText(3000, 'a');
  WriteBytes(dir.File("t.ini"), "[S]\r\nk=" + std::string(2047, 'b') + "\r\nl=" + longText + "\r\n");
  ProfileFile ini(dir.File("t.ini"));
  EXPECT_EQ(ini.ReadString("S", "k", ""), std::string(2047, 'b'));
  EXPECT_EQ(ini.ReadString("S", "l", ""), std::string(2047, 'a'));
}

TEST(ProfileRead, FlagsAreNonZeroDecimalOrHexIntegers) {
  TempDir dir;
  WriteBytes(dir.File("t.ini"),
             "[F]\r\ntwo=2\r\nzero=0\r\nminus=-1\r\nhexzero=0x0\r\nhex=0X1f\r\nword=ano\r\n"
             "empty=\r\nbare=0x\r\nhuge=99999999999\r\nhexhuge=0x123456789\r\n");
  ProfileFile ini(dir.File("t.ini"));
  EXPECT_TRUE(ini.ReadBool("F", "two", false));
  EXPECT_FALSE(ini.ReadBool("F", "zero", true));
  EXPECT_TRUE(ini.ReadBool("F", "minus", false));
  EXPECT_FALSE(ini.ReadBool("F", "hexzero", true));
  EXPECT_TRUE(ini.ReadBool("F", "hex", false));
  for (const char* key : {"word", "empty", "bare", "huge", "hexhuge", "missing"}) {
    EXPECT_FALSE(ini.ReadBool("F", key, false)) << key;
    EXPECT_TRUE(ini.ReadBool("F", key, true)) << key;
  }
}

TEST(ProfileList, SectionsAndKeysInFileOrderEachOnce) {
  TempDir dir;
  WriteBytes(dir.File("t.ini"), kMessy);
  ProfileFile ini(dir.File("t.ini"));
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{kCESKY, "English"}));
  EXPECT_EQ(ini.ReadSectionKeys(kCesky), (std::vector<std::string>{"Konec", "Prazdny", "Rovnost"}));
  EXPECT_TRUE(ini.ReadSectionKeys("Deutsch").empty());
}

TEST(ProfileList, NamesBeyondTheListBufferAreNotSeen) {
  TempDir dir;
  // 127 names of 128 bytes with their terminators fill 16,256 bytes; a name of
  // 126 characters then fills the buffer to its last byte, which ends the list.
  std::string file;
  std::string keys = "[K]\n";
  for (int i = 0; i < 127; ++i) {
    std::string name = std::to_string(1000 + i) + std::string(123, 'x');
    file += "[" + name + "]\n";
    keys += name + "=v\n";
  }
  const std::string fits = std::string(126, 'f');
  const std::string beyond = "late";
  WriteBytes(dir.File("s.ini"), file + "[" + fits + "]\n[" + beyond + "]\n");
  WriteBytes(dir.File("k.ini"), keys + fits + "=v\n" + beyond + "=v\n");

  auto sections = ProfileFile(dir.File("s.ini")).ReadSections();
  ASSERT_EQ(sections.size(), 128u);
  EXPECT_EQ(sections.back(), fits);
  auto names = ProfileFile(dir.File("k.ini")).ReadSectionKeys("K");
  ASSERT_EQ(names.size(), 128u);
  EXPECT_EQ(names.back(), fits);

  // One byte more and the name is dropped whole, not cut.
  WriteBytes(dir.File("s.ini"), file + "[" + fits + "f]\n");
  sections = ProfileFile(dir.File("s.ini")).ReadSections();
  EXPECT_EQ(sections.size(), 127u);
  // The late key is still readable: only the lists are bounded.
  EXPECT_EQ(ProfileFile(dir.File("k.ini")).ReadString("K", beyond, ""), "v");
}

TEST(ProfileWrite, NewFileAndSectionsAreWrittenWithCrLf) {
  TempDir dir;
  ProfileFile ini(dir.File("n.ini"));
  ini.WriteString("Nastaveni", "Protokol", "0");
  EXPECT_EQ(ReadBytes(dir.File("n.ini")), "[Nastaveni]\r\nProtokol=0\r\n");
  ini.WriteString("Nastaveni", "VAdr", "/home/u\xE8itel/Testy");
  ini.WriteBool("Jina", "Flag", true);
  ini.WriteString("NASTAVENI", "protokol", "1");
  EXPECT_EQ(ReadBytes(dir.File("n.ini")),
            "[Nastaveni]\r\nProtokol=1\r\nVAdr=/home/u\xE8itel/Testy\r\n[Jina]\r\nFlag=1\r\n");
}

TEST(ProfileWrite, KeepsEveryOtherByteAndTheFilesLineEnds) {
  TempDir dir;
  const std::string path = dir.File("t.ini");
  WriteBytes(path, kMessy);
  ProfileFile ini(path);

  // Replacing a value keeps the key as spelt, the line's end and all else.
  ini.WriteString(kcesky, "KONEC", "Konec");
  std::string expected = kMessy;
  expected.replace(expected.find("  Konec  =   Konec programu  "), 29, "Konec=Konec");
  EXPECT_EQ(ReadBytes(path), expected);

  // A new key goes after the section's last line, before the blank line.
  ini.WriteString(kCesky, "Nova", "hodnota");
  expected.insert(expected.find("\r\n\r\n[English]") + 2, "Nova=hodnota\r\n");
  EXPECT_EQ(ReadBytes(path), expected);

  // New lines end as the line they follow.
  ini.WriteString("English", "Zpet", "Back");
  expected.insert(expected.find("[" + kcesky + "]"), "Zpet=Back\n");
  EXPECT_EQ(ReadBytes(path), expected);
  // A last line without a break gets one before the new section.
  ini.WriteString("Deutsch", "Konec", "Ende");
  expected.insert(expected.size(), "\r\n[Deutsch]\r\nKonec=Ende\r\n");
  EXPECT_EQ(ReadBytes(path), expected);
  EXPECT_EQ(ini.ReadString(kCesky, "Nova", ""), "hodnota");
}

TEST(ProfileWrite, LfOnlyFilesGetLfAndLineBreaksCannotForgeLines) {
  TempDir dir;
  const std::string path = dir.File("t.ini");
  WriteBytes(path, "[A]\na=1\n\n[B]\nb=2");
  ProfileFile ini(path);
  ini.WriteString("A", "c", "x\r\n[B]\r\nb=forged\0hidden");
  ini.WriteString("B", "c", "3");
  ini.WriteString("C", "c", "4");
  EXPECT_EQ(ReadBytes(path), "[A]\na=1\nc=x  [B]  b=forged\n\n[B]\nb=2\nc=3\n[C]\nc=4\n");
  EXPECT_EQ(ini.ReadString("B", "b", ""), "2");
}

TEST(ProfileErase, RemovesEverySectionOfTheNameAndNothingElse) {
  TempDir dir;
  const std::string path = dir.File("t.ini");
  WriteBytes(path, "; top\r\n[A]\r\na=1\r\n\r\n[B]\r\nb=2\r\n\r\n[b]\r\nc=3\r\n[C]\r\nc=4");
  ProfileFile ini(path);
  ini.EraseSection("b");
  EXPECT_EQ(ReadBytes(path), "; top\r\n[A]\r\na=1\r\n\r\n[C]\r\nc=4");
  ini.EraseSection("C");
  EXPECT_EQ(ReadBytes(path), "; top\r\n[A]\r\na=1\r\n\r\n");
  EXPECT_EQ(ini.ReadSections(), std::vector<std::string>{"A"});

  // Nothing to erase: no write, so not even a read-only file complains.
  ::chmod(path.c_str(), 0444);
  EXPECT_NO_THROW(ini.EraseSection("Missing"));
  ProfileFile none(dir.File("none.ini"));
  none.EraseSection("A");
  EXPECT_FALSE(FileExists(dir.File("none.ini")));
}

TEST(ProfileWrite, RefusedWritesNameTheFileAndKeepIt) {
  TempDir dir;
  const std::string path = dir.File("ro.ini");
  WriteBytes(path, "[A]\r\na=1\r\n");
  ::chmod(path.c_str(), 0444);
  ProfileFile ini(path);
  try {
    ini.WriteString("A", "a", "2");
    ADD_FAILURE() << "write to a read-only file succeeded";
  } catch (const EIniFileException& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + path);
  }
  EXPECT_THROW(ini.EraseSection("A"), EIniFileException);
  EXPECT_EQ(ReadBytes(path), "[A]\r\na=1\r\n");
  EXPECT_EQ(ini.ReadString("A", "a", ""), "1");

  ::mkdir(dir.File("rodir").c_str(), 0555);
  ProfileFile inDir(dir.File("rodir/new.ini"));
  EXPECT_THROW(inDir.WriteString("A", "a", "1"), EIniFileException);
  EXPECT_FALSE(FileExists(dir.File("rodir/new.ini")));

  // A folder where the file should be reads as empty and refuses writes.
  ::mkdir(dir.File("folder.ini").c_str(), 0755);
  ProfileFile folder(dir.File("folder.ini"));
  EXPECT_EQ(folder.ReadString("A", "a", "d"), "d");
  EXPECT_THROW(folder.WriteString("A", "a", "1"), EIniFileException);
}

TEST(ProfileRobustness, ArbitraryBytesNeverBreakReadsAndWritesKeepTheRest) {
  TempDir dir;
  const std::string path = dir.File("r.ini");
  std::mt19937 rng(1250);
  const std::string alphabet("[]=;\r\n \tab\0\xC8\xE8\xFF", 15);
  for (int round = 0; round < 300; ++round) {
    std::string data;
    const int len = static_cast<int>(rng() % 200);
    for (int i = 0; i < len; ++i) {
      data += (rng() % 4 == 0) ? static_cast<char>(rng() % 256) : alphabet[rng() % alphabet.size()];
    }
    WriteBytes(path, data);
    ProfileFile ini(path);
    for (const std::string& s : ini.ReadSections()) {
      for (const std::string& k : ini.ReadSectionKeys(s)) ini.ReadString(s, k, "");
    }
    // A key no file holds: the write only adds lines; taking them out again
    // gives back the original bytes.
    const auto before = ini.ReadSections();
    const bool hadSection = std::find_if(before.begin(), before.end(),
                                         [](const std::string& s) { return s == "a" || s == "A"; }) != before.end();
    ini.WriteString("a", "NewKey", "v");
    std::string after = ReadBytes(path);
    ASSERT_EQ(ini.ReadString("a", "NewKey", ""), "v") << round;
    // The line end the write used: its neighbour's, the file's first, or CR LF.
    const std::string_view ends[] = {"\r\n", "\n", "\r"};
    for (std::string_view eol : ends) {
      const size_t at = after.find("NewKey=v" + std::string(eol));
      if (at == std::string::npos) continue;
      after.erase(at, 8 + eol.size());
      if (!hadSection && after.ends_with("[a]" + std::string(eol))) after.resize(after.size() - 3 - eol.size());
      if (after.size() == data.size() + eol.size() && after.starts_with(data)) after.resize(data.size());
      break;
    }
    ASSERT_EQ(after, data) << round;
  }
}

TEST(ProfileWrite, KeysThatCouldNeverBeReadBackAreRefused) {
  TempDir dir;
  const std::string path = dir.File("k.ini");
  WriteBytes(path, "[A]\r\nK=v\r\n");
  ProfileFile ini(path);
  for (const std::string key : {"a=b", ";comment", "[Fake]", "  [Fake", "=x"}) {
    try {
      ini.WriteString("A", key, "v");
      ADD_FAILURE() << key;
    } catch (const EIniFileException& e) {
      EXPECT_EQ(std::string(e.what()).rfind("Unable to write the key '", 0), 0u) << e.what();
    }
  }
  EXPECT_EQ(ReadBytes(path), "[A]\r\nK=v\r\n");
  // Everything else reads back as written.
  for (const std::string key : {"a]b", "x;y", "K[1]", "kl\xED\xE8"}) {
    ini.WriteString("A", key, "ok");
    EXPECT_EQ(ini.ReadString("A", key, ""), "ok") << key;
  }
}

TEST(ProfileRead, AByteOrderMarkAtTheStartIsReadPastAndKept) {
  TempDir dir;
  const std::string path = dir.File("bom.ini");
  WriteBytes(path, "\xEF\xBB\xBF[" + kCesky + "]\r\nKonec=Konec\r\n[English]\r\nKonec=End\r\n");
  ProfileFile ini(path);
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{kCesky, "English"}));
  EXPECT_EQ(ini.ReadString(kCesky, "Konec", ""), "Konec");
  ini.WriteString(kCesky, "Dalsi", "x");
  EXPECT_EQ(ReadBytes(path), "\xEF\xBB\xBF[" + kCesky + "]\r\nKonec=Konec\r\nDalsi=x\r\n[English]\r\nKonec=End\r\n");
  // A mark alone: the new section follows it directly.
  WriteBytes(path, "\xEF\xBB\xBF");
  ini.WriteString("A", "K", "v");
  EXPECT_EQ(ReadBytes(path), "\xEF\xBB\xBF[A]\r\nK=v\r\n");
}

TEST(ProfileDocument, ManyWritesInOneDocumentLeaveWhatOneByOneWouldHave) {
  std::mt19937 rng(4242);
  const std::string alphabet("[]=;\r\n \tabAB\xC8\xE8", 14);
  const char* names[] = {"a", "B", "ab", "\xC8", " a ", "A"};
  for (int round = 0; round < 400; ++round) {
    std::string data;
    const int len = static_cast<int>(rng() % 120);
    for (int i = 0; i < len; ++i) data += alphabet[rng() % alphabet.size()];
    profile::Document doc(data);
    std::string oneByOne = data;
    for (int w = 0; w < 8; ++w) {
      const std::string section = names[rng() % 6];
      const std::string key = names[rng() % 6];
      const std::string value = "v" + std::to_string(w);
      doc.Set(section, key, value);
      ASSERT_EQ(profile::Document(oneByOne).Bytes(), oneByOne);
      profile::Document single(oneByOne);
      single.Set(section, key, value);
      oneByOne = single.Bytes();
      ASSERT_EQ(doc.Bytes(), oneByOne) << round << " " << w;
      ASSERT_EQ(doc.Value(section, key, ""), value);
    }
    for (const std::string& s : doc.Sections()) {
      for (const std::string& k : doc.Keys(s)) ASSERT_EQ(doc.Value(s, k, "?"), profile::ReadValue(oneByOne, s, k, "?"));
    }
  }
}

TEST(ProfileRead, AnotherProgramsChangeIsSeenByTheNextRead) {
  TempDir dir;
  const std::string path = dir.File("jazyk.ini");
  WriteBytes(path, "[A]\r\nK=one\r\n");
  ProfileFile ini(path);
  EXPECT_EQ(ini.ReadString("A", "K", ""), "one");
  EXPECT_EQ(ini.ReadString("A", "K", ""), "one");
  WriteBytes(path, "[A]\r\nK=two\r\n");  // the same size, in place
  EXPECT_EQ(ini.ReadString("A", "K", ""), "two");
  WriteFileAtomic(path, "[A]\r\nK=three\r\n");  // replaced by another file
  EXPECT_EQ(ini.ReadString("A", "K", ""), "three");
  std::filesystem::remove(path);
  EXPECT_EQ(ini.ReadString("A", "K", "gone"), "gone");
}
