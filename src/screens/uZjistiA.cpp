#include "screens/uZjistiA.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWindow>

#include "model/uDApp.h"
#include "screens/ScreenWidgets.h"

using namespace toolkit;

TfZjistiA* fZjistiA = nullptr;

const TCaptionTable<TfZjistiA> TfZjistiA::Captions = {
    {kForm, "Aktualizace", "Aktualizace...", "..."},
    {&TfZjistiA::Label1, "ZjistujiAktualizace", "Zjišťuji aktualizace, čekejte prosím...", "..."},
};

namespace {
// A notice that the window system never draws must not hold the check up.
constexpr int kLongestWaitMs = 2000;
}  // namespace

TfZjistiA::TfZjistiA() : TForm("fZjistiA") {
  SetBorderStyle(TBorderStyle::bsNotice);
  SetClientSize(259, 31);
  SetPosition(TPosition::poScreenCenter);

  Label1 = ComicLabel(this, "Label1", 8, 8, true);
  Captions.Build(*this);
}

void TfZjistiA::FormShow() { painted_ = false; }

void TfZjistiA::FormActivate() { NastavTxt(); }

void TfZjistiA::NastavTxt() { Captions.LookUp(*this); }

void TfZjistiA::UkazANakresli() {
  show();
  raise();
  QElapsedTimer waited;
  waited.start();
  // The user's clicks wait: the check is about to block the program anyway,
  // and a screen opened now would open inside it.
  while (!painted_ && waited.elapsed() < kLongestWaitMs) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    // Painted before the window manager showed the window, it would still be blank.
    if (!painted_ && windowHandle() && windowHandle()->isExposed()) repaint();
  }
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TfZjistiA::paintEvent(QPaintEvent* event) {
  TForm::paintEvent(event);
  // Only what is drawn on a shown window reaches the screen.
  if (windowHandle() && windowHandle()->isExposed()) painted_ = true;
}
