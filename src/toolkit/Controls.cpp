#include "toolkit/Controls.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <climits>
#include <vector>

#include "toolkit/Invoke.h"
#include "toolkit/Text.h"

namespace toolkit {

namespace {
const char* const kHelpContext = "HelpContext";
const char* const kTag = "Tag";
const char* const kAlign = "Align";
const char* const kAlignManager = "AlignManager";
const char* const kCancel = "Cancel";

// Lays out the docked children of one parent whenever it or one of them changes size.
class AlignManager : public QObject {
 public:
  explicit AlignManager(QWidget* parent) : QObject(parent), parent_(parent) { parent->installEventFilter(this); }

  void Watch(QWidget* child) {
    if (!watched_.contains(child)) {
      watched_.append(child);
      child->installEventFilter(this);
    }
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    // Children hidden while their parent goes need no room any more.
    if (BeingDestroyed(parent_)) return false;
    switch (event->type()) {
      case QEvent::Resize:
      case QEvent::Show:
      case QEvent::Hide:
        if (watched == parent_ || watched->parent() == parent_) Realign();
        break;
      default: break;
    }
    return false;
  }

  void Realign() {
    if (busy_) return;
    busy_ = true;
    int left = 0, top = 0, right = parent_->width(), bottom = parent_->height();
    auto docked = [&](TAlign align) {
      std::vector<QWidget*> out;
      for (QWidget* w : parent_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w->isWindow() || !w->isVisibleTo(parent_)) continue;
        if (static_cast<TAlign>(w->property(kAlign).toInt()) == align) out.push_back(w);
      }
      return out;
    };
    auto tops = docked(TAlign::alTop);
    std::stable_sort(tops.begin(), tops.end(), [](QWidget* a, QWidget* b) { return a->y() < b->y(); });
    for (QWidget* w : tops) {
      w->setGeometry(left, top, right - left, w->height());
      top += w->height();
    }
    auto bottoms = docked(TAlign::alBottom);
    std::stable_sort(bottoms.begin(), bottoms.end(), [](QWidget* a, QWidget* b) { return a->y() > b->y(); });
    for (QWidget* w : bottoms) {
      w->setGeometry(left, bottom - w->height(), right - left, w->height());
      bottom -= w->height();
    }
    auto lefts = docked(TAlign::alLeft);
    std::stable_sort(lefts.begin(), lefts.end(), [](QWidget* a, QWidget* b) { return a->x() < b->x(); });
    for (QWidget* w : lefts) {
      w->setGeometry(left, top, w->width(), std::max(0, bottom - top));
      left += w->width();
    }
    auto rights = docked(TAlign::alRight);
    std::stable_sort(rights.begin(), rights.end(), [](QWidget* a, QWidget* b) { return a->x() > b->x(); });
    for (QWidget* w : rights) {
      w->setGeometry(right - w->width(), top, w->width(), std::max(0, bottom - top));
      right -= w->width();
    }
    for (QWidget* w : docked(TAlign::alClient)) {
      w->setGeometry(left, top, std::max(0, right - left), std::max(0, bottom - top));
    }
    busy_ = false;
  }

 private:
  QWidget* parent_;
  QList<QWidget*> watched_;
  bool busy_ = false;
};

void DrawFrame3D(QPainter& p, QRect r, const QColor& topLeft, const QColor& bottomRight) {
  p.setPen(topLeft);
  p.drawLine(r.left(), r.top(), r.right(), r.top());
  p.drawLine(r.left(), r.top(), r.left(), r.bottom());
  p.setPen(bottomRight);
  p.drawLine(r.right(), r.top(), r.right(), r.bottom());
  p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
}
}  // namespace

void InitControl(QObject* control, const char* name) {
  control->setObjectName(QString::fromLatin1(name));
  control->setProperty(kHelpContext, 0);
  control->setProperty(kTag, 0);
}

int32_t HelpContextOf(const QObject* control) { return control->property(kHelpContext).toInt(); }
void SetHelpContext(QObject* control, int32_t context) { control->setProperty(kHelpContext, context); }
int TagOf(const QObject* control) { return control->property(kTag).toInt(); }
void SetTag(QObject* control, int tag) { control->setProperty(kTag, tag); }

void SetAlign(QWidget* control, TAlign align) {
  control->setProperty(kAlign, static_cast<int>(align));
  QWidget* parent = control->parentWidget();
  if (!parent) return;
  auto* manager = static_cast<AlignManager*>(parent->property(kAlignManager).value<QObject*>());
  if (!manager) {
    manager = new AlignManager(parent);
    parent->setProperty(kAlignManager, QVariant::fromValue<QObject*>(manager));
  }
  manager->Watch(control);
  manager->Realign();
}

