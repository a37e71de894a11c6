// "What's this?" help driven as the user drives it: key and mouse events
// entering through the form's window, the help commands recorded at the
// application's help handler.
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QWhatsThis>
#include <QWindow>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "help/whatsthis/FormComponents.h"
#include "help/whatsthis/hxwhatsthis.h"
#include "help/whatsthis/hxwhatsthis_hooks.h"
#include "toolkit/Toolkit.h"
#include "toolkit/PopupMenu.h"

using namespace toolkit;
using help::TWhatsThis;

namespace {

struct THelpCall {
  uint16_t Command;
  int32_t Data;
  bool operator==(const THelpCall&) const = default;
};

std::ostream& operator<<(std::ostream& os, const THelpCall& c) {
  return os << "{" << c.Command << ", " << c.Data << "}";
}

// The popup position as the help handler reads it back.
QPoint PopupPoint(int32_t data) { return {static_cast<int16_t>(data & 0xFFFF), static_cast<int16_t>(data >> 16)}; }

class WhatsThisTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MessageBoxes::Clear();
    Application()->SetOnHelp([this](uint16_t command, int32_t data, bool& callHelp) {
      calls.push_back({command, data});
      callHelp = false;
      return true;
    });
    form = new TForm("fPokus");
    form->SetClientSize(320, 240);
    form->move(200, 150);
    bA = new TButton(form, "bA");
    bA->SetBounds(10, 10, 100, 25);
    bA->SetHelpContext(1001);
    bA->OnClick = [this] { ++aClicks; };
    eB = new TEdit(form, "eB");
    eB->SetBounds(10, 50, 100, 21);
    eB->SetHelpContext(1002);
    eB->OnKeyDown = [this](int& key, Qt::KeyboardModifiers) {
      if (key == Qt::Key_F1) ++eBF1;
    };
    bNone = new TButton(form, "bNone");
    bNone->SetBounds(10, 90, 100, 25);
    lC = new TLabel(form, "lC");
    lC->SetBounds(130, 50, 60, 13);
    lC->SetCaption("Jm\xE9no:");
    eD = new TEdit(form, "eD");
    eD->SetBounds(200, 50, 100, 21);
    eD->SetHelpContext(1021);
    lC->SetFocusControl(eD);
    bNeg = new TButton(form, "bNeg");
    bNeg->SetBounds(130, 90, 100, 25);
    bNeg->SetHelpContext(-25);
    components = new help::TFormComponents(form, "TfPokus");
    wt = new TWhatsThis(components);
    wt->SetName("WhatsThis1");
    wt->SetPopupCaption("Co je to?");
    wt->AfterLoad();
    form->show();
    QApplication::setActiveWindow(form);
    eB->setFocus();
    Settle();
  }

  void TearDown() override {
    delete form;
    Application()->SetOnHelp(nullptr);
    MessageBoxes::Clear();
  }

  static void Settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  }
  QWindow* Window() const { return form->windowHandle(); }
  QPoint At(QWidget* w) const { return w->mapTo(form, w->rect().center()); }
  QPoint Screen(QWidget* w) const { return w->mapToGlobal(w->rect().center()); }
  void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(Window(), key, mods);
    Settle();
  }
  void Click(QWidget* w, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(Window(), button, Qt::NoModifier, At(w));
    Settle();
  }
  void EnterContextMode() {
    Key(Qt::Key_F1, Qt::ShiftModifier);
    ASSERT_EQ(wt->HelpMode(), help::hmContextMode);
  }
  // The component's popup when it is showing.
  QMenu* OurPopup() const {
    QMenu* menu = wt->PopupMenu()->Handle();
    return menu->isVisible() ? menu : nullptr;
  }
  // Help for a control as a popup at a point: the position, then the context.
  std::vector<THelpCall> PopupHelp(QPoint p, int32_t context) const {
    return {
        {HELP_SETPOPUP_POS, static_cast<int32_t>(static_cast<uint16_t>(p.x()) | static_cast<uint16_t>(p.y()) << 16)},
        {HELP_CONTEXTPOPUP, context}};
  }

  std::vector<THelpCall> calls;
  TForm* form = nullptr;
  TButton* bA = nullptr;
  TEdit* eB = nullptr;
  TButton* bNone = nullptr;
  TLabel* lC = nullptr;
  TEdit* eD = nullptr;
  TButton* bNeg = nullptr;
  help::TFormComponents* components = nullptr;
  TWhatsThis* wt = nullptr;
  int aClicks = 0;
  int eBF1 = 0;
};

