// Two copies of the program working in one folder at the same time: each
// saves the same test, the same settings and the same language table over
// and over, and reads them back between its saves. No save may fail for
// nothing, and every read must see one whole file that a save wrote.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/TestSupport.h"
#include "model/uDApp.h"
#include "model/uDTest.h"
#include "platform/appdir.h"
#include "platform/errors.h"
#include "platform/profile.h"

namespace {

constexpr int kRounds = 5000;
const std::string kCesky =
    "\xC8"
    "esky";

// The test that program `who` saves in its round `round`: its name tells both.
TDTest TestOf(int who, int round) {
  TDTest t;
  t.Name = "Test " + std::to_string(who) + " " + std::to_string(round);
  t.AnswerCount = 3;
  t.QuestionTimeLimit = round;
  SetQuestionCount(t, 1 + round % 4);
  for (size_t q = 0; q < t.Questions.size(); ++q) {
    t.Questions[q].Text = t.Name + " / " + std::to_string(q);
    t.Questions[q].Correct[q % 3] = true;
  }
  return t;
}

std::string SettingsBytes(const std::string& folder) {
  return "[Nastaveni]\r\nProtokol=1\r\nVAdr=" + folder + "\r\nPVAdr=0\r\nZjistiAV=1\r\npJazyk=" + kCesky + "\r\n";
}

// One program's rounds; the first fault ends them, and its text is the result.
std::string Rounds(int who, const std::string& dir) {
  const std::string test = dir + "t.sst";
  const std::string table = dir + "jazyk.ini";
  const std::string own = "Chybi" + std::to_string(who);
  try {
    for (int round = 0; round < kRounds; ++round) {
      TDTest saved = TestOf(who, round);
      SaveTest(saved, test);
      TDTest read;
      LoadTest(read, test);
      const int other = read.Name.size() > 5 ? read.Name[5] - '0' : -1;
      const std::string tail = read.Name.size() > 7 ? read.Name.substr(7) : "x";
      TDTest expected = TestOf(other, std::atoi(tail.c_str()));
      expected.Exists = true;
      expected.FileName = test;
      if (!(read == expected)) return "the test read back is no test that was saved: " + read.Name;

      Settings = {true, dir + std::to_string(who) + "-" + std::to_string(round), false, true, kCesky};
      SaveSettings("Nastaveni.ini");
      // Either program's last save, whole.
      const std::string bytes = testsupport::ReadBytes(dir + "Nastaveni.ini");
      const std::string folder = platform::profile::ReadValue(bytes, "Nastaveni", "VAdr", "");
      if (folder.rfind(dir, 0) != 0 || bytes != SettingsBytes(folder)) {
        return "the settings read back are not whole: " + bytes;
      }

      // A text the table lacks, looked up, writes its placeholder; the other
      // program's texts and the shipped ones stay readable throughout.
      platform::ProfileFile(table).WriteString(kCesky, own, "");
      if (LangText(own) != "!_" + own) return "the placeholder of " + own + " was not returned";
      if (LangText("Konec") != "Konec") return "the table read back lost its texts";
    }
  } catch (const std::exception& e) {
    return e.what();
  }
  return "";
}

}  // namespace

TEST(TwoPrograms, SaveTheSameFilesSideBySideWithoutAFalseError) {
  // Saves are synced to disk; a folder in memory keeps the rounds quick.
  if (::access("/dev/shm", W_OK) == 0) ::setenv("TMPDIR", "/dev/shm", 1);
  testsupport::TempDir dir;
  platform::SetProgramDir(dir.Path());
  testsupport::WriteBytes(dir.File("jazyk.ini"), "[" + kCesky + "]\r\nKonec=Konec\r\n");

  pid_t children[2];
  int pipes[2][2];
  for (int who = 0; who < 2; ++who) {
    ASSERT_EQ(::pipe(pipes[who]), 0);
    children[who] = ::fork();
    ASSERT_GE(children[who], 0);
    if (children[who] == 0) {
      ::close(pipes[who][0]);
      const std::string fault = Rounds(who, dir.Path());
      if (!fault.empty() && ::write(pipes[who][1], fault.data(), fault.size()) < 0) ::_exit(2);
      ::_exit(fault.empty() ? 0 : 1);
    }
    ::close(pipes[who][1]);
  }
  for (int who = 0; who < 2; ++who) {
    std::string fault;
    char buf[512];
    for (ssize_t n; (n = ::read(pipes[who][0], buf, sizeof buf)) > 0;) fault.append(buf, static_cast<size_t>(n));
    ::close(pipes[who][0]);
    int status = 0;
    ASSERT_EQ(::waitpid(children[who], &status, 0), children[who]);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "program " << who << ": " << fault;
  }
  // Neither left a temporary file behind.
  size_t entries = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.Path())) entries += e.is_regular_file();
  EXPECT_EQ(entries, 3u);
  platform::SetProgramDir("");
}
