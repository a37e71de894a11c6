// The drop-down list, the page control and the folder tree: what is
// selected after the program fills or sets them, and what the user's
// clicks select.
#include <QFileSystemModel>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

#include "support/TestSupport.h"
#include "platform/errors.h"
#include "toolkit/Toolkit.h"

using namespace toolkit;
using testsupport::TempDir;

namespace {

// The temporary folder as the tree names it: without the trailing '/'.
std::string Folder(const TempDir& dir, const std::string& rel = "") {
  std::string p = dir.Path() + rel;
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  return p;
}

TEST(ComboBox, FillingLeavesNothingSelectedAndTheProgramsChoiceRunsNoHandler) {
  TForm form("fForm");
  auto* cb = new TComboBox(&form, "cbJazyky");
  int changes = 0;
  cb->OnChange = [&] { ++changes; };
  cb->AddItem(
      "\xC8"
      "esky");
  EXPECT_EQ(cb->ItemIndex(), -1);  // Qt would pick the first item of an empty box
  EXPECT_EQ(cb->Text(), "");
  cb->SetItems(
      {"\xC8"
       "esky",
       "English", "Sloven\xE8ina"});
  EXPECT_EQ(cb->ItemCount(), 3);
  EXPECT_EQ(cb->ItemIndex(), -1);
  EXPECT_EQ(cb->Item(2), "Sloven\xE8ina");
  cb->SetItemIndex(1);
  EXPECT_EQ(cb->Text(), "English");
  cb->AddItem("Deutsch");
  EXPECT_EQ(cb->ItemIndex(), 1);
  cb->SetItemIndex(7);
  EXPECT_EQ(cb->ItemIndex(), -1);
  cb->SetItems({"English"});
  EXPECT_EQ(cb->ItemIndex(), -1);
  EXPECT_EQ(changes, 0);
  EXPECT_FALSE(cb->isEditable());

  // The user's pick runs the handler.
  cb->SetItems({"A", "B"});
  form.show();
  cb->setFocus();
  QTest::keyClick(cb, Qt::Key_Down);
  EXPECT_EQ(cb->Text(), "A");
  EXPECT_EQ(changes, 1);
}

TEST(PageControl, PagesTakeTheirPlaceAndTheActiveOneStaysAsLeft) {
  TForm form("fForm");
  auto* pc = new TPageControl(&form, "pcNastaveni");
  auto* first = new TTabSheet(pc, "tsZakladni");
  auto* second = new TTabSheet(pc, "tsSoubory");
  first->SetCaption("Z\xE1kladn\xED");
  second->SetCaption("Soubory");
  EXPECT_EQ(pc->PageCount(), 2);
  EXPECT_EQ(pc->ActivePage(), first);
  EXPECT_EQ(second->PageIndex(), 1);
  EXPECT_EQ(first->Caption(), "Z\xE1kladn\xED");
  EXPECT_EQ(pc->tabText(0), QString::fromUtf8("Základní"));
  int changes = 0;
  pc->OnChange = [&] { ++changes; };
  form.show();
  QTest::mouseClick(pc->tabBar(), Qt::LeftButton, {}, pc->tabBar()->tabRect(1).center());
  EXPECT_EQ(pc->ActivePage(), second);
  EXPECT_EQ(changes, 1);
  form.hide();
  form.show();
  EXPECT_EQ(pc->ActivePageIndex(), 1);
  pc->SetActivePageIndex(5);
  EXPECT_EQ(pc->ActivePage(), second);
  pc->SetActivePage(first);
  EXPECT_EQ(pc->ActivePageIndex(), 0);
}

class FolderTree : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir.File("Testy/Fyzika"));
    std::filesystem::create_directories(dir.File(".skryta/uvnitr"));
    testsupport::WriteBytes(dir.File("Testy/test.sst"), "x");
    tree = new TShellTreeView(&form, "ShellTreeView1");
    tree->SetBounds(0, 0, 240, 300);
  }
  TempDir dir;
  TForm form{"fForm"};
  TShellTreeView* tree = nullptr;
};

