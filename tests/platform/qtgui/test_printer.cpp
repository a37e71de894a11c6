// The printer: jobs and pages, the standard errors, measuring in printer
// pixels, rich-text documents, and printing into a PDF file.
#include <QDir>
#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "platform/qtgui/qtprinter.h"
#include "platform/qtgui/recordingprinter.h"

using namespace platform;

namespace {

QFont PointFont(int points, bool bold = false) {
  QFont f(QStringLiteral("Comic Sans MS"));
  f.setPointSize(points);
  f.setBold(bold);
  return f;
}

std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const EPrinter& e) {
    return e.what();
  }
  return "";
}

TEST(Printer, AJobRecordsItsTitleCopiesPagesAndDrawing) {
  TRecordingPrinter p;
  p.Title = QStringLiteral("Tisk testu \"Zlomky\"");
  p.Copies = 3;
  EXPECT_EQ(p.PageNumber(), 0);
  p.BeginDoc();
  EXPECT_TRUE(p.Printing());
  EXPECT_EQ(p.PageNumber(), 1);
  p.SetFont(PointFont(14, true), Qt::red);
  p.TextOut(100, 200, QStringLiteral("Test: Zlomky"));
  p.SetPenWidth(2);
  p.Line(100, 300, 4000, 300);
  p.NewPage();
  EXPECT_EQ(p.PageNumber(), 2);
  p.Draw(50, 60, QImage(40, 30, QImage::Format_RGB32));
  p.EndDoc();
  EXPECT_FALSE(p.Printing());
  EXPECT_EQ(p.PageNumber(), 0);

  ASSERT_EQ(p.Jobs().size(), 1u);
  const TPrintJob& job = p.Jobs()[0];
  EXPECT_EQ(job.Title, QStringLiteral("Tisk testu \"Zlomky\""));
  EXPECT_EQ(job.Copies, 3);
  EXPECT_TRUE(job.Ended);
  ASSERT_EQ(job.Pages.size(), 2u);
  ASSERT_EQ(job.Pages[0].size(), 2u);
  const TPrintStep& text = job.Pages[0][0];
  EXPECT_EQ(text.kind, TPrintStep::Text);
  EXPECT_EQ(text.text, QStringLiteral("Test: Zlomky"));
  EXPECT_EQ(QPoint(text.x, text.y), QPoint(100, 200));
  EXPECT_EQ(text.font.pointSize(), 14);
  EXPECT_TRUE(text.font.bold());
  EXPECT_EQ(text.color, QColor(Qt::red));
  const TPrintStep& line = job.Pages[0][1];
  EXPECT_EQ(line.kind, TPrintStep::Line);
  EXPECT_EQ(QLine(line.x, line.y, line.x2, line.y2), QLine(100, 300, 4000, 300));
  EXPECT_EQ(line.penWidth, 2);
  ASSERT_EQ(job.Pages[1].size(), 1u);
  EXPECT_EQ(job.Pages[1][0].kind, TPrintStep::Picture);
  EXPECT_EQ(job.Pages[1][0].pictureSize, QSize(40, 30));
}

TEST(Printer, MisuseAndAMissingPrinterGiveTheStandardMessages) {
  TRecordingPrinter p;
  EXPECT_EQ(MessageOf([&] { p.TextOut(0, 0, QStringLiteral("x")); }), "Printer is not currently printing");
  EXPECT_EQ(MessageOf([&] { p.EndDoc(); }), "Printer is not currently printing");
  p.BeginDoc();
  EXPECT_EQ(MessageOf([&] { p.BeginDoc(); }), "Printing in progress");
  EXPECT_EQ(MessageOf([&] { p.PrintDocument(QTextDocument()); }), "Printing in progress");
  p.Abort();
  EXPECT_TRUE(p.Jobs().back().Aborted);
  EXPECT_FALSE(p.Printing());

  p.SetInstalled(false);
  // Naming the job and its copies touches no printer.
  p.Title = QStringLiteral("x");
  p.Copies = 2;
  const std::string none = "There is no default printer currently selected";
  EXPECT_EQ(MessageOf([&] { p.BeginDoc(); }), none);
  EXPECT_EQ(MessageOf([&] { p.TextHeight(QStringLiteral("x")); }), none);
  EXPECT_EQ(MessageOf([&] { p.PageWidth(); }), none);
  EXPECT_EQ(MessageOf([&] { p.PrintDocument(QTextDocument()); }), none);
  EXPECT_EQ(p.Jobs().size(), 1u);
}

