#include "toolkit/WrapCheckBox.h"

#include <QEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

#include "toolkit/Text.h"

namespace toolkit {

TWrapCheckBox::TWrapCheckBox(QWidget* parent, const char* name) : TCheckBox(parent, name), label_(new QLabel(this)) {
  label_->setWordWrap(true);
  label_->setTextFormat(Qt::PlainText);
  label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // Clicks on the caption go to the box itself.
  label_->setAttribute(Qt::WA_TransparentForMouseEvents);
  PlaceLabel();
}

void TWrapCheckBox::SetCaption(const std::string& caption) {
  TCheckBox::SetCaption(caption);
  label_->setText(text());
}

void TWrapCheckBox::PlaceLabel() {
  QStyleOptionButton option;
  initStyleOption(&option);
  const QRect indicator = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
  const int left = indicator.right() + 1 + style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, this);
  label_->setGeometry(left, 0, qMax(0, width() - left), height());
}

void TWrapCheckBox::paintEvent(QPaintEvent*) {
  // The box and the focus frame only; the label beside it shows the caption.
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.text.clear();
  const QRect indicator = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
  option.rect = indicator.translated(0, 1 - indicator.top());
  painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, option);
  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = label_->geometry().adjusted(-1, 0, 1, 0);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
  }
}

void TWrapCheckBox::resizeEvent(QResizeEvent* event) {
  TCheckBox::resizeEvent(event);
  PlaceLabel();
}

void TWrapCheckBox::changeEvent(QEvent* event) {
  TCheckBox::changeEvent(event);
  if (event->type() == QEvent::FontChange) label_->setFont(font());
  if (event->type() == QEvent::EnabledChange) label_->setEnabled(isEnabled());
}

bool TWrapCheckBox::hitButton(const QPoint& pos) const { return rect().contains(pos); }

}  // namespace toolkit
