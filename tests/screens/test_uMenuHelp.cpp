// The main menu's help: the router it carries, its help button opening Zorvik's
// real help file, F1 requests reaching their topics and popups over modal screens.
#include <QLabel>
#include <cstdio>
#include <functional>
#include <QPushButton>
#include <QTextBrowser>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTreeWidget>
#include <QWindow>

#include "support/ScreenFixture.h"
#include "help/hxhhapi.h"
#include "screens/uNTest.h"
#include "screens/uUpravitT.h"

using namespace toolkit;

namespace {

class MenuHelp : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    const std::string bin = testsupport::BinDir();
    help::SetHtmlHelpLibraryPath(bin + help::kHtmlHelpLibrary);
    testsupport::WriteBytes(dir.File("Zorvik.chm"), testsupport::ReadBytes(bin + "Zorvik.chm"));
  }
  void TearDown() override {
    ScreenTest::TearDown();
    help::SetHtmlHelpLibraryPath("");
  }

  static QWidget* Shown(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName() == QLatin1String(name) && w->isVisible()) return w;
    return nullptr;
  }
  static QString TopicShown() {
    QWidget* window = Shown("HelpWindow");
    return window ? window->findChild<QTextBrowser*>(QStringLiteral("Topic"))->source().path() : QString();
  }
  static int32_t Pack(int x, int y) { return static_cast<int32_t>(uint32_t(y) << 16 | (uint32_t(x) & 0xFFFF)); }
};

// Counts the repeats of a held F1 that reach the control it watches.
class RepeatCounter : public QObject {
 public:
  int repeats = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_F1 && key->isAutoRepeat()) ++repeats;
    }
    return false;
  }
};

}  // namespace

TEST_F(MenuHelp, TheRouterTakesTheHelpFileBesideTheProgram) {
  Start();
  ASSERT_TRUE(fMenu->HelpRouter1);
  EXPECT_EQ(fMenu->HelpRouter1->Name(), "HelpRouter1");
  EXPECT_EQ(fMenu->HelpRouter1->HelpType(), help::THelpType::htHTMLhelp);
  EXPECT_EQ(fMenu->HelpRouter1->CHMPopupTopics, "connect.txt");
  EXPECT_EQ(fMenu->HelpRouter1->Helpfile, dir.File("Zorvik.chm"));
  EXPECT_EQ(help::THelpRouter::Registered(), fMenu->HelpRouter1.get());
}

TEST_F(MenuHelp, TheHelpButtonOpensTheContentsOfZorviksHelp) {
  Start();
  Click(fMenu->bNapoveda);
  QWidget* window = Shown("HelpWindow");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(), QString::fromUtf8("Nápověda programu Zorvik"));
  auto* tree = window->findChild<QTreeWidget*>(QStringLiteral("Contents"));
  ASSERT_GT(tree->topLevelItemCount(), 5);
  EXPECT_EQ(tree->topLevelItem(2)->text(0), QString::fromUtf8("Hlavní menu"));
  EXPECT_EQ(TopicShown(), QStringLiteral("/index.htm"));
  EXPECT_TRUE(window->findChild<QTextBrowser*>(QStringLiteral("Topic"))
                  ->toPlainText()
                  .contains(QString::fromUtf8("testem s výběrem odpovědí")));

  // The menu going away closes the help with it.
  DestroyScreens();
  EXPECT_EQ(Shown("HelpWindow"), nullptr);
}

TEST_F(MenuHelp, HelpRequestsReachTheirTopics) {
  Start();
  EXPECT_TRUE(Application()->HelpCommand(HELP_CONTEXT, 1005));
  EXPECT_EQ(TopicShown(), QStringLiteral("/k1005.htm"));
  EXPECT_TRUE(Application()->HelpCommand(HELP_CONTEXT, 1030));
  EXPECT_EQ(TopicShown(), QStringLiteral("/k1030.htm"));
  EXPECT_FALSE(Application()->HelpCommand(HELP_CONTEXT, 999));
}

TEST_F(MenuHelp, APopupOverAModalScreenShowsItsTextAndCloses) {
  Start();
  QString text;
  QPoint at;
  bool closed = false;
  TForm::QueueModal([&](TForm&) {
    Application()->HelpCommand(HELP_SETPOPUP_POS, Pack(60, 70));
    Application()->HelpCommand(HELP_CONTEXTPOPUP, 1021);
    QWidget* popup = Shown("HelpPopup");
    ASSERT_NE(popup, nullptr);
    text = popup->findChild<QLabel*>(QStringLiteral("PopupText"))->text();
    at = popup->pos();
    QTest::mouseClick(popup, Qt::LeftButton);
    QApplication::processEvents();
    closed = Shown("HelpPopup") == nullptr;
  });
  Click(fMenu->bVlastnostiTestu);
  EXPECT_TRUE(text.startsWith(QString::fromUtf8("Jméno testu\nNázev testu"))) << text.toStdString();
  EXPECT_EQ(at, QPoint(60, 70));
  EXPECT_TRUE(closed);
}

