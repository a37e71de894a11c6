#include "platform/filetype.h"

#include <cerrno>
#include <optional>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/userdirs.h"

extern char** environ;

namespace platform {
namespace {

const char kDefaultSection[] = "[Default Applications]";
const char kRemovedSection[] = "[Removed Associations]";

std::string XmlText(const std::string& s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

// A desktop entry's string value: a backslash and the control characters are escaped.
std::string EntryValue(const std::string& s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default: out += c;
    }
  }
  return out;
}

std::string Folder(const std::string& base, const std::string& sub) {
  std::string out = base;
  while (out.size() > 1 && out.back() == '/') out.pop_back();
  return out + "/" + sub;
}

// Each folder on the way that is missing is made, private to the user as the
// XDG folders are. A folder without any write permission refuses, also to the
// superuser, as the atomic writer treats it.
void MakeFolders(const std::string& path) {
  std::string sofar;
  size_t pos = 0;
  while (pos <= path.size()) {
    size_t slash = path.find('/', pos);
    if (slash == std::string::npos) slash = path.size();
    sofar = path.substr(0, slash);
    pos = slash + 1;
    if (sofar.empty()) continue;
    struct stat st;
    if (::stat(sofar.c_str(), &st) == 0) {
      if (!S_ISDIR(st.st_mode)) throw EFileTypeError(sofar);
      continue;
    }
    const std::string parent = sofar.substr(0, sofar.rfind('/') == 0 ? 1 : sofar.rfind('/'));
    struct stat pst;
    if (::stat(parent.c_str(), &pst) == 0 && (pst.st_mode & 0222) == 0) throw EFileTypeError(sofar);
    if (::mkdir(sofar.c_str(), 0700) != 0 && errno != EEXIST) throw EFileTypeError(sofar);
  }
}

// The file routines take code page 1250 path text.
std::string CodePagePath(const std::string& native) { return PathText(native); }

void WriteFile(const std::string& folder, const std::string& name, const std::string& data) {
  MakeFolders(folder);
  const std::string native = Folder(folder, name);
  const std::string cp = CodePagePath(native);
  try {
    WriteFileAtomic(cp, data);
  } catch (const EInOutError&) {
    throw EFileTypeError(native);
  }
}

// Runs a tool quietly and waits for it; false when it ran and failed. A tool
// that is not installed is skipped: desktops without it read the files as they are.
bool RunQuietly(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid;
  const int err = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (err == ENOENT) return true;
  if (err != 0) return false;
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A path that every opener takes as it stands. xdg-open without a desktop
// splits the Exec line at blanks and hands its first word to the shell
// unquoted; GLib drops an entry whose program it cannot find after its own
// unescaping. So: no blank, quote, backslash, '%', nor anything a shell
// expands or ends a word at.
bool NeedsNoQuoting(const std::string& path) {
  if (path.empty() || path[0] != '/' || !ValidUtf8(path)) return false;
  for (char ch : path) {
    const unsigned char c = static_cast<unsigned char>(ch);
    const bool plain = c >= 0x80 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       std::string_view("/._-+,@=:").find(static_cast<char>(c)) != std::string_view::npos;
    if (!plain) return false;
  }
  return true;
}

// Points the link at the target, replacing an older link or file in one
// step; a folder of that name refuses.
void PlaceLink(const std::string& link, const std::string& target) {
  MakeFolders(link.substr(0, link.rfind('/')));
  const std::string temp = link + ".new";
  ::unlink(temp.c_str());
  if (::symlink(target.c_str(), temp.c_str()) != 0) throw EFileTypeError(link);
  if (::rename(temp.c_str(), link.c_str()) != 0) {
    ::unlink(temp.c_str());
    throw EFileTypeError(link);
  }
}

std::string WithoutLineEnd(const std::string& line) {
  size_t end = line.size();
  while (end > 0 && (line[end - 1] == '\n' || line[end - 1] == '\r' || line[end - 1] == ' ' || line[end - 1] == '\t'))
    --end;
  return line.substr(0, end);
}

}  // namespace

EFileTypeError::EFileTypeError(const std::string& nativePath)
    : Exception("Failed to set data for '" + PathText(nativePath) + "'") {}

TXdgHome UserXdgHome() {
  return {XdgUserDir("XDG_DATA_HOME", "/.local/share"), XdgUserDir("XDG_CONFIG_HOME", "/.config")};
}

std::string MimePackage(const TFileType& type) {
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  out += "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
  out += "  <mime-type type=\"" + XmlText(type.MimeType) + "\">\n";
  out += "    <comment>" + XmlText(type.Description) + "</comment>\n";
  if (!type.IconSvg.empty()) out += "    <icon name=\"" + XmlText(type.Id) + "\"/>\n";
  out += "    <glob pattern=\"" + XmlText(type.Pattern) + "\"/>\n";
  out += "  </mime-type>\n";
  out += "</mime-info>\n";
  return out;
}

std::string DesktopExecArgument(const std::string& argument) {
  // Only an argument with a reserved character is quoted: simple launchers
  // that split the line at blanks then still find a plain program path.
  const bool reserved = argument.empty() || argument.find_first_of(" \t\r\n\"'\\><~|&;$*?#()`") != std::string::npos;
  std::string out = reserved ? "\"" : "";
  for (char c : argument) {
    if (reserved && (c == '"' || c == '`' || c == '$' || c == '\\')) out += '\\';
    if (c == '%') out += '%';
    out += c;
  }
  if (reserved) out += '"';
  return EntryValue(out);
}

std::string DesktopEntry(const TFileType& type) {
  std::string out = "[Desktop Entry]\n";
  out += "Type=Application\n";
  out += "Name=" + EntryValue(type.AppName) + "\n";
  out += "Exec=" + DesktopExecArgument(type.ProgramPath) + " %f\n";
  if (!type.IconSvg.empty()) out += "Icon=" + EntryValue(type.Id) + "\n";
  out += "MimeType=" + EntryValue(type.MimeType) + ";\n";
  // It opens files; it is not a new entry of the desktop's menu.
  out += "NoDisplay=true\n";
  out += "Terminal=false\n";
  return out;
}

namespace {

// The type's lines in the section of removed associations without our entry;
// a line that named nothing else goes.
void WithoutRemoval(std::vector<std::string>& lines, const std::string& prefix, const std::string& desktopId) {
  bool inRemoved = false;
  for (size_t i = 0; i < lines.size();) {
    const std::string line = WithoutLineEnd(lines[i]);
    if (line.rfind('[', 0) == 0) {
      inRemoved = line == kRemovedSection;
    } else if (inRemoved && line.rfind(prefix, 0) == 0) {
      std::string kept;
      bool ours = false;
      const std::string list = line.substr(prefix.size());
      for (size_t pos = 0; pos <= list.size();) {
        size_t semi = list.find(';', pos);
        if (semi == std::string::npos) semi = list.size();
        const std::string id = list.substr(pos, semi - pos);
        if (id == desktopId) ours = true;
        else if (!id.empty()) kept += id + ";";
        pos = semi + 1;
      }
      if (ours && kept.empty()) {
        lines.erase(lines.begin() + static_cast<long>(i));
        continue;
      }
      if (ours) lines[i] = prefix + kept + "\n";
    }
    ++i;
  }
}

}  // namespace

std::string WithDefaultApplication(const std::string& mimeapps, const std::string& mimeType,
                                   const std::string& desktopId) {
  const std::string prefix = mimeType + "=";
  const std::string entry = prefix + desktopId;

  std::vector<std::string> lines;
  for (size_t pos = 0; pos < mimeapps.size();) {
    const size_t nl = mimeapps.find('\n', pos);
    const size_t end = nl == std::string::npos ? mimeapps.size() : nl + 1;
    lines.push_back(mimeapps.substr(pos, end - pos));
    pos = end;
  }
  if (!lines.empty() && lines.back().back() != '\n') lines.back() += '\n';
  // An earlier "remove from this type" of ours would hide the entry from every list.
  WithoutRemoval(lines, prefix, desktopId);

  size_t section = lines.size();
  for (size_t i = 0; i < lines.size(); ++i) {
    if (WithoutLineEnd(lines[i]) == kDefaultSection) {
      section = i;
      break;
    }
  }
  if (section == lines.size()) {
    lines.push_back(std::string(kDefaultSection) + "\n");
    lines.push_back(entry + "\n");
  } else {
    size_t end = section + 1;
    while (end < lines.size() && lines[end].rfind('[', 0) != 0) ++end;
    bool placed = false;
    size_t lastFilled = section;
    std::vector<std::string> kept(lines.begin(), lines.begin() + static_cast<long>(section) + 1);
    for (size_t i = section + 1; i < end; ++i) {
      if (lines[i].rfind(prefix, 0) == 0) {
        // The first line of the type becomes ours; a later one would contradict it.
        if (placed) continue;
        kept.push_back(entry + "\n");
        placed = true;
      } else {
        kept.push_back(lines[i]);
      }
      if (!WithoutLineEnd(kept.back()).empty()) lastFilled = kept.size() - 1;
    }
    if (!placed) kept.insert(kept.begin() + static_cast<long>(lastFilled) + 1, entry + "\n");
    kept.insert(kept.end(), lines.begin() + static_cast<long>(end), lines.end());
    lines = std::move(kept);
  }
  std::string out;
  for (const std::string& l : lines) out += l;
  return out;
}

std::string LaunchPath(const TFileType& type, const TXdgHome& where) {
  if (NeedsNoQuoting(type.ProgramPath)) return type.ProgramPath;
  return Folder(Folder(where.DataHome, type.Id), type.Id);
}

void RegisterFileType(const TFileType& type, const TXdgHome& where) {
  // Nothing is written where the user's folders are unknown.
  if (where.DataHome.empty()) throw EFileTypeError("~/.local/share/mime/packages/" + type.Id + ".xml");
  if (where.ConfigHome.empty()) throw EFileTypeError("~/.config/mimeapps.list");

  const std::string mime = Folder(where.DataHome, "mime");
  const std::string applications = Folder(where.DataHome, "applications");
  const std::string desktopId = type.Id + ".desktop";

  WriteFile(Folder(mime, "packages"), type.Id + ".xml", MimePackage(type));
  if (!type.IconSvg.empty()) {
    WriteFile(Folder(where.DataHome, "icons/hicolor/scalable/apps"), type.Id + ".svg", type.IconSvg);
  }
  // A program whose path an opener would misread is started through a link
  // of a plain name; the link resolves to the program, which finds its folder
  // through /proc/self/exe.
  TFileType launched = type;
  launched.ProgramPath = LaunchPath(type, where);
  if (launched.ProgramPath != type.ProgramPath) PlaceLink(launched.ProgramPath, type.ProgramPath);
  WriteFile(applications, desktopId, DesktopEntry(launched));

  const std::string mimeapps = Folder(where.ConfigHome, "mimeapps.list");
  std::optional<std::string> old;
  try {
    old = ReadFileBytes(CodePagePath(mimeapps));
  } catch (const EInOutError&) {
    // Another program's file we cannot read must not be replaced by a guess.
    throw EFileTypeError(mimeapps);
  }
  WriteFile(where.ConfigHome, "mimeapps.list", WithDefaultApplication(old.value_or(""), type.MimeType, desktopId));

  // Without fresh caches the desktop would not know the type or its program:
  // a cache that could not be rebuilt fails the registration, naming its folder.
  if (!RunQuietly({"update-mime-database", mime})) throw EFileTypeError(mime);
  if (!RunQuietly({"update-desktop-database", applications})) throw EFileTypeError(applications);
}

}  // namespace platform
