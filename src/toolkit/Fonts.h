#pragma once
// Fonts by face and size as the screens name them. The Windows faces resolve
// to close free faces: "Comic Sans MS" to Comic Neue, "MS Sans Serif" to a
// narrow sans face.

#include <QFont>

namespace toolkit {

// A face with a character height in pixels (the em height, as the screens give it).
QFont FontPx(const char* face, int pixels, bool bold = false, bool italic = false);
// A face with a size in points at 96 pixels per inch (8 pt is 11 pixels, 10 pt is 13).
QFont FontPt(const char* face, int points, bool bold = false, bool italic = false);
// Points to pixels at 96 pixels per inch, rounded as the screens were designed.
int PointsToPixels(int points);

// Registers the substitutes of the Windows faces; the application object does it.
void InstallFontSubstitutions();

}  // namespace toolkit
