// The file-type registration in a temporary XDG home: what lands in each
// file, a second run, an odd program path, a refused folder, and what the
// desktop's own tools make of it where they are installed.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "support/TestSupport.h"
#include "platform/appdir.h"
#include "platform/filetype.h"

using namespace platform;
using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

TFileType Zorvik(const std::string& program = "/opt/zorvik/zorvik") {
  TFileType t;
  t.Id = "zorvik";
  t.AppName = "Zorvik";
  t.Pattern = "*.sst";
  t.MimeType = "application/x-zorvik-test";
  t.Description = "Soubor s testem aplikace Zorvik";
  t.ProgramPath = program;
  t.IconSvg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"16\"/>\n";
  return t;
}

class Registration : public ::testing::Test {
 protected:
  TXdgHome Home() const { return {dir.File("data"), dir.File("config")}; }
  std::string Data(const std::string& rel) const { return dir.File("data/" + rel); }
  std::string Config(const std::string& rel) const { return dir.File("config/" + rel); }

  // Every file under the home with its bytes.
  std::map<std::string, std::string> Snapshot() const {
    std::map<std::string, std::string> files;
    for (auto& e : std::filesystem::recursive_directory_iterator(dir.Path())) {
      if (e.is_regular_file()) files[e.path().string()] = ReadBytes(e.path().string());
    }
    return files;
  }

  TempDir dir;
};

// The arguments a desktop makes of an Exec value, read by the desktop entry
// rules: string escapes first, then the quoting, then "%%".
std::vector<std::string> ExecArguments(const std::string& value) {
  std::string unescaped;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) {
      const char n = value[++i];
      unescaped += n == 'n' ? '\n' : n == 't' ? '\t' : n == 'r' ? '\r' : n == 's' ? ' ' : n;
    } else {
      unescaped += value[i];
    }
  }
  std::vector<std::string> args;
  std::string arg;
  bool quoted = false, any = false;
  for (size_t i = 0; i < unescaped.size(); ++i) {
    const char c = unescaped[i];
    if (quoted) {
      if (c == '\\' && i + 1 < unescaped.size()) {
        arg += unescaped[++i];
      } else if (c == '"') {
        quoted = false;
      } else {
        arg += c;
      }
    } else if (c == '"') {
      quoted = any = true;
    } else if (c == ' ') {
      if (any) args.push_back(arg);
      arg.clear();
      any = false;
    } else {
      arg += c;
      any = true;
    }
  }
  if (any) args.push_back(arg);
  for (std::string& a : args) {
    std::string out;
    for (size_t i = 0; i < a.size(); ++i) {
      out += a[i];
      if (a[i] == '%' && i + 1 < a.size() && a[i + 1] == '%') ++i;
    }
    a = out;
  }
  return args;
}

std::string ExecValue(const std::string& entry) {
  const size_t at = entry.find("\nExec=");
  if (at == std::string::npos) return {};
  const size_t from = at + 6;
  return entry.substr(from, entry.find('\n', from) - from);
}

bool Installed(const char* tool) {
  return std::system(("command -v " + std::string(tool) + " >/dev/null 2>&1").c_str()) == 0;
}

std::string Output(const std::string& command) {
  std::string out;
  if (FILE* p = ::popen(command.c_str(), "r")) {
    std::array<char, 256> buf;
    while (size_t n = std::fread(buf.data(), 1, buf.size(), p)) out.append(buf.data(), n);
    ::pclose(p);
  }
  while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
  return out;
}

// What a stand-in program wrote into the pipe, up to its lines-th line end; ""
// when nothing came within ten seconds. Before a writer opens the pipe, poll
// reports nothing.
std::string ReadPipe(int fd, int lines = 1) {
  std::string out;
  pollfd p{fd, POLLIN, 0};
  while (::poll(&p, 1, 10000) > 0) {
    char buf[512];
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n <= 0) break;  // the writer is gone
    out.append(buf, static_cast<size_t>(n));
    if (std::count(out.begin(), out.end(), '\n') >= lines) break;
  }
  return out;
}

}  // namespace

