// The test document: question operations, NewTest and the run copy.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>

#include "model/uDTest.h"
#include "support/TestDocument.h"

namespace {

TOtazky Question(const std::string& text, int32_t points, int32_t answers) {
  TOtazky q;
  q.Text = text;
  q.Picture = "/obr/" + text + ".jpg";
  q.Points = points;
  for (int32_t i = 0; i < answers; ++i) {
    q.Answers.push_back(text + std::to_string(i));
    q.Correct.push_back(i == 0);
  }
  return q;
}

TDTest TestOf(std::initializer_list<std::pair<const char*, int32_t>> questions, int32_t answers = 3) {
  TestDocument t;
  t.Answers(answers);
  for (auto [text, points] : questions) t.Question(Question(text, points, answers));
  return t;
}

std::vector<std::string> Texts(const TDTest& t) {
  std::vector<std::string> out;
  for (const auto& q : t.Questions) out.push_back(q.Text);
  return out;
}

std::vector<int32_t> Points(const TDTest& t) {
  std::vector<int32_t> out;
  for (const auto& q : t.Questions) out.push_back(q.Points);
  return out;
}

void ExpectInvariant(const TDTest& t) {
  for (const auto& q : t.Questions) {
    EXPECT_EQ(q.Answers.size(), static_cast<size_t>(t.AnswerCount));
    EXPECT_EQ(q.Correct.size(), static_cast<size_t>(t.AnswerCount));
  }
}

bool IsEmptyQuestion(const TOtazky& q) {
  return q.Text.empty() && q.Picture.empty() &&
         std::all_of(q.Answers.begin(), q.Answers.end(), [](const std::string& a) { return a.empty(); }) &&
         std::none_of(q.Correct.begin(), q.Correct.end(), [](bool c) { return c; });
}

// The process-wide records start empty and are reset around every test here.
class RunFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    CurrentTest = TDTest();
    RunTest = TDTest();
  }
  void TearDown() override { SetUp(); }
};

}  // namespace

TEST(Globals, StartEmpty) {
  EXPECT_EQ(CurrentTest, TDTest());
  EXPECT_EQ(RunTest, TDTest());
  EXPECT_FALSE(CurrentTest.Exists);
  EXPECT_EQ(CurrentTest.AnswerCount, 0);
  EXPECT_EQ(RunQuestionCount, 0);
  EXPECT_FALSE(ShuffleQuestions);
  EXPECT_FALSE(ShuffleAnswers);
  EXPECT_EQ(EnteredPassword, "");
}

TEST(QuestionCountTest, SetQuestionCountGrowsWithEmptyQuestionsAndCuts) {
  TDTest t = TestOf({{"A", 2}, {"B", 3}});
  SetQuestionCount(t, 4);
  EXPECT_EQ(QuestionCount(t), 4);
  EXPECT_EQ(t.Questions[1], Question("B", 3, 3));
  EXPECT_TRUE(IsEmptyQuestion(t.Questions[3]));
  EXPECT_EQ(t.Questions[3].Points, 0);
  ExpectInvariant(t);

  SetQuestionCount(t, 1);
  EXPECT_EQ(Texts(t), std::vector<std::string>{"A"});
  SetQuestionCount(t, 0);
  EXPECT_EQ(QuestionCount(t), 0);
  SetQuestionCount(t, -3);
  EXPECT_EQ(QuestionCount(t), 0);
}

TEST(QuestionCountTest, ResizeAnswersKeepsWhatFitsAndPadsWithEmpty) {
  TDTest t = TestOf({{"A", 1}, {"B", 1}}, 3);
  t.Questions[1].Correct = {false, true, true};
  t.AnswerCount = 5;
  ResizeAnswers(t);
  ExpectInvariant(t);
  for (const auto& q : t.Questions) {
    EXPECT_EQ(q.Answers[0], q.Text + "0");
    EXPECT_EQ(q.Answers[2], q.Text + "2");
    EXPECT_EQ(q.Answers[3], "");
    EXPECT_EQ(q.Answers[4], "");
    EXPECT_FALSE(q.Correct[3]);
    EXPECT_FALSE(q.Correct[4]);
  }
  EXPECT_EQ(t.Questions[1].Correct, (std::vector<bool>{false, true, true, false, false}));

  t.AnswerCount = 3;
  ResizeAnswers(t);
  EXPECT_EQ(t.Questions[0], Question("A", 1, 3));
  EXPECT_EQ(t.Questions[1].Correct, (std::vector<bool>{false, true, true}));
}

TEST(QuestionEditing, AppendQuestionAddsAnEmptyQuestionWithZeroPoints) {
  TDTest t = TestOf({{"A", 5}}, 4);
  AppendQuestion(t);
  ASSERT_EQ(QuestionCount(t), 2);
  EXPECT_TRUE(IsEmptyQuestion(t.Questions[1]));
  EXPECT_EQ(t.Questions[1].Points, 0);
  ExpectInvariant(t);
}

