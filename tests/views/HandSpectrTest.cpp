// The hand-class matrix: layout, colours, counts and their limits, ranges, range text and
// the routing of clicks.
#include <QAbstractButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

#include "core/RangeParser.h"
#include "quillet/HandClass.h"
#include "views/HandSpectr.h"

using namespace ferrox;

namespace {

quillet::Spec Parse(const QString& text) {
  static const OrderingRanges orderings;
  const RangeParser parser(orderings, quillet::kRulesStandard);
  quillet::Spec spec;
  if (parser.ParseRange(text.toStdWString(), spec) != kParseOk) spec.clear();
  return spec;
}

// A point well inside a cell, clear of its border and its texts.
QColor FillColour(CHandSpectr& matrix, int column, int row) {
  const int w = matrix.width() / CHandSpectr::kSide, h = matrix.height() / CHandSpectr::kSide;
  return matrix.grab().toImage().pixelColor(column * w + 3, row * h + 3);
}

quillet::Spec SelectedCombos(const CHandSpectr& matrix) {
  quillet::Spec all;
  for (int row = 0; row < CHandSpectr::kSide; ++row)
    for (int column = 0; column < CHandSpectr::kSide; ++column)
      if (matrix.IsSelected(column, row)) all.AddAll(matrix.CellSpec(column, row));
  return all;
}

}  // namespace

class HandSpectrTest : public QObject {
  Q_OBJECT

 private slots:
  void cellsFollowTheMatrixLayout() {
    CHandSpectr matrix;
    QCOMPARE(matrix.size(), QSize(9 * 35, 9 * 33));
    QCOMPARE(matrix.GetLabel(0, 0), QString("AA"));
    QCOMPARE(matrix.GetLabel(1, 0), QString("AKs"));
    QCOMPARE(matrix.GetLabel(0, 1), QString("AKo"));
    QCOMPARE(matrix.GetLabel(8, 7), QString("76s"));
    QCOMPARE(matrix.GetLabel(8, 8), QString("66"));
    QCOMPARE(matrix.childAt(1 * 35 + 5, 0 * 33 + 5)->accessibleName(), QString("AKs"));
    QCOMPARE(matrix.CellSpec(1, 0).combos(), Parse("AKs").combos());
    QCOMPARE(matrix.CellSpec(0, 1).combos(), Parse("AKo").combos());
    QCOMPARE(matrix.CellSpec(2, 2).combos(), Parse("QQ").combos());
    QCOMPARE(SelectedCombos(matrix).size(), std::size_t{0});
    int total = 0;
    for (int row = 0; row < 9; ++row)
      for (int column = 0; column < 9; ++column) total += matrix.CellSpec(column, row).size();
    QCOMPARE(total, 630);
  }

  void coloursShowKindAndSelection() {
    CHandSpectr matrix;
    const QColor pair(166, 158, 244), suited(148, 205, 240), offsuit(254, 214, 187);
    const QColor selected(247, 234, 10), custom(143, 176, 40);
    QCOMPARE(FillColour(matrix, 4, 4), pair);
    QCOMPARE(FillColour(matrix, 5, 2), suited);
    QCOMPARE(FillColour(matrix, 2, 5), offsuit);
    QVERIFY(matrix.Select(5, 2, true));
    QCOMPARE(FillColour(matrix, 5, 2), selected);
    QVERIFY(matrix.SetCellColour(5, 2, custom));
    QCOMPARE(FillColour(matrix, 5, 2), custom);
    QVERIFY(matrix.RefreshColour(5, 2));
    QCOMPARE(FillColour(matrix, 5, 2), selected);
    QVERIFY(matrix.Toggle(5, 2));
    QVERIFY(!matrix.IsSelected(5, 2));
    QCOMPARE(FillColour(matrix, 5, 2), suited);
  }

