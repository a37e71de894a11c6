// Reading help files: the lists, the popup topic file, the context map, damaged
// files, and Zorvik's own help file.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>

#include "support/TestSupport.h"
#include "help/viewer/hxchm.h"
#include "help/viewer/SmallHelp.h"

using namespace hxviewer;

namespace {

// The reader program lies in the program's folder, not beside the tests.
const bool kReaderSet = (SetChmReaderProgram(testsupport::BinDir() + kChmReaderName), true);

const std::string kObject = "<OBJECT type=\"text/sitemap\">";
std::string Entry(const std::string& name, const std::string& local) {
  return "<LI>" + kObject + "<param name=\"Name\" value=\"" + name + "\"><param name=\"Local\" value=\"" + local +
         "\"></OBJECT>\n";
}

class SmallHelp : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir = new testsupport::TempDir;
    path = smallhelp::Compile(*dir);
  }
  static void TearDownTestSuite() { delete dir; }
  static testsupport::TempDir* dir;
  static std::string path;
  testsupport::TempDir* dir_ = dir;
};
testsupport::TempDir* SmallHelp::dir = nullptr;
std::string SmallHelp::path;

}  // namespace

TEST(Sitemap, NestedListsMakeATree) {
  const std::string html = "<HTML><BODY><!-- <ul><li>not this --><UL>" + Entry("One", "one.htm") + "<UL>" +
                           Entry("Sub &quot;1&quot; &#268;", "s1.htm#x") + Entry("Sub 2", "s2.htm") + "</UL>" +
                           Entry("Two", "two.htm") + "</UL></BODY></HTML>";
  const auto tree = ParseSitemap(html);
  ASSERT_EQ(tree.size(), 2u);
  EXPECT_EQ(tree[0].Name, "One");
  ASSERT_EQ(tree[0].Children.size(), 2u);
  EXPECT_EQ(tree[0].Children[0].Name, "Sub \"1\" \xC4\x8C");
  EXPECT_EQ(tree[0].Children[0].Local, "s1.htm#x");
  EXPECT_EQ(tree[1].Local, "two.htm");
}

TEST(Sitemap, BrokenAndHostileListsStayBounded) {
  // Unclosed tags, stray ends, objects of another type, a list opened first.
  const auto odd = ParseSitemap("</ul></ul><ul><ul>" + Entry("A", "a.htm") +
                                "<object type=\"text/other\"><param name=\"Name\" value=\"no\"></object>"
                                "<object type=text/sitemap><param name=Name value=bare></object><param name=");
  ASSERT_EQ(odd.size(), 2u);
  EXPECT_EQ(odd[1].Name, "bare");

  // Ten thousand nested lists keep to the depth limit.
  std::string deep;
  for (int i = 0; i < 10000; ++i) deep += "<ul>" + Entry("x", "x.htm");
  const auto tree = ParseSitemap(deep);
  int depth = 0;
  for (const TSitemapEntry* e = &tree.at(0); !e->Children.empty(); e = &e->Children.back()) ++depth;
  EXPECT_LE(depth, kMaxSitemapDepth);
}

TEST(TopicFile, TextsByContextNumber) {
  const std::string file =
      "; comment\r\n.topic 1001\r\nFirst\r\n\r\nline two\r\n.TOPIC 1002 menu.htm\n\nSecond\n; skipped\n\n"
      ".topic 10021\nNot 1002\n.topic 1003\n\n\n.topic x\nno number\n";
  EXPECT_EQ(PopupTopicText(file, 1001), "First\n\nline two");
  EXPECT_EQ(PopupTopicText(file, 1002), "Second");
  EXPECT_EQ(PopupTopicText(file, 10021), "Not 1002");
  EXPECT_EQ(PopupTopicText(file, 1003), std::nullopt);  // empty
  EXPECT_EQ(PopupTopicText(file, 9), std::nullopt);
  EXPECT_EQ(PopupTopicText("", 0), std::nullopt);
  // Code page 1250 text comes out as UTF-8.
  EXPECT_EQ(PopupTopicText(".topic 5\n\x8Elu\x9Do", 5), "\xC5\xBDlu\xC5\xA5o");
}

