#pragma once
// The RTF export: the current test's questions and answers written into a
// rich-text editor, where the teacher may edit them by hand, and saved from
// there as an RTF document that word processors open.

#include "screens/Captions.h"
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

  // The captions: built with the screen, looked up by NastavTxt.
  static const TCaptionTable<TfSTRTF> Captions;
  void NastavTxt();
  void FormActivate() override;
  void bPripravitClick();
  void bUlozitClick();
  void bZavritClick();
};

extern TfSTRTF* fSTRTF;
