#include "views/ClassView.h"

#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>
#include <cstdint>

#include "model/FerroxDoc.h"
#include "model/HandsModel.h"
#include "model/PaneSettings.h"
#include "model/PredefinedRanges.h"
#include "quillet/HandClass.h"
#include "views/DlgAddItem.h"
#include "views/ViewTree.h"
#include "widgets/ColourRef.h"

namespace ferrox {
namespace {

// The tree's kind codes, as the range tree numbers its containers, folders and ranges.
constexpr int kRootCode = 0;
constexpr int kTaviCode = 1;
constexpr int kUserCode = 2;
constexpr int kFolderCode = 10;
constexpr int kRankingCode = 20;
constexpr int kImageRole = Qt::UserRole + 1;

constexpr char kFolderPrompt[] = "Enter Folder Name";
constexpr char kRankingPrompt[] = "Enter hand Range Name";

QIcon IconFor(int image) {
  if (image == CClassView::kCategoryImage) return QApplication::style()->standardIcon(QStyle::SP_DirLinkIcon);
  return CViewTree::IconOf(image);  // its numbers 0..2 are ours
}

RankingItem Handle(const QTreeWidgetItem* item) { return reinterpret_cast<RankingItem>(item); }

bool StartsWith(const QStringList& path, const QStringList& prefix) {
  return !prefix.isEmpty() && path.size() >= prefix.size() && path.mid(0, prefix.size()) == prefix;
}

}  // namespace

CClassView::CClassView(PredefinedRanges* ranges, HandsModel* hands, const PaneSettings* settings,
                       QWidget* parent)
    : QWidget(parent), ranges_(ranges), hands_(hands), settings_(settings) {
  setObjectName("CClassView");
  setAccessibleName("Hand Rankings");
  BuildToolBar();
  BuildTree();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(toolBar_);
  layout->addWidget(tree_, 1);

  for (auto signal : {&PaneSettings::backgroundChanged, &PaneSettings::fontColourChanged})
    connect(settings_, signal, this, &CClassView::ApplyColours);
  promptName = [this](const QString& prompt) -> std::optional<QString> {
    QString name;
    CDlgAddItem dialog(name, this);
    dialog.SetPrompt(prompt);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return name;
  };
  ask = [this](const QString& question) {
    return QMessageBox::question(this, QApplication::applicationName(), question,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
  };
  showMessage = [this](const QString& message) {
    QMessageBox::warning(this, QApplication::applicationName(), message);
  };
  runMenu = [](QMenu& menu, const QPoint& globalPos) { menu.exec(globalPos); };
  ApplyColours();
  Rebuild();
}

CClassView::~CClassView() {
  // The tree dies after us: its last signals must not reach a half-destroyed pane.
  disconnect(tree_, nullptr, this, nullptr);
  // The model outlives us: no handle of a deleted item stays in its table.
  ForgetCategoryItems();
}

void CClassView::BuildToolBar() {
  toolBar_ = new QToolBar(this);
  toolBar_->setObjectName(QString::number(kToolBarId));
  toolBar_->setAccessibleName("Hand rankings tools");
  toolBar_->setMovable(false);
  toolBar_->setFloatable(false);
  toolBar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
  clearRange_ = toolBar_->addAction("Clear range ");
  clearRange_->setObjectName(QString::number(kClearRangeCommand));
  clearRange_->setToolTip("Clear the active range editor");
  connect(clearRange_, &QAction::triggered, this, &CClassView::ClearRange);
  if (QWidget* button = toolBar_->widgetForAction(clearRange_)) button->setAccessibleName("Clear range");
}

void CClassView::BuildTree() {
  tree_ = new CViewTree(this);
  tree_->setObjectName(QString::number(kTreeId));
  tree_->setAccessibleName("Hand Rankings");
  tree_->SetTreeKind(CViewTree::kRankingsTree);
  // Items never move inside this tree (the file would not follow); they only drag out.
  tree_->SetDragMode(CViewTree::kDragOut);
  tree_->SetHandCursor(true);
  tree_->dragText = [this](QTreeWidgetItem* item) { return DragText(item); };
  connect(tree_, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* current) { SelectionChanged(current); });
  connect(tree_, &CViewTree::itemRightClicked, this, &CClassView::ShowContextMenu);
}

void CClassView::ApplyColours() {
  QPalette palette = QApplication::palette(tree_);
  const QColor background = widgets::ColourFromRef(static_cast<uint32_t>(settings_->Background()));
  const QColor text = widgets::ColourFromRef(static_cast<uint32_t>(settings_->FontColour()));
  if (background.isValid()) palette.setColor(QPalette::Base, background);
  if (text.isValid()) palette.setColor(QPalette::Text, text);
  tree_->setPalette(palette);
}

int CClassView::ImageOf(const QTreeWidgetItem* item) {
  if (!item) return -1;
  bool ok = false;
  const int image = item->data(0, kImageRole).toInt(&ok);
  return ok ? image : -1;
}

QString CClassView::HandRangeTitle(const QString& folder) { return QString("Hand Range (%1)").arg(folder); }

// --- the tree ---

QTreeWidgetItem* CClassView::AddItem(QTreeWidgetItem* parent, const QString& text, int code, int image) {
  QTreeWidgetItem* item = CViewTree::MakeItem(text, code);
  item->setData(0, kImageRole, image);
  item->setIcon(0, IconFor(image));
  if (parent) parent->addChild(item);
  else tree_->addTopLevelItem(item);
  return item;
}

void CClassView::Rebuild() {
  quietSelection_ = true;
  ForgetCategoryItems();
  tree_->clear();
  root_ = AddItem(nullptr, "Hand Rankings", kRootCode, kRootImage);
  QFont bold = root_->font(0);
  bold.setBold(true);
  root_->setFont(0, bold);
  tavi_ = AddItem(root_, "Tavi Rankings", kTaviCode, kCategoryImage);
  user_ = AddItem(root_, "User-defined Rankings", kUserCode, kCategoryImage);
  if (ranges_) {
    ranges_->SetCategoryItem(kEquilabCategory, Handle(tavi_));
    ranges_->SetCategoryItem(kUserDefinedCategory, Handle(user_));
    for (const std::wstring& name : ranges_->FolderNames())
      FillFolder(AddItem(user_, QString::fromStdWString(name), kFolderCode, kFolderImage));
  }
  root_->setExpanded(true);
  user_->setExpanded(true);
  quietSelection_ = false;
  tree_->viewport()->update();
}

void CClassView::BuildRankingTables() {
  if (!ranges_) return;
  ranges_->BuildRankingTables(settings_->Parser());
  Rebuild();
}

void CClassView::FillFolder(QTreeWidgetItem* folderItem) {
  for (const FolderRanking& ranking : ranges_->RankingsOf(folderItem->text(0).toStdWString()))
    AddItem(folderItem, QString::fromStdWString(ranking.range.name), kRankingCode, kRankingImage);
}

bool CClassView::ShowsItsRankings(const QTreeWidgetItem* folder) const {
  QStringList shown;
  for (int i = 0; i < folder->childCount(); ++i) shown << folder->child(i)->text(0);
  QStringList held;
  for (const FolderRanking& ranking : ranges_->RankingsOf(folder->text(0).toStdWString()))
    held << QString::fromStdWString(ranking.range.name);
  shown.sort();
  held.sort();  // a ranking added by the pane sits last, not in name order
  return shown == held;
}

void CClassView::SyncFolders() {
  // The file's structure decides which folder a ranking belongs to (a deleted folder's
  // rankings join the folder before it), and equal names may match another element than
  // the item's: the tree shows what the tables now hold.
  quietSelection_ = true;
  QStringList shown;
  for (int i = user_->childCount() - 1; i >= 0; --i) {
    QTreeWidgetItem* folder = user_->child(i);
    if (!ranges_->IsFolder(folder->text(0).toStdWString())) {
      delete folder;
      continue;
    }
    shown << folder->text(0);
    if (ShowsItsRankings(folder)) continue;
    qDeleteAll(folder->takeChildren());
    FillFolder(folder);
  }
  for (const std::wstring& name : ranges_->FolderNames())
    if (!shown.contains(QString::fromStdWString(name)))
      FillFolder(AddItem(user_, QString::fromStdWString(name), kFolderCode, kFolderImage));
  quietSelection_ = false;
}

void CClassView::ForgetCategoryItems() {
  if (!ranges_) return;
  for (const QTreeWidgetItem* item : {tavi_, user_}) {
    if (!item) continue;
    if (const auto category = ranges_->CategoryOfItem(Handle(item))) ranges_->SetCategoryItem(*category, 0);
  }
}

CClassView::Place CClassView::PlaceOf(const QTreeWidgetItem* item) const {
  if (!item) return Place::None;
  if (item == root_) return Place::Root;
  if (item == tavi_) return Place::Tavi;
  if (item == user_) return Place::User;
  const QTreeWidgetItem* parent = item->parent();
  if (parent && parent == user_) return Place::Folder;
  if (parent && parent->parent() == user_) return Place::Ranking;
  return Place::None;
}

QTreeWidgetItem* CClassView::Selected() const {
  const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
  return selected.isEmpty() ? nullptr : selected.first();
}

// --- selection ---

void CClassView::SelectionChanged(QTreeWidgetItem* item) {
  if (!item) return;
  lastName_ = item->text(0);
  const Place place = PlaceOf(item);
  if (place == Place::Folder) category_ = kUserDefinedCategory;
  else if (tavi_ && item->text(0) == tavi_->text(0)) category_ = kEquilabCategory;
  else if (place == Place::Ranking) category_ = kUserFolderCategory;
  if (place == Place::Ranking && !quietSelection_) ApplyRanking(item);
}

void CClassView::ApplyRanking(QTreeWidgetItem* ranking) {
  if (settings_->Mode() == EditMode::Create) {
    ApplyToSlot(1, ranking);
    return;
  }
  const int slot = SlotInFolder(ranking->parent());
  if (slot >= 0) ApplyToSlot(slot, ranking);
}

void CClassView::ApplyToSlot(int slot, QTreeWidgetItem* ranking) {
  const QString text = RankingText(ranking);
  if (text.isEmpty()) return;  // no table has it: the row keeps its range
  hands_->SetText(slot, text);
  LinkSlot(slot, ranking);
  if (applyRow) applyRow(slot);
}

int CClassView::SlotInFolder(const QTreeWidgetItem* folder) const {
  for (int slot = 0; slot < kSlots; ++slot) {
    const QTreeWidgetItem* linked = SlotItem(slot);
    if (linked && (linked == folder || linked->parent() == folder)) return slot;
  }
  return -1;
}

QString CClassView::RankingText(QTreeWidgetItem* ranking) const {
  if (!ranges_ || PlaceOf(ranking) != Place::Ranking) return {};
  const auto text = ranges_->RangeText(kUserFolderCategory, ranking->parent()->text(0).toStdWString(),
                                       ranking->text(0).toStdWString());
  return text ? QString::fromStdWString(*text) : QString();
}

QString CClassView::DragText(QTreeWidgetItem* item) const {
  return settings_->Mode() == EditMode::Use ? RankingText(item) : QString();
}

void CClassView::SelectSlotItem(int slot) {
  QTreeWidgetItem* item = SlotItem(slot);
  if (!item) return;
  quietSelection_ = true;
  tree_->setCurrentItem(item);
  quietSelection_ = false;
}

// --- slot links ---

QStringList CClassView::PathOf(const QTreeWidgetItem* item) {
  QStringList path;
  for (; item; item = item->parent()) path.prepend(item->text(0));
  return path;
}

QTreeWidgetItem* CClassView::ItemAt(const QStringList& path) const {
  QTreeWidgetItem* item = nullptr;
  for (const QString& text : path) {
    const int count = item ? item->childCount() : tree_->topLevelItemCount();
    QTreeWidgetItem* next = nullptr;
    for (int i = 0; i < count && !next; ++i) {
      QTreeWidgetItem* child = item ? item->child(i) : tree_->topLevelItem(i);
      if (child->text(0) == text) next = child;
    }
    if (!next) return nullptr;
    item = next;
  }
  return item;
}

void CClassView::LinkSlot(int slot, QTreeWidgetItem* item) {
  if (slot >= 0 && slot < kSlots) slotPaths_[slot] = PathOf(item);
}

QTreeWidgetItem* CClassView::SlotItem(int slot) const {
  if (slot < 0 || slot >= kSlots || slotPaths_[slot].isEmpty()) return nullptr;
  return ItemAt(slotPaths_[slot]);
}

void CClassView::RenameLinks(const QStringList& oldPath, const QString& newText) {
  for (QStringList& path : slotPaths_)
    if (StartsWith(path, oldPath)) path[oldPath.size() - 1] = newText;
}

void CClassView::DropLinks(const QStringList& path) {
  for (QStringList& linked : slotPaths_)
    if (StartsWith(linked, path)) linked.clear();
}

// --- menus and commands ---

std::unique_ptr<QMenu> CClassView::ContextMenu(QTreeWidgetItem* item) {
  if (settings_->Mode() != EditMode::Create) return nullptr;
  int menuId = 0;
  std::vector<std::pair<int, QString>> commands;
  switch (PlaceOf(item)) {
    case Place::User:
      menuId = kUserMenuId;
      commands = {{kCreateFolderCommand, "Create folder"}};
      break;
    case Place::Folder:
      menuId = kFolderMenuId;
      commands = {{kOpenHandRangeCommand, "Open hand Range"}, {kSaveRangeCommand, "Save"},
                  {kRenameFolderCommand, "Rename Folder"}, {kDeleteFolderCommand, "Delete Folder"}};
      break;
    case Place::Ranking:
      menuId = kRankingMenuId;
      commands = {{kRenameRangeCommand, "Rename Range"}, {kDeleteRangeCommand, "Delete Range"}};
      break;
    default:
      return nullptr;
  }
  auto menu = std::make_unique<QMenu>(this);
  menu->setObjectName(QString::number(menuId));
  for (const auto& [id, text] : commands) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::number(id));
    connect(action, &QAction::triggered, this, [this, id = id] { RunCommand(id); });
  }
  return menu;
}

