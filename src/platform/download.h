#pragma once
// The blocking download of a URL into a file.

#include <string>

namespace platform {

// Time limits of one download, in seconds.
struct DownloadLimits {
  long connect = 15;     // to reach the server
  long stalled = 30;     // with no data arriving
  long total = 120;      // for the whole transfer
};

// Fetches an http or https URL into the file at path (both code page 1250),
// following redirects. True only when the whole resource arrived with a
// success status; the file then holds exactly what was received. On every
// failure (no server, an error status, a transfer cut short, a time limit, a
// file that cannot be written) the result is false and the file at path is
// left as it was. Blocks the calling thread; never throws.
bool DownloadUrlToFile(const std::string& url, const std::string& path,
                       const DownloadLimits& limits = {});

}  // namespace platform
