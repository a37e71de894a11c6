#pragma once
// The password prompt: asks for the edit password of a protected test and
// leaves what was typed in EnteredPassword. It compares nothing; the main
// menu's gate does.

#include "toolkit/Toolkit.h"

class TfZHeslo : public toolkit::TForm {
 public:
  TfZHeslo();

  toolkit::TLabel* Label1;
  toolkit::TMaskEdit* meHeslo;
  toolkit::TButton* bPokracovat;
  toolkit::TButton* bZpet;

  void NastavTxt();
  void FormShow() override;
  void FormActivate() override;
  void bPokracovatClick();
  void bZpetClick();
};

extern TfZHeslo* fZHeslo;
