// The print layout on a recording printer, driven without any window: where
// every line, rule and picture of a job stands, and where a page breaks.
#include <gtest/gtest.h>

#include <QString>
#include <string>
#include <vector>

#include "model/uDTest.h"
#include "platform/appdir.h"
#include "platform/cp1250.h"
#include "platform/qtgui/printer.h"
#include "platform/qtgui/recordingprinter.h"
#include "printing/PrintLayout.h"
#include "support/TestSupport.h"

using namespace printing;
using platform::TPrintStep;
using platform::TRecordingPrinter;

namespace {

// The print screen's defaults.
const TRoleFonts kFonts{{"Comic Sans MS", 14, true},
                        {"Comic Sans MS", 12},
                        {"Comic Sans MS", 10},
                        {"Comic Sans MS", 12, true},
                        {"Comic Sans MS", 10}};

std::string Cp(const QString& text) { return platform::Utf8ToCp1250(text.toStdString()); }

// A step as "text x,y: ...", "line x,y-x2,y2 pen", "picture x,y wxh".
std::string Shown(const TPrintStep& s) {
  const std::string at = std::to_string(s.x) + "," + std::to_string(s.y);
  switch (s.kind) {
    case TPrintStep::Text: return "text " + at + ": " + Cp(s.text);
    case TPrintStep::Line:
      return "line " + at + "-" + std::to_string(s.x2) + "," + std::to_string(s.y2) + " pen " +
             std::to_string(s.penWidth);
    case TPrintStep::Picture:
      return "picture " + at + " " + std::to_string(s.pictureSize.width()) + "x" +
             std::to_string(s.pictureSize.height());
  }
  return "";
}

std::vector<std::string> Shown(const std::vector<TPrintStep>& page) {
  std::vector<std::string> out;
  for (const TPrintStep& s : page) out.push_back(Shown(s));
  return out;
}

std::string Text(int x, int y, const std::string& text) {
  return "text " + std::to_string(x) + "," + std::to_string(y) + ": " + text;
}

class PrintLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::WriteBytes(dir.File("jazyk.ini"), testsupport::ReadBytes(testsupport::SourceDir() + "data/jazyk.ini"));
    platform::SetProgramDir(dir.Path());
    Use(QSize(4960, 7015));
    CurrentTest = TDTest{};
    CurrentTest.Name = "Zem\xECpis";
    CurrentTest.AnswerCount = 2;
    CurrentTest.Exists = true;
  }
  void TearDown() override {
    platform::SetPrinter(nullptr);
    platform::SetProgramDir("");
  }

  void Use(QSize page) {
    auto p = std::make_unique<TRecordingPrinter>(page);
    printer = p.get();
    platform::SetPrinter(std::move(p));
  }

  void Add(const std::string& text, const std::string& a, const std::string& b, int correct) {
    TOtazky q;
    q.Text = text;
    q.Answers = {a, b};
    q.Correct = {correct == 0, correct == 1};
    CurrentTest.Questions.push_back(q);
  }

  void Print(TPrintSettings settings, const TPictureLoader& load = {}) {
    settings.Questions = QuestionCount(CurrentTest);
    PrintTest(settings, kFonts, load);
  }

  testsupport::TempDir dir;
  TRecordingPrinter* printer = nullptr;
};

TEST_F(PrintLayout, MarginsRoundHalvesToEvenInWholeNumbers) {
  EXPECT_EQ(MarginPixels(5145, 1, kSheetWidthMm), 24);  // 24.5
  EXPECT_EQ(MarginPixels(4935, 1, kSheetWidthMm), 24);  // 23.5
  EXPECT_EQ(MarginPixels(4960, 10, kSheetWidthMm), 236);
  EXPECT_EQ(MarginPixels(7015, 10, kSheetHeightMm), 236);
  EXPECT_EQ(MarginPixels(2147483, 5000, kSheetWidthMm), 51130548);  // no overflow
}