void CClassView::ShowContextMenu(QTreeWidgetItem* item, const QPoint& globalPos) {
  const std::unique_ptr<QMenu> menu = ContextMenu(item);
  if (menu && runMenu) runMenu(*menu, globalPos);
}

void CClassView::RunCommand(int id) {
  switch (id) {
    case kClearRangeCommand: ClearRange(); break;
    case kSaveRangeCommand: SaveRange(); break;
    case kDeleteFolderCommand:
    case kDeleteRangeCommand: DeleteSelected(); break;
    case kOpenHandRangeCommand: OpenHandRange(); break;
    case kRenameFolderCommand:
    case kRenameRangeCommand: RenameSelected(); break;
    case kCreateFolderCommand: CreateFolder(); break;
    default: break;
  }
}

std::optional<QString> CClassView::AskName(const QString& prompt) {
  if (!promptName) return std::nullopt;
  const std::optional<QString> answer = promptName(prompt);
  // A blank name would make an element nobody can find again.
  if (!answer || answer->trimmed().isEmpty()) return std::nullopt;
  return answer->trimmed();
}

bool CClassView::Accepted(bool ok) {
  if (!ok && showMessage) showMessage(QString::fromStdWString(ranges_->LastError()));
  return ok;
}

void CClassView::CreateFolder() {
  QTreeWidgetItem* item = Selected();
  if (!ranges_ || PlaceOf(item) != Place::User) return;
  const std::optional<QString> name = AskName(kFolderPrompt);
  if (!name || !Accepted(ranges_->AddFolder(name->toStdWString()))) return;
  AddItem(item, *name, kFolderCode, kFolderImage);
  item->setExpanded(true);
  SyncFolders();
  emit openHandRangeRequested(HandRangeTitle(*name));
}

