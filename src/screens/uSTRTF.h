#pragma once
// The RTF export: the current test's questions and answers written into a
// rich-text editor, where the teacher may edit them by hand, and saved from
// there as an RTF document that word processors open.

#include "toolkit/Toolkit.h"

class TfSTRTF : public toolkit::TForm {
 public:
  TfSTRTF();

  toolkit::TRichEdit* reVystup;
  toolkit::TPanel* pMenu;
  toolkit::TButton* bPripravit;
  toolkit::TButton* bUlozit;
  toolkit::TButton* bZavrit;
  toolkit::TSaveDialog* sd1;

  void NastavTxt();
  void FormActivate() override;
  void bPripravitClick();
  void bUlozitClick();
  void bZavritClick();
};

extern TfSTRTF* fSTRTF;
