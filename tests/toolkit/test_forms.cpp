// Forms: the hooks and their order, modal showing, keys, errors, help.
#include <QApplication>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include "toolkit/Toolkit.h"
#include "platform/errors.h"

using namespace toolkit;

namespace {

std::vector<std::string> g_log;

class LoggingForm : public TForm {
 public:
  explicit LoggingForm(const char* name) : TForm(name), name_(name) {}
  void FormCreate() override { g_log.push_back(name_ + " create"); }
  void FormShow() override {
    g_log.push_back(name_ + " show");
    if (failShow) throw platform::Exception("show failed");
  }
  void FormActivate() override { g_log.push_back(name_ + " activate"); }
  void FormCloseQuery(bool& CanClose) override {
    g_log.push_back(name_ + " closequery");
    CanClose = allowClose;
  }
  void FormClose() override { g_log.push_back(name_ + " close"); }
  void FormHide() override { g_log.push_back(name_ + " hide"); }
  bool allowClose = true;
  bool failShow = false;

 private:
  std::string name_;
};

class FormsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_log.clear();
    MessageBoxes::Clear();
    TForm::ClearModals();
  }
};

TEST_F(FormsTest, ModalShowingRunsTheHooksInOrderAndReactivatesTheFormBelow) {
  LoggingForm main("main"), modal("modal");
  main.show();
  TForm::QueueModal([](TForm& f) { g_log.push_back("user at " + f.objectName().toStdString()); });
  modal.ShowModal();
  EXPECT_EQ(g_log,
            (std::vector<std::string>{"main show", "main activate", "modal show", "modal activate", "user at modal",
                                      "modal closequery", "modal close", "modal hide", "main activate"}));
  EXPECT_EQ(TForm::ShownModals(), std::vector<std::string>{"modal"});
  EXPECT_EQ(TForm::ActiveForm(), &main);
}

TEST_F(FormsTest, ARefusedCloseKeepsTheFormOpen) {
  LoggingForm modal("modal");
  modal.allowClose = false;
  TForm::QueueModal([](TForm& f) {
    f.Close();
    EXPECT_TRUE(f.isVisible());
    static_cast<LoggingForm&>(f).allowClose = true;
    f.Close();
  });
  modal.ShowModal();
  EXPECT_FALSE(modal.isVisible());
  EXPECT_EQ(std::count(g_log.begin(), g_log.end(), "modal closequery"), 2);
  EXPECT_EQ(std::count(g_log.begin(), g_log.end(), "modal close"), 1);
}

TEST_F(FormsTest, AnErrorWhileShowingIsShownAndTheFormStaysOpen) {
  Application()->SetTitle("Zorvik");
  LoggingForm modal("modal");
  modal.failShow = true;
  bool visibleInLoop = false;
  TForm::QueueModal([&](TForm& f) { visibleInLoop = f.isVisible(); });
  modal.ShowModal();
  EXPECT_TRUE(visibleInLoop);
  ASSERT_EQ(MessageBoxes::Shown().size(), 1u);
  EXPECT_EQ(MessageBoxes::Shown()[0].Caption, "Zorvik");
  EXPECT_EQ(MessageBoxes::Shown()[0].Text, "show failed");
  EXPECT_EQ(MessageBoxes::Shown()[0].Icon, TMsgIcon::Error);
}

TEST_F(FormsTest, AnErrorInAClickHandlerEndsOnlyThatHandler) {
  TForm form("fForm");
  auto* b = new TButton(&form, "bFail");
  int after = 0;
  b->OnClick = [&] {
    throw platform::EConvertError::InvalidInteger("x");
    ++after;
  };
  b->click();
  b->click();
  EXPECT_EQ(after, 0);
  ASSERT_EQ(MessageBoxes::Shown().size(), 2u);
  EXPECT_EQ(MessageBoxes::Shown()[1].Text, "'x' is not a valid integer value");
}

// A widget whose own event handler raises: notify catches it.
class Throwing : public QWidget {
 protected:
  void keyPressEvent(QKeyEvent*) override { throw std::runtime_error("key failed"); }
};

TEST_F(FormsTest, AnErrorEscapingAnyEventHandlerReachesTheStandardErrorBox) {
  Throwing w;
  QTest::keyClick(&w, Qt::Key_A);
  ASSERT_EQ(MessageBoxes::Shown().size(), 1u);
  EXPECT_EQ(MessageBoxes::Shown()[0].Text, "key failed");
}

TEST_F(FormsTest, EscPressesTheCancelButtonAndEnterTheDefaultOne) {
  TForm form("fKeys");
  auto* edit = new TEdit(&form, "eText");
  auto* ok = new TButton(&form, "bOk");
  auto* cancel = new TButton(&form, "bCancel");
  int oks = 0, cancels = 0;
  ok->OnClick = [&] { ++oks; };
  cancel->OnClick = [&] { ++cancels; };
  form.show();
  QApplication::setActiveWindow(&form);
  edit->setFocus();

  // Neither role set: Enter and Esc do nothing and the form stays.
  QTest::keyClick(edit, Qt::Key_Return);
  QTest::keyClick(edit, Qt::Key_Escape);
  EXPECT_EQ(oks + cancels, 0);
  EXPECT_TRUE(form.isVisible());

  ok->SetDefault(true);
  cancel->SetCancel(true);
  QTest::keyClick(edit, Qt::Key_Return);
  QTest::keyClick(edit, Qt::Key_Escape);
  EXPECT_EQ(oks, 1);
  EXPECT_EQ(cancels, 1);
  // Enter on a focused button presses that button.
  cancel->setFocus();
  QTest::keyClick(cancel, Qt::Key_Return);
  EXPECT_EQ(cancels, 2);
  EXPECT_EQ(oks, 1);
}