void CClassView::SaveRange() {
  CFerroxDoc* editor = activeEditor ? activeEditor() : nullptr;
  QTreeWidgetItem* folder = Selected();
  if (!ranges_ || !editor || PlaceOf(folder) != Place::Folder) return;
  const double percent = editor->Count() * 100.0 / quillet::kTotalCombos;
  const std::optional<QString> name = AskName(kRankingPrompt);
  if (!name) return;
  const RangeParser parser = settings_->Parser();
  if (!Accepted(ranges_->AddRanking(folder->text(0).toStdWString(), name->toStdWString(),
                                  editor->RangeText().toStdWString(), percent, &parser)))
    return;
  AddItem(folder, *name, kRankingCode, kRankingImage);
  folder->setExpanded(true);
  SyncFolders();
}

void CClassView::RenameSelected() {
  QTreeWidgetItem* item = Selected();
  const Place place = PlaceOf(item);
  if (!ranges_ || (place != Place::Folder && place != Place::Ranking)) return;
  // The same prompt for both kinds, as users of the old pane know it.
  const std::optional<QString> name = AskName(kFolderPrompt);
  if (!name) return;
  const std::wstring old = item->text(0).toStdWString();
  // A ranking is looked for in its own folder: another folder may hold one of that name.
  const bool renamed = place == Place::Folder
                           ? ranges_->Rename(RankingElement::Folder, old, name->toStdWString())
                           : ranges_->RenameRanking(item->parent()->text(0).toStdWString(), old, name->toStdWString());
  if (!Accepted(renamed)) return;
  RenameLinks(PathOf(item), *name);
  item->setText(0, *name);
  if (item == tree_->currentItem()) lastName_ = *name;
  SyncFolders();
}