FocusEvents::FocusEvents(QWidget* watched, std::function<void()> enter, std::function<void()> exit)
    : QObject(watched), enter_(std::move(enter)), exit_(std::move(exit)) {
  watched->installEventFilter(this);
}

bool FocusEvents::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    // The window losing or regaining activation keeps the focus where it was.
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
      const auto& handler = event->type() == QEvent::FocusIn ? enter_ : exit_;
      Invoke(watched, handler);
    }
  }
  return false;
}

// TButton

TButton::TButton(QWidget* parent, const char* name) : TControl(parent, name) {
  // Enter goes to the focused button or to the Default one, never to a stray one.
  setAutoDefault(false);
  connect(this, &QPushButton::clicked, this, [this] {
    Invoke(this, OnClick);
    doubleClick_ = false;
  });
}

void TButton::mousePressEvent(QMouseEvent* event) {
  // Qt passes the second press of a double click on as a press of its own type.
  if (event->type() == QEvent::MouseButtonPress) doubleClick_ = false;
  QPushButton::mousePressEvent(event);
}

void TButton::mouseDoubleClickEvent(QMouseEvent* event) {
  doubleClick_ = true;
  QPushButton::mouseDoubleClickEvent(event);
}

std::string TButton::Caption() const { return FromQ(text()); }
void TButton::SetCaption(const std::string& caption) { setText(ToQ(caption)); }
void TButton::SetCancel(bool on) { setProperty(kCancel, on); }
bool TButton::Cancel() const { return property(kCancel).toBool(); }

void TButton::keyPressEvent(QKeyEvent* event) {
  // A focused button takes Enter itself, as the default button would.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    click();
    return;
  }
  QPushButton::keyPressEvent(event);
}

// TCheckBox, TRadioButton

TCheckBox::TCheckBox(QWidget* parent, const char* name) : TControl(parent, name) {
  connect(this, &QCheckBox::toggled, this, [this](bool) {
    Invoke(this, OnClick);
  });
}

std::string TCheckBox::Caption() const { return FromQ(text()); }
void TCheckBox::SetCaption(const std::string& caption) { setText(ToQ(caption)); }

TRadioButton::TRadioButton(QWidget* parent, const char* name) : TControl(parent, name) {
  connect(this, &QRadioButton::toggled, this, [this](bool checked) {
    if (checked) Invoke(this, OnClick);
  });
}

std::string TRadioButton::Caption() const { return FromQ(text()); }

void TRadioButton::SetChecked(bool on) {
  // Qt keeps the checked button of a group checked; the program may clear it.
  if (!on && isChecked() && autoExclusive()) {
    ClearRadioButton(this);
    return;
  }
  setChecked(on);
}
void TRadioButton::SetCaption(const std::string& caption) { setText(ToQ(caption)); }

void ClearRadioButton(QRadioButton* button) {
  button->setAutoExclusive(false);
  button->setChecked(false);
  button->setAutoExclusive(true);
}

QAbstractButton* NewChoiceButton(QWidget* parent, const char* name, const std::string& caption, bool several) {
  if (several) {
    auto* c = new TCheckBox(parent, name);
    c->SetCaption(caption);
    return c;
  }
  auto* r = new TRadioButton(parent, name);
  r->SetCaption(caption);
  return r;
}

void SetChoiceChecked(QAbstractButton* button, bool on) {
  if (auto* radio = qobject_cast<TRadioButton*>(button)) {
    radio->SetChecked(on);
  } else {
    button->setChecked(on);
  }
}

// TLabel

TLabel::TLabel(QWidget* parent, const char* name) : TControl(parent, name) {
  setTextFormat(Qt::PlainText);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setMouseTracking(true);
}

std::string TLabel::Caption() const { return FromQ(text()); }

void TLabel::SetCaption(const std::string& caption) {
  setText(ToQ(caption));
  AdjustBounds();
}

void TLabel::SetAutoSize(bool on) {
  autoSize_ = on;
  AdjustBounds();
}

void TLabel::SetWordWrap(bool on) {
  setWordWrap(on);
  AdjustBounds();
}

void TLabel::SetAlignment(Qt::Alignment horizontal) {
  setAlignment((horizontal & Qt::AlignHorizontal_Mask) | Qt::AlignTop);
  AdjustBounds();
}

