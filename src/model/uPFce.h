#pragma once
// Version information, connection check and download for the update check and
// the information screen; and the version file "inf.dat" that the check
// downloads: line 1 the newest build number, the following lines notes on it.
// Text is code page 1250 throughout.

#include <cstdint>
#include <string>

#include "platform/download.h"

// The local copy of the version file, in the program's directory.
inline constexpr char kVersionFileName[] = "inf.dat";
// The version file is a few lines: a larger one is not ours, and a server that
// is slow to send it must not hold the program up for long.
inline constexpr uint64_t kVersionFileMaxBytes = 64 * 1024;
inline constexpr platform::DownloadLimits kVersionFileLimits{10, 20, 30, kVersionFileMaxBytes};

// The file version the file carries. False, with the outputs untouched, when it carries none.
bool GetFileVersion(const std::string& fileName, uint16_t& major, uint16_t& minor, uint16_t& release, uint16_t& build);

// "major.minor.release.build", or "Version information not included in this file".
std::string FileVersionText(const std::string& fileName);

// The build number, 0 to 65535; 0 when the file carries no version.
int32_t FileBuildNumber(const std::string& fileName);

// True when this computer is connected to a network beyond itself.
bool IsOnline();

// Downloads the URL into the file within the limits; true only when the whole
// resource arrived. A failed download leaves the file as it was and says why
// on standard error. Never throws.
bool DownloadFile(const std::string& url, const std::string& fileName, const platform::DownloadLimits& limits = {});

// Reads a version file: number from line 1, notes from the lines after it,
// each followed by CR LF. A missing or unreadable file, or one larger than
// kVersionFileMaxBytes, raises EInOutError, a first line that is not a whole
// number EConvertError; then neither output is set.
void ReadVersionFile(const std::string& fileName, int32_t& number, std::string& notes);
