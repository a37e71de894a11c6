#include "platform/profile.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <tuple>
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

// A file that exists but cannot be read must not be replaced by what little
// we know of it; the refusal says why it could not be read.
std::string ReadForWriting(const std::string& path) {
  try {
    return ReadFileBytes(path).value_or(std::string());
  } catch (const EInOutError& e) {
    throw EIniFileException::Unreadable(e);
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

constexpr std::string_view kBom = "\xEF\xBB\xBF";

}  // namespace

namespace profile {

// Lines end at CR LF, LF or a lone CR, so no name or value ever holds a line break.
Document::Document(std::string_view data) {
  // A byte-order mark is kept as it is but read past, so the first section is seen.
  if (data.starts_with(kBom)) {
    bom_ = kBom;
    data.remove_prefix(kBom.size());
  }
  size_t pos = 0;
  while (pos < data.size()) {
    Line line;
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
    if (eol_.empty()) eol_ = line.eol;
    Classify(line);
    if (line.kind == Line::kSection) {
      sections_.push_back(Section{std::move(line), {}, {}, false});
    } else if (sections_.empty()) {
      preamble_.push_back(std::move(line));
    } else {
      sections_.back().body.push_back(std::move(line));
    }
  }
  if (eol_.empty()) eol_ = "\r\n";
  Index();
}

void Document::Classify(Line& line) {
  line.kind = Line::kOther;
  const std::string_view text = line.text;
  const std::string_view t = Trim(text);
  auto at = [&](std::string_view part) {
    return std::make_pair(static_cast<size_t>(part.data() - text.data()), part.size());
  };
  if (t.empty() || t.front() == ';') return;
  if (t.front() == '[') {
    const size_t close = t.rfind(']');
    const std::string_view inner = close == std::string_view::npos ? t.substr(1) : t.substr(1, close - 1);
    line.kind = Line::kSection;
    const std::string_view name = Trim(CutAtNul(inner));
    std::tie(line.nameAt, line.nameLen) = name.empty() ? std::make_pair(size_t(0), size_t(0)) : at(name);
    return;
  }
  const size_t eq = t.find('=');
  if (eq == std::string_view::npos) return;
  line.kind = Line::kKey;
  const std::string_view name = Trim(CutAtNul(t.substr(0, eq)));
  const std::string_view value = Trim(CutAtNul(t.substr(eq + 1)));
  std::tie(line.nameAt, line.nameLen) = name.empty() ? std::make_pair(size_t(0), size_t(0)) : at(name);
  std::tie(line.valueAt, line.valueLen) = value.empty() ? std::make_pair(size_t(0), size_t(0)) : at(value);
}

void Document::Index() {
  sectionIndex_.clear();
  for (size_t i = 0; i < sections_.size(); ++i) {
    sectionIndex_.try_emplace(Fold(sections_[i].header.Name()), i);
    sections_[i].indexed = false;
  }
}

const Document::Section* Document::Find(std::string_view section) const {
  const auto it = sectionIndex_.find(Fold(section));
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

std::optional<size_t> Document::FindKey(const Section& s, std::string_view key) const {
  if (!s.indexed) {
    s.keys.clear();
    for (size_t i = 0; i < s.body.size(); ++i) {
      if (s.body[i].kind == Line::kKey) s.keys.try_emplace(Fold(s.body[i].Name()), i);
    }
    s.indexed = true;
  }
  const auto it = s.keys.find(Fold(key));
  if (it == s.keys.end()) return std::nullopt;
  return it->second;
}

std::string Document::Value(std::string_view section, std::string_view key, std::string_view def) const {
  std::string_view result = def;
  if (const Section* s = Find(Trim(section))) {
    if (auto i = FindKey(*s, Trim(key))) result = s->body[*i].Value();
  }
  return std::string(result.substr(0, ProfileFile::kValueMax));
}

std::vector<std::string> Document::Sections() const {
  NameList names;
  for (const Section& s : sections_) {
    if (!names.Add(s.header.Name())) break;
  }
  return names.Take();
}

std::vector<std::string> Document::Keys(std::string_view section) const {
  NameList names;
  if (const Section* s = Find(Trim(section))) {
    for (const Line& l : s->body) {
      if (l.kind == Line::kKey && !names.Add(l.Name())) break;
    }
  }
  return names.Take();
}

Document::Line& Document::LastLine() {
  if (!sections_.empty()) {
    Section& s = sections_.back();
    return s.body.empty() ? s.header : s.body.back();
  }
  return preamble_.back();
}

void Document::Set(std::string_view section, std::string_view key, std::string_view value) {
  const std::string sectionName = OneLine(section, true);
  const std::string keyName = OneLine(key, true);
  // Such a key would read back as a comment, a section or another key.
  if (keyName.find('=') != std::string::npos || keyName.starts_with(';') || keyName.starts_with('[')) {
    throw EIniFileException::InvalidKey(keyName);
  }
  const std::string text = OneLine(value, false);

  const auto found = sectionIndex_.find(Fold(sectionName));
  if (found != sectionIndex_.end()) {
    Section& s = sections_[found->second];
    if (auto i = FindKey(s, keyName)) {
      // Replace the value, keeping the key as the file spells it and the line's own end.
      Line& l = s.body[*i];
      l.text = std::string(l.Name()) + "=" + text;
      Classify(l);
      return;
    }
    // After the section's last non-blank line, so blank lines before the next section stay.
    size_t at = 0;  // the body index the new line takes
    for (size_t j = 0; j < s.body.size(); ++j) {
      if (!Trim(s.body[j].text).empty()) at = j + 1;
    }
    // The new line ends as the line it follows; a lone CR before an LF would
    // otherwise join them into one line end.
    Line& before = at == 0 ? s.header : s.body[at - 1];
    if (before.eol.empty()) before.eol = eol_;
    Line line;
    line.text = keyName + "=" + text;
    line.eol = before.eol;
    Classify(line);
    s.body.insert(s.body.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    // Only blank lines follow the new one, so no key's place moved.
    if (s.indexed) s.keys.try_emplace(Fold(keyName), at);
    return;
  }

  // A new section at the end, after a line break the last line may lack.
  if (!preamble_.empty() || !sections_.empty()) {
    Line& last = LastLine();
    if (last.eol.empty()) {
      last.eol = eol_;
    } else if (last.eol.back() != '\n') {
      if (eol_ == "\n") {
        last.eol = "\r\n";  // the CR and the LF written after it are one line end
      } else {
        Line blank;
        blank.eol = eol_;
        (sections_.empty() ? preamble_ : sections_.back().body).push_back(std::move(blank));
      }
    }
  }
  Section s;
  s.header.text = "[" + sectionName + "]";
  s.header.eol = eol_;
  Classify(s.header);
  Line line;
  line.text = keyName + "=" + text;
  line.eol = eol_;
  Classify(line);
  s.body.push_back(std::move(line));
  sections_.push_back(std::move(s));
  sectionIndex_.try_emplace(Fold(sectionName), sections_.size() - 1);
}

bool Document::Erase(std::string_view section) {
  const std::string folded = Fold(OneLine(section, true));
  const size_t before = sections_.size();
  std::erase_if(sections_, [&](const Section& s) { return Fold(s.header.Name()) == folded; });
  if (sections_.size() == before) return false;
  Index();
  return true;
}

bool Document::EraseKey(std::string_view section, std::string_view key) {
  const auto found = sectionIndex_.find(Fold(OneLine(section, true)));
  if (found == sectionIndex_.end()) return false;
  Section& s = sections_[found->second];
  const std::string folded = Fold(OneLine(key, true));
  const size_t before = s.body.size();
  std::erase_if(s.body, [&](const Line& l) { return l.kind == Line::kKey && Fold(l.Name()) == folded; });
  s.indexed = false;
  return s.body.size() != before;
}

std::string Document::Bytes() const {
  size_t size = bom_.size();
  auto count = [&size](const Line& l) { size += l.text.size() + l.eol.size(); };
  for (const Line& l : preamble_) count(l);
  for (const Section& s : sections_) {
    count(s.header);
    for (const Line& l : s.body) count(l);
  }
  std::string out;
  out.reserve(size);
  out += bom_;
  auto put = [&out](const Line& l) { out.append(l.text).append(l.eol); };
  for (const Line& l : preamble_) put(l);
  for (const Section& s : sections_) {
    put(s.header);
    for (const Line& l : s.body) put(l);
  }
  return out;
}

std::string ReadValue(std::string_view data, std::string_view section, std::string_view key, std::string_view def) {
  return Document(data).Value(section, key, def);
}

std::vector<std::string> SectionNames(std::string_view data) { return Document(data).Sections(); }

std::vector<std::string> SectionKeys(std::string_view data, std::string_view section) {
  return Document(data).Keys(section);
}

std::string WithValue(std::string_view data, std::string_view section, std::string_view key, std::string_view value) {
  Document doc(data);
  doc.Set(section, key, value);
  return doc.Bytes();
}

std::optional<std::string> WithoutSection(std::string_view data, std::string_view section) {
  Document doc(data);
  if (!doc.Erase(section)) return std::nullopt;
  return doc.Bytes();
}

}  // namespace profile

namespace {

// The parsed files that reads last saw, kept while the file on disk is
// unchanged: the same identity, size and change times. Every read still
// looks at the file; only an unchanged one is not read and parsed again. A
// write edits the file's parsed copy when it is current, and keeps what it
// wrote, so neither the write nor the next read parses the whole file again.
class ReadCache {
 public:
  std::shared_ptr<const profile::Document> Get(const std::string& path) {
    const std::optional<FileStamp> now = StampOf(path);
    std::lock_guard<std::mutex> lock(mutex_);
    if (!now) {
      Drop(path);
      return Empty();
    }
    if (auto doc = Find(path, *now)) return doc;
    FileStamp stamp;
    std::string bytes;
    try {
      bytes = ReadFileBytes(path, &stamp).value_or(std::string());
    } catch (const EInOutError&) {
      Drop(path);
      return Empty();  // reading never fails: an unreadable file reads as empty
    }
    auto doc = std::make_shared<profile::Document>(bytes);
    Keep(path, stamp, doc);
    return doc;
  }

  // The file parsed, for changing: the cached copy when it is current and
  // nobody else reads it, else the file read afresh. Raises EIniFileException
  // when a file that exists cannot be read, which must not be replaced by
  // what little we know of it.
  std::shared_ptr<profile::Document> Take(const std::string& path) {
    const std::optional<FileStamp> now = StampOf(path);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      std::shared_ptr<profile::Document> doc = now ? Find(path, *now) : nullptr;
      Drop(path);
      if (doc && doc.use_count() == 1) return doc;
      if (doc) return std::make_shared<profile::Document>(*doc);
    }
    return std::make_shared<profile::Document>(ReadForWriting(path));
  }

  // The document as a write has just put it on disk.
  void Put(const std::string& path, const FileStamp& stamp, std::shared_ptr<profile::Document> doc) {
    std::lock_guard<std::mutex> lock(mutex_);
    Keep(path, stamp, std::move(doc));
  }

  void Forget(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    Drop(path);
  }

 private:
  static constexpr size_t kEntries = 8;
  struct Entry {
    std::string path;
    FileStamp stamp;
    std::shared_ptr<profile::Document> doc;
  };
  static std::shared_ptr<profile::Document> Empty() {
    static const auto empty = std::make_shared<profile::Document>(std::string_view());
    return empty;
  }
  std::shared_ptr<profile::Document> Find(const std::string& path, const FileStamp& stamp) const {
    for (const Entry& e : entries_) {
      if (e.path == path && e.stamp == stamp) return e.doc;
    }
    return nullptr;
  }
  void Keep(const std::string& path, const FileStamp& stamp, std::shared_ptr<profile::Document> doc) {
    Drop(path);
    if (entries_.size() == kEntries) entries_.erase(entries_.begin());
    entries_.push_back(Entry{path, stamp, std::move(doc)});
  }
  void Drop(const std::string& path) {
    std::erase_if(entries_, [&](const Entry& e) { return e.path == path; });
  }

  std::mutex mutex_;
  std::vector<Entry> entries_;
};

ReadCache& Cache() {
  static ReadCache cache;
  return cache;
}

std::shared_ptr<const profile::Document> ForReading(const std::string& path) { return Cache().Get(path); }

// Changes the file in one replace; false, with nothing written, when change says so.
void Change(const std::string& path, const std::function<bool(profile::Document&)>& change) {
  std::shared_ptr<profile::Document> doc = Cache().Take(path);
  if (!change(*doc)) return;
  FileStamp stamp;
  try {
    WriteFileAtomic(path, doc->Bytes(), &stamp);
  } catch (const EInOutError&) {
    throw EIniFileException(path);
  }
  Cache().Put(path, stamp, std::move(doc));
}

// Values that wait for the end of the outermost batch, per file in the order written.
struct Kept {
  std::string section, key, value;
};
struct Batches {
  std::mutex mutex;
  int depth = 0;
  std::vector<std::pair<std::string, std::vector<Kept>>> files;
};
Batches& Batch() {
  static Batches b;
  return b;
}

}  // namespace

std::string ProfileFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
  return ForReading(path_)->Value(section, key, def);
}

bool ProfileFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
  const std::string text = ReadString(section, key, std::string());
  if (auto v = TryStrToInt(text)) return *v != 0;
  if (auto v = TryHex(text)) return *v != 0;
  return def;
}

