// The rich edit: lines built by program, formatting by selection, RTF saving
// and printing.
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QTextDocument>
#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "toolkit/Toolkit.h"
#include "platform/errors.h"
#include "platform/qtgui/recordingprinter.h"
#include "platform/qtgui/rtfwriter.h"

using namespace toolkit;

namespace {

QTextCharFormat FormatAt(const TRichEdit& re, int position) {
  QTextCursor c(re.document());
  c.setPosition(position + 1);  // the format of the character before the cursor
  return c.charFormat();
}

TEST(RichEdit, LinesAreAddedAtTheEndInThePlainFormatAndReplacedInPlace) {
  TForm form("fForm");
  auto* re = new TRichEdit(&form, "reVystup");
  EXPECT_EQ(re->LineCount(), 0);
  re->AddLine("Jm\xE9no: ");
  re->AddLine("");
  re->AddLine("---");
  ASSERT_EQ(re->LineCount(), 3);
  EXPECT_EQ(re->Line(0), "Jm\xE9no: ");
  EXPECT_EQ(re->Line(1), "");
  EXPECT_EQ(re->LineStart(2), 9);  // "Jméno: " and its break, the empty line and its break

  re->Select(0, re->LineStart(2) + 3);
  re->SetSelBold(true);
  re->AddLine("a) plain");
  EXPECT_EQ(FormatAt(*re, re->LineStart(3)).fontWeight(), QFont::Normal);

  re->SetLine(0, "Jm\xE9no: Jan");
  EXPECT_EQ(re->Line(0), "Jm\xE9no: Jan");
  EXPECT_EQ(FormatAt(*re, 8).fontWeight(), QFont::Bold);  // the new text keeps the line's format
  EXPECT_EQ(re->Line(2), "---");
  EXPECT_EQ(re->LineCount(), 4);
  EXPECT_THROW(re->SetLine(4, "x"), platform::EListError);
  EXPECT_THROW(re->Line(-1), platform::EListError);

  re->Clear();
  EXPECT_EQ(re->LineCount(), 0);
  re->AddLine("again");
  EXPECT_EQ(re->LineCount(), 1);
  EXPECT_EQ(FormatAt(*re, 0).fontWeight(), QFont::Normal);
}

TEST(RichEdit, FormattedLinesAreAddedInOneStepAndShownFromTheTop) {
  TForm form("fForm");
  auto* re = new TRichEdit(&form, "reVystup");
  re->SetBounds(0, 0, 200, 100);
  re->SetScrollBars(true, true);
  form.show();
  re->AddLine("head");
  re->Select(4, 0);  // at the end, where the lines go
  std::vector<TTextLine> lines;
  for (int i = 0; i < 2000; ++i)
    lines.push_back({{std::to_string(i) + ") ", true, {}}, {"[X]", false, QColor(255, 0, 0)}});
  re->AddLines(lines);
  ASSERT_EQ(re->LineCount(), 2001);
  EXPECT_EQ(re->Line(2000), "1999) [X]");
  EXPECT_EQ(FormatAt(*re, re->LineStart(2000)).fontWeight(), QFont::Bold);
  EXPECT_EQ(FormatAt(*re, re->LineStart(2000) + 6).foreground().color(), QColor(255, 0, 0));
  // The visible cursor stayed where it stood; the top is ready to be shown.
  EXPECT_EQ(re->SelStart(), 4);
  EXPECT_GT(re->document()->firstBlock().layout()->lineCount(), 0);
  // Going to the last line shows it, laid out like any other.
  re->Select(re->LineStart(2000), 0);
  EXPECT_GT(re->document()->lastBlock().layout()->lineCount(), 0);
  EXPECT_GT(re->verticalScrollBar()->maximum(), 0);
  EXPECT_TRUE(re->viewport()->rect().contains(re->cursorRect().center()));

  // Rewriting several lines at once keeps each line's own format.
  re->SetLines(1, {"a", "b"});
  EXPECT_EQ(re->Line(1), "a");
  EXPECT_EQ(re->Line(2), "b");
  EXPECT_EQ(re->Line(3), "2) [X]");
  EXPECT_EQ(FormatAt(*re, re->LineStart(2)).fontWeight(), QFont::Bold);
  EXPECT_THROW(re->SetLines(2000, {"x", "y"}), platform::EListError);
  EXPECT_THROW(re->SetLines(-1, {"x"}), platform::EListError);
  EXPECT_EQ(re->Line(2000), "1999) [X]");  // nothing changed by a refused call
}

TEST(RichEdit, TheSelectionTakesColourSizeAndBoldAndStaysWithinTheText) {
  TForm form("fForm");
  auto* re = new TRichEdit(&form, "reVystup");
  re->AddLine("1) Q [Spatne]");
  re->Select(5, 8);
  EXPECT_EQ(re->SelStart(), 5);
  EXPECT_EQ(re->SelLength(), 8);
  re->SetSelColor(QColor(255, 0, 0));
  re->SetSelBold(true);
  re->SetSelSize(12);
  EXPECT_EQ(FormatAt(*re, 5).foreground().color(), QColor(255, 0, 0));
  EXPECT_EQ(FormatAt(*re, 12).fontPointSize(), 12.0);
  EXPECT_EQ(FormatAt(*re, 4).fontWeight(), QFont::Normal);
  EXPECT_FALSE(FormatAt(*re, 4).hasProperty(QTextFormat::ForegroundBrush));

  re->Select(10, 100);
  EXPECT_EQ(re->SelStart(), 10);
  EXPECT_EQ(re->SelLength(), 3);
  re->Select(-5, 2);
  EXPECT_EQ(re->SelStart(), 0);
}

TEST(RichEdit, SavesItsWholeContentAsRtfAndPrintsOneCopyUnderTheTitle) {
  TForm form("fForm");
  form.setFont(FontPt("MS Sans Serif", 8));
  auto* re = new TRichEdit(&form, "reVystup");
  re->AddLine("P\xF8\xEDli\x9A");
  testsupport::TempDir dir;
  re->SaveToFile(dir.File("out.rtf"));
  const std::string rtf = testsupport::ReadBytes(dir.File("out.rtf"));
  EXPECT_EQ(rtf, platform::DocumentToRtf(*re->document()));
  EXPECT_NE(rtf.find("MS Sans Serif;"), std::string::npos);
  EXPECT_NE(rtf.find("\\fs16 P\\'f8\\'edli\\'9a}"), std::string::npos);

  auto recording = std::make_unique<platform::TRecordingPrinter>();
  auto* printer = recording.get();
  platform::SetPrinter(std::move(recording));
  printer->Copies = 20;
  re->Print("V\xFDsledky testu");
  ASSERT_EQ(printer->Jobs().size(), 1u);
  EXPECT_EQ(printer->Jobs()[0].Title, QStringLiteral("Výsledky testu"));
  EXPECT_EQ(printer->Jobs()[0].Copies, 1);
  EXPECT_EQ(printer->Jobs()[0].Document->toPlainText(), QStringLiteral("Příliš"));
  EXPECT_EQ(printer->Copies, 20);

  printer->SetInstalled(false);
  try {
    re->Print("x");
    FAIL() << "printed without a printer";
  } catch (const platform::EPrinter& e) {
    EXPECT_STREQ(e.what(), "There is no default printer currently selected");
  }
  EXPECT_EQ(printer->Copies, 20);
  platform::SetPrinter(nullptr);
}

}  // namespace
