#pragma once
// Whole-file reads and writes. Paths are code page 1250 text, like every
// string of the model, with the file system's names beyond the code page
// kept as escapes (platform/cp1250.h, PathText); they are turned into the
// file system's bytes here.

#include <cstddef>
#include <optional>
#include <string>

namespace platform {

// The file system's name for a code page 1250 path. A path in the program's
// folder is named by the folder's real name (platform/appdir.h).
std::string NativePath(const std::string& path);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

// What tells one state of a file on disk from another: its identity, size
// and change times.
struct FileStamp {
  unsigned long long device = 0, inode = 0, size = 0;
  long long changed = 0, modified = 0;  // nanoseconds
  bool operator==(const FileStamp&) const = default;
};

// The stamp of the file at the path as it is now; nullopt when there is none.
std::optional<FileStamp> StampOf(const std::string& path);

// The whole file, byte for byte; nullopt when no file exists at the path.
// Only a regular file is read: it is opened without waiting, so a FIFO or a
// device of that name cannot block. Any other failure (a directory, a FIFO,
// no permission, a read error, more than maxBytes when that is not 0) raises
// EInOutError. With stamp, also the stamp of the file that was read.
std::optional<std::string> ReadFileBytes(const std::string& path, FileStamp* stamp = nullptr, size_t maxBytes = 0);

// A file read in pieces, opened and checked as ReadFileBytes does (the
// file as it stands when opened), for a reader that may stop early.
class FileReader {
 public:
  // Exists() is false when no file is there; other failures raise EInOutError.
  explicit FileReader(const std::string& path);
  ~FileReader();
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  bool Exists() const { return fd_ >= 0; }
  // The file's size when it was opened.
  unsigned long long Size() const { return size_; }
  // Up to size bytes; 0 at the end. A read error raises EInOutError.
  size_t Read(char* data, size_t size);

 private:
  std::string path_;
  int fd_ = -1;
  unsigned long long size_ = 0;
};

// Replaces the file with exactly these bytes. The data goes to a temporary
// file in the same folder, which is then renamed over it, so a failure midway
// (full disk, no permission) leaves the old file as it was; it raises EInOutError.
// The replacement is faithful to the file it replaces: a symbolic link is
// followed and its target replaced; an existing file keeps its mode (never the
// set-user or set-group bits) and, where the system allows, its owner and
// group; a new file gets the mode the user's umask allows. The folder is
// synced after the rename, so the new name survives a power loss.
// With stamp, also the stamp of the file as this save left it.
void WriteFileAtomic(const std::string& path, const std::string& data, FileStamp* stamp = nullptr);

// The same, for a file that must not replace another: false, with nothing
// written, when a file of that name exists at the moment it would be put in place.
bool WriteFileNew(const std::string& path, const std::string& data);

// The same replacement for data that arrives in pieces. The constructor checks
// the target and opens the temporary file; Commit puts it in place. A writer
// dropped without Commit removes its temporary file and leaves the target as
// it was. Every failure raises EInOutError.
//
// The temporary file's name is short and of our own pattern, so any legal
// name saves; a writer keeps it open and locked until it has been renamed,
// and a save of the same file removes only one that nobody holds locked, that
// is one left behind by a save that was killed.
class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(const std::string& path);
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  void Write(const char* data, size_t size);
  // With stamp, also the stamp of the file as it now stands in place.
  void Commit(FileStamp* stamp = nullptr);
  // Commit that never replaces a file: false when one of that name exists.
  bool CommitNew();

 private:
  bool PutInPlace(bool replace, FileStamp* stamp);
  // Removes the temporary file and closes it.
  void Discard();
  // Discards the temporary file, then raises the error.
  [[noreturn]] void Fail(int err);

  std::string path_;    // as the caller named it, for messages
  std::string target_;  // the file replaced, links followed
  std::string dir_;
  std::string temp_;
  int fd_ = -1;
  bool existed_ = false;
  unsigned mode_ = 0;
  unsigned uid_ = 0;
  unsigned gid_ = 0;
};

}  // namespace platform
