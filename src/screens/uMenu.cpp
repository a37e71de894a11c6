#include "screens/uMenu.h"

#include <QScopeGuard>

#include "screens/HelpApplication.h"
#include "screens/ScreenWidgets.h"
#include "platform/appdir.h"
#include "platform/files.h"
#include "model/uDApp.h"
#include "model/uDTest.h"
#include "screens/uAktualizace.h"
#include "screens/uMain.h"
#include "screens/uNTest.h"
#include "screens/uNastaveni.h"
#include "screens/uPZTest.h"
#include "screens/uPomucky.h"
#include "screens/uTisk.h"
#include "screens/uUpravitT.h"
#include "screens/uZHeslo.h"
#include "screens/uZTest.h"
#include "screens/uZjistiA.h"

using namespace toolkit;

TfMenu* fMenu = nullptr;

const TCaptionTable<TfMenu> TfMenu::Captions = {
    {kForm, "HlavniMenu", "Hlavní menu"},
    {&TfMenu::bSpustitTest, "SpustitTest", "Spustit test"},
    {&TfMenu::bUpravitTest, "UpravitTest", "Upravit test"},
    {&TfMenu::bVlastnostiTestu, "VlastnostiTestu", "Vlastnosti testu"},
    {&TfMenu::bNacistTest, "NacistTest", "Načíst test"},
    {&TfMenu::bUlozitTest, "UlozitTest", "Uložit test"},
    {&TfMenu::bTiskTestu, "TiskTestu", "Tisk testu"},
    {&TfMenu::bPomucky, "Pomucky", "Pomůcky"},
    {&TfMenu::bNastaveni, "Nastaveni", "Nastavení"},
    {&TfMenu::bNapoveda, "Napoveda", "Nápověda"},
    {&TfMenu::bInfo, "Informace", "Informace"},
    {&TfMenu::bKonec, "Konec", "Konec"},
};

namespace {
const char* const kTestFilter = "Soubory s testy|*.sst";
}  // namespace

