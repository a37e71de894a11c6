#include "help/viewer/hxviewer.h"

#include <QApplication>
#include <QCollator>
#include <QDesktopServices>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QToolTip>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>
#include <map>

#include "help/hxhhapi.h"
#include "platform/cp1250.h"

namespace hxviewer {

const char* const kNoHelpText = "K této položce není k dispozici žádná nápověda.";

namespace {

constexpr int kObjectRole = Qt::UserRole;

QString FromUtf8(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
QString FromCp1250(const char* s) { return s ? FromUtf8(platform::Cp1250ToUtf8(s)) : QString(); }

std::map<std::string, QPointer<THelpWindow>>& Windows() {
  static std::map<std::string, QPointer<THelpWindow>> windows;
  return windows;
}

QPointer<TTextPopup>& Popup() {
  static QPointer<TTextPopup> popup;
  return popup;
}

// Every screen of the program is modal. A window is taken out of a modal
// screen's blocking by standing over it (its transient parent), so each help
// window follows the topmost modal screen.
void AttachToModal(QWidget* widget) {
  if (!widget->windowHandle()) widget->winId();
  QWindow* own = widget->windowHandle();
  QWindow* modal = QGuiApplication::modalWindow();
  if (!own || modal == own) return;
  if (own->transientParent() != modal) own->setTransientParent(modal);
}

void AttachAllToModal() {
  for (auto& [path, window] : Windows())
    if (window && window->isVisible()) AttachToModal(window);
}

// Follows modal screens as they open and close. Qt updates its list of modal
// windows around the show and hide events, so the re-attaching waits a turn.
class TModalWatcher : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if ((event->type() == QEvent::Show || event->type() == QEvent::Hide) && watched->isWidgetType()) {
      auto* widget = static_cast<QWidget*>(watched);
      if (widget->isWindow() && widget->isModal()) QTimer::singleShot(0, qApp, &AttachAllToModal);
    }
    return false;
  }
};

// The popup takes no input of its own: it stands without the focus or a
// grab, and the first key pressed or button pressed anywhere closes it and
// goes on to where it was aimed. A held key's repeats are no new press, so
// holding F1 leaves the popup standing. Escape is the popup's alone: it only
// closes the popup, and the screen under it stays open.
class TPopupCloser : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    bool own = false;
    switch (event->type()) {
      case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->isAutoRepeat()) return false;
        own = key->key() == Qt::Key_Escape;
        break;
      }
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
      case QEvent::ApplicationDeactivate: break;
      default: return false;
    }
    // Input is seen where it enters the program, at its window, once.
    if (event->type() != QEvent::ApplicationDeactivate && !watched->isWindowType()) return false;
    TTextPopup* popup = Popup().data();
    if (!popup || !popup->isVisible()) return false;
    popup->close();
    return own;
  }
};

// One application-wide filter of the kind, made on first need and owned by
// the application object.
template <class TFilter>
void WatchOnce() {
  static TFilter* filter = nullptr;
  if (filter) return;
  filter = new TFilter;
  filter->setParent(qApp);
  qApp->installEventFilter(filter);
}

void WatchPopupInput() { WatchOnce<TPopupCloser>(); }
void WatchModals() { WatchOnce<TModalWatcher>(); }

QUrl TopicUrl(const std::string& object) {
  std::string path = object;
  std::string part;
  if (const size_t hash = path.find('#'); hash != std::string::npos) {
    part = path.substr(hash + 1);
    path.resize(hash);
  }
  QUrl url;
  url.setScheme(QStringLiteral("chm"));
  url.setPath(FromUtf8(path));
  if (!part.empty()) url.setFragment(FromUtf8(part));
  return url;
}

std::string ObjectOfUrl(const QUrl& url) {
  std::string object = url.path().toStdString();
  if (url.hasFragment()) object += "#" + url.fragment().toStdString();
  return object;
}

