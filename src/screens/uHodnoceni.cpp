#include "screens/uHodnoceni.h"

#include <QColor>
#include <cerrno>
#include <string_view>

#include "platform/appdir.h"
#include "platform/convert.h"
#include "platform/errors.h"
#include "screens/ScreenWidgets.h"
#include "platform/qtgui/localclock.h"
#include "model/uDApp.h"
#include "model/uDTest.h"
#include "screens/uZTest.h"

using namespace toolkit;
using platform::IntToStr;

TfHodnoceni* fHodnoceni = nullptr;

const TCaptionTable<TfHodnoceni> TfHodnoceni::Captions = {
    {kForm, "Hodnoceni", "Hodnocení"},
    {&TfHodnoceni::Label1, "Spravne", "Správně:", ":"},
    {&TfHodnoceni::Label2, "Spatne", "Špatně:", ":"},
    {&TfHodnoceni::Label3, "Znamka", "Známka:", ":"},
    {&TfHodnoceni::Label4, "Jmeno", "Jméno:", ":"},
    {&TfHodnoceni::Label5, "DatumACas", "Datum a čas:", ":"},
    {&TfHodnoceni::Label6, "Poznamka", "Poznámka:", ":"},
    {&TfHodnoceni::bPridatInf, "UpravInfo", "Uprav info"},
    {&TfHodnoceni::bTisk, "Tisk", "Tisk"},
    {&TfHodnoceni::Button1, "Zavrit", "Zavřít"},
};

namespace {
// How many protocols saved in the same second get a name of their own (the
// plain name, then "_2" up to this); past that, saving fails with an error
// rather than replace one.
constexpr int kMaxProtokolu = 1000;
// The protocol file's extension, after the moment's name or its "_2", "_3", ...
constexpr std::string_view kPripona = ".rtf";

// The protocol opens with the header lines (name, date, note, the two totals
// and the grade) and a rule of hyphens under them.
constexpr int kRadkuHlavicky = 6;
constexpr size_t kDelkaCary = 50;

// The entry of question i; a question the run result does not reach counts
// as never checked: wrong and unmarked.
const TVOtz& Vysledek(size_t i) {
  static const TVOtz unchecked;
  return i < RunResult.Answers.size() ? RunResult.Answers[i] : unchecked;
}

bool Oznaceno(const TVOtz& entry, size_t j) { return j < entry.Marks.size() && entry.Marks[j]; }

// 100 / N * R rounded to the nearest whole number, halves to the even one.
// Reckoned in whole numbers: 15 of 24 is 62.5 and gives 62, where floating
// point lands a hair above the half and would give 63.
int64_t Procenta(int64_t right, int64_t questions) {
  const int64_t scaled = 100 * right;
  int64_t q = scaled / questions;
  int64_t rest = scaled % questions;
  if (rest < 0) {
    q -= 1;
    rest += questions;
  }
  if (2 * rest > questions || (2 * rest == questions && q % 2 != 0)) ++q;
  return q;
}
}  // namespace

std::string Znamka(int32_t mode, int32_t limit1, int32_t limit2, int32_t limit3, int32_t limit4, int32_t right,
                   int32_t questions) {
  const int32_t limits[] = {limit1, limit2, limit3, limit4};
  if (mode == kGradingByPoints || mode == kGradingByPercent) {
    const int64_t v = mode == kGradingByPoints ? right : (questions > 0 ? Procenta(right, questions) : 0);
    for (int g = 0; g < 4; ++g) {
      if (v >= limits[g]) return IntToStr(g + 1);
    }
  } else {
    const int64_t errors = static_cast<int64_t>(questions) - right;
    for (int g = 0; g < 4; ++g) {
      if (errors <= limits[g]) return IntToStr(g + 1);
    }
  }
  return "5";
}

std::string NazevProtokolu(const QDateTime& moment) {
  const QDate d = moment.date();
  const QTime t = moment.time();
  return IntToStr(d.year()) + "-" + IntToStr(d.month()) + "-" + IntToStr(d.day()) + "_" + IntToStr(t.hour()) + "-" +
         IntToStr(t.minute()) + "-" + IntToStr(t.second()) + std::string(kPripona);
}

