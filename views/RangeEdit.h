#pragma once
// A range box that accepts ranges dragged from the range library. It takes the copy action
// only when the range format is offered and hands the dropped data to its owner, which
// puts the range into the box (ApplyRangeDrop does that for any owner).

#include <QByteArray>

#include "views/MyEdit.h"

namespace ferrox {

class CRangeEdit : public CMyEdit {
  Q_OBJECT

 public:
  explicit CRangeEdit(QWidget* parent = nullptr);

 signals:
  void rangeDropped(ferrox::CRangeEdit* box, const QByteArray& data);

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
};

// The owner's handling of a drop: without a box or data nothing happens; otherwise the
// text of the data, with "#range=" removed, becomes the box's text. A text without the
// marker leaves the box unchanged. True when the box's text was set.
bool ApplyRangeDrop(CRangeEdit* box, const QByteArray& data);

}  // namespace ferrox
