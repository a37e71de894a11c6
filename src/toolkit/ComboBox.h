#pragma once
// A drop-down list to pick one of its items; nothing can be typed.
//  - Replacing or clearing the items leaves no item selected (ItemIndex -1,
//    an empty box); adding an item keeps the selection as it was.
//  - OnChange runs when the user picks another item, not when the program
//    selects one.

#include <QComboBox>
#include <string>
#include <vector>

#include "toolkit/Controls.h"

namespace toolkit {

class TComboBox : public TControl<QComboBox> {
  Q_OBJECT
 public:
  TComboBox(QWidget* parent, const char* name);

  void ClearItems();
  void AddItem(const std::string& item);
  void SetItems(const std::vector<std::string>& items);
  int ItemCount() const { return count(); }
  std::string Item(int index) const;

  int ItemIndex() const { return currentIndex(); }
  // -1 (or any index outside the items) selects nothing.
  void SetItemIndex(int index);
  // The selected item, "" when none is selected.
  std::string Text() const;

  std::function<void()> OnChange;
};

}  // namespace toolkit