TfHodnoceni::TfHodnoceni() : TForm("fHodnoceni") {
  SetHelpButton(true);
  SetClientSize(423, 405);
  SetPosition(TPosition::poOwnerFormCenter);
  setFont(FontPt("MS Sans Serif", 8));

  // The three results at the left, the pupil's name, the date and a note at the right.
  Label1 = ComicLabel(this, "Label1", 8, 8, true);
  lSpravne = ComicLabel(this, "lSpravne", 80, 8, false, "");
  Label2 = ComicLabel(this, "Label2", 8, 32, true);
  lSpatne = ComicLabel(this, "lSpatne", 80, 32, false, "");
  Label3 = ComicLabel(this, "Label3", 8, 56, true);
  lZnamka = ComicLabel(this, "lZnamka", 80, 56, false, "");
  Label4 = ComicLabel(this, "Label4", 168, 8, true);
  eJmeno = NewEdit(this, "eJmeno", 272, 8, 145);
  Label5 = ComicLabel(this, "Label5", 168, 32, true);
  eDatum = NewEdit(this, "eDatum", 272, 32, 145);
  Label6 = ComicLabel(this, "Label6", 168, 56, true);
  ePoznamka = NewEdit(this, "ePoznamka", 272, 56, 145);

  Bevel1 = NewBevel(this, "Bevel1", TBevelShape::bsBottomLine, 8, 80, 409, 9);

  reVystup = new TRichEdit(this, "reVystup");
  reVystup->SetBounds(8, 96, 409, 265);
  reVystup->SetReadOnly(true);
  reVystup->SetScrollBars(true, true);

  Bevel2 = NewBevel(this, "Bevel2", TBevelShape::bsBottomLine, 6, 360, 409, 9);

  bPridatInf = ComicButton(this, "bPridatInf", 8, 376, 97, "", 0, [this] { bPridatInfClick(); });
  bTisk = ComicButton(this, "bTisk", 176, 376, 75, "", 0, [this] { bTiskClick(); });
  Button1 = ComicButton(this, "Button1", 334, 376, 75, "", 0, [this] { Button1Click(); });
  Captions.Build(*this);
}

void TfHodnoceni::NastavTxt() { Captions.LookUp(*this); }

void TfHodnoceni::FormActivate() { NastavTxt(); }

// Showing: totals, grade, date, protocol

void TfHodnoceni::FormShow() {
  // Hidden, the protocol is still built, printed and stored in full.
  reVystup->setVisible(CurrentTest.ShowCorrectAnswers);

  // In points grading the totals are sums of points, otherwise numbers of questions.
  int64_t right = 0, wrong = 0;
  for (int32_t i = 0; i < QuestionCount(RunTest); ++i) {
    int64_t amount = 0;
    const int32_t mode = CurrentTest.GradingMode;
    if (mode == kGradingByErrors || mode == kGradingByPercent) amount = 1;
    else if (mode == kGradingByPoints) amount = RunTest.Questions[static_cast<size_t>(i)].Points;
    (Vysledek(static_cast<size_t>(i)).Correct ? right : wrong) += amount;
  }
  RunResult.RightCount = static_cast<int32_t>(right);
  RunResult.WrongCount = static_cast<int32_t>(wrong);
  lSpravne->SetCaption(IntToStr(RunResult.RightCount));
  lSpatne->SetCaption(IntToStr(RunResult.WrongCount));

  ZZnamku();

  const QDateTime now = platform::LocalNow();
  eDatum->SetText(FromQ(platform::ShortDateText(now.date()) + u' ' + platform::LongTimeText(now.time())));

  TBusyCursor busy;
  PripravVystup();
}

