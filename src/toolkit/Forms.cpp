#include "toolkit/Forms.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <deque>

#include "toolkit/Controls.h"
#include "toolkit/TestMode.h"
#include "toolkit/Text.h"
#include "platform/profile.h"

namespace toolkit {

namespace {
// Set while a form just shown waits for the window manager to frame it.
const char* const kPlaceWhenFramed = "placeWhenFramed";

// The frame the window manager draws, as Qt reports it. Around a window being
// unmapped or mapped again it may report none, the last one, or negative sizes.
bool KnownFrame(const QMargins& frame) {
  return !frame.isNull() && frame.left() >= 0 && frame.top() >= 0 && frame.right() >= 0 && frame.bottom() >= 0;
}

// The frame last seen around a shown form: the window manager frames them alike.
QMargins& LastFrame() {
  static QMargins frame;
  return frame;
}

QPointer<TForm>& Active() {
  static QPointer<TForm> active;
  return active;
}

struct MainFormEntry {
  QPointer<TForm> form;
  std::function<void()> onClosed;
};
MainFormEntry& Main() {
  static MainFormEntry main;
  return main;
}

std::deque<std::function<void(TForm&)>>& ModalQueue() {
  static std::deque<std::function<void(TForm&)>> queue;
  return queue;
}

std::vector<std::string>& Modals() {
  static std::vector<std::string> shown;
  return shown;
}
}  // namespace

TForm::TForm(const char* name) : QDialog(nullptr) {
  InitControl(this, name);
  UpdateFlags();
}

// The screen's own part is gone by now; Qt, destroying the window, still
// moves the focus out of its controls, which must not call the screen.
TForm::~TForm() { MarkBeingDestroyed(this); }

std::string TForm::Caption() const { return FromQ(windowTitle()); }
void TForm::SetCaption(const std::string& caption) { setWindowTitle(ToQ(caption)); }

void TForm::SetClientSize(int width, int height) {
  if (borderStyle_ == TBorderStyle::bsSizeable) {
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    resize(width, height);
  } else {
    setFixedSize(width, height);
  }
}

void TForm::SetClientHeight(int height) { SetClientSize(width(), height); }

void TForm::SetBorderStyle(TBorderStyle style) {
  borderStyle_ = style;
  UpdateFlags();
  SetClientSize(width(), height());
}

void TForm::SetHelpButton(bool on) {
  helpButton_ = on;
  UpdateFlags();
}

void TForm::UpdateFlags() {
  Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (borderStyle_ != TBorderStyle::bsNotice) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (helpButton_ && borderStyle_ != TBorderStyle::bsNotice) flags |= Qt::WindowContextHelpButtonHint;
  setWindowFlags(flags);
}

int32_t TForm::HelpContext() const { return HelpContextOf(this); }
void TForm::SetHelpContext(int32_t context) { toolkit::SetHelpContext(this, context); }

int TForm::ShowModal() {
  // The program waits for the user: what it has kept for the files goes there now.
  platform::ProfileBatchGap wait;
  // Keep the screen above the one it was opened from.
  winId();
  if (TForm* owner = ActiveForm(); owner && owner != this && owner->windowHandle())
    windowHandle()->setTransientParent(owner->windowHandle());
  if (TestMode()) {
    if (Recording()) Modals().push_back(objectName().toStdString());
    std::function<void(TForm&)> action;
    if (!ModalQueue().empty()) {
      action = std::move(ModalQueue().front());
      ModalQueue().pop_front();
    }
    QTimer::singleShot(0, this, [this, action] {
      if (action) Invoke([&] { action(*this); });
      if (isVisible()) Close();
    });
  }
  return exec();
}

void TForm::Close() { close(); }

void TForm::Activate() {
  if (Active() == this) return;
  Active() = this;
  Invoke([this] { FormActivate(); });
}

TForm* TForm::ActiveForm() { return Active(); }

TForm* TForm::MainForm() { return Main().form; }

void TForm::SetMainForm(TForm* form, std::function<void()> onClosed) {
  Main().form = form;
  Main().onClosed = std::move(onClosed);
}

void TForm::QueueModal(std::function<void(TForm&)> action) { ModalQueue().push_back(std::move(action)); }
const std::vector<std::string>& TForm::ShownModals() { return Modals(); }

void TForm::ClearModals() {
  Modals().clear();
  ModalQueue().clear();
}

void TForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  // Showing and the activation it brings are one burst of work.
  Invoke([this] {
    Invoke([this] { FormShow(); });
    PlaceOnScreen();
    // Where the window lands is known only once it is framed; it is placed again then.
    setProperty(kPlaceWhenFramed, position_ != TPosition::poDesigned);
    if (Active() != this) activeBefore_ = Active();
    Activate();
  });
}

void TForm::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  setProperty(kPlaceWhenFramed, false);
  if (event->spontaneous()) return;
  Invoke([this] { FormHide(); });
  if (Active() != this) return;
  Active() = nullptr;
  // Activation goes back to the form this one was shown over.
  TForm* back = activeBefore_;
  if (!back || !back->isVisible()) back = MainForm();
  if (back && back != this && back->isVisible()) back->Activate();
}

void TForm::closeEvent(QCloseEvent* event) {
  bool agreed = false;
  Invoke([&] {
    bool canClose = true;
    FormCloseQuery(canClose);
    agreed = canClose;
  });
  if (agreed) {
    agreed = false;
    Invoke([&] {
      FormClose();
      agreed = true;
    });
  }
  if (!agreed) {
    event->ignore();
    return;
  }
  if (MainForm() == this && Main().onClosed) Main().onClosed();
  QDialog::closeEvent(event);
}

void TForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    // Esc presses the cancel button; without one it does nothing.
    for (TButton* button : findChildren<TButton*>()) {
      if (button->Cancel() && button->isVisible() && button->isEnabled()) {
        button->click();
        break;
      }
    }
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

bool TForm::event(QEvent* event) {
  // The frame is known once the window manager has framed the window: by the
  // time it moves it there, or activates it.
  const QEvent::Type type = event->type();
  if ((type == QEvent::Move || type == QEvent::WindowActivate || type == QEvent::ActivationChange) &&
      property(kPlaceWhenFramed).toBool() && isVisible() && windowHandle() &&
      KnownFrame(windowHandle()->frameMargins())) {
    setProperty(kPlaceWhenFramed, false);
    PlaceOnScreen();
  }
  if (event->type() == QEvent::WindowActivate && isVisible()) {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == this) Activate();
  }
  return QDialog::event(event);
}

void TForm::PlaceOnScreen() {
  if (position_ == TPosition::poDesigned) return;
  QRect area;
  TForm* main = MainForm();
  if (position_ != TPosition::poScreenCenter && main && main != this && main->isVisible()) {
    area = main->frameGeometry();
  } else if (QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen()) {
    area = s->availableGeometry();
  } else {
    return;
  }
  // Centred with the frame the window manager really draws. While the window
  // is not framed, the frame of the last framed form stands in for it (none
  // before the first); showEvent has the window placed again once it is framed.
  QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
  if (KnownFrame(frame)) LastFrame() = frame;
  else frame = LastFrame();
  const QSize outer(width() + frame.left() + frame.right(), height() + frame.top() + frame.bottom());
  // The client area's corner is set, not the frame's: how move() places the
  // frame of a window not yet mapped depends on what Qt last knew of it.
  setGeometry(QRect(QPoint(area.center().x() - outer.width() / 2 + frame.left(),
                           area.center().y() - outer.height() / 2 + frame.top()),
                    size()));
}

}  // namespace toolkit
