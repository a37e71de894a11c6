#include "help/viewer/hxchm.h"

#include <chm_lib.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/cp1250.h"

namespace hxviewer {

namespace {

uint32_t U32(const std::string& s, size_t at) {
  const auto* b = reinterpret_cast<const unsigned char*>(s.data() + at);
  return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

uint16_t U16(const std::string& s, size_t at) {
  const auto* b = reinterpret_cast<const unsigned char*>(s.data() + at);
  return static_cast<uint16_t>(b[0] | b[1] << 8);
}

bool ValidUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    size_t n;
    uint32_t cp;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      n = 1;
      cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      n = 2;
      cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      n = 3;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (i + n >= s.size()) return false;
    for (size_t k = 1; k <= n; ++k) {
      const auto cc = static_cast<unsigned char>(s[i + k]);
      if ((cc & 0xC0) != 0x80) return false;
      cp = cp << 6 | (cc & 0x3F);
    }
    // Overlong forms, surrogates and values past the last code point.
    if ((n == 1 && cp < 0x80) || (n == 2 && cp < 0x800) || (n == 3 && cp < 0x10000) || cp > 0x10FFFF ||
        (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    i += n + 1;
  }
  return true;
}

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | cp >> 6);
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | cp >> 12);
    out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | cp >> 18);
    out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (Lower(s[i]) != Lower(prefix[i])) return false;
  return true;
}

// The character references of attribute values: named ones of HTML's own
// five, decimal and hexadecimal numbers. Anything else stays as written.
std::string DecodeEntities(std::string_view s) {
  std::string out;
  size_t i = 0;
  while (i < s.size()) {
    if (s[i] != '&') {
      out += s[i++];
      continue;
    }
    const size_t semi = s.find(';', i);
    if (semi == std::string_view::npos || semi - i > 10) {
      out += s[i++];
      continue;
    }
    const std::string_view name = s.substr(i + 1, semi - i - 1);
    uint32_t cp = 0;
    bool known = true;
    if (name == "amp") cp = '&';
    else if (name == "lt") cp = '<';
    else if (name == "gt") cp = '>';
    else if (name == "quot") cp = '"';
    else if (name == "apos") cp = '\'';
    else if (name == "nbsp") cp = 0xA0;
    else if (name.size() > 1 && name[0] == '#') {
      const bool hex = name[1] == 'x' || name[1] == 'X';
      const std::string_view digits = name.substr(hex ? 2 : 1);
      known = !digits.empty();
      for (char c : digits) {
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (hex && c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else { known = false; break; }
        cp = cp * (hex ? 16 : 10) + static_cast<uint32_t>(d);
        if (cp > 0x10FFFF) { known = false; break; }
      }
    } else {
      known = false;
    }
    if (!known) {
      out += s[i++];
      continue;
    }
    AppendUtf8(out, cp);
    i = semi + 1;
  }
  return out;
}

struct TTag {
  std::string name;  // lower case, "/ul" for an end tag
  std::vector<std::pair<std::string, std::string>> attributes;  // names lower case
  std::string Attribute(std::string_view n) const {
    for (const auto& [k, v] : attributes)
      if (k == n) return v;
    return {};
  }
};

// Reads the tag that starts at s[i] == '<'; i moves past it.
TTag ReadTag(std::string_view s, size_t& i) {
  TTag tag;
  ++i;
  auto skipBlank = [&] {
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
  };
  skipBlank();
  while (i < s.size() && s[i] != '>' && !std::isspace(static_cast<unsigned char>(s[i]))) tag.name += Lower(s[i++]);
  while (i < s.size() && s[i] != '>') {
    skipBlank();
    std::string key;
    while (i < s.size() && s[i] != '>' && s[i] != '=' && !std::isspace(static_cast<unsigned char>(s[i])))
      key += Lower(s[i++]);
    skipBlank();
    std::string value;
    if (i < s.size() && s[i] == '=') {
      ++i;
      skipBlank();
      if (i < s.size() && (s[i] == '"' || s[i] == '\'')) {
        const char quote = s[i++];
        const size_t end = s.find(quote, i);
        const size_t stop = end == std::string_view::npos ? s.size() : end;
        value = DecodeEntities(s.substr(i, stop - i));
        i = end == std::string_view::npos ? s.size() : end + 1;
      } else {
        while (i < s.size() && s[i] != '>' && !std::isspace(static_cast<unsigned char>(s[i]))) value += s[i++];
        value = DecodeEntities(value);
      }
    }
    if (key.empty() && value.empty()) {
      if (i < s.size() && s[i] != '>') ++i;  // a stray character
      continue;
    }
    tag.attributes.emplace_back(std::move(key), std::move(value));
  }
  if (i < s.size()) ++i;  // '>'
  return tag;
}

}  // namespace

std::string HelpTextToUtf8(std::string_view text) {
  if (ValidUtf8(text)) return std::string(text);
  return platform::Cp1250ToUtf8(text);
}

