#include "screens/uNastaveni.h"

#include "model/uDApp.h"
#include "platform/appdir.h"
#include "platform/errors.h"
#include "platform/filetype.h"
#include "platform/qtgui/programicon.h"
#include "screens/ScreenWidgets.h"
#include "screens/uMenu.h"
#include "screens/uVyberAdr.h"

using namespace toolkit;

TfNastaveni* fNastaveni = nullptr;

const TCaptionTable<TfNastaveni> TfNastaveni::Captions = {
    {kForm, "Nastaveni", "Nastavení"},
    {&TfNastaveni::tsZakladni, "Zakladni", "Základní"},
    {&TfNastaveni::tsSoubory, "Soubory", "Soubory"},
    {&TfNastaveni::gProtokol, "Protokoly", "Protokoly"},
    {&TfNastaveni::gSoubory, "PraceSeSoubory", "Práce se soubory"},
    {&TfNastaveni::gbAktualizace, "Aktualizace", "Aktualizace"},
    {&TfNastaveni::gJazyk, "Jazyk", "Jazyk"},
    {&TfNastaveni::cbZjistiAV, "ZjistovatNoveVerzeProgramu", "Zjišťovat nové verze programu"},
    {&TfNastaveni::bAktualizuj, "Zjisti", "Zjistit"},
    {&TfNastaveni::chProtokol1, "VytvaretProtokol", "Vytvářet protokol"},
    {&TfNastaveni::chPVAdr, "PouzivatVychoziAdresar", "Používat výchozí adresář"},
    {&TfNastaveni::bZCesta, "Vybrat", "Vybrat"},
    {&TfNastaveni::bAsSST, "RegistraceTypuSSTProTesty", "Registrace typu sst pro Testy"},
    {&TfNastaveni::bNastavit, "Nastavit", "Nastavit"},
    {&TfNastaveni::bZrusit, "Zrusit", "Zrušit"},
};

namespace {

TCheckBox* Check(QWidget* parent, const char* name, int top) { return NewCheckBox(parent, name, 8, top, 172); }

// The two buttons of the lower group speak in a smaller, regular Comic Sans.
TButton* SmallComicButton(QWidget* parent, const char* name, int top, int width) {
  auto* b = new TButton(parent, name);
  b->setFont(FontPx("Comic Sans MS", 11));
  b->SetBounds(8, top, width, 21);
  return b;
}

}  // namespace

TfNastaveni::TfNastaveni() : TForm("fNastaveni") {
  SetHelpButton(true);
  SetClientSize(224, 245);
  SetPosition(TPosition::poMainFormCenter);
  setFont(FontPx("MS Sans Serif", 11));

  pcNastaveni = new TPageControl(this, "pcNastaveni");
  pcNastaveni->SetBounds(8, 8, 209, 199);

  tsZakladni = new TTabSheet(pcNastaveni, "tsZakladni");

  gbAktualizace = NewGroupBox(tsZakladni, "gbAktualizace", 8, 8, 185, 73);
  cbZjistiAV = Check(gbAktualizace, "cbZjistiAV", 20);
  bAktualizuj = new TButton(gbAktualizace, "bAktualizuj");
  bAktualizuj->SetBounds(8, 42, 75, 23);
  bAktualizuj->OnClick = [this] { bAktualizujClick(); };

  gJazyk = NewGroupBox(tsZakladni, "gJazyk", 8, 88, 185, 53);
  cbJazyky = new TComboBox(gJazyk, "cbJazyky");
  cbJazyky->SetBounds(8, 20, 169, 21);

  tsSoubory = new TTabSheet(pcNastaveni, "tsSoubory");

  gProtokol = NewGroupBox(tsSoubory, "gProtokol", 8, 4, 185, 41);
  chProtokol1 = Check(gProtokol, "chProtokol1", 18);

  gSoubory = NewGroupBox(tsSoubory, "gSoubory", 8, 48, 185, 119);
  chPVAdr = Check(gSoubory, "chPVAdr", 18);
  eVAdr = new TEdit(gSoubory, "eVAdr");
  eVAdr->SetBounds(8, 38, 169, 21);
  // A folder's name may hold letters that no text of the program can.
  eVAdr->SetPathText(true);
  bZCesta = SmallComicButton(gSoubory, "bZCesta", 62, 75);
  bZCesta->OnClick = [this] { bZCestaClick(); };
  bAsSST = SmallComicButton(gSoubory, "bAsSST", 90, 169);
  bAsSST->OnClick = [this] { bAsSSTClick(); };

  bNastavit = ComicButton(this, "bNastavit", 8, 213, 97, "");
  bNastavit->OnClick = [this] { bNastavitClick(); };
  bZrusit = ComicButton(this, "bZrusit", 119, 213, 97, "");
  bZrusit->OnClick = [this] { bZrusitClick(); };
  Captions.Build(*this);
}

