#include "toolkit/SpinEdit.h"

#include <QKeyEvent>
#include <QLocale>

#include "toolkit/Invoke.h"
#include "toolkit/Text.h"
#include "platform/convert.h"

namespace toolkit {

namespace {
constexpr int kButtonWidth = 15;
constexpr int kFirstRepeat = 400;
constexpr int kNextRepeat = 100;
}  // namespace

// The edit part: steps on Up and Down, passes keys to OnKeyDown, keeps
// typing to what a number may hold.
class SpinLineEdit : public QLineEdit {
 public:
  SpinLineEdit(TSpinEdit* owner) : QLineEdit(owner), owner_(owner) {}

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    int key = event->key();
    if (key == Qt::Key_Up) owner_->UpClick();
    if (key == Qt::Key_Down) owner_->DownClick();
    if (owner_->OnKeyDown) Invoke([&] { owner_->OnKeyDown(key, event->modifiers()); });
    if (key == 0 || key == Qt::Key_Up || key == Qt::Key_Down) {
      event->accept();
      return;
    }
    const QString typed = event->text();
    if (typed.size() == 1 && typed.at(0).unicode() >= 32 && !owner_->IsAllowedChar(typed.at(0))) {
      event->accept();
      return;
    }
    QLineEdit::keyPressEvent(event);
  }

 private:
  TSpinEdit* owner_;
};

TSpinEdit::TSpinEdit(QWidget* parent, const char* name) : TControl(parent, name) {
  editor_ = new SpinLineEdit(this);
  editor_->setObjectName(objectName() + QStringLiteral("_edit"));
  editor_->setValidator(new Cp1250Validator(editor_));
  editor_->setTextMargins(0, 0, kButtonWidth, 0);
  editor_->setText(QStringLiteral("0"));
  setFocusProxy(editor_);
  setFocusPolicy(Qt::StrongFocus);

  up_ = new QToolButton(this);
  down_ = new QToolButton(this);
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  for (QToolButton* b : {up_, down_}) {
    b->setFocusPolicy(Qt::NoFocus);
    b->setIconSize(QSize(7, 4));
    connect(b, &QToolButton::pressed, this, [this, b] { ArrowPressed(b); });
    connect(b, &QToolButton::released, this, [this] {
      held_ = nullptr;
      repeat_.stop();
    });
  }
  connect(&repeat_, &QTimer::timeout, this, [this] { RepeatTick(); });
  connect(editor_, &QLineEdit::textChanged, this, [this] { Invoke(this, OnChange); });
  new FocusEvents(
      editor_,
      [this] {
        if (OnEnter) OnEnter();
      },
      [this] { Exited(); });
  resize(121, 21);
}

std::string TSpinEdit::Text() const { return FromQ(editor_->text()); }
void TSpinEdit::SetText(const std::string& text) { editor_->setText(ToQ(text)); }

int32_t TSpinEdit::Value() const { return platform::TryStrToInt(Text()).value_or(min_); }

int32_t TSpinEdit::CheckValue(int32_t value) const {
  if (value < min_) return min_;
  if (value > max_) return max_;
  return value;
}

void TSpinEdit::SetValue(int32_t value) { SetText(platform::IntToStr(CheckValue(value))); }

void TSpinEdit::Step(int64_t by) {
  const int64_t next = int64_t{Value()} + by;
  SetValue(static_cast<int32_t>(std::clamp<int64_t>(next, INT32_MIN, INT32_MAX)));
}

void TSpinEdit::UpClick() { Step(increment_); }

void TSpinEdit::DownClick() { Step(-int64_t{increment_}); }

void TSpinEdit::ArrowPressed(QToolButton* button) {
  if (!editor_->hasFocus()) editor_->setFocus(Qt::MouseFocusReason);
  held_ = button;
  Invoke([&] { button == up_ ? UpClick() : DownClick(); });
  repeat_.start(kFirstRepeat);
}

void TSpinEdit::RepeatTick() {
  if (!held_) {
    repeat_.stop();
    return;
  }
  repeat_.setInterval(kNextRepeat);
  // The pointer may have slid off the button: the repeat waits until it is back.
  if (held_->isDown()) Invoke([&] { held_ == up_ ? UpClick() : DownClick(); });
}

void TSpinEdit::Exited() {
  if (OnExit) OnExit();
  const int32_t v = Value();
  if (CheckValue(v) != v) SetValue(v);
}

bool TSpinEdit::IsAllowedChar(QChar c) const {
  return (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || QLocale::system().decimalPoint().contains(c);
}

void TSpinEdit::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  editor_->setGeometry(rect());
  const int inner = height() - 4;
  const int half = inner / 2;
  up_->setGeometry(width() - kButtonWidth - 2, 2, kButtonWidth, half);
  down_->setGeometry(width() - kButtonWidth - 2, 2 + half, kButtonWidth, inner - half);
}

}  // namespace toolkit
