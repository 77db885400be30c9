#pragma once
// The range library pane: the user's folders and named ranges as a tree, built from the
// user library document and edited through it. Every edit changes the document first (which
// writes the library file) and the tree only when that worked. In create mode the tree
// takes a context menu, a click applies the clicked range to the Hero and items move inside
// the tree; in use mode ranges are dragged out onto a range box. The tree can also be saved
// to and loaded from an outline file, which changes the tree only.

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <optional>

#include "model/UserLibrary.h"

class QMenu;
class QTreeWidgetItem;

namespace ferrox {

class CRangeViewToolBar;
class CViewTree;
class HandsModel;
class PaneSettings;
class RangeOutline;

class CRangeView : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kTreeId = 1390;
  // Two-card starting hands of the 36-card deck: what a range's percent is a share of.
  static constexpr int kStartingHands = 630;

  enum Command : int {
    kCreateFolder = 32810,
    kCreateSubfolder = 32811,
    kInsertFolderBefore = 2003,
    kInsertFolderAfter = 2004,
    kCreateRangeInFolder = 32812,
    kCreateRangeInRoot = 32802,
    kInsertRangeBefore = 2001,
    kInsertRangeAfter = 2002,
    kSaveRange = 32782,
    kSaveRangeAs = 32813,
    kRenameFolder = 32788,
    kRenameRange = 32789,
    kDeleteFolder = 32783,
    kDeleteRange = 32784,
    kMoveUp = 32793,
    kMoveDown = 32792,
    kSaveOutline = 32799,
    kLoadOutline = 32800,
    kOpenHandRange = 32787,
  };
  // Context menus by the selected item: the root, a folder, a range. A menu's objectName is its id.
  enum Menu : int { kRootMenu = 173, kFolderMenu = 201, kRangeMenu = 202 };

  // All three must be non-null and outlive the view.
  CRangeView(UserLibrary* library, HandsModel* hands, const PaneSettings* settings, QWidget* parent = nullptr);
  ~CRangeView() override;

  CViewTree* Tree() const { return tree_; }
  CRangeViewToolBar* ToolBar() const { return toolBar_; }
  // The context menu showing now, null when none.
  QMenu* ShownMenu() const;

  // Rebuilds the tree from the user library document (after UserLibrary::Load).
  void Fill();
  // Rebuilds the tree from an outline file; the path is not kept. False (after the message)
  // when the file cannot be read; the tree is then empty.
  bool LoadOutlineFile(const QString& path);

  // The library file's path as the settings keep it; its file name pre-fills the open dialog.
  QString UserRangePath() const { return userRangePath_; }
  void SetUserRangePath(const QString& path) { userRangePath_ = path; }
  // Where the file dialogs start.
  void SetInitialFolder(const QString& folder) { initialFolder_ = folder; }

  bool IsCommandEnabled(int id) const;
  // The range text a drag of the item carries: a range's, its text's or its percent's;
  // empty for anything else.
  static QString RangeTextOf(const QTreeWidgetItem* item);
  // From the item's text up to and including the library root's.
  static UserLibraryPath PathOf(const QTreeWidgetItem* item);

  // Replaceable: the Hands pane's apply of a row (0 the Hero).
  std::function<void(int row)> applyRow;
  // Replaceable, for tests: an information box.
  std::function<void(const QString&)> showMessage;
  // Replaceable, for tests: a Yes/No box; true for Yes.
  std::function<bool(const QString&)> ask;
  // Replaceable, for tests: the name box; nullopt for Cancel.
  std::function<std::optional<QString>(const QString& prompt)> promptName;
  // Replaceable, for tests: the file dialogs; an empty path for Cancel.
  std::function<QString()> chooseSaveFile;
  std::function<QString(const QString& currentPath)> chooseOpenFile;
  // Replaceable: keeps a loaded outline's path as the setting "UserRangePath".
  std::function<void(const QString&)> storeUserRangePath;

 public slots:
  // Runs a command on the selected item; a disabled one, or one without a fitting
  // selection, does nothing.
  void RunCommand(int id);
  // Create mode: inside moves and a context menu; use mode: dragging out.
  void RefreshMode();

 signals:
  // "Open hand Range": the frame opens, or activates, the calculator document of that title.
  void openHandRangeRequested(const QString& title);

 private:
  void BuildLayout();
  void ConnectTree();
  void FillFrom(const xml::Node& node, QTreeWidgetItem* parent);
  QTreeWidgetItem* Selected() const;
  void AddItem(QTreeWidgetItem* parent, QTreeWidgetItem* item);
  void InsertBeside(QTreeWidgetItem* at, QTreeWidgetItem* item, bool after);
  QStringList SiblingTexts(const QTreeWidgetItem* item) const;
  QTreeWidgetItem* ChildNamed(const QTreeWidgetItem* parent, const QString& name) const;
  static bool HasChildOfCode(const QTreeWidgetItem* item, int code);
  static int CodeFor(int id);

  void OnRightClick(QTreeWidgetItem* item, const QPoint& globalPos);
  void OnLeftClick();
  void UpdateToolBar();
  QMenu* MakeMenu(int code);

  void CreateFolder(QTreeWidgetItem* selected, int id);
  void InsertFolder(QTreeWidgetItem* selected, bool after);
  void CreateRange(QTreeWidgetItem* selected, int id);
  void OverwriteRange(QTreeWidgetItem* range, const QString& text, const QString& percent);
  void AddNewRange(QTreeWidgetItem* selected, int id, const QString& name, const QString& text, const QString& percent);
  void InsertRange(QTreeWidgetItem* selected, bool after);
  void SaveRange(QTreeWidgetItem* selected);
  void Rename(QTreeWidgetItem* selected);
  void Delete(QTreeWidgetItem* selected);
  void Move(QTreeWidgetItem* selected, bool up);
  void SaveOutline();
  void LoadOutline();
  bool LoadOutline(const QString& path, bool keepPath);
  void ShowOutline(const RangeOutline& outline);

  QString SaveDialog();
  QString OpenDialog(const QString& currentPath);
  QString HeroText() const;
  QString HeroPercent() const;
  bool Succeeded(bool edited);
  void Message(const QString& text);
  bool Ask(const QString& text);
  std::optional<QString> PromptName(const QString& prompt);

  UserLibrary* library_;
  HandsModel* hands_;
  const PaneSettings* settings_;
  CRangeViewToolBar* toolBar_ = nullptr;
  CViewTree* tree_ = nullptr;
  QPointer<QMenu> menu_;
  QString userRangePath_;
  QString initialFolder_;
};

}  // namespace ferrox
