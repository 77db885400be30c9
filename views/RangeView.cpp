#include "views/RangeView.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QVBoxLayout>
#include <vector>

#include "model/HandsModel.h"
#include "model/PaneSettings.h"
#include "model/RangeOutline.h"
#include "quillet/Files.h"
#include "views/DlgAddItem.h"
#include "views/RangeViewToolBar.h"
#include "views/ViewTree.h"

namespace ferrox {

namespace {

const char* const kFolderPrompt = "Please enter a name for for the new folder";
const char* const kInsertFolderPrompt = "Please enter a name for the new falder";
const char* const kRangePrompt = "Please enter a name for the new hand range";
const char* const kItemExists = "The item [%1] already exist, old item is not renamed!";
const char* const kRangeExists = "The predefined hand range [%1] already exist";
const char* const kRangeOverwrite = "The predefined hand range [%1] already exist, overwrite?";
const char* const kSureToDelete = "Are you sure to delete?";
const char* const kOpenError = "File opening Error, possible it doesn't exist";

QString Tr(const char* text, const QString& name = {}) {
  const QString message = QString::fromUtf8(text);
  return message.contains(QLatin1String("%1")) ? message.arg(name) : message;
}

QString RootText() { return QString::fromStdWString(std::wstring(kUserLibraryRoot)); }

std::wstring Wide(const QString& text) { return text.toStdWString(); }

std::filesystem::path LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString FirstSelected(const QFileDialog& dialog) {
  const QStringList files = dialog.selectedFiles();
  return files.isEmpty() ? QString() : files.first();
}

// Folders and ranges move; only the root, containers and folders take what is dropped, so
// a range keeps exactly its two children.
void SetDragFlags(QTreeWidgetItem* item) {
  const int code = CViewTree::Code(item);
  Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
  if (code == kFolderItem || code == kRangeItem) flags |= Qt::ItemIsDragEnabled;
  if (code == kFolderItem || (code >= 0 && code <= kLibraryRootItem)) flags |= Qt::ItemIsDropEnabled;
  item->setFlags(flags);
}

QTreeWidgetItem* NewItem(const QString& text, int code) {
  QTreeWidgetItem* item = CViewTree::MakeItem(text, code);
  SetDragFlags(item);
  return item;
}

// A range item always carries its range text and percent as its first two children.
QTreeWidgetItem* NewRangeItem(const QString& name, const QString& text, const QString& percent) {
  QTreeWidgetItem* range = NewItem(name, kRangeItem);
  range->addChild(NewItem(text, kRangeTextItem));
  range->addChild(NewItem(percent, kPercentTextItem));
  return range;
}

// A range filled from the library keeps its two texts on itself until it is first
// expanded: two items per range would double a large library's memory.
constexpr int kFoldedTextRole = Qt::UserRole + 8;
constexpr int kFoldedPercentRole = Qt::UserRole + 9;

bool IsFolded(const QTreeWidgetItem* range) { return range->data(0, kFoldedTextRole).isValid(); }

QTreeWidgetItem* NewFoldedRangeItem(const QString& name, const QString& text, const QString& percent) {
  QTreeWidgetItem* range = NewItem(name, kRangeItem);
  range->setData(0, kFoldedTextRole, text);
  range->setData(0, kFoldedPercentRole, percent);
  range->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
  return range;
}

void Unfold(QTreeWidgetItem* range) {
  if (!IsFolded(range)) return;
  const QString text = range->data(0, kFoldedTextRole).toString();
  const QString percent = range->data(0, kFoldedPercentRole).toString();
  range->setData(0, kFoldedTextRole, QVariant());
  range->setData(0, kFoldedPercentRole, QVariant());
  range->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
  // First, as a range made whole has them, before anything a hand-edited file nests in it.
  range->insertChild(0, NewItem(text, kRangeTextItem));
  range->insertChild(1, NewItem(percent, kPercentTextItem));
}

QString PercentOf(const QTreeWidgetItem* range) {
  if (IsFolded(range)) return range->data(0, kFoldedPercentRole).toString();
  return range->childCount() > 1 ? range->child(1)->text(0) : QString();
}

void SetRangeTexts(QTreeWidgetItem* range, const QString& text, const QString& percent) {
  if (IsFolded(range)) {
    range->setData(0, kFoldedTextRole, text);
    range->setData(0, kFoldedPercentRole, percent);
    return;
  }
  if (range->childCount() > 0) range->child(0)->setText(0, text);
  if (range->childCount() > 1) range->child(1)->setText(0, percent);
}

int ChildIndex(const QTreeWidgetItem* item) {
  return item->parent() ? item->parent()->indexOfChild(const_cast<QTreeWidgetItem*>(item))
                        : item->treeWidget()->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item));
}

