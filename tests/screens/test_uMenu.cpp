// The main menu: start-up with and without a test, loading, saving, the
// two-question rule, the confirmations, the dialogs' directory, the language.
#include <QDir>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "support/ScreenFixture.h"
#include "screens/uMenu.h"
#include "screens/uPZTest.h"
#include "screens/uUpravitT.h"
#include "screens/uZHeslo.h"
#include "screens/uZTest.h"
#include "screens/uNTest.h"
#include "platform/profile.h"

using namespace toolkit;

namespace {

using Menu = ScreenTest;

TEST_F(Menu, StartedWithoutATestOnlyTheTestButtonsAreDisabled) {
  Start();
  EXPECT_TRUE(TestButtonsDisabled());
  EXPECT_TRUE(fMenu->bVlastnostiTestu->isEnabled());
  EXPECT_TRUE(fMenu->bNacistTest->isEnabled());
  EXPECT_TRUE(fMenu->bKonec->isEnabled());
  EXPECT_FALSE(CurrentTest.Exists);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(Application()->MainForm(), fMenu);
}

TEST_F(Menu, AnArgumentNamingNoFileIsIgnored) {
  Start({dir.File("chybi.sst")});
  EXPECT_TRUE(TestButtonsDisabled());
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(Menu, StartedWithATestFileLoadsItAndEnablesTheTestButtons) {
  const std::string path = MakeTest("Zem\xECpis", 3);
  Start({path});
  EXPECT_TRUE(CurrentTest.Exists);
  EXPECT_FALSE(CurrentTest.Changed);
  EXPECT_EQ(CurrentTest.FileName, path);
  EXPECT_EQ(QuestionCount(CurrentTest), 3);
  EXPECT_TRUE(TestButtonsEnabled());
}

TEST_F(Menu, ATestNamedBeyondTheCodePageOpensFromTheCommandLineAndTheDialogAndSavesUnderSuchAName) {
  // "Тест crème.sst" as the file system names it.
  std::string native = dir.Path() + "\xD0\xA2\xD0\xB5\xD1\x81\xD1\x82 cr\xC3\xA8me.sst";
  std::filesystem::rename(MakeTest("Zemepis", 3), native);
  char program[] = "zorvik";
  char* argv[] = {program, native.data()};
  Start({TApplication::CommandLine(2, argv)[1]});
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(CurrentTest.Name, "Zemepis");
  EXPECT_TRUE(TestButtonsEnabled());

  // Picked in the open dialog.
  CurrentTest = TDTest{};
  FileDialogs::QueuePickedName(QString::fromStdString(native));
  Click(fMenu->bNacistTest);
  EXPECT_EQ(CurrentTest.Name, "Zemepis");
  EXPECT_TRUE(TestButtonsEnabled());

  // Saved under another such name, typed without its extension.
  const std::string copy = dir.Path() + "\xD0\x9A\xD0\xBE\xD0\xBF\xD0\xB8\xD1\x8F";  // "Копия"
  CurrentTest.Changed = true;
  FileDialogs::QueuePickedName(QString::fromStdString(copy));
  Click(fMenu->bUlozitTest);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_FALSE(CurrentTest.Changed);
  ASSERT_TRUE(std::filesystem::exists(copy + ".sst"));
  CurrentTest = TDTest{};
  FileDialogs::QueuePickedName(QString::fromStdString(copy + ".sst"));
  Click(fMenu->bNacistTest);
  EXPECT_EQ(CurrentTest.Name, "Zemepis");
  // Nothing went to a name of question marks instead.
  for (const auto& e : std::filesystem::directory_iterator(dir.Path()))
    EXPECT_EQ(e.path().filename().string().find('?'), std::string::npos) << e.path();
}

TEST_F(Menu, ARefusedHeaderIsShownBeforeTheMenuAndNoTestIsLoaded) {
  testsupport::WriteBytes(dir.File("stary.sst"), "CodeN002whatever");
  Start({dir.File("stary.sst")});
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].Caption, "Chyba...");
  EXPECT_EQ(Boxes()[0].Icon, TMsgIcon::None);
  EXPECT_FALSE(fMenu->isVisible());
  EXPECT_TRUE(TestButtonsDisabled());
}

