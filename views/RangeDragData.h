#pragma once
// The range drag data: under its own format, the UTF-16 (little-endian) text "#range="
// followed by the range text, ending in a NUL.

#include <QByteArray>
#include <QLatin1String>
#include <QString>

class QMimeData;

namespace ferrox {

inline constexpr char kRangeMimeFormat[] = "{67EEB1EC-007B-4400-94E9-32E7352CCCC7}";
inline constexpr QLatin1String kRangeMarker("#range=");

// "#range=" + rangeText, encoded as the format carries it.
QByteArray MakeRangeDragBytes(const QString& rangeText);
// New mime data offering only the range format; the caller owns it.
QMimeData* MakeRangeMimeData(const QString& rangeText);
// The text of a block: (size - 1) / 2 characters, ending early at a NUL.
QString RangeDragText(const QByteArray& data);

}  // namespace ferrox