void AddOutlineItems(const QTreeWidgetItem* item, int parent, RangeOutline& outline) {
  const int index = outline.Add(parent, Wide(item->text(0)), CViewTree::Code(item), CViewTree::Image(item));
  if (IsFolded(item)) {
    const QString texts[] = {item->data(0, kFoldedTextRole).toString(), PercentOf(item)};
    for (int i = 0; i < 2; ++i) {
      const int code = i == 0 ? kRangeTextItem : kPercentTextItem;
      outline.Add(index, Wide(texts[i]), code, CViewTree::ImageOf(code));
    }
  }
  for (int i = 0; i < item->childCount(); ++i) AddOutlineItems(item->child(i), index, outline);
}

struct MenuEntry {
  int id;
  const char* text;
};

std::vector<MenuEntry> MenuEntries(int code) {
  switch (code) {
    case kLibraryRootItem:
      return {{CRangeView::kCreateFolder, "Create folder"}, {CRangeView::kCreateRangeInRoot, "Create range"}};
    case kFolderItem:
      return {{CRangeView::kCreateSubfolder, "Create Subfolder"},
              {CRangeView::kInsertFolderBefore, "Insert new folder before"},
              {CRangeView::kInsertFolderAfter, "Insert new folder after"},
              {CRangeView::kCreateRangeInFolder, "Create range"},
              {CRangeView::kRenameFolder, "Rename folder"},
              {CRangeView::kDeleteFolder, "Delete folder"}};
    case kRangeItem:
      return {{CRangeView::kInsertRangeBefore, "Insert new range  before"},
              {CRangeView::kInsertRangeAfter, "Insert new range after"},
              {CRangeView::kSaveRange, "Save"},
              {CRangeView::kSaveRangeAs, "Save As"},
              {CRangeView::kRenameRange, "Rename range"},
              {CRangeView::kDeleteRange, "Delete range"}};
    default:
      return {};
  }
}

const char* MenuName(int code) {
  switch (code) {
    case kLibraryRootItem: return "Range library menu";
    case kFolderItem: return "Folder menu";
    default: return "Range menu";
  }
}

int MenuId(int code) {
  switch (code) {
    case kLibraryRootItem: return CRangeView::kRootMenu;
    case kFolderItem: return CRangeView::kFolderMenu;
    default: return CRangeView::kRangeMenu;
  }
}

}  // namespace

CRangeView::CRangeView(UserLibrary* library, HandsModel* hands, const PaneSettings* settings, QWidget* parent)
    : QWidget(parent), library_(library), hands_(hands), settings_(settings) {
  BuildLayout();
  ConnectTree();
  connect(settings_, &PaneSettings::modeChanged, this, &CRangeView::RefreshMode);
  RefreshMode();
  UpdateToolBar();
}

CRangeView::~CRangeView() = default;

QMenu* CRangeView::ShownMenu() const { return menu_.data(); }