void TfHodnoceni::ZZnamku() {
  lZnamka->SetCaption(Znamka(CurrentTest.GradingMode, CurrentTest.Limit1, CurrentTest.Limit2, CurrentTest.Limit3,
                             CurrentTest.Limit4, RunResult.RightCount, QuestionCount(RunTest)));
}

// The protocol

std::string TfHodnoceni::RadekHlavicky(int i) const {
  switch (i) {
    case 0: return LangText("Jmeno") + ": " + eJmeno->Text();
    case 1: return LangText("DatumACas") + ": " + eDatum->Text();
    case 2: return LangText("Poznamka") + ": " + ePoznamka->Text();
    case 3: return LangText("Spravne") + ": " + lSpravne->Caption();
    case 4: return LangText("Spatne") + ": " + lSpatne->Caption();
    default: return LangText("Hodnoceni") + ": " + lZnamka->Caption();
  }
}

void TfHodnoceni::PripravVystup() {
  // Built as lines of formatted pieces and handed to the document in one
  // step: a run of thousands of questions opens at once.
  std::vector<TTextLine> lines;
  for (int i = 0; i < kRadkuHlavicky; ++i) lines.push_back({{RadekHlavicky(i), true, {}}});
  lines.push_back({{std::string(kDelkaCary, '-'), true, {}}});

  const std::string spravne = LangText("Spravne");
  const std::string spatne = LangText("Spatne");
  for (int32_t i = 0; i < QuestionCount(RunTest); ++i) {
    const TOtazky& question = RunTest.Questions[static_cast<size_t>(i)];
    const TVOtz& entry = Vysledek(static_cast<size_t>(i));

    lines.push_back({});
    lines.push_back(
        {{IntToStr(i + 1) + ") " + question.Text, true, {}},
         {" ", false, {}},
         {"[" + (entry.Correct ? spravne : spatne) + "]", true, entry.Correct ? kRightColor : kWrongColor}});

    for (size_t j = 0; j < question.Answers.size(); ++j) {
      const bool marked = Oznaceno(entry, j);
      const bool correct = j < question.Correct.size() && question.Correct[j];
      const std::string answer = AnswerLetter(j) + ") " + question.Answers[j] + " ";
      const std::string bracket = std::string("[") + (marked ? "X" : " ") + "(" + (correct ? spravne : spatne) + ")]";
      const QColor color = marked && correct ? kRightColor : marked || correct ? kWrongColor : QColor();
      lines.push_back({{answer, false, {}}, {bracket, false, color}});
    }
  }
  reVystup->Clear();
  reVystup->Select(0, 0);
  reVystup->AddLines(lines);
}

void TfHodnoceni::bPridatInfClick() {
  std::vector<std::string> header;
  for (int i = 0; i < kRadkuHlavicky; ++i) header.push_back(RadekHlavicky(i));
  reVystup->SetLines(0, header);
}

// Printing and storing

// The protocol printed and stored carries the header as the boxes stand at
// that moment, whether or not "Uprav info" was pressed: never a name left
// from the previous pupil while the boxes show another.
void TfHodnoceni::bTiskClick() {
  TBusyCursor busy;
  bPridatInfClick();
  reVystup->Print(LangText("VysledkyTestu"));
}

void TfHodnoceni::Button1Click() {
  UlozVysledek();
  Close();
}

void TfHodnoceni::UlozVysledek() {
  if (!Settings.Protokol) return;
  TBusyCursor busy;
  bPridatInfClick();
  // The folder is not made here: it lies beside the program from its installation.
  // A protocol never replaces another: a second one in the same second is "_2", then "_3", ...
  const std::string name = NazevProtokolu(platform::LocalNow());
  const std::string stem = platform::ProgramDir() + "Protokoly/" + name.substr(0, name.size() - kPripona.size());
  for (int n = 1; n <= kMaxProtokolu; ++n) {
    const std::string path = (n == 1 ? stem : stem + "_" + IntToStr(n)) + std::string(kPripona);
    if (reVystup->SaveToNewFile(path)) return;
  }
  throw platform::EInOutError::FromErrno(stem + std::string(kPripona), EEXIST);
}
