// Controls: names and help contexts, labels, edits, radio groups, docking,
// timers, the grid, fonts and code page 1250 at the boundary.
#include <QApplication>
#include <QFontInfo>
#include <QKeyEvent>
#include <QStyle>
#include <QTest>
#include <gtest/gtest.h>

#include "toolkit/Toolkit.h"

using namespace toolkit;

namespace {

TEST(Controls, EveryControlCarriesItsNameAHelpContextAndATag) {
  TForm form("fForm");
  auto* b = new TButton(&form, "bSpustitTest");
  auto* s = new TSpinEdit(&form, "sePOtz");
  auto* r = new TRadioGroup(&form, "rZHodnoceni");
  EXPECT_EQ(form.findChild<TButton*>(QStringLiteral("bSpustitTest")), b);
  EXPECT_EQ(form.findChild<TSpinEdit*>(QStringLiteral("sePOtz")), s);
  EXPECT_EQ(form.findChild<TRadioGroup*>(QStringLiteral("rZHodnoceni")), r);
  EXPECT_EQ(b->property("HelpContext").toInt(), 0);
  b->SetHelpContext(1001);
  s->SetHelpContext(-25);
  EXPECT_EQ(b->property("HelpContext").toInt(), 1001);
  EXPECT_EQ(HelpContextOf(s), -25);
  s->SetTag(7);
  EXPECT_EQ(s->property("Tag").toInt(), 7);
}

TEST(Controls, TextOutsideTheCodePageBecomesAQuestionMarkAsItIsTyped) {
  EXPECT_EQ(FromQ(QStringLiteral("Příliš žluťoučký")), "P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD");
  EXPECT_EQ(ToQ("P\xF8\xEDli\x9A"), QStringLiteral("Příliš"));
  EXPECT_EQ(FromQ(QStringLiteral("a→b😀c")), "a?b?c");

  TForm form("fForm");
  auto* e = new TEdit(&form, "eJTestu");
  std::vector<std::string> changes;
  e->OnChange = [&] { changes.push_back(e->Text()); };
  form.show();
  QApplication::setActiveWindow(&form);
  e->setFocus();
  // Typed as a keyboard layout would deliver them.
  for (const QString& ch : {QStringLiteral("ř"), QStringLiteral("→")}) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, ch);
    QApplication::sendEvent(e, &press);
  }
  EXPECT_EQ(e->text(), QStringLiteral("ř?"));
  EXPECT_EQ(changes.back(), "\xF8?");
  for (const auto& c : changes) EXPECT_EQ(c.find('\0'), std::string::npos);
}

TEST(Controls, APasswordEditShowsStarsAndHasNoLengthLimit) {
  TForm form("fForm");
  auto* me = new TMaskEdit(&form, "meHeslo");
  me->SetPasswordChar('*');
  EXPECT_EQ(me->echoMode(), QLineEdit::Password);
  EXPECT_EQ(me->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, me), int('*'));
  const std::string longText(40000, 'x');
  me->SetText(longText);
  EXPECT_EQ(me->Text(), longText);
}

TEST(Controls, LabelsSizeToTheirTextAndNameTheirFocusControl) {
  TForm form("fForm");
  form.setFont(FontPt("MS Sans Serif", 8));
  auto* l = new TLabel(&form, "Label1");
  auto* e = new TEdit(&form, "eJTestu");
  l->SetFocusControl(e);
  EXPECT_EQ(l->FocusControl(), e);
  l->SetCaption("Jm\xE9no testu:");
  const int shortWidth = l->width();
  l->SetCaption("Jm\xE9no testu, a to dlouh\xE9:");
  EXPECT_GT(l->width(), shortWidth);
  EXPECT_EQ(l->width(), l->sizeHint().width());

  l->SetAutoSize(false);
  l->resize(50, 13);
  l->SetWordWrap(true);
  l->SetAutoSize(true);
  EXPECT_EQ(l->width(), 50);
  EXPECT_GT(l->height(), 13);
}

TEST(Controls, LabelClicksAndHoverRunTheirHandlers) {
  TForm form("fForm");
  auto* l = new TLabel(&form, "Label2");
  l->SetCaption("http://example.invalid");
  int clicks = 0, moves = 0, leaves = 0;
  l->OnClick = [&] { ++clicks; };
  l->OnMouseMove = [&] { ++moves; };
  l->OnMouseLeave = [&] { ++leaves; };
  form.show();
  QTest::mouseClick(l, Qt::LeftButton);
  QTest::mouseMove(l, QPoint(2, 2));
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(l, &leave);
  EXPECT_EQ(clicks, 1);
  EXPECT_GE(moves, 1);
  EXPECT_EQ(leaves, 1);
  l->SetFontColor(QColor(0, 0, 255));
  EXPECT_EQ(l->FontColor(), QColor(0, 0, 255));
}

