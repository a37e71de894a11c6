#include <gtest/gtest.h>

#include <string>

#include "platform/cpuclock.h"
#include "platform/sysinfo.h"

using namespace platform;

TEST(LoadedModules, FoundByFileNameOnlyWhenLoaded) {
  const ModuleHandle libc = FindLoadedModule("libc.so.6");
  ASSERT_NE(libc, nullptr);
  const std::string path = ModuleFileName(libc);
  ASSERT_GT(path.size(), 10u);
  EXPECT_EQ(path.substr(path.size() - 10), "/libc.so.6");

  EXPECT_EQ(FindLoadedModule("kernel32.dll"), nullptr);
  EXPECT_EQ(FindLoadedModule("libnotloadedhere.so"), nullptr);
  EXPECT_EQ(FindLoadedModule(""), nullptr);

  const std::string self = ModuleFileName(nullptr);
  EXPECT_NE(self.find("platform_test_sysinfo"), std::string::npos);
  // Anything else is no module.
  int notAModule = 0;
  EXPECT_EQ(ModuleFileName(&notAModule), "");
}

TEST(SystemValues, AreThisSystems) {
  const SystemInfo info = QuerySystemInfo();
  EXPECT_GE(info.processors, 1u);
  EXPECT_GE(info.pageSize, 4096u);
  const OsVersion v = QueryOsVersion();
  EXPECT_EQ(v.platformId, kPlatformOther);
  EXPECT_GE(v.major, 2u);
}

TEST(PerformanceCounter, TenMegahertzAndMonotonic) {
  std::int64_t f = 0;
  ASSERT_TRUE(PerformanceFrequency(f));
  EXPECT_EQ(f, 10'000'000);
  const std::int64_t a = PerformanceCounter();
  const std::int64_t b = PerformanceCounter();
  EXPECT_GE(b, a);
}

TEST(ThreadPriority, RaisedWherePermittedAndRestored) {
  ThreadPriority before;
  ASSERT_TRUE(CurrentThreadPriority(before));
  RaiseThreadToTimeCritical();  // refused for ordinary users on most systems
  EXPECT_TRUE(SetCurrentThreadPriority(before));
  ThreadPriority after;
  ASSERT_TRUE(CurrentThreadPriority(after));
  EXPECT_EQ(after.policy, before.policy);
  EXPECT_EQ(after.priority, before.priority);
}
