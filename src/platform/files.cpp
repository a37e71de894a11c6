#include "platform/files.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstdint>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <stdio.h>
#include <string.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/appdir.h"
#include "platform/cp1250.h"
#include "platform/errors.h"

namespace platform {

std::string NativePath(const std::string& path) {
  // The program's folder by its real name, which its code page 1250 text may have lost.
  const std::string shown = ProgramDir();
  if (path.size() >= shown.size() && path.compare(0, shown.size(), shown) == 0) {
    return NativeProgramDir() + NativeOfPathText(std::string_view(path).substr(shown.size()));
  }
  return NativeOfPathText(path);
}

bool FileExists(const std::string& path) {
  struct stat st;
  return ::stat(NativePath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat st;
  return ::stat(NativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

namespace {

FileStamp StampFrom(const struct stat& st) {
  FileStamp s;
  s.device = st.st_dev;
  s.inode = st.st_ino;
  s.size = static_cast<unsigned long long>(st.st_size);
  s.changed = st.st_ctim.tv_sec * 1000000000LL + st.st_ctim.tv_nsec;
  s.modified = st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
  return s;
}

}  // namespace

std::optional<FileStamp> StampOf(const std::string& path) {
  struct stat st;
  if (::stat(NativePath(path).c_str(), &st) != 0) return std::nullopt;
  return StampFrom(st);
}

namespace {

// Opened without waiting, so that a FIFO or a device named like a file cannot
// block the program; only a regular file is then read. -1 when there is none.
int OpenRegular(const std::string& path, struct stat& st) {
  const int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return -1;
    throw EInOutError::FromErrno(path, errno);
  }
  if (::fstat(fd, &st) != 0) {
    const int err = errno;
    ::close(fd);
    throw EInOutError::FromErrno(path, err);
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    if (S_ISDIR(st.st_mode)) throw EInOutError::FromErrno(path, EISDIR);
    throw EInOutError::NotRegular(path);
  }
  return fd;
}

}  // namespace

FileReader::FileReader(const std::string& path) : path_(path) {
  struct stat st;
  fd_ = OpenRegular(path, st);
  if (fd_ >= 0) size_ = static_cast<unsigned long long>(st.st_size);
}

FileReader::~FileReader() {
  if (fd_ >= 0) ::close(fd_);
}

size_t FileReader::Read(char* data, size_t size) {
  if (fd_ < 0) return 0;
  for (;;) {
    const ssize_t n = ::read(fd_, data, size);
    if (n >= 0) return static_cast<size_t>(n);
    if (errno != EINTR) throw EInOutError::FromErrno(path_, errno);
  }
}

std::optional<std::string> ReadFileBytes(const std::string& path, FileStamp* stamp, size_t maxBytes) {
  struct stat st;
  const int fd = OpenRegular(path, st);
  if (fd < 0) return std::nullopt;
  if (stamp) *stamp = StampFrom(st);
  const auto tooLarge = [&](uint64_t size) { return maxBytes != 0 && size > maxBytes; };
  if (tooLarge(static_cast<uint64_t>(st.st_size))) {
    ::close(fd);
    throw EInOutError::FromErrno(path, EFBIG);
  }
  std::string data;
  data.reserve(static_cast<size_t>(st.st_size));
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      const int err = errno;
      ::close(fd);
      throw EInOutError::FromErrno(path, err);
    }
    data.append(buf, static_cast<size_t>(n));
    // The file may grow while it is read.
    if (tooLarge(data.size())) {
      ::close(fd);
      throw EInOutError::FromErrno(path, EFBIG);
    }
  }
  ::close(fd);
  return data;
}

namespace {

std::string DirOf(const std::string& native) {
  const auto slash = native.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : native.substr(0, slash);
}

std::string BaseOf(const std::string& native) {
  const auto slash = native.rfind('/');
  return slash == std::string::npos ? native : native.substr(slash + 1);
}

// The file a path names, its symbolic links followed, so that a save replaces
// the file the link points to and the link stays a link. A link to nothing
// gives the path where the file is to be made.
std::string FollowLinks(std::string native, const std::string& shown) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (::lstat(native.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return native;
    std::string target(PATH_MAX, '\0');
    const ssize_t n = ::readlink(native.c_str(), target.data(), target.size());
    if (n < 0) throw EInOutError::FromErrno(shown, errno);
    target.resize(static_cast<size_t>(n));
    if (target.empty()) throw EInOutError::FromErrno(shown, ENOENT);
    if (target.front() != '/') target = DirOf(native) + "/" + target;
    native = std::move(target);
  }
  throw EInOutError::FromErrno(shown, ELOOP);
}

// Temporary files are named ".zorvik-<hash of the target's name>-<random>.tmp":
// short, so any legal name saves, and tied to their target, so that one left
// by a killed save is found and removed by the next save of the same file.
std::string TempPrefix(const std::string& base) {
  uint32_t h = 2166136261u;  // FNV-1a
  for (const unsigned char c : base) h = (h ^ c) * 16777619u;
  char hex[9];
  std::snprintf(hex, sizeof hex, "%08x", h);
  return std::string(".zorvik-") + hex + "-";
}

constexpr char kTempSuffix[] = ".tmp";

std::string RandomPart() {
  static const char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  static std::mt19937 rng(std::random_device{}());
  std::string out(6, 'a');
  for (char& c : out) c = kChars[std::uniform_int_distribution<int>(0, 35)(rng)];
  return out;
}

// A writer holds a lock on its temporary file while it lives; one that can be
// locked belongs to a save that died and is removed.
void RemoveLeftovers(const std::string& dir, const std::string& prefix) {
  DIR* d = ::opendir(dir.c_str());
  if (!d) return;
  while (const dirent* e = ::readdir(d)) {
    const std::string name = e->d_name;
    if (name.size() != prefix.size() + 6 + sizeof kTempSuffix - 1 || name.compare(0, prefix.size(), prefix) != 0 ||
        !name.ends_with(kTempSuffix)) {
      continue;
    }
    const std::string path = dir + "/" + name;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) continue;
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(path.c_str());
    ::close(fd);
  }
  ::closedir(d);
}

// Makes the new name durable: the folder's entry is on disk once this returns.
void SyncDir(const std::string& dir, const std::string& shown) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) throw EInOutError::FromErrno(shown, errno);
  const int rc = ::fsync(fd);
  const int err = errno;
  ::close(fd);
  // Some file systems cannot sync a folder; there is nothing more to do on them.
  if (rc != 0 && err != EINVAL && err != ENOTSUP) throw EInOutError::FromErrno(shown, err);
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(const std::string& path) : path_(path) {
  target_ = FollowLinks(NativePath(path), path);
  // Keep the mode, owner and group of a file that is replaced; refuse where the
  // file itself is read-only, as replacing it by rename would otherwise quietly succeed.
  // A file or folder without any write permission is read-only for everyone,
  // the superuser included, as a read-only file is on other systems.
  struct stat st;
  if (::stat(target_.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) throw EInOutError::FromErrno(path, EISDIR);
    if (!S_ISREG(st.st_mode)) throw EInOutError::NotRegular(path);
    if ((st.st_mode & 0222) == 0) throw EInOutError::FromErrno(path, EACCES);
    // The system's own reason: no permission, or a file system mounted read-only.
    if (::access(target_.c_str(), W_OK) != 0) throw EInOutError::FromErrno(path, errno);
    existed_ = true;
    // Never the set-user or set-group bits: a saved file is no program.
    mode_ = st.st_mode & 01777;
    uid_ = st.st_uid;
    gid_ = st.st_gid;
  }
  dir_ = DirOf(target_);
  struct stat dst;
  if (::stat(dir_.c_str(), &dst) == 0 && (dst.st_mode & 0222) == 0) {
    throw EInOutError::FromErrno(path, EACCES);
  }
  const std::string prefix = TempPrefix(BaseOf(target_));
  RemoveLeftovers(dir_, prefix);
  for (int attempt = 0;; ++attempt) {
    temp_ = dir_ + "/" + prefix + RandomPart() + kTempSuffix;
    // A new file gets what the user's umask allows; a replaced file's mode is set on commit.
    fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, existed_ ? 0600 : 0666);
    if (fd_ < 0) {
      if (errno == EEXIST && attempt < 100) continue;
      throw EInOutError::FromErrno(path, errno);
    }
    // Locked before anyone may take it for a leftover; one removed in between is made again.
    struct stat tst;
    if (::flock(fd_, LOCK_EX) == 0 && ::fstat(fd_, &tst) == 0 && tst.st_nlink > 0) break;
    ::close(fd_);
    fd_ = -1;
    if (attempt >= 100) throw EInOutError::FromErrno(path, EAGAIN);
  }
}

