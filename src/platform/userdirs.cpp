#include "platform/userdirs.h"

#include <cstdlib>

namespace platform {

std::string XdgUserDir(const char* variable, const char* underHome) {
  const char* value = std::getenv(variable);
  // A relative value is invalid and ignored, as the XDG rules say.
  if (value && value[0] == '/') return value;
  const char* home = std::getenv("HOME");
  if (!home || home[0] != '/') return {};
  return std::string(home) + underHome;
}

std::string UserCacheHome() { return XdgUserDir("XDG_CACHE_HOME", "/.cache"); }

}  // namespace platform
