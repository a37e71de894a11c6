// The spin edit's rules: value from text, typing, stepping, range, events.
#include <QApplication>
#include <QLocale>
#include <QTest>
#include <gtest/gtest.h>

#include "toolkit/Toolkit.h"

using namespace toolkit;

namespace {

class SpinEditTest : public ::testing::Test {
 protected:
  SpinEditTest() {
    form.SetClientSize(200, 100);
    spin = new TSpinEdit(&form, "seTest");
    spin->SetBounds(8, 8, 121, 21);
    other = new TEdit(&form, "eOther");
    other->SetBounds(8, 40, 121, 21);
    spin->SetMinValue(0);
    spin->SetMaxValue(100);
    spin->SetValue(50);
    spin->OnEnter = [this] { events.push_back("enter"); };
    spin->OnExit = [this] { events.push_back("exit " + spin->Text()); };
    spin->OnChange = [this] { events.push_back("change " + spin->Text()); };
    form.show();
    QApplication::setActiveWindow(&form);
    other->setFocus();
    events.clear();
  }

  TForm form{"fSpin"};
  TSpinEdit* spin;
  TEdit* other;
  std::vector<std::string> events;
};

TEST_F(SpinEditTest, ValueIsTheTextOrTheLowerLimitAndIsNotClampedByReading) {
  spin->SetMinValue(2);
  spin->SetText("150");
  EXPECT_EQ(spin->Value(), 150);
  spin->SetText("  -7");
  EXPECT_EQ(spin->Value(), -7);
  for (const char* bad : {"", "abc", "1.5", "12x", "99999999999"}) {
    spin->SetText(bad);
    EXPECT_EQ(spin->Value(), 2) << bad;
  }
}

TEST_F(SpinEditTest, ValuesSetByTheProgramAreBroughtIntoTheRangeButLimitsLeaveTheText) {
  spin->SetValue(500);
  EXPECT_EQ(spin->Text(), "100");
  spin->SetValue(-3);
  EXPECT_EQ(spin->Text(), "0");
  spin->SetValue(70);
  spin->SetMaxValue(10);
  EXPECT_EQ(spin->Text(), "70");
  // A range of one value holds that value.
  spin->SetMinValue(1);
  spin->SetMaxValue(1);
  spin->SetValue(5);
  EXPECT_EQ(spin->Text(), "1");
}

TEST_F(SpinEditTest, TypingKeepsDigitsSignsAndTheDecimalSeparatorOnly) {
  spin->SetText("");
  spin->Editor()->setFocus();
  const QString sep = QLocale::system().decimalPoint();
  QTest::keyClicks(spin->Editor(), QStringLiteral("1a+b-2 x") + sep + QStringLiteral("3"));
  EXPECT_EQ(spin->Editor()->text(), QStringLiteral("1+-2") + sep + QStringLiteral("3"));
  // Pasted text is taken as it is, and reads as the lower limit.
  spin->Editor()->selectAll();
  spin->Editor()->insert(QStringLiteral("abc"));
  EXPECT_EQ(spin->Text(), "abc");
  EXPECT_EQ(spin->Value(), 0);
}

TEST_F(SpinEditTest, UpAndDownKeysStepByOneWithinTheRange) {
  spin->Editor()->setFocus();
  QTest::keyClick(spin->Editor(), Qt::Key_Up);
  EXPECT_EQ(spin->Text(), "51");
  QTest::keyClick(spin->Editor(), Qt::Key_Down);
  QTest::keyClick(spin->Editor(), Qt::Key_Down);
  EXPECT_EQ(spin->Text(), "49");
  spin->SetText("100");
  QTest::keyClick(spin->Editor(), Qt::Key_Up);
  EXPECT_EQ(spin->Text(), "100");
  // A text that is no number steps from the lower limit.
  spin->SetText("x");
  QTest::keyClick(spin->Editor(), Qt::Key_Up);
  EXPECT_EQ(spin->Text(), "1");
}

TEST_F(SpinEditTest, HeldArrowFocusesTheBoxStepsAndRepeatsAfter400ThenEvery100) {
  QTest::mousePress(spin->UpButton(), Qt::LeftButton);
  EXPECT_TRUE(spin->Editor()->hasFocus());
  ASSERT_GE(events.size(), 2u);
  EXPECT_EQ(events[0], "enter");
  EXPECT_EQ(spin->Text(), "51");
  EXPECT_TRUE(spin->RepeatTimer().isActive());
  EXPECT_EQ(spin->RepeatTimer().interval(), 400);
  spin->RepeatTick();
  EXPECT_EQ(spin->Text(), "52");
  EXPECT_EQ(spin->RepeatTimer().interval(), 100);
  spin->RepeatTick();
  EXPECT_EQ(spin->Text(), "53");
  QTest::mouseRelease(spin->UpButton(), Qt::LeftButton);
  EXPECT_FALSE(spin->RepeatTimer().isActive());
  EXPECT_EQ(spin->Text(), "53");

  QTest::mouseClick(spin->DownButton(), Qt::LeftButton);
  EXPECT_EQ(spin->Text(), "52");
}

TEST_F(SpinEditTest, LeavingRunsOnExitThenBringsANumberIntoTheRange) {
  spin->Editor()->setFocus();
  spin->SetText("150");
  events.clear();
  other->setFocus();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0], "exit 150");
  EXPECT_EQ(events[1], "change 100");
  EXPECT_EQ(spin->Text(), "100");

  // A text that is no number is left as it stands.
  spin->Editor()->setFocus();
  spin->SetText("");
  other->setFocus();
  EXPECT_EQ(spin->Text(), "");
}

TEST_F(SpinEditTest, TheWindowLosingActivationIsNoExit) {
  spin->Editor()->setFocus();
  spin->SetText("150");
  events.clear();
  TForm second("fSecond");
  second.show();
  QApplication::setActiveWindow(&second);
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(spin->Text(), "150");
}

TEST_F(SpinEditTest, OnChangeRunsForEveryDifferentTextAndOnKeyDownSeesEnter) {
  spin->SetValue(50);
  EXPECT_TRUE(events.empty());
  spin->SetValue(60);
  EXPECT_EQ(events, std::vector<std::string>{"change 60"});

  int seen = 0;
  spin->OnKeyDown = [&](int& key, Qt::KeyboardModifiers) {
    if (key == Qt::Key_Return) ++seen;
  };
  spin->Editor()->setFocus();
  QTest::keyClick(spin->Editor(), Qt::Key_Return);
  EXPECT_EQ(seen, 1);
}

}  // namespace
