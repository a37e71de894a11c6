// The evaluation screen as a pupil meets it at the end of a run: totals and
// grade in the three grading modes, the protocol's text and colours, the
// header rewritten by "Uprav info", printing, and the stored RTF protocol.
#include <QDir>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <array>

#include "support/ScreenFixture.h"
#include "platform/qtgui/localclock.h"
#include "platform/qtgui/recordingprinter.h"
#include "platform/qtgui/rtfwriter.h"
#include "screens/uHodnoceni.h"
#include "screens/uZTest.h"

using namespace toolkit;
using testsupport::ReadBytes;

namespace {

const QColor kGreen(0, 128, 0);
const QColor kRed(255, 0, 0);
const QDateTime kMoment(QDate(2024, 3, 5), QTime(9, 7, 3));

// One asked question: its key, the pupil's marks and the verdict of its last check.
struct Asked {
  std::vector<bool> key;
  std::vector<bool> marks;
  bool right = false;
  int32_t points = 1;
};

class Evaluation : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    platform::SetLocalNow(kMoment);
    auto recording = std::make_unique<platform::TRecordingPrinter>();
    printer = recording.get();
    platform::SetPrinter(std::move(recording));
    RunTest = TDTest{};
    RunResult = TVysledky{};
    fHodnoceni = new TfHodnoceni();
    f = fHodnoceni;
  }

  void TearDown() override {
    ScreenTest::TearDown();
    platform::SetPrinter(nullptr);
    platform::SetLocalNow(QDateTime());
  }

  // A run of these questions ("Otázka n", answers "n.a"), as the test-taking screen leaves it.
  void Run(const std::vector<Asked>& asked, int32_t mode = 0, std::array<int32_t, 4> limits = {0, 1, 2, 3},
           bool showCorrect = true) {
    CurrentTest.Exists = true;
    CurrentTest.GradingMode = mode;
    CurrentTest.Limit1 = limits[0];
    CurrentTest.Limit2 = limits[1];
    CurrentTest.Limit3 = limits[2];
    CurrentTest.Limit4 = limits[3];
    CurrentTest.ShowCorrectAnswers = showCorrect;
    RunTest = TDTest{};
    RunTest.AnswerCount = asked.empty() ? 2 : static_cast<int32_t>(asked[0].key.size());
    RunResult = TVysledky{};
    for (size_t q = 0; q < asked.size(); ++q) {
      RunTest.Questions.push_back(NumberedQuestion(static_cast<int>(q) + 1, asked[q].key, asked[q].points));
      TVOtz entry;
      entry.Correct = asked[q].right;
      entry.Marks = asked[q].marks.empty() ? std::vector<bool>(asked[q].key.size(), false) : asked[q].marks;
      RunResult.Answers.push_back(entry);
    }
  }

  // n questions with two answers, the first `right` of them right.
  void Counted(int n, int right, int32_t mode, std::array<int32_t, 4> limits) {
    std::vector<Asked> asked(static_cast<size_t>(n), Asked{{true, false}, {}, false});
    for (int i = 0; i < right; ++i) asked[static_cast<size_t>(i)] = Asked{{true, false}, {true, false}, true};
    Run(asked, mode, limits);
  }

  // Shows the screen modally; the action runs while it is open, then the close box closes it.
  void Show(std::function<void(TForm&)> action = nullptr) {
    TForm::QueueModal(std::move(action));
    f->ShowModal();
  }

  std::string Grade(int n, int right, int32_t mode, std::array<int32_t, 4> limits) {
    Counted(n, right, mode, limits);
    Show();
    return f->lZnamka->Caption();
  }

  // The format of the character at a position of the protocol.
  QTextCharFormat At(int line, int column) const {
    QTextCursor c(f->reVystup->document());
    c.setPosition(f->reVystup->LineStart(line) + column + 1);
    return c.charFormat();
  }
  static bool Bold(const QTextCharFormat& format) { return format.fontWeight() == QFont::Bold; }
  static QColor Color(const QTextCharFormat& format) {
    return format.hasProperty(QTextFormat::ForegroundBrush) ? format.foreground().color() : QColor();
  }

  std::string ProtocolPath() const { return dir.File("Protokoly/2024-3-5_9-7-3.rtf"); }

  TfHodnoceni* f = nullptr;
  platform::TRecordingPrinter* printer = nullptr;
};

