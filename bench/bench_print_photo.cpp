// A phone photo in a printed test: a 5-question test whose one picture is a
// 12-megapixel JPEG (4000x3000), printed at the recommended size factor 4
// into PDF files, in 10 variants against 1 variant. Each case runs in a fresh
// process of this program, so its peak memory is its own.
//
//   bench_print_photo [--rounds N]
//
// Prints the time of the print action and the peak memory of each case, and
// the ratios of 10 variants to 1 (the goal: at most 2 in time, and a peak of
// 10 variants under 600 MB).

#include <unistd.h>

#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "model/uDApp.h"
#include "model/uDTest.h"
#include "platform/appdir.h"
#include "platform/files.h"
#include "platform/qtgui/printer.h"
#include "platform/qtgui/qtprinter.h"
#include "screens/uTisk.h"
#include "toolkit/Toolkit.h"

namespace {

constexpr int kQuestions = 5;

long OwnPeakKilobytes() {
  FILE* status = std::fopen("/proc/self/status", "r");
  char line[256];
  long kilobytes = -1;
  while (status && std::fgets(line, sizeof line, status))
    if (std::sscanf(line, "VmHWM: %ld", &kilobytes) == 1) break;
  if (status) std::fclose(status);
  return kilobytes;
}

// A photograph-like picture: smooth shapes under sensor noise, as a phone
// camera writes it (a few megabytes of JPEG).
void MakePhoto(const std::string& path) {
  QImage image(4000, 3000, QImage::Format_RGB32);
  std::mt19937 rng(4000);
  std::uniform_int_distribution<int> noise(-10, 10);
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const double w = std::sin(x * 0.004) * std::cos(y * 0.006);
      row[x] = qRgb(std::clamp(int(120 + 90 * w) + noise(rng), 0, 255),
                    std::clamp(int(60 + x / 25) + noise(rng), 0, 255),
                    std::clamp(int(220 - y / 15) + noise(rng), 0, 255));
    }
  }
  QImageWriter writer(QString::fromStdString(path), "jpeg");
  writer.setQuality(90);
  if (!writer.write(image)) {
    std::fprintf(stderr, "the photo could not be written\n");
    std::exit(1);
  }
}

// One print action of the given number of variants; prints its seconds and
// the process's peak memory in kilobytes.
int Child(int argc, char** argv, int variants, const std::string& photo, const std::string& dir) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  toolkit::TApplication app(argc, argv);
  toolkit::SetTestMode(true);
  platform::WriteFileAtomic(dir + "/jazyk.ini", *platform::ReadFileBytes(std::string(ZORVIK_DATA_DIR) + "/jazyk.ini"));
  platform::SetProgramDir(dir + "/");

  CurrentTest = TDTest{};
  CurrentTest.Name = "Fotografie";
  CurrentTest.AnswerCount = 4;
  CurrentTest.Exists = true;
  SetQuestionCount(CurrentTest, kQuestions);
  for (int i = 0; i < kQuestions; ++i) {
    TOtazky& q = CurrentTest.Questions[static_cast<size_t>(i)];
    q.Text = "Co je na obr\xE1zku " + std::to_string(i + 1) + "?";
    for (int a = 0; a < 4; ++a) q.Answers[static_cast<size_t>(a)] = "odpov\xEC\xEF " + std::to_string(a + 1);
    q.Correct[static_cast<size_t>(i % 4)] = true;
  }
  CurrentTest.Questions[2].Picture = photo;

  toolkit::Application()->CreateForm(fTisk);
  fTisk->show();
  fTisk->sePVariant->SetValue(variants);
  fTisk->cbMOdpovedi->SetChecked(true);
  platform::SetPrinter(std::make_unique<platform::TQtPrinter>(QString::fromStdString(dir + "/photo.pdf")));

  const auto start = std::chrono::steady_clock::now();
  fTisk->bTiskClick();
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  platform::SetPrinter(nullptr);
  std::printf("%.4f %ld\n", took.count(), OwnPeakKilobytes());
  return 0;
}

struct Figures {
  double seconds = 1e9;
  long peakKb = 0;
};

// The fastest of the rounds, and the highest peak of them.
Figures Measure(const std::string& self, int variants, const std::string& photo, const std::string& dir, int rounds) {
  Figures best;
  for (int r = 0; r < rounds; ++r) {
    const std::string command =
        "'" + self + "' --child " + std::to_string(variants) + " '" + photo + "' '" + dir + "' 2>/dev/null";
    FILE* child = popen(command.c_str(), "r");
    double seconds = 0;
    long kb = 0;
    if (!child || std::fscanf(child, "%lf %ld", &seconds, &kb) != 2 || pclose(child) != 0) {
      std::fprintf(stderr, "the child printing %d variants failed\n", variants);
      std::exit(1);
    }
    best.seconds = std::min(best.seconds, seconds);
    best.peakKb = std::max(best.peakKb, kb);
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::strcmp(argv[1], "--child") == 0) return Child(argc, argv, std::atoi(argv[2]), argv[3], argv[4]);
  if (argc == 3 && std::strcmp(argv[1], "--make") == 0) {
    MakePhoto(argv[2]);
    return 0;
  }
  int rounds = 2;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--rounds") == 0) rounds = std::max(1, std::atoi(argv[i + 1]));

  char self[4096] = {};
  if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0) return 1;
  QTemporaryDir folder;
  const std::string dir = folder.path().toStdString();
  const std::string photo = dir + "/foto.jpg";
  if (std::system(("'" + std::string(self) + "' --make '" + photo + "'").c_str()) != 0) return 1;

  const Figures one = Measure(self, 1, photo, dir, rounds);
  const Figures ten = Measure(self, 10, photo, dir, rounds);
  std::printf("print action with a 4000x3000 JPEG at size factor 4, %d questions, into PDF files\n", kQuestions);
  std::printf("   1 variant:  %8.3f s, peak %6ld MB\n", one.seconds, one.peakKb / 1024);
  std::printf("  10 variants: %8.3f s, peak %6ld MB\n", ten.seconds, ten.peakKb / 1024);
  std::printf("  10 against 1: time %.2f (goal: at most 2), memory %.2f (goal: a peak under 600 MB)\n",
              ten.seconds / one.seconds, double(ten.peakKb) / double(one.peakKb));
  return 0;
}
