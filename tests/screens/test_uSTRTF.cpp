// The tools screen and the RTF export as a teacher uses them: opened from the
// main menu, the editor filled from the current test, edited by hand, saved
// through the save dialog with its questions, and the file's bytes.
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <filesystem>

#include "support/ScreenFixture.h"
#include "platform/qtgui/rtfwriter.h"
#include "screens/uPomucky.h"
#include "screens/uSTRTF.h"

using namespace toolkit;
using testsupport::ReadBytes;
using testsupport::WriteBytes;

namespace {

// Typed at the caret, one key per character, as a keyboard with these letters would.
void Type(QWidget* editor, const QString& text) {
  for (const QChar ch : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(editor, &press);
  }
}

class Export : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    Start();
    f = fSTRTF;
    f->sd1->InitialDir = dir.Path();
  }

  // A test of these questions, each with these answers, held in memory only.
  static void Hold(const std::vector<std::pair<std::string, std::vector<std::string>>>& questions,
                   int32_t answerCount) {
    CurrentTest = TDTest{};
    CurrentTest.Exists = true;
    CurrentTest.AnswerCount = answerCount;
    for (const auto& [text, answers] : questions) {
      TOtazky q;
      q.Text = text;
      q.Answers = answers;
      q.Correct.assign(answers.size(), false);
      CurrentTest.Questions.push_back(q);
    }
  }

  std::vector<std::string> Lines() const {
    std::vector<std::string> out;
    for (int i = 0; i < f->reVystup->LineCount(); ++i) out.push_back(f->reVystup->Line(i));
    return out;
  }

  // The format of the character at this position.
  QTextCharFormat FormatAt(int position) const {
    QTextCursor c(f->reVystup->document());
    c.setPosition(position + 1);
    return c.charFormat();
  }

  // The whole paragraph is bold 12 pt, or plain in the editor's font.
  bool Heading(int line) const {
    const QTextBlock block = f->reVystup->document()->findBlockByNumber(line);
    for (int p = block.position(); p < block.position() + block.length() - 1; ++p) {
      const QTextCharFormat c = FormatAt(p);
      if (c.fontWeight() != QFont::Bold || c.fontPointSize() != 12.0) return false;
    }
    return true;
  }
  bool Plain(int line) const {
    const QTextBlock block = f->reVystup->document()->findBlockByNumber(line);
    for (int p = block.position(); p < block.position() + block.length() - 1; ++p) {
      const QTextCharFormat c = FormatAt(p);
      if (c.fontWeight() == QFont::Bold || c.hasProperty(QTextFormat::FontPointSize)) return false;
    }
    return true;
  }

  TfSTRTF* f = nullptr;
};

TEST_F(Export, PomuckyOpensTheToolsAndTheirButtonOpensTheExportOverThem) {
  TForm::QueueModal([](TForm& tools) {
    auto* button = Find<TButton>(&tools, "bUTRFT");
    EXPECT_EQ(button->Caption(), Cp1250("Uložit test do RTF"));
    EXPECT_EQ(tools.Caption(), Cp1250("Pomocné nástroje"));
    EXPECT_EQ(tools.ClientWidth(), 168);
    EXPECT_EQ(tools.ClientHeight(), 76);
    TForm::QueueModal([](TForm& exporting) {
      EXPECT_EQ(exporting.Caption(), Cp1250("Uložit test do RTF"));
      EXPECT_EQ(Find<TButton>(&exporting, "bPripravit")->Caption(), Cp1250("Připravit"));
      EXPECT_EQ(Find<TButton>(&exporting, "bUlozit")->Caption(), Cp1250("Uložit"));
      Click(Find<TButton>(&exporting, "bZavrit"));
      EXPECT_FALSE(exporting.isVisible());
    });
    Click(button);
    Click(Find<TButton>(&tools, "bZavrit"));
    EXPECT_FALSE(tools.isVisible());
  });
  Click(fMenu->bPomucky);
  EXPECT_EQ(TForm::ShownModals(), (std::vector<std::string>{"fPomucek", "fSTRTF"}));
}

