// The settings screen and the directory chooser, driven from the main menu:
// loading, storing and cancelling, a language gone from the table, the page
// kept, the chooser's presets, and the registration of the test file type.
#include <QDir>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QWindow>
#include <sys/stat.h>

#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "support/HttpServer.h"
#include "support/ScreenFixture.h"
#include "platform/appdir.h"
#include "platform/filetype.h"
#include "platform/profile.h"
#include "platform/connection.h"
#include "screens/uNastaveni.h"
#include "screens/uVyberAdr.h"
#include "screens/uZjistiA.h"

using namespace toolkit;

namespace {

const std::string kCesky =
    "\xC8"
    "esky";

class SettingsScreen : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    std::filesystem::create_directories(dir.File("Testy/Fyzika"));
    std::filesystem::create_directories(dir.File("Jinde"));
  }

  // Opens the settings from the main menu; the action runs inside it.
  void OpenSettings(std::function<void(TfNastaveni&)> action) {
    TForm::QueueModal([action](TForm& form) { action(static_cast<TfNastaveni&>(form)); });
    Click(fMenu->bNastaveni);
  }

  static void QueueChooser(std::function<void(TfVyberAdr&)> action) {
    TForm::QueueModal([action](TForm& form) { action(static_cast<TfVyberAdr&>(form)); });
  }

  std::string SettingsFile() const { return testsupport::ReadBytes(dir.File("Nastaveni.ini")); }

  // The folder as the tree names it.
  std::string Folder(const std::string& rel) const { return dir.File(rel); }
};

TEST_F(SettingsScreen, ShowingLoadsEveryControlAndNastavitStoresAndSaves) {
  Start();
  Settings = {true, dir.File("Testy"), false, true, "English"};
  OpenSettings([&](TfNastaveni& f) {
    EXPECT_TRUE(Find<TCheckBox>(&f, "chProtokol1")->Checked());
    EXPECT_FALSE(Find<TCheckBox>(&f, "chPVAdr")->Checked());
    EXPECT_EQ(Find<TEdit>(&f, "eVAdr")->Text(), dir.File("Testy"));
    EXPECT_TRUE(Find<TCheckBox>(&f, "cbZjistiAV")->Checked());
    auto* languages = Find<TComboBox>(&f, "cbJazyky");
    ASSERT_EQ(languages->ItemCount(), 2);
    EXPECT_EQ(languages->Item(0), kCesky);
    EXPECT_EQ(languages->Text(), "English");
    // Captions follow the chosen language.
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Settings"));
    EXPECT_EQ(f.pcNastaveni->tabText(0), QStringLiteral("General"));
    EXPECT_EQ(f.pcNastaveni->tabText(1), QStringLiteral("Files"));
    EXPECT_EQ(Find<TButton>(&f, "bAsSST")->text(), QStringLiteral("Register the sst file type for tests"));
    EXPECT_EQ(Find<TGroupBox>(&f, "gSoubory")->title(), QStringLiteral("Working with files"));

    Find<TCheckBox>(&f, "chProtokol1")->click();
    Find<TCheckBox>(&f, "chPVAdr")->click();
    Find<TCheckBox>(&f, "cbZjistiAV")->click();
    Find<TEdit>(&f, "eVAdr")->SetText(" /jinam/Testy/ ");
    languages->SetItemIndex(0);
    Click(Find<TButton>(&f, "bNastavit"));
    EXPECT_FALSE(f.isVisible());
  });
  EXPECT_EQ(Settings, (TNastaveni{false, " /jinam/Testy/ ", true, false, kCesky}));
  EXPECT_EQ(SettingsFile(),
            "[Nastaveni]\r\nProtokol=0\r\nVAdr= /jinam/Testy/ \r\nPVAdr=1\r\nZjistiAV=0\r\npJazyk=" + kCesky + "\r\n");
  // The menu took the new folder and language at once.
  EXPECT_EQ(fMenu->od1->InitialDir, " /jinam/Testy/ ");
  EXPECT_EQ(fMenu->sd1->InitialDir, " /jinam/Testy/ ");
  EXPECT_EQ(fMenu->bNastaveni->Caption(), Cp1250("Nastavení"));
  EXPECT_EQ(TForm::ShownModals(), std::vector<std::string>{"fNastaveni"});
}

