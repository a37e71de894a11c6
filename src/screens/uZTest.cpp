#include "screens/uZTest.h"

#include <QApplication>
#include <QPalette>
#include <algorithm>
#include <cstdint>
#include <optional>

#include "platform/convert.h"
#include "screens/ScreenWidgets.h"
#include "platform/files.h"
#include "model/uDApp.h"
#include "model/uDTest.h"
#include "screens/uHodnoceni.h"

using namespace toolkit;
using platform::IntToStr;

TVysledky RunResult;
TfZTest* fZTest = nullptr;

const TCaptionTable<TfZTest> TfZTest::Captions = {
    {kForm, "Test", "Test"},
    {&TfZTest::Label1, "Otazka", "Otázka:", ":"},
    {&TfZTest::Label2, "CisloOtazky", "Číslo otázky:", ":"},
    {&TfZTest::Label3, "Cas", "Čas:", ":"},
    {&TfZTest::bPredchozi, "Predchozi", "<<< Předchozí", "", "<<< "},
    {&TfZTest::bKonec, "Dokonci", "Dokončit"},
};

namespace {
const QColor kYellow(255, 255, 0);

QColor ButtonFace() { return QApplication::palette().color(QPalette::Button); }

// One second off a countdown kept in the timer's tag; the seconds left.
int Odecti(TTimer* timer) {
  timer->SetTag(timer->Tag() - 1);
  return timer->Tag();
}

// Yellow from half the time left, red from a quarter; before that the colour stays.
void Obarvi(TLabel* label, int left, int64_t limit) {
  if (left <= limit / 4) label->SetColor(kWrongColor);
  else if (left <= limit / 2) label->SetColor(kYellow);
}
// The test's time in seconds, in 64 bits, and as much of it as the counter holds.
int64_t TestSeconds() { return int64_t{CurrentTest.TestTimeLimit} * 60; }
int CounterOf(int64_t seconds) { return static_cast<int>(std::min<int64_t>(seconds, INT32_MAX)); }
}  // namespace

TfZTest::TfZTest() : TForm("fZTest") {
  SetHelpButton(true);
  SetClientSize(674, 358);
  SetPosition(TPosition::poOwnerFormCenter);
  setFont(FontPt("MS Sans Serif", 8));

  pOtazka = NewPanel(this, "pOtazka", TAlign::alTop, 25);
  pMenu = NewPanel(this, "pMenu", TAlign::alBottom, 41);
  pOdpovedi = NewPanel(this, "pOdpovedi", TAlign::alClient, 0);

  // The question at the left, the test's remaining time at the right.
  Label1 = ComicLabel(pOtazka, "Label1", 8, 4, true);
  lOtazka = ComicLabel(pOtazka, "lOtazka", 72, 4, false, "---");
  lCasT = ComicFixedLabel(pOtazka, "lCasT", 590, 4, 49, Qt::AlignRight, "---");
  lCasT->SetColor(ButtonFace());
  Label4 = ComicLabel(pOtazka, "Label4", 642, 4, true, "min.");

  iObr = new TImage(pOdpovedi, "iObr");
  iObr->SetAutoSize(true);
  iObr->move(10, 10);
  iObr->hide();

  // From left to right: the number, the time, the moves, the verdict, the end.
  Label2 = ComicLabel(pMenu, "Label2", 8, 12, true);
  lCislo = ComicFixedLabel(pMenu, "lCislo", 104, 12, 49, Qt::AlignHCenter, "");
  Label3 = ComicLabel(pMenu, "Label3", 160, 12, true);
  lCas = ComicFixedLabel(pMenu, "lCas", 196, 12, 33, Qt::AlignHCenter, "1");
  lCas->SetColor(ButtonFace());
  bPredchozi = ComicButton(pMenu, "bPredchozi", 236, 8, 113, "", 0, [this] { bPredchoziClick(); });
  bPredchozi->setEnabled(false);
  seCOtazky = new TSpinEdit(pMenu, "seCOtazky");
  seCOtazky->SetBounds(354, 10, 49, 22);
  seCOtazky->SetMinValue(1);
  seCOtazky->SetMaxValue(1);
  seCOtazky->SetValue(1);
  seCOtazky->OnChange = [this] { seCOtazkyChange(); };
  seCOtazky->OnExit = [this] { seCOtazkyExit(); };
  bDalsi = ComicButton(pMenu, "bDalsi", 408, 8, 113, Cp1250("Další >>>"), 1013, [this] { DalsiKlik(); });
  lSS = ComicFixedLabel(pMenu, "lSS", 524, 12, 65, Qt::AlignHCenter, Cp1250("Správně"));
  lSS->hide();
  bKonec = ComicButton(pMenu, "bKonec", 592, 8, 75, "", 1012, [this] { bKonecClick(); });

  tCNO = new TTimer(this, "tCNO");
  tCNO->SetInterval(1000);
  tCNO->OnTimer = [this] { tCNOTimer(); };
  tCNT = new TTimer(this, "tCNT");
  tCNT->SetInterval(1000);
  tCNT->OnTimer = [this] { tCNTTimer(); };
  Captions.Build(*this);
}

