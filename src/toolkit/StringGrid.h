#pragma once
// A grid of texts addressed as Cells(column, row), both from 0. The first
// FixedRows rows and FixedCols columns are fixed: drawn as headings, never
// selected or edited. Col and Row give the current cell.

#include <QTableWidget>

#include "toolkit/Controls.h"

namespace toolkit {

class TStringGrid : public TControl<QTableWidget> {
  Q_OBJECT

 public:
  // Five columns and five rows, one fixed row and one fixed column, 64 × 24 cells.
  TStringGrid(QWidget* parent, const char* name);

  int ColCount() const { return columnCount(); }
  void SetColCount(int count);
  int RowCount() const { return rowCount(); }
  void SetRowCount(int count);
  int FixedCols() const { return fixedCols_; }
  void SetFixedCols(int count);
  int FixedRows() const { return fixedRows_; }
  void SetFixedRows(int count);
  void SetDefaultColWidth(int width);
  void SetDefaultRowHeight(int height);
  // Typing into a cell (goEditing) and selecting ranges (goRangeSelect).
  void SetEditing(bool on);
  void SetRangeSelect(bool on);

  // Cells hold code page 1250 text. Typing is kept to the code page, each
  // other letter becoming '?' as it is typed, unless the grid keeps every
  // letter typed (SetKeepAllLetters); then Cells gives '?' for those and
  // CellFits tells which cells hold any.
  std::string Cells(int col, int row) const;
  void SetCells(int col, int row, const std::string& text);
  void SetKeepAllLetters(bool on) { keepAllLetters_ = on; }
  bool CellFits(int col, int row) const;

  int Col() const;
  void SetCol(int col);
  int Row() const;
  void SetRow(int row);

 private:
  QTableWidgetItem* Cell(int col, int row);
  void StyleCells();

  int fixedCols_ = 1;
  int fixedRows_ = 1;
  bool keepAllLetters_ = false;

  friend class CellDelegate;
};

}  // namespace toolkit
