#pragma once
// The settings screen: the five settings on two pages, saved to
// "Nastaveni.ini" by "Nastavit"; an update check on demand; the default test
// folder picked in the folder tree; the ".sst" file type registered with the
// desktop. Every showing loads the controls afresh from Settings, so
// "Zrušit" leaves nothing behind.

#include "screens/Captions.h"
#include "toolkit/Toolkit.h"

class TfNastaveni : public toolkit::TForm {
 public:
  TfNastaveni();

  toolkit::TPageControl* pcNastaveni;
  toolkit::TTabSheet* tsZakladni;
  toolkit::TGroupBox* gbAktualizace;
  toolkit::TCheckBox* cbZjistiAV;
  toolkit::TButton* bAktualizuj;
  toolkit::TGroupBox* gJazyk;
  toolkit::TComboBox* cbJazyky;
  toolkit::TTabSheet* tsSoubory;
  toolkit::TGroupBox* gProtokol;
  toolkit::TCheckBox* chProtokol1;
  toolkit::TGroupBox* gSoubory;
  toolkit::TCheckBox* chPVAdr;
  toolkit::TEdit* eVAdr;
  toolkit::TButton* bZCesta;
  toolkit::TButton* bAsSST;
  toolkit::TButton* bNastavit;
  toolkit::TButton* bZrusit;

  // The captions: built with the screen, looked up by NastavTxt.
  static const TCaptionTable<TfNastaveni> Captions;
  void NastavTxt();
  void FormActivate() override;
  void FormShow() override;

  void bNastavitClick();
  void bZrusitClick();
  void bAktualizujClick();
  void bZCestaClick();
  void bAsSSTClick();
};

extern TfNastaveni* fNastaveni;
