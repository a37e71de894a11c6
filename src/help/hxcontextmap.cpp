#include "help/hxcontextmap.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <unordered_set>
#include <unistd.h>

#include "platform/convert.h"
#include "platform/cp1250.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "help/hxhshtb.h"
#include "platform/messages.h"

namespace help {

namespace {

// The file's lines; a line ends at LF, CR LF or a lone CR.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

// A signed 32-bit number: an optional sign, then decimal digits, or hexadecimal
// ones after "$", "x" or "0x". Nothing when it is no number or out of range.
std::optional<int32_t> MapNumber(std::string_view s) {
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  int base = 10;
  if (!s.empty() && (s.front() == '$' || s.front() == 'x' || s.front() == 'X')) {
    base = 16;
    s.remove_prefix(1);
  } else if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    s.remove_prefix(2);
  }
  if (s.empty()) return std::nullopt;
  int64_t value = 0;
  for (const char c : s) {
    const int d = platform::HexDigit(c);
    if (d < 0 || d >= base) return std::nullopt;
    value = value * base + d;
    if (value > int64_t(INT32_MAX) + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(value);
}

// Splits a map line into a name and a value. Blanks end the name and are never
// kept, so blanks inside the value vanish; "#" or ";" starts a comment.
void SplitNameValue(std::string_view line, std::string& name, std::string& value) {
  std::string* part = &name;
  for (const char c : line) {
    if (c == '\t' || c == ' ') {
      if (!name.empty()) part = &value;
    } else if (c == '#' || c == ';') {
      break;
    } else if (c == '=') {
      part = &value;
    } else {
      part->push_back(c);
    }
  }
}

std::string CurrentDirectory() {
  std::string buf(PATH_MAX, '\0');
  if (!::getcwd(buf.data(), buf.size())) return "/";
  buf.resize(std::char_traits<char>::length(buf.c_str()));
  return platform::Utf8ToCp1250(buf);
}

std::string Normalized(const std::string& path) { return std::filesystem::path(path).lexically_normal().string(); }

// The full path of a file named relative to the working directory.
std::string FullPath(const std::string& path) {
  if (!path.empty() && path.front() == '/') return Normalized(path);
  return Normalized(CurrentDirectory() + "/" + path);
}

// An include name as written in a help project, relative to the including
// file's directory. Help projects come from Windows, so a backslash separates
// folders as a slash does.
std::string IncludePath(std::string name, const std::string& includingFile) {
  std::replace(name.begin(), name.end(), '\\', '/');
  if (!name.empty() && name.front() == '/') return Normalized(name);
  const size_t slash = includingFile.rfind('/');
  const std::string dir = slash == std::string::npos ? std::string() : includingFile.substr(0, slash + 1);
  return Normalized(dir + name);
}

// What identifies a file on the include stack: the resolved path, so that
// links and different spellings of one file count as one.
std::string FileIdentity(const std::string& path) {
  char* real = ::realpath(platform::NativePath(path).c_str(), nullptr);
  if (!real) return path;
  std::string out(real);
  std::free(real);
  return out;
}

// One file being read: its lines and where reading stands in them.
struct Frame {
  std::string file;
  std::unique_ptr<const std::string> bytes;  // stays in place while the frame moves
  std::vector<std::string_view> lines;
  size_t next = 0;
  bool isInclude = false;
  bool inSection = false;
};

void Open(Frame& frame, const std::string& file, bool isInclude) {
  std::optional<std::string> bytes = platform::ReadFileBytes(file);
  if (!bytes) throw platform::EInOutError::FromErrno(file, ENOENT);
  frame.file = file;
  frame.bytes = std::make_unique<const std::string>(std::move(*bytes));
  frame.lines = SplitLines(*frame.bytes);
  frame.isInclude = isInclude;
}

void IncludeMessage(const std::string& include, const char* what) {
  platform::ShowMessageDlg(platform::MessageIcon::Error, "Include file \"" + platform::Quoted(include) + "\" " + what);
}

// Includes are read on a stack of our own, so that no chain of them can
// exhaust the program's stack. Every file is read at most once per map: one
// named again, be it in a cycle or twice in a row, is reported and skipped,
// which also keeps a file named twice at each level from doubling the work.
void ParseFiles(const std::string& file, bool isInclude, std::vector<TContextRecord>& records) {
  std::vector<Frame> stack(1);
  Open(stack.back(), file, isInclude);
  std::unordered_set<std::string> seen{FileIdentity(file)};
  std::unordered_set<std::string> reading{FileIdentity(file)};
  std::vector<std::string> identities{FileIdentity(file)};
  size_t includes = 0;

  while (!stack.empty()) {
    Frame& f = stack.back();
    if (f.next == f.lines.size()) {
      reading.erase(identities.back());
      identities.pop_back();
      stack.pop_back();
      continue;
    }
    const std::string_view line = platform::TrimControls(f.lines[f.next++]);
    if ((!f.inSection && !f.isInclude) || line.empty()) {
      // In the main file an empty line ends the section as well.
      f.inSection = line.starts_with("[MAP]");
      continue;
    }
    if (line.starts_with('[')) {
      f.next = f.lines.size();
      continue;
    }

    if (line.starts_with("#include")) {
      const std::string include = IncludePath(std::string(platform::TrimControls(line.substr(8))), f.file);
      if (!platform::FileExists(include)) {
        IncludeMessage(include, "not found!");
        continue;
      }
      const std::string identity = FileIdentity(include);
      if (reading.count(identity)) {
        IncludeMessage(include, "includes itself!");
      } else if (seen.count(identity)) {
        IncludeMessage(include, "has already been read!");
      } else if (includes == kMaxIncludes) {
        IncludeMessage(include, "not read: too many include files!");
      } else {
        ++includes;
        seen.insert(identity);
        reading.insert(identity);
        identities.push_back(identity);
        Frame next;
        Open(next, include, true);
        stack.push_back(std::move(next));  // f is not used after this
      }
      continue;
    }

    std::string_view rest = line;
    if (rest.starts_with("#define")) rest.remove_prefix(std::min<size_t>(8, rest.size()));
    std::string name, value;
    SplitNameValue(rest, name, value);
    if (name.empty() || value.empty()) continue;
    const std::optional<int32_t> number = MapNumber(value);
    if (!number) continue;
    const int32_t hash = ContextStringHash(name);
    if (hash == 0) continue;
    records.push_back({hash, *number});
  }
}

int32_t Int32At(const std::string& bytes, size_t offset) {
  return LittleEndianInt32(reinterpret_cast<const unsigned char*>(bytes.data() + offset));
}

}  // namespace

void ParseMapFile(const std::string& file, bool isInclude, std::vector<TContextRecord>& records) {
  ParseFiles(FullPath(file), isInclude, records);
}

THelpContextMap::THelpContextMap(TComponent* owner) : TComponent(owner) { NoticeInserted(); }

void THelpContextMap::SetFileName(const std::string& value) {
  if (!value.empty() && !Loading()) {
    if (!platform::FileExists(value)) throw platform::Exception("File " + value + " not found.");
    std::vector<TContextRecord> list;
    ParseMapFile(value, false, list);
    std::stable_sort(list.begin(), list.end(),
                     [](const TContextRecord& a, const TContextRecord& b) { return a.Hash < b.Hash; });
    // The old records go only once the new ones are in hand, so a file that
    // fails to read leaves the map as it was.
    block_.Clear();
    for (const TContextRecord& r : list) {
      block_.WriteInt32(r.Hash);
      block_.WriteInt32(r.Context);
    }
    if (Designing()) {
      platform::ShowMessageDlg(platform::MessageIcon::Information,
                               "Help context list updated. " + std::to_string(list.size()) + " items stored.");
    }
  }
  fileName_ = value;
}

int32_t THelpContextMap::LookupContext(std::string_view name) const {
  const int32_t h = ContextStringHash(name);
  if (h == 0 || block_.Size() < 8) return 0;
  const std::string& bytes = block_.Bytes();
  int64_t low = 0, high = static_cast<int64_t>(block_.Size() / 8) - 1;
  while (low <= high) {
    const int64_t mid = (low + high) / 2;
    const int32_t hash = Int32At(bytes, static_cast<size_t>(mid) * 8);
    if (hash == h) return Int32At(bytes, static_cast<size_t>(mid) * 8 + 4);
    if (hash < h) {
      low = mid + 1;
    } else {
      high = mid - 1;
    }
  }
  return 0;
}

void THelpContextMap::ReadFileData(TMemoryStream& stream) {
  block_.Clear();
  const int32_t size = stream.ReadInt32();
  if (size < 0) throw EReadError();
  block_.WriteBytes(stream.ReadBytes(static_cast<size_t>(size)));
}

void THelpContextMap::WriteFileData(TMemoryStream& stream) {
  stream.WriteInt32(static_cast<int32_t>(block_.Size()));
  stream.WriteBytes(block_.Bytes());
}

void THelpContextMap::DefineProperties(TFiler& filer) {
  TComponent::DefineProperties(filer);
  filer.StringProperty(
      "FileName", [this] { return fileName_; }, [this](const std::string& v) { SetFileName(v); }, !fileName_.empty());
  filer.BinaryProperty(
      "FileData", [this](TMemoryStream& s) { ReadFileData(s); }, [this](TMemoryStream& s) { WriteFileData(s); },
      block_.Size() > 0);
}

}  // namespace help