TEST(Printer, TextIsMeasuredInPrinterPixelsAndFontsKeepTheirSizeInPoints) {
  TRecordingPrinter fine(QSize(4960, 7015), 600);
  TRecordingPrinter coarse(QSize(2480, 3507), 300);
  EXPECT_EQ(fine.PageWidth(), 4960);
  EXPECT_EQ(coarse.PageHeight(), 3507);
  fine.SetFont(PointFont(12));
  coarse.SetFont(PointFont(12));
  const int h600 = fine.TextHeight(QStringLiteral("Ag"));
  const int h300 = coarse.TextHeight(QStringLiteral("Ag"));
  // 12 pt is a sixth of an inch: about 100 pixels at 600 dpi, with the leading.
  EXPECT_GT(h600, 90);
  EXPECT_NEAR(h600, 2 * h300, 4);
  EXPECT_GT(fine.TextWidth(QStringLiteral("999.)")), fine.TextWidth(QStringLiteral("a.)")));
  EXPECT_EQ(fine.TextWidth(QString()), 0);

  // A font sized in pixels (as the screens size theirs) counts at 96 per inch.
  QFont pixels(QStringLiteral("Comic Sans MS"));
  pixels.setPixelSize(16);
  fine.SetFont(pixels);
  EXPECT_EQ(fine.TextHeight(QStringLiteral("Ag")), h600);
  fine.BeginDoc();
  fine.TextOut(0, 0, QStringLiteral("x"));
  fine.EndDoc();
  EXPECT_EQ(fine.Jobs()[0].Pages[0][0].font.pointSizeF(), 12.0);
}

TEST(Printer, ADocumentPrintsAsOneJobWithItsFontsInPoints) {
  TRecordingPrinter p;
  QTextDocument doc;
  QFont base(QStringLiteral("MS Sans Serif"));
  base.setPixelSize(11);
  doc.setDefaultFont(base);
  QTextCursor c(&doc);
  QTextCharFormat large;
  large.setFontWeight(QFont::Bold);
  large.setForeground(QColor(0, 128, 0));
  large.setProperty(QTextFormat::FontPixelSize, 16);
  c.insertText(QStringLiteral("[Správně]"), large);
  c.insertText(QStringLiteral(" plain"), QTextCharFormat());
  p.Title = QStringLiteral("Výsledky testu");
  p.Copies = 2;
  p.PrintDocument(doc);

  ASSERT_EQ(p.Jobs().size(), 1u);
  const TPrintJob& job = p.Jobs()[0];
  EXPECT_EQ(job.Title, QStringLiteral("Výsledky testu"));
  EXPECT_EQ(job.Copies, 2);
  ASSERT_TRUE(job.Document);
  EXPECT_EQ(job.Document->toPlainText(), QStringLiteral("[Správně] plain"));
  EXPECT_EQ(job.Document->defaultFont().pointSizeF(), 8.0);
  const QTextCharFormat first = job.Document->begin().begin().fragment().charFormat();
  EXPECT_EQ(first.fontPointSize(), 12.0);
  EXPECT_FALSE(first.hasProperty(QTextFormat::FontPixelSize));
  EXPECT_EQ(first.foreground().color(), QColor(0, 128, 0));
  EXPECT_EQ(first.fontWeight(), QFont::Bold);
  // The document shown on screen keeps its own sizes.
  EXPECT_EQ(doc.defaultFont().pixelSize(), 11);
}

