#include "localclock.h"

namespace platform {

namespace {
QDateTime& Fixed() {
  static QDateTime moment;
  return moment;
}
}  // namespace

QDateTime LocalNow() { return Fixed().isValid() ? Fixed() : QDateTime::currentDateTime(); }

void SetLocalNow(const QDateTime& moment) { Fixed() = moment; }

QString ShortDateText(const QDate& date, const QLocale& locale) {
  return locale.toString(date, QLocale::ShortFormat);
}

QString LongTimeText(const QTime& time, const QLocale& locale) {
  // Drop the zone letters ('t') outside quoted text with the blanks before them.
  const QString format = locale.timeFormat(QLocale::LongFormat);
  QString kept;
  bool quoted = false;
  for (const QChar c : format) {
    if (c == u'\'') quoted = !quoted;
    if (!quoted && c == u't') {
      while (kept.endsWith(u' ')) kept.chop(1);
      continue;
    }
    kept += c;
  }
  return locale.toString(time, kept.trimmed());
}

}  // namespace platform
