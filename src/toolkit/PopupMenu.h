#pragma once
// Menu items and popup menus. A menu item is an entry with a caption, a help
// context number, a check mark, a shortcut and a click handler; items hold
// further items, which open as a submenu. A popup menu is a tree of items
// shown at a screen point; every popup menu of the program is in one list, in
// the order they were made, so an entry can be traced back to its item.
//
// Popup shows the menu and returns at once; a chosen entry runs its item's
// OnClick from the message loop.

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QMenu;

namespace toolkit {

// A shortcut as the menus store it: the key's virtual-key code in the low
// byte, scShift, scCtrl and scAlt above it; 0 is none.
using TShortCut = uint16_t;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr uint8_t VK_F1 = 0x70;
// The shortcut's text as a key sequence ("Shift+F1"); empty for 0 or an unknown key.
// A menu item shows it beside its caption; it runs the item where its menu can take keys.
QString ShortCutText(TShortCut shortCut);

class TMenuItem : public QObject {
  Q_OBJECT

 public:
  // The owner (a form, or null) frees the item; an item freed first leaves its parent.
  TMenuItem(QObject* owner, const char* name);
  ~TMenuItem() override;

  std::string Caption() const;
  void SetCaption(const std::string& caption);
  int32_t HelpContext() const;
  void SetHelpContext(int32_t context);
  bool Checked() const;
  void SetChecked(bool on);
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut shortCut);

  // The owner given at birth when it is a form's widget (null otherwise).
  QObject* Owner() const { return owner_; }
  TMenuItem* Parent() const { return parent_; }
  const std::vector<TMenuItem*>& Items() const { return items_; }
  void Add(TMenuItem* item);
  void Remove(TMenuItem* item);

  // Runs OnClick as choosing the entry does.
  void Click();
  std::function<void()> OnClick;

  // The entry as Qt shows it, and the submenu its items open (null without items).
  QAction* Action() const { return action_; }
  QMenu* SubMenu() const { return subMenu_; }
  // Depth-first through this item and all below it: the item of that entry or
  // of that submenu; null when none is.
  TMenuItem* FindByAction(const QAction* action);
  TMenuItem* FindBySubMenu(const QMenu* menu);

 private:
  friend class TPopupMenu;
  QMenu* EnsureSubMenu();

  QPointer<QObject> owner_;
  TMenuItem* parent_ = nullptr;
  std::vector<TMenuItem*> items_;
  QAction* action_;
  QMenu* subMenu_ = nullptr;
  TShortCut shortCut_ = 0;
};

class TPopupMenu : public QObject {
  Q_OBJECT

 public:
  TPopupMenu(QObject* owner, const char* name);
  ~TPopupMenu() override;

  // The root item; its items are the menu's entries.
  TMenuItem* Items() const { return items_; }
  // The menu window.
  QMenu* Handle() const;
  // Shows the menu with its top left corner at the screen point.
  void Popup(int X, int Y);

  // Every popup menu that exists, in the order they were made.
  static const std::vector<TPopupMenu*>& PopupList();

 private:
  TMenuItem* items_;
};

// The item whose entry or submenu that is, searched through every popup menu
// in list order; null when no item of the program has it.
TMenuItem* FindMenuItemByAction(const QAction* action);
TMenuItem* FindMenuItemBySubMenu(const QMenu* menu);

// Where a control or menu item keeps its click handler (TButton, TCheckBox,
// TRadioButton, TLabel, TMenuItem), so a handler can be put in its place and
// back; null for anything without one.
std::function<void()>* OnClickOf(QObject* control);

}  // namespace toolkit