TEST_F(SettingsScreen, ALanguageGoneFromTheTableIsKeptWhileTheOtherFourAreStored) {
  Start();
  Settings.pJazyk = "Deutsch";
  Settings.Protokol = false;
  OpenSettings([](TfNastaveni& f) {
    EXPECT_EQ(f.cbJazyky->ItemIndex(), -1);
    EXPECT_EQ(f.cbJazyky->Text(), "");
    f.chProtokol1->click();
    Click(f.bNastavit);
  });
  EXPECT_EQ(Settings.pJazyk, "Deutsch");
  EXPECT_TRUE(Settings.Protokol);
  EXPECT_NE(SettingsFile().find("Protokol=1\r\n"), std::string::npos);
  EXPECT_NE(SettingsFile().find("pJazyk=Deutsch\r\n"), std::string::npos);
}

TEST_F(SettingsScreen, ZrusitAfterChangingEveryControlLeavesSettingsAndFileAndTheNextShowingAsStored) {
  Start();
  Settings = {true, dir.File("Testy"), true, false, kCesky};
  SaveSettings("Nastaveni.ini");
  const TNastaveni stored = Settings;
  const std::string file = SettingsFile();
  OpenSettings([&](TfNastaveni& f) {
    f.chProtokol1->click();
    f.chPVAdr->click();
    f.cbZjistiAV->click();
    f.eVAdr->SetText("/jinam");
    f.cbJazyky->SetItemIndex(1);
    Click(f.bZrusit);
    EXPECT_FALSE(f.isVisible());
  });
  EXPECT_EQ(Settings, stored);
  EXPECT_EQ(SettingsFile(), file);
  OpenSettings([&](TfNastaveni& f) {
    EXPECT_TRUE(f.chProtokol1->Checked());
    EXPECT_TRUE(f.chPVAdr->Checked());
    EXPECT_FALSE(f.cbZjistiAV->Checked());
    EXPECT_EQ(f.eVAdr->Text(), dir.File("Testy"));
    EXPECT_EQ(f.cbJazyky->Text(), kCesky);
    // The close box does the same.
    f.chProtokol1->click();
    f.Close();
  });
  EXPECT_EQ(Settings, stored);
  EXPECT_EQ(fMenu->bNastaveni->Caption(), Cp1250("Nastavení"));
}

TEST_F(SettingsScreen, ARefusedSaveShowsTheErrorAndTheScreenStaysOpen) {
  Start();
  testsupport::WriteBytes(dir.File("Nastaveni.ini"), "[Nastaveni]\r\nProtokol=0\r\n");
  ::chmod(dir.File("Nastaveni.ini").c_str(), 0444);
  OpenSettings([&](TfNastaveni& f) {
    f.chProtokol1->click();
    Click(f.bNastavit);
    EXPECT_TRUE(f.isVisible());
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].Text, "Unable to write to " + dir.File("Nastaveni.ini"));
    EXPECT_EQ(Boxes()[0].Icon, TMsgIcon::Error);
  });
  EXPECT_TRUE(Settings.Protokol);
  EXPECT_EQ(SettingsFile(), "[Nastaveni]\r\nProtokol=0\r\n");
}

TEST_F(SettingsScreen, ThePageLastActiveOpensAgain) {
  Start();
  OpenSettings([](TfNastaveni& f) {
    EXPECT_EQ(f.pcNastaveni->ActivePage(), f.tsZakladni);
    QTest::mouseClick(f.pcNastaveni->tabBar(), Qt::LeftButton, {}, f.pcNastaveni->tabBar()->tabRect(1).center());
    EXPECT_TRUE(f.eVAdr->isVisible());
    Click(f.bZrusit);
  });
  OpenSettings([](TfNastaveni& f) { EXPECT_EQ(f.pcNastaveni->ActivePage(), f.tsSoubory); });
}

