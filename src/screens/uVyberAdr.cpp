#include "screens/uVyberAdr.h"

#include "model/uDApp.h"
#include "screens/ScreenWidgets.h"

using namespace toolkit;

TfVyberAdr* fVyberAdr = nullptr;

const TCaptionTable<TfVyberAdr> TfVyberAdr::Captions = {
    {kForm, "VyberAdresare", "Výběr adresáře...", "..."},
    {&TfVyberAdr::Label1, "VyberAdresar", "Vyberte adresář:", ":"},
    {&TfVyberAdr::bVyber, "Vybrat", "Vybrat"},
    {&TfVyberAdr::bZrusit, "Zrusit", "Zrušit"},
};

TfVyberAdr::TfVyberAdr() : TForm("fVyberAdr") {
  SetClientSize(256, 281);
  SetPosition(TPosition::poMainFormCenter);
  setFont(FontPx("MS Sans Serif", 11));

  Label1 = new TLabel(this, "Label1");
  Label1->setFont(FontPx("MS Sans Serif", 11, true));
  Label1->move(8, 8);

  ShellTreeView1 = new TShellTreeView(this, "ShellTreeView1");
  ShellTreeView1->SetBounds(8, 26, 241, 216);

  bVyber = ComicButton(this, "bVyber", 8, 249, 113, "");
  bVyber->SetDefault(true);
  bVyber->OnClick = [this] { bVyberClick(); };
  bZrusit = ComicButton(this, "bZrusit", 136, 249, 113, "");
  bZrusit->SetCancel(true);
  bZrusit->OnClick = [this] { bZrusitClick(); };
  Captions.Build(*this);
}

void TfVyberAdr::FormActivate() { NastavTxt(); }

void TfVyberAdr::NastavTxt() { Captions.LookUp(*this); }

void TfVyberAdr::bVyberClick() {
  VybranyAdr = ShellTreeView1->Path();
  Close();
}

void TfVyberAdr::bZrusitClick() { Close(); }
