// The question editor: loading and storing questions, moving, the list
// operations, the number box's rules, the answer rows and the closing store.
#include <QRadioButton>

#include "support/ScreenFixture.h"
#include "support/TestDocument.h"
#include "screens/uUpravitT.h"

using namespace toolkit;

namespace {

// Question n of a test: its text names it, answer n % count is correct.
TOtazky Question(int n, int answers) {
  TOtazky q;
  q.Text = "Ot\xE1zka " + std::to_string(n);
  q.Picture = "obr" + std::to_string(n) + ".jpg";
  q.Points = n;
  for (int i = 0; i < answers; ++i) {
    q.Answers.push_back(
        "odpov\xEC"
        "d\x9D " +
        std::to_string(n) + "." + std::to_string(i + 1));
    q.Correct.push_back(i == n % answers);
  }
  return q;
}

class UpravitTTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    Start();
    form = fUpravitT;
  }

  void UseTest(int questions, int answers = 3, bool multiple = false, int grading = kGradingByPercent) {
    TestDocument t;
    t.Loaded().Answers(answers, multiple).Grading(grading);
    for (int n = 1; n <= questions; ++n) t.Question(Question(n, answers));
    CurrentTest = t;
  }

  TEdit* Edit(const char* name) { return Find<TEdit>(form, name); }
  TSpinEdit* Number() { return Find<TSpinEdit>(form, "seCislo"); }
  void Press(const char* button) { Click(Find<TButton>(form, button)); }
  // The question text the screen shows and the number in its box.
  std::string Shown() { return Edit("eOtazka")->Text() + " #" + Number()->Text(); }
  static std::string Named(int n) { return "Ot\xE1zka " + std::to_string(n); }
  // Typing into the number box, which the user first clicks into.
  void TypeNumber(const std::string& text) {
    Number()->Editor()->setFocus(Qt::MouseFocusReason);
    Number()->SetText(text);
  }
  void LeaveNumber() { Edit("eOtazka")->setFocus(Qt::MouseFocusReason); }
  std::vector<bool> Checks() {
    std::vector<bool> out;
    for (QAbstractButton* b : form->AnswerButtons) out.push_back(b->isChecked());
    return out;
  }

  TfUpravitT* form;
};

TEST_F(UpravitTTest, OpeningBuildsOneRowPerAnswerAndSizesTheWindow) {
  UseTest(2, 3);
  Open(form);
  EXPECT_EQ(form->Caption(), "Upravit test");
  EXPECT_EQ(form->ClientWidth(), 633);
  ASSERT_EQ(form->AnswerEdits.size(), 3u);
  ASSERT_EQ(form->AnswerButtons.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    const int top = static_cast<int>(i) * 26 + 10;
    EXPECT_EQ(form->AnswerEdits[i]->geometry(), QRect(135, top, 633 - 145, 21));
    EXPECT_EQ(form->AnswerButtons[i]->geometry().topLeft(), QPoint(10, top));
    EXPECT_NE(qobject_cast<QRadioButton*>(form->AnswerButtons[i]), nullptr);
    EXPECT_EQ(FromQ(form->AnswerButtons[i]->text()), Cp1250("Odpověď č.") + std::to_string(i + 1));
  }
  // Outer height: the last row's top, both fixed panels, the row, and 40.
  EXPECT_EQ(form->Height(), 62 + 41 + 57 + 21 + 40);
  EXPECT_EQ(Find<TPanel>(form, "pOtazka")->geometry(), QRect(0, 0, 633, 57));
  EXPECT_EQ(Find<TPanel>(form, "pMenu")->geometry().bottom(), form->ClientHeight() - 1);
  Press("bZpet");
  EXPECT_TRUE(form->AnswerEdits.empty());
  EXPECT_TRUE(form->findChildren<TEdit*>(QStringLiteral("eOdpoved1")).isEmpty());

  // A new answer count and kind: the rows follow at the next opening.
  CurrentTest.AnswerCount = 5;
  CurrentTest.MultipleCorrect = true;
  ResizeAnswers(CurrentTest);
  Settings.pJazyk = "English";
  Open(form);
  ASSERT_EQ(form->AnswerButtons.size(), 5u);
  EXPECT_NE(qobject_cast<TCheckBox*>(form->AnswerButtons[4]), nullptr);
  EXPECT_EQ(FromQ(form->AnswerButtons[4]->text()), "Answer #5");
  EXPECT_EQ(form->Height(), 114 + 41 + 57 + 21 + 40);
  EXPECT_EQ(form->Caption(), "Edit test");
  EXPECT_EQ(Find<TButton>(form, "bPredchozi")->Caption(), "<<< Previous");
  EXPECT_EQ(Find<TButton>(form, "bDalsi")->Caption(), "Next >>>");
  EXPECT_EQ(Find<TLabel>(form, "Label2")->Caption(), "Points:");
  form->Close();
}

