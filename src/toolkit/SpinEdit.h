#pragma once
// A spin edit: a whole number between MinValue and MaxValue, typed or stepped.
//  - Value is the text read as a decimal number, or MinValue when the text is
//    not a whole number; it is not brought into the range by reading it.
//  - Typing is limited to digits, the signs and the decimal separator; what is
//    pasted is taken as it is.
//  - The arrow buttons and the Up and Down keys step by Increment; holding an
//    arrow button repeats the step after 400 ms, then every 100 ms. Pressing an
//    arrow first moves the focus into the box (so OnEnter runs).
//  - SetValue brings the value into the range before it is shown; leaving the
//    box runs OnExit and then brings the value shown into the range (a text
//    that is no number stays); changing a limit leaves the text alone.
//  - OnChange runs whenever the text changes, by typing or by the program.

#include <QLineEdit>
#include <QTimer>
#include <QToolButton>

#include "toolkit/Controls.h"

namespace toolkit {

class TSpinEdit : public TControl<QWidget> {
  Q_OBJECT

 public:
  TSpinEdit(QWidget* parent, const char* name);

  std::string Text() const;
  void SetText(const std::string& text);
  int32_t Value() const;
  void SetValue(int32_t value);
  int32_t MinValue() const { return min_; }
  void SetMinValue(int32_t value) { min_ = value; }
  int32_t MaxValue() const { return max_; }
  void SetMaxValue(int32_t value) { max_ = value; }
  int32_t Increment() const { return increment_; }
  void SetIncrement(int32_t step) { increment_ = step; }
  // The value brought into the range.
  int32_t CheckValue(int32_t value) const;

  // One step up or down, as an arrow button or key does.
  void UpClick();
  void DownClick();

  QLineEdit* Editor() const { return editor_; }
  QToolButton* UpButton() const { return up_; }
  QToolButton* DownButton() const { return down_; }
  // The repeat of a held arrow button; tests call RepeatTick instead of waiting.
  const QTimer& RepeatTimer() const { return repeat_; }
  void RepeatTick();

  std::function<void()> OnChange;
  std::function<void()> OnEnter;
  std::function<void()> OnExit;
  TKeyEvent OnKeyDown;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  friend class SpinLineEdit;
  // The value moved by this much, kept within 32 bits and then within the range.
  void Step(int64_t by);
  void ArrowPressed(QToolButton* button);
  void Exited();
  bool IsAllowedChar(QChar c) const;

  QLineEdit* editor_;
  QToolButton* up_;
  QToolButton* down_;
  QToolButton* held_ = nullptr;
  QTimer repeat_;
  int32_t min_ = 0;
  int32_t max_ = 0;
  int32_t increment_ = 1;
};

}  // namespace toolkit
