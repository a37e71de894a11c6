// Saves and loads a test of 10,000 questions with 10 answers each and compares
// the load with the floor of any loader: reading the same file's bytes and
// splitting them into lines.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "model/ZCodeFce.h"
#include "platform/files.h"
#include "model/uDTest.h"

namespace {

constexpr int kQuestions = 10000;
constexpr int kAnswers = 10;
constexpr int kRounds = 15;

TDTest BigTest() {
  TDTest t;
  t.Name = "Velk\xFD test";
  t.AnswerCount = kAnswers;
  t.MultipleCorrect = true;
  t.GradingMode = 1;
  t.Limit1 = 90;
  t.Limit2 = 75;
  t.Limit3 = 50;
  t.Limit4 = 30;
  t.QuestionTimeLimit = 60;
  SetQuestionCount(t, kQuestions);
  for (int i = 0; i < kQuestions; ++i) {
    TOtazky& q = t.Questions[static_cast<size_t>(i)];
    q.Text = "Ot\xE1zka \xE8\xEDslo " + std::to_string(i + 1) +
             ": kter\xE9 z n\xE1sleduj\xED"
             "c\xED"
             "ch tvrzen\xED plat\xED?";
    if (i % 10 == 0) q.Picture = "/home/u\xE8itel/Obr\xE1zky/obr" + std::to_string(i) + ".jpg";
    q.Points = 1 + i % 5;
    for (int j = 0; j < kAnswers; ++j) {
      q.Answers[static_cast<size_t>(j)] =
          "Odpov\xEC"
          "d\x9D " +
          std::to_string(j + 1) + " k ot\xE1zce " + std::to_string(i + 1);
      q.Correct[static_cast<size_t>(j)] = (i + j) % 3 == 0;
    }
  }
  return t;
}

double Fastest(const std::function<void()>& work) { return bench::Fastest(kRounds, work); }

std::vector<std::string> SplitLines(const std::string& data) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = data.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.emplace_back(data, start, end - start);
  }
  if (start < data.size()) lines.emplace_back(data, start);
  return lines;
}

}  // namespace

int main() {
  char dir[] = "/tmp/zorvik-bench-XXXXXX";
  if (!::mkdtemp(dir)) return 1;
  const std::string plainPath = std::string(dir) + "/plain.sst";
  const std::string scrambledPath = std::string(dir) + "/scrambled.sst";

  TDTest test = BigTest();
  const double save = Fastest([&] { SaveTest(test, plainPath); });
  test.Scrambled = true;
  SaveTest(test, scrambledPath);

  size_t lineCount = 0;
  const double floor = Fastest([&] { lineCount = SplitLines(*platform::ReadFileBytes(plainPath)).size(); });
  TDTest loaded;
  const double load = Fastest([&] { LoadTest(loaded, plainPath); });
  const double loadScrambled = Fastest([&] { LoadTest(loaded, scrambledPath); });

  const bool intact = QuestionCount(loaded) == kQuestions && loaded.Questions.back().Answers.size() == kAnswers;
  std::printf("test file: %d questions x %d answers, %zu lines, %zu bytes\n", kQuestions, kAnswers, lineCount,
              ReadWholeFile(plainPath).size());
  std::printf("floor (read bytes + split into lines): %8.2f ms\n", floor * 1e3);
  std::printf("LoadTest, plain:                       %8.2f ms  = %5.2f x floor (target <= 5)\n", load * 1e3,
              load / floor);
  std::printf("LoadTest, scrambled:                   %8.2f ms  = %5.2f x floor\n", loadScrambled * 1e3,
              loadScrambled / floor);
  std::printf("SaveTest, plain:                       %8.2f ms  = %5.2f x floor\n", save * 1e3, save / floor);

  std::remove(plainPath.c_str());
  std::remove(scrambledPath.c_str());
  ::rmdir(dir);
  return intact ? 0 : 1;
}
