// The test-taking screen driven as a pupil drives it: the three navigation
// modes, the check rule, the feedback colours, both countdowns (their ticks
// called, never waited for), the jump box, pictures and closing mid-run.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPalette>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/ScreenFixture.h"
#include "platform/qtgui/localclock.h"
#include "screens/uHodnoceni.h"
#include "screens/uMenu.h"
#include "screens/uPZTest.h"
#include "screens/uZTest.h"

using namespace toolkit;
using testsupport::ReadBytes;
using testsupport::WriteBytes;

namespace {

const QColor kGreen(0, 128, 0);
const QColor kRed(255, 0, 0);
const QColor kYellow(255, 255, 0);

QColor ButtonFace() { return QApplication::palette().color(QPalette::Button); }
QColor WindowText() { return QPalette().color(QPalette::WindowText); }

enum class Mode { Forward, Free, Feedback };

// n numbered questions; keys[q] is the key of question q (questions beyond the
// list have the first answer correct).
void UseTest(int n, int answers, bool multiple, Mode mode, const std::vector<std::vector<bool>>& keys = {}) {
  CurrentTest = TDTest{};
  CurrentTest.Name = "Test";
  CurrentTest.Exists = true;
  CurrentTest.AnswerCount = answers;
  CurrentTest.MultipleCorrect = multiple;
  CurrentTest.FreeNavigation = mode == Mode::Free;
  CurrentTest.ShowCorrectAnswers = mode != Mode::Forward;
  for (int q = 0; q < n; ++q) {
    std::vector<bool> key(static_cast<size_t>(answers), false);
    if (static_cast<size_t>(q) < keys.size()) {
      key = keys[q];
    } else {
      key[0] = true;
    }
    CurrentTest.Questions.push_back(NumberedQuestion(q + 1, key));
  }
  RunQuestionCount = n;
  ShuffleQuestions = false;
  ShuffleAnswers = false;
}

class TestTaking : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    RunResult = TVysledky{};
    ScreenTest::Start();
    f = fZTest;
  }

  void TearDown() override {
    if (f->isVisible()) f->Close();
    ScreenTest::TearDown();
  }

  void Start() {
    f->show();
    ASSERT_TRUE(f->isVisible());
  }

  QAbstractButton* Box(int slot) { return f->findChild<QAbstractButton*>(QStringLiteral("AnswerBox%1").arg(slot)); }
  TLabel* Answer(int slot) { return f->findChild<TLabel*>(QStringLiteral("AnswerLabel%1").arg(slot)); }
  TButton* Button(const char* name) { return f->findChild<TButton*>(QString::fromLatin1(name)); }
  TLabel* Label(const char* name) { return f->findChild<TLabel*>(QString::fromLatin1(name)); }
  void Click(const char* name) { Button(name)->click(); }
  QString Shown(const char* name) { return Label(name)->text(); }
  // The pupil types into the jump box, one key at a time.
  void Type(const QString& keys) { QTest::keyClicks(f->seCOtazky->Editor(), keys); }
  void Mark(int slot) { Box(slot)->click(); }
  void Tick(int seconds = 1) {
    for (int i = 0; i < seconds; ++i) f->tCNO->Timer();
  }
  void TickTest(int seconds) {
    for (int i = 0; i < seconds; ++i) f->tCNT->Timer();
  }

  TfZTest* f = nullptr;
};

