#include "help/viewer/hxchm.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <ctime>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "help/viewer/hxchmdir.h"
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
        else {
          known = false;
          break;
        }
        cp = cp * (hex ? 16 : 10) + static_cast<uint32_t>(d);
        if (cp > 0x10FFFF) {
          known = false;
          break;
        }
      }
    } else {
      known = false;
    }
    if (!known) {
      out += s[i++];
      continue;
    }
    // A reference to U+0000 stands for the replacement character, as in HTML.
    platform::AppendUtf8(out, cp == 0 ? 0xFFFD : cp);
    i = semi + 1;
  }
  return out;
}

struct TTag {
  std::string name;                                             // lower case, "/ul" for an end tag
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

// chmlib divides by half the window of its control data whenever it finds the
// object, even one too short to hold it, and takes memory by the window and by
// the reset table's block length, without looking at them first.
bool ControlDataSound(const std::string& control) {
  if (control.size() < 0x18 || control.size() > 0x100 || std::memcmp(control.data() + 4, "LZXC", 4) != 0) return false;
  uint32_t resetInterval = U32(control, 12);
  uint32_t windowSize = U32(control, 16);
  if (U32(control, 8) == 2) {
    resetInterval *= 0x8000;
    windowSize *= 0x8000;
  }
  // LZX windows run from 32 KiB to 2 MiB; chmlib divides by the blocks between resets too.
  if (windowSize < 0x8000 || windowSize > 0x200000 || resetInterval == 0) return false;
  return resetInterval / (windowSize / 2) * U32(control, 20) != 0;
}

// A reset table that chmlib would use must have a block length it can divide by.
bool ResetTableSound(const std::string& reset) {
  if (reset.size() < 40 || U32(reset, 0) != 2) return true;  // chmlib decompresses nothing then
  const uint64_t blockLength = uint64_t(U32(reset, 32)) | uint64_t(U32(reset, 36)) << 32;
  return blockLength != 0 && blockLength <= 0x200000;
}

// chmlib follows the directory's chunk links as they stand, so a damaged file
// whose links run in a circle would keep it reading for ever. The links are
// checked first: the list chunks' chain from the first list chunk, and the
// index chunks' references from the root, must end.
class TDirectoryCheck {
 public:
  explicit TDirectoryCheck(int fd) : fd_(fd) {}

  bool Sound() {
    if (!headers_.Read(fd_)) return false;
    const uint64_t pages = headers_.FileChunks;
    const off_t size = lseek(fd_, 0, SEEK_END);
    if (size < 0) return false;

    // The list chunks' chain.
    std::vector<bool> seen(pages, false);
    std::vector<unsigned char> page;
    for (int64_t at = headers_.Head; at >= 0 && static_cast<uint64_t>(at) < pages;) {
      if (seen[static_cast<size_t>(at)]) return false;
      seen[static_cast<size_t>(at)] = true;
      if (!headers_.Chunk(fd_, static_cast<uint64_t>(at), page) || std::memcmp(page.data(), "PMGL", 4) != 0) break;
      at = static_cast<int32_t>(chmdir::Le32(page.data() + 16));
    }

    // The index chunks: no chunk may lead back to itself.
    state_.assign(pages, 0);
    const int32_t root = headers_.Root;
    if (root >= 0 && static_cast<uint64_t>(root) < pages && !Acyclic(static_cast<uint64_t>(root), 0)) return false;

    // The compression's parameters, wherever a list chunk names them. Each
    // must lie in the file; of the reset table only its head is judged, so
    // its length grows with the content as it may. chmlib finds them through
    // the index chunks, which may point past the listed ones.
    const uint64_t scanned = std::min(headers_.FileChunks, std::max<uint64_t>(headers_.ChunkCount, 4096));
    for (uint64_t index = 0; index < scanned; ++index) {
      if (!headers_.Chunk(fd_, index, page)) break;
      for (const chmdir::TEntry& entry : chmdir::ListEntries(page)) {
        const bool isReset = EqualNoCase(entry.Name, kResetTable);
        const bool isControl = EqualNoCase(entry.Name, kControlData);
        if (!isReset && !isControl) continue;
        const uint64_t at = headers_.DataOffset + entry.Offset;
        if (entry.Space != 0 || entry.Offset > static_cast<uint64_t>(size) || at > static_cast<uint64_t>(size) ||
            entry.Length > static_cast<uint64_t>(size) - at)
          return false;
        if (isControl && entry.Length > kMaxControlData) return false;
        std::string bytes(static_cast<size_t>(isReset ? std::min<uint64_t>(entry.Length, kResetHead) : entry.Length),
                          '\0');
        if (!chmdir::ReadAt(fd_, at, reinterpret_cast<unsigned char*>(bytes.data()), bytes.size())) return false;
        if (isReset ? !ResetTableSound(bytes) : !ControlDataSound(bytes)) return false;
      }
    }
    return true;
  }