TEST_F(Evaluation, ErrorsGradingCountsTheQuestionsNotRight) {
  const std::array<int32_t, 4> limits{0, 1, 2, 3};
  EXPECT_EQ(Grade(10, 10, 0, limits), "1");
  EXPECT_EQ(f->lSpravne->Caption(), "10");
  EXPECT_EQ(f->lSpatne->Caption(), "0");
  EXPECT_EQ(Grade(10, 9, 0, limits), "2");
  EXPECT_EQ(Grade(10, 8, 0, limits), "3");
  EXPECT_EQ(Grade(10, 7, 0, limits), "4");
  EXPECT_EQ(f->lSpatne->Caption(), "3");
  EXPECT_EQ(RunResult.RightCount, 7);
  EXPECT_EQ(RunResult.WrongCount, 3);
  EXPECT_EQ(Grade(10, 6, 0, limits), "5");
  EXPECT_EQ(Grade(10, 0, 0, limits), "5");
  // Thresholds out of order: the first that holds wins.
  EXPECT_EQ(Grade(10, 7, 0, {5, 0, 0, 0}), "1");
}

TEST_F(Evaluation, PercentGradingRoundsHalvesToTheEvenNeighbour) {
  const std::array<int32_t, 4> limits{90, 80, 60, 35};
  EXPECT_EQ(Grade(10, 9, 2, limits), "1");  // 90
  EXPECT_EQ(Grade(8, 7, 2, limits), "2");   // 87.5 is 88
  EXPECT_EQ(Grade(8, 3, 2, limits), "4");   // 37.5 is 38
  EXPECT_EQ(Grade(8, 1, 2, limits), "5");   // 12.5 is 12
  EXPECT_EQ(Grade(3, 2, 2, limits), "3");   // 66.67 is 67
  EXPECT_EQ(f->lSpravne->Caption(), "2");
  EXPECT_EQ(f->lSpatne->Caption(), "1");
  // A value right at a threshold earns it; halves are exact even where
  // 100 / N is not: 15 of 24 is 62.5, so 62 (in floating point a hair above).
  EXPECT_EQ(Znamka(2, 63, 62, 0, 0, 15, 24), "2");
  EXPECT_EQ(Znamka(2, 23, 22, 0, 0, 9, 40), "2");  // 22.5 is 22
  EXPECT_EQ(Znamka(2, 24, 23, 0, 0, 7, 30), "2");  // 23.33 is 23
  EXPECT_EQ(Znamka(2, 100, 0, 0, 0, 3, 3), "1");
}

TEST_F(Evaluation, PointsGradingSumsThePointsOfEachSide) {
  Run({{{true, false}, {false, true}, false, 1},
       {{true, false}, {true, false}, true, 2},
       {{false, true}, {false, true}, true, 3}},
      1, {6, 5, 4, 1});
  Show();
  EXPECT_EQ(f->lSpravne->Caption(), "5");
  EXPECT_EQ(f->lSpatne->Caption(), "1");
  EXPECT_EQ(f->lZnamka->Caption(), "2");
}

TEST_F(Evaluation, AnUnknownGradingModeTotalsNothingAndGradesAllQuestionsAsErrors) {
  Counted(4, 4, 7, {3, 4, 5, 6});
  Show();
  EXPECT_EQ(f->lSpravne->Caption(), "0");
  EXPECT_EQ(f->lSpatne->Caption(), "0");
  EXPECT_EQ(f->lZnamka->Caption(), "2");  // 4 errors: the first threshold of at least 4
}