TEST_F(UpravitTTest, OpeningAndClosingAtOnceKeepsTheQuestionsAndMarksTheTestChanged) {
  UseTest(3, 4, true, 1);
  const TDTest before = CurrentTest;
  Open(form);
  EXPECT_EQ(Shown(), Named(1) + " #1");
  EXPECT_EQ(Edit("eObrazek")->Text(), "obr1.jpg");
  EXPECT_EQ(Find<TSpinEdit>(form, "seBody")->Text(), "1");
  EXPECT_EQ(form->AnswerEdits[3]->Text(),
            "odpov\xEC"
            "d\x9D 1.4");
  EXPECT_EQ(Checks(), (std::vector<bool>{false, true, false, false}));
  form->Close();
  EXPECT_EQ(CurrentTest.Questions, before.Questions);
  EXPECT_TRUE(CurrentTest.Changed);
}

TEST_F(UpravitTTest, TypedContentsAreStoredWhenMovingAndWhenClosing) {
  UseTest(2, 3, true, 1);
  Open(form);
  Edit("eOtazka")->SetText("Hlavn\xED m\xECsto?");
  Edit("eObrazek")->SetText("/nikde/neni.bmp");
  Find<TSpinEdit>(form, "seBody")->SetValue(7);
  form->AnswerEdits[0]->SetText("Praha");
  form->AnswerButtons[0]->setChecked(true);
  form->AnswerButtons[1]->setChecked(false);
  Press("bDalsi");
  EXPECT_EQ(Shown(), Named(2) + " #2");
  const TOtazky& first = CurrentTest.Questions[0];
  EXPECT_EQ(first.Text, "Hlavn\xED m\xECsto?");
  EXPECT_EQ(first.Picture, "/nikde/neni.bmp");
  EXPECT_EQ(first.Points, 7);
  EXPECT_EQ(first.Answers[0], "Praha");
  EXPECT_EQ(first.Correct, (std::vector<bool>{true, false, false}));

  form->AnswerEdits[2]->SetText("posledn\xED");
  form->Close();
  EXPECT_EQ(CurrentTest.Questions[1].Answers[2], "posledn\xED");
}

TEST_F(UpravitTTest, PreviousAndNextStopAtTheEndsAndTheOnlyQuestionIsEmptiedNotDeleted) {
  UseTest(1, 3);
  Open(form);
  Press("bDalsi");
  EXPECT_EQ(Shown(), Named(1) + " #1");
  Press("bPredchozi");
  EXPECT_EQ(Shown(), Named(1) + " #1");
  Press("bSmazat");
  ASSERT_EQ(QuestionCount(CurrentTest), 1);
  EXPECT_EQ(CurrentTest.Questions[0], (TOtazky{"", "", 1, {"", "", ""}, {false, false, false}}));
  EXPECT_EQ(Shown(), " #1");
  EXPECT_EQ(Find<TSpinEdit>(form, "seBody")->Text(), "1");
  EXPECT_EQ(Checks(), (std::vector<bool>{false, false, false}));
  form->Close();
}

TEST_F(UpravitTTest, DeletingTheLastOrAMiddleQuestionShowsTheRightNeighbour) {
  UseTest(3);
  Open(form);
  Press("bDalsi");
  Press("bDalsi");
  Edit("eOtazka")->SetText(
      "neulo\x9E"
      "eno");  // deleting does not store first
  Press("bSmazat");
  EXPECT_EQ(Shown(), Named(2) + " #2");
  EXPECT_EQ(Number()->MaxValue(), 2);
  form->Close();

  UseTest(3);
  Open(form);
  Number()->SetValue(2);
  Press("bSmazat");
  EXPECT_EQ(Shown(), Named(3) + " #2");
  ASSERT_EQ(QuestionCount(CurrentTest), 2);
  EXPECT_EQ(CurrentTest.Questions[0].Text, Named(1));
  EXPECT_EQ(CurrentTest.Questions[1].Text, Named(3));
  form->Close();
}