TEST(HelpPath, InnerFileAndWindowSplitOff) {
  std::string file, inner;
  SplitHelpPath("/a/Zorvik.chm::/connect.txt", file, inner);
  EXPECT_EQ(file, "/a/Zorvik.chm");
  EXPECT_EQ(inner, "/connect.txt");
  SplitHelpPath("/a/Zorvik.chm::topic.htm>main", file, inner);
  EXPECT_EQ(inner, "/topic.htm");
  SplitHelpPath("/a/Zorvik.chm", file, inner);
  EXPECT_EQ(file, "/a/Zorvik.chm");
  EXPECT_EQ(inner, "");
}

TEST_F(SmallHelp, ContentsIndexAndSystemRecord) {
  ASSERT_FALSE(path.empty()) << "chmcmd did not compile the small help";
  TChmFile chm;
  ASSERT_TRUE(chm.Open(path));
  EXPECT_EQ(chm.Title(),
            "Mal\xC3\xA1 n\xC3\xA1pov\xC4\x9B"
            "da");
  EXPECT_EQ(chm.DefaultTopic(), "/a.htm");
  const auto contents = chm.Contents();
  ASSERT_EQ(contents.size(), 2u);
  EXPECT_EQ(contents[0].Name, "A & spol.");
  ASSERT_EQ(contents[0].Children.size(), 1u);
  EXPECT_EQ(chm.ObjectPath(contents[0].Children[0].Local), "/sub/b.htm");
  const auto index = chm.Index();
  ASSERT_EQ(index.size(), 2u);
  EXPECT_EQ(index[1].Name, "beta");
  EXPECT_EQ(chm.Read("/sub/pic.png"), smallhelp::kPicture);
  EXPECT_EQ(chm.Read("/missing.htm"), std::nullopt);
}

TEST_F(SmallHelp, ContextNumbersFindTheirPages) {
  TChmFile chm;
  ASSERT_TRUE(chm.Open(path));
  // The compiler stores the paths of the machine it ran on; they lead to the pages all the same.
  EXPECT_EQ(chm.TopicOfContext(1005), "/a.htm");
  EXPECT_EQ(chm.TopicOfContext(1006), "/sub/b.htm");
  EXPECT_EQ(chm.TopicOfContext(1007), "");
  const auto topics = chm.Read("/popups.txt");
  ASSERT_TRUE(topics);
  EXPECT_EQ(PopupTopicText(*topics, 1005), "Text of 1005\nsecond line");
  EXPECT_EQ(PopupTopicText(*topics, 1006), "  Text of 1006");
}

TEST_F(SmallHelp, MissingTruncatedAndForeignFilesDoNotOpenAndSayWhy) {
  TChmFile chm;
  EXPECT_FALSE(chm.Open(dir->File("none.chm")));
  EXPECT_EQ(chm.Failure(), TOpenFailure::Missing);
  const std::string bytes = testsupport::ReadBytes(path);
  ASSERT_GT(bytes.size(), 200u);
  testsupport::WriteBytes(dir->File("text.chm"), "this is no help file");
  EXPECT_FALSE(chm.Open(dir->File("text.chm")));
  EXPECT_EQ(chm.Failure(), TOpenFailure::Damaged);
  // Cut short anywhere, even past the directory: part of it is gone, so it is damaged.
  for (size_t cut : {size_t{0}, size_t{40}, size_t{120}, bytes.size() / 3, bytes.size() / 2, bytes.size() - 7}) {
    testsupport::WriteBytes(dir->File("cut.chm"), bytes.substr(0, cut));
    TChmFile damaged;
    EXPECT_FALSE(damaged.Open(dir->File("cut.chm"))) << cut;
    EXPECT_EQ(damaged.Failure(), TOpenFailure::Damaged) << cut;
    EXPECT_FALSE(damaged.Exists("/popups.txt")) << cut;
  }
  ASSERT_TRUE(chm.Open(path));
  EXPECT_EQ(chm.Failure(), TOpenFailure::None);
}

