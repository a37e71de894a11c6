// The local clock and the locale's date and time texts.
#include <gtest/gtest.h>

#include "platform/qtgui/localclock.h"

using namespace platform;

namespace {

TEST(LocalClock, TheLongTimeFormatHasNoTimeZone) {
  const QTime t(9, 7, 3);
  EXPECT_EQ(LongTimeText(t, QLocale(QLocale::Czech, QLocale::Czechia)), QStringLiteral("9:07:03"));
  EXPECT_EQ(LongTimeText(t, QLocale(QLocale::German, QLocale::Germany)), QStringLiteral("09:07:03"));
  const QString english = LongTimeText(t, QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_TRUE(english.startsWith(QStringLiteral("9:07:03"))) << english.toStdString();
  EXPECT_TRUE(english.endsWith(QStringLiteral("AM"))) << english.toStdString();
}

TEST(LocalClock, TheShortDateFormatIsTheLocales) {
  const QDate d(2024, 3, 5);
  const QLocale czech(QLocale::Czech, QLocale::Czechia);
  EXPECT_EQ(ShortDateText(d, czech), czech.toString(d, QLocale::ShortFormat));
  EXPECT_TRUE(ShortDateText(d, czech).contains(QStringLiteral("03")));
}

TEST(LocalClock, TestsCanFixTheClock) {
  const QDateTime moment(QDate(2024, 3, 5), QTime(9, 7, 3));
  SetLocalNow(moment);
  EXPECT_EQ(LocalNow(), moment);
  SetLocalNow(QDateTime());
  EXPECT_LE(qAbs(LocalNow().secsTo(QDateTime::currentDateTime())), 1);
}

}  // namespace
