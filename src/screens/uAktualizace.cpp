#include "screens/uAktualizace.h"

#include "model/uDApp.h"
#include "model/uPFce.h"
#include "platform/appdir.h"
#include "platform/errors.h"
#include "screens/ScreenWidgets.h"

using namespace toolkit;

TfAktualizace* fAktualizace = nullptr;

TfAktualizace::TfAktualizace() : TForm("fAktualizace") {
  SetCaption("Aktualizace");
  SetHelpButton(true);
  SetClientSize(383, 311);
  SetPosition(TPosition::poScreenCenter);

  Label1 = ComicLabel(this, "Label1", 8, 8, true, Cp1250("Aktuálnost porgramu:"));
  lAktual = ComicLabel(this, "lAktual", Label1->x() + Label1->width() + 6, 8, false, "");

  Memo1 = new TMemo(this, "Memo1");
  Memo1->SetBounds(7, 32, 369, 241);
  Memo1->SetScrollBars(false);

  bZavrit = ComicButton(this, "bZavrit", 154, 280, 75, Cp1250("Zavřít"));
  bZavrit->SetDefault(true);
  bZavrit->SetCancel(true);
  bZavrit->OnClick = [this] { bZavritClick(); };
}

std::string TfAktualizace::SouborVerze() { return platform::ProgramDir() + kVersionFileName; }

bool TfAktualizace::NactiVerzi() {
  int32_t newest = 0;
  std::string notes;
  try {
    ReadVersionFile(SouborVerze(), newest, notes);
  } catch (const platform::Exception&) {
    lAktual->SetCaption("");
    Memo1->Clear();
    return false;
  }
  // Only the build number counts; the program's own file tells it, wherever
  // and however the program was started.
  const int32_t build = FileBuildNumber(platform::ProgramFile());
  if (build < newest) {
    lAktual->SetCaption(LangText("KDispoziciNovaVerzeProgramu"));
    Memo1->SetText(notes);
  } else {
    lAktual->SetCaption(LangText("PouzivateAktualniVerziProgramu"));
    Memo1->Clear();
  }
  return true;
}

void TfAktualizace::FormShow() { bZavrit->setFocus(); }

void TfAktualizace::FormActivate() { NastavTxt(); }

void TfAktualizace::NastavTxt() {
  SetCaption(LangText("Aktualizace"));
  Label1->SetCaption(LangText("AktualnostProgramu"));
  // The verdict follows the heading, however long the language makes it.
  lAktual->move(Label1->x() + Label1->width() + 6, lAktual->y());
}

void TfAktualizace::bZavritClick() { Close(); }
