#include "platform/qtgui/qtext.h"

#include "platform/cp1250.h"

namespace platform {

QString ToQString(std::string_view cp1250) {
  QString out;
  out.reserve(static_cast<qsizetype>(cp1250.size()));
  for (unsigned char c : cp1250) out += QChar(Cp1250ToUnicode(c));
  return out;
}

}  // namespace platform
