// Zorvik's start-up up to the main menu's first paint, with the help router
// loading its viewer library (given "--viewer"), or with the router finding no
// library to load (otherwise), which is all that the help adds to the start
// besides the router's few fields. Reports the milliseconds since main() on
// descriptor 3, as bench_startup_child does.
#include <QElapsedTimer>
#include <QEvent>
#include <QObject>

#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "MenuShown.h"
#include "help/hxhhapi.h"
#include "platform/appdir.h"

int main(int argc, char** argv) {
  QElapsedTimer sinceMain;
  sinceMain.start();
  const bool viewer = argc > 1 && std::strcmp(argv[1], "--viewer") == 0;
  platform::SetProgramDir(ZORVIK_BIN_DIR);
  help::SetHtmlHelpLibraryPath(viewer ? ZORVIK_BIN_DIR "/libhxviewer.so" : ZORVIK_BIN_DIR "/no-viewer.so");
  return RunUntilMenuShown(argv, sinceMain);
}
