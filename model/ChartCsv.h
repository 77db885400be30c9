#pragma once
// The equity chart's curves as a CSV file for a spreadsheet.

#include <QByteArray>
#include <QList>
#include <QString>

#include "model/ChartDoc.h"

namespace ferrox {

// CSV text (RFC 4180: fields with a comma, a quote or a line break quoted, lines ended by
// CR LF). The header names the x column xTitle and each curve by its name; a name that an
// earlier curve has already is numbered ("Turn (2)"). Then one line per x value of any
// curve, in increasing order, with each curve's y there, empty where a curve has no point
// at that x. Numbers have a dot whatever the locale, in the shortest form that reads back
// to the same value.
QByteArray ChartCurvesCsv(const QList<ChartCurve>& curves, const QString& xTitle);

}  // namespace ferrox
