#include "views/ResultCell.h"

#include <QContextMenuEvent>
#include <QKeyEvent>

#include "views/CopyMenu.h"

namespace ferrox {

CResultCell::CResultCell(QWidget* parent) : QLineEdit(parent) {
  setReadOnly(true);
  setFocusPolicy(Qt::StrongFocus);
}

// A box reached by Tab has its whole text selected: that is the cell, not a part of it.
bool CResultCell::PartSelected() const { return hasSelectedText() && selectedText() != text(); }

void CResultCell::copy() {
  if (PartSelected()) QLineEdit::copy();
  else if (copyGrid) copyGrid();
}

bool CResultCell::event(QEvent* event) {
  // A text box keeps Ctrl+C for itself; the grid's copy leaves it to the frame's Copy.
  if (event->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy) &&
      !PartSelected()) {
    event->ignore();
    return true;
  }
  return QLineEdit::event(event);
}

// Outside the frame (or with its Copy taken) the key arrives here.
void CResultCell::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    copy();
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void CResultCell::contextMenuEvent(QContextMenuEvent* event) {
  PopupCopyMenu(this, event->globalPos(), [this] { copy(); });
  event->accept();
}

}  // namespace ferrox
