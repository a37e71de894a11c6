#pragma once
// File helpers of the general library: a loaded module's path and the fixed
// version block of a program file.

#include <cstdint>
#include <string>

#include "platform/sysinfo.h"

namespace genlib {

// The fixed part of a file's version information, 52 bytes.
struct FixedFileInfo {
  std::uint32_t Signature;
  std::uint32_t StrucVersion;
  std::uint32_t FileVersionMS;  // major << 16 | minor
  std::uint32_t FileVersionLS;  // release << 16 | build
  std::uint32_t ProductVersionMS;
  std::uint32_t ProductVersionLS;
  std::uint32_t FileFlagsMask;
  std::uint32_t FileFlags;
  std::uint32_t FileOS;
  std::uint32_t FileType;
  std::uint32_t FileSubtype;
  std::uint32_t FileDateMS;
  std::uint32_t FileDateLS;
};
static_assert(sizeof(FixedFileInfo) == 52);

constexpr std::uint32_t kFixedFileInfoSignature = 0xFEEF04BD;

// The module's file path; nullptr is the program itself.
std::string ModuleFilePath(platform::ModuleHandle module);

// The fixed version block of the file (code page 1250 path); false, with
// info untouched, when the file carries no version.
bool ReadFixedVersionInfo(const std::string& fileName, FixedFileInfo& info);

}  // namespace genlib
