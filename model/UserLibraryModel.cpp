#include "model/UserLibraryModel.h"

#include <QDataStream>
#include <QIODevice>
#include <QMimeData>
#include <vector>

#include "model/RangeOutline.h"

namespace ferrox {

namespace {

// Where dragged items stood, as rows from the top: only this model reads it, during the drag.
constexpr char kRowsFormat[] = "application/x-ferrox-range-tree-rows";

std::wstring Wide(const QString& text) { return text.toStdWString(); }
QString Q(const std::wstring& text) { return QString::fromStdWString(text); }

bool Inside(const xml::Node* node, const xml::Node* element) {
  for (; node; node = node->Parent())
    if (node == element) return true;
  return false;
}

void AddToOutline(const LibraryItem& item, int parent, RangeOutline& outline) {
  const int index = outline.Add(parent, item.Text(), item.Code(), item.Image());
  if (item.TextsPending()) {
    const UserRangeTexts texts = UserLibrary::RangeTexts(*item.Element());
    outline.Add(index, texts.value, kRangeTextItem);
    outline.Add(index, texts.percent, kPercentTextItem);
  }
  for (const auto& child : item.Children()) AddToOutline(*child, index, outline);
}

QList<int> RowsOf(const LibraryItem* item) {
  QList<int> rows;
  for (; item->Parent(); item = item->Parent()) rows.prepend(item->Row());
  return rows;
}

std::unique_ptr<LibraryItem> ItemFor(int code, const xml::Node* element) {
  return std::make_unique<LibraryItem>(code, element);
}

}  // namespace

UserLibraryModel::UserLibraryModel(UserLibrary& library, QObject* parent)
    : LibraryTreeModel(parent), library_(library) {
  AddElements(library_.Document(), *Top());
}

UserLibraryModel::~UserLibraryModel() = default;

template <typename Fill>
void UserLibraryModel::Reset(Fill fill) {
  beginResetModel();
  // The old items go before the document they show can.
  ClearTop();
  fill();
  endResetModel();
}

UserLibraryLoad UserLibraryModel::Load(const std::filesystem::path& file) {
  UserLibraryLoad load;
  Reset([&] {
    load = library_.Load(file);
    AddElements(library_.Document(), *Top());
  });
  return load;
}

void UserLibraryModel::ShowOutline(const RangeOutline& outline) {
  Reset([&] {
    std::vector<LibraryItem*> made;
    made.reserve(outline.Items().size());
    for (const RangeOutline::Item& entry : outline.Items()) {
      LibraryItem* parent = entry.parent < 0 ? Top() : made[static_cast<std::size_t>(entry.parent)];
      made.push_back(parent->Append(std::make_unique<LibraryItem>(entry.code, entry.image, entry.text)));
    }
  });
}

RangeOutline UserLibraryModel::Outline() const {
  RangeOutline outline;
  for (const auto& item : Top()->Children()) AddToOutline(*item, -1, outline);
  return outline;
}

void UserLibraryModel::AddElements(const xml::Node& node, LibraryItem& parent) {
  for (const auto& child : node.Children()) {
    const int code = UserLibrary::ItemKindOf(*child);
    // An element without an item shows its children in its place.
    LibraryItem* item = code < 0 ? &parent : parent.Append(ItemFor(code, child.get()));
    AddElements(*child, *item);
  }
}

// ---- The item model

Qt::ItemFlags UserLibraryModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  const int code = ItemOf(index)->Code();
  Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
  if (code == kFolderItem || code == kRangeItem) flags |= Qt::ItemIsDragEnabled;
  if (code == kFolderItem || (code >= kRangesContainerItem && code <= kLibraryRootItem)) flags |= Qt::ItemIsDropEnabled;
  return flags;
}

Qt::DropActions UserLibraryModel::supportedDropActions() const { return Qt::MoveAction; }

QStringList UserLibraryModel::mimeTypes() const { return {QString::fromLatin1(kRowsFormat)}; }

QMimeData* UserLibraryModel::mimeData(const QModelIndexList& indexes) const {
  QList<QList<int>> rows;
  for (const QModelIndex& index : indexes)
    if (index.isValid()) rows << RowsOf(ItemOf(index));
  QByteArray bytes;
  QDataStream out(&bytes, QIODevice::WriteOnly);
  out << rows;
  auto* data = new QMimeData;
  data->setData(QString::fromLatin1(kRowsFormat), bytes);
  return data;
}

bool UserLibraryModel::canDropMimeData(const QMimeData* data, Qt::DropAction action, int, int,
                                       const QModelIndex& parent) const {
  return data && action == Qt::MoveAction && data->hasFormat(QString::fromLatin1(kRowsFormat)) &&
         (flags(parent) & Qt::ItemIsDropEnabled);
}

