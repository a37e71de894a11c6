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
// is missing or cannot be read reads as empty; a write to one that exists
// and cannot be read is refused with its read error.
//
// Lines end at CR LF, LF or a lone CR. Writing keeps every line it does not
// change byte for byte; a new line ends as the line before it, a new section
// as the file's first line (CR LF in a new file).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform {

namespace profile {
class Document;
}

class ProfileFile {
 public:
  // Values are read through a buffer of 2,048 bytes, name lists through one of 16,384.
  static constexpr size_t kValueMax = 2047;
  static constexpr size_t kListBufferSize = 16384;

  explicit ProfileFile(std::string path) : path_(std::move(path)) {}

  const std::string& FileName() const { return path_; }

  // The key's value, at most kValueMax characters; def when the section or key
  // is missing. A key present with an empty value gives "".
  std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;

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
  // creates the file when missing. Raises EIniFileException when refused,
  // and for a key that could never be read back: one holding "=" or
  // beginning with ";" or "[".
  void WriteString(const std::string& section, const std::string& key, const std::string& value);

  // WriteString, or, while a ProfileBatch is open, the same write kept for
  // the batch's end (reads see the file as it is until then).
  void WriteStringInBatch(const std::string& section, const std::string& key, const std::string& value);

  // "1" or "0".
  void WriteBool(const std::string& section, const std::string& key, bool value);

  // Removes every section of that name with all its lines. A missing file or
  // section is left alone. Raises EIniFileException when refused.
  void EraseSection(const std::string& section);

  // The whole file parsed once, for many reads or writes; WriteAll replaces
  // the file with the document in one step. ReadAll raises EIniFileException
  // with the read error when a file that exists cannot be read.
  profile::Document ReadAll() const;
  void WriteAll(const profile::Document& doc);

 private:
  std::string path_;
};

// Writes that come in bursts, such as the texts one screen finds missing,
// are kept while a batch is open and written when the outermost batch ends:
// all of one file's values in one replace. Batches nest.
class ProfileBatch {
 public:
  ProfileBatch();
  // Ends the batch when End was not called; a refused write is then not
  // reported (the batch is left by an error already).
  ~ProfileBatch();
  ProfileBatch(const ProfileBatch&) = delete;
  ProfileBatch& operator=(const ProfileBatch&) = delete;
  // Ends the batch; the outermost writes what batches kept and raises
  // EIniFileException for a file that refused it.
  void End();

 private:
  bool ended_ = false;
};

// A wait for the user inside a batch, such as a modal window: what batches
// kept is written first (kept values are dropped whether or not their file
// takes them; every file is tried and the first refusal raises
// EIniFileException), and batches opened during the wait are outermost, so a
// window's own writes reach the file while it is open. Without write nothing
// is written first, for a box that reports an error already raised.
class ProfileBatchGap {
 public:
  explicit ProfileBatchGap(bool write = true);
  ~ProfileBatchGap();
  ProfileBatchGap(const ProfileBatchGap&) = delete;
  ProfileBatchGap& operator=(const ProfileBatchGap&) = delete;

 private:
  int depth_ = 0;
};

// The same rules on a file's bytes held in memory.
namespace profile {

// A profile file's bytes parsed once. Reads look names up in an index and
// writes edit the lines in place, so many of them cost one parse; Bytes()
// gives the file as the same writes one by one would have left it. A UTF-8
// byte-order mark at the start is kept and read past.
class Document {
 public:
  explicit Document(std::string_view data);

  std::string Value(std::string_view section, std::string_view key, std::string_view def) const;
  std::vector<std::string> Sections() const;
  std::vector<std::string> Keys(std::string_view section) const;
  // Raises EIniFileException for a key that could never be read back.
  void Set(std::string_view section, std::string_view key, std::string_view value);
  // Removes every section of that name; false when there is none.
  bool Erase(std::string_view section);
  // Removes the key's lines from the section that reads see; false when it has none.
  bool EraseKey(std::string_view section, std::string_view key);
  std::string Bytes() const;

 private:
  struct Line {
    enum Kind { kOther, kSection, kKey };
    std::string text;  // without its line end
    std::string eol;   // "\r\n", "\n", "\r", or "" for a last line without a break
    Kind kind = kOther;
    size_t nameAt = 0, nameLen = 0;  // the section or key name within text
    size_t valueAt = 0, valueLen = 0;
    std::string_view Name() const { return std::string_view(text).substr(nameAt, nameLen); }
    std::string_view Value() const { return std::string_view(text).substr(valueAt, valueLen); }
  };
  struct Section {
    Line header;
    std::vector<Line> body;
    // The first line of each key, made when first needed.
    mutable std::unordered_map<std::string, size_t> keys;
    mutable bool indexed = false;
  };

  static void Classify(Line& line);
  void Index();
  const Section* Find(std::string_view section) const;
  std::optional<size_t> FindKey(const Section& s, std::string_view key) const;
  Line& LastLine();

  std::string bom_;
  std::string eol_;             // the file's first line end, "\r\n" for a file without one
  std::vector<Line> preamble_;  // lines before the first section
  std::vector<Section> sections_;
  std::unordered_map<std::string, size_t> sectionIndex_;  // the first section of each name
};

std::string ReadValue(std::string_view data, std::string_view section, std::string_view key, std::string_view def);
std::vector<std::string> SectionNames(std::string_view data);
std::vector<std::string> SectionKeys(std::string_view data, std::string_view section);
// The bytes after writing the value.
std::string WithValue(std::string_view data, std::string_view section, std::string_view key, std::string_view value);
// The bytes without the section; nullopt when the data has no such section.
std::optional<std::string> WithoutSection(std::string_view data, std::string_view section);

}  // namespace profile

}  // namespace platform
