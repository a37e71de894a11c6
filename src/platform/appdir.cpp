#include "platform/appdir.h"

#include <climits>
#include <unistd.h>

#include "platform/cp1250.h"

namespace platform {
namespace {

struct Dir {
  std::string native;
  std::string shown;  // code page 1250
};

Dir Make(std::string native) {
  if (!native.empty() && native.back() != '/') native += '/';
  return Dir{native, Utf8ToCp1250(native)};
}

Dir& Override() {
  static Dir dir;
  return dir;
}

const Dir& Real() {
  static const Dir real = [] {
    char buf[PATH_MAX + 1];
    const ssize_t n = ::readlink("/proc/self/exe", buf, PATH_MAX);
    if (n <= 0) return Make("./");
    const std::string exe(buf, static_cast<size_t>(n));
    return Make(exe.substr(0, exe.rfind('/') + 1));
  }();
  return real;
}

const Dir& Current() { return Override().native.empty() ? Real() : Override(); }

}  // namespace

std::string ProgramDir() { return Current().shown; }

std::string NativeProgramDir() { return Current().native; }

void SetProgramDir(const std::string& dir) { SetNativeProgramDir(Cp1250ToUtf8(dir)); }

void SetNativeProgramDir(const std::string& dir) { Override() = dir.empty() ? Dir{} : Make(dir); }

}  // namespace platform
