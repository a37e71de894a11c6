#include "app/Prepare.h"

#include "app/Screens.h"
#include "toolkit/Application.h"
#include "platform/profile.h"
#include "platform/qtgui/connectionmonitor.h"

void PrepareApplication(toolkit::TApplication& app) {
  app.SetTitle("Zorvik");
  // Every help request goes through the help handler.
  app.SetHelpFile("");
  // Whether the computer is online, the update check asks the desktop.
  platform::InstallConnectionMonitor();
  // The screens made one after another are one burst of writes.
  platform::ProfileBatch batch;
  CreateScreens(app);
  try {
    batch.End();
  } catch (const std::exception& e) {
    app.ShowException(e);
  }
}
