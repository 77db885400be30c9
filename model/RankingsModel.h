#pragma once
// The predefined rankings (PredefinedRanges) as an item model: "Hand Rankings" over "Tavi
// Rankings" and "User-defined Rankings", the folders of the folder table below the latter
// and each folder's rankings below it. Items are named by their folder and ranking names,
// the keys of the tables; texts and percents are looked up in the tables when asked for.
//
// The edits go to the file first; when it took them the tree follows: a new folder or
// ranking goes last, and the folders are then brought in step with what the tables hold
// (a deleted folder's rankings may have joined another). A rebuild of the tables from
// outside shows them afresh.

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

#include "model/LibraryTreeModel.h"

namespace ferrox {

class PredefinedRanges;
class RangeParser;

class RankingsModel : public LibraryTreeModel {
  Q_OBJECT

 public:
  enum class Place { None, Root, Tavi, User, Folder, Ranking };
  // Kind codes, as the range tree numbers its containers, folders and ranges.
  enum Code : int { kRootCode = 0, kTaviCode = 1, kUserCode = 2, kFolderCode = 10, kRankingCode = 20 };
  enum Image : int { kRootImage = 0, kRankingImage = 1, kFolderImage = 2, kCategoryImage = 3 };

  // The rankings must outlive the model.
  explicit RankingsModel(PredefinedRanges& rankings, QObject* parent = nullptr);
  ~RankingsModel() override;

  PredefinedRanges& Rankings() const { return rankings_; }

  QModelIndex RootIndex() const { return IndexOf(root_); }
  QModelIndex TaviIndex() const { return IndexOf(tavi_); }
  QModelIndex UserIndex() const { return IndexOf(user_); }
  Place PlaceOf(const QModelIndex& index) const;
  // The category whose item this is ("Tavi Rankings" 0, "User-defined Rankings" 2).
  std::optional<int> CategoryOf(const QModelIndex& index) const;
  // A ranking's range text, empty for anything else or when no table holds it.
  QString RangeText(const QModelIndex& ranking) const;
  // Item texts from the top down; the item they name now, or an invalid index.
  QStringList PathOf(const QModelIndex& index) const;
  QModelIndex IndexAt(const QStringList& path) const;

  // The edits; each returns the new item (or true) when the file took it, else an invalid
  // index (false) with the reason in LastError().
  QModelIndex AddFolder(const QString& name);
  QModelIndex AddRanking(const QModelIndex& folder, const QString& name, const QString& value, double percent,
                         const RangeParser* parser);
  // A folder or a ranking.
  bool Rename(const QModelIndex& index, const QString& name);
  bool Remove(const QModelIndex& index);
  QString LastError() const { return error_; }

 private:
  void Rebuild();
  std::unique_ptr<LibraryItem> FolderItem(const std::wstring& name) const;
  void FillFolder(LibraryItem& folder) const;
  bool ShowsItsRankings(LibraryItem& folder) const;
  // Brings the folders in step with the tables.
  void Sync();
  void RefillFolder(LibraryItem& folder);
  QModelIndex Append(LibraryItem* parent, std::unique_ptr<LibraryItem> item);
  // Runs a file edit, the model not rebuilding on the tables it reads again.
  bool Edit(const std::function<bool()>& edit);

  PredefinedRanges& rankings_;
  LibraryItem* root_ = nullptr;
  LibraryItem* tavi_ = nullptr;
  LibraryItem* user_ = nullptr;
  bool editing_ = false;
  QString error_;
};

}  // namespace ferrox
