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

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "BenchChild.h"
#include "BenchTiming.h"
#include "genlib/GenStartup.h"
#include "genlib/GenSysInfo.h"

namespace {

using bench::Clock;
using bench::Median;
using bench::MsSince;

double Max(const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); }

std::vector<double> Times(int runs, const std::function<void()>& work) {
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    work();
    ms.push_back(MsSince(start));
  }
  return ms;
}

// One start of the child, in milliseconds.
struct Start {
  double toMenu = 0;      // from starting the program to the menu drawn
  double mainToMenu = 0;  // from main() to the menu drawn, as the child saw it
  double toExit = 0;      // from starting the program to its exit
};

Start RunChild(bool with) {
  const bench::TChildRun run = bench::RunChild(STARTUP_CHILD, with ? "--with" : "--without");
  return {run.ToReport, std::atof(run.Report.c_str()), run.ToExit};
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
