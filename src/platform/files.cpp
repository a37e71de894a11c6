#include "platform/files.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/cp1250.h"
#include "platform/errors.h"

namespace platform {

std::string NativePath(const std::string& path) { return Cp1250ToUtf8(path); }

bool FileExists(const std::string& path) {
  struct stat st;
  return ::stat(NativePath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat st;
  return ::stat(NativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
  const std::string native = NativePath(path);
  const int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
    throw EInOutError::FromErrno(path, errno);
  }
  struct stat st;
  if (::fstat(fd, &st) != 0) {
    const int err = errno;
    ::close(fd);
    throw EInOutError::FromErrno(path, err);
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    throw EInOutError::FromErrno(path, S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
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
  }
  ::close(fd);
  return data;
}

AtomicFileWriter::AtomicFileWriter(const std::string& path) : path_(path) {
  const std::string native = NativePath(path);
  // Keep the mode of a file that is replaced; refuse where the file itself is read-only,
  // as replacing it by rename would otherwise quietly succeed.
  // A file or folder without any write permission is read-only for everyone,
  // the superuser included, as a read-only file is on other systems.
  mode_t mode = 0666 & ~0022;
  struct stat st;
  if (::stat(native.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) throw EInOutError::FromErrno(path, EISDIR);
    if ((st.st_mode & 0222) == 0 || ::access(native.c_str(), W_OK) != 0) {
      throw EInOutError::FromErrno(path, EACCES);
    }
    mode = st.st_mode & 07777;
  }
  mode_ = mode;
  const auto slash = native.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : native.substr(0, slash + 1);
  struct stat dst;
  if (::stat(dir.c_str(), &dst) == 0 && (dst.st_mode & 0222) == 0) {
    throw EInOutError::FromErrno(path, EACCES);
  }
  temp_ = native + ".XXXXXX";
  fd_ = ::mkstemp(temp_.data());
  if (fd_ < 0) throw EInOutError::FromErrno(path, errno);
}

AtomicFileWriter::~AtomicFileWriter() {
  if (fd_ >= 0) {
    ::close(fd_);
    ::unlink(temp_.c_str());
  }
}

void AtomicFileWriter::Fail(int err) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  ::unlink(temp_.c_str());
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

void AtomicFileWriter::Commit() {
  if (fd_ < 0) throw EInOutError::FromErrno(path_, EBADF);
  if (::fchmod(fd_, static_cast<mode_t>(mode_)) != 0) Fail(errno);
  if (::fsync(fd_) != 0) Fail(errno);
  // The descriptor is gone whatever close says, so it is not closed again.
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) Fail(errno);
  if (::rename(temp_.c_str(), NativePath(path_).c_str()) != 0) Fail(errno);
}

void WriteFileAtomic(const std::string& path, const std::string& data) {
  AtomicFileWriter writer(path);
  writer.Write(data.data(), data.size());
  writer.Commit();
}

}  // namespace platform
