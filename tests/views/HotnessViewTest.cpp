// The hotness pane: the placeholder before any evaluation, what a computed table shows
// (rows, order, texts, colours, caption, labels, the mark of a sampled one), replacement by
// the next result, and the column widths kept in the settings.
#include <QAccessible>
#include <QHeaderView>
#include <QLabel>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <map>

#include "core/Orderings.h"
#include "core/RangeParser.h"
#include "engine/Hotness.h"
#include "engine/RequestValidation.h"
#include "quillet/Evaluator.h"
#include "tests/views/ViewsTestSupport.h"
#include "views/HotnessView.h"
#include "widgets/GridCtrl.h"

using namespace ferrox;
using ferrox::testing::Card;
using Grid = widgets::CGridCtrl;

namespace {

constexpr int kTestRuns = 2000;  // enough for a sampled table
const QColor kOdd(167, 246, 169);
const QColor kEven(205, 246, 226);

std::vector<CardMask> Hands(const char* text) {
  quillet::Spec spec;
  const RangeParser parser(OrderingsNextToProgram(), quillet::kRulesStandard);
  if (parser.ParseRange(QString(text).toStdWString(), spec) != kParseOk) return {};
  return HandList(spec);
}

// exactSecondsLimit 0: sampled.
HotnessResult Compute(const char* hero, const char* op1, std::initializer_list<const char*> boardNames,
                      double exactSecondsLimit = kHotnessExactSecondsLimit) {
  std::vector<CardIndex> board;
  for (const char* name : boardNames) board.push_back(Card(name));
  return ComputeHotness(Hands(hero), Hands(op1), board, 0, quillet::kRulesStandard, QString(hero).toStdWString(),
                        QString(op1).toStdWString(), kTestRuns, 11, nullptr, 1, exactSecondsLimit);
}

// Every short-deck card name but the board's, written out rather than taken from the deck table.
QStringList CardsLeft(const QStringList& board) {
  QStringList left;
  for (QChar rank : QStringLiteral("6789TJQKA"))
    for (QChar suit : QStringLiteral("cdhs"))
      if (!board.contains(QString(rank) + suit)) left << QString(rank) + suit;
  left.sort();
  return left;
}

QStringList Column(const Grid* grid, int column) {
  QStringList texts;
  for (int row = 0; row < grid->rowCount(); ++row) texts << grid->CellText(row, column);
  return texts;
}

// Equity by card name; also checks the texts and the order best first.
std::map<QString, double> CheckTable(const Grid* grid, const QStringList& board) {
  std::map<QString, double> equities;
  double previous = 101;
  for (int row = 0; row < grid->rowCount(); ++row) {
    const QString text = grid->CellText(row, 3);
    if (!QRegularExpression(QStringLiteral("^\\d{1,3}\\.\\d\\d$")).match(text).hasMatch()) {
      qWarning() << "equity text" << text;
      return {};
    }
    const double equity = text.toDouble();
    if (equity > previous) {
      qWarning() << "not best first at row" << row + 1;
      return {};
    }
    previous = equity;
    equities[grid->CellText(row, 2)] = equity;
  }
  QStringList cards = Column(grid, 2);
  cards.sort();
  if (cards != CardsLeft(board)) {
    qWarning() << "cards shown" << cards;
    return {};
  }
  return equities;
}

void CheckRowLook(const Grid* grid) {
  for (int row = 0; row < grid->rowCount(); ++row) {
    QCOMPARE(grid->CellText(row, 0), QString());
    QVERIFY(!(grid->item(row, 0)->flags() & (Qt::ItemIsEditable | Qt::ItemIsSelectable)));
    QCOMPARE(grid->CellText(row, 1), QString::number(row + 1));
    for (int column = 1; column <= 3; ++column) {
      QCOMPARE(grid->CellBackground(row, column), row % 2 == 0 ? kOdd : kEven);
      QCOMPARE(Qt::Alignment(grid->item(row, column)->textAlignment()), Qt::Alignment(Qt::AlignCenter));
    }
  }
}

QString AccessibleName(QWidget* widget) {
  return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

}  // namespace

class HotnessViewTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    if (!quillet::fsm5::IsLoaded()) QVERIFY(quillet::fsm5::load_fsm5() && quillet::fsm5::load_fsm7());
  }

  void placeholderBeforeAnyEvaluation() {
    CHotnessView view(CHotnessView::HeroColumnWidths(nullptr), CHotnessView::Op1ColumnWidths(nullptr));
    view.show();
    QCOMPARE(view.HeroGrid()->objectName(), QStringLiteral("1394"));
    QCOMPARE(view.Op1Grid()->objectName(), QStringLiteral("1393"));
    QCOMPARE(view.HeroLabel()->objectName(), QStringLiteral("1395"));
    QCOMPARE(view.Op1Label()->objectName(), QStringLiteral("1396"));
    QVERIFY(view.HeroGrid()->geometry().right() < view.Op1Grid()->geometry().left());
    QVERIFY(view.HeroLabel()->geometry().bottom() < view.HeroGrid()->geometry().top());
    QCOMPARE(view.HeroLabel()->text(), QString());
    QCOMPARE(view.Caption(), QString());
    QCOMPARE(AccessibleName(view.HeroGrid()), QStringLiteral("Hero hotness"));
    QCOMPARE(AccessibleName(view.Op1Grid()), QStringLiteral("Op1 hotness"));

    for (Grid* grid : {view.HeroGrid(), view.Op1Grid()}) {
      QCOMPARE(grid->rowCount(), 36);
      QCOMPARE(grid->columnCount(), 4);
      QCOMPARE(grid->horizontalHeaderItem(1)->text(), QStringLiteral("\u2116"));
      QCOMPARE(grid->horizontalHeaderItem(2)->text(), QStringLiteral("Card"));
      QCOMPARE(grid->horizontalHeaderItem(3)->text(), QStringLiteral("Equity(%)"));
      QCOMPARE(grid->horizontalHeader()->height(), 30);
      QCOMPARE(grid->CellText(0, 2), QStringLiteral("6c"));
      QCOMPARE(grid->CellText(35, 2), QStringLiteral("As"));
      CheckRowLook(grid);
    }
    QCOMPARE(view.HeroGrid()->CellText(0, 3), QStringLiteral("50.00"));
    QCOMPARE(view.HeroGrid()->CellText(35, 3), QStringLiteral("85.00"));
    QCOMPARE(view.Op1Grid()->CellText(35, 3), QStringLiteral("15.00"));
  }

  void showsAComputedFlopTable() {
    CHotnessView view(CHotnessView::HeroColumnWidths(nullptr), CHotnessView::Op1ColumnWidths(nullptr));
    QSignalSpy captions(&view, &CHotnessView::captionChanged);
    QVERIFY(!Hands("20%").empty());
    view.ShowResult(Compute("AA,KK", "20%", {"Js", "Ts", "6c"}));

    const QString caption = QStringLiteral("Equity at next board card on flop: Js Ts 6c");
    QCOMPARE(view.Caption(), caption);
    QCOMPARE(captions.size(), 1);
    QCOMPARE(captions[0][0].toString(), caption);
    QCOMPARE(view.HeroLabel()->text(), QStringLiteral("Hero range: AA,KK"));
    QCOMPARE(view.Op1Label()->text(), QStringLiteral("Op1 range: 20%"));
    QCOMPARE(AccessibleName(view.Op1Label()), QStringLiteral("Op1 range: 20%"));

    const QStringList board{"Js", "Ts", "6c"};
    QCOMPARE(view.HeroGrid()->rowCount(), 33);
    QCOMPARE(view.Op1Grid()->rowCount(), 33);
    const auto hero = CheckTable(view.HeroGrid(), board);
    const auto op1 = CheckTable(view.Op1Grid(), board);
    QCOMPARE(hero.size(), std::size_t{33});
    QCOMPARE(op1.size(), std::size_t{33});
    for (const auto& [card, equity] : hero) QVERIFY2(qAbs(equity + op1.at(card) - 100) < 0.011, qPrintable(card));
    // Each grid goes by its own player: the Hero's best card is Op1's worst.
    QCOMPARE(op1.at(view.HeroGrid()->CellText(0, 2)), view.Op1Grid()->CellText(32, 3).toDouble());
    CheckRowLook(view.HeroGrid());
    CheckRowLook(view.Op1Grid());
  }

  void nextResultReplacesTheTable() {
    CHotnessView view(CHotnessView::HeroColumnWidths(nullptr), CHotnessView::Op1ColumnWidths(nullptr));
    // A sampled table marks its equities as the street results mark theirs.
    view.ShowResult(Compute("AA,KK", "20%", {"Js", "Ts", "6c"}, 0.0));
    const QRegularExpression sampled(QStringLiteral("^\u2248\\d{1,3}\\.\\d\\d$"));
    for (Grid* grid : {view.HeroGrid(), view.Op1Grid()})
      for (int row = 0; row < grid->rowCount(); ++row)
        QVERIFY2(sampled.match(grid->CellText(row, 3)).hasMatch(), qPrintable(grid->CellText(row, 3)));
    // The next, counted exactly, drops the marks (CheckTable reads plain numbers).
    view.ShowResult(Compute("QQ", "AKs,JJ", {"Js", "Ts", "6c", "7d"}));

    QCOMPARE(view.Caption(), QStringLiteral("Equity at next board card on turn: Js Ts 6c 7d"));
    QCOMPARE(view.HeroLabel()->text(), QStringLiteral("Hero range: QQ"));
    const QStringList board{"Js", "Ts", "6c", "7d"};
    for (Grid* grid : {view.HeroGrid(), view.Op1Grid()}) {
      QCOMPARE(grid->rowCount(), 32);
      QCOMPARE(CheckTable(grid, board).size(), std::size_t{32});
      CheckRowLook(grid);
    }
  }

  void columnWidthsKeptInTheSettings() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString file = folder.filePath("Ferrox6Plus.ini");
    {
      QSettings store(file, QSettings::IniFormat);
      CHotnessView view(CHotnessView::HeroColumnWidths(&store), CHotnessView::Op1ColumnWidths(&store));
      QCOMPARE(view.HeroGrid()->ColumnWidths(), (std::vector<int>{18, 50, 77, 95}));
      QCOMPARE(view.Op1Grid()->ColumnWidths(), (std::vector<int>{18, 50, 77, 95}));
      view.HeroGrid()->setColumnWidth(2, 120);
      view.Op1Grid()->setColumnWidth(3, 110);
      view.SaveColumnWidths();
    }
    QSettings store(file, QSettings::IniFormat);
    QCOMPARE(store.value("Hotness/HeroColumnWidth2").toInt(), 120);
    QCOMPARE(store.value("Hotness/HeroColumnWidth3").toInt(), 95);
    QCOMPARE(store.value("Hotness/Op1ColumnWidth3").toInt(), 110);
    CHotnessView view(CHotnessView::HeroColumnWidths(&store), CHotnessView::Op1ColumnWidths(&store));
    QCOMPARE(view.HeroGrid()->ColumnWidths(), (std::vector<int>{18, 50, 120, 95}));
    QCOMPARE(view.Op1Grid()->ColumnWidths(), (std::vector<int>{18, 50, 77, 110}));

    // Read again at each fill, so a width stored meanwhile wins over the one on screen.
    store.setValue("Hotness/Op1ColumnWidth1", 44);
    view.ShowResult(HotnessPlaceholder());
    QCOMPARE(view.Op1Grid()->columnWidth(1), 44);
  }
};

QTEST_MAIN(HotnessViewTest)
#include "HotnessViewTest.moc"