// The document title as Qt's PDF writer stores it: UTF-16, big end first.
QByteArray PdfTitle(const QString& title) {
  QByteArray out("\xFE\xFF");
  for (const QChar c : title) {
    out += static_cast<char>(c.unicode() >> 8);
    out += static_cast<char>(c.unicode() & 0xFF);
  }
  return out;
}

int PdfPages(const QByteArray& pdf) {
  // Every page object of Qt's PDF writer reads "/Type /Page\n".
  return static_cast<int>(pdf.count("/Type /Page\n"));
}

TEST(Printer, PdfFilesStandInForPaperOneFilePerJob) {
  testsupport::TempDir dir;
  const QString path = QString::fromStdString(dir.File("job.pdf"));
  auto read = [](const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  };
  TQtPrinter p(path);
  EXPECT_EQ(p.JobFile(1), QString::fromStdString(dir.File("job-001.pdf")));
  EXPECT_GT(p.PageWidth(), 4000);  // A4 at 1200 pixels per inch, less the margins
  p.Title = QStringLiteral("Drawn");
  p.BeginDoc();
  p.SetFont(PointFont(12));
  p.TextOut(p.PageWidth() / 10, p.PageHeight() / 10, QStringLiteral("Strana 1"));
  p.NewPage();
  p.TextOut(p.PageWidth() / 10, p.PageHeight() / 10, QStringLiteral("Strana 2"));
  p.EndDoc();

  QTextDocument doc;
  doc.setPlainText(QStringLiteral("Jméno: Jan"));
  p.Title = QStringLiteral("Document");
  p.PrintDocument(doc);

  p.Title = QStringLiteral("Third");
  p.BeginDoc();
  p.TextOut(10, 10, QStringLiteral("3"));
  p.EndDoc();

  // Each job keeps its own file; none replaces an earlier one.
  EXPECT_EQ(p.JobCount(), 3);
  const QByteArray drawn = read(p.JobFile(1));
  EXPECT_TRUE(drawn.startsWith("%PDF"));
  EXPECT_EQ(PdfPages(drawn), 2);
  EXPECT_TRUE(drawn.contains(PdfTitle(QStringLiteral("Drawn"))));
  const QByteArray printed = read(p.JobFile(2));
  EXPECT_EQ(PdfPages(printed), 1);
  EXPECT_TRUE(printed.contains(PdfTitle(QStringLiteral("Document"))));
  EXPECT_TRUE(read(p.JobFile(3)).contains(PdfTitle(QStringLiteral("Third"))));
  EXPECT_FALSE(QFile::exists(path));
}

TEST(Printer, ADroppedJobReachesNothingAndTheJobsEndedBeforeStay) {
  testsupport::TempDir dir;
  TQtPrinter p(QString::fromStdString(dir.File("job.pdf")));
  p.BeginDoc();
  p.TextOut(10, 10, QStringLiteral("whole"));
  p.EndDoc();
  p.BeginDoc();
  p.TextOut(10, 10, QStringLiteral("half"));
  p.NewPage();
  p.Abort();
  p.BeginDoc();
  p.TextOut(10, 10, QStringLiteral("after"));
  p.EndDoc();
  EXPECT_TRUE(QFile::exists(p.JobFile(1)));
  EXPECT_FALSE(QFile::exists(p.JobFile(2)));
  EXPECT_TRUE(QFile::exists(p.JobFile(3)));
  // Nothing else is left behind.
  EXPECT_EQ(QDir(QString::fromStdString(dir.Path())).entryList(QDir::Files).size(), 2);
}

TEST(Printer, TheProgramPrintsOnThePrinterPutInPlace) {
  auto recording = std::make_unique<TRecordingPrinter>();
  TRecordingPrinter* seen = recording.get();
  SetPrinter(std::move(recording));
  EXPECT_EQ(&Printer(), seen);
  SetPrinter(nullptr);
  EXPECT_NE(dynamic_cast<TQtPrinter*>(&Printer()), nullptr);
}

}  // namespace