bool UserLibraryModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                                    const QModelIndex& parent) {
  if (!canDropMimeData(data, action, row, column, parent)) return false;
  QList<QList<int>> rows;
  QDataStream in(data->data(QString::fromLatin1(kRowsFormat)));
  in >> rows;
  // All found before anything moves: a move shifts the rows of the rest.
  std::vector<LibraryItem*> items;
  for (const QList<int>& path : rows) {
    LibraryItem* item = Top();
    for (int at : path) item = item ? item->Child(at) : nullptr;
    if (item && item != Top()) items.push_back(item);
  }
  LibraryItem* target = ItemOf(parent);
  int to = row < 0 ? target->ChildCount() : row;
  bool moved = false;
  for (LibraryItem* item : items) {
    if (!moveRows(IndexOf(item->Parent()), item->Row(), 1, parent, to)) continue;
    to = item->Row() + 1;
    moved = true;
  }
  return moved;
}

bool UserLibraryModel::moveRows(const QModelIndex& sourceParent, int sourceRow, int count,
                                const QModelIndex& destinationParent, int destinationChild) {
  LibraryItem* from = ItemOf(sourceParent);
  LibraryItem* to = ItemOf(destinationParent);
  if (count <= 0 || sourceRow < 0 || sourceRow + count > from->ChildCount() || destinationChild < 0 ||
      destinationChild > to->ChildCount())
    return false;
  for (int i = 0; i < count; ++i)
    if (from->Child(sourceRow + i)->Holds(to)) return false;
  if (!beginMoveRows(sourceParent, sourceRow, sourceRow + count - 1, destinationParent, destinationChild)) return false;
  std::vector<std::unique_ptr<LibraryItem>> moving;
  for (int i = 0; i < count; ++i) moving.push_back(from->Take(sourceRow));
  int row = from == to && destinationChild > sourceRow ? destinationChild - count : destinationChild;
  for (auto& item : moving) to->Insert(row++, std::move(item));
  endMoveRows();
  return true;
}

// ---- Queries

QString UserLibraryModel::RangeText(const QModelIndex& index) const {
  if (!index.isValid()) return {};
  LibraryItem* item = ItemOf(index);
  switch (item->Code()) {
    case kRangeItem: {
      if (item->TextsPending()) return Q(UserLibrary::AttributeAt(*item->Element(), 1));
      const LibraryItem* first = item->Child(0);
      return first ? Q(first->Text()) : QString();
    }
    case kRangeTextItem: return Q(item->Text());
    case kPercentTextItem: {
      LibraryItem* parent = item->Parent();
      return parent != Top() && item->Row() > 0 ? Q(parent->Child(item->Row() - 1)->Text()) : QString();
    }
    default: return {};
  }
}

QString UserLibraryModel::PercentText(const QModelIndex& range) const {
  LibraryItem* item = ItemOf(range);
  if (item->TextsPending()) return Q(UserLibrary::AttributeAt(*item->Element(), 2));
  const LibraryItem* second = range.isValid() ? item->Child(1) : nullptr;
  return second ? Q(second->Text()) : QString();
}

UserLibraryPath UserLibraryModel::PathOf(const QModelIndex& index) const {
  UserLibraryPath path;
  for (const LibraryItem* item = ItemOf(index); item != Top(); item = item->Parent()) {
    path.push_back(item->Text());
    if (path.back() == kUserLibraryRoot) break;
  }
  return path;
}

QModelIndex UserLibraryModel::ChildNamed(const QModelIndex& parent, const QString& name) const {
  const std::wstring wanted = Wide(name);
  LibraryItem* item = ItemOf(parent);
  for (int row = 0; row < item->ChildCount(); ++row)
    if (item->Child(row)->Text() == wanted) return IndexOf(item->Child(row));
  return {};
}

bool UserLibraryModel::HasChildOfCode(const QModelIndex& index, int code) const {
  if (!index.isValid()) return false;
  const LibraryItem* item = ItemOf(index);
  if (item->TextsPending()) return code == kRangeTextItem || code == kPercentTextItem;
  for (const auto& child : item->Children())
    if (child->Code() == code) return true;
  return false;
}

// ---- Edits

QModelIndex UserLibraryModel::AddRange(LibraryItem* parent, int row) {
  return InsertItem(parent, row, ItemFor(kRangeItem, library_.LastAdded()));
}

bool UserLibraryModel::Edited(bool ok) {
  error_ = ok ? QString() : Q(library_.LastError());
  return ok;
}

QModelIndex UserLibraryModel::CreateFolder(const QModelIndex& at, const QString& name) {
  LibraryItem* item = ItemOf(at);
  // The library has one root, whatever the item standing for it is called.
  const UserLibraryPath path =
      item->Code() == kLibraryRootItem ? UserLibraryPath{std::wstring(kUserLibraryRoot)} : PathOf(at);
  if (!Edited(at.isValid() && library_.InsertFolder(path, Wide(name), InsertWhere::FirstChild))) return {};
  return InsertItem(item, 0, ItemFor(kFolderItem, library_.LastAdded()));
}

QModelIndex UserLibraryModel::InsertFolder(const QModelIndex& folder, const QString& name, bool after) {
  LibraryItem* item = ItemOf(folder);
  const InsertWhere where = after ? InsertWhere::After : InsertWhere::Before;
  if (!Edited(folder.isValid() && library_.InsertFolder(PathOf(folder), Wide(name), where))) return {};
  return InsertItem(item->Parent(), item->Row() + (after ? 1 : 0), ItemFor(kFolderItem, library_.LastAdded()));
}

