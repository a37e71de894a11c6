// The test properties screen: creating and editing the header of the current test.
#include "support/ScreenFixture.h"
#include "support/TestDocument.h"
#include "screens/uNTest.h"

using namespace toolkit;

namespace {

class NTestTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    Start();
    form = fNTest;
  }

  // A test as the loader leaves it: two questions of four answers, graded by points.
  static TDTest StoredTest() {
    TestDocument t;
    t.Name("Zem\xECpis")  // "Zeměpis"
        .Answers(4, true)
        .Grading(kGradingByPoints, 500, 400, 300, 200)
        .Times(45, 20)
        .Loaded("/tmp/zemepis.sst")
        .Navigation(true, false);
    for (int i = 0; i < 2; ++i)
      t.Question("Ot\xE1zka " + std::to_string(i + 1), {"a", "b", "c", "d"}, {false, true, false, true}, 3 + i,
                 "mapa.bmp");
    return t;
  }

  TSpinEdit* Spin(const char* name) { return Find<TSpinEdit>(form, name); }
  TCheckBox* Check(const char* name) { return Find<TCheckBox>(form, name); }
  // Types into a box and leaves it, as the user does.
  void TypeAndLeave(TSpinEdit* box, const std::string& text) {
    box->Editor()->setFocus(Qt::MouseFocusReason);
    box->SetText(text);
    Find<TEdit>(form, "eJTestu")->setFocus(Qt::MouseFocusReason);
  }

  TfNTest* form;
};

TEST_F(NTestTest, FirstOpeningWithoutATestShowsTheInitialValuesInTheChosenLanguage) {
  Open(form);
  EXPECT_EQ(form->Caption(), "Vlastnosti testu");
  EXPECT_EQ(form->ClientWidth(), 273);
  EXPECT_EQ(form->ClientHeight(), 510);
  EXPECT_EQ(Find<TLabel>(form, "Label1")->Caption(), Cp1250("Jméno testu:"));
  EXPECT_EQ(Find<TEdit>(form, "eJTestu")->Text(), Cp1250("Nový test"));
  EXPECT_EQ(Spin("seOdpovedi")->Text(), "3");
  EXPECT_EQ(Spin("seOdpovedi")->MinValue(), 2);
  EXPECT_EQ(Spin("seOdpovedi")->MaxValue(), 10);
  EXPECT_FALSE(Check("cbKombinace")->Checked());
  EXPECT_FALSE(Check("cbKodovat")->Checked());
  EXPECT_FALSE(Check("cbHeslo")->Checked());
  EXPECT_EQ(Find<TEdit>(form, "eHeslo")->Text(), "");
  auto* grading = Find<TRadioGroup>(form, "rZHodnoceni");
  ASSERT_EQ(grading->ItemCount(), 3);
  EXPECT_EQ(grading->Item(2), Cp1250("Procentové"));
  EXPECT_EQ(grading->ItemIndex(), 2);
  const char* const thresholds[] = {"seDo1", "seDo2", "seDo3", "seDo4"};
  const char* const values[] = {"90", "80", "60", "35"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(Spin(thresholds[i])->Text(), values[i]);
    EXPECT_EQ(Spin(thresholds[i])->MinValue(), 0);
    EXPECT_EQ(Spin(thresholds[i])->MaxValue(), 100);
  }
  EXPECT_TRUE(Check("cbCas")->Checked());
  EXPECT_EQ(Check("cbCas")->Caption(), Cp1250("Časové omezení otázky:"));
  EXPECT_EQ(Spin("seCas")->Text(), "30");
  EXPECT_EQ(Spin("seCas")->MaxValue(), 600);
  EXPECT_FALSE(Check("cbCasOdp")->Checked());
  EXPECT_EQ(Spin("seCasT")->Text(), "0");
  EXPECT_EQ(Spin("seCasT")->MaxValue(), 500);
  EXPECT_FALSE(Find<TButton>(form, "bUpravit")->isEnabled());
  EXPECT_TRUE(Find<TButton>(form, "bVytvorit")->isEnabled());
  EXPECT_TRUE(Find<TButton>(form, "bZpet")->isEnabled());
  form->Close();

  // The texts follow the language chosen since.
  Settings.pJazyk = "English";
  Open(form);
  EXPECT_EQ(form->Caption(), "Test properties");
  EXPECT_EQ(Find<TButton>(form, "bVytvorit")->Caption(), "Create");
  EXPECT_EQ(grading->Item(0), "By errors");
  EXPECT_EQ(grading->ItemIndex(), 2);
  form->Close();
}

