// Filled in by the change that builds the view.
#include <QtTest>

class HeatmapViewTest : public QObject {
  Q_OBJECT
};

QTEST_MAIN(HeatmapViewTest)
#include "HeatmapViewTest.moc"