AtomicFileWriter::~AtomicFileWriter() {
  if (fd_ >= 0) Discard();
}

void AtomicFileWriter::Discard() {
  // Removed while still locked, so no other save's cleanup can meet it half gone.
  ::unlink(temp_.c_str());
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

void AtomicFileWriter::Fail(int err) {
  Discard();
  throw EInOutError::FromErrno(path_, err);
}

void AtomicFileWriter::Write(const char* data, size_t size) {
  if (fd_ < 0) throw EInOutError::FromErrno(path_, EBADF);
  size_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(fd_, data + done, size - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail(errno);
    }
    done += static_cast<size_t>(n);
  }
}

bool AtomicFileWriter::PutInPlace(bool replace, FileStamp* stamp) {
  if (fd_ < 0) throw EInOutError::FromErrno(path_, EBADF);
  if (existed_) {
    // The owner where the system allows, else at least the group; a file whose
    // group cannot be kept does not open itself to the group it gets instead.
    unsigned mode = mode_;
    if (::fchown(fd_, uid_, gid_) != 0 && ::fchown(fd_, static_cast<uid_t>(-1), gid_) != 0) mode &= ~070u;
    if (::fchmod(fd_, static_cast<mode_t>(mode)) != 0) Fail(errno);
  }
  if (::fsync(fd_) != 0) Fail(errno);
  // The file stays open, and so locked, until it has its name: a closed one
  // would be taken for a leftover by another program's save and removed.
  if (replace) {
    if (::rename(temp_.c_str(), target_.c_str()) != 0) Fail(errno);
  } else if (::renameat2(AT_FDCWD, temp_.c_str(), AT_FDCWD, target_.c_str(), RENAME_NOREPLACE) != 0) {
    int err = errno;
    if (err == EINVAL || err == ENOSYS || err == ENOTSUP) {
      // A file system without the no-replace rename: a new link fails just the same on an existing name.
      err = ::link(temp_.c_str(), target_.c_str()) == 0 ? 0 : errno;
      if (err == 0) ::unlink(temp_.c_str());
    }
    if (err == EEXIST) {
      Discard();
      return false;
    }
    if (err != 0) Fail(err);
  }
  // Our own file, whatever has since taken its name, with the times the rename gave it.
  struct stat st;
  if (stamp && ::fstat(fd_, &st) == 0) *stamp = StampFrom(st);
  // The data is on disk since the sync, so what close says can no longer cost
  // any of it; the descriptor is gone either way.
  ::close(fd_);
  fd_ = -1;
  SyncDir(dir_, path_);
  return true;
}

void AtomicFileWriter::Commit(FileStamp* stamp) { PutInPlace(true, stamp); }

bool AtomicFileWriter::CommitNew() { return PutInPlace(false, nullptr); }

void WriteFileAtomic(const std::string& path, const std::string& data, FileStamp* stamp) {
  AtomicFileWriter writer(path);
  writer.Write(data.data(), data.size());
  writer.Commit(stamp);
}

bool WriteFileNew(const std::string& path, const std::string& data) {
  AtomicFileWriter writer(path);
  writer.Write(data.data(), data.size());
  return writer.CommitNew();
}

}  // namespace platform