bool TfZTest::SeZpetnouVazbou() const { return !CurrentTest.FreeNavigation && CurrentTest.ShowCorrectAnswers; }

int32_t TfZTest::PocetOtazek() const { return QuestionCount(RunTest); }

void TfZTest::NastavTxt() {
  Captions.LookUp(*this);
  CekatNaKontrolu(AwaitingConfirm);
  RozmistiCislo();
}

void TfZTest::RozmistiCislo() {
  // The counter has room for its longest value, N/N: it grows first into the
  // room left of it, up to its label, and only then pushes the time to the right.
  constexpr int kLeft = 104, kWidth = 49, kTimeLabelLeft = 160, kTimeLeft = 196;
  const QString longest = QStringLiteral("%1/%1").arg(std::max(PocetOtazek(), 1));
  const int needed = std::max(kWidth, lCislo->fontMetrics().horizontalAdvance(longest) + 6);
  int left = kLeft;
  if (needed > kWidth) left = std::max(Label2->x() + Label2->width() + 4, kLeft + kWidth - needed);
  lCislo->SetBounds(left, lCislo->y(), needed, lCislo->height());
  const int shift = std::max(0, left + needed - (kLeft + kWidth));
  Label3->move(kTimeLabelLeft + shift, Label3->y());
  lCas->move(std::max(kTimeLeft, Label3->x() + Label3->width() + 4), lCas->y());
}

void TfZTest::CekatNaKontrolu(bool on) {
  AwaitingConfirm = on;
  bDalsi->SetCaption(on ? LangText("Ok") : LangText("Dalsi") + " >>>");
}

void TfZTest::FormActivate() { NastavTxt(); }

// Starting a run

void TfZTest::FormShow() {
  PrepareRun(RunQuestionCount, ShuffleQuestions, ShuffleAnswers);
  lSS->hide();
  PripravHodnoceni();
  RozmistiCislo();

  lOtazka->SetWordWrap(true);
  lOtazka->setFixedWidth(pOtazka->width() - 159);
  lOtazka->AdjustBounds();

  const int32_t answerCount = std::max(RunTest.AnswerCount, 0);
  const int labelWidth = pOdpovedi->width() - 65;
  for (int32_t i = 0; i < answerCount; ++i) {
    const std::string labelName = "AnswerLabel" + IntToStr(i);
    auto* label = new TLabel(pOdpovedi, labelName.c_str());
    label->setFont(font());
    label->move(55, 0);
    label->setFixedWidth(labelWidth);
    label->SetWordWrap(true);
    label->SetCaption("");
    label->show();
    AnswerLabels.push_back(label);

    const std::string boxName = "AnswerBox" + IntToStr(i);
    const std::string letter = AnswerLetter(static_cast<size_t>(i)) + ")";
    // The radio buttons of the panel form one group: at most one is marked.
    QAbstractButton* box = NewChoiceButton(pOdpovedi, boxName.c_str(), letter, RunTest.MultipleCorrect);
    box->setFont(ComicFont(true));
    box->setGeometry(10, 0, 35, 17);
    box->show();
    AnswerBoxes.push_back(box);
  }

  CurrentQuestion = -1;
  ZDalsiO();

  bDalsi->setEnabled(true);
  seCOtazky->setEnabled(CurrentTest.FreeNavigation);
  CekatNaKontrolu(SeZpetnouVazbou());
  seCOtazky->SetMinValue(1);
  seCOtazky->SetMaxValue(PocetOtazek());

  if (CurrentTest.TestTimeLimit > 0) {
    CasTStart();
  } else {
    lCasT->SetCaption("---");
    // No colour of an earlier run's countdown stays behind the dashes.
    lCasT->SetColor(ButtonFace());
  }
}