TEST_F(Evaluation, TheProtocolListsEveryQuestionWithMarksKeyAndColours) {
  Run({{{true, false, true}, {true, false, false}, false},  // c) correct but unmarked
       {{false, true, false}, {false, true, false}, true},
       {{true, false, false}, {false, true, false}, false}},  // never checked would look the same
      0, {0, 1, 2, 3});
  Show();
  TRichEdit* re = Find<TRichEdit>(f, "reVystup");
  ASSERT_NE(re, nullptr);
  EXPECT_TRUE(re->ReadOnly());
  const std::vector<std::string> expected = {
      Cp1250("Jméno: "),
      Cp1250("Datum a čas: ") + f->eDatum->Text(),
      Cp1250("Poznámka: "),
      Cp1250("Správně: 1"),
      Cp1250("Špatně: 2"),
      Cp1250("Hodnocení: 3"),
      std::string(50, '-'),
      "",
      Cp1250("1) Otázka 1 [Špatně]"),
      Cp1250("a) 1.1 [X(Správně)]"),
      Cp1250("b) 1.2 [ (Špatně)]"),
      Cp1250("c) 1.3 [ (Správně)]"),
      "",
      Cp1250("2) Otázka 2 [Správně]"),
      Cp1250("a) 2.1 [ (Špatně)]"),
      Cp1250("b) 2.2 [X(Správně)]"),
      Cp1250("c) 2.3 [ (Špatně)]"),
      "",
      Cp1250("3) Otázka 3 [Špatně]"),
      Cp1250("a) 3.1 [ (Správně)]"),
      Cp1250("b) 3.2 [X(Špatně)]"),
      Cp1250("c) 3.3 [ (Špatně)]"),
  };
  ASSERT_EQ(re->LineCount(), static_cast<int>(expected.size()));
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(re->Line(static_cast<int>(i)), expected[i]) << i;

  // The header and the hyphens are bold in the default colour.
  for (int line = 0; line < 7; ++line) {
    EXPECT_TRUE(Bold(At(line, 0))) << line;
    EXPECT_FALSE(Color(At(line, 0)).isValid()) << line;
  }
  EXPECT_TRUE(Bold(At(6, 49)));
  // Question lines: the text bold, the blank plain, the verdict bold in green or red.
  EXPECT_TRUE(Bold(At(8, 0)));
  EXPECT_TRUE(Bold(At(8, 10)));   // the last character of "1) Otázka 1"
  EXPECT_FALSE(Bold(At(8, 11)));  // the blank
  EXPECT_TRUE(Bold(At(8, 12)));
  EXPECT_EQ(Color(At(8, 12)), kRed);
  EXPECT_EQ(Color(At(8, 19)), kRed);  // "]"
  EXPECT_FALSE(Color(At(8, 5)).isValid());
  EXPECT_EQ(Color(At(13, 12)), kGreen);
  EXPECT_TRUE(Bold(At(13, 20)));
  // Answer lines: only the bracket coloured, never bold.
  EXPECT_FALSE(Color(At(9, 6)).isValid());  // the blank before "["
  EXPECT_EQ(Color(At(9, 7)), kGreen);       // marked and correct
  EXPECT_EQ(Color(At(9, 18)), kGreen);
  EXPECT_FALSE(Bold(At(9, 7)));
  EXPECT_FALSE(Color(At(10, 7)).isValid());  // neither marked nor correct
  EXPECT_EQ(Color(At(11, 7)), kRed);         // correct, left unmarked
  EXPECT_EQ(Color(At(20, 7)), kRed);         // marked, not correct
}

// A selected protocol would hide its green and red verdicts under the selection colour.
TEST_F(Evaluation, EveryEvaluationOpensWithNothingSelectedAndTheCaretAtTheStart) {
  for (int run = 0; run < 2; ++run) {
    Run({{{true, false}, {true, false}, true}, {{false, true}, {true, false}, false}});
    Show([](TForm& form) {
      auto* protocol = form.findChild<TRichEdit*>(QStringLiteral("reVystup"));
      EXPECT_FALSE(protocol->textCursor().hasSelection());
      EXPECT_EQ(protocol->textCursor().position(), 0);
    });
  }
}

