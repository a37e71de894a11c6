#include "help/hxhhapi.h"

#include <dlfcn.h>

#include <string>

#include "platform/appdir.h"

namespace help {

namespace {

void* g_library = nullptr;
THtmlHelpProc g_entry = nullptr;
THtmlHelpFailureProc g_failure = nullptr;
std::string g_libraryPath;
int g_attempts = 0;
TWinHelpProc g_winHelp = nullptr;

// The folder of the running program file itself, whatever the tests make of
// the program's directory: the library is built beside the program.
std::string ExecutableDir() {
  const std::string& path = platform::NativeProgramFile();
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
}

}  // namespace

bool LoadHtmlHelp() {
  if (g_library) return true;
  g_entry = nullptr;
  g_failure = nullptr;
  ++g_attempts;
  const std::string path = HtmlHelpLibraryPath();
  // Never unloaded: see the header. Neither call throws; a library whose own
  // start-up throws ends the program there, which no catch here could change.
  g_library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (g_library) {
    g_entry = reinterpret_cast<THtmlHelpProc>(dlsym(g_library, kHtmlHelpEntry));
    g_failure = reinterpret_cast<THtmlHelpFailureProc>(dlsym(g_library, kHtmlHelpFailureEntry));
  }
  return g_library != nullptr;
}

bool HtmlHelpAvailable() {
  if (!g_library) LoadHtmlHelp();
  return g_entry != nullptr;
}

THtmlHelpProc HtmlHelpEntry() { return g_entry; }

THelpFailure HtmlHelpLastFailure(std::string& file) {
  file.clear();
  if (!g_failure) return THelpFailure::None;
  const char* named = nullptr;
  const int32_t reason = g_failure(&named);
  if (named) file = named;
  if (reason < 1 || reason > 3) return THelpFailure::None;
  return static_cast<THelpFailure>(reason);
}

std::string HtmlHelpLibraryPath() { return g_libraryPath.empty() ? ExecutableDir() + kHtmlHelpLibrary : g_libraryPath; }

void SetHtmlHelpLibraryPath(const std::string& path) { g_libraryPath = path; }

void ResetHtmlHelp() {
  g_library = nullptr;
  g_entry = nullptr;
  g_failure = nullptr;
  g_attempts = 0;
}

int HtmlHelpLoadAttempts() { return g_attempts; }

int WinHelpA(THelpWindow window, const char* file, uint32_t command, uintptr_t data) {
  if (g_winHelp) return g_winHelp(window, file, command, data);
  return 0;
}

void SetWinHelpProc(TWinHelpProc proc) { g_winHelp = proc; }

}  // namespace help
