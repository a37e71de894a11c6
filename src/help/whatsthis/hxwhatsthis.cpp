#include "help/whatsthis/hxwhatsthis.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMetaProperty>
#include <QWidget>
#include <algorithm>
#include <array>
#include <exception>
#include <vector>

#include "help/whatsthis/FormComponents.h"
#include "help/whatsthis/hxwhatsthis_hooks.h"
#include "platform/convert.h"
#include "toolkit/Application.h"
#include "toolkit/Controls.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Forms.h"
#include "toolkit/PopupMenu.h"

namespace help {

namespace {

TWhatsThis* g_current = nullptr;

// Every instance, so that one going is unlinked from the others.
std::vector<TWhatsThis*>& Instances() {
  static std::vector<TWhatsThis*> all;
  return all;
}

const std::array<const char*, 3> kF1Actions = {"goContext", "goDefault", "goTOC"};
const std::array<const char*, 8> kOptions = {"wtDirectHelp",    "wtMenuRightClick", "wtNoContextHelp",
                                             "wtNoContextMenu", "wtPopupOnForm",    "wtInheritFormContext",
                                             "wtUseTag",        "wtUseAppKey"};

void HelpCommand(uint16_t command, int32_t data) {
  if (toolkit::Application()) toolkit::Application()->HelpCommand(command, data);
}

// The popup position as the help viewer takes it: X in the low, Y in the high
// 16 bits, each read back with its sign.
int32_t PopupPosition(int X, int Y) {
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint16_t>(X)) |
                              static_cast<uint32_t>(static_cast<uint16_t>(Y)) << 16);
}

bool IsForm(const QObject* o) { return qobject_cast<const toolkit::TForm*>(o) != nullptr; }

// The "HelpContext" of a control that carries one; 0 otherwise.
THelpContext HelpContextProperty(const QObject* o) {
  const QVariant v = o->property("HelpContext");
  bool ok = false;
  const int value = v.isValid() ? v.toInt(&ok) : 0;
  return ok ? value : 0;
}

// Closes the open menus, so a chosen entry's help does not stand behind them.
void DropMenuFocus() {
  for (int guard = 0; guard < 16; ++guard) {
    QWidget* popup = QApplication::activePopupWidget();
    if (!popup) break;
    popup->close();
  }
}

// The component goes on after these failures, but a handler that failed is
// still shown in the standard error box rather than lost. Called in a catch.
void ShowFailure() {
  try {
    throw;
  } catch (const std::exception& e) {
    try {
      if (toolkit::Application()) toolkit::Application()->ShowException(e);
    } catch (...) {
      // The error box itself failed: the failure cannot be shown anywhere.
    }
  } catch (...) {
    // Only std::exception carries a text to show; nothing of ours throws else.
  }
}

}  // namespace

int64_t PackPoint(int X, int Y) {
  return static_cast<int64_t>(static_cast<uint64_t>(static_cast<uint32_t>(Y)) << 32 |
                              static_cast<uint64_t>(static_cast<uint32_t>(X)));
}

void UnpackPoint(int64_t packed, int& X, int& Y) {
  const auto u = static_cast<uint64_t>(packed);
  X = static_cast<int32_t>(static_cast<uint32_t>(u));
  Y = static_cast<int32_t>(static_cast<uint32_t>(u >> 32));
}

TWhatsThis* TWhatsThis::CurrentInstance() { return g_current; }

TWhatsThis::TWhatsThis(TComponent* owner) : ThxBase(owner) {
  Instances().push_back(this);
  NoticeInserted();
}

TWhatsThis::~TWhatsThis() {
  if (!Designing()) {
    if (hooked_) RemoveHooks();
    delete popupMenu_;
    popupMenu_ = nullptr;
  }
  std::erase(Instances(), this);
  // Nobody keeps a reference to this instance: whoever came after it now
  // comes after the one before it.
  for (TWhatsThis* other : Instances()) {
    if (other->previous_ == this) other->previous_ = previous_ != other ? previous_ : nullptr;
  }
  if (g_current == this) {
    g_current = previous_;
    if (g_current && g_current->active_ && !g_current->hooked_ && !Designing()) {
      try {
        g_current->InstallHooks();
      } catch (...) {
        ShowFailure();
      }
    }
  }
}

void TWhatsThis::AfterLoad() {
  ThxBase::AfterLoad();
  ResolveStoredReferences();
  if (Designing()) return;
  try {
    if (!popupMenu_) {
      popupMenu_ = new toolkit::TPopupMenu(nullptr, "WhatsThisPopup");
      auto* item = new toolkit::TMenuItem(nullptr, "WhatsThisItem");
      item->SetCaption(popupCaption_);
      item->SetHelpContext(popupHelpContext_);
      item->OnClick = [this] { PopupItemClick(); };
      popupMenu_->Items()->Add(item);
    }
    if (active_) InstallHooks();
  } catch (...) {
    // The instance stays as far as it got.
    ShowFailure();
  }
}

