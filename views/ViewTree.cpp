#include "views/ViewTree.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>
#include <QStyle>
#include <map>
#include <utility>

#include "model/RangeOutline.h"
#include "views/RangeDragData.h"

namespace ferrox {

namespace {

constexpr int kCodeRole = Qt::UserRole;
constexpr int kImageRole = Qt::UserRole + 1;

// The tree's own item: its code and image kept as two numbers and its icon taken from the
// image when asked, where a plain item would keep three more values apiece (a large library
// makes hundreds of thousands of items). An icon set explicitly still wins.
class TreeItem : public QTreeWidgetItem {
 public:
  TreeItem(const QString& text, int code) : QTreeWidgetItem(QStringList{text}), code_(code), image_(CViewTree::ImageOf(code)) {}

  QVariant data(int column, int role) const override {
    if (column == 0 && role == kCodeRole) return code_;
    if (column == 0 && role == kImageRole) return image_;
    if (column == 0 && role == Qt::DecorationRole) {
      const QVariant set = QTreeWidgetItem::data(column, role);
      return set.isValid() ? set : QVariant(CViewTree::IconOf(image_));
    }
    return QTreeWidgetItem::data(column, role);
  }

  void setData(int column, int role, const QVariant& value) override {
    if (column != 0 || (role != kCodeRole && role != kImageRole)) return QTreeWidgetItem::setData(column, role, value);
    (role == kCodeRole ? code_ : image_) = value.toInt();
    emitDataChanged();
  }

  QTreeWidgetItem* clone() const override {
    auto* copy = new TreeItem(*this);
    copy->setChildIndicatorPolicy(childIndicatorPolicy());
    for (int i = 0; i < childCount(); ++i) copy->addChild(child(i)->clone());
    return copy;
  }

 private:
  TreeItem(const TreeItem& other) = default;

  int code_;
  int image_;
};

QIcon MakeIcon(QStyle* style, int image) {
  switch (image) {
    case CViewTree::kContainerImage: return style->standardIcon(QStyle::SP_DriveHDIcon);
    case CViewTree::kFolderImage: return style->standardIcon(QStyle::SP_DirIcon);
    case CViewTree::kRangeImage: return style->standardIcon(QStyle::SP_FileIcon);
    case CViewTree::kTextImage: return style->standardIcon(QStyle::SP_FileDialogDetailedView);
    default: return {};
  }
}

}  // namespace

CViewTree::CViewTree(QWidget* parent) : QTreeWidget(parent) {
  setColumnCount(1);
  setHeaderHidden(true);
  // Long names scroll sideways in the narrow pane instead of being cut short.
  header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  header()->setStretchLastSection(false);
  setRootIsDecorated(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  SetDragMode(kDragInside);
}

CViewTree::~CViewTree() = default;

void CViewTree::SetDragMode(int mode) {
  dragMode_ = mode;
  const bool inside = mode == kDragInside;
  // Outward drags are started by hand; Qt's own drag would offer the item model's format.
  setDragEnabled(inside);
  setAcceptDrops(inside);
  setDropIndicatorShown(inside);
  setDragDropMode(inside ? QAbstractItemView::InternalMove : QAbstractItemView::NoDragDrop);
  setDefaultDropAction(Qt::MoveAction);
}

QTreeWidgetItem* CViewTree::PressedItem() const { return pressed_.isValid() ? itemFromIndex(pressed_) : nullptr; }

void CViewTree::SetHandCursor(bool on) {
  handCursor_ = on;
  viewport()->setMouseTracking(on);
  if (!on) viewport()->unsetCursor();
}

int CViewTree::Code(const QTreeWidgetItem* item) {
  if (!item) return -1;
  bool ok = false;
  const int code = item->data(0, kCodeRole).toInt(&ok);
  return ok ? code : -1;
}

void CViewTree::SetCode(QTreeWidgetItem* item, int code) {
  if (item) item->setData(0, kCodeRole, code);
}

int CViewTree::ImageOf(int code) { return RangeOutline::ImageOf(code); }

QIcon CViewTree::IconOf(int image) {
  // One icon per picture and style, shared by every item: an icon made for each item
  // decodes its own pictures, a couple of hundred kilobytes a range in a large library.
  // Kept for the program's life (icons must not outlive the application's teardown).
  static auto* const icons = new std::map<std::pair<QString, int>, QIcon>;
  QStyle* style = QApplication::style();
  const auto [at, added] = icons->try_emplace({style->name(), image});
  if (added) at->second = MakeIcon(style, image);
  return at->second;
}

int CViewTree::Image(const QTreeWidgetItem* item) {
  if (!item) return -1;
  bool ok = false;
  const int image = item->data(0, kImageRole).toInt(&ok);
  return ok ? image : -1;
}

void CViewTree::SetImage(QTreeWidgetItem* item, int image) {
  if (!item) return;
  item->setData(0, kImageRole, image);
  if (!dynamic_cast<TreeItem*>(item)) item->setIcon(0, IconOf(image));  // ours follow their image
}

QTreeWidgetItem* CViewTree::MakeItem(const QString& text, int code) { return new TreeItem(text, code); }

QMimeData* CViewTree::DragData(QTreeWidgetItem* item) const {
  if (!item || !dragText) return nullptr;
  const QString text = dragText(item);
  return text.isEmpty() ? nullptr : MakeRangeMimeData(text);
}

QTreeWidgetItem* CViewTree::ItemWithin(const QPoint& pos) const {
  QTreeWidgetItem* item = itemAt(pos);
  return item && visualItemRect(item).contains(pos) ? item : nullptr;
}

void CViewTree::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    pressPos_ = event->position().toPoint();
    QTreeWidgetItem* item = ItemWithin(pressPos_);
    pressed_ = item ? QPersistentModelIndex(indexFromItem(item)) : QPersistentModelIndex();
  }
  QTreeWidget::mousePressEvent(event);
}