std::vector<TSitemapEntry> ParseSitemap(std::string_view raw) {
  const std::string html = HelpTextToUtf8(raw);
  const std::string_view s = html;
  std::vector<TSitemapEntry> root;
  // The lists being filled; a list opened with no entry before it, or too
  // deep, fills the same list as the one around it.
  std::vector<std::vector<TSitemapEntry>*> lists{&root};
  int depth = 0;
  bool inObject = false;
  std::string name, local;

  size_t i = 0;
  while (i < s.size()) {
    const size_t lt = s.find('<', i);
    if (lt == std::string_view::npos) break;
    i = lt;
    if (s.compare(i, 4, "<!--") == 0) {
      const size_t end = s.find("-->", i + 4);
      i = end == std::string_view::npos ? s.size() : end + 3;
      continue;
    }
    const TTag tag = ReadTag(s, i);
    if (tag.name == "ul") {
      ++depth;
      if (static_cast<int>(lists.size()) <= kMaxSitemapDepth && !lists.back()->empty())
        lists.push_back(&lists.back()->back().Children);
      else
        lists.push_back(lists.back());
    } else if (tag.name == "/ul") {
      if (lists.size() > 1) lists.pop_back();
      if (depth > 0) --depth;
    } else if (tag.name == "object") {
      inObject = StartsWithNoCase(tag.Attribute("type"), "text/sitemap");
      name.clear();
      local.clear();
    } else if (tag.name == "param" && inObject) {
      const std::string key = tag.Attribute("name");
      const std::string value = tag.Attribute("value");
      if (StartsWithNoCase(key, "name") && key.size() == 4 && name.empty()) name = value;
      if (StartsWithNoCase(key, "local") && key.size() == 5 && local.empty()) local = value;
    } else if (tag.name == "/object") {
      if (inObject && (!name.empty() || !local.empty())) lists.back()->push_back({name, local, {}});
      inObject = false;
    }
  }
  return root;
}

std::optional<std::string> PopupTopicText(std::string_view file, uint32_t context) {
  bool inTopic = false;
  bool found = false;
  std::vector<std::string_view> lines;
  size_t i = 0;
  while (i <= file.size()) {
    size_t end = file.find('\n', i);
    if (end == std::string_view::npos) end = file.size();
    std::string_view line = file.substr(i, end - i);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    i = end + 1;
    if (StartsWithNoCase(line, ".topic") && (line.size() == 6 || std::isspace(static_cast<unsigned char>(line[6])))) {
      if (found) break;
      std::string_view rest = line.substr(6);
      while (!rest.empty() && std::isspace(static_cast<unsigned char>(rest.front()))) rest.remove_prefix(1);
      uint64_t n = 0;
      size_t digits = 0;
      while (digits < rest.size() && digits < 10 && rest[digits] >= '0' && rest[digits] <= '9')
        n = n * 10 + static_cast<uint64_t>(rest[digits++] - '0');
      inTopic = digits > 0 && n == context &&
                (digits == rest.size() || std::isspace(static_cast<unsigned char>(rest[digits])));
      found = inTopic;
      continue;
    }
    if (!line.empty() && line.front() == ';') continue;
    if (inTopic) lines.push_back(line);
  }
  auto blank = [](std::string_view l) {
    return std::all_of(l.begin(), l.end(), [](char c) { return std::isspace(static_cast<unsigned char>(c)); });
  };
  while (!lines.empty() && blank(lines.back())) lines.pop_back();
  size_t first = 0;
  while (first < lines.size() && blank(lines[first])) ++first;
  if (first == lines.size()) return std::nullopt;
  std::string text;
  for (size_t k = first; k < lines.size(); ++k) {
    if (k > first) text += '\n';
    text += lines[k];
  }
  return HelpTextToUtf8(text);
}

void SplitHelpPath(std::string_view path, std::string& file, std::string& inner) {
  const size_t gt = path.find('>');
  if (gt != std::string_view::npos) path = path.substr(0, gt);
  const size_t sep = path.find("::");
  if (sep == std::string_view::npos) {
    file = std::string(path);
    inner.clear();
    return;
  }
  file = std::string(path.substr(0, sep));
  std::string_view rest = path.substr(sep + 2);
  inner = rest.empty() || rest.front() == '/' ? std::string(rest) : "/" + std::string(rest);
}

TChmFile::~TChmFile() {
  if (file_) chm_close(file_);
}

bool TChmFile::Open(const std::string& path) {
  if (file_) {
    chm_close(file_);
    file_ = nullptr;
  }
  path_ = path;
  title_.clear();
  defaultTopic_.clear();
  contentsFile_.clear();
  indexFile_.clear();
  const std::string native = platform::Cp1250ToUtf8(path);
  file_ = chm_open(native.c_str());
  if (!file_) return false;
  ReadSystem();
  return true;
}