TEST_F(TestTaking, ForwardModeChecksSilentlyAndMovesOnlyForward) {
  UseTest(3, 4, false, Mode::Forward);
  Start();
  EXPECT_EQ(f->windowTitle(), QStringLiteral("Test"));
  EXPECT_EQ(Shown("lCislo"), QStringLiteral("1/3"));
  EXPECT_EQ(Shown("lOtazka"), QStringLiteral("Otázka 1"));
  EXPECT_EQ(Button("bDalsi")->text(), QStringLiteral("Další >>>"));
  EXPECT_EQ(Button("bPredchozi")->text(), QStringLiteral("<<< Předchozí"));
  EXPECT_EQ(Button("bKonec")->text(), QStringLiteral("Dokončit"));
  EXPECT_FALSE(Button("bPredchozi")->isEnabled());
  EXPECT_FALSE(f->seCOtazky->isEnabled());
  EXPECT_EQ(Shown("lCas"), QStringLiteral("---"));
  EXPECT_EQ(Shown("lCasT"), QStringLiteral("---"));
  // Lettered rows, radio buttons for one correct answer, texts beside them.
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(qobject_cast<QRadioButton*>(Box(i)));
    EXPECT_EQ(Box(i)->text(), QString(QChar(u'a' + i)) + QStringLiteral(")"));
    EXPECT_EQ(Answer(i)->text(), QStringLiteral("1.%1").arg(i + 1));
    EXPECT_FALSE(Box(i)->isChecked());
  }

  Mark(0);  // right
  Click("bDalsi");
  EXPECT_EQ(Shown("lCislo"), QStringLiteral("2/3"));
  EXPECT_EQ(Answer(2)->text(), QStringLiteral("2.3"));
  EXPECT_FALSE(Label("lSS")->isVisible());
  for (int i = 0; i < 4; ++i) EXPECT_FALSE(Box(i)->isChecked());
  EXPECT_FALSE(Button("bPredchozi")->isEnabled());
  Mark(1);  // wrong
  Click("bDalsi");
  EXPECT_EQ(Shown("lCislo"), QStringLiteral("3/3"));
  EXPECT_FALSE(Button("bDalsi")->isEnabled());
  Click("bDalsi");
  EXPECT_EQ(Shown("lCislo"), QStringLiteral("3/3"));

  Mark(0);
  // The evaluation opens over the finished run, with both countdowns stopped; closing it closes the run.
  TForm::QueueModal([&](TForm& evaluation) {
    EXPECT_EQ(evaluation.objectName(), QStringLiteral("fHodnoceni"));
    EXPECT_TRUE(f->isVisible());
    EXPECT_FALSE(Button("bDalsi")->isEnabled());
    EXPECT_FALSE(f->tCNO->Running());
    EXPECT_FALSE(f->tCNT->Running());
  });
  Click("bKonec");
  EXPECT_EQ(TForm::ShownModals(), std::vector<std::string>{"fHodnoceni"});
  EXPECT_FALSE(f->isVisible());
  ASSERT_EQ(RunResult.Answers.size(), 3u);
  EXPECT_TRUE(RunResult.Answers[0].Correct);
  EXPECT_EQ(RunResult.Answers[0].Marks, (std::vector<bool>{true, false, false, false}));
  EXPECT_FALSE(RunResult.Answers[1].Correct);
  EXPECT_EQ(RunResult.Answers[1].Marks, (std::vector<bool>{false, true, false, false}));
  EXPECT_TRUE(RunResult.Answers[2].Correct);
  // The rows go with the window; the next run makes its own.
  EXPECT_EQ(Box(0), nullptr);
  EXPECT_EQ(Answer(0), nullptr);
}

// A double click on "Další >>>" answers one question: its second click would
// land on the next question, which the pupil has not seen yet.
TEST_F(TestTaking, TheSecondClickOfADoubleClickOnDalsiIsDropped) {
  UseTest(5, 2, false, Mode::Forward);
  Start();
  QApplication::setActiveWindow(f);
  TButton* next = Button("bDalsi");
  auto at = [&] { return next->mapTo(f, next->rect().center()); };
  // Single clicks, however quick, each move on.
  QTest::mouseClick(f->windowHandle(), Qt::LeftButton, {}, at());
  QTest::mouseClick(f->windowHandle(), Qt::LeftButton, {}, at());
  EXPECT_EQ(Shown("lCislo"), QStringLiteral("3/5"));

  Mark(0);
  QTest::mouseDClick(f->windowHandle(), Qt::LeftButton, {}, at());
  EXPECT_EQ(Shown("lCislo"), QStringLiteral("4/5"));
  EXPECT_TRUE(RunResult.Answers[2].Correct);
  EXPECT_FALSE(RunResult.Answers[3].Correct);
  EXPECT_EQ(RunResult.Answers[3].Marks, (std::vector<bool>{false, false}));

  // The answers take double clicks as before.
  QTest::mouseDClick(f->windowHandle(), Qt::LeftButton, {}, Box(0)->mapTo(f, Box(0)->rect().center()));
  EXPECT_TRUE(Box(0)->isChecked());
  QTest::mouseClick(f->windowHandle(), Qt::LeftButton, {}, at());
  EXPECT_EQ(Shown("lCislo"), QStringLiteral("5/5"));
  EXPECT_TRUE(RunResult.Answers[3].Correct);
}