std::vector<std::string> ProfileFile::ReadSections() const { return ForReading(path_)->Sections(); }

std::vector<std::string> ProfileFile::ReadSectionKeys(const std::string& section) const {
  return ForReading(path_)->Keys(section);
}

void ProfileFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  Change(path_, [&](profile::Document& doc) {
    doc.Set(section, key, value);
    return true;
  });
}

void ProfileFile::WriteStringInBatch(const std::string& section, const std::string& key, const std::string& value) {
  {
    Batches& b = Batch();
    std::lock_guard<std::mutex> lock(b.mutex);
    if (b.depth > 0) {
      auto file = std::find_if(b.files.begin(), b.files.end(), [&](const auto& f) { return f.first == path_; });
      if (file == b.files.end()) file = b.files.insert(b.files.end(), {path_, {}});
      file->second.push_back(Kept{section, key, value});
      return;
    }
  }
  WriteString(section, key, value);
}

profile::Document ProfileFile::ReadAll() const { return profile::Document(ReadForWriting(path_)); }

void ProfileFile::WriteAll(const profile::Document& doc) {
  Cache().Forget(path_);
  Store(path_, doc.Bytes());
}

void ProfileFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void ProfileFile::EraseSection(const std::string& section) {
  Change(path_, [&](profile::Document& doc) { return doc.Erase(section); });
}

