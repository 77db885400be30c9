#include "model/LibraryTreeModel.h"

#include "model/LibraryItemRoles.h"

namespace ferrox {

LibraryTreeModel::LibraryTreeModel(QObject* parent) : QAbstractItemModel(parent) { ClearTop(); }

LibraryTreeModel::~LibraryTreeModel() = default;

void LibraryTreeModel::ClearTop() { top_ = std::make_unique<LibraryItem>(-1, 0, std::wstring()); }

LibraryItem* LibraryTreeModel::ItemOf(const QModelIndex& index) const {
  return index.isValid() ? static_cast<LibraryItem*>(index.internalPointer()) : top_.get();
}

QModelIndex LibraryTreeModel::IndexOf(const LibraryItem* item) const {
  if (!item || item == top_.get()) return {};
  return createIndex(item->Row(), 0, const_cast<LibraryItem*>(item));
}

QModelIndex LibraryTreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || parent.column() > 0) return {};
  return IndexOf(ItemOf(parent)->Child(row));
}

QModelIndex LibraryTreeModel::parent(const QModelIndex& child) const {
  return child.isValid() ? IndexOf(ItemOf(child)->Parent()) : QModelIndex();
}

int LibraryTreeModel::rowCount(const QModelIndex& parent) const {
  return parent.column() > 0 ? 0 : ItemOf(parent)->ChildCount();
}

int LibraryTreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant LibraryTreeModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const LibraryItem* item = ItemOf(index);
  switch (role) {
    case Qt::DisplayRole: return QString::fromStdWString(item->Text());
    case kItemCodeRole: return item->Code();
    case kItemImageRole: return item->Image();
    default: return {};
  }
}

QModelIndex LibraryTreeModel::InsertItem(LibraryItem* parent, int row, std::unique_ptr<LibraryItem> item) {
  beginInsertRows(IndexOf(parent), row, row);
  const LibraryItem* added = parent->Insert(row, std::move(item));
  endInsertRows();
  return IndexOf(added);
}

void LibraryTreeModel::RemoveItems(LibraryItem* parent, int row, int count) {
  if (count <= 0) return;
  beginRemoveRows(IndexOf(parent), row, row + count - 1);
  for (int i = 0; i < count; ++i) parent->Take(row);
  endRemoveRows();
}

}  // namespace ferrox
