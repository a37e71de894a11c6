#include "screens/uTisk.h"

#include <QCoreApplication>
#include <cstdint>
#include <exception>

#include "model/uDApp.h"
#include "model/uDTest.h"
#include "platform/qtgui/fontface.h"
#include "printing/PrintLayout.h"
#include "screens/ScreenWidgets.h"

using namespace toolkit;

TfTisk* fTisk = nullptr;

const TCaptionTable<TfTisk> TfTisk::Captions = {
    {kForm, "TiskTestu", "Tisk testu"},
    {&TfTisk::gOkraje, "Okraje", "Okraje"},
    {&TfTisk::Label1, "HorniDolni", "Horní/Dolní:", ":"},
    {&TfTisk::Label2, "PravyLevy", "Pravý/Levý:", ":"},
    {&TfTisk::gTisk, "Tisk", "Tisk"},
    {&TfTisk::Label4, "PocetKopii", "Počet kopií:", ":"},
    {&TfTisk::Label7, "PocetVariant", "Počet variant:", ":"},
    {&TfTisk::chTiskVysledku, "VysledkyProKVar", "Vysledky pro každou var."},
    {&TfTisk::chbHVysledky, "SouhrnneVysledky", "Souhrnné výsledky"},
    {&TfTisk::gObr, "Obrazky", "Obrázky"},
    {&TfTisk::Label3, "Velikost", "Velikost:", ":"},
    {&TfTisk::Label6, "DoporucenaHodnota", "Doporučená hodnota 4", " 4"},
    {&TfTisk::gTest, "MoznostiTestu", "Možnosti testu"},
    {&TfTisk::cbMOtazky, "MichatOtazky", "Míchat otázky"},
    {&TfTisk::cbMOdpovedi, "MichatOdpovedi", "Míchat odpovědi"},
    {&TfTisk::Label5, "PocetOtazek", "Počet otázek:", ":"},
    {&TfTisk::gPisma, "NastaveniPisma", "Nastavení písma"},
    {&TfTisk::bPNadpis, "Nadpis", "Nadpis"},
    {&TfTisk::bPHlavicka, "Hlavicka", "Hlavička"},
    {&TfTisk::bPStranka, "Stranka", "Stránka"},
    {&TfTisk::bPOtazky, "Otazky", "Otázky"},
    {&TfTisk::bPOdpovedi, "Odpovedi", "Odpovědi"},
    {&TfTisk::bTisk, "Tisk", "Tisk"},
    {&TfTisk::bZavrit, "Zavrit", "Zavřít"},
};

namespace {

// What the margin and picture fields hold at first and take when left empty.
const printing::TPrintSettings kDefaults;

TFontSpec RoleFont(int size, bool bold) {
  TFontSpec f;
  f.Name = "Comic Sans MS";
  f.Size = size;
  f.Bold = bold;
  return f;
}

int ValueOf(const TSpinEdit* field) { return field->CheckValue(field->Value()); }

// The screen's spin edits stand a pixel higher than the other screens'.
constexpr int kFieldHeight = 22;

}  // namespace