TEST_F(WhatsThisTest, StartsWithItsStoredDefaultsAndHooked) {
  TWhatsThis plain(nullptr);
  EXPECT_EQ(plain.Options(), 0x2E);
  EXPECT_EQ(plain.F1Action(), help::goContext);
  EXPECT_EQ(plain.PopupCaption(), "What's this?");
  EXPECT_TRUE(plain.Active());
  EXPECT_FALSE(plain.Hooked());
  EXPECT_TRUE(wt->Hooked());
  EXPECT_EQ(TWhatsThis::CurrentInstance(), wt);
  EXPECT_EQ(wt->HelpMode(), help::hmIdle);
}

TEST_F(WhatsThisTest, F1ShowsTheFocusedControlsHelpAndHeldDownTheRepeatsReachTheControl) {
  QTest::simulateEvent(Window(), true, Qt::Key_F1, Qt::NoModifier, QString(), false);
  Settle();
  EXPECT_EQ(calls, PopupHelp(eB->mapToGlobal(QPoint(0, 0)), 1002));
  EXPECT_EQ(eBF1, 0) << "the first press is the component's";
  QTest::simulateEvent(Window(), true, Qt::Key_F1, Qt::NoModifier, QString(), true);
  QTest::simulateEvent(Window(), true, Qt::Key_F1, Qt::NoModifier, QString(), true);
  QTest::simulateEvent(Window(), false, Qt::Key_F1, Qt::NoModifier, QString(), false);
  Settle();
  EXPECT_EQ(eBF1, 2);
  EXPECT_EQ(calls.size(), 2u);
  EXPECT_FALSE(help::TInputWatch::CallWndHook()) << "the end of the request removes the watch on sent messages";
}

TEST_F(WhatsThisTest, F1WithNoFocusedControlShowsNothingButIsStillSwallowed) {
  eB->clearFocus();
  form->setFocus();
  Settle();
  Key(Qt::Key_F1);
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(eBF1, 0);
  EXPECT_FALSE(help::TInputWatch::CallWndHook());
}

TEST_F(WhatsThisTest, F1OverAWindowThatIsNotTheProgramsPassesOnUnlessItAsksForTheContents) {
  QDialog box;  // as a message box: none of the program's controls
  box.resize(200, 100);
  box.show();
  QApplication::setActiveWindow(&box);
  Settle();
  QTest::keyClick(box.windowHandle(), Qt::Key_F1);
  Settle();
  EXPECT_TRUE(calls.empty());
  wt->SetF1Action(help::goDefault);
  QTest::keyClick(box.windowHandle(), Qt::Key_F1);
  Settle();
  EXPECT_EQ(calls, (std::vector<THelpCall>{{HELP_CONTENTS, 0}}));
}

TEST_F(WhatsThisTest, F1ActionDefaultAndTocSendTheirCommands) {
  wt->SetF1Action(help::goDefault);
  Key(Qt::Key_F1);
  wt->SetF1Action(help::goTOC);
  Key(Qt::Key_F1);
  EXPECT_EQ(calls, (std::vector<THelpCall>{{HELP_CONTENTS, 0}, {HELP_TAB, 0}}));
}

