#include "support/TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testsupport {

TempDir::TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "zorvik-test-XXXXXX").string();
  if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl + "/";
}

TempDir::~TempDir() {
  std::error_code ec;
  // Tests may leave read-only files or folders behind; make them removable first.
  for (auto& e : std::filesystem::recursive_directory_iterator(path_, ec)) {
    std::filesystem::permissions(e.path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
  }
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void WriteBytes(const std::string& path, const std::string& data) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(data.data(), static_cast<std::streamsize>(data.size()));
}

namespace {
std::string Folder(const char* variable, const char* built) {
  const char* dir = std::getenv(variable);
  return std::string(dir && *dir ? dir : built) + "/";
}
}  // namespace

std::string SourceDir() { return Folder("ZORVIK_SOURCE_DIR", ZORVIK_SOURCE_DIR_BUILT); }
std::string BinDir() { return Folder("ZORVIK_BIN_DIR", ZORVIK_BIN_DIR_BUILT); }

}  // namespace testsupport
