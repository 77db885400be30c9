#include "model/TableText.h"

#include <QAbstractItemModel>
#include <QStringList>

namespace ferrox {
namespace {

// The entries of `order` that `wanted` holds, in order's order.
QList<int> Keep(const QList<int>& order, const QList<int>& wanted) {
  QList<int> kept;
  for (int entry : order)
    if (wanted.contains(entry)) kept.append(entry);
  return kept;
}

// A cell's text on one field: its own tabs and line breaks would split the table.
QString Field(const QVariant& value) {
  QString text = value.toString();
  for (QChar& c : text)
    if (c == u'\t' || c == u'\n' || c == u'\r') c = u' ';
  return text;
}

}  // namespace

TableCut CopiedCut(const QModelIndexList& selected, const TableCut& shown) {
  if (selected.size() <= 1) return shown;
  QList<int> rows, columns;
  for (const QModelIndex& index : selected) {
    rows.append(index.row());
    columns.append(index.column());
  }
  const TableCut cut{Keep(shown.rows, rows), Keep(shown.columns, columns)};
  // Selected cells that are all hidden leave nothing: the whole table then, as for none.
  return cut.rows.isEmpty() || cut.columns.isEmpty() ? shown : cut;
}

QString TabSeparatedText(const QAbstractItemModel& model, const TableCut& cut, int headingColumn) {
  QList<int> columns = cut.columns;
  columns.removeAll(headingColumn);
  const bool vertical = headingColumn < 0;
  QStringList line{vertical ? QString() : Field(model.headerData(headingColumn, Qt::Horizontal))};
  for (int column : columns) line << Field(model.headerData(column, Qt::Horizontal));
  QString text = line.join(u'\t') + u'\n';
  for (int row : cut.rows) {
    line = {vertical ? Field(model.headerData(row, Qt::Vertical)) : Field(model.index(row, headingColumn).data())};
    for (int column : columns) line << Field(model.index(row, column).data());
    text += line.join(u'\t') + u'\n';
  }
  return text;
}

}  // namespace ferrox
