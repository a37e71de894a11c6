#include "toolkit/Pictures.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <cerrno>

#include "platform/convert.h"
#include "platform/files.h"

namespace toolkit {

namespace {
// The decoder for an extension (lower case, without the dot); null when none.
const char* FormatOf(const std::string& extension) {
  struct Known {
    const char* extension;
    const char* format;
  };
  static const Known kKnown[] = {{"bmp", "bmp"}, {"ico", "ico"}, {"jpg", "jpeg"}, {"jpeg", "jpeg"}, {"png", "png"}};
  for (const Known& k : kKnown) {
    if (extension == k.extension) return k.format;
  }
  return nullptr;
}

std::string ExtensionOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return path.substr(dot + 1);
}
}  // namespace

QImage LoadPicture(const std::string& path) {
  const std::string extension = ExtensionOf(path);
  const char* format = FormatOf(platform::AsciiLower(extension));
  if (!format) throw EInvalidGraphic("Unknown picture file extension (." + extension + ")");

  const std::optional<std::string> bytes = platform::ReadFileBytes(path);
  if (!bytes) throw platform::EInOutError::FromErrno(path, ENOENT);
  QByteArray data = QByteArray::fromRawData(bytes->data(), static_cast<qsizetype>(bytes->size()));
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, format);
  // The data alone decides the decoder's success, not guesses from its content.
  reader.setDecideFormatFromContent(false);
  QImage image = reader.read();
  if (image.isNull()) throw EInvalidGraphic("'" + path + "' is not a valid picture");
  return image;
}

}  // namespace toolkit
