#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "help/hxcontextmap.h"
#include "help/hxhshtb.h"
#include "platform/messages.h"

using namespace help;
using namespace std::string_literals;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

struct Shown {
  platform::MessageIcon icon;
  std::string text;
};

// Collects the message dialogs and parses map files in a temporary folder.
class ContextMap : public ::testing::Test {
 protected:
  void SetUp() override {
    old_ = platform::SetMessageDlgHandler([this](platform::MessageIcon icon, const std::string& text) {
      shown_.push_back({icon, text});
    });
  }
  void TearDown() override { platform::SetMessageDlgHandler(old_); }

  std::string Write(const std::string& name, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(dir_.File(name)).parent_path());
    WriteBytes(dir_.File(name), text);
    return dir_.File(name);
  }

  std::vector<TContextRecord> Parse(const std::string& text, bool isInclude = false) {
    std::vector<TContextRecord> records;
    ParseMapFile(Write("map.hpj", text), isInclude, records);
    return records;
  }

  // The numbers the main map file gives for its names, 0 for none.
  std::vector<int32_t> Numbers(const std::string& text, const std::vector<std::string>& names) {
    THelpContextMap map(nullptr);
    map.SetFileName(Write("map.hpj", text));
    std::vector<int32_t> out;
    for (auto& n : names) out.push_back(map.LookupContext(n));
    return out;
  }

  TempDir dir_;
  std::vector<Shown> shown_;
  platform::MessageDlgHandler old_;
};

TContextRecord Rec(const char* name, int32_t context) { return {ContextStringHash(name), context}; }

std::string Block(const std::vector<TContextRecord>& records) {
  TMemoryStream s;
  for (auto& r : records) {
    s.WriteInt32(r.Hash);
    s.WriteInt32(r.Context);
  }
  return s.Bytes();
}

const char kExample[] =
    "[OPTIONS]\r\n"
    "IDH_X=1\r\n"
    "[MAP]\r\n"
    "IDH_A=10\r\n"
    "IDH_B 20 ; note\r\n"
    "#define IDH_C 0x1E\r\n"
    "\r\n"
    "IDH_D=40\r\n";

}  // namespace

TEST_F(ContextMap, SectionEndsAtTheFirstEmptyLine) {
  EXPECT_EQ(Parse(kExample), (std::vector<TContextRecord>{Rec("IDH_A", 10), Rec("IDH_B", 20), Rec("IDH_C", 30)}));
  EXPECT_TRUE(shown_.empty());
  // Reading resumes after a later "[MAP]" line, which the empty line made a heading again.
  EXPECT_EQ(Parse("[MAP]\nA=1\n\nB=2\n[MAP]\nC=3\n"), (std::vector<TContextRecord>{Rec("A", 1), Rec("C", 3)}));
}

TEST_F(ContextMap, HeadingsEndTheMainFile) {
  EXPECT_EQ(Parse("[MAP]\nA=1\n[MAP]\nB=2\n"), std::vector<TContextRecord>{Rec("A", 1)});
  EXPECT_EQ(Parse("[MAP]\nA=1\n[WINDOWS]\nB=2\n\n[MAP]\nC=3\n"), std::vector<TContextRecord>{Rec("A", 1)});
  EXPECT_TRUE(Parse("A=1\n[map]\nB=2\n").empty());  // the heading is matched in its exact case
  EXPECT_EQ(Parse("  [MAP] trailing words\n\tA=1  \n"), std::vector<TContextRecord>{Rec("A", 1)});
}

TEST_F(ContextMap, NamesAndValues) {
  const std::string text =
      "[MAP]\n"
      "IDH_E = 1 2\n"  // blanks inside the value vanish
      "=5\n"           // no name
      "IDH_F=abc\n"
      "IDH_G=7 // note\n"  // only "#" and ";" start a comment
      "IDH_H=8#note\n"
      "IDH_I\t=\t9;x\n"
      "IDH_J\n"            // no value
      "#defineIDH_K 11\n"  // eight characters go, whatever the eighth is
      "#define\tIDH_L 12\n"
      "#define\n"
      "#ifdef X 13\n"  // a comment from the first character
      "IDH_M==14\n"
      "IDH N 15\n"           // the value is "N15"
      "\x01IDH_O=16\x1a\n";  // control characters are trimmed at the ends
  EXPECT_EQ(Numbers(text, {"IDH_E", "IDH_F", "IDH_G", "IDH_H", "IDH_I", "IDH_J", "DH_K", "IDH_K", "IDH_L", "IDH_M",
                           "IDH", "IDH_O"}),
            (std::vector<int32_t>{12, 0, 0, 8, 9, 0, 11, 0, 12, 14, 0, 16}));
}

