// The run parameters: what every way of closing stores for the run.
#include "support/ScreenFixture.h"
#include "screens/uPZTest.h"

using namespace toolkit;

namespace {

class RunParameters : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    CurrentTest.AnswerCount = 2;
    SetQuestionCount(CurrentTest, 25);
    RunQuestionCount = 0;
    fPZTest = new TfPZTest();
  }

  // Shows the dialog modally; the pupil types the text (unless null) and presses Enter.
  void RunWith(const char* typed) {
    TForm::QueueModal([typed](TForm& form) {
      auto* count = form.findChild<TSpinEdit*>(QStringLiteral("sePOtz"));
      if (typed) {
        count->Editor()->selectAll();
        count->Editor()->del();
        QTest::keyClicks(count->Editor(), QString::fromLatin1(typed));
      }
      QTest::keyClick(count->Editor(), Qt::Key_Return);
    });
    fPZTest->ShowModal();
    EXPECT_FALSE(fPZTest->isVisible());
  }
};

TEST_F(RunParameters, ShowsAllQuestionsAndStoresWhatEnterConfirms) {
  TForm::QueueModal([](TForm& form) {
    auto* count = form.findChild<TSpinEdit*>(QStringLiteral("sePOtz"));
    EXPECT_EQ(count->Text(), "25");
    EXPECT_EQ(count->MinValue(), 2);
    EXPECT_EQ(count->MaxValue(), 25);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Parametry testu"));
    EXPECT_EQ(form.findChild<TLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("Počet otázek:"));
    EXPECT_EQ(form.findChild<TButton*>(QStringLiteral("Button1"))->text(), QStringLiteral("Pokračovat"));
    EXPECT_TRUE(form.findChild<TCheckBox*>(QStringLiteral("cbMichatOtz"))->isChecked());
    EXPECT_TRUE(form.findChild<TCheckBox*>(QStringLiteral("cbMichatOdp"))->isChecked());
    QTest::keyClick(count->Editor(), Qt::Key_Return);
  });
  fPZTest->ShowModal();
  EXPECT_EQ(TForm::ShownModals(), std::vector<std::string>{"fPZTest"});
  EXPECT_EQ(RunQuestionCount, 25);
  EXPECT_TRUE(ShuffleQuestions);
  EXPECT_TRUE(ShuffleAnswers);
}

TEST_F(RunParameters, EveryTypedCountEndsWithinTwoToN) {
  const std::pair<const char*, int32_t> cases[] = {{"40", 25}, {"1", 2}, {"", 25}, {"-", 2}, {"7", 7}};
  for (const auto& [typed, expected] : cases) {
    RunWith(typed);
    EXPECT_EQ(RunQuestionCount, expected) << "typed '" << typed << "'";
  }
  // A text that is no whole number, pasted past the typing filter.
  TForm::QueueModal([](TForm& form) {
    form.findChild<TSpinEdit*>(QStringLiteral("sePOtz"))->SetText("abc");
    form.findChild<TButton*>(QStringLiteral("Button1"))->click();
  });
  fPZTest->ShowModal();
  EXPECT_EQ(RunQuestionCount, 2);
}

TEST_F(RunParameters, TheCloseBoxStoresTooAndTheChecksCarryOver) {
  TForm::QueueModal([](TForm& form) {
    form.findChild<TSpinEdit*>(QStringLiteral("sePOtz"))->SetText("12");
    form.findChild<TCheckBox*>(QStringLiteral("cbMichatOtz"))->click();
    form.Close();
  });
  fPZTest->ShowModal();
  EXPECT_EQ(RunQuestionCount, 12);
  EXPECT_FALSE(ShuffleQuestions);
  EXPECT_TRUE(ShuffleAnswers);

  // Esc cannot cancel: the dialog has no cancel button.
  TForm::QueueModal([](TForm& form) {
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_TRUE(form.isVisible());
    auto* count = form.findChild<TSpinEdit*>(QStringLiteral("sePOtz"));
    // The number is reset to N at every showing; the checks are as left.
    EXPECT_EQ(count->Text(), "25");
    EXPECT_FALSE(form.findChild<TCheckBox*>(QStringLiteral("cbMichatOtz"))->isChecked());
  });
  fPZTest->ShowModal();
  EXPECT_EQ(RunQuestionCount, 25);
  EXPECT_FALSE(ShuffleQuestions);
}

}  // namespace
