// "What's this?" help as the program carries it on the main menu: F1 on every
// focusable control of every screen, Shift+F1 and a click, and the popup
// "Co je to?" on a right-click.
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QWindow>
#include <cstdlib>

#include "help/whatsthis/hxwhatsthis.h"
#include "support/ScreenFixture.h"

using namespace toolkit;

namespace {

struct THelpCall {
  uint16_t Command;
  int32_t Data;
};

class WhatsThis : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    Start({MakeTest("Zem\xECpis", 3)});
    Application()->SetOnHelp([this](uint16_t command, int32_t data, bool& callHelp) {
      calls.push_back({command, data});
      callHelp = false;
      return true;
    });
  }

  static void Settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  }

  // The number the search finds: the control's own, else its parents' up to the form's.
  static int32_t ExpectedContext(const QWidget* w) {
    for (; w; w = w->parentWidget()) {
      const int32_t ctx = w->property("HelpContext").toInt();
      if (ctx != 0) return ctx;
    }
    return 0;
  }

  std::vector<THelpCall> calls;
};

TEST_F(WhatsThis, TheMainMenuCarriesTheComponentWithItsValues) {
  help::TWhatsThis* w = fMenu->WhatsThis1;
  EXPECT_TRUE(w->Active());
  EXPECT_TRUE(w->Hooked());
  EXPECT_EQ(help::TWhatsThis::CurrentInstance(), w);
  EXPECT_EQ(w->HelpContextMap(), fMenu->HelpContextMap1);
  EXPECT_EQ(w->F1Action(), help::goContext);
  EXPECT_EQ(w->Options(), 0x2E);
  EXPECT_EQ(w->PopupCaption(), "Co je to?");
  EXPECT_EQ(w->PopupHelpContext(), 0);
  EXPECT_EQ(fMenu->HelpContextMap1->FileName(), "");
  EXPECT_EQ(fMenu->HelpContextMap1->RecordCount(), 0u);
}

TEST_F(WhatsThis, F1OnEveryScreenShowsTheFocusedControlsHelp) {
  int checked = 0;
  std::vector<std::string> screens;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    auto* form = qobject_cast<TForm*>(top);
    if (!form) continue;
    screens.push_back(form->objectName().toStdString());
    Open(form);
    Settle();
    for (QWidget* w : form->findChildren<QWidget*>()) {
      if (!w->property("HelpContext").isValid() || w->focusPolicy() == Qt::NoFocus || !w->isVisible() ||
          !w->isEnabled())
        continue;
      w->setFocus();
      if (QApplication::focusWidget() != w) continue;
      calls.clear();
      QTest::keyClick(form->windowHandle(), Qt::Key_F1);
      Settle();
      const int32_t expected = ExpectedContext(w);
      ASSERT_FALSE(calls.empty()) << form->objectName().toStdString() << "." << w->objectName().toStdString();
      EXPECT_EQ(calls.back().Command, expected < 0 ? HELP_CONTEXT : HELP_CONTEXTPOPUP) << w->objectName().toStdString();
      EXPECT_EQ(calls.back().Data, std::abs(expected)) << w->objectName().toStdString();
      ++checked;
    }
    form->hide();
    Settle();
  }
  EXPECT_GE(screens.size(), 7u);
  EXPECT_GT(checked, 40);
}

TEST_F(WhatsThis, ShiftF1AndAClickOnAMenuButtonShowItsHelpWithoutRunningIt) {
  Open(fMenu);
  Settle();
  QWindow* window = fMenu->windowHandle();
  QTest::keyClick(window, Qt::Key_F1, Qt::ShiftModifier);
  Settle();
  ASSERT_EQ(fMenu->WhatsThis1->HelpMode(), help::hmContextMode);
  QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, fMenu->bKonec->geometry().center());
  Settle();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back().Command, HELP_CONTEXTPOPUP);
  EXPECT_EQ(calls.back().Data, 1011);
  EXPECT_TRUE(fMenu->isVisible()) << "Konec did not run";
}

TEST_F(WhatsThis, ARightClickOnAMenuButtonOffersCoJeTo) {
  Open(fMenu);
  Settle();
  QTest::mouseClick(fMenu->windowHandle(), Qt::RightButton, Qt::NoModifier, fMenu->bSpustitTest->geometry().center());
  Settle();
  QMenu* menu = fMenu->WhatsThis1->PopupMenu()->Handle();
  ASSERT_TRUE(menu->isVisible());
  ASSERT_EQ(menu->actions().size(), 1);
  EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("Co je to?"));
  const QPoint entry = menu->actionGeometry(menu->actions()[0]).center();
  QTest::mouseMove(menu->windowHandle(), entry);
  QTest::mouseClick(menu->windowHandle(), Qt::LeftButton, Qt::NoModifier, entry);
  Settle();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].Command, HELP_SETPOPUP_POS);
  EXPECT_EQ(calls[1].Command, HELP_CONTEXTPOPUP);
  EXPECT_EQ(calls[1].Data, 1001);
  EXPECT_TRUE(TForm::ShownModals().empty()) << "the run did not start";
}

}  // namespace
