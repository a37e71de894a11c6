// Popup menus and menu items: entries traced back to their items through the
// program's list of popup menus, shortcuts shown, click handlers reachable.
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

#include "toolkit/Toolkit.h"
#include "toolkit/PopupMenu.h"

using namespace toolkit;

namespace {

TEST(PopupMenu, EntriesAndSubmenusLeadBackToTheirItemsInEveryPopupMenu) {
  TPopupMenu first(nullptr, "pmPrvni");
  TPopupMenu second(nullptr, "pmDruhy");
  auto* file = new TMenuItem(nullptr, "mSoubor");
  auto* open = new TMenuItem(nullptr, "mOtevrit");
  file->Add(open);
  second.Items()->Add(file);
  EXPECT_EQ(FindMenuItemByAction(open->Action()), open);
  EXPECT_EQ(FindMenuItemByAction(file->Action()), file);
  EXPECT_EQ(FindMenuItemBySubMenu(file->SubMenu()), file);
  EXPECT_EQ(open->Parent(), file);
  EXPECT_EQ(file->Action()->menu(), file->SubMenu());
  EXPECT_EQ(TPopupMenu::PopupList().size(), 2u);
  delete open;
  EXPECT_TRUE(file->Items().empty()) << "an item freed first leaves its parent";
  EXPECT_EQ(FindMenuItemByAction(nullptr), nullptr);
}

TEST(PopupMenu, ChoosingAnEntryRunsItsItemsHandlerAndAFailureIsShown) {
  MessageBoxes::Clear();
  TPopupMenu popup(nullptr, "pm");
  auto* item = new TMenuItem(nullptr, "mPolozka");
  item->SetCaption("Polo\x9Eka");
  popup.Items()->Add(item);
  int runs = 0;
  *OnClickOf(item) = [&] { ++runs; };
  item->Action()->trigger();
  EXPECT_EQ(runs, 1);
  item->OnClick = [] { throw platform::Exception("chyba"); };
  item->Click();
  ASSERT_EQ(MessageBoxes::Shown().size(), 1u);
  EXPECT_EQ(MessageBoxes::Shown()[0].Text, "chyba");
  EXPECT_EQ(item->Caption(), "Polo\x9Eka");
  MessageBoxes::Clear();
}

TEST(PopupMenu, AShortcutIsShownBesideTheCaptionAndGoesWithoutATrace) {
  TMenuItem item(nullptr, "mCoToJe");
  item.SetCaption("Co je to?");
  item.SetShortCut(scShift | VK_F1);
  EXPECT_EQ(item.Action()->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F1));
  item.SetShortCut(0);
  EXPECT_TRUE(item.Action()->shortcut().isEmpty());
  EXPECT_EQ(item.Caption(), "Co je to?");
  EXPECT_EQ(ShortCutText(scCtrl | 'S'), QStringLiteral("Ctrl+S"));
  EXPECT_TRUE(ShortCutText(0).isEmpty());
  item.SetChecked(true);
  EXPECT_TRUE(item.Checked());
}

TEST(PopupMenu, OnlyControlsWithAClickHandlerOfferOne) {
  QWidget form;
  TButton button(&form, "bTlacitko");
  TLabel label(&form, "lPopis");
  TEdit edit(&form, "eText");
  EXPECT_EQ(OnClickOf(&button), &button.OnClick);
  EXPECT_EQ(OnClickOf(&label), &label.OnClick);
  EXPECT_EQ(OnClickOf(&edit), nullptr);
}

}  // namespace
