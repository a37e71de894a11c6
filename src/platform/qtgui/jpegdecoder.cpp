#include "platform/qtgui/jpegdecoder.h"

#include <QImageReader>
#include <cerrno>
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

#include "platform/files.h"

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace platform {

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return.
// It jumps back into the small C-style steps below; they own nothing, so no
// C++ object is skipped by the jump. The caller turns the failure into an
// exception once it is back in ordinary C++.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

extern "C" void OnError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

// Warnings (such as data that ends early, the rest shown grey) do not end the
// decoding, and nothing is written to the terminal.
extern "C" void OnMessage(j_common_ptr, int) {}

bool ReadHeader(j_decompress_ptr cinfo, ErrorManager* err, const unsigned char* data, unsigned long size) {
  if (setjmp(err->jump)) return false;
  jpeg_create_decompress(cinfo);
  jpeg_mem_src(cinfo, data, size);
  jpeg_read_header(cinfo, TRUE);
  return true;
}

bool StartDecoding(j_decompress_ptr cinfo, ErrorManager* err) {
  if (setjmp(err->jump)) return false;
  if (cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK) {
    cinfo->out_color_space = JCS_CMYK;
  } else {
    cinfo->out_color_space = JCS_EXT_BGR;
  }
  jpeg_start_decompress(cinfo);
  return true;
}

// Reads every row: straight into the image's rows, or for CMYK into one
// four-byte row that is then converted.
bool ReadRows(j_decompress_ptr cinfo, ErrorManager* err, unsigned char* bits, std::ptrdiff_t stride,
              unsigned char* cmykRow) {
  if (setjmp(err->jump)) return false;
  while (cinfo->output_scanline < cinfo->output_height) {
    unsigned char* target = bits + static_cast<std::ptrdiff_t>(cinfo->output_scanline) * stride;
    JSAMPROW row = cmykRow ? cmykRow : target;
    jpeg_read_scanlines(cinfo, &row, 1);
    if (cmykRow) {
      // Files with CMYK data store it inverted (as Adobe's programs write it).
      for (JDIMENSION x = 0; x < cinfo->output_width; ++x) {
        const unsigned k = cmykRow[x * 4 + 3];
        target[x * 3 + 0] = static_cast<unsigned char>(cmykRow[x * 4 + 2] * k / 255);
        target[x * 3 + 1] = static_cast<unsigned char>(cmykRow[x * 4 + 1] * k / 255);
        target[x * 3 + 2] = static_cast<unsigned char>(cmykRow[x * 4 + 0] * k / 255);
      }
    }
  }
  jpeg_finish_decompress(cinfo);
  return true;
}

struct Decompressor {
  jpeg_decompress_struct cinfo{};
  ErrorManager err{};
  bool created = false;
  ~Decompressor() {
    if (created) jpeg_destroy_decompress(&cinfo);
  }
};

[[noreturn]] void Fail(const std::string& fileName, const char* reason) {
  throw EJPEG("'" + fileName + "' is not a valid JPEG picture (" + reason + ")");
}

}  // namespace

bool LooksLikeJpeg(const std::string& bytes) { return bytes.size() >= 3 && bytes.compare(0, 3, "\xFF\xD8\xFF") == 0; }

QImage DecodeJpeg(const std::string& bytes, const std::string& fileName) {
  Decompressor d;
  d.cinfo.err = jpeg_std_error(&d.err.pub);
  d.err.pub.error_exit = OnError;
  d.err.pub.emit_message = OnMessage;
  d.created = true;  // jpeg_create_decompress cannot fail before it has set up what destroy frees
  if (!ReadHeader(&d.cinfo, &d.err, reinterpret_cast<const unsigned char*>(bytes.data()),
                  static_cast<unsigned long>(bytes.size())))
    Fail(fileName, d.err.message);
  // The header may claim any size: nothing is allocated for more than Qt's
  // readers would take, and a progressive picture's buffers come with the start.
  const int limitMb = QImageReader::allocationLimit();
  const uint64_t width = d.cinfo.image_width, height = d.cinfo.image_height;
  const uint64_t bytesPerLine = (width * 24 + 31) / 32 * 4;
  if (limitMb > 0 && bytesPerLine * height > (uint64_t(limitMb) << 20)) {
    throw EJPEG("'" + fileName + "' is too large a picture (" + std::to_string(width) + " x " + std::to_string(height) +
                " pixels)");
  }
  if (!StartDecoding(&d.cinfo, &d.err)) Fail(fileName, d.err.message);

  QImage image(static_cast<int>(d.cinfo.output_width), static_cast<int>(d.cinfo.output_height), QImage::Format_BGR888);
  if (image.isNull()) throw EOutOfMemory();
  std::vector<unsigned char> cmykRow;
  if (d.cinfo.out_color_space == JCS_CMYK) cmykRow.resize(static_cast<size_t>(d.cinfo.output_width) * 4);
  if (!ReadRows(&d.cinfo, &d.err, image.bits(), image.bytesPerLine(), cmykRow.empty() ? nullptr : cmykRow.data()))
    Fail(fileName, d.err.message);
  return image;
}

QImage LoadJpegFile(const std::string& path) {
  const std::optional<std::string> bytes = ReadFileBytes(path);
  if (!bytes) throw EInOutError::FromErrno(path, errno ? errno : ENOENT);
  return DecodeJpeg(*bytes, path);
}

}  // namespace platform
