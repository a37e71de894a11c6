#include "uDTest.h"

#include <algorithm>
#include <chrono>
#include <random>
#include <utility>

TDTest CurrentTest;
TDTest RunTest;
int32_t RunQuestionCount = 0;
bool ShuffleQuestions = false;
bool ShuffleAnswers = false;
std::string EnteredPassword;

namespace {

size_t AnswerSlots(const TDTest& test) { return static_cast<size_t>(std::max<int32_t>(test.AnswerCount, 0)); }

TOtazky EmptyQuestion(const TDTest& test, int32_t points) {
  TOtazky q;
  q.Points = points;
  q.Answers.assign(AnswerSlots(test), std::string());
  q.Correct.assign(AnswerSlots(test), false);
  return q;
}

bool IsQuestionIndex(const TDTest& test, int32_t index) {
  return index >= 0 && index < QuestionCount(test);
}

}  // namespace

int32_t QuestionCount(const TDTest& test) { return static_cast<int32_t>(test.Questions.size()); }

void SetQuestionCount(TDTest& test, int32_t n) {
  test.Questions.resize(static_cast<size_t>(std::max<int32_t>(n, 0)));
  ResizeAnswers(test);
}

void ResizeAnswers(TDTest& test) {
  const size_t slots = AnswerSlots(test);
  for (TOtazky& q : test.Questions) {
    q.Answers.resize(slots);
    q.Correct.resize(slots, false);
  }
}

void AppendQuestion(TDTest& test) { test.Questions.push_back(EmptyQuestion(test, 0)); }

void InsertQuestion(TDTest& test, int32_t index) {
  if (!IsQuestionIndex(test, index)) return;
  // The empty question keeps the points of the slot it takes over, that is of
  // the question that moves down from there.
  const int32_t points = test.Questions[static_cast<size_t>(index)].Points;
  test.Questions.insert(test.Questions.begin() + index, EmptyQuestion(test, points));
}

void DeleteQuestion(TDTest& test, int32_t index) {
  if (!IsQuestionIndex(test, index)) return;
  test.Questions.erase(test.Questions.begin() + index);
  ResizeAnswers(test);
}

void NewTest() {
  TDTest& t = CurrentTest;
  t.Name.clear();
  t.MultipleCorrect = false;
  t.QuestionTimeLimit = 30;
  t.Exists = true;
  t.Changed = true;
  t.FileName.clear();
  t.Scrambled = false;
  t.PasswordRequired = false;
  t.EditPassword.clear();
  t.ShowCorrectAnswers = true;
  if (t.Questions.empty()) return;  // the properties screen always sets one question first
  t.Questions.front() = EmptyQuestion(t, 1);
}

void PrepareRun(int32_t n, bool shuffleQuestions, bool shuffleAnswers) {
  // Reseeded on every call so that each run and each printed variant draws afresh;
  // the counter keeps two calls within one clock tick apart.
  static uint64_t calls = 0;
  const auto now = static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
  std::seed_seq seed{static_cast<uint32_t>(now), static_cast<uint32_t>(now >> 32), static_cast<uint32_t>(++calls)};
  std::mt19937 rng(seed);
  auto draw = [&rng](size_t left) { return std::uniform_int_distribution<size_t>(0, left - 1)(rng); };

  const TDTest& source = CurrentTest;
  if (n < 0 || n > QuestionCount(source)) return;
  const auto count = static_cast<size_t>(n);

  RunTest.Name = source.Name;
  RunTest.AnswerCount = source.AnswerCount;
  RunTest.MultipleCorrect = source.MultipleCorrect;
  RunTest.QuestionTimeLimit = source.QuestionTimeLimit;
  SetQuestionCount(RunTest, n);

  if (shuffleQuestions) {
    std::vector<size_t> pool(source.Questions.size());
    for (size_t i = 0; i < pool.size(); ++i) pool[i] = i;
    size_t left = pool.size();
    for (size_t k = 0; k < count; ++k) {
      const size_t r = draw(left);
      RunTest.Questions[k] = source.Questions[pool[r]];
      pool[r] = pool[--left];
    }
  } else {
    std::copy_n(source.Questions.begin(), count, RunTest.Questions.begin());
  }
  ResizeAnswers(RunTest);

  if (!shuffleAnswers) return;
  // Positions are drawn without repetition and exchanged with position j as
  // the answers stand at that moment; an answer and its flag move together.
  const size_t slots = AnswerSlots(RunTest);
  std::vector<size_t> pool(slots);
  for (TOtazky& q : RunTest.Questions) {
    for (size_t i = 0; i < slots; ++i) pool[i] = i;
    size_t left = slots;
    for (size_t j = 0; j < slots; ++j) {
      const size_t r = draw(left);
      const size_t g = pool[r];
      std::swap(q.Answers[j], q.Answers[g]);
      std::vector<bool>::swap(q.Correct[j], q.Correct[g]);
      pool[r] = pool[--left];
    }
  }
}
