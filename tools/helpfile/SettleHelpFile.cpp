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
// they are, and the directory entry points there. The old copy stays unused.
//
//   zorvik_settle_helpfile FILE.chm PREFIX
#include <chm_lib.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
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

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return Fail("usage: zorvik_settle_helpfile FILE.chm PREFIX");
  const char* path = argv[1];
  const std::string prefix = argv[2];

  // The context map's strings, as chmlib reads them.
  std::string strings;
  {
    chmFile* chm = chm_open(path);
    if (!chm) return Fail(std::string("cannot read ") + path);
    chmUnitInfo ui{};
    if (chm_resolve_object(chm, "/#STRINGS", &ui) == CHM_RESOLVE_SUCCESS && ui.length > 0) {
      strings.resize(static_cast<size_t>(ui.length));
      const LONGINT64 got =
          chm_retrieve_object(chm, &ui, reinterpret_cast<unsigned char*>(strings.data()), 0, ui.length);
      if (got != static_cast<LONGINT64>(ui.length)) strings.clear();
    }
    chm_close(chm);
  }

  const int fd = ::open(path, O_RDWR | O_CLOEXEC);
  if (fd < 0) return Fail(std::string("cannot open ") + path);
  chmdir::THeaders headers;
  if (!headers.Read(fd)) return Fail("no help file");

  // The time in the header.
  const unsigned char zero[4] = {0, 0, 0, 0};
  if (!WriteAt(fd, 16, zero, 4)) return Fail("cannot write");

  std::vector<unsigned char> page;
  bool movedStrings = strings.empty();
  for (uint64_t index = 0; index < headers.ChunkCount; ++index) {
    if (!headers.Chunk(fd, index, page)) return Fail("cannot read the directory");
    for (const chmdir::TEntry& entry : chmdir::ListEntries(page)) {
      if (entry.Name == "/#SYSTEM" && entry.Space == 0) {
        // Its records: code, length, data; code 10 is the time of compiling.
        std::vector<unsigned char> system(static_cast<size_t>(entry.Length));
        const uint64_t at = headers.DataOffset + entry.Offset;
        if (!chmdir::ReadAt(fd, at, system.data(), system.size())) return Fail("cannot read the system record");
        for (size_t r = 4; r + 4 <= system.size();) {
          const unsigned code = system[r] | system[r + 1] << 8;
          const size_t length = system[r + 2] | system[r + 3] << 8;
          if (length > system.size() - r - 4) break;
          if (code == 10 && !WriteAt(fd, at + r + 4, std::vector<unsigned char>(length, 0).data(), length))
            return Fail("cannot write");
          r += 4 + length;
        }
      }
      if (entry.Name == "/#STRINGS" && !movedStrings) {
        if (StripPrefix(strings, prefix) == 0) {
          movedStrings = true;
          continue;
        }
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
        movedStrings = true;
      }
    }
  }
  ::close(fd);
  if (!movedStrings) return Fail("the context map was not found");
  return 0;
}