TEST(QuestionEditing, InsertQuestionKeepsThePointsOfTheSlot) {
  TDTest t = TestOf({{"A", 2}, {"B", 3}});
  InsertQuestion(t, 0);
  EXPECT_EQ(Texts(t), (std::vector<std::string>{"", "A", "B"}));
  EXPECT_EQ(Points(t), (std::vector<int32_t>{2, 2, 3}));
  EXPECT_TRUE(IsEmptyQuestion(t.Questions[0]));
  EXPECT_EQ(t.Questions[1], Question("A", 2, 3));
  ExpectInvariant(t);

  InsertQuestion(t, 2);
  EXPECT_EQ(Texts(t), (std::vector<std::string>{"", "A", "", "B"}));
  EXPECT_EQ(Points(t), (std::vector<int32_t>{2, 2, 3, 3}));
}

TEST(QuestionEditing, IndexOutsideTheQuestionsChangesNothing) {
  const TDTest before = TestOf({{"A", 2}, {"B", 3}});
  for (int32_t index : {-1, 2, 100, INT32_MIN, INT32_MAX}) {
    TDTest t = before;
    InsertQuestion(t, index);
    EXPECT_EQ(t, before) << index;
    DeleteQuestion(t, index);
    EXPECT_EQ(t, before) << index;
  }
  TDTest empty;
  InsertQuestion(empty, 0);
  DeleteQuestion(empty, 0);
  EXPECT_EQ(empty, TDTest());
}

TEST(QuestionEditing, DeleteQuestionMovesTheRestUp) {
  TDTest t = TestOf({{"A", 1}, {"B", 2}, {"C", 3}});
  DeleteQuestion(t, 0);
  EXPECT_EQ(t.Questions, (std::vector<TOtazky>{Question("B", 2, 3), Question("C", 3, 3)}));
  DeleteQuestion(t, 1);
  EXPECT_EQ(Texts(t), std::vector<std::string>{"B"});
  DeleteQuestion(t, 0);
  EXPECT_EQ(QuestionCount(t), 0);
}

TEST(QuestionEditing, OperationsLeaveChangedAlone) {
  for (bool changed : {false, true}) {
    TDTest t = TestOf({{"A", 1}, {"B", 2}});
    t.Changed = changed;
    AppendQuestion(t);
    InsertQuestion(t, 1);
    DeleteQuestion(t, 0);
    SetQuestionCount(t, 5);
    ResizeAnswers(t);
    EXPECT_EQ(t.Changed, changed);
  }
}

TEST_F(RunFixture, NewTestResetsTheHeaderAndTheFirstQuestionOnly) {
  CurrentTest = TestOf({{"A", 7}, {"B", 8}}, 4);
  TDTest& t = CurrentTest;
  t.Name = "Stara";
  t.MultipleCorrect = true;
  t.GradingMode = 1;
  t.Limit1 = 9;
  t.Limit2 = 8;
  t.Limit3 = 7;
  t.Limit4 = 6;
  t.QuestionTimeLimit = 99;
  t.TestTimeLimit = 15;
  t.FileName = "/tmp/a.sst";
  t.Scrambled = true;
  t.PasswordRequired = true;
  t.EditPassword = "heslo";
  t.ShowCorrectAnswers = false;
  t.FreeNavigation = true;
  const TOtazky second = t.Questions[1];

  NewTest();

  EXPECT_EQ(t.Name, "");
  EXPECT_FALSE(t.MultipleCorrect);
  EXPECT_EQ(t.QuestionTimeLimit, 30);
  EXPECT_TRUE(t.Exists);
  EXPECT_TRUE(t.Changed);
  EXPECT_EQ(t.FileName, "");
  EXPECT_FALSE(t.Scrambled);
  EXPECT_FALSE(t.PasswordRequired);
  EXPECT_EQ(t.EditPassword, "");
  EXPECT_TRUE(t.ShowCorrectAnswers);
  EXPECT_TRUE(IsEmptyQuestion(t.Questions[0]));
  EXPECT_EQ(t.Questions[0].Points, 1);
  // Left for the properties screen.
  EXPECT_EQ(t.AnswerCount, 4);
  EXPECT_TRUE(t.FreeNavigation);
  EXPECT_EQ(t.GradingMode, 1);
  EXPECT_EQ(std::vector<int32_t>({t.Limit1, t.Limit2, t.Limit3, t.Limit4}), std::vector<int32_t>({9, 8, 7, 6}));
  EXPECT_EQ(t.TestTimeLimit, 15);
  EXPECT_EQ(t.Questions[1], second);
  ExpectInvariant(t);
}

