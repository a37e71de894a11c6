#include "platform/appdir.h"

#include "platform/sysinfo.h"

namespace platform {
namespace {

std::string& Override() {
  static std::string dir;
  return dir;
}

std::string RealProgramDir() {
  const std::string exe = ModuleFileName(nullptr);
  if (exe.empty()) return "./";
  return exe.substr(0, exe.rfind('/') + 1);
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
