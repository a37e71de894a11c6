#pragma once
// Waits for the main menu's first paint, when the menu has been shown and
// activated and stands on the screen; then writes the milliseconds since
// main() began, as a line, to descriptor 3 (if open), so that the parent can
// time the start including loading the program, and ends the message loop.
#include <QElapsedTimer>
#include <QEvent>
#include <QObject>

#include <unistd.h>

#include <cstdio>

#include "app/Prepare.h"
#include "screens/uMenu.h"
#include "toolkit/Toolkit.h"

class MenuShown : public QObject {
 public:
  explicit MenuShown(const QElapsedTimer& sinceMain) : sinceMain_(sinceMain) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!done_ && event->type() == QEvent::Paint) {
      done_ = true;
      char line[32];
      const int n = std::snprintf(line, sizeof line, "%.3f\n", sinceMain_.nsecsElapsed() / 1e6);
      if (write(kReportFd, line, static_cast<size_t>(n)) < 0) {
        // Started by hand: nobody listens.
      }
      toolkit::Application()->Terminate();
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  static constexpr int kReportFd = 3;
  const QElapsedTimer& sinceMain_;
  bool done_ = false;
};

// Zorvik's application prepared as the program prepares it, started without a
// test file as from the desktop, and run until the main menu's first paint.
inline int RunUntilMenuShown(char** argv, const QElapsedTimer& sinceMain) {
  int appArgc = 1;
  toolkit::TApplication app(appArgc, argv);
  PrepareApplication(app);
  MenuShown shown(sinceMain);
  if (fMenu) fMenu->installEventFilter(&shown);
  return app.Run();
}
