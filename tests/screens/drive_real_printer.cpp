// Prints through the real screens on the print system's default printer, for
// the check on a real CUPS queue (tools/ci.d/cups.sh), which sets that printer
// up and looks at what arrives. Not part of the test suite: it prints paper.
//
//   ZORVIK_EXPECTED_PAGES=<file> screens_drive_real_printer --gtest_filter=...
//
// The printing case writes into that file the page count of every job as
// the same action lays them out on a recording printer of the real printer's
// size and resolution, one number a line in the order the jobs are made.
#include <QImage>
#include <QImageWriter>
#include <cstdlib>
#include <fstream>

#include "support/ScreenFixture.h"
#include "platform/qtgui/printer.h"
#include "platform/qtgui/recordingprinter.h"
#include "screens/uTisk.h"

using namespace toolkit;

namespace {

class RealPrinter : public ScreenTest {
 protected:
  void TearDown() override {
    ScreenTest::TearDown();
    platform::SetPrinter(nullptr);
  }

  // A test of n questions with four answers, saved and loaded through the command line.
  void StartWith(const std::string& name, int n, const std::string& picture2) {
    TDTest t = TestDocument().Name(name).Answers(4);
    SetQuestionCount(t, n);
    for (int i = 0; i < n; ++i) {
      TOtazky& q = t.Questions[static_cast<size_t>(i)];
      q.Text = "Kter\xE1 odpov\xEC\xEF na ot\xE1zku " + std::to_string(i + 1) + " je spr\xE1vn\xE1?";
      for (int a = 0; a < 4; ++a) q.Answers[static_cast<size_t>(a)] = "Odpov\xEC\xEF " + std::to_string(a + 1);
      q.Correct[static_cast<size_t>(i % 4)] = true;
    }
    t.Questions[1].Picture = picture2;
    const std::string path = dir.File(name + ".sst");
    SaveTest(t, path);
    Start({path});
  }

  // "Tisk testu", then "Tisk" with two variants, answer sheets and the summary.
  void PrintTwoVariants() {
    TForm::QueueModal([](TForm& form) {
      Find<TSpinEdit>(&form, "sePVariant")->SetValue(2);
      Find<TCheckBox>(&form, "chTiskVysledku")->SetChecked(true);
      Click(Find<TButton>(&form, "bTisk"));
    });
    fMenu->bTiskTestu->click();
  }
};

TEST_F(RealPrinter, TwoVariantsWithSheetsAndTheSummary) {
  // A picture saved as PNG under a JPEG name, with a transparent half.
  QImage picture(300, 150, QImage::Format_ARGB32);
  picture.fill(Qt::transparent);
  for (int y = 0; y < 150; ++y)
    for (int x = 150; x < 300; ++x) picture.setPixelColor(x, y, QColor(30, 90, 200));
  const std::string png = dir.File("obrazek.jpg");
  ASSERT_TRUE(QImageWriter(ToQ(png), "png").write(picture));
  StartWith("Tisk na CUPS", 16, png);

  // The real printer's page, for the layout on the recording printer.
  platform::TPrinter& real = platform::Printer();
  auto recording = std::make_unique<platform::TRecordingPrinter>(QSize(real.PageWidth(), real.PageHeight()),
                                                                real.Resolution());
  const platform::TRecordingPrinter* laidOut = recording.get();
  platform::SetPrinter(std::move(recording));
  PrintTwoVariants();
  ASSERT_EQ(laidOut->Jobs().size(), 5u);
  if (const char* file = std::getenv("ZORVIK_EXPECTED_PAGES")) {
    std::ofstream out(file);
    for (const platform::TPrintJob& job : laidOut->Jobs()) out << job.Pages.size() << "\n";
  }

  platform::SetPrinter(nullptr);
  PrintTwoVariants();
  EXPECT_TRUE(Boxes().empty()) << (Boxes().empty() ? "" : Boxes()[0].Text);
}

TEST_F(RealPrinter, ADamagedPictureEndsTheActionAndSendsNothing) {
  // The first 200 bytes of a JPEG picture.
  QImage photo(400, 300, QImage::Format_RGB32);
  photo.fill(QColor(120, 160, 40));
  const std::string whole = dir.File("cela.jpg");
  ASSERT_TRUE(QImageWriter(ToQ(whole), "jpeg").write(photo));
  const std::string damaged = dir.File("poskozena.jpg");
  testsupport::WriteBytes(damaged, testsupport::ReadBytes(whole).substr(0, 200));
  StartWith("Poskozeny obrazek", 16, damaged);
  PrintTwoVariants();
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_NE(Boxes()[0].Text.find(damaged), std::string::npos) << Boxes()[0].Text;
  EXPECT_FALSE(platform::Printer().Printing());
}

}  // namespace
