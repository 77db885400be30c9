#include <QtTest>

#include "app/AppSettings.h"
#include "tests/app/AppTestSupport.h"

namespace ferrox::testing {

class AppSettingsTest : public QObject {
  Q_OBJECT

  std::unique_ptr<AppSettings> Open(const QTemporaryDir& dir) {
    return std::make_unique<AppSettings>(std::make_unique<QSettings>(dir.filePath("s.conf"), QSettings::IniFormat));
  }

 private slots:
  void defaultsWhenNothingIsStored() {
    QTemporaryDir dir;
    auto s = Open(dir);
    s->Read();
    QCOMPARE(s->background.Effective(), 0xFFF9F3);
    QCOMPARE(s->font.Effective(), 0);
    QCOMPARE(s->enumerate, 1);
    QCOMPARE(s->runs, 10000);
    QCOMPARE(s->rules, quillet::kRulesStandard);
    QCOMPARE(s->hotnessCalc, 0);
    QCOMPARE(s->userRangePath, QString("UserRanges.xml"));
    QCOMPARE(s->heatmapColour, 0x0002A1);
    QCOMPARE(s->heatmapColour100, 0x057000);
    QCOMPARE(s->fileSixPlus, QString("SixPlusVsRandom.txt"));
    QCOMPARE(s->fileStraightBeatsSet, QString("SixPlus6maxordering.txt"));
    QCOMPARE(s->applicationLook, 219);
  }

  void roundTripWithTheColourRules() {
    QTemporaryDir dir;
    {
      auto s = Open(dir);
      s->Read();
      s->background.Choose(0xFFFFFF);  // white is a colour, not "unset"
      s->font.Choose(0x0000FF);
      s->rules = quillet::kRulesStraightBeatsSet;
      s->enumerate = 0;
      s->hotnessCalc = 1;
      s->runs = 5000;
      s->background.Preview(0x123456);  // hovered...
      s->background.Preview(kNoColour);  // ...and left without choosing
      s->WriteAtShutdown();
    }
    auto s = Open(dir);
    s->Read();
    QCOMPARE(s->background.Effective(), 0xFFFFFF);
    QCOMPARE(s->Store().value("Settings/BkColor").toInt(), 0xFFFFFF);
    QCOMPARE(s->font.Effective(), 0x0000FF);
    QCOMPARE(s->rules, quillet::kRulesStraightBeatsSet);
    QCOMPARE(s->enumerate, 0);
    QCOMPARE(s->hotnessCalc, 1);
    QCOMPARE(s->runs, 5000);

    s->Store().setValue("Settings/BkColor", 0);
    s->Read();
    QCOMPARE(s->background.Effective(), 0xFFF9F3);
  }

  void aHoveredColourIsNeverWrittenAsMinusOne() {
    QTemporaryDir dir;
    auto s = Open(dir);
    s->Read();
    s->font.Preview(kNoColour);
    s->WriteAtShutdown();
    QCOMPARE(s->Store().value("Settings/FontColor").toInt(), 0);
    s->font.Preview(0x00FF00);
    QCOMPARE(s->font.Effective(), 0x00FF00);
    QCOMPARE(s->font.committed, 0);
  }

  void blackHeatmapColoursAreNotStored() {
    QTemporaryDir dir;
    auto s = Open(dir);
    s->Read();
    s->heatmapColour = 0;
    s->WriteHeatmapColour(false);
    QVERIFY(!s->Store().contains("Heatmap/Color"));
    s->heatmapColour100 = 0x00FF00;
    s->WriteHeatmapColour(true);
    QCOMPARE(s->Store().value("Heatmap/Color100").toInt(), 0x00FF00);
  }

  void garbageValuesGiveDefaults() {
    QTemporaryDir dir;
    WriteText(dir.filePath("s.conf").toStdString(),
              "[Settings]\nBkColor=blue\nRuns=many\nGametype=7\nEnumerate=-3\nHotnessCalc=\nFontColor=0x\n"
              "[Workspace]\nApplicationLook=99\n[Game]\nFileSixPlus=\n");
    auto s = Open(dir);
    s->Read();
    QCOMPARE(s->background.Effective(), 0xFFF9F3);
    QCOMPARE(s->runs, 10000);
    QCOMPARE(s->rules, quillet::kRulesStandard);
    QCOMPARE(s->enumerate, 1);
    QCOMPARE(s->hotnessCalc, 0);
    QCOMPARE(s->font.Effective(), 0);
    QCOMPARE(s->applicationLook, 219);
    QCOMPARE(s->fileSixPlus, QString("SixPlusVsRandom.txt"));
  }

  void countRunCallsTheFirstStartOnce() {
    QTemporaryDir dir;
    auto s = Open(dir);
    int firstStarts = 0;
    QCOMPARE(s->CountRun([&] { ++firstStarts; }), 1);
    QCOMPARE(s->CountRun([&] { ++firstStarts; }), 2);
    QCOMPARE(firstStarts, 1);
  }

  void anOddCounterNeverCountsAsAFirstStart() {
    // The largest counter stays there instead of wrapping round to a first start; a
    // counter that cannot be read counts as started before.
    for (const QVariant& stored : {QVariant(2147483647), QVariant(99999999999LL), QVariant(-5), QVariant("many")}) {
      QTemporaryDir dir;
      {
        QSettings(dir.filePath("s.conf"), QSettings::IniFormat).setValue("General/Runs", stored);
      }
      auto s = Open(dir);
      int firstStarts = 0;
      const int first = s->CountRun([&] { ++firstStarts; });
      const int second = s->CountRun([&] { ++firstStarts; });
      QCOMPARE(firstStarts, 0);
      QVERIFY(first > 0);
      QVERIFY(second >= first);
    }
  }
};

}  // namespace ferrox::testing

QTEST_MAIN(ferrox::testing::AppSettingsTest)
#include "AppSettingsTest.moc"
