#include "platform/qtgui/printer.h"

#include <QCoreApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <vector>

#include "platform/qtgui/qtprinter.h"
#include "platform/qtgui/rtfwriter.h"

namespace platform {

EPrinter EPrinter::NoDefaultPrinter() { return EPrinter("There is no default printer currently selected"); }
EPrinter EPrinter::Printing() { return EPrinter("Printing in progress"); }
EPrinter EPrinter::NotPrinting() { return EPrinter("Printer is not currently printing"); }
EPrinter EPrinter::InvalidPrinter() { return EPrinter("Printer selected is not valid"); }
EPrinter EPrinter::Failed() { return EPrinter("Printing failed"); }

TPrinter::~TPrinter() = default;

void TPrinter::Require() {
  if (!Available()) throw EPrinter::NoDefaultPrinter();
}

void TPrinter::RequirePrinting() {
  if (!printing_) throw EPrinter::NotPrinting();
}

void TPrinter::BeginDoc() {
  if (printing_) throw EPrinter::Printing();
  Require();
  StartJob();
  printing_ = true;
  page_ = 1;
}

void TPrinter::NewPage() {
  RequirePrinting();
  StartPage();
  ++page_;
}

void TPrinter::EndDoc() {
  RequirePrinting();
  // The job counts as over even when the device fails to finish it, so the
  // next job can begin.
  printing_ = false;
  page_ = 0;
  FinishJob();
}

void TPrinter::Abort() {
  RequirePrinting();
  printing_ = false;
  page_ = 0;
  DropJob();
}

int TPrinter::PageWidth() {
  Require();
  return PrintableSize().width();
}

int TPrinter::PageHeight() {
  Require();
  return PrintableSize().height();
}

int TPrinter::Resolution() {
  Require();
  return Dpi();
}

void TPrinter::SetFont(const QFont& font, const QColor& color) {
  font_ = font;
  color_ = color;
}

QFont TPrinter::DeviceFont() const {
  QFont f = font_;
  if (f.pixelSize() > 0) f.setPointSizeF(FontPoints(f));
  return f;
}

int TPrinter::TextWidth(const QString& text) {
  Require();
  return Measure(DeviceFont(), text).width();
}

int TPrinter::TextHeight(const QString& text) {
  Require();
  return Measure(DeviceFont(), text).height();
}

void TPrinter::TextOut(int x, int y, const QString& text) {
  RequirePrinting();
  DrawText(x, y, DeviceFont(), color_, text);
}

void TPrinter::Line(int x1, int y1, int x2, int y2) {
  RequirePrinting();
  DrawLine(x1, y1, x2, y2, penWidth_);
}

void TPrinter::Draw(int x, int y, const QImage& picture) {
  RequirePrinting();
  DrawPicture(x, y, picture);
}

void TPrinter::PrintDocument(const QTextDocument& document) {
  if (printing_) throw EPrinter::Printing();
  Require();
  PrintRichText(*PrintableCopy(document));
}

std::unique_ptr<QTextDocument> PrintableCopy(const QTextDocument& document) {
  std::unique_ptr<QTextDocument> copy(document.clone());
  QFont base = copy->defaultFont();
  if (base.pixelSize() > 0) {
    base.setPointSizeF(FontPoints(base));
    copy->setDefaultFont(base);
  }
  // Runs with a size of their own in pixels get the same size in points.
  struct Run {
    int position, length;
    QTextCharFormat format;
  };
  std::vector<Run> runs;
  for (QTextBlock block = copy->begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment f = it.fragment();
      if (f.isValid() && f.charFormat().hasProperty(QTextFormat::FontPixelSize))
        runs.push_back({f.position(), f.length(), f.charFormat()});
    }
  }
  QTextCursor cursor(copy.get());
  for (Run& run : runs) {
    QFont f;
    f.setPixelSize(run.format.intProperty(QTextFormat::FontPixelSize));
    run.format.clearProperty(QTextFormat::FontPixelSize);
    run.format.setFontPointSize(FontPoints(f));
    cursor.setPosition(run.position);
    cursor.setPosition(run.position + run.length, QTextCursor::KeepAnchor);
    cursor.setCharFormat(run.format);
  }
  return copy;
}

namespace {
std::unique_ptr<TPrinter>& Installed() {
  static std::unique_ptr<TPrinter> printer;
  return printer;
}

// The printer goes with the application object, whose fonts and print
// system it uses, not at the end of the process.
void ReleaseAtExit() {
  static bool registered = false;
  if (registered || !QCoreApplication::instance()) return;
  registered = true;
  qAddPostRoutine([] { Installed().reset(); });
}
}  // namespace

TPrinter& Printer() {
  auto& printer = Installed();
  if (!printer) printer = std::make_unique<TQtPrinter>();
  ReleaseAtExit();
  return *printer;
}

void SetPrinter(std::unique_ptr<TPrinter> printer) {
  Installed() = std::move(printer);
  ReleaseAtExit();
}

}  // namespace platform
