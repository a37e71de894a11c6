// Printing test variants: what lands on the recording printer when the
// teacher presses "Tisk", and what the screen shows.
#include <QBuffer>
#include <QCoreApplication>
#include <QMouseEvent>
#include <functional>
#include <utility>
#include <QImageWriter>

#include "support/ScreenFixture.h"
#include "genlib/GenGraphics.h"
#include "platform/qtgui/printer.h"
#include "platform/qtgui/recordingprinter.h"
#include "printing/PrintLayout.h"
#include "screens/uTisk.h"

using namespace toolkit;
using platform::TPrintJob;
using platform::TPrintStep;
using platform::TRecordingPrinter;

namespace {

class Printing : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    TFontDialog::Clear();
    UsePrinter(std::make_unique<TRecordingPrinter>());
  }
  void TearDown() override {
    ScreenTest::TearDown();
    platform::SetPrinter(nullptr);
  }

  void UsePrinter(std::unique_ptr<TRecordingPrinter> p) {
    printer = p.get();
    platform::SetPrinter(std::move(p));
  }

  // A test of the given questions; the screens are started and the print screen shown.
  void OpenWith(const std::vector<TOtazky>& questions, const std::string& name = "Zem\xECpis") {
    CurrentTest = TDTest{};
    CurrentTest.Name = name;
    CurrentTest.AnswerCount = questions.empty() ? 2 : static_cast<int32_t>(questions[0].Answers.size());
    CurrentTest.Questions = questions;
    CurrentTest.Exists = true;
    Start();
    Open(fTisk);
  }

  void Set(const char* field, int value) { Find<TSpinEdit>(fTisk, field)->SetValue(value); }
  void Check(const char* box, bool on) { Find<TCheckBox>(fTisk, box)->SetChecked(on); }
  void Print() { Click(Find<TButton>(fTisk, "bTisk")); }
  const std::vector<TPrintJob>& Jobs() const { return printer->Jobs(); }

  TRecordingPrinter* printer = nullptr;
};

// The texts drawn on a page, in order.
std::vector<std::string> Texts(const std::vector<TPrintStep>& page) {
  std::vector<std::string> out;
  for (const TPrintStep& s : page)
    if (s.kind == TPrintStep::Text) out.push_back(FromQ(s.text));
  return out;
}

const TPrintStep* StepWithText(const std::vector<TPrintStep>& page, const std::string& text) {
  for (const TPrintStep& s : page)
    if (s.kind == TPrintStep::Text && FromQ(s.text) == text) return &s;
  return nullptr;
}

std::vector<TOtazky> Numbered(int n, int answers = 2) {
  std::vector<TOtazky> qs;
  for (int i = 1; i <= n; ++i) {
    std::vector<bool> key(static_cast<size_t>(answers), false);
    key[0] = true;
    qs.push_back(NumberedQuestion(i, key));
  }
  return qs;
}

TEST_F(Printing, TheMenuOpensTheScreenWithItsDefaults) {
  Start({MakeTest("Zemepis", 7)});
  TForm::QueueModal([](TForm& form) {
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Tisk testu"));
    EXPECT_EQ(Find<TSpinEdit>(&form, "seOtazek")->Text(), "7");
    EXPECT_EQ(Find<TSpinEdit>(&form, "seOtazek")->MaxValue(), 7);
    EXPECT_EQ(Find<TSpinEdit>(&form, "seHDO")->Text(), "10");
    EXPECT_EQ(Find<TSpinEdit>(&form, "seVelObr")->Text(), "4");
    EXPECT_EQ(Find<TSpinEdit>(&form, "seVelObr")->HelpContext(), 1030);
    EXPECT_FALSE(Find<TCheckBox>(&form, "chTiskVysledku")->Checked());
    EXPECT_TRUE(Find<TCheckBox>(&form, "chbHVysledky")->Checked());
    EXPECT_EQ(Find<TLabel>(&form, "Label6")->text(), QStringLiteral("Doporučená hodnota 4"));
    EXPECT_EQ(Find<TLabel>(&form, "Label2")->text(), QStringLiteral("Pravý/Levý:"));
    EXPECT_EQ(Find<TWrapCheckBox>(&form, "chTiskVysledku")->CaptionLabel()->text(),
              QStringLiteral("Vysledky pro každou var."));
    // The font buttons show their roles' fonts.
    EXPECT_TRUE(Find<TButton>(&form, "bPNadpis")->font().bold());
    EXPECT_FALSE(Find<TButton>(&form, "bPStranka")->font().bold());
  });
  ASSERT_TRUE(fMenu->bTiskTestu->isEnabled());
  fMenu->bTiskTestu->click();
  EXPECT_EQ(TForm::ShownModals(), std::vector<std::string>{"fTisk"});
}