TEST_F(UpravitTTest, AppendingAndInsertingStoreTheShownQuestionFirst) {
  UseTest(5);
  Open(form);
  Press("bDalsi");
  Edit("eOtazka")->SetText("druh\xE1");
  Press("bPridejO");
  EXPECT_EQ(CurrentTest.Questions[1].Text, "druh\xE1");
  EXPECT_EQ(Shown(), " #6");
  EXPECT_EQ(Number()->MaxValue(), 6);
  EXPECT_EQ(Find<TSpinEdit>(form, "seBody")->Text(), "1");
  EXPECT_EQ(form->AnswerEdits[0]->Text(), "");

  Number()->SetValue(2);
  Edit("eOtazka")->SetText(
      "p\xF8"
      "ed vlo\x9E"
      "en\xEDm");
  Press("bVlozO");
  EXPECT_EQ(Shown(), " #2");
  EXPECT_EQ(Number()->MaxValue(), 7);
  ASSERT_EQ(QuestionCount(CurrentTest), 7);
  EXPECT_EQ(CurrentTest.Questions[2].Text,
            "p\xF8"
            "ed vlo\x9E"
            "en\xEDm");
  // The inserted question takes the points of the one it displaced.
  EXPECT_EQ(CurrentTest.Questions[1].Points, 2);
  EXPECT_EQ(Find<TSpinEdit>(form, "seBody")->Text(), "2");
  EXPECT_EQ(Checks(), (std::vector<bool>{false, false, false}));
  form->Close();
}

TEST_F(UpravitTTest, RadioButtonsShowTheLastOfSeveralFlagsAndStoreOnlyIt) {
  UseTest(2, 4, false);
  CurrentTest.Questions[0].Correct = {true, false, true, false};
  CurrentTest.Questions[1].Correct = {false, false, false, false};
  Open(form);
  EXPECT_EQ(Checks(), (std::vector<bool>{false, false, true, false}));
  Press("bDalsi");
  // A question without a correct answer shows none, though one was checked before.
  EXPECT_EQ(Checks(), (std::vector<bool>{false, false, false, false}));
  EXPECT_EQ(CurrentTest.Questions[0].Correct, (std::vector<bool>{false, false, true, false}));
  form->Close();
  EXPECT_EQ(CurrentTest.Questions[1].Correct, (std::vector<bool>{false, false, false, false}));
}

TEST_F(UpravitTTest, ThePointsBoxIsForPointsGradingAndStoresWithinOneToAHundred) {
  for (int grading : {0, 1, 2}) {
    UseTest(2, 3, false, grading);
    CurrentTest.Questions[0].Points = 0;
    CurrentTest.Questions[1].Points = 150;
    Number()->SetValue(1);  // the number outlives the closing
    Open(form);
    auto* points = Find<TSpinEdit>(form, "seBody");
    EXPECT_EQ(points->isEnabled(), grading == 1);
    EXPECT_EQ(points->Text(), "1");
    Press("bDalsi");
    EXPECT_EQ(points->Text(), "100");
    form->Close();
    EXPECT_EQ(CurrentTest.Questions[0].Points, 1);
    EXPECT_EQ(CurrentTest.Questions[1].Points, 100);
  }
  // Emptied and left it shows 1; typed beyond the range and closed it stores 100.
  UseTest(1, 3, false, 1);
  Open(form);
  auto* points = Find<TSpinEdit>(form, "seBody");
  points->Editor()->setFocus(Qt::MouseFocusReason);
  points->SetText("");
  LeaveNumber();
  EXPECT_EQ(points->Text(), "1");
  points->Editor()->setFocus(Qt::MouseFocusReason);
  points->SetText("250");
  form->Close();
  EXPECT_EQ(CurrentTest.Questions[0].Points, 100);
}