void CRangeView::BuildLayout() {
  setAccessibleName(QStringLiteral("Range tree pane"));
  toolBar_ = new CRangeViewToolBar(this);
  tree_ = new CViewTree(this);
  tree_->setObjectName(QString::number(kTreeId));
  tree_->setAccessibleName(QStringLiteral("Range tree"));
  tree_->SetTreeKind(CViewTree::kRangeTree);
  // Nothing lands beside the library's root.
  tree_->invisibleRootItem()->setFlags(tree_->invisibleRootItem()->flags() & ~Qt::ItemIsDropEnabled);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(toolBar_);
  auto* frame = new QVBoxLayout;
  frame->setContentsMargins(1, 1, 1, 1);
  frame->addWidget(tree_);
  layout->addLayout(frame, 1);
  setFocusProxy(tree_);
}

void CRangeView::ConnectTree() {
  connect(toolBar_, &CRangeViewToolBar::command, this, &CRangeView::RunCommand);
  connect(tree_, &CViewTree::itemRightClicked, this, &CRangeView::OnRightClick);
  connect(tree_, &CViewTree::itemLeftClicked, this, &CRangeView::OnLeftClick);
  connect(tree_, &QTreeWidget::itemSelectionChanged, this, &CRangeView::UpdateToolBar);
  tree_->dragText = [](QTreeWidgetItem* item) { return RangeTextOf(item); };
  connect(tree_, &QTreeWidget::itemExpanded, this, [](QTreeWidgetItem* item) { Unfold(item); });
}

void CRangeView::RefreshMode() {
  const bool create = settings_->Mode() == EditMode::Create;
  tree_->SetDragMode(create ? CViewTree::kDragInside : CViewTree::kDragOut);
  if (!create && menu_) menu_->close();
}

// ---- Building the tree

void CRangeView::Fill() {
  tree_->clear();
  FillFrom(library_->Document(), nullptr);
  tree_->expandToDepth(0);
  UpdateToolBar();
}

void CRangeView::FillFrom(const xml::Node& node, QTreeWidgetItem* parent) {
  for (const auto& child : node.Children()) {
    const int code = UserLibrary::ItemKindOf(*child);
    if (code < 0) {
      FillFrom(*child, parent);
      continue;
    }
    QTreeWidgetItem* item = nullptr;
    if (code == kRangeItem) {
      const UserRangeTexts texts = UserLibrary::RangeTexts(*child);
      item = NewFoldedRangeItem(QString::fromStdWString(texts.name), QString::fromStdWString(texts.value),
                                QString::fromStdWString(texts.percent));
    } else {
      const std::wstring text = code == kFolderItem ? UserLibrary::FolderName(*child) : child->Name();
      item = NewItem(QString::fromStdWString(text), code);
    }
    // The subtree is built before it joins the tree: one insertion for the view, not one per item.
    FillFrom(*child, item);
    AddItem(parent, item);
  }
}

bool CRangeView::LoadOutlineFile(const QString& path) { return LoadOutline(path, false); }

bool CRangeView::LoadOutline(const QString& path, bool keepPath) {
  if (keepPath) userRangePath_ = path;
  tree_->clear();
  const std::optional<RangeOutline> outline = RangeOutline::Read(LocalPath(path));
  if (!outline) {
    Message(Tr(kOpenError));
    return false;
  }
  ShowOutline(*outline);
  if (keepPath && storeUserRangePath) storeUserRangePath(path);
  return true;
}

void CRangeView::ShowOutline(const RangeOutline& outline) {
  std::vector<QTreeWidgetItem*> made;
  made.reserve(outline.Items().size());
  for (const RangeOutline::Item& entry : outline.Items()) {
    QTreeWidgetItem* item = NewItem(QString::fromStdWString(entry.text), entry.code);
    CViewTree::SetImage(item, entry.image);
    AddItem(entry.parent < 0 ? nullptr : made[entry.parent], item);
    made.push_back(item);
  }
  UpdateToolBar();
}

