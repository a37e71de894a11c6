#include "screens/uUpravitT.h"

#include <algorithm>
#include <string>

#include "screens/ScreenWidgets.h"
#include "platform/convert.h"
#include "platform/cp1250.h"
#include "model/uDApp.h"

using namespace toolkit;

TfUpravitT* fUpravitT = nullptr;

const TCaptionTable<TfUpravitT> TfUpravitT::Captions = {
    {kForm, "UpravitTest", "Upravit test"},
    {&TfUpravitT::Label1, "Otazka", "Otázka:", ":"},
    {&TfUpravitT::Label3, "Obrazek", "Obrázek:", ":"},
    {&TfUpravitT::Label2, "Body", "Body:", ":"},
    {&TfUpravitT::bPredchozi, "Predchozi", "<<< Předchozí", "", "<<< "},
    {&TfUpravitT::bDalsi, "Dalsi", "Další >>>", " >>>"},
    {&TfUpravitT::bPridejO, "Pridat", "Přidat"},
    {&TfUpravitT::bVlozO, "Vlozit", "Vložit"},
    {&TfUpravitT::bSmazat, "Smazat", "Smazat"},
    {&TfUpravitT::bZpet, "Zpet", "Zpět"},
};

namespace {
constexpr int kEditHeight = 21;
constexpr int kRowGap = 5;
constexpr int kFirstRowTop = 10;
}  // namespace

TfUpravitT::TfUpravitT() : TForm("fUpravitT") {
  SetHelpButton(true);
  // The height follows the answer count at every showing.
  SetClientSize(633, 300);
  SetPosition(TPosition::poMainFormCenter);
  setFont(FontPt("MS Sans Serif", 8));

  pOtazka = NewPanel(this, "pOtazka", TAlign::alTop, 57);
  Label1 = ComicLabel(pOtazka, "Label1", 8, 10, true);
  eOtazka = new TEdit(pOtazka, "eOtazka");
  eOtazka->SetBounds(72, 8, 393, kEditHeight);
  Label2 = ComicLabel(pOtazka, "Label2", 472, 10, true);
  seBody = new TSpinEdit(pOtazka, "seBody");
  seBody->SetBounds(520, 8, 105, kEditHeight);
  seBody->SetMinValue(1);
  seBody->SetMaxValue(100);
  seBody->SetValue(1);
  seBody->OnExit = [this] { seBodyExit(); };
  Label3 = ComicLabel(pOtazka, "Label3", 8, 34, true);
  eObrazek = new TEdit(pOtazka, "eObrazek");
  eObrazek->SetBounds(72, 32, 393, kEditHeight);
  bVObr = ComicButton(pOtazka, "bVObr", 464, 32, 25, "...", 1014, [this] { bVObrClick(); });
  bVObr->resize(25, kEditHeight);
  opd1 = new TOpenPictureDialog(this, "opd1");

  pMenu = NewPanel(this, "pMenu", TAlign::alBottom, 41);
  pOdpovedi = NewPanel(this, "pOdpovedi", TAlign::alClient, 0);
  bPredchozi = ComicButton(pMenu, "bPredchozi", 8, 8, 105, "", 1015, [this] { bPredchoziClick(); });
  seCislo = new TSpinEdit(pMenu, "seCislo");
  seCislo->SetBounds(120, 8, 49, kEditHeight);
  seCislo->SetMinValue(1);
  seCislo->SetMaxValue(1);
  seCislo->SetValue(1);
  seCislo->OnEnter = [this] { seCisloEnter(); };
  seCislo->OnChange = [this] { seCisloChange(); };
  seCislo->OnExit = [this] { seCisloExit(); };
  seCislo->OnKeyDown = [this](int& key, Qt::KeyboardModifiers shift) { seCisloKeyDown(key, shift); };
  bDalsi = ComicButton(pMenu, "bDalsi", 176, 8, 105, "", 1016, [this] { bDalsiClick(); });
  bPridejO = ComicButton(pMenu, "bPridejO", 296, 8, 81, "", 1017, [this] { bPridejOClick(); });
  bVlozO = ComicButton(pMenu, "bVlozO", 384, 8, 81, "", 1018, [this] { bVlozOClick(); });
  bSmazat = ComicButton(pMenu, "bSmazat", 472, 8, 81, "", 1019, [this] { bSmazatClick(); });
  bZpet = ComicButton(pMenu, "bZpet", 568, 8, 59, "", 1020, [this] { bZpetClick(); });
  Captions.Build(*this);
}

