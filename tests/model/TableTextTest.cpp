// The tab-separated text the result grids copy: headings, tabs, the selection or the whole.
#include <gtest/gtest.h>

#include <QAbstractTableModel>

#include "model/TableText.h"

namespace ferrox::testing {
namespace {

// Cells "r<row>c<column>", headings "C<column>" across and "R<row>" down.
class Table : public QAbstractTableModel {
 public:
  Table(int rows, int columns) : rows_(rows), columns_(columns) {}
  int rowCount(const QModelIndex& = {}) const override { return rows_; }
  int columnCount(const QModelIndex& = {}) const override { return columns_; }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole) return {};
    if (index.row() == 1 && index.column() == 1) return QStringLiteral("a\tb\nc");
    return QStringLiteral("r%1c%2").arg(index.row()).arg(index.column());
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (role != Qt::DisplayRole) return {};
    return (orientation == Qt::Horizontal ? QStringLiteral("C%1") : QStringLiteral("R%1")).arg(section);
  }

 private:
  int rows_, columns_;
};

const TableCut kAll{{0, 1, 2}, {0, 1, 2}};

TEST(TableText, WholeTableUnderColumnHeadingsWithRowHeadingsFirst) {
  const Table table(3, 3);
  EXPECT_EQ(TabSeparatedText(table, kAll).toStdString(),
            "\tC0\tC1\tC2\n"
            "R0\tr0c0\tr0c1\tr0c2\n"
            "R1\tr1c0\ta b c\tr1c2\n"
            "R2\tr2c0\tr2c1\tr2c2\n");
  // A column heads the rows instead: its heading first, its cells not repeated.
  EXPECT_EQ(TabSeparatedText(table, {{2, 0}, {1, 2}}, 2).toStdString(),
            "C2\tC1\n"
            "r2c2\tr2c1\n"
            "r0c2\tr0c1\n");
}

TEST(TableText, SeveralSelectedCellsAreCopiedAndOneOrNoneMeansTheWholeTable) {
  const Table table(3, 3);
  const auto at = [&table](int row, int column) { return table.index(row, column); };
  EXPECT_EQ(CopiedCut({}, kAll), kAll);
  EXPECT_EQ(CopiedCut({at(1, 1)}, kAll), kAll);
  // The rows and columns that hold the selected cells, in the table's order.
  EXPECT_EQ(CopiedCut({at(2, 2), at(0, 1), at(2, 1)}, kAll), (TableCut{{0, 2}, {1, 2}}));
  // Hidden rows and columns stay out; a selection of hidden cells only is none.
  const TableCut shown{{0, 2}, {1, 2}};
  EXPECT_EQ(CopiedCut({at(1, 1), at(2, 0), at(2, 1)}, shown), (TableCut{{2}, {1}}));
  EXPECT_EQ(CopiedCut({at(1, 0), at(1, 1)}, shown), shown);
  EXPECT_EQ(TabSeparatedText(table, CopiedCut({at(2, 2), at(0, 1)}, kAll)).toStdString(),
            "\tC1\tC2\n"
            "R0\tr0c1\tr0c2\n"
            "R2\tr2c1\tr2c2\n");
}

}  // namespace
}  // namespace ferrox::testing