void CRangeView::SaveOutline() {
  const QString path = chooseSaveFile ? chooseSaveFile() : SaveDialog();
  if (path.isEmpty()) return;
  RangeOutline outline;
  for (int i = 0; i < tree_->topLevelItemCount(); ++i) AddOutlineItems(tree_->topLevelItem(i), -1, outline);
  std::string reason;
  if (!outline.Write(LocalPath(path), reason))
    Message(QStringLiteral("The range file <%1> could not be written: %2").arg(path, QString::fromStdString(reason)));
}

void CRangeView::LoadOutline() {
  const QString path = chooseOpenFile ? chooseOpenFile(userRangePath_) : OpenDialog(userRangePath_);
  if (!path.isEmpty()) LoadOutline(path, true);
}

// ---- Items

QTreeWidgetItem* CRangeView::Selected() const {
  const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
  return selected.isEmpty() ? nullptr : selected.first();
}

void CRangeView::AddItem(QTreeWidgetItem* parent, QTreeWidgetItem* item) {
  if (parent) parent->addChild(item);
  else tree_->addTopLevelItem(item);
}

void CRangeView::InsertBeside(QTreeWidgetItem* at, QTreeWidgetItem* item, bool after) {
  const int index = ChildIndex(at) + (after ? 1 : 0);
  if (QTreeWidgetItem* parent = at->parent()) {
    parent->insertChild(index, item);
    parent->setExpanded(true);
  } else {
    tree_->insertTopLevelItem(index, item);
  }
}

QStringList CRangeView::SiblingTexts(const QTreeWidgetItem* item) const {
  QStringList texts;
  const QTreeWidgetItem* parent = item->parent() ? item->parent() : tree_->invisibleRootItem();
  for (int i = 0; i < parent->childCount(); ++i) texts << parent->child(i)->text(0);
  return texts;
}

QTreeWidgetItem* CRangeView::ChildNamed(const QTreeWidgetItem* parent, const QString& name) const {
  if (!parent) parent = tree_->invisibleRootItem();
  for (int i = 0; i < parent->childCount(); ++i)
    if (parent->child(i)->text(0) == name) return parent->child(i);
  return nullptr;
}

bool CRangeView::HasChildOfCode(const QTreeWidgetItem* item, int code) {
  if (!item) return false;
  for (int i = 0; i < item->childCount(); ++i)
    if (CViewTree::Code(item->child(i)) == code) return true;
  return false;
}

QString CRangeView::RangeTextOf(const QTreeWidgetItem* item) {
  switch (CViewTree::Code(item)) {
    case kRangeItem:
      if (IsFolded(item)) return item->data(0, kFoldedTextRole).toString();
      return item->childCount() > 0 ? item->child(0)->text(0) : QString();
    case kRangeTextItem:
      return item->text(0);
    case kPercentTextItem: {
      const QTreeWidgetItem* parent = item->parent();
      const int index = parent ? parent->indexOfChild(const_cast<QTreeWidgetItem*>(item)) : 0;
      return index > 0 ? parent->child(index - 1)->text(0) : QString();
    }
    default:
      return {};
  }
}

UserLibraryPath CRangeView::PathOf(const QTreeWidgetItem* item) {
  UserLibraryPath path;
  for (; item; item = item->parent()) {
    path.push_back(Wide(item->text(0)));
    if (item->text(0) == RootText()) break;
  }
  return path;
}

// ---- Commands

int CRangeView::CodeFor(int id) {
  switch (id) {
    case kCreateFolder:
    case kCreateRangeInRoot:
      return kLibraryRootItem;
    case kCreateSubfolder:
    case kInsertFolderBefore:
    case kInsertFolderAfter:
    case kCreateRangeInFolder:
    case kRenameFolder:
    case kDeleteFolder:
      return kFolderItem;
    case kInsertRangeBefore:
    case kInsertRangeAfter:
    case kSaveRange:
    case kSaveRangeAs:
    case kRenameRange:
    case kDeleteRange:
    case kMoveUp:
    case kMoveDown:
      return kRangeItem;
    default:
      return -1;  // any item, or none
  }
}

