// Zorvik: start-up, the screens, the message loop.
#include "genlib/GenStartup.h"
#include "app/Prepare.h"
#include "toolkit/Toolkit.h"

int main(int argc, char** argv) {
  // The general library starts before anything of the program and ends after it.
  genlib::GenLibScope generalLibrary;

  toolkit::TApplication app(argc, argv);
  PrepareApplication(app);
  return app.Run();
}
