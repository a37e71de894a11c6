#include "platform/qtgui/qtprinter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>
#include <QTextDocument>

#include <cups/cups.h>

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
  // In PDF mode beside the job's own file, so that handing it over is a rename.
  const QString folder = pdfFile_.isEmpty() ? QDir::tempPath() : QFileInfo(JobFile(jobs_)).absolutePath();
  auto file = std::make_unique<QTemporaryFile>(folder + QStringLiteral("/zorvik-job-XXXXXX.pdf"));
  if (!file->open()) throw EPrinter::InvalidPrinter();
  file->close();

  auto job = std::make_unique<QPrinter>(QPrinter::HighResolution);
  job->setOutputFormat(QPrinter::PdfFormat);
  job->setResolution(printer_->resolution());
  job->setFullPage(printer_->fullPage());
  job->setPageLayout(printer_->pageLayout());
  job->setColorMode(printer_->colorMode());
  job->setOutputFileName(file->fileName());
  job->setDocName(Title);
  job->setCreator(QStringLiteral("Zorvik"));
  // The queue makes the copies of a job it is given; in PDF mode the file says how many.
  if (!pdfFile_.isEmpty()) job->setCopyCount(Copies < 1 ? 1 : Copies);
  job_ = std::move(job);
  file_ = std::move(file);
}

void TQtPrinter::HandOver() {
  const QString drawn = file_->fileName();
  if (!pdfFile_.isEmpty()) {
    const QString target = JobFile(jobs_);
    QFile::remove(target);
    const bool placed = file_->rename(target);
    if (placed) file_->setAutoRemove(false);
    file_.reset();
    job_.reset();
    if (!placed) throw EPrinter::Failed();
    return;
  }
  // The printer's own name, without a CUPS instance after "/".
  const QByteArray queue = printer_->printerName().section(QLatin1Char('/'), 0, 0).toUtf8();
  const QByteArray title = Title.toUtf8();
  const QByteArray media = printer_->pageLayout().pageSize().key().toUtf8();
  const QByteArray copies = QByteArray::number(Copies < 1 ? 1 : Copies);
  cups_option_t* options = nullptr;
  int count = 0;
  if (!media.isEmpty()) count = cupsAddOption("media", media.constData(), count, &options);
  if (Copies > 1) count = cupsAddOption("copies", copies.constData(), count, &options);
  const int id = cupsPrintFile(queue.constData(), QFile::encodeName(drawn).constData(), title.constData(), count, options);
  cupsFreeOptions(count, options);
  file_.reset();
  job_.reset();
  if (id == 0) throw EPrinter::Failed();
}

void TQtPrinter::Discard() {
  file_.reset();  // removes the temporary file
  job_.reset();
}

void TQtPrinter::StartJob() {
  PrepareJob();
  auto painter = std::make_unique<QPainter>();
  if (!painter->begin(job_.get())) {
    Discard();
    throw EPrinter::InvalidPrinter();
  }
  painter_ = std::move(painter);
}

void TQtPrinter::StartPage() {
  if (!job_->newPage()) throw EPrinter::InvalidPrinter();
}

void TQtPrinter::FinishJob() {
  const bool done = painter_->end();
  painter_.reset();
  if (!done || job_->printerState() == QPrinter::Error) {
    Discard();
    throw EPrinter::Failed();
  }
  HandOver();
}

void TQtPrinter::DropJob() {
  if (painter_->isActive()) painter_->end();
  painter_.reset();
  Discard();
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
  document.print(job_.get());
  if (job_->printerState() == QPrinter::Error) {
    Discard();
    throw EPrinter::Failed();
  }
  HandOver();
}

}  // namespace platform
