#pragma once
// "What's this?" help for every form of the program. Placed once (WhatsThis1
// on the main menu), the component makes F1 show help for the focused
// control, Shift+F1 (or its menu item or tool button) enter a context mode in
// which the next click shows the help of the control clicked, and a
// right-click offer a popup menu with the one entry PopupCaption. It finds a
// control's help context number by a fixed search and shows help only through
// the application's help command, in WinHelp numbering.
//
// While the current instance is hooked, one application-wide event filter
// watches the keyboard and mouse input of the user-interface thread (see
// hxwhatsthis_hooks.cpp). It only records state and posts requests to the
// component's message window, except for F1 and leaving context mode.

#include <QPointer>
#include <cstdint>
#include <functional>
#include <string>

#include "help/hxcontextmap.h"
#include "help/whatsthis/hxbase.h"
#include "toolkit/PopupMenu.h"

class QObject;
class QWidget;

namespace help {

// Signed help context number; 0 is none; a negative number asks for the topic
// of its absolute value in the main help window instead of a popup.
using THelpContext = int32_t;

// What F1 does: help for the focused control, the help contents, or the
// help's contents tab.
enum TF1Action { goContext, goDefault, goTOC };

enum TWhatsThisOption {
  wtDirectHelp,          // a popup request shows the help at once
  wtMenuRightClick,      // a right-click on a highlighted menu entry shows its help
  wtNoContextHelp,       // help is shown also without a context number (context 0)
  wtNoContextMenu,       // the popup is offered also without a context number
  wtPopupOnForm,         // the popup is offered on the bare form
  wtInheritFormContext,  // the form's own number takes part in the search
  wtUseTag,              // a control's Tag serves when nothing else was found
  wtUseAppKey,           // the context-menu key offers the popup for the focused control
};
// A set of options, bit n for option n.
using TWhatsThisOptions = uint8_t;
constexpr TWhatsThisOptions Opt(TWhatsThisOption o) { return static_cast<TWhatsThisOptions>(1u << o); }
constexpr TWhatsThisOptions kDefaultOptions =
    Opt(wtMenuRightClick) | Opt(wtNoContextHelp) | Opt(wtNoContextMenu) | Opt(wtInheritFormContext);

// The help mode: nothing under way, a popup request posted, the caption's
// question-mark button pressed (the next click asks for help), context mode.
enum THelpMode : uint8_t { hmIdle = 0, hmPopupPending = 1, hmHelpButton = 2, hmContextMode = 3 };

// Requests posted to the message window. The popup and help requests carry
// the screen point in WParam, X in the low and Y in the high 32 bits, so a
// point left of or above the first monitor keeps its sign.
constexpr uint32_t WM_WTPOPUP = WM_USER + 100;
constexpr uint32_t WM_WTHELP = WM_USER + 101;
constexpr uint32_t WM_WTENDHELP = WM_USER + 102;
int64_t PackPoint(int X, int Y);
void UnpackPoint(int64_t packed, int& X, int& Y);

class TWhatsThis;

// In every event Sender is the instance; HelpItem is the control or menu item
// concerned; X and Y are screen coordinates.
using TNotifyEvent = std::function<void(TWhatsThis* Sender)>;
using TF1KeyDownEvent = std::function<void(TWhatsThis* Sender, bool& CallHelp)>;
using TWTHelpContextEvent =
    std::function<void(TWhatsThis* Sender, QObject* HelpItem, bool IsMenu, THelpContext& HContext, int x, int y)>;
using TWTPopupEvent =
    std::function<void(TWhatsThis* Sender, QObject* HelpItem, THelpContext HContext, int X, int Y, bool& DoPopup)>;
using TWTHelpEvent = std::function<void(TWhatsThis* Sender, QObject* HelpItem, bool IsMenu, THelpContext HContext,
                                        int X, int Y, bool& CallHelp)>;

class TWhatsThis : public ThxBase {
 public:
  explicit TWhatsThis(TComponent* owner);
  ~TWhatsThis() override;
  std::string ClassName() const override { return "TWhatsThis"; }

  // Makes the popup menu and, when Active, activates the instance.
  void AfterLoad() override;
  void ComponentNotice(TComponent* component, TOperation operation) override;
  void ProcessWindowMessage(TMessage& Message) override;
  void DefineProperties(TFiler& filer) override;

  // The wish to be hooked; Hooked is the fact.
  bool Active() const { return active_; }
  void SetActive(bool Value);
  bool Hooked() const { return hooked_; }

