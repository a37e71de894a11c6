#pragma once
// A font as the program's font settings hold it: face, size in points, style
// and colour. The print screen's role fonts are such fonts; the font dialog
// edits them and the printing draws with them.

#include <QColor>
#include <QFont>
#include <cstdint>
#include <string>

namespace platform {

struct TFontSpec {
  std::string Name = "MS Sans Serif";  // code page 1250
  int Size = 8;                        // points
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  uint32_t Color = 0;  // 0x00BBGGRR
  bool operator==(const TFontSpec&) const = default;
};

// The font with its size in points, as a printer takes it.
QFont PointFont(const TFontSpec& spec);
// Its colour, read from the 0x00BBGGRR value.
QColor ColorOf(const TFontSpec& spec);

}  // namespace platform