TEST_F(TestTaking, ExactMatchWithoutPartialCreditForCheckBoxesAndRadioButtons) {
  // Check boxes: a key of two answers, and a key of none.
  UseTest(6, 3, true, Mode::Forward,
          {{true, false, true},
           {true, false, true},
           {true, false, true},
           {false, false, false},
           {false, false, false},
           {true, false, true}});
  Start();
  EXPECT_TRUE(qobject_cast<QCheckBox*>(Box(0)));
  auto answer = [&](std::vector<int> marks) {
    for (int m : marks) Mark(m);
    if (Button("bDalsi")->isEnabled()) Click("bDalsi");
    else Click("bKonec");
  };
  answer({0, 2});     // exactly the key
  answer({0});        // a correct answer left out
  answer({0, 1, 2});  // one too many
  answer({});         // no key, no mark
  answer({1});        // no key, one mark
  answer({2, 0});     // the key, marked in another order
  std::vector<bool> verdicts;
  for (const TVOtz& v : RunResult.Answers) verdicts.push_back(v.Correct);
  EXPECT_EQ(verdicts, (std::vector<bool>{true, false, false, true, false, true}));

  // Radio buttons: one mark, right only on the key.
  UseTest(3, 3, false, Mode::Forward, {{false, true, false}, {false, true, false}, {false, true, false}});
  Start();
  Mark(1);
  Click("bDalsi");
  Mark(0);
  Mark(2);  // the group keeps one: the last marked
  EXPECT_FALSE(Box(0)->isChecked());
  Click("bDalsi");
  Click("bKonec");  // nothing marked
  verdicts.clear();
  for (const TVOtz& v : RunResult.Answers) verdicts.push_back(v.Correct);
  EXPECT_EQ(verdicts, (std::vector<bool>{true, false, false}));
  EXPECT_EQ(RunResult.Answers[1].Marks, (std::vector<bool>{false, false, true}));
}

TEST_F(TestTaking, FreeModeGoesBackRestoresMarksAndJumps) {
  UseTest(20, 2, false, Mode::Free);
  CurrentTest.QuestionTimeLimit = 30;
  Start();
  EXPECT_EQ(Button("bDalsi")->text(), QStringLiteral("Další >>>"));
  EXPECT_FALSE(Button("bPredchozi")->isEnabled());
  EXPECT_TRUE(f->seCOtazky->isEnabled());
  EXPECT_EQ(f->seCOtazky->Text(), "1");
  Mark(1);
  Click("bDalsi");
  EXPECT_TRUE(Button("bPredchozi")->isEnabled());
  EXPECT_EQ(f->seCOtazky->Text(), "2");
  Mark(0);
  Tick(20);
  EXPECT_EQ(Shown("lCas"), QStringLiteral("10"));

  // Back: the question left is checked, the one returned to shows its marks and a full countdown.
  Click("bPredchozi");
  EXPECT_EQ(Shown("lCislo"), QStringLiteral("1/20"));
  EXPECT_FALSE(Button("bPredchozi")->isEnabled());
  EXPECT_TRUE(Box(1)->isChecked());
  EXPECT_EQ(Shown("lCas"), QStringLiteral("30"));
  EXPECT_EQ(f->lCas->Color(), ButtonFace());
  EXPECT_TRUE(RunResult.Answers[1].Correct);
  EXPECT_FALSE(RunResult.Answers[0].Correct);
  // The mark changed on return counts when the question is left again.
  Mark(0);
  Click("bDalsi");
  EXPECT_TRUE(RunResult.Answers[0].Correct);
  EXPECT_TRUE(Box(0)->isChecked());

  // Typing 1 and then 2 jumps to question 1 and then to 12, checking the question left each time.
  f->seCOtazky->Editor()->selectAll();
  Type(QStringLiteral("1"));
  EXPECT_EQ(Shown("lCislo"), QStringLiteral("1/20"));
  Type(QStringLiteral("2"));
  EXPECT_EQ(Shown("lCislo"), QStringLiteral("12/20"));
  EXPECT_EQ(Shown("lOtazka"), QStringLiteral("Otázka 12"));
  EXPECT_EQ(f->seCOtazky->Text(), "12");
  Mark(0);
  // A number beyond the run does nothing.
  f->seCOtazky->SetText("25");
  EXPECT_EQ(Shown("lCislo"), QStringLiteral("12/20"));
  f->seCOtazky->SetText("20");
  EXPECT_EQ(Shown("lCislo"), QStringLiteral("20/20"));
  EXPECT_TRUE(RunResult.Answers[11].Correct);
  EXPECT_FALSE(Button("bDalsi")->isEnabled());
  // Clearing the box goes to the first question.
  f->seCOtazky->SetText("");
  EXPECT_EQ(f->seCOtazky->Text(), "1");
  EXPECT_EQ(Shown("lCislo"), QStringLiteral("1/20"));

  Click("bKonec");
  EXPECT_FALSE(f->isVisible());
  // Questions never shown count as wrong, with no marks.
  EXPECT_FALSE(RunResult.Answers[5].Correct);
  EXPECT_EQ(RunResult.Answers[5].Marks, (std::vector<bool>{false, false}));
  EXPECT_FALSE(RunResult.Answers[19].Correct);
  int right = 0;
  for (const TVOtz& v : RunResult.Answers) right += v.Correct;
  EXPECT_EQ(right, 3);  // questions 1, 2 and 12
}

