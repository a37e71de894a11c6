#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <set>

#include "support/TestSupport.h"
#include "platform/appdir.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "model/uDApp.h"

using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

const std::string kCesky =
    "\xC8"
    "esky";  // "Česky"

// Every test runs in a program directory of its own, with fresh settings.
class AppFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetProgramDir(dir_.Path());
    Settings = TNastaveni();
  }
  void TearDown() override { platform::SetProgramDir(""); }
  std::string File(const std::string& name) const { return dir_.File(name); }
  TempDir dir_;
};

}  // namespace

TEST_F(AppFiles, MissingSettingsFileGivesTheDefaultsAndCreatesNothing) {
  Settings.Protokol = true;
  Settings.pJazyk = "English";
  LoadSettings("Nastaveni.ini");
  EXPECT_FALSE(Settings.Protokol);
  EXPECT_EQ(Settings.VAdr, platform::ProgramDir() + "Testy");
  EXPECT_TRUE(Settings.PVAdr);
  EXPECT_FALSE(Settings.ZjistiAV);
  EXPECT_EQ(Settings.pJazyk, kCesky);
  EXPECT_FALSE(platform::FileExists(File("Nastaveni.ini")));
}

TEST_F(AppFiles, SettingsFlagsAndTextsAsPeopleWriteThem) {
  WriteBytes(File("Nastaveni.ini"), "[nastaveni]\nProtokol=2\nVAdr=\nPVAdr=0x0\nZjistiAV=ano\npJazyk = English \n");
  LoadSettings("Nastaveni.ini");
  EXPECT_TRUE(Settings.Protokol);
  EXPECT_EQ(Settings.VAdr, "");
  EXPECT_FALSE(Settings.PVAdr);
  EXPECT_FALSE(Settings.ZjistiAV);
  EXPECT_EQ(Settings.pJazyk, "English");

  WriteBytes(File("Nastaveni.ini"), "[Nastaveni]\r\nPVAdr=nic\r\nZjistiAV=0X10\r\n");
  LoadSettings("Nastaveni.ini");
  EXPECT_TRUE(Settings.PVAdr);
  EXPECT_TRUE(Settings.ZjistiAV);
  EXPECT_EQ(Settings.pJazyk, kCesky);
}

TEST_F(AppFiles, SaveWritesTheFiveKeysInOrderAndKeepsOtherLines) {
  Settings = {true, "/home/u\xE8itel/Testy", false, true, "English"};
  SaveSettings("Nastaveni.ini");
  EXPECT_EQ(ReadBytes(File("Nastaveni.ini")),
            "[Nastaveni]\r\n"
            "Protokol=1\r\n"
            "VAdr=/home/u\xE8itel/Testy\r\n"
            "PVAdr=0\r\n"
            "ZjistiAV=1\r\n"
            "pJazyk=English\r\n");
  const TNastaveni saved = Settings;
  Settings = TNastaveni();
  LoadSettings("Nastaveni.ini");
  EXPECT_EQ(Settings, saved);

  // A file kept by hand: values replaced where they stand, the rest untouched.
  WriteBytes(File("Nastaveni.ini"), "; moje\n[Jine]\nx=1\n[Nastaveni]\npJazyk=English\nProtokol=1\n");
  Settings.Protokol = false;
  Settings.pJazyk = kCesky;
  SaveSettings("Nastaveni.ini");
  EXPECT_EQ(ReadBytes(File("Nastaveni.ini")), "; moje\n[Jine]\nx=1\n[Nastaveni]\npJazyk=" + kCesky +
                                                  "\nProtokol=0\n"
                                                  "VAdr=/home/u\xE8itel/Testy\nPVAdr=0\nZjistiAV=1\n");
}

TEST_F(AppFiles, RefusedSaveRaisesAndKeepsFileAndSettings) {
  WriteBytes(File("Nastaveni.ini"), "[Nastaveni]\r\nProtokol=0\r\n");
  ::chmod(File("Nastaveni.ini").c_str(), 0444);
  Settings.Protokol = true;
  try {
    SaveSettings("Nastaveni.ini");
    ADD_FAILURE() << "saving into a read-only file succeeded";
  } catch (const platform::EIniFileException& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + File("Nastaveni.ini"));
  }
  EXPECT_TRUE(Settings.Protokol);
  EXPECT_EQ(ReadBytes(File("Nastaveni.ini")), "[Nastaveni]\r\nProtokol=0\r\n");
}

