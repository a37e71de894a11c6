// A language added and translated in Lexorin and saved is one that Zorvik
// lists and speaks.
#include <algorithm>

#include "support/LexorinFixture.h"
#include "model/uDApp.h"

namespace {

TEST_F(LexorinTest, ALanguageTranslatedInTheEditorIsUsedByTheProgram) {
  testsupport::WriteBytes(TablePath(), testsupport::ReadBytes(testsupport::SourceDir() + "data/jazyk.ini"));
  Click("bNacist");
  TypeLanguageName(QStringLiteral("Deutsch"));
  Click("bPridatJazyk");
  const int col = Grid().ColCount() - 1;
  TypeIntoCell(col, RowOf("Konec"), QStringLiteral("Beenden"));
  TypeIntoCell(col, RowOf("Zrusit"), QStringLiteral("Abbrechen – sofort"));
  TypeIntoCell(col, RowOf("Zpet"), QStringLiteral("Zurück"));
  Click("bUlozit");
  ASSERT_TRUE(toolkit::MessageBoxes::Shown().empty());

  const std::vector<std::string> languages = ListLanguages();
  EXPECT_EQ(languages, (std::vector<std::string>{"\xC8"
                                                 "esky",
                                                 "English", "Deutsch"}));

  Settings = TNastaveni();
  Settings.pJazyk = "Deutsch";
  EXPECT_EQ(LangText("Konec"), "Beenden");
  EXPECT_EQ(LangText("Zrusit"), "Abbrechen \x96 sofort");
  EXPECT_EQ(LangText("Zpet"),
            "Zur\xFC"
            "ck");
  // A text left empty in the editor is one still to be translated.
  EXPECT_EQ(LangText("Dalsi"), "!_Dalsi");

  // The translator sees Zorvik's placeholder on the next load.
  Click("bNacist");
  EXPECT_EQ(Grid().Cells(col, RowOf("Dalsi")), "!_Dalsi");
  EXPECT_EQ(Grid().Cells(col, RowOf("Konec")), "Beenden");
}

}  // namespace
