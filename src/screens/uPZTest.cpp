#include "screens/uPZTest.h"

#include "screens/ScreenWidgets.h"
#include "model/uDApp.h"
#include "model/uDTest.h"

using namespace toolkit;

TfPZTest* fPZTest = nullptr;

const TCaptionTable<TfPZTest> TfPZTest::Captions = {
    {kForm, "ParametryTestu", "Parametry testu"},
    {&TfPZTest::gParametry, "ParametryTestu", "Parametry testu"},
    {&TfPZTest::Label1, "PocetOtazek", "Počet otázek:", ":"},
    {&TfPZTest::cbMichatOtz, "MichatOtazky", "Míchat otázky"},
    {&TfPZTest::cbMichatOdp, "MichatOdpovedi", "Míchat odpovedi"},
    {&TfPZTest::Button1, "Pokracovat", "Pokračovat"},
};

TfPZTest::TfPZTest() : TForm("fPZTest") {
  SetClientSize(174, 150);
  SetPosition(TPosition::poOwnerFormCenter);
  setFont(FontPt("MS Sans Serif", 8));

  gParametry = new TGroupBox(this, "gParametry");
  gParametry->SetBounds(8, 8, 161, 105);

  Label1 = ComicLabel(gParametry, "Label1", 8, 14, true);

  sePOtz = new TSpinEdit(gParametry, "sePOtz");
  sePOtz->SetBounds(8, 35, 113, 22);

  cbMichatOtz = NewCheckBox(gParametry, "cbMichatOtz", 8, 64, 145);
  cbMichatOtz->SetChecked(true);

  cbMichatOdp = NewCheckBox(gParametry, "cbMichatOdp", 8, 80, 145);
  cbMichatOdp->SetChecked(true);

  Button1 = ComicButton(this, "Button1", 49, 120, 75, "");
  Button1->SetDefault(true);
  Button1->OnClick = [this] { Button1Click(); };
  Captions.Build(*this);
}

void TfPZTest::NastavTxt() { Captions.LookUp(*this); }

void TfPZTest::FormActivate() { NastavTxt(); }

void TfPZTest::FormShow() {
  const int32_t n = QuestionCount(CurrentTest);
  sePOtz->SetMinValue(2);
  sePOtz->SetMaxValue(n);
  sePOtz->SetValue(n);
  sePOtz->setFocus();
}

void TfPZTest::Button1Click() { Close(); }

void TfPZTest::FormClose() {
  // Every way of closing comes here, so the run always gets a count within 2..N.
  if (sePOtz->Text().empty()) sePOtz->SetValue(sePOtz->MaxValue());
  RunQuestionCount = sePOtz->CheckValue(sePOtz->Value());
  ShuffleQuestions = cbMichatOtz->Checked();
  ShuffleAnswers = cbMichatOdp->Checked();
}
