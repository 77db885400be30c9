// The heatmap pane: a computation against Op1 off the GUI thread, what the grid shows, the
// singular rows, the export and the column widths.
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QHeaderView>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "engine/Heatmap.h"
#include "model/PaneSettings.h"
#include "quillet/Equity.h"
#include "views/HeatmapView.h"
#include "widgets/GridCtrl.h"

using namespace ferrox;

namespace {

constexpr int kWaitMs = 60'000;
constexpr int kClasses = 81;

quillet::Spec RangeOf(const QString& text, quillet::Rules rules = quillet::kRulesStandard) {
  const OrderingRanges orderings;
  quillet::Spec spec;
  RangeParser(orderings, rules).ParseRange(text.toStdWString(), spec);
  return spec;
}

QString Percent(double fraction) { return QString::asprintf("%.2lf%%", fraction * 100.0); }

struct Message {
  QString text, caption;
  int timeoutMs = 0;
};

// A pane without a settings store whose message boxes are recorded instead of shown.
struct Pane {
  PaneSettings settings;
  CHeatmapView view{&settings, CHeatmapView::MakeColumnWidths(nullptr)};
  QList<Message> timed;
  QList<Message> errors;
  QSignalSpy finished{&view, &CHeatmapView::finished};

  Pane() {
    view.showTimedMessage = [this](const QString& text, const QString& caption, int ms) {
      timed.append({text, caption, ms});
    };
    view.showError = [this](const QString& text, const QString& caption) { errors.append({text, caption}); };
    view.chooseFile = [](const QString&) { return QString(); };
  }
  widgets::CGridCtrl* Grid() const { return view.Grid(); }
  QString Cell(int classIndex, int column) const { return Grid()->CellText(view.ClassGridRow(classIndex), column); }
  bool Run(const QString& op1) {
    if (!view.Start(RangeOf(op1, settings.Rules()), op1)) return false;
    return finished.wait(kWaitMs);
  }
};

QStringList VisibleHands(const widgets::CGridCtrl* grid) {
  QStringList hands;
  for (int row = 0; row < grid->rowCount(); ++row)
    if (!grid->isRowHidden(row)) hands << grid->CellText(row, CHeatmapView::kHandColumn);
  return hands;
}

QList<QByteArray> FileLines(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  QList<QByteArray> lines;
  while (!file.atEnd()) lines << file.readLine();
  return lines;
}

}  // namespace

class HeatmapViewTest : public QObject {
  Q_OBJECT

 private slots:
  void gridBeforeAnyComputation() {
    Pane pane;
    const widgets::CGridCtrl* grid = pane.Grid();
    QCOMPARE(grid->objectName(), QString("1392"));
    QCOMPARE(grid->accessibleName(), QString("Heatmap"));
    QCOMPARE(grid->columnCount(), 8);
    const QStringList headers = {"Hand", "Equity", "Wins", "Splits", "Losses", "Playability-Eq.", "Combos"};
    for (int column = 1; column <= 7; ++column)
      QCOMPARE(grid->horizontalHeaderItem(column)->text(), headers[column - 1]);
    QStringList names;
    for (const std::wstring& name : HeatmapClassNames()) names << QString::fromStdWString(name);
    QCOMPARE(VisibleHands(grid), names);
    QCOMPARE(names.first(), QString("AA"));
    QCOMPARE(names[9], QString("AKo"));
    QCOMPARE(names.last(), QString("66"));
    QCOMPARE(grid->CellBackground(pane.view.ClassGridRow(40), CHeatmapView::kEquityColumn), QColor(0xFF, 0xFF, 0xE0));
    QVERIFY(pane.Cell(0, CHeatmapView::kEquityColumn).isEmpty());
    // A screen reader reads a cell with its column's heading.
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(pane.view.Grid());
    QVERIFY(table && table->tableInterface());
    QAccessibleInterface* cell = table->tableInterface()->cellAt(pane.view.ClassGridRow(1), CHeatmapView::kHandColumn);
    QVERIFY(cell && cell->tableCellInterface());
    QCOMPARE(cell->text(QAccessible::Name), QString("AKs"));
    const auto heads = cell->tableCellInterface()->columnHeaderCells();
    QCOMPARE(heads.size(), 1);
    const QString heading = heads.first()->text(QAccessible::Name);
    // Header cells are handed out unowned: the cache takes them and lets them go.
    for (QAccessibleInterface* head : heads)
      QAccessible::deleteAccessibleInterface(QAccessible::registerAccessibleInterface(head));
    QCOMPARE(heading, QString("Hand"));
  }