void TfZTest::PripravHodnoceni() {
  const auto answerCount = static_cast<size_t>(std::max(RunTest.AnswerCount, 0));
  RunResult.Answers.assign(static_cast<size_t>(PocetOtazek()), TVOtz{false, std::vector<bool>(answerCount, false)});
  RunResult.RightCount = 0;
  RunResult.WrongCount = 0;
}

// Showing a question

void TfZTest::ObnovZ() {
  int top = 10;
  for (size_t i = 0; i < AnswerLabels.size(); ++i) {
    AnswerLabels[i]->move(55, top);
    AnswerBoxes[i]->move(10, top);
    NastavZnacku(i, false);
    top = AnswerLabels[i]->y() + AnswerLabels[i]->height() + 10;
  }
  iObr->move(10, top);
  pOtazka->resize(pOtazka->width(), lOtazka->y() + lOtazka->height() + 10);
  // The width never changes; the height follows the question, its answers and its picture.
  SetHeight(pMenu->height() + pOtazka->height() + iObr->y() + iObr->height() + 40);
}

void TfZTest::ZobrazO() {
  const TOtazky& question = RunTest.Questions.at(static_cast<size_t>(CurrentQuestion));
  lSS->hide();
  lOtazka->SetCaption(question.Text);

  // A picture that cannot be read is reported, but the pupil still gets the
  // question, its answers and its time.
  std::optional<platform::Exception> failure;
  bool picture = !question.Picture.empty() && platform::FileExists(question.Picture);
  if (picture) {
    iObr->SetAutoSize(true);
    try {
      iObr->SetPicture(LoadPicture(question.Picture));
      iObr->show();
    } catch (const platform::Exception& e) {
      failure = e;
      picture = false;
    }
  }
  if (!picture) {
    iObr->SetAutoSize(false);
    iObr->resize(iObr->width(), 0);
    iObr->hide();
  }

  for (size_t i = 0; i < AnswerLabels.size(); ++i) {
    AnswerLabels[i]->SetCaption(i < question.Answers.size() ? question.Answers[i] : std::string());
    AnswerLabels[i]->SetFontColor(QColor());
  }
  ObnovZ();

  if (failure && Application()) {
    Application()->ShowException(*failure);
    // The test time may have run out while the box was open: the run is over then.
    if (!isVisible()) return;
  }

  if (RunTest.QuestionTimeLimit > 0) {
    CasStart();
  } else {
    lCas->SetCaption("---");
    lCas->SetColor(ButtonFace());
  }

  // The guard first, so that the jump box's change handler lets this change be.
  seCOtazky->SetTag(CurrentQuestion + 1);
  seCOtazky->SetValue(CurrentQuestion + 1);

  const std::vector<bool>& marks = RunResult.Answers.at(static_cast<size_t>(CurrentQuestion)).Marks;
  for (size_t i = 0; i < AnswerBoxes.size() && i < marks.size(); ++i) {
    if (marks[i]) NastavZnacku(i, true);
  }

  bPredchozi->setEnabled(CurrentQuestion > 0 && CurrentTest.FreeNavigation);
  bDalsi->setEnabled(CurrentQuestion < PocetOtazek() - 1);
}

void TfZTest::NastavZnacku(size_t slot, bool on) { SetChoiceChecked(AnswerBoxes[slot], on); }

void TfZTest::UkazCislo() { lCislo->SetCaption(IntToStr(CurrentQuestion + 1) + "/" + IntToStr(PocetOtazek())); }

void TfZTest::ZDalsiO() {
  ++CurrentQuestion;
  ZobrazO();
  UkazCislo();
}

void TfZTest::ZPredchoziO() {
  if (CurrentQuestion <= 0) return;
  --CurrentQuestion;
  ZobrazO();
  UkazCislo();
}

// Checking: the marks must equal the key slot by slot; there is no partial credit.

void TfZTest::ZHodnoceni() {
  if (CurrentQuestion < 0 || static_cast<size_t>(CurrentQuestion) >= RunResult.Answers.size()) return;
  const TOtazky& question = RunTest.Questions.at(static_cast<size_t>(CurrentQuestion));
  const bool feedback = SeZpetnouVazbou();
  bool right = true;
  std::vector<bool> marks(AnswerBoxes.size(), false);
  for (size_t i = 0; i < AnswerBoxes.size(); ++i) {
    const bool m = AnswerBoxes[i]->isChecked();
    const bool k = i < question.Correct.size() && question.Correct[i];
    marks[i] = m;
    if (m != k) right = false;
    if (!feedback) continue;
    if (m && !k) AnswerLabels[i]->SetFontColor(kWrongColor);
    else if (k) AnswerLabels[i]->SetFontColor(kRightColor);
  }
  if (feedback) {
    lSS->SetCaption(right ? LangText("Spravne") : LangText("Spatne"));
    lSS->SetFontColor(right ? kRightColor : kWrongColor);
    lSS->show();
  }
  TVOtz& entry = RunResult.Answers[static_cast<size_t>(CurrentQuestion)];
  entry.Correct = right;
  entry.Marks = marks;
}

