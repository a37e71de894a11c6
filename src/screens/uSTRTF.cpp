#include "screens/uSTRTF.h"

#include "model/uDApp.h"
#include "model/uDTest.h"
#include "platform/convert.h"
#include "screens/ScreenWidgets.h"

using namespace toolkit;
using platform::IntToStr;

TfSTRTF* fSTRTF = nullptr;

const TCaptionTable<TfSTRTF> TfSTRTF::Captions = {
    {kForm, "UlozitTestDoRTF", "Uložit test do RTF"},
    {&TfSTRTF::bPripravit, "Pripravit", "Připravit"},
    {&TfSTRTF::bUlozit, "Ulozit", "Uložit"},
    {&TfSTRTF::bZavrit, "Zavrit", "Zavřít"},
};

TfSTRTF::TfSTRTF() : TForm("fSTRTF") {
  SetBorderStyle(TBorderStyle::bsSizeable);
  SetHelpButton(true);
  SetClientSize(458, 392);  // 466 by 418 with the frame
  SetPosition(TPosition::poMainFormCenter);
  setFont(FontPt("MS Sans Serif", 8));

  // The buttons at the bottom, the editor over all the rest.
  pMenu = new TPanel(this, "pMenu");
  pMenu->resize(458, 41);
  pMenu->SetAlign(TAlign::alBottom);
  reVystup = new TRichEdit(this, "reVystup");
  reVystup->setFont(FontPx("Comic Sans MS", 11));
  reVystup->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  reVystup->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  SetAlign(reVystup, TAlign::alClient);

  bPripravit = ComicButton(pMenu, "bPripravit", 8, 8, 89, "");
  bPripravit->OnClick = [this] { bPripravitClick(); };
  bUlozit = ComicButton(pMenu, "bUlozit", 184, 8, 89, "");
  bUlozit->OnClick = [this] { bUlozitClick(); };
  bZavrit = ComicButton(pMenu, "bZavrit", 361, 8, 89, "");
  bZavrit->OnClick = [this] { bZavritClick(); };

  sd1 = new TSaveDialog(this, "sd1");
  sd1->Filter = "Soubory RTF|*.rtf";
  sd1->DefaultExt = "rtf";
  sd1->Options = ofOverwritePrompt | ofPathMustExist | ofHideReadOnly | ofEnableSizing;
  Captions.Build(*this);
}

void TfSTRTF::NastavTxt() { Captions.LookUp(*this); }

void TfSTRTF::FormActivate() { NastavTxt(); }

void TfSTRTF::bPripravitClick() {
  reVystup->Clear();
  for (int32_t i = 0; i < QuestionCount(CurrentTest); ++i) {
    const TOtazky& question = CurrentTest.Questions[static_cast<size_t>(i)];
    const std::string text = IntToStr(i + 1) + ") " + question.Text;
    reVystup->AddLine(text);
    reVystup->Select(reVystup->LineStart(reVystup->LineCount() - 1), static_cast<int>(text.size()));
    reVystup->SetSelSize(12);
    reVystup->SetSelBold(true);
    for (int32_t j = 0; j < CurrentTest.AnswerCount; ++j) {
      const size_t slot = static_cast<size_t>(j);
      const std::string answer = slot < question.Answers.size() ? question.Answers[slot] : std::string();
      reVystup->AddLine(AnswerLetter(slot) + ") " + answer);
    }
  }
  // The caret at the start, ready for hand edits.
  reVystup->Select(0, 0);
}

void TfSTRTF::bUlozitClick() {
  if (!sd1->Execute()) return;
  reVystup->SaveToFile(sd1->FileName);
}

void TfSTRTF::bZavritClick() { Close(); }
