// Filled in by the change that builds the view.
#include <QtTest>

class ChartViewTest : public QObject {
  Q_OBJECT
};

QTEST_MAIN(ChartViewTest)
#include "ChartViewTest.moc"
