#include "widgets/ColourBox.h"

#include <QEnterEvent>
#include <QPainter>

namespace ferrox::widgets {

ColourBox::ColourBox(const ColourEntry& entry, QWidget* parent)
    : QAbstractButton(parent), colour_(entry.colour) {
  setToolTip(entry.name);
  setAccessibleName(entry.name);
  setFixedSize(kSide, kSide);
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_Hover);
}

void ColourBox::setJoined(bool above, bool below) {
  joinedAbove_ = above;
  joinedBelow_ = below;
  update();
}

void ColourBox::setCurrent(bool current) {
  current_ = current;
  update();
}

QSize ColourBox::sizeHint() const { return {kSide, kSide}; }

void ColourBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect all = rect();
  painter.fillRect(all, palette().color(QPalette::Mid));
  // The border stays on the sides; a joined edge lets the colour run into the next box.
  const QRect inner = all.adjusted(1, joinedAbove_ ? 0 : 1, -1, joinedBelow_ ? 0 : -1);
  painter.fillRect(inner, colour_);
  paintMark(painter);
}

void ColourBox::paintMark(QPainter& painter) const {
  if (!underMouse() && !current_) return;
  painter.setPen(palette().color(QPalette::Highlight));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  // An inner ring in the opposite tone keeps the mark visible on any box colour.
  painter.setPen(palette().color(QPalette::HighlightedText));
  painter.drawRect(rect().adjusted(1, 1, -2, -2));
}

void ColourBox::enterEvent(QEnterEvent* event) {
  QAbstractButton::enterEvent(event);
  emit entered(colour_);
}

void ColourBox::leaveEvent(QEvent* event) {
  QAbstractButton::leaveEvent(event);
  emit left();
}

}  // namespace ferrox::widgets