void TWhatsThis::ResolveStoredReferences() {
  if (!storedMap_.empty() && Owner()) {
    if (auto* map = dynamic_cast<THelpContextMap*>(Owner()->FindComponent(storedMap_))) helpContextMap_ = map;
  }
  if (!storedMenuItem_.empty() || !storedButton_.empty()) {
    QWidget* form = TFormComponents::FormOf(this);
    auto find = [form](const std::string& name) -> QObject* {
      if (!form || name.empty()) return nullptr;
      return form->findChild<QObject*>(QString::fromLatin1(name.c_str()));
    };
    if (auto* item = qobject_cast<toolkit::TMenuItem*>(find(storedMenuItem_)); item && !hooked_) SetWTMenuItem(item);
    if (auto* button = qobject_cast<QWidget*>(find(storedButton_)); button && !hooked_) SetWTToolbarButton(button);
  }
  storedMap_.clear();
  storedMenuItem_.clear();
  storedButton_.clear();
}

void TWhatsThis::ComponentNotice(TComponent* component, TOperation operation) {
  ThxBase::ComponentNotice(component, operation);
  if (operation == TOperation::opRemove) {
    if (component == helpContextMap_) helpContextMap_ = nullptr;
  } else if (!helpContextMap_) {
    if (auto* map = dynamic_cast<THelpContextMap*>(component)) helpContextMap_ = map;
  }
}

void TWhatsThis::DefineProperties(TFiler& filer) {
  ThxBase::DefineProperties(filer);
  filer.BooleanProperty(
      "Active", [this] { return active_; }, [this](bool v) { SetActive(v); }, true);
  filer.StringProperty(
      "HelpContextMap", [this] { return helpContextMap_ ? helpContextMap_->Name() : std::string(); },
      [this](const std::string& v) {
        if (Loading()) {
          storedMap_ = v;
        } else {
          helpContextMap_ = Owner() ? dynamic_cast<THelpContextMap*>(Owner()->FindComponent(v)) : nullptr;
        }
      },
      true);
  filer.EnumProperty(
      "F1Action", kF1Actions, [this] { return static_cast<int>(f1Action_); },
      [this](int v) { f1Action_ = static_cast<TF1Action>(v); }, true);
  filer.SetProperty(
      "Options", kOptions, [this] { return static_cast<uint32_t>(options_); },
      [this](uint32_t v) { options_ = static_cast<TWhatsThisOptions>(v & 0xFF); }, true);
  filer.StringProperty(
      "PopupCaption", [this] { return popupCaption_; }, [this](const std::string& v) { SetPopupCaption(v); }, true);
  filer.IntegerProperty(
      "PopupHelpContext", [this] { return popupHelpContext_; }, [this](int32_t v) { SetPopupHelpContext(v); }, true);
  filer.StringProperty(
      "WTMenuItem", [this] { return wtMenuItem_ ? wtMenuItem_->objectName().toStdString() : std::string(); },
      [this](const std::string& v) {
        storedMenuItem_ = v;
        if (!Loading()) ResolveStoredReferences();
      },
      true);
  filer.StringProperty(
      "WTToolbarButton",
      [this] { return wtToolbarButton_ ? wtToolbarButton_->objectName().toStdString() : std::string(); },
      [this](const std::string& v) {
        storedButton_ = v;
        if (!Loading()) ResolveStoredReferences();
      },
      true);
}

void TWhatsThis::SetActive(bool Value) {
  if (Value == active_) return;
  active_ = Value;
  if (Value == hooked_ || Designing()) return;
  if (Value) {
    InstallHooks();
  } else {
    RemoveHooks();
  }
}

void TWhatsThis::SetPopupCaption(const std::string& caption) {
  popupCaption_ = caption;
  if (popupMenu_ && !popupMenu_->Items()->Items().empty()) popupMenu_->Items()->Items()[0]->SetCaption(caption);
}

void TWhatsThis::SetPopupHelpContext(THelpContext context) {
  popupHelpContext_ = context;
  if (popupMenu_ && !popupMenu_->Items()->Items().empty()) popupMenu_->Items()->Items()[0]->SetHelpContext(context);
}

void TWhatsThis::SetWTMenuItem(toolkit::TMenuItem* item) {
  if (hooked_) throw platform::Exception("TWhatsThis must be deactivated to change this property");
  if (wtMenuItem_) wtMenuItem_->SetShortCut(0);
  wtMenuItem_ = item;
  if (item) item->SetShortCut(toolkit::scShift | toolkit::VK_F1);
}

