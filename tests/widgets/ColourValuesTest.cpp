// Colour value conversions, the shade rule and the default colour groups.
#include <QRegularExpression>
#include <QTest>

#include "widgets/ColourRef.h"
#include "widgets/OfficeColours.h"

using namespace ferrox::widgets;

class ColourValuesTest : public QObject {
  Q_OBJECT

 private slots:
  void refsKeepRedInTheLowByte() {
    QCOMPARE(ColourFromRef(0x0000FF), QColor(255, 0, 0));
    QCOMPARE(ColourFromRef(0xFF0000), QColor(0, 0, 255));
    QCOMPARE(RefFromColour(QColor(0x12, 0x34, 0x56)), 0x563412u);
    QCOMPARE(RefFromColour(QColor::fromHsv(240, 255, 255)), 0xFF0000u);
    QCOMPARE(ColourFromRef(0x01123456), ColourFromRef(0x123456));
    for (uint32_t ref : {0x000000u, 0xFFFFFFu, 0x7D491Fu, 0x010203u})
      QCOMPARE(RefFromColour(ColourFromRef(ref)), ref);
    QVERIFY(!ColourFromRef(kNoColourRef).isValid());
    QCOMPARE(RefFromColour(QColor()), kNoColourRef);
  }

  void shadeRule() {
    QCOMPARE(ShadeColour(QColor(200, 100, 0), ShadeKind::Darker, 25), QColor(150, 75, 0));
    QCOMPARE(ShadeColour(QColor(255, 255, 255), ShadeKind::Darker, 5), QColor(242, 242, 242));
    QCOMPARE(ShadeColour(QColor(0, 100, 255), ShadeKind::Lighter, 40), QColor(102, 162, 255));
    QCOMPARE(ShadeColour(QColor(0, 0, 0), ShadeKind::Lighter, 50), QColor(128, 128, 128));
    QCOMPARE(ShadeColour(QColor(9, 90, 200), ShadeKind::Darker, 150), QColor(0, 0, 0));
    QVERIFY(!ShadeColour(QColor(), ShadeKind::Lighter, 50).isValid());
  }

  void groupsHaveTheirShape() {
    const QList<ColourGroup> groups = OfficeColourGroups();
    QCOMPARE(groups.size(), 3);
    QCOMPARE(groups[0].title, QString("Theme Colors"));
    QVERIFY(groups[1].title.isEmpty());
    QCOMPARE(groups[2].title, QString("Standard Colors"));
    QCOMPARE(groups[0].colours.size() + groups[1].colours.size() + groups[2].colours.size(), 70);
    QCOMPARE(groups[1].colours.size(), 50);
    QVERIFY(!groups[0].contiguousColumns && groups[1].contiguousColumns &&
            !groups[2].contiguousColumns);
    QCOMPARE(groups[0].colours[2].colour, QColor(0xEE, 0xEC, 0xE1));
    QCOMPARE(groups[2].colours[9].colour, QColor(0x72, 0x32, 0x9D));
  }

  void shadesSpotCheck() {
    const QList<ColourEntry> shades = OfficeColourGroups()[1].colours;
    QCOMPARE(shades[0].name, QString("White, Background 1, Darker 5%"));
    QCOMPARE(shades[0].colour, QColor(242, 242, 242));
    QCOMPARE(shades[4].name, QString("Blue, Accent 1, Lighter 80%"));
    QCOMPARE(shades[4].colour, QColor(220, 230, 242));
    QCOMPARE(shades[39].name, QString("Orange, Accent 6, Darker 25%"));
    QCOMPARE(shades[42].name, QString("Tan, Background 2, Darker 90%"));
    QCOMPARE(shades[42].colour, QColor(24, 24, 23));
  }

  // Every shade box is its column's theme colour under the shade its name states.
  void shadeNamesMatchValues() {
    const QList<ColourGroup> groups = OfficeColourGroups();
    const QRegularExpression shadeName("^(.*), (Darker|Lighter) (\\d+)%$");
    for (int i = 0; i < groups[1].colours.size(); ++i) {
      const ColourEntry& shade = groups[1].colours[i];
      const ColourEntry& theme = groups[0].colours[i % 10];
      const QRegularExpressionMatch m = shadeName.match(shade.name);
      QVERIFY2(m.hasMatch(), qPrintable(shade.name));
      QCOMPARE(m.captured(1), theme.name);
      const ShadeKind kind = m.captured(2) == "Darker" ? ShadeKind::Darker : ShadeKind::Lighter;
      QCOMPARE(shade.colour, ShadeColour(theme.colour, kind, m.captured(3).toInt()));
    }
  }
};

int RunColourValuesTest(int argc, char** argv) {
  ColourValuesTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "ColourValuesTest.moc"
