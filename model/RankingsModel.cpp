#include "model/RankingsModel.h"

#include <QPersistentModelIndex>
#include <algorithm>

#include "model/PredefinedRanges.h"

namespace ferrox {

namespace {

std::wstring Wide(const QString& text) { return text.toStdWString(); }
QString Q(const std::wstring& text) { return QString::fromStdWString(text); }

std::unique_ptr<LibraryItem> NewItem(int code, int image, const wchar_t* text) {
  return std::make_unique<LibraryItem>(code, image, text);
}

}  // namespace

RankingsModel::RankingsModel(PredefinedRanges& rankings, QObject* parent)
    : LibraryTreeModel(parent), rankings_(rankings) {
  connect(&rankings_, &PredefinedRanges::tablesChanged, this, [this] {
    if (!editing_) Rebuild();
  });
  Rebuild();
}

RankingsModel::~RankingsModel() = default;

void RankingsModel::Rebuild() {
  beginResetModel();
  ClearTop();
  root_ = Top()->Append(NewItem(kRootCode, kRootImage, L"Hand Rankings"));
  tavi_ = root_->Append(NewItem(kTaviCode, kCategoryImage, L"Tavi Rankings"));
  user_ = root_->Append(NewItem(kUserCode, kCategoryImage, L"User-defined Rankings"));
  for (const std::wstring& name : rankings_.FolderNames()) user_->Append(FolderItem(name));
  endResetModel();
}

std::unique_ptr<LibraryItem> RankingsModel::FolderItem(const std::wstring& name) const {
  auto folder = std::make_unique<LibraryItem>(kFolderCode, kFolderImage, name);
  FillFolder(*folder);
  return folder;
}

void RankingsModel::FillFolder(LibraryItem& folder) const {
  for (const FolderRanking& ranking : rankings_.RankingsOf(folder.Text()))
    folder.Append(std::make_unique<LibraryItem>(kRankingCode, kRankingImage, ranking.range.name));
}

// ---- Queries

RankingsModel::Place RankingsModel::PlaceOf(const QModelIndex& index) const {
  if (!index.isValid()) return Place::None;
  const LibraryItem* item = ItemOf(index);
  if (item == root_) return Place::Root;
  if (item == tavi_) return Place::Tavi;
  if (item == user_) return Place::User;
  if (item->Parent() == user_) return Place::Folder;
  if (item->Parent()->Parent() == user_) return Place::Ranking;
  return Place::None;
}

std::optional<int> RankingsModel::CategoryOf(const QModelIndex& index) const {
  switch (PlaceOf(index)) {
    case Place::Tavi: return kEquilabCategory;
    case Place::User: return kUserDefinedCategory;
    default: return std::nullopt;
  }
}

QString RankingsModel::RangeText(const QModelIndex& ranking) const {
  if (PlaceOf(ranking) != Place::Ranking) return {};
  const LibraryItem* item = ItemOf(ranking);
  const auto text = rankings_.RangeText(kUserFolderCategory, item->Parent()->Text(), item->Text());
  return text ? Q(*text) : QString();
}

QStringList RankingsModel::PathOf(const QModelIndex& index) const {
  QStringList path;
  for (const LibraryItem* item = ItemOf(index); item != Top(); item = item->Parent()) path.prepend(Q(item->Text()));
  return path;
}

QModelIndex RankingsModel::IndexAt(const QStringList& path) const {
  LibraryItem* item = Top();
  for (const QString& text : path) {
    LibraryItem* next = nullptr;
    for (int row = 0; row < item->ChildCount() && !next; ++row)
      if (Q(item->Child(row)->Text()) == text) next = item->Child(row);
    if (!next) return {};
    item = next;
  }
  return IndexOf(item);
}

// ---- Edits

bool RankingsModel::Edit(const std::function<bool()>& edit) {
  editing_ = true;
  const bool ok = edit();
  editing_ = false;
  error_ = ok ? QString() : Q(rankings_.LastError());
  return ok;
}

QModelIndex RankingsModel::AddFolder(const QString& name) {
  if (!Edit([&] { return rankings_.AddFolder(Wide(name)); })) return {};
  const QPersistentModelIndex added = Append(user_, std::make_unique<LibraryItem>(kFolderCode, kFolderImage, Wide(name)));
  Sync();
  return added;
}

QModelIndex RankingsModel::AddRanking(const QModelIndex& folder, const QString& name, const QString& value,
                                      double percent, const RangeParser* parser) {
  if (PlaceOf(folder) != Place::Folder) return {};
  LibraryItem* item = ItemOf(folder);
  if (!Edit([&] { return rankings_.AddRanking(item->Text(), Wide(name), Wide(value), percent, parser); })) return {};
  // Last, where the user looks for it, until the tables are next shown afresh.
  const QPersistentModelIndex added =
      Append(item, std::make_unique<LibraryItem>(kRankingCode, kRankingImage, Wide(name)));
  Sync();
  return added;
}

bool RankingsModel::Rename(const QModelIndex& index, const QString& name) {
  const Place place = PlaceOf(index);
  if (place != Place::Folder && place != Place::Ranking) return false;
  LibraryItem* item = ItemOf(index);
  const std::wstring old = item->Text();
  // A ranking is looked for in its own folder: another folder may hold one of that name.
  const bool renamed = Edit([&] {
    return place == Place::Folder ? rankings_.Rename(RankingElement::Folder, old, Wide(name))
                                  : rankings_.RenameRanking(item->Parent()->Text(), old, Wide(name));
  });
  if (!renamed) return false;
  item->SetText(Wide(name));
  emit dataChanged(index, index, {Qt::DisplayRole});
  Sync();
  return true;
}

bool RankingsModel::Remove(const QModelIndex& index) {
  const Place place = PlaceOf(index);
  if (place != Place::Folder && place != Place::Ranking) return false;
  LibraryItem* item = ItemOf(index);
  const bool removed = Edit([&] {
    return place == Place::Folder ? rankings_.Delete(RankingElement::Folder, item->Text())
                                  : rankings_.DeleteRanking(item->Parent()->Text(), item->Text());
  });
  if (!removed) return false;
  RemoveItems(item->Parent(), item->Row(), 1);
  Sync();
  return true;
}

QModelIndex RankingsModel::Append(LibraryItem* parent, std::unique_ptr<LibraryItem> item) {
  return InsertItem(parent, parent->ChildCount(), std::move(item));
}

bool RankingsModel::ShowsItsRankings(LibraryItem& folder) const {
  std::vector<std::wstring> shown;
  for (int row = 0; row < folder.ChildCount(); ++row) shown.push_back(folder.Child(row)->Text());
  std::vector<std::wstring> held;
  for (const FolderRanking& ranking : rankings_.RankingsOf(folder.Text())) held.push_back(ranking.range.name);
  std::sort(shown.begin(), shown.end());
  std::sort(held.begin(), held.end());  // a ranking added here sits last, not in name order
  return shown == held;
}

void RankingsModel::RefillFolder(LibraryItem& folder) {
  RemoveItems(&folder, 0, folder.ChildCount());
  auto filled = FolderItem(folder.Text());
  if (filled->ChildCount() == 0) return;
  beginInsertRows(IndexOf(&folder), 0, filled->ChildCount() - 1);
  while (filled->ChildCount() > 0) folder.Append(filled->Take(0));
  endInsertRows();
}

void RankingsModel::Sync() {
  // The file decides which folder a ranking belongs to (a deleted folder's rankings join
  // the folder before it), and equal names may have matched another element than the
  // item's: the tree shows what the tables now hold.
  std::vector<std::wstring> shown;
  for (int row = user_->ChildCount() - 1; row >= 0; --row) {
    LibraryItem* folder = user_->Child(row);
    if (!rankings_.IsFolder(folder->Text())) {
      RemoveItems(user_, row, 1);
      continue;
    }
    shown.push_back(folder->Text());
    if (!ShowsItsRankings(*folder)) RefillFolder(*folder);
  }
  for (const std::wstring& name : rankings_.FolderNames())
    if (std::find(shown.begin(), shown.end(), name) == shown.end()) Append(user_, FolderItem(name));
}

}  // namespace ferrox
