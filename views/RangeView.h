#pragma once
// The range library pane: the user's folders and named ranges as a tree over the user
// library's model, and edited through it: every edit changes the document first (which
// writes the library file) and the tree only when that worked. In create mode the tree
// takes a context menu, a click applies the clicked range to the Hero and items move inside
// the tree; in use mode ranges are dragged out onto a range box. The tree can also be saved
// to and loaded from an outline file, which changes the tree only.

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <optional>

#include "model/UserLibrary.h"

class QMenu;
class QModelIndex;

namespace ferrox {

class CRangeViewToolBar;
class CViewTree;
class HandsModel;
class PaneSettings;
class UserLibraryModel;

class CRangeView : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kTreeId = 1390;
  // Two-card starting hands of the 36-card deck: what a range's percent is a share of.
  static constexpr int kStartingHands = 630;

  // Context menus by the selected item: the root, a folder, a range. A menu's objectName is its id.
  enum Menu : int { kRootMenu = 173, kFolderMenu = 201, kRangeMenu = 202 };

  // All three must be non-null and outlive the view.
  CRangeView(UserLibraryModel* model, HandsModel* hands, const PaneSettings* settings, QWidget* parent = nullptr);
  ~CRangeView() override;

  CViewTree* Tree() const { return tree_; }
  UserLibraryModel* Model() const { return model_; }
  CRangeViewToolBar* ToolBar() const { return toolBar_; }
  // The context menu showing now, null when none.
  QMenu* ShownMenu() const;

  // Reads the library file and shows it, its top level opened.
  UserLibraryLoad Load(const std::filesystem::path& file);
  // Rebuilds the tree from an outline file; the path is not kept. False (after the message)
  // when the file cannot be read; the tree is then empty.
  bool LoadOutlineFile(const QString& path);

  // The library file's path as the settings keep it; its file name pre-fills the open dialog.
  QString UserRangePath() const { return userRangePath_; }
  void SetUserRangePath(const QString& path) { userRangePath_ = path; }
  // Where the file dialogs start.
  void SetInitialFolder(const QString& folder) { initialFolder_ = folder; }

  bool IsCommandEnabled(int id) const;

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
  QModelIndex Selected() const;
  QStringList SiblingTexts(const QModelIndex& index) const;
  static int CodeFor(int id);
  void ShowAdded(const QModelIndex& added, bool open);

  void OnRightClick(const QModelIndex& index, const QPoint& globalPos);
  void OnLeftClick();
  void UpdateToolBar();
  QMenu* MakeMenu(int code);

  void CreateFolder(const QModelIndex& selected);
  void InsertFolder(const QModelIndex& selected, bool after);
  void CreateRange(const QModelIndex& selected, int id);
  void AddNewRange(const QModelIndex& selected, int id, const UserRangeTexts& range);
  void InsertRange(const QModelIndex& selected, bool after);
  void SaveRange(const QModelIndex& selected);
  void Rename(const QModelIndex& selected);
  void Delete(const QModelIndex& selected);
  void Move(const QModelIndex& selected, bool up);
  void SaveOutline();
  void LoadOutline();
  bool LoadOutline(const QString& path, bool keepPath);

  QString SaveDialog();
  QString OpenDialog(const QString& currentPath);
  QString HeroText() const;
  QString HeroPercent() const;
  bool Succeeded(bool edited);
  void Message(const QString& text);
  bool Ask(const QString& text);
  std::optional<QString> PromptName(const QString& prompt);

  UserLibraryModel* model_;
  HandsModel* hands_;
  const PaneSettings* settings_;
  CRangeViewToolBar* toolBar_ = nullptr;
  CViewTree* tree_ = nullptr;
  QPointer<QMenu> menu_;
  QString userRangePath_;
  QString initialFolder_;
};

}  // namespace ferrox