namespace {

uint32_t Le32(const std::string& b, size_t at) {
  return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 | uint32_t(uint8_t(b[at + 2])) << 16 |
         uint32_t(uint8_t(b[at + 3])) << 24;
}
void SetLe32(std::string& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + static_cast<size_t>(i)] = static_cast<char>(v >> (8 * i));
}

}  // namespace

// Damage that would keep chmlib reading for ever, or make it divide by zero or
// ask for gigabytes, is refused before chmlib sees the file.
TEST_F(SmallHelp, DirectoriesInACircleAndImpossibleCompressionAreRefused) {
  const std::string good = testsupport::ReadBytes(path);
  const size_t dir = Le32(good, 72);
  ASSERT_EQ(good.compare(dir, 4, "ITSP"), 0);
  const size_t chunks = dir + Le32(good, dir + 8);
  const uint32_t blockLen = Le32(good, dir + 16);
  const uint32_t head = Le32(good, dir + 32);
  const size_t headChunk = chunks + size_t{head} * blockLen;
  ASSERT_EQ(good.compare(headChunk, 4, "PMGL"), 0);
  auto opens = [&](const std::string& bytes) {
    testsupport::WriteBytes(dir_->File("damaged.chm"), bytes);
    TChmFile chm;
    return chm.Open(dir_->File("damaged.chm"));
  };
  ASSERT_TRUE(opens(good));

  std::string circle = good;
  SetLe32(circle, headChunk + 16, head);  // the list chunk names itself as the next
  EXPECT_FALSE(opens(circle));

  const size_t lzxc = good.find("LZXC");
  ASSERT_NE(lzxc, std::string::npos);
  std::string window = good;
  SetLe32(window, lzxc + 4, 1);   // the first version's units:
  SetLe32(window, lzxc + 12, 1);  // half the window is 0
  EXPECT_FALSE(opens(window));
  std::string huge = good;
  SetLe32(huge, lzxc + 12, 0x10000);  // a window of 2 GiB
  EXPECT_FALSE(opens(huge));
  std::string resets = good;
  SetLe32(resets, lzxc + 16, 0);  // no block between resets
  EXPECT_FALSE(opens(resets));
}

// A file found by fuzzing that makes chmlib itself divide by zero while
// opening it: chmlib reads in a child process, so the file is refused and the
// program, with the next help file it opens, goes on.
TEST_F(SmallHelp, AFileThatBreaksChmlibIsRefusedAndTheProgramGoesOn) {
  TChmFile chm;
  EXPECT_FALSE(chm.Open(testsupport::SourceDir() + "fuzz/corpus/ChmOpen/chmlib-divides-by-zero.chm"));
  EXPECT_FALSE(chm.IsOpen());
  EXPECT_FALSE(chm.Exists("/#SYSTEM"));
  ASSERT_TRUE(chm.Open(path));
  EXPECT_TRUE(chm.Read("/popups.txt"));
  EXPECT_TRUE(chm.Exists("/POPUPS.TXT"));  // names are found in any case, as chmlib finds them
}

