#pragma once
// The equity chart's data: the curves drawn so far (each a street's distribution of the
// Hero's equity, 101 points) and the chart's two colours. Views follow its signals.

#include <QList>
#include <QObject>
#include <QPointF>
#include <QString>
#include <array>
#include <cstdint>

#include "engine/EquityDistribution.h"

namespace ferrox {

inline constexpr int kChartPoints = 101;
// Colour values with red in the low byte.
inline constexpr uint32_t kChartBackground = 0x302D2D;
inline constexpr uint32_t kChartGrid = 0xFFFFFF;

struct ChartCurve {
  QString name;
  uint32_t colour = 0;  // red in the low byte
  QList<QPointF> points;
};

class CChartDoc : public QObject {
  Q_OBJECT

 public:
  explicit CChartDoc(QObject* parent = nullptr);
  ~CChartDoc() override;

  int CurveCount() const { return static_cast<int>(curves_.size()); }
  // index 0 .. CurveCount() - 1.
  const ChartCurve& Curve(int index) const { return curves_.at(index); }
  const QList<ChartCurve>& Curves() const { return curves_; }
  uint32_t Background() const { return background_; }
  uint32_t Grid() const { return grid_; }

  // The new curve's index; -1, and nothing added, unless there are exactly 101 points.
  int AddCurve(const QString& name, uint32_t colour, const QList<QPointF>& points);
  // A distribution's curve in the street's name and colour.
  int AddCurve(const CurveStyle& style, const std::array<ChartPoint, kChartPoints>& points);
  void Clear();
  void SetBackground(uint32_t colour);
  void SetGrid(uint32_t colour);

 signals:
  void curveAdded(int index);
  void cleared();
  void coloursChanged();

 private:
  QList<ChartCurve> curves_;
  uint32_t background_ = kChartBackground;
  uint32_t grid_ = kChartGrid;
};

}  // namespace ferrox
