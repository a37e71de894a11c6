#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

TEST(Files, ASaveOnAReadOnlyFileSystemGivesTheSystemsReason) {
  // A file system of our own, mounted in a mount namespace of this child only.
  TempDir dir;
  int report[2];
  ASSERT_EQ(::pipe(report), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(report[0]);
    const uid_t uid = ::getuid();
    const gid_t gid = ::getgid();
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) ::_exit(77);
    testsupport::WriteBytes("/proc/self/setgroups", "deny");
    testsupport::WriteBytes("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1");
    testsupport::WriteBytes("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1");
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("none", dir.Path().c_str(), "tmpfs", 0, nullptr) != 0) {
      ::_exit(77);
    }
    WriteFileAtomic(dir.File("t.sst"), "kept");
    if (::mount(nullptr, dir.Path().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) ::_exit(77);
    std::string seen;
    for (const char* name : {"t.sst", "new.sst"}) {
      try {
        WriteFileAtomic(dir.File(name), "lost");
        seen += "saved\n";
      } catch (const EInOutError& e) {
        seen += std::string(e.what()) + "\n";
      }
    }
    seen += testsupport::ReadBytes(dir.File("t.sst"));
    if (::write(report[1], seen.data(), seen.size()) < 0) ::_exit(2);
    ::_exit(0);
  }
  ::close(report[1]);
  std::string seen;
  char buf[1024];
  for (ssize_t n; (n = ::read(report[0], buf, sizeof buf)) > 0;) seen.append(buf, static_cast<size_t>(n));
  ::close(report[0]);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "no mount namespace for a read-only file system here";
  ASSERT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(seen, "Cannot access file \"" + dir.File("t.sst") + "\": Read-only file system\n" +
                      "Cannot access file \"" + dir.File("new.sst") + "\": Read-only file system\nkept");
}
