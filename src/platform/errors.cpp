#include "platform/errors.h"

#include <cstring>

#include "platform/cp1250.h"

namespace platform {

namespace {

// A byte as the reader can see it: a control or a byte the code page leaves
// undefined as an escape, since a zero byte would end the message and the
// others show as nothing or as boxes.
void AppendVisible(std::string& out, unsigned char c) {
  const char16_t u = Cp1250ToUnicode(c);
  if (u >= 0x20 && (u < 0x7F || u > 0x9F)) {
    out += static_cast<char>(c);
    return;
  }
  switch (c) {
    case '\0': out += "\\0"; return;
    case '\t': out += "\\t"; return;
    case '\r': out += "\\r"; return;
    case '\n': out += "\\n"; return;
    default: {
      static const char kHex[] = "0123456789ABCDEF";
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
}

}  // namespace

std::string Quoted(const std::string& text) {
  std::string out;
  std::string piece;
  for (const char c : text) {
    piece.clear();
    AppendVisible(piece, static_cast<unsigned char>(c));
    // An escape is shown whole or not at all.
    if (out.size() + piece.size() > kQuotedMax) return out + "\x85";
    out += piece;
  }
  return out;
}

EConvertError EConvertError::InvalidInteger(const std::string& text) {
  return EConvertError("'" + Quoted(text) + "' is not a valid integer value");
}

EConvertError EConvertError::InvalidBoolean(const std::string& text) {
  return EConvertError("'" + Quoted(text) + "' is not a valid boolean value");
}

EConvertError EConvertError::NegativeCount(const std::string& text) {
  return EConvertError("'" + Quoted(text) + "' is not a valid count: a count may not be negative");
}

EInOutError::EInOutError(const std::string& path, const std::string& reason)
    : Exception("Cannot access file \"" + path + "\": " + reason), path_(path) {}

EInOutError EInOutError::FromErrno(const std::string& path, int err) {
  // strerror speaks UTF-8 in the C locale's stead; our messages are code page 1250.
  return EInOutError(path, Utf8ToCp1250(std::strerror(err)));
}

EInOutError EInOutError::NotRegular(const std::string& path) { return EInOutError(path, "Not a regular file"); }

EIniFileException::EIniFileException(const std::string& path) : Exception("Unable to write to " + path) {}

EIniFileException EIniFileException::Unreadable(const EInOutError& cause) {
  return EIniFileException(Message{}, cause.what());
}

EIniFileException EIniFileException::InvalidKey(const std::string& key) {
  return EIniFileException(Message{}, "Unable to write the key '" + Quoted(key) +
                                          "': a key may not contain \"=\" nor begin with \";\" or \"[\"");
}

EListError::EListError(long index) : Exception("List index out of bounds (" + std::to_string(index) + ")") {}

EOutOfMemory::EOutOfMemory() : Exception("Out of memory") {}

}  // namespace platform