void CClassView::DeleteSelected() {
  QTreeWidgetItem* item = Selected();
  const Place place = PlaceOf(item);
  if (!ranges_ || (place != Place::Folder && place != Place::Ranking)) return;
  if (!ask || !ask("Are you sure to delete?")) return;
  const QString text = item->text(0);
  const bool deleted = place == Place::Folder
                           ? ranges_->Delete(RankingElement::Folder, text.toStdWString())
                           : ranges_->DeleteRanking(item->parent()->text(0).toStdWString(), text.toStdWString());
  if (!Accepted(deleted)) return;
  if (place == Place::Folder) emit closeHandRangeRequested(HandRangeTitle(text));
  DropLinks(PathOf(item));
  quietSelection_ = true;  // the neighbour that becomes current is not chosen by the user
  delete item;
  quietSelection_ = false;
  SyncFolders();
}

void CClassView::OpenHandRange() {
  QTreeWidgetItem* item = Selected();
  if (PlaceOf(item) == Place::Folder) emit openHandRangeRequested(HandRangeTitle(item->text(0)));
}

void CClassView::ClearRange() {
  CFerroxDoc* editor = activeEditor ? activeEditor() : nullptr;
  if (!editor) return;
  // Band 0..0 and no range; the editor form shows both from the document's signals.
  editor->Clear();
  editor->Refresh();
}

}  // namespace ferrox
