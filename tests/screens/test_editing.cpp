// The teacher's road through the main menu: create a test, write its
// questions and answers, save it, load it back and find everything as typed.
#include "support/ScreenFixture.h"
#include "screens/uMenu.h"
#include "screens/uNTest.h"
#include "screens/uUpravitT.h"
#include "screens/uZHeslo.h"

using namespace toolkit;

namespace {

using Editing = ScreenTest;

struct Typed {
  std::string text, picture;
  int points;
  std::vector<std::string> answers;
  std::vector<bool> correct;
};

const Typed kQuestions[] = {
    {"Kolik nohou m\xE1 pavouk?",
     "",
     2,
     {"\x9A"
      "est",
      "osm", "deset"},
     {false, true, false}},
    {"Kter\xE1 \xE8\xEDsla jsou prvo\xE8\xEDsla?",
     "/obr\xE1zky/\xE8\xEDsla.jpg",
     5,
     {"2", "9", "13"},
     {true, false, true}},
};

void TypeQuestion(TfUpravitT& f, const Typed& q) {
  Find<TEdit>(&f, "eOtazka")->SetText(q.text);
  Find<TEdit>(&f, "eObrazek")->SetText(q.picture);
  Find<TSpinEdit>(&f, "seBody")->SetValue(q.points);
  for (size_t i = 0; i < q.answers.size(); ++i) {
    f.AnswerEdits[i]->SetText(q.answers[i]);
    if (q.correct[i] != f.AnswerButtons[i]->isChecked()) Click(f.AnswerButtons[i]);
  }
}

Typed ShownQuestion(TfUpravitT& f) {
  Typed q{Find<TEdit>(&f, "eOtazka")->Text(),
          Find<TEdit>(&f, "eObrazek")->Text(),
          Find<TSpinEdit>(&f, "seBody")->Value(),
          {},
          {}};
  for (size_t i = 0; i < f.AnswerEdits.size(); ++i) {
    q.answers.push_back(f.AnswerEdits[i]->Text());
    q.correct.push_back(f.AnswerButtons[i]->isChecked());
  }
  return q;
}

void ExpectSame(const Typed& shown, const Typed& typed) {
  EXPECT_EQ(shown.text, typed.text);
  EXPECT_EQ(shown.picture, typed.picture);
  EXPECT_EQ(shown.points, typed.points);
  EXPECT_EQ(shown.answers, typed.answers);
  EXPECT_EQ(shown.correct, typed.correct);
}

TEST_F(Editing, ATestCreatedFromTheMenuIsSavedAndLoadedBackAsTyped) {
  Start();
  TForm::QueueModal([](TForm& form) {
    auto& f = static_cast<TfNTest&>(form);
    QApplication::setActiveWindow(&f);
    f.eJTestu->SetText("P\xF8\xEDroda a \xE8\xEDsla");
    f.seOdpovedi->SetValue(3);
    f.cbKombinace->SetChecked(true);
    Click(f.rZHodnoceni->Button(1));
    f.seDo1->SetValue(7);
    f.cbKodovat->SetChecked(true);
    Click(f.bVytvorit);
  });
  Click(fMenu->bVlastnostiTestu);
  EXPECT_TRUE(CurrentTest.Exists);
  EXPECT_TRUE(fMenu->bUpravitTest->isEnabled());
  EXPECT_TRUE(fMenu->bUlozitTest->isEnabled());

  TForm::QueueModal([](TForm& form) {
    auto& f = static_cast<TfUpravitT&>(form);
    QApplication::setActiveWindow(&f);
    TypeQuestion(f, kQuestions[0]);
    Click(f.bPridejO);
    TypeQuestion(f, kQuestions[1]);
    Click(f.bZpet);
  });
  Click(fMenu->bUpravitTest);
  ASSERT_EQ(QuestionCount(CurrentTest), 2);
  EXPECT_TRUE(CurrentTest.Changed);

  FileDialogs::QueueFileName(dir.File("priroda"));
  Click(fMenu->bUlozitTest);
  EXPECT_FALSE(CurrentTest.Changed);
  const TDTest saved = CurrentTest;
  EXPECT_EQ(saved.FileName, dir.File("priroda.sst"));

  CurrentTest = TDTest();
  FileDialogs::QueueFileName(dir.File("priroda.sst"));
  Click(fMenu->bNacistTest);
  EXPECT_EQ(CurrentTest, saved);
  EXPECT_TRUE(CurrentTest.Scrambled);

  // Both screens show it again as it was typed.
  std::vector<Typed> shown;
  TForm::QueueModal([&shown](TForm& form) {
    auto& f = static_cast<TfUpravitT&>(form);
    QApplication::setActiveWindow(&f);
    Click(f.bPredchozi);
    shown.push_back(ShownQuestion(f));
    Click(f.bDalsi);
    shown.push_back(ShownQuestion(f));
  });
  Click(fMenu->bUpravitTest);
  ASSERT_EQ(shown.size(), 2u);
  ExpectSame(shown[0], kQuestions[0]);
  ExpectSame(shown[1], kQuestions[1]);

  std::string name, threshold;
  int grading = -1;
  TForm::QueueModal([&](TForm& form) {
    auto& f = static_cast<TfNTest&>(form);
    name = f.eJTestu->Text();
    grading = f.rZHodnoceni->ItemIndex();
    threshold = f.seDo1->Text();
  });
  Click(fMenu->bVlastnostiTestu);
  EXPECT_EQ(name, "P\xF8\xEDroda a \xE8\xEDsla");
  EXPECT_EQ(grading, 1);
  EXPECT_EQ(threshold, "7");
  EXPECT_EQ(TForm::ShownModals(), (std::vector<std::string>{"fNTest", "fUpravitT", "fUpravitT", "fNTest"}));
}

TEST_F(Editing, AProtectedTestOpensItsScreensOnlyWithItsPassword) {
  Start({MakeTest("Chraneny", 2, "Tajne")});
  auto answer = [](const char* password) {
    return [password](TForm& form) {
      auto& f = static_cast<TfZHeslo&>(form);
      f.meHeslo->SetText(password);
      f.bPokracovat->click();
    };
  };
  TForm::QueueModal(answer("tajne"));
  Click(fMenu->bUpravitTest);
  TForm::QueueModal(answer("Tajne"));
  Click(fMenu->bVlastnostiTestu);
  EXPECT_EQ(TForm::ShownModals(), (std::vector<std::string>{"fZHeslo", "fZHeslo", "fNTest"}));
  EXPECT_TRUE(Boxes().empty());
}

}  // namespace
