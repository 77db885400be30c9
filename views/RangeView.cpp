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
#include "model/UserLibraryModel.h"
#include "quillet/Files.h"
#include "views/CommandIds.h"
#include "views/DlgAddItem.h"
#include "views/RangeViewToolBar.h"
#include "views/ViewTree.h"

namespace ferrox {

using namespace cmd;

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

std::wstring Wide(const QString& text) { return text.toStdWString(); }

std::filesystem::path LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString FirstSelected(const QFileDialog& dialog) {
  const QStringList files = dialog.selectedFiles();
  return files.isEmpty() ? QString() : files.first();
}

struct MenuEntry {
  int id;
  const char* text;
};

std::vector<MenuEntry> MenuEntries(int code) {
  switch (code) {
    case kLibraryRootItem:
      return {{cmd::ID_CREATE_FOLDER, "Create folder"}, {cmd::ID_CREATE_RANGE, "Create range"}};
    case kFolderItem:
      return {{cmd::ID_CREATE_SUBFOLDER, "Create Subfolder"},
              {cmd::ID_INSERT_FOLDER_BEFORE, "Insert new folder before"},
              {cmd::ID_INSERT_FOLDER_AFTER, "Insert new folder after"},
              {cmd::ID_CREATE_RANGE_IN_FOLDER, "Create range"},
              {cmd::ID_RENAME_FOLDER, "Rename folder"},
              {cmd::ID_DELETE_FOLDER, "Delete folder"}};
    case kRangeItem:
      return {{cmd::ID_INSERT_RANGE_BEFORE, "Insert new range  before"},
              {cmd::ID_INSERT_RANGE_AFTER, "Insert new range after"},
              {cmd::ID_SAVE_RANGE, "Save"},
              {cmd::ID_SAVE_RANGE_AS, "Save As"},
              {cmd::ID_RENAME_RANGE, "Rename range"},
              {cmd::ID_DELETE_RANGE, "Delete range"}};
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

CRangeView::CRangeView(UserLibraryModel* model, HandsModel* hands, const PaneSettings* settings, QWidget* parent)
    : QWidget(parent), model_(model), hands_(hands), settings_(settings) {
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
  tree_->setModel(model_);
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
  connect(tree_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &CRangeView::UpdateToolBar);
  // A reset or removal may take the selection without a selection signal.
  connect(model_, &QAbstractItemModel::modelReset, this, &CRangeView::UpdateToolBar);
  connect(model_, &QAbstractItemModel::rowsRemoved, this, &CRangeView::UpdateToolBar);
  tree_->dragText = [this](const QModelIndex& index) { return model_->RangeText(index); };
}

void CRangeView::RefreshMode() {
  const bool create = settings_->Mode() == EditMode::Create;
  tree_->SetDragMode(create ? CViewTree::kDragInside : CViewTree::kDragOut);
  if (!create && menu_) menu_->close();
}

// ---- Building the tree

UserLibraryLoad CRangeView::Load(const std::filesystem::path& file) {
  const UserLibraryLoad load = model_->Load(file);
  tree_->expandToDepth(0);
  return load;
}

bool CRangeView::LoadOutlineFile(const QString& path) { return LoadOutline(path, false); }

bool CRangeView::LoadOutline(const QString& path, bool keepPath) {
  if (keepPath) userRangePath_ = path;
  const std::optional<RangeOutline> outline = RangeOutline::Read(LocalPath(path));
  // The tree is emptied even when the file cannot be read.
  model_->ShowOutline(outline.value_or(RangeOutline()));
  if (!outline) {
    Message(Tr(kOpenError));
    return false;
  }
  if (keepPath && storeUserRangePath) storeUserRangePath(path);
  return true;
}

void CRangeView::SaveOutline() {
  const QString path = chooseSaveFile ? chooseSaveFile() : SaveDialog();
  if (path.isEmpty()) return;
  std::string reason;
  if (!model_->Outline().Write(LocalPath(path), reason))
    Message(QStringLiteral("The range file <%1> could not be written: %2").arg(path, QString::fromStdString(reason)));
}

void CRangeView::LoadOutline() {
  const QString path = chooseOpenFile ? chooseOpenFile(userRangePath_) : OpenDialog(userRangePath_);
  if (!path.isEmpty()) LoadOutline(path, true);
}

// ---- Items

QModelIndex CRangeView::Selected() const {
  const QModelIndexList selected = tree_->selectionModel()->selectedIndexes();
  return selected.isEmpty() ? QModelIndex() : selected.first();
}

QStringList CRangeView::SiblingTexts(const QModelIndex& index) const {
  QStringList texts;
  const QModelIndex parent = index.parent();
  for (int row = 0; row < model_->rowCount(parent); ++row) texts << model_->index(row, 0, parent).data().toString();
  return texts;
}

// A new item is shown with its parent opened; a created one is opened itself.
void CRangeView::ShowAdded(const QModelIndex& added, bool open) {
  if (added.parent().isValid()) tree_->expand(added.parent());
  if (open) tree_->expand(added);
}

// ---- Commands

int CRangeView::CodeFor(int id) {
  switch (id) {
    case ID_CREATE_FOLDER:
    case ID_CREATE_RANGE:
      return kLibraryRootItem;
    case ID_CREATE_SUBFOLDER:
    case ID_INSERT_FOLDER_BEFORE:
    case ID_INSERT_FOLDER_AFTER:
    case ID_CREATE_RANGE_IN_FOLDER:
    case ID_RENAME_FOLDER:
    case ID_DELETE_FOLDER:
      return kFolderItem;
    case ID_INSERT_RANGE_BEFORE:
    case ID_INSERT_RANGE_AFTER:
    case ID_SAVE_RANGE:
    case ID_SAVE_RANGE_AS:
    case ID_RENAME_RANGE:
    case ID_DELETE_RANGE:
    case ID_MOVE_UP:
    case ID_MOVE_DOWN:
      return kRangeItem;
    default:
      return -1;  // any item, or none
  }
}

bool CRangeView::IsCommandEnabled(int id) const {
  const QModelIndex selected = Selected();
  switch (id) {
    case ID_CREATE_RANGE_IN_FOLDER:
    case ID_CREATE_RANGE:
      return !model_->HasChildOfCode(selected, kRangeItem);
    case ID_CREATE_FOLDER:
    case ID_CREATE_SUBFOLDER:
      return !model_->HasChildOfCode(selected, kFolderItem);
    case ID_MOVE_UP:
    case ID_MOVE_DOWN:
      return CViewTree::Code(selected) == kRangeItem;
    default:
      return true;
  }
}

void CRangeView::RunCommand(int id) {
  if (id == ID_SAVE_OUTLINE) return SaveOutline();
  if (id == ID_LOAD_OUTLINE) return LoadOutline();
  const QModelIndex selected = Selected();
  if (!selected.isValid() || !IsCommandEnabled(id)) return;
  const int code = CodeFor(id);
  if (code >= 0 && CViewTree::Code(selected) != code) return;
  switch (id) {
    case ID_CREATE_FOLDER:
    case ID_CREATE_SUBFOLDER: return CreateFolder(selected);
    case ID_INSERT_FOLDER_BEFORE:
    case ID_INSERT_FOLDER_AFTER: return InsertFolder(selected, id == ID_INSERT_FOLDER_AFTER);
    case ID_CREATE_RANGE_IN_FOLDER:
    case ID_CREATE_RANGE:
    case ID_SAVE_RANGE_AS: return CreateRange(selected, id);
    case ID_INSERT_RANGE_BEFORE:
    case ID_INSERT_RANGE_AFTER: return InsertRange(selected, id == ID_INSERT_RANGE_AFTER);
    case ID_SAVE_RANGE: return SaveRange(selected);
    case ID_RENAME_FOLDER:
    case ID_RENAME_RANGE: return Rename(selected);
    case ID_DELETE_FOLDER:
    case ID_DELETE_RANGE: return Delete(selected);
    case ID_MOVE_UP:
    case ID_MOVE_DOWN: return Move(selected, id == ID_MOVE_UP);
    case ID_OPEN_HAND_RANGE:
      emit openHandRangeRequested(QStringLiteral("Hand Range (%1)").arg(selected.data().toString()));
  }
}

void CRangeView::CreateFolder(const QModelIndex& selected) {
  const std::optional<QString> name = PromptName(Tr(kFolderPrompt));
  if (!name) return;
  if (model_->ChildNamed(selected, *name).isValid()) return Message(Tr(kItemExists, *name));
  if (name->isEmpty()) return;
  const QModelIndex folder = model_->CreateFolder(selected, *name);
  if (Succeeded(folder.isValid())) ShowAdded(folder, true);
}

void CRangeView::InsertFolder(const QModelIndex& selected, bool after) {
  const std::optional<QString> name = PromptName(Tr(kInsertFolderPrompt));
  if (!name || name->isEmpty()) return;
  const QModelIndex folder = model_->InsertFolder(selected, *name, after);
  if (Succeeded(folder.isValid())) ShowAdded(folder, false);
}

void CRangeView::CreateRange(const QModelIndex& selected, int id) {
  for (;;) {
    const std::optional<QString> name = PromptName(Tr(kRangePrompt));
    if (!name) return;
    const QString text = HeroText();
    const QString percent = text.isEmpty() ? QStringLiteral("0%") : HeroPercent();
    const bool saveAs = id == ID_SAVE_RANGE_AS;
    const QModelIndex clash = model_->ChildNamed(saveAs ? selected.parent() : selected, *name);
    const int selectedCode = CViewTree::Code(selected);
    if (clash.isValid() && selectedCode == kFolderItem) return Message(Tr(kRangeExists, *name));
    // A name taken by a folder beside the range cannot be overwritten as a range.
    if (clash.isValid() && selectedCode == kRangeItem && CViewTree::Code(clash) != kRangeItem)
      return Message(Tr(kRangeExists, *name));
    if (!clash.isValid() || selectedCode == kLibraryRootItem)
      return AddNewRange(selected, id, {Wide(*name), Wide(text), Wide(percent)});
    if (Ask(Tr(kRangeOverwrite, *name))) {
      Succeeded(model_->OverwriteRange(clash, text, percent));
      return;
    }
    id = ID_SAVE_RANGE_AS;  // No: ask again for another name
  }
}

void CRangeView::AddNewRange(const QModelIndex& selected, int id, const UserRangeTexts& range) {
  if (id == ID_SAVE_RANGE_AS) {
    Succeeded(model_->SaveRangeAs(selected, range).isValid());
    return;
  }
  const QModelIndex added = model_->CreateRange(selected, range);
  if (Succeeded(added.isValid())) ShowAdded(added, true);
}

void CRangeView::InsertRange(const QModelIndex& selected, bool after) {
  const std::optional<QString> name = PromptName(Tr(kRangePrompt));
  if (!name || name->isEmpty()) return;
  const QModelIndex added = model_->InsertRange(selected, {Wide(*name), L"", L"0%"}, after);
  if (Succeeded(added.isValid())) ShowAdded(added, false);
}

void CRangeView::SaveRange(const QModelIndex& selected) {
  if (!Ask(Tr(kRangeOverwrite, selected.data().toString()))) return;
  // Save keeps the computed percent even for an empty range; the creating commands say "0%".
  Succeeded(model_->OverwriteRange(selected, HeroText(), HeroPercent()));
}

void CRangeView::Rename(const QModelIndex& selected) {
  const std::optional<QString> name = PromptName(Tr(kRangePrompt));
  // A nameless item could never be found by its path again.
  if (!name || name->isEmpty()) return;
  if (SiblingTexts(selected).contains(*name)) return Message(Tr(kItemExists, *name));
  Succeeded(model_->Rename(selected, *name));
}

void CRangeView::Delete(const QModelIndex& selected) {
  if (!Ask(Tr(kSureToDelete))) return;
  Succeeded(model_->Remove(selected));
}

void CRangeView::Move(const QModelIndex& selected, bool up) {
  // The item moves with its expansion and selection.
  Succeeded(model_->MoveRange(selected, up));
}

// ---- Mouse

void CRangeView::OnRightClick(const QModelIndex& index, const QPoint& globalPos) {
  if (menu_) menu_->close();
  if (settings_->Mode() != EditMode::Create || !index.isValid()) return;
  const int code = CViewTree::Code(index);
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
  const QModelIndex selected = Selected();
  // Only a range is applied: a click that opens a folder must not wipe the Hero's range.
  if (!selected.isValid() || CViewTree::Code(selected) < kRangeItem) return;
  hands_->SetText(0, model_->RangeText(selected));
  if (applyRow) applyRow(0);
}

void CRangeView::UpdateToolBar() {
  for (int id : {ID_MOVE_UP, ID_MOVE_DOWN})
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
  if (!edited && !model_->LastError().isEmpty()) Message(model_->LastError());
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
