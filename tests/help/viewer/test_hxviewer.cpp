// The help viewer library through its entry point, as the router calls it:
// contents, topics by context number, the index, popups, closing, bad files,
// and its windows taking input while a modal screen is open.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "help/hxhhapi.h"
#include "help/viewer/SmallHelp.h"

using namespace help;

namespace {

class Viewer : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir = new testsupport::TempDir;
    chm = smallhelp::Compile(*dir);
    SetHtmlHelpLibraryPath(testsupport::BinDir() + kHtmlHelpLibrary);
  }
  static void TearDownTestSuite() { delete dir; }
  void SetUp() override {
    ASSERT_FALSE(chm.empty()) << "chmcmd did not compile the small help";
    ASSERT_TRUE(HtmlHelpAvailable());
  }
  void TearDown() override { Call(nullptr, HH_CLOSE_ALL, 0); }

  static THelpWindow Call(const char* file, uint32_t command, uintptr_t data, THelpWindow caller = 0) {
    return HtmlHelpEntry()(caller, file, command, data);
  }
  static QWidget* Window(THelpWindow handle) { return reinterpret_cast<QWidget*>(handle); }
  static QTextBrowser* Topic(QWidget* window) { return window->findChild<QTextBrowser*>(QStringLiteral("Topic")); }
  static QWidget* PopupShown() {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName() == QLatin1String("HelpPopup") && w->isVisible()) return w;
    return nullptr;
  }
  static int HelpWindowsShown() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName() == QLatin1String("HelpWindow") && w->isVisible()) ++n;
    return n;
  }

  static testsupport::TempDir* dir;
  static std::string chm;
};
testsupport::TempDir* Viewer::dir = nullptr;
std::string Viewer::chm;

}  // namespace

TEST_F(Viewer, ContentsWindowShowsTheTreeAndTheDefaultTopic) {
  const THelpWindow handle = Call(chm.c_str(), HH_DISPLAY_TOC, 0);
  ASSERT_NE(handle, 0u);
  QWidget* window = Window(handle);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->windowTitle(), QString::fromUtf8("Malá nápověda"));
  auto* tree = window->findChild<QTreeWidget*>(QStringLiteral("Contents"));
  ASSERT_NE(tree, nullptr);
  ASSERT_EQ(tree->topLevelItemCount(), 2);
  EXPECT_EQ(tree->topLevelItem(0)->text(0), QStringLiteral("A & spol."));
  EXPECT_EQ(tree->topLevelItem(0)->child(0)->text(0), QStringLiteral("B"));
  EXPECT_EQ(Topic(window)->source().path(), QStringLiteral("/a.htm"));
  EXPECT_TRUE(Topic(window)->toPlainText().contains(QString::fromUtf8("Stránka A")));

  // A click in the tree shows its page; a link there leads on, a picture comes from the file.
  QTreeWidgetItem* b = tree->topLevelItem(0)->child(0);
  tree->scrollToItem(b);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(b).center());
  EXPECT_EQ(Topic(window)->source().path(), QStringLiteral("/sub/b.htm"));
  EXPECT_EQ(Topic(window)->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("chm:/sub/pic.png"))),
            QVariant(QByteArray::fromStdString(smallhelp::kPicture)));
  emit Topic(window)->anchorClicked(QUrl(QStringLiteral("../c.htm")));
  EXPECT_EQ(Topic(window)->source().path(), QStringLiteral("/c.htm"));
  EXPECT_TRUE(Topic(window)->toPlainText().contains(QString::fromUtf8("Žluťoučký kůň")));  // a code page 1250 page

  // The same file again: the same window.
  EXPECT_EQ(Call(chm.c_str(), HH_DISPLAY_TOC, 0), handle);
}

TEST_F(Viewer, ContextNumbersOpenTheirTopics) {
  const THelpWindow handle = Call(chm.c_str(), HH_HELP_CONTEXT, 1006);
  ASSERT_NE(handle, 0u);
  EXPECT_EQ(Topic(Window(handle))->source().path(), QStringLiteral("/sub/b.htm"));
  auto* tree = Window(handle)->findChild<QTreeWidget*>(QStringLiteral("Contents"));
  EXPECT_EQ(tree->currentItem()->text(0), QStringLiteral("B"));
  EXPECT_EQ(Call(chm.c_str(), HH_HELP_CONTEXT, 4242), 0u);  // no such context
}

TEST_F(Viewer, IndexOpensAtItsTopAndFindsKeywords) {
  const THelpWindow handle = Call(chm.c_str(), HH_DISPLAY_INDEX, 0);
  ASSERT_NE(handle, 0u);
  auto* index = Window(handle)->findChild<QListWidget*>(QStringLiteral("Index"));
  ASSERT_NE(index, nullptr);
  EXPECT_TRUE(index->isVisible());
  ASSERT_EQ(index->count(), 2);
  EXPECT_EQ(index->currentRow(), 0);
  auto* keyword = Window(handle)->findChild<QLineEdit*>(QStringLiteral("IndexKeyword"));
  QTest::keyClicks(keyword, QStringLiteral("be"));
  EXPECT_EQ(index->currentItem()->text(), QStringLiteral("beta"));
  QTest::keyClick(keyword, Qt::Key_Return);
  EXPECT_EQ(Topic(Window(handle))->source().path(), QStringLiteral("/sub/b.htm"));
}

