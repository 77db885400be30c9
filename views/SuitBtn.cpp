#include "views/SuitBtn.h"

#include <algorithm>

#include <QPainter>

#include "views/HandColours.h"
#include "views/SuitSymbol.h"

namespace ferrox {
namespace {
constexpr QColor kOffColour(240, 242, 245);
constexpr QColor kBorderColour(150, 150, 150);
}  // namespace

CSuitBtn::CSuitBtn(int index, QWidget* parent) : QAbstractButton(parent) {
  setCheckable(true);
  setCursor(Qt::PointingHandCursor);
  connect(this, &QAbstractButton::toggled, this, qOverload<>(&QWidget::update));
  SetSuitPair(index);
}

void CSuitBtn::SetSuitPair(int index) {
  if (index < 0 || index > 15) return;
  index_ = index;
  setAccessibleName(SuitName(FirstSuit()) + QStringLiteral(", ") + SuitName(SecondSuit()));
  update();
}

QSize CSuitBtn::sizeHint() const { return QSize(36, 22); }

void CSuitBtn::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  if (!isEnabled()) painter.setOpacity(0.4);
  const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  painter.setPen(QPen(isChecked() ? kBorderColour.darker(140) : kBorderColour, 1.0));
  painter.setBrush(isChecked() ? kSelectedCellColour : kOffColour);
  painter.drawRoundedRect(frame, 3, 3);

  // Off pairs keep their suit colours but faded, so the grid still reads at a glance.
  painter.setPen(Qt::NoPen);
  painter.setOpacity(painter.opacity() * (isChecked() ? 1.0 : 0.45));
  const qreal side = std::min(height() * 0.62, width() * 0.36);
  const qreal top = (height() - side) / 2;
  const qreal gap = side * 0.2;
  const qreal left = (width() - 2 * side - gap) / 2;
  const int suits[2] = {FirstSuit(), SecondSuit()};
  for (int i = 0; i < 2; ++i) {
    painter.setBrush(SuitColour(suits[i]));
    painter.drawPath(SuitPath(suits[i], QRectF(left + i * (side + gap), top, side, side)));
  }
  if (hasFocus()) {
    painter.setOpacity(1.0);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame.adjusted(2, 2, -2, -2));
  }
}

}  // namespace ferrox