TEST_F(Export, TheEditorFillsTheWindowAboveTheButtonPanel) {
  f->resize(600, 500);
  Open(f);
  EXPECT_EQ(f->pMenu->geometry(), QRect(0, 459, 600, 41));
  EXPECT_EQ(f->reVystup->geometry(), QRect(0, 0, 600, 459));
  EXPECT_EQ(f->reVystup->font().family(), QStringLiteral("Comic Sans MS"));
  EXPECT_EQ(f->reVystup->font().pixelSize(), 11);
  f->close();
}

TEST_F(Export, QuestionsAreBoldTwelvePointAndAnswersKeepTheEditorsFormat) {
  Hold({{"Kter\xE1 \xF8"
         "eka?",
         {"Vltava", "Morava", "Odra"}},
        {"", {"", "x", ""}}},
       3);
  Click(f->bPripravit);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"1) Kter\xE1 \xF8"
                                               "eka?",
                                               "a) Vltava", "b) Morava", "c) Odra", "2) ", "a) ", "b) x", "c) "}));
  EXPECT_TRUE(Heading(0));
  EXPECT_TRUE(Heading(4));  // an empty question text still gives its bold number
  for (int line : {1, 2, 3, 5, 6, 7}) EXPECT_TRUE(Plain(line)) << line;

  // A second press replaces the document instead of adding to it.
  Click(f->bPripravit);
  EXPECT_EQ(f->reVystup->LineCount(), 8);
  EXPECT_TRUE(Heading(4));
  EXPECT_TRUE(Plain(5));
}

TEST_F(Export, WithoutQuestionsTheEditorIsEmptyAndSavesAnEmptyDocument) {
  f->reVystup->AddLine("star\xFD text");
  Click(f->bPripravit);
  EXPECT_EQ(f->reVystup->LineCount(), 0);
  FileDialogs::QueueFileName("prazdny");
  Click(f->bUlozit);
  EXPECT_EQ(ReadBytes(dir.File("prazdny.rtf")),
            "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fnil\\fcharset238 Comic Sans MS;}}\r\n"
            "{\\colortbl ;}\r\n"
            "\\viewkind4\\uc1\\pard }\r\n");
}

// The markup of a small export, byte for byte: the default font in the font
// table, the question runs at 24 half-points bold, the answers back at 16
// (8 pt) plain, Czech letters as code page 1250 escapes.
TEST_F(Export, ASmallExportIsWrittenByteForByte) {
  Hold({{"Kter\xE1 \xF8"
         "eka?",
         {"Vltava", "Sn\xEC\x9Eka"}},
        {"", {"", ""}}},
       2);
  Click(f->bPripravit);
  FileDialogs::QueueFileName("reky");
  Click(f->bUlozit);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(ReadBytes(dir.File("reky.rtf")),
            "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fnil\\fcharset238 Comic Sans MS;}}\r\n"
            "{\\colortbl ;}\r\n"
            "\\viewkind4\\uc1\\pard\\f0\\fs24\\b 1) Kter\\'e1 \\'f8eka?\\par\r\n"
            "\\fs16\\b0 a) Vltava\\par\r\n"
            "b) Sn\\'ec\\'9eka\\par\r\n"
            "\\fs24\\b 2) \\par\r\n"
            "\\fs16\\b0 a) \\par\r\n"
            "b) }\r\n");
}

TEST_F(Export, AHandEditIsSavedAndTheNameGetsItsExtension) {
  Hold({{"Ot\xE1zka", {"ano", "ne"}}}, 2);
  Click(f->bPripravit);
  f->reVystup->moveCursor(QTextCursor::End);
  Type(f->reVystup, QStringLiteral(" – doplněno"));
  FileDialogs::QueueFileName("upraveny");
  Click(f->bUlozit);
  ASSERT_EQ(FileDialogs::Shown().size(), 1u);
  EXPECT_EQ(FileDialogs::Shown()[0].Name, "sd1");
  EXPECT_EQ(FileDialogs::Shown()[0].Filter, "Soubory RTF|*.rtf");
  EXPECT_EQ(f->sd1->FileName, dir.File("upraveny.rtf"));
  const std::string rtf = ReadBytes(dir.File("upraveny.rtf"));
  EXPECT_NE(rtf.find("b) ne \\'96 dopln\\'ecno}"), std::string::npos) << rtf;
  EXPECT_EQ(rtf, platform::DocumentToRtf(*f->reVystup->document()));

  // Cancelling writes nothing.
  FileDialogs::QueueCancel();
  std::filesystem::remove(dir.File("upraveny.rtf"));
  Click(f->bUlozit);
  EXPECT_FALSE(std::filesystem::exists(dir.File("upraveny.rtf")));
}

