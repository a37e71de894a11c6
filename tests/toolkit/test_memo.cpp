// The memo: text with CR LF line ends in and out, and only what code page
// 1250 can hold in the box, however it got there.
#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <gtest/gtest.h>

#include "toolkit/Toolkit.h"

using namespace toolkit;

namespace {

TEST(Memo, LinesGoInAndComeOutWithCrLf) {
  TForm form("fForm");
  auto* m = new TMemo(&form, "Memo1");
  int changes = 0;
  m->OnChange = [&] { ++changes; };

  m->SetText("Oprava tisku\r\nNov\xE9 jazyky\r\n");
  EXPECT_EQ(m->LineCount(), 3);
  EXPECT_EQ(m->Text(), "Oprava tisku\r\nNov\xE9 jazyky\r\n");
  EXPECT_EQ(m->toPlainText(), QStringLiteral(u"Oprava tisku\nNové jazyky\n"));
  EXPECT_EQ(changes, 1);

  // A lone LF or CR ends a line as well; empty lines stay.
  m->SetText("a\nb\rc\r\n\r\nd");
  EXPECT_EQ(m->LineCount(), 5);
  EXPECT_EQ(m->Text(), "a\r\nb\r\nc\r\n\r\nd");

  m->Clear();
  EXPECT_EQ(m->Text(), "");
  EXPECT_EQ(m->LineCount(), 1);
}

TEST(Memo, TypedOrPastedTextOutsideTheCodePageBecomesQuestionMarks) {
  TForm form("fForm");
  auto* m = new TMemo(&form, "Memo1");
  form.show();
  m->setFocus();
  int changes = 0;
  m->OnChange = [&] { ++changes; };
  // Typed as a keyboard with these letters sends them.
  for (const QChar c : QStringLiteral(u"Žák Ω")) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(m, &press);
  }
  EXPECT_EQ(m->Text(), "\x8E\xE1k ?");
  EXPECT_EQ(changes, 5);
  m->insertPlainText(QStringLiteral(u"\n😀 ř"));
  EXPECT_EQ(m->Text(), "\x8E\xE1k ?\r\n? \xF8");
  EXPECT_EQ(m->textCursor().position(), m->toPlainText().size());
}

TEST(Memo, WithoutScrollBarsLongLinesWrap) {
  TForm form("fForm");
  auto* m = new TMemo(&form, "Memo1");
  m->SetScrollBars(false);
  EXPECT_EQ(m->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_EQ(m->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_EQ(m->lineWrapMode(), QPlainTextEdit::WidgetWidth);
  EXPECT_FALSE(m->ReadOnly());
}

}  // namespace
