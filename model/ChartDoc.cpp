#include "model/ChartDoc.h"

namespace ferrox {

CChartDoc::CChartDoc(QObject* parent) : QObject(parent) {}

CChartDoc::~CChartDoc() = default;

int CChartDoc::AddCurve(const QString& name, uint32_t colour, const QList<QPointF>& points) {
  if (points.size() != kChartPoints) return -1;
  curves_.append({name, colour & 0xFFFFFF, points});
  const int index = CurveCount() - 1;
  emit curveAdded(index);
  return index;
}

int CChartDoc::AddCurve(const CurveStyle& style, const std::array<ChartPoint, kChartPoints>& points) {
  QList<QPointF> list;
  list.reserve(kChartPoints);
  for (const ChartPoint& p : points) list.append({p.x, p.y});
  return AddCurve(QString::fromStdWString(style.name), style.colour, list);
}

void CChartDoc::Clear() {
  curves_.clear();
  emit cleared();
}

void CChartDoc::SetBackground(uint32_t colour) {
  colour &= 0xFFFFFF;
  if (colour == background_) return;
  background_ = colour;
  emit coloursChanged();
}

void CChartDoc::SetGrid(uint32_t colour) {
  colour &= 0xFFFFFF;
  if (colour == grid_) return;
  grid_ = colour;
  emit coloursChanged();
}

}  // namespace ferrox
