#include "screens/uPomucky.h"

#include "model/uDApp.h"
#include "screens/ScreenWidgets.h"
#include "screens/uSTRTF.h"

using namespace toolkit;

TfPomucek* fPomucek = nullptr;

const TCaptionTable<TfPomucek> TfPomucek::Captions = {
    {kForm, "PomocneNastroje", "Pomocné nástroje"},
    {&TfPomucek::bUTRFT, "UlozitTestDoRTF", "Uložit test do RTF"},
    {&TfPomucek::bZavrit, "Zavrit", "Zavřít"},
};

TfPomucek::TfPomucek() : TForm("fPomucek") {
  SetBorderStyle(TBorderStyle::bsSingle);
  SetHelpButton(true);
  SetClientSize(168, 76);
  SetPosition(TPosition::poMainFormCenter);
  setFont(FontPt("MS Sans Serif", 8));

  // The tools one above the other, closing below them.
  bUTRFT = ComicButton(this, "bUTRFT", 8, 8, 152, "");
  bUTRFT->OnClick = [this] { bUTRFTClick(); };
  bZavrit = ComicButton(this, "bZavrit", 8, 43, 152, "");
  bZavrit->OnClick = [this] { bZavritClick(); };
  Captions.Build(*this);
}

void TfPomucek::NastavTxt() { Captions.LookUp(*this); }

void TfPomucek::FormActivate() { NastavTxt(); }

void TfPomucek::bUTRFTClick() {
  if (fSTRTF) fSTRTF->ShowModal();
}

void TfPomucek::bZavritClick() { Close(); }
