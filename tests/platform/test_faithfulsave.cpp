// Saves that replace the user's file faithfully, and reads that never block:
// links stay links, modes and umask are honoured, the temporary name is short
// and a killed save's leftover is cleaned, a name that will not exist is never
// replaced, FIFOs are refused at once, and the program's folder is reached by
// its real name whatever letters it holds.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "support/TestSupport.h"
#include "platform/appdir.h"
#include "platform/cp1250.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/profile.h"

using namespace platform;
using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

std::vector<std::string> Entries(const std::string& dir) {
  std::vector<std::string> names;
  for (auto& e : std::filesystem::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

unsigned ModeOf(const std::string& path) {
  struct stat st;
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return st.st_mode & 07777;
}

// The umask for the life of the object.
struct Umask {
  explicit Umask(mode_t m) : old(::umask(m)) {}
  ~Umask() { ::umask(old); }
  mode_t old;
};

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Exception& e) {
    return e.what();
  }
  return "no error";
}

}  // namespace

TEST(FaithfulSave, ALinkIsFollowedAndStaysALink) {
  TempDir dir;
  std::filesystem::create_directories(dir.File("real"));
  WriteBytes(dir.File("real/t.sst"), "old");
  std::filesystem::create_symlink("real/t.sst", dir.File("link.sst"));
  std::filesystem::create_symlink("link.sst", dir.File("link2.sst"));  // a link to a link
  WriteFileAtomic(dir.File("link2.sst"), "new");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.sst")));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link2.sst")));
  EXPECT_EQ(ReadBytes(dir.File("real/t.sst")), "new");
  EXPECT_EQ(Entries(dir.Path()), (std::vector<std::string>{"link.sst", "link2.sst", "real"}));
  EXPECT_EQ(Entries(dir.File("real")), std::vector<std::string>{"t.sst"});
  // A link to nothing yet makes its target.
  std::filesystem::create_symlink("real/new.ini", dir.File("dangling.ini"));
  WriteFileAtomic(dir.File("dangling.ini"), "made");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("dangling.ini")));
  EXPECT_EQ(ReadBytes(dir.File("real/new.ini")), "made");
  // A loop of links is an input error, not a hang.
  std::filesystem::create_symlink("loop2", dir.File("loop1"));
  std::filesystem::create_symlink("loop1", dir.File("loop2"));
  EXPECT_THROW(WriteFileAtomic(dir.File("loop1"), "x"), EInOutError);
}