// Moving

void TfZTest::bDalsiClick() {
  CasStop();
  if (AwaitingConfirm && !CurrentTest.FreeNavigation) {
    // The check step: the verdict stays on screen with the countdown stopped.
    ZHodnoceni();
    CekatNaKontrolu(false);
    return;
  }
  if (CurrentQuestion >= PocetOtazek() - 1) return;
  lSS->hide();
  // In the feedback mode the verdict of the check step stands.
  if (!SeZpetnouVazbou()) ZHodnoceni();
  ZDalsiO();
  if (SeZpetnouVazbou()) CekatNaKontrolu(true);
}

void TfZTest::DalsiKlik() {
  // A question is answered only by a click made while it was shown: the
  // second click of a double click that moved on would answer the next one unseen.
  if (bDalsi->SecondOfDoubleClick() && dalsiPosunul_) {
    dalsiPosunul_ = false;
    return;
  }
  const int32_t shown = CurrentQuestion;
  bDalsiClick();
  dalsiPosunul_ = CurrentQuestion != shown;
}

void TfZTest::bPredchoziClick() {
  CasStop();
  lSS->hide();
  ZHodnoceni();
  if (CurrentQuestion > 0) ZPredchoziO();
}

void TfZTest::seCOtazkyChange() {
  // An empty box becomes 1; the change that makes runs this handler again.
  if (seCOtazky->Text().empty()) seCOtazky->SetValue(1);
  const int32_t number = seCOtazky->Value();
  if (number < 1 || number > PocetOtazek() || number == seCOtazky->Tag()) return;
  CasStop();
  lSS->hide();
  ZHodnoceni();
  CurrentQuestion = number - 1;
  ZobrazO();
  UkazCislo();
}

void TfZTest::seCOtazkyExit() {
  if (seCOtazky->Text().empty()) seCOtazky->SetValue(1);
}

// Finishing

void TfZTest::bKonecClick() {
  CasStop();
  CasTStop();
  ZHodnoceni();
  DokoncitT();
}

void TfZTest::DokoncitT() {
  bDalsi->setEnabled(false);
  if (fHodnoceni) fHodnoceni->ShowModal();
  Close();
}

// The question countdown

void TfZTest::CasStart() {
  tCNO->SetTag(RunTest.QuestionTimeLimit);
  lCas->SetCaption(IntToStr(tCNO->Tag()));
  lCas->SetColor(ButtonFace());
  tCNO->SetEnabled(true);
}

void TfZTest::CasStop() { tCNO->SetEnabled(false); }

void TfZTest::tCNOTimer() {
  const int left = Odecti(tCNO);
  lCas->SetCaption(IntToStr(left));
  Obarvi(lCas, left, RunTest.QuestionTimeLimit);
  if (left <= 0) CasVyprsel();
}

void TfZTest::CasVyprsel() { bDalsiClick(); }

// The test countdown

void TfZTest::CasTStart() {
  tCNT->SetTag(CounterOf(TestSeconds()));
  lCasT->SetCaption(IntToStr(CurrentTest.TestTimeLimit) + ":00");
  lCasT->SetColor(ButtonFace());
  tCNT->SetEnabled(true);
}

void TfZTest::CasTStop() { tCNT->SetEnabled(false); }

void TfZTest::tCNTTimer() {
  const int left = Odecti(tCNT);
  lCasT->SetCaption(IntToStr(left / 60) + ":" + IntToStr(left % 60));
  Obarvi(lCasT, left, TestSeconds());
  if (left <= 0) CasTVyprsel();
}

void TfZTest::CasTVyprsel() {
  CasStop();
  CasTStop();
  bKonecClick();
}

// Closing, mid-run or after the evaluation

void TfZTest::FormCloseQuery(bool& CanClose) {
  CasStop();
  CasTStop();
  CanClose = true;
}

void TfZTest::FormHide() {
  for (TLabel* label : AnswerLabels) delete label;
  for (QAbstractButton* box : AnswerBoxes) delete box;
  AnswerLabels.clear();
  AnswerBoxes.clear();
  lSS->hide();
}
