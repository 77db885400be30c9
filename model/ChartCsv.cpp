#include "model/ChartCsv.h"

#include <QLocale>
#include <QStringList>
#include <map>
#include <set>
#include <vector>

namespace ferrox {
namespace {

QString Quoted(const QString& field) {
  if (!field.contains(u',') && !field.contains(u'"') && !field.contains(u'\n') && !field.contains(u'\r')) return field;
  QString doubled = field;
  doubled.replace(u'"', QStringLiteral("\"\""));
  return u'"' + doubled + u'"';
}

// QString::number never follows the locale.
QString Number(double value) { return QString::number(value, 'g', QLocale::FloatingPointShortest); }

QStringList ColumnNames(const QList<ChartCurve>& curves) {
  QStringList names;
  for (const ChartCurve& curve : curves) {
    QString name = curve.name;
    for (int n = 2; names.contains(name); ++n) name = QStringLiteral("%1 (%2)").arg(curve.name).arg(n);
    names << name;
  }
  return names;
}

}  // namespace

QByteArray ChartCurvesCsv(const QList<ChartCurve>& curves, const QString& xTitle) {
  std::set<double> xs;
  std::vector<std::map<double, double>> ys(curves.size());
  for (qsizetype i = 0; i < curves.size(); ++i)
    for (const QPointF& point : curves[i].points) {
      xs.insert(point.x());
      ys[i].emplace(point.x(), point.y());
    }
  QStringList line{Quoted(xTitle)};
  for (const QString& name : ColumnNames(curves)) line << Quoted(name);
  QString text = line.join(u',') + QStringLiteral("\r\n");
  for (double x : xs) {
    line = {Number(x)};
    for (const auto& curve : ys) {
      const auto y = curve.find(x);
      line << (y == curve.end() ? QString() : Number(y->second));
    }
    text += line.join(u',') + QStringLiteral("\r\n");
  }
  return text.toUtf8();
}

}  // namespace ferrox