TEST_F(UpravitTTest, TheNumberBoxLoadsValidNumbersAndMendsOthersOnLeavingOrEnter) {
  UseTest(4);
  Open(form);
  Edit("eOtazka")->SetText("prvn\xED upraven\xE1");
  TypeNumber("3");  // entering stored question 1
  EXPECT_EQ(CurrentTest.Questions[0].Text, "prvn\xED upraven\xE1");
  EXPECT_EQ(Shown(), Named(3) + " #3");
  Number()->SetText("");
  EXPECT_EQ(Shown(), Named(3) + " #");  // nothing loaded
  Number()->SetText("9");
  EXPECT_EQ(Shown(), Named(3) + " #9");
  QTest::keyClick(Number()->Editor(), Qt::Key_Return);
  EXPECT_EQ(Shown(), Named(4) + " #4");

  TypeNumber("0");
  LeaveNumber();
  EXPECT_EQ(Shown(), "prvn\xED upraven\xE1 #1");
  TypeNumber("");
  LeaveNumber();
  EXPECT_EQ(Shown(), "prvn\xED upraven\xE1 #1");

  // An arrow of the box stores the shown question before stepping.
  Edit("eOtazka")->SetText("krokem");
  QTest::mouseClick(Number()->UpButton(), Qt::LeftButton);
  EXPECT_EQ(CurrentTest.Questions[0].Text, "krokem");
  EXPECT_EQ(Shown(), Named(2) + " #2");
  form->Close();
}

TEST_F(UpravitTTest, ATextThatIsNoNumberNeverSendsTheShownQuestionElsewhere) {
  UseTest(3);
  Open(form);
  Number()->SetValue(3);
  TypeNumber("-");
  Press("bDalsi");
  // Question 3 stays itself; the box named question 1 once left, so the move starts there.
  EXPECT_EQ(CurrentTest.Questions[0].Text, Named(1));
  EXPECT_EQ(CurrentTest.Questions[2].Text, Named(3));
  EXPECT_EQ(Shown(), Named(2) + " #2");
  form->Close();
}

TEST_F(UpravitTTest, ClosingWithTheFocusInTheNumberBoxStoresToTheQuestionItThenNames) {
  UseTest(3);
  Open(form);
  Number()->SetValue(2);
  Edit("eOtazka")->SetText("druh\xE1 nov\xE1");
  TypeNumber("8");
  form->Close();
  EXPECT_EQ(CurrentTest.Questions[1].Text, "druh\xE1 nov\xE1");
  EXPECT_EQ(CurrentTest.Questions[2].Text, Named(3));
  EXPECT_EQ(Number()->Text(), "3");

  // The number outlives the closing, and follows a test that became shorter.
  Open(form);
  EXPECT_EQ(Shown(), Named(3) + " #3");
  form->Close();
  UseTest(1);
  Open(form);
  EXPECT_EQ(Shown(), Named(1) + " #1");
  EXPECT_EQ(Number()->MaxValue(), 1);
  form->Close();
}

TEST_F(UpravitTTest, ThePictureDialogPutsTheChosenPathInTheBoxAndCancelChangesNothing) {
  UseTest(1);
  Open(form);
  FileDialogs::QueueFileName(dir.File("mapa.jpg"));
  Press("bVObr");
  EXPECT_EQ(Edit("eObrazek")->Text(), dir.File("mapa.jpg"));
  FileDialogs::QueueCancel();
  Press("bVObr");
  EXPECT_EQ(Edit("eObrazek")->Text(), dir.File("mapa.jpg"));
  ASSERT_EQ(FileDialogs::Shown().size(), 2u);
  EXPECT_EQ(FileDialogs::Shown()[0].Name, "opd1");
  for (const char* type : {"*.bmp", "*.ico", "*.png", "*.jpg"})
    EXPECT_NE(FileDialogs::Shown()[0].Filter.find(type), std::string::npos) << type;
  form->Close();
  EXPECT_EQ(CurrentTest.Questions[0].Picture, dir.File("mapa.jpg"));
}