TEST_F(TestTaking, FeedbackModeShowsTheKeyInColourAndKeepsTheVerdict) {
  UseTest(3, 4, true, Mode::Feedback,
          {{true, false, true, false}, {false, true, false, false}, {true, false, false, false}});
  Start();
  EXPECT_EQ(Button("bDalsi")->text(), QStringLiteral("OK"));
  EXPECT_TRUE(f->AwaitingConfirm);
  EXPECT_FALSE(Button("bPredchozi")->isEnabled());
  EXPECT_FALSE(f->seCOtazky->isEnabled());

  Mark(0);  // right
  Mark(1);  // wrong
  Click("bDalsi");
  EXPECT_EQ(Shown("lCislo"), QStringLiteral("1/3"));
  EXPECT_EQ(Answer(0)->FontColor(), kGreen);
  EXPECT_EQ(Answer(1)->FontColor(), kRed);
  EXPECT_EQ(Answer(2)->FontColor(), kGreen);  // correct, though unmarked
  EXPECT_EQ(Answer(3)->FontColor(), WindowText());
  EXPECT_TRUE(Label("lSS")->isVisible());
  EXPECT_EQ(Shown("lSS"), QStringLiteral("Špatně"));
  EXPECT_EQ(Label("lSS")->FontColor(), kRed);
  EXPECT_EQ(Button("bDalsi")->text(), QStringLiteral("Další >>>"));
  EXPECT_FALSE(RunResult.Answers[0].Correct);

  // Mending the marks after the verdict does not change it.
  Mark(1);
  Mark(2);
  Click("bDalsi");
  EXPECT_FALSE(RunResult.Answers[0].Correct);
  EXPECT_EQ(RunResult.Answers[0].Marks, (std::vector<bool>{true, true, false, false}));
  EXPECT_EQ(Shown("lCislo"), QStringLiteral("2/3"));
  EXPECT_FALSE(Label("lSS")->isVisible());
  EXPECT_EQ(Button("bDalsi")->text(), QStringLiteral("OK"));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Answer(i)->FontColor(), WindowText());

  Mark(1);
  Click("bDalsi");
  EXPECT_EQ(Shown("lSS"), QStringLiteral("Správně"));
  EXPECT_EQ(Label("lSS")->FontColor(), kGreen);
  Click("bDalsi");

  // The last question: OK, but disabled; finishing shows its verdict and checks the marks present.
  EXPECT_EQ(Shown("lCislo"), QStringLiteral("3/3"));
  EXPECT_EQ(Button("bDalsi")->text(), QStringLiteral("OK"));
  EXPECT_FALSE(Button("bDalsi")->isEnabled());
  Mark(0);
  Click("bKonec");
  EXPECT_FALSE(f->isVisible());
  EXPECT_TRUE(RunResult.Answers[1].Correct);
  EXPECT_TRUE(RunResult.Answers[2].Correct);
}