void TfUpravitT::NastavTxt() {
  Captions.LookUp(*this);
  opd1->Filter = PictureFilter([](const TPictureType& type) { return LangText(type.Key); });
}

void TfUpravitT::FormActivate() { NastavTxt(); }

void TfUpravitT::FormShow() {
  // A hand-made test file may hold no question; the editor always shows one.
  if (QuestionCount(CurrentTest) == 0) AppendQuestion(CurrentTest);
  BuildAnswerRows();

  // The window grows with the rows; with no answer slot the room of one stays empty.
  const int lastTop = AnswerEdits.empty() ? kFirstRowTop : AnswerEdits.back()->y();
  const int lastHeight = AnswerEdits.empty() ? kEditHeight : AnswerEdits.back()->height();
  SetHeight(lastTop + pMenu->height() + pOtazka->height() + lastHeight + 40);

  APocetO();
  // The number outlives the closing; a test that has become shorter opens at its last question.
  seCislo->SetValue(seCislo->Value());
  NactiD();
  seBody->setEnabled(CurrentTest.GradingMode == kGradingByPoints);
}

void TfUpravitT::BuildAnswerRows() {
  const TDTest& t = CurrentTest;
  const auto rows = static_cast<size_t>(std::max<int32_t>(t.AnswerCount, 0));
  AnswerEdits.resize(rows);
  AnswerButtons.resize(rows);
  QWidget* previous = bVObr;
  for (size_t i = 0; i < rows; ++i) {
    const std::string number = std::to_string(i + 1);
    auto* edit = new TEdit(pOdpovedi, ("eOdpoved" + number).c_str());
    const int top = static_cast<int>(i) * (kEditHeight + kRowGap) + kFirstRowTop;
    edit->SetBounds(135, top, pOdpovedi->width() - 145, kEditHeight);

    const std::string caption = LangText("OdpovedC") + number;
    // Radio buttons of one parent: at most one of them is checked.
    QAbstractButton* button = NewChoiceButton(pOdpovedi, ("cbOdpoved" + number).c_str(), caption, t.MultipleCorrect);
    button->setFont(ComicFont(true));
    button->setGeometry(10, top, 125, edit->height());
    edit->show();
    button->show();

    // The rows come between the picture button and the question number in the tab order.
    QWidget::setTabOrder(previous, edit);
    QWidget::setTabOrder(edit, button);
    previous = button;
    AnswerEdits[i] = edit;
    AnswerButtons[i] = button;
  }
  QWidget::setTabOrder(previous, bPredchozi);
}

void TfUpravitT::APocetO() { seCislo->SetMaxValue(QuestionCount(CurrentTest)); }

TOtazky* TfUpravitT::ShownQuestion() const {
  const auto number = platform::TryStrToInt(seCislo->Text());
  if (!number || *number < 1 || *number > QuestionCount(CurrentTest)) return nullptr;
  return &CurrentTest.Questions[static_cast<size_t>(*number - 1)];
}

void TfUpravitT::NactiD() {
  const TOtazky* q = ShownQuestion();
  if (!q) return;
  eOtazka->SetText(q->Text);
  seBody->SetValue(q->Points);
  eObrazek->SetText(q->Picture);
  const size_t rows = std::min({AnswerEdits.size(), q->Answers.size(), q->Correct.size()});
  for (size_t i = 0; i < rows; ++i) {
    AnswerEdits[i]->SetText(q->Answers[i]);
    // With radio buttons the last of several correct flags stays checked.
    SetChoiceChecked(AnswerButtons[i], q->Correct[i]);
  }
}

