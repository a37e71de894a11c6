#pragma once
// The test-taking screen: shows the run copy's questions one at a time with
// their answers as check boxes or radio buttons, counts down the time of each
// question and of the whole test, checks the marks against the key and
// records the outcome in RunResult; at the end it shows the evaluation.

#include <cstdint>
#include <vector>

#include "screens/Captions.h"
#include "toolkit/Toolkit.h"

// The outcome of one asked question.
struct TVOtz {
  bool Correct = false;     // at its last check every mark matched the key
  std::vector<bool> Marks;  // the pupil's marks at the last check, one per answer slot as shown
};

// The outcome of one run; the evaluation screen fills the two totals.
struct TVysledky {
  int32_t RightCount = 0;      // right questions, or the sum of their points in points grading
  int32_t WrongCount = 0;      // the same for wrong questions
  std::vector<TVOtz> Answers;  // one per question of the run copy, in its order
};

// The run result: reset at the start of every run, kept until the next one.
extern TVysledky RunResult;

class TfZTest : public toolkit::TForm {
 public:
  TfZTest();

  toolkit::TPanel* pOtazka;
  toolkit::TPanel* pMenu;
  toolkit::TPanel* pOdpovedi;
  toolkit::TLabel* Label1;
  toolkit::TLabel* lOtazka;
  toolkit::TLabel* lCasT;
  toolkit::TLabel* Label4;
  toolkit::TImage* iObr;
  toolkit::TLabel* Label2;
  toolkit::TLabel* lCislo;
  toolkit::TLabel* Label3;
  toolkit::TLabel* lCas;
  toolkit::TLabel* lSS;
  toolkit::TButton* bPredchozi;
  toolkit::TSpinEdit* seCOtazky;
  toolkit::TButton* bDalsi;
  toolkit::TButton* bKonec;
  toolkit::TTimer* tCNO;
  toolkit::TTimer* tCNT;

  // The shown question (0-based); -1 before the first one is shown.
  int32_t CurrentQuestion = -1;
  // Feedback mode: the next press of bDalsi checks and shows the verdict.
  bool AwaitingConfirm = false;
  // One answer label and one mark box (TCheckBox or TRadioButton) per answer slot of the run.
  std::vector<toolkit::TLabel*> AnswerLabels;
  std::vector<QAbstractButton*> AnswerBoxes;

  // The captions: built with the screen, looked up by NastavTxt.
  static const TCaptionTable<TfZTest> Captions;
  void NastavTxt();
  void FormActivate() override;
  void FormShow() override;
  void FormCloseQuery(bool& CanClose) override;
  void FormHide() override;

  void PripravHodnoceni();
  void ZobrazO();
  void ObnovZ();
  void ZDalsiO();
  void ZPredchoziO();
  void ZHodnoceni();
  void DokoncitT();

  void bDalsiClick();
  void bPredchoziClick();
  void seCOtazkyChange();
  void seCOtazkyExit();
  void bKonecClick();

  void CasStart();
  void CasStop();
  void tCNOTimer();
  void CasVyprsel();
  void CasTStart();
  void CasTStop();
  void tCNTTimer();
  void CasTVyprsel();

 private:
  // The feedback mode: each question is checked and its verdict shown in colour before moving on.
  bool SeZpetnouVazbou() const;
  // The number of questions of the run copy.
  int32_t PocetOtazek() const;
  void NastavZnacku(size_t slot, bool on);
  // Sets AwaitingConfirm; bDalsi reads "Ok" while the check step waits.
  void CekatNaKontrolu(bool on);
  // lCislo reads "3/20".
  void UkazCislo();
  // Places the question counter and the time beside it for this run's count.
  void RozmistiCislo();
  // A click on bDalsi by the pupil: bDalsiClick, unless it is the second click
  // of a double click whose first one moved to the next question.
  void DalsiKlik();
  bool dalsiPosunul_ = false;
};

extern TfZTest* fZTest;