TEST_F(Printing, TheDefaultsMakeAQuestionPaperAndASummary) {
  std::vector<TOtazky> qs = Numbered(3, 3);
  qs[1].Correct = {false, false, false};  // no correct answer
  qs[2].Correct = {false, true, true};
  OpenWith(qs);
  Print();

  ASSERT_EQ(Jobs().size(), 2u);
  const TPrintJob& paper = Jobs()[0];
  EXPECT_EQ(FromQ(paper.Title), "Tisk testu \"Zem\xECpis\" z programu Zorvik");
  EXPECT_EQ(paper.Copies, 1);
  EXPECT_TRUE(paper.Ended);
  ASSERT_EQ(paper.Pages.size(), 1u);
  EXPECT_EQ(Texts(paper.Pages[0]), (std::vector<std::string>{"Test: Zem\xECpis (Varianta: 1)",
                                                             "Jm\xE9no:",
                                                             "Datum:",
                                                             "Hodnocen\xED:",
                                                             "1)",
                                                             "Ot\xE1zka 1",
                                                             "a)",
                                                             "1.1",
                                                             "b)",
                                                             "1.2",
                                                             "c)",
                                                             "1.3",
                                                             "2)",
                                                             "Ot\xE1zka 2",
                                                             "a)",
                                                             "2.1",
                                                             "b)",
                                                             "2.2",
                                                             "c)",
                                                             "2.3",
                                                             "3)",
                                                             "Ot\xE1zka 3",
                                                             "a)",
                                                             "3.1",
                                                             "b)",
                                                             "3.2",
                                                             "c)",
                                                             "3.3",
                                                             "Strana: 1"}));
  // The rule under the header lines, two pixels wide across the text width.
  const TPrintStep& rule = *std::find_if(paper.Pages[0].begin(), paper.Pages[0].end(),
                                         [](const TPrintStep& s) { return s.kind == TPrintStep::Line; });
  EXPECT_EQ(rule.penWidth, 2);
  EXPECT_EQ(rule.x2 - rule.x, 4960 - 2 * rule.x);

  const TPrintJob& summary = Jobs()[1];
  EXPECT_EQ(summary.Title, paper.Title);
  EXPECT_EQ(Texts(summary.Pages[0]), (std::vector<std::string>{"Test: Zem\xECpis (Odpov\xEC"
                                                               "di)",
                                                               "V1) 1a, 2, 3bc"}));
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(Printing, AnswerSheetsFollowEachPaperWithTheKeyOfTheVariant) {
  std::vector<TOtazky> qs = Numbered(3, 10);
  qs[0].Correct = {true, false, false, false, false, false, false, false, false, true};
  qs[1].Correct = std::vector<bool>(10, false);
  OpenWith(qs);
  Set("sePVariant", 2);
  Set("seKopii", 20);
  Check("chTiskVysledku", true);
  Print();

  ASSERT_EQ(Jobs().size(), 5u);  // paper 1, sheet 1, paper 2, sheet 2, summary
  const std::vector<std::string> sheet = Texts(Jobs()[1].Pages[0]);
  EXPECT_EQ(sheet, (std::vector<std::string>{"Test: Zem\xECpis (Varianta: 1 - Odpov\xEC"
                                             "di)",
                                             "1) aj", "2) ", "3) a"}));
  EXPECT_EQ(Texts(Jobs()[3].Pages[0])[0],
            "Test: Zem\xECpis (Varianta: 2 - Odpov\xEC"
            "di)");
  EXPECT_EQ(Texts(Jobs()[4].Pages[0]), (std::vector<std::string>{"Test: Zem\xECpis (Odpov\xEC"
                                                                 "di)",
                                                                 "V1) 1aj, 2, 3a", "V2) 1aj, 2, 3a"}));
  // Twenty copies of each paper; the sheets and the summary once.
  const int copies[] = {20, 1, 20, 1, 1};
  for (size_t j = 0; j < 5; ++j) EXPECT_EQ(Jobs()[j].Copies, copies[j]) << "job " << j;
  // Ten answers are lettered a to j.
  const std::vector<std::string> paper = Texts(Jobs()[0].Pages[0]);
  EXPECT_NE(std::find(paper.begin(), paper.end(), "j)"), paper.end());
  EXPECT_EQ(std::find(paper.begin(), paper.end(), "k)"), paper.end());

  // Without answer sheets the summary takes the papers' copy count.
  Check("chTiskVysledku", false);
  Set("sePVariant", 1);
  Print();
  ASSERT_EQ(Jobs().size(), 7u);
  EXPECT_EQ(Jobs()[5].Copies, 20);
  EXPECT_EQ(Jobs()[6].Copies, 20);
}

TEST_F(Printing, ShuffledAnswersKeepTheirLettersInPrintedOrder) {
  std::vector<TOtazky> qs = {NumberedQuestion(1, {true, false, false, false})};
  OpenWith(qs);
  Check("cbMOdpovedi", true);
  Set("sePVariant", 6);
  Print();
  for (size_t v = 0; v < 6; ++v) {
    const std::vector<std::string> texts = Texts(Jobs()[v].Pages[0]);
    // The key letter is where the correct answer "1.1" was printed.
    const auto at = std::find(texts.begin(), texts.end(), "1.1");
    ASSERT_NE(at, texts.end());
    const std::string letter = *(at - 1);
    const std::string summary = Texts(Jobs()[6].Pages[0])[v + 1];
    EXPECT_EQ(summary, "V" + std::to_string(v + 1) + ") 1" + letter.substr(0, 1));
  }
}

TEST_F(Printing, MarginsRoundHalvesToEvenInWholeNumbers) {
  UsePrinter(std::make_unique<TRecordingPrinter>(QSize(5145, 7015)));
  OpenWith(Numbered(1));
  Set("sePLO", 1);
  Set("seHDO", 0);
  Print();
  const TPrintStep& heading = Jobs()[0].Pages[0][0];
  EXPECT_EQ(heading.x, 24);
  EXPECT_EQ(heading.y, 0);
}

TEST_F(Printing, WrappingKeepsWordsWholeAndAWideWordAlone) {
  OpenWith(Numbered(1));
  const TFontSpec& font = fTisk->PismoOtazky;
  const int w = fTisk->SirkaTextu("aaa bbb", font);
  EXPECT_EQ(fTisk->ZalomitText("aaa bbb ccc", w, font), "aaa bbb\r\nccc");
  // A word wider than the column stands alone, unsplit.
  const std::string wide(40, 'W');
  EXPECT_EQ(fTisk->ZalomitText("aaa " + wide + " bbb", w, font), "aaa\r\n" + wide + "\r\nbbb");
  EXPECT_EQ(fTisk->ZalomitText(wide, w, font), wide);
  EXPECT_EQ(fTisk->ZalomitText("   ", w, font), "");
  EXPECT_EQ(fTisk->ZalomitText("", w, font), "");

  EXPECT_EQ(TfTisk::VratPR(""), 1);
  EXPECT_EQ(TfTisk::VratPR("a\r\nb\r\n"), 3);
  EXPECT_EQ(TfTisk::VratRN("a\r\nb", 2), "b");
  EXPECT_EQ(TfTisk::VratRN("a\r\nb", 3), "");
  EXPECT_EQ(TfTisk::VratRN("a\r\nb", 0), "a");
}

TEST_F(Printing, BlocksBreakPagesWholeAndATallBlockRunsPastItsPage) {
  // A small sheet: the heading, three header lines and about six lines more.
  UsePrinter(std::make_unique<TRecordingPrinter>(QSize(2000, 1500)));
  std::vector<TOtazky> qs = Numbered(4, 2);
  qs[2].Answers[0] = std::string(30, 'x');
  for (int i = 0; i < 100; ++i) qs[2].Answers[0] += " slovo";  // many lines: taller than a page
  OpenWith(qs);
  Set("seHDO", 0);
  Set("sePLO", 0);
  Check("chbHVysledky", false);
  Print();
  const TPrintJob& paper = Jobs().at(0);
  std::vector<std::vector<std::string>> pages;
  for (const auto& p : paper.Pages) pages.push_back(Texts(p));
  ASSERT_GE(pages.size(), 3u);
  // Every page begins with the heading line and the page number at its foot.
  for (size_t k = 0; k < pages.size(); ++k) {
    EXPECT_EQ(pages[k].front(), "Test: Zem\xECpis (Varianta: 1)");
    EXPECT_EQ(pages[k].back(), "Strana: " + std::to_string(k + 1));
  }
  // Question 3 starts a page and runs past its bottom; question 4 starts the next.
  const auto pageOf = [&](const std::string& text) {
    for (size_t k = 0; k < pages.size(); ++k)
      if (std::find(pages[k].begin(), pages[k].end(), text) != pages[k].end()) return k;
    return pages.size();
  };
  const size_t third = pageOf("Ot\xE1zka 3");
  EXPECT_EQ(pages[third][1], "3)");
  EXPECT_EQ(pageOf("Ot\xE1zka 4"), third + 1);
  int lowest = 0;
  for (const TPrintStep& s : paper.Pages[third]) lowest = std::max(lowest, s.y);
  EXPECT_GT(lowest, 1500);
}

TEST_F(Printing, AFirstBlockTooTallForPageOneStartsPageTwo) {
  UsePrinter(std::make_unique<TRecordingPrinter>(QSize(2000, 1500)));
  std::vector<TOtazky> qs = Numbered(1, 2);
  for (int i = 0; i < 12; ++i) qs[0].Text += " slovo" + std::to_string(i) + std::string(20, 'x');
  OpenWith(qs);
  Check("chbHVysledky", false);
  Print();
  const TPrintJob& paper = Jobs().at(0);
  ASSERT_EQ(paper.Pages.size(), 2u);
  EXPECT_EQ(Texts(paper.Pages[0]), (std::vector<std::string>{"Test: Zem\xECpis (Varianta: 1)",
                                                             "Jm\xE9no:", "Datum:", "Hodnocen\xED:", "Strana: 1"}));
  EXPECT_EQ(Texts(paper.Pages[1])[1], "1)");
}

TEST_F(Printing, ALongKeyGoesOnOverTheNextPageOfTheSheetAndTheSummary) {
  UsePrinter(std::make_unique<TRecordingPrinter>(QSize(2000, 1500)));
  OpenWith(Numbered(60));
  Check("chTiskVysledku", true);
  Set("sePVariant", 8);
  Print();
  const TPrintJob& sheet = Jobs().at(1);
  ASSERT_GT(sheet.Pages.size(), 1u);
  for (const auto& page : sheet.Pages) {
    EXPECT_EQ(Texts(page).front(),
              "Test: Zem\xECpis (Varianta: 1 - Odpov\xEC"
              "di)");
    for (const TPrintStep& s : page) EXPECT_LT(s.y, 1450);
  }
  const TPrintJob& summary = Jobs().back();
  ASSERT_GT(summary.Pages.size(), 1u);
  for (const auto& page : summary.Pages) {
    EXPECT_EQ(Texts(page).front(),
              "Test: Zem\xECpis (Odpov\xEC"
              "di)");
    for (const TPrintStep& s : page) EXPECT_LT(s.y, 1450);
  }
}

TEST_F(Printing, EachRoleKeepsItsOwnFontAndCancelChangesNothing) {
  OpenWith(Numbered(1));
  TFontSpec times;
  times.Name = "Nimbus Roman";
  times.Size = 20;
  times.Italic = true;
  times.Color = 0x0000FF;
  TFontDialog::QueueFont(times);
  Click(Find<TButton>(fTisk, "bPHlavicka"));
  TFontDialog::QueueCancel();
  Click(Find<TButton>(fTisk, "bPOtazky"));
  EXPECT_EQ(fTisk->PismoHlavicka, times);
  EXPECT_EQ(fTisk->PismoOtazky.Name, "Comic Sans MS");
  EXPECT_EQ(fTisk->PismoOtazky.Size, 12);
  EXPECT_TRUE(fTisk->PismoOtazky.Bold);
  EXPECT_EQ(TFontDialog::Shown().back(), fTisk->PismoOtazky);  // the dialog was preset with the role
  EXPECT_TRUE(Find<TButton>(fTisk, "bPHlavicka")->font().italic());

  Print();
  const auto& page = Jobs()[0].Pages[0];
  const TPrintStep* name = StepWithText(page, "Jm\xE9no:");
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->font.pointSize(), 20);
  EXPECT_TRUE(name->font.italic());
  EXPECT_EQ(name->color, QColor(255, 0, 0));
  const TPrintStep* heading = &page[0];
  EXPECT_EQ(heading->font.pointSize(), 14);
  EXPECT_TRUE(heading->font.bold());
  EXPECT_EQ(StepWithText(page, "a)")->font.pointSize(), 10);
  EXPECT_EQ(StepWithText(page, "Ot\xE1zka 1")->font.pointSize(), 12);
}

