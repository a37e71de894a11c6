#pragma once
// The picture loader that the screens and the printing share: a picture file
// into an image, the decoder chosen by the file's content, so whatever one of
// them shows the other shows too. Also the picture types the program shows,
// which the picture dialog offers.

#include <QImage>
#include <functional>
#include <string>
#include <vector>

#include "platform/errors.h"

namespace toolkit {

// A picture file that cannot be decoded, or whose type is not known.
class EInvalidGraphic : public platform::Exception {
 public:
  using Exception::Exception;
};

// One type of picture the program shows: the language key of its name, the
// name where no language table names it, and its file name patterns
// ("*.jpg;*.jpeg").
struct TPictureType {
  const char* Key;
  const char* Name;
  const char* Patterns;
};

// The types in the order the picture dialog lists them.
const std::vector<TPictureType>& PictureTypes();
// All of them together.
extern const TPictureType kAllPictures;

// The picture dialog's filter ("name|patterns|..."): all types together, then
// each on its own, named by nameOf(type).
std::string PictureFilter(const std::function<std::string(const TPictureType&)>& nameOf);

// Reads bitmaps, icons, JPEG (through libjpeg) and PNG, whatever the file's
// extension; the path is code page 1250. Data of no known type raises
// EInvalidGraphic "'path' is not a valid picture", or "Unknown picture file
// extension (.xyz)" when the name does not say a type the program shows
// either; data that does not decode raises EInvalidGraphic (EJPEG for JPEG),
// a picture larger than Qt's image allocation limit allows is refused before
// it is decoded, and a file that cannot be read raises EInOutError.
QImage LoadPicture(const std::string& path);

}  // namespace toolkit