TEST_F(SettingsScreen, TheChooserCancelledKeepsTheTextExactly) {
  Start();
  // Not the form the tree would give the folder in: a detour and a trailing separator.
  const std::string typed = dir.File("Jinde/../Testy//");
  Settings.VAdr = typed;
  OpenSettings([&](TfNastaveni& f) {
    QueueChooser([&](TfVyberAdr& c) {
      EXPECT_EQ(c.windowTitle(), QString::fromUtf8("Výběr adresáře..."));
      EXPECT_EQ(Find<TLabel>(&c, "Label1")->text(), QString::fromUtf8("Vyberte adresář:"));
      EXPECT_EQ(c.ShellTreeView1->Path(), dir.File("Testy"));
      EXPECT_EQ(c.VybranyAdr, typed);
      Click(c.bZrusit);
    });
    Click(f.bZCesta);
    EXPECT_EQ(f.eVAdr->Text(), typed);
    // Esc and the close box cancel too.
    QueueChooser([&](TfVyberAdr& c) { QTest::keyClick(&c, Qt::Key_Escape); });
    Click(f.bZCesta);
    EXPECT_EQ(f.eVAdr->Text(), typed);
    QueueChooser([&](TfVyberAdr& c) { c.Close(); });
    Click(f.bZCesta);
    EXPECT_EQ(f.eVAdr->Text(), typed);
  });
  EXPECT_EQ(TForm::ShownModals(), (std::vector<std::string>{"fNastaveni", "fVyberAdr", "fVyberAdr", "fVyberAdr"}));
  EXPECT_TRUE(Boxes().empty());
  // The choice reaches the settings only through "Nastavit".
  EXPECT_EQ(Settings.VAdr, typed);
}

