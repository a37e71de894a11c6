// Zorvik's start-up up to the moment the main menu has been drawn, with the
// general library's start-up work first when given "--with", without it
// otherwise. Then it ends the message loop and leaves as Zorvik does.
//
// When the menu has been drawn it writes the milliseconds since main() began,
// as a line, to descriptor 3 (if open), so that the parent can time the start
// including loading the program.
#include <QElapsedTimer>
#include <QEvent>
#include <QObject>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <optional>

#include "genlib/GenStartup.h"
#include "MenuShown.h"
#include "platform/appdir.h"

int main(int argc, char** argv) {
  QElapsedTimer sinceMain;
  sinceMain.start();
  const bool with = argc > 1 && std::strcmp(argv[1], "--with") == 0;
  // The settings and the language table that Zorvik itself reads.
  platform::SetProgramDir(ZORVIK_BIN_DIR);

  std::optional<genlib::GenLibScope> library;
  if (with) library.emplace();

  return RunUntilMenuShown(argv, sinceMain);
}
