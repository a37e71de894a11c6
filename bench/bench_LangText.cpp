// Looks up every key of the shipped language table once per round, as the
// screens do with no cache, and compares it with the floor of any uncached
// lookup: reading the table's bytes once per key.
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>

#include "appdir.h"
#include "BenchTiming.h"
#include "files.h"
#include "uDApp.h"

namespace {

constexpr int kRounds = 30;

double Fastest(const std::function<void()>& work) { return bench::Fastest(kRounds, work); }

}  // namespace

int main(int argc, char** argv) {
  // The table beside the built programs, copied so the lookups cannot change it.
  const std::string table = argc > 1 ? argv[1] : platform::ProgramDir() + "../bin/jazyk.ini";
  const auto bytes = platform::ReadFileBytes(table);
  if (!bytes) {
    std::fprintf(stderr, "no language table at %s\n", table.c_str());
    return 1;
  }
  char dir[] = "/tmp/zorvik-bench-XXXXXX";
  if (!::mkdtemp(dir)) return 1;
  const std::string copy = std::string(dir) + "/jazyk.ini";
  platform::WriteFileAtomic(copy, *bytes);
  platform::SetProgramDir(dir);

  size_t total = 0;
  const double floor = Fastest([&] {
    for (size_t i = 0; i < kLangKeyCount; ++i) total += platform::ReadFileBytes(copy)->size();
  });
  bool complete = true;
  auto lookAll = [&] {
    for (std::string_view key : LangKeys) complete &= LangText(std::string(key)).rfind("!_", 0) != 0;
  };
  Settings.pJazyk = "\xC8" "esky";
  const double first = Fastest(lookAll);
  Settings.pJazyk = "English";
  const double second = Fastest(lookAll);

  std::printf("language table: %zu bytes, %zu keys per round\n", bytes->size(), kLangKeyCount);
  std::printf("floor (read the file once per key):  %8.3f ms\n", floor * 1e3);
  std::printf("LangText, first section:             %8.3f ms  = %5.2f x floor, %6.1f us per lookup\n",
              first * 1e3, first / floor, first * 1e6 / kLangKeyCount);
  std::printf("LangText, second section:            %8.3f ms  = %5.2f x floor, %6.1f us per lookup\n",
              second * 1e3, second / floor, second * 1e6 / kLangKeyCount);

  std::remove(copy.c_str());
  ::rmdir(dir);
  return complete && total > 0 ? 0 : 1;
}