bool CRangeView::IsCommandEnabled(int id) const {
  const QTreeWidgetItem* selected = Selected();
  switch (id) {
    case kCreateRangeInFolder:
    case kCreateRangeInRoot:
      return !HasChildOfCode(selected, kRangeItem);
    case kCreateFolder:
    case kCreateSubfolder:
      return !HasChildOfCode(selected, kFolderItem);
    case kMoveUp:
    case kMoveDown:
      return CViewTree::Code(selected) == kRangeItem;
    default:
      return true;
  }
}

void CRangeView::RunCommand(int id) {
  if (id == kSaveOutline) return SaveOutline();
  if (id == kLoadOutline) return LoadOutline();
  QTreeWidgetItem* selected = Selected();
  if (!selected || !IsCommandEnabled(id)) return;
  const int code = CodeFor(id);
  if (code >= 0 && CViewTree::Code(selected) != code) return;
  switch (id) {
    case kCreateFolder:
    case kCreateSubfolder: return CreateFolder(selected, id);
    case kInsertFolderBefore:
    case kInsertFolderAfter: return InsertFolder(selected, id == kInsertFolderAfter);
    case kCreateRangeInFolder:
    case kCreateRangeInRoot:
    case kSaveRangeAs: return CreateRange(selected, id);
    case kInsertRangeBefore:
    case kInsertRangeAfter: return InsertRange(selected, id == kInsertRangeAfter);
    case kSaveRange: return SaveRange(selected);
    case kRenameFolder:
    case kRenameRange: return Rename(selected);
    case kDeleteFolder:
    case kDeleteRange: return Delete(selected);
    case kMoveUp:
    case kMoveDown: return Move(selected, id == kMoveUp);
    case kOpenHandRange: emit openHandRangeRequested(QStringLiteral("Hand Range (%1)").arg(selected->text(0)));
  }
}

void CRangeView::CreateFolder(QTreeWidgetItem* selected, int id) {
  const std::optional<QString> name = PromptName(Tr(kFolderPrompt));
  if (!name) return;
  if (ChildNamed(selected, *name)) return Message(Tr(kItemExists, *name));
  if (name->isEmpty()) return;
  const UserLibraryPath path = id == kCreateFolder ? UserLibraryPath{Wide(RootText())} : PathOf(selected);
  if (!Succeeded(library_->InsertFolder(path, Wide(*name), InsertWhere::FirstChild))) return;
  QTreeWidgetItem* folder = NewItem(*name, kFolderItem);
  selected->insertChild(0, folder);
  selected->setExpanded(true);
  folder->setExpanded(true);
}

void CRangeView::InsertFolder(QTreeWidgetItem* selected, bool after) {
  const std::optional<QString> name = PromptName(Tr(kInsertFolderPrompt));
  if (!name || name->isEmpty()) return;
  const InsertWhere where = after ? InsertWhere::After : InsertWhere::Before;
  if (!Succeeded(library_->InsertFolder(PathOf(selected), Wide(*name), where))) return;
  InsertBeside(selected, NewItem(*name, kFolderItem), after);
}

void CRangeView::CreateRange(QTreeWidgetItem* selected, int id) {
  for (;;) {
    const std::optional<QString> name = PromptName(Tr(kRangePrompt));
    if (!name) return;
    const QString text = HeroText();
    const QString percent = text.isEmpty() ? QStringLiteral("0%") : HeroPercent();
    const bool saveAs = id == kSaveRangeAs;
    QTreeWidgetItem* clash = ChildNamed(saveAs ? selected->parent() : selected, *name);
    const int selectedCode = CViewTree::Code(selected);
    if (clash && selectedCode == kFolderItem) return Message(Tr(kRangeExists, *name));
    // A name taken by a folder beside the range cannot be overwritten as a range.
    if (clash && selectedCode == kRangeItem && CViewTree::Code(clash) != kRangeItem) return Message(Tr(kRangeExists, *name));
    if (!clash || selectedCode == kLibraryRootItem) return AddNewRange(selected, id, *name, text, percent);
    if (Ask(Tr(kRangeOverwrite, *name))) return OverwriteRange(clash, text, percent);
    id = kSaveRangeAs;  // No: ask again for another name
  }
}

