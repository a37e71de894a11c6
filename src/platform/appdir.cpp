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
  return Dir{native, PathText(native)};
}

Dir& Override() {
  static Dir dir;
  return dir;
}

const Dir& Real() {
  static const Dir real = [] {
    const std::string& exe = NativeProgramFile();
    if (exe.empty()) return Make("./");
    return Make(exe.substr(0, exe.rfind('/') + 1));
  }();
  return real;
}

std::string& FileOverride() {
  static std::string file;
  return file;
}

const Dir& Current() { return Override().native.empty() ? Real() : Override(); }

}  // namespace

std::string ProgramDir() { return Current().shown; }

std::string NativeProgramDir() { return Current().native; }

void SetProgramDir(const std::string& dir) { SetNativeProgramDir(NativeOfPathText(dir)); }

void SetNativeProgramDir(const std::string& dir) { Override() = dir.empty() ? Dir{} : Make(dir); }

std::string ProgramFile() {
  if (!FileOverride().empty()) return FileOverride();
  // Under the real program folder, which NativePath turns back into the real name.
  const std::string& exe = NativeProgramFile();
  if (exe.empty()) return {};
  const size_t slash = exe.rfind('/') + 1;
  return Real().shown + PathText(exe.substr(slash));
}

void SetProgramFile(const std::string& path) { FileOverride() = path; }

const std::string& NativeProgramFile() {
  static const std::string exe = [] {
    char buf[PATH_MAX + 1];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf);
    // A path that filled the buffer may have been cut short: no path is better.
    return n <= 0 || static_cast<size_t>(n) >= sizeof buf ? std::string() : std::string(buf, static_cast<size_t>(n));
  }();
  return exe;
}

}  // namespace platform
