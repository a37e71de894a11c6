#pragma once
// The local clock and the locale's date and time texts.

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace platform {

// The local date and time now.
QDateTime LocalNow();
// Test seam: fixes the clock at this moment; an invalid one lets it run again.
void SetLocalNow(const QDateTime& moment);

// Both texts use plain blanks where the locale has narrow or thin spaces, so
// they keep their look in code page 1250.

// The date in the locale's short date format.
QString ShortDateText(const QDate& date, const QLocale& locale = QLocale());
// The time in the locale's long time format: hours, minutes and seconds as the
// locale writes them, without the time zone that Qt's long format appends.
QString LongTimeText(const QTime& time, const QLocale& locale = QLocale());

}  // namespace platform
