// Times what the help adds, each against a reference measured in the same run:
//   - Zorvik's start-up to the main menu with the help router loading its
//     viewer library, against the same start-up with no library to load
//     (bench_help_child, started alternately);
//   - the first help request, the contents of Zorvik.chm shown and drawn,
//     against a QTextBrowser showing the same contents page from a plain
//     HTML file beside its style sheet and picture.
//
//   bench_help [--runs N]
//
// Every figure is the median of N runs; the ratios are what matter.
#include <QApplication>
#include <QDir>
#include <QTextBrowser>
#include <QWidget>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "BenchChild.h"
#include "BenchTiming.h"
#include "help/hxhhapi.h"
#include "help/viewer/hxchm.h"

namespace {

using bench::Clock;
using bench::Median;
using bench::MsSince;

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "bench_help: %s\n", what);
  std::exit(1);
}

// One start of the child to the menu drawn, in milliseconds.
double StartChild(bool viewer) { return bench::RunChild(HELP_CHILD, viewer ? "--viewer" : "--none").ToReport; }

void Save(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

}  // namespace

int main(int argc, char** argv) {
  int runs = 30;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(3, std::atoi(argv[i + 1]));
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  const std::string bin = ZORVIK_BIN_DIR;
  const std::string chm = bin + "/Zorvik.chm";
  hxviewer::SetChmReaderProgram(bin + "/" + hxviewer::kChmReaderName);  // the program's, not beside the benchmark

  // Start-up, alternating, after one warming start of each.
  StartChild(true);
  StartChild(false);
  std::vector<double> with, without;
  for (int i = 0; i < runs; ++i) {
    with.push_back(StartChild(true));
    without.push_back(StartChild(false));
  }

  // The contents page as a plain file, with what it shows.
  hxviewer::TChmFile file;
  if (!file.Open(chm)) Fail("cannot read Zorvik.chm");
  const std::string plain = QDir::tempPath().toStdString() + "/zorvik-bench-help-" + std::to_string(getpid());
  QDir().mkpath(QString::fromStdString(plain + "/img"));
  for (const char* object : {"/index.htm", "/styl.css", "/img/menu.png"}) {
    const auto bytes = file.Read(object);
    if (!bytes) Fail("the help file lacks its contents page");
    Save(plain + object, *bytes);
  }

  int qargc = 1;
  char name[] = "bench_help";
  char* qargv[] = {name, nullptr};
  QApplication app(qargc, qargv);
  help::SetHtmlHelpLibraryPath(bin + "/" + help::kHtmlHelpLibrary);
  const auto loadStart = Clock::now();
  if (!help::HtmlHelpAvailable()) Fail("cannot load the viewer library");
  const double load = MsSince(loadStart);
  const help::THtmlHelpProc viewer = help::HtmlHelpEntry();

  // Both shown, their events handled and drawn once, then gone.
  auto firstRequest = [&] {
    const auto start = Clock::now();
    auto* window = reinterpret_cast<QWidget*>(viewer(0, chm.c_str(), help::HH_DISPLAY_TOC, 0));
    if (!window) Fail("the viewer showed nothing");
    QApplication::processEvents();
    window->grab();
    const double ms = MsSince(start);
    viewer(0, nullptr, help::HH_CLOSE_ALL, 0);
    QApplication::processEvents();
    return ms;
  };
  auto plainBrowser = [&] {
    const auto start = Clock::now();
    auto* browser = new QTextBrowser;
    browser->resize(780, 540);
    browser->setSource(QUrl::fromLocalFile(QString::fromStdString(plain + "/index.htm")));
    browser->show();
    QApplication::processEvents();
    browser->grab();
    const double ms = MsSince(start);
    delete browser;
    QApplication::processEvents();
    return ms;
  };
  firstRequest();
  plainBrowser();
  std::vector<double> help, reference;
  for (int i = 0; i < runs; ++i) {
    help.push_back(firstRequest());
    reference.push_back(plainBrowser());
  }
  QDir(QString::fromStdString(plain)).removeRecursively();

  std::printf("Help, %d runs each, medians\n\n", runs);
  std::printf("%-46s %9s  %9s  %6s\n", "", "help", "reference", "ratio");
  std::printf("%-46s %6.2f ms  %6.2f ms  %6.3f   (at most 1.05)\n", "start to menu drawn: viewer loaded / none",
              Median(with), Median(without), Median(with) / Median(without));
  std::printf("%-46s %6.2f ms  %6.2f ms  %6.3f   (once, in this process)\n",
              "loading the viewer library / start to menu", load, Median(without), load / Median(without));
  std::printf("%-46s %6.2f ms  %6.2f ms  %6.3f   (at most 2)\n", "contents shown: Zorvik.chm / plain QTextBrowser",
              Median(help), Median(reference), Median(help) / Median(reference));
  return 0;
}
