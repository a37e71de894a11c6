#include "printing/PrintPictures.h"

#include <QPainter>
#include <algorithm>
#include <cstdint>
#include <exception>
#include <new>

#include "genlib/GenGraphics.h"
#include "platform/errors.h"

namespace printing {

namespace {

// Scaled pictures kept for the later variants of one action.
constexpr qsizetype kPictureBudget = qsizetype(256) << 20;

// The size a picture of w x h pixels prints at: the size factor times its
// own, scaled down with its aspect kept where that would not fit within
// maxW x maxH printer pixels.
QSize PrintedSize(int w, int h, int factor, int maxW, int maxH) {
  const int64_t fw = int64_t(w) * factor, fh = int64_t(h) * factor;
  const int64_t mw = std::max(maxW, 1), mh = std::max(maxH, 1);
  if (fw <= mw && fh <= mh) return QSize(int(fw), int(fh));
  if (fw * mh >= fh * mw) return QSize(int(mw), int(std::max<int64_t>(1, (fh * mw + fw / 2) / fw)));
  return QSize(int(std::max<int64_t>(1, (fw * mh + fh / 2) / fh)), int(mh));
}

// Transparent parts print as the paper shows them: white.
void OntoWhite(QImage& picture) {
  if (!picture.hasAlphaChannel()) return;
  QImage flat(picture.size(), QImage::Format_RGB32);
  if (flat.isNull()) throw std::bad_alloc();
  flat.fill(Qt::white);
  QPainter painter(&flat);
  painter.drawImage(0, 0, picture);
  painter.end();
  picture = std::move(flat);
}

}  // namespace

void TPrintPictures::Prepare(const std::string& path, int factor, int maxW, int maxH) {
  auto named = [&](const std::string& reason) {
    if (reason.find(path) != std::string::npos) return platform::Exception(reason);
    return platform::Exception("'" + path + "': " + reason);
  };
  try {
    bitmap_ = load_(path);
    OntoWhite(bitmap_);
    const QSize size = PrintedSize(bitmap_.width(), bitmap_.height(), factor, maxW, maxH);
    genlib::ResampleBitmap(size.width(), size.height(), genlib::rkMitchell, 0, bitmap_);
    // The print system's surface takes 32-bit pixels as they are; a picture
    // in any other format it would copy again for every job.
    bitmap_.convertTo(QImage::Format_RGB32);
    if (bitmap_.isNull()) throw std::bad_alloc();
  } catch (const std::bad_alloc&) {
    throw named(platform::EOutOfMemory().what());
  } catch (const std::exception& e) {
    throw named(e.what());
  }
}

const QImage& TPrintPictures::Get(const std::string& path, int factor, int maxW, int maxH) {
  const auto known = scaled_.find(path);
  if (known != scaled_.end()) return known->second;
  Prepare(path, factor, maxW, maxH);
  if (bytes_ + bitmap_.sizeInBytes() > kPictureBudget) return bitmap_;
  bytes_ += bitmap_.sizeInBytes();
  // The same image drawn again is also stored once in each PDF job.
  return scaled_.emplace(path, std::move(bitmap_)).first->second;
}

}  // namespace printing
