// Filled in by the change that builds the view.
#include <QtTest>

class EvaluateViewTest : public QObject {
  Q_OBJECT
};

QTEST_MAIN(EvaluateViewTest)
#include "EvaluateViewTest.moc"
