#pragma once
// The test properties screen: creates a new test, or edits the header of the
// current one (name, answers per question, protection, grading, run options).
// It reads and writes CurrentTest only; its controls keep their contents
// between openings, which is what a new test starts from.

#include "screens/Captions.h"
#include "toolkit/Toolkit.h"

class TfNTest : public toolkit::TForm {
 public:
  TfNTest();

  toolkit::TGroupBox* gZInfo;
  toolkit::TLabel* Label1;
  toolkit::TEdit* eJTestu;
  toolkit::TLabel* Label2;
  toolkit::TSpinEdit* seOdpovedi;
  toolkit::TCheckBox* cbKombinace;

  toolkit::TGroupBox* gOchrana;
  toolkit::TCheckBox* cbKodovat;
  toolkit::TCheckBox* cbHeslo;
  toolkit::TEdit* eHeslo;

  toolkit::TGroupBox* gHodnoceni;
  toolkit::TRadioGroup* rZHodnoceni;
  toolkit::TLabel* Label3;
  toolkit::TLabel* Label4;
  toolkit::TLabel* Label5;
  toolkit::TLabel* Label6;
  toolkit::TSpinEdit* seDo1;
  toolkit::TSpinEdit* seDo2;
  toolkit::TSpinEdit* seDo3;
  toolkit::TSpinEdit* seDo4;

  toolkit::TGroupBox* gPrubehT;
  toolkit::TCheckBox* cbSpravneO;
  toolkit::TCheckBox* cbLibPosunPO;
  toolkit::TCheckBox* cbCas;
  toolkit::TSpinEdit* seCas;
  toolkit::TCheckBox* cbCasOdp;
  toolkit::TSpinEdit* seCasT;

  toolkit::TButton* bVytvorit;
  toolkit::TButton* bUpravit;
  toolkit::TButton* bZpet;

  // The captions: built with the screen, looked up by NastavTxt.
  static const TCaptionTable<TfNTest> Captions;
  void NastavTxt();
  void NastavitHodnoty();

  void FormShow() override;
  void rZHodnoceniClick();
  void seOdpovediExit();
  void seDo1Exit();
  void seDo2Exit();
  void seDo3Exit();
  void seDo4Exit();
  void seCasChange();
  void seCasTChange();
  void bVytvoritClick();
  void bUpravitClick();
  void bZpetClick();
};

extern TfNTest* fNTest;
