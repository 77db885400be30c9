#pragma once
// An item model over a tree of LibraryItems: what the two range library models share. An
// index's internal pointer is its item, so an item answers to the same persistent index
// for as long as it is in the tree, wherever edits and moves put it.

#include <QAbstractItemModel>
#include <memory>

#include "model/LibraryItem.h"

namespace ferrox {

class LibraryTreeModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  explicit LibraryTreeModel(QObject* parent = nullptr);
  ~LibraryTreeModel() override;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  // The text, and the kind code and image number (model/LibraryItemRoles.h).
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

 protected:
  // The invisible item above the top level.
  LibraryItem* Top() const { return top_.get(); }
  // Frees every item for a new, empty top; only between beginResetModel and endResetModel.
  void ClearTop();
  // The top for an invalid index.
  LibraryItem* ItemOf(const QModelIndex& index) const;
  QModelIndex IndexOf(const LibraryItem* item) const;
  // Puts item at row of parent, the views told; returns its index.
  QModelIndex InsertItem(LibraryItem* parent, int row, std::unique_ptr<LibraryItem> item);
  // Frees count items from row of parent, the views told.
  void RemoveItems(LibraryItem* parent, int row, int count);

 private:
  std::unique_ptr<LibraryItem> top_;
};

}  // namespace ferrox
