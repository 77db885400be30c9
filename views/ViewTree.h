#pragma once
// The tree of the hand-rankings pane (tree kind 1) and of the range library pane (tree
// kind 2): a tree view over one of the library models, whose items carry a kind code and
// the number of their picture (model/LibraryItemRoles.h). Drag mode 1 moves items inside
// the tree (through the model); drag mode 2 drags the pressed item out as range data, its
// text asked from the owner. The owner shows the menus: a right click selects the item
// under the cursor and is handed on as a signal.

#include <QIcon>
#include <QPersistentModelIndex>
#include <QPoint>
#include <QString>
#include <QTreeView>
#include <functional>

class QMimeData;

namespace ferrox {

class CViewTree : public QTreeView {
  Q_OBJECT

 public:
  enum TreeKind : int { kRankingsTree = 1, kRangeTree = 2 };
  enum DragMode : int { kDragInside = 1, kDragOut = 2 };
  // Icons, by the image numbers the codes map to.
  enum Image : int { kContainerImage = 0, kRangeImage = 1, kFolderImage = 2, kCategoryImage = 3, kTextImage = 7 };

  explicit CViewTree(QWidget* parent = nullptr);
  ~CViewTree() override;

  int TreeKind() const { return treeKind_; }
  void SetTreeKind(int kind) { treeKind_ = kind; }
  int DragMode() const { return dragMode_; }
  // 1: the view's own moves inside the tree; 2: the pressed item is dragged out.
  void SetDragMode(int mode);
  // The item the left button went down on; invalid when none or after the button came up.
  QModelIndex PressedIndex() const { return pressed_; }
  bool Dragging() const { return dragging_; }
  // A pointing hand over an item instead of the arrow.
  void SetHandCursor(bool on);
  // Top-level items shown bold.
  void SetTopLevelBold(bool on) { topLevelBold_ = on; }

  // The item's kind code, -1 for none.
  static int Code(const QModelIndex& index);
  // The image number an item shows (kept beside its code, which may change alone), -1 for none.
  static int Image(const QModelIndex& index);
  static QIcon IconOf(int image);
  // What an item is drawn with: its image's icon, and its font.
  QIcon Icon(const QModelIndex& index) const { return IconOf(Image(index)); }
  QFont Font(const QModelIndex& index) const;

  // Drag mode 2's data for an item: the range format holding dragText's answer, or null
  // when there is no answer or it is empty. The caller owns it.
  QMimeData* DragData(const QModelIndex& index) const;

  // Replaceable: the range text to drag out for an item; empty starts no drag.
  std::function<QString(const QModelIndex&)> dragText;
  // Replaceable, for tests: runs the outward drag (default a QDrag with copy, move and link).
  std::function<void(QMimeData*)> runDrag;

 signals:
  // After the item under the cursor (invalid when none) was selected and the tree focused.
  void itemRightClicked(const QModelIndex& index, const QPoint& globalPos);
  // A left click released on the item it was pressed on.
  void itemLeftClicked(const QModelIndex& index);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void startDrag(Qt::DropActions supportedActions) override;

 private:
  QModelIndex IndexWithin(const QPoint& pos) const;
  bool DragOut(const QPoint& pos);
  void UpdateCursor(const QPoint& pos);

  int treeKind_ = kRangeTree;
  int dragMode_ = kDragInside;
  bool topLevelBold_ = false;
  // Kept as a persistent index: an item removed meanwhile is simply gone.
  QPersistentModelIndex pressed_;
  QPoint pressPos_;
  bool dragging_ = false;
  bool handCursor_ = false;
};

}  // namespace ferrox