TEST_F(Export, AnExistingFileIsReplacedOnlyWhenTheUserSaysYes) {
  Hold({{"Ot\xE1zka", {"ano", "ne"}}}, 2);
  Click(f->bPripravit);
  WriteBytes(dir.File("stary.rtf"), "{\\rtf1 star\\'fd}");

  FileDialogs::QueueFileName("stary.rtf");
  MessageBoxes::QueueAnswer(TMsgButton::No);
  Click(f->bUlozit);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].Text, "stary.rtf already exists.\nDo you want to replace it?");
  EXPECT_EQ(Boxes()[0].Icon, TMsgIcon::Warning);
  EXPECT_EQ(ReadBytes(dir.File("stary.rtf")), "{\\rtf1 star\\'fd}");

  FileDialogs::QueueFileName("stary");
  MessageBoxes::QueueAnswer(TMsgButton::Yes);
  Click(f->bUlozit);
  EXPECT_EQ(ReadBytes(dir.File("stary.rtf")), platform::DocumentToRtf(*f->reVystup->document()));
}

TEST_F(Export, AMissingFolderIsRefusedAndTheDialogTakesAnotherName) {
  Hold({{"Ot\xE1zka", {"ano", "ne"}}}, 2);
  Click(f->bPripravit);
  FileDialogs::QueueFileName(dir.File("chybi/test.rtf"));
  FileDialogs::QueueFileName(dir.File("test.rtf"));
  Click(f->bUlozit);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].Text, dir.File("chybi/test.rtf") + "\nPath does not exist.\nCheck the path and try again.");
  EXPECT_FALSE(std::filesystem::exists(dir.File("chybi")));
  EXPECT_TRUE(std::filesystem::exists(dir.File("test.rtf")));
  EXPECT_EQ(FileDialogs::Shown().size(), 1u);  // one dialog, two names typed into it
}

TEST_F(Export, AFailedWriteShowsTheErrorAndKeepsTheEditorAndTheOldFile) {
  Hold({{"Ot\xE1zka", {"ano", "ne"}}}, 2);
  Click(f->bPripravit);
  f->reVystup->moveCursor(QTextCursor::End);
  Type(f->reVystup, QStringLiteral("!"));
  const std::string path = dir.File("zamceny.rtf");
  WriteBytes(path, "star\xE1 verze");
  std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);

  Open(f);
  FileDialogs::QueueFileName(path);
  MessageBoxes::QueueAnswer(TMsgButton::Yes);
  Click(f->bUlozit);
  ASSERT_EQ(Boxes().size(), 2u);
  EXPECT_EQ(Boxes()[1].Icon, TMsgIcon::Error);
  EXPECT_EQ(Boxes()[1].Caption, "Zorvik");
  EXPECT_TRUE(f->isVisible());
  EXPECT_EQ(Lines(), (std::vector<std::string>{"1) Ot\xE1zka", "a) ano", "b) ne!"}));
  EXPECT_EQ(ReadBytes(path), "star\xE1 verze");
  f->close();
}

TEST_F(Export, TheEditorKeepsItsTextBetweenShowingsAndCaptionsFollowTheLanguage) {
  Settings.pJazyk = "English";
  Hold({{"Ot\xE1zka", {"ano", "ne"}}}, 2);
  TForm::QueueModal([](TForm& exporting) { Click(Find<TButton>(&exporting, "bPripravit")); });
  f->ShowModal();
  EXPECT_EQ(f->Caption(), "Save test as RTF");
  EXPECT_EQ(f->bPripravit->Caption(), "Prepare");
  EXPECT_EQ(f->bUlozit->Caption(), "Save");
  EXPECT_EQ(f->bZavrit->Caption(), "Close");
  TForm::QueueModal([this](TForm&) { EXPECT_EQ(f->reVystup->LineCount(), 3); });
  f->ShowModal();
  TForm::QueueModal([](TForm& tools) { EXPECT_EQ(tools.Caption(), "Tools"); });
  fPomucek->ShowModal();
  EXPECT_EQ(fPomucek->bUTRFT->Caption(), "Save test as RTF");
  EXPECT_EQ(fPomucek->bZavrit->Caption(), "Close");
}

}  // namespace