TEST_F(RunFixture, NewTestWithoutQuestionsSetsTheHeader) {
  NewTest();
  EXPECT_TRUE(CurrentTest.Exists);
  EXPECT_EQ(CurrentTest.QuestionTimeLimit, 30);
  EXPECT_EQ(QuestionCount(CurrentTest), 0);
}

namespace {
void FillCurrentTest() {
  CurrentTest = TestOf({{"A", 1}, {"B", 2}, {"C", 3}, {"D", 4}, {"E", 5}}, 4);
  CurrentTest.Name = "Pokus";
  CurrentTest.MultipleCorrect = true;
  CurrentTest.QuestionTimeLimit = 45;
  CurrentTest.GradingMode = 2;
  CurrentTest.TestTimeLimit = 10;
  CurrentTest.FreeNavigation = true;
  CurrentTest.Questions[2].Correct = {true, false, true, false};
}
}  // namespace

TEST_F(RunFixture, PrepareRunInOrderTakesTheFirstQuestions) {
  FillCurrentTest();
  PrepareRun(3, false, false);
  EXPECT_EQ(RunTest.Name, "Pokus");
  EXPECT_EQ(RunTest.AnswerCount, 4);
  EXPECT_TRUE(RunTest.MultipleCorrect);
  EXPECT_EQ(RunTest.QuestionTimeLimit, 45);
  // No other header field is written.
  EXPECT_EQ(RunTest.GradingMode, 0);
  EXPECT_EQ(RunTest.TestTimeLimit, 0);
  EXPECT_FALSE(RunTest.FreeNavigation);
  EXPECT_FALSE(RunTest.Exists);
  ASSERT_EQ(QuestionCount(RunTest), 3);
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(RunTest.Questions[i], CurrentTest.Questions[i]);

  PrepareRun(0, true, true);
  EXPECT_EQ(QuestionCount(RunTest), 0);
}

TEST_F(RunFixture, PrepareRunShuffledTakesDistinctQuestions) {
  FillCurrentTest();
  std::set<std::vector<std::string>> orders;
  for (int run = 0; run < 50; ++run) {
    PrepareRun(5, true, false);
    ASSERT_EQ(QuestionCount(RunTest), 5);
    std::vector<std::string> texts = Texts(RunTest);
    orders.insert(texts);
    std::sort(texts.begin(), texts.end());
    EXPECT_EQ(texts, (std::vector<std::string>{"A", "B", "C", "D", "E"}));
    for (const auto& q : RunTest.Questions) {
      auto it = std::find_if(CurrentTest.Questions.begin(), CurrentTest.Questions.end(),
                             [&](const TOtazky& s) { return s.Text == q.Text; });
      EXPECT_EQ(q, *it);
    }

    PrepareRun(2, true, false);
    ASSERT_EQ(QuestionCount(RunTest), 2);
    EXPECT_NE(RunTest.Questions[0].Text, RunTest.Questions[1].Text);
  }
  // 120 orders are possible; fifty draws giving one order means no shuffling.
  EXPECT_GT(orders.size(), 1u);
}

TEST_F(RunFixture, PrepareRunShuffledAnswersKeepTheirFlags) {
  FillCurrentTest();
  const TDTest source = CurrentTest;
  std::set<std::vector<std::string>> orders;
  for (int run = 0; run < 50; ++run) {
    PrepareRun(5, false, true);
    ASSERT_EQ(QuestionCount(RunTest), 5);
    ExpectInvariant(RunTest);
    for (size_t i = 0; i < 5; ++i) {
      const TOtazky& q = RunTest.Questions[i];
      const TOtazky& s = source.Questions[i];
      EXPECT_EQ(q.Text, s.Text);
      EXPECT_EQ(q.Picture, s.Picture);
      EXPECT_EQ(q.Points, s.Points);
      std::multiset<std::pair<std::string, bool>> got, want;
      for (size_t j = 0; j < q.Answers.size(); ++j) got.insert({q.Answers[j], q.Correct[j]});
      for (size_t j = 0; j < s.Answers.size(); ++j) want.insert({s.Answers[j], s.Correct[j]});
      EXPECT_EQ(got, want);
      orders.insert(q.Answers);
    }
  }
  EXPECT_GT(orders.size(), 5u);
  // The run copy owns its answers: the current test keeps its order.
  EXPECT_EQ(CurrentTest, source);
}

TEST_F(RunFixture, PrepareRunAboveTheQuestionCountKeepsTheRunCopy) {
  FillCurrentTest();
  PrepareRun(2, false, false);
  const TDTest before = RunTest;
  PrepareRun(6, true, true);
  EXPECT_EQ(RunTest, before);
  PrepareRun(-1, false, false);
  EXPECT_EQ(RunTest, before);
}