TEST_F(TestTaking, QuestionCountdownColoursAndExpiry) {
  UseTest(3, 2, false, Mode::Forward);
  CurrentTest.QuestionTimeLimit = 30;
  Start();
  EXPECT_EQ(Shown("lCas"), QStringLiteral("30"));
  EXPECT_TRUE(f->tCNO->Running());
  EXPECT_EQ(f->lCas->Color(), ButtonFace());
  Tick();
  EXPECT_EQ(Shown("lCas"), QStringLiteral("29"));
  Tick(13);
  EXPECT_EQ(Shown("lCas"), QStringLiteral("16"));
  EXPECT_EQ(f->lCas->Color(), ButtonFace());
  Tick();
  EXPECT_EQ(Shown("lCas"), QStringLiteral("15"));
  EXPECT_EQ(f->lCas->Color(), kYellow);
  Tick(7);
  EXPECT_EQ(Shown("lCas"), QStringLiteral("8"));
  EXPECT_EQ(f->lCas->Color(), kYellow);
  Tick();
  EXPECT_EQ(f->lCas->Color(), kRed);

  // At 0 the question is checked with what is marked and the next one starts afresh.
  Mark(0);
  Tick(7);
  EXPECT_EQ(Shown("lCislo"), QStringLiteral("2/3"));
  EXPECT_TRUE(RunResult.Answers[0].Correct);
  EXPECT_EQ(Shown("lCas"), QStringLiteral("30"));
  EXPECT_EQ(f->lCas->Color(), ButtonFace());
  Tick(30);
  EXPECT_EQ(Shown("lCislo"), QStringLiteral("3/3"));
  EXPECT_FALSE(RunResult.Answers[1].Correct);

  // On the last question the countdown stops at 0 on red; the pupil may still mark and must finish.
  Tick(30);
  EXPECT_EQ(Shown("lCas"), QStringLiteral("0"));
  EXPECT_EQ(f->lCas->Color(), kRed);
  EXPECT_FALSE(f->tCNO->Running());
  EXPECT_TRUE(f->isVisible());
  Mark(0);
  Click("bKonec");
  EXPECT_TRUE(RunResult.Answers[2].Correct);
}

TEST_F(TestTaking, OneSecondLimitMovesAtOnceAndFeedbackExpiryIsTheCheckStep) {
  UseTest(2, 2, false, Mode::Forward);
  CurrentTest.QuestionTimeLimit = 1;
  Start();
  EXPECT_EQ(Shown("lCas"), QStringLiteral("1"));
  Tick();
  EXPECT_EQ(Shown("lCislo"), QStringLiteral("2/2"));
  EXPECT_EQ(Shown("lCas"), QStringLiteral("1"));
  Tick();
  EXPECT_EQ(Shown("lCas"), QStringLiteral("0"));
  EXPECT_EQ(f->lCas->Color(), kRed);
  EXPECT_FALSE(f->tCNO->Running());
  f->Close();

  UseTest(2, 2, false, Mode::Feedback);
  CurrentTest.QuestionTimeLimit = 1;
  Start();
  Mark(1);
  Tick();
  // The check step, not a move: the verdict shows and the countdown stays stopped.
  EXPECT_EQ(Shown("lCislo"), QStringLiteral("1/2"));
  EXPECT_TRUE(Label("lSS")->isVisible());
  EXPECT_EQ(Shown("lSS"), QStringLiteral("Špatně"));
  EXPECT_FALSE(f->tCNO->Running());
  Click("bDalsi");
  EXPECT_EQ(Shown("lCislo"), QStringLiteral("2/2"));
  EXPECT_TRUE(f->tCNO->Running());
  // On the last question the expiry shows the verdict too.
  Mark(0);
  Tick();
  EXPECT_EQ(Shown("lSS"), QStringLiteral("Správně"));
  EXPECT_TRUE(RunResult.Answers[1].Correct);
  EXPECT_TRUE(f->isVisible());
}