TEST_F(Evaluation, UpravInfoRewritesTheHeaderInPlace) {
  Counted(2, 1, 0, {0, 1, 2, 3});
  Show([](TForm& form) {
    auto& h = static_cast<TfHodnoceni&>(form);
    const std::string before = platform::DocumentToRtf(*h.reVystup->document());
    h.findChild<TEdit*>(QStringLiteral("eJmeno"))->setText(QStringLiteral("Jan Novák"));
    h.findChild<TEdit*>(QStringLiteral("ePoznamka"))->setText(QStringLiteral("3.B"));
    h.findChild<TEdit*>(QStringLiteral("eDatum"))->setText(QStringLiteral("pondělí"));
    TButton* b = h.findChild<TButton*>(QStringLiteral("bPridatInf"));
    b->click();
    EXPECT_EQ(h.reVystup->Line(0), Cp1250("Jméno: Jan Novák"));
    EXPECT_EQ(h.reVystup->Line(1), Cp1250("Datum a čas: pondělí"));
    EXPECT_EQ(h.reVystup->Line(2), Cp1250("Poznámka: 3.B"));
    EXPECT_EQ(h.reVystup->Line(5), Cp1250("Hodnocení: 2"));
    const std::string once = platform::DocumentToRtf(*h.reVystup->document());
    EXPECT_NE(once, before);
    EXPECT_NE(once.find("\\b Jm\\'e9no: Jan Nov\\'e1k\\par"), std::string::npos);
    b->click();
    EXPECT_EQ(platform::DocumentToRtf(*h.reVystup->document()), once);
    EXPECT_EQ(h.reVystup->LineCount(), 2 + 7 + 2 * 3);
  });
  // The next pupil's protocol opens with the name and note typed before.
  Counted(2, 2, 0, {0, 1, 2, 3});
  Show();
  EXPECT_EQ(f->reVystup->Line(0), Cp1250("Jméno: Jan Novák"));
  EXPECT_EQ(f->reVystup->Line(2), Cp1250("Poznámka: 3.B"));
  EXPECT_EQ(f->reVystup->Line(3), Cp1250("Správně: 2"));
  EXPECT_EQ(f->eDatum->Text(),
            FromQ(platform::ShortDateText(kMoment.date()) + u' ' + platform::LongTimeText(kMoment.time())));
}

TEST_F(Evaluation, ZavritStoresTheProtocolAsRtfNamedByTheMoment) {
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.File("Protokoly"))));
  Settings.Protokol = true;
  Counted(2, 1, 0, {0, 1, 2, 3});
  std::string shown;
  Show([&](TForm& form) {
    auto& h = static_cast<TfHodnoceni&>(form);
    shown = platform::DocumentToRtf(*h.reVystup->document());
    h.findChild<TButton*>(QStringLiteral("Button1"))->click();
    EXPECT_FALSE(h.isVisible());
  });
  const std::string stored = ReadBytes(ProtocolPath());
  EXPECT_EQ(stored, shown);
  EXPECT_EQ(stored.rfind("{\\rtf1\\ansi\\ansicpg1250", 0), 0u);
  EXPECT_NE(stored.find("\\b\\cf2 [\\'8apatn\\'ec]"), std::string::npos);  // the second verdict, in red

  // A second and a third protocol within the same second never replace the first.
  for (int run = 2; run <= 3; ++run) {
    Counted(2, 2, 0, {0, 1, 2, 3});
    Show([](TForm& form) { form.findChild<TButton*>(QStringLiteral("Button1"))->click(); });
  }
  EXPECT_EQ(ReadBytes(ProtocolPath()), stored);
  const std::string second = ReadBytes(dir.File("Protokoly/2024-3-5_9-7-3_2.rtf"));
  EXPECT_NE(second.find("Spr\\'e1vn\\'ec: 2"), std::string::npos);
  EXPECT_EQ(ReadBytes(dir.File("Protokoly/2024-3-5_9-7-3_3.rtf")), second);
  EXPECT_EQ(QDir(QString::fromStdString(dir.File("Protokoly"))).entryList(QDir::Files).size(), 3);

  EXPECT_EQ(NazevProtokolu(QDateTime(QDate(2025, 12, 31), QTime(23, 59, 59))), "2025-12-31_23-59-59.rtf");
  EXPECT_EQ(NazevProtokolu(QDateTime(QDate(2024, 1, 2), QTime(0, 0, 0))), "2024-1-2_0-0-0.rtf");
}