TEST_F(NTestTest, CreatingWithoutATestAsksNothingAndTakesTheScreensValues) {
  Open(form);
  Find<TEdit>(form, "eJTestu")
      ->SetText(
          "Dopravn\xED v\xFD"
          "chova");
  Spin("seOdpovedi")->SetValue(5);
  Check("cbKombinace")->SetChecked(true);
  Check("cbKodovat")->SetChecked(true);
  Find<TRadioGroup>(form, "rZHodnoceni")->SetItemIndex(0);
  Spin("seDo1")->SetValue(1);
  Check("cbCasOdp")->SetChecked(true);
  Spin("seCasT")->SetValue(15);
  Click(Find<TButton>(form, "bVytvorit"));

  EXPECT_TRUE(MessageBoxes::Shown().empty());
  EXPECT_FALSE(form->isVisible());
  const TDTest& t = CurrentTest;
  EXPECT_TRUE(t.Exists);
  EXPECT_TRUE(t.Changed);
  EXPECT_EQ(t.FileName, "");
  EXPECT_EQ(t.Name,
            "Dopravn\xED v\xFD"
            "chova");
  EXPECT_EQ(t.AnswerCount, 5);
  EXPECT_TRUE(t.MultipleCorrect);
  EXPECT_TRUE(t.Scrambled);
  EXPECT_EQ(t.GradingMode, 0);
  EXPECT_EQ(t.Limit1, 1);
  EXPECT_EQ(t.Limit4, 35);
  EXPECT_EQ(t.QuestionTimeLimit, 30);
  EXPECT_EQ(t.TestTimeLimit, 15);
  ASSERT_EQ(QuestionCount(t), 1);
  EXPECT_EQ(t.Questions[0], (TOtazky{"", "", 1, std::vector<std::string>(5), std::vector<bool>(5, false)}));
}

TEST_F(NTestTest, CreatingOverAnExistingTestAsksAndNoKeepsEverything) {
  CurrentTest = StoredTest();
  const TDTest before = CurrentTest;
  Open(form);
  Find<TEdit>(form, "eJTestu")->SetText("Nov\xFD");
  MessageBoxes::QueueAnswer(TMsgButton::No);
  Click(Find<TButton>(form, "bVytvorit"));
  ASSERT_EQ(MessageBoxes::Shown().size(), 1u);
  const TShownBox& box = MessageBoxes::Shown()[0];
  EXPECT_EQ(box.Caption, Cp1250("Vytvořit..."));
  EXPECT_EQ(box.Text, LangText("TestZmenenVytvoritNovyBezUlozeni"));
  EXPECT_EQ(box.Icon, TMsgIcon::Warning);
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(CurrentTest, before);

  MessageBoxes::QueueAnswer(TMsgButton::Yes);
  Click(Find<TButton>(form, "bVytvorit"));
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(CurrentTest.Name, "Nov\xFD");
  EXPECT_EQ(CurrentTest.FileName, "");
  EXPECT_TRUE(CurrentTest.Changed);
  // The screen showed the old test's header; every value is taken from it.
  EXPECT_EQ(CurrentTest.AnswerCount, 4);
  EXPECT_EQ(CurrentTest.GradingMode, 1);
  EXPECT_EQ(CurrentTest.Limit1, 500);
  ASSERT_EQ(QuestionCount(CurrentTest), 1);
  EXPECT_EQ(CurrentTest.Questions[0], (TOtazky{"", "", 1, std::vector<std::string>(4), std::vector<bool>(4, false)}));
}

TEST_F(NTestTest, OpeningWithATestFillsTheControlsFromIt) {
  CurrentTest = StoredTest();
  CurrentTest.PasswordRequired = true;
  CurrentTest.EditPassword = "Tajne";
  CurrentTest.ShowCorrectAnswers = true;
  Open(form);
  EXPECT_EQ(Find<TEdit>(form, "eJTestu")->Text(), "Zem\xECpis");
  EXPECT_EQ(Spin("seOdpovedi")->Text(), "4");
  EXPECT_TRUE(Check("cbKombinace")->Checked());
  EXPECT_TRUE(Check("cbHeslo")->Checked());
  EXPECT_EQ(Find<TEdit>(form, "eHeslo")->Text(), "Tajne");
  EXPECT_EQ(Find<TEdit>(form, "eHeslo")->echoMode(), QLineEdit::Normal);
  EXPECT_TRUE(Check("cbSpravneO")->Checked());
  EXPECT_TRUE(Check("cbLibPosunPO")->Checked());
  EXPECT_EQ(Find<TRadioGroup>(form, "rZHodnoceni")->ItemIndex(), 1);
  EXPECT_EQ(Spin("seDo1")->Text(), "500");
  EXPECT_EQ(Spin("seDo1")->MaxValue(), 100000000);
  EXPECT_TRUE(Check("cbCas")->Checked());
  EXPECT_EQ(Spin("seCas")->Text(), "45");
  EXPECT_TRUE(Check("cbCasOdp")->Checked());
  EXPECT_EQ(Spin("seCasT")->Text(), "20");
  EXPECT_TRUE(Find<TButton>(form, "bUpravit")->isEnabled());
  form->Close();

  // Out-of-range values of a hand-made file are brought into the boxes' ranges.
  CurrentTest.AnswerCount = 0;
  CurrentTest.QuestionTimeLimit = 9000;
  Open(form);
  EXPECT_EQ(Spin("seOdpovedi")->Text(), "2");
  EXPECT_EQ(Spin("seCas")->Text(), "600");
  form->Close();
}