struct FirstForm : LoggingForm {
  FirstForm() : LoggingForm("first") {}
};
struct SecondForm : LoggingForm {
  SecondForm() : LoggingForm("second") {}
};
struct BrokenForm : LoggingForm {
  BrokenForm() : LoggingForm("broken") { throw platform::Exception("cannot build"); }
};

TEST_F(FormsTest, CreateFormMakesTheFirstFormTheMainFormAndGoesOnAfterAnError) {
  FirstForm* a = nullptr;
  BrokenForm* broken = nullptr;
  SecondForm* b = nullptr;
  Application()->CreateForm(a);
  Application()->CreateForm(broken);
  Application()->CreateForm(b);
  EXPECT_EQ(Application()->MainForm(), a);
  EXPECT_EQ(broken, nullptr);
  EXPECT_EQ(g_log, (std::vector<std::string>{"first create", "second create"}));
  ASSERT_EQ(MessageBoxes::Shown().size(), 1u);
  EXPECT_EQ(MessageBoxes::Shown()[0].Text, "cannot build");
  delete a;
  delete b;
  EXPECT_EQ(Application()->MainForm(), nullptr);
}

TEST_F(FormsTest, TheHelpCommandGoesToTheFormsHandlerElseTheApplicationsOne) {
  std::vector<std::pair<int, int>> seen;
  Application()->SetOnHelp([&](uint16_t c, int32_t d, bool& callHelp) {
    seen.emplace_back(c, d);
    callHelp = false;
    return true;
  });
  EXPECT_TRUE(Application()->HelpCommand(HELP_TAB, 0));
  EXPECT_TRUE(Application()->HelpCommand(HELP_CONTEXT, -25));
  EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{15, 0}, {1, -25}}));

  TForm form("fHelp");
  bool formAsked = false;
  form.OnHelp = [&](uint16_t, int32_t, bool&) { return formAsked = true; };
  form.show();
  EXPECT_TRUE(Application()->HelpCommand(HELP_CONTENTS, 0));
  EXPECT_TRUE(formAsked);
  EXPECT_EQ(seen.size(), 2u);

  form.hide();
  Application()->SetOnHelp(nullptr);
  EXPECT_FALSE(Application()->HelpCommand(HELP_CONTENTS, 0));
}

// Centring counts the frame the platform really draws (none here), not an
// assumed caption height.
TEST_F(FormsTest, ACentredFormStandsInTheMiddleOfTheScreen) {
  TForm form("fStred");
  form.SetClientSize(273, 510);
  form.SetPosition(TPosition::poScreenCenter);
  form.show();
  const QRect area = form.screen()->availableGeometry();
  EXPECT_NEAR(form.frameGeometry().center().x(), area.center().x(), 1);
  EXPECT_NEAR(form.frameGeometry().center().y(), area.center().y(), 1);
  form.hide();
}

TEST_F(FormsTest, ClientSizeIsFixedAndTheOuterHeightCountsTheFrame) {
  TForm form("fSize");
  form.SetClientSize(165, 488);
  EXPECT_EQ(form.minimumSize(), QSize(165, 488));
  EXPECT_EQ(form.maximumSize(), QSize(165, 488));
  form.SetHeight(300);
  EXPECT_EQ(form.ClientHeight(), 300 - TForm::kNonClientHeight);
  EXPECT_EQ(form.Height(), 300);
}

}  // namespace

// Destroying a screen moves the focus out of its controls; the screen's own
// handlers must not run then, nor those of a control destroyed on its own.
TEST_F(FormsTest, NoHandlerRunsOnAScreenOrControlBeingDestroyed) {
  int handled = 0;
  auto* form = new TForm("fGone");
  auto* spin = new TSpinEdit(form, "seGone");
  auto* edit = new TEdit(form, "eGone");
  auto* button = new TButton(form, "bGone");
  spin->OnExit = [&] { ++handled; };
  edit->OnExit = [&] { ++handled; };
  edit->OnEnter = [&] { ++handled; };
  button->OnClick = [&] { ++handled; };
  form->show();
  QApplication::setActiveWindow(form);
  spin->setFocus();
  ASSERT_TRUE(spin->Editor()->hasFocus());
  delete form;
  EXPECT_EQ(handled, 0);

  TForm kept("fKept");
  auto* alone = new TSpinEdit(&kept, "seAlone");
  new TEdit(&kept, "eAfter");
  alone->OnExit = [&] { ++handled; };
  kept.show();
  QApplication::setActiveWindow(&kept);
  alone->setFocus();
  ASSERT_TRUE(alone->Editor()->hasFocus());
  delete alone;
  EXPECT_EQ(handled, 0);
}
