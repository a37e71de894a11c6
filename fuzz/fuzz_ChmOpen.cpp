// Any bytes as a help file: opening it and reading everything the viewer reads
// (system record, contents, index, the context map, the popup topic file, a
// topic) must never crash, nor read outside its buffers; a damaged file gives
// empty results or no file at all.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "help/viewer/hxchm.h"

namespace {

// The bytes as a file in memory, named through /proc.
struct MemoryFile {
  MemoryFile() : fd(memfd_create("fuzz.chm", 0)), path("/proc/self/fd/" + std::to_string(fd)) {
    if (fd < 0) std::abort();
  }
  void Fill(const uint8_t* data, size_t size) {
    if (ftruncate(fd, 0) != 0) std::abort();
    size_t done = 0;
    while (done < size) {
      const ssize_t n = pwrite(fd, data + done, size - done, static_cast<off_t>(done));
      if (n <= 0) std::abort();
      done += static_cast<size_t>(n);
    }
  }
  int fd;
  std::string path;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool reader = (hxviewer::SetChmReaderProgram(HXCHMREAD), true);
  (void)reader;
  static MemoryFile file;
  file.Fill(data, size);
  hxviewer::TChmFile chm;
  if (!chm.Open(file.path)) return 0;
  chm.Contents();
  chm.Index();
  for (uint32_t context : {1000u, 1005u, 1030u}) chm.TopicOfContext(context);
  if (const auto topics = chm.Read("/connect.txt")) hxviewer::PopupTopicText(*topics, 1005);
  if (!chm.DefaultTopic().empty()) chm.Read(chm.DefaultTopic());
  return 0;
}