TEST_F(Printing, EmptyFieldsTakeTheirValuesAndReopeningResetsOnlyTheCount) {
  OpenWith(Numbered(9));
  auto* copies = Find<TSpinEdit>(fTisk, "seKopii");
  auto* count = Find<TSpinEdit>(fTisk, "seOtazek");
  copies->setFocus();
  copies->SetText("");
  count->setFocus();
  EXPECT_EQ(copies->Text(), "1");
  count->SetText("");
  Find<TSpinEdit>(fTisk, "seVelObr")->setFocus();
  EXPECT_EQ(count->Text(), "9");
  count->SetValue(4);
  Set("sePVariant", 3);
  fTisk->hide();
  Open(fTisk);
  EXPECT_EQ(count->Text(), "9");
  EXPECT_EQ(Find<TSpinEdit>(fTisk, "sePVariant")->Text(), "3");
}

TEST_F(Printing, ATestWithoutQuestionsPrintsNothingAndSaysWhy) {
  OpenWith(Numbered(2));
  Print();
  ASSERT_EQ(Jobs().size(), 2u);
  fTisk->hide();
  CurrentTest.Questions.clear();
  Open(fTisk);
  Print();
  EXPECT_EQ(Jobs().size(), 2u);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].Text,
            "Test nem\xE1 \x9E\xE1"
            "dn\xE9 ot\xE1zky, nen\xED co tisknout.");
}

