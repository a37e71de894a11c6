// Times the print action on PDF files: 10 shuffled variants of a 200-question
// test with a JPEG picture on every fifth question, against the floor of
// drawing the same already-wrapped lines and already-scaled pictures onto the
// same PDF surface without any layout work, measured in this run.
//
//   bench_print [--rounds N]
//
// Prints the two times and their ratio (the goal is at most 2).

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>

#include "BenchTiming.h"
#include "genlib/GenGraphics.h"
#include "model/uDApp.h"
#include "model/uDTest.h"
#include "platform/appdir.h"
#include "platform/files.h"
#include "platform/qtgui/printer.h"
#include "platform/qtgui/qtprinter.h"
#include "platform/qtgui/recordingprinter.h"
#include "screens/uTisk.h"
#include "toolkit/Toolkit.h"

namespace {

constexpr int kQuestions = 200;
constexpr int kVariants = 10;

// A photograph-like picture, different for each seed, also in its width (the
// floor tells the pictures apart by their size).
QImage Photo(int seed) {
  QImage image(200 + seed / 5, 150, QImage::Format_RGB32);
  std::mt19937 rng(static_cast<unsigned>(seed));
  std::uniform_int_distribution<int> noise(-12, 12);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const double w = std::sin(x * 0.05 + seed) * std::cos(y * 0.07 - seed);
      image.setPixel(
          x, y,
          qRgb(std::clamp(int(120 + 90 * w) + noise(rng), 0, 255), std::clamp(int(80 + x / 2) + noise(rng), 0, 255),
               std::clamp(int(200 - y) + noise(rng), 0, 255)));
    }
  }
  return image;
}

void MakeTest(const QString& folder) {
  const char* words[] = {"kolik",
                         "je",
                         "hlavn\xED",
                         "m\xECsto",
                         "\xE8"
                         "eské",
                         "republiky",
                         "a",
                         "pro\xE8",
                         "leží",
                         "na",
                         "řece",
                         "Vltav\xEC",
                         "když",
                         "ostatní",
                         "města",
                         "jsou",
                         "menší"};
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> pick(0, static_cast<int>(std::size(words)) - 1);
  auto sentence = [&](int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += (i ? " " : "") + std::string(words[pick(rng)]);
    return s;
  };
  CurrentTest = TDTest{};
  CurrentTest.Name = "Zem\xECpis";
  CurrentTest.AnswerCount = 4;
  CurrentTest.Exists = true;
  SetQuestionCount(CurrentTest, kQuestions);
  for (int i = 0; i < kQuestions; ++i) {
    TOtazky& q = CurrentTest.Questions[static_cast<size_t>(i)];
    q.Text = sentence(12 + i % 15);
    for (int a = 0; a < 4; ++a) q.Answers[static_cast<size_t>(a)] = sentence(3 + (i + a) % 9);
    q.Correct[static_cast<size_t>(i % 4)] = true;
    if (i % 5 == 0) {
      const QString path = folder + QStringLiteral("/obr%1.jpg").arg(i);
      QImageWriter(path, "jpeg").write(Photo(i));
      q.Picture = path.toStdString();
    }
  }
}

// The jobs as the print action draws them, with the pictures scaled.
struct Replay {
  std::vector<platform::TPrintJob> jobs;
  std::map<std::pair<int, int>, QImage> pictures;  // by size

  void Run() {
    platform::TPrinter& p = platform::Printer();
    for (const platform::TPrintJob& job : jobs) {
      p.Title = job.Title;
      p.Copies = job.Copies;
      p.BeginDoc();
      for (size_t page = 0; page < job.Pages.size(); ++page) {
        if (page > 0) p.NewPage();
        for (const platform::TPrintStep& s : job.Pages[page]) {
          switch (s.kind) {
            case platform::TPrintStep::Text:
              p.SetFont(s.font, s.color);
              p.TextOut(s.x, s.y, s.text);
              break;
            case platform::TPrintStep::Line:
              p.SetPenWidth(s.penWidth);
              p.Line(s.x, s.y, s.x2, s.y2);
              break;
            case platform::TPrintStep::Picture:
              p.Draw(s.x, s.y, pictures.at({s.pictureSize.width(), s.pictureSize.height()}));
              break;
          }
        }
      }
      p.EndDoc();
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  int rounds = 3;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--rounds") == 0) rounds = std::max(1, std::atoi(argv[i + 1]));
  qputenv("QT_QPA_PLATFORM", "offscreen");
  toolkit::TApplication app(argc, argv);
  toolkit::SetTestMode(true);

  QTemporaryDir folder;
  const QString dir = folder.path();
  platform::WriteFileAtomic((dir + QStringLiteral("/jazyk.ini")).toStdString(),
                            *platform::ReadFileBytes(std::string(ZORVIK_DATA_DIR) + "/jazyk.ini"));
  platform::SetProgramDir(dir.toStdString() + "/");
  MakeTest(dir);

  toolkit::Application()->CreateForm(fTisk);
  fTisk->show();
  fTisk->seOtazek->SetMaxValue(kQuestions);
  fTisk->seOtazek->SetValue(kQuestions);
  fTisk->sePVariant->SetValue(kVariants);
  fTisk->cbMOtazky->SetChecked(true);
  fTisk->cbMOdpovedi->SetChecked(true);

  // What the action draws, recorded once at the PDF surface's resolution.
  platform::TQtPrinter probe(dir + QStringLiteral("/probe.pdf"));
  auto recording =
      std::make_unique<platform::TRecordingPrinter>(QSize(probe.PageWidth(), probe.PageHeight()), probe.Resolution());
  platform::TRecordingPrinter* recorded = recording.get();
  platform::SetPrinter(std::move(recording));
  fTisk->bTiskClick();
  Replay replay;
  replay.jobs = recorded->Jobs();
  for (const TOtazky& q : CurrentTest.Questions) {
    if (q.Picture.empty()) continue;
    QImage bitmap = toolkit::LoadPicture(q.Picture);
    genlib::ResampleBitmap(bitmap.width() * 4, bitmap.height() * 4, genlib::rkMitchell, 0, bitmap);
    replay.pictures[{bitmap.width(), bitmap.height()}] = bitmap;
  }

  int round = 0;
  auto freshPdf = [&](const char* what) {
    platform::SetPrinter(std::make_unique<platform::TQtPrinter>(
        dir + QStringLiteral("/%1-%2.pdf").arg(QString::fromLatin1(what)).arg(++round)));
  };
  const double floor = bench::Fastest(rounds, [&] {
    freshPdf("floor");
    replay.Run();
  });
  const double full = bench::Fastest(rounds, [&] {
    freshPdf("print");
    fTisk->bTiskClick();
  });
  size_t pages = 0;
  for (const auto& job : replay.jobs) pages += job.Pages.size();
  std::printf("print action: %d variants of %d questions, %zu jobs, %zu pages\n", kVariants, kQuestions,
              replay.jobs.size(), pages);
  std::printf("  floor (drawing the laid-out pages): %8.3f s\n", floor);
  std::printf("  print action:                       %8.3f s\n", full);
  std::printf("  ratio: %.2f (goal: at most 2)\n", full / floor);
  platform::SetPrinter(nullptr);
  return 0;
}
