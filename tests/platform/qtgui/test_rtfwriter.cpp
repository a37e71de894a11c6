// RTF files: the markup checked byte for byte against files written by hand.
#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "platform/errors.h"
#include "platform/qtgui/rtfwriter.h"

using namespace platform;

namespace {

QFont PixelFont(const char* face, int pixels) {
  QFont f(QString::fromLatin1(face));
  f.setPixelSize(pixels);
  return f;
}

QTextCharFormat Plain() { return QTextCharFormat(); }

QTextCharFormat Bold(const QColor& color = QColor()) {
  QTextCharFormat f;
  f.setFontWeight(QFont::Bold);
  if (color.isValid()) f.setForeground(color);
  return f;
}

QTextCharFormat Colored(const QColor& color) {
  QTextCharFormat f;
  f.setForeground(color);
  return f;
}

const QColor kGreen(0, 128, 0);
const QColor kRed(255, 0, 0);

TEST(RtfWriter, ABoldHeaderAndColouredBracketsAsTheProtocolHasThem) {
  QTextDocument doc;
  doc.setDefaultFont(PixelFont("MS Sans Serif", 11));
  QTextCursor c(&doc);
  c.insertText(QStringLiteral("Jméno: Jan Novák"), Bold());
  c.insertBlock(QTextBlockFormat(), Plain());
  c.insertBlock(QTextBlockFormat(), Plain());
  c.insertText(QStringLiteral("1) Kolik je 1+1?"), Bold());
  c.insertText(QStringLiteral(" "), Plain());
  c.insertText(QStringLiteral("[Špatně]"), Bold(kRed));
  c.insertBlock(QTextBlockFormat(), Plain());
  c.insertText(QStringLiteral("a) 2 "), Plain());
  c.insertText(QStringLiteral("[ (Správně)]"), Colored(kRed));
  c.insertBlock(QTextBlockFormat(), Plain());
  c.insertText(QStringLiteral("b) 3 "), Plain());
  c.insertText(QStringLiteral("[X(Správně)]"), Colored(kGreen));

  const std::string expected =
      "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fnil\\fcharset238 MS Sans Serif;}}\r\n"
      "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}\r\n"
      "\\viewkind4\\uc1\\pard\\f0\\fs16\\b Jm\\'e9no: Jan Nov\\'e1k\\par\r\n"
      "\\par\r\n"
      "1) Kolik je 1+1?\\b0  \\b\\cf1 [\\'8apatn\\'ec]\\par\r\n"
      "\\b0\\cf0 a) 2 \\cf1 [ (Spr\\'e1vn\\'ec)]\\par\r\n"
      "\\cf0 b) 3 \\cf2 [X(Spr\\'e1vn\\'ec)]}\r\n";
  EXPECT_EQ(DocumentToRtf(doc), expected);
}

TEST(RtfWriter, ReservedCharactersTabsAndCharactersOutsideTheCodePageAreEscaped) {
  QTextDocument doc;
  doc.setDefaultFont(PixelFont("Comic Sans MS", 13));
  QTextCursor c(&doc);
  c.insertText(QStringLiteral("C:\\Testy\\{a}\tžluť → €"));
  const std::string expected =
      "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fnil\\fcharset238 Comic Sans MS;}}\r\n"
      "{\\colortbl ;}\r\n"
      "\\viewkind4\\uc1\\pard\\f0\\fs20 C:\\\\Testy\\\\\\{a\\}\\tab\\'9elu\\'9d \\u8594? \\'80}\r\n";
  EXPECT_EQ(DocumentToRtf(doc), expected);
}

TEST(RtfWriter, FacesSizesStylesAndAlignmentOfTheRuns) {
  QTextDocument doc;
  doc.setDefaultFont(PixelFont("Comic Sans MS", 11));
  QTextCursor c(&doc);
  QTextCharFormat big = Bold();
  big.setFontPointSize(12);
  c.insertText(QStringLiteral("1) Otázka"), big);
  QTextBlockFormat centred;
  centred.setAlignment(Qt::AlignHCenter);
  c.insertBlock(centred, Plain());
  QTextCharFormat other;
  other.setFontFamilies({QStringLiteral("Times New Roman")});
  other.setFontItalic(true);
  other.setFontUnderline(true);
  c.insertText(QStringLiteral("a"), other);
  QTextCharFormat struck;
  struck.setFontStrikeOut(true);
  c.insertText(QStringLiteral("b"), struck);
  c.insertBlock(QTextBlockFormat(), Plain());
  c.insertText(QStringLiteral("c"), Plain());

  const std::string expected =
      "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fnil\\fcharset238 Comic Sans MS;}"
      "{\\f1\\fnil\\fcharset238 Times New Roman;}}\r\n"
      "{\\colortbl ;}\r\n"
      "\\viewkind4\\uc1\\pard\\f0\\fs24\\b 1) Ot\\'e1zka\\par\r\n"
      "\\pard\\qc\\f1\\fs16\\b0\\i\\ul a\\f0\\i0\\ulnone\\strike b\\par\r\n"
      "\\pard\\strike0 c}\r\n";
  EXPECT_EQ(DocumentToRtf(doc), expected);
}

TEST(RtfWriter, AnEmptyDocumentIsAWellFormedFile) {
  QTextDocument doc;
  doc.setDefaultFont(PixelFont("MS Sans Serif", 11));
  EXPECT_EQ(DocumentToRtf(doc),
            "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fnil\\fcharset238 MS Sans Serif;}}\r\n"
            "{\\colortbl ;}\r\n"
            "\\viewkind4\\uc1\\pard }\r\n");
}

TEST(RtfWriter, SavingReplacesTheFileAndAMissingFolderIsAnError) {
  testsupport::TempDir dir;
  QTextDocument doc;
  doc.setDefaultFont(PixelFont("MS Sans Serif", 11));
  doc.setPlainText(QStringLiteral("Příliš"));
  testsupport::WriteBytes(dir.File("p.rtf"), "old contents that are longer than the new ones ...........");
  SaveRtf(doc, dir.File("p.rtf"));
  EXPECT_EQ(testsupport::ReadBytes(dir.File("p.rtf")), DocumentToRtf(doc));
  EXPECT_THROW(SaveRtf(doc, dir.File("Protokoly/p.rtf")), EInOutError);
}

TEST(RtfWriter, PixelSizesCountAtNinetySixPixelsPerInch) {
  EXPECT_EQ(FontPoints(PixelFont("X", 11)), 8);
  EXPECT_EQ(FontPoints(PixelFont("X", 13)), 10);
  EXPECT_EQ(FontPoints(PixelFont("X", 16)), 12);
  QFont points(QStringLiteral("X"));
  points.setPointSizeF(10.5);
  EXPECT_EQ(FontPoints(points), 10.5);
}

}  // namespace