// A Windows locale number as the locale it names, by its language; the
// program's own locale for one not known here.
QLocale LocaleOf(uint32_t lcid) {
  static const std::map<uint32_t, const char*> languages = {
      {0x05, "cs"}, {0x07, "de"}, {0x09, "en"}, {0x0A, "es"}, {0x0C, "fr"}, {0x0E, "hu"}, {0x10, "it"},
      {0x13, "nl"}, {0x15, "pl"}, {0x19, "ru"}, {0x1A, "hr"}, {0x1B, "sk"}, {0x22, "uk"}, {0x24, "sl"}};
  const auto found = languages.find(lcid & 0x3FF);
  return found == languages.end() ? QLocale() : QLocale(QString::fromLatin1(found->second));
}

// A text as the index search compares it: without accents, in one case.
QString Folded(const QString& text) {
  const QString decomposed = text.normalized(QString::NormalizationForm_D);
  QString out;
  out.reserve(decomposed.size());
  for (const QChar c : decomposed)
    if (c.category() != QChar::Mark_NonSpacing) out += c;
  return out.toCaseFolded();
}

QString PageOf(const QString& text) {
  return QStringLiteral("<html><body><p>%1</p></body></html>").arg(text.toHtmlEscaped());
}

}  // namespace

// --- TTopicBrowser ---

TTopicBrowser::TTopicBrowser(const TChmFile& file, QWidget* parent) : QTextBrowser(parent), file_(file) {
  setObjectName(QStringLiteral("Topic"));
  setOpenLinks(false);
  connect(this, &QTextBrowser::anchorClicked, this, &TTopicBrowser::Follow);
}

void TTopicBrowser::ShowTopic(const std::string& object) { setSource(TopicUrl(object)); }

void TTopicBrowser::Follow(const QUrl& link) {
  const QUrl target = source().resolved(link);
  if (target.scheme() == QLatin1String("chm")) {
    setSource(target);
  } else {
    QDesktopServices::openUrl(link);
  }
}

QVariant TTopicBrowser::loadResource(int type, const QUrl& name) {
  if (name.scheme() != QLatin1String("chm")) return QTextBrowser::loadResource(type, name);
  const std::string object = name.path().toStdString();
  std::optional<std::string> bytes = file_.Read(object);
  if (!bytes) bytes = file_.Read(file_.ObjectPath(object));
  if (!bytes) {
    if (type == QTextDocument::HtmlResource) return PageOf(QString::fromUtf8("Tato stránka v souboru nápovědy chybí."));
    return {};
  }
  if (type == QTextDocument::ImageResource) return QByteArray(bytes->data(), static_cast<qsizetype>(bytes->size()));
  return FromUtf8(HelpTextToUtf8(*bytes));
}

// --- THelpWindow ---

