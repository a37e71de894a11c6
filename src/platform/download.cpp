#include "platform/download.h"

#include <curl/curl.h>

#include <cctype>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/cp1250.h"
#include "platform/files.h"

namespace platform {
namespace {

struct Transfer {
  std::optional<AtomicFileWriter> file;
  uint64_t maxBytes = 0;
  uint64_t received = 0;
  bool writeFailed = false;
};

// Called by libcurl with each piece of the body. Exceptions must not cross
// into C code: a failed write, or a body growing past the limit, makes the
// transfer stop with an error.
size_t WriteBody(char* data, size_t size, size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  const size_t bytes = size * count;
  t->received += bytes;
  if (t->maxBytes != 0 && t->received > t->maxBytes) {
    t->writeFailed = true;
    return 0;
  }
  try {
    t->file->Write(data, bytes);
    return bytes;
  } catch (...) {
    t->writeFailed = true;
    return 0;
  }
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  }
  return true;
}

struct EasyDeleter {
  void operator()(CURL* c) const { curl_easy_cleanup(c); }
};

}  // namespace

const char* RedirectProtocols(const std::string& url) {
  // What came over https must not be handed over in the clear on its way.
  return StartsWithNoCase(url, "https:") ? "https" : "http,https";
}

bool DownloadUrlToFile(const std::string& url, const std::string& path, const DownloadLimits& limits) {
  try {
    static std::once_flag initialised;
    static CURLcode initResult = CURLE_OK;
    std::call_once(initialised, [] { initResult = curl_global_init(CURL_GLOBAL_DEFAULT); });
    if (initResult != CURLE_OK) return false;

    std::unique_ptr<CURL, EasyDeleter> curl(curl_easy_init());
    if (!curl) return false;
    CURL* c = curl.get();

    // The temporary file beside the target is opened first, so that a target
    // that cannot be written fails before anything is fetched.
    Transfer transfer;
    transfer.file.emplace(path);
    transfer.maxBytes = limits.maxBytes;

    const std::string address = Cp1250ToUtf8(url);
    bool ok = curl_easy_setopt(c, CURLOPT_URL, address.c_str()) == CURLE_OK;
    ok = ok && curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK;
    ok = ok && curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, RedirectProtocols(address)) == CURLE_OK;
    // A server that announces a larger body is refused before it sends it.
    if (limits.maxBytes != 0) {
      ok = ok && curl_easy_setopt(c, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBytes)) == CURLE_OK;
    }
    ok = ok && curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(c, CURLOPT_MAXREDIRS, 10L) == CURLE_OK;
    // An error page from the server is not the file that was asked for.
    ok = ok && curl_easy_setopt(c, CURLOPT_FAILONERROR, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, limits.connect) == CURLE_OK;
    ok = ok && curl_easy_setopt(c, CURLOPT_TIMEOUT, limits.total) == CURLE_OK;
    ok = ok && curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, limits.stalled) == CURLE_OK;
    ok = ok && curl_easy_setopt(c, CURLOPT_USERAGENT, "Zorvik") == CURLE_OK;
    ok = ok && curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &WriteBody) == CURLE_OK;
    ok = ok && curl_easy_setopt(c, CURLOPT_WRITEDATA, &transfer) == CURLE_OK;
    if (!ok) return false;

    if (curl_easy_perform(c) != CURLE_OK || transfer.writeFailed) return false;
    long status = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    // Only http and https are allowed, so a status is always there; a final
    // answer outside 2xx (a redirect that was not followed) is no file either.
    if (status < 200 || status > 299) return false;
    transfer.file->Commit();
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace platform
