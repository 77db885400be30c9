#include "views/ClassView.h"

#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>
#include <cstdint>
#include <utility>

#include "model/FerroxDoc.h"
#include "model/HandsModel.h"
#include "model/PaneSettings.h"
#include "model/PredefinedRanges.h"
#include "model/RankingsModel.h"
#include "quillet/HandClass.h"
#include "views/CommandIds.h"
#include "views/DlgAddItem.h"
#include "views/ViewTree.h"
#include "widgets/ColourRef.h"

namespace ferrox {

using namespace cmd;
namespace {

using Place = RankingsModel::Place;

constexpr char kFolderPrompt[] = "Enter Folder Name";
constexpr char kRankingPrompt[] = "Enter hand Range Name";

bool StartsWith(const QStringList& path, const QStringList& prefix) {
  return !prefix.isEmpty() && path.size() >= prefix.size() && path.mid(0, prefix.size()) == prefix;
}

}  // namespace

CClassView::CClassView(RankingsModel* model, HandsModel* hands, const PaneSettings* settings, QWidget* parent)
    : QWidget(parent), model_(model), hands_(hands), settings_(settings) {
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
  OpenTop();
}

CClassView::~CClassView() {
  // The tree dies after us: its last signals must not reach a half-destroyed pane.
  disconnect(tree_->selectionModel(), nullptr, this, nullptr);
  disconnect(tree_, nullptr, this, nullptr);
}

void CClassView::BuildToolBar() {
  toolBar_ = new QToolBar(this);
  toolBar_->setObjectName(QString::number(kToolBarId));
  toolBar_->setAccessibleName("Hand rankings tools");
  toolBar_->setMovable(false);
  toolBar_->setFloatable(false);
  toolBar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
  clearRange_ = toolBar_->addAction("Clear range ");
  clearRange_->setObjectName(QString::number(ID_CLEAR_RANGE));
  clearRange_->setToolTip("Clear the active range editor");
  connect(clearRange_, &QAction::triggered, this, &CClassView::ClearRange);
  if (QWidget* button = toolBar_->widgetForAction(clearRange_)) button->setAccessibleName("Clear range");
}

void CClassView::BuildTree() {
  tree_ = new CViewTree(this);
  tree_->setObjectName(QString::number(kTreeId));
  tree_->setAccessibleName("Hand Rankings");
  tree_->SetTreeKind(CViewTree::kRankingsTree);
  tree_->SetTopLevelBold(true);
  tree_->setModel(model_);
  // Items never move inside this tree (the file would not follow); they only drag out.
  tree_->SetDragMode(CViewTree::kDragOut);
  tree_->SetHandCursor(true);
  tree_->dragText = [this](const QModelIndex& index) { return DragText(index); };
  connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) { SelectionChanged(current); });
  connect(tree_, &CViewTree::itemRightClicked, this, &CClassView::ShowContextMenu);
  connect(model_, &QAbstractItemModel::modelReset, this, &CClassView::OpenTop);
}

void CClassView::ApplyColours() {
  QPalette palette = QApplication::palette(tree_);
  const QColor background = widgets::ColourFromRef(static_cast<uint32_t>(settings_->Background()));
  const QColor text = widgets::ColourFromRef(static_cast<uint32_t>(settings_->FontColour()));
  if (background.isValid()) palette.setColor(QPalette::Base, background);
  if (text.isValid()) palette.setColor(QPalette::Text, text);
  tree_->setPalette(palette);
}

QString CClassView::HandRangeTitle(const QString& folder) { return QString("Hand Range (%1)").arg(folder); }

// --- the tree ---

void CClassView::OpenTop() {
  tree_->expand(model_->RootIndex());
  tree_->expand(model_->UserIndex());
}

void CClassView::BuildRankingTables() { model_->Rankings().BuildRankingTables(settings_->Parser()); }

QModelIndex CClassView::Selected() const {
  const QModelIndexList selected = tree_->selectionModel()->selectedIndexes();
  return selected.isEmpty() ? QModelIndex() : selected.first();
}

template <typename Edit>
auto CClassView::Quietly(Edit edit) {
  quietSelection_ = true;
  const auto result = edit();
  quietSelection_ = false;
  return result;
}

// --- selection ---

void CClassView::SelectionChanged(const QModelIndex& index) {
  if (!index.isValid()) return;
  lastName_ = index.data().toString();
  const Place place = model_->PlaceOf(index);
  if (place == Place::Folder) category_ = kUserDefinedCategory;
  else if (lastName_ == model_->TaviIndex().data().toString()) category_ = kEquilabCategory;
  else if (place == Place::Ranking) category_ = kUserFolderCategory;
  if (place == Place::Ranking && !quietSelection_) ApplyRanking(index);
}

void CClassView::ApplyRanking(const QModelIndex& ranking) {
  if (settings_->Mode() == EditMode::Create) {
    ApplyToSlot(1, ranking);
    return;
  }
  const int slot = SlotInFolder(ranking.parent());
  if (slot >= 0) ApplyToSlot(slot, ranking);
}

void CClassView::ApplyToSlot(int slot, const QModelIndex& ranking) {
  const QString text = model_->RangeText(ranking);
  if (text.isEmpty()) return;  // no table has it: the row keeps its range
  hands_->SetText(slot, text);
  LinkSlot(slot, ranking);
  if (applyRow) applyRow(slot);
}

int CClassView::SlotInFolder(const QModelIndex& folder) const {
  for (int slot = 0; slot < kSlots; ++slot) {
    const QModelIndex linked = SlotItem(slot);
    if (linked.isValid() && (linked == folder || linked.parent() == folder)) return slot;
  }
  return -1;
}

