// Qt's own texts follow the user's language: a Czech locale gives Czech
// buttons in the message boxes and dialogs.
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "toolkit/Application.h"
#include "toolkit/Toolkit.h"

using namespace toolkit;

namespace {

QString ButtonText(QMessageBox::StandardButton which) {
  QMessageBox box;
  box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  return box.button(which)->text().remove(QLatin1Char('&'));
}

TEST(QtTranslations, ACzechLocaleGivesCzechStandardButtons) {
  ASSERT_TRUE(Application()->LoadQtTranslations(QLocale(QLocale::Czech, QLocale::CzechRepublic)));
  EXPECT_EQ(ButtonText(QMessageBox::Yes), QStringLiteral("Ano"));
  EXPECT_EQ(ButtonText(QMessageBox::No), QStringLiteral("Ne"));
  EXPECT_EQ(ButtonText(QMessageBox::Cancel), QStringLiteral("Zrušit"));

  // Another language replaces the Czech texts rather than stacking on them.
  Application()->LoadQtTranslations(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(ButtonText(QMessageBox::Yes), QStringLiteral("Yes"));
}

// The save dialog's own questions, as a Czech user meets them beside Qt's
// Czech buttons: the replace question and the refused path, under the
// dialog's caption.
TEST(QtTranslations, TheFileDialogsOwnQuestionsFollowQtsLanguage) {
  testsupport::TempDir dir;
  testsupport::WriteBytes(dir.File("stary.sst"), "x");
  TSaveDialog sd(nullptr, "sd1");
  sd.DefaultExt = "sst";
  sd.InitialDir = dir.Path();
  sd.Options = ofOverwritePrompt | ofPathMustExist;
  auto ask = [&] {
    MessageBoxes::Clear();
    FileDialogs::QueueFileName("chybi/novy");
    FileDialogs::QueueFileName("stary");
    MessageBoxes::QueueAnswer(TMsgButton::Ok);
    MessageBoxes::QueueAnswer(TMsgButton::Yes);
    EXPECT_TRUE(sd.Execute());
    return MessageBoxes::Shown();
  };

  ASSERT_TRUE(Application()->LoadQtTranslations(QLocale(QLocale::Czech, QLocale::CzechRepublic)));
  auto boxes = ask();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].Caption, Cp1250("Uložit jako"));
  EXPECT_EQ(boxes[0].Text, dir.File("chybi/novy.sst") + Cp1250("\nCesta neexistuje.\nZkontrolujte cestu a zkuste to znovu."));
  EXPECT_EQ(boxes[1].Text, Cp1250("Soubor stary.sst již existuje.\nChcete jej nahradit?"));

  Application()->LoadQtTranslations(QLocale(QLocale::English, QLocale::UnitedStates));
  boxes = ask();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].Caption, "Save As");
  EXPECT_EQ(boxes[0].Text, dir.File("chybi/novy.sst") + "\nPath does not exist.\nCheck the path and try again.");
  EXPECT_EQ(boxes[1].Text, "stary.sst already exists.\nDo you want to replace it?");
  MessageBoxes::Clear();
  FileDialogs::Clear();
}

}  // namespace