void TLabel::AdjustBounds() {
  if (!autoSize_) return;
  if (wordWrap()) {
    resize(width(), std::max(heightForWidth(width()), fontMetrics().height()));
    return;
  }
  const QSize hint = sizeHint();
  const int right = x() + width();
  if (alignment() & Qt::AlignRight) {
    setGeometry(right - hint.width(), y(), hint.width(), hint.height());
  } else {
    resize(hint);
  }
}

void TLabel::SetColor(const QColor& color) {
  QPalette pal = palette();
  if (color.isValid()) {
    pal.setColor(QPalette::Window, color);
    setAutoFillBackground(true);
  } else {
    pal.setColor(QPalette::Window, parentWidget() ? parentWidget()->palette().color(QPalette::Window)
                                                  : QPalette().color(QPalette::Window));
    setAutoFillBackground(false);
  }
  setPalette(pal);
}

QColor TLabel::Color() const { return palette().color(QPalette::Window); }

void TLabel::SetFontColor(const QColor& color) {
  QPalette pal = palette();
  pal.setColor(QPalette::WindowText, color.isValid() ? color : QPalette().color(QPalette::WindowText));
  setPalette(pal);
}

QColor TLabel::FontColor() const { return palette().color(QPalette::WindowText); }

void TLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) pressed_ = true;
  QLabel::mousePressEvent(event);
}

void TLabel::mouseReleaseEvent(QMouseEvent* event) {
  const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  QLabel::mouseReleaseEvent(event);
  if (click) Invoke(this, OnClick);
}

void TLabel::mouseMoveEvent(QMouseEvent* event) {
  QLabel::mouseMoveEvent(event);
  Invoke(this, OnMouseMove);
}

void TLabel::leaveEvent(QEvent* event) {
  QLabel::leaveEvent(event);
  Invoke(this, OnMouseLeave);
}

void TLabel::changeEvent(QEvent* event) {
  QLabel::changeEvent(event);
  if (event->type() == QEvent::FontChange) AdjustBounds();
}

// TEdit

TEdit::TEdit(QWidget* parent, const char* name) : TControl(parent, name) {
  setValidator(new Cp1250Validator(this));
  SetMaxLength(0);
  connect(this, &QLineEdit::textChanged, this, [this] { Invoke(this, OnChange); });
  new FocusEvents(
      this,
      [this] {
        if (OnEnter) OnEnter();
      },
      [this] {
        if (OnExit) OnExit();
      });
}

std::string TEdit::Text() const { return pathText_ ? PathFromQ(text()) : FromQ(text()); }
void TEdit::SetText(const std::string& text) {
  setText(pathText_ ? ShownToQ(text) : ToQ(text));
  // A text the program puts in shows from its start, not scrolled to its end.
  setCursorPosition(0);
}

void TEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  // Qt selects the whole text with the caret at its end, which scrolls a long
  // text out of sight; the same selection made from the end keeps the start in view.
  if (hasSelectedText() && selectedText().size() == text().size()) setSelection(text().size(), -text().size());
}

void TEdit::SetPasswordChar(char c) {
  passwordChar_ = c;
  if (c == 0) {
    setEchoMode(QLineEdit::Normal);
    setStyleSheet(QString());
    return;
  }
  setEchoMode(QLineEdit::Password);
  setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: %1; lineedit-password-mask-delay: 0; }")
                    .arg(static_cast<int>(ToQ(std::string(1, c)).at(0).unicode())));
}

void TEdit::SetMaxLength(int length) { setMaxLength(length > 0 ? length : INT_MAX); }

void TEdit::SetPathText(bool on) {
  const std::string kept = Text();
  pathText_ = on;
  if (on) {
    delete validator();
    setValidator(nullptr);
  } else {
    setValidator(new Cp1250Validator(this));
  }
  SetText(kept);
}