std::optional<std::string> TChmFile::Read(std::string_view object) const {
  if (!file_ || object.empty() || object.size() > CHM_MAX_PATHLEN) return std::nullopt;
  const std::string name(object);
  chmUnitInfo ui{};
  if (chm_resolve_object(file_, name.c_str(), &ui) != CHM_RESOLVE_SUCCESS) return std::nullopt;
  if (ui.length > kMaxObjectSize) return std::nullopt;
  std::string bytes(static_cast<size_t>(ui.length), '\0');
  if (ui.length == 0) return bytes;
  const LONGINT64 got = chm_retrieve_object(file_, &ui, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                                            static_cast<LONGINT64>(ui.length));
  if (got <= 0) return std::nullopt;
  bytes.resize(static_cast<size_t>(got));
  return bytes;
}

bool TChmFile::Exists(std::string_view object) const {
  if (!file_ || object.empty() || object.size() > CHM_MAX_PATHLEN) return false;
  const std::string name(object);
  chmUnitInfo ui{};
  return chm_resolve_object(file_, name.c_str(), &ui) == CHM_RESOLVE_SUCCESS;
}

std::string TChmFile::ObjectPath(std::string_view topic) const {
  std::string path(topic);
  std::string part;
  if (const size_t hash = path.find('#'); hash != std::string::npos) {
    part = path.substr(hash);
    path.resize(hash);
  }
  std::replace(path.begin(), path.end(), '\\', '/');
  if (path.empty()) return {};
  if (path.front() != '/') path.insert(0, "/");
  for (std::string candidate = path;;) {
    if (Exists(candidate)) return candidate + part;
    const size_t next = candidate.find('/', 1);
    if (next == std::string::npos) break;
    candidate.erase(0, next);
  }
  return path + part;
}

void TChmFile::ReadSystem() {
  const std::optional<std::string> system = Read("/#SYSTEM");
  if (system) {
    const std::string& s = *system;
    size_t at = 4;  // the record's version
    while (at + 4 <= s.size()) {
      const uint16_t code = U16(s, at);
      const uint16_t length = U16(s, at + 2);
      at += 4;
      if (length > s.size() - at) break;
      std::string value = s.substr(at, length);
      if (const size_t nul = value.find('\0'); nul != std::string::npos) value.resize(nul);
      at += length;
      switch (code) {
        case 0: contentsFile_ = ObjectPath(value); break;
        case 1: indexFile_ = ObjectPath(value); break;
        case 2: defaultTopic_ = ObjectPath(value); break;
        case 3: title_ = HelpTextToUtf8(value); break;
        default: break;
      }
    }
  }
  if (contentsFile_.empty() || !Exists(contentsFile_)) contentsFile_ = FindByExtension(".hhc");
  if (indexFile_.empty() || !Exists(indexFile_)) indexFile_ = FindByExtension(".hhk");
}

std::string TChmFile::FindByExtension(std::string_view ext) const {
  struct Search {
    std::string_view ext;
    std::string found;
  } search{ext, {}};
  chm_enumerate(
      file_, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES,
      [](chmFile*, chmUnitInfo* ui, void* context) -> int {
        auto* s = static_cast<Search*>(context);
        const std::string_view path(ui->path, strnlen(ui->path, CHM_MAX_PATHLEN + 1));
        if (path.size() > s->ext.size() &&
            StartsWithNoCase(path.substr(path.size() - s->ext.size()), s->ext)) {
          s->found = std::string(path);
          return CHM_ENUMERATOR_SUCCESS;
        }
        return CHM_ENUMERATOR_CONTINUE;
      },
      &search);
  return search.found;
}

std::vector<TSitemapEntry> TChmFile::Contents() const {
  if (contentsFile_.empty()) return {};
  const auto bytes = Read(contentsFile_);
  return bytes ? ParseSitemap(*bytes) : std::vector<TSitemapEntry>{};
}

std::vector<TSitemapEntry> TChmFile::Index() const {
  if (indexFile_.empty()) return {};
  const auto bytes = Read(indexFile_);
  return bytes ? ParseSitemap(*bytes) : std::vector<TSitemapEntry>{};
}

std::string TChmFile::TopicOfContext(uint32_t context) const {
  const auto map = Read("/#IVB");
  if (!map || map->size() < 4) return {};
  const auto strings = Read("/#STRINGS");
  if (!strings) return {};
  const size_t end = std::min<size_t>(map->size(), size_t{4} + U32(*map, 0));
  for (size_t at = 4; at + 8 <= end; at += 8) {
    if (U32(*map, at) != context) continue;
    const uint32_t offset = U32(*map, at + 4);
    if (offset >= strings->size()) return {};
    const size_t nul = strings->find('\0', offset);
    const std::string topic = strings->substr(offset, nul == std::string::npos ? std::string::npos : nul - offset);
    return topic.empty() ? std::string() : ObjectPath(topic);
  }
  return {};
}

}  // namespace hxviewer
