// Lexorin's window: its shape before and after a load, and the four
// operations with the table file checked on disk after each save and removal.
#include <sys/resource.h>

#include <csignal>
#include <filesystem>

#include "support/LexorinFixture.h"
// Only the number of keys the program looks up, for the shipped table's rows.
#include "model/uDApp.h"

using namespace toolkit;

namespace {

// Two languages; the key "Jen" is only in the second section.
const std::string kTwo =
    "[\xC8"
    "esky]\r\nKonec=Konec\r\nZpet=Zp\xECt\r\n"
    "[English]\r\nKonec=End\r\nJen=Only here\r\nZpet=Back\r\n";

const std::string kFour =
    "[A]\r\nK1=a1\r\nK2=a2\r\n"
    "[B]\r\nK1=b1\r\nK2=b2\r\n"
    "[C]\r\nK1=c1\r\nK2=c2\r\n"
    "[D]\r\nK1=d1\r\nK2=d2\r\n";

std::vector<std::string> Row(const TStringGrid& g, int r) {
  std::vector<std::string> out;
  for (int c = 0; c < g.ColCount(); ++c) out.push_back(g.Cells(c, r));
  return out;
}

using Cells = std::vector<std::string>;

TEST_F(LexorinTest, BeforeTheFirstLoadTheWindowShowsAnEmptyFiveByFiveGrid) {
  EXPECT_EQ(form_->Caption(), "Editor jazyka");
  EXPECT_EQ(form_->pos(), QPoint(192, 112));
  TStringGrid& g = Grid();
  EXPECT_EQ(g.ColCount(), 5);
  EXPECT_EQ(g.RowCount(), 5);
  for (int c = 0; c < 5; ++c)
    for (int r = 0; r < 5; ++r) EXPECT_EQ(g.Cells(c, r), "") << c << "," << r;
  EXPECT_EQ(g.FixedRows(), 1);
  EXPECT_EQ(g.FixedCols(), 0);
  EXPECT_FALSE(g.item(0, 0)->flags() & Qt::ItemIsEditable);
  EXPECT_TRUE(g.item(1, 0)->flags() & Qt::ItemIsEditable);
  EXPECT_EQ(g.columnWidth(3), 120);
  EXPECT_EQ(g.rowHeight(3), 20);
  EXPECT_FALSE(form_->Nacteno());

  auto* panel = form_->findChild<TPanel*>(QStringLiteral("Panel1"));
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->height(), 41);
  EXPECT_EQ(panel->geometry().bottom(), form_->height() - 1);
  EXPECT_EQ(panel->width(), form_->width());
  EXPECT_EQ(g.geometry(), QRect(0, 0, form_->width(), form_->height() - 41));

  struct Expected {
    const char* name;
    const char* caption;
    QRect place;
  };
  for (const Expected& e :
       {Expected{"bNacist", "Na\xE8\xEDt", QRect(8, 8, 75, 25)}, Expected{"bUlozit", "Ulo\x9Eit", QRect(88, 8, 75, 25)},
        Expected{"bPridatJazyk", "P\xF8idat jazyk", QRect(776, 8, 75, 25)},
        Expected{"Button1", "Odebrat jazyk", QRect(368, 8, 75, 25)}}) {
    auto* b = panel->findChild<TButton*>(QString::fromLatin1(e.name));
    ASSERT_NE(b, nullptr) << e.name;
    EXPECT_EQ(b->Caption(), e.caption);
    EXPECT_EQ(b->geometry(), e.place) << e.name;
  }
  auto* edit = panel->findChild<TEdit*>(QStringLiteral("Edit1"));
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->geometry(), QRect(648, 10, 121, 21));
  EXPECT_EQ(edit->Text(), "");

  // Tab walks the panel's controls in the order of the form's fields.
  form_->bNacist->setFocus();
  for (QWidget* next : std::vector<QWidget*>{form_->bUlozit, form_->bPridatJazyk, form_->Edit1, form_->Button1}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
  }
}

