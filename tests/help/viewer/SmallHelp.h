#pragma once
// Help files compiled with chmcmd for the viewer's tests: a small one (two
// pages with context numbers, a page in a subfolder with a picture, contents,
// index and a popup topic file), and large ones of many pages or one big
// picture.
#include <cstdlib>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace smallhelp {

// The picture's bytes: the viewer hands them over as they are.
inline const std::string kPicture = "\x89PNG picture bytes";

// Runs chmcmd on a project in dir; true when it compiled.
inline bool RunChmcmd(const testsupport::TempDir& dir, const std::string& project) {
  const std::string command =
      "cd '" + dir.Path() + "' && " CHMCMD " --no-html-scan --verbosity 0 " + project + " >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

// Compiles the small help into dir; the path of the ".chm", or "" when chmcmd failed.
inline std::string Compile(const testsupport::TempDir& dir) {
  using testsupport::WriteBytes;
  WriteBytes(dir.File("t.hhp"),
             "[OPTIONS]\nCompiled file=small.chm\nContents file=toc.hhc\nIndex file=idx.hhk\n"
             "Default topic=a.htm\nTitle=Mal\xC3\xA1 n\xC3\xA1pov\xC4\x9B"
             "da\n\n"
             "[FILES]\na.htm\nsub/b.htm\nsub/pic.png\nc.htm\npopups.txt\n\n"
             "[ALIAS]\nIDH_A=a.htm\nIDH_B=sub/b.htm\n\n[MAP]\n#define IDH_A 1005\n#define IDH_B 1006\n");
  WriteBytes(dir.File("a.htm"),
             "<html><head><meta charset=\"utf-8\"><title>A</title></head><body><h1>Str\xC3\xA1nka A</h1>"
             "<p><a href=\"sub/b.htm\">dál</a></p></body></html>");
  std::system(("mkdir -p '" + dir.File("sub") + "'").c_str());
  WriteBytes(dir.File("sub/b.htm"),
             "<html><head><title>B</title></head><body><h1>Page B</h1><img src=\"pic.png\">"
             "<a href=\"../c.htm\">C</a></body></html>");
  WriteBytes(dir.File("sub/pic.png"), kPicture);
  // A page in code page 1250.
  WriteBytes(dir.File("c.htm"), "<html><body><h1>\x8Elu\x9Dou\xE8k\xFD k\xF9\xF2</h1></body></html>");
  const std::string object = "<object type=\"text/sitemap\">";
  WriteBytes(dir.File("toc.hhc"),
             "<html><body><ul><li>" + object +
                 "<param name=\"Name\" value=\"A &amp; spol.\">"
                 "<param name=\"Local\" value=\"a.htm\"></object><ul><li>" +
                 object +
                 "<param name=\"Name\" value=\"B\"><param name=\"Local\" value=\"sub/b.htm\"></object></ul>"
                 "<li>" +
                 object +
                 "<param name=\"Name\" value=\"C\"><param name=\"Local\" value=\"c.htm\"></object>"
                 "</ul></body></html>");
  WriteBytes(dir.File("idx.hhk"), "<html><body><ul><li>" + object +
                                      "<param name=\"Name\" value=\"alfa\"><param name=\"Local\" "
                                      "value=\"a.htm\"></object><li>" +
                                      object +
                                      "<param name=\"Name\" value=\"beta\"><param "
                                      "name=\"Local\" value=\"sub/b.htm\"></object></ul></body></html>");
  WriteBytes(dir.File("popups.txt"),
             "; popups\n.topic 1005\nText of 1005\nsecond line\n\n.topic 1006 b.htm\n\n  Text of 1006\n"
             ".topic 1007\n\n");
  return RunChmcmd(dir, "t.hhp") ? dir.File("small.chm") : "";
}

// A help of the given number of pages p0.htm ..., each in the contents and the
// index, context number 5000 + n on page n and its popup text "Popup n" in
// popups.txt, and, when picture is not empty, a picture big.png of those
// bytes on the first page. The path of the ".chm", or "" when chmcmd failed.
inline std::string CompileLarge(const testsupport::TempDir& dir, int pages, const std::string& picture = "") {
  using testsupport::WriteBytes;
  const std::string object = "<object type=\"text/sitemap\">";
  std::string files, aliases, map, toc, index, popups;
  for (int n = 0; n < pages; ++n) {
    const std::string page = "p" + std::to_string(n) + ".htm";
    WriteBytes(dir.File(page), "<html><head><title>Page " + std::to_string(n) + "</title></head><body><h1>Page " +
                                   std::to_string(n) + "</h1>" +
                                   (n == 0 && !picture.empty() ? "<img src=\"big.png\">" : "") + "</body></html>");
    files += page + "\n";
    aliases += "IDH_" + std::to_string(n) + "=" + page + "\n";
    map += "#define IDH_" + std::to_string(n) + " " + std::to_string(5000 + n) + "\n";
    const std::string entry = "<li>" + object + "<param name=\"Name\" value=\"Page " + std::to_string(n) +
                              "\"><param name=\"Local\" value=\"" + page + "\"></object>\n";
    toc += entry;
    index += entry;
    popups += ".topic " + std::to_string(5000 + n) + "\nPopup " + std::to_string(n) + "\n\n";
  }
  if (!picture.empty()) {
    WriteBytes(dir.File("big.png"), picture);
    files += "big.png\n";
  }
  WriteBytes(dir.File("toc.hhc"), "<html><body><ul>\n" + toc + "</ul></body></html>");
  WriteBytes(dir.File("idx.hhk"), "<html><body><ul>\n" + index + "</ul></body></html>");
  WriteBytes(dir.File("popups.txt"), popups);
  WriteBytes(dir.File("large.hhp"),
             "[OPTIONS]\nCompiled file=large.chm\nContents file=toc.hhc\nIndex file=idx.hhk\n"
             "Default topic=p0.htm\nTitle=Large help\n\n[FILES]\n" +
                 files + "toc.hhc\nidx.hhk\npopups.txt\n\n[ALIAS]\n" + aliases + "\n[MAP]\n" + map);
  return RunChmcmd(dir, "large.hhp") ? dir.File("large.chm") : "";
}

}  // namespace smallhelp
