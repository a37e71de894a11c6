// The update check end to end: the notice, the download from a server the
// test runs on 127.0.0.1, the verdict and its notes, and the two messages.
// This test program carries the build's version note (build 24), so the
// check compares with the running program's own file, as Zorvik's does.
#include <QCoreApplication>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "model/uPFce.h"
#include "platform/profile.h"
#include "platform/connection.h"
#include "screens/uAktualizace.h"
#include "screens/uZjistiA.h"
#include "support/HttpServer.h"
#include "support/ScreenFixture.h"

using namespace toolkit;
using testsupport::HttpServer;

namespace {

class UpdateCheck : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    platform::SetConnectionAnswer(true);
    Start();
    fMenu->AdresaVerze = server.Url("/download/inf.dat");
  }

  void TearDown() override {
    platform::SetConnectionAnswer(std::nullopt);
    platform::SetProgramFile("");
    ScreenTest::TearDown();
  }

  void Serve(const std::string& body) { server.On("/download/inf.dat", HttpServer::Ok(body)); }

  // Runs the check; the result screen, when it opens, is closed by Zavřít
  // after the notice is seen still on screen behind it.
  void Check() {
    TForm::QueueModal([this](TForm& form) {
      noticeBehindResult = fZjistiA->isVisible();
      Find<TButton>(&form, "bZavrit")->click();
    });
    Invoke([] { fMenu->ZjistiNV(); });
    EXPECT_FALSE(fZjistiA->isVisible()) << "the notice stayed on screen";
    EXPECT_TRUE(fZjistiA->Nakresleno()) << "the notice was not drawn before the check";
    resultShown = ResultShown();
    TForm::ClearModals();
  }

  bool ResultShown() const {
    return std::count(TForm::ShownModals().begin(), TForm::ShownModals().end(), "fAktualizace") > 0;
  }

  std::string Verdict() const { return fAktualizace->lAktual->Caption(); }
  std::string Notes() const { return fAktualizace->Memo1->Text(); }

  void ExpectFailureMessage() const {
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].Caption, "Aktualizace...");
    EXPECT_EQ(Boxes()[0].Text, LangText("AktualizaciNelzeZjistitNelzeNahratDataZNetu"));
    EXPECT_EQ(Boxes()[0].Icon, TMsgIcon::None);
    EXPECT_EQ(Boxes()[0].Buttons, std::vector<TMsgButton>{TMsgButton::Ok});
  }

  HttpServer server;
  bool noticeBehindResult = false;
  bool resultShown = false;
};

TEST_F(UpdateCheck, ANewerBuildShowsTheVerdictAndTheNotesLineByLine) {
  Serve("25\r\nOprava tisku\r\nNov\xE9 jazyky\r\n");
  TForm::QueueModal([this](TForm& form) {
    noticeBehindResult = fZjistiA->isVisible();
    EXPECT_EQ(form.Caption(), "Aktualizace");
    EXPECT_EQ(Find<TLabel>(&form, "Label1")->Caption(), LangText("AktualnostProgramu"));
    EXPECT_TRUE(Find<TButton>(&form, "bZavrit")->Default());
    EXPECT_TRUE(Find<TButton>(&form, "bZavrit")->Cancel());
  });
  Invoke([] { fMenu->ZjistiNV(); });
  EXPECT_TRUE(ResultShown());
  EXPECT_TRUE(noticeBehindResult);
  EXPECT_FALSE(fZjistiA->isVisible());
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(Verdict(), LangText("KDispoziciNovaVerzeProgramu"));
  EXPECT_EQ(Notes(), "Oprava tisku\r\nNov\xE9 jazyky\r\n");
  EXPECT_EQ(fAktualizace->Memo1->LineCount(), 3);  // the two lines and the empty one after the last break
  // The copy stays beside the program for the next check to overwrite.
  EXPECT_EQ(testsupport::ReadBytes(dir.File("inf.dat")), "25\r\nOprava tisku\r\nNov\xE9 jazyky\r\n");
}

TEST_F(UpdateCheck, TheSameOrAnOlderBuildIsUpToDateWithoutNotes) {
  for (const char* first : {"24", "0", "-3", "23"}) {
    SCOPED_TRACE(first);
    MessageBoxes::Clear();
    Serve(std::string(first) + "\r\nstar\xE1 pozn\xE1mka\r\n");
    Check();
    EXPECT_TRUE(resultShown);
    EXPECT_TRUE(noticeBehindResult);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(Verdict(), LangText("PouzivateAktualniVerziProgramu"));
    EXPECT_EQ(Notes(), "");
  }
}

