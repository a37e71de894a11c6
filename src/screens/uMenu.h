#pragma once
// The main menu: the program's main window, a column of buttons from which
// every other screen is opened modally. It loads the settings and a test
// named on the command line, loads and saves tests, guards editing with the
// password prompt and asks before unsaved changes are lost.

#include <memory>
#include <string>

#include "help/hxcontextmap.h"
#include "help/hxhelprouter.h"
#include "help/whatsthis/FormComponents.h"
#include "help/whatsthis/hxwhatsthis.h"
#include "model/Product.h"
#include "model/uPFce.h"
#include "screens/Captions.h"
#include "toolkit/Toolkit.h"

class TfMenu : public toolkit::TForm {
 public:
  TfMenu();

  toolkit::TButton* bSpustitTest;
  toolkit::TButton* bUpravitTest;
  toolkit::TButton* bVlastnostiTestu;
  toolkit::TButton* bNacistTest;
  toolkit::TButton* bUlozitTest;
  toolkit::TButton* bTiskTestu;
  toolkit::TButton* bPomucky;
  toolkit::TButton* bNastaveni;
  toolkit::TButton* bNapoveda;
  toolkit::TButton* bInfo;
  toolkit::TButton* bKonec;
  toolkit::TBevel* Bevel1;
  toolkit::TBevel* Bevel2;
  toolkit::TBevel* Bevel3;
  toolkit::TBevel* Bevel4;
  toolkit::TBevel* Bevel6;
  toolkit::TBevel* Bevel7;
  toolkit::TLabel* Label1;
  toolkit::TLabel* Label2;
  toolkit::TLabel* Label3;
  toolkit::TOpenDialog* od1;
  toolkit::TSaveDialog* sd1;
  // Every help request of the program passes through it; made by FormCreate.
  std::unique_ptr<help::THelpRouter> HelpRouter1;
  // The help components, which serve every screen of the program; the form
  // frees them with itself.
  help::TFormComponents* Components;
  help::TWhatsThis* WhatsThis1;
  help::THelpContextMap* HelpContextMap1;

  // The captions: built with the screen, looked up by NastavTxt.
  static const TCaptionTable<TfMenu> Captions;
  void NastavTxt();
  void OZobrazeni();
  // True when the screen behind the gate may open.
  bool PasswordGate();
  // The update check: shows the notice, fetches the version file and tells
  // the user its verdict or why there is none; returns when the user has
  // dismissed it. The main menu runs it at start, the settings screen on request.
  void ZjistiNV();

  // Where the check fetches the version file and within what limits (tests
  // point it at a server of their own).
  std::string AdresaVerze = product::kVersionFileUrl;
  platform::DownloadLimits LimityVerze = kVersionFileLimits;

  void FormCreate() override;
  void FormShow() override;
  void FormActivate() override;
  void FormCloseQuery(bool& CanClose) override;
  void FormClose() override;

  void bSpustitTestClick();
  void bUpravitTestClick();
  void bVlastnostiTestuClick();
  void bNacistTestClick();
  void bUlozitTestClick();
  void bTiskTestuClick();
  void bPomuckyClick();
  void bNastaveniClick();
  void bNapovedaClick();
  void bInfoClick();
  void bKonecClick();

 private:
  // Both dialogs start in the default test directory when the settings say so.
  void NastavAdresare();
};

extern TfMenu* fMenu;
