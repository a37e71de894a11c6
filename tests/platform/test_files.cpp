#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/TestSupport.h"
#include "platform/errors.h"
#include "platform/files.h"

using namespace platform;
using testsupport::TempDir;

TEST(Files, ReadGivesExactBytesOrNothingForAMissingFile) {
  TempDir dir;
  const std::string bytes("a\0b\r\n\xff", 6);
  testsupport::WriteBytes(dir.File("x.bin"), bytes);
  EXPECT_EQ(ReadFileBytes(dir.File("x.bin")).value(), bytes);
  EXPECT_FALSE(ReadFileBytes(dir.File("none")).has_value());
  EXPECT_FALSE(ReadFileBytes(dir.File("none/deeper")).has_value());
  EXPECT_THROW(ReadFileBytes(dir.Path()), EInOutError);
}

TEST(Files, AtomicWriteReplacesWholeAndLeavesNoTemporaryFile) {
  TempDir dir;
  const std::string path = dir.File("t.sst");
  WriteFileAtomic(path, "first, longer content");
  WriteFileAtomic(path, "second");
  EXPECT_EQ(testsupport::ReadBytes(path), "second");
  int entries = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.Path())) {
    (void)e;
    ++entries;
  }
  EXPECT_EQ(entries, 1);
}

TEST(Files, RefusedWriteKeepsTheOldFile) {
  TempDir dir;
  const std::string path = dir.File("t.sst");
  WriteFileAtomic(path, "kept");
  ::chmod(path.c_str(), 0444);
  EXPECT_THROW(WriteFileAtomic(path, "lost"), EInOutError);
  EXPECT_EQ(testsupport::ReadBytes(path), "kept");

  ::mkdir(dir.File("ro").c_str(), 0555);
  EXPECT_THROW(WriteFileAtomic(dir.File("ro/new.sst"), "x"), EInOutError);
  EXPECT_FALSE(FileExists(dir.File("ro/new.sst")));
}

TEST(Files, CodePagePathsReachTheFileSystemAsUtf8) {
  TempDir dir;
  const std::string cpName = dir.Path() + "P\xF8\xEDklad.sst";  // "Příklad.sst" in code page 1250
  WriteFileAtomic(cpName, "x");
  EXPECT_TRUE(std::filesystem::exists(dir.Path() + "Příklad.sst"));
  EXPECT_TRUE(FileExists(cpName));
}

TEST(Files, WriterInPiecesReplacesOnlyOnCommit) {
  TempDir dir;
  const std::string path = dir.File("inf.dat");
  WriteFileAtomic(path, "old");
  {
    AtomicFileWriter w(path);
    w.Write("new ", 4);
    w.Write("data", 4);
    EXPECT_EQ(testsupport::ReadBytes(path), "old");
  }  // dropped: nothing changes
  EXPECT_EQ(testsupport::ReadBytes(path), "old");
  {
    AtomicFileWriter w(path);
    w.Write("new ", 4);
    w.Write("data", 4);
    w.Commit();
    EXPECT_THROW(w.Write("x", 1), EInOutError);
  }
  EXPECT_EQ(testsupport::ReadBytes(path), "new data");
  int entries = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.Path())) {
    (void)e;
    ++entries;
  }
  EXPECT_EQ(entries, 1);
}
