#pragma once
// A check box whose caption wraps onto further lines within the box's width,
// as a long caption in a narrow column needs. It is a TCheckBox in every other
// way: Caption, Checked, OnClick; a click anywhere on it, caption included,
// toggles it.

#include <QLabel>

#include "toolkit/Controls.h"

namespace toolkit {

class TWrapCheckBox : public TCheckBox {
  Q_OBJECT
 public:
  TWrapCheckBox(QWidget* parent, const char* name);
  void SetCaption(const std::string& caption);
  // The wrapped caption as it is shown.
  QLabel* CaptionLabel() const { return label_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool hitButton(const QPoint& pos) const override;

 private:
  void PlaceLabel();
  QLabel* label_;
};

}  // namespace toolkit