TEST_F(Registration, TheFourFilesCarryPatternTypeDescriptionIconAndCommand) {
  RegisterFileType(Zorvik(), Home());
  EXPECT_EQ(ReadBytes(Data("mime/packages/zorvik.xml")),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
            "  <mime-type type=\"application/x-zorvik-test\">\n"
            "    <comment>Soubor s testem aplikace Zorvik</comment>\n"
            "    <icon name=\"zorvik\"/>\n"
            "    <glob pattern=\"*.sst\"/>\n"
            "  </mime-type>\n"
            "</mime-info>\n");
  EXPECT_EQ(ReadBytes(Data("icons/hicolor/scalable/apps/zorvik.svg")), Zorvik().IconSvg);
  EXPECT_EQ(ReadBytes(Data("applications/zorvik.desktop")),
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=Zorvik\n"
            "Exec=/opt/zorvik/zorvik %f\n"
            "Icon=zorvik\n"
            "MimeType=application/x-zorvik-test;\n"
            "NoDisplay=true\n"
            "Terminal=false\n");
  EXPECT_EQ(ReadBytes(Config("mimeapps.list")),
            "[Default Applications]\n"
            "application/x-zorvik-test=zorvik.desktop\n");
  // Folders made on the way are the user's own.
  struct stat st;
  ASSERT_EQ(::stat(Data("applications").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(Registration, RunningTwiceWritesTheSameFilesAndOneDefaultLine) {
  RegisterFileType(Zorvik(), Home());
  const auto first = Snapshot();
  RegisterFileType(Zorvik(), Home());
  const auto second = Snapshot();
  // The same set of files: no temporary file left, nothing added.
  EXPECT_EQ(first.size(), second.size());
  for (const char* ours :
       {"mime/packages/zorvik.xml", "applications/zorvik.desktop", "icons/hicolor/scalable/apps/zorvik.svg"}) {
    EXPECT_EQ(first.at(Data(ours)), second.at(Data(ours))) << ours;
  }
  EXPECT_EQ(first.at(Config("mimeapps.list")), second.at(Config("mimeapps.list")));
}

TEST_F(Registration, AProgramPathWithBlanksAndShellCharactersReachesTheDesktopWhole) {
  for (const std::string& path : {std::string("/home/u\xC4\x8Ditel/Moje programy/zorvik"),
                                  std::string("/opt/a \"b\" $HOME `x` 100% back\\slash/zorvik")}) {
    const std::string entry = DesktopEntry(Zorvik(path));
    const std::vector<std::string> args = ExecArguments(ExecValue(entry));
    ASSERT_EQ(args.size(), 2u) << entry;
    EXPECT_EQ(args[0], path);
    EXPECT_EQ(args[1], "%f");
  }
  EXPECT_EQ(DesktopExecArgument("/opt/Moje programy/zorvik"), "\"/opt/Moje programy/zorvik\"");
  // A plain path stays bare, so launchers that split at blanks find it too.
  EXPECT_EQ(DesktopExecArgument("/usr/lib/zorvik-2/zorvik"), "/usr/lib/zorvik-2/zorvik");
  EXPECT_EQ(DesktopExecArgument("/opt/100%/zorvik"), "/opt/100%%/zorvik");
  EXPECT_EQ(DesktopExecArgument("/a$b\"c`d%e\\f"), "\"/a\\\\$b\\\\\"c\\\\`d%%e\\\\\\\\f\"");
}

TEST_F(Registration, AnEarlierRemovalOfOurEntryIsUndoneAndEveryOtherLineKept) {
  const std::string removed =
      "[Removed Associations]\n"
      "application/x-zorvik-test=zorvik.desktop;\n"
      "text/plain=zorvik.desktop;gedit.desktop;\n"
      "a/b=other.desktop;zorvik.desktop;old.desktop;\n"
      "\n"
      "[Added Associations]\n"
      "a/b=zorvik.desktop;\n";
  EXPECT_EQ(WithDefaultApplication(removed, "a/b", "zorvik.desktop"),
            "[Removed Associations]\n"
            "application/x-zorvik-test=zorvik.desktop;\n"
            "text/plain=zorvik.desktop;gedit.desktop;\n"
            "a/b=other.desktop;old.desktop;\n"
            "\n"
            "[Added Associations]\n"
            "a/b=zorvik.desktop;\n"
            "[Default Applications]\n"
            "a/b=zorvik.desktop\n");
  // The type's line goes when we were all it named.
  EXPECT_EQ(WithDefaultApplication(removed, "application/x-zorvik-test", "zorvik.desktop"),
            "[Removed Associations]\n"
            "text/plain=zorvik.desktop;gedit.desktop;\n"
            "a/b=other.desktop;zorvik.desktop;old.desktop;\n"
            "\n"
            "[Added Associations]\n"
            "a/b=zorvik.desktop;\n"
            "[Default Applications]\n"
            "application/x-zorvik-test=zorvik.desktop\n");

  // What the desktop then offers for the type.
  if (!Installed("gio")) GTEST_SKIP() << "gio missing";
  std::filesystem::create_directories(Config(""));
  WriteBytes(Config("mimeapps.list"), removed);
  const std::string program = dir.File("zorvik");
  WriteBytes(program, "#!/bin/sh\n");
  ::chmod(program.c_str(), 0755);
  RegisterFileType(Zorvik(program), Home());
  const std::string listed = Output("env -u XDG_CURRENT_DESKTOP XDG_DATA_HOME='" + dir.File("data") +
                                    "' XDG_CONFIG_HOME='" + dir.File("config") +
                                    "' gio mime application/x-zorvik-test 2>&1");
  EXPECT_NE(listed.find("Default application for \u201Capplication/x-zorvik-test\u201D: zorvik.desktop"),
            std::string::npos)
      << listed;
  EXPECT_NE(listed.find("Registered applications:\n\tzorvik.desktop"), std::string::npos) << listed;
}

TEST_F(Registration, TheDefaultsFileKeepsEveryOtherLine) {
  // No file, no section, an older choice of ours, a line of another type.
  EXPECT_EQ(WithDefaultApplication("", "a/b", "z.desktop"), "[Default Applications]\na/b=z.desktop\n");
  EXPECT_EQ(WithDefaultApplication("[Added Associations]\ntext/plain=gedit.desktop;", "a/b", "z.desktop"),
            "[Added Associations]\ntext/plain=gedit.desktop;\n[Default Applications]\na/b=z.desktop\n");
  const std::string kept =
      "# mine\n"
      "[Default Applications]\n"
      "text/plain=gedit.desktop\n"
      "a/b=old.desktop;\n"
      "a/bc=other.desktop\n"
      "a/b=older.desktop\n"
      "\n"
      "[Added Associations]\n"
      "a/b=old.desktop;\n";
  EXPECT_EQ(WithDefaultApplication(kept, "a/b", "z.desktop"),
            "# mine\n"
            "[Default Applications]\n"
            "text/plain=gedit.desktop\n"
            "a/b=z.desktop\n"
            "a/bc=other.desktop\n"
            "\n"
            "[Added Associations]\n"
            "a/b=old.desktop;\n");
  // A new line goes after the section's last line, before the blank lines.
  EXPECT_EQ(WithDefaultApplication("[Default Applications]\nx/y=q.desktop\n\n\n[Other]\n", "a/b", "z.desktop"),
            "[Default Applications]\nx/y=q.desktop\na/b=z.desktop\n\n\n[Other]\n");

  std::filesystem::create_directories(Config(""));
  WriteBytes(Config("mimeapps.list"), kept);
  RegisterFileType(Zorvik(), Home());
  EXPECT_EQ(ReadBytes(Config("mimeapps.list")),
            WithDefaultApplication(kept, "application/x-zorvik-test", "zorvik.desktop"));
}

TEST_F(Registration, ARefusedFolderStopsWithTheErrorAndKeepsWhatWasWritten) {
  RegisterFileType(Zorvik(), Home());
  const std::string oldEntry = ReadBytes(Data("applications/zorvik.desktop"));
  const std::string oldDefaults = ReadBytes(Config("mimeapps.list"));

  ::chmod(Data("applications").c_str(), 0555);
  TFileType moved = Zorvik("/usr/local/bin/zorvik");
  moved.Description = "Test Zorviku";
  try {
    RegisterFileType(moved, Home());
    ADD_FAILURE() << "writing into a read-only folder succeeded";
  } catch (const EFileTypeError& e) {
    EXPECT_EQ(std::string(e.what()), "Failed to set data for '" + Data("applications/zorvik.desktop") + "'");
  }
  // The type written before the refusal stays; the entry and the defaults are untouched.
  EXPECT_NE(ReadBytes(Data("mime/packages/zorvik.xml")).find("Test Zorviku"), std::string::npos);
  EXPECT_EQ(ReadBytes(Data("applications/zorvik.desktop")), oldEntry);
  EXPECT_EQ(ReadBytes(Config("mimeapps.list")), oldDefaults);

  // A data folder that cannot take the first subfolder fails at once.
  TempDir other;
  ::chmod(other.Path().c_str(), 0555);
  try {
    RegisterFileType(Zorvik(), {other.File("data"), other.File("config")});
    ADD_FAILURE() << "a read-only home took the registration";
  } catch (const EFileTypeError& e) {
    EXPECT_EQ(std::string(e.what()), "Failed to set data for '" + other.File("data") + "'");
  }
}

TEST_F(Registration, ACacheTheDesktopsToolCannotRebuildFailsTheRegistrationNamingItsFolder) {
  if (!Installed("update-mime-database") || !Installed("update-desktop-database")) {
    GTEST_SKIP() << "the desktop's cache tools are missing";
  }
  // A folder standing where a tool writes its new cache makes the tool fail,
  // for any user, root included.
  const auto block = [](const std::string& path) {
    std::filesystem::create_directories(path);
    WriteBytes(path + "/x", "");
  };
  block(Data("mime/globs.new"));
  try {
    RegisterFileType(Zorvik(), Home());
    ADD_FAILURE() << "a type cache that was not rebuilt passed as registered";
  } catch (const EFileTypeError& e) {
    EXPECT_EQ(std::string(e.what()), "Failed to set data for '" + Data("mime") + "'");
  }
  std::filesystem::remove_all(Data("mime/globs.new"));
  block(Data("applications/mimeinfo.cache"));
  try {
    RegisterFileType(Zorvik(), Home());
    ADD_FAILURE() << "an application cache that was not rebuilt passed as registered";
  } catch (const EFileTypeError& e) {
    EXPECT_EQ(std::string(e.what()), "Failed to set data for '" + Data("applications") + "'");
  }
  std::filesystem::remove_all(Data("applications/mimeinfo.cache"));
  RegisterFileType(Zorvik(), Home());
}

TEST_F(Registration, TheUsersFoldersComeFromTheEnvironmentWhenAbsolute) {
  const char* keepHome = std::getenv("HOME");
  const std::string home = keepHome ? keepHome : "";
  ::setenv("HOME", "/home/ucitel", 1);
  ::setenv("XDG_DATA_HOME", "/srv/data", 1);
  ::setenv("XDG_CONFIG_HOME", "relative/config", 1);
  const TXdgHome h = UserXdgHome();
  EXPECT_EQ(h.DataHome, "/srv/data");
  EXPECT_EQ(h.ConfigHome, "/home/ucitel/.config");
  ::unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(UserXdgHome().DataHome, "/home/ucitel/.local/share");
  ::unsetenv("XDG_CONFIG_HOME");

  // Without a home the folders are unknown, not under "/", and nothing is written.
  for (const char* noHome : std::initializer_list<const char*>{"", "relative/home", nullptr}) {
    if (noHome) ::setenv("HOME", noHome, 1);
    else ::unsetenv("HOME");
    const TXdgHome none = UserXdgHome();
    ASSERT_EQ(none.DataHome, "") << (noHome ? noHome : "unset");
    ASSERT_EQ(none.ConfigHome, "");
  }
  ::setenv("XDG_CONFIG_HOME", dir.File("config").c_str(), 1);
  try {
    RegisterFileType(Zorvik(), UserXdgHome());
    ADD_FAILURE() << "registered without a data folder";
  } catch (const EFileTypeError& e) {
    EXPECT_EQ(std::string(e.what()), "Failed to set data for '~/.local/share/mime/packages/zorvik.xml'");
  }
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_FALSE(std::filesystem::exists(dir.File("config")));
  ::setenv("HOME", home.c_str(), 1);
}

TEST_F(Registration, TheRunningProgramsPathIsTheFileOnDisk) {
  const std::string path = NativeProgramFile();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.front(), '/');
  EXPECT_TRUE(std::filesystem::equivalent(path, "/proc/self/exe"));
}

TEST_F(Registration, TheDesktopsToolsAcceptTheEntryAndFindTheTypeAndItsProgram) {
  if (Installed("desktop-file-validate")) {
    RegisterFileType(Zorvik("/opt/Moje programy/zorvik"), Home());
    EXPECT_EQ(std::system(("desktop-file-validate '" + Data("applications/zorvik.desktop") + "'").c_str()), 0);
    // The desktop database was refreshed: it lists our entry for the type.
    EXPECT_NE(ReadBytes(Data("applications/mimeinfo.cache")).find("application/x-zorvik-test=zorvik.desktop"),
              std::string::npos);
  }
  if (!Installed("xdg-mime") || !Installed("mimetype")) GTEST_SKIP() << "xdg-mime or File::MimeInfo missing";
  RegisterFileType(Zorvik(), Home());
  for (const char* var :
       {"XDG_CURRENT_DESKTOP", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID", "DESKTOP_SESSION", "XDG_MENU_PREFIX"}) {
    ::unsetenv(var);
  }
  const std::string env = "XDG_DATA_HOME='" + dir.File("data") + "' XDG_CONFIG_HOME='" + dir.File("config") + "' ";
  WriteBytes(dir.File("x.sst"), "CodN002\r\n");
  EXPECT_EQ(Output(env + "xdg-mime query filetype '" + dir.File("x.sst") + "'"), "application/x-zorvik-test");
  EXPECT_EQ(Output(env + "xdg-mime query default application/x-zorvik-test"), "zorvik.desktop");
}

TEST_F(Registration, ADesktopLauncherOpensTheFileWithTheRegisteredProgram) {
  // A stand-in program in a folder with a blank reports the argument it got.
  if (!Installed("gio")) GTEST_SKIP() << "gio missing";
  std::filesystem::create_directories(dir.File("Moje programy"));
  const std::string pipe = dir.File("pipe");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const std::string program = dir.File("Moje programy/zorvik");
  WriteBytes(program, "#!/bin/sh\nprintf '%s\\n' \"$1\" > '" + pipe + "'\n");
  ::chmod(program.c_str(), 0755);
  RegisterFileType(Zorvik(program), Home());
  const std::string test = dir.File("M\xC5\xAFj test.sst");
  WriteBytes(test, "CodN002\r\n");

  const int fd = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(fd, 0);
  const std::string env = "env -u XDG_CURRENT_DESKTOP XDG_DATA_HOME='" + dir.File("data") + "' XDG_CONFIG_HOME='" +
                          dir.File("config") + "' ";
  EXPECT_EQ(std::system((env + "gio open '" + test + "' >/dev/null 2>&1").c_str()), 0);
  EXPECT_EQ(ReadPipe(fd), test + "\n");
  ::close(fd);
}

TEST_F(Registration, AProgramFolderWithABlankAQuoteAPercentAndCzechLettersOpensThroughEveryOpener) {
  if (!Installed("gio") || !Installed("xdg-open")) GTEST_SKIP() << "gio or xdg-open missing";
  // A stand-in program that reports the arguments it got, one to a line.
  const std::string folder = dir.File("x/Pro gram '\xC4\x8C" "e\xC5\xA1tina' 100%");
  std::filesystem::create_directories(folder);
  const std::string pipe = dir.File("pipe");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const std::string program = folder + "/zorvik";
  WriteBytes(program, "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > '" + pipe + "'\n");
  ::chmod(program.c_str(), 0755);
  RegisterFileType(Zorvik(program), Home());

  // The entry starts the program by a path that needs no quoting at all.
  const std::string exec = ExecValue(ReadBytes(Data("applications/zorvik.desktop")));
  const std::string launcher = exec.substr(0, exec.find(' '));
  EXPECT_EQ(exec, launcher + " %f");
  EXPECT_EQ(launcher.find_first_of("\"'%\\ "), std::string::npos) << exec;
  EXPECT_TRUE(std::filesystem::equivalent(launcher, program)) << exec;

  const std::string test = dir.File("\xD0\xA2\xD0\xB5\xD1\x81\xD1\x82 cr\xC3\xA8me.sst");
  WriteBytes(test, "CodN002\r\n");
  // No desktop session: a bare X display (xdg-open reads desktop entries only
  // where there is one; the stand-in never opens it), no desktop named, the
  // user's folders only.
  const std::string env = "env -u WAYLAND_DISPLAY -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION "
                          "-u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID -u XDG_MENU_PREFIX DISPLAY=:97 "
                          "XDG_DATA_HOME='" +
                          dir.File("data") + "' XDG_CONFIG_HOME='" + dir.File("config") + "' ";
  for (const char* opener : {"xdg-open", "gio open"}) {
    const int fd = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    const int rc = std::system((env + opener + " \"" + test + "\" >/dev/null 2>&1").c_str());
    EXPECT_EQ(rc, 0) << opener;
    EXPECT_EQ(ReadPipe(fd, 2), "1\n" + test + "\n") << opener;
    ::close(fd);
  }
  const std::string listed = Output(env + "gio mime application/x-zorvik-test 2>&1");
  EXPECT_NE(listed.find("Registered applications:\n\tzorvik.desktop"), std::string::npos) << listed;
}