QString CClassView::DragText(const QModelIndex& index) const {
  return settings_->Mode() == EditMode::Use ? model_->RangeText(index) : QString();
}

void CClassView::SelectSlotItem(int slot) {
  const QModelIndex index = SlotItem(slot);
  if (!index.isValid()) return;
  quietSelection_ = true;
  tree_->setCurrentIndex(index);
  quietSelection_ = false;
}

// --- slot links ---

void CClassView::LinkSlot(int slot, const QModelIndex& index) {
  if (slot >= 0 && slot < kSlots) slotPaths_[slot] = model_->PathOf(index);
}

QModelIndex CClassView::SlotItem(int slot) const {
  if (slot < 0 || slot >= kSlots || slotPaths_[slot].isEmpty()) return {};
  return model_->IndexAt(slotPaths_[slot]);
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

std::unique_ptr<QMenu> CClassView::ContextMenu(const QModelIndex& index) {
  if (settings_->Mode() != EditMode::Create) return nullptr;
  int menuId = 0;
  std::vector<std::pair<int, QString>> commands;
  switch (model_->PlaceOf(index)) {
    case Place::User:
      menuId = kUserMenuId;
      commands = {{ID_CREATE_FOLDER, "Create folder"}};
      break;
    case Place::Folder:
      menuId = kFolderMenuId;
      commands = {{ID_OPEN_HAND_RANGE, "Open hand Range"}, {ID_SAVE_RANGE, "Save"},
                  {ID_RENAME_FOLDER, "Rename Folder"}, {ID_DELETE_FOLDER, "Delete Folder"}};
      break;
    case Place::Ranking:
      menuId = kRankingMenuId;
      commands = {{ID_RENAME_RANGE, "Rename Range"}, {ID_DELETE_RANGE, "Delete Range"}};
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

void CClassView::ShowContextMenu(const QModelIndex& index, const QPoint& globalPos) {
  const std::unique_ptr<QMenu> menu = ContextMenu(index);
  if (menu && runMenu) runMenu(*menu, globalPos);
}

void CClassView::RunCommand(int id) {
  switch (id) {
    case ID_CLEAR_RANGE: ClearRange(); break;
    case ID_SAVE_RANGE: SaveRange(); break;
    case ID_DELETE_FOLDER:
    case ID_DELETE_RANGE: DeleteSelected(); break;
    case ID_OPEN_HAND_RANGE: OpenHandRange(); break;
    case ID_RENAME_FOLDER:
    case ID_RENAME_RANGE: RenameSelected(); break;
    case ID_CREATE_FOLDER: CreateFolder(); break;
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
  if (!ok && showMessage) showMessage(model_->LastError());
  return ok;
}

void CClassView::CreateFolder() {
  if (model_->PlaceOf(Selected()) != Place::User) return;
  const std::optional<QString> name = AskName(kFolderPrompt);
  if (!name || !Accepted(Quietly([&] { return model_->AddFolder(*name); }).isValid())) return;
  tree_->expand(model_->UserIndex());
  emit openHandRangeRequested(HandRangeTitle(*name));
}

void CClassView::SaveRange() {
  CFerroxDoc* editor = activeEditor ? activeEditor() : nullptr;
  const QModelIndex folder = Selected();
  if (!editor || model_->PlaceOf(folder) != Place::Folder) return;
  const double percent = editor->Count() * 100.0 / quillet::kTotalCombos;
  const std::optional<QString> name = AskName(kRankingPrompt);
  if (!name) return;
  const RangeParser parser = settings_->Parser();
  const QModelIndex added =
      Quietly([&] { return model_->AddRanking(folder, *name, editor->RangeText(), percent, &parser); });
  if (Accepted(added.isValid())) tree_->expand(added.parent());
}

void CClassView::RenameSelected() {
  const QModelIndex index = Selected();
  const Place place = model_->PlaceOf(index);
  if (place != Place::Folder && place != Place::Ranking) return;
  // The same prompt for both kinds, as users of the old pane know it.
  const std::optional<QString> name = AskName(kFolderPrompt);
  if (!name) return;
  const QStringList oldPath = model_->PathOf(index);
  const bool current = index == tree_->currentIndex();
  if (!Accepted(Quietly([&] { return model_->Rename(index, *name); }))) return;
  RenameLinks(oldPath, *name);
  if (current) lastName_ = *name;
}

void CClassView::DeleteSelected() {
  const QModelIndex index = Selected();
  const Place place = model_->PlaceOf(index);
  if (place != Place::Folder && place != Place::Ranking) return;
  if (!ask || !ask("Are you sure to delete?")) return;
  const QString text = index.data().toString();
  const QStringList path = model_->PathOf(index);
  // The neighbour that becomes current is not chosen by the user.
  if (!Accepted(Quietly([&] { return model_->Remove(index); }))) return;
  if (place == Place::Folder) emit closeHandRangeRequested(HandRangeTitle(text));
  DropLinks(path);
}

void CClassView::OpenHandRange() {
  const QModelIndex index = Selected();
  if (model_->PlaceOf(index) == Place::Folder) emit openHandRangeRequested(HandRangeTitle(index.data().toString()));
}

void CClassView::ClearRange() {
  CFerroxDoc* editor = activeEditor ? activeEditor() : nullptr;
  if (!editor) return;
  // Band 0..0 and no range; the editor form shows both from the document's signals.
  editor->Clear();
  editor->Refresh();
}

}  // namespace ferrox