TEST_F(ContextMap, NumberForms) {
  const std::string text =
      "[MAP]\n"
      "D1=+5\nD2=-5\nD3=2147483647\nD4=-2147483648\nD5=2147483648\nD6=-2147483649\n"
      "H1=$1e\nH2=x1E\nH3=X1e\nH4=0x1E\nH5=0X1e\nH6=-$10\nH7=+0x7fffffff\nH8=0x80000000\n"
      "H9=-0x80000000\nB1=0x\nB2=$\nB3=1e\nB4=0x1G\nB5=--1\nB6=99999999999999999999\n";
  EXPECT_EQ(Numbers(text, {"D1", "D2", "D3", "D4", "D5", "D6", "H1", "H2", "H3", "H4", "H5",
                           "H6", "H7", "H8", "H9", "B1", "B2", "B3", "B4", "B5", "B6"}),
            (std::vector<int32_t>{5,   -5,         2147483647, -2147483647 - 1, 0, 0, 30, 30, 30, 30, 30,
                                  -16, 2147483647, 0,          -2147483647 - 1, 0, 0, 0,  0,  0,  0}));
}

TEST_F(ContextMap, NamesWhoseHashIsZeroAreSkipped) {
  EXPECT_TRUE(Parse("[MAP]\n"s + std::string("\0\0", 2) + "=5\n").empty());
}

TEST_F(ContextMap, IncludesAreReadWholeWhereTheyAreNamed) {
  Write("ids.h", "\n#define INC_A 100\n\nINC_B=101\n[ANY]\nINC_C=102\n");
  EXPECT_EQ(Parse("#include ids.h\n[MAP]\nA=1\n#include ids.h\nB=2\n"),
            (std::vector<TContextRecord>{Rec("A", 1), Rec("INC_A", 100), Rec("INC_B", 101), Rec("B", 2)}));
  // Read as an include, a file needs no heading.
  EXPECT_EQ(Parse("A=1\n\nB=2\n[MAP]\nC=3\n", true), (std::vector<TContextRecord>{Rec("A", 1), Rec("B", 2)}));
  EXPECT_TRUE(shown_.empty());
}

TEST_F(ContextMap, IncludesAreRelativeToTheIncludingFileWhateverTheWorkingDirectory) {
  const std::string project = Write("help/project.hpj", "[MAP]\n#include sub\\ids.h\n#include sub/../sub/more.h\n");
  Write("help/sub/ids.h", "#include  deeper/x.h  \nSUB=7\n");
  Write("help/sub/deeper/x.h", "DEEP=8\n");
  Write("help/sub/more.h", "MORE=9\n");
  const auto cwd = std::filesystem::current_path();
  for (const std::string& where : {dir_.Path(), std::string("/")}) {
    std::filesystem::current_path(where);
    THelpContextMap map(nullptr);
    map.SetFileName(project);
    EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(), where));
    EXPECT_EQ(map.RecordCount(), 3u);
    EXPECT_EQ(map.LookupContext("SUB"), 7);
    EXPECT_EQ(map.LookupContext("deep"), 8);
    EXPECT_EQ(map.LookupContext("more"), 9);
  }
  // A map file named relative to the working directory.
  std::filesystem::current_path(dir_.File("help"));
  THelpContextMap map(nullptr);
  map.SetFileName("project.hpj");
  EXPECT_EQ(map.LookupContext("DEEP"), 8);
  std::filesystem::current_path(cwd);
  EXPECT_TRUE(shown_.empty());
}

