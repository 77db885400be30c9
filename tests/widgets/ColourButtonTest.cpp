// The colour button: its colours, its swatch and its popup gallery.
#include <QEnterEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include "widgets/ColourBox.h"
#include "widgets/ColourButton.h"
#include "widgets/ColourGallery.h"
#include "widgets/OfficeColours.h"

using namespace ferrox::widgets;

namespace {

void OpenPopup(ColourButton& button) {
  button.setGroups(OfficeColourGroups());
  button.show();
  button.popup()->popup(button.mapToGlobal(QPoint(0, button.height())));
}

}  // namespace

class ColourButtonTest : public QObject {
  Q_OBJECT

 private slots:
  void effectiveColourFallsBackToAutomatic() {
    ColourButton button;
    QVERIFY(!button.colour().isValid() && !button.effectiveColour().isValid());
    button.setAutomaticColour(Qt::green);
    QCOMPARE(button.effectiveColour(), QColor(Qt::green));
    QCOMPARE(button.icon().pixmap(16).toImage().pixelColor(8, 8), QColor(Qt::green));
    button.setColour(Qt::red);
    QCOMPARE(button.effectiveColour(), QColor(Qt::red));
    QCOMPARE(button.icon().pixmap(32).toImage().pixelColor(16, 16), QColor(Qt::red));
    button.setColour(QColor());
    QCOMPARE(button.effectiveColour(), QColor(Qt::green));
  }

  void choosingStoresClosesAndSignals() {
    ColourButton button;
    OpenPopup(button);
    QVERIFY(button.popup()->isVisible());
    QSignalSpy chosen(&button, &ColourButton::colourChosen);
    QSignalSpy highlighted(&button, &ColourButton::colourHighlighted);
    ColourBox* box = button.gallery()->boxes()[5];
    box->click();
    QCOMPARE(button.colour(), box->colour());
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen[0][0].value<QColor>(), box->colour());
    QVERIFY(!button.popup()->isVisible());
    QCOMPARE(highlighted.size(), 0);  // a choice is not a cancelled preview
  }

  void closingWithoutChoiceEndsThePreview() {
    ColourButton button;
    button.setAutomaticColour(Qt::gray);
    button.setColour(Qt::yellow);
    OpenPopup(button);
    QCOMPARE(button.gallery()->automaticColour(), QColor(Qt::gray));
    QCOMPARE(button.gallery()->currentColour(), QColor(Qt::yellow));

    QSignalSpy highlighted(&button, &ColourButton::colourHighlighted);
    ColourBox* box = button.gallery()->boxes()[7];
    QEnterEvent enter(QPointF(8, 8), QPointF(8, 8), QPointF(8, 8));
    QApplication::sendEvent(box, &enter);
    button.popup()->hide();
    QCOMPARE(highlighted.size(), 2);
    QCOMPARE(highlighted[0][0].value<QColor>(), box->colour());
    QVERIFY(!highlighted[1][0].value<QColor>().isValid());
    QCOMPARE(button.colour(), QColor(Qt::yellow));
  }
};

int RunColourButtonTest(int argc, char** argv) {
  ColourButtonTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "ColourButtonTest.moc"
