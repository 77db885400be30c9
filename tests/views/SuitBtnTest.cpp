// Suit buttons: the pair they stand for and their checked state.
#include <QSignalSpy>
#include <QTest>

#include "views/SuitBtn.h"

using namespace ferrox;

class SuitBtnTest : public QObject {
  Q_OBJECT

 private slots:
  void indexNamesTheSuitPair() {
    CSuitBtn button(4 * 2 + 3);
    QCOMPARE(button.FirstSuit(), 2);
    QCOMPARE(button.SecondSuit(), 3);
    QCOMPARE(button.accessibleName(), QString("hearts, spades"));
    button.SetSuitPair(16);
    QCOMPARE(button.SuitPair(), 11);
    button.SetSuitPair(1);
    QCOMPARE(button.accessibleName(), QString("clubs, diamonds"));
  }

  void clickFlipsTheFlagAndThePicture() {
    CSuitBtn button(5);
    button.resize(button.sizeHint());
    button.show();
    button.setFocus();  // a click focuses the button; compare pictures with the same focus
    const QImage off = button.grab().toImage();
    QSignalSpy clicked(&button, &QAbstractButton::clicked);
    QTest::mouseClick(&button, Qt::LeftButton);
    QVERIFY(button.isChecked());
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(clicked[0][0].toBool(), true);
    QVERIFY(button.grab().toImage() != off);
    QTest::mouseClick(&button, Qt::LeftButton);
    QVERIFY(!button.isChecked());
    QCOMPARE(button.grab().toImage(), off);
  }
};

int RunSuitBtnTest(int argc, char** argv) {
  SuitBtnTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "SuitBtnTest.moc"