TEST_F(ContextMap, MissingIncludeIsReportedAndReadingGoesOn) {
  Write("ids.h", "X=1\n");
  EXPECT_EQ(Parse("[MAP]\n#include \"ids.h\"\n#include <ids.h>\n#include nothing.h\n#include\nA=1\n"),
            std::vector<TContextRecord>{Rec("A", 1)});
  ASSERT_EQ(shown_.size(), 4u);
  EXPECT_EQ(shown_[0].icon, platform::MessageIcon::Error);
  EXPECT_EQ(shown_[0].text, "Include file \"" + dir_.Path() + "\"ids.h\"\" not found!");
  EXPECT_EQ(shown_[1].text, "Include file \"" + dir_.Path() + "<ids.h>\" not found!");
  EXPECT_EQ(shown_[2].text, "Include file \"" + dir_.Path() + "nothing.h\" not found!");
  EXPECT_EQ(shown_[3].text, "Include file \"" + dir_.Path() + "\" not found!");
}

TEST_F(ContextMap, IncludeCyclesAreReportedAndReadOnce) {
  Write("self.h", "SELF=1\n#include self.h\n");
  Write("a.h", "A=2\n#include b.h\n");
  Write("b.h", "B=3\n#include ./a.h\n#include map.hpj\n");
  EXPECT_EQ(Parse("[MAP]\n#include self.h\n#include a.h\nM=4\n#include map.hpj\n"),
            (std::vector<TContextRecord>{Rec("SELF", 1), Rec("A", 2), Rec("B", 3), Rec("M", 4)}));
  ASSERT_EQ(shown_.size(), 4u);
  EXPECT_EQ(shown_[0].icon, platform::MessageIcon::Error);
  EXPECT_EQ(shown_[0].text, "Include file \"" + dir_.File("self.h") + "\" includes itself!");
  EXPECT_EQ(shown_[1].text, "Include file \"" + dir_.File("a.h") + "\" includes itself!");
  EXPECT_EQ(shown_[2].text, "Include file \"" + dir_.File("map.hpj") + "\" includes itself!");
  EXPECT_EQ(shown_[3].text, "Include file \"" + dir_.File("map.hpj") + "\" includes itself!");
}

TEST_F(ContextMap, AFileIsReadOncePerMapAndIncludesAreBounded) {
  // One file included twice side by side is read once; the second is reported as a cycle is.
  Write("one.h", "ONE=5\n");
  EXPECT_EQ(Parse("[MAP]\n#include one.h\n#include one.h\n").size(), 1u);
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].text, "Include file \"" + dir_.File("one.h") + "\" has already been read!");

  // Twenty levels each naming the next twice: a million reads once, now one per file.
  shown_.clear();
  for (int i = 0; i < 20; ++i) {
    const std::string next = "f" + std::to_string(i + 1) + ".h";
    Write("f" + std::to_string(i) + ".h",
          "L" + std::to_string(i) + "=" + std::to_string(i) + "\n#include " + next + "\n#include " + next + "\n");
  }
  Write("f20.h", "LAST=20\n");
  EXPECT_EQ(Parse("[MAP]\n#include f0.h\n").size(), 21u);
  EXPECT_EQ(shown_.size(), 20u);

  // A chain far deeper than any stack would take: read without recursion, cut at the bound.
  shown_.clear();
  const size_t chain = kMaxIncludes + 5;
  for (size_t i = 0; i < chain; ++i)
    Write("c" + std::to_string(i) + ".h", "#include c" + std::to_string(i + 1) + ".h\nC" + std::to_string(i) + "=1\n");
  EXPECT_EQ(Parse("[MAP]\n#include c0.h\n").size(), kMaxIncludes);
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].text, "Include file \"" + dir_.File("c" + std::to_string(kMaxIncludes) + ".h") +
                                "\" not read: too many include files!");
}

TEST_F(ContextMap, IncludeNamesAreQuotedShortInMessages) {
  const std::string longName(5000, 'n');
  EXPECT_TRUE(Parse("[MAP]\n#include " + longName + "\n").empty());
  ASSERT_EQ(shown_.size(), 1u);
  const std::string full = dir_.Path() + longName;
  EXPECT_EQ(shown_[0].text, "Include file \"" + full.substr(0, platform::kQuotedMax) + "\x85\" not found!");
}

