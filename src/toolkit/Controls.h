#pragma once
// The controls the screens are built of. Every control is made with its
// parent and its name: the name becomes its objectName, and it carries the
// Qt properties "HelpContext" (signed 32-bit, 0 = none) and "Tag" (0).
// Places and sizes are pixels within the parent, as the screens give them.
// Texts are code page 1250. Event handlers are std::function members named as
// the screens name the events (OnClick, OnChange, OnEnter, OnExit, ...); they
// run under the standard error box, so an error ends the handler only.

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <string>

#include "toolkit/Invoke.h"

namespace toolkit {

// What every control is given at birth: its name, "HelpContext" 0 and "Tag" 0.
void InitControl(QObject* control, const char* name);

int32_t HelpContextOf(const QObject* control);
void SetHelpContext(QObject* control, int32_t context);
int TagOf(const QObject* control);
void SetTag(QObject* control, int tag);

// Docking of a control within its parent, in the order top, bottom, left,
// right, then the client control filling what is left. The parent re-docks
// its controls whenever it is resized.
enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
void SetAlign(QWidget* control, TAlign align);

// Runs OnEnter and OnExit when the focus moves into or out of a widget within
// its window; a window losing or regaining activation is neither.
class FocusEvents : public QObject {
 public:
  FocusEvents(QWidget* watched, std::function<void()> enter, std::function<void()> exit);
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void()> enter_, exit_;
};

// Key handler: the key (a Qt::Key) may be set to 0 to swallow it.
using TKeyEvent = std::function<void(int& Key, Qt::KeyboardModifiers Shift)>;

// Members every control shares.
template <class Base>
class TControl : public Base {
 public:
  TControl(QWidget* parent, const char* name) : Base(parent) { InitControl(this, name); }
  // Qt still sends events to the control and its children after this; none
  // reaches a handler of ours.
  ~TControl() override { MarkBeingDestroyed(this); }
  void SetBounds(int left, int top, int width, int height) { this->setGeometry(left, top, width, height); }
  int32_t HelpContext() const { return HelpContextOf(this); }
  void SetHelpContext(int32_t context) { toolkit::SetHelpContext(this, context); }
  int Tag() const { return TagOf(this); }
  void SetTag(int tag) { toolkit::SetTag(this, tag); }
};

// A push button. Default: Enter anywhere in the form presses it (unless
// another button has the focus); Cancel: Esc presses it.
class TButton : public TControl<QPushButton> {
  Q_OBJECT
 public:
  TButton(QWidget* parent, const char* name);
  std::string Caption() const;
  void SetCaption(const std::string& caption);
  void SetDefault(bool on) { setDefault(on); }
  bool Default() const { return isDefault(); }
  void SetCancel(bool on);
  bool Cancel() const;
  // While OnClick runs: the click is the second of a double click (its press
  // came within the platform's double-click interval after the last one).
  bool SecondOfDoubleClick() const { return doubleClick_; }
  std::function<void()> OnClick;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  bool doubleClick_ = false;
};

// A check box; OnClick runs whenever its state changes, by the user or the program.
class TCheckBox : public TControl<QCheckBox> {
  Q_OBJECT
 public:
  TCheckBox(QWidget* parent, const char* name);
  std::string Caption() const;
  void SetCaption(const std::string& caption);
  bool Checked() const { return isChecked(); }
  void SetChecked(bool on) { setChecked(on); }
  std::function<void()> OnClick;
};

// A radio button; the radio buttons of one parent form one group, so checking
// one unchecks the others. OnClick runs when it becomes checked. The program
// may clear the checked one, leaving none of the group checked.
class TRadioButton : public TControl<QRadioButton> {
  Q_OBJECT
 public:
  TRadioButton(QWidget* parent, const char* name);
  std::string Caption() const;
  void SetCaption(const std::string& caption);
  bool Checked() const { return isChecked(); }
  void SetChecked(bool on);
  std::function<void()> OnClick;
};

// Clears a checked radio button of an exclusive group, which Qt would keep
// checked; the group is then left with none checked.
void ClearRadioButton(QRadioButton* button);

// A box to mark one of several choices: a check box when several may be
// marked, else a radio button (those of one parent form one group).
QAbstractButton* NewChoiceButton(QWidget* parent, const char* name, const std::string& caption, bool several);
// Marks or clears a check box or a radio button; a radio button may be cleared.
void SetChoiceChecked(QAbstractButton* button, bool on);

// A label. With AutoSize (the default) it takes the size of its text; with
// WordWrap as well it keeps its width and its height follows the text. Its
// FocusControl is the control it names (QLabel's buddy).
class TLabel : public TControl<QLabel> {
  Q_OBJECT
 public:
  TLabel(QWidget* parent, const char* name);
  std::string Caption() const;
  void SetCaption(const std::string& caption);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool on);
  void SetWordWrap(bool on);
  // Horizontal alignment (Qt::AlignLeft, AlignHCenter, AlignRight); text stands at the top.
  void SetAlignment(Qt::Alignment horizontal);
  QWidget* FocusControl() const { return buddy(); }
  void SetFocusControl(QWidget* control) { setBuddy(control); }
  // Background and text colours; an invalid colour goes back to the parent's.
  void SetColor(const QColor& color);
  QColor Color() const;
  void SetFontColor(const QColor& color);
  QColor FontColor() const;
  std::function<void()> OnClick;
  std::function<void()> OnMouseMove;
  std::function<void()> OnMouseLeave;