TEST_F(Evaluation, NothingIsStoredWithProtocolsOffOrThroughTheCloseBox) {
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.File("Protokoly"))));
  Counted(2, 1, 0, {0, 1, 2, 3});
  Show([](TForm& form) { form.findChild<TButton*>(QStringLiteral("Button1"))->click(); });
  Settings.Protokol = true;
  Show();  // left through the close box
  EXPECT_TRUE(QDir(QString::fromStdString(dir.File("Protokoly"))).isEmpty());
}

TEST_F(Evaluation, AMissingProtocolFolderIsAnErrorAndTheWindowStaysOpen) {
  Settings.Protokol = true;
  Counted(2, 1, 0, {0, 1, 2, 3});
  Show([&](TForm& form) {
    form.findChild<TButton*>(QStringLiteral("Button1"))->click();
    EXPECT_TRUE(form.isVisible());
    ASSERT_EQ(MessageBoxes::Shown().size(), 1u);
    EXPECT_EQ(MessageBoxes::Shown()[0].Icon, TMsgIcon::Error);
    EXPECT_NE(MessageBoxes::Shown()[0].Text.find("Protokoly/2024-3-5_9-7-3.rtf"), std::string::npos);
    // Once the folder is there, the pupil presses the button again.
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.File("Protokoly"))));
    form.findChild<TButton*>(QStringLiteral("Button1"))->click();
    EXPECT_FALSE(form.isVisible());
  });
  EXPECT_FALSE(ReadBytes(ProtocolPath()).empty());
}

TEST_F(Evaluation, AHiddenProtocolIsStillPrintedAndStoredInFull) {
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.File("Protokoly"))));
  Settings.Protokol = true;
  Run({{{true, false}, {true, false}, true}, {{false, true}, {true, false}, false}}, 0, {0, 1, 2, 3},
      /*showCorrect=*/false);
  Show([&](TForm& form) {
    auto& h = static_cast<TfHodnoceni&>(form);
    EXPECT_FALSE(h.reVystup->isVisible());
    h.findChild<TButton*>(QStringLiteral("bTisk"))->click();
    ASSERT_EQ(printer->Jobs().size(), 1u);
    const platform::TPrintJob& job = printer->Jobs()[0];
    EXPECT_EQ(job.Title, QStringLiteral("Výsledky testu"));
    EXPECT_EQ(job.Copies, 1);
    EXPECT_EQ(job.Document->toPlainText(), h.reVystup->document()->toPlainText());
    EXPECT_TRUE(job.Document->toPlainText().contains(QStringLiteral("b) 2.2 [ (Správně)]")));
    h.findChild<TButton*>(QStringLiteral("Button1"))->click();
  });
  EXPECT_NE(ReadBytes(ProtocolPath()).find("b) 2.2 \\cf2 [ (Spr\\'e1vn\\'ec)]"), std::string::npos);
}

