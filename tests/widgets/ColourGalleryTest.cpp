// The colour gallery: its boxes, the preview signal while hovering and the choices.
#include <QEnterEvent>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "widgets/ColourBox.h"
#include "widgets/ColourGallery.h"

using namespace ferrox::widgets;

namespace {

QList<ColourGroup> TwoGroups() {
  ColourGroup named{"Named", {}, false};
  ColourGroup strip{QString(), {}, true};
  for (int i = 0; i < 20; ++i) {
    named.colours.append({QColor(i * 10, 0, 0), QString("Red %1").arg(i)});
    strip.colours.append({QColor(0, i * 10, 0), QString("Green %1").arg(i)});
  }
  return {named, strip};
}

QColor ColourAt(const QSignalSpy& spy, int index) { return spy[index][0].value<QColor>(); }

void Send(QWidget* widget, QEvent::Type type) {
  QEnterEvent enter(QPointF(4, 4), widget->mapToGlobal(QPointF(4, 4)), QPointF(4, 4));
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(widget, type == QEvent::Enter ? &enter : &leave);
}

}  // namespace

class ColourGalleryTest : public QObject {
  Q_OBJECT

 private slots:
  void boxesFollowTheGroups() {
    ColourGallery gallery;
    gallery.setGroups(TwoGroups());
    gallery.setCurrentColour(QColor(0, 70, 0));
    gallery.show();
    const QList<ColourBox*> boxes = gallery.boxes();
    QCOMPARE(boxes.size(), 40);
    QCOMPARE(boxes[3]->toolTip(), QString("Red 3"));
    QCOMPARE(boxes[0]->size(), QSize(17, 17));
    QCOMPARE(gallery.findChild<QLabel*>()->text(), QString("Named"));
    // Ten to a row; the strip's rows touch, the named group's do not.
    QCOMPARE(boxes[10]->x(), boxes[0]->x());
    QVERIFY(boxes[10]->y() > boxes[0]->geometry().bottom() + 1);
    QCOMPARE(boxes[30]->y(), boxes[20]->y() + 17);
    for (int i = 0; i < boxes.size(); ++i) QCOMPARE(boxes[i]->isCurrent(), i == 27);
  }

  void hoveringPreviewsAndLeavingClears() {
    ColourGallery gallery;
    gallery.setGroups(TwoGroups());
    gallery.setAutomaticColour(Qt::blue);
    QSignalSpy highlighted(&gallery, &ColourGallery::highlighted);
    Send(gallery.boxes()[5], QEvent::Enter);
    Send(gallery.boxes()[5], QEvent::Leave);
    Send(gallery.automaticButton(), QEvent::Enter);
    Send(&gallery, QEvent::Leave);
    QCOMPARE(highlighted.size(), 4);
    QCOMPARE(ColourAt(highlighted, 0), QColor(50, 0, 0));
    QVERIFY(!ColourAt(highlighted, 1).isValid());
    QCOMPARE(ColourAt(highlighted, 2), QColor(Qt::blue));
    QVERIFY(!ColourAt(highlighted, 3).isValid());
  }

  void clickingChooses() {
    ColourGallery gallery;
    gallery.setGroups(TwoGroups());
    gallery.setAutomaticColour(Qt::blue);
    gallery.show();
    QSignalSpy chosen(&gallery, &ColourGallery::chosen);
    QTest::mouseClick(gallery.boxes()[12], Qt::LeftButton);
    gallery.automaticButton()->click();
    QCOMPARE(chosen.size(), 2);
    QCOMPARE(ColourAt(chosen, 0), QColor(120, 0, 0));
    QCOMPARE(ColourAt(chosen, 1), QColor(Qt::blue));
  }

  void moreColoursAsksTheHook() {
    ColourGallery gallery;
    gallery.setCurrentColour(Qt::darkCyan);
    QCOMPARE(gallery.moreColoursButton()->toolTip(), QString("More Colors"));
    QColor asked;
    QColor answer = Qt::magenta;
    gallery.pickMoreColour = [&](const QColor& initial) {
      asked = initial;
      return answer;
    };
    QSignalSpy chosen(&gallery, &ColourGallery::chosen);
    gallery.moreColoursButton()->click();
    QCOMPARE(asked, QColor(Qt::darkCyan));
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(ColourAt(chosen, 0), QColor(Qt::magenta));
    answer = QColor();  // the dialog was cancelled
    gallery.moreColoursButton()->click();
    QCOMPARE(chosen.size(), 1);
  }
};

int RunColourGalleryTest(int argc, char** argv) {
  ColourGalleryTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "ColourGalleryTest.moc"
