#include "app/Prepare.h"

#include "app/Screens.h"
#include "toolkit/Application.h"

void PrepareApplication(toolkit::TApplication& app) {
  app.SetTitle("Zorvik");
  // Every help request goes through the help handler.
  app.SetHelpFile("");
  CreateScreens(app);
}
