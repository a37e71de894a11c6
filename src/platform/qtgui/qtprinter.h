#pragma once
// The printer through Qt's print support: the default printer of the print
// system (CUPS), or a PDF file in its place.

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
  // Every job goes into this PDF file (A4), each job replacing the last.
  explicit TQtPrinter(const QString& pdfFile);
  ~TQtPrinter() override;

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
  std::unique_ptr<QPrinter> printer_;
  std::unique_ptr<QPainter> painter_;
};

}  // namespace platform
