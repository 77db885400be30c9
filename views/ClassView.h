#pragma once
// The hand-rankings pane: the predefined rankings of "Range6Plus.xml" as a tree, with the
// user's own folders and rankings under "User-defined Rankings". In create mode a right click
// offers folder and ranking edits, and a selected ranking becomes Op1's range; in use mode a
// selected ranking goes to the player linked to its folder, and rankings drag out as ranges.
// The tree shows the rankings' model; edits go through it to the file first, and the tree
// follows only when the file took them.

#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QMenu;
class QPoint;
class QModelIndex;
class QToolBar;

namespace ferrox {

class CFerroxDoc;
class CViewTree;
class HandsModel;
class PaneSettings;
class RankingsModel;

class CClassView : public QWidget {
  Q_OBJECT

 public:
  // Control and command ids; each control's, menu's and action's objectName is its id.
  static constexpr int kTreeId = 2;
  static constexpr int kToolBarId = 171;
  static constexpr int kRankingMenuId = 203;
  static constexpr int kFolderMenuId = 204;
  static constexpr int kUserMenuId = 205;
  static constexpr int kSlots = 6;  // 0 the Hero, 1..5 Op1..Op5

  // All three must be non-null and outlive the view.
  CClassView(RankingsModel* model, HandsModel* hands, const PaneSettings* settings, QWidget* parent = nullptr);
  ~CClassView() override;

  CViewTree* Tree() const { return tree_; }
  RankingsModel* Model() const { return model_; }
  QAction* ClearRangeAction() const { return clearRange_; }

  // What the last selection remembered: its text and the current category (see
  // RankingCategory; -1 before any).
  QString LastSelectedName() const { return lastName_; }
  int CurrentCategory() const { return category_; }

  // Player slots linked to tree items; a link survives rebuilds and follows renames.
  void LinkSlot(int slot, const QModelIndex& index);
  QModelIndex SlotItem(int slot) const;

  // A new context menu for the item (objectName 203, 204 or 205), or null: use mode, or
  // an item without one.
  std::unique_ptr<QMenu> ContextMenu(const QModelIndex& index);

  // Replaceable: the Hands pane applies a row (1..5 Op1..Op5, 0 the Hero).
  std::function<void(int row)> applyRow;
  // Replaceable: the active per-player range editor's document, null when none.
  std::function<CFerroxDoc*()> activeEditor;
  // Replaceable, for tests: asks for a name; nullopt when cancelled.
  std::function<std::optional<QString>(const QString& prompt)> promptName;
  // Replaceable, for tests: a Yes/No question; true for Yes.
  std::function<bool(const QString& question)> ask;
  // Replaceable, for tests: a message box.
  std::function<void(const QString& message)> showMessage;
  // Replaceable, for tests: shows a context menu at a global position.
  std::function<void(QMenu& menu, const QPoint& globalPos)> runMenu;

  static QString HandRangeTitle(const QString& folder);  // "Hand Range (%s)"

 public slots:
  // The rankings read again with the current parser; the tree shows them afresh.
  void BuildRankingTables();
  // A per-player editor became active: its linked item is selected, applying nothing.
  void SelectSlotItem(int slot);
  // The commands; each acts on the selected item and does nothing without one.
  void RunCommand(int id);
  void CreateFolder();
  void SaveRange();
  void RenameSelected();
  void DeleteSelected();
  void OpenHandRange();
  void ClearRange();

 signals:
  // The frame opens (making it when missing) or closes the range editor window titled so.
  void openHandRangeRequested(const QString& title);
  void closeHandRangeRequested(const QString& title);

 private:
  void BuildToolBar();
  void BuildTree();
  void ApplyColours();
  void OpenTop();
  QModelIndex Selected() const;
  bool Accepted(bool ok);
  std::optional<QString> AskName(const QString& prompt);
  // Runs a model edit whose selection changes apply nothing.
  template <typename Edit>
  auto Quietly(Edit edit);

  void SelectionChanged(const QModelIndex& index);
  void ApplyRanking(const QModelIndex& ranking);
  void ApplyToSlot(int slot, const QModelIndex& ranking);
  int SlotInFolder(const QModelIndex& folder) const;
  QString DragText(const QModelIndex& index) const;
  void ShowContextMenu(const QModelIndex& index, const QPoint& globalPos);

  void RenameLinks(const QStringList& oldPath, const QString& newText);
  void DropLinks(const QStringList& path);

  RankingsModel* model_;
  HandsModel* hands_;
  const PaneSettings* settings_;
  QToolBar* toolBar_ = nullptr;
  QAction* clearRange_ = nullptr;
  CViewTree* tree_ = nullptr;

  QString lastName_;
  int category_ = -1;
  std::array<QStringList, kSlots> slotPaths_;  // item texts from the root down
  // Set while a selection comes from us (a slot's editor activated, an item deleted, the
  // tree brought in step): it is remembered but applies nothing.
  bool quietSelection_ = false;
};

}  // namespace ferrox
