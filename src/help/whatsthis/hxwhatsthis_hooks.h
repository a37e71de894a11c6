#pragma once
// The watch over the input of the user-interface thread for the current
// "What's this?" instance: one application-wide event filter in place of the
// keyboard and mouse hooks, installed while an instance is hooked. A flag
// stands for the hook on the messages sent to the program's windows: while it
// is set, menus opening, highlighting and closing, window activation and
// Qt's own help requests are watched as well.

#include <QObject>
#include <QPoint>

class QAction;
class QKeyEvent;
class QMouseEvent;
class QWidget;
class QWindow;

namespace help {

class TWhatsThis;

class TInputWatch : public QObject {
  Q_OBJECT

 public:
  static TInputWatch& Instance();

  void Install();
  void Remove();
  bool Installed() const { return installed_; }

  static void InstallCallWndHook();
  static void RemoveCallWndHook();
  static bool CallWndHook();

  // The help cursor in context mode, the arrow elsewhere; Restore gives the
  // screen back its own cursor.
  static void SetCursor(bool help);
  static void RestoreCursor();

  // The program's top-level control of a window; null for windows that are
  // not the program's own (message boxes, common dialogs, menus).
  static QWidget* FindOwnControl(QWindow* window);
  // The deepest visible control of the program under a screen point in that
  // window, the later of overlapping siblings winning, labels included; null
  // when there is none.
  static QWidget* ControlAtPoint(QWindow* window, QPoint point);
  // The focused control of the active form; null when no control has the focus.
  static QWidget* ActiveControl();

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TInputWatch() = default;
  bool Watch(TWhatsThis& w, QObject* watched, QEvent* event);
  bool Keyboard(TWhatsThis& w, QWindow* window, QKeyEvent* key);
  bool F1(TWhatsThis& w, QWindow* window, bool shift);
  void AppKey(TWhatsThis& w);
  bool Mouse(TWhatsThis& w, QWindow* window, QMouseEvent* mouse);
  void MenuHovered(QAction* action);

  bool installed_ = false;
  int openMenus_ = 0;
};

}  // namespace help
