#include "toolkit/ShellTreeView.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>

#include "platform/errors.h"
#include "toolkit/Text.h"

namespace toolkit {

TShellTreeView::TShellTreeView(QWidget* parent, const char* name) : TControl(parent, name) {
  model_ = new QFileSystemModel(this);
  model_->setFilter(QDir::Dirs | QDir::Drives | QDir::NoDotAndDotDot);
  model_->setReadOnly(true);
  // The desktop's folder icons, or the style's where no icon theme is installed.
  model_->setIconProvider(&icons_);
  // Watching from the root keeps every folder the tree has read up to date.
  model_->setRootPath(QDir::rootPath());
  setModel(model_);
  for (int column = 1; column < model_->columnCount(); ++column) hideColumn(column);
  setHeaderHidden(true);
  setRootIsDecorated(false);
  setIndentation(19);
  setContextMenuPolicy(Qt::NoContextMenu);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  header()->setStretchLastSection(false);
  connect(model_, &QFileSystemModel::directoryLoaded, this, [this] { KeepInView(); });
  connect(model_, &QFileSystemModel::layoutChanged, this, [this] { KeepInView(); });
  connect(verticalScrollBar(), &QScrollBar::sliderPressed, this, [this] { keepInView_ = QPersistentModelIndex(); });

  // The root has no button to open it, so it stands open; home is one look away.
  const QModelIndex root = model_->index(QDir::rootPath());
  expand(root);
  for (QModelIndex i = model_->index(NearestShownFolder(QDir::homePath())); i.isValid() && i != root; i = i.parent())
    expand(i.parent());
}

// The model goes before the icon provider it reads from.
TShellTreeView::~TShellTreeView() { delete model_; }

QString TShellTreeView::NearestShownFolder(const QString& path) {
  if (path.isEmpty() || !QDir::isAbsolutePath(path)) return QString();
  QString candidate = QDir::cleanPath(path);
  for (;;) {
    const QFileInfo info(candidate);
    bool shown = info.isDir();
    // A hidden folder anywhere on the way keeps the tree from showing it.
    for (const QString& part : candidate.split(u'/', Qt::SkipEmptyParts)) {
      if (part.startsWith(u'.')) shown = false;
    }
    if (shown) return candidate;
    if (candidate == QDir::rootPath()) return QString();
    candidate = QFileInfo(candidate).path();
  }
}

std::string TShellTreeView::Path() const {
  const QModelIndexList selected = selectionModel()->selectedRows();
  if (selected.isEmpty()) return std::string();
  return PathFromQ(model_->filePath(selected.first()));
}

void TShellTreeView::SetPath(const std::string& path) {
  const QString text = PathToQ(path);
  if (!text.isEmpty() && !QDir::isAbsolutePath(text)) {
    Select(QString());
    throw platform::Exception("Error setting path: \"" + path + "\"");
  }
  Select(NearestShownFolder(text));
}

void TShellTreeView::Select(const QString& folder) {
  const QModelIndex index = folder.isEmpty() ? QModelIndex() : model_->index(folder);
  if (!index.isValid()) {
    selectionModel()->clearSelection();
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    keepInView_ = QPersistentModelIndex();
    return;
  }
  for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) expand(up);
  selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  keepInView_ = index;
  KeepInView();
}

void TShellTreeView::KeepInView() {
  if (keepInView_.isValid()) scrollTo(keepInView_, QAbstractItemView::PositionAtCenter);
}

void TShellTreeView::showEvent(QShowEvent* event) {
  QTreeView::showEvent(event);
  KeepInView();
}

void TShellTreeView::keyPressEvent(QKeyEvent* event) {
  keepInView_ = QPersistentModelIndex();
  QTreeView::keyPressEvent(event);
}

void TShellTreeView::wheelEvent(QWheelEvent* event) {
  keepInView_ = QPersistentModelIndex();
  QTreeView::wheelEvent(event);
}

void TShellTreeView::mousePressEvent(QMouseEvent* event) {
  keepInView_ = QPersistentModelIndex();
  if (event->button() == Qt::RightButton) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid()) {
      selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    event->accept();
    return;
  }
  QTreeView::mousePressEvent(event);
}

}  // namespace toolkit
