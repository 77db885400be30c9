// Filled in by the change that builds the view.
#include <QtTest>

class HotnessViewTest : public QObject {
  Q_OBJECT
};

QTEST_MAIN(HotnessViewTest)
#include "HotnessViewTest.moc"
