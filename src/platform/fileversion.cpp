#include "platform/fileversion.h"

#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/files.h"

namespace platform {
namespace {

// Limits against hostile files: a header table or note area larger than this is
// not ours, and no file makes the reader go through more bytes than the budget.
constexpr uint64_t kMaxTableBytes = 1 << 20;
constexpr uint64_t kMaxNoteAreaBytes = 1 << 20;
constexpr uint64_t kReadBudget = 16 << 20;

// Fields of the file in its own byte order and word size.
struct Layout {
  bool bigEndian = false;
  bool wide = false;  // 64-bit

  uint64_t Get(const uint8_t* p, int bytes) const {
    uint64_t v = 0;
    for (int i = 0; i < bytes; ++i) {
      const int at = bigEndian ? i : bytes - 1 - i;
      v = (v << 8) | p[at];
    }
    return v;
  }
  uint16_t U16(const uint8_t* p) const { return static_cast<uint16_t>(Get(p, 2)); }
  uint32_t U32(const uint8_t* p) const { return static_cast<uint32_t>(Get(p, 4)); }
  // A field that is 32 bits wide in 32-bit files and 64 bits wide in 64-bit files.
  uint64_t Word(const uint8_t* p) const { return Get(p, wide ? 8 : 4); }
};

struct Area {
  uint64_t offset;
  uint64_t size;
  uint64_t align;
  bool operator<(const Area& o) const { return std::tie(offset, size, align) < std::tie(o.offset, o.size, o.align); }
};

bool InFile(uint64_t offset, uint64_t size, uint64_t fileSize) {
  return offset <= fileSize && size <= fileSize - offset;
}

uint64_t AlignUp(uint64_t v, uint64_t align) { return (v + align - 1) / align * align; }

// Reads a table of count entries of entrySize bytes; empty when it does not fit.
std::vector<uint8_t> ReadTable(uint64_t offset, uint64_t count, uint64_t entrySize, uint64_t fileSize,
                               const ReadAtFn& readAt) {
  if (count == 0 || count > kMaxTableBytes / entrySize) return {};
  const uint64_t bytes = count * entrySize;
  if (!InFile(offset, bytes, fileSize)) return {};
  std::vector<uint8_t> table(static_cast<size_t>(bytes));
  if (!readAt(offset, table.data(), table.size())) return {};
  return table;
}

// Walks the notes of one note area.
std::optional<FileVersion> SearchNotes(const std::vector<uint8_t>& area, uint64_t align, const Layout& l) {
  const uint8_t* b = area.data();
  const uint64_t size = area.size();
  uint64_t pos = 0;
  while (size - pos >= 12) {
    const uint64_t nameSize = l.U32(b + pos);
    const uint64_t descSize = l.U32(b + pos + 4);
    const uint32_t type = l.U32(b + pos + 8);
    const uint64_t nameAt = pos + 12;
    if (nameSize > size - nameAt) break;
    const uint64_t descAt = AlignUp(nameAt + nameSize, align);
    if (descAt > size || descSize > size - descAt) break;
    if (nameSize == sizeof kVersionNoteOwner &&
        std::memcmp(b + nameAt, kVersionNoteOwner, sizeof kVersionNoteOwner) == 0 && type == kVersionNoteType &&
        descSize == 8) {
      const uint8_t* d = b + descAt;
      return FileVersion{l.U16(d), l.U16(d + 2), l.U16(d + 4), l.U16(d + 6)};
    }
    pos = AlignUp(descAt + descSize, align);
    if (pos >= size) break;
  }
  return std::nullopt;
}

}  // namespace

std::optional<FileVersion> FindVersionNote(uint64_t fileSize, const ReadAtFn& readAt) {
  uint8_t ident[EI_NIDENT];
  if (fileSize < sizeof ident || !readAt(0, ident, sizeof ident)) return std::nullopt;
  if (std::memcmp(ident, ELFMAG, SELFMAG) != 0) return std::nullopt;
  const uint8_t wordSize = ident[EI_CLASS];
  const uint8_t byteOrder = ident[EI_DATA];
  if ((wordSize != ELFCLASS32 && wordSize != ELFCLASS64) || (byteOrder != ELFDATA2LSB && byteOrder != ELFDATA2MSB)) {
    return std::nullopt;
  }
  Layout l;
  l.wide = wordSize == ELFCLASS64;
  l.bigEndian = byteOrder == ELFDATA2MSB;

  const size_t headerSize = l.wide ? sizeof(Elf64_Ehdr) : sizeof(Elf32_Ehdr);
  uint8_t header[sizeof(Elf64_Ehdr)];
  if (fileSize < headerSize || !readAt(0, header, headerSize)) return std::nullopt;
  const uint64_t phOff = l.Word(header + (l.wide ? 32 : 28));
  const uint64_t shOff = l.Word(header + (l.wide ? 40 : 32));
  const uint8_t* counts = header + (l.wide ? 54 : 42);
  const uint64_t phEntSize = l.U16(counts);
  uint64_t phNum = l.U16(counts + 2);
  const uint64_t shEntSize = l.U16(counts + 4);
  uint64_t shNum = l.U16(counts + 6);

  // Entry sizes smaller than the format's own would make fields overlap the next entry.
  const uint64_t minSh = l.wide ? sizeof(Elf64_Shdr) : sizeof(Elf32_Shdr);
  const uint64_t minPh = l.wide ? sizeof(Elf64_Phdr) : sizeof(Elf32_Phdr);
  const bool sectionsUsable = shOff != 0 && shEntSize >= minSh;
  const bool segmentsUsable = phOff != 0 && phEntSize >= minPh;

  // With many sections or segments the real counts are kept in section 0.
  if (sectionsUsable && (shNum == 0 || phNum == PN_XNUM)) {
    const auto first = ReadTable(shOff, 1, shEntSize, fileSize, readAt);
    if (!first.empty()) {
      if (shNum == 0) shNum = l.Word(first.data() + (l.wide ? 32 : 20));
      if (phNum == PN_XNUM) phNum = l.U32(first.data() + (l.wide ? 44 : 28));
    }
  }

  std::set<Area> areas;
  if (sectionsUsable) {
    const auto table = ReadTable(shOff, shNum, shEntSize, fileSize, readAt);
    for (uint64_t at = 0; at + shEntSize <= table.size(); at += shEntSize) {
      const uint8_t* s = table.data() + at;
      if (l.U32(s + 4) != SHT_NOTE) continue;
      const uint64_t offset = l.Word(s + (l.wide ? 24 : 16));
      const uint64_t size = l.Word(s + (l.wide ? 32 : 20));
      const uint64_t align = l.Word(s + (l.wide ? 48 : 32));
      areas.insert({offset, size, align == 8 ? 8u : 4u});
    }
  }
  if (segmentsUsable) {
    const auto table = ReadTable(phOff, phNum, phEntSize, fileSize, readAt);
    for (uint64_t at = 0; at + phEntSize <= table.size(); at += phEntSize) {
      const uint8_t* p = table.data() + at;
      if (l.U32(p) != PT_NOTE) continue;
      const uint64_t offset = l.Word(p + (l.wide ? 8 : 4));
      const uint64_t size = l.Word(p + (l.wide ? 32 : 16));
      const uint64_t align = l.Word(p + (l.wide ? 48 : 28));
      areas.insert({offset, size, align == 8 ? 8u : 4u});
    }
  }

  uint64_t budget = kReadBudget;
  for (const Area& a : areas) {
    if (a.size < 12 || a.size > kMaxNoteAreaBytes || !InFile(a.offset, a.size, fileSize)) continue;
    if (a.size > budget) break;
    budget -= a.size;
    std::vector<uint8_t> area(static_cast<size_t>(a.size));
    if (!readAt(a.offset, area.data(), area.size())) continue;
    if (auto v = SearchNotes(area, a.align, l)) return v;
  }
  return std::nullopt;
}

std::optional<FileVersion> ReadFileVersion(const std::string& path) {
  // Non-blocking, so that a named pipe given by name cannot hang the caller.
  const int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) {
    ::close(fd);
    return std::nullopt;
  }
  const auto readAt = [fd](uint64_t offset, void* out, size_t size) {
    auto* to = static_cast<uint8_t*>(out);
    size_t done = 0;
    while (done < size) {
      const ssize_t n = ::pread(fd, to + done, size - done, static_cast<off_t>(offset + done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      done += static_cast<size_t>(n);
    }
    return true;
  };
  auto version = FindVersionNote(static_cast<uint64_t>(st.st_size), readAt);
  ::close(fd);
  return version;
}

}  // namespace platform
