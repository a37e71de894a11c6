// Lexorin loading and saving a table of 40 languages of every key, against
// the floor of any load and save: reading the file's bytes and writing them
// back whole. The editor should stay within ten times that floor.
#include <QByteArray>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "BenchTiming.h"
#include "langedit/uMain.h"
#include "model/uDApp.h"
#include "platform/appdir.h"
#include "platform/files.h"
#include "toolkit/Toolkit.h"

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
  toolkit::TApplication app(argc, argv);
  char dir[] = "/tmp/zorvik-bench-XXXXXX";
  if (!::mkdtemp(dir)) return 1;
  const std::string path = std::string(dir) + "/jazyk.ini";
  std::string table;
  for (int l = 0; l < 40; ++l) {
    table += "[Jazyk " + std::to_string(l + 1) + "]\r\n";
    for (std::string_view key : LangKeys)
      table += std::string(key) + "=" + std::string(key) + " v jazyce " + std::to_string(l + 1) + "\r\n";
  }
  platform::WriteFileAtomic(path, table);
  platform::SetProgramDir(dir);

  TForm1 form;
  form.FormCreate();
  const double floor = bench::Fastest(5, [&] { platform::WriteFileAtomic(path, *platform::ReadFileBytes(path)); });
  const double load = bench::Fastest(5, [&] { form.bNacistClick(); });
  const double save = bench::Fastest(3, [&] { form.bUlozitClick(); });
  const bool same = platform::ReadFileBytes(path) == table;

  std::printf("table: 40 languages x %zu keys, %zu bytes\n", kLangKeyCount, table.size());
  std::printf("floor (read the bytes, write them whole): %8.2f ms\n", floor * 1e3);
  std::printf("Lexorin load:                             %8.2f ms\n", load * 1e3);
  std::printf("Lexorin save:                             %8.2f ms\n", save * 1e3);
  std::printf("load and save = %.1f x floor (at most 10 x); table unchanged: %s\n", (load + save) / floor,
              same ? "yes" : "NO");
  std::remove(path.c_str());
  ::rmdir(dir);
  return same && (load + save) / floor <= 10.0 ? 0 : 1;
}
