#pragma once
// A printer that prints nothing and records every job: what tests check in
// place of paper. Its measurements are those of a real printer of the given
// resolution, so layouts come out as they would on paper.

#include <QImage>
#include <QSize>
#include <memory>
#include <vector>

#include "platform/qtgui/printer.h"

namespace platform {

// One drawing step on a page.
struct TPrintStep {
  enum Kind { Text, Line, Picture };
  Kind kind = Text;
  int x = 0, y = 0;    // the text's or picture's top left corner, or where a line starts
  int x2 = 0, y2 = 0;  // where a line ends
  QString text;
  QFont font;  // sized in points
  QColor color;
  int penWidth = 0;
  QSize pictureSize;
  QImage picture;  // shares the drawn picture's pixels
};

struct TPrintJob {
  QString Title;
  int Copies = 1;
  // The pages of a drawn job, each a list of steps.
  std::vector<std::vector<TPrintStep>> Pages;
  // The document of a job printed with PrintDocument.
  std::shared_ptr<QTextDocument> Document;
  bool Ended = false;
  bool Aborted = false;
};

class TRecordingPrinter : public TPrinter {
 public:
  // An A4 sheet at 600 pixels per inch unless told otherwise.
  explicit TRecordingPrinter(QSize printable = QSize(4960, 7015), int dpi = 600);

  // Without a printer installed every use raises the standard error.
  void SetInstalled(bool on) { installed_ = on; }
  const std::vector<TPrintJob>& Jobs() const { return jobs_; }

 protected:
  bool Available() override { return installed_; }
  QSize PrintableSize() override { return printable_; }
  int Dpi() override { return dpi_; }
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
  // A job under the printer's title and copy count, recorded from now on.
  TPrintJob& NewJob();
  std::vector<TPrintStep>& Page() { return jobs_.back().Pages.back(); }

  QSize printable_;
  int dpi_;
  QImage device_;  // stands for the printer when fonts are measured
  bool installed_ = true;
  std::vector<TPrintJob> jobs_;
};

}  // namespace platform