TEST_F(Evaluation, PrintingWithoutAPrinterShowsTheStandardError) {
  printer->SetInstalled(false);
  Counted(2, 1, 0, {0, 1, 2, 3});
  Show([](TForm& form) {
    form.findChild<TButton*>(QStringLiteral("bTisk"))->click();
    EXPECT_TRUE(form.isVisible());
  });
  ASSERT_EQ(MessageBoxes::Shown().size(), 1u);
  EXPECT_EQ(MessageBoxes::Shown()[0].Text, "There is no default printer currently selected");
  EXPECT_TRUE(printer->Jobs().empty());
}

TEST_F(Evaluation, CaptionsAndTheProtocolFollowTheChosenLanguage) {
  Settings.pJazyk = "English";
  Counted(2, 1, 0, {0, 1, 2, 3});
  Show();
  EXPECT_EQ(f->Caption(), "Evaluation");
  EXPECT_EQ(Find<TLabel>(f, "Label1")->Caption(), "Right:");
  EXPECT_EQ(Find<TLabel>(f, "Label3")->Caption(), "Grade:");
  EXPECT_EQ(Find<TLabel>(f, "Label5")->Caption(), "Date and time:");
  EXPECT_EQ(Find<TButton>(f, "bPridatInf")->Caption(), "Edit info");
  EXPECT_EQ(Find<TButton>(f, "Button1")->Caption(), "Close");
  EXPECT_EQ(f->reVystup->Line(5), "Evaluation: 2");
  EXPECT_EQ(f->reVystup->Line(8), "1) Ot\xE1zka 1 [Right]");
}

}  // namespace

namespace {

// The whole road: a pupil finishes a run and the evaluation opens over the test.
TEST_F(Evaluation, FinishingARunOpensTheEvaluationAndStoresItsProtocol) {
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.File("Protokoly"))));
  Settings.Protokol = true;
  CurrentTest = TDTest{};
  CurrentTest.Exists = true;
  CurrentTest.AnswerCount = 2;
  CurrentTest.GradingMode = 2;
  CurrentTest.Limit1 = 90;
  CurrentTest.Limit2 = 75;
  CurrentTest.Limit3 = 50;
  CurrentTest.Limit4 = 25;
  CurrentTest.ShowCorrectAnswers = true;
  SetQuestionCount(CurrentTest, 2);
  for (int q = 0; q < 2; ++q) {
    CurrentTest.Questions[q].Text = "Ot\xE1zka " + std::to_string(q + 1);
    CurrentTest.Questions[q].Answers = {"ano", "ne"};
    CurrentTest.Questions[q].Correct = {true, false};
  }
  RunQuestionCount = 2;
  ShuffleQuestions = false;
  ShuffleAnswers = false;
  fZTest = new TfZTest();

  TForm::QueueModal([](TForm& test) {
    // The first answer of the first question is marked, then the pupil finishes.
    fZTest->AnswerBoxes[0]->click();
    test.findChild<TButton*>(QStringLiteral("bKonec"))->click();
  });
  TForm::QueueModal([](TForm& evaluation) {
    EXPECT_TRUE(fZTest->isVisible());
    EXPECT_EQ(evaluation.findChild<TLabel*>(QStringLiteral("lSpravne"))->Caption(), "1");
    EXPECT_EQ(evaluation.findChild<TLabel*>(QStringLiteral("lZnamka"))->Caption(), "3");  // 50 %
    evaluation.findChild<TButton*>(QStringLiteral("Button1"))->click();
  });
  fZTest->ShowModal();
  EXPECT_FALSE(fZTest->isVisible());
  EXPECT_EQ(TForm::ShownModals(), (std::vector<std::string>{"fZTest", "fHodnoceni"}));
  const std::string stored = ReadBytes(ProtocolPath());
  EXPECT_NE(stored.find("a) ano \\cf1 [X(Spr\\'e1vn\\'ec)]"), std::string::npos);
  delete fZTest;
  fZTest = nullptr;
}

}  // namespace

