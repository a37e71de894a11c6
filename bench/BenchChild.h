#pragma once
// Starting a benchmark's child program and timing it to the line it reports
// on file descriptor 3 (the menu's first paint) and to its exit. Shared by
// the start-up benchmarks.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

extern char** environ;

namespace bench {

using Clock = std::chrono::steady_clock;

inline double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct TChildRun {
  double ToReport = 0;  // from starting the program to its report, in ms
  double ToExit = 0;    // from starting the program to its exit, in ms
  std::string Report;   // the reported line
};

// Runs "program argument" with its own output silenced; ends this program
// with a message when the child cannot start, reports nothing or fails.
inline TChildRun RunChild(const char* program, const char* argument) {
  auto fail = [&](const char* what) {
    std::fprintf(stderr, "%s %s: %s\n", program, argument, what);
    std::exit(1);
  };
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) fail("no pipe");
  char* argv[] = {const_cast<char*>(program), const_cast<char*>(argument), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  // The program's own talk would only blur the timing.
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, report[1], 3);
  TChildRun run;
  const auto begin = Clock::now();
  pid_t pid = 0;
  const int failed = posix_spawn(&pid, program, &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(report[1]);
  if (failed) fail("cannot start");
  char line[64] = {};
  size_t got = 0;
  while (got + 1 < sizeof line) {
    const ssize_t n = read(report[0], line + got, sizeof line - 1 - got);
    if (n <= 0) break;
    got += static_cast<size_t>(n);
    if (line[got - 1] == '\n') break;
  }
  run.ToReport = MsSince(begin);
  close(report[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  run.ToExit = MsSince(begin);
  if (got == 0) fail("ended before its report");
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) fail("ended badly");
  run.Report = line;
  return run;
}

}  // namespace bench