void CRangeView::OverwriteRange(QTreeWidgetItem* range, const QString& text, const QString& percent) {
  if (!Succeeded(library_->PutRange(PathOf(range), Wide(range->text(0)), Wide(text), Wide(percent), kRangeItem, true,
                                    InsertWhere::FirstChild)))
    return;
  SetRangeTexts(range, text, percent);
}

void CRangeView::AddNewRange(QTreeWidgetItem* selected, int id, const QString& name, const QString& text,
                             const QString& percent) {
  const int code = CViewTree::Code(selected);
  if (!Succeeded(library_->PutRange(PathOf(selected), Wide(name), Wide(text), Wide(percent), code, false,
                                    InsertWhere::After)))
    return;
  QTreeWidgetItem* range = NewRangeItem(name, text, percent);
  // The file keeps a "Save As" range after the one it came from; the tree shows it last.
  QTreeWidgetItem* parent = id == kSaveRangeAs ? selected->parent() : selected;
  AddItem(parent, range);
  if (id != kSaveRangeAs) {
    selected->setExpanded(true);
    range->setExpanded(true);
  }
}

void CRangeView::InsertRange(QTreeWidgetItem* selected, bool after) {
  const std::optional<QString> name = PromptName(Tr(kRangePrompt));
  if (!name || name->isEmpty()) return;
  const QString percent = QStringLiteral("0%");
  const InsertWhere where = after ? InsertWhere::After : InsertWhere::Before;
  if (!Succeeded(library_->PutRange(PathOf(selected), Wide(*name), L"", Wide(percent), kRangeItem, false, where)))
    return;
  InsertBeside(selected, NewRangeItem(*name, QString(), percent), after);
}

void CRangeView::SaveRange(QTreeWidgetItem* selected) {
  if (!Ask(Tr(kRangeOverwrite, selected->text(0)))) return;
  // Save keeps the computed percent even for an empty range; the creating commands say "0%".
  OverwriteRange(selected, HeroText(), HeroPercent());
}

void CRangeView::Rename(QTreeWidgetItem* selected) {
  const std::optional<QString> name = PromptName(Tr(kRangePrompt));
  // A nameless item could never be found by its path again.
  if (!name || name->isEmpty()) return;
  if (SiblingTexts(selected).contains(*name)) return Message(Tr(kItemExists, *name));
  if (!Succeeded(library_->RenameNode(PathOf(selected), Wide(*name), CViewTree::Code(selected)))) return;
  selected->setText(0, *name);
}

void CRangeView::Delete(QTreeWidgetItem* selected) {
  if (!Ask(Tr(kSureToDelete))) return;
  if (!Succeeded(library_->RemoveNode(PathOf(selected)))) return;
  delete selected;
  UpdateToolBar();
}

void CRangeView::Move(QTreeWidgetItem* selected, bool up) {
  QTreeWidgetItem* parent = selected->parent() ? selected->parent() : tree_->invisibleRootItem();
  const int index = parent->indexOfChild(selected);
  const int to = up ? index - 1 : index + 1;
  if (to < 0 || to >= parent->childCount()) return;
  const QString value = RangeTextOf(selected);
  const QString percent = PercentOf(selected);
  if (!Succeeded(library_->MoveRange(PathOf(selected), Wide(selected->text(0)), Wide(value), Wide(percent), up)))
    return;
  const bool expanded = selected->isExpanded();
  parent->takeChild(index);
  parent->insertChild(to, selected);
  selected->setExpanded(expanded);
  tree_->setCurrentItem(selected);
}