TfTisk::TfTisk() : TForm("fTisk") {
  SetClientSize(359, 312);
  SetPosition(TPosition::poMainFormCenter);
  SetBorderStyle(TBorderStyle::bsSingle);
  SetHelpButton(true);
  setFont(FontPt("MS Sans Serif", 8));

  // Left column
  gOkraje = new TGroupBox(this, "gOkraje");
  gOkraje->SetBounds(8, 4, 169, 72);
  Label1 = NewLabel(gOkraje, "Label1", 8, 20);
  seHDO = NewSpinEdit(gOkraje, "seHDO", 88, 16, 50, 0, 5000, kDefaults.TopBottomMm, kFieldHeight);
  Label8 = NewLabel(gOkraje, "Label8", 142, 20, "mm");
  Label2 = NewLabel(gOkraje, "Label2", 8, 46);
  sePLO = NewSpinEdit(gOkraje, "sePLO", 88, 42, 50, 0, 5000, kDefaults.LeftRightMm, kFieldHeight);
  Label9 = NewLabel(gOkraje, "Label9", 142, 46, "mm");

  gTisk = new TGroupBox(this, "gTisk");
  gTisk->SetBounds(8, 80, 169, 128);
  Label4 = NewLabel(gTisk, "Label4", 8, 20);
  seKopii = NewSpinEdit(gTisk, "seKopii", 88, 16, 72, 1, 1000, 1, kFieldHeight);
  Label7 = NewLabel(gTisk, "Label7", 8, 46);
  sePVariant = NewSpinEdit(gTisk, "sePVariant", 88, 42, 72, 1, 1000, 1, kFieldHeight);
  chTiskVysledku = new TWrapCheckBox(gTisk, "chTiskVysledku");
  chTiskVysledku->SetBounds(8, 70, 153, 30);
  chbHVysledky = NewCheckBox(gTisk, "chbHVysledky", 8, 104, 153);
  chbHVysledky->SetChecked(true);

  gObr = new TGroupBox(this, "gObr");
  gObr->SetBounds(8, 212, 169, 64);
  Label3 = NewLabel(gObr, "Label3", 8, 20);
  seVelObr = NewSpinEdit(gObr, "seVelObr", 88, 16, 72, 1, 100, kDefaults.PictureFactor, kFieldHeight);
  seVelObr->SetHelpContext(1030);
  Label6 = NewLabel(gObr, "Label6", 8, 44);
  Label6->setFont(FontPt("MS Sans Serif", 8, false, true));

  // Right column
  gTest = new TGroupBox(this, "gTest");
  gTest->SetBounds(184, 4, 167, 96);
  cbMOtazky = NewCheckBox(gTest, "cbMOtazky", 8, 18, 153);
  cbMOdpovedi = NewCheckBox(gTest, "cbMOdpovedi", 8, 36, 153);
  Label5 = NewLabel(gTest, "Label5", 8, 64);
  seOtazek = NewSpinEdit(gTest, "seOtazek", 88, 60, 70, 1, 1, 1, kFieldHeight);

  gPisma = new TGroupBox(this, "gPisma");
  gPisma->SetBounds(184, 104, 167, 172);
  auto fontButton = [this](const char* name, int top) {
    auto* b = new TButton(gPisma, name);
    b->SetBounds(8, top, 151, 28);
    return b;
  };
  bPNadpis = fontButton("bPNadpis", 16);
  bPHlavicka = fontButton("bPHlavicka", 46);
  bPStranka = fontButton("bPStranka", 76);
  bPOtazky = fontButton("bPOtazky", 106);
  bPOdpovedi = fontButton("bPOdpovedi", 136);
  FontDialog1 = new TFontDialog(this, "FontDialog1");

  bTisk = ComicButton(this, "bTisk", 184, 282, 81, "");
  bZavrit = ComicButton(this, "bZavrit", 270, 282, 81, "");

  seOtazek->OnExit = [this] { seOtazekExit(); };
  seKopii->OnExit = [this] { seKopiiExit(); };
  seHDO->OnExit = [this] { seHDOExit(); };
  sePLO->OnExit = [this] { sePLOExit(); };
  sePVariant->OnExit = [this] { sePVariantExit(); };
  seVelObr->OnExit = [this] { seVelObrExit(); };
  bPNadpis->OnClick = [this] { bPNadpisClick(); };
  bPHlavicka->OnClick = [this] { bPHlavickaClick(); };
  bPStranka->OnClick = [this] { bPStrankaClick(); };
  bPOtazky->OnClick = [this] { bPOtazkyClick(); };
  bPOdpovedi->OnClick = [this] { bPOdpovediClick(); };
  bTisk->OnClick = [this] { bTiskClick(); };
  bZavrit->OnClick = [this] { bZavritClick(); };
  Captions.Build(*this);
}

void TfTisk::FormCreate() {
  PismoNadpis = RoleFont(14, true);
  PismoHlavicka = RoleFont(12, false);
  PismoStranka = RoleFont(10, false);
  PismoOtazky = RoleFont(12, true);
  PismoOdpovedi = RoleFont(10, false);
}

namespace {
// The button shows its caption in the role font, as on screen.
void ShowFont(TButton* button, const TFontSpec& font) {
  button->setFont(ToQFont(font));
  QPalette palette = button->palette();
  palette.setColor(QPalette::ButtonText, platform::ColorOf(font));
  button->setPalette(palette);
}
}  // namespace

void TfTisk::FormShow() {
  const int32_t count = QuestionCount(CurrentTest);
  seOtazek->SetMinValue(1);
  seOtazek->SetMaxValue(count);
  seOtazek->SetValue(count);
  if (shown_) return;
  shown_ = true;
  ShowFont(bPNadpis, PismoNadpis);
  ShowFont(bPHlavicka, PismoHlavicka);
  ShowFont(bPStranka, PismoStranka);
  ShowFont(bPOtazky, PismoOtazky);
  ShowFont(bPOdpovedi, PismoOdpovedi);
}