void TWhatsThis::SetWTToolbarButton(QWidget* button) {
  if (hooked_) throw platform::Exception("TWhatsThis must be deactivated to change this property");
  wtToolbarButton_ = button;
}

// --- activation ---

void TWhatsThis::InstallHooks() {
  TWhatsThis* current = g_current;
  if (current && current != this) {
    if (current->hooked_) current->RemoveHooks();
    previous_ = current;
  }
  if (!MsgWindow()) return;
  try {
    helpMode_ = hmIdle;
    inMenu_ = false;
    g_current = this;
    TInputWatch::Instance().Install();
    HookClickHandlers(true);
    hooked_ = true;
  } catch (...) {
    ShowFailure();
  }
}

void TWhatsThis::RemoveHooks() {
  try {
    TInputWatch::RemoveCallWndHook();
    if (helpMode_ == hmContextMode) LeaveContextMode();
  } catch (...) {
    ShowFailure();
  }
  try {
    HookClickHandlers(false);
  } catch (...) {
    ShowFailure();
  }
  TInputWatch::Instance().Remove();
  hooked_ = false;
}

void TWhatsThis::HookClickHandlers(bool Install) {
  if (wtMenuItem_ && !SwapClickHandler(wtMenuItem_, savedMenuClick_, Install)) wtMenuItem_ = nullptr;
  if (wtToolbarButton_ && !SwapClickHandler(wtToolbarButton_, savedButtonClick_, Install)) wtToolbarButton_ = nullptr;
}

bool TWhatsThis::SwapClickHandler(QObject* component, std::function<void()>& saved, bool Install) {
  std::function<void()>* handler = toolkit::OnClickOf(component);
  if (!handler) return true;
  try {
    if (Install) {
      saved = *handler;
      *handler = [] { ToggleContextMode(); };
    } else {
      *handler = saved;
      saved = nullptr;
    }
    return true;
  } catch (...) {
    toolkit::MessageBoxes::Show("Error", "Cannot assign onClick events to menu item / toolbar button",
                                toolkit::TMsgIcon::Error, {toolkit::TMsgButton::Ok});
    return false;
  }
}

// --- context mode ---

void TWhatsThis::EnterContextMode() {
  if (!hooked_) throw platform::Exception(Name() + " is currently not active.");
  helpMode_ = hmContextMode;
  TInputWatch::SetCursor(true);
  SyncModeIndicators(true);
  if (OnEnterContextMode) OnEnterContextMode(this);
}

void TWhatsThis::LeaveContextMode() {
  if (!hooked_) throw platform::Exception(Name() + " is currently not active.");
  helpMode_ = hmIdle;
  TInputWatch::RestoreCursor();
  SyncModeIndicators(false);
  if (OnLeaveContextMode) OnLeaveContextMode(this);
}

void TWhatsThis::ToggleContextMode() {
  TWhatsThis* w = g_current;
  if (!w || !w->hooked_) return;
  if (w->helpMode_ == hmIdle) {
    w->EnterContextMode();
  } else if (w->helpMode_ == hmContextMode) {
    w->LeaveContextMode();
  }
}

void TWhatsThis::SyncModeIndicators(bool Down) {
  try {
    if (wtMenuItem_) wtMenuItem_->SetChecked(Down);
    if (QWidget* button = wtToolbarButton_) {
      const QMetaObject* meta = button->metaObject();
      const int index = meta->indexOfProperty("down");
      if (index >= 0 && meta->property(index).typeId() == QMetaType::Bool) {
        button->setProperty("down", Down);
        button->update();
      }
    }
  } catch (...) {
    ShowFailure();
  }
}

// --- requests ---

void TWhatsThis::ProcessWindowMessage(TMessage& Message) {
  int x = 0, y = 0;
  UnpackPoint(Message.WParam, x, y);
  switch (Message.Msg) {
    case WM_WTPOPUP:
      if (helpMode_ == hmPopupPending) ShowHelpFor(x, y);
      if (helpMode_ != hmContextMode) helpMode_ = hmIdle;
      if (!inMenu_) TInputWatch::RemoveCallWndHook();
      break;
    case WM_WTHELP: ShowHelpFor(x, y); break;
    case WM_WTENDHELP: TInputWatch::RemoveCallWndHook(); break;
    default: break;
  }
  ThxBase::ProcessWindowMessage(Message);
}

