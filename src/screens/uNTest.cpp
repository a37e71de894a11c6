#include "screens/uNTest.h"

#include "screens/ScreenWidgets.h"
#include "model/uDApp.h"
#include "model/uDTest.h"

using namespace toolkit;

TfNTest* fNTest = nullptr;

const TCaptionTable<TfNTest> TfNTest::Captions = {
    {kForm, "VlastnostiTestu", "Vlastnosti testu"},
    {&TfNTest::gZInfo, "ZakladniInformace", "Základní informace"},
    {&TfNTest::Label1, "JmenoTestu", "Jméno testu:", ":"},
    {&TfNTest::Label2, "PocetOdpovedi", "Počet odpovědí:", ":"},
    {&TfNTest::cbKombinace, "Kombinacni", "Kombinační"},
    {&TfNTest::gOchrana, "OchranaTestu", "Ochrana testu"},
    {&TfNTest::cbKodovat, "Kodovat", "Kódovat"},
    {&TfNTest::cbHeslo, "HesloProEditaci", "Heslo pro editaci:", ":"},
    {&TfNTest::gHodnoceni, "Hodnoceni", "Hodnocení"},
    {&TfNTest::rZHodnoceni, "ZpusobHodnoceni", "Způsob hodnocení"},
    {ItemOf(&TfNTest::rZHodnoceni), "Chybove", "Chybové"},
    {ItemOf(&TfNTest::rZHodnoceni), "Bodove", "Bodové"},
    {ItemOf(&TfNTest::rZHodnoceni), "Procentove", "Procentové"},
    {&TfNTest::Label3, "h1do", "1 do:"},
    {&TfNTest::Label4, "h2do", "2 do:"},
    {&TfNTest::Label5, "h3do", "3 do:"},
    {&TfNTest::Label6, "h4do", "4 do:"},
    {&TfNTest::gPrubehT, "PrubehTestu", "Průběh testu"},
    {&TfNTest::cbCas, "CasoveOmezeniNAOtazku", "Časové omezení otázky", ":"},
    {&TfNTest::cbCasOdp, "CasoveOmezeniNaTest", "Časové omezení testu", ":"},
    {&TfNTest::cbSpravneO, "ZobrazovatSpravneOdpovedi", "Zobrazovat správné odpovědi"},
    {&TfNTest::cbLibPosunPO, "LibovolneProchazeniOtazek", "Libovolné procházení otázek"},
    {&TfNTest::bVytvorit, "Vytvorit", "Vytvořit"},
    {&TfNTest::bUpravit, "Upravit", "Upravit"},
    {&TfNTest::bZpet, "Zpet", "Zpět"},
};

namespace {
// Upper limit of the thresholds when grading by errors or by points.
constexpr int32_t kCountLimit = 100000000;
constexpr int32_t kPercentLimit = 100;
// The items of rZHodnoceni are the grading modes in their stored order.
constexpr int kPercentItem = kGradingByPercent;

// The empty-text rule of a box left by the user.
void EmptyBecomes(TSpinEdit* box, int32_t value) {
  if (box->Text().empty()) box->SetValue(value);
}
}  // namespace