 private:
  static constexpr const char* kResetTable =
      "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable";
  static constexpr const char* kControlData = "::DataSpace/Storage/MSCompressed/ControlData";
  static constexpr uint64_t kResetHead = 40;
  static constexpr uint64_t kMaxControlData = 0x100;

  static bool EqualNoCase(const std::string& a, std::string_view b) {
    return a.size() == b.size() && StartsWithNoCase(a, b);
  }

  bool Acyclic(uint64_t index, int depth) {
    if (depth > 64 || state_[index] == 1) return false;
    if (state_[index] == 2) return true;
    std::vector<unsigned char> page;
    if (!headers_.Chunk(fd_, index, page) || std::memcmp(page.data(), "PMGI", 4) != 0) {
      state_[index] = 2;
      return true;
    }
    state_[index] = 1;
    const uint32_t blockLen = headers_.BlockLength;
    const uint32_t freeSpace = chmdir::Le32(page.data() + 4);
    const unsigned char* at = page.data() + chmdir::kIndexHeader;
    const unsigned char* end = freeSpace < blockLen - chmdir::kIndexHeader ? page.data() + blockLen - freeSpace : at;
    while (at < end) {
      uint64_t nameLength = 0, target = 0;
      if (!chmdir::EncInt(at, end, nameLength) || nameLength > static_cast<uint64_t>(end - at)) break;
      at += nameLength;
      if (!chmdir::EncInt(at, end, target)) break;
      if (target < headers_.FileChunks && !Acyclic(target, depth + 1)) return false;
    }
    state_[index] = 2;
    return true;
  }

  int fd_;
  chmdir::THeaders headers_;
  std::vector<uint8_t> state_;  // 0 not seen, 1 being followed, 2 done
};

}  // namespace

std::string HelpTextToUtf8(std::string_view text) {
  if (platform::ValidUtf8(text)) return std::string(text);
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
      else lists.push_back(lists.back());
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

namespace {

// chmlib trusts the file it reads: a damaged one can make it divide by zero,
// read past its buffers or loop for ever, and the viewer lives in the
// program's own process. So chmlib runs in a reader program of its own that
// sends every object through a pipe. A reader that dies, hangs or sends more
// than a help file can hold means a damaged file, and the program goes on.
constexpr int kReadDeadlineMs = 8000;
constexpr uint32_t kMaxNameLength = 512;  // as chmlib names its objects

std::string& ReaderProgram() {
  static std::string path = [] {
    // Beside the library or program that holds this code.
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&ReaderProgram), &info) == 0 || !info.dli_fname) return std::string();
    const std::string here = info.dli_fname;
    const size_t slash = here.rfind('/');
    return (slash == std::string::npos ? std::string(".") : here.substr(0, slash)) + "/" + kChmReaderName;
  }();
  return path;
}

// Reads from the child's pipe until the deadline.
class TPipeReader {
 public:
  TPipeReader(int fd, int deadlineMs) : fd_(fd), deadline_(Now() + deadlineMs) {}
  bool Read(void* data, size_t size) {
    auto* at = static_cast<char*>(data);
    while (size > 0) {
      const int64_t left = deadline_ - Now();
      if (left <= 0) return false;
      pollfd p{fd_, POLLIN, 0};
      const int ready = ::poll(&p, 1, static_cast<int>(left));
      if (ready < 0 && errno == EINTR) continue;
      if (ready <= 0) return false;
      const ssize_t n = ::read(fd_, at, size);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      at += n;
      size -= static_cast<size_t>(n);
    }
    return true;
  }

 private:
  static int64_t Now() {
    timespec t{};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return int64_t{t.tv_sec} * 1000 + t.tv_nsec / 1000000;
  }
  int fd_;
  int64_t deadline_;
};

std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = Lower(c);
  return out;
}

}  // namespace

TChmFile::~TChmFile() { EndReader(); }

bool TChmFile::Open(const std::string& path) { return Begin(path) && Finish(); }