TEST_F(TestTaking, TestCountdownTextsColoursAndExpiry) {
  UseTest(3, 2, false, Mode::Free);
  CurrentTest.TestTimeLimit = 10;
  CurrentTest.QuestionTimeLimit = 45;
  Start();
  EXPECT_EQ(Shown("lCasT"), QStringLiteral("10:00"));
  EXPECT_EQ(Shown("Label4"), QStringLiteral("min."));
  EXPECT_TRUE(f->tCNT->Running());
  TickTest(1);
  EXPECT_EQ(Shown("lCasT"), QStringLiteral("9:59"));
  TickTest(54);
  EXPECT_EQ(Shown("lCasT"), QStringLiteral("9:5"));
  EXPECT_EQ(f->lCasT->Color(), ButtonFace());
  TickTest(244);
  EXPECT_EQ(Shown("lCasT"), QStringLiteral("5:1"));
  EXPECT_EQ(f->lCasT->Color(), ButtonFace());
  TickTest(1);
  EXPECT_EQ(Shown("lCasT"), QStringLiteral("5:0"));
  EXPECT_EQ(f->lCasT->Color(), kYellow);
  TickTest(149);
  EXPECT_EQ(f->lCasT->Color(), kYellow);
  TickTest(1);
  EXPECT_EQ(Shown("lCasT"), QStringLiteral("2:30"));
  EXPECT_EQ(f->lCasT->Color(), kRed);

  // Time up: both countdowns stop, the shown question is checked and the run finishes.
  Click("bDalsi");
  Mark(0);
  TickTest(149);
  EXPECT_EQ(Shown("lCasT"), QStringLiteral("0:1"));
  EXPECT_TRUE(f->isVisible());
  EXPECT_TRUE(TForm::ShownModals().empty());
  TickTest(1);
  EXPECT_EQ(Shown("lCasT"), QStringLiteral("0:0"));
  EXPECT_EQ(TForm::ShownModals(), std::vector<std::string>{"fHodnoceni"});
  EXPECT_FALSE(f->isVisible());
  EXPECT_FALSE(f->tCNT->Running());
  EXPECT_FALSE(f->tCNO->Running());
  EXPECT_TRUE(RunResult.Answers[1].Correct);
  EXPECT_FALSE(RunResult.Answers[0].Correct);
}

TEST_F(TestTaking, AHugeTestLimitCountsDownInsteadOfEndingTheRun) {
  // More seconds than 32 bits hold; no file brings such a limit, but the
  // countdown must not wrap round to an end.
  UseTest(3, 2, false, Mode::Free);
  CurrentTest.TestTimeLimit = 40000000;
  Start();
  TickTest(1);
  EXPECT_TRUE(f->isVisible());
  EXPECT_TRUE(f->tCNT->Running());
  EXPECT_TRUE(TForm::ShownModals().empty());
  EXPECT_EQ(f->lCasT->Color(), ButtonFace());
  EXPECT_EQ(Shown("lCasT").left(1), QStringLiteral("3"));
}

TEST_F(TestTaking, ClosingMidRunStopsEverythingAndKeepsTheRecord) {
  UseTest(3, 2, false, Mode::Free);
  CurrentTest.TestTimeLimit = 5;
  CurrentTest.QuestionTimeLimit = 20;
  Start();
  Mark(0);
  Click("bDalsi");
  Mark(1);
  f->Close();
  EXPECT_FALSE(f->isVisible());
  EXPECT_FALSE(f->tCNO->Running());
  EXPECT_FALSE(f->tCNT->Running());
  EXPECT_TRUE(TForm::ShownModals().empty());
  EXPECT_TRUE(RunResult.Answers[0].Correct);
  // The question on screen was never checked.
  EXPECT_EQ(RunResult.Answers[1].Marks, (std::vector<bool>{false, false}));
  EXPECT_FALSE(Label("lSS")->isVisible());

  // The next run starts clean, with a fresh record and fresh rows.
  UseTest(2, 3, true, Mode::Forward);
  Start();
  EXPECT_EQ(RunResult.Answers.size(), 2u);
  EXPECT_EQ(RunResult.Answers[0].Marks.size(), 3u);
  EXPECT_TRUE(qobject_cast<QCheckBox*>(Box(2)));
  EXPECT_EQ(Box(3), nullptr);
  EXPECT_EQ(Shown("lCasT"), QStringLiteral("---"));
  EXPECT_EQ(Shown("lCas"), QStringLiteral("---"));
  EXPECT_EQ(f->lCas->Color(), ButtonFace());
}

