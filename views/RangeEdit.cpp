#include "views/RangeEdit.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

#include "views/RangeDragData.h"

namespace ferrox {
namespace {

bool OffersRange(const QDropEvent& event) {
  return event.mimeData() && event.mimeData()->hasFormat(QString::fromLatin1(kRangeMimeFormat)) &&
         (event.possibleActions() & Qt::CopyAction);
}

void AnswerDrag(QDragMoveEvent* event) {
  if (!OffersRange(*event)) return event->ignore();
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

}  // namespace

CRangeEdit::CRangeEdit(QWidget* parent) : CMyEdit(parent) { setAcceptDrops(true); }

void CRangeEdit::dragEnterEvent(QDragEnterEvent* event) { AnswerDrag(event); }

void CRangeEdit::dragMoveEvent(QDragMoveEvent* event) { AnswerDrag(event); }

void CRangeEdit::dropEvent(QDropEvent* event) {
  if (OffersRange(*event)) {
    emit rangeDropped(this, event->mimeData()->data(QString::fromLatin1(kRangeMimeFormat)));
    SetModified(true);
  }
  // The source is never told that the data was taken, so it keeps its range.
  event->ignore();
}

bool ApplyRangeDrop(CRangeEdit* box, const QByteArray& data) {
  if (!box || data.isEmpty()) return false;
  QString text = RangeDragText(data);
  if (!text.contains(kRangeMarker)) return false;
  box->setText(text.remove(kRangeMarker));
  return true;
}

}  // namespace ferrox