void CViewTree::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  const bool far = (pos - pressPos_).manhattanLength() >= QApplication::startDragDistance();
  if (dragMode_ == kDragOut && (event->buttons() & Qt::LeftButton) && pressed_.isValid() && far && DragOut(pos))
    return;
  QTreeWidget::mouseMoveEvent(event);
  UpdateCursor(pos);
}

bool CViewTree::DragOut(const QPoint& pos) {
  QTreeWidgetItem* item = PressedItem();
  // One question per press: an item without a text is not asked again on every move.
  pressed_ = QPersistentModelIndex();
  QMimeData* data = DragData(item);
  if (!data) return false;
  if (runDrag) {
    runDrag(data);
  } else {
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->setPixmap(item->icon(0).pixmap(16, 16));
    drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::CopyAction);
  }
  // The drag took the button release: no selection sweep may follow.
  setState(QAbstractItemView::NoState);
  UpdateCursor(pos);
  return true;
}

void CViewTree::UpdateCursor(const QPoint& pos) {
  if (!handCursor_) return;
  if (ItemWithin(pos)) viewport()->setCursor(Qt::PointingHandCursor);
  else viewport()->unsetCursor();
}

void CViewTree::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  QTreeWidgetItem* item = ItemWithin(pos);
  const bool click = event->button() == Qt::LeftButton && item && pressed_.isValid() && indexFromItem(item) == pressed_;
  pressed_ = QPersistentModelIndex();
  dragging_ = false;
  QTreeWidget::mouseReleaseEvent(event);
  if (click) emit itemLeftClicked(item);
}

void CViewTree::contextMenuEvent(QContextMenuEvent* event) {
  QTreeWidgetItem* item = nullptr;
  QPoint global = event->globalPos();
  if (event->reason() == QContextMenuEvent::Keyboard) {
    // From the keyboard the menu belongs to the current item, shown beside it.
    item = currentItem();
    if (item) global = viewport()->mapToGlobal(visualItemRect(item).center());
  } else {
    item = itemAt(event->pos());
  }
  if (item) setCurrentItem(item);
  setFocus(Qt::OtherFocusReason);
  event->accept();
  emit itemRightClicked(item, global);
}

void CViewTree::startDrag(Qt::DropActions supportedActions) {
  dragging_ = true;
  QTreeWidget::startDrag(supportedActions);
  dragging_ = false;
}

}  // namespace ferrox