bool TChmFile::Begin(const std::string& path) {
  EndReader();
  open_ = false;
  objects_.clear();
  names_.clear();
  path_ = path;
  title_.clear();
  defaultTopic_.clear();
  contentsFile_.clear();
  indexFile_.clear();
  language_ = 0;
  failure_ = TOpenFailure::Damaged;
  const std::string& native = path;  // named as the file system names it
  const int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    failure_ = errno == ENOENT || errno == ENOTDIR ? TOpenFailure::Missing : TOpenFailure::Damaged;
    return false;
  }
  struct stat st {};
  const bool sound = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && TDirectoryCheck(fd).Sound();
  ::close(fd);
  if (!sound) {
    failure_ = TOpenFailure::Damaged;
    return false;
  }
  if (!StartReader(native)) {
    failure_ = TOpenFailure::ReaderMissing;
    return false;
  }
  failure_ = TOpenFailure::None;
  return true;
}

void SetChmReaderProgram(const std::string& path) { ReaderProgram() = path; }
std::string ChmReaderProgram() { return ReaderProgram(); }

bool TChmFile::StartReader(const std::string& path) {
  int pipes[2];
  if (::pipe2(pipes, O_CLOEXEC) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipes[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const std::string program = ReaderProgram();
  char* const argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(path.c_str()), nullptr};
  char* const envp[] = {nullptr};
  pid_t child = -1;
  const int spawned = ::posix_spawn(&child, program.c_str(), &actions, nullptr, argv, envp);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipes[1]);
  if (spawned != 0) {
    ::close(pipes[0]);
    return false;
  }
  reader_ = child;
  pipe_ = pipes[0];
  return true;
}

void TChmFile::EndReader() {
  if (reader_ < 0) return;
  ::close(pipe_);
  ::kill(reader_, SIGKILL);
  while (::waitpid(reader_, nullptr, 0) < 0 && errno == EINTR) {
  }
  reader_ = -1;
  pipe_ = -1;
}

bool TChmFile::Finish() {
  if (reader_ < 0) return open_;
  TPipeReader in(pipe_, kReadDeadlineMs);
  bool complete = false;
  uint64_t total = 0;
  for (;;) {
    uint32_t nameLength = 0;
    if (!in.Read(&nameLength, 4)) break;
    if (nameLength == ~uint32_t{0}) {
      complete = true;
      break;
    }
    if (nameLength == 0 || nameLength > kMaxNameLength || names_.size() == kMaxObjects) break;
    std::string name(nameLength, '\0');
    uint64_t length = 0;
    if (!in.Read(name.data(), nameLength) || !in.Read(&length, 8)) break;
    TObject object;
    if (length != ~uint64_t{0}) {
      if (length > kMaxObjectSize || total + length > kMaxTotalSize) break;
      total += length;
      std::string bytes(static_cast<size_t>(length), '\0');
      if (!in.Read(bytes.data(), bytes.size())) break;
      object.Bytes = std::move(bytes);
    }
    names_.push_back(name);
    objects_.emplace(LowerAscii(name), std::move(object));  // chmlib finds names in any case
  }
  ::close(pipe_);
  if (!complete) ::kill(reader_, SIGKILL);
  int status = 0;
  while (::waitpid(reader_, &status, 0) < 0 && errno == EINTR) {
  }
  reader_ = -1;
  pipe_ = -1;
  if (complete && WIFEXITED(status) && WEXITSTATUS(status) == 0) {
    open_ = true;
    failure_ = TOpenFailure::None;
    ReadSystem();
    return true;
  }
  failure_ = TOpenFailure::Damaged;
  objects_.clear();
  names_.clear();
  return false;
}

std::optional<std::string> TChmFile::Read(std::string_view object) const {
  const auto found = objects_.find(LowerAscii(object));
  if (found == objects_.end()) return std::nullopt;
  return found->second.Bytes;
}

bool TChmFile::Exists(std::string_view object) const { return objects_.count(LowerAscii(object)) != 0; }

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
        case 4:
          if (length >= 4) language_ = U32(s, at - length);
          break;
        default: break;
      }
    }
  }
  if (contentsFile_.empty() || !Exists(contentsFile_)) contentsFile_ = FindByExtension(".hhc");
  if (indexFile_.empty() || !Exists(indexFile_)) indexFile_ = FindByExtension(".hhk");
}

std::string TChmFile::FindByExtension(std::string_view ext) const {
  for (const std::string& path : names_)
    if (path.size() > ext.size() && StartsWithNoCase(std::string_view(path).substr(path.size() - ext.size()), ext))
      return path;
  return {};
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
