// Times Zorvik's start-up to the main menu with and without the general
// library's start-up work, in the same run:
//   - the start child (Zorvik's own start-up, see bench_startup_child.cpp)
//     started with and without the work, timed to the menu's first paint and
//     to its exit;
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

#include "genlib/GenStartup.h"
#include "genlib/GenSysInfo.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double Max(const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); }

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::vector<double> Times(int runs, const std::function<void()>& work) {
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    work();
    ms.push_back(MsSince(start));
  }
  return ms;
}

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "%s: %s\n", STARTUP_CHILD, what);
  std::exit(1);
}

// One start of the child, in milliseconds.
struct Start {
  double toMenu = 0;      // from starting the program to the menu drawn
  double mainToMenu = 0;  // from main() to the menu drawn, as the child saw it
  double toExit = 0;      // from starting the program to its exit
};

Start RunChild(bool with) {
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) Fail("no pipe");
  char* argv[] = {const_cast<char*>(STARTUP_CHILD), const_cast<char*>(with ? "--with" : "--without"), nullptr};
  // The program's own talk would only blur the timing.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, report[1], 3);

  Start start;
  const auto begin = Clock::now();
  pid_t pid = 0;
  const int failed = posix_spawn(&pid, STARTUP_CHILD, &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(report[1]);
  if (failed) Fail("cannot start");

  char line[64] = {};
  size_t got = 0;
  while (got + 1 < sizeof line) {
    const ssize_t n = read(report[0], line + got, sizeof line - 1 - got);
    if (n <= 0) break;
    got += static_cast<size_t>(n);
    if (line[got - 1] == '\n') break;
  }
  start.toMenu = MsSince(begin);
  close(report[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  start.toExit = MsSince(begin);
  if (got == 0) Fail("ended before the menu was drawn");
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) Fail("ended badly");
  start.mainToMenu = std::atof(line);
  return start;
}

struct Starts {
  std::vector<double> toMenu, mainToMenu, toExit;
  void Add(const Start& s) {
    toMenu.push_back(s.toMenu);
    mainToMenu.push_back(s.mainToMenu);
    toExit.push_back(s.toExit);
  }
};

void PrintPair(const char* what, const std::vector<double>& with, const std::vector<double>& without) {
  const double w = Median(with), wo = Median(without);
  std::printf("%-34s %8.3f ms  %8.3f ms  %7.3f\n", what, w, wo, w / wo);
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 40;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(3, std::atoi(argv[i + 1]));
  setenv("QT_QPA_PLATFORM", "offscreen", 0);

  // Warm the file cache before anything is timed.
  RunChild(true);
  RunChild(false);

  // Alternate the two variants so that drift in the machine hits both alike.
  Starts with, without;
  for (int i = 0; i < runs; ++i) {
    with.Add(RunChild(true));
    without.Add(RunChild(false));
  }

  // In this process: the work alone, the clock measurement within it, and an application object.
  const std::vector<double> work = Times(runs * 5, [] {
    genlib::GenLibStart();
    genlib::GenLibEnd();
  });
  genlib::FrequencyInfo frequency;
  const std::vector<double> clock = Times(runs * 5, [&] { genlib::MeasureProcessorClock(frequency); });
  int qargc = 1;
  char name[] = "bench_startup";
  char* qargv[] = {name, nullptr};
  const double application = Median(Times(runs, [&] { QApplication app(qargc, qargv); }));
  std::fflush(stderr);

  const double workMs = Median(work);
  std::printf("Zorvik's start-up to the main menu, %d runs each, medians\n\n", runs);
  std::printf("%-34s %11s  %11s  %7s\n", "", "with", "without", "ratio");
  PrintPair("program start to menu drawn", with.toMenu, without.toMenu);
  PrintPair("main() to menu drawn", with.mainToMenu, without.mainToMenu);
  PrintPair("program start to exit", with.toExit, without.toExit);
  std::printf("\nthe work alone, in process          %8.3f ms (slowest %.3f ms)\n", workMs, Max(work));
  std::printf("  of which the clock measurement    %8.3f ms (slowest %.3f ms, %u MHz)\n", Median(clock), Max(clock),
              frequency.NormalisedMHz);
  std::printf("creating an application object     %8.3f ms\n", application);
  std::printf("  ratio work / application object   %8.3f\n", workMs / application);
  std::printf("  ratio work / start to menu        %8.3f  (without the work)\n", workMs / Median(without.toMenu));
  return 0;
}
