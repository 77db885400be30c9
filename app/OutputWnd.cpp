#include "app/OutputWnd.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>

namespace ferrox {

COutputWnd::COutputWnd(QWidget* parent) : QTabWidget(parent) {
  setObjectName("OutputTabs");
  setTabPosition(QTabWidget::South);
  const QStringList more = {"The output is being displayed in rows of a list view",
                            "but you can change the way it is displayed as you wish..."};
  lists_[0] = MakeList({});
  lists_[1] = MakeList(QStringList{"Debug output is being displayed here."} + more);
  lists_[2] = MakeList(QStringList{"Find output is being displayed here."} + more);
  addTab(lists_[0], "Build");
  addTab(lists_[1], "Debug");
  addTab(lists_[2], "Find");
}

QListWidget* COutputWnd::MakeList(const QStringList& lines) {
  auto* list = new QListWidget(this);
  list->addItems(lines);
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  list->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(list, &QWidget::customContextMenuRequested, this, [this, list](const QPoint& at) { ShowContextMenu(list, at); });
  return list;
}

void COutputWnd::AppendBuildLine(const QString& text) {
  QString line = text;
  while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
  lists_[0]->addItem(line);
  lists_[0]->setCurrentRow(lists_[0]->count() - 1);
  lists_[0]->scrollToBottom();
}

void COutputWnd::ShowContextMenu(QListWidget* list, const QPoint& at) {
  QMenu menu(this);
  QAction* copy = menu.addAction("&Copy");
  QAction* clear = menu.addAction("&Clear");
  QAction* hide = menu.addAction("&Hide");
  copy->setEnabled(!list->selectedItems().isEmpty());
  QAction* chosen = menu.exec(list->viewport()->mapToGlobal(at));
  if (chosen == copy) {
    QStringList lines;
    for (int row = 0; row < list->count(); ++row)
      if (list->item(row)->isSelected()) lines << list->item(row)->text();
    QApplication::clipboard()->setText(lines.join('\n'));
  } else if (chosen == clear) {
    list->clear();
  } else if (chosen == hide) {
    emit hideRequested();
  }
}

}  // namespace ferrox