TEST_F(TestTaking, PicturesGrowTheWindowAndABrokenOneStillShowsTheQuestion) {
  UseTest(3, 2, false, Mode::Forward);
  QImage picture(120, 300, QImage::Format_RGB32);
  picture.fill(Qt::blue);
  ASSERT_TRUE(picture.save(ToQ(dir.File("vysok\xFD.png")), "png"));
  CurrentTest.Questions[1].Picture = dir.File("vysok\xFD.png");
  WriteBytes(dir.File("broken.jpg"), "no picture here");
  CurrentTest.Questions[2].Picture = dir.File("broken.jpg");
  CurrentTest.Questions[0].Picture = dir.File("missing.png");
  CurrentTest.QuestionTimeLimit = 30;
  Start();

  // No picture: the window holds the question, the answers and the menu.
  EXPECT_FALSE(f->iObr->isVisible());
  const int plain = f->Height();
  const int rows = Answer(1)->y() + Answer(1)->height() + 10;
  EXPECT_EQ(f->iObr->y(), rows);
  EXPECT_EQ(plain, f->pMenu->height() + f->pOtazka->height() + rows + 40);
  EXPECT_EQ(f->pOtazka->height(), f->lOtazka->y() + f->lOtazka->height() + 10);
  EXPECT_EQ(f->ClientWidth(), 674);
  EXPECT_TRUE(MessageBoxes::Shown().empty());

  Click("bDalsi");
  EXPECT_TRUE(f->iObr->isVisible());
  EXPECT_EQ(f->iObr->size(), QSize(120, 300));
  EXPECT_EQ(f->iObr->pos(), QPoint(10, rows));
  EXPECT_EQ(f->Height(), plain + 300);
  EXPECT_EQ(f->ClientWidth(), 674);
  // The answers stay above the picture, the menu below it.
  EXPECT_EQ(f->pOdpovedi->height(), f->ClientHeight() - f->pOtazka->height() - f->pMenu->height());
  EXPECT_GT(f->pOdpovedi->height(), f->iObr->y() + f->iObr->height());

  // A file that is no picture: the standard error box, then the question without it.
  Click("bDalsi");
  ASSERT_EQ(MessageBoxes::Shown().size(), 1u);
  EXPECT_EQ(MessageBoxes::Shown()[0].Icon, TMsgIcon::Error);
  EXPECT_EQ(MessageBoxes::Shown()[0].Text, "'" + dir.File("broken.jpg") + "' is not a valid picture");
  EXPECT_FALSE(f->iObr->isVisible());
  EXPECT_EQ(f->Height(), plain);
  EXPECT_EQ(Shown("lOtazka"), QStringLiteral("Otázka 3"));
  EXPECT_EQ(Answer(0)->text(), QStringLiteral("3.1"));
  EXPECT_EQ(Shown("lCislo"), QStringLiteral("3/3"));
  EXPECT_TRUE(f->tCNO->Running());
}

TEST_F(TestTaking, LongTextsWrapAndPushTheRowsDown) {
  UseTest(2, 3, false, Mode::Forward);
  std::string long_text;
  for (int i = 0; i < 60; ++i) long_text += "slovo ";
  CurrentTest.Questions[0].Text = long_text;
  CurrentTest.Questions[0].Answers[0] = long_text;
  Start();
  EXPECT_EQ(f->lOtazka->width(), f->pOtazka->width() - 159);
  EXPECT_GT(f->lOtazka->height(), 2 * f->lOtazka->fontMetrics().height());
  EXPECT_EQ(f->pOtazka->height(), f->lOtazka->y() + f->lOtazka->height() + 10);
  EXPECT_EQ(Answer(0)->width(), f->pOdpovedi->width() - 65);
  EXPECT_GT(Answer(0)->height(), Answer(0)->fontMetrics().height());
  EXPECT_EQ(Answer(0)->pos(), QPoint(55, 10));
  EXPECT_EQ(Answer(1)->y(), 10 + Answer(0)->height() + 10);
  EXPECT_EQ(Box(1)->pos(), QPoint(10, Answer(1)->y()));
}