TEST_F(WhatsThisTest, ShiftF1ThenAClickShowsTheControlsHelpAndTheControlNeverGetsThePress) {
  int entered = 0, left = 0, f1Events = 0;
  wt->OnEnterContextMode = [&](TWhatsThis*) { ++entered; };
  wt->OnLeaveContextMode = [&](TWhatsThis*) { ++left; };
  wt->OnF1KeyDown = [&](TWhatsThis*, bool&) { ++f1Events; };
  EnterContextMode();
  EXPECT_EQ(entered, 1);
  EXPECT_EQ(f1Events, 0) << "Shift+F1 does not ask OnF1KeyDown";
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WhatsThisCursor);
  EXPECT_TRUE(calls.empty());

  Click(bA);
  EXPECT_EQ(calls, PopupHelp(Screen(bA), 1001));
  EXPECT_EQ(aClicks, 0);
  EXPECT_EQ(left, 1);
  EXPECT_EQ(wt->HelpMode(), help::hmIdle);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  Click(bA);
  EXPECT_EQ(aClicks, 1) << "out of context mode the button works again";
  EXPECT_EQ(calls.size(), 2u);
}

TEST_F(WhatsThisTest, InContextModeMovesAreSwallowedAndShiftAloneLeavesTheMode) {
  EnterContextMode();
  QTest::mouseMove(Window(), At(bA));
  Settle();
  EXPECT_FALSE(bA->underMouse());
  Key(Qt::Key_Shift);
  EXPECT_EQ(wt->HelpMode(), help::hmIdle);
  Click(bA);
  EXPECT_EQ(aClicks, 1);
  EXPECT_TRUE(calls.empty());
}

TEST_F(WhatsThisTest, ARightClickOffersThePopupAndItsEntryShowsTheHelpAtThatPoint) {
  Click(bA, Qt::RightButton);
  QMenu* menu = OurPopup();
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->actions().size(), 1);
  EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("Co je to?"));
  EXPECT_TRUE(calls.empty());

  wt->SetPopupCaption("Co to je?");
  EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("Co to je?")) << "the entry follows the caption at once";

  const QPoint entry = menu->actionGeometry(menu->actions()[0]).center();
  QTest::mouseMove(menu->windowHandle(), entry);
  QTest::mouseClick(menu->windowHandle(), Qt::LeftButton, Qt::NoModifier, entry);
  Settle();
  EXPECT_FALSE(menu->isVisible());
  EXPECT_EQ(calls, PopupHelp(Screen(bA), 1001));
  EXPECT_EQ(aClicks, 0);
}

TEST_F(WhatsThisTest, AControlWithItsOwnContextMenuShowsOnlyThatMenu) {
  Click(eB, Qt::RightButton);
  QWidget* popup = QApplication::activePopupWidget();
  ASSERT_NE(popup, nullptr) << "the edit's own menu opens on the press";
  EXPECT_NE(popup, wt->PopupMenu()->Handle());
  EXPECT_EQ(OurPopup(), nullptr);
  popup->close();
  Settle();
  EXPECT_EQ(OurPopup(), nullptr);
  EXPECT_TRUE(calls.empty());
}

TEST_F(WhatsThisTest, ANegativeContextAsksForTheMainWindowTopic) {
  EnterContextMode();
  Click(bNeg);
  EXPECT_EQ(calls, (std::vector<THelpCall>{{HELP_CONTEXT, 25}}));
}

TEST_F(WhatsThisTest, ALabelAnswersWithTheHelpOfItsFocusControl) {
  EnterContextMode();
  Click(lC);
  EXPECT_EQ(calls, PopupHelp(Screen(lC), 1021));
}

TEST_F(WhatsThisTest, TheFormsContextServesItsControlsOnlyWithItsOption) {
  form->SetHelpContext(500);
  wt->SetOptions(help::kDefaultOptions & ~help::Opt(help::wtInheritFormContext));
  EnterContextMode();
  Click(bNone);
  EXPECT_EQ(calls, PopupHelp(Screen(bNone), 0)) << "with no number found, help with context 0";
  calls.clear();
  wt->SetOptions(help::kDefaultOptions);
  EnterContextMode();
  Click(bNone);
  EXPECT_EQ(calls, PopupHelp(Screen(bNone), 500));
}

