#pragma once
// The directory chooser: a folder tree and "Vybrat" / "Zrušit". The caller
// presets VybranyAdr and the tree's path, shows it modally and reads
// VybranyAdr back; only "Vybrat" changes it. The tree keeps its open folders
// and selection between openings.

#include <string>

#include "screens/Captions.h"
#include "toolkit/Toolkit.h"

class TfVyberAdr : public toolkit::TForm {
 public:
  TfVyberAdr();

  toolkit::TLabel* Label1;
  toolkit::TShellTreeView* ShellTreeView1;
  toolkit::TButton* bVyber;
  toolkit::TButton* bZrusit;

  // The chosen folder.
  std::string VybranyAdr;

  // The captions: built with the screen, looked up by NastavTxt.
  static const TCaptionTable<TfVyberAdr> Captions;
  void NastavTxt();
  void FormActivate() override;
  void bVyberClick();
  void bZrusitClick();
};

extern TfVyberAdr* fVyberAdr;
