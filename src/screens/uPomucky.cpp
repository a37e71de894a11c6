#include "screens/uPomucky.h"

#include "model/uDApp.h"
#include "screens/ScreenWidgets.h"
#include "screens/uSTRTF.h"

using namespace toolkit;

TfPomucek* fPomucek = nullptr;

TfPomucek::TfPomucek() : TForm("fPomucek") {
  SetCaption(Cp1250("Pomocné nástroje"));
  SetBorderStyle(TBorderStyle::bsSingle);
  SetHelpButton(true);
  SetClientSize(168, 76);
  SetPosition(TPosition::poMainFormCenter);
  setFont(FontPt("MS Sans Serif", 8));

  // The tools one above the other, closing below them.
  bUTRFT = ComicButton(this, "bUTRFT", 8, 8, 152, Cp1250("Uložit test do RTF"));
  bUTRFT->OnClick = [this] { bUTRFTClick(); };
  bZavrit = ComicButton(this, "bZavrit", 8, 43, 152, Cp1250("Zavřít"));
  bZavrit->OnClick = [this] { bZavritClick(); };
}

void TfPomucek::NastavTxt() {
  SetCaption(LangText("PomocneNastroje"));
  bUTRFT->SetCaption(LangText("UlozitTestDoRTF"));
  bZavrit->SetCaption(LangText("Zavrit"));
}

void TfPomucek::FormActivate() { NastavTxt(); }

void TfPomucek::bUTRFTClick() {
  if (fSTRTF) fSTRTF->ShowModal();
}

void TfPomucek::bZavritClick() { Close(); }
