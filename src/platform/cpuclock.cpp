#include "platform/cpuclock.h"

#include <pthread.h>
#include <sched.h>
#include <time.h>

namespace platform {

bool PerformanceFrequency(std::int64_t& ticksPerSecond) {
  timespec ts{};
  if (::clock_gettime(CLOCK_MONOTONIC, &ts) != 0) return false;
  ticksPerSecond = kPerformanceFrequency;
  return true;
}

std::int64_t PerformanceCounter() {
  timespec ts{};
  ::clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * kPerformanceFrequency + ts.tv_nsec / 100;
}

bool CurrentThreadPriority(ThreadPriority& out) {
  sched_param param{};
  int policy = 0;
  if (::pthread_getschedparam(::pthread_self(), &policy, &param) != 0) return false;
  out.policy = policy;
  out.priority = param.sched_priority;
  return true;
}

bool RaiseThreadToTimeCritical() {
  sched_param param{};
  param.sched_priority = ::sched_get_priority_min(SCHED_FIFO);
  return ::pthread_setschedparam(::pthread_self(), SCHED_FIFO, &param) == 0;
}

bool SetCurrentThreadPriority(const ThreadPriority& p) {
  sched_param param{};
  param.sched_priority = p.priority;
  return ::pthread_setschedparam(::pthread_self(), p.policy, &param) == 0;
}

}  // namespace platform