THelpWindow::THelpWindow(std::unique_ptr<TChmFile> file) : file_(std::move(file)) {
  setObjectName(QStringLiteral("HelpWindow"));
  setAttribute(Qt::WA_DeleteOnClose, false);
  resize(780, 540);

  back_ = new QPushButton(QString::fromUtf8("< Zpět"), this);
  back_->setObjectName(QStringLiteral("Back"));
  forward_ = new QPushButton(QString::fromUtf8("Vpřed >"), this);
  forward_->setObjectName(QStringLiteral("Forward"));
  home_ = new QPushButton(QString::fromUtf8("Úvod"), this);
  home_->setObjectName(QStringLiteral("Home"));
  back_->setEnabled(false);
  forward_->setEnabled(false);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(back_);
  buttons->addWidget(forward_);
  buttons->addWidget(home_);
  buttons->addStretch();

  tabs_ = new QTabWidget;
  tabs_->setObjectName(QStringLiteral("Tabs"));
  contents_ = new QTreeWidget;
  contents_->setObjectName(QStringLiteral("Contents"));
  contents_->setHeaderHidden(true);
  tabs_->addTab(contents_, QString::fromUtf8("Obsah"));

  auto* indexPage = new QWidget;
  indexEdit_ = new QLineEdit;
  indexEdit_->setObjectName(QStringLiteral("IndexKeyword"));
  indexEdit_->setPlaceholderText(QString::fromUtf8("Hledané slovo"));
  index_ = new QListWidget;
  index_->setObjectName(QStringLiteral("Index"));
  auto* indexLayout = new QVBoxLayout(indexPage);
  indexLayout->setContentsMargins(4, 4, 4, 4);
  indexLayout->addWidget(indexEdit_);
  indexLayout->addWidget(index_);
  tabs_->addTab(indexPage, QString::fromUtf8("Rejstřík"));

  browser_ = new TTopicBrowser(*file_, this);
  auto* splitter = new QSplitter;
  splitter->addWidget(tabs_);
  splitter->addWidget(browser_);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({240, 540});

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addLayout(buttons);
  layout->addWidget(splitter, 1);

  // The file's reader has run while the window was being made.
  if (!file_->Finish()) return;
  setWindowTitle(file_->Title().empty() ? QString::fromUtf8("Nápověda") : FromUtf8(file_->Title()));
  FillContents(nullptr, file_->Contents(), 0);
  contents_->expandToDepth(0);
  FillIndex(file_->Index(), 0);

  connect(contents_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
    const QString object = item->data(0, kObjectRole).toString();
    if (!object.isEmpty()) ShowTopic(object.toStdString());
  });
  connect(contents_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
    const QString object = item->data(0, kObjectRole).toString();
    if (!object.isEmpty()) ShowTopic(object.toStdString());
  });
  connect(indexEdit_, &QLineEdit::textChanged, this, &THelpWindow::FilterIndex);
  connect(indexEdit_, &QLineEdit::returnPressed, this, [this] { OpenIndexItem(index_->currentItem()); });
  connect(index_, &QListWidget::itemClicked, this, &THelpWindow::OpenIndexItem);
  connect(index_, &QListWidget::itemActivated, this, &THelpWindow::OpenIndexItem);
  connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(home_, &QPushButton::clicked, this, &THelpWindow::ShowDefaultTopic);
  connect(browser_, &QTextBrowser::backwardAvailable, back_, &QWidget::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QWidget::setEnabled);
  connect(browser_, &QTextBrowser::sourceChanged, this,
          [this](const QUrl& url) { SelectContentsOf(ObjectOfUrl(url)); });
}

void THelpWindow::FillContents(QTreeWidgetItem* parent, const std::vector<TSitemapEntry>& entries, int depth) {
  for (const TSitemapEntry& entry : entries) {
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(contents_);
    item->setText(0, FromUtf8(entry.Name));
    if (!entry.Local.empty()) item->setData(0, kObjectRole, FromUtf8(file_->ObjectPath(entry.Local)));
    if (depth < kMaxSitemapDepth) FillContents(item, entry.Children, depth + 1);
  }
}

void THelpWindow::FillIndex(const std::vector<TSitemapEntry>& unsorted, int level) {
  // In the order of the help file's language, each entry's own entries under it.
  std::vector<const TSitemapEntry*> entries;
  for (const TSitemapEntry& entry : unsorted) entries.push_back(&entry);
  QCollator collator(LocaleOf(file_->Language()));
  std::stable_sort(entries.begin(), entries.end(), [&](const TSitemapEntry* a, const TSitemapEntry* b) {
    return collator.compare(FromUtf8(a->Name), FromUtf8(b->Name)) < 0;
  });
  for (const TSitemapEntry* e : entries) {
    const TSitemapEntry& entry = *e;
    auto* item = new QListWidgetItem(QString(level * 4, QLatin1Char(' ')) + FromUtf8(entry.Name), index_);
    if (!entry.Local.empty()) item->setData(kObjectRole, FromUtf8(file_->ObjectPath(entry.Local)));
    if (level < kMaxSitemapDepth) FillIndex(entry.Children, level + 1);
  }
}

