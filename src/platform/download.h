#pragma once
// The blocking download of a URL into a file.

#include <cstdint>
#include <string>

namespace platform {

// Limits of one download: time in seconds, size in bytes.
struct DownloadLimits {
  long connect = 15;      // to reach the server
  long stalled = 30;      // with no data arriving
  long total = 120;       // for the whole transfer
  uint64_t maxBytes = 0;  // the largest body taken; 0: no limit
};

// Fetches an http or https URL into the file at path (both code page 1250),
// following redirects; an https address is never followed to plain http. True
// only when the whole resource arrived with a success status; the file then
// holds exactly what was received. On every failure (no server, an error
// status, a transfer cut short, a time limit, a body larger than the limit, a
// file that cannot be written) the result is false and the file at path is
// left as it was, and reason, when given, says why in one line (code page 1250,
// as the file errors give it). Blocks the calling thread; never throws.
bool DownloadUrlToFile(const std::string& url, const std::string& path, const DownloadLimits& limits = {},
                       std::string* reason = nullptr);

// The protocols a redirect may lead to from this URL: only https from https.
const char* RedirectProtocols(const std::string& url);

}  // namespace platform