TEST_F(WhatsThisTest, WithoutNoContextHelpAControlWithoutANumberShowsNothingButTagCanServe) {
  wt->SetOptions(help::kDefaultOptions & ~help::Opt(help::wtNoContextHelp));
  EnterContextMode();
  Click(bNone);
  EXPECT_TRUE(calls.empty());
  bNone->SetTag(333);
  wt->SetOptions(wt->Options() | help::Opt(help::wtUseTag));
  EnterContextMode();
  Click(bNone);
  EXPECT_EQ(calls, PopupHelp(Screen(bNone), 333));
}

TEST_F(WhatsThisTest, ARightClickOnTheBareFormOffersNoPopupWithoutPopupOnForm) {
  QTest::mouseClick(Window(), Qt::RightButton, Qt::NoModifier, QPoint(300, 220));
  Settle();
  EXPECT_EQ(OurPopup(), nullptr);
  wt->SetOptions(wt->Options() | help::Opt(help::wtPopupOnForm));
  QTest::mouseClick(Window(), Qt::RightButton, Qt::NoModifier, QPoint(300, 220));
  Settle();
  ASSERT_NE(OurPopup(), nullptr);
  OurPopup()->close();
}

TEST_F(WhatsThisTest, OnGetContextAndOnHelpDecide) {
  QObject* asked = nullptr;
  wt->OnGetContext = [&](TWhatsThis* sender, QObject* item, bool isMenu, help::THelpContext& ctx, int, int) {
    EXPECT_EQ(sender, wt);
    EXPECT_FALSE(isMenu);
    asked = item;
    if (ctx == 0) ctx = 77;
  };
  EnterContextMode();
  Click(bNone);
  EXPECT_EQ(asked, bNone);
  EXPECT_EQ(calls, PopupHelp(Screen(bNone), 77));

  calls.clear();
  help::THelpContext told = 0;
  wt->OnHelp = [&](TWhatsThis*, QObject*, bool, help::THelpContext ctx, int, int, bool& callHelp) {
    told = ctx;
    callHelp = false;
  };
  EnterContextMode();
  Click(bA);
  EXPECT_EQ(told, 1001);
  EXPECT_TRUE(calls.empty());
}

TEST_F(WhatsThisTest, AMenuCommandClickedInContextModeShowsItsHelpAndDoesNotRun) {
  auto* bar = new QMenuBar(form);
  bar->setGeometry(0, 200, 320, 25);
  auto* popup = new TPopupMenu(form, "mSoubor");
  popup->Handle()->setTitle(QStringLiteral("Soubor"));
  auto* command = new TMenuItem(form, "mPrikaz");
  command->SetCaption("P\xF8\xEDkaz");
  command->SetHelpContext(1500);
  int runs = 0;
  command->OnClick = [&] { ++runs; };
  popup->Items()->Add(command);
  bar->addMenu(popup->Handle());
  bar->show();
  Settle();

  EnterContextMode();
  const QPoint title = bar->mapTo(form, bar->actionGeometry(bar->actions()[0]).center());
  QTest::mousePress(Window(), Qt::LeftButton, Qt::NoModifier, title);
  Settle();
  QMenu* menu = popup->Handle();
  ASSERT_TRUE(menu->isVisible()) << "the menu opens also in context mode";
  EXPECT_EQ(wt->HelpMode(), help::hmContextMode);
  EXPECT_TRUE(wt->InMenu());

  const QPoint entry = menu->actionGeometry(command->Action()).center();
  QTest::mouseMove(menu->windowHandle(), entry);
  QTest::mouseClick(menu->windowHandle(), Qt::LeftButton, Qt::NoModifier, entry);
  Settle();
  EXPECT_EQ(runs, 0);
  EXPECT_FALSE(menu->isVisible());
  EXPECT_EQ(wt->HelpMode(), help::hmIdle);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[1], (THelpCall{HELP_CONTEXTPOPUP, 1500}));
}