TEST_F(SettingsScreen, TheChooserConfirmedGivesTheTreesPathOfThePresetOrOfTheFolderPicked) {
  Start();
  testsupport::WriteBytes(dir.File("Testy/zemepis.sst"), "x");
  Settings.VAdr = dir.File("Testy/");
  OpenSettings([&](TfNastaveni& f) {
    // Untouched: the preset's folder as the tree names it.
    QueueChooser([](TfVyberAdr& c) { Click(c.bVyber); });
    Click(f.bZCesta);
    EXPECT_EQ(f.eVAdr->Text(), dir.File("Testy"));
    // A file: its folder, not an empty text.
    f.eVAdr->SetText(dir.File("Testy/zemepis.sst"));
    QueueChooser([](TfVyberAdr& c) { QTest::keyClick(&c, Qt::Key_Return); });
    Click(f.bZCesta);
    EXPECT_EQ(f.eVAdr->Text(), dir.File("Testy"));
    // A folder not made yet: the nearest one that is.
    f.eVAdr->SetText(dir.File("Testy/Novy/2025"));
    QueueChooser([](TfVyberAdr& c) { Click(c.bVyber); });
    Click(f.bZCesta);
    EXPECT_EQ(f.eVAdr->Text(), dir.File("Testy"));
    // Another folder picked in the tree.
    QueueChooser([&](TfVyberAdr& c) {
      c.ShellTreeView1->SetPath(dir.File("Testy/Fyzika"));
      Click(c.bVyber);
    });
    Click(f.bZCesta);
    EXPECT_EQ(f.eVAdr->Text(), dir.File("Testy/Fyzika"));
    Click(f.bNastavit);
  });
  EXPECT_EQ(Settings.VAdr, dir.File("Testy/Fyzika"));
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(SettingsScreen, AFolderNamedBeyondTheCodePageIsStoredExactlyAndTheDialogsStartThere) {
  // "Тесты", made by the user in a file manager, picked in the tree.
  const std::string native = dir.Path() + "\xD0\xA2\xD0\xB5\xD1\x81\xD1\x82\xD1\x8B";
  std::filesystem::create_directory(native);
  Start();
  OpenSettings([&](TfNastaveni& f) {
    QueueChooser([&](TfVyberAdr& c) {
      auto* model = static_cast<QFileSystemModel*>(c.ShellTreeView1->model());
      c.ShellTreeView1->setCurrentIndex(model->index(QString::fromStdString(native)));
      Click(c.bVyber);
    });
    Click(f.bZCesta);
    EXPECT_EQ(f.eVAdr->text(), QString::fromStdString(native));
    Click(f.bNastavit);
  });
  EXPECT_TRUE(Boxes().empty());
  // Every other reader of the file sees the folder as the code page shows it.
  EXPECT_EQ(SettingsFile(), "[Nastaveni]\r\nProtokol=0\r\nVAdr=" + dir.Path() +
                                "?????\r\nVAdrUtf8=" + dir.Path() +
                                "%D0%A2%D0%B5%D1%81%D1%82%D1%8B\r\nPVAdr=1\r\nZjistiAV=0\r\npJazyk=" + kCesky + "\r\n");

  // The next start reads the folder back and the open dialog starts in it.
  DestroyScreens();
  Settings = TNastaveni{};
  Start();
  FileDialogs::QueueCancel();
  Click(fMenu->bNacistTest);
  ASSERT_FALSE(FileDialogs::Shown().empty());
  EXPECT_EQ(PathToQ(FileDialogs::Shown().back().Directory), QString::fromStdString(native));

  // Typed by hand, such a name is kept as typed, and a plain one drops the exact copy.
  OpenSettings([&](TfNastaveni& f) {
    EXPECT_EQ(f.eVAdr->text(), QString::fromStdString(native));
    f.eVAdr->clear();
    for (QChar c : QString::fromUtf8("/home/u/Mati\xC3\xA8res")) {
      QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
      QApplication::sendEvent(f.eVAdr, &key);
    }
    EXPECT_EQ(f.eVAdr->text(), QString::fromUtf8("/home/u/Mati\xC3\xA8res"));
    EXPECT_EQ(PathToQ(f.eVAdr->Text()), QString::fromUtf8("/home/u/Mati\xC3\xA8res"));
    f.eVAdr->SetText(dir.File("Testy"));
    Click(f.bNastavit);
  });
  EXPECT_EQ(SettingsFile(), "[Nastaveni]\r\nProtokol=0\r\nVAdr=" + dir.File("Testy") +
                                "\r\nPVAdr=1\r\nZjistiAV=0\r\npJazyk=" + kCesky + "\r\n");
  // A VAdr changed by hand since outweighs the exact copy beside it.
  testsupport::WriteBytes(dir.File("Nastaveni.ini"), "[Nastaveni]\r\nVAdr=/jinam\r\nVAdrUtf8=" + dir.Path() +
                                                         "%D0%A2%D0%B5%D1%81%D1%82%D1%8B\r\n");
  LoadSettings("Nastaveni.ini");
  EXPECT_EQ(Settings.VAdr, "/jinam");
}

TEST_F(SettingsScreen, ATextThatIsNoPathIsReportedAndTheChooserStillOpensWithNothingSelected) {
  Start();
  Settings.VAdr = "Testy";
  OpenSettings([&](TfNastaveni& f) {
    QueueChooser([&](TfVyberAdr& c) {
      EXPECT_EQ(c.ShellTreeView1->Path(), "");
      ASSERT_EQ(Boxes().size(), 1u);
      EXPECT_EQ(Boxes()[0].Text, "Error setting path: \"Testy\"");
      EXPECT_EQ(Boxes()[0].Icon, TMsgIcon::Error);
      Click(c.bZrusit);
    });
    Click(f.bZCesta);
    EXPECT_EQ(f.eVAdr->Text(), "Testy");
    // Picking a folder there gives a usable path.
    QueueChooser([&](TfVyberAdr& c) {
      c.ShellTreeView1->SetPath(dir.File("Jinde"));
      Click(c.bVyber);
    });
    Click(f.bZCesta);
    EXPECT_EQ(f.eVAdr->Text(), dir.File("Jinde"));
  });
}

class UpdateFromSettings : public SettingsScreen {
 protected:
  void SetUp() override {
    SettingsScreen::SetUp();
    platform::SetConnectionAnswer(true);
    Start();
    fMenu->AdresaVerze = server.Url("/download/inf.dat");
  }
  void TearDown() override {
    platform::SetConnectionAnswer(std::nullopt);
    SettingsScreen::TearDown();
  }

  // Opens the settings, presses "Zjistit" and checks the screen is given back.
  void CheckFromSettings() {
    OpenSettings([&](TfNastaveni& f) {
      Open(&f);
      TForm::QueueModal([&](TForm& result) {
        resultShown = result.objectName() == QStringLiteral("fAktualizace");
        enabledDuring = f.isEnabled();
      });
      Click(f.bAktualizuj);
      EXPECT_TRUE(f.isEnabled());
      EXPECT_EQ(TForm::ActiveForm(), &f);
      EXPECT_EQ(f.focusWidget(), f.bAktualizuj);
      EXPECT_EQ(f.windowTitle(), QString::fromUtf8("Nastavení"));
    });
  }

  testsupport::HttpServer server;
  bool resultShown = false;
  bool enabledDuring = true;
};

TEST_F(UpdateFromSettings, TheScreenIsDisabledWhileTheCheckRunsAndGivenBackAfterwards) {
  server.On("/download/inf.dat", testsupport::HttpServer::Ok("25\r\nnov\xE1 verze\r\n"));
  CheckFromSettings();
  EXPECT_TRUE(resultShown);
  EXPECT_FALSE(enabledDuring);
  EXPECT_EQ(server.Requests(), 1);
}

// What a command prints.
std::string Output(const std::string& command) {
  FILE* out = ::popen(command.c_str(), "r");
  if (!out) return {};
  std::string text;
  char buf[512];
  while (std::fgets(buf, sizeof buf, out)) text += buf;
  ::pclose(out);
  return text;
}

// The last window of the window manager's stacking list, the topmost.
unsigned long Topmost(const std::string& stacking) {
  unsigned long top = 0;
  for (size_t at = stacking.find("0x"); at != std::string::npos; at = stacking.find("0x", at + 2))
    top = std::stoul(stacking.substr(at), nullptr, 16);
  return top;
}

// Where the window's client area stands on a real X display, as the X server
// has it: Qt learns of a move by the window manager only once it reads its events.
QPoint X11WindowCorner(unsigned long window) {
  const std::string text = Output("xwininfo -id " + std::to_string(window));
  auto value = [&](const std::string& key) {
    const size_t at = text.find(key);
    return at == std::string::npos ? -1 : std::stoi(text.substr(at + key.size()));
  };
  return {value("Absolute upper-left X:"), value("Absolute upper-left Y:")};
}

// Pixels of the two pictures that differ.
int DifferentPixels(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return a.width() * a.height() + 1;
  const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
  int different = 0;
  for (int row = 0; row < x.height(); ++row) {
    for (int col = 0; col < x.width(); ++col) different += x.pixel(col, row) != y.pixel(col, row);
  }
  return different;
}

// The check blocks the program while it waits for the server: all the teacher
// sees then is what was drawn before, so the notice must by then stand drawn
// and active above the settings screen it was started from. On a real X
// display the screen itself is read back while the server waits.
TEST_F(UpdateFromSettings, TheNoticeStandsDrawnOnTopWhileTheServerIsSlow) {
  const bool x11 = QGuiApplication::platformName() == QStringLiteral("xcb");
  const std::string shot = dir.File("screen.png");
  bool shown = false, drawn = false, active = false;
  unsigned long notice = 0;
  std::string stacking;
  QRect area;
  testsupport::HttpServer::Response late = testsupport::HttpServer::Late("25\r\n", 4000);
  // The program waits inside the download now and changes nothing.
  late.onRequest = [&] {
    shown = fZjistiA->isVisible();
    drawn = fZjistiA->Nakresleno();
    active = QGuiApplication::focusWindow() == fZjistiA->windowHandle();
    notice = fZjistiA->winId();
    if (x11) {
      stacking = Output("xprop -root -notype _NET_CLIENT_LIST_STACKING");
      area = QRect(X11WindowCorner(notice), fZjistiA->size());
      EXPECT_EQ(std::system(("import -window root " + shot).c_str()), 0);
    }
  };
  server.On("/download/inf.dat", late);
  CheckFromSettings();
  EXPECT_TRUE(resultShown);
  EXPECT_TRUE(shown);
  EXPECT_TRUE(drawn);
  EXPECT_TRUE(active);
  if (x11) {
    EXPECT_EQ(Topmost(stacking), notice) << stacking;
    // What the screen showed where the notice stands is the notice as drawn.
    const QImage screen = QImage(QString::fromStdString(shot)).copy(area);
    EXPECT_EQ(DifferentPixels(screen, fZjistiA->grab().toImage()), 0);
  }
}

TEST_F(UpdateFromSettings, AnErrorInsideTheCheckStillGivesTheScreenBack) {
  // The message's text is missing and the table cannot take the placeholder.
  platform::ProfileFile(dir.File("jazyk.ini")).WriteString(kCesky, "AktualizaciNelzeZjistitNejstePripojeni", "");
  ::chmod(dir.File("jazyk.ini").c_str(), 0444);
  platform::SetConnectionAnswer(false);
  CheckFromSettings();
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].Icon, TMsgIcon::Error);
  EXPECT_EQ(Boxes()[0].Text, "Unable to write to " + dir.File("jazyk.ini"));
  EXPECT_FALSE(resultShown);
}