  THelpContextMap* HelpContextMap() const { return helpContextMap_; }
  void SetHelpContextMap(THelpContextMap* map) { helpContextMap_ = map; }
  TF1Action F1Action() const { return f1Action_; }
  void SetF1Action(TF1Action action) { f1Action_ = action; }
  TWhatsThisOptions Options() const { return options_; }
  void SetOptions(TWhatsThisOptions options) { options_ = options; }
  bool Has(TWhatsThisOption o) const { return (options_ & Opt(o)) != 0; }
  const std::string& PopupCaption() const { return popupCaption_; }
  void SetPopupCaption(const std::string& caption);
  THelpContext PopupHelpContext() const { return popupHelpContext_; }
  void SetPopupHelpContext(THelpContext context);
  // Refused while hooked. The menu item gets the shortcut Shift+F1, taken
  // from the item it replaces.
  toolkit::TMenuItem* WTMenuItem() const { return wtMenuItem_; }
  void SetWTMenuItem(toolkit::TMenuItem* item);
  QWidget* WTToolbarButton() const { return wtToolbarButton_; }
  void SetWTToolbarButton(QWidget* button);

  TNotifyEvent OnEnterContextMode;
  TNotifyEvent OnLeaveContextMode;
  TWTHelpContextEvent OnGetContext;
  TWTHelpEvent OnHelp;
  TWTPopupEvent OnPopup;
  TF1KeyDownEvent OnF1KeyDown;

  // Context mode: the help cursor, the indicators down, OnEnterContextMode;
  // leaving undoes it. Both refuse an instance that is not hooked.
  void EnterContextMode();
  void LeaveContextMode();
  // The click handler of WTMenuItem and WTToolbarButton while hooked: enters
  // or leaves context mode of the current instance.
  static void ToggleContextMode();

  // Finds the context number of the highlighted menu entry or of the target
  // control and shows help or the popup for it.
  void ShowHelpFor(int X, int Y);
  // The control whose help is asked for next.
  QWidget* Target() const { return target_; }
  void SetTarget(QWidget* control) { target_ = control; }

  THelpMode HelpMode() const { return helpMode_; }
  void SetHelpMode(THelpMode mode) { helpMode_ = mode; }
  bool InMenu() const { return inMenu_; }

  // The name of the item in the map's naming, looked up in HelpContextMap; 0
  // without a map file or when the name is not there.
  THelpContext MapContextByName(const QWidget* form, const QObject* item) const;

  toolkit::TPopupMenu* PopupMenu() const { return popupMenu_; }
  // The instance that was current before this one.
  TWhatsThis* Previous() const { return previous_; }
  static TWhatsThis* CurrentInstance();

 private:
  friend class TInputWatch;

  void InstallHooks();
  void RemoveHooks();
  void HookClickHandlers(bool Install);
  bool SwapClickHandler(QObject* component, std::function<void()>& saved, bool Install);
  void SyncModeIndicators(bool Down);
  void PopupItemClick();
  void DoHelp(QObject* HelpItem, bool IsMenu, bool& CallHelp, int X, int Y, THelpContext HContext);
  void ResolveStoredReferences();

  // Stored values.
  bool active_ = true;
  THelpContextMap* helpContextMap_ = nullptr;
  TF1Action f1Action_ = goContext;
  TWhatsThisOptions options_ = kDefaultOptions;
  std::string popupCaption_ = "What's this?";
  THelpContext popupHelpContext_ = 0;
  QPointer<toolkit::TMenuItem> wtMenuItem_;
  QPointer<QWidget> wtToolbarButton_;
  // Names read from the storage, resolved once the form is read.
  std::string storedMap_, storedMenuItem_, storedButton_;

  // State. Every widget and item is held guarded: one freed or rebuilt
  // between a request and its handling is simply skipped.
  bool hooked_ = false;
  toolkit::TPopupMenu* popupMenu_ = nullptr;
  std::function<void()> savedMenuClick_, savedButtonClick_;
  THelpMode helpMode_ = hmIdle;
  bool shiftDown_ = false;
  bool inMenu_ = false;
  bool menuCommand_ = false;
  QPointer<QWidget> target_;
  QPointer<toolkit::TMenuItem> selectedItem_;
  QPointer<QWidget> popupControl_;
  THelpContext popupContext_ = 0;
  int popupX_ = 0, popupY_ = 0;
  TWhatsThis* previous_ = nullptr;
};

}  // namespace help
