#pragma once
// A test document built for a test in a few named steps instead of field by
// field; whatever a step does not name keeps the document's own default.
//
//   TDTest t = TestDocument().Name("Pokus").Answers(2).Grading(kGradingByPercent, 90, 80, 60, 35)
//                  .Question("Kolik je 2+2?", {"4", "5"}, {true, false});

#include <string>
#include <utility>
#include <vector>

#include "model/uDTest.h"

class TestDocument {
 public:
  TestDocument& Name(std::string name) {
    t_.Name = std::move(name);
    return *this;
  }
  // Answers per question, and whether several may be correct.
  TestDocument& Answers(int32_t count, bool multipleCorrect = false) {
    t_.AnswerCount = count;
    t_.MultipleCorrect = multipleCorrect;
    return *this;
  }
  TestDocument& Grading(int32_t mode, int32_t limit1 = 0, int32_t limit2 = 0, int32_t limit3 = 0, int32_t limit4 = 0) {
    t_.GradingMode = mode;
    t_.Limit1 = limit1;
    t_.Limit2 = limit2;
    t_.Limit3 = limit3;
    t_.Limit4 = limit4;
    return *this;
  }
  // Seconds per question and minutes for the whole test; 0 is none.
  TestDocument& Times(int32_t questionSeconds, int32_t testMinutes = 0) {
    t_.QuestionTimeLimit = questionSeconds;
    t_.TestTimeLimit = testMinutes;
    return *this;
  }
  TestDocument& Navigation(bool freeNavigation, bool showCorrectAnswers) {
    t_.FreeNavigation = freeNavigation;
    t_.ShowCorrectAnswers = showCorrectAnswers;
    return *this;
  }
  // Editing asks for this password; an empty one asks for none.
  TestDocument& Password(std::string password) {
    t_.PasswordRequired = !password.empty();
    t_.EditPassword = std::move(password);
    return *this;
  }
  // As the loader leaves a test: it exists, from this file.
  TestDocument& Loaded(std::string fileName = "") {
    t_.Exists = true;
    t_.FileName = std::move(fileName);
    return *this;
  }
  TestDocument& Question(TOtazky question) {
    t_.Questions.push_back(std::move(question));
    return *this;
  }
  TestDocument& Question(std::string text, std::vector<std::string> answers, std::vector<bool> key, int32_t points = 1,
                         std::string picture = "") {
    TOtazky q;
    q.Text = std::move(text);
    q.Picture = std::move(picture);
    q.Points = points;
    q.Answers = std::move(answers);
    q.Correct = std::move(key);
    return Question(std::move(q));
  }

  const TDTest& Document() const { return t_; }
  operator TDTest() const { return t_; }  // NOLINT: a builder stands for its document

 private:
  TDTest t_;
};
