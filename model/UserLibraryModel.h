#pragma once
// The user range library as an item model: the range tree's items over the library
// document (UserLibrary). Items read from the document show its elements, so a name or a
// range text is held once, in the document. An item keeps its identity (its index's
// internal pointer) for as long as it is in the tree, across the edits and moves around it.
//
// Every edit goes to the document first, by the path of item texts, and the tree follows
// only when the document took it. The tree may leave the document behind: an outline file
// loaded, or an item moved by a drag inside the tree, changes the tree only, and a later
// edit of such an item finds no path and fails. An item whose element an edit is about to
// change or drop without the item following it keeps its texts as its own.

#include <QString>
#include <filesystem>
#include <memory>

#include "model/LibraryTreeModel.h"
#include "model/UserLibrary.h"

namespace ferrox {

class RangeOutline;

class UserLibraryModel : public LibraryTreeModel {
  Q_OBJECT

 public:
  // The library must outlive the model.
  explicit UserLibraryModel(UserLibrary& library, QObject* parent = nullptr);
  ~UserLibraryModel() override;

  UserLibrary& Library() const { return library_; }
  // Reads the library file into the document and shows it; on failure the tree is empty.
  UserLibraryLoad Load(const std::filesystem::path& file);
  // The tree becomes the outline's; the document stays as it is.
  void ShowOutline(const RangeOutline& outline);
  // The tree in pre-order, the texts of ranges never opened included.
  RangeOutline Outline() const;

  // Folders and ranges drag; only the root, the containers and folders take a drop, so a
  // range keeps exactly its two texts. Nothing lands beside the library's root.
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  Qt::DropActions supportedDropActions() const override;
  QStringList mimeTypes() const override;
  QMimeData* mimeData(const QModelIndexList& indexes) const override;
  bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                       const QModelIndex& parent) const override;
  bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                    const QModelIndex& parent) override;
  // Moves items inside the tree only, as a drag inside the tree does; never an item into
  // itself.
  bool moveRows(const QModelIndex& sourceParent, int sourceRow, int count, const QModelIndex& destinationParent,
                int destinationChild) override;

  // The range text a range, its range text or its percent stands for; empty for others.
  QString RangeText(const QModelIndex& index) const;
  // A range's second text.
  QString PercentText(const QModelIndex& range) const;
  // From the item's text up to and including the first ancestor's that is the library root's.
  UserLibraryPath PathOf(const QModelIndex& index) const;
  // The first child (of the top level for an invalid parent) with that text.
  QModelIndex ChildNamed(const QModelIndex& parent, const QString& name) const;
  bool HasChildOfCode(const QModelIndex& index, int code) const;

  // The edits; each returns the new item (or true) when the document took it, else an
  // invalid index (false) with the reason in LastError().
  // A folder as the first child of the library root or a folder.
  QModelIndex CreateFolder(const QModelIndex& at, const QString& name);
  QModelIndex InsertFolder(const QModelIndex& folder, const QString& name, bool after);
  // A range as the last child of the library root or a folder.
  QModelIndex CreateRange(const QModelIndex& at, const UserRangeTexts& range);
  // The file keeps the new range right after the one it was saved from; the tree shows it
  // last beside it.
  QModelIndex SaveRangeAs(const QModelIndex& range, const UserRangeTexts& texts);
  QModelIndex InsertRange(const QModelIndex& range, const UserRangeTexts& texts, bool after);
  bool OverwriteRange(const QModelIndex& range, const QString& value, const QString& percent);
  bool Rename(const QModelIndex& index, const QString& name);
  bool Remove(const QModelIndex& index);
  // One place up or down among the range's siblings; false (and no message) at the end.
  bool MoveRange(const QModelIndex& range, bool up);
  // Why the last edit failed; empty when it did nothing to fail at (a move past the end).
  QString LastError() const { return error_; }

 private:
  // Replaces every item, the views told once.
  template <typename Fill>
  void Reset(Fill fill);
  void AddElements(const xml::Node& node, LibraryItem& parent);
  QModelIndex AddRange(LibraryItem* parent, int row);
  // The element an edit of item will change, which the item's own texts stop following
  // when it is another's.
  const xml::Node* Target(LibraryItem* item);
  // Items showing element, or with within, anything inside it, keep their texts.
  void KeepTextsOf(const xml::Node* element, bool within);
  void TextsChanged(const LibraryItem* item);
  // Keeps the library's reason when an edit failed; returns ok.
  bool Edited(bool ok);

  UserLibrary& library_;
  QString error_;
};

}  // namespace ferrox