TEST_F(ContextMap, SettingTheFileNameSortsAndStoresTheRecords) {
  THelpContextMap map(nullptr);
  map.SetFileName(Write("map.hpj", kExample));
  EXPECT_EQ(map.FileName(), dir_.File("map.hpj"));
  EXPECT_TRUE(shown_.empty());  // not in design mode
  std::vector<TContextRecord> sorted{Rec("IDH_A", 10), Rec("IDH_B", 20), Rec("IDH_C", 30)};
  std::sort(sorted.begin(), sorted.end(), [](auto& a, auto& b) { return a.Hash < b.Hash; });
  TMemoryStream stored;
  map.WriteFileData(stored);
  EXPECT_EQ(stored.Bytes(), "\x18\0\0\0"s + Block(sorted));
  EXPECT_EQ(map.LookupContext("idh_a"), 10);  // ASCII case does not matter
  EXPECT_EQ(map.LookupContext("IDH_B"), 20);
  EXPECT_EQ(map.LookupContext("Idh_C"), 30);
  EXPECT_EQ(map.LookupContext("IDH_D"), 0);
  EXPECT_EQ(map.LookupContext(""), 0);

  // An empty name keeps the records, which are still stored.
  map.SetFileName("");
  EXPECT_EQ(map.FileName(), "");
  EXPECT_EQ(map.LookupContext("IDH_A"), 10);
  TMemoryStream form;
  TWriter(form).WriteComponent(map);
  EXPECT_NE(form.Bytes().find("FileData"), std::string::npos);
}

TEST_F(ContextMap, DesignModeReportsTheCount) {
  TComponent form(nullptr);
  form.SetDesigning(true);
  auto* map = new THelpContextMap(&form);
  map->SetFileName(Write("map.hpj", kExample));
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].icon, platform::MessageIcon::Information);
  EXPECT_EQ(shown_[0].text, "Help context list updated. 3 items stored.");
}

TEST_F(ContextMap, AFileThatCannotBeReadChangesNothing) {
  THelpContextMap map(nullptr);
  const std::string good = Write("map.hpj", kExample);
  map.SetFileName(good);
  const std::string missing = dir_.File("none.hpj");
  try {
    map.SetFileName(missing);
    FAIL();
  } catch (const platform::Exception& e) {
    EXPECT_EQ(std::string(e.what()), "File " + missing + " not found.");
  }
  EXPECT_THROW(map.SetFileName(dir_.Path()), platform::Exception);  // a folder is no file
  // Linux gives an input/output error for reading address 0 of a process's memory.
  if (platform::FileExists("/proc/self/mem")) {
    EXPECT_THROW(map.SetFileName("/proc/self/mem"), platform::EInOutError);
    EXPECT_THROW(map.SetFileName(Write("bad.hpj", "[MAP]\nX=1\n#include /proc/self/mem\n")), platform::EInOutError);
  }
  EXPECT_EQ(map.FileName(), good);
  EXPECT_EQ(map.RecordCount(), 3u);
  EXPECT_EQ(map.LookupContext("IDH_C"), 30);
}

TEST_F(ContextMap, StoredBlockWrittenByHand) {
  // Three records in hash order: -5 -> 1, 17 ("A") -> 2, 749 ("AB") -> 0.
  const std::string bytes =
      "\x18\0\0\0"s
      "\xfb\xff\xff\xff\x01\0\0\0"s
      "\x11\0\0\0\x02\0\0\0"s
      "\xed\x02\0\0\0\0\0\0"s;
  THelpContextMap map(nullptr);
  TMemoryStream in(bytes + "rest");
  map.ReadFileData(in);
  EXPECT_EQ(in.Position(), bytes.size());
  EXPECT_EQ(map.RecordCount(), 3u);
  EXPECT_EQ(map.LookupContext("a"), 2);
  EXPECT_EQ(map.LookupContext("AB"), 0);  // a stored 0 cannot be told from a miss
  EXPECT_EQ(map.LookupContext("B"), 0);
  TMemoryStream out;
  map.WriteFileData(out);
  EXPECT_EQ(out.Bytes(), bytes);

  // Damaged data: the block stays empty and nothing reads beyond the stream.
  for (const std::string& bad : {""s, "\x18\0\0"s, "\x18\0\0\0\x01"s, "\xff\xff\xff\xff"s, "\xff\xff\xff\x7f"s}) {
    EXPECT_THROW(map.ReadFileData(*std::make_unique<TMemoryStream>(bad)), EReadError);
    EXPECT_EQ(map.RecordCount(), 0u);
    EXPECT_EQ(map.LookupContext("a"), 0);
  }
  // A count that is no multiple of eight uses the whole records only.
  TMemoryStream odd("\x0b\0\0\0\x11\0\0\0\x02\0\0\0\x99\x99\x99"s);
  map.ReadFileData(odd);
  EXPECT_EQ(map.RecordCount(), 1u);
  EXPECT_EQ(map.LookupContext("A"), 2);
}