void TEdit::keyPressEvent(QKeyEvent* event) {
  int key = event->key();
  if (OnKeyDown) Invoke([&] { OnKeyDown(key, event->modifiers()); });
  if (key == 0) {
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

// TGroupBox

TGroupBox::TGroupBox(QWidget* parent, const char* name) : TControl(parent, name) {}
std::string TGroupBox::Caption() const { return FromQ(title()); }
void TGroupBox::SetCaption(const std::string& caption) { setTitle(ToQ(caption)); }

int TGroupBox::FrameTop() const { return fontMetrics().height() / 2; }

void TGroupBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  // An etched frame: a dark line with a light one beside it.
  const QRect frame = rect().adjusted(0, FrameTop(), -1, -1);
  p.setPen(palette().color(QPalette::Dark));
  p.drawRect(frame.adjusted(0, 0, -1, -1));
  p.setPen(palette().color(QPalette::Light));
  p.drawRect(frame.adjusted(1, 1, 0, 0));
  if (title().isEmpty()) return;
  const QRect text(8, 0, fontMetrics().horizontalAdvance(title()) + 4, fontMetrics().height());
  p.fillRect(text, palette().color(QPalette::Window));
  p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
  p.drawText(text, Qt::AlignCenter, title());
}

// TBevel

TBevel::TBevel(QWidget* parent, const char* name) : TControl(parent, name) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TBevel::SetShape(TBevelShape shape) {
  shape_ = shape;
  update();
}

void TBevel::SetStyle(TBevelStyle style) {
  style_ = style;
  update();
}

void TBevel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QColor dark = palette().color(QPalette::Dark);
  QColor light = palette().color(QPalette::Light);
  if (style_ == TBevelStyle::bsRaised) std::swap(dark, light);
  const int w = width(), h = height();
  auto line = [&](const QColor& c, int x1, int y1, int x2, int y2) {
    p.setPen(c);
    p.drawLine(x1, y1, x2, y2);
  };
  switch (shape_) {
    case TBevelShape::bsBox: DrawFrame3D(p, rect(), dark, light); break;
    case TBevelShape::bsFrame:
      DrawFrame3D(p, QRect(0, 0, w - 1, h - 1), dark, dark);
      DrawFrame3D(p, QRect(1, 1, w - 1, h - 1), light, light);
      break;
    case TBevelShape::bsTopLine:
      line(dark, 0, 0, w - 1, 0);
      line(light, 0, 1, w - 1, 1);
      break;
    case TBevelShape::bsBottomLine:
      line(dark, 0, h - 2, w - 1, h - 2);
      line(light, 0, h - 1, w - 1, h - 1);
      break;
    case TBevelShape::bsLeftLine:
      line(dark, 0, 0, 0, h - 1);
      line(light, 1, 0, 1, h - 1);
      break;
    case TBevelShape::bsRightLine:
      line(dark, w - 2, 0, w - 2, h - 1);
      line(light, w - 1, 0, w - 1, h - 1);
      break;
    case TBevelShape::bsSpacer: break;
  }
}

// TPanel

TPanel::TPanel(QWidget* parent, const char* name) : TControl(parent, name) {}

void TPanel::SetCaption(const std::string& caption) {
  caption_ = caption;
  update();
}

void TPanel::SetBevelOuter(TPanelBevel bevel) {
  bevelOuter_ = bevel;
  update();
}

void TPanel::SetBevelInner(TPanelBevel bevel) {
  bevelInner_ = bevel;
  update();
}

void TPanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QRect r = rect().adjusted(0, 0, -1, -1);
  const QColor dark = palette().color(QPalette::Dark);
  const QColor light = palette().color(QPalette::Light);
  for (TPanelBevel bevel : {bevelOuter_, bevelInner_}) {
    if (bevel == TPanelBevel::bvNone) continue;
    if (bevel == TPanelBevel::bvRaised) DrawFrame3D(p, r, light, dark);
    else DrawFrame3D(p, r, dark, light);
    r.adjust(1, 1, -1, -1);
  }
  if (!caption_.empty()) {
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(rect(), Qt::AlignCenter, ToQ(caption_));
  }
}

// TImage

TImage::TImage(QWidget* parent, const char* name) : TControl(parent, name) {
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TImage::SetPicture(const QImage& picture) {
  picture_ = picture;
  setPixmap(QPixmap::fromImage(picture));
  if (autoSize_ && !picture.isNull()) resize(picture.size());
}

void TImage::ClearPicture() {
  picture_ = QImage();
  clear();
}

void TImage::SetAutoSize(bool on) {
  autoSize_ = on;
  if (on && !picture_.isNull()) resize(picture_.size());
}

// TTimer

TTimer::TTimer(QObject* owner, const char* name) : QObject(owner) {
  InitControl(this, name);
  connect(&timer_, &QTimer::timeout, this, [this] { Timer(); });
}

void TTimer::SetEnabled(bool on) {
  enabled_ = on;
  Update();
}

void TTimer::SetInterval(int milliseconds) {
  interval_ = milliseconds;
  Update();
}

void TTimer::Update() {
  timer_.stop();
  if (enabled_ && interval_ > 0) timer_.start(interval_);
}

void TTimer::Timer() {
  Invoke(this, OnTimer);
}

}  // namespace toolkit
