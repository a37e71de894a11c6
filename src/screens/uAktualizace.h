#pragma once
// The result of the update check: whether a newer build of the program
// exists, with the notes on it from the version file.

#include <string>

#include "screens/Captions.h"
#include "toolkit/Toolkit.h"

class TfAktualizace : public toolkit::TForm {
 public:
  TfAktualizace();

  toolkit::TLabel* Label1;
  toolkit::TLabel* lAktual;
  toolkit::TMemo* Memo1;
  toolkit::TButton* bZavrit;

  // The captions: built with the screen, looked up by NastavTxt.
  static const TCaptionTable<TfAktualizace> Captions;
  void NastavTxt();
  void FormShow() override;
  void FormActivate() override;
  void bZavritClick();

  // Reads the downloaded version file and puts its verdict and notes on the
  // screen. A file that cannot be read or does not start with a number
  // empties both and gives false: the check then reports a failed download
  // instead of showing the verdict of an earlier check.
  bool NactiVerzi(const std::string& soubor);

  // Where the check keeps its copy of the version file: beside the program,
  // or, where the program's folder takes no file, in the user's cache folder;
  // "" when neither does.
  static std::string SouborVerze();

 private:
  void Rozmisti();
};

extern TfAktualizace* fAktualizace;
