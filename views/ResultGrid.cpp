#include "views/ResultGrid.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>

#include "model/TableText.h"
#include "views/CopyMenu.h"

namespace ferrox {
namespace {

constexpr int kHeadingColumn = 1;  // column 0 is the fixed narrow one: an expand mark at most

}  // namespace

CResultGrid::CResultGrid(QWidget* parent) : widgets::CGridCtrl(parent) {
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setFocusPolicy(Qt::StrongFocus);  // a click gives the focus, so that Ctrl+C reaches the grid
}

QString CResultGrid::CopyText() const {
  TableCut shown;
  for (int row = 0; row < rowCount(); ++row)
    if (!isRowHidden(row)) shown.rows.append(row);
  for (int column = kHeadingColumn; column < columnCount(); ++column)
    if (!isColumnHidden(column)) shown.columns.append(column);
  return TabSeparatedText(*model(), CopiedCut(selectionModel()->selectedIndexes(), shown), kHeadingColumn);
}

void CResultGrid::copy() { QGuiApplication::clipboard()->setText(CopyText()); }

void CResultGrid::contextMenuEvent(QContextMenuEvent* event) {
  PopupCopyMenu(this, event->globalPos(), [this] { copy(); }, [this] { selectAll(); });
  event->accept();
}

}  // namespace ferrox