QModelIndex UserLibraryModel::CreateRange(const QModelIndex& at, const UserRangeTexts& range) {
  LibraryItem* item = ItemOf(at);
  if (!Edited(at.isValid() && library_.PutRange(PathOf(at), range.name, range.value, range.percent, item->Code(),
                                                false, InsertWhere::After)))
    return {};
  return AddRange(item, item->ChildCount());
}

QModelIndex UserLibraryModel::SaveRangeAs(const QModelIndex& range, const UserRangeTexts& texts) {
  LibraryItem* parent = ItemOf(range)->Parent();
  if (!Edited(range.isValid() && library_.PutRange(PathOf(range), texts.name, texts.value, texts.percent,
                                                   kRangeItem, false, InsertWhere::After)))
    return {};
  return AddRange(parent, parent->ChildCount());
}

QModelIndex UserLibraryModel::InsertRange(const QModelIndex& range, const UserRangeTexts& texts, bool after) {
  LibraryItem* item = ItemOf(range);
  const InsertWhere where = after ? InsertWhere::After : InsertWhere::Before;
  if (!Edited(range.isValid() && library_.PutRange(PathOf(range), texts.name, texts.value, texts.percent,
                                                   kRangeItem, false, where)))
    return {};
  return AddRange(item->Parent(), item->Row() + (after ? 1 : 0));
}

const xml::Node* UserLibraryModel::Target(LibraryItem* item) {
  const xml::Node* target = library_.Find(PathOf(IndexOf(item)));
  if (target && target != item->Element()) {
    // A name twice among siblings: the path names another item's element. That item keeps
    // showing what it showed, and this one takes the edit's texts itself.
    KeepTextsOf(target, false);
    item->KeepOwnText();
  }
  return target;
}

bool UserLibraryModel::OverwriteRange(const QModelIndex& range, const QString& value, const QString& percent) {
  if (!range.isValid()) return Edited(false);
  LibraryItem* item = ItemOf(range);
  Target(item);
  if (!Edited(library_.PutRange(PathOf(range), item->Text(), Wide(value), Wide(percent), kRangeItem, true,
                                InsertWhere::FirstChild)))
    return false;
  if (!item->Element()) {
    if (LibraryItem* text = item->Child(0)) text->SetText(Wide(value));
    if (LibraryItem* share = item->Child(1)) share->SetText(Wide(percent));
  }
  TextsChanged(item);
  return true;
}

bool UserLibraryModel::Rename(const QModelIndex& index, const QString& name) {
  if (!index.isValid()) return Edited(false);
  LibraryItem* item = ItemOf(index);
  Target(item);
  if (!Edited(library_.RenameNode(PathOf(index), Wide(name), item->Code()))) return false;
  if (!item->Element()) item->SetText(Wide(name));
  TextsChanged(item);
  return true;
}

bool UserLibraryModel::Remove(const QModelIndex& index) {
  if (!index.isValid()) return Edited(false);
  const UserLibraryPath path = PathOf(index);
  // What shows the element going, or anything inside it, keeps its texts: no item may show
  // a freed element, not even while the views hear of its removal.
  if (const xml::Node* target = library_.Find(path)) KeepTextsOf(target, true);
  if (!Edited(library_.RemoveNode(path))) return false;
  LibraryItem* item = ItemOf(index);
  RemoveItems(item->Parent(), item->Row(), 1);
  return true;
}

bool UserLibraryModel::MoveRange(const QModelIndex& range, bool up) {
  error_.clear();
  LibraryItem* item = ItemOf(range);
  const int row = item->Row();
  if (!range.isValid() || (up ? row == 0 : row + 1 >= item->Parent()->ChildCount())) return false;
  if (!Edited(library_.MoveRange(PathOf(range), item->Text(), Wide(RangeText(range)), Wide(PercentText(range)), up)))
    return false;
  return moveRows(range.parent(), row, 1, range.parent(), up ? row - 1 : row + 2);
}

void UserLibraryModel::KeepTextsOf(const xml::Node* element, bool within) {
  std::vector<LibraryItem*> todo{Top()};
  while (!todo.empty()) {
    LibraryItem* item = todo.back();
    todo.pop_back();
    const xml::Node* shown = item->Element();
    if (shown && (shown == element || (within && Inside(shown, element)))) item->KeepOwnText();
    for (const auto& child : item->Children()) todo.push_back(child.get());
  }
}

void UserLibraryModel::TextsChanged(const LibraryItem* item) {
  const QModelIndex index = IndexOf(item);
  emit dataChanged(index, index, {Qt::DisplayRole});
  const int texts = item->TextsPending() ? 0 : static_cast<int>(item->Children().size());
  if (texts > 0) emit dataChanged(this->index(0, 0, index), this->index(texts - 1, 0, index), {Qt::DisplayRole});
}

}  // namespace ferrox
