#include "platform/qtgui/recordingprinter.h"

#include <QFontMetrics>
#include <QTextDocument>
#include <cmath>

namespace platform {

TRecordingPrinter::TRecordingPrinter(QSize printable, int dpi)
    : printable_(printable), dpi_(dpi), device_(1, 1, QImage::Format_RGB32) {
  const int dotsPerMeter = static_cast<int>(std::lround(dpi / 0.0254));
  device_.setDotsPerMeterX(dotsPerMeter);
  device_.setDotsPerMeterY(dotsPerMeter);
}

QSize TRecordingPrinter::Measure(const QFont& font, const QString& text) {
  const QFontMetrics metrics(font, &device_);
  return {metrics.horizontalAdvance(text), metrics.height()};
}

TPrintJob& TRecordingPrinter::NewJob() {
  TPrintJob& job = jobs_.emplace_back();
  job.Title = Title;
  job.Copies = Copies;
  return job;
}

void TRecordingPrinter::StartJob() { NewJob().Pages.emplace_back(); }

void TRecordingPrinter::StartPage() { jobs_.back().Pages.emplace_back(); }

void TRecordingPrinter::FinishJob() { jobs_.back().Ended = true; }

void TRecordingPrinter::DropJob() { jobs_.back().Aborted = true; }

void TRecordingPrinter::DrawText(int x, int y, const QFont& font, const QColor& color, const QString& text) {
  TPrintStep step;
  step.kind = TPrintStep::Text;
  step.x = x;
  step.y = y;
  step.text = text;
  step.font = font;
  step.color = color;
  Page().push_back(std::move(step));
}

void TRecordingPrinter::DrawLine(int x1, int y1, int x2, int y2, int width) {
  TPrintStep step;
  step.kind = TPrintStep::Line;
  step.x = x1;
  step.y = y1;
  step.x2 = x2;
  step.y2 = y2;
  step.penWidth = width;
  Page().push_back(std::move(step));
}

void TRecordingPrinter::DrawPicture(int x, int y, const QImage& picture) {
  TPrintStep step;
  step.kind = TPrintStep::Picture;
  step.x = x;
  step.y = y;
  step.pictureSize = picture.size();
  step.picture = picture;
  Page().push_back(std::move(step));
}

void TRecordingPrinter::PrintRichText(const QTextDocument& document) {
  std::shared_ptr<QTextDocument> copy(document.clone());
  TPrintJob& job = NewJob();
  job.Document = std::move(copy);
  job.Ended = true;
}

}  // namespace platform
