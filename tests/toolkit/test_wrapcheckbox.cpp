// The check box whose caption wraps.
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "toolkit/Toolkit.h"

using namespace toolkit;

TEST(WrapCheckBox, ALongCaptionWrapsAndAClickOnItToggles) {
  QWidget window;
  auto* box = new TWrapCheckBox(&window, "chDlouhy");
  box->SetBounds(8, 8, 120, 40);
  window.resize(200, 100);
  window.show();
  int clicks = 0;
  box->OnClick = [&] { ++clicks; };
  box->SetCaption(Cp1250("Výsledky pro každou variantu zvlášť"));
  EXPECT_EQ(box->Caption(), Cp1250("Výsledky pro každou variantu zvlášť"));
  QLabel* label = box->CaptionLabel();
  EXPECT_EQ(label->text(), QStringLiteral("Výsledky pro každou variantu zvlášť"));
  // The caption takes more than one line within the box's width.
  EXPECT_LE(label->geometry().right(), box->width());
  EXPECT_GT(label->heightForWidth(label->width()), label->fontMetrics().height());

  QTest::mouseClick(box, Qt::LeftButton, {}, label->geometry().center());
  EXPECT_TRUE(box->Checked());
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, 6));
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(clicks, 2);
}
