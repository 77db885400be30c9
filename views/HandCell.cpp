#include "views/HandCell.h"

#include <algorithm>

#include <QMouseEvent>
#include <QPainter>

namespace ferrox {
namespace {
constexpr QColor kLabelColour(20, 20, 20);
constexpr QColor kCountColour(70, 70, 70);
}  // namespace

CHandCell::CHandCell(const QString& label, QWidget* parent) : QAbstractButton(parent) {
  setText(label);
  setAccessibleName(label);
  setCheckable(true);
  setFocusPolicy(Qt::NoFocus);
}

void CHandCell::SetColour(const QColor& colour) {
  if (colour_ == colour) return;
  colour_ = colour;
  update();
}

void CHandCell::SetCount(int count) {
  if (count_ == count) return;
  count_ = count;
  setAccessibleDescription(count < 0    ? QString()
                           : count == 1 ? QStringLiteral("1 combination")
                                        : QStringLiteral("%1 combinations").arg(count));
  update();
}

void CHandCell::mousePressEvent(QMouseEvent* event) { event->ignore(); }
void CHandCell::mouseReleaseEvent(QMouseEvent* event) { event->ignore(); }

void CHandCell::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF area(rect());
  painter.fillRect(area, colour_);
  // Neighbouring cells each draw their half of the grid line between them.
  painter.setPen(QPen(colour_.darker(135), 1.0));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(area.adjusted(0.5, 0.5, -0.5, -0.5));
  if (count_ < 0) {
    PaintLabel(painter, area);
    return;
  }
  PaintLabel(painter, QRectF(area.left(), area.top(), area.width(), area.height() * 0.62));
  PaintCount(painter, area.adjusted(2, area.height() * 0.55, -3, -1));
}

void CHandCell::PaintLabel(QPainter& painter, const QRectF& area) {
  QFont labelFont(font());
  labelFont.setBold(true);
  labelFont.setPixelSize(std::max(7, qRound(std::min(height() * 0.36, width() * 0.3))));
  painter.setFont(labelFont);
  painter.setPen(kLabelColour);
  painter.drawText(area, Qt::AlignCenter, text());
}

void CHandCell::PaintCount(QPainter& painter, const QRectF& area) {
  QFont countFont(font());
  countFont.setPixelSize(std::max(6, qRound(height() * 0.3)));
  painter.setFont(countFont);
  painter.setPen(kCountColour);
  painter.drawText(area, Qt::AlignRight | Qt::AlignVCenter, QString::number(count_));
}

}  // namespace ferrox