// ---- Mouse

void CRangeView::OnRightClick(QTreeWidgetItem* item, const QPoint& globalPos) {
  if (menu_) menu_->close();
  if (settings_->Mode() != EditMode::Create || !item) return;
  const int code = CViewTree::Code(item);
  if (code != kLibraryRootItem && code != kFolderItem && code != kRangeItem) return;
  menu_ = MakeMenu(code);
  menu_->popup(globalPos);
}

QMenu* CRangeView::MakeMenu(int code) {
  auto* menu = new QMenu(this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->setObjectName(QString::number(MenuId(code)));
  menu->setAccessibleName(QString::fromUtf8(MenuName(code)));
  for (const MenuEntry& entry : MenuEntries(code)) {
    QAction* action = menu->addAction(QString::fromUtf8(entry.text));
    action->setObjectName(QString::number(entry.id));
    action->setEnabled(IsCommandEnabled(entry.id));
    const int id = entry.id;
    // Queued: the command's own boxes open after the menu has gone.
    connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); }, Qt::QueuedConnection);
  }
  return menu;
}

void CRangeView::OnLeftClick() {
  if (settings_->Mode() != EditMode::Create) return;
  const QTreeWidgetItem* selected = Selected();
  // Only a range is applied: a click that opens a folder must not wipe the Hero's range.
  if (!selected || CViewTree::Code(selected) < kRangeItem) return;
  hands_->SetText(0, RangeTextOf(selected));
  if (applyRow) applyRow(0);
}

void CRangeView::UpdateToolBar() {
  for (int id : {kMoveUp, kMoveDown})
    if (QAction* action = toolBar_->Action(id)) action->setEnabled(IsCommandEnabled(id));
}

// ---- The Hero, messages and boxes

QString CRangeView::HeroText() const { return hands_->Text(0); }

QString CRangeView::HeroPercent() const {
  quillet::Spec combos;
  settings_->Parser().ParseRange(Wide(HeroText()), combos);
  return QString::asprintf("%.2f%%", static_cast<double>(combos.size()) * 100.0 / kStartingHands);
}

bool CRangeView::Succeeded(bool edited) {
  if (!edited && !library_->LastError().empty()) Message(QString::fromStdWString(library_->LastError()));
  return edited;
}

void CRangeView::Message(const QString& text) {
  if (showMessage) showMessage(text);
  else QMessageBox::information(this, QStringLiteral("Ferrox6Plus"), text);
}

bool CRangeView::Ask(const QString& text) {
  if (ask) return ask(text);
  return QMessageBox::question(this, QStringLiteral("Ferrox6Plus"), text, QMessageBox::Yes | QMessageBox::No) ==
         QMessageBox::Yes;
}

QString CRangeView::SaveDialog() {
  QFileDialog dialog(this, QStringLiteral("Save as range file"), initialFolder_,
                     QStringLiteral("XML Log Files (*.xml);;All Files (*.*)"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("xml"));
  return dialog.exec() == QDialog::Accepted ? FirstSelected(dialog) : QString();
}

QString CRangeView::OpenDialog(const QString& currentPath) {
  QFileDialog dialog(this, QStringLiteral("Select range file"), initialFolder_, QStringLiteral("XML Files (*.xml)"));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::ReadOnly, true);
  dialog.setDefaultSuffix(QStringLiteral("xml"));
  const QString current = QString::fromStdWString(quillet::LastName(Wide(currentPath))).left(100);
  dialog.selectFile(current.isEmpty() ? QStringLiteral("UserRanges*.xml") : current);
  return dialog.exec() == QDialog::Accepted ? FirstSelected(dialog) : QString();
}

std::optional<QString> CRangeView::PromptName(const QString& prompt) {
  if (promptName) return promptName(prompt);
  QString name;
  CDlgAddItem dialog(name, this);
  dialog.SetPrompt(prompt);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return name;
}

}  // namespace ferrox