THelpContext TWhatsThis::MapContextByName(const QWidget* form, const QObject* item) const {
  if (!helpContextMap_ || helpContextMap_->FileName().empty()) return 0;
  const std::string& file = helpContextMap_->FileName();
  const size_t dot = file.find_last_of("./\\");
  const std::string ext =
      dot != std::string::npos && file[dot] == '.' ? platform::AsciiLower(file.substr(dot)) : std::string();
  std::string separator;
  if (ext == ".hpj") {
    separator = ".";
  } else if (ext == ".hhp") {
    separator = "_";
  } else {
    return 0;
  }
  std::string name;
  if (item && item == form) {
    name.clear();
  } else if (!item) {
    name = form ? form->objectName().toStdString() : std::string();
  } else {
    name = (form ? form->objectName().toStdString() : std::string()) + separator + item->objectName().toStdString();
  }
  if (name.empty()) return 0;
  return helpContextMap_->LookupContext(name);
}

void TWhatsThis::ShowHelpFor(int X, int Y) {
  // What the menu showed, before closing it ends the menu loop.
  const bool inMenu = inMenu_;
  toolkit::TMenuItem* selected = selectedItem_;
  if (inMenu && menuCommand_) DropMenuFocus();

  THelpContext ctx = 0;
  QObject* helpItem = nullptr;
  QWidget* target = target_;
  if (inMenu) {
    if (!selected) return;
    const QWidget* form = qobject_cast<toolkit::TForm*>(selected->Owner());
    for (toolkit::TMenuItem* item = selected; item && ctx == 0; item = item->Parent()) {
      ctx = item->HelpContext();
      if (ctx == 0) ctx = MapContextByName(form, item);
    }
    helpItem = selected;
  } else {
    if (!target) return;
    if (helpMode_ == hmPopupPending && !Has(wtPopupOnForm) && IsForm(target)) return;
    const QWidget* form = target;
    while (form && !IsForm(form)) form = form->parentWidget();
    for (QWidget* c = target; c && ctx == 0; c = c->parentWidget()) {
      if (IsForm(c) && !Has(wtInheritFormContext)) continue;
      ctx = HelpContextProperty(c);
      if (ctx == 0) ctx = MapContextByName(form, c);
      if (ctx == 0) {
        if (auto* label = qobject_cast<QLabel*>(c)) {
          QWidget* bound = label->buddy();
          if (bound) ctx = HelpContextProperty(bound);
          if (ctx == 0) ctx = MapContextByName(form, bound);
        } else if (Has(wtUseTag)) {
          ctx = c->property("Tag").toInt();
        }
      }
    }
    helpItem = target;
  }

  if (OnGetContext) OnGetContext(this, helpItem, inMenu, ctx, X, Y);

  const bool popupRequest = helpMode_ == hmPopupPending && !Has(wtDirectHelp);
  if (ctx != 0 || (popupRequest ? Has(wtNoContextMenu) : Has(wtNoContextHelp))) {
    if (popupRequest) {
      if (!(IsForm(target) && !Has(wtPopupOnForm)) && popupMenu_) {
        bool doPopup = true;
        if (OnPopup) OnPopup(this, target, ctx, X, Y, doPopup);
        if (doPopup) {
          popupControl_ = target;
          popupContext_ = ctx;
          popupX_ = X;
          popupY_ = Y;
          popupMenu_->Popup(X, Y);
        }
      }
    } else {
      bool callHelp = true;
      DoHelp(helpItem, inMenu, callHelp, X, Y, ctx);
      if (callHelp) {
        if (ctx < 0) {
          HelpCommand(toolkit::HELP_CONTEXT, -ctx);
        } else {
          if (X != 0 && Y != 0) HelpCommand(toolkit::HELP_SETPOPUP_POS, PopupPosition(X, Y));
          HelpCommand(toolkit::HELP_CONTEXTPOPUP, ctx);
        }
      }
    }
  }
  target_ = nullptr;
}

void TWhatsThis::PopupItemClick() {
  helpMode_ = hmIdle;
  bool callHelp = true;
  DoHelp(popupControl_, false, callHelp, popupX_, popupY_, popupContext_);
  if (!callHelp) return;
  if (popupContext_ < 0) {
    HelpCommand(toolkit::HELP_CONTEXT, -popupContext_);
  } else {
    HelpCommand(toolkit::HELP_SETPOPUP_POS, PopupPosition(popupX_, popupY_));
    HelpCommand(toolkit::HELP_CONTEXTPOPUP, popupContext_);
  }
}

void TWhatsThis::DoHelp(QObject* HelpItem, bool IsMenu, bool& CallHelp, int X, int Y, THelpContext HContext) {
  if (OnHelp) OnHelp(this, HelpItem, IsMenu, HContext, X, Y, CallHelp);
}

}  // namespace help
