// Qt's own texts follow the user's language: a Czech locale gives Czech
// buttons in the message boxes and dialogs.
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>

#include "toolkit/Application.h"

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

}  // namespace