TEST_F(UpdateCheck, AProgramWithoutAVersionRecordIsBuildZero) {
  testsupport::WriteBytes(dir.File("zorvik"), "#!/bin/sh\n");
  platform::SetProgramFile(dir.File("zorvik"));
  Serve("1\r\n");
  Check();
  EXPECT_EQ(Verdict(), LangText("KDispoziciNovaVerzeProgramu"));
  Serve("0\r\n");
  Check();
  EXPECT_EQ(Verdict(), LangText("PouzivateAktualniVerziProgramu"));
}

TEST_F(UpdateCheck, AnUnreadableVersionFileIsAFailedDownloadNotTheLastVerdict) {
  Serve("25\r\nnov\xE1 verze\r\n");
  Check();
  ASSERT_EQ(Verdict(), LangText("KDispoziciNovaVerzeProgramu"));

  // A school's login portal answers every address with its own page.
  const std::string pages[] = {"<html><body>P\xF8ihla\xB9te se</body></html>\r\n", "", "\r\n25\r\n",
                               std::string(kVersionFileMaxBytes, '9')};
  for (const std::string& page : pages) {
    SCOPED_TRACE(page.substr(0, 40));
    MessageBoxes::Clear();
    Serve(page);
    Check();
    EXPECT_FALSE(resultShown);
    ExpectFailureMessage();
    EXPECT_EQ(Verdict(), "");
    EXPECT_EQ(Notes(), "");
  }
}

TEST_F(UpdateCheck, AServerErrorOrAnOversizedBodyWritesNothing) {
  testsupport::WriteBytes(dir.File("inf.dat"), "24\r\n");
  server.On("/download/inf.dat", HttpServer::Status("404 Not Found", "", "<html>nic</html>"));
  Check();
  ExpectFailureMessage();
  EXPECT_FALSE(resultShown);
  EXPECT_EQ(testsupport::ReadBytes(dir.File("inf.dat")), "24\r\n");

  MessageBoxes::Clear();
  server.On("/download/inf.dat",
            {"HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n25\r\n" + std::string(2 * kVersionFileMaxBytes, 'x')});
  Check();
  ExpectFailureMessage();
  EXPECT_EQ(testsupport::ReadBytes(dir.File("inf.dat")), "24\r\n");
}

TEST_F(UpdateCheck, AServerThatNeverAnswersEndsTheCheckAtTheTimeLimit) {
  server.On("/download/inf.dat", HttpServer::Silent());
  fMenu->LimityVerze.connect = 1;
  fMenu->LimityVerze.stalled = 1;
  fMenu->LimityVerze.total = 1;
  Check();
  ExpectFailureMessage();
  EXPECT_FALSE(std::filesystem::exists(dir.File("inf.dat")));
}

TEST_F(UpdateCheck, WithoutAConnectionOnlyTheMessageIsShownAndNothingIsFetched) {
  platform::SetConnectionAnswer(false);
  Serve("25\r\n");
  Check();
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].Caption, "Aktualizace...");
  EXPECT_EQ(Boxes()[0].Text, LangText("AktualizaciNelzeZjistitNejstePripojeni"));
  EXPECT_EQ(Boxes()[0].Icon, TMsgIcon::None);
  EXPECT_FALSE(resultShown);
  EXPECT_EQ(server.Requests(), 0);
  EXPECT_FALSE(std::filesystem::exists(dir.File("inf.dat")));
}

// An environment variable set for one test and put back after it.
class EnvVar {
 public:
  EnvVar(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
  }
  ~EnvVar() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// A program installed where its user may not write.
class ReadOnlyProgramFolder : public UpdateCheck {
 protected:
  void SetUp() override {
    UpdateCheck::SetUp();
    ::chmod(dir.Path().c_str(), 0555);
  }
  void TearDown() override {
    ::chmod(dir.Path().c_str(), 0755);
    UpdateCheck::TearDown();
  }
  testsupport::TempDir home;
};

TEST_F(ReadOnlyProgramFolder, TheVersionFileGoesIntoTheUsersCacheAndTheCheckGoesOn) {
  const EnvVar homeVar("HOME", home.Path().c_str());
  for (const std::string& cache : {home.File("cache"), home.File(".cache")}) {
    SCOPED_TRACE(cache);
    const EnvVar xdg("XDG_CACHE_HOME", cache == home.File("cache") ? cache.c_str() : nullptr);
    MessageBoxes::Clear();
    Serve("25\r\nnov\xE1 verze\r\n");
    Check();
    EXPECT_TRUE(resultShown);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(Verdict(), LangText("KDispoziciNovaVerzeProgramu"));
    EXPECT_EQ(Notes(), "nov\xE1 verze\r\n");
    EXPECT_EQ(testsupport::ReadBytes(cache + "/zorvik/inf.dat"), "25\r\nnov\xE1 verze\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir.File("inf.dat")));
  }
  // A cache folder the check made is the user's alone.
  EXPECT_EQ(std::filesystem::status(home.File(".cache")).permissions(), std::filesystem::perms::owner_all);
}

TEST_F(ReadOnlyProgramFolder, WhereTheCacheTakesNoFileEitherTheMessageSaysItCannotBeStored) {
  std::filesystem::create_directories(home.File("cache/zorvik"));
  ::chmod(home.File("cache/zorvik").c_str(), 0555);
  const EnvVar xdg("XDG_CACHE_HOME", home.File("cache").c_str());
  Serve("25\r\n");
  Check();
  ::chmod(home.File("cache/zorvik").c_str(), 0755);
  EXPECT_FALSE(resultShown);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].Caption, "Aktualizace...");
  EXPECT_EQ(Boxes()[0].Text, LangText("AktualizaciNelzeZjistitNelzeUlozitSoubor"));
  EXPECT_EQ(Boxes()[0].Icon, TMsgIcon::None);
  EXPECT_EQ(server.Requests(), 0);
}

