// The password prompt and the menu's password gate.
#include <QApplication>
#include <QTest>

#include "support/ScreenFixture.h"
#include "screens/uMenu.h"
#include "screens/uNTest.h"
#include "screens/uUpravitT.h"
#include "screens/uZHeslo.h"

using namespace toolkit;

namespace {

class Password : public ScreenTest {
 protected:
  // Shows the prompt; the user types text and leaves with a key or the close box.
  void Answer(const QString& text, Qt::Key key) {
    TForm::QueueModal([text, key](TForm& f) {
      auto* edit = f.findChild<TMaskEdit*>(QStringLiteral("meHeslo"));
      QApplication::setActiveWindow(&f);
      edit->setFocus();
      QTest::keyClicks(edit, text);
      if (key == Qt::Key_unknown) {
        f.close();
      } else {
        QTest::keyClick(edit, key);
      }
    });
  }

  void Protect(const std::string& password) {
    CurrentTest.Exists = true;
    CurrentTest.PasswordRequired = true;
    CurrentTest.EditPassword = password;
  }
};

TEST_F(Password, EnterGivesTheTextAsTypedAndEscGivesNothing) {
  Start();
  Answer(QStringLiteral(" Tajne Heslo "), Qt::Key_Return);
  fZHeslo->ShowModal();
  EXPECT_EQ(EnteredPassword, " Tajne Heslo ");

  Answer(QStringLiteral("tajne"), Qt::Key_Escape);
  fZHeslo->ShowModal();
  EXPECT_EQ(EnteredPassword, "");
}

TEST_F(Password, ContinuingWithAnEmptyBoxGivesTheEmptyText) {
  Start();
  EnteredPassword = "zbytek";
  TForm::QueueModal([](TForm& f) { f.findChild<TButton*>(QStringLiteral("bPokracovat"))->click(); });
  fZHeslo->ShowModal();
  EXPECT_EQ(EnteredPassword, "");
}

TEST_F(Password, EveryShowingStartsEmptyAndTheCloseBoxGivesNothing) {
  Start();
  Answer(QStringLiteral("heslo"), Qt::Key_Return);
  fZHeslo->ShowModal();
  EXPECT_EQ(EnteredPassword, "heslo");
  bool emptyAtStart = false;
  TForm::QueueModal([&](TForm& f) {
    emptyAtStart = f.findChild<TMaskEdit*>(QStringLiteral("meHeslo"))->Text().empty();
    f.close();
  });
  fZHeslo->ShowModal();
  EXPECT_TRUE(emptyAtStart);
  EXPECT_EQ(EnteredPassword, "");
}

TEST_F(Password, ThePromptShowsItsTextsInTheChosenLanguage) {
  Start();
  TForm::QueueModal([](TForm& f) {
    EXPECT_EQ(f.Caption(), Cp1250("Přístup..."));
    EXPECT_EQ(static_cast<TfZHeslo&>(f).Label1->Caption(), Cp1250("Tento test je chráněn heslem prosím zadejte jej:"));
    f.close();
  });
  fZHeslo->ShowModal();
  Settings.pJazyk = "English";
  TForm::QueueModal([](TForm& f) {
    EXPECT_EQ(f.Caption(), "Access...");
    EXPECT_EQ(static_cast<TfZHeslo&>(f).bPokracovat->Caption(), "Continue");
    EXPECT_EQ(static_cast<TfZHeslo&>(f).bZpet->Caption(), "Back");
    f.close();
  });
  fZHeslo->ShowModal();
}

TEST_F(Password, TheGateOpensForTheRightTextOnly) {
  Start();
  Protect("Heslo");
  Answer(QStringLiteral("Heslo"), Qt::Key_Return);
  EXPECT_TRUE(fMenu->PasswordGate());
  Answer(QStringLiteral("heslo"), Qt::Key_Return);
  EXPECT_FALSE(fMenu->PasswordGate());
  Answer(QStringLiteral("Heslo"), Qt::Key_unknown);
  EXPECT_FALSE(fMenu->PasswordGate());
  EXPECT_EQ(TForm::ShownModals().size(), 3u);
  // A refusal says nothing.
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(Password, AnEmptyPasswordOpensToTheCloseBox) {
  Start();
  Protect("");
  Answer(QStringLiteral("x"), Qt::Key_unknown);
  EXPECT_TRUE(fMenu->PasswordGate());
}

TEST_F(Password, AnUnprotectedTestOpensWithoutThePrompt) {
  Start();
  CurrentTest.Exists = true;
  EXPECT_TRUE(fMenu->PasswordGate());
  fMenu->bVlastnostiTestu->click();
  fMenu->bUpravitTest->click();
  EXPECT_EQ(TForm::ShownModals(), (std::vector<std::string>{"fNTest", "fUpravitT"}));
}

TEST_F(Password, BothGuardedButtonsShowThePrompt) {
  Start();
  Protect("Heslo");
  fMenu->OZobrazeni();
  Answer(QStringLiteral("HESLO"), Qt::Key_Return);
  fMenu->bVlastnostiTestu->click();
  Answer(QStringLiteral("HESLO"), Qt::Key_Return);
  fMenu->bUpravitTest->click();
  EXPECT_EQ(TForm::ShownModals(), (std::vector<std::string>{"fZHeslo", "fZHeslo"}));
  EXPECT_TRUE(Boxes().empty());
}

}  // namespace
