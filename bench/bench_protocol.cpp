// The evaluation screen's protocol built for runs of 2,000 and 20,000
// questions of four answers: the larger should cost about ten times the
// smaller (linear), and well under a second.
#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "BenchTiming.h"
#include "model/uDApp.h"
#include "model/uDTest.h"
#include "platform/appdir.h"
#include "screens/uHodnoceni.h"
#include "screens/uZTest.h"
#include "toolkit/Toolkit.h"

namespace {

void MakeRun(int n) {
  CurrentTest = TDTest{};
  CurrentTest.GradingMode = 2;
  CurrentTest.ShowCorrectAnswers = true;
  RunTest = TDTest{};
  RunTest.AnswerCount = 4;
  SetQuestionCount(RunTest, n);
  RunResult = TVysledky{};
  for (int i = 0; i < n; ++i) {
    TOtazky& q = RunTest.Questions[static_cast<size_t>(i)];
    q.Text = "Ot\xE1zka " + std::to_string(i + 1) + ": kolik je " + std::to_string(i) + " + 1?";
    for (int j = 0; j < 4; ++j) q.Answers[static_cast<size_t>(j)] = std::to_string(i + j);
    q.Correct[1] = true;
    TVOtz v;
    v.Correct = i % 3 != 0;
    v.Marks = {false, v.Correct, !v.Correct, false};
    RunResult.Answers.push_back(v);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
  toolkit::TApplication app(argc, argv);
  // Captions from the shipped table beside the built programs.
  platform::SetProgramDir(ZORVIK_BIN_DIR);
  // Shown, as the pupil sees it: the view follows every change of the text.
  TfHodnoceni form;
  form.show();

  double seconds[2];
  const int sizes[2] = {2000, 20000};
  for (int k = 0; k < 2; ++k) {
    MakeRun(sizes[k]);
    seconds[k] = bench::Fastest(3, [&] { form.PripravVystup(); });

    std::printf("protocol of %6d questions: %8.1f ms, %d lines\n", sizes[k], seconds[k] * 1e3,
                form.reVystup->LineCount());

    // Not part of the figure above: the view lays out what lies below it
    // while the program waits for input, and "Uprav info" then rewrites the
    // header of the laid-out text.
    QElapsedTimer waited;
    waited.start();
    const QTextDocument& doc = *form.reVystup->document();
    while (doc.lastBlock().layout()->lineCount() == 0 && waited.elapsed() < 60000) QCoreApplication::processEvents();
    const double layout = waited.nsecsElapsed() * 1e-9;
    const double upravInfo = bench::Fastest(3, [&] { form.bPridatInfClick(); });
    std::printf("  then laid out while waiting: %8.1f ms; \"Uprav info\": %6.1f ms\n", layout * 1e3, upravInfo * 1e3);
  }
  const double ratio = seconds[1] / seconds[0];
  std::printf("20,000 against 2,000: %.1f x (linear is 10 x; at most 12 x)\n", ratio);
  std::printf("20,000 questions: %s a second\n", seconds[1] < 1.0 ? "under" : "OVER");
  return ratio <= 12.0 && seconds[1] < 1.0 ? 0 : 1;
}