TEST_F(LexorinTest, BeforeALoadSavingChangesNothingWhileAddingAndRemovingWorkOnTheGrid) {
  Click("bUlozit");
  EXPECT_FALSE(std::filesystem::exists(TablePath()));
  SetTable(kFour);
  TypeIntoCell(1, 1, QStringLiteral("typed"));
  Click("bUlozit");
  EXPECT_EQ(Table(), kFour);

  TypeLanguageName(QStringLiteral("C"));
  Click("bPridatJazyk");
  EXPECT_EQ(Grid().ColCount(), 6);
  EXPECT_EQ(Grid().Cells(5, 0), "C");
  EXPECT_EQ(Table(), kFour);

  // Removal erases its section on disk even from a grid that was never loaded.
  ClickCell(5, 1);
  Click("Button1");
  EXPECT_EQ(Grid().ColCount(), 5);
  EXPECT_EQ(Table(), "[A]\r\nK1=a1\r\nK2=a2\r\n[B]\r\nK1=b1\r\nK2=b2\r\n[D]\r\nK1=d1\r\nK2=d2\r\n");
  EXPECT_TRUE(MessageBoxes::Shown().empty());
}

TEST_F(LexorinTest, TheShippedTableGivesThreeColumnsAndOneRowPerKey) {
  const std::string shipped = testsupport::ReadBytes(testsupport::SourceDir() + "data/jazyk.ini");
  ASSERT_FALSE(shipped.empty());
  SetTable(shipped);
  Click("bNacist");
  TStringGrid& g = Grid();
  ASSERT_EQ(g.ColCount(), 3);
  ASSERT_EQ(g.RowCount(), static_cast<int>(kLangKeyCount) + 1);
  EXPECT_EQ(Row(g, 0), (Cells{"Polo\x9Eky",
                              "\xC8"
                              "esky",
                              "English"}));
  EXPECT_EQ(g.Cells(0, 1), "Aktualizace");
  EXPECT_EQ(g.Cells(2, RowOf("Konec")), "Exit");
  EXPECT_EQ(g.Cells(1, RowOf("Zrusit")), "Zru\x9Ait");
  EXPECT_EQ(g.columnWidth(2), 120);
  EXPECT_EQ(g.rowHeight(static_cast<int>(kLangKeyCount)), 20);
  EXPECT_FALSE(g.item(0, 1)->flags() & Qt::ItemIsEditable);
  EXPECT_TRUE(form_->Nacteno());
  EXPECT_EQ(form_->Jazyky(), (Cells{"\xC8"
                                    "esky",
                                    "English"}));
  EXPECT_EQ(form_->Klice().size(), kLangKeyCount);

  // Saving what was loaded leaves the table as it was, byte for byte.
  Click("bUlozit");
  EXPECT_EQ(Table(), shipped);
  EXPECT_TRUE(MessageBoxes::Shown().empty());
}

TEST_F(LexorinTest, KeysOnlyInALaterSectionAreNeitherShownNorTouched) {
  SetTable(kTwo);
  Click("bNacist");
  TStringGrid& g = Grid();
  EXPECT_EQ(g.RowCount(), 3);
  EXPECT_EQ(Row(g, 1), (Cells{"Konec", "Konec", "End"}));
  EXPECT_EQ(Row(g, 2), (Cells{"Zpet", "Zp\xECt", "Back"}));

  // A text still in its editor is saved too: clicking the button ends the edit.
  TypeIntoCell(2, 1, QStringLiteral("Quit"), false);
  Click("bUlozit");
  EXPECT_EQ(Table(),
            "[\xC8"
            "esky]\r\nKonec=Konec\r\nZpet=Zp\xECt\r\n"
            "[English]\r\nKonec=Quit\r\nJen=Only here\r\nZpet=Back\r\n");
}

TEST_F(LexorinTest, KeysAreSavedFromTheLoadAndEmptiedCellsAsEmptyKeys) {
  SetTable(kTwo);
  Click("bNacist");
  TypeIntoCell(0, 1, QStringLiteral("Jinde"));
  TypeIntoCell(1, 2, QString());
  TypeIntoCell(2, 2, QStringLiteral("Zurück"));
  EXPECT_EQ(Grid().Cells(0, 1), "Jinde");
  EXPECT_EQ(Grid().Cells(1, 2), "");
  Click("bUlozit");
  EXPECT_EQ(Table(),
            "[\xC8"
            "esky]\r\nKonec=Konec\r\nZpet=\r\n"
            "[English]\r\nKonec=End\r\nJen=Only here\r\nZpet=Zur\xFC"
            "ck\r\n");
}

