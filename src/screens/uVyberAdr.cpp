#include "screens/uVyberAdr.h"

#include "model/uDApp.h"
#include "screens/ScreenWidgets.h"

using namespace toolkit;

TfVyberAdr* fVyberAdr = nullptr;

TfVyberAdr::TfVyberAdr() : TForm("fVyberAdr") {
  SetCaption(Cp1250("Výběr adresáře..."));
  SetClientSize(256, 281);
  SetPosition(TPosition::poMainFormCenter);
  setFont(FontPx("MS Sans Serif", 11));

  Label1 = new TLabel(this, "Label1");
  Label1->setFont(FontPx("MS Sans Serif", 11, true));
  Label1->move(8, 8);
  Label1->SetCaption(Cp1250("Vyberte adresář:"));

  ShellTreeView1 = new TShellTreeView(this, "ShellTreeView1");
  ShellTreeView1->SetBounds(8, 26, 241, 216);

  bVyber = ComicButton(this, "bVyber", 8, 249, 113, "Vybrat");
  bVyber->SetDefault(true);
  bVyber->OnClick = [this] { bVyberClick(); };
  bZrusit = ComicButton(this, "bZrusit", 136, 249, 113, Cp1250("Zrušit"));
  bZrusit->SetCancel(true);
  bZrusit->OnClick = [this] { bZrusitClick(); };
}

void TfVyberAdr::FormActivate() { NastavTxt(); }

void TfVyberAdr::NastavTxt() {
  SetCaption(LangText("VyberAdresare") + "...");
  Label1->SetCaption(LangText("VyberAdresar") + ":");
  bVyber->SetCaption(LangText("Vybrat"));
  bZrusit->SetCaption(LangText("Zrusit"));
}

void TfVyberAdr::bVyberClick() {
  VybranyAdr = ShellTreeView1->Path();
  Close();
}

void TfVyberAdr::bZrusitClick() { Close(); }
