#pragma once
// The binding to the help viewer: a shared library of ours, loaded by name from
// the program's folder on first need, whose one entry point "HtmlHelpA" takes
// the viewer calls (caller window, file, command, data) and returns the window
// it showed, 0 on failure. The viewer side includes this header too, so both
// agree on the commands and the popup record.
//
// The library is opened so that it stays until the process ends: its windows
// are made in the application object's world, and unmapping its code after
// that object is gone would leave nothing safe to run at exit.

#include <cstdint>
#include <string>

namespace help {

// Viewer commands.
constexpr uint32_t HH_DISPLAY_TOC = 1;
constexpr uint32_t HH_DISPLAY_INDEX = 2;
constexpr uint32_t HH_DISPLAY_TEXT_POPUP = 14;
constexpr uint32_t HH_HELP_CONTEXT = 15;
constexpr uint32_t HH_CLOSE_ALL = 18;

// A window as the viewer calls see it: the address of the toolkit's window
// object, 0 for none. The viewer only compares it with windows that exist.
using THelpWindow = uintptr_t;

struct THHPoint {
  int32_t x = 0;
  int32_t y = 0;
};

struct THHMargins {
  int32_t left = -1, top = -1, right = -1, bottom = -1;
};

// A text popup. Its size field holds the record's real size, which the viewer
// checks before it reads any further field.
struct THHPopup {
  int32_t cbStruct = static_cast<int32_t>(sizeof(THHPopup));
  uintptr_t hinst = 0;
  uint32_t idString = 0;       // a context number of the popup topic file, when pszText is empty
  const char* pszText = "";    // code page 1250
  THHPoint pt;                 // screen point of the popup
  int32_t clrForeground = -1;  // -1: the viewer's own
  int32_t clrBackground = -1;
  THHMargins rcMargins;                      // -1 each: the viewer's own
  const char* pszFont = "MS Sans Serif, 8";  // "face, points"
};

// The entry point: data is a context number, a THHPopup*, a keyword pointer or
// 0, by command. File names are as the file system names them; "file.chm::/inner" names
// a file inside the help file.
using THtmlHelpProc = THelpWindow (*)(THelpWindow caller, const char* file, uint32_t command, uintptr_t data);
constexpr const char* kHtmlHelpEntry = "HtmlHelpA";

// The library's file name, looked for in the program's folder.
constexpr const char* kHtmlHelpLibrary = "libhxviewer.so";

// Why the viewer's last call showed nothing, as its second entry point
// "HtmlHelpFailure" tells: the reason, and through file the file concerned
// (as the file system names it; valid until the next viewer call).
enum class THelpFailure : int32_t {
  None = 0,           // nothing went wrong, or nothing to tell (a context without a topic)
  FileMissing = 1,    // the help file is not there
  FileDamaged = 2,    // it is empty, cut short, unreadable or no help file
  ViewerMissing = 3,  // a part of the viewer itself is missing (the library, its reader program)
};
using THtmlHelpFailureProc = int32_t (*)(const char** file);
constexpr const char* kHtmlHelpFailureEntry = "HtmlHelpFailure";

// Loads the library once and resolves its entry point; true when the library
// is loaded. A failed load is tried again at the next call; a library without
// the entry point stays loaded, and the entry stays unresolved.
bool LoadHtmlHelp();
// Loads when nothing is loaded yet; true when the entry point is there.
bool HtmlHelpAvailable();
// The entry point, null while it is not resolved.
THtmlHelpProc HtmlHelpEntry();
// The reason the viewer gave for its last call and the file it named; None
// when the library does not tell.
THelpFailure HtmlHelpLastFailure(std::string& file);
// The library that is (or would be) loaded, as the file system names it.
std::string HtmlHelpLibraryPath();

// Test seam: the full path of the library to load instead of the one beside
// the program; "" goes back to that one. Only for a library not yet loaded.
void SetHtmlHelpLibraryPath(const std::string& path);
// Test seam: forgets the loaded library (it stays mapped) so the next need loads anew.
void ResetHtmlHelp();
// How many times a load was tried (benchmarks and tests).
int HtmlHelpLoadAttempts();

// WinHelp has no viewer on Linux: its stand-in shows nothing and answers 0.
// Tests replace it to see what the router sends.
using TWinHelpProc = int (*)(THelpWindow window, const char* file, uint32_t command, uintptr_t data);
int WinHelpA(THelpWindow window, const char* file, uint32_t command, uintptr_t data);
void SetWinHelpProc(TWinHelpProc proc);  // null: the stand-in

}  // namespace help