TEST_F(LexorinTest, TextsTheTableCannotHoldAreNamedAndNothingIsSavedUnlessTheTranslatorSaysSo) {
  SetTable(kTwo);
  Click("bNacist");
  // "Создать" and "crème": Cyrillic and è are beyond the table's code page.
  TypeIntoCell(2, 1, QString::fromUtf8("\xD0\xA1\xD0\xBE\xD0\xB7\xD0\xB4\xD0\xB0\xD1\x82\xD1\x8C"));
  TypeIntoCell(1, 2, QString::fromUtf8("cr\xC3\xA8me"));
  TypeIntoCell(2, 2, QStringLiteral("Back?"));
  // What was typed stays in the cell as typed.
  EXPECT_EQ(Grid().item(1, 2)->text(), QString::fromUtf8("\xD0\xA1\xD0\xBE\xD0\xB7\xD0\xB4\xD0\xB0\xD1\x82\xD1\x8C"));

  MessageBoxes::QueueAnswer(TMsgButton::No);
  Click("bUlozit");
  ASSERT_EQ(MessageBoxes::Shown().size(), 1u);
  const TShownBox& box = MessageBoxes::Shown()[0];
  EXPECT_EQ(box.Icon, TMsgIcon::Warning);
  EXPECT_EQ(box.Caption, "Ulo\x9Eit...");
  EXPECT_EQ(ToQ(box.Text), QString::fromUtf8("Tyto texty obsahují znaky, které soubor jazyk.ini neumí uložit; "
                                             "místo každého z nich by se uložil otazník:\n"
                                             "English: Konec\n\xC4\x8C" "esky: Zpet\n\n"
                                             "Uložit přesto s otazníky?"));
  EXPECT_EQ(Table(), kTwo);
  // The first of them is where the translator goes on.
  EXPECT_EQ(Grid().Col(), 2);
  EXPECT_EQ(Grid().Row(), 1);

  // Changed, they save without a question; a "?" typed by the translator is theirs.
  TypeIntoCell(2, 1, QStringLiteral("Create"));
  TypeIntoCell(1, 2, QStringLiteral("Zp\u011Bt"));
  MessageBoxes::Clear();
  Click("bUlozit");
  EXPECT_TRUE(MessageBoxes::Shown().empty());
  EXPECT_EQ(Table(), "[\xC8" "esky]\r\nKonec=Konec\r\nZpet=Zp\xECt\r\n"
                     "[English]\r\nKonec=Create\r\nJen=Only here\r\nZpet=Back?\r\n");

  // Confirmed, the code page's "?" goes in their place.
  TypeIntoCell(2, 1, QString::fromUtf8("\xD0\xA1\xD0\xBE\xD0\xB7\xD0\xB4\xD0\xB0\xD1\x82\xD1\x8C"));
  MessageBoxes::QueueAnswer(TMsgButton::Yes);
  Click("bUlozit");
  EXPECT_EQ(MessageBoxes::Shown().size(), 1u);
  EXPECT_EQ(Table(), "[\xC8" "esky]\r\nKonec=Konec\r\nZpet=Zp\xECt\r\n"
                     "[English]\r\nKonec=???????\r\nJen=Only here\r\nZpet=Back?\r\n");
}

TEST_F(LexorinTest, RemovingWithTheKeysOrTheFirstLanguageCurrentDoesNothing) {
  SetTable(kFour);
  Click("bNacist");
  const auto header = Row(Grid(), 0);
  for (int col : {0, 1}) {
    ClickCell(col, 2);
    Click("Button1");
    EXPECT_EQ(Grid().ColCount(), 5) << col;
    EXPECT_EQ(Row(Grid(), 0), header) << col;
    EXPECT_EQ(Table(), kFour) << col;
  }
}

