#include "widgets/GridCtrl.h"

#include <algorithm>

#include <QHeaderView>

namespace ferrox::widgets {

CGridCtrl::CGridCtrl(QWidget* parent) : QTableWidget(parent) {
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  verticalHeader()->setVisible(false);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  horizontalHeader()->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter) | Qt::Alignment(Qt::TextWordWrap));
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setStretchLastSection(false);
  // Owners keep narrow columns (the fixed first one is under 20 px); the style's minimum is wider.
  horizontalHeader()->setMinimumSectionSize(4);
  setWordWrap(false);
}

void CGridCtrl::SetHeaders(const QStringList& headers, int headerHeight) {
  setColumnCount(static_cast<int>(headers.size()) + 1);
  setHorizontalHeaderLabels(QStringList{QString()} + headers);
  if (headerHeight > 0) horizontalHeader()->setFixedHeight(headerHeight);
}

void CGridCtrl::SetDataRows(int rows) {
  setRowCount(rows);
  // The fixed first column stays empty and out of reach of the keyboard.
  for (int r = 0; r < rows; ++r) {
    QTableWidgetItem* first = Item(r, 0);
    first->setFlags(Qt::ItemIsEnabled);
    first->setBackground(palette().button());
  }
}

QTableWidgetItem* CGridCtrl::Item(int row, int column) {
  QTableWidgetItem* cell = item(row, column);
  if (!cell) {
    cell = new QTableWidgetItem;
    cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    cell->setBackground(defaultBackground_);
    setItem(row, column, cell);
  }
  return cell;
}

void CGridCtrl::SetCell(int row, int column, const QString& text, Qt::Alignment alignment) {
  if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return;
  QTableWidgetItem* cell = Item(row, column);
  cell->setText(text);
  cell->setTextAlignment(alignment);
}

void CGridCtrl::SetCellColours(int row, int column, const QColor& background, const QColor& text) {
  if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return;
  QTableWidgetItem* cell = Item(row, column);
  cell->setBackground(background);
  cell->setForeground(text);
}

QString CGridCtrl::CellText(int row, int column) const {
  const QTableWidgetItem* cell = item(row, column);
  return cell ? cell->text() : QString();
}

QColor CGridCtrl::CellBackground(int row, int column) const {
  const QTableWidgetItem* cell = item(row, column);
  return cell ? cell->background().color() : defaultBackground_;
}

void CGridCtrl::SetDefaultBackground(const QColor& colour) { defaultBackground_ = colour; }

std::vector<int> CGridCtrl::ColumnWidths() const {
  std::vector<int> widths;
  for (int c = 0; c < columnCount(); ++c) widths.push_back(columnWidth(c));
  return widths;
}

void CGridCtrl::SetColumnWidths(const std::vector<int>& widths) {
  for (int c = 0; c < columnCount() && c < static_cast<int>(widths.size()); ++c)
    setColumnWidth(c, std::max(widths[c], MinimumWidth(c)));
}

int CGridCtrl::MinimumWidth(int column) const {
  // Widths kept from a smaller font must not cut a heading or a value off.
  const QString text = model()->headerData(column, Qt::Horizontal).toString();
  if (text.isEmpty()) return 0;
  constexpr int kPadding = 12;
  return std::max(horizontalHeader()->fontMetrics().horizontalAdvance(text) + kPadding, sizeHintForColumn(column));
}

}  // namespace ferrox::widgets