TEST_F(WhatsThisTest, ThePointOfARequestKeepsItsSignLeftOfTheFirstMonitor) {
  int x = 0, y = 0;
  help::UnpackPoint(help::PackPoint(-300, -2), x, y);
  EXPECT_EQ(QPoint(x, y), QPoint(-300, -2));
  wt->SetTarget(bA);
  wt->PostMessage(help::WM_WTHELP, help::PackPoint(-300, 120), 0);
  Settle();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(PopupPoint(calls[0].Data), QPoint(-300, 120));
}

TEST_F(WhatsThisTest, HelpAtAPointOnAScreenEdgeSendsNoPositionButThePopupEntryDoes) {
  wt->SetTarget(bA);
  wt->PostMessage(help::WM_WTHELP, help::PackPoint(0, 120), 0);
  Settle();
  EXPECT_EQ(calls, (std::vector<THelpCall>{{HELP_CONTEXTPOPUP, 1001}}));
}

TEST_F(WhatsThisTest, AControlFreedBetweenTheClickAndItsRequestIsSkipped) {
  // As the watch does on a click in context mode: the target, then the request.
  wt->SetTarget(bA);
  wt->PostMessage(help::WM_WTHELP, help::PackPoint(Screen(bA).x(), Screen(bA).y()), 0);
  delete bA;  // rebuilt by the screen before the request is handled
  bA = nullptr;
  Settle();
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(wt->Target(), nullptr);
}

TEST_F(WhatsThisTest, AnErrorInsideTheWatchIsShownAndTheKeyGoesOn) {
  wt->OnF1KeyDown = [](TWhatsThis*, bool&) { throw platform::Exception("F1 selhalo"); };
  Key(Qt::Key_F1);
  ASSERT_EQ(MessageBoxes::Shown().size(), 1u);
  EXPECT_EQ(MessageBoxes::Shown()[0].Text, "F1 selhalo");
  EXPECT_EQ(MessageBoxes::Shown()[0].Icon, TMsgIcon::Error);
  EXPECT_EQ(eBF1, 1) << "the key reaches the control as if nothing had watched it";
  Key(Qt::Key_A);
  EXPECT_EQ(eB->text(), QStringLiteral("a"));
}

TEST_F(WhatsThisTest, TheCaptionsQuestionMarkButtonThenAClickShowsTheControlsHelp) {
  QEvent enter(QEvent::EnterWhatsThisMode);
  QCoreApplication::sendEvent(qApp, &enter);
  EXPECT_FALSE(QWhatsThis::inWhatsThisMode()) << "Qt's own mode never starts";
  EXPECT_EQ(wt->HelpMode(), help::hmHelpButton);
  Click(bA);
  EXPECT_EQ(calls, PopupHelp(Screen(bA), 1001));
  EXPECT_EQ(aClicks, 0);
  EXPECT_EQ(wt->HelpMode(), help::hmIdle);
}

TEST_F(WhatsThisTest, TheControlUnderThePointIsTheDeepestVisibleOneTheLaterSiblingWinning) {
  auto* panel = new TPanel(form, "pPanel");
  panel->SetBounds(10, 130, 200, 80);
  auto* under = new TButton(panel, "bPod");
  under->SetBounds(10, 10, 100, 25);
  auto* over = new TButton(panel, "bNad");
  over->SetBounds(50, 10, 100, 25);
  auto* hidden = new TButton(panel, "bSkryty");
  hidden->SetBounds(0, 0, 200, 80);
  panel->show();
  under->show();
  over->show();
  hidden->hide();
  const QPoint both = panel->mapToGlobal(QPoint(70, 20));
  EXPECT_EQ(help::TInputWatch::ControlAtPoint(Window(), both), over);
  EXPECT_EQ(help::TInputWatch::ControlAtPoint(Window(), panel->mapToGlobal(QPoint(20, 20))), under);
  EXPECT_EQ(help::TInputWatch::ControlAtPoint(Window(), panel->mapToGlobal(QPoint(190, 70))), panel);
  EXPECT_EQ(help::TInputWatch::ControlAtPoint(Window(), Screen(lC)), lC);
}

