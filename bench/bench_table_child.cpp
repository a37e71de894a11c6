// Zorvik's start-up to the main menu's first paint with the program's folder
// given as the argument, so that it reads the settings and the language
// table found there; then it leaves as Zorvik does. The milliseconds from
// main() to the paint go to descriptor 3 (see MenuShown.h).
#include <QElapsedTimer>

#include "MenuShown.h"
#include "platform/appdir.h"

int main(int argc, char** argv) {
  QElapsedTimer sinceMain;
  sinceMain.start();
  if (argc > 1) platform::SetProgramDir(argv[1]);
  return RunUntilMenuShown(argv, sinceMain);
}
