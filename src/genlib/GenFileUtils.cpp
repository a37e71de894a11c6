#include "genlib/GenFileUtils.h"

#include "platform/fileversion.h"

namespace genlib {

std::string ModuleFilePath(platform::ModuleHandle module) { return platform::ModuleFileName(module); }

bool ReadFixedVersionInfo(const std::string& fileName, FixedFileInfo& info) {
  const auto version = platform::ReadFileVersion(fileName);
  if (!version) return false;
  // A program file carries one version, which serves as file and product version.
  FixedFileInfo block{};
  block.Signature = kFixedFileInfoSignature;
  block.StrucVersion = 0x00010000;
  block.FileVersionMS = std::uint32_t(version->major) << 16 | version->minor;
  block.FileVersionLS = std::uint32_t(version->release) << 16 | version->build;
  block.ProductVersionMS = block.FileVersionMS;
  block.ProductVersionLS = block.FileVersionLS;
  info = block;
  return true;
}

}  // namespace genlib
