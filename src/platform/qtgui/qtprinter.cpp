#include "platform/qtgui/qtprinter.h"

#include <QFontMetrics>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>

namespace platform {

TQtPrinter::TQtPrinter() = default;

TQtPrinter::TQtPrinter(const QString& pdfFile) : pdfFile_(pdfFile) {}

TQtPrinter::~TQtPrinter() {
  if (painter_ && painter_->isActive()) painter_->end();
}

bool TQtPrinter::Available() {
  if (!pdfFile_.isEmpty()) {
    if (!printer_) {
      printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
      printer_->setOutputFormat(QPrinter::PdfFormat);
      printer_->setPageSize(QPageSize(QPageSize::A4));
    }
    return true;
  }
  if (painter_) return true;
  // Between jobs the default printer may have changed, been added or gone.
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) {
    printer_.reset();
    return false;
  }
  if (!printer_ || printer_->printerName() != info.printerName())
    printer_ = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
  return true;
}

QSize TQtPrinter::PrintableSize() { return {printer_->width(), printer_->height()}; }

int TQtPrinter::Dpi() { return printer_->resolution(); }

QSize TQtPrinter::Measure(const QFont& font, const QString& text) {
  const QFontMetrics metrics(font, printer_.get());
  return {metrics.horizontalAdvance(text), metrics.height()};
}

QString TQtPrinter::JobFile(int n) const {
  const int dot = pdfFile_.lastIndexOf(QLatin1Char('.'));
  const int slash = pdfFile_.lastIndexOf(QLatin1Char('/'));
  const bool extension = dot > slash + 1;
  const QString stem = extension ? pdfFile_.left(dot) : pdfFile_;
  const QString suffix = extension ? pdfFile_.mid(dot) : QStringLiteral(".pdf");
  return stem + QStringLiteral("-%1").arg(n, 3, 10, QLatin1Char('0')) + suffix;
}

void TQtPrinter::PrepareJob() {
  ++jobs_;
  if (!pdfFile_.isEmpty()) printer_->setOutputFileName(JobFile(jobs_));
  printer_->setDocName(Title);
  printer_->setCopyCount(Copies < 1 ? 1 : Copies);
}

void TQtPrinter::StartJob() {
  PrepareJob();
  auto painter = std::make_unique<QPainter>();
  if (!painter->begin(printer_.get())) throw EPrinter::InvalidPrinter();
  painter_ = std::move(painter);
}

void TQtPrinter::StartPage() {
  if (!printer_->newPage()) throw EPrinter::InvalidPrinter();
}

void TQtPrinter::FinishJob() {
  const bool done = painter_->end();
  painter_.reset();
  if (!done || printer_->printerState() == QPrinter::Error) throw EPrinter::Failed();
}

void TQtPrinter::DropJob() {
  printer_->abort();
  if (painter_->isActive()) painter_->end();
  painter_.reset();
}

void TQtPrinter::DrawText(int x, int y, const QFont& font, const QColor& color, const QString& text) {
  painter_->setFont(font);
  painter_->setPen(color);
  painter_->drawText(QPoint(x, y + painter_->fontMetrics().ascent()), text);
}

void TQtPrinter::DrawLine(int x1, int y1, int x2, int y2, int width) {
  painter_->setPen(QPen(Qt::black, width));
  painter_->drawLine(x1, y1, x2, y2);
}

void TQtPrinter::DrawPicture(int x, int y, const QImage& picture) { painter_->drawImage(QPoint(x, y), picture); }

void TQtPrinter::PrintRichText(const QTextDocument& document) {
  PrepareJob();
  document.print(printer_.get());
  if (printer_->printerState() == QPrinter::Error) throw EPrinter::Failed();
}

}  // namespace platform
