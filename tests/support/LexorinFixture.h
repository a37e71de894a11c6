#pragma once
// Lexorin's window on the offscreen platform, in a program directory of its
// own, driven as a translator drives it: by clicking and typing.

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

#include "support/TestSupport.h"
#include "toolkit/Toolkit.h"
#include "platform/appdir.h"
#include "langedit/uMain.h"

class LexorinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetProgramDir(dir_.Path());
    toolkit::MessageBoxes::Clear();
    form_ = std::make_unique<TForm1>();
    form_->FormCreate();
    form_->show();
    QApplication::setActiveWindow(form_.get());
  }
  void TearDown() override {
    form_.reset();
    platform::SetProgramDir("");
  }

  std::string TablePath() const { return dir_.File("jazyk.ini"); }
  std::string Table() const { return testsupport::ReadBytes(TablePath()); }
  void SetTable(const std::string& bytes) const { testsupport::WriteBytes(TablePath(), bytes); }

  toolkit::TStringGrid& Grid() const { return *form_->findChild<toolkit::TStringGrid*>(QStringLiteral("StringGrid1")); }

  void Click(const char* button) const {
    auto* b = form_->findChild<toolkit::TButton*>(QString::fromLatin1(button));
    ASSERT_NE(b, nullptr) << button;
    QTest::mouseClick(b, Qt::LeftButton);
  }

  void ClickCell(int col, int row) const {
    toolkit::TStringGrid& g = Grid();
    g.scrollTo(g.model()->index(row, col));
    const QRect cell = g.visualRect(g.model()->index(row, col));
    ASSERT_TRUE(g.viewport()->rect().contains(cell.center())) << "cell " << col << "," << row;
    QTest::mouseClick(g.viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
  }

  // Types the text into the cell over what it held, as from a keyboard
  // layout. Enter confirms it; without Enter the editor stays open.
  void TypeIntoCell(int col, int row, const QString& text, bool enter = true) const {
    // A click on the current cell would only arm the grid's slow second click.
    if (Grid().Col() != col || Grid().Row() != row) ClickCell(col, row);
    Grid().setFocus();
    QTest::keyClick(&Grid(), Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr) << "no cell editor at " << col << "," << row;
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Delete);
    for (const QChar ch : text) {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
      QApplication::sendEvent(editor, &press);
    }
    if (enter) QTest::keyClick(editor, Qt::Key_Return);
  }

  void TypeLanguageName(const QString& name) const {
    auto* e = form_->findChild<toolkit::TEdit*>(QStringLiteral("Edit1"));
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Delete);
    QTest::keyClicks(e, name);
  }

  // The row of a key in column 0, or -1.
  int RowOf(const std::string& key) const {
    for (int r = 1; r < Grid().RowCount(); ++r)
      if (Grid().Cells(0, r) == key) return r;
    return -1;
  }

  testsupport::TempDir dir_;
  std::unique_ptr<TForm1> form_;
};
