#include "help/whatsthis/hxwhatsthis_hooks.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>
#include <exception>

#include "help/whatsthis/hxwhatsthis.h"
#include "toolkit/Application.h"
#include "toolkit/Forms.h"
#include "toolkit/PopupMenu.h"

namespace help {

namespace {
bool g_callWndHook = false;
bool g_cursorSet = false;

// A widget made by the program's own control classes: they all carry a help context.
bool IsProgramControl(const QWidget* w) { return w && w->property("HelpContext").isValid(); }

QWidget* TopWidgetOf(QWindow* window) {
  if (!window) return nullptr;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->windowHandle() == window) return top;
  }
  return nullptr;
}

// While a popup is open, Qt hands every mouse event to it whatever window it
// arrived at, as the platform grabs the mouse for it.
QWindow* ReceivingWindow(QWindow* window) {
  if (QWidget* popup = QApplication::activePopupWidget()) {
    if (QWindow* handle = popup->windowHandle()) return handle;
  }
  return window;
}
}  // namespace

TInputWatch& TInputWatch::Instance() {
  static TInputWatch* watch = new TInputWatch();
  return *watch;
}

void TInputWatch::Install() {
  if (installed_ || !qApp) return;
  qApp->installEventFilter(this);
  installed_ = true;
}

void TInputWatch::Remove() {
  if (!installed_) return;
  if (qApp) qApp->removeEventFilter(this);
  installed_ = false;
}

void TInputWatch::InstallCallWndHook() { g_callWndHook = true; }
void TInputWatch::RemoveCallWndHook() { g_callWndHook = false; }
bool TInputWatch::CallWndHook() { return g_callWndHook; }

void TInputWatch::SetCursor(bool help) {
  const QCursor cursor(help ? Qt::WhatsThisCursor : Qt::ArrowCursor);
  if (g_cursorSet) {
    QApplication::changeOverrideCursor(cursor);
  } else {
    QApplication::setOverrideCursor(cursor);
    g_cursorSet = true;
  }
}

void TInputWatch::RestoreCursor() {
  if (!g_cursorSet) return;
  QApplication::restoreOverrideCursor();
  g_cursorSet = false;
}

QWidget* TInputWatch::FindOwnControl(QWindow* window) {
  QWidget* top = TopWidgetOf(window);
  return IsProgramControl(top) ? top : nullptr;
}

QWidget* TInputWatch::ControlAtPoint(QWindow* window, QPoint point) {
  QWidget* c = FindOwnControl(window);
  if (!c) return nullptr;
  QPoint p = c->mapFromGlobal(point);
  if (!c->rect().contains(p)) return nullptr;
  for (;;) {
    QWidget* hit = nullptr;
    const QObjectList& children = c->children();
    for (auto it = children.crbegin(); it != children.crend(); ++it) {
      auto* w = qobject_cast<QWidget*>(*it);
      if (!w || w->isWindow() || !w->isVisibleTo(c)) continue;
      if (w->geometry().contains(p)) {
        hit = w;
        break;
      }
    }
    if (!hit) break;
    p -= hit->pos();
    c = hit;
  }
  // The parts a Qt widget is built of (a spin box's edit, a view's viewport)
  // answer for the control they belong to.
  while (c && !IsProgramControl(c)) c = c->parentWidget();
  return c;
}

QWidget* TInputWatch::ActiveControl() {
  QWidget* focus = QApplication::focusWidget();
  if (!focus) {
    QWidget* form = QApplication::activeWindow();
    if (!form) form = toolkit::TForm::ActiveForm();
    focus = form ? form->focusWidget() : nullptr;
  }
  return focus && !focus->isWindow() ? focus : nullptr;
}

bool TInputWatch::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      // Input is watched where it enters the program, at its window, once.
      if (!watched->isWindowType()) return false;
      break;
    case QEvent::ShortcutOverride:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::WindowActivate:
    case QEvent::EnterWhatsThisMode:
    case QEvent::WhatsThis:
    case QEvent::ContextMenu: break;
    default: return false;
  }
  TWhatsThis* current = TWhatsThis::CurrentInstance();
  if (!current || !current->Hooked()) return false;
  try {
    return Watch(*current, watched, event);
  } catch (const std::exception& e) {
    // The input goes on as if nothing had watched it.
    if (toolkit::Application()) toolkit::Application()->ShowException(e);
  } catch (...) {
    // Only std::exception carries a text to show; nothing of ours throws else.
  }
  return false;
}

