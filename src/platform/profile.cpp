#include "platform/profile.h"

#include <optional>
#include <string_view>
#include <unordered_set>

#include "platform/convert.h"
#include "platform/cp1250.h"
#include "platform/errors.h"
#include "platform/files.h"

namespace platform {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Names and values are C strings to the callers: a zero byte ends them.
std::string_view CutAtNul(std::string_view s) { return s.substr(0, s.find('\0')); }

std::string Fold(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(Cp1250Lower(static_cast<unsigned char>(c)));
  return out;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Cp1250Lower(static_cast<unsigned char>(a[i])) != Cp1250Lower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

struct Line {
  enum Kind { kOther, kSection, kKey };
  size_t begin = 0;        // offset of the line in the file
  std::string_view text;   // without its line end
  std::string_view eol;    // "\r\n", "\n", "\r", or "" for a last line without a break
  Kind kind = kOther;
  std::string_view name;   // section or key name
  std::string_view value;  // key's value
};

Line Classify(Line line) {
  const std::string_view t = Trim(line.text);
  if (t.empty() || t.front() == ';') return line;
  if (t.front() == '[') {
    const size_t close = t.rfind(']');
    const std::string_view inner = close == std::string_view::npos ? t.substr(1) : t.substr(1, close - 1);
    line.kind = Line::kSection;
    line.name = Trim(CutAtNul(inner));
    return line;
  }
  const size_t eq = t.find('=');
  if (eq == std::string_view::npos) return line;
  line.kind = Line::kKey;
  line.name = Trim(CutAtNul(t.substr(0, eq)));
  line.value = Trim(CutAtNul(t.substr(eq + 1)));
  return line;
}

// Lines end at CR LF, LF or a lone CR, so no name or value ever holds a line break.
std::vector<Line> Parse(std::string_view data) {
  std::vector<Line> lines;
  size_t pos = 0;
  while (pos < data.size()) {
    Line line;
    line.begin = pos;
    const size_t br = data.find_first_of("\r\n", pos);
    if (br == std::string_view::npos) {
      line.text = data.substr(pos);
      pos = data.size();
    } else {
      const size_t len = data.compare(br, 2, "\r\n") == 0 ? 2 : 1;
      line.text = data.substr(pos, br - pos);
      line.eol = data.substr(br, len);
      pos = br + len;
    }
    lines.push_back(Classify(line));
  }
  return lines;
}

// The lines of one section: its header and everything up to the next header.
struct Range {
  size_t header;
  size_t end;
};

std::optional<Range> FindSection(const std::vector<Line>& lines, std::string_view section, size_t from = 0) {
  for (size_t h = from; h < lines.size(); ++h) {
    if (lines[h].kind != Line::kSection || !SameName(lines[h].name, section)) continue;
    size_t end = h + 1;
    while (end < lines.size() && lines[end].kind != Line::kSection) ++end;
    return Range{h, end};
  }
  return std::nullopt;
}

std::optional<size_t> FindKey(const std::vector<Line>& lines, Range r, std::string_view key) {
  for (size_t i = r.header + 1; i < r.end; ++i) {
    if (lines[i].kind == Line::kKey && SameName(lines[i].name, key)) return i;
  }
  return std::nullopt;
}

// Names gathered as into a buffer of kListBufferSize bytes: each with its
// terminator, one byte kept for the list's end. A name that would not fit
// whole ends the list, so no cut name is ever handed out.
class NameList {
 public:
  bool Add(std::string_view name) {
    if (full_) return false;
    if (name.empty()) return true;  // an empty name would end a terminated list early
    if (!seen_.insert(Fold(name)).second) return true;
    if (used_ + name.size() + 1 > ProfileFile::kListBufferSize - 1) {
      full_ = true;
      return false;
    }
    used_ += name.size() + 1;
    names_.emplace_back(name);
    return true;
  }
  std::vector<std::string> Take() { return std::move(names_); }

 private:
  std::vector<std::string> names_;
  std::unordered_set<std::string> seen_;
  size_t used_ = 0;
  bool full_ = false;
};

std::string ReadForReading(const std::string& path) {
  try {
    return ReadFileBytes(path).value_or(std::string());
  } catch (const EInOutError&) {
    return std::string();  // reading never fails: an unreadable file reads as empty
  }
}

// A file that exists but cannot be read must not be replaced by what little
// we know of it.
std::string ReadForWriting(const std::string& path) {
  try {
    return ReadFileBytes(path).value_or(std::string());
  } catch (const EInOutError&) {
    throw EIniFileException(path);
  }
}

void Store(const std::string& path, const std::string& data) {
  try {
    WriteFileAtomic(path, data);
  } catch (const EInOutError&) {
    throw EIniFileException(path);
  }
}

// A line break or zero byte written into a name or value would split the
// line and could forge other keys or sections.
std::string OneLine(std::string_view s, bool trim) {
  s = CutAtNul(s);
  if (trim) s = Trim(s);
  std::string out(s);
  for (char& c : out) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return out;
}

std::string_view LineEndOf(const std::vector<Line>& lines) {
  for (const Line& l : lines) {
    if (!l.eol.empty()) return l.eol;
  }
  return "\r\n";
}

std::optional<int64_t> TryHex(std::string_view s) {
  bool negative = false;
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  if (s.size() < 3 || s[0] != '0' || (s[1] != 'x' && s[1] != 'X') || s.size() > 2 + 8) return std::nullopt;
  int64_t v = 0;
  for (char c : s.substr(2)) {
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return std::nullopt;
    v = v * 16 + d;
  }
  return negative ? -v : v;
}

}  // namespace

namespace profile {

std::string ReadValue(std::string_view data, std::string_view section, std::string_view key,
                      std::string_view def) {
  const std::vector<Line> lines = Parse(data);
  std::string_view result = def;
  if (auto r = FindSection(lines, Trim(section))) {
    if (auto i = FindKey(lines, *r, Trim(key))) result = lines[*i].value;
  }
  return std::string(result.substr(0, ProfileFile::kValueMax));
}

std::vector<std::string> SectionNames(std::string_view data) {
  NameList names;
  for (const Line& l : Parse(data)) {
    if (l.kind == Line::kSection && !names.Add(l.name)) break;
  }
  return names.Take();
}

std::vector<std::string> SectionKeys(std::string_view data, std::string_view section) {
  const std::vector<Line> lines = Parse(data);
  NameList names;
  if (auto r = FindSection(lines, Trim(section))) {
    for (size_t i = r->header + 1; i < r->end; ++i) {
      if (lines[i].kind == Line::kKey && !names.Add(lines[i].name)) break;
    }
  }
  return names.Take();
}

std::string WithValue(std::string_view data, std::string_view section, std::string_view key,
                      std::string_view value) {
  const std::vector<Line> lines = Parse(data);
  const std::string sectionName = OneLine(section, true);
  const std::string keyName = OneLine(key, true);
  const std::string text = OneLine(value, false);
  const std::string_view eol = LineEndOf(lines);

  std::string out;
  if (auto r = FindSection(lines, sectionName)) {
    if (auto i = FindKey(lines, *r, keyName)) {
      // Replace the value, keeping the key as the file spells it and the line's own end.
      const Line& l = lines[*i];
      out = data.substr(0, l.begin);
      out.append(l.name).append("=").append(text).append(l.eol);
      out.append(data.substr(l.begin + l.text.size() + l.eol.size()));
    } else {
      // After the section's last non-blank line, so blank lines before the next section stay.
      size_t last = r->header;
      for (size_t j = r->header + 1; j < r->end; ++j) {
        if (!Trim(lines[j].text).empty()) last = j;
      }
      // The new line ends as the line it follows; a lone CR before an LF would
      // otherwise join them into one line end.
      const Line& l = lines[last];
      const size_t at = l.begin + l.text.size() + l.eol.size();
      const std::string_view end = l.eol.empty() ? eol : l.eol;
      out = data.substr(0, at);
      if (l.eol.empty()) out += end;
      out.append(keyName).append("=").append(text).append(end);
      out.append(data.substr(at));
    }
  } else {
    out = data;
    if (!out.empty() && out.back() != '\n') out += eol;
    out.append("[").append(sectionName).append("]").append(eol);
    out.append(keyName).append("=").append(text).append(eol);
  }
  return out;
}

std::optional<std::string> WithoutSection(std::string_view data, std::string_view section) {
  const std::vector<Line> lines = Parse(data);
  const std::string name = OneLine(section, true);
  std::string out;
  size_t kept = 0;  // lines before this index are already in out
  bool erased = false;
  for (auto r = FindSection(lines, name); r; r = FindSection(lines, name, r->end)) {
    const size_t from = lines[r->header].begin;
    out.append(data.substr(lines[kept].begin, from - lines[kept].begin));
    kept = r->end;
    erased = true;
  }
  if (!erased) return std::nullopt;
  if (kept < lines.size()) out.append(data.substr(lines[kept].begin));
  return out;
}

}  // namespace profile

std::string ProfileFile::ReadString(const std::string& section, const std::string& key,
                                    const std::string& def) const {
  return profile::ReadValue(ReadForReading(path_), section, key, def);
}

bool ProfileFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
  const std::string text = ReadString(section, key, std::string());
  if (auto v = TryStrToInt(text)) return *v != 0;
  if (auto v = TryHex(text)) return *v != 0;
  return def;
}

std::vector<std::string> ProfileFile::ReadSections() const {
  return profile::SectionNames(ReadForReading(path_));
}

std::vector<std::string> ProfileFile::ReadSectionKeys(const std::string& section) const {
  return profile::SectionKeys(ReadForReading(path_), section);
}

void ProfileFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  Store(path_, profile::WithValue(ReadForWriting(path_), section, key, value));
}

void ProfileFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void ProfileFile::EraseSection(const std::string& section) {
  if (auto erased = profile::WithoutSection(ReadForWriting(path_), section)) Store(path_, *erased);
}

}  // namespace platform
