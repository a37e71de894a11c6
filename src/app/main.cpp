// Zorvik: start-up, the screens, the message loop.
#include "GenStartup.h"
#include "Toolkit.h"
#include "uHodnoceni.h"
#include "uMenu.h"
#include "uNTest.h"
#include "uPZTest.h"
#include "uUpravitT.h"
#include "uZHeslo.h"
#include "uZTest.h"

int main(int argc, char** argv) {
  // The general library starts before anything of the program and ends after it.
  resample::GenLibScope generalLibrary;

  toolkit::TApplication app(argc, argv);
  app.SetTitle("Zorvik");
  // Every help request goes through the help handler.
  app.SetHelpFile("");

  // The screens, the main menu first so that it is the main window. The other
  // screens take their places in this order as they are built: fMain,
  // fZjistiA, fNTest, fUpravitT, fZTest, fHodnoceni, fTisk, fNastaveni,
  // fPomucek, fSTRTF, fAktualizace, fVyberAdr, fPZTest.
  app.CreateForm(fMenu);
  app.CreateForm(fNTest);
  app.CreateForm(fUpravitT);
  app.CreateForm(fZTest);
  app.CreateForm(fHodnoceni);
  app.CreateForm(fPZTest);
  app.CreateForm(fZHeslo);

  return app.Run();
}
