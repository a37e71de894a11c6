#include "model/uDApp.h"

#include "platform/appdir.h"
#include "platform/convert.h"
#include "platform/cp1250.h"
#include "platform/profile.h"

TNastaveni Settings;

namespace {

const char kSection[] = "Nastaveni";
const char kLanguageTable[] = "jazyk.ini";
// A default folder whose name code page 1250 cannot hold is kept twice:
// VAdr as the code page shows it, for every other reader of the file, and
// this key with the exact name, its UTF-8 bytes in ASCII (%XX beyond it).
const char kExactFolderKey[] = "VAdrUtf8";

std::string Escaped(const std::string& native) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : native) {
    if (c > 0x20 && c < 0x7F && c != '%') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

std::string Unescaped(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && platform::HexDigit(text[i + 1]) >= 0 && platform::HexDigit(text[i + 2]) >= 0) {
      out += static_cast<char>(platform::HexDigit(text[i + 1]) * 16 + platform::HexDigit(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string Trimmed(const std::string& s) {
  const size_t from = s.find_first_not_of(" \t");
  if (from == std::string::npos) return {};
  return s.substr(from, s.find_last_not_of(" \t") + 1 - from);
}

std::string TableOfLanguages() { return platform::ProgramDir() + kLanguageTable; }

}  // namespace

void LoadSettings(const std::string& fileName) {
  const platform::ProfileFile ini(platform::ProgramDir() + fileName);
  // A missing key gives the field's default; the default test folder lies beside the program.
  const TNastaveni d;
  Settings.Protokol = ini.ReadBool(kSection, "Protokol", d.Protokol);
  Settings.VAdr = ini.ReadString(kSection, "VAdr", platform::ProgramDir() + "Testy");
  // The exact name counts while VAdr still is what it was written as; a VAdr
  // changed by hand since then wins.
  const std::string exact = ini.ReadString(kSection, kExactFolderKey, "");
  if (!exact.empty()) {
    const std::string path = platform::PathText(Unescaped(exact));
    if (Trimmed(platform::PlainPathText(path)) == Trimmed(Settings.VAdr)) Settings.VAdr = path;
  }
  Settings.PVAdr = ini.ReadBool(kSection, "PVAdr", d.PVAdr);
  Settings.ZjistiAV = ini.ReadBool(kSection, "ZjistiAV", d.ZjistiAV);
  Settings.pJazyk = ini.ReadString(kSection, "pJazyk", d.pJazyk);
}

void SaveSettings(const std::string& fileName) {
  // One write for all five, so a refused write never leaves half the new values on disk.
  platform::ProfileFile ini(platform::ProgramDir() + fileName);
  platform::profile::Document doc = ini.ReadAll();
  const auto flag = [](bool on) { return on ? "1" : "0"; };
  doc.Set(kSection, "Protokol", flag(Settings.Protokol));
  if (platform::BeyondCodePage(Settings.VAdr)) {
    doc.Set(kSection, "VAdr", platform::PlainPathText(Settings.VAdr));
    doc.Set(kSection, kExactFolderKey, Escaped(platform::NativeOfPathText(Settings.VAdr)));
  } else {
    doc.Set(kSection, "VAdr", Settings.VAdr);
    doc.EraseKey(kSection, kExactFolderKey);
  }
  doc.Set(kSection, "PVAdr", flag(Settings.PVAdr));
  doc.Set(kSection, "ZjistiAV", flag(Settings.ZjistiAV));
  doc.Set(kSection, "pJazyk", Settings.pJazyk);
  ini.WriteAll(doc);
}

std::string LangText(const std::string& key) {
  platform::ProfileFile table(TableOfLanguages());
  std::string text = table.ReadString(Settings.pJazyk, key, "");
  if (text.empty()) {
    text = "!_" + key;
    // A screen looks up its texts in a burst: their placeholders go in together.
    table.WriteStringInBatch(Settings.pJazyk, key, text);
  }
  return text;
}

std::vector<std::string> ListLanguages() { return platform::ProfileFile(TableOfLanguages()).ReadSections(); }
