#pragma once
// The printer through Qt's print support: the default printer of the print
// system (CUPS), or PDF files in its place, one file per job.
//
// Every job is drawn into a temporary PDF file and handed over only once it
// has ended: to the default printer's queue, or in PDF mode as the job's own
// file. A job dropped on the way (an error in the print action) reaches
// neither, so no half-made job is ever printed.

#include <QString>
#include <memory>

#include "platform/qtgui/printer.h"

class QPainter;
class QPrinter;
class QTemporaryFile;

namespace platform {

class TQtPrinter : public TPrinter {
 public:
  // The print system's default printer, looked up when it is first needed.
  TQtPrinter();
  // Every job goes into a PDF file (A4) of its own, numbered from 1 in the
  // order the jobs begin: "out.pdf" gives "out-001.pdf", "out-002.pdf", ...
  // A dropped job leaves no file under its number.
  explicit TQtPrinter(const QString& pdfFile);
  ~TQtPrinter() override;

  // The file of job n (from 1) in PDF mode.
  QString JobFile(int n) const;
  // How many jobs have been begun.
  int JobCount() const { return jobs_; }

 protected:
  bool Available() override;
  QSize PrintableSize() override;
  int Dpi() override;
  QSize Measure(const QFont& font, const QString& text) override;
  void StartJob() override;
  void StartPage() override;
  void FinishJob() override;
  void DropJob() override;
  void DrawText(int x, int y, const QFont& font, const QColor& color, const QString& text) override;
  void DrawLine(int x1, int y1, int x2, int y2, int width) override;
  void DrawPicture(int x, int y, const QImage& picture) override;
  void PrintRichText(const QTextDocument& document) override;

 private:
  // A PDF surface for the next job with the printer's page and resolution,
  // drawing into a new temporary file.
  void PrepareJob();
  // The ended job's file to the queue, or to its place in PDF mode.
  void HandOver();
  void Discard();

  QString pdfFile_;
  int jobs_ = 0;
  std::unique_ptr<QPrinter> printer_;  // the page, resolution and fonts of the printer
  std::unique_ptr<QPrinter> job_;      // the surface of the job being drawn
  std::unique_ptr<QTemporaryFile> file_;
  std::unique_ptr<QPainter> painter_;
};

}  // namespace platform