TfMenu::TfMenu() : TForm("fMenu") {
  SetHelpButton(true);
  SetClientSize(165, 488);
  SetPosition(TPosition::poScreenCenter);
  setFont(FontPx("MS Sans Serif", 11));

  struct ButtonPlace {
    TButton** field;
    const char* name;
    int32_t helpContext;
    int left, top, width;
    void (TfMenu::*click)();
  };
  const ButtonPlace buttons[] = {
      {&bSpustitTest, "bSpustitTest", 1001, 8, 8, 150, &TfMenu::bSpustitTestClick},
      {&bUpravitTest, "bUpravitTest", 1002, 8, 40, 150, &TfMenu::bUpravitTestClick},
      {&bVlastnostiTestu, "bVlastnostiTestu", 1003, 8, 80, 150, &TfMenu::bVlastnostiTestuClick},
      {&bNacistTest, "bNacistTest", 1004, 8, 112, 150, &TfMenu::bNacistTestClick},
      {&bUlozitTest, "bUlozitTest", 1005, 7, 144, 150, &TfMenu::bUlozitTestClick},
      {&bTiskTestu, "bTiskTestu", 1006, 8, 184, 150, &TfMenu::bTiskTestuClick},
      {&bPomucky, "bPomucky", 1007, 7, 216, 150, &TfMenu::bPomuckyClick},
      {&bNastaveni, "bNastaveni", 1008, 8, 264, 150, &TfMenu::bNastaveniClick},
      {&bNapoveda, "bNapoveda", 1009, 8, 312, 153, &TfMenu::bNapovedaClick},
      {&bInfo, "bInfo", 1010, 8, 344, 150, &TfMenu::bInfoClick},
      {&bKonec, "bKonec", 1011, 8, 392, 150, &TfMenu::bKonecClick},
  };
  for (const ButtonPlace& p : buttons) {
    *p.field = ComicButton(this, p.name, p.left, p.top, p.width, "", p.helpContext,
                           [this, click = p.click] { (this->*click)(); });
  }
  bSpustitTest->setProperty("HelpKeyword", QStringLiteral("1001"));
  Captions.Build(*this);

  // The lines part the buttons into groups: run and edit; properties, load and
  // save; print and tools; settings; help and information; end.
  Bevel4 = NewBevel(this, "Bevel4", TBevelShape::bsTopLine, 8, 72, 149, 2);
  Bevel3 = NewBevel(this, "Bevel3", TBevelShape::bsTopLine, 8, 176, 145, 2);
  Bevel2 = NewBevel(this, "Bevel2", TBevelShape::bsTopLine, 8, 248, 149, 2);
  Bevel6 = NewBevel(this, "Bevel6", TBevelShape::bsTopLine, 8, 304, 149, 2);
  Bevel7 = NewBevel(this, "Bevel7", TBevelShape::bsTopLine, 8, 376, 149, 2);
  Bevel1 = NewBevel(this, "Bevel1", TBevelShape::bsBottomLine, 8, 424, 153, 8);

  const std::string foot[] = {"Zorvik", Cp1250("testy s výběrem odpovědí"), Cp1250("pro učitele a žáky")};
  TLabel** labels[] = {&Label1, &Label2, &Label3};
  for (int i = 0; i < 3; ++i) {
    const std::string name = "Label" + std::to_string(i + 1);
    auto* l = new TLabel(this, name.c_str());
    l->SetAutoSize(false);
    l->SetBounds(10, 440 + 16 * i, 145, 13);
    l->SetAlignment(Qt::AlignHCenter);
    l->SetCaption(foot[i]);
    *labels[i] = l;
  }

  od1 = new TOpenDialog(this, "od1");
  od1->Filter = kTestFilter;
  od1->DefaultExt = "sst";
  od1->Options = ofHideReadOnly | ofFileMustExist | ofEnableSizing;
  sd1 = new TSaveDialog(this, "sd1");
  sd1->Filter = kTestFilter;
  sd1->DefaultExt = "sst";
  sd1->Options = ofOverwritePrompt | ofPathMustExist | ofHideReadOnly | ofEnableSizing;

  // The help components take their values from the form's stored description,
  // as the form storage reads them: "What's this?" help for every control of
  // every screen, and an empty context map, so the controls' own numbers decide.
  Components = new help::TFormComponents(this, "TfMenu");
  WhatsThis1 = new help::TWhatsThis(Components);
  WhatsThis1->SetName("WhatsThis1");
  HelpContextMap1 = new help::THelpContextMap(Components);
  HelpContextMap1->SetName("HelpContextMap1");
  help::TMemoryStream stored;
  auto ident = [&](std::string_view v) {
    stored.WriteByte(static_cast<uint8_t>(v.size()));
    stored.WriteBytes(v);
  };
  auto text = [&](std::string_view property, std::string_view v) {
    ident(property);
    stored.WriteByte(4);
    stored.WriteInt32(static_cast<int32_t>(v.size()));
    stored.WriteBytes(v);
  };
  ident("TfMenu");
  ident("fMenu");
  ident("");
  ident("TWhatsThis");
  ident("WhatsThis1");
  ident("Active");
  stored.WriteByte(3);
  text("HelpContextMap", "HelpContextMap1");
  ident("F1Action");
  stored.WriteByte(5);
  ident("goContext");
  ident("Options");
  stored.WriteByte(6);
  stored.WriteByte(4);
  for (const char* option : {"wtMenuRightClick", "wtNoContextHelp", "wtNoContextMenu", "wtInheritFormContext"})
    ident(option);
  text("PopupCaption", "Co je to?");
  ident("PopupHelpContext");
  stored.WriteByte(1);
  stored.WriteInt32(0);
  ident("");
  ident("");
  ident("THelpContextMap");
  ident("HelpContextMap1");
  ident("");
  ident("");
  ident("");
  stored.SetPosition(0);
  help::TReader(stored).ReadComponent(*Components);
}

void TfMenu::FormCreate() {
  LoadSettings("Nastaveni.ini");
  HelpRouter1 = std::make_unique<help::THelpRouter>(nullptr, HelpApplication(), this);
  HelpRouter1->SetName("HelpRouter1");
  HelpRouter1->SetHelpType(help::THelpType::htHTMLhelp);
  HelpRouter1->CHMPopupTopics = "connect.txt";
  HelpRouter1->ValidateID = false;
  HelpRouter1->Helpfile = platform::ProgramDir() + "Zorvik.chm";
  CurrentTest.Exists = false;
  OZobrazeni();
  NastavAdresare();
  const std::string arg = Application()->ParamStr(1);
  if (!arg.empty() && platform::FileExists(arg)) {
    LoadTest(CurrentTest, arg);
    OZobrazeni();
  }
}

void TfMenu::FormShow() {
  if (Settings.ZjistiAV) ZjistiNV();
  NastavAdresare();
}

void TfMenu::FormActivate() { NastavTxt(); }

void TfMenu::NastavTxt() { Captions.LookUp(*this); }

