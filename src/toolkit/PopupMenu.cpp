#include "toolkit/PopupMenu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <algorithm>

#include "toolkit/Controls.h"
#include "toolkit/Invoke.h"
#include "toolkit/Text.h"

namespace toolkit {

namespace {
std::vector<TPopupMenu*>& Popups() {
  static std::vector<TPopupMenu*> list;
  return list;
}

// The Qt key of a virtual-key code: letters, digits and the function keys.
int QtKeyOf(uint8_t vk) {
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return vk;
  if (vk >= VK_F1 && vk < VK_F1 + 24) return Qt::Key_F1 + (vk - VK_F1);
  return 0;
}
}  // namespace

QString ShortCutText(TShortCut shortCut) {
  const int key = QtKeyOf(static_cast<uint8_t>(shortCut & 0xFF));
  if (!key) return {};
  int combined = key;
  if (shortCut & scShift) combined |= Qt::SHIFT;
  if (shortCut & scCtrl) combined |= Qt::CTRL;
  if (shortCut & scAlt) combined |= Qt::ALT;
  return QKeySequence(combined).toString(QKeySequence::NativeText);
}

// TMenuItem

TMenuItem::TMenuItem(QObject* owner, const char* name) : QObject(owner), owner_(owner), action_(new QAction(this)) {
  InitControl(this, name);
  connect(action_, &QAction::triggered, this, [this] { Click(); });
}

TMenuItem::~TMenuItem() {
  while (!items_.empty()) delete items_.back();
  if (parent_) parent_->Remove(this);
  delete subMenu_;
}

std::string TMenuItem::Caption() const { return FromQ(action_->text()); }
void TMenuItem::SetCaption(const std::string& caption) { action_->setText(ToQ(caption)); }
int32_t TMenuItem::HelpContext() const { return HelpContextOf(this); }
void TMenuItem::SetHelpContext(int32_t context) { toolkit::SetHelpContext(this, context); }
bool TMenuItem::Checked() const { return action_->isChecked(); }

void TMenuItem::SetChecked(bool on) {
  if (on) action_->setCheckable(true);
  action_->setChecked(on);
}

void TMenuItem::SetShortCut(TShortCut shortCut) {
  shortCut_ = shortCut;
  action_->setShortcut(QKeySequence(ShortCutText(shortCut), QKeySequence::NativeText));
}

QMenu* TMenuItem::EnsureSubMenu() {
  if (!subMenu_) {
    subMenu_ = new QMenu();
    subMenu_->setObjectName(objectName());
    action_->setMenu(subMenu_);
  }
  return subMenu_;
}

void TMenuItem::Add(TMenuItem* item) {
  if (item->parent_) item->parent_->Remove(item);
  item->parent_ = this;
  items_.push_back(item);
  EnsureSubMenu()->addAction(item->action_);
}

void TMenuItem::Remove(TMenuItem* item) {
  if (item->parent_ != this) return;
  std::erase(items_, item);
  item->parent_ = nullptr;
  if (subMenu_) subMenu_->removeAction(item->action_);
}

void TMenuItem::Click() {
  Invoke(this, OnClick);
}

TMenuItem* TMenuItem::FindByAction(const QAction* action) {
  if (action_ == action) return this;
  for (TMenuItem* item : items_) {
    if (TMenuItem* found = item->FindByAction(action)) return found;
  }
  return nullptr;
}

TMenuItem* TMenuItem::FindBySubMenu(const QMenu* menu) {
  if (subMenu_ && subMenu_ == menu) return this;
  for (TMenuItem* item : items_) {
    if (TMenuItem* found = item->FindBySubMenu(menu)) return found;
  }
  return nullptr;
}

// TPopupMenu

TPopupMenu::TPopupMenu(QObject* owner, const char* name) : QObject(owner), items_(new TMenuItem(this, name)) {
  setObjectName(QString::fromLatin1(name));
  items_->EnsureSubMenu();
  Popups().push_back(this);
}

TPopupMenu::~TPopupMenu() {
  std::erase(Popups(), this);
  delete items_;
}

QMenu* TPopupMenu::Handle() const { return items_->SubMenu(); }

void TPopupMenu::Popup(int X, int Y) { Handle()->popup(QPoint(X, Y)); }

const std::vector<TPopupMenu*>& TPopupMenu::PopupList() { return Popups(); }

TMenuItem* FindMenuItemByAction(const QAction* action) {
  if (!action) return nullptr;
  for (TPopupMenu* popup : Popups()) {
    if (TMenuItem* item = popup->Items()->FindByAction(action)) return item;
  }
  return nullptr;
}

TMenuItem* FindMenuItemBySubMenu(const QMenu* menu) {
  if (!menu) return nullptr;
  for (TPopupMenu* popup : Popups()) {
    if (TMenuItem* item = popup->Items()->FindBySubMenu(menu)) return item;
  }
  return nullptr;
}

std::function<void()>* OnClickOf(QObject* control) {
  if (auto* c = qobject_cast<TButton*>(control)) return &c->OnClick;
  if (auto* c = qobject_cast<TCheckBox*>(control)) return &c->OnClick;
  if (auto* c = qobject_cast<TRadioButton*>(control)) return &c->OnClick;
  if (auto* c = qobject_cast<TLabel*>(control)) return &c->OnClick;
  if (auto* c = qobject_cast<TMenuItem*>(control)) return &c->OnClick;
  return nullptr;
}

}  // namespace toolkit
