#include "platform/errors.h"

#include <cstring>

#include "platform/cp1250.h"

namespace platform {

std::string Quoted(const std::string& text) {
  if (text.size() <= kQuotedMax) return text;
  return text.substr(0, kQuotedMax) + "\x85";
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

EIniFileException EIniFileException::InvalidKey(const std::string& key) {
  return EIniFileException(Message{}, "Unable to write the key '" + Quoted(key) +
                                          "': a key may not contain \"=\" nor begin with \";\" or \"[\"");
}

EListError::EListError(long index) : Exception("List index out of bounds (" + std::to_string(index) + ")") {}

EOutOfMemory::EOutOfMemory() : Exception("Out of memory") {}

}  // namespace platform
