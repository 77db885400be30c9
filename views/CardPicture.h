#pragma once
// Pictures of the short-deck cards, painted rather than loaded so that they are crisp at
// every device pixel ratio: the face of a card, and the neutral picture of a used or empty
// place.

#include <QPixmap>
#include <QRectF>
#include <QSize>

class QFont;
class QPainter;

namespace ferrox {

// The size of a card picture in logical pixels.
inline constexpr QSize kCardPictureSize{27, 37};

// Rank letter and small suit in the top-left corner, a big suit symbol bottom-right.
// Nothing is painted for a card outside 0..51.
void PaintCardFace(QPainter& painter, const QRectF& rect, int card, const QFont& font);
void PaintCardBack(QPainter& painter, const QRectF& rect);
// The picture a card button shows: the face of a valid free card, else the back.
QPixmap CardPixmap(int card, bool used, const QSize& size, qreal devicePixelRatio);

}  // namespace ferrox
