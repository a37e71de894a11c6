#pragma once
// Rich text written as RTF: what the rich edit saves and what other programs
// (word processors) open. The file is code page 1250 (\ansicpg1250, Central
// European font charset) with a font table, a colour table, and per run the
// face, size, bold, italic, underline, strike-out and colour; one RTF
// paragraph per block of the document, with its alignment. A character the
// code page cannot hold is kept as a Unicode escape with "?" for old readers.

#include <string>

class QFont;
class QTextDocument;

namespace platform {

// The whole document as the bytes of an RTF file.
std::string DocumentToRtf(const QTextDocument& document);

// Writes the document as an RTF file, replacing the file whole; a failed write
// raises EInOutError and leaves an old file as it was.
void SaveRtf(const QTextDocument& document, const std::string& path);

// The size of a font in points. A size given in pixels counts at 96 pixels per
// inch, rounded to the nearest whole point, as the screens were designed
// (11 pixels is 8 pt, 13 pixels is 10 pt).
double FontPoints(const QFont& font);

}  // namespace platform
