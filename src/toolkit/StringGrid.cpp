#include "toolkit/StringGrid.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QStyledItemDelegate>

#include "toolkit/Text.h"

namespace toolkit {

// Cell editing keeps to code page 1250 like every edit, unless the grid keeps every letter.
class CellDelegate : public QStyledItemDelegate {
 public:
  explicit CellDelegate(TStringGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (line && !grid_->keepAllLetters_) line->setValidator(new Cp1250Validator(line));
    return editor;
  }

 private:
  TStringGrid* grid_;
};

TStringGrid::TStringGrid(QWidget* parent, const char* name) : TControl(parent, name) {
  horizontalHeader()->hide();
  verticalHeader()->hide();
  horizontalHeader()->setMinimumSectionSize(1);
  verticalHeader()->setMinimumSectionSize(1);
  setItemDelegate(new CellDelegate(this));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  SetEditing(false);
  SetDefaultColWidth(64);
  SetDefaultRowHeight(24);
  setColumnCount(5);
  setRowCount(5);
  StyleCells();
  SetCol(fixedCols_);
  SetRow(fixedRows_);
}

void TStringGrid::SetColCount(int count) {
  setColumnCount(std::max(0, count));
  StyleCells();
}

void TStringGrid::SetRowCount(int count) {
  setRowCount(std::max(0, count));
  StyleCells();
}

void TStringGrid::SetFixedCols(int count) {
  fixedCols_ = std::max(0, count);
  StyleCells();
}

void TStringGrid::SetFixedRows(int count) {
  fixedRows_ = std::max(0, count);
  StyleCells();
}

void TStringGrid::SetDefaultColWidth(int width) {
  horizontalHeader()->setDefaultSectionSize(width);
  for (int c = 0; c < columnCount(); ++c) setColumnWidth(c, width);
}

void TStringGrid::SetDefaultRowHeight(int height) {
  verticalHeader()->setDefaultSectionSize(height);
  for (int r = 0; r < rowCount(); ++r) setRowHeight(r, height);
}

void TStringGrid::SetEditing(bool on) {
  setEditTriggers(on ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked
                     : QAbstractItemView::NoEditTriggers);
}

void TStringGrid::SetRangeSelect(bool on) {
  setSelectionMode(on ? QAbstractItemView::ContiguousSelection : QAbstractItemView::SingleSelection);
}

QTableWidgetItem* TStringGrid::Cell(int col, int row) {
  QTableWidgetItem* it = item(row, col);
  if (!it) {
    it = new QTableWidgetItem;
    setItem(row, col, it);
    const bool fixed = col < fixedCols_ || row < fixedRows_;
    if (fixed) {
      it->setFlags(Qt::ItemIsEnabled);
      it->setBackground(palette().button());
    }
  }
  return it;
}

void TStringGrid::StyleCells() {
  // Every cell gets an item, so fixed cells draw as headings and the rest can be typed into.
  for (int r = 0; r < rowCount(); ++r) {
    for (int c = 0; c < columnCount(); ++c) {
      QTableWidgetItem* it = Cell(c, r);
      const bool fixed = c < fixedCols_ || r < fixedRows_;
      it->setFlags(fixed ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
      it->setBackground(fixed ? palette().button() : QBrush());
    }
  }
}

std::string TStringGrid::Cells(int col, int row) const {
  const QTableWidgetItem* it = item(row, col);
  return it ? FromQ(it->text()) : std::string();
}

bool TStringGrid::CellFits(int col, int row) const {
  const QTableWidgetItem* it = item(row, col);
  return !it || Representable(it->text()) == it->text();
}

void TStringGrid::SetCells(int col, int row, const std::string& text) {
  if (col < 0 || row < 0 || col >= columnCount() || row >= rowCount()) return;
  Cell(col, row)->setText(ToQ(text));
}

int TStringGrid::Col() const { return currentColumn(); }
int TStringGrid::Row() const { return currentRow(); }

void TStringGrid::SetCol(int col) {
  if (col >= 0 && col < columnCount()) setCurrentCell(std::max(currentRow(), fixedRows_), col);
}

void TStringGrid::SetRow(int row) {
  if (row >= 0 && row < rowCount()) setCurrentCell(row, std::max(currentColumn(), fixedCols_));
}

}  // namespace toolkit
