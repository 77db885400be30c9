#pragma once
// The hand-rankings pane: the predefined rankings of "Range6Plus.xml" as a tree, with the
// user's own folders and rankings under "User-defined Rankings". In create mode a right click
// offers folder and ranking edits, and a selected ranking becomes Op1's range; in use mode a
// selected ranking goes to the player linked to its folder, and rankings drag out as ranges.
// Edits go to the file first; the tree follows only when the file took them.

#include <QPointer>
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
class QToolBar;
class QTreeWidgetItem;

namespace ferrox {

class CFerroxDoc;
class CViewTree;
class HandsModel;
class PaneSettings;
class PredefinedRanges;

class CClassView : public QWidget {
  Q_OBJECT

 public:
  // Control and command ids; each control's, menu's and action's objectName is its id.
  static constexpr int kTreeId = 2;
  static constexpr int kToolBarId = 171;
  static constexpr int kRankingMenuId = 203;
  static constexpr int kFolderMenuId = 204;
  static constexpr int kUserMenuId = 205;
  enum Command : int {
    kClearRangeCommand = 32780,
    kSaveRangeCommand = 32782,
    kDeleteFolderCommand = 32783,
    kDeleteRangeCommand = 32784,
    kOpenHandRangeCommand = 32787,
    kRenameFolderCommand = 32788,
    kRenameRangeCommand = 32789,
    kCreateFolderCommand = 32810,
  };
  // Image numbers of the pane's items.
  enum Image : int { kRootImage = 0, kRankingImage = 1, kFolderImage = 2, kCategoryImage = 3 };
  static constexpr int kSlots = 6;  // 0 the Hero, 1..5 Op1..Op5

  // All three must be non-null and outlive the view.
  CClassView(PredefinedRanges* ranges, HandsModel* hands, const PaneSettings* settings,
             QWidget* parent = nullptr);
  ~CClassView() override;

  CViewTree* Tree() const { return tree_; }
  QAction* ClearRangeAction() const { return clearRange_; }
  QTreeWidgetItem* RootItem() const { return root_; }
  QTreeWidgetItem* TaviItem() const { return tavi_; }
  QTreeWidgetItem* UserItem() const { return user_; }
  // The image number an item shows, -1 for none.
  static int ImageOf(const QTreeWidgetItem* item);

  // What the last selection remembered: its text and the current category (see
  // RankingCategory; -1 before any).
  QString LastSelectedName() const { return lastName_; }
  int CurrentCategory() const { return category_; }

  // Player slots linked to tree items; a link survives rebuilds and follows renames.
  void LinkSlot(int slot, QTreeWidgetItem* item);
  QTreeWidgetItem* SlotItem(int slot) const;

  // A new context menu for the item (objectName 203, 204 or 205), or null: use mode, or
  // an item without one.
  std::unique_ptr<QMenu> ContextMenu(QTreeWidgetItem* item);

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
  // Empties the tree and fills it from the model's tables.
  void Rebuild();
  // The model rebuilds its tables with the current parser, then the tree follows.
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
  enum class Place { None, Root, Tavi, User, Folder, Ranking };

  void BuildToolBar();
  void BuildTree();
  void ApplyColours();
  QTreeWidgetItem* AddItem(QTreeWidgetItem* parent, const QString& text, int code, int image);
  void FillFolder(QTreeWidgetItem* folderItem);
  bool ShowsItsRankings(const QTreeWidgetItem* folder) const;
  void SyncFolders();
  void ForgetCategoryItems();
  Place PlaceOf(const QTreeWidgetItem* item) const;
  QTreeWidgetItem* Selected() const;
  bool Accepted(bool ok);
  std::optional<QString> AskName(const QString& prompt);

  void SelectionChanged(QTreeWidgetItem* item);
  void ApplyRanking(QTreeWidgetItem* ranking);
  void ApplyToSlot(int slot, QTreeWidgetItem* ranking);
  int SlotInFolder(const QTreeWidgetItem* folder) const;
  QString RankingText(QTreeWidgetItem* ranking) const;
  QString DragText(QTreeWidgetItem* item) const;
  void ShowContextMenu(QTreeWidgetItem* item, const QPoint& globalPos);

  static QStringList PathOf(const QTreeWidgetItem* item);
  QTreeWidgetItem* ItemAt(const QStringList& path) const;
  void RenameLinks(const QStringList& oldPath, const QString& newText);
  void DropLinks(const QStringList& path);

  QPointer<PredefinedRanges> ranges_;
  HandsModel* hands_;
  const PaneSettings* settings_;
  QToolBar* toolBar_ = nullptr;
  QAction* clearRange_ = nullptr;
  CViewTree* tree_ = nullptr;
  QTreeWidgetItem* root_ = nullptr;
  QTreeWidgetItem* tavi_ = nullptr;
  QTreeWidgetItem* user_ = nullptr;

  QString lastName_;
  int category_ = -1;
  std::array<QStringList, kSlots> slotPaths_;  // item texts from the root down
  // Set while a selection comes from us (a slot's editor activated, an item deleted, the
  // tree emptied): it is remembered but applies nothing.
  bool quietSelection_ = false;
};

}  // namespace ferrox
