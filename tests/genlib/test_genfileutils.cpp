#include <gtest/gtest.h>

#include "genlib/GenFileUtils.h"
#include "support/TestSupport.h"

using namespace genlib;
using testsupport::TempDir;

TEST(GenFileUtils, FixedVersionOfAProgramFile) {
  // This program carries the build's version note.
  const std::string self = ModuleFilePath(nullptr);
  ASSERT_NE(self.find("genlib_test_genfileutils"), std::string::npos);
  constexpr std::uint32_t v[] = {TEST_FILE_VERSION};
  FixedFileInfo info{};
  ASSERT_TRUE(ReadFixedVersionInfo(self, info));
  EXPECT_EQ(info.Signature, kFixedFileInfoSignature);
  EXPECT_EQ(info.FileVersionMS, v[0] << 16 | v[1]);
  EXPECT_EQ(info.FileVersionLS, v[2] << 16 | v[3]);
  EXPECT_EQ(info.ProductVersionMS, info.FileVersionMS);
  EXPECT_EQ(info.ProductVersionLS, info.FileVersionLS);
}

TEST(GenFileUtils, NoVersionLeavesTheBlockAlone) {
  TempDir dir;
  testsupport::WriteBytes(dir.File("text.txt"), "1.1.4.24\r\n");
  const std::string libc = ModuleFilePath(platform::FindLoadedModule("libc.so.6"));
  for (const std::string& path : {dir.File("text.txt"), dir.File("missing"), dir.Path(), libc, std::string()}) {
    SCOPED_TRACE(path);
    FixedFileInfo info{};
    info.FileVersionMS = 77;
    EXPECT_FALSE(ReadFixedVersionInfo(path, info));
    EXPECT_EQ(info.FileVersionMS, 77u);
    EXPECT_EQ(info.Signature, 0u);
  }
}
