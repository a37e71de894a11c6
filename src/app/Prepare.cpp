#include "Prepare.h"

#include "Toolkit.h"
#include "uHodnoceni.h"
#include "uMenu.h"
#include "uNTest.h"
#include "uPZTest.h"
#include "uUpravitT.h"
#include "uZHeslo.h"
#include "uZTest.h"

void PrepareApplication(toolkit::TApplication& app) {
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
}
