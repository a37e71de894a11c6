// Looks up every key of the shipped language table once per round, as the
// screens do with no cache, and compares it with the floor of any uncached
// lookup: reading the table's bytes once per key. Then writes every text of
// both languages one call at a time, as the table editor saves, against
// writing the whole table once per text.
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>

#include "platform/appdir.h"
#include "BenchTiming.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "model/uDApp.h"

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
  Settings.pJazyk =
      "\xC8"
      "esky";
  const double first = Fastest(lookAll);
  Settings.pJazyk = "English";
  const double second = Fastest(lookAll);

  std::printf("language table: %zu bytes, %zu keys per round\n", bytes->size(), kLangKeyCount);
  std::printf("floor (read the file once per key):  %8.3f ms\n", floor * 1e3);
  std::printf("LangText, first section:             %8.3f ms  = %5.2f x floor, %6.1f us per lookup\n", first * 1e3,
              first / floor, first * 1e6 / kLangKeyCount);
  std::printf("LangText, second section:            %8.3f ms  = %5.2f x floor, %6.1f us per lookup\n", second * 1e3,
              second / floor, second * 1e6 / kLangKeyCount);

  // Saving as the editor does: one write per text, each replacing the file.
  const auto languages = ListLanguages();
  const size_t texts = languages.size() * kLangKeyCount;
  platform::ProfileFile ini(copy);
  const double writeFloor = bench::Fastest(3, [&] {
    for (size_t i = 0; i < texts; ++i) platform::WriteFileAtomic(copy, *bytes);
  });
  const double save = bench::Fastest(3, [&] {
    for (const std::string& language : languages) {
      for (std::string_view key : LangKeys) {
        ini.WriteString(language, std::string(key), ini.ReadString(language, std::string(key), ""));
      }
    }
  });
  complete &= platform::ReadFileBytes(copy) == bytes;
  std::printf("floor (write the whole file per text): %8.1f ms for %zu texts\n", writeFloor * 1e3, texts);
  std::printf("WriteString per text, as the editor:   %8.1f ms  = %5.2f x floor, %6.2f ms per text\n", save * 1e3,
              save / writeFloor, save * 1e3 / texts);

  std::remove(copy.c_str());
  ::rmdir(dir);
  return complete && total > 0 ? 0 : 1;
}