bool TInputWatch::Watch(TWhatsThis& w, QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: return Keyboard(w, static_cast<QWindow*>(watched), static_cast<QKeyEvent*>(event));
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease: return Mouse(w, static_cast<QWindow*>(watched), static_cast<QMouseEvent*>(event));
    case QEvent::ShortcutOverride:
      // F1 is the component's: no shortcut of a menu item takes it first.
      if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
        event->accept();
        return true;
      }
      return false;
    case QEvent::EnterWhatsThisMode:
      // The caption's question-mark button. Qt's own what's-this mode never starts.
      if (w.HelpMode() == hmContextMode) w.LeaveContextMode();
      if (IsProgramControl(QApplication::activeWindow())) InstallCallWndHook();
      w.SetHelpMode(hmHelpButton);
      return true;
    case QEvent::WhatsThis:
      // Qt's own help request for a widget is swallowed while the program asks for help.
      return g_callWndHook;
    case QEvent::ContextMenu:
      // A form's own "What's This?" menu would stand beside the component's popup.
      return qobject_cast<QDialog*>(watched) != nullptr;
    case QEvent::WindowActivate:
      if (g_callWndHook && watched->isWidgetType() && w.HelpMode() == hmPopupPending) w.SetHelpMode(hmIdle);
      return false;
    case QEvent::Show:
    case QEvent::Hide: {
      auto* menu = qobject_cast<QMenu*>(watched);
      if (!menu) return false;
      if (event->type() == QEvent::Show) {
        connect(menu, &QMenu::hovered, this, &TInputWatch::MenuHovered, Qt::UniqueConnection);
        if (openMenus_++ == 0 && g_callWndHook) {
          // A menu loop starts: a control's own context menu wins over the popup.
          if (w.helpMode_ == hmPopupPending) w.helpMode_ = hmIdle;
          w.inMenu_ = true;
          w.selectedItem_ = nullptr;
        }
      } else if (openMenus_ > 0 && --openMenus_ == 0) {
        w.inMenu_ = false;
      }
      return false;
    }
    default: return false;
  }
}

void TInputWatch::MenuHovered(QAction* action) {
  TWhatsThis* w = TWhatsThis::CurrentInstance();
  if (!w || !w->Hooked() || !g_callWndHook) return;
  w->menuCommand_ = action && !action->menu();
  toolkit::TMenuItem* item = toolkit::FindMenuItemByAction(action);
  if (!item && w->popupMenu_ && sender() == w->popupMenu_->Handle() && !w->popupMenu_->Items()->Items().empty())
    item = w->popupMenu_->Items()->Items()[0];
  w->selectedItem_ = item;
}

// --- keyboard ---

bool TInputWatch::Keyboard(TWhatsThis& w, QWindow* window, QKeyEvent* key) {
  // Held keys repeat; only the first press and the last release count.
  if (key->isAutoRepeat()) return false;
  if (key->type() == QEvent::KeyPress) {
    if (w.helpMode_ == hmContextMode) w.LeaveContextMode();
    switch (key->key()) {
      case Qt::Key_Shift: w.shiftDown_ = true; return false;
      case Qt::Key_F1:
        // Shift as the key event carries it: a Shift released over another
        // program leaves no stale state behind.
        return F1(w, window, key->modifiers() & Qt::ShiftModifier);
      default: return false;
    }
  }
  switch (key->key()) {
    case Qt::Key_Shift: w.shiftDown_ = false; break;
    case Qt::Key_Menu: AppKey(w); break;
    default: break;
  }
  return false;
}

bool TInputWatch::F1(TWhatsThis& w, QWindow* window, bool shift) {
  w.helpMode_ = hmIdle;
  QWidget* foreground = QApplication::activeWindow();
  if (!foreground) foreground = TopWidgetOf(window);
  if (!IsProgramControl(foreground) && w.f1Action_ == goContext) return false;
  w.target_ = ActiveControl();
  if (!w.inMenu_) InstallCallWndHook();
  bool callHelp = true;
  if (!shift && w.OnF1KeyDown) w.OnF1KeyDown(&w, callHelp);
  if (callHelp) {
    if (shift) {
      w.EnterContextMode();
    } else if (w.inMenu_ || w.f1Action_ == goContext) {
      QPoint point = QCursor::pos();
      if (!w.inMenu_ && w.target_) point = w.target_->mapToGlobal(QPoint(0, 0));
      w.ShowHelpFor(point.x(), point.y());
    } else if (toolkit::Application()) {
      toolkit::Application()->HelpCommand(w.f1Action_ == goDefault ? toolkit::HELP_CONTENTS : toolkit::HELP_TAB, 0);
    }
  }
  if (!w.inMenu_) w.PostMessage(WM_WTENDHELP, 0, 0);
  return true;
}

