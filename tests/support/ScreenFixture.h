#pragma once
// A program directory of its own with the shipped language table, a fresh
// current test, the screens made as the start-up makes them, and empty seams.

#include <QTest>
#include <gtest/gtest.h>

#include <stdexcept>

#include "support/TestDocument.h"
#include "support/TestSupport.h"
#include "app/Prepare.h"
#include "app/Screens.h"
#include "toolkit/Toolkit.h"
#include "platform/appdir.h"
#include "model/uDApp.h"
#include "model/uDTest.h"
#include "screens/uMenu.h"

class ScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::WriteBytes(dir.File("jazyk.ini"), testsupport::ReadBytes(testsupport::SourceDir() + "data/jazyk.ini"));
    platform::SetProgramDir(dir.Path());
    CurrentTest = TDTest{};
    EnteredPassword.clear();
    Settings = TNastaveni{};
    toolkit::MessageBoxes::Clear();
    toolkit::FileDialogs::Clear();
    toolkit::TForm::ClearModals();
    toolkit::Application()->SetOnHelp(nullptr);
    toolkit::Application()->SetTitle("Zorvik");
  }

  void TearDown() override {
    DestroyScreens();
    platform::SetProgramDir("");
  }

  // Starts the screens as the program does, with these command-line arguments.
  void Start(const std::vector<std::string>& args = {}) {
    toolkit::Application()->SetParams(args);
    PrepareApplication(*toolkit::Application());
  }

  // A test file of n questions with two answers each.
  std::string MakeTest(const std::string& name, int n, const std::string& password = "") {
    TDTest t = TestDocument().Name(name).Answers(2).Grading(kGradingByPercent).Password(password);
    SetQuestionCount(t, n);
    for (int i = 0; i < n; ++i) {
      t.Questions[static_cast<size_t>(i)].Text = "Ot\xE1zka " + std::to_string(i + 1);
      t.Questions[static_cast<size_t>(i)].Points = 1;
      t.Questions[static_cast<size_t>(i)].Correct[0] = true;
    }
    const std::string path = dir.File(name + ".sst");
    SaveTest(t, path);
    return path;
  }

  bool TestButtonsEnabled() const {
    return fMenu->bSpustitTest->isEnabled() && fMenu->bUpravitTest->isEnabled() && fMenu->bTiskTestu->isEnabled() &&
           fMenu->bUlozitTest->isEnabled();
  }
  bool TestButtonsDisabled() const {
    return !fMenu->bSpustitTest->isEnabled() && !fMenu->bUpravitTest->isEnabled() && !fMenu->bTiskTestu->isEnabled() &&
           !fMenu->bUlozitTest->isEnabled();
  }

  const std::vector<toolkit::TShownBox>& Boxes() const { return toolkit::MessageBoxes::Shown(); }

  testsupport::TempDir dir;
};

// Question n (from 1) of a run: "Otázka n" with the answers "n.1", "n.2", ...
// and this key.
inline TOtazky NumberedQuestion(int n, const std::vector<bool>& key, int32_t points = 1) {
  TOtazky q;
  q.Text = "Ot\xE1zka " + std::to_string(n);
  q.Points = points;
  for (size_t a = 0; a < key.size(); ++a) q.Answers.push_back(std::to_string(n) + "." + std::to_string(a + 1));
  q.Correct = key;
  return q;
}

// The control of that name within the form; a missing one fails the test.
template <class T>
T* Find(const QWidget* form, const char* name) {
  T* control = form->findChild<T*>(QString::fromLatin1(name));
  if (!control) {
    ADD_FAILURE() << "no control " << name;
    throw std::runtime_error(name);
  }
  return control;
}

// A click as the user makes it: the button takes the focus, so the box left runs its exit.
inline void Click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); }

// Shows a screen without blocking, as the active window, so focus moves run
// their enter and exit handlers.
inline void Open(toolkit::TForm* form) {
  form->show();
  QApplication::setActiveWindow(form);
}