TEST_F(UpravitTTest, ThePictureDialogOffersExactlyThePicturesTheProgramShowsNamedInItsLanguage) {
  UseTest(1);
  Open(form);
  FileDialogs::QueueCancel();
  Press("bVObr");
  form->Close();
  Settings.pJazyk = "English";
  Open(form);
  FileDialogs::QueueCancel();
  Press("bVObr");
  form->Close();
  ASSERT_EQ(FileDialogs::Shown().size(), 2u);
  EXPECT_EQ(FileDialogs::Shown()[0].Filter,
            "V\x9A"
            "echny obr\xE1zky|*.jpg;*.jpeg;*.png;*.bmp;*.ico|Obr\xE1zky JPEG|*.jpg;*.jpeg|Obr\xE1zky PNG|*.png|"
            "Bitmapy|*.bmp|Ikony|*.ico");
  EXPECT_EQ(FileDialogs::Shown()[1].Filter,
            "All pictures|*.jpg;*.jpeg;*.png;*.bmp;*.ico|JPEG pictures|*.jpg;*.jpeg|PNG pictures|*.png|"
            "Bitmaps|*.bmp|Icons|*.ico");

  // Every type offered is one the program shows.
  const QStringList parts = ToQ(FileDialogs::Shown()[0].Filter).split(QLatin1Char('|'));
  for (qsizetype i = 3; i < parts.size(); i += 2) {
    for (const QString& pattern : parts[i].split(QLatin1Char(';'))) {
      const std::string file = dir.File("obrazek" + FromQ(pattern.mid(1)));
      QImage image(12, 8, QImage::Format_RGB32);
      image.fill(Qt::darkRed);
      ASSERT_TRUE(image.save(ToQ(file), pattern.mid(2).toLatin1().constData())) << FromQ(pattern);
      EXPECT_EQ(LoadPicture(file).size(), QSize(12, 8)) << FromQ(pattern);
    }
  }
}

TEST_F(UpravitTTest, APictureWhosePathTheTestFileCannotHoldIsRefusedWhenChosen) {
  UseTest(1);
  Open(form);
  FileDialogs::QueueFileName(dir.File("mapa.jpg"));
  Press("bVObr");
  // "Карта.jpg": Cyrillic is beyond the code page of the test file.
  FileDialogs::QueuePickedName(QString::fromStdString(dir.File("\xD0\x9A\xD0\xB0\xD1\x80\xD1\x82\xD0\xB0.jpg")));
  Press("bVObr");
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].Caption, "Obr\xE1zek...");
  EXPECT_EQ(Boxes()[0].Icon, TMsgIcon::None);
  EXPECT_EQ(ShownToQ(Boxes()[0].Text),
            QString::fromUtf8("Cestu k tomuto obrázku nelze uložit do testu: obsahuje znaky, které soubor s testem "
                              "neumí zapsat. Přejmenujte soubor nebo jeho složku, nebo obrázek přesuňte jinam, a "
                              "vyberte ho znovu.\n\n") +
                QString::fromStdString(dir.File("\xD0\x9A\xD0\xB0\xD1\x80\xD1\x82\xD0\xB0.jpg")));
  EXPECT_EQ(Edit("eObrazek")->Text(), dir.File("mapa.jpg"));
  form->Close();
  EXPECT_EQ(CurrentTest.Questions[0].Picture, dir.File("mapa.jpg"));
}

TEST_F(UpravitTTest, AHandMadeTestWithoutQuestionsOrAnswersOpensWithoutHarm) {
  UseTest(0, 3);
  Open(form);
  ASSERT_EQ(QuestionCount(CurrentTest), 1);
  EXPECT_EQ(Shown(), " #1");
  Edit("eOtazka")->SetText("prvn\xED");
  form->Close();
  EXPECT_EQ(CurrentTest.Questions[0].Text, "prvn\xED");
  EXPECT_EQ(CurrentTest.Questions[0].Answers.size(), 3u);

  UseTest(2, 0);
  Open(form);
  EXPECT_TRUE(form->AnswerEdits.empty());
  EXPECT_EQ(form->Height(), 10 + 41 + 57 + 21 + 40);
  EXPECT_EQ(Shown(), Named(1) + " #1");
  Press("bDalsi");
  Press("bVlozO");
  Press("bSmazat");
  Press("bPridejO");
  form->Close();
  EXPECT_EQ(QuestionCount(CurrentTest), 3);
  EXPECT_EQ(CurrentTest.AnswerCount, 0);
}

}  // namespace

TEST_F(UpravitTTest, TheQuestionNumberStandsLevelWithTheButtonsBesideIt) {
  UseTest(2);
  Open(form);
  EXPECT_EQ(Number()->geometry(), QRect(120, 8, 49, 21));
  form->Close();
}
