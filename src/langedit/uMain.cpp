#include "langedit/uMain.h"

#include "platform/appdir.h"
#include "platform/errors.h"
#include "platform/profile.h"

using namespace toolkit;

TForm1* Form1 = nullptr;

namespace {
// The window is 870 × 600 with its frame; this is the frame's width.
constexpr int kFrameWidth = 8;
}  // namespace

TForm1::TForm1() : TForm("Form1") {
  SetCaption("Editor jazyka");
  SetBorderStyle(TBorderStyle::bsSizeable);
  SetClientSize(870 - kFrameWidth, 600 - kNonClientHeight);
  move(192, 112);
  setFont(FontPt("MS Sans Serif", 8));

  StringGrid1 = new TStringGrid(this, "StringGrid1");
  StringGrid1->SetDefaultColWidth(120);
  StringGrid1->SetDefaultRowHeight(20);
  StringGrid1->SetFixedCols(0);
  StringGrid1->SetFixedRows(1);
  StringGrid1->SetRangeSelect(true);
  StringGrid1->SetEditing(true);
  // Tab leaves the grid for the buttons instead of walking its cells.
  StringGrid1->setTabKeyNavigation(false);
  // A translator sees what was typed; what the table cannot hold is named at the save.
  StringGrid1->SetKeepAllLetters(true);
  StringGrid1->SetCol(0);

  Panel1 = new TPanel(this, "Panel1");
  Panel1->resize(width(), 41);
  Panel1->SetAlign(TAlign::alBottom);
  SetAlign(StringGrid1, TAlign::alClient);

  bNacist = NewButton(Panel1, "bNacist", 8, 8, 75, 25, Cp1250("Načít"), [this] { bNacistClick(); });
  bUlozit = NewButton(Panel1, "bUlozit", 88, 8, 75, 25, Cp1250("Uložit"), [this] { bUlozitClick(); });
  bPridatJazyk =
      NewButton(Panel1, "bPridatJazyk", 776, 8, 75, 25, Cp1250("Přidat jazyk"), [this] { bPridatJazykClick(); });

  Edit1 = new TEdit(Panel1, "Edit1");
  Edit1->SetBounds(648, 10, 121, 21);

  Button1 = NewButton(Panel1, "Button1", 368, 8, 75, 25, "Odebrat jazyk", [this] { Button1Click(); });

  setTabOrder(StringGrid1, bNacist);
  setTabOrder(bNacist, bUlozit);
  setTabOrder(bUlozit, bPridatJazyk);
  setTabOrder(bPridatJazyk, Edit1);
  setTabOrder(Edit1, Button1);
}

void TForm1::FormCreate() { nacteno_ = false; }

std::string TForm1::TablePath() { return platform::ProgramDir() + "jazyk.ini"; }

void TForm1::bNacistClick() {
  // The table is read and parsed once for the whole grid.
  const platform::profile::Document table = platform::ProfileFile(TablePath()).ReadAll();
  jazyky_ = table.Sections();
  klice_.clear();
  // The keys are those of the first section; a table without one cannot be shown.
  if (jazyky_.empty()) throw platform::EListError(0);
  klice_ = table.Keys(jazyky_[0]);

  StringGrid1->SetColCount(static_cast<int>(jazyky_.size()) + 1);
  StringGrid1->SetRowCount(static_cast<int>(klice_.size()) + 1);
  StringGrid1->SetCells(0, 0, "Polo\x9Eky");  // "Položky"
  for (size_t r = 0; r < klice_.size(); ++r) StringGrid1->SetCells(0, static_cast<int>(r) + 1, klice_[r]);
  for (size_t i = 0; i < jazyky_.size(); ++i) {
    const int c = static_cast<int>(i) + 1;
    StringGrid1->SetCells(c, 0, jazyky_[i]);
    const std::string section = StringGrid1->Cells(c, 0);
    for (size_t r = 0; r < klice_.size(); ++r)
      StringGrid1->SetCells(c, static_cast<int>(r) + 1, table.Value(section, klice_[r], ""));
  }
  nacteno_ = true;
}

void TForm1::bUlozitClick() {
  if (!nacteno_) return;
  // Keys come from the load, never from column 0; after a failed load
  // there are none, and nothing is written.
  if (StringGrid1->ColCount() > 1 && StringGrid1->RowCount() > 1 + static_cast<int>(klice_.size())) {
    throw platform::EListError(static_cast<long>(klice_.size()));
  }
  if (!TextsFitTheTable()) return;
  // The whole grid goes into the table in memory and the file is replaced
  // once, so a failure leaves the table as it was, never half saved.
  platform::ProfileFile file(TablePath());
  platform::profile::Document table = file.ReadAll();
  for (int c = 1; c < StringGrid1->ColCount(); ++c) {
    for (int r = 1; r < StringGrid1->RowCount(); ++r) {
      table.Set(StringGrid1->Cells(c, 0), klice_[static_cast<size_t>(r - 1)], StringGrid1->Cells(c, r));
    }
  }
  file.WriteAll(table);
}

bool TForm1::TextsFitTheTable() {
  // Key by key, as the translator reads the grid.
  constexpr size_t kNamed = 10;
  std::vector<std::pair<int, int>> cells;
  for (int r = 1; r < StringGrid1->RowCount(); ++r) {
    for (int c = 1; c < StringGrid1->ColCount(); ++c) {
      if (!StringGrid1->CellFits(c, r)) cells.emplace_back(c, r);
    }
  }
  if (cells.empty()) return true;
  std::string names;
  for (size_t i = 0; i < cells.size() && i < kNamed; ++i) {
    const auto [c, r] = cells[i];
    names += StringGrid1->Cells(c, 0) + ": " + klice_[static_cast<size_t>(r - 1)] + "\n";
  }
  if (cells.size() > kNamed) names += Cp1250("… a další: ") + std::to_string(cells.size() - kNamed) + "\n";
  const bool save = MessageBoxes::AskYesNo(
      Cp1250("Uložit..."),
      Cp1250("Tyto texty obsahují znaky, které soubor jazyk.ini neumí uložit; místo každého z nich by se uložil "
             "otazník:\n") +
          names + Cp1250("\nUložit přesto s otazníky?"));
  if (!save) {
    StringGrid1->setCurrentCell(cells[0].second, cells[0].first);
    StringGrid1->setFocus();
  }
  return save;
}

void TForm1::bPridatJazykClick() {
  if (Edit1->Text().empty()) return;
  const int c = StringGrid1->ColCount();
  StringGrid1->SetColCount(c + 1);
  StringGrid1->SetCells(c, 0, Edit1->Text());
}

void TForm1::Button1Click() {
  const int c = StringGrid1->Col();
  // Column 0 holds the keys and column 1 the language the keys are taken from.
  if (c < 2) return;
  const std::string jazyk = StringGrid1->Cells(c, 0);
  // Erased first, so that a refused erasure leaves the grid as it was.
  platform::ProfileFile(TablePath()).EraseSection(jazyk);

  const int last = StringGrid1->ColCount() - 1;
  for (int k = c; k < last; ++k)
    for (int r = 0; r < StringGrid1->RowCount(); ++r) StringGrid1->SetCells(k, r, StringGrid1->Cells(k + 1, r));
  for (int r = 0; r < StringGrid1->RowCount(); ++r) StringGrid1->SetCells(last, r, "");
  StringGrid1->SetColCount(last);
}
