#include "toolkit/RadioGroup.h"

#include <QEvent>
#include <algorithm>

#include "toolkit/Invoke.h"
#include "toolkit/Text.h"

namespace toolkit {

TRadioGroup::TRadioGroup(QWidget* parent, const char* name) : TControl(parent, name) {}

std::string TRadioGroup::Caption() const { return FromQ(title()); }
void TRadioGroup::SetCaption(const std::string& caption) { setTitle(ToQ(caption)); }

void TRadioGroup::ClearItems() {
  itemIndex_ = -1;
  // A handler of the group may be running on one of these buttons: let them go later.
  for (QRadioButton* b : buttons_) {
    b->disconnect(this);
    b->hide();
    b->setParent(nullptr);
    b->deleteLater();
  }
  buttons_.clear();
}

QWidget* TRadioGroup::FocusableBefore() const {
  for (QWidget* w = previousInFocusChain(); w && w != this && w != window(); w = w->previousInFocusChain()) {
    if (w->focusPolicy() != Qt::NoFocus && !isAncestorOf(w)) return w;
  }
  return nullptr;
}

void TRadioGroup::AddItem(const std::string& item) {
  // New buttons would join the Tab order at the window's end; a rebuilt group
  // keeps its place, right after the control before it.
  QWidget* before = buttons_.empty() ? FocusableBefore() : buttons_.back();
  auto* button = new QRadioButton(ToQ(item), this);
  if (before) QWidget::setTabOrder(before, button);
  button->setObjectName(objectName() + QStringLiteral("_item%1").arg(buttons_.size()));
  connect(button, &QRadioButton::toggled, this, [this, button](bool checked) { ButtonToggled(button, checked); });
  buttons_.push_back(button);
  Arrange();
  SetTabStop();
  button->show();
}

std::string TRadioGroup::Item(int index) const { return FromQ(Button(index)->text()); }

void TRadioGroup::SetItemIndex(int index) {
  index = std::clamp(index, -1, ItemCount() - 1);
  if (index == itemIndex_) return;
  const int old = itemIndex_;
  itemIndex_ = index;
  if (old >= 0) Uncheck(buttons_[static_cast<size_t>(old)]);
  SetTabStop();
  // Checking the button runs OnClick, just as a click does.
  if (index >= 0) buttons_[static_cast<size_t>(index)]->setChecked(true);
}

void TRadioGroup::SetTabStop() {
  // Tab stops once in the group, on the selected item (the first while none
  // is): landing on another, Space would change the choice.
  const size_t stop = itemIndex_ >= 0 ? static_cast<size_t>(itemIndex_) : 0;
  for (size_t i = 0; i < buttons_.size(); ++i) buttons_[i]->setFocusPolicy(i == stop ? Qt::StrongFocus : Qt::ClickFocus);
}

void TRadioGroup::Uncheck(QRadioButton* button) {
  updating_ = true;
  ClearRadioButton(button);
  updating_ = false;
}

void TRadioGroup::ButtonToggled(QRadioButton* button, bool checked) {
  if (!checked || updating_ || BeingDestroyed(this)) return;
  itemIndex_ = static_cast<int>(std::find(buttons_.begin(), buttons_.end(), button) - buttons_.begin());
  SetTabStop();
  Invoke(this, OnClick);
}

void TRadioGroup::SetColumns(int columns) {
  columns_ = std::max(1, columns);
  Arrange();
}

void TRadioGroup::Arrange() {
  if (buttons_.empty()) return;
  // Columns of equal width; the rows share the height below the caption.
  const int count = ItemCount();
  const int perColumn = (count + columns_ - 1) / columns_;
  const int fontHeight = fontMetrics().height();
  const int buttonWidth = (width() - 10) / columns_;
  const int space = height() - fontHeight - 5;
  const int buttonHeight = space / perColumn;
  const int topMargin = fontHeight + 1 + (space % perColumn) / 2;
  for (int i = 0; i < count; ++i) {
    buttons_[static_cast<size_t>(i)]->setGeometry(
        (i / perColumn) * buttonWidth + 8, (i % perColumn) * buttonHeight + topMargin, buttonWidth, buttonHeight);
  }
}

void TRadioGroup::resizeEvent(QResizeEvent* event) {
  QGroupBox::resizeEvent(event);
  Arrange();
}

void TRadioGroup::changeEvent(QEvent* event) {
  QGroupBox::changeEvent(event);
  if (event->type() == QEvent::FontChange) Arrange();
}

}  // namespace toolkit
