// Settles a help file that chmcmd has just compiled, so that the same sources
// give the same bytes wherever and whenever they are built:
//  - chmcmd writes the topic of every context number as the project's folder
//    followed by the page; the build hands it the folder as "/proc/self/cwd/",
//    the same in every build, and here that prefix is taken off again, so the
//    context map names the pages inside the help file ("k1000.htm");
//  - the times of compiling in the file's header and its system record
//    become 0.
// The context map's strings lie in the compressed section, which cannot be
// rewritten here: the settled strings go behind the file's end, stored as
// they are, the directory entry points there and the header's file length
// grows by them. The old copy stays unused.
//
// A file that is not as expected fails, and so does a result in which any
// object reads otherwise than intended (every object is read back through
// chmlib's own lookup), so a settled file is never silently damaged.
//
//   zorvik_settle_helpfile FILE.chm PREFIX
#include <chm_lib.h>
#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "help/viewer/hxchmdir.h"

namespace chmdir = hxviewer::chmdir;

namespace {

int Fail(const std::string& what) {
  std::fprintf(stderr, "zorvik_settle_helpfile: %s\n", what.c_str());
  return 1;
}

bool WriteAt(int fd, uint64_t offset, const void* data, size_t size) {
  const auto* at = static_cast<const char*>(data);
  size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pwrite(fd, at + done, size - done, static_cast<off_t>(offset + done));
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// The format's number in exactly n bytes, leading groups of 0 carrying the
// mark for more; false when it does not fit.
bool EncodeInto(uint64_t value, size_t n, std::vector<unsigned char>& out) {
  if (n == 0 || n > 9 || (n < 9 && value >> (7 * n) != 0)) return false;
  for (size_t i = 0; i < n; ++i) {
    const auto group = static_cast<unsigned char>(value >> (7 * (n - 1 - i)) & 0x7F);
    out.push_back(i + 1 < n ? (group | 0x80) : group);
  }
  return true;
}

size_t EncodedSize(uint64_t value) {
  size_t n = 1;
  while (value >> (7 * n) != 0) ++n;
  return n;
}

// Every string of the table that starts with the prefix loses it; the rest of
// its room is filled with zeros, so every string keeps its place.
size_t StripPrefix(std::string& strings, const std::string& prefix) {
  size_t changed = 0;
  for (size_t at = 0; at < strings.size();) {
    const size_t end = std::min(strings.find('\0', at), strings.size());
    if (end - at > prefix.size() && strings.compare(at, prefix.size(), prefix) == 0) {
      const std::string rest = strings.substr(at + prefix.size(), end - at - prefix.size());
      std::memcpy(&strings[at], rest.data(), rest.size());
      std::memset(&strings[at + rest.size()], 0, end - at - rest.size());
      ++changed;
    }
    at = end + 1;
  }
  return changed;
}

// Every object that any listing chunk names, read whole through chmlib's own
// lookup by name; nothing when the file has none or any cannot be read.
std::optional<std::map<std::string, std::string>> ReadObjects(const char* path) {
  std::vector<std::string> names;
  {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    chmdir::THeaders headers;
    std::vector<unsigned char> page;
    bool read = headers.Read(fd);
    for (uint64_t index = 0; read && index < headers.ChunkCount; ++index) {
      read = headers.Chunk(fd, index, page);
      if (read)
        for (const chmdir::TEntry& entry : chmdir::ListEntries(page)) names.push_back(entry.Name);
    }
    ::close(fd);
    if (!read || names.empty()) return std::nullopt;
  }
  chmFile* chm = chm_open(path);
  if (!chm) return std::nullopt;
  std::map<std::string, std::string> objects;
  bool whole = true;
  for (const std::string& name : names) {
    if (name.back() == '/') continue;  // a folder
    chmUnitInfo ui{};
    std::string& bytes = objects[name];
    if (chm_resolve_object(chm, name.c_str(), &ui) != CHM_RESOLVE_SUCCESS || ui.length > (uint64_t{256} << 20)) {
      whole = false;
      break;
    }
    bytes.resize(static_cast<size_t>(ui.length));
    if (ui.length > 0 && chm_retrieve_object(chm, &ui, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                                             static_cast<LONGINT64>(ui.length)) != static_cast<LONGINT64>(ui.length)) {
      whole = false;
      break;
    }
  }
  chm_close(chm);
  if (!whole) return std::nullopt;
  return objects;
}

// The system record with its time of compiling (code 10) made 0: the offset
// of that time within the record, or none when it holds no time.
std::optional<size_t> TimeInSystem(const std::string& system, size_t& length) {
  for (size_t r = 4; r + 4 <= system.size();) {
    const auto* b = reinterpret_cast<const unsigned char*>(system.data()) + r;
    const unsigned code = b[0] | b[1] << 8;
    const size_t size = b[2] | b[3] << 8;
    if (size > system.size() - r - 4) break;
    if (code == 10) {
      length = size;
      return r + 4;
    }
    r += 4 + size;
  }
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return Fail("usage: zorvik_settle_helpfile FILE.chm PREFIX");
  const char* path = argv[1];
  const std::string prefix = argv[2];

  // Every object as chmcmd wrote it, and what the settled ones must read.
  const auto before = ReadObjects(path);
  if (!before) return Fail(std::string("cannot read every object of ") + path);
  std::map<std::string, std::string> expected = *before;
  if (!expected.count("/#STRINGS") || !expected.count("/#SYSTEM"))
    return Fail("no context map's strings or no system record");
  std::string& strings = expected["/#STRINGS"];
  const bool moveStrings = StripPrefix(strings, prefix) > 0;
  // Every page the context map names lies inside the help file.
  for (size_t at = 0; at < strings.size(); at = std::min(strings.find('\0', at), strings.size()) + 1)
    if (strings[at] == '/')
      return Fail("the context map names a page outside the help file: " +
                  strings.substr(at, strings.find('\0', at) - at));
  size_t timeLength = 0;
  const std::optional<size_t> time = TimeInSystem(expected["/#SYSTEM"], timeLength);
  if (time) std::memset(&expected["/#SYSTEM"][*time], 0, timeLength);

  const int fd = ::open(path, O_RDWR | O_CLOEXEC);
  if (fd < 0) return Fail(std::string("cannot open ") + path);
  chmdir::THeaders headers;
  if (!headers.Read(fd)) return Fail("no help file");
  unsigned char itsf[0x58];
  if (!chmdir::ReadAt(fd, 0, itsf, sizeof itsf)) return Fail("cannot read the header");

  // The time in the header.
  const unsigned char zero[4] = {0, 0, 0, 0};
  if (!WriteAt(fd, 16, zero, 4)) return Fail("cannot write");

  std::vector<unsigned char> page;
  bool systemFound = false;
  bool stringsMoved = !moveStrings;
  for (uint64_t index = 0; index < headers.ChunkCount; ++index) {
    if (!headers.Chunk(fd, index, page)) return Fail("cannot read the directory");
    for (const chmdir::TEntry& entry : chmdir::ListEntries(page)) {
      if (entry.Name == "/#SYSTEM") {
        // Written in place, so it must be stored as it is.
        if (entry.Space != 0 || entry.Length != expected["/#SYSTEM"].size())
          return Fail("the system record is not stored as expected");
        systemFound = true;
        if (time && !WriteAt(fd, headers.DataOffset + entry.Offset + *time,
                             std::vector<unsigned char>(timeLength, 0).data(), timeLength))
          return Fail("cannot write");
      }
      if (entry.Name == "/#STRINGS" && !stringsMoved) {
        const off_t end = ::lseek(fd, 0, SEEK_END);
        if (end < 0 || static_cast<uint64_t>(end) < headers.DataOffset) return Fail("cannot append");
        const uint64_t offset = static_cast<uint64_t>(end) - headers.DataOffset;
        if (!WriteAt(fd, static_cast<uint64_t>(end), strings.data(), strings.size())) return Fail("cannot write");
        // The entry's numbers (section, offset, length) in the room they had,
        // so nothing else in the chunk moves.
        const unsigned char* p = page.data() + entry.At;
        uint64_t nameLength = 0;
        chmdir::EncInt(p, page.data() + entry.End, nameLength);
        const size_t nameEnd = static_cast<size_t>(p - page.data()) + static_cast<size_t>(nameLength);
        const size_t room = entry.End - nameEnd;
        const size_t lengthSize = EncodedSize(strings.size());
        std::vector<unsigned char> fields;
        if (room < 2 + lengthSize || !EncodeInto(0, 1, fields) || !EncodeInto(offset, room - 1 - lengthSize, fields) ||
            !EncodeInto(strings.size(), lengthSize, fields))
          return Fail("no room for the settled context map's entry");
        std::memcpy(page.data() + nameEnd, fields.data(), fields.size());
        if (!WriteAt(fd, headers.Chunks + index * headers.BlockLength, page.data(), page.size()))
          return Fail("cannot write");
        stringsMoved = true;
      }
    }
  }
  if (!systemFound || !stringsMoved) {
    ::close(fd);
    return Fail("the directory does not list the system record and the context map's strings");
  }

  // The header's own record of the file's length: the first of its header
  // sections, 0x1FE, then the length.
  const uint64_t sectionAt = chmdir::Le64(itsf + 0x38);
  const uint64_t sectionLength = chmdir::Le64(itsf + 0x40);
  unsigned char section[16];
  const off_t size = ::lseek(fd, 0, SEEK_END);
  if (size < 0 || sectionLength < sizeof section || sectionAt > static_cast<uint64_t>(size) - sizeof section ||
      !chmdir::ReadAt(fd, sectionAt, section, sizeof section) || chmdir::Le32(section) != 0x1FE)
    return Fail("the header does not record the file's length");
  unsigned char length[8];
  for (int i = 0; i < 8; ++i) length[i] = static_cast<unsigned char>(static_cast<uint64_t>(size) >> (8 * i));
  if (!WriteAt(fd, sectionAt + 8, length, sizeof length)) return Fail("cannot write");
  if (::close(fd) != 0) return Fail("cannot write");

  // The settled file reads as intended, object by object.
  const auto after = ReadObjects(path);
  if (!after) return Fail("the settled file cannot be read whole");
  if (*after != expected) {
    for (const auto& [name, bytes] : expected) {
      const auto found = after->find(name);
      if (found == after->end() || found->second != bytes) return Fail("the settled file reads " + name + " otherwise");
    }
    return Fail("the settled file lists other objects");
  }
  return 0;
}