void TfMenu::OZobrazeni() {
  // "Vlastnosti testu" stays enabled: it is how a new test is made.
  const bool exists = CurrentTest.Exists;
  bSpustitTest->setEnabled(exists);
  bUpravitTest->setEnabled(exists);
  bTiskTestu->setEnabled(exists);
  bUlozitTest->setEnabled(exists);
}

void TfMenu::NastavAdresare() {
  const std::string dir = Settings.PVAdr ? Settings.VAdr : std::string();
  od1->InitialDir = dir;
  sd1->InitialDir = dir;
}

bool TfMenu::PasswordGate() {
  if (!CurrentTest.PasswordRequired) return true;
  // Without the prompt nobody can give the password.
  if (!fZHeslo) return false;
  fZHeslo->ShowModal();
  return EnteredPassword == CurrentTest.EditPassword;
}

void TfMenu::ZjistiNV() {
  // The notice goes on every way out of the check, an error included.
  const auto hideNotice = qScopeGuard([] {
    if (fZjistiA) fZjistiA->hide();
  });
  if (fZjistiA) fZjistiA->UkazANakresli();

  if (!IsOnline()) {
    MessageBoxes::Inform(LangText("Aktualizace") + "...", LangText("AktualizaciNelzeZjistitNejstePripojeni"));
    return;
  }
  // Nothing is asked of the server when its answer could not be kept.
  const std::string soubor = TfAktualizace::SouborVerze();
  if (soubor.empty()) {
    MessageBoxes::Inform(LangText("Aktualizace") + "...", LangText("AktualizaciNelzeZjistitNelzeUlozitSoubor"));
    return;
  }
  // A version file that arrived but cannot be read says nothing: that is a
  // failed download too, not a reason to show the last check's verdict.
  if (DownloadFile(AdresaVerze, soubor, LimityVerze) && fAktualizace && fAktualizace->NactiVerzi(soubor)) {
    fAktualizace->ShowModal();
    return;
  }
  MessageBoxes::Inform(LangText("Aktualizace") + "...", LangText("AktualizaciNelzeZjistitNelzeNahratDataZNetu"));
}

void TfMenu::bVlastnostiTestuClick() {
  if (!PasswordGate()) return;
  if (fNTest) fNTest->ShowModal();
  OZobrazeni();
}

void TfMenu::bUpravitTestClick() {
  if (!PasswordGate()) return;
  if (fUpravitT) fUpravitT->ShowModal();
}

void TfMenu::bNacistTestClick() {
  if (CurrentTest.Changed) {
    const std::string caption = LangText("Nacist") + "...";
    if (!MessageBoxes::AskYesNo(caption, LangText("TestZmenenNacistNovyBezUlozeni"))) return;
  }
  if (od1->Execute()) LoadTest(CurrentTest, od1->FileName);
  OZobrazeni();
}

void TfMenu::bUlozitTestClick() {
  if (!sd1->Execute()) return;
  SaveTest(CurrentTest, sd1->FileName);
  CurrentTest.Changed = false;
}

void TfMenu::bSpustitTestClick() {
  if (QuestionCount(CurrentTest) < 2) {
    const std::string caption = LangText("Test");
    MessageBoxes::Inform(caption, LangText("ProSpusteniPotrebaDveOtz"));
    return;
  }
  // The run follows however the parameters were closed: they store their values on closing.
  if (fPZTest) fPZTest->ShowModal();
  if (fZTest) fZTest->ShowModal();
}

void TfMenu::bTiskTestuClick() {
  if (fTisk) fTisk->ShowModal();
}

void TfMenu::bPomuckyClick() {
  if (fPomucek) fPomucek->ShowModal();
}

void TfMenu::bNastaveniClick() {
  if (fNastaveni) fNastaveni->ShowModal();
  // What it changed shows at once: the dialogs' folder and the language.
  NastavAdresare();
  NastavTxt();
}

void TfMenu::bNapovedaClick() {
  if (HelpRouter1) HelpRouter1->ShowHelpContents();
}

void TfMenu::bInfoClick() {
  if (fMain) fMain->ShowModal();
}

void TfMenu::bKonecClick() { Close(); }

void TfMenu::FormCloseQuery(bool& CanClose) {
  if (!CurrentTest.Changed) return;
  const std::string caption = LangText("Ukoncit") + "...";
  CanClose = MessageBoxes::AskYesNo(caption, LangText("TestZmenenKonecAppBezUlozeni"));
}

void TfMenu::FormClose() { Application()->Terminate(); }
