#pragma once
// The save dialog of the chart window: a file chosen among filters such as
// "PNG image (*.png)", with the chosen filter's extension added to a name typed without one.

#include <QString>
#include <QStringList>

class QWidget;

namespace ferrox {

struct FileChoice {
  QString path;    // empty: cancelled
  QString filter;  // the filter chosen, one of those offered
};

// Asks for a file to save to in folder, the first filter chosen to start with; the dialog
// asks before a file is replaced.
FileChoice ChooseSaveFile(QWidget* parent, const QString& caption, const QString& folder, const QStringList& filters);

// "png" of "PNG image (*.png)"; empty for a filter without an extension.
QString FilterSuffix(const QString& filter);
// path with filter's extension added when its name has none ("chart" -> "chart.png").
QString WithFilterSuffix(const QString& path, const QString& filter);

}  // namespace ferrox
