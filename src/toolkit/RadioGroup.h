#pragma once
// A radio group: a captioned box of radio buttons in columns, one item index.
//  - Clearing the items leaves no item selected (ItemIndex -1); adding keeps it.
//  - Selecting an item, by a click or by SetItemIndex, runs OnClick; selecting
//    the item already selected, or none (-1), runs nothing.

#include <QRadioButton>
#include <vector>

#include "toolkit/Controls.h"

namespace toolkit {

class TRadioGroup : public TControl<QGroupBox> {
  Q_OBJECT

 public:
  TRadioGroup(QWidget* parent, const char* name);

  std::string Caption() const;
  void SetCaption(const std::string& caption);

  void ClearItems();
  void AddItem(const std::string& item);
  int ItemCount() const { return static_cast<int>(buttons_.size()); }
  std::string Item(int index) const;

  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);

  int Columns() const { return columns_; }
  void SetColumns(int columns);

  // The button of one item, as the user clicks it.
  QRadioButton* Button(int index) const { return buttons_.at(static_cast<size_t>(index)); }

  std::function<void()> OnClick;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void Arrange();
  // The nearest control before the group in the Tab order that takes the focus.
  QWidget* FocusableBefore() const;
  void ButtonToggled(QRadioButton* button, bool checked);
  void Uncheck(QRadioButton* button);
  void SetTabStop();

  std::vector<QRadioButton*> buttons_;
  int itemIndex_ = -1;
  int columns_ = 1;
  bool updating_ = false;
};

}  // namespace toolkit
