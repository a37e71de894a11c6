// Zorvik: start-up, the screens, the message loop.
#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setApplicationName(QStringLiteral("Zorvik"));
  // No screen exists yet: nothing to run.
  return 0;
}