  void countsStopAtTheClassSize() {
    CHandSpectr matrix;
    const QWidget* aks = matrix.childAt(1 * 35 + 5, 5);
    const auto combos = Parse("AKs").combos();
    int expected = 0;
    for (const quillet::Combo& combo : combos) {
      quillet::Spec one;
      one.AddCombo(combo.first, combo.second);
      matrix.AddRange(one);
      QCOMPARE(matrix.GetCount(1, 0), ++expected);
    }
    QCOMPARE(aks->accessibleDescription(), QString("4 combinations"));
    QTest::ignoreMessage(QtDebugMsg, "AddCountCombination col = 1 row = 0 out of range(5)\n");
    matrix.AddRange(Parse("AsKs"));
    QCOMPARE(matrix.GetCount(1, 0), 4);

    QTest::ignoreMessage(QtDebugMsg, "AddCountCombination col = 3 row = 3 out of range(7)\n");
    for (int i = 0; i < 7; ++i) matrix.AddCountCombination(3, 3);
    QCOMPARE(matrix.GetCount(3, 3), 6);
    QTest::ignoreMessage(QtDebugMsg, "AddCountCombination col = 0 row = 8 out of range(13)\n");
    for (int i = 0; i < 13; ++i) matrix.AddCountCombination(0, 8);
    QCOMPARE(matrix.GetCount(0, 8), 12);
  }

  void rangesSelectCountAndClear() {
    CHandSpectr matrix;
    matrix.ShowRange(Parse("QQ+, AKo, 76s, AsKs, AhKh"));
    QCOMPARE(matrix.GetCount(0, 0), 6);
    QCOMPARE(matrix.GetCount(0, 1), 12);
    QCOMPARE(matrix.GetCount(8, 7), 4);
    QCOMPARE(matrix.GetCount(1, 0), 2);
    QVERIFY(matrix.IsSelected(1, 0) && !matrix.IsSelected(2, 0));
    QCOMPARE(matrix.SelectedCount(), 3 * 6 + 12 + 4 + 2);

    matrix.RemoveRange(Parse("KK"));
    QVERIFY(!matrix.IsSelected(1, 1));
    QCOMPARE(matrix.GetCount(1, 1), -1);
    QCOMPARE(matrix.SelectedCount(), 2 * 6 + 12 + 4 + 2);

    // Showing another range starts from a clear matrix.
    matrix.ShowRange(Parse("98s"));
    QCOMPARE(matrix.SelectedCount(), 4);
    QVERIFY(!matrix.IsSelected(0, 0));

    matrix.ShowRange(quillet::Spec());
    for (int row = 0; row < 9; ++row)
      for (int column = 0; column < 9; ++column) {
        QVERIFY(!matrix.IsSelected(column, row));
        QCOMPARE(matrix.GetCount(column, row), -1);
      }
    QCOMPARE(matrix.childAt(1 * 35 + 5, 5)->accessibleDescription(), QString());
  }

  void cellsOutsideTheMatrixAreIgnored() {
    CHandSpectr matrix;
    QVERIFY(!matrix.Select(9, 0, true));
    QVERIFY(!matrix.Toggle(-1, 0));
    QVERIFY(!matrix.SetCount(0, 9, 3));
    QVERIFY(!matrix.AddCountCombination(9, 9));
    QVERIFY(!matrix.SetCellColour(0, -1, Qt::red));
    QVERIFY(!matrix.RefreshColour(10, 2));
    QVERIFY(!matrix.IsSelected(-1, -1));
    QCOMPARE(matrix.GetCount(9, 0), 0);
    QCOMPARE(matrix.GetLabel(0, 9), QString());
    QVERIFY(matrix.CellSpec(9, 0).empty());
    QCOMPARE(matrix.SelectedCount(), 0);
  }

  void textOfAdjacentPairsIsOneRun() {
    CHandSpectr matrix;
    matrix.ShowRange(Parse("99, 88, 77"));
    const QString text = matrix.MakeText();
    QCOMPARE(text.split(',').size(), 1);
    QCOMPARE(Parse(text).combos(), Parse("99, 88, 77").combos());
    QCOMPARE(matrix.RangeText(), text);
  }

  // A run from the diagonal (from AA for pairs) is open-ended, any other spans its ends.
  void runsAreWrittenInTheirShortestForm_data() {
    QTest::addColumn<QString>("range");
    QTest::addColumn<QString>("text");
    QTest::newRow("pairs from AA") << "AA, KK, QQ" << "QQ+";
    QTest::newRow("pairs inside") << "99, 88, 77" << "99-77";
    QTest::newRow("suited from the diagonal") << "AKs, AQs" << "AQs+";
    QTest::newRow("suited inside") << "K9s, K8s" << "K9s-K8s";
    QTest::newRow("offsuit from the diagonal") << "KQo, KJo, KTo" << "KTo+";
    QTest::newRow("single") << "A9s" << "A9s";
  }
  void runsAreWrittenInTheirShortestForm() {
    QFETCH(QString, range);
    QFETCH(QString, text);
    CHandSpectr matrix;
    matrix.ShowRange(Parse(range));
    QCOMPARE(matrix.MakeText(), text);
  }

