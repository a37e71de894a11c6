#include "sysinfo.h"

#include <dlfcn.h>
#include <link.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

#include "cp1250.h"

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

ModuleHandle FindLoadedModule(const std::string& fileName) {
  if (fileName.empty()) return nullptr;
  void* handle = ::dlopen(fileName.c_str(), RTLD_LAZY | RTLD_NOLOAD);
  if (!handle) return nullptr;
  // The module stays loaded by whoever loaded it; our reference is not needed.
  link_map* map = nullptr;
  const void* base = nullptr;
  if (::dlinfo(handle, RTLD_DI_LINKMAP, &map) == 0 && map) base = map;
  ::dlclose(handle);
  return base;
}

std::string ModuleFileName(ModuleHandle module) {
  if (!module) {
    char buf[PATH_MAX + 1];
    const ssize_t n = ::readlink("/proc/self/exe", buf, PATH_MAX);
    if (n <= 0) return {};
    return Utf8ToCp1250(std::string(buf, static_cast<size_t>(n)));
  }
  // A handle is an entry of the loader's list of modules; it is looked up
  // there again rather than trusted. The program's own entry heads the list.
  std::string path;
  void* self = ::dlopen(nullptr, RTLD_LAZY);
  link_map* m = nullptr;
  if (self && ::dlinfo(self, RTLD_DI_LINKMAP, &m) != 0) m = nullptr;
  for (; m; m = m->l_next) {
    if (m == module) {
      if (m->l_name) path = m->l_name;
      break;
    }
  }
  if (self) ::dlclose(self);
  return Utf8ToCp1250(path);
}

}  // namespace platform