TEST_F(AppFiles, SaveReplacesTheFileOnceWithAllFiveValues) {
  // Each replacement of the file is one rename into the folder; five of them
  // would let a failure midway leave half the new values on disk.
  WriteBytes(File("Nastaveni.ini"), "[Nastaveni]\r\nProtokol=0\r\n");
  const int fd = inotify_init1(IN_NONBLOCK);
  ASSERT_GE(fd, 0);
  ASSERT_GE(inotify_add_watch(fd, dir_.Path().c_str(), IN_MOVED_TO | IN_CLOSE_WRITE), 0);
  Settings = {true, "/tmp/Testy", false, true, "English"};
  SaveSettings("Nastaveni.ini");
  int replaced = 0;
  alignas(inotify_event) char buf[4096];
  for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;) {
    for (char* p = buf; p < buf + n;) {
      const auto* ev = reinterpret_cast<const inotify_event*>(p);
      if ((ev->mask & IN_MOVED_TO) && ev->len && std::string(ev->name) == "Nastaveni.ini") ++replaced;
      p += sizeof(inotify_event) + ev->len;
    }
  }
  ::close(fd);
  EXPECT_EQ(replaced, 1);
  EXPECT_EQ(ReadBytes(File("Nastaveni.ini")),
            "[Nastaveni]\r\nProtokol=1\r\nVAdr=/tmp/Testy\r\nPVAdr=0\r\nZjistiAV=1\r\npJazyk=English\r\n");
}

TEST_F(AppFiles, MissingTextsAreMarkedInTheTable) {
  // No table at all: the placeholder is returned and written.
  EXPECT_EQ(LangText("Konec"), "!_Konec");
  EXPECT_EQ(ReadBytes(File("jazyk.ini")), "[" + kCesky + "]\r\nKonec=!_Konec\r\n");
  EXPECT_EQ(LangText("Konec"), "!_Konec");
  EXPECT_EQ(ReadBytes(File("jazyk.ini")), "[" + kCesky + "]\r\nKonec=!_Konec\r\n");

  // An empty text counts as missing; the section matches whatever its capitals.
  WriteBytes(File("jazyk.ini"),
             "[\xC8"
             "ESKY]\r\nKonec=\r\nZpet=Zp\xECt\r\n\r\n[English]\r\nZpet=Back\r\n");
  EXPECT_EQ(LangText("Zpet"), "Zp\xECt");
  EXPECT_EQ(LangText("Konec"), "!_Konec");
  EXPECT_EQ(ReadBytes(File("jazyk.ini")),
            "[\xC8"
            "ESKY]\r\nKonec=!_Konec\r\nZpet=Zp\xECt\r\n\r\n[English]\r\nZpet=Back\r\n");

  // A language the table lacks is built key by key; the next lookup sees
  // another program's change at once.
  Settings.pJazyk = "Deutsch";
  EXPECT_EQ(LangText("Zpet"), "!_Zpet");
  EXPECT_EQ(LangText("Konec"), "!_Konec");
  platform::ProfileFile(File("jazyk.ini"))
      .WriteString("Deutsch", "Zpet",
                   "Zur\xFC"
                   "ck");
  EXPECT_EQ(LangText("Zpet"),
            "Zur\xFC"
            "ck");
  EXPECT_EQ(ReadBytes(File("jazyk.ini")),
            "[\xC8"
            "ESKY]\r\nKonec=!_Konec\r\nZpet=Zp\xECt\r\n\r\n[English]\r\nZpet=Back\r\n"
            "[Deutsch]\r\nZpet=Zur\xFC"
            "ck\r\nKonec=!_Konec\r\n");
  EXPECT_EQ(ListLanguages(), (std::vector<std::string>{"\xC8"
                                                       "ESKY",
                                                       "English", "Deutsch"}));
}

TEST_F(AppFiles, ReadOnlyTableRefusesOnlyWhenATextIsMissing) {
  WriteBytes(File("jazyk.ini"), "[" + kCesky + "]\r\nKonec=Konec\r\n");
  ::chmod(File("jazyk.ini").c_str(), 0444);
  EXPECT_EQ(LangText("Konec"), "Konec");
  EXPECT_THROW(LangText("Zpet"), platform::EIniFileException);
  EXPECT_TRUE(ListLanguages() == std::vector<std::string>{kCesky});
  ::chmod(File("jazyk.ini").c_str(), 0644);
  ::unlink(File("jazyk.ini").c_str());
  EXPECT_TRUE(ListLanguages().empty());
}