// A help request that cannot be served says why, once, naming the file.
TEST_F(MenuHelp, AFailedHelpRequestSaysWhetherTheFileIsMissingOrDamaged) {
  const std::string chm = dir.File("Zorvik.chm");
  const std::string good = testsupport::ReadBytes(chm);
  Start();
  auto boxAfter = [&](const std::function<void()>& request) {
    MessageBoxes::Clear();
    request();
    QApplication::processEvents();
    EXPECT_EQ(Shown("HelpWindow"), nullptr);
    EXPECT_EQ(Shown("HelpPopup"), nullptr);
    if (Boxes().size() != 1) return std::string("boxes: ") + std::to_string(Boxes().size());
    EXPECT_EQ(Boxes()[0].Caption, Cp1250("Nápověda"));
    return Boxes()[0].Text;
  };
  const std::string missing = Cp1250("Soubor nápovědy nebyl nalezen:\n") + chm;
  const std::string damaged = Cp1250("Soubor nápovědy je poškozený nebo jej nelze přečíst:\n") + chm;

  std::remove(chm.c_str());
  EXPECT_EQ(boxAfter([&] { Click(fMenu->bNapoveda); }), missing);
  for (const std::string& bytes : {std::string(), good.substr(0, good.size() / 2)}) {
    testsupport::WriteBytes(chm, bytes);
    EXPECT_EQ(boxAfter([&] { Click(fMenu->bNapoveda); }), damaged) << bytes.size();
    // A control's popup, as F1 asks for it: one request, one box.
    EXPECT_EQ(boxAfter([&] {
                Application()->HelpCommand(HELP_SETPOPUP_POS, Pack(60, 70));
                Application()->HelpCommand(HELP_CONTEXTPOPUP, 1021);
              }),
              damaged);
    // F1 pressed on a control of the menu: one box, and no popup claiming
    // the control has no help.
    Open(fMenu);
    QApplication::processEvents();
    EXPECT_EQ(boxAfter([&] {
                fMenu->bVlastnostiTestu->setFocus();
                QTest::keyClick(fMenu->windowHandle(), Qt::Key_F1);
              }),
              damaged);
  }

  // A sound file without a topic for the number is no failure to report.
  testsupport::WriteBytes(chm, good);
  MessageBoxes::Clear();
  EXPECT_FALSE(Application()->HelpCommand(HELP_CONTEXT, 999));
  QApplication::processEvents();
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(MenuHelp, WithoutTheViewerOrItsReaderTheHelpButtonSaysSo) {
  // The viewer's library alone, without the reader program beside it.
  const std::string alone = dir.File("viewer/") + help::kHtmlHelpLibrary;
  std::system(("mkdir -p '" + dir.File("viewer") + "'").c_str());
  testsupport::WriteBytes(alone, testsupport::ReadBytes(testsupport::BinDir() + help::kHtmlHelpLibrary));
  const std::string none = dir.File("none.so");
  for (const auto& [library, missingPart] : {std::pair{none, none}, std::pair{alone, dir.File("viewer/hxchmread")}}) {
    help::SetHtmlHelpLibraryPath(library);
    help::ResetHtmlHelp();
    Start();
    MessageBoxes::Clear();
    Click(fMenu->bNapoveda);
    QApplication::processEvents();
    EXPECT_EQ(Shown("HelpWindow"), nullptr);
    ASSERT_EQ(Boxes().size(), 1u) << library;
    EXPECT_EQ(Boxes()[0].Text, Cp1250("Prohlížeč nápovědy nelze spustit, chybí jeho soubor:\n") + missingPart);
    // The program ending closes the help without a word.
    MessageBoxes::Clear();
    DestroyScreens();
    QApplication::processEvents();
    EXPECT_TRUE(Boxes().empty()) << library;
  }
  help::ResetHtmlHelp();
}

// A popup closes on the first key or click, and that key or click goes on to
// where it was aimed; a held F1 leaves the popup standing.
TEST_F(MenuHelp, TheKeyOrClickThatClosesAPopupIsNotLost) {
  Start({MakeTest("Pokus", 3)});
  std::string typed;
  bool popupShown = false;
  TForm::QueueModal([&](TForm& form) {
    QWindow* window = form.windowHandle();
    fUpravitT->eOtazka->setFocus();
    fUpravitT->eOtazka->setText(QString());
    for (const char c : {'a', 'b', 'c'}) QTest::keyClick(window, c);
    QTest::keyClick(window, Qt::Key_F1);
    QApplication::processEvents();
    popupShown = Shown("HelpPopup") != nullptr;
    for (const char c : {'d', 'e', 'f'}) QTest::keyClick(window, c);
    QApplication::processEvents();
    typed = fUpravitT->eOtazka->text().toStdString();
  });
  Click(fMenu->bUpravitTest);
  EXPECT_TRUE(popupShown);
  EXPECT_EQ(typed, "abcdef");
  EXPECT_EQ(Shown("HelpPopup"), nullptr);

  // F1 on a menu button, held down: its repeats leave the popup standing and
  // go on to the button.
  Open(fMenu);
  QApplication::processEvents();
  QWindow* menu = fMenu->windowHandle();
  fMenu->bVlastnostiTestu->setFocus();
  RepeatCounter counter;
  fMenu->bVlastnostiTestu->installEventFilter(&counter);
  QTest::keyPress(menu, Qt::Key_F1);
  QApplication::processEvents();
  ASSERT_NE(Shown("HelpPopup"), nullptr);
  for (int i = 0; i < 5; ++i) {
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(menu, &repeat);
    QApplication::processEvents();
  }
  EXPECT_NE(Shown("HelpPopup"), nullptr) << "the held key closed the popup";
  EXPECT_EQ(counter.repeats, 5);
  fMenu->bVlastnostiTestu->removeEventFilter(&counter);
  QTest::keyRelease(menu, Qt::Key_F1);

  // A click on "Informace" with the popup open closes it and opens the screen.
  QTest::keyClick(menu, Qt::Key_F1);
  QApplication::processEvents();
  ASSERT_NE(Shown("HelpPopup"), nullptr);
  TForm::ClearModals();
  TForm::QueueModal([](TForm&) {});
  QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, fMenu->bInfo->geometry().center());
  QApplication::processEvents();
  EXPECT_EQ(Shown("HelpPopup"), nullptr);
  EXPECT_EQ(TForm::ShownModals(), std::vector<std::string>{"fMain"});

  // Escape is the popup's: the password prompt under it, which Esc cancels, stays open.
  CurrentTest.PasswordRequired = true;
  CurrentTest.EditPassword = "heslo";
  TForm::ClearModals();
  bool stayed = false;
  TForm::QueueModal([&](TForm& form) {
    QTest::keyClick(form.windowHandle(), Qt::Key_F1);
    QApplication::processEvents();
    if (!Shown("HelpPopup")) return;
    QTest::keyClick(form.windowHandle(), Qt::Key_Escape);
    QApplication::processEvents();
    stayed = !Shown("HelpPopup") && form.isVisible();
  });
  Click(fMenu->bUpravitTest);
  EXPECT_EQ(TForm::ShownModals(), std::vector<std::string>{"fZHeslo"});
  EXPECT_TRUE(stayed);
}

