// Probes an unlucky user or an attacker would try on the program's files:
// a FIFO named like a test, the settings or the language table, a version
// file whose first line is megabytes long, and a program folder whose name
// code page 1250 cannot hold. Each ends at once in a clear error or the
// right result.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/TestSupport.h"
#include "model/uDApp.h"
#include "model/uDTest.h"
#include "model/uPFce.h"
#include "platform/appdir.h"
#include "platform/errors.h"

using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

class Probes : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetProgramDir(dir_.Path());
    Settings = TNastaveni();
  }
  void TearDown() override {
    platform::SetProgramDir("");
    Settings = TNastaveni();
  }
  std::string Fifo(const std::string& name) {
    const std::string path = dir_.File(name);
    EXPECT_EQ(::mkfifo(path.c_str(), 0644), 0);
    return path;
  }
  TempDir dir_;
};

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const platform::Exception& e) {
    return e.what();
  }
  return "no error";
}

}  // namespace

TEST_F(Probes, FifosNamedLikeTheProgramsFilesNeverBlock) {
  const std::string test = Fifo("t.sst");
  TDTest t;
  EXPECT_EQ(ErrorOf([&] { LoadTest(t, test); }), "Cannot access file \"" + test + "\": Not a regular file");
  EXPECT_FALSE(t.Exists);

  Fifo("Nastaveni.ini");
  Settings.pJazyk = "English";
  LoadSettings("Nastaveni.ini");
  EXPECT_EQ(Settings, (TNastaveni{false, dir_.Path() + "Testy", true, false,
                                  "\xC8"
                                  "esky"}));
  // Refused with the cause: the file cannot be read, not that it cannot be written.
  EXPECT_EQ(ErrorOf([] { SaveSettings("Nastaveni.ini"); }),
            "Cannot access file \"" + dir_.File("Nastaveni.ini") + "\": Not a regular file");

  Fifo("jazyk.ini");
  EXPECT_EQ(ErrorOf([] { LangText("Konec"); }),
            "Cannot access file \"" + dir_.File("jazyk.ini") + "\": Not a regular file");
  EXPECT_TRUE(ListLanguages().empty());
  EXPECT_TRUE(std::filesystem::is_fifo(dir_.File("jazyk.ini")));

  std::filesystem::remove(dir_.File("jazyk.ini"));
  std::filesystem::create_directory(dir_.File("jazyk.ini"));
  EXPECT_EQ(ErrorOf([] { LangText("Konec"); }),
            "Cannot access file \"" + dir_.File("jazyk.ini") + "\": Is a directory");
  EXPECT_TRUE(std::filesystem::is_empty(dir_.File("jazyk.ini")));
}

TEST_F(Probes, AVersionFileOfOneLongLineIsQuotedShort) {
  WriteBytes(dir_.File("inf.dat"),
             std::string(60'000, '9') + "x\r\nnotes\r\n");  // within the 64 KiB a version file may have
  int32_t number = 7;
  std::string notes = "kept";
  EXPECT_EQ(ErrorOf([&] { ReadVersionFile(dir_.File("inf.dat"), number, notes); }),
            "'" + std::string(80, '9') + "\x85' is not a valid integer value");
  EXPECT_EQ(number, 7);
  EXPECT_EQ(notes, "kept");
}

TEST_F(Probes, AProgramFolderBeyondTheCodePageKeepsSettingsAndTexts) {
  const std::string real = dir_.Path() + "Дмитрий/";
  std::filesystem::create_directories(real);
  WriteBytes(real + "jazyk.ini",
             "[\xC8"
             "esky]\r\nKonec=Konec programu\r\n");
  platform::SetNativeProgramDir(real);

  EXPECT_EQ(LangText("Konec"), "Konec programu");
  EXPECT_EQ(LangText("Novy"), "!_Novy");
  EXPECT_EQ(ReadBytes(real + "jazyk.ini"),
            "[\xC8"
            "esky]\r\nKonec=Konec programu\r\nNovy=!_Novy\r\n");
  EXPECT_EQ(ListLanguages(), std::vector<std::string>{"\xC8"
                                                      "esky"});

  Settings.Protokol = true;
  Settings.pJazyk = "English";
  SaveSettings("Nastaveni.ini");
  Settings = TNastaveni();
  LoadSettings("Nastaveni.ini");
  EXPECT_TRUE(Settings.Protokol);
  EXPECT_EQ(Settings.pJazyk, "English");
  EXPECT_TRUE(std::filesystem::exists(real + "Nastaveni.ini"));
  // The folder holds nothing else: no file landed under a name of question marks.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.Path()), {}), 1);
}