  void textListsPairsThenSuitedThenOffsuitRuns() {
    CHandSpectr matrix;
    matrix.ShowRange(Parse("AA, KK, 77, AKs, AQs, AJs, A9s, KQo, KJo, 76o"));
    const QStringList tokens = matrix.MakeText().split(',');
    QCOMPARE(tokens.size(), 6);  // AA-KK, 77 | AKs-AJs, A9s | KQo-KJo, 76o
    QVERIFY(!tokens[0].contains('s') && !tokens[1].contains('s'));
    QVERIFY(tokens[2].contains('s') && tokens[3].contains('s'));
    QVERIFY(tokens[4].contains('o') && tokens[5].contains('o'));
    QCOMPARE(Parse(tokens.join(',')).combos(), SelectedCombos(matrix).combos());

    matrix.ClearAll();
    QCOMPARE(matrix.MakeText(), QString());
  }

  void textParsesBackToTheSelection() {
    CHandSpectr matrix;
    QRandomGenerator random(20240611);
    for (int round = 0; round < 40; ++round) {
      matrix.ClearAll();
      const int share = round % 2 ? 30 : 70;
      for (int row = 0; row < 9; ++row)
        for (int column = 0; column < 9; ++column)
          if (int(random.bounded(100)) < share) matrix.Select(column, row, true);
      const QString text = matrix.MakeText();
      QCOMPARE(Parse(text).combos(), SelectedCombos(matrix).combos());
    }
  }

  void clicksGoToTheCellUnderThePress() {
    CHandSpectr matrix;
    matrix.show();
    QSignalSpy left(&matrix, &CHandSpectr::cellClicked);
    QSignalSpy right(&matrix, &CHandSpectr::cellRightClicked);
    QTest::mouseClick(&matrix, Qt::LeftButton, {}, QPoint(34, 32));
    QTest::mouseClick(&matrix, Qt::LeftButton, {}, QPoint(35, 0));  // a boundary: right cell
    QTest::mouseClick(&matrix, Qt::LeftButton, {}, QPoint(35, 33));
    QTest::mouseClick(&matrix, Qt::RightButton, {}, QPoint(9 * 35 - 1, 9 * 33 - 1));
    QCOMPARE(left.size(), 3);
    QCOMPARE(left[0], (QList<QVariant>{0, 0}));
    QCOMPARE(left[1], (QList<QVariant>{1, 0}));
    QCOMPARE(left[2], (QList<QVariant>{1, 1}));
    QCOMPARE(right.size(), 1);
    QCOMPARE(right[0], (QList<QVariant>{8, 8}));

    // A press on a cell reaches the matrix; the click alone selects nothing.
    QWidget* cell = matrix.childAt(2 * 35 + 5, 3 * 33 + 5);
    QTest::mouseClick(cell, Qt::LeftButton, {}, QPoint(0, 0));
    QCOMPARE(left.last(), (QList<QVariant>{2, 3}));
    qobject_cast<QAbstractButton*>(cell)->click();
    QCOMPARE(left.size(), 5);
    QCOMPARE(left.last(), (QList<QVariant>{2, 3}));
    QVERIFY(!matrix.IsSelected(2, 3));
  }

  void resizedMatrixRoutesByItsNewCellSize() {
    CHandSpectr matrix;
    matrix.resize(9 * 20 + 5, 9 * 20 + 5);
    matrix.show();
    QSignalSpy left(&matrix, &CHandSpectr::cellClicked);
    QTest::mouseClick(&matrix, Qt::LeftButton, {}, QPoint(40, 179));
    QCOMPARE(left.size(), 1);
    QCOMPARE(left[0], (QList<QVariant>{2, 8}));
    QCOMPARE(matrix.childAt(45, 175), matrix.childAt(41, 161));
    // The strip the division leaves over belongs to no cell.
    QTest::mouseClick(&matrix, Qt::LeftButton, {}, QPoint(182, 10));
    QCOMPARE(left.size(), 1);
  }
};

int RunHandSpectrTest(int argc, char** argv) {
  HandSpectrTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "HandSpectrTest.moc"