TEST_F(WhatsThisTest, TheMenuItemAndToolButtonToggleContextModeOnlyWhileHooked) {
  auto* popup = new TPopupMenu(form, "pmNastroje");
  auto* item = new TMenuItem(form, "mCoToJe");
  auto* other = new TMenuItem(form, "mJiny");
  popup->Items()->Add(item);
  popup->Items()->Add(other);
  int itemRuns = 0;
  item->OnClick = [&] { ++itemRuns; };
  EXPECT_THROW(wt->SetWTMenuItem(item), platform::Exception) << "refused while hooked";

  wt->SetActive(false);
  EXPECT_FALSE(wt->Hooked());
  wt->SetWTMenuItem(other);
  wt->SetWTMenuItem(item);
  EXPECT_EQ(item->ShortCut(), toolkit::scShift | toolkit::VK_F1);
  EXPECT_EQ(other->ShortCut(), 0) << "the shortcut moves to the new item";
  wt->SetWTToolbarButton(bNone);
  wt->SetActive(true);
  ASSERT_TRUE(wt->Hooked());

  item->Click();
  EXPECT_EQ(wt->HelpMode(), help::hmContextMode);
  EXPECT_TRUE(item->Checked());
  EXPECT_TRUE(bNone->isDown());
  Click(bNone);  // the press reaches the button; its click leaves the mode
  EXPECT_EQ(wt->HelpMode(), help::hmIdle);
  EXPECT_FALSE(item->Checked());
  EXPECT_EQ(itemRuns, 0);
  EXPECT_TRUE(calls.empty());

  wt->SetActive(false);
  item->Click();
  EXPECT_EQ(itemRuns, 1) << "unhooked, the item's own handler is back";
  EXPECT_THROW(wt->EnterContextMode(), platform::Exception);
  try {
    wt->LeaveContextMode();
  } catch (const platform::Exception& e) {
    EXPECT_STREQ(e.what(), "WhatsThis1 is currently not active.");
  }
}

TEST_F(WhatsThisTest, AHandlerFailingWhileTheComponentIsSwitchedOffIsShownAndTheSwitchOffCompletes) {
  auto* item = new TMenuItem(form, "mCoToJe");
  int itemRuns = 0;
  item->OnClick = [&] { ++itemRuns; };
  wt->SetActive(false);
  wt->SetWTMenuItem(item);
  wt->SetActive(true);
  wt->OnLeaveContextMode = [](TWhatsThis*) { throw platform::Exception("Konec selhal"); };

  EnterContextMode();
  wt->SetActive(false);
  ASSERT_EQ(MessageBoxes::Shown().size(), 1u);
  EXPECT_EQ(MessageBoxes::Shown()[0].Text, "Konec selhal");
  EXPECT_EQ(MessageBoxes::Shown()[0].Icon, TMsgIcon::Error);
  EXPECT_FALSE(wt->Hooked());
  item->Click();
  EXPECT_EQ(itemRuns, 1) << "the item's own handler is back";

  // The same when the component goes with its form while in context mode.
  wt->SetActive(true);
  EnterContextMode();
  delete form;
  form = nullptr;
  ASSERT_EQ(MessageBoxes::Shown().size(), 2u);
  EXPECT_EQ(MessageBoxes::Shown()[1].Text, "Konec selhal");
}

TEST_F(WhatsThisTest, InstancesDestroyedOutOfOrderLeaveNoneReferenced) {
  auto* b = new TWhatsThis(components);
  b->SetName("WhatsThis2");
  b->AfterLoad();
  EXPECT_EQ(TWhatsThis::CurrentInstance(), b);
  EXPECT_EQ(b->Previous(), wt);
  EXPECT_FALSE(wt->Hooked());

  // A, B, then A again: each names the other as previous.
  wt->SetActive(false);
  wt->SetActive(true);
  EXPECT_EQ(TWhatsThis::CurrentInstance(), wt);
  EXPECT_EQ(wt->Previous(), b);
  EXPECT_FALSE(b->Hooked());

  delete b;  // not the current one
  EXPECT_EQ(TWhatsThis::CurrentInstance(), wt);
  EXPECT_TRUE(wt->Hooked());
  EXPECT_EQ(wt->Previous(), nullptr);
  Key(Qt::Key_F1);
  EXPECT_EQ(calls.size(), 2u);

  auto* c = new TWhatsThis(components);
  c->AfterLoad();
  auto* d = new TWhatsThis(components);
  d->AfterLoad();
  EXPECT_EQ(d->Previous(), c);
  delete c;
  EXPECT_EQ(d->Previous(), wt);
  delete d;  // the current one hands back
  EXPECT_EQ(TWhatsThis::CurrentInstance(), wt);
  EXPECT_TRUE(wt->Hooked());
}