TEST_F(Viewer, PopupsFromTheTopicFileOrGivenText) {
  THHPopup popup;
  popup.idString = 1005;
  popup.pt = {40, 50};
  const std::string topics = chm + "::/popups.txt";
  const THelpWindow handle = Call(topics.c_str(), HH_DISPLAY_TEXT_POPUP, reinterpret_cast<uintptr_t>(&popup));
  ASSERT_NE(handle, 0u);
  QWidget* shown = PopupShown();
  ASSERT_EQ(shown, Window(handle));
  EXPECT_EQ(shown->findChild<QLabel*>(QStringLiteral("PopupText"))->text(),
            QStringLiteral("Text of 1005\nsecond line"));
  EXPECT_EQ(shown->pos(), QPoint(40, 50));
  QTest::mouseClick(shown, Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_EQ(PopupShown(), nullptr);

  // A context without text shows that there is none, never an empty window; a key closes it.
  popup.idString = 1007;
  ASSERT_NE(Call(topics.c_str(), HH_DISPLAY_TEXT_POPUP, reinterpret_cast<uintptr_t>(&popup)), 0u);
  ASSERT_NE(PopupShown(), nullptr);
  EXPECT_EQ(PopupShown()->findChild<QLabel*>(QStringLiteral("PopupText"))->text(),
            QString::fromUtf8("K této položce není k dispozici žádná nápověda."));
  QTest::keyClick(PopupShown(), Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_EQ(PopupShown(), nullptr);

  // Given text, in code page 1250, with no file.
  popup.idString = 0;
  popup.pszText = "\x8Elut\xFD";
  ASSERT_NE(Call(nullptr, HH_DISPLAY_TEXT_POPUP, reinterpret_cast<uintptr_t>(&popup)), 0u);
  EXPECT_EQ(PopupShown()->findChild<QLabel*>(QStringLiteral("PopupText"))->text(), QString::fromUtf8("Žlutý"));
}

TEST_F(Viewer, ARecordOfTheWrongSizeOrNoneIsRefused) {
  THHPopup popup;
  popup.pszText = "x";
  popup.cbStruct = 52;
  EXPECT_EQ(Call(nullptr, HH_DISPLAY_TEXT_POPUP, reinterpret_cast<uintptr_t>(&popup)), 0u);
  EXPECT_EQ(Call(nullptr, HH_DISPLAY_TEXT_POPUP, 0), 0u);
  EXPECT_EQ(PopupShown(), nullptr);
}

TEST_F(Viewer, CloseAllClosesEveryWindow) {
  ASSERT_NE(Call(chm.c_str(), HH_DISPLAY_TOC, 0), 0u);
  THHPopup popup;
  popup.pszText = "x";
  ASSERT_NE(Call(nullptr, HH_DISPLAY_TEXT_POPUP, reinterpret_cast<uintptr_t>(&popup)), 0u);
  EXPECT_EQ(HelpWindowsShown(), 1);
  EXPECT_NE(Call(nullptr, HH_CLOSE_ALL, 0), 0u);
  EXPECT_EQ(HelpWindowsShown(), 0);
  EXPECT_EQ(PopupShown(), nullptr);
}

TEST_F(Viewer, MissingAndDamagedFilesGiveTheFailureResult) {
  const std::string missing = dir->File("missing.chm");
  EXPECT_EQ(Call(missing.c_str(), HH_DISPLAY_TOC, 0), 0u);
  EXPECT_EQ(Call(missing.c_str(), HH_HELP_CONTEXT, 1005), 0u);
  EXPECT_EQ(Call(nullptr, HH_DISPLAY_TOC, 0), 0u);
  THHPopup popup;
  popup.idString = 1005;
  const std::string missingTopics = missing + "::/popups.txt";
  EXPECT_EQ(Call(missingTopics.c_str(), HH_DISPLAY_TEXT_POPUP, reinterpret_cast<uintptr_t>(&popup)), 0u);

  const std::string bytes = testsupport::ReadBytes(chm);
  const std::string cut = dir->File("cut.chm");
  for (size_t length : {size_t{0}, size_t{100}, bytes.size() / 2}) {
    testsupport::WriteBytes(cut, bytes.substr(0, length));
    EXPECT_EQ(Call(cut.c_str(), HH_DISPLAY_TOC, 0), 0u) << length;  // part of it is gone
    EXPECT_EQ(Call(cut.c_str(), HH_HELP_CONTEXT, 1005), 0u) << length;
    Call(nullptr, HH_CLOSE_ALL, 0);
  }
  EXPECT_EQ(Call(chm.c_str(), 99, 0), 0u);  // a command the viewer does not know
}

TEST_F(Viewer, HelpWindowsTakeInputWhileAModalScreenIsOpen) {
  QDialog modal;
  modal.setObjectName(QStringLiteral("modal"));
  bool clicked = false;
  QTimer::singleShot(0, &modal, [&] {
    // The help is asked for from inside the modal screen, as F1 would.
    const THelpWindow handle = Call(chm.c_str(), HH_HELP_CONTEXT, 1006);
    ASSERT_NE(handle, 0u);
    QWidget* window = Window(handle);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    // Through the window, as the display delivers it: a blocked window would drop it.
    QPushButton* home = window->findChild<QPushButton*>(QStringLiteral("Home"));
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, home->mapTo(window, home->rect().center()));
    clicked = Topic(window)->source().path() == QLatin1String("/a.htm");

    // A popup over the modal screen takes its click as well.
    THHPopup popup;
    popup.pszText = "over the screen";
    Call(nullptr, HH_DISPLAY_TEXT_POPUP, reinterpret_cast<uintptr_t>(&popup), reinterpret_cast<THelpWindow>(&modal));
    QWidget* shown = PopupShown();
    if (shown) QTest::mouseClick(shown->windowHandle(), Qt::LeftButton, {}, QPoint(3, 3));
    QApplication::processEvents();
    EXPECT_EQ(PopupShown(), nullptr);
    modal.accept();
  });
  modal.exec();
  EXPECT_TRUE(clicked) << "the help window was blocked by the modal screen";
}
