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
  std::string writeError;  // why the body was refused
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
    t->writeError = "the body is larger than " + std::to_string(t->maxBytes) + " bytes";
    return 0;
  }
  try {
    t->file->Write(data, bytes);
    return bytes;
  } catch (const std::exception& e) {
    t->writeFailed = true;
    t->writeError = e.what();
    return 0;
  } catch (...) {
    t->writeFailed = true;
    t->writeError = "the file could not be written";
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

bool DownloadUrlToFile(const std::string& url, const std::string& path, const DownloadLimits& limits,
                       std::string* reason) {
  std::string why;
  const bool ok = [&]() -> bool {
    try {
      static std::once_flag initialised;
      static CURLcode initResult = CURLE_OK;
      std::call_once(initialised, [] { initResult = curl_global_init(CURL_GLOBAL_DEFAULT); });
      if (initResult != CURLE_OK) {
        why = curl_easy_strerror(initResult);
        return false;
      }

      std::unique_ptr<CURL, EasyDeleter> curl(curl_easy_init());
      if (!curl) {
        why = "libcurl could not start a transfer";
        return false;
      }
      CURL* c = curl.get();

      // The temporary file beside the target is opened first, so that a target
      // that cannot be written fails before anything is fetched.
      Transfer transfer;
      transfer.file.emplace(path);
      transfer.maxBytes = limits.maxBytes;

      CURLcode code = CURLE_OK;
      auto set = [&](CURLoption option, auto value) {
        if (code == CURLE_OK) code = curl_easy_setopt(c, option, value);
      };
      const std::string address = Cp1250ToUtf8(url);
      set(CURLOPT_URL, address.c_str());
      set(CURLOPT_PROTOCOLS_STR, "http,https");
      set(CURLOPT_REDIR_PROTOCOLS_STR, RedirectProtocols(address));
      // A server that announces a larger body is refused before it sends it.
      if (limits.maxBytes != 0) set(CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBytes));
      set(CURLOPT_FOLLOWLOCATION, 1L);
      set(CURLOPT_MAXREDIRS, 10L);
      // An error page from the server is not the file that was asked for.
      set(CURLOPT_FAILONERROR, 1L);
      set(CURLOPT_NOSIGNAL, 1L);
      set(CURLOPT_CONNECTTIMEOUT, limits.connect);
      set(CURLOPT_TIMEOUT, limits.total);
      set(CURLOPT_LOW_SPEED_LIMIT, 1L);
      set(CURLOPT_LOW_SPEED_TIME, limits.stalled);
      set(CURLOPT_USERAGENT, "Zorvik");
      set(CURLOPT_WRITEFUNCTION, &WriteBody);
      set(CURLOPT_WRITEDATA, &transfer);
      char detail[CURL_ERROR_SIZE] = {};
      set(CURLOPT_ERRORBUFFER, detail);
      if (code != CURLE_OK) {
        why = curl_easy_strerror(code);
        return false;
      }

      code = curl_easy_perform(c);
      if (transfer.writeFailed) {
        why = transfer.writeError;
        return false;
      }
      if (code != CURLE_OK) {
        why = detail[0] ? detail : curl_easy_strerror(code);
        return false;
      }
      long status = 0;
      curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
      // Only http and https are allowed, so a status is always there; a final
      // answer outside 2xx (a redirect that was not followed) is no file either.
      if (status < 200 || status > 299) {
        why = "the server answered with status " + std::to_string(status);
        return false;
      }
      transfer.file->Commit();
      return true;
    } catch (const std::exception& e) {
      why = e.what();
    } catch (...) {
      why = "an unknown error";
    }
    return false;
  }();
  if (reason) *reason = ok ? std::string() : why;
  return ok;
}

}  // namespace platform
