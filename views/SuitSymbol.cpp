#include "views/SuitSymbol.h"

#include <algorithm>

#include <QTransform>

namespace ferrox {
namespace {

// Each shape is drawn in a 100 x 100 box.
QPainterPath Heart() {
  QPainterPath p;
  p.moveTo(50, 94);
  p.cubicTo(36, 76, 2, 60, 2, 31);
  p.cubicTo(2, 13, 15, 3, 28, 3);
  p.cubicTo(40, 3, 48, 11, 50, 21);
  p.cubicTo(52, 11, 60, 3, 72, 3);
  p.cubicTo(85, 3, 98, 13, 98, 31);
  p.cubicTo(98, 60, 64, 76, 50, 94);
  p.closeSubpath();
  return p;
}

QPainterPath Diamond() {
  QPainterPath p;
  p.moveTo(50, 1);
  p.quadTo(66, 28, 90, 50);
  p.quadTo(66, 72, 50, 99);
  p.quadTo(34, 72, 10, 50);
  p.quadTo(34, 28, 50, 1);
  p.closeSubpath();
  return p;
}

// A flared stem shared by spades and clubs.
QPainterPath Stem() {
  QPainterPath p;
  p.moveTo(46, 60);
  p.quadTo(45, 86, 28, 98);
  p.lineTo(72, 98);
  p.quadTo(55, 86, 54, 60);
  p.closeSubpath();
  return p;
}

QPainterPath Spade() {
  QPainterPath p;
  p.moveTo(50, 2);
  p.cubicTo(64, 24, 98, 38, 98, 61);
  p.cubicTo(98, 76, 87, 84, 75, 84);
  p.cubicTo(63, 84, 55, 77, 50, 68);
  p.cubicTo(45, 77, 37, 84, 25, 84);
  p.cubicTo(13, 84, 2, 76, 2, 61);
  p.cubicTo(2, 38, 36, 24, 50, 2);
  p.closeSubpath();
  // A union, so that the overlap of stem and body cannot cancel into a hole.
  return p.united(Stem());
}

QPainterPath Club() {
  QPainterPath p;
  p.addEllipse(QPointF(50, 27), 23, 23);
  p.addEllipse(QPointF(25, 60), 23, 23);
  p.addEllipse(QPointF(75, 60), 23, 23);
  p.addEllipse(QPointF(50, 55), 12, 12);
  p.setFillRule(Qt::WindingFill);
  return p.united(Stem());
}

// Built once: the unions are not cheap enough to redo on every paint.
const QPainterPath& UnitPath(int suit) {
  static const QPainterPath shapes[5] = {Club(), Diamond(), Heart(), Spade(), QPainterPath()};
  return shapes[suit >= 0 && suit < 4 ? suit : 4];
}

}  // namespace

QColor SuitColour(int suit) {
  switch (suit) {
    case 0: return QColor(22, 134, 52);
    case 1: return QColor(24, 92, 204);
    case 2: return QColor(212, 26, 36);
    case 3: return QColor(24, 24, 24);
    default: return QColor(128, 128, 128);
  }
}

QString SuitName(int suit) {
  switch (suit) {
    case 0: return QStringLiteral("clubs");
    case 1: return QStringLiteral("diamonds");
    case 2: return QStringLiteral("hearts");
    case 3: return QStringLiteral("spades");
    default: return {};
  }
}

QPainterPath SuitPath(int suit, const QRectF& box) {
  const QPainterPath& unit = UnitPath(suit);
  const qreal side = std::min(box.width(), box.height());
  QTransform t;
  t.translate(box.center().x() - side / 2, box.center().y() - side / 2);
  t.scale(side / 100.0, side / 100.0);
  return t.map(unit);
}

}  // namespace ferrox
