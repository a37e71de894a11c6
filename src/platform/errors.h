#pragma once
// The exceptions that end an action and reach the user through the standard
// error box. Messages are code page 1250 text, like every string of the model.

#include <cstddef>
#include <stdexcept>
#include <string>

namespace platform {

// A text from a file quoted into a message: at most kQuotedMax characters,
// a longer one cut and ended with "\x85" (the ellipsis), so that a line of
// megabytes never reaches a message box whole. Control bytes and the bytes
// code page 1250 leaves undefined are shown as escapes ("\0", "\t", "\r",
// "\n", "\x01"), each counted with all its characters.
inline constexpr size_t kQuotedMax = 80;
std::string Quoted(const std::string& text);

// Base of every error the program raises on purpose; what() is the message shown.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

// A text that should have been a number or a flag.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
  // "'%s' is not a valid integer value"
  static EConvertError InvalidInteger(const std::string& text);
  // "'%s' is not a valid boolean value"
  static EConvertError InvalidBoolean(const std::string& text);
  // "'%s' is not a valid count: a count may not be negative"
  static EConvertError NegativeCount(const std::string& text);
};

// A file that could not be read or written. The message names the file and the reason.
class EInOutError : public Exception {
 public:
  EInOutError(const std::string& path, const std::string& reason);
  // The reason taken from errno.
  static EInOutError FromErrno(const std::string& path, int err);
  // A FIFO, a device or a socket where a file was expected.
  static EInOutError NotRegular(const std::string& path);
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// A write to a profile (INI) file that the platform refused: "Unable to write to %s".
class EIniFileException : public Exception {
 public:
  explicit EIniFileException(const std::string& path);
  // A key that could never be read back.
  static EIniFileException InvalidKey(const std::string& key);
  // A file that exists but cannot be read, so cannot be changed either: its
  // read error, which names the cause a write refusal would hide.
  static EIniFileException Unreadable(const EInOutError& cause);

 private:
  struct Message {};
  EIniFileException(Message, const std::string& text) : Exception(text) {}
};

// A list index outside the list: "List index out of bounds (%d)".
class EListError : public Exception {
 public:
  explicit EListError(long index);
};

// Memory for a picture or a buffer could not be had: "Out of memory".
class EOutOfMemory : public Exception {
 public:
  EOutOfMemory();
};

}  // namespace platform
