// Message boxes and file dialogs: what they record, and their queued answers.
#include <QDir>
#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "toolkit/Toolkit.h"
#include "platform/messages.h"

using namespace toolkit;

namespace {

class DialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MessageBoxes::Clear();
    FileDialogs::Clear();
    TFontDialog::Clear();
    TForm::ClearModals();
  }
};

TEST_F(DialogsTest, BoxesRecordWhatTheyShowAndTakeQueuedAnswers) {
  MessageBoxes::QueueAnswer(TMsgButton::Yes);
  EXPECT_TRUE(MessageBoxes::AskYesNo("Na\xE8\xEDst...", "Test zm\xECn\xECn"));
  // Without a queued answer a confirmation is answered No.
  EXPECT_FALSE(MessageBoxes::AskYesNo("Ukon\xE8it...", "?"));
  MessageBoxes::Inform("Test", "Dv\xEC ot\xE1zky");
  const auto& shown = MessageBoxes::Shown();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].Caption, "Na\xE8\xEDst...");
  EXPECT_EQ(shown[0].Icon, TMsgIcon::Warning);
  EXPECT_EQ(shown[0].Buttons, (std::vector<TMsgButton>{TMsgButton::Yes, TMsgButton::No}));
  EXPECT_TRUE(shown[0].Queued);
  EXPECT_FALSE(shown[1].Queued);
  EXPECT_EQ(shown[1].Answer, TMsgButton::No);
  EXPECT_EQ(shown[2].Icon, TMsgIcon::None);
  EXPECT_EQ(shown[2].Buttons, std::vector<TMsgButton>{TMsgButton::Ok});
}

// The program never switches recording on: its boxes and dialogs keep nothing
// of what they showed, while a test's queued answers still hold.
TEST_F(DialogsTest, WithRecordingOffTheSeamsKeepNothingButStillTakeQueuedAnswers) {
  SetRecording(false);
  MessageBoxes::QueueAnswer(TMsgButton::Yes);
  const bool yes = MessageBoxes::AskYesNo("Vytvo\xF8it...", "?");
  FileDialogs::QueueFileName("/tmp/a.sst");
  TOpenDialog od(nullptr, "od1");
  const bool chosen = od.Execute();
  TFontDialog::QueueFont(TFontSpec{"Arial", 12});
  TFontDialog fd(nullptr, "fd1");
  const bool font = fd.Execute();
  TForm form("fPokus");
  form.ShowModal();
  SetRecording(true);

  EXPECT_TRUE(yes);
  EXPECT_TRUE(chosen);
  EXPECT_EQ(od.FileName, "/tmp/a.sst");
  EXPECT_TRUE(font);
  EXPECT_EQ(fd.Font.Name, "Arial");
  EXPECT_TRUE(MessageBoxes::Shown().empty());
  EXPECT_TRUE(FileDialogs::Shown().empty());
  EXPECT_TRUE(TFontDialog::Shown().empty());
  EXPECT_TRUE(TForm::ShownModals().empty());
}

TEST_F(DialogsTest, MessagesRaisedBelowTheScreensBecomeInformingBoxes) {
  platform::ShowMessage("Chyba...", "Vybran\xFD soubor nelze otev\xF8\xEDt, chyba form\xE1tu.");
  ASSERT_EQ(MessageBoxes::Shown().size(), 1u);
  EXPECT_EQ(MessageBoxes::Shown()[0].Caption, "Chyba...");
  EXPECT_EQ(MessageBoxes::Shown()[0].Icon, TMsgIcon::None);
}

TEST_F(DialogsTest, ANameWithoutExtensionGetsTheDefaultOneAndLiesInTheDialogsDirectory) {
  testsupport::TempDir dir;
  TSaveDialog sd(nullptr, "sd1");
  sd.Filter = "Soubory s testy|*.sst";
  sd.DefaultExt = "sst";
  sd.InitialDir = dir.Path();
  FileDialogs::QueueFileName("novy");
  ASSERT_TRUE(sd.Execute());
  EXPECT_EQ(sd.FileName, dir.Path() + "novy.sst");
  FileDialogs::QueueFileName(dir.Path() + "jiny.v2");
  ASSERT_TRUE(sd.Execute());
  EXPECT_EQ(sd.FileName, dir.Path() + "jiny.v2");
  // Cancelling keeps the last chosen name, which the next showing offers.
  FileDialogs::QueueCancel();
  EXPECT_FALSE(sd.Execute());
  EXPECT_EQ(sd.FileName, dir.Path() + "jiny.v2");
  const auto& shown = FileDialogs::Shown();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].Name, "sd1");
  EXPECT_TRUE(shown[0].Save);
  EXPECT_EQ(shown[0].Filter, "Soubory s testy|*.sst");
  EXPECT_EQ(shown[2].FileName, dir.Path() + "jiny.v2");
}