TEST_F(TestTaking, APupilTakesTheSampleTestFromTheMainMenuInEachMode) {
  const std::string sample = testsupport::BinDir() + "Testy/Ukazka.sst";
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.File("Protokoly"))));
  Settings.Protokol = true;
  int second = 0;
  for (Mode mode : {Mode::Forward, Mode::Free, Mode::Feedback}) {
    const QDateTime finished(QDate(2024, 3, 5), QTime(9, 7, ++second));
    platform::SetLocalNow(finished);
    LoadTest(CurrentTest, sample);
    ASSERT_EQ(QuestionCount(CurrentTest), 6);
    CurrentTest.FreeNavigation = mode == Mode::Free;
    CurrentTest.ShowCorrectAnswers = mode != Mode::Forward;
    fMenu->OZobrazeni();
    TForm::ClearModals();
    MessageBoxes::Clear();
    RunResult = TVysledky{};

    // Enter takes all questions, shuffled as the dialog offers.
    TForm::QueueModal([](TForm& form) {
      QTest::keyClick(form.findChild<TSpinEdit*>(QStringLiteral("sePOtz"))->Editor(), Qt::Key_Return);
    });
    int pictures = 0;
    TForm::QueueModal([&](TForm&) {
      EXPECT_EQ(Shown("lCasT"), QStringLiteral("10:00"));
      for (int shown = 0; shown < 6; ++shown) {
        EXPECT_EQ(Shown("lCislo"), QStringLiteral("%1/6").arg(shown + 1));
        EXPECT_EQ(Shown("lCas"), QStringLiteral("60"));
        const TOtazky& question = RunTest.Questions[static_cast<size_t>(f->CurrentQuestion)];
        if (!question.Picture.empty()) {
          ++pictures;
          EXPECT_TRUE(f->iObr->isVisible());
          EXPECT_EQ(f->iObr->size(), QSize(240, 180));
        }
        for (int slot = 0; slot < 4; ++slot) {
          if (question.Correct[static_cast<size_t>(slot)]) Mark(slot);
        }
        if (mode == Mode::Feedback) {
          Click(shown < 5 ? "bDalsi" : "bKonec");
          if (shown == 5) return;
          EXPECT_EQ(Shown("lSS"), QStringLiteral("Správně"));
        }
        Click(shown < 5 ? "bDalsi" : "bKonec");
      }
    });
    // The evaluation opens over the finished test: every answer right.
    TForm::QueueModal([](TForm& evaluation) {
      EXPECT_EQ(evaluation.findChild<TLabel*>(QStringLiteral("lSpravne"))->Caption(), "6");
      EXPECT_EQ(evaluation.findChild<TLabel*>(QStringLiteral("lSpatne"))->Caption(), "0");
      EXPECT_EQ(evaluation.findChild<TLabel*>(QStringLiteral("lZnamka"))->Caption(), "1");
      evaluation.findChild<TButton*>(QStringLiteral("Button1"))->click();
    });
    fMenu->bSpustitTest->click();

    EXPECT_EQ(TForm::ShownModals(), (std::vector<std::string>{"fPZTest", "fZTest", "fHodnoceni"}));
    EXPECT_FALSE(ReadBytes(dir.File("Protokoly/" + NazevProtokolu(finished))).empty());
    EXPECT_TRUE(MessageBoxes::Shown().empty());
    EXPECT_FALSE(f->isVisible());
    EXPECT_EQ(pictures, 1);
    ASSERT_EQ(RunResult.Answers.size(), 6u);
    for (const TVOtz& answer : RunResult.Answers) EXPECT_TRUE(answer.Correct);
  }
  platform::SetLocalNow(QDateTime());
}

}  // namespace

// The counter, the time label and the time stand apart whatever the count: the
// widest value of a run of 20000 questions, 20000/20000, still fits.
TEST_F(TestTaking, TheQuestionCounterHasRoomForItsLongestValue) {
  for (int n : {3, 150, 20000}) {
    UseTest(n, 2, false, Mode::Free);
    Start();
    TLabel* counter = Label("lCislo");
    const QString longest = QStringLiteral("%1/%1").arg(n);
    EXPECT_LE(counter->fontMetrics().horizontalAdvance(longest), counter->width()) << n;
    EXPECT_LE(Label("Label2")->geometry().right(), counter->x()) << n;
    EXPECT_LT(counter->geometry().right(), Label("Label3")->x()) << n;
    EXPECT_LT(Label("Label3")->geometry().right(), Label("lCas")->x()) << n;
    EXPECT_LT(Label("lCas")->geometry().right(), Button("bPredchozi")->x()) << n;
    if (n == 3) {
      EXPECT_EQ(counter->geometry(), QRect(104, 12, 49, 19));  // as designed while it fits
    }
    f->Close();
  }
}
