#include "views/ViewTree.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>
#include <QStyle>
#include <QStyledItemDelegate>
#include <map>
#include <utility>

#include "model/LibraryItemRoles.h"
#include "views/RangeDragData.h"

namespace ferrox {

namespace {

// Draws an item with the tree's icon for its image and the tree's font for it: the models
// hold numbers, not pictures.
class TreeItemDelegate : public QStyledItemDelegate {
 public:
  explicit TreeItemDelegate(CViewTree* tree) : QStyledItemDelegate(tree), tree_(tree) {}

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    option->icon = tree_->Icon(index);
    if (!option->icon.isNull()) option->features |= QStyleOptionViewItem::HasDecoration;
    option->font = tree_->Font(index);
    option->fontMetrics = QFontMetrics(option->font);
  }

 private:
  CViewTree* tree_;
};

QIcon MakeIcon(QStyle* style, int image) {
  switch (image) {
    case CViewTree::kContainerImage: return style->standardIcon(QStyle::SP_DriveHDIcon);
    case CViewTree::kFolderImage: return style->standardIcon(QStyle::SP_DirIcon);
    case CViewTree::kRangeImage: return style->standardIcon(QStyle::SP_FileIcon);
    case CViewTree::kCategoryImage: return style->standardIcon(QStyle::SP_DirLinkIcon);
    case CViewTree::kTextImage: return style->standardIcon(QStyle::SP_FileDialogDetailedView);
    default: return {};
  }
}

int RoleNumber(const QModelIndex& index, int role) {
  bool ok = false;
  const int number = index.data(role).toInt(&ok);
  return ok ? number : -1;
}

}  // namespace

CViewTree::CViewTree(QWidget* parent) : QTreeView(parent) {
  setHeaderHidden(true);
  // Long names scroll sideways in the narrow pane instead of being cut short.
  header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  header()->setStretchLastSection(false);
  setRootIsDecorated(true);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setItemDelegate(new TreeItemDelegate(this));
  SetDragMode(kDragInside);
}

CViewTree::~CViewTree() = default;

void CViewTree::SetDragMode(int mode) {
  dragMode_ = mode;
  const bool inside = mode == kDragInside;
  // Outward drags are started by hand; the view's own drag would offer the model's format.
  setDragEnabled(inside);
  setAcceptDrops(inside);
  setDropIndicatorShown(inside);
  setDragDropMode(inside ? QAbstractItemView::InternalMove : QAbstractItemView::NoDragDrop);
  setDefaultDropAction(Qt::MoveAction);
}

void CViewTree::SetHandCursor(bool on) {
  handCursor_ = on;
  viewport()->setMouseTracking(on);
  if (!on) viewport()->unsetCursor();
}

int CViewTree::Code(const QModelIndex& index) { return RoleNumber(index, kItemCodeRole); }

int CViewTree::Image(const QModelIndex& index) { return RoleNumber(index, kItemImageRole); }

QIcon CViewTree::IconOf(int image) {
  // One icon per picture and style, shared by every item: an icon made for each item
  // decodes its own pictures. Kept for the program's life (icons must not outlive the
  // application's teardown).
  static auto* const icons = new std::map<std::pair<QString, int>, QIcon>;
  QStyle* style = QApplication::style();
  const auto [at, added] = icons->try_emplace({style->name(), image});
  if (added) at->second = MakeIcon(style, image);
  return at->second;
}

QFont CViewTree::Font(const QModelIndex& index) const {
  QFont font = this->font();
  if (topLevelBold_ && index.isValid() && !index.parent().isValid()) font.setBold(true);
  return font;
}

QMimeData* CViewTree::DragData(const QModelIndex& index) const {
  if (!index.isValid() || !dragText) return nullptr;
  const QString text = dragText(index);
  return text.isEmpty() ? nullptr : MakeRangeMimeData(text);
}

QModelIndex CViewTree::IndexWithin(const QPoint& pos) const {
  const QModelIndex index = indexAt(pos);
  return index.isValid() && visualRect(index).contains(pos) ? index : QModelIndex();
}

void CViewTree::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    pressPos_ = event->position().toPoint();
    pressed_ = IndexWithin(pressPos_);
  }
  QTreeView::mousePressEvent(event);
}

void CViewTree::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  const bool far = (pos - pressPos_).manhattanLength() >= QApplication::startDragDistance();
  if (dragMode_ == kDragOut && (event->buttons() & Qt::LeftButton) && pressed_.isValid() && far && DragOut(pos))
    return;
  QTreeView::mouseMoveEvent(event);
  UpdateCursor(pos);
}

bool CViewTree::DragOut(const QPoint& pos) {
  const QModelIndex index = pressed_;
  // One question per press: an item without a text is not asked again on every move.
  pressed_ = QPersistentModelIndex();
  QMimeData* data = DragData(index);
  if (!data) return false;
  if (runDrag) {
    runDrag(data);
  } else {
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->setPixmap(Icon(index).pixmap(16, 16));
    drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::CopyAction);
  }
  // The drag took the button release: no selection sweep may follow.
  setState(QAbstractItemView::NoState);
  UpdateCursor(pos);
  return true;
}

void CViewTree::UpdateCursor(const QPoint& pos) {
  if (!handCursor_) return;
  if (IndexWithin(pos).isValid()) viewport()->setCursor(Qt::PointingHandCursor);
  else viewport()->unsetCursor();
}

void CViewTree::mouseReleaseEvent(QMouseEvent* event) {
  const QModelIndex index = IndexWithin(event->position().toPoint());
  const bool click = event->button() == Qt::LeftButton && index.isValid() && index == pressed_;
  pressed_ = QPersistentModelIndex();
  dragging_ = false;
  QTreeView::mouseReleaseEvent(event);
  if (click) emit itemLeftClicked(index);
}

void CViewTree::contextMenuEvent(QContextMenuEvent* event) {
  QModelIndex index;
  QPoint global = event->globalPos();
  if (event->reason() == QContextMenuEvent::Keyboard) {
    // From the keyboard the menu belongs to the current item, shown beside it.
    index = currentIndex();
    if (index.isValid()) global = viewport()->mapToGlobal(visualRect(index).center());
  } else {
    index = indexAt(event->pos());
  }
  if (index.isValid()) setCurrentIndex(index);
  setFocus(Qt::OtherFocusReason);
  event->accept();
  emit itemRightClicked(index, global);
}

void CViewTree::startDrag(Qt::DropActions supportedActions) {
  dragging_ = true;
  QTreeView::startDrag(supportedActions);
  dragging_ = false;
}

}  // namespace ferrox