void TfNastaveni::FormActivate() { NastavTxt(); }

void TfNastaveni::NastavTxt() { Captions.LookUp(*this); }

void TfNastaveni::FormShow() {
  // The page last active stays; only the values are loaded afresh.
  chProtokol1->SetChecked(Settings.Protokol);
  chPVAdr->SetChecked(Settings.PVAdr);
  eVAdr->SetText(Settings.VAdr);
  cbZjistiAV->SetChecked(Settings.ZjistiAV);
  cbJazyky->SetItems(ListLanguages());
  for (int i = 0; i < cbJazyky->ItemCount(); ++i) {
    if (cbJazyky->Item(i) == Settings.pJazyk) {
      cbJazyky->SetItemIndex(i);
      break;
    }
  }
}

void TfNastaveni::bNastavitClick() {
  Settings.Protokol = chProtokol1->Checked();
  Settings.PVAdr = chPVAdr->Checked();
  Settings.VAdr = eVAdr->Text();
  Settings.ZjistiAV = cbZjistiAV->Checked();
  // A language no longer in the table stays chosen until another is picked.
  if (cbJazyky->ItemIndex() >= 0) Settings.pJazyk = cbJazyky->Text();
  SaveSettings("Nastaveni.ini");
  Close();
}

void TfNastaveni::bZrusitClick() { Close(); }

void TfNastaveni::bAktualizujClick() {
  // Nothing else starts from this screen while the check runs; every way out,
  // an error included, gives the screen back with the focus where it was.
  setEnabled(false);
  struct Restore {
    TfNastaveni* form;
    ~Restore() {
      form->setEnabled(true);
      form->activateWindow();
      form->Activate();
      form->bAktualizuj->setFocus();
    }
  } restore{this};
  if (fMenu) fMenu->ZjistiNV();
}

void TfNastaveni::bZCestaClick() {
  if (!fVyberAdr) return;
  // A text that is no path is reported, and the chooser still opens with
  // nothing selected, so the user can pick a folder instead of retyping.
  try {
    fVyberAdr->ShellTreeView1->SetPath(eVAdr->Text());
  } catch (const platform::Exception& e) {
    Application()->ShowException(e);
  }
  fVyberAdr->VybranyAdr = eVAdr->Text();
  fVyberAdr->ShowModal();
  eVAdr->SetText(fVyberAdr->VybranyAdr);
}

void TfNastaveni::bAsSSTClick() {
  platform::TFileType type;
  type.Id = "zorvik";
  type.AppName = "Zorvik";
  type.Pattern = "*.sst";
  type.MimeType = "application/x-zorvik-test";
  type.Description = "Soubor s testem aplikace Zorvik";
  type.ProgramPath = platform::NativeProgramFile();
  const QByteArray icon = platform::ProgramIconSvg();
  type.IconSvg.assign(icon.constData(), static_cast<size_t>(icon.size()));
  platform::RegisterFileType(type, platform::UserXdgHome());
}