TEST(Controls, CheckBoxesAndRadioButtonsReportTheirChanges) {
  TForm form("fForm");
  auto* c = new TCheckBox(&form, "cbKodovat");
  auto* r1 = new TRadioButton(&form, "r1");
  auto* r2 = new TRadioButton(&form, "r2");
  int checks = 0, radios = 0;
  c->OnClick = [&] { ++checks; };
  r1->OnClick = [&] { ++radios; };
  r2->OnClick = [&] { ++radios; };
  c->SetChecked(true);
  c->SetChecked(true);
  c->click();
  EXPECT_EQ(checks, 2);
  EXPECT_FALSE(c->Checked());
  r1->SetChecked(true);
  r2->SetChecked(true);
  EXPECT_FALSE(r1->Checked());
  EXPECT_EQ(radios, 2);
  // The program can clear the checked one; the group then holds none, and
  // still keeps to one afterwards.
  r2->SetChecked(false);
  EXPECT_FALSE(r1->Checked());
  EXPECT_FALSE(r2->Checked());
  r1->click();
  r2->click();
  EXPECT_FALSE(r1->Checked());
  EXPECT_TRUE(r2->Checked());
}

TEST(Controls, ChoiceButtonsAreCheckBoxesForSeveralAndRadioButtonsForOne) {
  TForm form("fForm");
  QAbstractButton* several[] = {NewChoiceButton(&form, "c1", "a)", true), NewChoiceButton(&form, "c2", "b)", true)};
  EXPECT_NE(qobject_cast<TCheckBox*>(several[0]), nullptr);
  EXPECT_EQ(several[1]->objectName(), QStringLiteral("c2"));
  EXPECT_EQ(several[1]->text(), QStringLiteral("b)"));
  SetChoiceChecked(several[0], true);
  SetChoiceChecked(several[1], true);
  EXPECT_TRUE(several[0]->isChecked());

  QWidget group(&form);
  QAbstractButton* one[] = {NewChoiceButton(&group, "r1", "a)", false), NewChoiceButton(&group, "r2", "b)", false)};
  EXPECT_NE(qobject_cast<TRadioButton*>(one[0]), nullptr);
  SetChoiceChecked(one[0], true);
  SetChoiceChecked(one[1], true);
  EXPECT_FALSE(one[0]->isChecked());
  SetChoiceChecked(one[1], false);
  EXPECT_FALSE(one[1]->isChecked());
  EXPECT_TRUE(several[1]->isChecked());
}

TEST(Controls, RadioGroupRebuildLeavesNoneAndSelectingRunsTheClickOnce) {
  TForm form("fForm");
  auto* g = new TRadioGroup(&form, "rZHodnoceni");
  g->SetBounds(8, 8, 241, 41);
  g->SetColumns(3);
  std::vector<int> clicks;
  g->OnClick = [&] { clicks.push_back(g->ItemIndex()); };
  for (const char* item : {"Chybov\xE9", "Bodov\xE9", "Procentov\xE9"}) g->AddItem(item);
  EXPECT_EQ(g->ItemIndex(), -1);
  g->SetItemIndex(2);
  g->SetItemIndex(2);
  EXPECT_EQ(clicks, std::vector<int>{2});
  EXPECT_TRUE(g->Button(2)->isChecked());

  g->Button(0)->click();
  EXPECT_EQ(g->ItemIndex(), 0);
  EXPECT_EQ(clicks, (std::vector<int>{2, 0}));

  g->ClearItems();
  for (const char* item : {"A", "B", "C"}) g->AddItem(item);
  EXPECT_EQ(g->ItemIndex(), -1);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(g->Button(i)->isChecked());
  g->SetItemIndex(2);
  EXPECT_EQ(clicks, (std::vector<int>{2, 0, 2}));
  g->SetItemIndex(-1);
  EXPECT_FALSE(g->Button(2)->isChecked());
  EXPECT_EQ(clicks.size(), 3u);
  // Three columns side by side across the box.
  EXPECT_LT(g->Button(0)->x(), g->Button(1)->x());
  EXPECT_EQ(g->Button(0)->y(), g->Button(2)->y());
}

