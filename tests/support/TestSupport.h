#pragma once
// Fixtures shared by the tests.

#include <string>

namespace testsupport {

// A fresh folder under the system's temporary directory, removed with its
// contents when the object goes. Path() ends with '/'.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

// Whole files as bytes; ReadBytes gives "" for a missing file.
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& data);

// The source tree, for test data files kept in the repository, and the
// folder the built programs lie in; both end with '/'. The environment
// (ZORVIK_SOURCE_DIR, ZORVIK_BIN_DIR) may point elsewhere; without it they are
// the folders of the build the test program came from.
std::string SourceDir();
std::string BinDir();

}  // namespace testsupport