TEST_F(Menu, ABodyThatFailsIsShownAsAnErrorAndTheProgramStartsWithoutATest) {
  testsupport::WriteBytes(dir.File("vadny.sst"), "CodN002ano\r\n");
  Start({dir.File("vadny.sst")});
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].Caption, "Zorvik");
  EXPECT_EQ(Boxes()[0].Icon, TMsgIcon::Error);
  EXPECT_EQ(Boxes()[0].Text, "'ano' is not a valid boolean value");
  EXPECT_FALSE(CurrentTest.Exists);
  EXPECT_TRUE(TestButtonsDisabled());
}

TEST_F(Menu, LoadingOverUnsavedChangesAsksAndNoKeepsEverything) {
  const std::string first = MakeTest("Prvni", 2);
  const std::string second = MakeTest("Druhy", 5);
  Start({first});
  CurrentTest.Changed = true;
  const TDTest before = CurrentTest;

  MessageBoxes::QueueAnswer(TMsgButton::No);
  fMenu->bNacistTest->click();
  EXPECT_EQ(CurrentTest, before);
  EXPECT_TRUE(TestButtonsEnabled());
  EXPECT_TRUE(FileDialogs::Shown().empty());
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].Caption, Cp1250("Načíst..."));
  EXPECT_EQ(Boxes()[0].Text, LangText("TestZmenenNacistNovyBezUlozeni"));
  EXPECT_EQ(Boxes()[0].Icon, TMsgIcon::Warning);

  MessageBoxes::QueueAnswer(TMsgButton::Yes);
  FileDialogs::QueueFileName(second);
  fMenu->bNacistTest->click();
  EXPECT_EQ(CurrentTest.Name, "Druhy");
  EXPECT_FALSE(CurrentTest.Changed);
}

TEST_F(Menu, LoadingWithoutChangesAsksNothingAndACancelStillRefreshesTheButtons) {
  Start();
  CurrentTest.Exists = true;  // made meanwhile, as the properties screen would
  FileDialogs::QueueCancel();
  fMenu->bNacistTest->click();
  EXPECT_TRUE(Boxes().empty());
  ASSERT_EQ(FileDialogs::Shown().size(), 1u);
  EXPECT_EQ(FileDialogs::Shown()[0].Name, "od1");
  EXPECT_EQ(FileDialogs::Shown()[0].Filter, "Soubory s testy|*.sst");
  EXPECT_TRUE(TestButtonsEnabled());
}

TEST_F(Menu, SavingAddsTheExtensionAndClearsTheChanges) {
  Start({MakeTest("Ulozeny", 2)});
  CurrentTest.Changed = true;
  FileDialogs::QueueFileName(dir.File("kopie"));
  fMenu->bUlozitTest->click();
  EXPECT_FALSE(CurrentTest.Changed);
  EXPECT_EQ(CurrentTest.FileName, dir.File("kopie.sst"));
  TDTest back;
  LoadTest(back, dir.File("kopie.sst"));
  EXPECT_EQ(back.Name, "Ulozeny");
}

TEST_F(Menu, AFailedSaveKeepsTheChanges) {
  Start({MakeTest("Ulozeny", 2)});
  CurrentTest.Changed = true;
  const std::string locked = dir.File("zamcena");
  std::filesystem::create_directory(locked);
  std::filesystem::permissions(locked, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  FileDialogs::QueueFileName(locked + "/kopie.sst");
  fMenu->bUlozitTest->click();
  EXPECT_TRUE(CurrentTest.Changed);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].Icon, TMsgIcon::Error);
}

TEST_F(Menu, ATestOfOneQuestionIsNotRunAndTwoAre) {
  Start({MakeTest("Jedna", 1)});
  fMenu->bSpustitTest->click();
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].Caption, "Test");
  EXPECT_EQ(Boxes()[0].Text, LangText("ProSpusteniPotrebaDveOtz"));
  EXPECT_EQ(Boxes()[0].Icon, TMsgIcon::None);
  EXPECT_EQ(Boxes()[0].Buttons, std::vector<TMsgButton>{TMsgButton::Ok});

  MessageBoxes::Clear();
  EXPECT_TRUE(TForm::ShownModals().empty());
  AppendQuestion(CurrentTest);
  fMenu->bSpustitTest->click();
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(TForm::ShownModals(), (std::vector<std::string>{"fPZTest", "fZTest"}));
}