TEST_F(ContextMap, FormStorageCarriesFileNameAndFileData) {
  TComponent form(nullptr);
  auto* map = new THelpContextMap(&form);
  map->SetName("HelpContextMap1");
  map->SetFileName(Write("map.hpj", "[MAP]\nA=2\n"));
  TMemoryStream stored;
  TWriter(stored).WriteComponent(*map);
  const std::string name = dir_.File("map.hpj");
  const std::string expected = "\x0fTHelpContextMap\x0fHelpContextMap1"s +
                               "\x08"
                               "FileName\x04"s +
                               static_cast<char>(name.size()) + "\0\0\0"s + name +
                               "\x08"
                               "FileData\x07\x0c\0\0\0"s +
                               "\x08\0\0\0\x11\0\0\0\x02\0\0\0"s + "\0\0"s;
  EXPECT_EQ(stored.Bytes(), expected);

  // Read back while the map file is gone: the name is only stored, the records come from FileData.
  std::filesystem::remove(name);
  auto* copy = new THelpContextMap(&form);
  stored.SetPosition(0);
  TReader(stored).ReadComponent(*copy);
  EXPECT_EQ(copy->FileName(), name);
  EXPECT_EQ(copy->LookupContext("a"), 2);
  EXPECT_TRUE(shown_.empty());
}

TEST_F(ContextMap, AnEmptyMapStoresNothingAndFindsNothing) {
  // The main menu's map: no file name, no records.
  TComponent form(nullptr);
  auto* map = new THelpContextMap(&form);
  map->SetName("HelpContextMap1");
  TMemoryStream stored;
  TWriter(stored).WriteComponent(*map);
  EXPECT_EQ(stored.Bytes(), "\x0fTHelpContextMap\x0fHelpContextMap1\0\0"s);
  EXPECT_EQ(map->RecordCount(), 0u);
  for (const char* name : {"", "A", "fMenu.bInfo", "fMenu_bInfo"}) EXPECT_EQ(map->LookupContext(name), 0);
}

TEST_F(ContextMap, BadInputNeverBreaksTheParser) {
  // Non-text bytes, a very long line, lone carriage returns, NUL bytes.
  std::string garbage = "[MAP]\rA=1\r\0\xff\xfe=\x80\x81\r"s;
  garbage += std::string(1 << 20, 'x') + "=5\r";
  garbage += "#include " + std::string(5000, 'y') + "\r";
  for (int c = 0; c < 256; ++c) garbage += std::string(1, static_cast<char>(c)) + "=" + std::to_string(c) + "\n";
  const auto records = Parse(garbage);
  ASSERT_FALSE(records.empty());
  EXPECT_EQ(records.front(), Rec("A", 1));
  EXPECT_EQ(records[1].Context, 5);
  ASSERT_EQ(shown_.size(), 1u);  // the long include name is not found
}

TEST_F(ContextMap, LookupInAnUnsortedBlockStaysInsideIt) {
  // Stored data out of order finds less, but never reads outside the block.
  THelpContextMap map(nullptr);
  TMemoryStream s("\x18\0\0\0"s + Block({Rec("C", 3), Rec("B", 2), Rec("A", 1)}));
  map.ReadFileData(s);
  for (const char* name : {"A", "B", "C", "D", "\x01"}) map.LookupContext(name);
  EXPECT_EQ(map.LookupContext("B"), 2);
}
