#include "platform/qtgui/fontface.h"

#include "platform/qtgui/qtext.h"

namespace platform {

QFont PointFont(const TFontSpec& spec) {
  QFont f(ToQString(spec.Name));
  f.setPointSize(spec.Size);
  f.setBold(spec.Bold);
  f.setItalic(spec.Italic);
  f.setUnderline(spec.Underline);
  f.setStrikeOut(spec.StrikeOut);
  return f;
}

QColor ColorOf(const TFontSpec& spec) {
  return QColor(spec.Color & 0xFF, (spec.Color >> 8) & 0xFF, (spec.Color >> 16) & 0xFF);
}

}  // namespace platform
