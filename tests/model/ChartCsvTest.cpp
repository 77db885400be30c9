// The chart's curves as CSV: the header, one line per x, numbers with a dot in any locale.
#include <gtest/gtest.h>

#include <QLocale>
#include <clocale>

#include "model/ChartCsv.h"

namespace ferrox::testing {
namespace {

TEST(ChartCsv, OneLinePerXAndOneColumnPerCurveNamedAfterIt) {
  const QList<ChartCurve> curves{{"Turn", 0, {{0, 100}, {50, 37.5}, {100, 0}}},
                                 {"Turn", 0, {{0, 100}, {25, 0.125}}},
                                 {"Flop, \"late\"", 0, {{100, 1e-7}}}};
  const QString xTitle = "Share of deals (%)";
  const std::string expected =
      "Share of deals (%),Turn,Turn (2),\"Flop, \"\"late\"\"\"\r\n"
      "0,100,100,\r\n"
      "25,,0.125,\r\n"
      "50,37.5,,\r\n"
      "100,0,,1e-07\r\n";
  EXPECT_EQ(ChartCurvesCsv(curves, xTitle).toStdString(), expected);
  // A locale with a decimal comma changes nothing.
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  const char* const previous = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  EXPECT_EQ(ChartCurvesCsv(curves, xTitle).toStdString(), expected);
  if (previous) std::setlocale(LC_NUMERIC, "C");
  QLocale::setDefault(QLocale::c());
  EXPECT_EQ(ChartCurvesCsv({}, xTitle).toStdString(), "Share of deals (%)\r\n");
}

}  // namespace
}  // namespace ferrox::testing