class Registering : public SettingsScreen {
 protected:
  void SetUp() override {
    SettingsScreen::SetUp();
    ::setenv("XDG_DATA_HOME", xdg.File("data").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", xdg.File("config").c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("XDG_DATA_HOME");
    ::unsetenv("XDG_CONFIG_HOME");
    SettingsScreen::TearDown();
  }
  testsupport::TempDir xdg;
};

TEST_F(Registering, TheButtonRegistersTheRunningProgramQuietly) {
  Start();
  OpenSettings([](TfNastaveni& f) { Click(f.bAsSST); });
  EXPECT_TRUE(Boxes().empty());
  const std::string entry = testsupport::ReadBytes(xdg.File("data/applications/zorvik.desktop"));
  EXPECT_NE(entry.find("\nExec=" + platform::DesktopExecArgument(platform::NativeProgramFile()) + " %f\n"),
            std::string::npos)
      << entry;
  EXPECT_NE(testsupport::ReadBytes(xdg.File("data/mime/packages/zorvik.xml"))
                .find("<comment>Soubor s testem aplikace Zorvik</comment>"),
            std::string::npos);
  EXPECT_NE(testsupport::ReadBytes(xdg.File("data/mime/packages/zorvik.xml")).find("<glob pattern=\"*.sst\"/>"),
            std::string::npos);
  EXPECT_EQ(testsupport::ReadBytes(xdg.File("config/mimeapps.list")),
            "[Default Applications]\napplication/x-zorvik-test=zorvik.desktop\n");
  // The program's own drawing is the icon of the program and of its files.
  const std::string icon = testsupport::ReadBytes(xdg.File("data/icons/hicolor/scalable/apps/zorvik.svg"));
  EXPECT_EQ(icon, testsupport::ReadBytes(testsupport::SourceDir() + "data/zorvik.svg"));
  EXPECT_NE(entry.find("\nIcon=zorvik\n"), std::string::npos);
}

TEST_F(Registering, ARefusedFolderShowsTheErrorAndTheScreenStays) {
  Start();
  ::chmod(xdg.Path().c_str(), 0555);
  OpenSettings([&](TfNastaveni& f) {
    Click(f.bAsSST);
    EXPECT_TRUE(f.isVisible());
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].Text, "Failed to set data for '" + xdg.File("data") + "'");
  });
}

}  // namespace

