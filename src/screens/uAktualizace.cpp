#include "screens/uAktualizace.h"

#include <algorithm>
#include <filesystem>

#include "model/uDApp.h"
#include "model/uPFce.h"
#include "platform/appdir.h"
#include "platform/cp1250.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/userdirs.h"
#include "screens/ScreenWidgets.h"

using namespace toolkit;

TfAktualizace* fAktualizace = nullptr;

const TCaptionTable<TfAktualizace> TfAktualizace::Captions = {
    {kForm, "Aktualizace", "Aktualizace"},
    {&TfAktualizace::Label1, "AktualnostProgramu", "Aktuálnost porgramu:"},
};

namespace {
constexpr int kMemoTop = 32;
}  // namespace

TfAktualizace::TfAktualizace() : TForm("fAktualizace") {
  SetHelpButton(true);
  SetClientSize(383, 311);
  SetPosition(TPosition::poScreenCenter);

  Label1 = ComicLabel(this, "Label1", 8, 8, true);
  lAktual = ComicLabel(this, "lAktual", 8, 8, false);
  lAktual->SetWordWrap(true);

  Memo1 = new TMemo(this, "Memo1");
  Memo1->SetBounds(7, kMemoTop, 369, 241);
  Memo1->SetScrollBars(false);

  // Its caption is the same in every language.
  bZavrit = ComicButton(this, "bZavrit", 154, 280, 75, Cp1250("Zavřít"));
  bZavrit->SetDefault(true);
  bZavrit->SetCancel(true);
  bZavrit->OnClick = [this] { bZavritClick(); };
  Captions.Build(*this);
  // The verdict follows the heading.
  lAktual->move(Label1->x() + Label1->width() + 6, lAktual->y());
}

namespace {

// Whether a file can be put in place at the path: the check a download makes
// before it fetches anything.
bool TakesFile(const std::string& path) {
  try {
    platform::AtomicFileWriter probe(path);
    return true;
  } catch (const platform::Exception&) {
    return false;
  }
}

}  // namespace

std::string TfAktualizace::SouborVerze() {
  const std::string beside = platform::ProgramDir() + kVersionFileName;
  if (TakesFile(beside)) return beside;
  // A program installed where its user may not write still learns of updates.
  const std::string cache = platform::UserCacheHome();
  if (cache.empty()) return {};
  const std::string folder = cache + "/zorvik";
  std::error_code ignored;  // a folder that cannot be made fails the probe
  // A cache folder made here is the user's alone, as the desktop's rules ask.
  if (!std::filesystem::exists(cache, ignored) && std::filesystem::create_directories(cache, ignored)) {
    std::filesystem::permissions(cache, std::filesystem::perms::owner_all, ignored);
  }
  std::filesystem::create_directory(folder, ignored);
  const std::string there = platform::PathText(folder) + "/" + kVersionFileName;
  return TakesFile(there) ? there : std::string();
}

bool TfAktualizace::NactiVerzi(const std::string& soubor) {
  int32_t newest = 0;
  std::string notes;
  try {
    ReadVersionFile(soubor, newest, notes);
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
  Rozmisti();
  return true;
}

void TfAktualizace::Rozmisti() {
  // The verdict follows the heading, however long the language makes it, and
  // takes a second line rather than run out of the window; the notes start below both.
  const int left = Label1->x() + Label1->width() + 6;
  lAktual->SetBounds(left, Label1->y(), std::max(ClientWidth() - 8 - left, 40), lAktual->height());
  lAktual->AdjustBounds();
  const int bottom = Memo1->y() + Memo1->height();
  const int top = std::max({kMemoTop, Label1->y() + Label1->height() + 5, lAktual->y() + lAktual->height() + 5});
  Memo1->SetBounds(Memo1->x(), top, Memo1->width(), bottom - top);
}

void TfAktualizace::FormShow() { bZavrit->setFocus(); }

void TfAktualizace::FormActivate() { NastavTxt(); }

void TfAktualizace::NastavTxt() {
  Captions.LookUp(*this);
  Rozmisti();
}

void TfAktualizace::bZavritClick() { Close(); }