TEST_F(Evaluation, StoringAndPrintingTakeTheHeaderAsTheBoxesStandWithoutUpravInfo) {
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.File("Protokoly"))));
  Settings.Protokol = true;
  // The previous pupil's entries stay in the boxes.
  Counted(2, 1, 0, {0, 1, 2, 3});
  Show([](TForm& form) {
    auto& h = static_cast<TfHodnoceni&>(form);
    h.eJmeno->SetText("Petr");
    h.ePoznamka->SetText("minule");
    h.Button1->click();
  });
  Counted(2, 2, 0, {0, 1, 2, 3});
  Show([&](TForm& form) {
    auto& h = static_cast<TfHodnoceni&>(form);
    EXPECT_EQ(h.reVystup->Line(0), "Jm\xE9no: Petr");  // built from what the boxes kept
    // The new pupil types a name and leaves at once, without "Uprav info".
    h.eJmeno->SetText("Jana");
    h.ePoznamka->SetText("");
    h.bTisk->click();
    h.Button1->click();
  });
  const std::string stored = ReadBytes(dir.File("Protokoly/2024-3-5_9-7-3_2.rtf"));
  EXPECT_NE(stored.find("Jm\\'e9no: Jana\\par"), std::string::npos);
  EXPECT_EQ(stored.find("Petr"), std::string::npos);
  EXPECT_EQ(stored.find("minule"), std::string::npos);
  ASSERT_FALSE(printer->Jobs().empty());
  ASSERT_TRUE(printer->Jobs().back().Document);
  EXPECT_TRUE(printer->Jobs().back().Document->toPlainText().startsWith(QStringLiteral("Jméno: Jana\n")));
}

