#pragma once
// JPEG pictures decoded with libjpeg into 24-bit bitmaps (three bytes a pixel,
// blue, green, red: the resampler's format).

#include <QImage>
#include <string>

#include "platform/errors.h"

namespace platform {

// A JPEG picture that libjpeg refused; the message names the file and
// libjpeg's reason.
class EJPEG : public Exception {
 public:
  using Exception::Exception;
};

// True when the bytes begin as every JPEG file does.
bool LooksLikeJpeg(const std::string& bytes);

// Decodes JPEG data at full size into a Format_BGR888 image. fileName (code
// page 1250) only names the picture in an error. Grey, colour and CMYK
// pictures are taken. A header claiming more pixels than Qt's image
// allocation limit allows raises EJPEG before anything is allocated; a picture
// within it that memory cannot hold raises EOutOfMemory.
QImage DecodeJpeg(const std::string& bytes, const std::string& fileName);

// Reads the file and decodes it; a file that cannot be read raises EInOutError.
QImage LoadJpegFile(const std::string& path);

}  // namespace platform
