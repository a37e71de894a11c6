#pragma once
// The folder tree: the file system's folders only (no files, no hidden
// folders), from the root down, with the platform's folder icons. The root
// stands alone at the top level, open, without a line or button; the user's
// home folder is revealed when the tree is made. The tree follows changes on
// disk by itself, a right press selects the folder under the mouse, and there
// is no context menu.
//
// Path is the full path of the selected folder, or "" when none is selected.
// SetPath selects a folder and opens the folders on the way to it; a path
// naming no folder of the tree (missing, a file, hidden) selects the nearest
// folder above it that the tree shows. "" selects nothing. A text that is no
// path (not absolute) selects nothing and raises "Error setting path: "%s"".
// Paths are code page 1250 path text, as everywhere in the program, so a
// folder whose name the code page cannot hold is named exactly.

#include <QFileIconProvider>
#include <QPersistentModelIndex>
#include <QTreeView>
#include <string>

#include "toolkit/Controls.h"

class QFileSystemModel;

namespace toolkit {

class TShellTreeView : public TControl<QTreeView> {
  Q_OBJECT
 public:
  TShellTreeView(QWidget* parent, const char* name);
  ~TShellTreeView() override;

  std::string Path() const;
  void SetPath(const std::string& path);

  // The folder the tree would select for this text, as a native path; "" for none.
  static QString NearestShownFolder(const QString& path);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void Select(const QString& folder);
  // Keeps the folder the program selected in view while the folders above it
  // are still being read, until the user moves the tree.
  void KeepInView();
  QFileIconProvider icons_;
  QFileSystemModel* model_;
  QPersistentModelIndex keepInView_;
};

}  // namespace toolkit