TEST_F(PrintLayout, EveryJobStandsWhereTheMarginsAndTheLinesPutIt) {
  std::string wrapping;
  for (int i = 1; i <= 24; ++i) wrapping += (i > 1 ? " slovo" : "slovo") + std::to_string(i);
  Add(wrapping, "1.1", "1.2", 0);
  Add("Ot\xE1zka 2", "2.1", "2.2", 1);
  CurrentTest.Questions[0].Picture = dir.File("obrazek.png");
  testsupport::WriteBytes(CurrentTest.Questions[0].Picture, "stands for a picture");
  int loads = 0;
  const TPictureLoader load = [&](const std::string& path) {
    ++loads;
    EXPECT_EQ(path, CurrentTest.Questions[0].Picture);
    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(Qt::darkRed);
    return image;
  };
  TPrintSettings settings;
  settings.AnswerSheets = true;
  settings.PictureFactor = 2;
  settings.Variants = 2;
  Print(settings, load);
  ASSERT_EQ(printer->Jobs().size(), 5u);
  EXPECT_EQ(loads, 1);  // once for both variants

  // 10 mm of an A4 sheet of 4960 x 7015 pixels.
  const int L = 236, T = 236, W = 4960 - 2 * L;
  const std::string heading = "Test: Zem\xECpis";
  const int titleH = VyskaTextu(heading, kFonts.Nadpis);
  const int headerH = VyskaTextu("Jm\xE9no:", kFonts.Hlavicka);
  const int footH = VyskaTextu("Strana: 1", kFonts.Stranka);
  const int N = SirkaTextu("999.)", kFonts.Otazky), A = SirkaTextu("a.)", kFonts.Odpovedi);
  const int questionH = VyskaTextu("Ot\xE1zka 2", kFonts.Otazky);
  const int answerH = VyskaTextu("1.1", kFonts.Odpovedi);
  const std::string wrapped = ZalomitText(wrapping, W - N, kFonts.Otazky);
  ASSERT_GT(VratPR(wrapped), 1);

  std::vector<std::string> paper = {Text(L, T, heading + " (Varianta: 1)"), Text(L + N, T + titleH, "Jm\xE9no:"),
                                    Text(L + N, T + titleH + headerH, "Datum:"),
                                    Text(L + N, T + titleH + 2 * headerH, "Hodnocen\xED:")};
  int y = T + titleH + 3 * headerH + 20;
  paper.push_back("line " + std::to_string(L) + "," + std::to_string(y - 15) + "-" + std::to_string(L + W) + "," +
                  std::to_string(y - 15) + " pen 2");
  paper.push_back(Text(L, y, "1)"));
  for (int k = 1; k <= VratPR(wrapped); ++k) paper.push_back(Text(L + N, y + (k - 1) * questionH, VratRN(wrapped, k)));
  y += VratPR(wrapped) * questionH;
  for (const char* answer : {"a) 1.1", "b) 1.2"}) {
    paper.push_back(Text(L + N, y, std::string(answer, 2)));
    paper.push_back(Text(L + N + A, y, answer + 3));
    y += answerH;
  }
  paper.push_back("picture " + std::to_string(L + N + A) + "," + std::to_string(y) + " 60x40");
  y += 40;
  paper.push_back(Text(L, y, "2)"));
  paper.push_back(Text(L + N, y, "Ot\xE1zka 2"));
  y += questionH;
  for (const char* answer : {"a) 2.1", "b) 2.2"}) {
    paper.push_back(Text(L + N, y, std::string(answer, 2)));
    paper.push_back(Text(L + N + A, y, answer + 3));
    y += answerH;
  }
  paper.push_back(Text(L, 7015 - T - footH - 10, "Strana: 1"));
  ASSERT_EQ(printer->Jobs()[0].Pages.size(), 1u);
  EXPECT_EQ(Shown(printer->Jobs()[0].Pages[0]), paper);

  const int lineH = VyskaTextu("1) a", kFonts.Otazky);
  const std::string answers =
      " (Odpov\xEC"
      "di)";
  const std::vector<std::string> sheet = {Text(L, T, heading + " (Varianta: 1 - " + answers.substr(2)),
                                          Text(L + N, T + titleH, "1) a"), Text(L + N, T + titleH + lineH, "2) b")};
  EXPECT_EQ(Shown(printer->Jobs()[1].Pages.at(0)), sheet);
  const std::vector<std::string> summary = {Text(L, T, heading + answers), Text(L + N, T + titleH, "V1) 1a, 2b"),
                                            Text(L + N, T + titleH + lineH, "V2) 1a, 2b")};
  EXPECT_EQ(Shown(printer->Jobs()[4].Pages.at(0)), summary);
}

TEST_F(PrintLayout, ABlockThatJustFitsStaysOnItsPageAndOnePixelMoreMovesIt) {
  Add("Ot\xE1zka 1", "1.1", "1.2", 0);
  TPrintSettings settings;
  settings.TopBottomMm = 0;
  settings.LeftRightMm = 0;
  settings.Summary = false;
  const int titleH = VyskaTextu("Test: Zem\xECpis", kFonts.Nadpis);
  const int headerH = VyskaTextu("Jm\xE9no:", kFonts.Hlavicka);
  const int footH = VyskaTextu("Strana: 1", kFonts.Stranka);
  const int block = VyskaTextu("Ot\xE1zka 1", kFonts.Otazky) + 2 * VyskaTextu("1.1", kFonts.Odpovedi);
  // The heading, the header lines with the gap under them, the block, and
  // the space kept above the footer, which stands at the bottom.
  const int fits = titleH + 3 * headerH + 20 + block + 20 + footH;

  Use(QSize(2000, fits));
  Print(settings);
  ASSERT_EQ(printer->Jobs().at(0).Pages.size(), 1u);

  Use(QSize(2000, fits - 1));
  Print(settings);
  const auto& pages = printer->Jobs().at(0).Pages;
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(Shown(pages[0]).back(), Text(0, fits - 1 - footH - 10, "Strana: 1"));
  EXPECT_EQ(Shown(pages[1]).at(1), Text(0, titleH, "1)"));
}

}  // namespace
