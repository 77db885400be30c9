#include "views/RangeDragData.h"

#include <QMimeData>
#include <QtEndian>

namespace ferrox {

QByteArray MakeRangeDragBytes(const QString& rangeText) {
  const QString text = kRangeMarker + rangeText;
  QByteArray bytes((text.size() + 1) * 2, '\0');
  for (qsizetype i = 0; i < text.size(); ++i)
    qToLittleEndian<quint16>(text[i].unicode(), bytes.data() + 2 * i);
  return bytes;
}

QMimeData* MakeRangeMimeData(const QString& rangeText) {
  auto* mime = new QMimeData;
  mime->setData(QString::fromLatin1(kRangeMimeFormat), MakeRangeDragBytes(rangeText));
  return mime;
}

QString RangeDragText(const QByteArray& data) {
  const qsizetype characters = (data.size() - 1) / 2;
  QString text;
  text.reserve(characters);
  for (qsizetype i = 0; i < characters; ++i) {
    const char16_t c = qFromLittleEndian<quint16>(data.constData() + 2 * i);
    if (c == 0) break;
    text += QChar(c);
  }
  return text;
}

}  // namespace ferrox
