#include "printing/PrintLayout.h"

#include <cstdint>
#include <vector>

#include "model/uDApp.h"
#include "model/uDTest.h"
#include "platform/convert.h"
#include "platform/files.h"
#include "platform/qtgui/printer.h"
#include "platform/qtgui/qtext.h"

namespace printing {

using platform::Printer;

namespace {

const char kCrLf[] = "\r\n";

// The widest question number and answer letter give the columns' widths.
const char kNumberColumn[] = "999.)";
const char kLetterColumn[] = "a.)";

// Printer pixels. Under the header lines of a question paper a gap, across
// which the rule runs this far above the first question, with this pen.
constexpr int kHeaderGap = 20;
constexpr int kRuleAbove = 15;
constexpr int kRulePen = 2;
// The page footer stands this far above the bottom margin's line (less its
// own height), and the questions stop this far above that line.
constexpr int kFooterRaise = 10;
constexpr int kFooterClearance = 20;

void SelectFont(const TFontSpec& spec) { Printer().SetFont(platform::PointFont(spec), platform::ColorOf(spec)); }

void Draw(const TFontSpec& font, int x, int y, const std::string& text) {
  SelectFont(font);
  Printer().TextOut(x, y, platform::ToQString(text));
}

// The page geometry of one print action.
struct TPage {
  int PW = 0, PH = 0;  // printable area
  int L = 0, T = 0;    // left/right and top/bottom margins
  int W = 0;           // text width
  std::string H;       // heading text
  int titleH = 0, footH = 0;
  int N = 0, A = 0;  // number and letter columns
  int U = 0;         // usable height
};

// One press of the print button: its settings, fonts and pictures, the page
// geometry and the answer key of every variant.
class TPrintAction {
 public:
  TPrintAction(const TPrintSettings& settings, const TRoleFonts& fonts, const TPictureLoader& load)
      : settings_(settings), fonts_(fonts), pictures_(load) {}

  void Run();

 private:
  void Measure();
  void QuestionPaper(int variant);
  // The variant's key, and its answer sheet when asked for.
  void AnswerKey(int variant, std::string& key);
  void Summary();
  void HeadingLine(const std::string& suffix, int& y);
  void Footer();
  // A new page with its heading line when a height h no longer fits under y.
  void BreakPage(const std::string& heading, int h, int& y, bool footer);