TEST_F(LexorinTest, RemovingAMiddleLanguageErasesItAtOnceAndMovesTheNextIntoItsPlace) {
  SetTable(kFour);
  Click("bNacist");
  TypeIntoCell(4, 1, QStringLiteral("d1 new"));
  ClickCell(3, 2);
  Click("Button1");
  EXPECT_EQ(Table(), "[A]\r\nK1=a1\r\nK2=a2\r\n[B]\r\nK1=b1\r\nK2=b2\r\n[D]\r\nK1=d1\r\nK2=d2\r\n");
  TStringGrid& g = Grid();
  ASSERT_EQ(g.ColCount(), 4);
  EXPECT_EQ(Row(g, 0), (Cells{"Polo\x9Eky", "A", "B", "D"}));
  EXPECT_EQ(Row(g, 1), (Cells{"K1", "a1", "b1", "d1 new"}));
  EXPECT_EQ(Row(g, 2), (Cells{"K2", "a2", "b2", "d2"}));

  Click("bUlozit");
  EXPECT_EQ(Table(), "[A]\r\nK1=a1\r\nK2=a2\r\n[B]\r\nK1=b1\r\nK2=b2\r\n[D]\r\nK1=d1 new\r\nK2=d2\r\n");
}

TEST_F(LexorinTest, RemovingTheLastLanguageErasesItsSectionAndDropsTheColumn) {
  SetTable(kFour);
  Click("bNacist");
  ClickCell(4, 1);
  Click("Button1");
  EXPECT_EQ(Table(), "[A]\r\nK1=a1\r\nK2=a2\r\n[B]\r\nK1=b1\r\nK2=b2\r\n[C]\r\nK1=c1\r\nK2=c2\r\n");
  ASSERT_EQ(Grid().ColCount(), 4);
  EXPECT_EQ(Row(Grid(), 0), (Cells{"Polo\x9Eky", "A", "B", "C"}));
  EXPECT_EQ(Row(Grid(), 2), (Cells{"K2", "a2", "b2", "c2"}));

  // A language added afterwards starts with empty cells, not the removed texts.
  TypeLanguageName(QStringLiteral("E"));
  Click("bPridatJazyk");
  EXPECT_EQ(Row(Grid(), 1), (Cells{"K1", "a1", "b1", "c1", ""}));
}

TEST_F(LexorinTest, ANameAddedTwiceGivesTwoColumnsSavedIntoOneSectionTheLaterWinning) {
  SetTable(kTwo);
  Click("bNacist");
  Click("bPridatJazyk");
  EXPECT_EQ(Grid().ColCount(), 3);

  TypeLanguageName(QStringLiteral("Deutsch"));
  Click("bPridatJazyk");
  Click("bPridatJazyk");
  TStringGrid& g = Grid();
  ASSERT_EQ(g.ColCount(), 5);
  EXPECT_EQ(Row(g, 0), (Cells{"Polo\x9Eky",
                              "\xC8"
                              "esky",
                              "English", "Deutsch", "Deutsch"}));
  EXPECT_EQ(Row(g, 1), (Cells{"Konec", "Konec", "End", "", ""}));
  EXPECT_EQ(Table(), kTwo);

  TypeIntoCell(3, 1, QStringLiteral("Ende"));
  TypeIntoCell(3, 2, QStringLiteral("Zurück"));
  TypeIntoCell(4, 1, QStringLiteral("Schluss"));
  Click("bUlozit");
  EXPECT_EQ(Table(), kTwo + "[Deutsch]\r\nKonec=Schluss\r\nZpet=\r\n");
}

TEST_F(LexorinTest, TextsLongerThanTheReadBufferComeBackCut) {
  const std::string longText(3000, 'x');
  SetTable("[A]\r\nK=" + longText + "\r\nL=short\r\n");
  Click("bNacist");
  EXPECT_EQ(Grid().Cells(1, 1), std::string(2047, 'x'));
  EXPECT_EQ(Grid().Cells(1, 2), "short");
}

