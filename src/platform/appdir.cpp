#include "appdir.h"

#include <climits>
#include <unistd.h>

#include "cp1250.h"

namespace platform {
namespace {

std::string& Override() {
  static std::string dir;
  return dir;
}

std::string RealProgramDir() {
  char buf[PATH_MAX + 1];
  const ssize_t n = ::readlink("/proc/self/exe", buf, PATH_MAX);
  if (n <= 0) return "./";
  std::string exe(buf, static_cast<size_t>(n));
  const auto slash = exe.rfind('/');
  return Utf8ToCp1250(exe.substr(0, slash + 1));
}

}  // namespace

std::string ProgramDir() {
  if (!Override().empty()) return Override();
  static const std::string real = RealProgramDir();
  return real;
}

void SetProgramDir(const std::string& dir) {
  if (dir.empty() || dir.back() == '/') {
    Override() = dir;
  } else {
    Override() = dir + '/';
  }
}

}  // namespace platform
