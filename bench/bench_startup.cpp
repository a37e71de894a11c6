// Times the general library's start-up work (with its end work) against the
// rest of the program's start measured in the same run:
//   - a program started as Zorvik's entry starts, with and without the work;
//   - Zorvik itself started to its exit;
//   - the work alone in this process against creating an application object.
//
//   bench_startup [--runs N]
//
// Every figure is the median of N runs; the ratios are what matter.

#include <QApplication>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "GenStartup.h"
#include "GenSysInfo.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double Max(const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); }

std::vector<double> Times(int runs, const std::function<void()>& work) {
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    work();
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  return ms;
}

void Run(const char* program, const char* arg) {
  char* argv[] = {const_cast<char*>(program), const_cast<char*>(arg), nullptr};
  if (!arg) argv[1] = nullptr;
  // The programs' own talk would only blur the timing.
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int failed = posix_spawn(&pid, program, &quiet, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&quiet);
  if (failed) {
    std::fprintf(stderr, "cannot start %s\n", program);
    std::exit(1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "%s ended badly\n", program);
    std::exit(1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 40;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(3, std::atoi(argv[i + 1]));
  setenv("QT_QPA_PLATFORM", "offscreen", 0);

  // Warm the file cache before anything is timed.
  Run(STARTUP_CHILD, "--with");
  Run(ZORVIK_PROGRAM, nullptr);

  // Alternate the two variants so that drift in the machine hits both alike.
  std::vector<double> with, without;
  for (int i = 0; i < runs; ++i) {
    with.push_back(Times(1, [] { Run(STARTUP_CHILD, "--with"); })[0]);
    without.push_back(Times(1, [] { Run(STARTUP_CHILD, nullptr); })[0]);
  }
  const double zorvik = Median(Times(runs, [] { Run(ZORVIK_PROGRAM, nullptr); }));

  // In this process: the work alone, the clock measurement within it, and an application object.
  const std::vector<double> work = Times(runs * 5, [] {
    resample::GenLibStart();
    resample::GenLibEnd();
  });
  resample::FrequencyInfo frequency;
  const std::vector<double> clock = Times(runs * 5, [&] { resample::MeasureProcessorClock(frequency); });
  int qargc = 1;
  char name[] = "bench_startup";
  char* qargv[] = {name, nullptr};
  const double application = Median(Times(runs, [&] { QApplication app(qargc, qargv); }));
  std::fflush(stderr);

  const double withMs = Median(with), withoutMs = Median(without), workMs = Median(work);
  std::printf("general library start-up, %d runs, medians\n\n", runs);
  std::printf("program start to exit, with the work      %8.3f ms\n", withMs);
  std::printf("program start to exit, without the work   %8.3f ms\n", withoutMs);
  std::printf("  ratio with / without                    %8.3f\n", withMs / withoutMs);
  std::printf("zorvik start to exit (reference)          %8.3f ms\n\n", zorvik);
  std::printf("the work alone, in process                %8.3f ms (slowest %.3f ms)\n", workMs, Max(work));
  std::printf("  of which the clock measurement          %8.3f ms (slowest %.3f ms, %u MHz)\n", Median(clock),
              Max(clock), frequency.NormalisedMHz);
  std::printf("creating an application object           %8.3f ms\n", application);
  std::printf("  ratio work / application object         %8.3f\n", workMs / application);
  std::printf("  ratio work / zorvik start to exit       %8.3f\n", workMs / zorvik);
  return 0;
}