void TInputWatch::AppKey(TWhatsThis& w) {
  if (w.inMenu_ || !w.Has(wtUseAppKey)) return;
  QWidget* foreground = QApplication::activeWindow();
  if (!IsProgramControl(foreground)) return;
  w.target_ = ActiveControl();
  QWidget* target = w.target_;
  if (!target) return;
  const QPoint point = target->mapToGlobal(QPoint(target->width() / 2, target->height() / 2));
  w.helpMode_ = hmPopupPending;
  InstallCallWndHook();
  w.PostMessage(WM_WTPOPUP, PackPoint(point.x(), point.y()), 0);
}

// --- mouse ---

bool TInputWatch::Mouse(TWhatsThis& w, QWindow* arrived, QMouseEvent* mouse) {
  const QEvent::Type type = mouse->type();
  // Outside context mode a move costs this one test.
  if (type == QEvent::MouseMove && w.helpMode_ != hmContextMode) return false;

  QWindow* window = ReceivingWindow(arrived);
  const QPoint point = mouse->globalPosition().toPoint();

  if (type == QEvent::MouseMove) {
    // The window manager draws captions and borders: every move the program
    // sees lies in a client area or on a menu bar.
    SetCursor(true);
    return !w.inMenu_ && FindOwnControl(window);
  }

  if (type == QEvent::MouseButtonPress) {
    if (mouse->button() != Qt::LeftButton) return false;
    // A press on a form's menu bar opens its menu, also in context mode.
    if (QWidget* top = FindOwnControl(window)) {
      if (qobject_cast<QMenuBar*>(top->childAt(top->mapFromGlobal(point)))) {
        InstallCallWndHook();
        return false;
      }
    }
    if (w.inMenu_) return false;
    switch (w.helpMode_) {
      case hmIdle: InstallCallWndHook(); return false;
      case hmPopupPending: return false;
      case hmHelpButton: {
        if (!g_callWndHook) return false;
        w.target_ = ControlAtPoint(window, point);
        if (w.target_) {
          w.PostMessage(WM_WTHELP, PackPoint(point.x(), point.y()), 0);
          w.PostMessage(WM_WTENDHELP, 0, 0);
        }
        w.helpMode_ = hmIdle;
        return true;
      }
      case hmContextMode: {
        w.target_ = ControlAtPoint(window, point);
        // The button's own click leaves context mode.
        if (w.wtToolbarButton_ && w.target_ == w.wtToolbarButton_) return false;
        if (w.target_) w.PostMessage(WM_WTHELP, PackPoint(point.x(), point.y()), 0);
        w.LeaveContextMode();
        return true;
      }
    }
    return false;
  }

  // A release.
  if (mouse->button() == Qt::LeftButton) {
    switch (w.helpMode_) {
      case hmIdle:
        if (!w.inMenu_) RemoveCallWndHook();
        return false;
      case hmContextMode:
        if (!w.inMenu_) {
          RemoveCallWndHook();
          return false;
        }
        // The item's own click leaves context mode.
        if (w.wtMenuItem_ && w.wtMenuItem_ == w.selectedItem_) return false;
        if (w.menuCommand_) {
          // The command does not run; its help is shown instead.
          w.LeaveContextMode();
          w.PostMessage(WM_WTHELP, PackPoint(point.x(), point.y()), 0);
          return true;
        }
        return false;
      default: return false;
    }
  }
  if (mouse->button() != Qt::RightButton) return false;
  if (w.helpMode_ != hmIdle && w.helpMode_ != hmContextMode) return false;
  if (w.inMenu_) {
    if ((w.Has(wtMenuRightClick) || w.helpMode_ == hmContextMode) && w.selectedItem_) {
      if (w.helpMode_ == hmContextMode) w.LeaveContextMode();
      w.PostMessage(WM_WTHELP, PackPoint(point.x(), point.y()), 0);
      w.helpMode_ = hmIdle;
      return true;
    }
    return false;
  }
  // Here a context menu opens on the press: a control that showed its own
  // menu shows only that one.
  if (QApplication::activePopupWidget()) return false;
  w.target_ = ControlAtPoint(window, point);
  if (!w.target_) return false;
  if (w.helpMode_ == hmIdle) {
    w.helpMode_ = hmPopupPending;
  } else if (w.target_ == w.wtToolbarButton_) {
    w.LeaveContextMode();
    w.helpMode_ = hmPopupPending;
  }
  InstallCallWndHook();
  w.PostMessage(WM_WTPOPUP, PackPoint(point.x(), point.y()), 0);
  return false;
}

}  // namespace help
