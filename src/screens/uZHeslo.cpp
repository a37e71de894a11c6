#include "screens/uZHeslo.h"

#include "screens/ScreenWidgets.h"
#include "model/uDApp.h"
#include "model/uDTest.h"

using namespace toolkit;

TfZHeslo* fZHeslo = nullptr;

const TCaptionTable<TfZHeslo> TfZHeslo::Captions = {
    {kForm, "Pristup", "Přístup...", "..."},
    {&TfZHeslo::Label1, "TentoTestJeChranenHeslemProsimZadejteJej",
     "Tento test je chráněn heslem prosím zadejte jej:", ":"},
    {&TfZHeslo::bPokracovat, "Pokracovat", "Pokračovat"},
    {&TfZHeslo::bZpet, "Zpet", "Zpět"},
};

TfZHeslo::TfZHeslo() : TForm("fZHeslo") {
  SetClientSize(215, 110);
  SetPosition(TPosition::poMainFormCenter);
  setFont(FontPt("MS Sans Serif", 8));

  Label1 = new TLabel(this, "Label1");
  Label1->setFont(ComicFont(true));
  Label1->SetBounds(8, 8, 194, 38);
  Label1->SetWordWrap(true);

  meHeslo = new TMaskEdit(this, "meHeslo");
  meHeslo->SetBounds(8, 48, 201, 21);
  meHeslo->SetPasswordChar('*');

  bPokracovat = ComicButton(this, "bPokracovat", 26, 80, 75, "");
  bPokracovat->SetDefault(true);
  bPokracovat->OnClick = [this] { bPokracovatClick(); };

  bZpet = ComicButton(this, "bZpet", 114, 80, 75, "");
  bZpet->SetCancel(true);
  bZpet->OnClick = [this] { bZpetClick(); };
  Captions.Build(*this);
}

void TfZHeslo::FormShow() {
  // Whatever way the prompt is left, the gate sees this showing's answer:
  // only "Pokračovat" puts the typed text here; the close box leaves it empty.
  EnteredPassword.clear();
  meHeslo->SetText("");
  meHeslo->setFocus();
}

void TfZHeslo::FormActivate() { NastavTxt(); }

void TfZHeslo::NastavTxt() { Captions.LookUp(*this); }

void TfZHeslo::bPokracovatClick() {
  EnteredPassword = meHeslo->Text();
  Close();
}

void TfZHeslo::bZpetClick() {
  EnteredPassword.clear();
  Close();
}
