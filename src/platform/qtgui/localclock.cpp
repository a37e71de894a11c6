#include "platform/qtgui/localclock.h"

namespace platform {

namespace {
QDateTime& Fixed() {
  static QDateTime moment;
  return moment;
}

// Newer locale data writes narrow and thin spaces, which code page 1250 lacks.
QString PlainBlanks(QString text) { return text.replace(QChar(0x202F), u' ').replace(QChar(0x2009), u' '); }
}  // namespace

QDateTime LocalNow() { return Fixed().isValid() ? Fixed() : QDateTime::currentDateTime(); }

void SetLocalNow(const QDateTime& moment) { Fixed() = moment; }

QString ShortDateText(const QDate& date, const QLocale& locale) {
  return PlainBlanks(locale.toString(date, QLocale::ShortFormat));
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
  return PlainBlanks(locale.toString(time, kept.trimmed()));
}

}  // namespace platform
