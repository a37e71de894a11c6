// A program that starts as Zorvik's entry does, with the general library's
// start-up work first and its end work last when given "--with", without it
// otherwise, and ends as soon as its application object stands.
#include <QApplication>

#include <cstring>
#include <optional>

#include "GenStartup.h"

int main(int argc, char** argv) {
  std::optional<resample::GenLibScope> library;
  if (argc > 1 && std::strcmp(argv[1], "--with") == 0) library.emplace();
  QApplication app(argc, argv);
  app.setApplicationName(QStringLiteral("Zorvik"));
  return 0;
}