  void numbersShownAreTheEngines() {
    Pane pane;
    QVERIFY(pane.Run("KK QQ AKo"));
    const auto expected = ComputeHeatmap(RangeOf("KK QQ AKo"), RangeParser(OrderingRanges{}, quillet::kRulesStandard));
    QCOMPARE(pane.view.Rows().size(), std::size_t(kClasses));
    for (int i = 0; i < kClasses; ++i) {
      const HeatmapRow& row = expected[i];
      QVERIFY(row.counted);
      QCOMPARE(pane.Cell(i, CHeatmapView::kHandColumn), QString::fromStdWString(row.hand));
      QCOMPARE(pane.Cell(i, CHeatmapView::kEquityColumn), Percent(row.equity));
      QCOMPARE(pane.Cell(i, CHeatmapView::kWinsColumn), Percent(row.wins));
      QCOMPARE(pane.Cell(i, CHeatmapView::kSplitsColumn), Percent(row.splits));
      QCOMPARE(pane.Cell(i, CHeatmapView::kLossesColumn), Percent(row.losses));
      QCOMPARE(pane.Cell(i, CHeatmapView::kPlayabilityColumn), Percent(row.equity));
      QCOMPARE(pane.Cell(i, CHeatmapView::kCombosColumn), QString::number(row.combos));
    }
    const QTableWidgetItem* combos = pane.Grid()->item(pane.view.ClassGridRow(0), CHeatmapView::kCombosColumn);
    QCOMPARE(Qt::Alignment(combos->textAlignment()), Qt::Alignment(Qt::AlignCenter));
    QCOMPARE(pane.timed.size(), 1);
    QCOMPARE(pane.timed[0].caption, QString("Heatmap is ready!"));
    QCOMPARE(pane.timed[0].timeoutMs, 20'000);
    QVERIFY2(QRegularExpression("^CPU equity calculation completed in \\d+ milliseconds\\.\n$")
                 .match(pane.timed[0].text).hasMatch(), qPrintable(pane.timed[0].text));
  }

  void equityCellsTakeTheHeatmapColours() {
    Pane pane;
    pane.settings.SetHeatmapColour(false, 0x000000);
    pane.settings.SetHeatmapColour(true, 0x00FF00);  // pure green
    QVERIFY(pane.Run("KK QQ AKo"));
    // AA against that range: about 80%, so green 255 * 0.8 is lifted to full green.
    const int aa = pane.view.ClassGridRow(0);
    QVERIFY(pane.view.Rows()[0].equity > 0.5);
    for (const int column : {CHeatmapView::kEquityColumn, CHeatmapView::kPlayabilityColumn}) {
      QCOMPARE(pane.Grid()->CellBackground(aa, column), QColor(0, 255, 0));
      QCOMPARE(pane.Grid()->item(aa, column)->foreground().color(), QColor(Qt::black));
    }
    QCOMPARE(pane.Grid()->CellBackground(aa, CHeatmapView::kWinsColumn), QColor(0xFF, 0xFF, 0xE0));
    // A new colour repaints what is shown, without a new computation.
    pane.settings.SetHeatmapColour(true, 0x0000FF);  // pure red
    QCOMPARE(pane.Grid()->CellBackground(aa, CHeatmapView::kEquityColumn), QColor(255, 0, 0));
    QCOMPARE(pane.finished.size(), 1);
  }

  // No class can miss every hand of a non-empty range (a class's combinations cannot all
  // share a card with one two-card hand), so only an empty Op1 leaves rows uncounted.
  void uncountedRowsShowOnlyTheirCombos() {
    Pane pane;
    QVERIFY(pane.Run(QString()));
    for (int i = 0; i < kClasses; ++i) {
      for (int column = CHeatmapView::kEquityColumn; column <= CHeatmapView::kPlayabilityColumn; ++column)
        QVERIFY2(pane.Cell(i, column).isEmpty(), qPrintable(pane.Cell(i, column)));
      QCOMPARE(pane.Grid()->CellBackground(pane.view.ClassGridRow(i), CHeatmapView::kEquityColumn),
               QColor(0xFF, 0xFF, 0xE0));
    }
    QCOMPARE(pane.Cell(0, CHeatmapView::kCombosColumn), QString("6"));
    QCOMPARE(pane.Cell(1, CHeatmapView::kCombosColumn), QString("4"));
    QCOMPARE(pane.Cell(9, CHeatmapView::kCombosColumn), QString("12"));
    QVERIFY(pane.Grid()->CellText(pane.view.SingularGridRow(0, 0), CHeatmapView::kEquityColumn).isEmpty());
  }

  void singularRowsOpenAndClose() {
    Pane pane;
    const widgets::CGridCtrl* grid = pane.Grid();
    QVERIFY(!pane.view.SingularShown());
    QCOMPARE(VisibleHands(grid).size(), kClasses);
    QVERIFY(pane.Run("AcKd QQ"));
    pane.view.ShowSingular(true);
    const QStringList hands = VisibleHands(grid);
    QCOMPARE(hands.size(), kClasses + 12);
    QCOMPARE(hands.mid(0, 8), QStringList({"AA", "AcAd", "AcAh", "AcAs", "AdAh", "AdAs", "AhAs", "AKs"}));
    QCOMPARE(hands.mid(16, 7), QStringList({"KK", "KcKd", "KcKh", "KcKs", "KdKh", "KdKs", "KhKs"}));
    // Each combination against the same range; AcAd can meet QQ only.
    const quillet::Spec op1 = RangeOf("AcKd QQ");
    const int acad[2] = {quillet::GetCardByName(L"Ac"), quillet::GetCardByName(L"Ad")};
    const int ahas[2] = {quillet::GetCardByName(L"Ah"), quillet::GetCardByName(L"As")};
    const double acadEquity = quillet::getProbabilityOfWinBySpectrWithNoBoard6Plus(acad, op1, 5, 0);
    const double ahasEquity = quillet::getProbabilityOfWinBySpectrWithNoBoard6Plus(ahas, op1, 5, 0);
    QVERIFY(acadEquity != ahasEquity);
    QCOMPARE(grid->CellText(pane.view.SingularGridRow(0, 0), CHeatmapView::kEquityColumn), Percent(acadEquity));
    QCOMPARE(grid->CellText(pane.view.SingularGridRow(0, 5), CHeatmapView::kEquityColumn), Percent(ahasEquity));
    QCOMPARE(grid->CellText(pane.view.SingularGridRow(1, 0), CHeatmapView::kCombosColumn), QString("1"));
    QCOMPARE(pane.view.Rows().size(), std::size_t(kClasses));
    pane.view.ShowSingular(false);
    QCOMPARE(VisibleHands(grid).size(), kClasses);
    // The mark in the narrow column opens both rows as well.
    pane.view.show();
    const QRect mark = grid->visualItemRect(grid->item(pane.view.ClassGridRow(10), 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, mark.center());
    QVERIFY(pane.view.SingularShown());
    QVERIFY(!grid->isRowHidden(pane.view.SingularGridRow(1, 5)));
  }

  void exportWritesEveryClass() {
    Pane pane;
    QTemporaryDir dir;
    const QString early = dir.filePath("early.hmp");
    pane.view.SetOp1Text("QQ+");
    QVERIFY(pane.view.SaveTo(early, nullptr));
    QCOMPARE(FileLines(early), QList<QByteArray>{"Equity Calculation for all hands vs range QQ+\r\n"});

    QVERIFY(pane.Run("KK QQ AKo"));
    QString asked;
    const QString path = dir.filePath("all.hmp");
    pane.view.chooseFile = [&](const QString& folder) {
      asked = folder;
      return path;
    };
    pane.view.Save(dir.path());
    QCOMPARE(asked, dir.path());
    const QList<QByteArray> lines = FileLines(path);
    QCOMPARE(lines.size(), kClasses + 1);
    QCOMPARE(lines[0], QByteArray("Equity Calculation for all hands vs range KK QQ AKo\r\n"));
    QVERIFY2(lines[1].startsWith("   1 \t AA \t ") && lines[1].endsWith("%\r\n"), lines[1].constData());
    QCOMPARE(lines[1], ("   1 \t AA \t " + Percent(pane.view.Rows()[0].equity) + "\r\n").toLatin1());
    QVERIFY(lines[81].startsWith("  81 \t 66 \t "));
    QCOMPARE(pane.timed.size(), 2);
    QCOMPARE(pane.timed[1].text, QString("Heatmap file is ready!"));
    QCOMPARE(pane.timed[1].caption, QString("Heatmap"));
    QCOMPARE(pane.timed[1].timeoutMs, 20'000);
    QVERIFY(pane.errors.isEmpty());
  }

  void exportFailureAndCancel() {
    Pane pane;
    QTemporaryDir dir;
    const QString bad = dir.filePath("missing/folder/x.hmp");
    QString error;
    QVERIFY(!pane.view.SaveTo(bad, &error));
    QVERIFY2(error.contains("missing/folder"), qPrintable(error));
    pane.view.chooseFile = [&](const QString&) { return bad; };
    pane.view.Save(dir.path());
    QCOMPARE(pane.errors.size(), 1);
    QVERIFY(!pane.errors[0].text.isEmpty());
    QVERIFY(pane.timed.isEmpty());
    pane.view.chooseFile = [](const QString&) { return QString(); };
    pane.view.Save(dir.path());
    QCOMPARE(pane.errors.size(), 1);
    QVERIFY(pane.timed.isEmpty());
    QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
  }

  void oneComputationAtATime() {
    Pane pane;
    QVERIFY(pane.view.Start(RangeOf("AA KK"), "AA KK"));
    QVERIFY(pane.view.IsRunning());
    QVERIFY(QApplication::overrideCursor());
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QVERIFY(!pane.view.Start(RangeOf("QQ"), "QQ"));
    QVERIFY(pane.finished.wait(kWaitMs));
    QCOMPARE(pane.view.Op1Text(), QString("AA KK"));
    QVERIFY(!pane.view.IsRunning());
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(pane.timed.size(), 1);
    QVERIFY(pane.Run("QQ"));
    QCOMPARE(pane.view.Op1Text(), QString("QQ"));
  }

  void resultOfOldRulesIsDropped() {
    Pane pane;
    pane.view.SetOp1Text("JJ");
    QVERIFY(pane.view.Start(RangeOf("KK QQ AKo"), "KK QQ AKo"));
    pane.settings.SetRules(quillet::kRulesStraightBeatsSet);
    QVERIFY(pane.finished.wait(kWaitMs));
    QVERIFY(pane.view.Rows().empty());
    QVERIFY(pane.Cell(0, CHeatmapView::kEquityColumn).isEmpty());
    QVERIFY(pane.timed.isEmpty());
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(pane.view.Op1Text(), QString("JJ"));  // the export still names what is shown
  }

  void stopEndsWithoutAResult() {
    Pane pane;
    QVERIFY(pane.view.Start(RangeOf("AA KK"), "AA KK"));
    pane.view.Stop();
    QVERIFY(pane.finished.wait(kWaitMs));
    QVERIFY(!pane.view.IsRunning());
    QVERIFY(!QApplication::overrideCursor());
    // The work may have ended before the request reached it; a result is whole or absent.
    QCOMPARE(pane.view.Rows().size(), pane.timed.isEmpty() ? std::size_t(0) : std::size_t(kClasses));
  }

  void columnWidthsKeptInTheSettings() {
    QTemporaryDir dir;
    QSettings store(dir.filePath("widths.ini"), QSettings::IniFormat);
    const std::vector<int> defaults = {18, 58, 41, 26, 39, 50, 84, 56};
    PaneSettings settings;
    std::vector<int> shown;
    {
      CHeatmapView view(&settings, CHeatmapView::MakeColumnWidths(&store));
      shown = view.Grid()->ColumnWidths();
      const QFontMetrics metrics = view.Grid()->horizontalHeader()->fontMetrics();
      for (int column = 0; column < 8; ++column) {
        // The defaults, widened where a heading would otherwise be cut.
        QVERIFY(shown[column] >= defaults[column]);
        const QString heading = view.Grid()->horizontalHeaderItem(column)->text();
        QVERIFY(metrics.horizontalAdvance(heading) <= shown[column]);
      }
      QCOMPARE(shown[0], 18);
      view.Grid()->setColumnWidth(3, 77);
      view.Refresh();  // a refresh keeps what the user set
      QCOMPARE(view.Grid()->columnWidth(3), 77);
      view.SaveColumnWidths();
    }
    for (int column = 0; column < 8; ++column)
      QCOMPARE(store.value(QString("Heatmap/ColumnWidth%1").arg(column)).toInt(), column == 3 ? 77 : shown[column]);
    store.setValue("Heatmap/ColumnWidth6", 120);
    CHeatmapView again(&settings, CHeatmapView::MakeColumnWidths(&store));
    QCOMPARE(again.Grid()->columnWidth(3), 77);
    QCOMPARE(again.Grid()->columnWidth(6), 120);
  }
};

QTEST_MAIN(HeatmapViewTest)
#include "HeatmapViewTest.moc"
