// Zorvik: start-up, the screens, the message loop.
#include "GenStartup.h"
#include "Prepare.h"
#include "Toolkit.h"

int main(int argc, char** argv) {
  // The general library starts before anything of the program and ends after it.
  resample::GenLibScope generalLibrary;

  toolkit::TApplication app(argc, argv);
  PrepareApplication(app);
  return app.Run();
}
