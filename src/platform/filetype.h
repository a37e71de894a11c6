#pragma once
// Registering a file type with the desktop, per user and without any special
// rights, as freedesktop.org desktops read it:
//   <data>/mime/packages/<Id>.xml          the pattern, the type, its description and icon
//   <data>/icons/hicolor/scalable/apps/<Id>.svg   the icon
//   <data>/applications/<Id>.desktop        the program and how it opens a file
//   <config>/mimeapps.list                  the program as the type's default application
// then the desktop's type and application caches are rebuilt with
// update-mime-database and update-desktop-database where they are installed.
// <data> and <config> are the user's XDG data and config folders.
//
// Paths here are the file system's own bytes, not code page 1250: the
// program's path is written into the desktop entry exactly as it lies on disk.
// File contents are UTF-8.

#include <string>

#include "platform/errors.h"

namespace platform {

struct TFileType {
  std::string Id;           // names the package, the icon and the desktop entry: "zorvik"
  std::string AppName;      // the program's name in the desktop entry
  std::string Pattern;      // the file names of the type: "*.sst"
  std::string MimeType;     // the type: "application/x-zorvik-test"
  std::string Description;  // what the file manager calls such a file
  std::string ProgramPath;  // the program that opens the files
  std::string IconSvg;      // the icon of the program and of its files; no icon file when empty
};

// The user's folders: XDG_DATA_HOME and XDG_CONFIG_HOME when they are set
// to absolute paths, else ~/.local/share and ~/.config; "" where neither the
// variable nor an absolute HOME tells.
struct TXdgHome {
  std::string DataHome;
  std::string ConfigHome;
};
TXdgHome UserXdgHome();

// A write that the file system refused: "Failed to set data for '%s'" with
// the file's path. What was written before it stays.
class EFileTypeError : public Exception {
 public:
  explicit EFileTypeError(const std::string& nativePath);
};

// Writes the four files in the order above, each atomically, creating the
// folders on the way, then refreshes the caches. The files come out the same
// every time; mimeapps.list keeps every other line. A refused folder or file,
// or a folder of `where` that is unknown (""), stops the registration with
// EFileTypeError; so does a cache tool that is installed but fails, with the
// folder of its cache.
//
// The desktop entry starts the program by a path that no opener can misread
// (LaunchPath): its own path where that holds no blank, quote, '%' or other
// character a launcher treats specially, else <data>/<Id>/<Id>, a link to it
// that registration places first.
void RegisterFileType(const TFileType& type, const TXdgHome& where);
std::string LaunchPath(const TFileType& type, const TXdgHome& where);

// The pieces, for the tests and for anyone who wants to look.
std::string MimePackage(const TFileType& type);
std::string DesktopEntry(const TFileType& type);
// One argument of a desktop entry's Exec line, quoted where it holds a
// reserved character and escaped, so that the desktop hands it over exactly:
// blanks, quotes, '$', '%' and '\' included.
std::string DesktopExecArgument(const std::string& argument);
// mimeapps.list with desktopId as the type's default application, and
// without desktopId among the type's removed associations.
std::string WithDefaultApplication(const std::string& mimeapps, const std::string& mimeType,
                                   const std::string& desktopId);

}  // namespace platform
