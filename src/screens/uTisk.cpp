#include "screens/uTisk.h"

#include <QCoreApplication>
#include <QPainter>
#include <algorithm>
#include <cstdint>
#include <exception>
#include <new>

#include "genlib/GenGraphics.h"
#include "model/uDApp.h"
#include "model/uDTest.h"
#include "platform/convert.h"
#include "platform/files.h"
#include "platform/qtgui/printer.h"
#include "screens/ScreenWidgets.h"

using namespace toolkit;
using platform::Printer;

TfTisk* fTisk = nullptr;

namespace {

const char kCrLf[] = "\r\n";

// A role font as the printer takes it: its size in points.
QFont PrintFont(const TFontSpec& spec) {
  QFont f(ToQ(spec.Name));
  f.setPointSize(spec.Size);
  f.setBold(spec.Bold);
  f.setItalic(spec.Italic);
  f.setUnderline(spec.Underline);
  f.setStrikeOut(spec.StrikeOut);
  return f;
}

QColor ColorOf(const TFontSpec& spec) {
  return QColor(spec.Color & 0xFF, (spec.Color >> 8) & 0xFF, (spec.Color >> 16) & 0xFF);
}

void SelectFont(const TFontSpec& spec) { Printer().SetFont(PrintFont(spec), ColorOf(spec)); }

TFontSpec RoleFont(int size, bool bold) {
  TFontSpec f;
  f.Name = "Comic Sans MS";
  f.Size = size;
  f.Bold = bold;
  return f;
}

int ValueOf(const TSpinEdit* field) { return field->CheckValue(field->Value()); }

TSpinEdit* SpinField(QWidget* parent, const char* name, int left, int top, int width, int min, int max, int value) {
  auto* se = new TSpinEdit(parent, name);
  se->SetBounds(left, top, width, 22);
  se->SetMinValue(min);
  se->SetMaxValue(max);
  se->SetValue(value);
  return se;
}

TLabel* PlainLabel(QWidget* parent, const char* name, int left, int top, const std::string& caption) {
  auto* l = new TLabel(parent, name);
  l->move(left, top);
  l->SetCaption(caption);
  return l;
}

}  // namespace

// The page geometry of one print action, in printer pixels.
struct TfTisk::TLayout {
  int PW = 0, PH = 0;  // printable area
  int L = 0, T = 0;    // left/right and top/bottom margins
  int W = 0;           // text width
  std::string H;       // heading text
  int titleH = 0, footH = 0;
  int N = 0, A = 0;  // number and letter columns
  int U = 0;         // usable height
};

int MarginPixels(int printable, int mm, int fullMm) {
  const int64_t a = static_cast<int64_t>(printable) * mm;
  int64_t q = a / fullMm;
  const int64_t twice = 2 * (a % fullMm);
  if (twice > fullMm || (twice == fullMm && q % 2 != 0)) ++q;
  return static_cast<int>(q);
}

namespace {
// The size a picture of w x h pixels prints at: the size factor times its
// own, scaled down with its aspect kept where that would not fit within
// maxW x maxH printer pixels.
QSize PrintedSize(int w, int h, int factor, int maxW, int maxH) {
  const int64_t fw = int64_t(w) * factor, fh = int64_t(h) * factor;
  const int64_t mw = std::max(maxW, 1), mh = std::max(maxH, 1);
  if (fw <= mw && fh <= mh) return QSize(int(fw), int(fh));
  if (fw * mh >= fh * mw) return QSize(int(mw), int(std::max<int64_t>(1, (fh * mw + fw / 2) / fw)));
  return QSize(int(std::max<int64_t>(1, (fw * mh + fh / 2) / fh)), int(mh));
}

// Transparent parts print as the paper shows them: white.
void OntoWhite(QImage& picture) {
  if (!picture.hasAlphaChannel()) return;
  QImage flat(picture.size(), QImage::Format_RGB32);
  if (flat.isNull()) throw std::bad_alloc();
  flat.fill(Qt::white);
  QPainter painter(&flat);
  painter.drawImage(0, 0, picture);
  painter.end();
  picture = std::move(flat);
}

// The question's picture decoded and scaled for the page; any failure ends
// the print action with a message that names the file.
void PreparePicture(const std::string& path, int factor, int maxW, int maxH, QImage& bitmap) {
  auto named = [&](const std::string& reason) {
    if (reason.find(path) != std::string::npos) return platform::Exception(reason);
    return platform::Exception("'" + path + "': " + reason);
  };
  try {
    bitmap = LoadPicture(path);
    OntoWhite(bitmap);
    const QSize size = PrintedSize(bitmap.width(), bitmap.height(), factor, maxW, maxH);
    genlib::ResampleBitmap(size.width(), size.height(), genlib::rkMitchell, 0, bitmap);
    // The print system's surface takes 32-bit pixels as they are; a picture
    // in any other format it would copy again for every job.
    bitmap.convertTo(QImage::Format_RGB32);
    if (bitmap.isNull()) throw std::bad_alloc();
  } catch (const std::bad_alloc&) {
    throw named(platform::EOutOfMemory().what());
  } catch (const std::exception& e) {
    throw named(e.what());
  }
}

// Scaled pictures kept for the later variants of one action.
constexpr qsizetype kPictureBudget = qsizetype(256) << 20;
}  // namespace