TEST_F(NTestTest, APasswordIsAskedForOnlyWhenTickedAndTyped) {
  CurrentTest = StoredTest();
  Open(form);
  Check("cbHeslo")->SetChecked(true);
  Find<TEdit>(form, "eHeslo")->SetText("");
  Click(Find<TButton>(form, "bUpravit"));
  EXPECT_FALSE(Check("cbHeslo")->Checked());
  EXPECT_FALSE(CurrentTest.PasswordRequired);

  // Typed but not ticked: kept in the test, not asked for, shown again.
  Open(form);
  Find<TEdit>(form, "eHeslo")->SetText("Heslo1");
  Click(Find<TButton>(form, "bUpravit"));
  EXPECT_FALSE(CurrentTest.PasswordRequired);
  EXPECT_EQ(CurrentTest.EditPassword, "Heslo1");
  Find<TEdit>(form, "eHeslo")->SetText("");
  Open(form);
  EXPECT_EQ(Find<TEdit>(form, "eHeslo")->Text(), "Heslo1");
  EXPECT_FALSE(Check("cbHeslo")->Checked());
  form->Close();
}

TEST_F(NTestTest, TimeLimitBoxesStoreZeroWhenUntickedAndEmptyTextsBecomeTheirNumbers) {
  CurrentTest = StoredTest();
  Open(form);
  Check("cbCas")->SetChecked(false);
  Spin("seCas")->SetValue(120);
  Click(Find<TButton>(form, "bUpravit"));
  EXPECT_EQ(CurrentTest.QuestionTimeLimit, 0);
  Open(form);
  EXPECT_FALSE(Check("cbCas")->Checked());
  EXPECT_EQ(Spin("seCas")->Text(), "0");

  // Emptied time boxes show 0 at once; other emptied boxes when left.
  Spin("seCas")->SetText("");
  EXPECT_EQ(Spin("seCas")->Text(), "0");
  Spin("seCasT")->Editor()->setFocus(Qt::MouseFocusReason);
  Spin("seCasT")->Editor()->selectAll();
  QTest::keyClick(Spin("seCasT")->Editor(), Qt::Key_Backspace);
  EXPECT_EQ(Spin("seCasT")->Text(), "0");
  TypeAndLeave(Spin("seOdpovedi"), "");
  EXPECT_EQ(Spin("seOdpovedi")->Text(), "3");
  TypeAndLeave(Spin("seDo3"), "");
  EXPECT_EQ(Spin("seDo3")->Text(), "0");
  Click(Find<TButton>(form, "bZpet"));
}

TEST_F(NTestTest, ThresholdsFollowTheGradingModesLimitOnlyWhenTheirBoxIsLeft) {
  CurrentTest = StoredTest();  // points, thresholds 500..200
  Open(form);
  auto* grading = Find<TRadioGroup>(form, "rZHodnoceni");
  Click(grading->Button(2));
  EXPECT_EQ(grading->ItemIndex(), 2);
  EXPECT_EQ(Spin("seDo1")->MaxValue(), 100);
  EXPECT_EQ(Spin("seDo1")->Text(), "500");
  TypeAndLeave(Spin("seDo2"), "150");
  EXPECT_EQ(Spin("seDo2")->Text(), "100");
  Click(Find<TButton>(form, "bUpravit"));
  EXPECT_EQ(CurrentTest.GradingMode, 2);
  EXPECT_EQ(CurrentTest.Limit1, 500);  // never entered: stored as it stood
  EXPECT_EQ(CurrentTest.Limit2, 100);
  Open(form);
  EXPECT_EQ(Spin("seDo1")->Text(), "100");
  // Back to points: the limit rises, the values stay.
  Click(grading->Button(0));
  EXPECT_EQ(Spin("seDo1")->MaxValue(), 100000000);
  EXPECT_EQ(Spin("seDo1")->Text(), "100");
  form->Close();
}