TfNTest::TfNTest() : TForm("fNTest") {
  SetHelpButton(true);
  SetClientSize(273, 510);
  SetPosition(TPosition::poMainFormCenter);
  setFont(FontPt("MS Sans Serif", 8));

  gZInfo = NewGroupBox(this, "gZInfo", 8, 8, 257, 89);
  Label1 = NewLabel(gZInfo, "Label1", 8, 24);
  eJTestu = NewEdit(gZInfo, "eJTestu", 104, 20, 137);
  eJTestu->SetText(Cp1250("Nový test"));
  eJTestu->SetHelpContext(1021);
  Label2 = NewLabel(gZInfo, "Label2", 8, 48);
  seOdpovedi = NewSpinEdit(gZInfo, "seOdpovedi", 104, 44, 137, 2, 10, 3);
  seOdpovedi->SetHelpContext(1022);
  seOdpovedi->OnExit = [this] { seOdpovediExit(); };
  cbKombinace = NewCheckBox(gZInfo, "cbKombinace", 8, 68, 233);
  cbKombinace->SetHelpContext(1023);

  gOchrana = NewGroupBox(this, "gOchrana", 8, 104, 257, 73);
  cbKodovat = NewCheckBox(gOchrana, "cbKodovat", 8, 22, 233);
  cbHeslo = NewCheckBox(gOchrana, "cbHeslo", 8, 46, 110);
  eHeslo = NewEdit(gOchrana, "eHeslo", 120, 44, 129);

  gHodnoceni = NewGroupBox(this, "gHodnoceni", 8, 184, 257, 169);
  rZHodnoceni = new TRadioGroup(gHodnoceni, "rZHodnoceni");
  rZHodnoceni->SetBounds(8, 18, 241, 41);
  rZHodnoceni->SetColumns(3);
  rZHodnoceni->SetHelpContext(1024);
  const char* const labelNames[] = {"Label3", "Label4", "Label5", "Label6"};
  const char* const boxNames[] = {"seDo1", "seDo2", "seDo3", "seDo4"};
  const int32_t thresholds[] = {90, 80, 60, 35};
  TLabel** labels[] = {&Label3, &Label4, &Label5, &Label6};
  TSpinEdit** boxes[] = {&seDo1, &seDo2, &seDo3, &seDo4};
  void (TfNTest::*exits[])() = {&TfNTest::seDo1Exit, &TfNTest::seDo2Exit, &TfNTest::seDo3Exit, &TfNTest::seDo4Exit};
  for (int i = 0; i < 4; ++i) {
    const int top = 64 + 24 * i;
    *labels[i] = NewLabel(gHodnoceni, labelNames[i], 8, top + 4);
    auto* box = NewSpinEdit(gHodnoceni, boxNames[i], 40, top, 121, 0, kPercentLimit, thresholds[i]);
    box->SetHelpContext(1025);
    box->OnExit = [this, exit = exits[i]] { (this->*exit)(); };
    *boxes[i] = box;
  }

  gPrubehT = NewGroupBox(this, "gPrubehT", 8, 360, 257, 113);
  cbSpravneO = NewCheckBox(gPrubehT, "cbSpravneO", 8, 20, 241);
  cbLibPosunPO = NewCheckBox(gPrubehT, "cbLibPosunPO", 8, 42, 241);
  cbCas = NewCheckBox(gPrubehT, "cbCas", 8, 66, 150);
  cbCas->SetChecked(true);
  cbCas->SetHelpContext(1026);
  seCas = NewSpinEdit(gPrubehT, "seCas", 160, 64, 89, 0, 600, 30);
  seCas->SetHelpContext(1026);
  seCas->OnChange = [this] { seCasChange(); };
  cbCasOdp = NewCheckBox(gPrubehT, "cbCasOdp", 8, 90, 150);
  seCasT = NewSpinEdit(gPrubehT, "seCasT", 160, 88, 89, 0, 500, 0);
  seCasT->OnChange = [this] { seCasTChange(); };

  struct ButtonPlace {
    TButton** field;
    const char* name;
    int32_t helpContext;
    int left;
    void (TfNTest::*click)();
  };
  const ButtonPlace buttons[] = {
      {&bVytvorit, "bVytvorit", 1027, 15, &TfNTest::bVytvoritClick},
      {&bUpravit, "bUpravit", 1028, 100, &TfNTest::bUpravitClick},
      {&bZpet, "bZpet", 1029, 183, &TfNTest::bZpetClick},
  };
  for (const ButtonPlace& p : buttons) {
    *p.field =
        ComicButton(this, p.name, p.left, 480, 75, "", p.helpContext, [this, click = p.click] { (this->*click)(); });
  }
  Captions.Build(*this);
  // The grading items are built: percent grading stands chosen.
  rZHodnoceni->SetItemIndex(kPercentItem);
  rZHodnoceni->OnClick = [this] { rZHodnoceniClick(); };
}

void TfNTest::NastavTxt() { Captions.LookUp(*this); }