const QImage& TfTisk::TPictures::Get(const std::string& path, int factor, int maxW, int maxH) {
  const auto known = scaled.find(path);
  if (known != scaled.end()) return known->second;
  PreparePicture(path, factor, maxW, maxH, bitmap);
  if (bytes + bitmap.sizeInBytes() > kPictureBudget) return bitmap;
  bytes += bitmap.sizeInBytes();
  // The same image drawn again is also stored once in each PDF job.
  return scaled.emplace(path, std::move(bitmap)).first->second;
}

TfTisk::TfTisk() : TForm("fTisk") {
  SetCaption("Tisk testu");
  SetClientSize(359, 312);
  SetPosition(TPosition::poMainFormCenter);
  SetBorderStyle(TBorderStyle::bsSingle);
  SetHelpButton(true);
  setFont(FontPt("MS Sans Serif", 8));

  // Left column
  gOkraje = new TGroupBox(this, "gOkraje");
  gOkraje->SetBounds(8, 4, 169, 72);
  gOkraje->SetCaption("Okraje");
  Label1 = PlainLabel(gOkraje, "Label1", 8, 20, Cp1250("Horní/Dolní:"));
  seHDO = SpinField(gOkraje, "seHDO", 88, 16, 50, 0, 5000, 10);
  Label8 = PlainLabel(gOkraje, "Label8", 142, 20, "mm");
  Label2 = PlainLabel(gOkraje, "Label2", 8, 46, Cp1250("Pravý/Levý:"));
  sePLO = SpinField(gOkraje, "sePLO", 88, 42, 50, 0, 5000, 10);
  Label9 = PlainLabel(gOkraje, "Label9", 142, 46, "mm");

  gTisk = new TGroupBox(this, "gTisk");
  gTisk->SetBounds(8, 80, 169, 128);
  gTisk->SetCaption("Tisk");
  Label4 = PlainLabel(gTisk, "Label4", 8, 20, Cp1250("Počet kopií:"));
  seKopii = SpinField(gTisk, "seKopii", 88, 16, 72, 1, 1000, 1);
  Label7 = PlainLabel(gTisk, "Label7", 8, 46, Cp1250("Počet variant:"));
  sePVariant = SpinField(gTisk, "sePVariant", 88, 42, 72, 1, 1000, 1);
  chTiskVysledku = new TWrapCheckBox(gTisk, "chTiskVysledku");
  chTiskVysledku->SetBounds(8, 70, 153, 30);
  chTiskVysledku->SetCaption(Cp1250("Vysledky pro každou var."));
  chbHVysledky = NewCheckBox(gTisk, "chbHVysledky", 8, 104, 153, Cp1250("Souhrnné výsledky"));
  chbHVysledky->SetChecked(true);

  gObr = new TGroupBox(this, "gObr");
  gObr->SetBounds(8, 212, 169, 64);
  gObr->SetCaption(Cp1250("Obrázky"));
  Label3 = PlainLabel(gObr, "Label3", 8, 20, "Velikost:");
  seVelObr = SpinField(gObr, "seVelObr", 88, 16, 72, 1, 100, 4);
  seVelObr->SetHelpContext(1030);
  Label6 = PlainLabel(gObr, "Label6", 8, 44, Cp1250("Doporučená hodnota 4"));
  Label6->setFont(FontPt("MS Sans Serif", 8, false, true));

  // Right column
  gTest = new TGroupBox(this, "gTest");
  gTest->SetBounds(184, 4, 167, 96);
  gTest->SetCaption(Cp1250("Možnosti testu"));
  cbMOtazky = NewCheckBox(gTest, "cbMOtazky", 8, 18, 153, Cp1250("Míchat otázky"));
  cbMOdpovedi = NewCheckBox(gTest, "cbMOdpovedi", 8, 36, 153, Cp1250("Míchat odpovědi"));
  Label5 = PlainLabel(gTest, "Label5", 8, 64, Cp1250("Počet otázek:"));
  seOtazek = SpinField(gTest, "seOtazek", 88, 60, 70, 1, 1, 1);

  gPisma = new TGroupBox(this, "gPisma");
  gPisma->SetBounds(184, 104, 167, 172);
  gPisma->SetCaption(Cp1250("Nastavení písma"));
  auto fontButton = [this](const char* name, int top, const std::string& caption) {
    auto* b = new TButton(gPisma, name);
    b->SetBounds(8, top, 151, 28);
    b->SetCaption(caption);
    return b;
  };
  bPNadpis = fontButton("bPNadpis", 16, "Nadpis");
  bPHlavicka = fontButton("bPHlavicka", 46, Cp1250("Hlavička"));
  bPStranka = fontButton("bPStranka", 76, Cp1250("Stránka"));
  bPOtazky = fontButton("bPOtazky", 106, Cp1250("Otázky"));
  bPOdpovedi = fontButton("bPOdpovedi", 136, Cp1250("Odpovědi"));
  FontDialog1 = new TFontDialog(this, "FontDialog1");

  bTisk = ComicButton(this, "bTisk", 184, 282, 81, "Tisk");
  bZavrit = ComicButton(this, "bZavrit", 270, 282, 81, Cp1250("Zavřít"));

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
  palette.setColor(QPalette::ButtonText, ColorOf(font));
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

void TfTisk::NastavTxt() {
  SetCaption(LangText("TiskTestu"));
  gOkraje->SetCaption(LangText("Okraje"));
  Label1->SetCaption(LangText("HorniDolni") + ":");
  Label2->SetCaption(LangText("PravyLevy") + ":");
  gTisk->SetCaption(LangText("Tisk"));
  Label4->SetCaption(LangText("PocetKopii") + ":");
  Label7->SetCaption(LangText("PocetVariant") + ":");
  chTiskVysledku->SetCaption(LangText("VysledkyProKVar"));
  chbHVysledky->SetCaption(LangText("SouhrnneVysledky"));
  gObr->SetCaption(LangText("Obrazky"));
  Label3->SetCaption(LangText("Velikost") + ":");
  Label6->SetCaption(LangText("DoporucenaHodnota") + " 4");
  gTest->SetCaption(LangText("MoznostiTestu"));
  cbMOtazky->SetCaption(LangText("MichatOtazky"));
  cbMOdpovedi->SetCaption(LangText("MichatOdpovedi"));
  Label5->SetCaption(LangText("PocetOtazek") + ":");
  gPisma->SetCaption(LangText("NastaveniPisma"));
  bPNadpis->SetCaption(LangText("Nadpis"));
  bPHlavicka->SetCaption(LangText("Hlavicka"));
  bPStranka->SetCaption(LangText("Stranka"));
  bPOtazky->SetCaption(LangText("Otazky"));
  bPOdpovedi->SetCaption(LangText("Odpovedi"));
  bTisk->SetCaption(LangText("Tisk"));
  bZavrit->SetCaption(LangText("Zavrit"));
}

void TfTisk::seOtazekExit() {
  if (seOtazek->Text().empty()) seOtazek->SetValue(seOtazek->MaxValue());
}
void TfTisk::seKopiiExit() {
  if (seKopii->Text().empty()) seKopii->SetValue(1);
}
void TfTisk::seHDOExit() {
  if (seHDO->Text().empty()) seHDO->SetValue(10);
}
void TfTisk::sePLOExit() {
  if (sePLO->Text().empty()) sePLO->SetValue(10);
}
void TfTisk::sePVariantExit() {
  if (sePVariant->Text().empty()) sePVariant->SetValue(sePVariant->MinValue());
}
void TfTisk::seVelObrExit() {
  if (seVelObr->Text().empty()) seVelObr->SetValue(4);
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

// Measuring and drawing

int TfTisk::VyskaTextu(const std::string& text, const TFontSpec& font) {
  SelectFont(font);
  return Printer().TextHeight(ToQ(text));
}

int TfTisk::SirkaTextu(const std::string& text, const TFontSpec& font) {
  SelectFont(font);
  return Printer().TextWidth(ToQ(text));
}

std::string TfTisk::ZalomitText(const std::string& text, int maxWidth, const TFontSpec& font) {
  std::string rest = text, lines, line;
  auto close = [&] {
    lines = lines.empty() ? std::string(platform::TrimControls(line))
                          : std::string(platform::TrimControls(lines)) + kCrLf + line;
  };
  while (!rest.empty()) {
    const size_t blank = rest.find(' ');
    const size_t c = blank == std::string::npos ? rest.size() : blank + 1;
    const std::string word = rest.substr(0, blank == std::string::npos ? rest.size() : blank);
    if (SirkaTextu(line + word, font) <= maxWidth) {
      line += rest.substr(0, c);
    } else {
      close();
      line = rest.substr(0, c);
    }
    rest.erase(0, c);
  }
  close();
  return lines;
}

int TfTisk::VratPR(const std::string& text) {
  int n = 1;
  for (size_t at = text.find(kCrLf); at != std::string::npos; at = text.find(kCrLf, at + 2)) ++n;
  return n;
}

std::string TfTisk::VratRN(const std::string& text, int n) {
  if (n < 1) n = 1;
  size_t start = 0;
  for (int k = 1; k < n; ++k) {
    const size_t at = text.find(kCrLf, start);
    if (at == std::string::npos) return "";
    start = at + 2;
  }
  const size_t end = text.find(kCrLf, start);
  return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

void TfTisk::Draw(const TFontSpec& font, int x, int y, const std::string& text) {
  SelectFont(font);
  Printer().TextOut(x, y, ToQ(text));
}

int TfTisk::TiskVRT(const std::string& text, const TFontSpec& font, int x, int y) {
  const int h = VyskaTextu(text, font);
  const int n = VratPR(text);
  for (int k = 1; k <= n; ++k) Draw(font, x, y + (k - 1) * h, VratRN(text, k));
  return n;
}

// The print action

void TfTisk::bTiskClick() {
  if (QuestionCount(CurrentTest) == 0) {
    // Printing would bring back whatever an earlier run left.
    MessageBoxes::Inform(LangText("TiskTestu"), LangText("TestNemaOtazky"));
    return;
  }
  // One press prints once: clicks made while it prints reach a disabled
  // button and are dropped before it takes clicks again.
  const bool focused = bTisk->hasFocus();
  bTisk->setEnabled(false);
  std::exception_ptr failure;
  try {
    Print();
  } catch (...) {
    // A job cut short is dropped, so nothing half made is printed and the
    // printer is free for the next action.
    if (Printer().Printing()) Printer().Abort();
    failure = std::current_exception();
  }
  QCoreApplication::processEvents();
  bTisk->setEnabled(true);
  if (focused) bTisk->setFocus();
  if (failure) std::rethrow_exception(failure);
}

void TfTisk::HeadingLine(const TLayout& page, const std::string& suffix, int& y) {
  Draw(PismoNadpis, page.L, y, page.H + suffix);
  y += page.titleH;
}

void TfTisk::Footer(const TLayout& page) {
  Draw(PismoStranka, page.L, page.PH - page.T - page.footH - 10,
       LangText("Str") + ": " + std::to_string(Printer().PageNumber()));
}

void TfTisk::BreakPage(const TLayout& page, const std::string& heading, int h, int& y, bool footer) {
  if (y - page.T - page.titleH + h <= page.U) return;
  if (footer) Footer(page);
  Printer().NewPage();
  y = page.T;
  HeadingLine(page, heading, y);
}

void TfTisk::Print() {
  TPictures pictures;
  TLayout page;
  page.PW = Printer().PageWidth();
  page.PH = Printer().PageHeight();
  page.L = MarginPixels(page.PW, ValueOf(sePLO), 210);
  page.T = MarginPixels(page.PH, ValueOf(seHDO), 297);
  const int variants = ValueOf(sePVariant);
  const bool sheets = chTiskVysledku->Checked();
  std::vector<std::string> keys(static_cast<size_t>(variants));

  for (int v = 1; v <= variants; ++v) {
    PrepareRun(ValueOf(seOtazek), cbMOtazky->Checked(), cbMOdpovedi->Checked());
    Printer().Title = ToQ(LangText("TiskTestu") + " \"" + RunTest.Name + "\" " + LangText("zProgramuZorvik"));
    page.H = LangText("Test") + ": " + RunTest.Name;
    page.titleH = VyskaTextu(page.H, PismoNadpis);
    page.footH = VyskaTextu(LangText("Str") + ": 1", PismoStranka);
    page.N = SirkaTextu("999.)", PismoOtazky);
    page.A = SirkaTextu("a.)", PismoOdpovedi);
    page.W = page.PW - 2 * page.L;
    page.U = page.PH - 2 * page.T - page.titleH - page.footH - 20;

    Printer().Copies = ValueOf(seKopii);
    PrintQuestionPaper(page, v, pictures);

    // The answer key, and the answer sheet when asked for.
    const std::string heading = " (" + LangText("VarC") + ": " + std::to_string(v) + " - " + LangText("Odpovedi") + ")";
    int y = page.T;
    if (sheets) {
      Printer().Copies = 1;
      Printer().BeginDoc();
      HeadingLine(page, heading, y);
    }
    std::string& key = keys[static_cast<size_t>(v - 1)];
    for (size_t i = 0; i < RunTest.Questions.size(); ++i) {
      const TOtazky& q = RunTest.Questions[i];
      std::string line = std::to_string(i + 1) + ") ";
      if (!key.empty()) key += ", ";
      key += std::to_string(i + 1);
      for (size_t j = 0; j < q.Correct.size(); ++j) {
        if (!q.Correct[j]) continue;
        line += static_cast<char>('a' + j);
        key += static_cast<char>('a' + j);
      }
      if (sheets) {
        const int h = VyskaTextu(line, PismoOtazky);
        BreakPage(page, heading, h, y, false);
        Draw(PismoOtazky, page.L + page.N, y, line);
        y += h;
      }
    }
    if (sheets) Printer().EndDoc();
  }

  if (chbHVysledky->Checked()) {
    const std::string heading = " (" + LangText("Odpovedi") + ")";
    Printer().BeginDoc();
    int y = page.T;
    HeadingLine(page, heading, y);
    for (int v = 1; v <= variants; ++v) {
      const std::string entry = "V" + std::to_string(v) + ") " + keys[static_cast<size_t>(v - 1)];
      const std::string wrapped = ZalomitText(entry, page.W - page.N, PismoOtazky);
      const int h = VyskaTextu(wrapped, PismoOtazky);
      // Line by line, so a long key goes on over the next page.
      for (int k = 1; k <= VratPR(wrapped); ++k) {
        BreakPage(page, heading, h, y, false);
        Draw(PismoOtazky, page.L + page.N, y, VratRN(wrapped, k));
        y += h;
      }
    }
    Printer().EndDoc();
  }
}

void TfTisk::PrintQuestionPaper(TLayout& page, int variant, TPictures& pictures) {
  const std::string heading = " (" + LangText("VarC") + ": " + std::to_string(variant) + ")";
  Printer().BeginDoc();
  int y = page.T;
  HeadingLine(page, heading, y);
  for (const char* key : {"Jmeno", "Datum", "Hodnoceni"}) {
    const std::string text = LangText(key) + ":";
    Draw(PismoHlavicka, page.L + page.N, y, text);
    y += VyskaTextu(text, PismoHlavicka);
  }
  y += 20;
  Printer().SetPenWidth(2);
  Printer().Line(page.L, y - 15, page.L + page.W, y - 15);

  const int factor = ValueOf(seVelObr);
  std::vector<std::string> answers;
  for (size_t i = 0; i < RunTest.Questions.size(); ++i) {
    const TOtazky& q = RunTest.Questions[i];
    const std::string question = ZalomitText(q.Text, page.W - page.N, PismoOtazky);
    const int questionH = VyskaTextu(question, PismoOtazky) * VratPR(question);
    int blockH = questionH;
    answers.clear();
    for (const std::string& a : q.Answers) {
      answers.push_back(ZalomitText(a, page.W - page.N - page.A, PismoOdpovedi));
      blockH += VyskaTextu(answers.back(), PismoOdpovedi) * VratPR(answers.back());
    }
    const QImage* picture = nullptr;
    if (!q.Picture.empty() && platform::FileExists(q.Picture)) {
      // Never wider than the answers' column, nor taller than an empty page holds.
      picture = &pictures.Get(q.Picture, factor, page.W - page.N - page.A, page.U);
      blockH += picture->height();
    }

    BreakPage(page, heading, blockH, y, true);

    Draw(PismoOtazky, page.L, y, std::to_string(i + 1) + ")");
    TiskVRT(question, PismoOtazky, page.L + page.N, y);
    y += questionH;
    for (size_t j = 0; j < answers.size(); ++j) {
      Draw(PismoOdpovedi, page.L + page.N, y, std::string(1, static_cast<char>('a' + j)) + ")");
      const int n = TiskVRT(answers[j], PismoOdpovedi, page.L + page.N + page.A, y);
      y += VyskaTextu(answers[j], PismoOdpovedi) * n;
    }
    if (picture) {
      Printer().Draw(page.L + page.N + page.A, y, *picture);
      y += picture->height();
    }
  }
  Footer(page);
  Printer().EndDoc();
}