TEST_F(LexorinTest, ATableWithoutSectionsEndsTheLoadWithAListError) {
  // No file at all: the grid stays empty and saving still does nothing.
  Click("bNacist");
  ASSERT_EQ(MessageBoxes::Shown().size(), 1u);
  EXPECT_EQ(MessageBoxes::Shown()[0].Caption, Application()->Title());
  EXPECT_EQ(MessageBoxes::Shown()[0].Text, "List index out of bounds (0)");
  EXPECT_EQ(MessageBoxes::Shown()[0].Icon, TMsgIcon::Error);
  EXPECT_EQ(Grid().ColCount(), 5);
  EXPECT_FALSE(form_->Nacteno());
  Click("bUlozit");
  EXPECT_FALSE(std::filesystem::exists(TablePath()));

  // After a good load, a table that lost its sections leaves the grid as it
  // was, and saving it back is refused until a load succeeds.
  SetTable(kTwo);
  Click("bNacist");
  const std::string keysOnly = "Konec=x\r\n";
  SetTable(keysOnly);
  MessageBoxes::Clear();
  Click("bNacist");
  ASSERT_EQ(MessageBoxes::Shown().size(), 1u);
  EXPECT_EQ(MessageBoxes::Shown()[0].Text, "List index out of bounds (0)");
  EXPECT_EQ(Row(Grid(), 1), (Cells{"Konec", "Konec", "End"}));
  EXPECT_TRUE(form_->Nacteno());
  EXPECT_TRUE(form_->Jazyky().empty());
  EXPECT_TRUE(form_->Klice().empty());
  Click("bUlozit");
  ASSERT_EQ(MessageBoxes::Shown().size(), 2u);
  EXPECT_EQ(MessageBoxes::Shown()[1].Text, "List index out of bounds (0)");
  EXPECT_EQ(Table(), keysOnly);

  SetTable(kTwo);
  Click("bNacist");
  TypeIntoCell(2, 1, QStringLiteral("Quit"));
  Click("bUlozit");
  EXPECT_EQ(MessageBoxes::Shown().size(), 2u);
  EXPECT_NE(Table().find("Konec=Quit"), std::string::npos);
}

TEST_F(LexorinTest, ARefusedWriteIsShownAndARefusedErasureLeavesTheGridAsItWas) {
  SetTable(kFour);
  Click("bNacist");
  // Something the table cannot be written over stands in its place.
  std::filesystem::remove(TablePath());
  std::filesystem::create_directories(TablePath() + "/held");
  const std::string refused = "Cannot access file \"" + platform::ProgramDir() + "jazyk.ini\": Is a directory";

  ClickCell(3, 1);
  Click("Button1");
  ASSERT_EQ(MessageBoxes::Shown().size(), 1u);
  EXPECT_EQ(MessageBoxes::Shown()[0].Text, refused);
  EXPECT_EQ(Row(Grid(), 0), (Cells{"Polo\x9Eky", "A", "B", "C", "D"}));
  EXPECT_EQ(Row(Grid(), 1), (Cells{"K1", "a1", "b1", "c1", "d1"}));

  // The save stops at its first cell: one box, not one per text.
  Click("bUlozit");
  ASSERT_EQ(MessageBoxes::Shown().size(), 2u);
  EXPECT_EQ(MessageBoxes::Shown()[1].Text, refused);
  EXPECT_TRUE(std::filesystem::is_directory(TablePath()));
}

// A disk that fills midway through the save: a table saved text by text was
// left half written; saved at once it is left exactly as it was.
TEST_F(LexorinTest, ASaveThatFailsMidwayLeavesTheTableAsItWas) {
  SetTable(kTwo);
  Click("bNacist");
  TypeLanguageName(QStringLiteral("Deutsch"));
  Click("bPridatJazyk");
  TypeIntoCell(3, 1, QStringLiteral("Ende"));
  TypeIntoCell(3, 2, QStringLiteral("Zur\u00FCck"));
  TypeIntoCell(2, 1, QStringLiteral("Quit"));

  // Files may grow to no more than the table now is and one text of more.
  const std::string before = Table();
  struct rlimit old;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldSignal = ::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = before.size() + 12;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  Click("bUlozit");
  ::setrlimit(RLIMIT_FSIZE, &old);
  ::signal(SIGXFSZ, oldSignal);

  ASSERT_EQ(MessageBoxes::Shown().size(), 1u);
  EXPECT_EQ(MessageBoxes::Shown()[0].Text, "Unable to write to " + platform::ProgramDir() + "jazyk.ini");
  EXPECT_EQ(Table(), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.Path()), {}), 1);

  // With room on the disk the same save writes everything at once.
  Click("bUlozit");
  EXPECT_EQ(Table(),
            "[\xC8"
            "esky]\r\nKonec=Konec\r\nZpet=Zp\xECt\r\n"
            "[English]\r\nKonec=Quit\r\nJen=Only here\r\nZpet=Back\r\n"
            "[Deutsch]\r\nKonec=Ende\r\nZpet=Zur\xFC"
            "ck\r\n");
}

}  // namespace
