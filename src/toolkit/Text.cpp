#include "toolkit/Text.h"

#include <QFile>

#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/qtgui/qtext.h"

namespace toolkit {

std::string Cp1250(std::string_view utf8) { return platform::Utf8ToCp1250(utf8); }

QString ToQ(const std::string& cp1250) { return platform::ToQString(cp1250); }

std::string FromQ(const QString& text) {
  std::string out;
  out.reserve(static_cast<size_t>(text.size()));
  for (char32_t u : text.toUcs4()) out += platform::UnicodeToCp1250(u);
  return out;
}

QString PathToQ(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(platform::NativePath(path))); }

std::string PathFromQ(const QString& path) { return platform::PathText(QFile::encodeName(path).toStdString()); }

QString ShownToQ(const std::string& text) { return QString::fromStdString(platform::NativeOfPathText(text)); }

QString Representable(const QString& text) { return ToQ(FromQ(text)); }

QValidator::State Cp1250Validator::validate(QString& input, int& pos) const {
  const QString kept = Representable(input);
  if (kept != input) {
    // A character outside the basic plane took two units and now takes one.
    const int lost = static_cast<int>(input.size() - kept.size());
    input = kept;
    pos = std::max(0, std::min(pos - lost, static_cast<int>(input.size())));
  }
  return Acceptable;
}

}  // namespace toolkit
