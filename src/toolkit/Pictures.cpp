#include "toolkit/Pictures.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <cerrno>

#include "platform/convert.h"
#include "platform/files.h"
#include "platform/qtgui/jpegdecoder.h"

namespace toolkit {

const std::vector<TPictureType>& PictureTypes() {
  static const std::vector<TPictureType> types = {{"ObrJPEG", "JPEG pictures", "*.jpg;*.jpeg"},
                                                  {"ObrPNG", "PNG pictures", "*.png"},
                                                  {"ObrBitmapy", "Bitmaps", "*.bmp"},
                                                  {"ObrIkony", "Icons", "*.ico"}};
  return types;
}

const TPictureType kAllPictures = {"ObrVsechny", "All pictures", "*.jpg;*.jpeg;*.png;*.bmp;*.ico"};

std::string PictureFilter(const std::function<std::string(const TPictureType&)>& nameOf) {
  std::string filter = nameOf(kAllPictures) + "|" + kAllPictures.Patterns;
  for (const TPictureType& t : PictureTypes()) filter += "|" + nameOf(t) + "|" + t.Patterns;
  return filter;
}

namespace {
// The Qt decoder for data that begins as a picture of a type we show; null
// for JPEG (libjpeg decodes it) and for data of no known type.
enum class TKind { Unknown, Jpeg, Other };
TKind KindOf(const std::string& bytes, const char*& format) {
  auto begins = [&](std::string_view magic) { return bytes.size() >= magic.size() && bytes.compare(0, magic.size(), magic) == 0; };
  format = nullptr;
  if (platform::LooksLikeJpeg(bytes)) return TKind::Jpeg;
  if (begins("\x89PNG\r\n\x1A\n")) format = "png";
  else if (begins("BM")) format = "bmp";
  else if (begins(std::string_view("\0\0\1\0", 4))) format = "ico";
  return format ? TKind::Other : TKind::Unknown;
}

// Whether the file name says a type the program shows.
bool NamedAsPicture(const std::string& extension) {
  const std::string ext = "*." + platform::AsciiLower(extension);
  for (const TPictureType& t : PictureTypes()) {
    const std::string patterns = std::string(";") + t.Patterns + ";";
    if (patterns.find(";" + ext + ";") != std::string::npos) return true;
  }
  return false;
}

std::string ExtensionOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return path.substr(dot + 1);
}
}  // namespace

QImage LoadPicture(const std::string& path) {
  const std::optional<std::string> bytes = platform::ReadFileBytes(path);
  if (!bytes) throw platform::EInOutError::FromErrno(path, ENOENT);
  const char* format = nullptr;
  switch (KindOf(*bytes, format)) {
    case TKind::Jpeg: return platform::DecodeJpeg(*bytes, path);
    case TKind::Unknown: {
      const std::string extension = ExtensionOf(path);
      if (!NamedAsPicture(extension)) throw EInvalidGraphic("Unknown picture file extension (." + extension + ")");
      throw EInvalidGraphic("'" + path + "' is not a valid picture");
    }
    case TKind::Other: break;
  }
  QByteArray data = QByteArray::fromRawData(bytes->data(), static_cast<qsizetype>(bytes->size()));
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, format);
  reader.setDecideFormatFromContent(false);
  QImage image = reader.read();
  if (image.isNull()) throw EInvalidGraphic("'" + path + "' is not a valid picture");
  return image;
}

}  // namespace toolkit
