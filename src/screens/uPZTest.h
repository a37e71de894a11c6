#pragma once
// The run parameters: how many questions to ask and whether to shuffle the
// questions and the answers. It cannot cancel the run: however it is closed,
// it stores what it shows and the run follows.

#include "screens/Captions.h"
#include "toolkit/Toolkit.h"

class TfPZTest : public toolkit::TForm {
 public:
  TfPZTest();

  toolkit::TGroupBox* gParametry;
  toolkit::TLabel* Label1;
  toolkit::TSpinEdit* sePOtz;
  toolkit::TCheckBox* cbMichatOtz;
  toolkit::TCheckBox* cbMichatOdp;
  toolkit::TButton* Button1;

  // The captions: built with the screen, looked up by NastavTxt.
  static const TCaptionTable<TfPZTest> Captions;
  void NastavTxt();
  void FormActivate() override;
  void FormShow() override;
  void Button1Click();
  void FormClose() override;
};

extern TfPZTest* fPZTest;
