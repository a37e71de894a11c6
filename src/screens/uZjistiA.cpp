#include "screens/uZjistiA.h"

#include <QGuiApplication>
#include <QEventLoop>
#include <QTimer>
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
  // Over the screen the check starts from (the menu or the settings screen):
  // the window manager keeps a window above the one it is transient for, so
  // the screen, given the focus back or raised, cannot cover the notice.
  TForm* owner = ActiveForm();
  winId();
  windowHandle()->setTransientParent(owner && owner != this ? owner->windowHandle() : nullptr);
  show();
  raise();
  activateWindow();
  // The user's clicks wait: the check is about to block the program anyway,
  // and a screen opened now would open inside it. Once the check blocks,
  // nothing is drawn any more: the notice must be drawn where and as it then
  // stands, on top and active. The wait sleeps between events, leaving the
  // processor to the window manager that is to frame and activate the notice.
  if (!Ready()) {
    QEventLoop loop;
    waiting_ = &loop;
    QTimer::singleShot(kLongestWaitMs, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    waiting_ = nullptr;
  }
  // What is drawn reaches the window system before the program blocks.
  QGuiApplication::sync();
}

bool TfZjistiA::Ready() const { return painted_ && isActiveWindow(); }

void TfZjistiA::EndWaitIfReady() {
  if (waiting_ && Ready()) waiting_->quit();
}

bool TfZjistiA::event(QEvent* event) {
  // Activated, the window is drawn again: what was drawn before may have been
  // covered by the screen that had the focus.
  if (event->type() == QEvent::WindowActivate) {
    painted_ = false;
    update();
  }
  const bool handled = TForm::event(event);
  EndWaitIfReady();
  return handled;
}

void TfZjistiA::paintEvent(QPaintEvent* event) {
  TForm::paintEvent(event);
  // Only what is drawn on a shown window reaches the screen.
  if (windowHandle() && windowHandle()->isExposed()) painted_ = true;
  EndWaitIfReady();
}