TEST_F(Menu, ClosingWithUnsavedChangesAsksAndNoKeepsTheProgramRunning) {
  Start({MakeTest("Zmeneny", 2)});
  fMenu->show();
  CurrentTest.Changed = true;
  MessageBoxes::QueueAnswer(TMsgButton::No);
  fMenu->bKonec->click();
  EXPECT_TRUE(fMenu->isVisible());
  EXPECT_FALSE(Application()->Terminated());
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].Caption, Cp1250("Ukončit..."));
  EXPECT_EQ(Boxes()[0].Text, LangText("TestZmenenKonecAppBezUlozeni"));
  EXPECT_TRUE(CurrentTest.Exists);
  EXPECT_TRUE(CurrentTest.Changed);
}

TEST_F(Menu, ClosingWithoutChangesEndsTheProgramAtOnce) {
  Start();
  fMenu->show();
  fMenu->close();
  EXPECT_TRUE(Boxes().empty());
  EXPECT_FALSE(fMenu->isVisible());
  EXPECT_TRUE(Application()->Terminated());
}

TEST_F(Menu, TheDialogsStartInTheDefaultDirectoryOnlyWhileTheSettingsSaySo) {
  testsupport::TempDir tests;
  testsupport::WriteBytes(dir.File("Nastaveni.ini"), "[Nastaveni]\r\nPVAdr=0\r\nVAdr=" + tests.Path() + "\r\n");
  Start();
  fMenu->show();
  FileDialogs::QueueCancel();
  fMenu->bNacistTest->click();
  FileDialogs::QueueCancel();
  fMenu->bUlozitTest->setEnabled(true);
  fMenu->bUlozitTest->click();
  ASSERT_EQ(FileDialogs::Shown().size(), 2u);
  EXPECT_EQ(FileDialogs::Shown()[0].InitialDir, "");
  EXPECT_EQ(FileDialogs::Shown()[1].InitialDir, "");
  EXPECT_EQ(FileDialogs::Shown()[0].Directory, FromQ(QDir::currentPath()));

  // The settings screen switches it on; it holds at once.
  Settings.PVAdr = true;
  fMenu->bNastaveni->click();
  FileDialogs::QueueCancel();
  fMenu->bNacistTest->click();
  FileDialogs::QueueCancel();
  fMenu->bUlozitTest->setEnabled(true);
  fMenu->bUlozitTest->click();
  ASSERT_EQ(FileDialogs::Shown().size(), 4u);
  EXPECT_EQ(FileDialogs::Shown()[2].Directory, tests.Path());
  EXPECT_EQ(FileDialogs::Shown()[3].Directory, tests.Path());
}

TEST_F(Menu, ANewLanguageShowsAtTheNextActivation) {
  Start();
  fMenu->show();
  EXPECT_EQ(fMenu->Caption(), Cp1250("Hlavní menu"));
  EXPECT_EQ(fMenu->bSpustitTest->Caption(), "Spustit test");
  Settings.pJazyk = "English";
  EXPECT_EQ(fMenu->Caption(), Cp1250("Hlavní menu"));
  // A modal screen closing gives the activation back to the menu.
  CurrentTest.PasswordRequired = true;
  fMenu->bUpravitTest->setEnabled(true);
  fMenu->bUpravitTest->click();
  EXPECT_EQ(TForm::ShownModals(), (std::vector<std::string>{"fZHeslo", "fUpravitT"}));
  EXPECT_EQ(fMenu->Caption(), "Main menu");
  EXPECT_EQ(fMenu->bSpustitTest->Caption(), "Run test");
}