std::string PictureBytes(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter(&buffer, format).write(image);
  return bytes.toStdString();
}

// A printer on which the teacher clicks "Tisk" once more while the first job is drawn.
class TClickedAgain : public TRecordingPrinter {
 public:
  std::function<void()> OnFirstJob;

 protected:
  void StartJob() override {
    TRecordingPrinter::StartJob();
    if (auto act = std::exchange(OnFirstJob, nullptr)) act();
  }
};

// A click as the window system queues it, delivered when events are next processed.
void QueueClick(QWidget* button) {
  const QPointF at(button->width() / 2.0, button->height() / 2.0);
  const QPointF global = button->mapToGlobal(at);
  QCoreApplication::postEvent(
      button, new QMouseEvent(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
  QCoreApplication::postEvent(
      button, new QMouseEvent(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
}

TEST_F(Printing, AClickOnTiskWhileItPrintsIsDropped) {
  auto clicked = std::make_unique<TClickedAgain>();
  TClickedAgain* p = clicked.get();
  UsePrinter(std::move(clicked));
  OpenWith(Numbered(2));
  TButton* tisk = Find<TButton>(fTisk, "bTisk");
  p->OnFirstJob = [&] {
    EXPECT_FALSE(tisk->isEnabled());
    QueueClick(tisk);
  };
  tisk->setFocus();
  Print();
  QCoreApplication::processEvents();  // what the event loop does next
  EXPECT_EQ(Jobs().size(), 2u);
  EXPECT_TRUE(tisk->isEnabled());
  EXPECT_TRUE(tisk->hasFocus());
  // A click after the action prints again.
  QueueClick(tisk);
  QCoreApplication::processEvents();
  EXPECT_EQ(Jobs().size(), 4u);
}

std::vector<const TPrintStep*> Pictures(const TPrintJob& job) {
  std::vector<const TPrintStep*> out;
  for (const auto& page : job.Pages)
    for (const TPrintStep& s : page)
      if (s.kind == TPrintStep::Picture) out.push_back(&s);
  return out;
}

TEST_F(Printing, PicturesOfAnyLoadableTypeAreScaledWhateverTheirNames) {
  QImage image(30, 20, QImage::Format_RGB32);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x) image.setPixel(x, y, qRgb(x * 8, y * 12, (x * y) % 256));
  const std::string png = dir.File("obrazek.png");
  testsupport::WriteBytes(png, PictureBytes(image, "png"));
  const std::string jpg = dir.File("foto.jpg");
  testsupport::WriteBytes(jpg, PictureBytes(image, "jpeg"));
  // Saved as PNG under a JPEG name, as the test-taking screen shows it.
  const std::string named = dir.File("ulozeny.jpg");
  testsupport::WriteBytes(named, PictureBytes(image, "png"));
  std::vector<TOtazky> qs = Numbered(4);
  qs[0].Picture = png;
  qs[1].Picture = dir.File("chybi.jpg");  // no such file: printed without a picture
  qs[2].Picture = jpg;
  qs[3].Picture = named;
  OpenWith(qs);
  Set("seVelObr", 3);
  Print();
  ASSERT_EQ(Jobs().size(), 2u);
  std::vector<QSize> sizes;
  for (const TPrintStep* s : Pictures(Jobs()[0])) sizes.push_back(s->pictureSize);
  EXPECT_EQ(sizes, (std::vector<QSize>{QSize(90, 60), QSize(90, 60), QSize(90, 60)}));
  EXPECT_TRUE(Boxes().empty());
  // A picture that fits prints exactly as the resampler scales it.
  QImage scaled = LoadPicture(png);
  genlib::ResampleBitmap(90, 60, genlib::rkMitchell, 0, scaled);
  EXPECT_EQ(Pictures(Jobs()[0])[0]->picture.convertToFormat(QImage::Format_RGB888),
            scaled.convertToFormat(QImage::Format_RGB888));
}

TEST_F(Printing, APictureThatFailsEndsTheActionNamingItAndDropsThePaperBegun) {
  QImage image(30, 20, QImage::Format_RGB32);
  image.fill(Qt::darkCyan);
  const std::string jpeg = PictureBytes(image, "jpeg");
  std::string damaged = jpeg.substr(0, 40) + std::string(200, '\x01');
  // A few hundred bytes whose header claims 30000 x 30000 pixels.
  std::string huge = jpeg;
  const size_t sof = huge.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  huge.replace(sof + 5, 4, "\x75\x30\x75\x30");
  const std::string broken = dir.File("obrazek.jpg");
  std::vector<TOtazky> qs = Numbered(3);
  qs[1].Picture = broken;
  OpenWith(qs);
  Set("sePVariant", 2);
  Check("chTiskVysledku", true);
  size_t jobs = 0;
  for (const std::string& bytes : {damaged, huge}) {
    testsupport::WriteBytes(broken, bytes);
    MessageBoxes::Clear();
    Print();
    ASSERT_EQ(Jobs().size(), jobs + 1);
    EXPECT_TRUE(Jobs().back().Aborted);
    EXPECT_FALSE(Jobs().back().Ended);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_NE(Boxes()[0].Text.find(broken), std::string::npos) << Boxes()[0].Text;
    // Refused for its header alone, as the test-taking screen refuses it.
    if (bytes == huge) {
      EXPECT_EQ(Boxes()[0].Text, "'" + broken + "' is too large a picture (30000 x 30000 pixels)");
    }
    EXPECT_FALSE(platform::Printer().Printing());
    jobs = Jobs().size();
  }
  // The printer is free: the next action prints.
  testsupport::WriteBytes(broken, jpeg);
  Print();
  ASSERT_EQ(Jobs().size(), jobs + 5);
  EXPECT_TRUE(Jobs().back().Ended);
}

TEST_F(Printing, TransparentPartsOfAPicturePrintAsThePaperShowsThem) {
  QImage image(20, 10, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  for (int y = 0; y < 10; ++y)
    for (int x = 10; x < 20; ++x) image.setPixelColor(x, y, QColor(200, 0, 0));
  std::vector<TOtazky> qs = Numbered(1);
  qs[0].Picture = dir.File("pruhledny.png");
  testsupport::WriteBytes(qs[0].Picture, PictureBytes(image, "png"));
  OpenWith(qs);
  Set("seVelObr", 2);
  Print();
  const std::vector<const TPrintStep*> pictures = Pictures(Jobs().at(0));
  ASSERT_EQ(pictures.size(), 1u);
  const QImage& printed = pictures[0]->picture;
  ASSERT_EQ(printed.size(), QSize(40, 20));
  EXPECT_EQ(printed.pixelColor(4, 10), QColor(Qt::white));
  EXPECT_EQ(printed.pixelColor(36, 10), QColor(200, 0, 0));
}

TEST_F(Printing, APictureTooLargeForThePageIsScaledDownOnceForEveryVariant) {
  // A small sheet, so that the pictures stay small: 1000 x 1400 pixels at 120 per inch.
  UsePrinter(std::make_unique<TRecordingPrinter>(QSize(1000, 1400), 120));
  QImage wide(100, 50, QImage::Format_RGB32);
  wide.fill(Qt::darkGreen);
  QImage tall(20, 200, QImage::Format_RGB32);
  tall.fill(Qt::darkBlue);
  std::vector<TOtazky> qs = Numbered(2);
  qs[0].Picture = dir.File("siroky.jpg");
  testsupport::WriteBytes(qs[0].Picture, PictureBytes(wide, "jpeg"));
  qs[1].Picture = dir.File("vysoky.png");
  testsupport::WriteBytes(qs[1].Picture, PictureBytes(tall, "png"));
  OpenWith(qs);
  Set("seVelObr", 10);  // 1000 x 500 and 200 x 2000 printer pixels
  Set("sePVariant", 2);
  Print();
  ASSERT_EQ(Jobs().size(), 3u);
  const std::vector<const TPrintStep*> first = Pictures(Jobs()[0]);
  ASSERT_EQ(first.size(), 2u);

  // No wider than from the answers' column to the right margin.
  const int L = printing::MarginPixels(1000, 10, printing::kSheetWidthMm);
  const int T = printing::MarginPixels(1400, 10, printing::kSheetHeightMm);
  const int columnW = 1000 - L - first[0]->x;
  EXPECT_EQ(first[0]->pictureSize, QSize(columnW, (columnW + 1) / 2));
  // No taller than an empty page holds below its heading.
  const int titleH = fTisk->VyskaTextu("Test: Zem\xECpis", fTisk->PismoNadpis);
  const int footH = fTisk->VyskaTextu("Strana: 1", fTisk->PismoStranka);
  const int U = 1400 - 2 * T - titleH - footH - 20;
  EXPECT_EQ(first[1]->pictureSize, QSize((U + 5) / 10, U));

  // The second variant prints the very same scaled pictures.
  const std::vector<const TPrintStep*> second = Pictures(Jobs()[1]);
  ASSERT_EQ(second.size(), 2u);
  EXPECT_EQ(second[0]->picture.cacheKey(), first[0]->picture.cacheKey());
  EXPECT_EQ(second[1]->picture.cacheKey(), first[1]->picture.cacheKey());
}

}  // namespace