TEST_F(UpdateCheck, AnErrorInsideTheCheckStillHidesTheNotice) {
  // The message's text is missing and the table cannot take the placeholder.
  platform::ProfileFile(dir.File("jazyk.ini"))
      .WriteString(
          "\xC8"
          "esky",
          "AktualizaciNelzeZjistitNejstePripojeni", "");
  ::chmod(dir.File("jazyk.ini").c_str(), 0444);
  platform::SetConnectionAnswer(false);
  Check();
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].Icon, TMsgIcon::Error);
}

TEST_F(UpdateCheck, TheMenuChecksAtStartOnlyWhenTheSettingsAskForIt) {
  Serve("25\r\nnov\xE1 verze\r\n");
  fMenu->show();
  EXPECT_FALSE(ResultShown());
  EXPECT_EQ(server.Requests(), 0);
  fMenu->hide();

  DestroyScreens();
  testsupport::WriteBytes(dir.File("Nastaveni.ini"), "[Nastaveni]\r\nZjistiAV=1\r\n");
  Start();
  fMenu->AdresaVerze = server.Url("/download/inf.dat");
  fMenu->show();
  EXPECT_TRUE(ResultShown());
  EXPECT_EQ(Verdict(), LangText("KDispoziciNovaVerzeProgramu"));
  EXPECT_FALSE(fZjistiA->isVisible());
  fMenu->hide();
}

TEST_F(UpdateCheck, ALongVerdictWrapsInsideTheScreenAndTheNotesFollowBelowIt) {
  Settings.pJazyk = "English";
  platform::ProfileFile(dir.File("jazyk.ini"))
      .WriteString("English", "PouzivateAktualniVerziProgramu",
                   "You are using the current version of the program, there is nothing newer to download.");
  Serve("24\r\n");
  TForm::QueueModal([](TForm& form) {
    const TLabel* heading = Find<TLabel>(&form, "Label1");
    const TLabel* verdict = Find<TLabel>(&form, "lAktual");
    const QWidget* memo = Find<TMemo>(&form, "Memo1");
    EXPECT_EQ(heading->Caption(), "Program status:");
    EXPECT_GT(verdict->x(), heading->x() + heading->width());
    EXPECT_LE(verdict->x() + verdict->width(), form.width());
    EXPECT_GT(verdict->height(), heading->height());  // more than one line
    EXPECT_GE(memo->y(), verdict->y() + verdict->height());
    EXPECT_EQ(memo->y() + memo->height(), 32 + 241);
    EXPECT_EQ(form.width(), 383);
    EXPECT_EQ(form.height(), 311);
  });
  Invoke([] { fMenu->ZjistiNV(); });
  EXPECT_TRUE(ResultShown());
}

TEST_F(UpdateCheck, TheNoticeIsASmallWindowWithoutCaptionButtonsInTheChosenLanguage) {
  Settings.pJazyk = "English";
  fZjistiA->UkazANakresli();
  EXPECT_TRUE(fZjistiA->Nakresleno());
  EXPECT_EQ(fZjistiA->Caption(), "Update...");
  EXPECT_EQ(fZjistiA->Label1->Caption(), "Checking for updates, please wait...");
  EXPECT_FALSE(fZjistiA->windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(fZjistiA->windowFlags() & Qt::WindowSystemMenuHint);
  EXPECT_EQ(fZjistiA->ClientWidth(), 259);
  EXPECT_EQ(fZjistiA->ClientHeight(), 31);
  EXPECT_LE(fZjistiA->Label1->x() + fZjistiA->Label1->width(), 259);
  fZjistiA->hide();
}

}  // namespace