  void AdjustBounds();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  bool autoSize_ = true;
  bool pressed_ = false;
};

// A one-line edit. Text that code page 1250 cannot hold becomes '?' as it is
// typed; there is no length limit unless MaxLength is set.
class TEdit : public TControl<QLineEdit> {
  Q_OBJECT
 public:
  TEdit(QWidget* parent, const char* name);
  std::string Text() const;
  // The caret goes to the start, so a long text shows its beginning; so it
  // does when Tab selects the whole text.
  void SetText(const std::string& text);
  bool ReadOnly() const { return isReadOnly(); }
  void SetReadOnly(bool on) { setReadOnly(on); }
  // 0 shows the text; any other character is shown in place of every character.
  void SetPasswordChar(char c);
  char PasswordChar() const { return passwordChar_; }
  // 0: no limit.
  void SetMaxLength(int length);
  // An edit of a path takes every letter a file name may have: its text is
  // code page 1250 path text (platform::PathText), not text cut to the code page.
  void SetPathText(bool on);
  std::function<void()> OnChange;
  std::function<void()> OnEnter;
  std::function<void()> OnExit;
  TKeyEvent OnKeyDown;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  char passwordChar_ = 0;
  bool pathText_ = false;
};

// The masked edit; no screen gives it an input mask, so it is an edit whose
// password character may be set.
class TMaskEdit : public TEdit {
  Q_OBJECT
 public:
  using TEdit::TEdit;
};

// A group box: a frame with a caption around its controls. The frame's top
// line runs through the middle of the caption, so controls placed from the
// box's top edge clear it as the screens were laid out.
class TGroupBox : public TControl<QGroupBox> {
  Q_OBJECT
 public:
  TGroupBox(QWidget* parent, const char* name);
  std::string Caption() const;
  void SetCaption(const std::string& caption);
  // Where the frame's top line lies.
  int FrameTop() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// A bevel: a sunken or raised box, frame or line.
enum class TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum class TBevelStyle { bsLowered, bsRaised };

class TBevel : public TControl<QWidget> {
  Q_OBJECT
 public:
  TBevel(QWidget* parent, const char* name);
  TBevelShape Shape() const { return shape_; }
  void SetShape(TBevelShape shape);
  TBevelStyle Style() const { return style_; }
  void SetStyle(TBevelStyle style);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TBevelShape shape_ = TBevelShape::bsBox;
  TBevelStyle style_ = TBevelStyle::bsLowered;
};

// A panel: a raised (or sunken, or plain) area holding controls, with an
// optional centred caption; it may be docked to its parent's edge.
enum class TPanelBevel { bvNone, bvLowered, bvRaised };

class TPanel : public TControl<QFrame> {
  Q_OBJECT
 public:
  TPanel(QWidget* parent, const char* name);
  std::string Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  void SetBevelOuter(TPanelBevel bevel);
  TPanelBevel BevelOuter() const { return bevelOuter_; }
  void SetBevelInner(TPanelBevel bevel);
  TPanelBevel BevelInner() const { return bevelInner_; }
  void SetAlign(TAlign align) { toolkit::SetAlign(this, align); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::string caption_;
  TPanelBevel bevelOuter_ = TPanelBevel::bvRaised;
  TPanelBevel bevelInner_ = TPanelBevel::bvNone;
};

// A picture. With AutoSize it takes the picture's size.
class TImage : public TControl<QLabel> {
  Q_OBJECT
 public:
  TImage(QWidget* parent, const char* name);
  void SetPicture(const QImage& picture);
  void ClearPicture();
  bool HasPicture() const { return !picture_.isNull(); }
  const QImage& Picture() const { return picture_; }
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool on);

 private:
  QImage picture_;
  bool autoSize_ = false;
};

// A timer served by the message loop; it starts switched off. It counts while
// Enabled with an Interval above 0; changing either starts the count afresh.
// Tag is free for the screen's own counter.
class TTimer : public QObject {
  Q_OBJECT
 public:
  TTimer(QObject* owner, const char* name);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on);
  int Interval() const { return interval_; }
  void SetInterval(int milliseconds);
  int Tag() const { return TagOf(this); }
  void SetTag(int tag) { toolkit::SetTag(this, tag); }
  // Whether the timer is counting now.
  bool Running() const { return timer_.isActive(); }
  // One tick: runs OnTimer as the message loop would (tests call it instead of waiting).
  void Timer();
  std::function<void()> OnTimer;

 private:
  void Update();
  QTimer timer_;
  bool enabled_ = false;
  int interval_ = 1000;
};

}  // namespace toolkit