void TfUpravitT::UlozD() {
  CurrentTest.Changed = true;
  TOtazky* q = ShownQuestion();
  if (!q) return;
  q->Text = eOtazka->Text();
  // What the box would show once left: the points stay within 1..100 also
  // when the window is closed with the focus still in the box.
  q->Points = seBody->CheckValue(seBody->Value());
  q->Picture = eObrazek->Text();
  const size_t rows = std::min({AnswerEdits.size(), q->Answers.size(), q->Correct.size()});
  for (size_t i = 0; i < rows; ++i) {
    q->Answers[i] = AnswerEdits[i]->Text();
    q->Correct[i] = AnswerButtons[i]->isChecked();
  }
}

void TfUpravitT::bDalsiClick() {
  UlozD();
  if (seCislo->Value() != seCislo->MaxValue()) seCislo->SetValue(seCislo->Value() + 1);
  NactiD();
}

void TfUpravitT::bPredchoziClick() {
  UlozD();
  if (seCislo->Value() != seCislo->MinValue()) seCislo->SetValue(seCislo->Value() - 1);
  NactiD();
}

void TfUpravitT::seCisloEnter() { UlozD(); }

void TfUpravitT::seCisloChange() {
  // Only a valid number loads; the question shown before was stored on entering the box.
  if (ShownQuestion()) NactiD();
}

void TfUpravitT::seCisloExit() {
  const auto number = platform::TryStrToInt(seCislo->Text());
  // A text that is no whole number ("-", "1,5") names no question: it counts
  // as empty, so the number names the question shown whenever the box is left.
  if (!number) {
    seCislo->SetValue(1);
  } else if (*number > seCislo->MaxValue()) {
    seCislo->SetValue(seCislo->MaxValue());
  } else if (*number < seCislo->MinValue()) {
    seCislo->SetValue(1);
  }
}

void TfUpravitT::seCisloKeyDown(int& Key, Qt::KeyboardModifiers Shift) {
  if (Key != Qt::Key_Return && Key != Qt::Key_Enter) return;
  seCisloExit();
  Key = 0;
}

void TfUpravitT::seBodyExit() {
  if (seBody->Text().empty()) seBody->SetValue(1);
}

void TfUpravitT::bPridejOClick() {
  UlozD();
  AppendQuestion(CurrentTest);
  APocetO();
  seCislo->SetValue(QuestionCount(CurrentTest));
  NactiD();
}

void TfUpravitT::bVlozOClick() {
  UlozD();
  InsertQuestion(CurrentTest, seCislo->Value() - 1);
  APocetO();
  NactiD();
}

void TfUpravitT::bSmazatClick() {
  TDTest& t = CurrentTest;
  const int32_t number = seCislo->Value();
  if (QuestionCount(t) > 1) {
    DeleteQuestion(t, number - 1);
  } else if (TOtazky* q = ShownQuestion()) {
    // The only question is emptied in place: a test always keeps one.
    q->Text.clear();
    q->Picture.clear();
    q->Points = 1;
    std::fill(q->Answers.begin(), q->Answers.end(), std::string());
    std::fill(q->Correct.begin(), q->Correct.end(), false);
  }
  if (number == seCislo->MaxValue() && seCislo->MaxValue() > 1) seCislo->SetValue(number - 1);
  APocetO();
  NactiD();
}

void TfUpravitT::bVObrClick() {
  if (!opd1->Execute()) return;
  // The test file holds code page 1250 text: a path it cannot hold would come
  // back as "?" and the picture be lost, so it is refused while the user can
  // still do something about it.
  if (platform::BeyondCodePage(opd1->FileName)) {
    MessageBoxes::Inform(LangText("Obrazek") + "...", LangText("CestuKObrazkuNelzeUlozit") + "\n\n" + opd1->FileName);
    return;
  }
  eObrazek->SetText(opd1->FileName);
}

void TfUpravitT::bZpetClick() { Close(); }

void TfUpravitT::FormCloseQuery(bool& CanClose) {
  // Closed with the focus still in the number box: its rule first, so the
  // store goes to the question it then names.
  seCisloExit();
  UlozD();
}

void TfUpravitT::FormHide() {
  for (TEdit* e : AnswerEdits) delete e;
  for (QAbstractButton* b : AnswerButtons) delete b;
  AnswerEdits.clear();
  AnswerButtons.clear();
}