void THelpWindow::FilterIndex(const QString& text) {
  const QString wanted = Folded(text.trimmed());
  if (wanted.isEmpty()) return;
  for (int row = 0; row < index_->count(); ++row) {
    QListWidgetItem* item = index_->item(row);
    if (Folded(item->text().trimmed()).startsWith(wanted)) {
      index_->setCurrentItem(item);
      index_->scrollToItem(item, QAbstractItemView::PositionAtTop);
      return;
    }
  }
}

void THelpWindow::OpenIndexItem(QListWidgetItem* item) {
  if (!item) return;
  const QString object = item->data(kObjectRole).toString();
  if (!object.isEmpty()) ShowTopic(object.toStdString());
}

void THelpWindow::SelectContentsOf(const std::string& object) {
  const QString wanted = FromUtf8(object);
  const QString page = wanted.section(QLatin1Char('#'), 0, 0);
  // An entry chosen by the user stays chosen, though another before it may
  // name the same page.
  if (QTreeWidgetItem* current = contents_->currentItem()) {
    const QString own = current->data(0, kObjectRole).toString();
    if (own.compare(wanted, Qt::CaseInsensitive) == 0 ||
        (!wanted.contains(QLatin1Char('#')) &&
         own.section(QLatin1Char('#'), 0, 0).compare(page, Qt::CaseInsensitive) == 0))
      return;
  }
  QTreeWidgetItem* best = nullptr;
  for (QTreeWidgetItemIterator it(contents_); *it; ++it) {
    const QString own = (*it)->data(0, kObjectRole).toString();
    if (own.compare(wanted, Qt::CaseInsensitive) == 0) {
      best = *it;
      break;
    }
    if (!best && own.section(QLatin1Char('#'), 0, 0).compare(page, Qt::CaseInsensitive) == 0) best = *it;
  }
  if (!best) return;
  const QSignalBlocker blocker(contents_);
  contents_->setCurrentItem(best);
  contents_->scrollToItem(best);
}

void THelpWindow::ShowDefaultTopic() {
  std::string topic = file_->DefaultTopic();
  if (topic.empty()) {
    for (QTreeWidgetItemIterator it(contents_); *it; ++it) {
      const QString own = (*it)->data(0, kObjectRole).toString();
      if (!own.isEmpty()) {
        topic = own.toStdString();
        break;
      }
    }
  }
  if (!topic.empty()) ShowTopic(topic);
}

void THelpWindow::ShowContents() {
  tabs_->setCurrentIndex(0);
  if (browser_->source().isEmpty()) ShowDefaultTopic();
}

void THelpWindow::ShowIndex(const QString& keyword) {
  tabs_->setCurrentIndex(1);
  if (browser_->source().isEmpty()) ShowDefaultTopic();
  if (keyword.isEmpty()) {
    index_->scrollToTop();
    if (index_->count() > 0) index_->setCurrentRow(0);
  } else {
    indexEdit_->setText(keyword);
  }
  indexEdit_->setFocus();
}

void THelpWindow::ShowTopic(const std::string& object) { browser_->ShowTopic(object); }

std::string THelpWindow::CurrentTopic() const { return ObjectOfUrl(browser_->source()); }

void THelpWindow::Present() {
  WatchModals();
  AttachToModal(this);
  if (isMinimized()) showNormal();
  show();
  raise();
  activateWindow();
}

// --- TTextPopup ---

TTextPopup::TTextPopup(const QString& text, const QFont& font, const QColor& foreground, const QColor& background,
                       const QMargins& margins)
    : QFrame(nullptr, Qt::ToolTip | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("HelpPopup"));
  setAttribute(Qt::WA_DeleteOnClose);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFocusPolicy(Qt::NoFocus);
  setFrameShape(QFrame::Box);
  setLineWidth(1);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, background);
  palette.setColor(QPalette::WindowText, foreground);
  setPalette(palette);
  setAutoFillBackground(true);
  label_ = new QLabel(text, this);
  label_->setObjectName(QStringLiteral("PopupText"));
  label_->setFont(font);
  label_->setWordWrap(true);
  label_->setTextFormat(Qt::PlainText);
  label_->setMaximumWidth(360);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(margins);
  layout->addWidget(label_);
}