TEST(FaithfulSave, NewFilesHonourTheUmaskAndReplacedOnesKeepTheirModeWithoutSetIdBits) {
  TempDir dir;
  {
    Umask mask(077);
    WriteFileAtomic(dir.File("private.sst"), "heslo");
    EXPECT_EQ(ModeOf(dir.File("private.sst")), 0600u);
  }
  {
    Umask mask(022);
    WriteFileAtomic(dir.File("shared.sst"), "x");
    EXPECT_EQ(ModeOf(dir.File("shared.sst")), 0644u);
    // An existing file keeps its mode, whatever the umask says.
    ::chmod(dir.File("private.sst").c_str(), 0640);
    WriteFileAtomic(dir.File("private.sst"), "again");
    EXPECT_EQ(ModeOf(dir.File("private.sst")), 0640u);
    ::chmod(dir.File("shared.sst").c_str(), 06775);
    WriteFileAtomic(dir.File("shared.sst"), "again");
    EXPECT_EQ(ModeOf(dir.File("shared.sst")), 0775u);
  }
  struct stat st;
  ASSERT_EQ(::stat(dir.File("private.sst").c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, ::getuid());
}

TEST(FaithfulSave, AnyLegalNameSavesAndAKilledSavesLeftoverIsCleanedByTheNextSave) {
  TempDir dir;
  const std::string longName = dir.File(std::string(251, 'n') + ".sst");  // 255 bytes
  WriteFileAtomic(longName, "first");
  WriteFileAtomic(longName, "second");
  EXPECT_EQ(ReadBytes(longName), "second");

  // A save killed midway leaves its temporary file behind, named after no user file.
  const std::string path = dir.File("t.sst");
  WriteFileAtomic(path, "kept");
  const pid_t child = ::fork();
  if (child == 0) {
    AtomicFileWriter w(path);
    w.Write("half", 4);
    ::_exit(0);  // killed: no destructor, no commit
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  std::vector<std::string> names = Entries(dir.Path());
  ASSERT_EQ(names.size(), 3u);
  const std::string leftover = names[0];
  EXPECT_EQ(leftover.rfind(".zorvik-", 0), 0u) << leftover;
  EXPECT_LT(leftover.size(), 32u);
  EXPECT_EQ(ReadBytes(path), "kept");

  // A save of another file leaves it; the next save of that file removes it.
  WriteFileAtomic(longName, "third");
  EXPECT_EQ(Entries(dir.Path()).size(), 3u);
  WriteFileAtomic(path, "saved");
  EXPECT_EQ(Entries(dir.Path()).size(), 2u);
  EXPECT_EQ(ReadBytes(path), "saved");

  // A save still running is no leftover: its file stays and it commits.
  AtomicFileWriter running(path);
  running.Write("running", 7);
  WriteFileAtomic(path, "other");
  running.Commit();
  EXPECT_EQ(ReadBytes(path), "running");
  EXPECT_EQ(Entries(dir.Path()).size(), 2u);
}

TEST(FaithfulSave, ANewFileNeverReplacesAnExistingOne) {
  TempDir dir;
  EXPECT_TRUE(WriteFileNew(dir.File("p.rtf"), "first"));
  EXPECT_FALSE(WriteFileNew(dir.File("p.rtf"), "second"));
  EXPECT_EQ(ReadBytes(dir.File("p.rtf")), "first");
  EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"p.rtf"});
}

TEST(NonRegularFiles, AFifoIsRefusedAtOnceAndNeverReplaced) {
  TempDir dir;
  const std::string fifo = dir.File("t.sst");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  EXPECT_EQ(ErrorOf([&] { ReadFileBytes(fifo); }), "Cannot access file \"" + fifo + "\": Not a regular file");
  EXPECT_EQ(ErrorOf([&] { WriteFileAtomic(fifo, "x"); }), "Cannot access file \"" + fifo + "\": Not a regular file");
  EXPECT_FALSE(StampOf(fifo) == std::nullopt);
  // As a profile file it reads as empty and refuses writes, saying why.
  ProfileFile ini(fifo);
  EXPECT_EQ(ini.ReadString("a", "b", "def"), "def");
  EXPECT_EQ(ErrorOf([&] { ini.WriteString("a", "b", "c"); }), "Cannot access file \"" + fifo + "\": Not a regular file");
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));
}

TEST(ProgramFolder, AFolderNameBeyondTheCodePageIsReachedByItsRealName) {
  TempDir dir;
  const std::string real = dir.Path() + "Иван Ελένη/";
  std::filesystem::create_directories(real);
  SetNativeProgramDir(real);
  const std::string shown = ProgramDir();
  EXPECT_EQ(NativeOfPathText(shown), real);  // code page 1250 path text, the name kept whole
  EXPECT_EQ(NativeProgramDir(), real);
  WriteFileAtomic(shown + "jazyk.ini", "[A]\r\nK=v\r\n");
  EXPECT_EQ(ReadBytes(real + "jazyk.ini"), "[A]\r\nK=v\r\n");
  EXPECT_EQ(ReadFileBytes(shown + "jazyk.ini").value(), "[A]\r\nK=v\r\n");
  EXPECT_TRUE(FileExists(shown + "jazyk.ini"));
  ProfileFile ini(shown + "Nastaveni.ini");
  ini.WriteString("Nastaveni", "VAdr", shown + "Testy");
  EXPECT_EQ(ini.ReadString("Nastaveni", "VAdr", ""), shown + "Testy");
  EXPECT_TRUE(std::filesystem::exists(real + "Nastaveni.ini"));
  SetProgramDir("");
  EXPECT_NE(ProgramDir(), shown);
}
