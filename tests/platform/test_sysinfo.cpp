#include <gtest/gtest.h>
#include <pthread.h>
#include <sched.h>

#include <string>
#include <thread>

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

namespace {

// Whether the system lets this process raise a thread to the lowest real-time
// priority, asked directly on a thread of its own.
bool RealTimePermitted() {
  bool permitted = false;
  std::thread([&] {
    sched_param param{};
    param.sched_priority = ::sched_get_priority_min(SCHED_FIFO);
    permitted = ::pthread_setschedparam(::pthread_self(), SCHED_FIFO, &param) == 0;
  }).join();
  return permitted;
}

void ExpectPriority(int policy, int priority) {
  ThreadPriority now;
  ASSERT_TRUE(CurrentThreadPriority(now));
  EXPECT_EQ(now.policy, policy);
  EXPECT_EQ(now.priority, priority);
}

}  // namespace

// On threads of their own, so the test program's priority stays as it was.
TEST(ThreadPriority, RaisedWherePermittedAndRestored) {
  const bool permitted = RealTimePermitted();
  std::thread([&] {
    ThreadPriority before;
    ASSERT_TRUE(CurrentThreadPriority(before));
    ASSERT_NE(before.policy, SCHED_FIFO);
    EXPECT_EQ(RaiseThreadToTimeCritical(), permitted);
    if (permitted) {
      ExpectPriority(SCHED_FIFO, ::sched_get_priority_min(SCHED_FIFO));
    } else {
      ExpectPriority(before.policy, before.priority);  // nothing changed
    }
    EXPECT_TRUE(SetCurrentThreadPriority(before));
    ExpectPriority(before.policy, before.priority);
  }).join();

  // Given back whatever it was: a real-time priority above the lowest where
  // permitted, else a policy that every process may take.
  std::thread([permitted] {
    const int policy = permitted ? SCHED_FIFO : SCHED_BATCH;
    sched_param param{};
    if (permitted) param.sched_priority = ::sched_get_priority_min(SCHED_FIFO) + 1;
    ASSERT_EQ(::pthread_setschedparam(::pthread_self(), policy, &param), 0);
    ThreadPriority before;
    ASSERT_TRUE(CurrentThreadPriority(before));
    sched_param ordinary{};
    ASSERT_EQ(::pthread_setschedparam(::pthread_self(), SCHED_OTHER, &ordinary), 0);
    EXPECT_TRUE(SetCurrentThreadPriority(before));
    ExpectPriority(policy, param.sched_priority);
  }).join();
}
