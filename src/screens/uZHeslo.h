#pragma once
// The password prompt: asks for the edit password of a protected test and
// leaves what was typed in EnteredPassword. It compares nothing; the main
// menu's gate does.

#include "screens/Captions.h"
#include "toolkit/Toolkit.h"

class TfZHeslo : public toolkit::TForm {
 public:
  TfZHeslo();

  toolkit::TLabel* Label1;
  toolkit::TMaskEdit* meHeslo;
  toolkit::TButton* bPokracovat;
  toolkit::TButton* bZpet;

  // The captions: built with the screen, looked up by NastavTxt.
  static const TCaptionTable<TfZHeslo> Captions;
  void NastavTxt();
  void FormShow() override;
  void FormActivate() override;
  void bPokracovatClick();
  void bZpetClick();
};

extern TfZHeslo* fZHeslo;
