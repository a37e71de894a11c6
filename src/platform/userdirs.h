#pragma once
// The user's own folders, as the XDG base directory rules name them. Paths
// are the file system's bytes.

#include <string>

namespace platform {

// The folder the variable names when it is set to an absolute path, else
// HOME followed by underHome; "" where neither tells: without a home of its
// own the user has no such folder, and "/.cache" is nobody's.
std::string XdgUserDir(const char* variable, const char* underHome);

// Where the user's cached files go: XDG_CACHE_HOME, else ~/.cache.
std::string UserCacheHome();

}  // namespace platform
