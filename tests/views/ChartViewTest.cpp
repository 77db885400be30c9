// The equity chart against a real Hands model: runs, curves, colours and stale results.
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFileDialog>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLegend>
#include <QLegendMarker>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QValueAxis>
#include <QXmlStreamReader>
#include <QtTest>

#include "model/ChartDoc.h"
#include "model/HandsModel.h"
#include "quillet/Evaluator.h"
#include "tests/views/ViewsTestSupport.h"
#include "views/ChartView.h"

using namespace ferrox;
using ferrox::testing::Card;

namespace {

constexpr int kTimeoutMs = 60'000;

struct Message {
  QString text;
  QString caption;
  bool timed = false;
};

// A chart window over a Hands model, whose message boxes are recorded instead of shown.
struct Chart {
  CalculatorDocument document;
  PaneSettings settings;
  HandsModel hands{document, settings};
  CChartDoc chart;
  CChartView view{&chart, &hands, &settings};
  QList<Message> messages;
  QSignalSpy finished{&view, &CChartView::runFinished};

  Chart() {
    OrderingRanges orderings;
    orderings.standard.SetOrdering(quillet::AllClassesInMatrixOrder());
    settings.SetOrderings(orderings);
    settings.SetRuns(1000);
    view.showMessage = [this](const QString& text, const QString& caption, bool timed) {
      messages.append({text, caption, timed});
    };
    // Room for the legend: entries that do not fit are hidden.
    view.resize(800, 600);
    view.show();
  }
  void Board(std::initializer_list<const char*> names) {
    for (const char* name : names) QVERIFY2(document.AppendBoardCard(Card(name)), name);
  }
  void Players(const char* hero, const char* op1) {
    hands.SetText(0, QString::fromLatin1(hero));
    hands.SetText(1, QString::fromLatin1(op1));
  }
  // Runs to the end; true when a curve was added.
  bool RunToEnd() {
    const qsizetype before = finished.size();
    if (!view.Run()) return false;
    if (!QTest::qWaitFor([&] { return finished.size() > before; }, kTimeoutMs)) return false;
    return finished.last().at(0).toBool();
  }
  QStringList LegendNames() const {
    QCoreApplication::processEvents();  // the legend lays out its entries later
    QStringList names;
    for (QLegendMarker* marker : view.Chart()->legend()->markers())
      if (marker->isVisible()) names << marker->label();
    return names;
  }
};

// A curve of 101 points falling from 100 to 0, with a step of a quarter percent.
QList<QPointF> Falling(double shift) {
  QList<QPointF> points;
  for (int x = 0; x <= 100; ++x) points.append({double(x), std::clamp(100.0 - x - shift, 0.0, 100.0)});
  return points;
}

QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFileBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

// The name of an SVG file's root element, empty when it is not XML.
QString SvgRoot(const QString& path) {
  QXmlStreamReader xml(FileBytes(path));
  return xml.readNextStartElement() ? xml.name().toString() : QString();
}

bool NonIncreasing(const QList<QPointF>& points) {
  for (qsizetype i = 1; i < points.size(); ++i)
    if (points[i].x() != i || points[i].y() > points[i - 1].y()) return false;
  return true;
}

}  // namespace

class ChartViewTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    if (!quillet::fsm5::IsLoaded()) QVERIFY(quillet::fsm5::load_fsm5() && quillet::fsm5::load_fsm7());
  }

  void startsEmptyAndNamed() {
    Chart c;
    QCOMPARE(c.view.accessibleName(), QStringLiteral("Equity chart"));
    QCOMPARE(c.view.ChartView()->accessibleName(), QStringLiteral("Equity chart"));
    QVERIFY(c.view.Chart()->series().isEmpty());
    QVERIFY(c.view.ZeroMarker() == nullptr);
    QVERIFY(c.view.Chart()->legend()->isVisible());
    QVERIFY(!c.view.ChartView()->isInteractive());
    for (QValueAxis* axis : {c.view.AxisX(), c.view.AxisY()}) {
      QCOMPARE(axis->min(), 0.0);
      QCOMPARE(axis->max(), 100.0);
      QVERIFY(axis->isGridLineVisible());
      QCOMPARE(axis->gridLineColor(), QColor(Qt::white));
    }
  }

  void followsTheDocumentsCurves() {
    CChartDoc chart;
    QList<QPointF> points;
    for (int x = 0; x <= 100; ++x) points.append({double(x), 100.0 - x});
    QCOMPARE(chart.AddCurve(QStringLiteral("Turn"), 0xC08000, points), 0);
    QCOMPARE(chart.AddCurve(QStringLiteral("Short"), 0xC08000, points.mid(1)), -1);
    QCOMPARE(chart.AddCurve(QStringLiteral("None"), 0xC08000, {}), -1);
    CalculatorDocument document;
    PaneSettings settings;
    HandsModel hands(document, settings);
    CChartView view(&chart, &hands, &settings);
    QCOMPARE(view.CurveSeries().size(), 1);
    QCOMPARE(view.CurveSeries()[0]->points(), points);
    QCOMPARE(view.CurveSeries()[0]->pen().color(), QColor(0, 128, 192));
    QCOMPARE(chart.AddCurve(QStringLiteral("Flop"), 0x00FF80, points), 1);
    QCOMPARE(view.accessibleDescription(), QStringLiteral("Turn, Flop"));
    QCOMPARE(view.CurveSeries()[1]->pen().color(), QColor(128, 255, 0));
  }

  void riverRunDrawsOneFlatLevel_data() {
    QTest::addColumn<QString>("hero");
    QTest::addColumn<QString>("op1");
    QTest::addColumn<double>("level");
    // Board 6c 8d Ts Qh 7s: no straight (no 9), no flush; the hands decide it alone.
    QTest::newRow("aces beat kings, capped at 99") << "AhAd" << "KhKd" << 99.0;
    QTest::newRow("same ace-king split") << "AhKd" << "AdKh" << 50.0;
    QTest::newRow("kings lose: every deal under 1% sits at 0") << "KhKd" << "AhAd" << 0.0;
  }
  void riverRunDrawsOneFlatLevel() {
    QFETCH(QString, hero);
    QFETCH(QString, op1);
    QFETCH(double, level);
    Chart c;
    c.Board({"6c", "8d", "Ts", "Qh", "7s"});
    c.hands.SetText(0, hero);
    c.hands.SetText(1, op1);
    QVERIFY(c.view.Run());
    QVERIFY(c.view.IsRunning());
    QVERIFY(QGuiApplication::overrideCursor());
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QTRY_COMPARE_WITH_TIMEOUT(c.finished.size(), 1, kTimeoutMs);
    QCOMPARE(c.finished.first().at(0).toBool(), true);
    QVERIFY(!c.view.IsRunning());
    QVERIFY2(!QGuiApplication::overrideCursor(), "the wait cursor is put back");

    QCOMPARE(c.chart.CurveCount(), 1);
    QCOMPARE(c.view.CurveSeries().size(), 1);
    const QLineSeries* series = c.view.CurveSeries().first();
    const QList<QPointF> points = series->points();
    QCOMPARE(points.size(), 101);
    QCOMPARE(points.first(), QPointF(0, 100));
    QCOMPARE(points.last(), QPointF(100, 0));
    for (int x = 1; x <= 99; ++x) QCOMPARE(points[x], QPointF(x, level));
    QCOMPARE(series->name(), QStringLiteral("River"));
    QCOMPARE(series->pen().color(), QColor(255, 55, 55));
    QCOMPARE(c.LegendNames(), QStringList{"River"});
    QCOMPARE(c.view.accessibleDescription(), QStringLiteral("River"));
    QVERIFY(c.messages.isEmpty());
  }

  void eachRunAddsACurveUntilClear() {
    Chart c;
    c.Board({"6c", "8d", "Ts", "Qh", "7s"});
    c.Players("AhKd", "AdKh");
    QVERIFY(c.RunToEnd());
    QVERIFY(c.RunToEnd());
    QCOMPARE(c.view.CurveSeries().size(), 2);
    for (const QLineSeries* series : c.view.CurveSeries()) {
      QCOMPARE(series->name(), QStringLiteral("River"));
      QCOMPARE(series->pen().color(), QColor(255, 55, 55));
    }
    QCOMPARE(c.view.accessibleDescription(), QStringLiteral("River, River"));

    QSignalSpy cleared(&c.chart, &CChartDoc::cleared);
    c.view.Clear();
    QCOMPARE(cleared.size(), 1);
    QCOMPARE(c.chart.CurveCount(), 0);
    QVERIFY(c.view.CurveSeries().isEmpty());
    QVERIFY2(c.view.Chart()->series().isEmpty(), "the zero marker goes with the curves");
    QVERIFY(c.view.ZeroMarker() == nullptr);
    QVERIFY(c.LegendNames().isEmpty());
    QVERIFY(c.view.accessibleDescription().isEmpty());

  }

  void curvesAreNamedAfterTheNextStreet() {
    Chart c;
    c.Players("AhAd", "KhKd");
    c.settings.SetEnumerate(false);  // 1,000 sampled flops instead of all of them
    c.settings.SetRuns(100);
    QVERIFY(c.RunToEnd());
    c.settings.SetEnumerate(true);
    c.Board({"6c", "8d", "Ts"});
    QVERIFY(c.RunToEnd());
    c.Board({"Qh"});
    QVERIFY(c.RunToEnd());

    const QList<QLineSeries*>& series = c.view.CurveSeries();
    QCOMPARE(series.size(), 3);
    QCOMPARE(series[0]->name(), QStringLiteral("Flop"));
    QCOMPARE(series[0]->pen().color(), QColor(128, 255, 0));
    QCOMPARE(series[1]->name(), QStringLiteral("Turn"));
    QCOMPARE(series[1]->pen().color(), QColor(0, 128, 192));
    QCOMPARE(series[2]->name(), QStringLiteral("River"));
    QCOMPARE(c.LegendNames(), (QStringList{"Flop", "Turn", "River"}));
    QCOMPARE(c.view.accessibleDescription(), QStringLiteral("Flop, Turn, River"));
    for (const QLineSeries* s : series) {
      QVERIFY2(NonIncreasing(s->points()), qPrintable(s->name()));
      QCOMPARE(s->points().size(), 101);
    }
    // Aces against kings win most deals: the curve stays high over most of the flops.
    QVERIFY(series[0]->points()[50].y() >= 50);
  }

  void aSecondRunIsRefusedAndStopAddsNothing() {
    Chart c;
    c.Players("AA", "KK");
    c.settings.SetRuns(100'000);  // long enough to be still running when stopped
    QVERIFY(c.view.Run());
    QVERIFY2(!c.view.Run(), "one run at a time");
    QVERIFY(c.messages.isEmpty());
    c.view.Stop();
    QVERIFY(!c.view.IsRunning());
    QVERIFY(!QGuiApplication::overrideCursor());
    QCOMPARE(c.finished.size(), 1);
    QCOMPARE(c.finished.first().at(0).toBool(), false);
    QTest::qWait(3 * kProgressEveryMs);
    QCOMPARE(c.chart.CurveCount(), 0);
    QCOMPARE(c.finished.size(), 1);
    c.view.Stop();  // nothing to stop
    QCOMPARE(c.finished.size(), 1);

  }

  void aResultWhoseInputsChangedIsDropped() {
    Chart c;
    c.Board({"6c", "8d", "Ts"});
    c.Players("AhAd", "KhKd");
    // The result is checked when it is taken in, so a change right after the start is
    // always seen, however fast the work is.
    QVERIFY(c.view.Run());
    c.Board({"Qh"});
    QTRY_COMPARE_WITH_TIMEOUT(c.finished.size(), 1, kTimeoutMs);
    QCOMPARE(c.finished.last().at(0).toBool(), false);
    QCOMPARE(c.chart.CurveCount(), 0);

    QVERIFY(c.view.Run());
    c.hands.SetText(1, QStringLiteral("QQ"));
    QTRY_COMPARE_WITH_TIMEOUT(c.finished.size(), 2, kTimeoutMs);
    QCOMPARE(c.finished.last().at(0).toBool(), false);

    QVERIFY(c.view.Run());
    c.settings.SetRules(quillet::kRulesStraightBeatsSet);
    QTRY_COMPARE_WITH_TIMEOUT(c.finished.size(), 3, kTimeoutMs);
    QCOMPARE(c.finished.last().at(0).toBool(), false);

    QVERIFY(c.view.Run());
    c.hands.SetText(1, QStringLiteral("Ah"));  // no longer a valid request
    QTRY_COMPARE_WITH_TIMEOUT(c.finished.size(), 4, kTimeoutMs);
    QCOMPARE(c.finished.last().at(0).toBool(), false);
    QCOMPARE(c.chart.CurveCount(), 0);
    QVERIFY2(c.messages.isEmpty(), "a dropped result shows nothing");

  }

  void aRunThatAddsNoCurveSaysWhyInOneLine() {
    Chart c;
    QSignalSpy lines(&c.view, &CChartView::outputLine);
    // 30 of the 32 cards outside the hands dead: no board can be dealt.
    c.Players("AhAd", "KhKd");
    c.hands.SetText(6, QStringLiteral("6c 6d 6h 6s 7c 7d 7h 7s 8c 8d 8h 8s 9c 9d 9h 9s Tc Td Th Ts Jc Jd Jh Js Qc "
                                      "Qd Qh Qs Kc Ks"));
    QVERIFY(!c.RunToEnd());
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines.last().at(0).toString(), QStringLiteral("No deal is possible for the chart run; no curve was added."));
    QCOMPARE(c.chart.CurveCount(), 0);

    // A run that adds its curve says nothing.
    c.hands.SetText(6, QString());
    c.document.ClearDead();
    c.Board({"6c", "8d", "Ts", "Qh", "9c"});
    QVERIFY(c.RunToEnd());
    QCOMPARE(lines.size(), 1);
    QVERIFY(c.messages.isEmpty());
  }

  void aShortPlotShowsFewerEquityLevelsRatherThanElidingThem() {
    Chart c;
    const auto levels = [&c] {
      QCoreApplication::processEvents();
      return c.view.AxisY()->tickCount();
    };
    QCOMPARE(levels(), 11);
    c.view.resize(800, 200);
    QTRY_VERIFY(levels() < 11);
    const qreal label = QFontMetricsF(c.view.AxisY()->labelsFont()).height();
    QVERIFY2(c.view.Chart()->plotArea().height() / (levels() - 1) >= label,
             qPrintable(QString::number(c.view.Chart()->plotArea().height())));
    c.view.resize(800, 600);
    QTRY_COMPARE(levels(), 11);
  }

  void badInputShowsTheMessageAndStartsNothing() {
    Chart c;
    c.Players("", "KK");
    QVERIFY(!c.view.Run());
    QCOMPARE(c.messages.size(), 1);
    // The message as it always was, then why on a line of its own.
    QCOMPARE(c.messages[0].text.section('\n', 0, 0), QStringLiteral("Bad Hero range!"));
    QVERIFY2(c.messages[0].text.section('\n', 1).contains("empty"), qPrintable(c.messages[0].text));
    QCOMPARE(c.messages[0].timed, false);

    c.Players("AhAd", "AhKd");  // the ranges share a card
    QVERIFY(!c.view.Run());
    QCOMPARE(c.messages.size(), 2);
    QCOMPARE(c.messages[1].text.section('\n', 0, 0), QStringLiteral("Please reenter card ranges!"));
    QVERIFY2(c.messages[1].text.section('\n', 1).contains("Ah is in both Hero's and Op1's hands"),
             qPrintable(c.messages[1].text));
    QCOMPARE(c.messages[1].caption, QStringLiteral("Wrong ranges"));
    QCOMPARE(c.messages[1].timed, true);
    QVERIFY(!c.view.IsRunning());
    QVERIFY(!QGuiApplication::overrideCursor());
    QVERIFY(c.finished.isEmpty());
  }

  void gridColourSetEarlyReachesTheFirstCurve() {
    Chart c;
    c.view.SetGrid(0x00FF00);
    QVERIFY2(c.view.ZeroMarker() == nullptr, "no curve yet: only stored");
    QCOMPARE(c.chart.Grid(), 0x00FF00u);
    c.Board({"6c", "8d", "Ts", "Qh", "7s"});
    c.Players("KhKd", "AhAd");
    QVERIFY(c.RunToEnd());
    QLineSeries* marker = c.view.ZeroMarker();
    QVERIFY(marker);
    QCOMPARE(marker->pen().color(), QColor(0, 255, 0));
    QCOMPARE(marker->points(), (QList<QPointF>{{0, 0}, {100, 0}}));
    QCOMPARE(c.view.AxisX()->gridLineColor(), QColor(0, 255, 0));
    QCOMPARE(c.view.AxisY()->gridLineColor(), QColor(0, 255, 0));
    QCOMPARE(c.LegendNames(), QStringList{"River"});

    c.view.SetGrid(0x0000FF);  // red
    QCOMPARE(marker->pen().color(), QColor(255, 0, 0));
    QCOMPARE(c.view.AxisY()->gridLineColor(), QColor(255, 0, 0));
  }

  void savesItsPictureAsPngAndSvgAtTheChartsSize() {
    Chart c;
    QVERIFY(QTest::qWaitForWindowExposed(&c.view));
    c.chart.AddCurve(QStringLiteral("Turn"), 0xC08000, Falling(0));
    QCoreApplication::processEvents();
    QTemporaryDir dir;
    const QString png = dir.filePath("chart.png");
    QVERIFY(c.view.SavePicture(png));
    const QImage image(png);
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), c.view.ChartView()->size() * c.view.devicePixelRatioF());
    // The plot's background between the grid lines, off the curve, and the curve itself.
    const QRectF area = c.view.Chart()->plotArea();
    const QPointF inside(area.left() + 0.55 * area.width(), area.top() + 0.45 * area.height());
    QCOMPARE(image.pixelColor(c.view.ChartView()->mapFromScene(c.view.Chart()->mapToScene(inside))), QColor(45, 45, 48));
    int curvePixels = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const QColor pixel = image.pixelColor(x, y);
        curvePixels += std::abs(pixel.red()) + std::abs(pixel.green() - 128) + std::abs(pixel.blue() - 192) < 40;
      }
    QVERIFY2(curvePixels > area.width(), qPrintable(QString::number(curvePixels)));

    const QString svg = dir.filePath("chart.svg");
    QVERIFY(c.view.SavePicture(svg));
    QCOMPARE(SvgRoot(svg), QString("svg"));
    QXmlStreamReader xml(FileBytes(svg));
    xml.readNextStartElement();
    const QSize size = c.view.ChartView()->size();
    QCOMPARE(xml.attributes().value("viewBox").toString(), QString("0 0 %1 %2").arg(size.width()).arg(size.height()));
    QVERIFY(FileBytes(svg).contains("<path") || FileBytes(svg).contains("<polyline"));
  }

  void savesTheCurvesAsCsvWhateverTheLocale() {
    Chart c;
    c.chart.AddCurve(QStringLiteral("Turn"), 0xC08000, Falling(0));
    c.chart.AddCurve(QStringLiteral("River"), 0x3737FF, Falling(12.25));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QTemporaryDir dir;
    const QString path = dir.filePath("curves.csv");
    const bool saved = c.view.SaveCurves(path);
    QLocale::setDefault(QLocale::c());
    QVERIFY(saved);
    const QStringList lines = QString::fromUtf8(FileBytes(path)).split("\r\n", Qt::SkipEmptyParts);
    // Read back against what the chart draws.
    const QList<QLineSeries*>& series = c.view.CurveSeries();
    QCOMPARE(lines.value(0), QStringList({c.view.AxisX()->titleText(), series[0]->name(), series[1]->name()}).join(','));
    QCOMPARE(lines.size(), 102);
    for (int i = 0; i <= 100; ++i) {
      const QStringList fields = lines[i + 1].split(',');
      QCOMPARE(fields.size(), 3);
      QCOMPARE(fields[0].toDouble(), series[0]->at(i).x());
      QCOMPARE(fields[0].toDouble(), series[1]->at(i).x());
      QCOMPARE(fields[1].toDouble(), series[0]->at(i).y());
      QCOMPARE(fields[2].toDouble(), series[1]->at(i).y());
    }
    QCOMPARE(lines[20], QString("19,81,68.75"));
  }

  void aFileThatCannotBeWrittenIsLeftAndNamedWithWhy() {
    Chart c;
    c.chart.AddCurve(QStringLiteral("Turn"), 0xC08000, Falling(0));
    QStringList errors;
    c.view.showError = [&errors](const QString& text, const QString&) { errors << text; };
    QTemporaryDir dir;
    for (const char* name : {"kept.csv", "kept.png", "kept.svg"}) {
      const QString path = dir.filePath(name);
      WriteFileBytes(path, "old");
      QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
      QVERIFY(!(QString(name).endsWith(".csv") ? c.view.SaveCurves(path) : c.view.SavePicture(path)));
      QCOMPARE(FileBytes(path), QByteArray("old"));
      QVERIFY2(errors.last().startsWith("Cannot write " + path + ": ") && errors.last().size() > path.size() + 16,
               qPrintable(errors.last()));
    }
    const QString nowhere = dir.filePath("no/such/folder/chart.png");
    QVERIFY(!c.view.SavePicture(nowhere));
    QCOMPARE(errors.last(), "Cannot write " + nowhere + ": No such file or directory");
  }

  void itsMenuAndSaveAsAskForTheFileAndSaveByItsType() {
    Chart c;
    QStringList errors;
    c.view.showError = [&errors](const QString& text, const QString&) { errors << text; };
    QList<QStringList> offered;
    FileChoice answer;
    c.view.chooseFile = [&](const QString&, const QStringList& filters) {
      offered << filters;
      return answer;
    };
    const auto menu = [&c] {
      QWidget* chart = c.view.ChartView()->viewport();
      QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20), chart->mapToGlobal(QPoint(20, 20)));
      QApplication::sendEvent(chart, &event);
      return c.view.findChild<QMenu*>("ChartMenu");
    };
    QMenu* first = menu();
    QVERIFY(first);
    QCOMPARE(first->actions().size(), 2);
    QVERIFY2(!first->actions()[1]->isEnabled(), "no curves to save yet");
    first->close();

    c.chart.AddCurve(QStringLiteral("Turn"), 0xC08000, Falling(0));
    QTemporaryDir dir;
    answer = {dir.filePath("picture"), CChartView::kSvgFilter};
    QTRY_VERIFY(c.view.findChild<QMenu*>("ChartMenu") == nullptr);  // the closed one is gone
    menu()->actions()[0]->trigger();
    QCOMPARE(offered.last(), (QStringList{CChartView::kPngFilter, CChartView::kSvgFilter}));
    QCOMPARE(SvgRoot(dir.filePath("picture.svg")), QString("svg"));
    answer = {dir.filePath("curves"), CChartView::kCsvFilter};
    c.view.findChild<QMenu*>("ChartMenu")->actions()[1]->trigger();
    QCOMPARE(offered.last(), QStringList{CChartView::kCsvFilter});
    QVERIFY(FileBytes(dir.filePath("curves.csv")).startsWith("Share of next-street deals (%),Turn\r\n"));

    // Save As offers all three; an extension of ours says the type, another name takes the filter's.
    answer = {dir.filePath("typed.png"), CChartView::kCsvFilter};
    c.view.SaveAs();
    QCOMPARE(offered.last(), (QStringList{CChartView::kPngFilter, CChartView::kSvgFilter, CChartView::kCsvFilter}));
    QVERIFY(!QImage(dir.filePath("typed.png")).isNull());
    answer = {dir.filePath("chart.picture"), CChartView::kSvgFilter};
    c.view.SaveAs();
    QCOMPARE(SvgRoot(dir.filePath("chart.picture")), QString("svg"));
    answer = {};
    c.view.SaveAs();
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 4);
    QVERIFY(errors.isEmpty());
  }

  void theSaveDialogAddsTheExtensionOfTheTypeChosen() {
    QTemporaryDir dir;
    QStringList filters;
    QString suffixBefore, suffixAfter;
    QTimer::singleShot(50, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      filters = dialog->nameFilters();
      suffixBefore = dialog->defaultSuffix();
      auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
      QTest::keyClick(types, Qt::Key_Down);  // the second type, as a user picks it
      suffixAfter = dialog->defaultSuffix();
      auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
      name->setText("chart");
      QTest::keyClick(name, Qt::Key_Return);
    });
    const FileChoice choice =
        ChooseSaveFile(nullptr, "Save Picture", dir.path(), {CChartView::kPngFilter, CChartView::kSvgFilter});
    QCOMPARE(filters, (QStringList{CChartView::kPngFilter, CChartView::kSvgFilter}));
    QCOMPARE(suffixBefore, QString("png"));
    QCOMPARE(suffixAfter, QString("svg"));
    QCOMPARE(choice.path, dir.filePath("chart.svg"));
    QCOMPARE(choice.filter, CChartView::kSvgFilter);
  }

  void backgroundColourFillsThePlotArea() {
    Chart c;
    QVERIFY(QTest::qWaitForWindowExposed(&c.view));
    const auto plotPixel = [&c] {
      QCoreApplication::processEvents();
      const QRectF area = c.view.Chart()->plotArea();
      // Between the grid lines, which sit at every tenth of the axes.
      const QPointF inside(area.left() + 0.55 * area.width(), area.top() + 0.45 * area.height());
      const QPoint at = c.view.ChartView()->mapFromScene(c.view.Chart()->mapToScene(inside));
      return c.view.ChartView()->grab().toImage().pixelColor(at);
    };
    QCOMPARE(plotPixel(), QColor(45, 45, 48));
    QSignalSpy changed(&c.chart, &CChartDoc::coloursChanged);
    c.view.SetBackground(0x405060);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(c.view.Chart()->plotAreaBackgroundBrush().color(), QColor(0x60, 0x50, 0x40));
    QCOMPARE(plotPixel(), QColor(0x60, 0x50, 0x40));
    c.view.SetBackground(0x405060);
    QCOMPARE(changed.size(), 1);
  }
};

QTEST_MAIN(ChartViewTest)
#include "ChartViewTest.moc"
