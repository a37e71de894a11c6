#pragma once
// The printer through Qt's print support: the default printer of the print
// system (CUPS), or PDF files in its place, one file per job.

#include <QString>
#include <memory>

#include "platform/qtgui/printer.h"

class QPainter;
class QPrinter;

namespace platform {

class TQtPrinter : public TPrinter {
 public:
  // The print system's default printer, looked up when it is first needed.
  TQtPrinter();
  // Every job goes into a PDF file (A4) of its own, numbered from 1 in the
  // order the jobs begin: "out.pdf" gives "out-001.pdf", "out-002.pdf", ...
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
  void PrepareJob();

  QString pdfFile_;
  int jobs_ = 0;
  std::unique_ptr<QPrinter> printer_;
  std::unique_ptr<QPainter> painter_;
};

}  // namespace platform
