// Zorvik's start-up with a language table of about 100 MB that lacks every
// text the program looks up, against the same start-up with a complete table
// of the same size, in the same run. Both tables hold the same filler keys;
// the complete one has the shipped Czech texts besides. Each start of the
// damaged table begins from the damaged file again.
//
//   bench_table [--runs N] [--megabytes M]
//
// Figures are medians of N starts (default 5) of the child program, timed to
// the menu's first paint and to the program's exit; the ratio is what matters.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "BenchChild.h"
#include "BenchTiming.h"
#include "model/uDApp.h"
#include "platform/files.h"
#include "platform/profile.h"

namespace {

const char kCesky[] = "\xC8" "esky";

// The section's filler: keys of no text the program looks up, to about `bytes`.
std::string Filler(size_t bytes) {
  std::string out;
  out.reserve(bytes + 64);
  char line[80];
  for (unsigned long i = 0; out.size() < bytes; ++i) {
    const int n = std::snprintf(line, sizeof line, "Vypln%08lu=%s\r\n", i, "text, ktery program nehleda");
    out.append(line, static_cast<size_t>(n));
  }
  return out;
}

struct Times {
  std::vector<double> toMenu, toExit;
};

void Start(const char* dir, Times& times) {
  const bench::TChildRun run = bench::RunChild(TABLE_CHILD, dir);
  times.toMenu.push_back(run.ToReport);
  times.toExit.push_back(run.ToExit);
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 5;
  size_t megabytes = 100;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(1, std::atoi(argv[i + 1]));
    if (std::strcmp(argv[i], "--megabytes") == 0) megabytes = static_cast<size_t>(std::max(1, std::atoi(argv[i + 1])));
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 0);

  const auto shipped = platform::ReadFileBytes(std::string(ZORVIK_BIN_DIR) + "/jazyk.ini");
  if (!shipped) {
    std::fprintf(stderr, "no language table in %s\n", ZORVIK_BIN_DIR);
    return 1;
  }
  // The shipped Czech texts, as lines of the section.
  std::string texts;
  {
    platform::profile::Document doc(*shipped);
    for (const std::string& key : doc.Keys(kCesky)) texts += key + "=" + doc.Value(kCesky, key, "") + "\r\n";
  }
  const std::string head = std::string("[") + kCesky + "]\r\n";
  const std::string filler = Filler(megabytes * 1000 * 1000);
  const std::string complete = head + texts + filler;
  // The same size: the texts' bytes become more filler of the same shape.
  std::string damaged = head + filler;
  damaged += std::string(complete.size() - damaged.size() - 2, ';') + "\r\n";

  char dirs[2][40] = {"/tmp/zorvik-bench-table-XXXXXX", "/tmp/zorvik-bench-table-XXXXXX"};
  for (auto& d : dirs)
    if (!::mkdtemp(d)) return 1;
  const std::string settings = std::string("[Nastaveni]\r\nPVAdr=0\r\npJazyk=") + kCesky + "\r\n";
  for (auto& d : dirs) platform::WriteFileAtomic(std::string(d) + "/Nastaveni.ini", settings);
  const std::string completeTable = std::string(dirs[0]) + "/jazyk.ini";
  const std::string damagedTable = std::string(dirs[1]) + "/jazyk.ini";
  platform::WriteFileAtomic(completeTable, complete);

  // Warm the file cache and the program once each.
  platform::WriteFileAtomic(damagedTable, damaged);
  Times warm;
  Start(dirs[0], warm);
  Start(dirs[1], warm);

  Times good, bad;
  for (int i = 0; i < runs; ++i) {
    Start(dirs[0], good);
    platform::WriteFileAtomic(damagedTable, damaged);
    Start(dirs[1], bad);
  }
  // The texts the last start marked as missing.
  size_t placeholders = 0;
  {
    const platform::profile::Document after(*platform::ReadFileBytes(damagedTable));
    for (std::string_view key : LangKeys)
      placeholders += after.Value(kCesky, key, "") == "!_" + std::string(key);
  }
  bool same = platform::ReadFileBytes(completeTable) == complete;

  rusage children{};
  getrusage(RUSAGE_CHILDREN, &children);
  std::printf("language tables of %zu bytes, %d starts each, medians\n", complete.size(), runs);
  std::printf("%-30s %11s  %11s  %7s\n", "", "complete", "no texts", "ratio");
  const auto pair = [](const char* what, const std::vector<double>& a, const std::vector<double>& b) {
    const double x = bench::Median(a), y = bench::Median(b);
    std::printf("%-30s %8.1f ms  %8.1f ms  %7.2f\n", what, x, y, y / x);
  };
  pair("program start to menu drawn", good.toMenu, bad.toMenu);
  pair("program start to exit", good.toExit, bad.toExit);
  std::printf("placeholders the start wrote: %zu; largest child: %ld MB\n", placeholders, children.ru_maxrss / 1024);

  for (auto& d : dirs) {
    std::remove((std::string(d) + "/jazyk.ini").c_str());
    std::remove((std::string(d) + "/Nastaveni.ini").c_str());
    ::rmdir(d);
  }
  return same && placeholders > 0 ? 0 : 1;
}