namespace {

void WriteBatchedProfileValues() {
  std::vector<std::pair<std::string, std::vector<Kept>>> files;
  {
    Batches& b = Batch();
    std::lock_guard<std::mutex> lock(b.mutex);
    files.swap(b.files);
  }
  // Every file is tried; the first refusal is raised once all are done.
  std::optional<EIniFileException> refused;
  const auto note = [&refused](const EIniFileException& e) {
    if (!refused) refused = e;
  };
  for (const auto& file : files) {
    // Named, not bound: clang 14 cannot capture a structured binding.
    const std::string& path = file.first;
    const std::vector<Kept>& values = file.second;
    try {
      Change(path, [&](profile::Document& doc) {
        for (const Kept& k : values) {
          try {
            doc.Set(k.section, k.key, k.value);
          } catch (const EIniFileException& e) {
            note(e);  // a key that could never be read back costs only itself
          }
        }
        return true;
      });
    } catch (const EIniFileException& e) {
      note(e);
    }
  }
  if (refused) throw *refused;
}

}  // namespace

ProfileBatch::ProfileBatch() {
  std::lock_guard<std::mutex> lock(Batch().mutex);
  ++Batch().depth;
}

ProfileBatch::~ProfileBatch() {
  if (ended_) return;
  try {
    End();
  } catch (const Exception&) {
    // Ended by another error, which is the one reported.
  }
}

void ProfileBatch::End() {
  if (ended_) return;
  ended_ = true;
  {
    std::lock_guard<std::mutex> lock(Batch().mutex);
    if (--Batch().depth > 0) return;
  }
  WriteBatchedProfileValues();
}

ProfileBatchGap::ProfileBatchGap(bool write) {
  if (write) WriteBatchedProfileValues();
  std::lock_guard<std::mutex> lock(Batch().mutex);
  depth_ = Batch().depth;
  Batch().depth = 0;
}

ProfileBatchGap::~ProfileBatchGap() {
  std::lock_guard<std::mutex> lock(Batch().mutex);
  Batch().depth += depth_;
}

}  // namespace platform
