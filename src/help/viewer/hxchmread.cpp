// The help viewer's reader: reads a ".chm" file with chmlib and writes every
// object below "/" that any listing chunk of its directory names to its
// standard output, for the viewer to keep. It runs as a program of its own
// because chmlib trusts the file it reads, and a damaged file may crash or
// hang it; the viewer then only sees a reader that failed.
//
// The stream, in the machine's byte order: per object, the name's length
// (4 bytes), the name, the data's length (8 bytes; ~0 for an object too large
// to keep, with no data following) and the data; at the end, a name length
// of ~0. Exit status 0 only when the whole stream was written and every
// object that the directory lists was read whole; 4 when some object's data
// is missing (a file cut short).
#include <chm_lib.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>
#include <unordered_set>
#include <vector>

#include "help/viewer/hxchm.h"
#include "help/viewer/hxchmdir.h"

using hxviewer::TChmFile;

namespace {

bool WriteAll(const void* data, size_t size) {
  const auto* at = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::write(STDOUT_FILENO, at, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    at += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// Every object below "/" that the directory lists, from every listing chunk
// in the file's order, each name once (names are found in any case).
std::vector<chmUnitInfo> ListObjects(const char* path) {
  std::vector<chmUnitInfo> units;
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return units;
  hxviewer::chmdir::THeaders headers;
  std::unordered_set<std::string> seen;
  std::vector<unsigned char> page;
  if (headers.Read(fd)) {
    for (uint64_t index = 0; index < headers.ChunkCount && units.size() < TChmFile::kMaxObjects; ++index) {
      if (!headers.Chunk(fd, index, page)) break;
      for (const auto& entry : hxviewer::chmdir::ListEntries(page)) {
        const std::string& name = entry.Name;
        if (name.front() != '/' || name.back() == '/' || name.size() > CHM_MAX_PATHLEN ||
            name.find('\0') != std::string::npos)
          continue;
        std::string key = name;
        for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (!seen.insert(key).second) continue;
        chmUnitInfo ui{};
        ui.start = entry.Offset;
        ui.length = entry.Length;
        ui.space = static_cast<int>(std::min<uint64_t>(entry.Space, 2));
        ui.flags = CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES;
        std::memcpy(ui.path, name.data(), name.size());
        ui.path[name.size()] = '\0';
        units.push_back(ui);
        if (units.size() == TChmFile::kMaxObjects) break;
      }
    }
  }
  ::close(fd);
  return units;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 1;
  const rlimit noCore{0, 0};
  ::setrlimit(RLIMIT_CORE, &noCore);  // a crash on a damaged file leaves nothing behind
  chmFile* file = chm_open(argv[1]);
  if (!file) return 2;
  std::vector<chmUnitInfo> units = ListObjects(argv[1]);
  std::vector<unsigned char> piece(64u << 10);
  uint64_t total = 0;
  bool whole = true;
  for (chmUnitInfo& ui : units) {
    const uint32_t nameLength = static_cast<uint32_t>(std::strlen(ui.path));
    const bool fits = ui.length <= TChmFile::kMaxObjectSize && total + ui.length <= TChmFile::kMaxTotalSize;
    const uint64_t length = fits ? ui.length : ~uint64_t{0};
    // A damaged directory may claim a length that no data backs: the data is
    // read first, and the object is sent only when all of it came.
    std::string bytes;
    if (fits) {
      while (bytes.size() < ui.length) {
        const uint64_t want = std::min<uint64_t>(piece.size(), ui.length - bytes.size());
        const LONGINT64 got = chm_retrieve_object(file, &ui, piece.data(), bytes.size(), static_cast<LONGINT64>(want));
        if (got <= 0) break;
        bytes.append(reinterpret_cast<const char*>(piece.data()), static_cast<size_t>(got));
      }
      if (bytes.size() < ui.length) {
        whole = false;
        continue;
      }
      total += length;
    }
    if (!WriteAll(&nameLength, 4) || !WriteAll(ui.path, nameLength) || !WriteAll(&length, 8) ||
        !WriteAll(bytes.data(), bytes.size()))
      return 3;
  }
  chm_close(file);
  const uint32_t end = ~uint32_t{0};
  if (!WriteAll(&end, 4)) return 3;
  return whole ? 0 : 4;
}
