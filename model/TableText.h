#pragma once
// A table's cells as tab-separated text, the way a spreadsheet pastes it: the column
// headings as the first line, then one line per row with the row's heading first. The
// result grids copy themselves through it.

#include <QList>
#include <QModelIndexList>
#include <QString>

class QAbstractItemModel;

namespace ferrox {

// Which cells to write: model rows and columns, in the order they are written.
struct TableCut {
  QList<int> rows;
  QList<int> columns;
  bool operator==(const TableCut&) const = default;
};

// The cells a copy takes. Several selected cells: the rows and the columns that hold them,
// those of `shown` only, in its order. One selected cell or none: the whole `shown` table,
// because a click that only placed the cursor is no choice of cells.
TableCut CopiedCut(const QModelIndexList& selected, const TableCut& shown);

// The cut's cells as shown (Qt::DisplayRole), one line per row, each line ended by "\n",
// cells separated by tabs; a tab or line break inside a cell becomes a space. The first line
// holds the column headings (the model's horizontal header). Each row starts with its
// heading: the text of headingColumn, which is then not repeated among the cells, or with
// headingColumn -1 the model's vertical header (and the first line starts with an empty
// field above them).
QString TabSeparatedText(const QAbstractItemModel& model, const TableCut& cut, int headingColumn = -1);

}  // namespace ferrox
