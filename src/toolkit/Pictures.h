#pragma once
// The picture loader: a picture file into an image, the decoder chosen by the
// file name's extension, as the picture dialog offers the types.

#include <QImage>
#include <string>

#include "platform/errors.h"

namespace toolkit {

// A picture file that cannot be decoded, or whose type is not known.
class EInvalidGraphic : public platform::Exception {
 public:
  using Exception::Exception;
};

// Reads bitmaps (.bmp), icons (.ico), JPEG (.jpg, .jpeg) and PNG (.png); the
// path is code page 1250. An unknown extension raises EInvalidGraphic
// "Unknown picture file extension (.xyz)", data that does not decode raises
// EInvalidGraphic, and a file that cannot be read raises EInOutError.
QImage LoadPicture(const std::string& path);

}  // namespace toolkit
