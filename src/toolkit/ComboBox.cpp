#include "toolkit/ComboBox.h"

#include "toolkit/Invoke.h"
#include "toolkit/Text.h"

namespace toolkit {

TComboBox::TComboBox(QWidget* parent, const char* name) : TControl(parent, name) {
  setEditable(false);
  // Qt would otherwise select the first item added to an empty box.
  setCurrentIndex(-1);
  connect(this, &QComboBox::activated, this, [this](int) {
    Invoke(this, OnChange);
  });
}

void TComboBox::ClearItems() { clear(); }

void TComboBox::AddItem(const std::string& item) {
  const int selected = currentIndex();
  addItem(ToQ(item));
  if (selected != currentIndex()) setCurrentIndex(selected);
}

void TComboBox::SetItems(const std::vector<std::string>& items) {
  clear();
  for (const std::string& item : items) addItem(ToQ(item));
  setCurrentIndex(-1);
}

std::string TComboBox::Item(int index) const { return FromQ(itemText(index)); }

void TComboBox::SetItemIndex(int index) { setCurrentIndex(index >= 0 && index < count() ? index : -1); }

std::string TComboBox::Text() const { return currentIndex() < 0 ? std::string() : FromQ(currentText()); }

}  // namespace toolkit