  const TPrintSettings& settings_;
  const TRoleFonts& fonts_;
  TPrintPictures pictures_;
  TPage page_;
  std::vector<std::string> keys_;
};

void TPrintAction::Run() {
  page_.PW = Printer().PageWidth();
  page_.PH = Printer().PageHeight();
  page_.L = MarginPixels(page_.PW, settings_.LeftRightMm, kSheetWidthMm);
  page_.T = MarginPixels(page_.PH, settings_.TopBottomMm, kSheetHeightMm);
  keys_.assign(static_cast<size_t>(settings_.Variants), std::string());

  for (int v = 1; v <= settings_.Variants; ++v) {
    PrepareRun(settings_.Questions, settings_.ShuffleQuestions, settings_.ShuffleAnswers);
    Printer().Title =
        platform::ToQString(LangText("TiskTestu") + " \"" + RunTest.Name + "\" " + LangText("zProgramuZorvik"));
    Measure();
    Printer().Copies = settings_.Copies;
    QuestionPaper(v);
    AnswerKey(v, keys_[static_cast<size_t>(v - 1)]);
  }
  if (settings_.Summary) Summary();
}

// What depends on the variant's texts: its heading and the fonts' measures.
void TPrintAction::Measure() {
  page_.H = LangText("Test") + ": " + RunTest.Name;
  page_.titleH = VyskaTextu(page_.H, fonts_.Nadpis);
  page_.footH = VyskaTextu(LangText("Str") + ": 1", fonts_.Stranka);
  page_.N = SirkaTextu(kNumberColumn, fonts_.Otazky);
  page_.A = SirkaTextu(kLetterColumn, fonts_.Odpovedi);
  page_.W = page_.PW - 2 * page_.L;
  page_.U = page_.PH - 2 * page_.T - page_.titleH - page_.footH - kFooterClearance;
}

void TPrintAction::HeadingLine(const std::string& suffix, int& y) {
  Draw(fonts_.Nadpis, page_.L, y, page_.H + suffix);
  y += page_.titleH;
}

void TPrintAction::Footer() {
  Draw(fonts_.Stranka, page_.L, page_.PH - page_.T - page_.footH - kFooterRaise,
       LangText("Str") + ": " + std::to_string(Printer().PageNumber()));
}

void TPrintAction::BreakPage(const std::string& heading, int h, int& y, bool footer) {
  if (y - page_.T - page_.titleH + h <= page_.U) return;
  if (footer) Footer();
  Printer().NewPage();
  y = page_.T;
  HeadingLine(heading, y);
}

void TPrintAction::QuestionPaper(int variant) {
  const std::string heading = " (" + LangText("VarC") + ": " + std::to_string(variant) + ")";
  Printer().BeginDoc();
  int y = page_.T;
  HeadingLine(heading, y);
  for (const std::string& field : {LangText("Jmeno"), LangText("Datum"), LangText("Hodnoceni")}) {
    const std::string text = field + ":";
    Draw(fonts_.Hlavicka, page_.L + page_.N, y, text);
    y += VyskaTextu(text, fonts_.Hlavicka);
  }
  y += kHeaderGap;
  Printer().SetPenWidth(kRulePen);
  Printer().Line(page_.L, y - kRuleAbove, page_.L + page_.W, y - kRuleAbove);

  std::vector<std::string> answers;
  for (size_t i = 0; i < RunTest.Questions.size(); ++i) {
    const TOtazky& q = RunTest.Questions[i];
    const std::string question = ZalomitText(q.Text, page_.W - page_.N, fonts_.Otazky);
    const int questionH = VyskaTextu(question, fonts_.Otazky) * VratPR(question);
    int blockH = questionH;
    answers.clear();
    for (const std::string& a : q.Answers) {
      answers.push_back(ZalomitText(a, page_.W - page_.N - page_.A, fonts_.Odpovedi));
      blockH += VyskaTextu(answers.back(), fonts_.Odpovedi) * VratPR(answers.back());
    }
    const QImage* picture = nullptr;
    if (!q.Picture.empty() && platform::FileExists(q.Picture)) {
      // Never wider than the answers' column, nor taller than an empty page holds.
      picture = &pictures_.Get(q.Picture, settings_.PictureFactor, page_.W - page_.N - page_.A, page_.U);
      blockH += picture->height();
    }

    BreakPage(heading, blockH, y, true);

    Draw(fonts_.Otazky, page_.L, y, std::to_string(i + 1) + ")");
    TiskVRT(question, fonts_.Otazky, page_.L + page_.N, y);
    y += questionH;
    for (size_t j = 0; j < answers.size(); ++j) {
      Draw(fonts_.Odpovedi, page_.L + page_.N, y, AnswerLetter(j) + ")");
      const int n = TiskVRT(answers[j], fonts_.Odpovedi, page_.L + page_.N + page_.A, y);
      y += VyskaTextu(answers[j], fonts_.Odpovedi) * n;
    }
    if (picture) {
      Printer().Draw(page_.L + page_.N + page_.A, y, *picture);
      y += picture->height();
    }
  }
  Footer();
  Printer().EndDoc();
}

void TPrintAction::AnswerKey(int variant, std::string& key) {
  const bool sheet = settings_.AnswerSheets;
  const std::string heading =
      " (" + LangText("VarC") + ": " + std::to_string(variant) + " - " + LangText("Odpovedi") + ")";
  int y = page_.T;
  if (sheet) {
    Printer().Copies = 1;
    Printer().BeginDoc();
    HeadingLine(heading, y);
  }
  for (size_t i = 0; i < RunTest.Questions.size(); ++i) {
    const TOtazky& q = RunTest.Questions[i];
    std::string line = std::to_string(i + 1) + ") ";
    if (!key.empty()) key += ", ";
    key += std::to_string(i + 1);
    for (size_t j = 0; j < q.Correct.size(); ++j) {
      if (!q.Correct[j]) continue;
      line += AnswerLetter(j);
      key += AnswerLetter(j);
    }
    if (sheet) {
      const int h = VyskaTextu(line, fonts_.Otazky);
      BreakPage(heading, h, y, false);
      Draw(fonts_.Otazky, page_.L + page_.N, y, line);
      y += h;
    }
  }
  if (sheet) Printer().EndDoc();
}

void TPrintAction::Summary() {
  const std::string heading = " (" + LangText("Odpovedi") + ")";
  Printer().BeginDoc();
  int y = page_.T;
  HeadingLine(heading, y);
  for (int v = 1; v <= settings_.Variants; ++v) {
    const std::string entry = "V" + std::to_string(v) + ") " + keys_[static_cast<size_t>(v - 1)];
    const std::string wrapped = ZalomitText(entry, page_.W - page_.N, fonts_.Otazky);
    const int h = VyskaTextu(wrapped, fonts_.Otazky);
    // Line by line, so a long key goes on over the next page.
    for (int k = 1; k <= VratPR(wrapped); ++k) {
      BreakPage(heading, h, y, false);
      Draw(fonts_.Otazky, page_.L + page_.N, y, VratRN(wrapped, k));
      y += h;
    }
  }
  Printer().EndDoc();
}

}  // namespace

int VyskaTextu(const std::string& text, const TFontSpec& font) {
  SelectFont(font);
  return Printer().TextHeight(platform::ToQString(text));
}

int SirkaTextu(const std::string& text, const TFontSpec& font) {
  SelectFont(font);
  return Printer().TextWidth(platform::ToQString(text));
}

std::string ZalomitText(const std::string& text, int maxWidth, const TFontSpec& font) {
  std::string rest = text, lines, line;
  auto close = [&] {
    lines = lines.empty() ? std::string(platform::TrimControls(line))
                          : std::string(platform::TrimControls(lines)) + kCrLf + line;
  };
  while (!rest.empty()) {
    const size_t blank = rest.find(' ');
    const size_t c = blank == std::string::npos ? rest.size() : blank + 1;
    const std::string word = rest.substr(0, blank == std::string::npos ? rest.size() : blank);
    if (SirkaTextu(line + word, font) <= maxWidth) {
      line += rest.substr(0, c);
    } else {
      close();
      line = rest.substr(0, c);
    }
    rest.erase(0, c);
  }
  close();
  return lines;
}

int VratPR(const std::string& text) {
  int n = 1;
  for (size_t at = text.find(kCrLf); at != std::string::npos; at = text.find(kCrLf, at + 2)) ++n;
  return n;
}

std::string VratRN(const std::string& text, int n) {
  if (n < 1) n = 1;
  size_t start = 0;
  for (int k = 1; k < n; ++k) {
    const size_t at = text.find(kCrLf, start);
    if (at == std::string::npos) return "";
    start = at + 2;
  }
  const size_t end = text.find(kCrLf, start);
  return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

int TiskVRT(const std::string& text, const TFontSpec& font, int x, int y) {
  const int h = VyskaTextu(text, font);
  const int n = VratPR(text);
  for (int k = 1; k <= n; ++k) Draw(font, x, y + (k - 1) * h, VratRN(text, k));
  return n;
}

int MarginPixels(int printable, int mm, int fullMm) {
  const int64_t a = static_cast<int64_t>(printable) * mm;
  int64_t q = a / fullMm;
  const int64_t twice = 2 * (a % fullMm);
  if (twice > fullMm || (twice == fullMm && q % 2 != 0)) ++q;
  return static_cast<int>(q);
}

void PrintTest(const TPrintSettings& settings, const TRoleFonts& fonts, const TPictureLoader& load) {
  try {
    TPrintAction(settings, fonts, load).Run();
  } catch (...) {
    // A job cut short is dropped, so nothing half made is printed and the
    // printer is free for the next action.
    if (Printer().Printing()) Printer().Abort();
    throw;
  }
}

}  // namespace printing
