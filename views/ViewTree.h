#pragma once
// The tree of the hand-rankings pane (tree kind 1) and of the range library pane (tree
// kind 2). Every item carries a kind code as its data and the icon that goes with it.
// Drag mode 1 moves items inside the tree; drag mode 2 drags the pressed item out as range
// data, its text asked from the owner. The owner shows the menus: a right click selects the
// item under the cursor and is handed on as a signal.

#include <QIcon>
#include <QPersistentModelIndex>
#include <QPoint>
#include <QString>
#include <QTreeWidget>
#include <functional>

class QMimeData;

namespace ferrox {

class CViewTree : public QTreeWidget {
  Q_OBJECT

 public:
  enum TreeKind : int { kRankingsTree = 1, kRangeTree = 2 };
  enum DragMode : int { kDragInside = 1, kDragOut = 2 };
  // Icons, by the image numbers the codes map to.
  enum Image : int { kContainerImage = 0, kRangeImage = 1, kFolderImage = 2, kTextImage = 7 };

  explicit CViewTree(QWidget* parent = nullptr);
  ~CViewTree() override;

  int TreeKind() const { return treeKind_; }
  void SetTreeKind(int kind) { treeKind_ = kind; }
  int DragMode() const { return dragMode_; }
  // 1: QTreeWidget's own moves inside the tree; 2: the pressed item is dragged out.
  void SetDragMode(int mode);
  // The item the left button went down on, null when none or after the button came up.
  QTreeWidgetItem* PressedItem() const;
  bool Dragging() const { return dragging_; }
  // A pointing hand over an item instead of the arrow.
  void SetHandCursor(bool on);

  // The item's kind code (its data), -1 for none.
  static int Code(const QTreeWidgetItem* item);
  static void SetCode(QTreeWidgetItem* item, int code);
  // Image number for a code: 0, 1, 2 -> 0; 10 -> 2; 20 -> 1; 21, 22 -> 7; -1 otherwise.
  static int ImageOf(int code);
  static QIcon IconOf(int image);
  // The image number an item shows (kept beside its code, which may change alone), -1 for none.
  static int Image(const QTreeWidgetItem* item);
  static void SetImage(QTreeWidgetItem* item, int image);
  // A new unparented item with its text, code and the code's image.
  static QTreeWidgetItem* MakeItem(const QString& text, int code);

  // Drag mode 2's data for an item: the range format holding dragText's answer, or null
  // when there is no answer or it is empty. The caller owns it.
  QMimeData* DragData(QTreeWidgetItem* item) const;

  // Replaceable: the range text to drag out for an item; empty starts no drag.
  std::function<QString(QTreeWidgetItem*)> dragText;
  // Replaceable, for tests: runs the outward drag (default a QDrag with copy, move and link).
  std::function<void(QMimeData*)> runDrag;

 signals:
  // After the item under the cursor (null when none) was selected and the tree focused.
  void itemRightClicked(QTreeWidgetItem* item, const QPoint& globalPos);
  // A left click released on the item it was pressed on.
  void itemLeftClicked(QTreeWidgetItem* item);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void startDrag(Qt::DropActions supportedActions) override;

 private:
  QTreeWidgetItem* ItemWithin(const QPoint& pos) const;
  bool DragOut(const QPoint& pos);
  void UpdateCursor(const QPoint& pos);

  int treeKind_ = kRangeTree;
  int dragMode_ = kDragInside;
  // Kept by index: an item deleted meanwhile is simply gone.
  QPersistentModelIndex pressed_;
  QPoint pressPos_;
  bool dragging_ = false;
  bool handCursor_ = false;
};

}  // namespace ferrox
