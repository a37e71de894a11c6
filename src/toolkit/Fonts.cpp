#include "toolkit/Fonts.h"

#include <QStringList>

namespace toolkit {

int PointsToPixels(int points) { return (points * 96 + 36) / 72; }

QFont FontPx(const char* face, int pixels, bool bold, bool italic) {
  QFont f(QString::fromLatin1(face));
  f.setPixelSize(pixels);
  f.setBold(bold);
  f.setItalic(italic);
  return f;
}

QFont FontPt(const char* face, int points, bool bold, bool italic) {
  return FontPx(face, PointsToPixels(points), bold, italic);
}

void InstallFontSubstitutions() {
  QFont::insertSubstitutions(QStringLiteral("Comic Sans MS"),
                             {QStringLiteral("Comic Neue"), QStringLiteral("Comic Sans")});
  // Nimbus Sans is about as narrow as the old bitmap face; the others are fallbacks.
  QFont::insertSubstitutions(
      QStringLiteral("MS Sans Serif"),
      {QStringLiteral("Nimbus Sans"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}

}  // namespace toolkit
