#include "views/CardButton.h"

#include <QPainter>

#include "quillet/Spec.h"
#include "views/CardPicture.h"

namespace ferrox {

CCardButton::CCardButton(QWidget* parent) : QAbstractButton(parent) {
  setCursor(Qt::PointingHandCursor);
  resize(kCardPictureSize);
  PictureChanged();
}

void CCardButton::SetCard(int card) {
  card_ = card;
  used_ = !HasCard();
  PictureChanged();
}

void CCardButton::SetUsed(bool used) {
  if (used_ == used) return;
  used_ = used;
  PictureChanged();
}

QSize CCardButton::sizeHint() const { return kCardPictureSize; }

void CCardButton::PictureChanged() {
  setAccessibleName(HasCard() ? QString::fromStdWString(quillet::CardName(card_))
                              : QStringLiteral("No card"));
  setAccessibleDescription(used_ ? QStringLiteral("Used") : QString());
  repaint();
}

void CCardButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!isEnabled()) painter.setOpacity(0.4);
  // A pressed button sinks by one pixel, as a push button does.
  const QRectF rect = isDown() ? QRectF(this->rect()).translated(0.5, 1) : QRectF(this->rect());
  if (ShowsFace()) PaintCardFace(painter, rect, card_, font());
  else PaintCardBack(painter, rect);
  if (hasFocus()) {
    painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
    painter.drawRect(QRectF(this->rect()).adjusted(2.5, 2.5, -2.5, -2.5));
  }
}

}  // namespace ferrox
