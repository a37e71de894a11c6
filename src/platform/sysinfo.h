#pragma once
// System and version information of the running system, and the modules
// loaded into the process, standing in for the Windows queries of the same kind.

#include <cstdint>
#include <string>

namespace platform {

struct SystemInfo {
  std::uint32_t processors = 0;             // processors online
  std::uint32_t allocationGranularity = 0;  // what a memory mapping is rounded to
  std::uint32_t pageSize = 0;
};

SystemInfo QuerySystemInfo();

// Platform identifiers of the Windows families; this system is neither and
// reports kPlatformOther, so nothing takes it for a Windows version.
constexpr std::uint32_t kPlatformWindows = 1;  // the 95 family
constexpr std::uint32_t kPlatformNT = 2;
constexpr std::uint32_t kPlatformOther = 0x100;

struct OsVersion {
  std::uint32_t platformId = 0;
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
  std::string serviceText;  // the service pack text; empty here
};

// The kernel's release numbers under kPlatformOther.
OsVersion QueryOsVersion();

// A module loaded into the process, found by its file name ("libc.so.6");
// nullptr when no such module is loaded. Finding it does not load it.
using ModuleHandle = const void*;
ModuleHandle FindLoadedModule(const std::string& fileName);

// The module's full path as code page 1250 text; nullptr stands for the
// program itself. Empty when the path cannot be found.
std::string ModuleFileName(ModuleHandle module);

}  // namespace platform
