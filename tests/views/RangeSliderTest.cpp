// The two-thumb range slider: normalisation, geometry, dragging, keys and colours.
// Sliders here are 200 x 20: thumbs 20 * 3 / 6 = 10 wide, a travel of 200 - 2 * 10 = 180.
#include <QSignalSpy>
#include <QTest>

#include "views/RangeSlider.h"

using namespace ferrox;

namespace {

struct Slider {
  CRangeSlider widget;
  Slider(double left, double right) {
    widget.resize(200, 20);
    widget.SetMinMax(0, 1);
    widget.SetRange(left, right);
    widget.show();
  }
};

QList<int> Notified(const QSignalSpy& spy) {
  QList<int> which;
  for (const auto& args : spy) which << args[0].toInt();
  return which;
}

void Drag(CRangeSlider& slider, QPoint from, std::initializer_list<int> xs) {
  QTest::mousePress(&slider, Qt::LeftButton, {}, from);
  for (int x : xs) QTest::mouseMove(&slider, QPoint(x, from.y()));
}

}  // namespace

class RangeSliderTest : public QObject {
  Q_OBJECT

 private slots:
  void settersNormaliseAndNotify() {
    CRangeSlider slider;
    slider.SetMinMax(10, 0);
    QCOMPARE(slider.Min(), 0.0);
    QCOMPARE(slider.Max(), 10.0);
    QSignalSpy spy(&slider, &CRangeSlider::rangeChanged);

    slider.SetRange(-3, 4);
    QCOMPARE(slider.Left(), 0.0);
    QCOMPARE(slider.Right(), 4.0);
    QCOMPARE(Notified(spy), QList<int>{0});
    spy.clear();
    slider.SetRange(7, 3);
    QCOMPARE(slider.Right(), 7.0);
    QCOMPARE(Notified(spy), QList<int>{1});
    spy.clear();
    slider.SetRange(12, 15);
    QCOMPARE(slider.Left(), 10.0);
    QCOMPARE(slider.Right(), 10.0);
    QCOMPARE(Notified(spy), (QList<int>{1, 0}));
    spy.clear();
    slider.SetRange(2, 5);
    QVERIFY(spy.isEmpty());

    slider.SetVisualMinMax(12, -1);
    QCOMPARE(slider.VisualMin(), 0.0);
    QCOMPARE(slider.VisualMax(), 10.0);
    slider.SetVisualMinMax(20, 30);
    QCOMPARE(slider.VisualMin(), 10.0);
    QCOMPARE(slider.VisualMax(), 10.0);
    QVERIFY(spy.isEmpty());
  }

  void invertedSliderNegatesValues() {
    CRangeSlider slider;
    slider.resize(200, 20);
    slider.SetInverted(true);
    slider.SetMinMax(0, 100);
    QSignalSpy spy(&slider, &CRangeSlider::rangeChanged);
    slider.SetRange(10, 20);
    QCOMPARE(slider.Left(), 10.0);
    QCOMPARE(slider.Right(), 20.0);
    QVERIFY(spy.isEmpty());
    // Stored as -20..-10 on -100..0: the left thumb stands at 80 of 100.
    QCOMPARE(slider.LeftThumbRect().x(), 144);
    slider.SetRange(-5, 20);
    QCOMPARE(slider.Left(), 0.0);
    QCOMPARE(slider.Right(), 20.0);
    QCOMPARE(Notified(spy), QList<int>{1});
  }

  void thumbsSitAtTheirValuesAlongEitherAxis() {
    Slider s(0.25, 0.75);
    QCOMPARE(s.widget.ArrowWidth(), 10);
    QCOMPARE(s.widget.TrackWidth(), 180);
    QCOMPARE(s.widget.LeftThumbRect(), QRect(45, 0, 10, 20));    // 0.25 * 180 + 0.5
    QCOMPARE(s.widget.RightThumbRect(), QRect(145, 0, 10, 20));  // 10 + 0.75 * 180 + 0.5
    s.widget.SetHorizontal(false);
    s.widget.resize(20, 200);
    s.widget.SetRange(0.25, 0.75);
    QCOMPARE(s.widget.LeftThumbRect(), QRect(0, 45, 20, 10));
    QCOMPARE(s.widget.RightThumbRect(), QRect(0, 145, 20, 10));
    // Its keys are down and up.
    QTest::keyClick(&s.widget, Qt::Key_Right);
    QCOMPARE(s.widget.Left(), 0.25);
    QTest::keyClick(&s.widget, Qt::Key_Down);
    QCOMPARE(s.widget.Left(), 46 / 180.0);
  }

  void draggingTheLeftThumbStopsAtRightAndMin() {
    Slider s(0.25, 0.75);
    QSignalSpy spy(&s.widget, &CRangeSlider::rangeChanged);
    Drag(s.widget, QPoint(50, 10), {68});
    QVERIFY(s.widget.IsTracking());
    QCOMPARE(s.widget.TrackMode(), 0);
    QCOMPARE(s.widget.Left(), (68 - 5) / 180.0);
    QTest::mouseMove(&s.widget, QPoint(199, 10));
    QCOMPARE(s.widget.Left(), 0.75);
    QTest::mouseMove(&s.widget, QPoint(-40, 10));
    QCOMPARE(s.widget.Left(), 0.0);
    QCOMPARE(Notified(spy), (QList<int>{0, 0, 0}));
    QTest::mouseRelease(&s.widget, Qt::LeftButton, {}, QPoint(-40, 10));
    QVERIFY(!s.widget.IsTracking());
  }

