#pragma once
// Profile (INI) files: sections in square brackets and key=value lines, in
// code page 1250. Every call reads the file afresh and every write replaces
// it whole through a temporary file, so nothing is held open between calls
// and another program's change is seen by the next call.
//
// Reading: section and key names match without regard to letter case (code
// page 1250 letters included), the first matching section and the first
// matching key in it win, blanks around names and values are dropped, a line
// without "=" is no key, a line starting with ";" is a comment. A file that
// is missing or cannot be read reads as empty.
//
// Lines end at CR LF, LF or a lone CR. Writing keeps every line it does not
// change byte for byte; a new line ends as the line before it, a new section
// as the file's first line (CR LF in a new file).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class ProfileFile {
 public:
  // Values are read through a buffer of 2,048 bytes, name lists through one of 16,384.
  static constexpr size_t kValueMax = 2047;
  static constexpr size_t kListBufferSize = 16384;

  explicit ProfileFile(std::string path) : path_(std::move(path)) {}

  const std::string& FileName() const { return path_; }

  // The key's value, at most kValueMax characters; def when the section or key
  // is missing. A key present with an empty value gives "".
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& def) const;

  // True when the value is a non-zero integer, decimal or hexadecimal after
  // "0x"/"0X"; def when the key is missing, empty or not an integer.
  bool ReadBool(const std::string& section, const std::string& key, bool def) const;

  // Section names in the file's order, each once, as far as they fit the
  // list buffer (each name with its terminator, and one byte for the end).
  std::vector<std::string> ReadSections() const;

  // Key names of the first matching section in the file's order, each once,
  // within the same buffer; empty when the section is missing.
  std::vector<std::string> ReadSectionKeys(const std::string& section) const;

  // Replaces the value of a present key, or appends the key after the last
  // line of its section, or appends the section at the end of the file;
  // creates the file when missing. Raises EIniFileException when refused.
  void WriteString(const std::string& section, const std::string& key, const std::string& value);

  // "1" or "0".
  void WriteBool(const std::string& section, const std::string& key, bool value);

  // Removes every section of that name with all its lines. A missing file or
  // section is left alone. Raises EIniFileException when refused.
  void EraseSection(const std::string& section);

 private:
  std::string path_;
};

// The same rules on a file's bytes held in memory.
namespace profile {

std::string ReadValue(std::string_view data, std::string_view section, std::string_view key,
                      std::string_view def);
std::vector<std::string> SectionNames(std::string_view data);
std::vector<std::string> SectionKeys(std::string_view data, std::string_view section);
// The bytes after writing the value.
std::string WithValue(std::string_view data, std::string_view section, std::string_view key,
                      std::string_view value);
// The bytes without the section; nullopt when the data has no such section.
std::optional<std::string> WithoutSection(std::string_view data, std::string_view section);

}  // namespace profile

}  // namespace platform
