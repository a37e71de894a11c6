#pragma once
// The help viewer's windows: one help window per help file (contents, index and
// the topic) and one text popup at a time. The library's entry point hands the
// viewer calls to these; tests and benchmarks may look at them directly.

#include <QFrame>
#include <QPointer>
#include <QTextBrowser>
#include <QWidget>

#include <memory>
#include <string>

#include "help/viewer/hxchm.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace hxviewer {

// Shows the topics of one help file: links inside the file, its pictures and
// style sheets are read from it; other links go to the desktop.
class TTopicBrowser : public QTextBrowser {
  Q_OBJECT

 public:
  TTopicBrowser(const TChmFile& file, QWidget* parent);
  // A topic by its object path ("/a.htm#part").
  void ShowTopic(const std::string& object);
  QVariant loadResource(int type, const QUrl& name) override;

 private:
  void Follow(const QUrl& link);
  const TChmFile& file_;
};

class THelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit THelpWindow(std::unique_ptr<TChmFile> file);
  const TChmFile& File() const { return *file_; }

  void ShowContents();
  void ShowIndex(const QString& keyword);
  void ShowTopic(const std::string& object);
  // The topic shown, as an object path; empty before the first.
  std::string CurrentTopic() const;
  // Brings the window up, usable while a modal screen is open.
  void Present();

  QTabWidget* Tabs() const { return tabs_; }
  QTreeWidget* ContentsTree() const { return contents_; }
  QListWidget* IndexList() const { return index_; }
  QLineEdit* IndexEdit() const { return indexEdit_; }
  TTopicBrowser* Browser() const { return browser_; }

 private:
  void FillContents(QTreeWidgetItem* parent, const std::vector<TSitemapEntry>& entries, int depth);
  void FillIndex(const std::vector<TSitemapEntry>& entries, int level);
  void FilterIndex(const QString& text);
  void OpenIndexItem(QListWidgetItem* item);
  void SelectContentsOf(const std::string& object);
  void ShowDefaultTopic();

  std::unique_ptr<TChmFile> file_;
  QTabWidget* tabs_;
  QTreeWidget* contents_;
  QLineEdit* indexEdit_;
  QListWidget* index_;
  TTopicBrowser* browser_;
  QPushButton* back_;
  QPushButton* forward_;
  QPushButton* home_;
};

// A small frameless window with a text at a screen point. It takes neither the
// focus nor the input: the next key or click anywhere closes it and goes on
// to where it was aimed (Escape only closes it).
class TTextPopup : public QFrame {
  Q_OBJECT

 public:
  TTextPopup(const QString& text, const QFont& font, const QColor& foreground, const QColor& background,
             const QMargins& margins);
  QString Text() const;
  void ShowAt(const QPoint& point);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QLabel* label_;
};

// The open help windows and the popup (tests).
THelpWindow* HelpWindowOf(const std::string& file);
TTextPopup* CurrentPopup();

// What a popup shows for a context the topic file has no text for.
extern const char* const kNoHelpText;

}  // namespace hxviewer