TEST_F(WhatsThisTest, AComponentMadeInCodeWithoutLoadingInstallsNothing) {
  TWhatsThis loose(nullptr);
  loose.SetActive(false);
  loose.SetActive(true);
  EXPECT_FALSE(loose.Hooked());
  EXPECT_EQ(loose.Previous(), wt);
  EXPECT_FALSE(wt->Hooked());
}

TEST_F(WhatsThisTest, TheFirstContextMapOnTheSameOwnerIsUsedAndForgottenWhenItGoes) {
  EXPECT_EQ(wt->HelpContextMap(), nullptr);
  auto* map = new help::THelpContextMap(components);
  EXPECT_EQ(wt->HelpContextMap(), map);
  auto* second = new help::THelpContextMap(components);
  EXPECT_EQ(wt->HelpContextMap(), map);
  delete map;
  EXPECT_EQ(wt->HelpContextMap(), nullptr);
  delete second;
}

TEST_F(WhatsThisTest, TheStoredValuesGoOutAndComeBackThroughTheFormStorage) {
  auto* map = new help::THelpContextMap(components);
  map->SetName("HelpContextMap1");
  wt->SetF1Action(help::goTOC);
  wt->SetOptions(help::Opt(help::wtUseTag) | help::Opt(help::wtUseAppKey));
  wt->SetPopupHelpContext(-7);
  wt->SetActive(false);
  wt->SetWTToolbarButton(bNone);
  wt->SetActive(true);
  help::TMemoryStream stream;
  help::TWriter(stream).WriteComponent(*components);

  TForm other("fPokus");
  auto* otherButton = new TButton(&other, "bNone");
  auto* root = new help::TFormComponents(&other, "TfPokus");
  auto* copy = new TWhatsThis(root);
  copy->SetName("WhatsThis1");
  auto* copyMap = new help::THelpContextMap(root);
  copyMap->SetName("HelpContextMap1");
  copy->SetHelpContextMap(nullptr);
  stream.SetPosition(0);
  help::TReader(stream).ReadComponent(*root);
  EXPECT_EQ(copy->HelpContextMap(), copyMap);
  EXPECT_EQ(copy->F1Action(), help::goTOC);
  EXPECT_EQ(copy->Options(), help::Opt(help::wtUseTag) | help::Opt(help::wtUseAppKey));
  EXPECT_EQ(copy->PopupCaption(), "Co je to?");
  EXPECT_EQ(copy->PopupHelpContext(), -7);
  EXPECT_EQ(copy->WTToolbarButton(), otherButton) << "a control is named within its own form";
  EXPECT_TRUE(copy->Hooked()) << "loading activates it";
  EXPECT_EQ(copy->PopupMenu()->Items()->Items()[0]->HelpContext(), -7);
}

TEST_F(WhatsThisTest, TheContextMenuKeyOffersThePopupForTheFocusedControlWithItsOption) {
  Key(Qt::Key_Menu);
  EXPECT_EQ(OurPopup(), nullptr);
  wt->SetOptions(wt->Options() | help::Opt(help::wtUseAppKey));
  Key(Qt::Key_Menu);
  QMenu* menu = OurPopup();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->pos(), eB->mapToGlobal(QPoint(eB->width() / 2, eB->height() / 2)));
  menu->close();
}

}  // namespace
