#pragma once
// Suit symbols drawn as vector paths so they stay crisp at any scale, in the colours of a
// four-colour deck. Suits are numbered as in card indices: 0 clubs, 1 diamonds, 2 hearts,
// 3 spades.

#include <QColor>
#include <QPainterPath>
#include <QRectF>
#include <QString>

namespace ferrox {

// Black spades, red hearts, blue diamonds, green clubs; grey for anything else.
QColor SuitColour(int suit);
// "clubs", "diamonds", "hearts", "spades"; empty for anything else.
QString SuitName(int suit);
// The symbol centred in box as large as fits without distortion; empty for no suit.
QPainterPath SuitPath(int suit, const QRectF& box);

}  // namespace ferrox