void TfTisk::FormActivate() { NastavTxt(); }

void TfTisk::NastavTxt() { Captions.LookUp(*this); }

void TfTisk::seOtazekExit() {
  if (seOtazek->Text().empty()) seOtazek->SetValue(seOtazek->MaxValue());
}
void TfTisk::seKopiiExit() {
  if (seKopii->Text().empty()) seKopii->SetValue(1);
}
void TfTisk::seHDOExit() {
  if (seHDO->Text().empty()) seHDO->SetValue(kDefaults.TopBottomMm);
}
void TfTisk::sePLOExit() {
  if (sePLO->Text().empty()) sePLO->SetValue(kDefaults.LeftRightMm);
}
void TfTisk::sePVariantExit() {
  if (sePVariant->Text().empty()) sePVariant->SetValue(sePVariant->MinValue());
}
void TfTisk::seVelObrExit() {
  if (seVelObr->Text().empty()) seVelObr->SetValue(kDefaults.PictureFactor);
}

void TfTisk::ChooseFont(TFontSpec& role, TButton* button) {
  FontDialog1->Font = role;
  FontDialog1->Execute();
  // After Cancel the dialog still holds the preset, so nothing changes.
  role = FontDialog1->Font;
  ShowFont(button, role);
}

void TfTisk::bPNadpisClick() { ChooseFont(PismoNadpis, bPNadpis); }
void TfTisk::bPHlavickaClick() { ChooseFont(PismoHlavicka, bPHlavicka); }
void TfTisk::bPStrankaClick() { ChooseFont(PismoStranka, bPStranka); }
void TfTisk::bPOtazkyClick() { ChooseFont(PismoOtazky, bPOtazky); }
void TfTisk::bPOdpovediClick() { ChooseFont(PismoOdpovedi, bPOdpovedi); }
void TfTisk::bZavritClick() { Close(); }

// Measuring and drawing: the print layout's

int TfTisk::VyskaTextu(const std::string& text, const TFontSpec& font) { return printing::VyskaTextu(text, font); }

int TfTisk::SirkaTextu(const std::string& text, const TFontSpec& font) { return printing::SirkaTextu(text, font); }

std::string TfTisk::ZalomitText(const std::string& text, int maxWidth, const TFontSpec& font) {
  return printing::ZalomitText(text, maxWidth, font);
}

int TfTisk::VratPR(const std::string& text) { return printing::VratPR(text); }

std::string TfTisk::VratRN(const std::string& text, int n) { return printing::VratRN(text, n); }

int TfTisk::TiskVRT(const std::string& text, const TFontSpec& font, int x, int y) {
  return printing::TiskVRT(text, font, x, y);
}

// The print action

void TfTisk::bTiskClick() {
  if (QuestionCount(CurrentTest) == 0) {
    // Printing would bring back whatever an earlier run left.
    MessageBoxes::Inform(LangText("TiskTestu"), LangText("TestNemaOtazky"));
    return;
  }
  printing::TPrintSettings settings;
  settings.TopBottomMm = ValueOf(seHDO);
  settings.LeftRightMm = ValueOf(sePLO);
  settings.Copies = ValueOf(seKopii);
  settings.Variants = ValueOf(sePVariant);
  settings.Questions = ValueOf(seOtazek);
  settings.ShuffleQuestions = cbMOtazky->Checked();
  settings.ShuffleAnswers = cbMOdpovedi->Checked();
  settings.AnswerSheets = chTiskVysledku->Checked();
  settings.Summary = chbHVysledky->Checked();
  settings.PictureFactor = ValueOf(seVelObr);
  const printing::TRoleFonts fonts{PismoNadpis, PismoHlavicka, PismoStranka, PismoOtazky, PismoOdpovedi};

  // One press prints once: clicks made while it prints reach a disabled
  // button and are dropped before it takes clicks again.
  const bool focused = bTisk->hasFocus();
  bTisk->setEnabled(false);
  std::exception_ptr failure;
  try {
    printing::PrintTest(settings, fonts, LoadPicture);
  } catch (...) {
    failure = std::current_exception();
  }
  QCoreApplication::processEvents();
  bTisk->setEnabled(true);
  if (focused) bTisk->setFocus();
  if (failure) std::rethrow_exception(failure);
}
