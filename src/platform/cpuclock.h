#pragma once
// The performance counter and the scheduling priority of the calling thread,
// standing in for the Windows services of the same kind.

#include <cstdint>

namespace platform {

// The performance counter is the monotonic clock presented as a counter of
// 10,000,000 ticks a second. The frequency is false where no such clock exists.
constexpr std::int64_t kPerformanceFrequency = 10'000'000;
bool PerformanceFrequency(std::int64_t& ticksPerSecond);
std::int64_t PerformanceCounter();

// A thread's scheduling policy and its priority within it.
struct ThreadPriority {
  int policy = 0;
  int priority = 0;
};

// False when the calling thread's priority cannot be read.
bool CurrentThreadPriority(ThreadPriority& out);

// Raises the calling thread above every ordinary thread (the lowest real-time
// priority). False, and nothing changed, where the system does not permit it.
bool RaiseThreadToTimeCritical();

// Gives the calling thread back a priority read before.
bool SetCurrentThreadPriority(const ThreadPriority& p);

}  // namespace platform
