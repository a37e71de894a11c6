#include "platform/sysinfo.h"

#include <dlfcn.h>
#include <link.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "platform/appdir.h"
#include "platform/cp1250.h"
#include "platform/files.h"

namespace platform {

SystemInfo QuerySystemInfo() {
  SystemInfo info;
  const long cpus = ::sysconf(_SC_NPROCESSORS_ONLN);
  const long page = ::sysconf(_SC_PAGESIZE);
  info.processors = cpus > 0 ? static_cast<std::uint32_t>(cpus) : 1;
  info.pageSize = page > 0 ? static_cast<std::uint32_t>(page) : 4096;
  // Mappings are placed on page boundaries here.
  info.allocationGranularity = info.pageSize;
  return info;
}

OsVersion QueryOsVersion() {
  OsVersion v;
  v.platformId = kPlatformOther;
  utsname u{};
  if (::uname(&u) == 0) {
    char* end = nullptr;
    v.major = static_cast<std::uint32_t>(std::strtoul(u.release, &end, 10));
    if (end && *end == '.') v.minor = static_cast<std::uint32_t>(std::strtoul(end + 1, &end, 10));
    if (end && *end == '.') v.build = static_cast<std::uint32_t>(std::strtoul(end + 1, &end, 10));
  }
  return v;
}

namespace {

// The loader's list of the process's modules, the program's own entry first.
template <class Visit>
void ForEachModule(Visit visit) {
  void* self = ::dlopen(nullptr, RTLD_LAZY);
  if (!self) return;
  link_map* m = nullptr;
  if (::dlinfo(self, RTLD_DI_LINKMAP, &m) != 0) m = nullptr;
  for (; m; m = m->l_next) {
    if (visit(m)) break;
  }
  ::dlclose(self);
}

}  // namespace

ModuleHandle FindLoadedModule(const std::string& fileName) {
  if (fileName.empty()) return nullptr;
  // Looked up in memory only: asking the loader by name would search the disk.
  const std::string native = NativePath(fileName);
  ModuleHandle found = nullptr;
  ForEachModule([&](link_map* m) {
    const char* name = m->l_name ? m->l_name : "";
    const char* slash = std::strrchr(name, '/');
    if (native != (slash ? slash + 1 : name)) return false;
    found = m;
    return true;
  });
  return found;
}

std::string ModuleFileName(ModuleHandle module) {
  if (!module) return PathText(NativeProgramFile());
  // A handle is an entry of the loader's list; it is looked up there again rather than trusted.
  std::string path;
  ForEachModule([&](link_map* m) {
    if (m != module) return false;
    if (m->l_name) path = m->l_name;
    return true;
  });
  return PathText(path);
}

}  // namespace platform