// A table that is a folder or a FIFO cannot be read: the menu says so with
// the read error, not that it cannot be written, and the start never waits on it.
TEST_F(Menu, ALanguageTableThatCannotBeReadIsNamedByItsReadError) {
  const std::string table = dir.File("jazyk.ini");
  const struct {
    const char* kind;
    std::function<void()> make;
    const char* reason;
  } cases[] = {
      {"folder", [&] { std::filesystem::create_directory(table); }, "Is a directory"},
      {"fifo", [&] { ASSERT_EQ(::mkfifo(table.c_str(), 0644), 0); }, "Not a regular file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    DestroyScreens();
    MessageBoxes::Clear();
    std::filesystem::remove_all(table);
    c.make();
    Start();
    Open(fMenu);
    EXPECT_EQ(fMenu->bSpustitTest->Caption(), "!_SpustitTest");
    ASSERT_FALSE(Boxes().empty());
    for (const TShownBox& box : Boxes()) {
      EXPECT_EQ(box.Text, "Cannot access file \"" + table + "\": " + c.reason);
      EXPECT_EQ(box.Icon, TMsgIcon::Error);
    }
    fMenu->hide();
    EXPECT_FALSE(std::filesystem::is_regular_file(table));
  }
}

TEST_F(Menu, TheHelpButtonAsksForTheContents) {
  Start();
  std::vector<std::pair<int, int>> commands;
  // The router on the menu asks its own handler first.
  fMenu->HelpRouter1->OnHelp = [&](uint16_t c, int32_t d, bool& callHelp) {
    commands.emplace_back(c, d);
    callHelp = false;
    return true;
  };
  fMenu->bNapoveda->click();
  fMenu->HelpRouter1->OnHelp = nullptr;
  EXPECT_EQ(commands, (std::vector<std::pair<int, int>>{{HELP_TAB, 0}}));
  EXPECT_EQ(fMenu->bSpustitTest->HelpContext(), 1001);
  EXPECT_EQ(fMenu->bKonec->HelpContext(), 1011);
}

// The times a file of that name is put in place in the folder, since the watch began.
class Replacements {
 public:
  explicit Replacements(const std::string& dir) : fd_(inotify_init1(IN_NONBLOCK)) {
    // The temporary names moved away stand between two moves to the same
    // name, which would otherwise be merged into one event.
    inotify_add_watch(fd_, dir.c_str(), IN_MOVED_FROM | IN_MOVED_TO);
  }
  ~Replacements() { ::close(fd_); }
  int Of(const std::string& name) {
    alignas(inotify_event) char buf[4096];
    for (ssize_t n; (n = ::read(fd_, buf, sizeof buf)) > 0;) {
      for (char* p = buf; p < buf + n;) {
        const auto* ev = reinterpret_cast<const inotify_event*>(p);
        if ((ev->mask & IN_MOVED_TO) && ev->len && std::string(ev->name) == name) ++count_;
        p += sizeof(inotify_event) + ev->len;
      }
    }
    return count_;
  }

 private:
  int fd_;
  int count_ = 0;
};

TEST_F(Menu, AScreensMissingTextsGoIntoTheTableInOneReplaceWhileItIsShown) {
  const std::string kCesky = "\xC8" "esky";
  testsupport::WriteBytes(dir.File("jazyk.ini"), "[" + kCesky + "]\r\nJine=text\r\n");
  const auto inTable = [&](const char* key) {
    return platform::profile::ReadValue(testsupport::ReadBytes(dir.File("jazyk.ini")), kCesky, key, "");
  };
  // The start-up makes every screen, then shows the menu: each one burst.
  Replacements replaced(dir.Path());
  Start();
  const int started = replaced.Of("jazyk.ini");
  EXPECT_LE(started, 1);
  Open(fMenu);
  EXPECT_EQ(fMenu->bSpustitTest->Caption(), "!_SpustitTest");
  EXPECT_EQ(inTable("SpustitTest"), "!_SpustitTest");
  EXPECT_EQ(inTable("Konec"), "!_Konec");
  EXPECT_EQ(replaced.Of("jazyk.ini"), started + 1);

  // A screen opened from the menu has its own texts in the table while the
  // user works in it, not only once it closes.
  std::string whileOpen;
  int replacesWhileOpen = 0;
  TForm::QueueModal([&](TForm&) {
    whileOpen = inTable("JmenoTestu");
    replacesWhileOpen = replaced.Of("jazyk.ini");
  });
  Click(fMenu->bVlastnostiTestu);
  EXPECT_EQ(fNTest->bVytvorit->Caption(), "!_Vytvorit");
  EXPECT_EQ(whileOpen, "!_JmenoTestu");
  EXPECT_EQ(replacesWhileOpen, started + 2);
  EXPECT_EQ(replaced.Of("jazyk.ini"), started + 2);
  EXPECT_EQ(inTable("Jine"), "text");
  fMenu->hide();
}

}  // namespace