void TfNTest::FormShow() {
  NastavTxt();
  const TDTest& t = CurrentTest;
  if (t.Exists) {
    eJTestu->SetText(t.Name);
    seOdpovedi->SetValue(t.AnswerCount);
    cbKombinace->SetChecked(t.MultipleCorrect);
    cbKodovat->SetChecked(t.Scrambled);
    cbHeslo->SetChecked(t.PasswordRequired);
    eHeslo->SetText(t.EditPassword);
    cbSpravneO->SetChecked(t.ShowCorrectAnswers);
    // The limits follow the grading mode before the thresholds are shown.
    rZHodnoceni->SetItemIndex(t.GradingMode);
    seDo1->SetValue(t.Limit1);
    seDo2->SetValue(t.Limit2);
    seDo3->SetValue(t.Limit3);
    seDo4->SetValue(t.Limit4);
    cbCas->SetChecked(t.QuestionTimeLimit != 0);
    seCas->SetValue(t.QuestionTimeLimit);
    cbCasOdp->SetChecked(t.TestTimeLimit != 0);
    seCasT->SetValue(t.TestTimeLimit);
    cbLibPosunPO->SetChecked(t.FreeNavigation);
  } else {
    // A new test starts from what the screen held last time.
    rZHodnoceni->SetItemIndex(kPercentItem);
  }
  bUpravit->setEnabled(t.Exists);
}

void TfNTest::rZHodnoceniClick() {
  // Only the limits change: a value above the new limit drops to it when its
  // box is left, and is stored as it stands otherwise.
  const int32_t limit = rZHodnoceni->ItemIndex() == kPercentItem ? kPercentLimit : kCountLimit;
  for (TSpinEdit* box : {seDo1, seDo2, seDo3, seDo4}) box->SetMaxValue(limit);
}

void TfNTest::seOdpovediExit() { EmptyBecomes(seOdpovedi, 3); }
void TfNTest::seDo1Exit() { EmptyBecomes(seDo1, 0); }
void TfNTest::seDo2Exit() { EmptyBecomes(seDo2, 0); }
void TfNTest::seDo3Exit() { EmptyBecomes(seDo3, 0); }
void TfNTest::seDo4Exit() { EmptyBecomes(seDo4, 0); }
void TfNTest::seCasChange() { EmptyBecomes(seCas, 0); }
void TfNTest::seCasTChange() { EmptyBecomes(seCasT, 0); }

void TfNTest::NastavitHodnoty() {
  TDTest& t = CurrentTest;
  t.Name = eJTestu->Text();
  // The count sizes every question's answers: one outside 2..10 would drop
  // them all, so it is brought into the range even when its box was not left.
  t.AnswerCount = seOdpovedi->CheckValue(seOdpovedi->Value());
  ResizeAnswers(t);
  t.MultipleCorrect = cbKombinace->Checked();
  t.Scrambled = cbKodovat->Checked();
  if (eHeslo->Text().empty()) cbHeslo->SetChecked(false);
  t.PasswordRequired = cbHeslo->Checked();
  t.EditPassword = eHeslo->Text();
  t.ShowCorrectAnswers = cbSpravneO->Checked();
  t.GradingMode = rZHodnoceni->ItemIndex();
  t.Limit1 = seDo1->Value();
  t.Limit2 = seDo2->Value();
  t.Limit3 = seDo3->Value();
  t.Limit4 = seDo4->Value();
  t.QuestionTimeLimit = cbCas->Checked() ? seCas->Value() : 0;
  t.TestTimeLimit = cbCasOdp->Checked() ? seCasT->Value() : 0;
  t.FreeNavigation = cbLibPosunPO->Checked();
}

void TfNTest::bVytvoritClick() {
  if (CurrentTest.Exists &&
      !MessageBoxes::AskYesNo(LangText("Vytvorit") + "...", LangText("TestZmenenVytvoritNovyBezUlozeni")))
    return;
  SetQuestionCount(CurrentTest, 1);
  NewTest();
  NastavitHodnoty();
  CurrentTest.Exists = true;
  CurrentTest.Changed = true;
  // Sizes the one question's answers to the new count.
  SetQuestionCount(CurrentTest, 1);
  Close();
}

void TfNTest::bUpravitClick() {
  NastavitHodnoty();
  CurrentTest.Exists = true;
  CurrentTest.Changed = true;
  Close();
}

void TfNTest::bZpetClick() { Close(); }