TEST_F(DialogsTest, TheSaveDialogAsksBeforeReplacingAndRefusesAMissingFolderAsItsOptionsSay) {
  testsupport::TempDir dir;
  testsupport::WriteBytes(dir.File("stary.sst"), "x");
  TSaveDialog sd(nullptr, "sd1");
  sd.DefaultExt = "sst";
  sd.InitialDir = dir.Path();
  // Without the options a name is taken as it is.
  sd.Options = ofHideReadOnly;
  FileDialogs::QueueFileName("stary");
  FileDialogs::QueueFileName("chybi/novy");
  EXPECT_TRUE(sd.Execute());
  EXPECT_TRUE(sd.Execute());
  EXPECT_TRUE(MessageBoxes::Shown().empty());

  sd.Options = ofOverwritePrompt | ofPathMustExist;
  sd.FileName.clear();
  // Not answered, the question counts as No; with no other name the dialog is cancelled.
  FileDialogs::QueueFileName("stary");
  EXPECT_FALSE(sd.Execute());
  EXPECT_EQ(sd.FileName, "");
  // Each box takes the next queued answer: the refusal its OK, the question Yes.
  FileDialogs::QueueFileName("chybi/novy");
  FileDialogs::QueueFileName("stary");
  MessageBoxes::QueueAnswer(TMsgButton::Ok);
  MessageBoxes::QueueAnswer(TMsgButton::Yes);
  EXPECT_TRUE(sd.Execute());
  EXPECT_EQ(sd.FileName, dir.Path() + "stary.sst");
  const auto& boxes = MessageBoxes::Shown();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].Caption, "Save As");
  EXPECT_EQ(boxes[0].Text, "stary.sst already exists.\nDo you want to replace it?");
  EXPECT_EQ(boxes[0].Buttons, (std::vector<TMsgButton>{TMsgButton::Yes, TMsgButton::No}));
  EXPECT_EQ(boxes[1].Text, dir.Path() + "chybi/novy.sst\nPath does not exist.\nCheck the path and try again.");
  EXPECT_EQ(boxes[1].Buttons, std::vector<TMsgButton>{TMsgButton::Ok});
  EXPECT_TRUE(boxes[2].Queued);
  EXPECT_EQ(FileDialogs::Shown().size(), 4u);
}

TEST_F(DialogsTest, TheStartDirectoryIsInitialDirElseTheLastFilesElseTheCurrentOne) {
  testsupport::TempDir a, b;
  TOpenDialog od(nullptr, "od1");
  EXPECT_FALSE(od.Execute());  // no queued answer: cancelled
  od.FileName = b.Path() + "x.sst";
  od.Execute();
  od.InitialDir = a.Path();
  od.Execute();
  const auto& shown = FileDialogs::Shown();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].Directory, FromQ(QDir::currentPath()));
  EXPECT_EQ(shown[1].Directory + "/", b.Path());
  EXPECT_EQ(shown[2].Directory, a.Path());
  EXPECT_EQ(shown[2].InitialDir, a.Path());
}

TEST_F(DialogsTest, TheFontDialogOffersItsPresetAndKeepsItOnCancel) {
  TFontDialog fd(nullptr, "FontDialog1");
  fd.Font = TFontSpec{"Comic Sans MS", 14, true};
  TFontSpec chosen{"DejaVu Sans", 12, false, true, false, false, 0x0000FF};
  TFontDialog::QueueFont(chosen);
  ASSERT_TRUE(fd.Execute());
  EXPECT_EQ(fd.Font, chosen);
  EXPECT_FALSE(fd.Execute());
  EXPECT_EQ(fd.Font, chosen);
  ASSERT_EQ(TFontDialog::Shown().size(), 2u);
  EXPECT_EQ(TFontDialog::Shown()[0].Name, "Comic Sans MS");
}

}  // namespace