// The help window: the entry clicked is the one selected, the index stands in
// Czech order, and its search needs neither accents nor capitals.
TEST_F(MenuHelp, TheHelpWindowSelectsWhatIsClickedAndSearchesTheIndexInCzech) {
  Start();
  Click(fMenu->bNapoveda);
  QWidget* window = Shown("HelpWindow");
  ASSERT_NE(window, nullptr);
  auto* tree = window->findChild<QTreeWidget*>(QStringLiteral("Contents"));
  for (const char* name : {"Vlastnosti testu", "Tisk testu", "Nastavení"}) {
    const auto found = tree->findItems(QString::fromUtf8(name), Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1) << name;
    QTreeWidgetItem* entry = found[0];
    ASSERT_NE(entry->parent(), nullptr) << name;
    tree->scrollToItem(entry);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(entry).center());
    EXPECT_EQ(tree->currentItem(), entry) << name << " selected " << tree->currentItem()->text(0).toStdString();
    EXPECT_EQ(TopicShown(), entry->data(0, Qt::UserRole).toString()) << name;
  }

  window->findChild<QTabWidget*>(QStringLiteral("Tabs"))->setCurrentIndex(1);
  auto* index = window->findChild<QListWidget*>(QStringLiteral("Index"));
  QStringList names;
  for (int row = 0; row < index->count(); ++row) names << index->item(row)->text();
  auto before = [&](const char* a, const char* b) {
    return names.indexOf(QString::fromUtf8(a)) >= 0 &&
           names.indexOf(QString::fromUtf8(a)) < names.indexOf(QString::fromUtf8(b));
  };
  EXPECT_TRUE(before("Co je to?", "Čas na otázku")) << names.join(QStringLiteral(", ")).toStdString();
  EXPECT_TRUE(before("Čas na otázku", "Dokončit test"));
  EXPECT_TRUE(before("Kódování testu", "Kombinační test"));

  auto* keyword = window->findChild<QLineEdit*>(QStringLiteral("IndexKeyword"));
  for (const auto& [typed, found] :
       {std::pair{"cas", "Čas na otázku"}, std::pair{"KODOV", "Kódování testu"}, std::pair{"zname", "Známka"}}) {
    keyword->clear();
    QTest::keyClicks(keyword, QString::fromUtf8(typed));
    ASSERT_NE(index->currentItem(), nullptr) << typed;
    EXPECT_EQ(index->currentItem()->text(), QString::fromUtf8(found)) << typed;
  }
}