TEST_F(FolderTree, ShowsFoldersOnlyFromTheRootWithoutTopLevelDecoration) {
  auto* model = qobject_cast<QFileSystemModel*>(tree->model());
  ASSERT_NE(model, nullptr);
  EXPECT_FALSE(tree->rootIsDecorated());
  EXPECT_EQ(tree->indentation(), 19);
  EXPECT_TRUE(tree->isHeaderHidden());
  EXPECT_EQ(tree->contextMenuPolicy(), Qt::NoContextMenu);
  const QModelIndex root = model->index(QStringLiteral("/"));
  EXPECT_FALSE(root.parent().isValid());
  EXPECT_TRUE(tree->isExpanded(root));
  EXPECT_FALSE(model->filter() & QDir::Files);
  EXPECT_FALSE(model->filter() & QDir::Hidden);
  EXPECT_EQ(tree->Path(), "");
}

TEST_F(FolderTree, APathSelectsItsFolderOrTheNearestShownOneAbove) {
  tree->SetPath(dir.File("Testy/Fyzika"));
  EXPECT_EQ(tree->Path(), Folder(dir, "Testy/Fyzika"));
  EXPECT_TRUE(tree->isExpanded(tree->currentIndex().parent()));
  // A trailing separator or a detour gives the same folder.
  tree->SetPath(dir.File("Testy/Fyzika/../Fyzika/"));
  EXPECT_EQ(tree->Path(), Folder(dir, "Testy/Fyzika"));
  // A file, a folder not yet made, a hidden one: the nearest folder the tree shows.
  tree->SetPath(dir.File("Testy/test.sst"));
  EXPECT_EQ(tree->Path(), Folder(dir, "Testy"));
  tree->SetPath(dir.File("Testy/Chemie/2024"));
  EXPECT_EQ(tree->Path(), Folder(dir, "Testy"));
  tree->SetPath(dir.File(".skryta/uvnitr"));
  EXPECT_EQ(tree->Path(), Folder(dir));
  // Nothing is selected for an empty text.
  tree->SetPath("");
  EXPECT_EQ(tree->Path(), "");
}

TEST_F(FolderTree, ATextThatIsNoPathSelectsNothingAndRaisesTheError) {
  tree->SetPath(dir.File("Testy"));
  try {
    tree->SetPath("Testy\\Fyzika");
    ADD_FAILURE() << "a relative text was taken as a path";
  } catch (const platform::Exception& e) {
    EXPECT_EQ(std::string(e.what()), "Error setting path: \"Testy\\Fyzika\"");
  }
  EXPECT_EQ(tree->Path(), "");
}

TEST_F(FolderTree, ARightPressSelectsTheFolderUnderTheMouse) {
  tree->SetPath(dir.File("Testy/Fyzika"));
  form.show();
  const QModelIndex testy = tree->currentIndex().parent();
  tree->scrollTo(testy);
  const QPoint at = tree->visualRect(testy).center();
  QTest::mousePress(tree->viewport(), Qt::RightButton, {}, at);
  QTest::mouseRelease(tree->viewport(), Qt::RightButton, {}, at);
  EXPECT_EQ(tree->Path(), Folder(dir, "Testy"));
}

TEST_F(FolderTree, ANewFolderOnDiskAppearsWithoutAskingForIt) {
  tree->SetPath(dir.File("Testy"));
  auto* model = qobject_cast<QFileSystemModel*>(tree->model());
  const QModelIndex testy = tree->currentIndex();
  tree->expand(testy);
  // The folder's contents arrive from the file system watcher in the background.
  ASSERT_TRUE(QTest::qWaitFor([&] { return model->rowCount(testy) == 1; }, 10000));
  std::filesystem::create_directories(dir.File("Testy/Dejepis"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return model->rowCount(testy) == 2; }, 10000));
}

}  // namespace
