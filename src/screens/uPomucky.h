#pragma once
// The tools screen: a small menu of the teacher's auxiliary tools, opened
// from the main menu. Its one tool saves the current test as an RTF document.

#include "screens/Captions.h"
#include "toolkit/Toolkit.h"

class TfPomucek : public toolkit::TForm {
 public:
  TfPomucek();

  toolkit::TButton* bUTRFT;
  toolkit::TButton* bZavrit;

  // The captions: built with the screen, looked up by NastavTxt.
  static const TCaptionTable<TfPomucek> Captions;
  void NastavTxt();
  void FormActivate() override;
  void bUTRFTClick();
  void bZavritClick();
};

extern TfPomucek* fPomucek;