// Opened in two steps, the file reads the same; a file dropped between the
// steps leaves no reader process behind.
TEST_F(SmallHelp, OpeningInTwoStepsReadsTheSameAndLeavesNoReaderBehind) {
  TChmFile chm;
  ASSERT_TRUE(chm.Begin(path));
  EXPECT_FALSE(chm.IsOpen());
  ASSERT_TRUE(chm.Finish());
  EXPECT_TRUE(chm.Read("/popups.txt"));
  EXPECT_TRUE(chm.Finish());  // nothing left to take
  {
    TChmFile dropped;
    ASSERT_TRUE(dropped.Begin(path));
  }
  TChmFile reopened;
  ASSERT_TRUE(reopened.Begin(path));
  ASSERT_TRUE(reopened.Begin(path));  // a second start ends the first reader
  ASSERT_TRUE(reopened.Finish());
  EXPECT_EQ(reopened.Contents().size(), chm.Contents().size());
  errno = 0;
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

// chmcmd spreads the directory of a large help file over several listing
// chunks and names the second as the first: every object is found all the same.
TEST(LargeHelp, HelpFilesOfManyPagesOpenWhole) {
  for (const int pages : {300, 2000}) {
    testsupport::TempDir dir;
    const std::string path = smallhelp::CompileLarge(dir, pages);
    ASSERT_FALSE(path.empty()) << "chmcmd did not compile " << pages << " pages";
    TChmFile chm;
    ASSERT_TRUE(chm.Open(path)) << pages;
    EXPECT_EQ(chm.Title(), "Large help") << pages;
    EXPECT_EQ(chm.DefaultTopic(), "/p0.htm") << pages;
    EXPECT_EQ(chm.Contents().size(), size_t(pages));
    EXPECT_EQ(chm.Index().size(), size_t(pages));
    const auto popups = chm.Read("/popups.txt");
    ASSERT_TRUE(popups) << pages;
    for (const int n : {0, 1, pages / 2, pages - 1}) {
      const std::string page = "/p" + std::to_string(n) + ".htm";
      EXPECT_EQ(chm.TopicOfContext(uint32_t(5000 + n)), page);
      EXPECT_EQ(PopupTopicText(*popups, uint32_t(5000 + n)), "Popup " + std::to_string(n));
    }
    for (int n = 0; n < pages; ++n) ASSERT_TRUE(chm.Exists("/p" + std::to_string(n) + ".htm")) << n << " of " << pages;
  }
}

// More than 16 MB of content gives a reset table longer than a fixed bound
// would allow; such a file is sound and opens.
TEST(LargeHelp, AHelpFileHoldingATwentyMegabytePictureOpens) {
  std::string picture = "\x89PNG\r\n\x1A\n";
  picture.reserve(20u << 20);
  for (size_t i = 0; picture.size() < (20u << 20); ++i) picture += static_cast<char>(i * 7 % 251);
  testsupport::TempDir dir;
  const std::string path = smallhelp::CompileLarge(dir, 1, picture);
  ASSERT_FALSE(path.empty()) << "chmcmd did not compile the picture";
  TChmFile chm;
  ASSERT_TRUE(chm.Open(path));
  EXPECT_EQ(chm.Contents().size(), 1u);
  const auto bytes = chm.Read("/big.png");
  ASSERT_TRUE(bytes);
  EXPECT_TRUE(*bytes == picture) << bytes->size();
}

// Zorvik's own help file, as the build made it: every help context number of
// the screens has its page and its popup text.
TEST(ZorvikHelp, EveryContextHasATopicAndAPopupText) {
  TChmFile chm;
  ASSERT_TRUE(chm.Open(testsupport::BinDir() + "Zorvik.chm"));
  EXPECT_EQ(chm.DefaultTopic(), "/index.htm");
  EXPECT_FALSE(chm.Contents().empty());
  EXPECT_GT(chm.Index().size(), 20u);
  const auto topics = chm.Read("/connect.txt");
  ASSERT_TRUE(topics);
  for (uint32_t context = 1000; context <= 1030; ++context) {
    const std::string topic = chm.TopicOfContext(context);
    EXPECT_FALSE(topic.empty()) << context;
    EXPECT_TRUE(chm.Exists(topic)) << context << " " << topic;
    const auto text = PopupTopicText(*topics, context);
    ASSERT_TRUE(text) << context;
    EXPECT_GT(text->size(), 30u) << context;
  }
  // Every page of the contents is in the file.
  std::vector<const TSitemapEntry*> open;
  const auto contents = chm.Contents();
  for (const auto& e : contents) open.push_back(&e);
  while (!open.empty()) {
    const TSitemapEntry* e = open.back();
    open.pop_back();
    EXPECT_TRUE(chm.Exists(chm.ObjectPath(e->Local))) << e->Local;
    for (const auto& c : e->Children) open.push_back(&c);
  }
}

// Compiles data/help the build's way into out, in the folder work, settled by
// the given program; the command's status.
int BuildHelpFile(const std::string& work, const std::string& out, const std::string& settle = SETTLE_HELPFILE) {
  const std::string command = std::string("'" CMAKE_COMMAND "' -DSOURCE='") + testsupport::SourceDir() +
                              "data/help' -DWORK='" + work + "' -DOUTPUT='" + out +
                              "' -DCHMCMD='" CHMCMD "' -DSETTLE='" + settle + "' -P '" + testsupport::SourceDir() +
                              "cmake/HelpFile.cmake' >/dev/null 2>&1";
  return std::system(command.c_str());
}

// The help file the build makes is the same wherever and whenever it is
// built, and its context map names the pages inside it.
TEST(ZorvikHelp, BuildsInOtherFoldersGiveTheSameBytes) {
  const std::string built = testsupport::ReadBytes(testsupport::BinDir() + "Zorvik.chm");
  ASSERT_FALSE(built.empty());
  testsupport::TempDir dir;
  for (const std::string folder : {"a", "a much/longer folder/of the build"}) {
    const std::string out = dir.File("Zorvik.chm");
    ASSERT_EQ(BuildHelpFile(dir.File(folder), out), 0) << folder;
    EXPECT_TRUE(testsupport::ReadBytes(out) == built) << folder;
  }
  // The header records the file's true length (its first header section:
  // 0x1FE, then the length), so no reader stops short of the settled strings.
  ASSERT_GT(built.size(), 0x60u);
  uint64_t section = 0, recorded = 0;
  std::memcpy(&section, built.data() + 0x38, 8);
  ASSERT_LT(section + 16, built.size());
  std::memcpy(&recorded, built.data() + section + 8, 8);
  EXPECT_EQ(recorded, built.size());
  TChmFile chm;
  ASSERT_TRUE(chm.Open(testsupport::BinDir() + "Zorvik.chm"));
  const auto strings = chm.Read("/#STRINGS");
  ASSERT_TRUE(strings);
  EXPECT_NE(strings->find(std::string("\0k1005.htm\0", 11)), std::string::npos);
  EXPECT_EQ(strings->find('/'), std::string::npos);
  EXPECT_EQ(chm.TopicOfContext(1005), "/k1005.htm");
}

// The settling of a help file that is not as chmcmd writes it in the build
// fails, so the build does, instead of giving a help file that names pages
// outside itself or reads otherwise.
TEST(ZorvikHelp, SettlingAFileNotAsExpectedFails) {
  testsupport::TempDir dir;
  const std::string raw = dir.File("raw.chm");
  ASSERT_EQ(BuildHelpFile(dir.File("work"), raw, "/bin/true"), 0);
  const std::string bytes = testsupport::ReadBytes(raw);
  auto settle = [&](const std::string& file, const std::string& prefix) {
    return std::system(("'" SETTLE_HELPFILE "' '" + file + "' '" + prefix + "' 2>/dev/null").c_str());
  };
  // Compiled from another folder than the one it is told of.
  EXPECT_NE(settle(raw, "/elsewhere/"), 0);
  // Cut short, or not a help file.
  for (const std::string& damaged : {bytes.substr(0, bytes.size() - 4096), std::string(bytes.size(), 'x')}) {
    testsupport::WriteBytes(raw, damaged);
    EXPECT_NE(settle(raw, "/proc/self/cwd/"), 0) << damaged.size();
  }
  // A settled file settled again stays as it is.
  const std::string settled = dir.File("settled.chm");
  testsupport::WriteBytes(settled, testsupport::ReadBytes(testsupport::BinDir() + "Zorvik.chm"));
  ASSERT_EQ(settle(settled, "/proc/self/cwd/"), 0);
  EXPECT_TRUE(testsupport::ReadBytes(settled) == testsupport::ReadBytes(testsupport::BinDir() + "Zorvik.chm"));
}