  void draggingTheRightThumbReportsOnlyChanges() {
    Slider s(0.25, 0.75);
    QSignalSpy spy(&s.widget, &CRangeSlider::rangeChanged);
    Drag(s.widget, QPoint(150, 10), {120});
    QCOMPARE(s.widget.TrackMode(), 1);
    QCOMPARE(s.widget.Right(), (120 - 15) / 180.0);
    QTest::mouseMove(&s.widget, QPoint(400, 10));
    QCOMPARE(s.widget.Right(), 1.0);
    QTest::mouseMove(&s.widget, QPoint(0, 10));
    QCOMPARE(s.widget.Right(), 0.25);
    QTest::mouseMove(&s.widget, QPoint(1, 10));
    QCOMPARE(Notified(spy), (QList<int>{1, 1, 1, 0}));
  }

  void draggingTheBandKeepsItsWidthAtTheLimits() {
    Slider s(0.25, 0.75);
    QSignalSpy spy(&s.widget, &CRangeSlider::rangeChanged);
    Drag(s.widget, QPoint(100, 10), {400});
    QCOMPARE(s.widget.TrackMode(), 2);
    QCOMPARE(s.widget.Right(), 1.0);
    QCOMPARE(s.widget.Left(), 0.5);
    QTest::mouseMove(&s.widget, QPoint(-300, 10));
    QCOMPARE(s.widget.Left(), 0.0);
    QCOMPARE(s.widget.Right(), 0.5);
    QCOMPARE(Notified(spy), (QList<int>{2, 2}));
  }

  void pressBetweenThumbAndBandStartsNothing() {
    Slider s(0.25, 0.75);
    QTest::mousePress(&s.widget, Qt::LeftButton, {}, QPoint(55, 10));
    QVERIFY(!s.widget.IsTracking());
    QTest::mousePress(&s.widget, Qt::RightButton, {}, QPoint(50, 10));
    QVERIFY(!s.widget.IsTracking());
  }

  void arrowKeysStepTheBand() {
    Slider s(0.25, 0.75);
    QSignalSpy spy(&s.widget, &CRangeSlider::rangeChanged);
    QTest::keyClick(&s.widget, Qt::Key_Right);
    QCOMPARE(s.widget.Left(), 46 / 180.0);
    QCOMPARE(s.widget.Right(), 136 / 180.0);
    QTest::keyClick(&s.widget, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(s.widget.Left(), 46 / 180.0);
    QCOMPARE(s.widget.Right(), 137 / 180.0);
    QTest::keyClick(&s.widget, Qt::Key_Left);
    QCOMPARE(s.widget.Left(), 45 / 180.0);
    QCOMPARE(Notified(spy), (QList<int>{2, 0, 2}));
    spy.clear();
    QTest::keyClick(&s.widget, Qt::Key_Right, Qt::ControlModifier);
    QTest::keyClick(&s.widget, Qt::Key_Down);
    QVERIFY(spy.isEmpty());
    QCOMPARE(s.widget.Left(), 45 / 180.0);
  }

  void arrowKeysAtTheEndsStillNotify() {
    Slider s(0.5, 1.0);
    QSignalSpy spy(&s.widget, &CRangeSlider::rangeChanged);
    QTest::keyClick(&s.widget, Qt::Key_Right);
    QCOMPARE(s.widget.Left(), 0.5);
    QCOMPARE(s.widget.Right(), 1.0);
    s.widget.SetRange(0.0, 0.5);
    QTest::keyClick(&s.widget, Qt::Key_Left);
    QCOMPARE(s.widget.Left(), 0.0);
    QCOMPARE(s.widget.Right(), 0.5);
    // Shift would put the right end before the left one.
    s.widget.SetRange(0.5, 0.5);
    QTest::keyClick(&s.widget, Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(s.widget.Right(), 0.5);
    QCOMPARE(Notified(spy), (QList<int>{2, 2, 0}));
  }

  void keysDoNothingWithoutAScale() {
    Slider s(0.25, 0.75);
    s.widget.SetMinMax(5, 5);
    QSignalSpy spy(&s.widget, &CRangeSlider::rangeChanged);
    QTest::keyClick(&s.widget, Qt::Key_Right);
    QTest::keyClick(&s.widget, Qt::Key_Left);
    QVERIFY(spy.isEmpty());
    QCOMPARE(s.widget.Left(), 5.0);
  }

  void paintsItsParts() {
    Slider s(0.25, 0.75);
    s.widget.SetVisualMinMax(0.5, 1.0);
    s.widget.SetVisualMode(true);
    const QImage idle = s.widget.grab().toImage();
    QCOMPARE(idle.pixelColor(0, 10), QColor(160, 160, 160));
    QCOMPARE(idle.pixelColor(20, 10), QColor(243, 249, 255));
    QCOMPARE(idle.pixelColor(82, 10), QColor(211, 233, 248));   // value 0.4
    QCOMPARE(idle.pixelColor(118, 10), QColor(255, 255, 150));  // value 0.6
    QCOMPARE(idle.pixelColor(47, 3), QColor(67, 87, 123));
    QVERIFY(idle.pixelColor(45, 10) != QColor(67, 87, 123));
    // The thumb being dragged loses its raised edge.
    QTest::mousePress(&s.widget, Qt::LeftButton, {}, QPoint(50, 10));
    QCOMPARE(s.widget.grab().toImage().pixelColor(45, 10), QColor(67, 87, 123));
  }
};

int RunRangeSliderTest(int argc, char** argv) {
  RangeSliderTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "RangeSliderTest.moc"