TEST_F(NTestTest, ChangingTheAnswerCountDropsAndAddsAnswersOfEveryQuestion) {
  CurrentTest = StoredTest();
  Open(form);
  TypeAndLeave(Spin("seOdpovedi"), "3");
  Click(Find<TButton>(form, "bUpravit"));
  for (const TOtazky& q : CurrentTest.Questions) {
    EXPECT_EQ(q.Answers, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(q.Correct, (std::vector<bool>{false, true, false}));
  }
  Open(form);
  Spin("seOdpovedi")->SetValue(4);
  Click(Find<TButton>(form, "bUpravit"));
  for (const TOtazky& q : CurrentTest.Questions) {
    EXPECT_EQ(q.Answers, (std::vector<std::string>{"a", "b", "c", ""}));
    EXPECT_EQ(q.Correct, (std::vector<bool>{false, true, false, false}));
    EXPECT_EQ(q.Picture, "mapa.bmp");
  }
  // A count typed outside 2..10 is brought into the range, never emptying the answers.
  Open(form);
  Spin("seOdpovedi")->SetText("-4");
  Find<TButton>(form, "bUpravit")->click();
  EXPECT_EQ(CurrentTest.AnswerCount, 2);
  EXPECT_EQ(CurrentTest.Questions[0].Answers, (std::vector<std::string>{"a", "b"}));
}

TEST_F(NTestTest, EditingMarksTheTestChangedAndBackLeavesItAsItWas) {
  CurrentTest = StoredTest();
  const TDTest before = CurrentTest;
  Open(form);
  Find<TEdit>(form, "eJTestu")->SetText("Jin\xE9 jm\xE9no");
  Click(Find<TButton>(form, "bZpet"));
  EXPECT_EQ(CurrentTest, before);

  Open(form);
  EXPECT_EQ(Find<TEdit>(form, "eJTestu")->Text(), "Zem\xECpis");
  Click(Find<TButton>(form, "bUpravit"));
  TDTest expected = before;
  expected.Changed = true;
  EXPECT_EQ(CurrentTest, expected);
}

TEST_F(NTestTest, WithoutATestTheScreenKeepsWhatWasTypedButSelectsPercent) {
  Open(form);
  Find<TEdit>(form, "eJTestu")->SetText("Rozepsan\xFD");
  Find<TRadioGroup>(form, "rZHodnoceni")->SetItemIndex(1);
  Spin("seDo1")->SetValue(1000);
  Click(Find<TButton>(form, "bZpet"));
  EXPECT_FALSE(CurrentTest.Exists);
  Open(form);
  EXPECT_EQ(Find<TEdit>(form, "eJTestu")->Text(), "Rozepsan\xFD");
  EXPECT_EQ(Find<TRadioGroup>(form, "rZHodnoceni")->ItemIndex(), 2);
  EXPECT_EQ(Spin("seDo1")->MaxValue(), 100);
  EXPECT_EQ(Spin("seDo1")->Text(), "1000");
  form->Close();
}

}  // namespace

// Tab walks the screen in the order of its groups at every showing, also after
// NastavTxt has rebuilt the grading choice. The choice is one stop, on its
// selected item: Space there must not change the grading.
TEST_F(NTestTest, TabGoesFromThePasswordToTheGradingChoiceAndOnToTheThresholdsAtEveryShowing) {
  auto* grading = Find<TRadioGroup>(form, "rZHodnoceni");
  for (int showing = 0; showing < 2; ++showing) {
    Open(form);
    Find<TEdit>(form, "eHeslo")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), grading->Button(2)) << "showing " << showing;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(grading->ItemIndex(), 2) << "showing " << showing;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(Spin("seDo1")->isAncestorOf(QApplication::focusWidget())) << "showing " << showing;
    // The last button leads back to the top, not into the choice.
    Find<TButton>(form, "bZpet")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_FALSE(grading->isAncestorOf(QApplication::focusWidget())) << "showing " << showing;
    form->Close();
  }
}

TEST_F(NTestTest, ALongNameOpensShowingItsStart) {
  TDTest t = StoredTest();
  // "Zeměpis Evropy a světa pro sedmé a osmé třídy, opakování před závěrečnou zkouškou"
  t.Name =
      "Zem\xECpis Evropy a sv\xECta pro sedm\xE9 a osm\xE9 t\xF8\xED"
      "dy, opakov\xE1n\xED p\xF8"
      "ed "
      "z\xE1v\xECre\xE8nou zkou\x9Akou";
  CurrentTest = t;
  Open(form);
  auto* name = Find<TEdit>(form, "eJTestu");
  EXPECT_EQ(name->Text(), t.Name);
  EXPECT_EQ(name->cursorPosition(), 0);
  // The first letter stands at the box's left edge, not scrolled out of sight.
  EXPECT_EQ(name->cursorPositionAt(QPoint(4, name->height() / 2)), 0);

  // Tab into the box selects the whole name, so typing replaces it, and still shows its start.
  Find<TButton>(form, "bZpet")->setFocus(Qt::TabFocusReason);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), name);
  EXPECT_EQ(name->selectedText().size(), name->text().size());
  EXPECT_EQ(name->cursorPosition(), 0);
  EXPECT_EQ(name->cursorPositionAt(QPoint(4, name->height() / 2)), 0);
}
