#include "model/uPFce.h"

#include <cerrno>
#include <cstdio>

#include "platform/connection.h"
#include "platform/convert.h"
#include "platform/cp1250.h"
#include "platform/download.h"
#include "platform/errors.h"
#include "platform/fileversion.h"
#include "platform/files.h"

bool GetFileVersion(const std::string& fileName, uint16_t& major, uint16_t& minor, uint16_t& release, uint16_t& build) {
  const auto v = platform::ReadFileVersion(fileName);
  if (!v) return false;
  major = v->major;
  minor = v->minor;
  release = v->release;
  build = v->build;
  return true;
}

std::string FileVersionText(const std::string& fileName) {
  uint16_t major, minor, release, build;
  if (!GetFileVersion(fileName, major, minor, release, build)) {
    return "Version information not included in this file";
  }
  return std::to_string(major) + '.' + std::to_string(minor) + '.' + std::to_string(release) + '.' +
         std::to_string(build);
}

int32_t FileBuildNumber(const std::string& fileName) {
  uint16_t major, minor, release, build;
  if (!GetFileVersion(fileName, major, minor, release, build)) return 0;
  return build;
}

bool IsOnline() { return platform::ConnectionAvailable(); }

bool DownloadFile(const std::string& url, const std::string& fileName, const platform::DownloadLimits& limits) {
  std::string reason;
  if (platform::DownloadUrlToFile(url, fileName, limits, &reason)) return true;
  // The user is told only that the download failed; why goes to standard
  // error, which the desktop session keeps, for whoever looks after the computer.
  std::fprintf(stderr, "Zorvik: download of %s into %s failed: %s\n", platform::Cp1250ToUtf8(url).c_str(),
               platform::Cp1250ToUtf8(fileName).c_str(), platform::Cp1250ToUtf8(reason).c_str());
  return false;
}

void ReadVersionFile(const std::string& fileName, int32_t& number, std::string& notes) {
  const auto bytes = platform::ReadFileBytes(fileName, nullptr, kVersionFileMaxBytes);
  if (!bytes) throw platform::EInOutError::FromErrno(fileName, ENOENT);
  const std::string& text = *bytes;

  // Lines end with LF, CR LF or at the end of the file; a file that ends with
  // a line break has no empty line after it.
  size_t pos = 0;
  auto nextLine = [&] {
    const size_t lf = text.find('\n', pos);
    const size_t end = lf == std::string::npos ? text.size() : lf;
    std::string line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    pos = lf == std::string::npos ? text.size() : lf + 1;
    return line;
  };

  const int32_t newest = platform::StrToInt(nextLine());
  std::string lines;
  while (pos < text.size()) lines += nextLine() + "\r\n";
  number = newest;
  notes = std::move(lines);
}
