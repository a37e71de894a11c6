#pragma once
// The evaluation screen: closes every run. It totals the run result, grades
// it by the current test's grading, and builds a protocol of the whole run
// (every question with the pupil's marks and the key, in colour) that the
// pupil can print and that is stored as an RTF file in "Protokoly" when the
// settings ask for protocols.

#include <QDateTime>
#include <cstdint>
#include <string>

#include "screens/Captions.h"
#include "toolkit/Toolkit.h"

// The grade "1" to "5" for a grading mode (0 errors, 1 points, 2 percent, any
// other value as errors), its four thresholds, the right total and the number
// of questions; the first threshold that holds wins.
std::string Znamka(int32_t mode, int32_t limit1, int32_t limit2, int32_t limit3, int32_t limit4, int32_t right,
                   int32_t questions);

// The protocol's file name for a moment: year-month-day_hour-minute-second.rtf,
// every number without leading zeros.
std::string NazevProtokolu(const QDateTime& moment);

class TfHodnoceni : public toolkit::TForm {
 public:
  TfHodnoceni();

  toolkit::TLabel* Label1;
  toolkit::TLabel* lSpravne;
  toolkit::TLabel* Label2;
  toolkit::TLabel* lSpatne;
  toolkit::TLabel* Label3;
  toolkit::TLabel* lZnamka;
  toolkit::TLabel* Label4;
  toolkit::TEdit* eJmeno;
  toolkit::TLabel* Label5;
  toolkit::TEdit* eDatum;
  toolkit::TLabel* Label6;
  toolkit::TEdit* ePoznamka;
  toolkit::TBevel* Bevel1;
  toolkit::TRichEdit* reVystup;
  toolkit::TBevel* Bevel2;
  toolkit::TButton* bPridatInf;
  toolkit::TButton* bTisk;
  toolkit::TButton* Button1;

  // The captions: built with the screen, looked up by NastavTxt.
  static const TCaptionTable<TfHodnoceni> Captions;
  void NastavTxt();
  void FormActivate() override;
  void FormShow() override;
  void ZZnamku();
  void PripravVystup();
  void bPridatInfClick();
  void bTiskClick();
  void Button1Click();
  void UlozVysledek();

 private:
  // Header line i (0 to 5) of the protocol from the controls as they stand.
  std::string RadekHlavicky(int i) const;
};

extern TfHodnoceni* fHodnoceni;