TEST_F(Evaluation, ALongRunIsBuiltWithTheBusyCursorShownAndNoneLeftAfter) {
  std::vector<Asked> asked(300, Asked{{true, false, false}, {true, false, false}, true});
  Run(asked);
  bool busyWhileBuilding = false;
  Show([&](TForm& form) {
    auto& h = static_cast<TfHodnoceni&>(form);
    EXPECT_EQ(h.reVystup->LineCount(), 7 + 300 * 5);
    EXPECT_EQ(h.reVystup->Line(7 + 299 * 5 + 1), "300) Ot\xE1zka 300 [Spr\xE1vn\xEC]");
    QObject::connect(h.reVystup->document(), &QTextDocument::contentsChanged, [&] {
      busyWhileBuilding |=
          QApplication::overrideCursor() != nullptr && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    });
    h.PripravVystup();
  });
  EXPECT_FALSE(busyWhileBuilding);  // building alone does not set it; showing does
  busyWhileBuilding = false;
  QMetaObject::Connection c = QObject::connect(f->reVystup->document(), &QTextDocument::contentsChanged, [&] {
    busyWhileBuilding |= QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
  });
  Show();
  QObject::disconnect(c);
  EXPECT_TRUE(busyWhileBuilding);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(Evaluation, TheProtocolHasBothScrollBarsAndLongLinesRunOnToTheRight) {
  std::vector<bool> key = {true, false};
  Run({{key, key, true}, {key, key, true}});
  RunTest.Questions[0].Text = std::string(300, 'x');  // far wider than the box
  Show([this](TForm&) {
    TRichEdit* re = Find<TRichEdit>(f, "reVystup");
    EXPECT_EQ(re->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(re->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(re->lineWrapMode(), QTextEdit::NoWrap);
    // The long question stays one line on screen: the horizontal bar reaches it.
    EXPECT_GT(re->horizontalScrollBar()->maximum(), 0);
  });
}

// The protocol of a small run, byte for byte as it is stored: built twice in
// the same window, so a rebuild over an old protocol must give the same file.
TEST_F(Evaluation, TheProtocolIsStoredByteForByteTheSameOnEveryBuild) {
  Run({{{true, false, true}, {true, false, false}, false},
       {{false, true, false}, {false, true, false}, true},
       {{true, false, false}, {false, true, false}, false}},
      0, {0, 1, 2, 3});
  RunTest.Questions[1].Text = "Kolik je 1 + 1? \xC8\x9A";  // beyond ASCII in code page 1250
  std::string first, second;
  Show([&](TForm& form) {
    auto& h = static_cast<TfHodnoceni&>(form);
    h.eDatum->SetText("5.3.2024 9:07:03");
    h.eJmeno->SetText("Jana");
    h.PripravVystup();
    first = platform::DocumentToRtf(*h.reVystup->document());
    h.PripravVystup();
    second = platform::DocumentToRtf(*h.reVystup->document());
  });
  EXPECT_EQ(first, second);
  // Line ends of the file are CR LF.
  const std::string expected = R"({\rtf1\ansi\ansicpg1250\deff0{\fonttbl{\f0\fnil\fcharset238 MS Sans Serif;}})"
                               "\r\n"
                               R"({\colortbl ;\red255\green0\blue0;\red0\green128\blue0;})"
                               "\r\n"
                               R"(\viewkind4\uc1\pard\f0\fs16\b Jm\'e9no: Jana\par)"
                               "\r\n"
                               R"(Datum a \'e8as: 5.3.2024 9:07:03\par)"
                               "\r\n"
                               R"(Pozn\'e1mka: \par)"
                               "\r\n"
                               R"(Spr\'e1vn\'ec: 1\par)"
                               "\r\n"
                               R"(\'8apatn\'ec: 2\par)"
                               "\r\n"
                               R"(Hodnocen\'ed: 3\par)"
                               "\r\n"
                               R"(--------------------------------------------------\par)"
                               "\r\n"
                               R"(\par)"
                               "\r\n"
                               R"(1) Ot\'e1zka 1\b0  \b\cf1 [\'8apatn\'ec]\par)"
                               "\r\n"
                               R"(\b0\cf0 a) 1.1 \cf2 [X(Spr\'e1vn\'ec)]\par)"
                               "\r\n"
                               R"(\cf0 b) 1.2 [ (\'8apatn\'ec)]\par)"
                               "\r\n"
                               R"(c) 1.3 \cf1 [ (Spr\'e1vn\'ec)]\par)"
                               "\r\n"
                               R"(\par)"
                               "\r\n"
                               R"(\b\cf0 2) Kolik je 1 + 1? \'c8\'9a\b0  \b\cf2 [Spr\'e1vn\'ec]\par)"
                               "\r\n"
                               R"(\b0\cf0 a) 2.1 [ (\'8apatn\'ec)]\par)"
                               "\r\n"
                               R"(b) 2.2 \cf2 [X(Spr\'e1vn\'ec)]\par)"
                               "\r\n"
                               R"(\cf0 c) 2.3 [ (\'8apatn\'ec)]\par)"
                               "\r\n"
                               R"(\par)"
                               "\r\n"
                               R"(\b 3) Ot\'e1zka 3\b0  \b\cf1 [\'8apatn\'ec]\par)"
                               "\r\n"
                               R"(\b0\cf0 a) 3.1 \cf1 [ (Spr\'e1vn\'ec)]\par)"
                               "\r\n"
                               R"(\cf0 b) 3.2 \cf1 [X(\'8apatn\'ec)]\par)"
                               "\r\n"
                               R"(\cf0 c) 3.3 [ (\'8apatn\'ec)]})"
                               "\r\n";
  EXPECT_EQ(first, expected);

  // What the file does not show: no run carries more than weight and colour,
  // and every line keeps the editor's plain paragraph format.
  const QTextDocument& doc = *f->reVystup->document();
  const QTextBlockFormat paragraph = doc.begin().blockFormat();
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    EXPECT_EQ(b.blockFormat(), paragraph) << b.blockNumber();
    for (QTextBlock::iterator it = b.begin(); !it.atEnd(); ++it) {
      for (int key : it.fragment().charFormat().properties().keys())
        EXPECT_TRUE(key == QTextFormat::FontWeight || key == QTextFormat::ForegroundBrush) << key;
    }
  }
}
