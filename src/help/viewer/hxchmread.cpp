// The help viewer's reader: reads a ".chm" file with chmlib and writes every
// object below "/" to its standard output, for the viewer to keep. It runs as
// a program of its own because chmlib trusts the file it reads, and a damaged
// file may crash or hang it; the viewer then only sees a reader that failed.
//
// The stream, in the machine's byte order: per object, the name's length
// (4 bytes), the name, the data's length (8 bytes; ~0 for an object too large
// to keep, with no data following) and the data; at the end, a name length
// of ~0. Exit status 0 only when the whole stream was written.
#include <chm_lib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "help/viewer/hxchm.h"

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

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 1;
  const rlimit noCore{0, 0};
  ::setrlimit(RLIMIT_CORE, &noCore);  // a crash on a damaged file leaves nothing behind
  chmFile* file = chm_open(argv[1]);
  if (!file) return 2;
  std::vector<chmUnitInfo> units;
  chm_enumerate(
      file, CHM_ENUMERATE_ALL,
      [](chmFile*, chmUnitInfo* ui, void* context) -> int {
        auto* all = static_cast<std::vector<chmUnitInfo>*>(context);
        if (all->size() == TChmFile::kMaxObjects) return CHM_ENUMERATOR_SUCCESS;
        ui->path[CHM_MAX_PATHLEN] = '\0';
        if (ui->path[0] == '/' && (ui->flags & CHM_ENUMERATE_FILES)) all->push_back(*ui);
        return CHM_ENUMERATOR_CONTINUE;
      },
      &units);
  std::vector<unsigned char> piece(64u << 10);
  uint64_t total = 0;
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
      if (bytes.size() < ui.length) continue;
      total += length;
    }
    if (!WriteAll(&nameLength, 4) || !WriteAll(ui.path, nameLength) || !WriteAll(&length, 8) ||
        !WriteAll(bytes.data(), bytes.size()))
      return 3;
  }
  chm_close(file);
  const uint32_t end = ~uint32_t{0};
  return WriteAll(&end, 4) ? 0 : 3;
}
