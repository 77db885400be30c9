#pragma once
// A table of texts with a fixed header row and a fixed, narrow first column: per-cell
// background and text colours, centred cells, column widths the owner can keep. Read-only
// for the user; a screen reader reads it as a table with its headers.

#include <QColor>
#include <QStringList>
#include <QTableWidget>
#include <vector>

namespace ferrox::widgets {

class CGridCtrl : public QTableWidget {
  Q_OBJECT

 public:
  explicit CGridCtrl(QWidget* parent = nullptr);

  // Header texts of columns 1..n (column 0 is the fixed narrow one), centred; they may wrap.
  void SetHeaders(const QStringList& headers, int headerHeight = -1);
  // Data rows, not counting the header row.
  void SetDataRows(int rows);
  // Sets the text of a data cell (row 0 is the first data row), centred unless told.
  void SetCell(int row, int column, const QString& text, Qt::Alignment alignment = Qt::AlignCenter);
  void SetCellColours(int row, int column, const QColor& background, const QColor& text = Qt::black);
  QString CellText(int row, int column) const;
  QColor CellBackground(int row, int column) const;
  // The colour of cells that were given none.
  void SetDefaultBackground(const QColor& colour);

  std::vector<int> ColumnWidths() const;
  // Never narrower than a column's heading or its widest text.
  void SetColumnWidths(const std::vector<int>& widths);

 private:
  QTableWidgetItem* Item(int row, int column);
  int MinimumWidth(int column) const;
  QColor defaultBackground_ = Qt::white;
};

}  // namespace ferrox::widgets
