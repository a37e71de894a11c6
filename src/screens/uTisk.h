#pragma once
// The print screen: the settings of printing the current test in shuffled
// variants on the default printer, and its five role fonts. What is printed
// and where it stands on the page is the print layout's (printing/PrintLayout.h).

#include <string>

#include "toolkit/Toolkit.h"
#include "screens/Captions.h"
#include "toolkit/WrapCheckBox.h"

class TfTisk : public toolkit::TForm {
 public:
  TfTisk();

  toolkit::TGroupBox* gOkraje;
  toolkit::TLabel* Label1;
  toolkit::TSpinEdit* seHDO;
  toolkit::TLabel* Label8;
  toolkit::TLabel* Label2;
  toolkit::TSpinEdit* sePLO;
  toolkit::TLabel* Label9;
  toolkit::TGroupBox* gTisk;
  toolkit::TLabel* Label4;
  toolkit::TSpinEdit* seKopii;
  toolkit::TLabel* Label7;
  toolkit::TSpinEdit* sePVariant;
  toolkit::TWrapCheckBox* chTiskVysledku;
  toolkit::TCheckBox* chbHVysledky;
  toolkit::TGroupBox* gObr;
  toolkit::TLabel* Label3;
  toolkit::TSpinEdit* seVelObr;
  toolkit::TLabel* Label6;
  toolkit::TGroupBox* gTest;
  toolkit::TCheckBox* cbMOtazky;
  toolkit::TCheckBox* cbMOdpovedi;
  toolkit::TLabel* Label5;
  toolkit::TSpinEdit* seOtazek;
  toolkit::TGroupBox* gPisma;
  toolkit::TButton* bPNadpis;
  toolkit::TButton* bPHlavicka;
  toolkit::TButton* bPStranka;
  toolkit::TButton* bPOtazky;
  toolkit::TButton* bPOdpovedi;
  toolkit::TFontDialog* FontDialog1;
  toolkit::TButton* bTisk;
  toolkit::TButton* bZavrit;

  // The fonts of the printed texts, one per role.
  toolkit::TFontSpec PismoNadpis;
  toolkit::TFontSpec PismoHlavicka;
  toolkit::TFontSpec PismoStranka;
  toolkit::TFontSpec PismoOtazky;
  toolkit::TFontSpec PismoOdpovedi;

  void FormCreate() override;
  void FormShow() override;
  void FormActivate() override;
  // The captions: built with the screen, looked up by NastavTxt.
  static const TCaptionTable<TfTisk> Captions;
  void NastavTxt();

  void seOtazekExit();
  void seKopiiExit();
  void seHDOExit();
  void sePLOExit();
  void sePVariantExit();
  void seVelObrExit();

  void bPNadpisClick();
  void bPHlavickaClick();
  void bPStrankaClick();
  void bPOtazkyClick();
  void bPOdpovediClick();
  void bTiskClick();
  void bZavritClick();

  // Measuring and drawing on the printer, as the print layout does it: in
  // printer pixels; texts are code page 1250, lines joined by CR LF.
  std::string ZalomitText(const std::string& text, int maxWidth, const toolkit::TFontSpec& font);
  int VyskaTextu(const std::string& text, const toolkit::TFontSpec& font);
  int SirkaTextu(const std::string& text, const toolkit::TFontSpec& font);
  int TiskVRT(const std::string& text, const toolkit::TFontSpec& font, int x, int y);
  static int VratPR(const std::string& text);
  static std::string VratRN(const std::string& text, int n);

 private:
  void ChooseFont(toolkit::TFontSpec& role, toolkit::TButton* button);
  bool shown_ = false;
};

extern TfTisk* fTisk;
