#include "platform/errors.h"

#include <cstring>

#include "platform/cp1250.h"

namespace platform {

EConvertError EConvertError::InvalidInteger(const std::string& text) {
  return EConvertError("'" + text + "' is not a valid integer value");
}

EConvertError EConvertError::InvalidBoolean(const std::string& text) {
  return EConvertError("'" + text + "' is not a valid boolean value");
}

EInOutError::EInOutError(const std::string& path, const std::string& reason)
    : Exception("Cannot access file \"" + path + "\": " + reason), path_(path) {}

EInOutError EInOutError::FromErrno(const std::string& path, int err) {
  // strerror speaks UTF-8 in the C locale's stead; our messages are code page 1250.
  return EInOutError(path, Utf8ToCp1250(std::strerror(err)));
}

EIniFileException::EIniFileException(const std::string& path)
    : Exception("Unable to write to " + path) {}

EListError::EListError(long index)
    : Exception("List index out of bounds (" + std::to_string(index) + ")") {}

EOutOfMemory::EOutOfMemory() : Exception("Out of memory") {}

}  // namespace platform
