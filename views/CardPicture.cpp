#include "views/CardPicture.h"

#include <algorithm>

#include <QFont>
#include <QPainter>

#include "core/Cards.h"
#include "quillet/Cards.h"
#include "views/SuitSymbol.h"

namespace ferrox {
namespace {

constexpr QColor kFaceColour(255, 255, 255);
constexpr QColor kFaceBorder(140, 140, 140);
constexpr QColor kBackColour(218, 223, 230);
constexpr QColor kBackBorder(160, 167, 178);
constexpr QColor kBackPattern(190, 197, 208);

qreal Radius(const QRectF& rect) { return std::max<qreal>(2.0, rect.width() / 9.0); }

// Half a pixel inside, so that a one-pixel border lands on whole pixels at 1x.
QRectF BorderRect(const QRectF& rect) { return rect.adjusted(0.5, 0.5, -0.5, -0.5); }

void PaintRank(QPainter& painter, const QRectF& rect, int card, const QFont& font) {
  QFont rankFont(font);
  rankFont.setBold(true);
  rankFont.setPixelSize(std::max(6, qRound(rect.height() * 0.33)));
  painter.setFont(rankFont);
  painter.setPen(SuitColour(quillet::GetCardSuit(card)));
  const QRectF corner(rect.left() + rect.width() * 0.08, rect.top(), rect.width() * 0.5,
                      rect.height() * 0.38);
  painter.drawText(corner, Qt::AlignLeft | Qt::AlignVCenter,
                   QString(QChar(RankLetter(quillet::GetCardRank(card)))));
}

}  // namespace

void PaintCardFace(QPainter& painter, const QRectF& rect, int card, const QFont& font) {
  if (card < 0 || card > 51) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(kFaceBorder, 1.0));
  painter.setBrush(kFaceColour);
  painter.drawRoundedRect(BorderRect(rect), Radius(rect), Radius(rect));
  PaintRank(painter, rect, card, font);

  const int suit = quillet::GetCardSuit(card);
  const qreal w = rect.width(), h = rect.height();
  const QRectF small(rect.left() + w * 0.1, rect.top() + h * 0.38, w * 0.3, h * 0.2);
  const QRectF big(rect.left() + w * 0.36, rect.top() + h * 0.46, w * 0.56, h * 0.46);
  painter.setPen(Qt::NoPen);
  painter.setBrush(SuitColour(suit));
  painter.drawPath(SuitPath(suit, small));
  painter.drawPath(SuitPath(suit, big));
  painter.restore();
}

void PaintCardBack(QPainter& painter, const QRectF& rect) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(kBackBorder, 1.0));
  painter.setBrush(kBackColour);
  painter.drawRoundedRect(BorderRect(rect), Radius(rect), Radius(rect));
  const qreal inset = std::max<qreal>(2.5, rect.width() / 9.0);
  const QRectF inner = BorderRect(rect).adjusted(inset, inset, -inset, -inset);
  painter.setPen(QPen(kBackPattern, 1.0));
  painter.setBrush(QBrush(kBackPattern, Qt::BDiagPattern));
  painter.drawRoundedRect(inner, Radius(rect) / 2, Radius(rect) / 2);
  painter.restore();
}

QPixmap CardPixmap(int card, bool used, const QSize& size, qreal devicePixelRatio) {
  QPixmap pixmap(size * devicePixelRatio);
  pixmap.setDevicePixelRatio(devicePixelRatio);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  const QRectF rect(QPointF(0, 0), QSizeF(size));
  if (used || card < 0 || card > 51) PaintCardBack(painter, rect);
  else PaintCardFace(painter, rect, card, QFont());
  return pixmap;
}

}  // namespace ferrox
