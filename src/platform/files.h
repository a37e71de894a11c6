#pragma once
// Whole-file reads and writes. Paths are code page 1250 text, like every
// string of the model; they are turned into the file system's UTF-8 here.

#include <cstddef>
#include <optional>
#include <string>

namespace platform {

// The file system's name for a code page 1250 path.
std::string NativePath(const std::string& path);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

// The whole file, byte for byte; nullopt when no file exists at the path.
// Any other failure (a directory, no permission, a read error) raises EInOutError.
std::optional<std::string> ReadFileBytes(const std::string& path);

// Replaces the file with exactly these bytes. The data goes to a temporary
// file beside the target, which is then renamed over it, so a failure midway
// (full disk, no permission) leaves the old file as it was; it raises EInOutError.
void WriteFileAtomic(const std::string& path, const std::string& data);

// The same replacement for data that arrives in pieces. The constructor checks
// the target and opens the temporary file; Commit puts it in place. A writer
// dropped without Commit removes its temporary file and leaves the target as
// it was. Every failure raises EInOutError.
class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(const std::string& path);
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  void Write(const char* data, size_t size);
  void Commit();

 private:
  // Closes and removes the temporary file, then raises the error.
  [[noreturn]] void Fail(int err);

  std::string path_;
  std::string temp_;
  int fd_ = -1;
  unsigned mode_ = 0;
};

}  // namespace platform