TEST(Controls, DockedPanelsFollowTheirParentsSize) {
  TForm form("fForm");
  form.SetClientSize(633, 300);
  auto* top = new TPanel(&form, "pOtazka");
  auto* bottom = new TPanel(&form, "pMenu");
  auto* client = new TPanel(&form, "pOdpovedi");
  top->resize(10, 57);
  bottom->resize(10, 41);
  top->SetAlign(TAlign::alTop);
  bottom->SetAlign(TAlign::alBottom);
  client->SetAlign(TAlign::alClient);
  form.show();
  EXPECT_EQ(top->geometry(), QRect(0, 0, 633, 57));
  EXPECT_EQ(bottom->geometry(), QRect(0, 259, 633, 41));
  EXPECT_EQ(client->geometry(), QRect(0, 57, 633, 202));
  form.SetClientHeight(400);
  top->resize(633, 80);
  EXPECT_EQ(bottom->geometry(), QRect(0, 359, 633, 41));
  EXPECT_EQ(client->geometry(), QRect(0, 80, 633, 279));
}

TEST(Controls, ATimerRunsWhileEnabledAndTicksOnDemand) {
  TForm form("fForm");
  auto* t = new TTimer(&form, "tCNO");
  int ticks = 0;
  t->OnTimer = [&] { ++ticks; };
  EXPECT_FALSE(t->Enabled());
  EXPECT_FALSE(t->Running());
  t->SetInterval(1000);
  t->SetEnabled(true);
  EXPECT_TRUE(t->Running());
  t->SetTag(30);
  t->Timer();
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(t->Tag(), 30);
  t->SetEnabled(false);
  EXPECT_FALSE(t->Running());
  t->SetEnabled(true);
  t->SetInterval(0);
  EXPECT_FALSE(t->Running());
}

TEST(Controls, GridCellsCountsAndFixedRows) {
  TForm form("fForm");
  auto* g = new TStringGrid(&form, "StringGrid1");
  EXPECT_EQ(g->ColCount(), 5);
  EXPECT_EQ(g->RowCount(), 5);
  g->SetFixedCols(0);
  g->SetColCount(3);
  g->SetRowCount(128);
  g->SetCells(0, 0, "Polo\x9Eky");
  g->SetCells(2, 127, "Konec");
  EXPECT_EQ(g->Cells(0, 0), "Polo\x9Eky");
  EXPECT_EQ(g->Cells(2, 127), "Konec");
  EXPECT_EQ(g->Cells(1, 1), "");
  EXPECT_FALSE(g->item(0, 1)->flags() & Qt::ItemIsEditable);
  EXPECT_TRUE(g->item(1, 0)->flags() & Qt::ItemIsEditable);
  g->SetCol(2);
  EXPECT_EQ(g->Col(), 2);
  g->SetColCount(2);
  EXPECT_EQ(g->Cells(2, 127), "");
}

TEST(Controls, TheWindowsFacesResolveToCloseFreeFaces) {
  EXPECT_EQ(QFontInfo(FontPx("Comic Sans MS", 13, true)).family(), QStringLiteral("Comic Neue"));
  EXPECT_NE(QFontInfo(FontPt("MS Sans Serif", 8)).family(), QString());
  EXPECT_EQ(FontPt("MS Sans Serif", 8).pixelSize(), 11);
  EXPECT_EQ(FontPt("Comic Sans MS", 10).pixelSize(), 13);
  EXPECT_TRUE(FontPx("Comic Sans MS", 13, true).bold());
}

}  // namespace

TEST(Controls, AGroupBoxDrawsItsTopLineThroughTheCaption) {
  TForm form("fForm");
  form.setFont(FontPt("MS Sans Serif", 8));
  auto* g = new TGroupBox(&form, "gParametry");
  g->SetBounds(8, 8, 161, 105);
  g->SetCaption("Parametry testu");
  const QImage image = g->grab().toImage();
  const QRgb dark = g->palette().color(QPalette::Dark).rgb();
  const int top = g->FrameTop();
  EXPECT_EQ(top, g->fontMetrics().height() / 2);
  // The left edge starts at the line, not above it; the line runs beside the caption.
  EXPECT_NE(image.pixel(0, top - 1), dark);
  EXPECT_EQ(image.pixel(0, top + 1), dark);
  EXPECT_EQ(image.pixel(4, top), dark);
  EXPECT_EQ(image.pixel(150, top), dark);
  // A control placed 14 from the box's top clears the line.
  EXPECT_LT(top + 1, 14);
}