QString TTextPopup::Text() const { return label_->text(); }

void TTextPopup::ShowAt(const QPoint& point) {
  adjustSize();
  QScreen* screen = QGuiApplication::screenAt(point);
  if (!screen) screen = QGuiApplication::primaryScreen();
  QPoint at = point;
  if (screen) {
    const QRect area = screen->availableGeometry();
    at.setX(std::max(area.left(), std::min(at.x(), area.right() - width())));
    at.setY(std::max(area.top(), std::min(at.y(), area.bottom() - height())));
  }
  move(at);
  WatchPopupInput();
  AttachToModal(this);
  show();
}

void TTextPopup::mousePressEvent(QMouseEvent*) { close(); }
void TTextPopup::keyPressEvent(QKeyEvent*) { close(); }

THelpWindow* HelpWindowOf(const std::string& file) {
  auto it = Windows().find(file);
  return it == Windows().end() ? nullptr : it->second.data();
}

TTextPopup* CurrentPopup() { return Popup().data(); }

// --- the viewer calls ---

namespace {

// Why the call under way showed nothing; each call starts with none.
struct TFailure {
  help::THelpFailure Reason = help::THelpFailure::None;
  std::string File;
};

TFailure& LastFailure() {
  static TFailure failure;
  return failure;
}

void Failed(const TChmFile& chm, const std::string& file) {
  switch (chm.Failure()) {
    case TOpenFailure::None: break;
    case TOpenFailure::Missing: LastFailure() = {help::THelpFailure::FileMissing, file}; break;
    case TOpenFailure::Damaged: LastFailure() = {help::THelpFailure::FileDamaged, file}; break;
    case TOpenFailure::ReaderMissing: LastFailure() = {help::THelpFailure::ViewerMissing, ChmReaderProgram()}; break;
  }
}

void CloseAll() {
  if (TTextPopup* popup = Popup().data()) delete popup;
  auto windows = std::move(Windows());
  Windows().clear();
  for (auto& [path, window] : windows) delete window.data();
}

THelpWindow* OpenWindow(const std::string& file) {
  if (THelpWindow* window = HelpWindowOf(file)) return window;
  auto chm = std::make_unique<TChmFile>();
  if (!chm->Begin(file)) {
    Failed(*chm, file);
    return nullptr;
  }
  auto* window = new THelpWindow(std::move(chm));
  if (!window->File().IsOpen()) {
    Failed(window->File(), file);
    delete window;
    return nullptr;
  }
  Windows()[file] = window;
  return window;
}

QFont PopupFont(const char* spec) {
  QFont font = QApplication::font();
  if (!spec || !*spec) return font;
  const QStringList parts = FromCp1250(spec).split(QLatin1Char(','));
  if (!parts.value(0).trimmed().isEmpty()) font.setFamily(parts.value(0).trimmed());
  bool ok = false;
  const int points = parts.value(1).trimmed().toInt(&ok);
  if (ok && points > 0 && points < 200) font.setPointSize(points);
  return font;
}

QColor PopupColour(int32_t colour, const QColor& own) {
  if (colour < 0) return own;
  const auto c = static_cast<uint32_t>(colour);
  return QColor(c & 0xFF, c >> 8 & 0xFF, c >> 16 & 0xFF);
}

help::THelpWindow ShowPopup(const char* file, uintptr_t data) {
  const auto* record = reinterpret_cast<const help::THHPopup*>(data);
  if (!record || record->cbStruct < static_cast<int32_t>(sizeof(help::THHPopup))) return 0;
  QString text = FromCp1250(record->pszText);
  if (text.isEmpty() && record->idString != 0 && file && *file) {
    std::string chmPath, inner;
    SplitHelpPath(file, chmPath, inner);
    TChmFile own;
    const TChmFile* chm = nullptr;
    if (THelpWindow* window = HelpWindowOf(chmPath)) {
      chm = &window->File();
    } else if (own.Open(chmPath)) {
      chm = &own;
    }
    if (!chm) {
      Failed(own, chmPath);
      return 0;
    }
    if (const auto topics = inner.empty() ? std::nullopt : chm->Read(inner))
      if (const auto found = PopupTopicText(*topics, record->idString)) text = FromUtf8(*found);
  }
  if (text.trimmed().isEmpty()) text = QString::fromUtf8(kNoHelpText);

  if (TTextPopup* old = Popup().data()) delete old;
  const QPalette palette = QToolTip::palette();
  const QMargins margins(record->rcMargins.left < 0 ? 8 : record->rcMargins.left,
                         record->rcMargins.top < 0 ? 6 : record->rcMargins.top,
                         record->rcMargins.right < 0 ? 8 : record->rcMargins.right,
                         record->rcMargins.bottom < 0 ? 6 : record->rcMargins.bottom);
  auto* popup = new TTextPopup(text, PopupFont(record->pszFont),
                               PopupColour(record->clrForeground, palette.color(QPalette::ToolTipText)),
                               PopupColour(record->clrBackground, palette.color(QPalette::ToolTipBase)), margins);
  Popup() = popup;
  popup->ShowAt(QPoint(record->pt.x, record->pt.y));
  return reinterpret_cast<help::THelpWindow>(static_cast<QWidget*>(popup));
}

help::THelpWindow Dispatch(const char* file, uint32_t command, uintptr_t data) {
  LastFailure() = {};
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return 0;
  if (command == help::HH_CLOSE_ALL) {
    CloseAll();
    return 1;
  }
  if (command == help::HH_DISPLAY_TEXT_POPUP) return ShowPopup(file, data);
  if (command != help::HH_DISPLAY_TOC && command != help::HH_DISPLAY_INDEX && command != help::HH_HELP_CONTEXT)
    return 0;
  if (!file || !*file) return 0;
  std::string chmPath, inner;
  SplitHelpPath(file, chmPath, inner);
  const bool existed = HelpWindowOf(chmPath) != nullptr;
  THelpWindow* window = OpenWindow(chmPath);
  if (!window) return 0;

  if (command == help::HH_HELP_CONTEXT) {
    const std::string topic = window->File().TopicOfContext(static_cast<uint32_t>(data));
    if (topic.empty()) {
      if (!existed) {
        Windows().erase(chmPath);
        delete window;
      }
      return 0;
    }
    window->ShowTopic(topic);
  } else if (command == help::HH_DISPLAY_INDEX) {
    window->ShowIndex(data ? FromCp1250(reinterpret_cast<const char*>(data)) : QString());
  } else {
    if (!inner.empty()) window->ShowTopic(window->File().ObjectPath(inner));
    window->ShowContents();
  }
  window->Present();
  return reinterpret_cast<help::THelpWindow>(static_cast<QWidget*>(window));
}

}  // namespace

}  // namespace hxviewer

// The library's one entry point. Nothing may leave it as an exception.
extern "C" __attribute__((visibility("default"))) help::THelpWindow HtmlHelpA(help::THelpWindow caller,
                                                                              const char* file, uint32_t command,
                                                                              uintptr_t data) {
  (void)caller;
  try {
    return hxviewer::Dispatch(file, command, data);
  } catch (...) {
    return 0;
  }
}

// Why the last call showed nothing, and the file that concerns.
extern "C" __attribute__((visibility("default"))) int32_t HtmlHelpFailure(const char** file) {
  const hxviewer::TFailure& failure = hxviewer::LastFailure();
  if (file) *file = failure.File.c_str();
  return static_cast<int32_t>(failure.Reason);
}
