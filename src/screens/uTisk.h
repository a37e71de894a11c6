#pragma once
// Printing of the current test in shuffled variants on the default printer:
// per variant a question paper and, when asked for, an answer sheet; after
// them a summary of every variant's answer key. Everything is measured and
// drawn in printer pixels.

#include <QImage>
#include <map>
#include <string>
#include <vector>

#include "toolkit/Toolkit.h"
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

  // Measuring and drawing on the printer, in printer pixels; texts are code
  // page 1250, lines joined by CR LF.
  std::string ZalomitText(const std::string& text, int maxWidth, const toolkit::TFontSpec& font);
  int VyskaTextu(const std::string& text, const toolkit::TFontSpec& font);
  int SirkaTextu(const std::string& text, const toolkit::TFontSpec& font);
  int TiskVRT(const std::string& text, const toolkit::TFontSpec& font, int x, int y);
  static int VratPR(const std::string& text);
  static std::string VratRN(const std::string& text, int n);

 private:
  struct TLayout;
  // The pictures of one print action, decoded and scaled once for all its
  // variants (up to a memory budget).
  struct TPictures {
    std::map<std::string, QImage> scaled;
    qsizetype bytes = 0;
    QImage bitmap;  // a picture that no longer fits the budget
    // Scaled by the factor, and down to fit maxW x maxH where it is larger.
    const QImage& Get(const std::string& path, int factor, int maxW, int maxH);
  };
  void ChooseFont(toolkit::TFontSpec& role, toolkit::TButton* button);
  void Print();
  void PrintQuestionPaper(TLayout& page, int variant, TPictures& pictures);
  void HeadingLine(const TLayout& page, const std::string& suffix, int& y);
  void Footer(const TLayout& page);
  // A new page with its heading line when a height h no longer fits under y.
  void BreakPage(const TLayout& page, const std::string& heading, int h, int& y, bool footer);
  void Draw(const toolkit::TFontSpec& font, int x, int y, const std::string& text);
  bool shown_ = false;
};

// The printable-area length that a margin of mm millimetres takes on a sheet
// of fullMm millimetres, to the nearest pixel, halves to even.
int MarginPixels(int printable, int mm, int fullMm);

extern TfTisk* fTisk;
