// The street evaluation form: what each cell shows, the run count's bounds, and the job
// behind it: refused twice, stopped, and never showing a result for changed inputs.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include "engine/StreetEvaluation.h"
#include "model/HandsModel.h"
#include "quillet/HandClass.h"
#include "quillet/PreflopTables.h"
#include "tests/views/ViewsTestSupport.h"
#include "views/EvaluateView.h"

using namespace ferrox;
using ferrox::testing::Card;

namespace {

constexpr int kPatienceMs = 120'000;

// The form with its model; message boxes are recorded instead of shown.
struct Form {
  CalculatorDocument document;
  PaneSettings settings;
  HandsModel hands{document, settings};
  CEvaluateView view{&hands, &settings};
  QStringList messages, notices, output;
  QSignalSpy finished{&view, &CEvaluateView::finished};

  Form() {
    OrderingRanges orderings;
    orderings.standard.SetOrdering(quillet::AllClassesInMatrixOrder());
    orderings.straightBeatsSet.SetOrdering(quillet::AllClassesInMatrixOrder());
    settings.SetOrderings(orderings);
    view.showMessage = [this](const QString& text, const QString&, bool) { messages << text; };
    view.showNotice = [this](const QString& text) { notices << text; };
    QObject::connect(&view, &CEvaluateView::outputLine, &view, [this](const QString& line) { output << line; });
    view.show();
  }

  void Players(std::initializer_list<const char*> texts) {
    int row = 0;
    for (const char* text : texts) hands.SetText(row++, text);
  }
  void Board(std::initializer_list<const char*> names) {
    for (const char* name : names) QVERIFY(document.AppendBoardCard(Card(name)));
  }
  void Runs(const QString& text) {
    QLineEdit* runs = view.findChild<QLineEdit*>(QString::number(CEvaluateView::kRunsId));
    runs->selectAll();
    QTest::keyClicks(runs, text);
  }
  // Evaluates and waits for the job; true when it was accepted.
  bool EvaluateAndWait() {
    const int before = static_cast<int>(finished.size());
    if (!view.Evaluate()) return false;
    return QTest::qWaitFor([&] { return finished.size() > before; }, kPatienceMs);
  }
  QString Text(int street, int column) const { return view.Cell(street, column)->text(); }
  // What the engine gives for the same request: the CLI prints these numbers too.
  StreetEvaluation Expected() {
    const BuiltRequest built = hands.BuildRequest();
    StreetSettings streets;
    streets.enumerate = true;
    streets.rules = settings.Rules();
    return EvaluateStreets(built.specs, built.request, built.board, streets);
  }
};

class EvaluateViewTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(quillet::fsm5::load_2_index());
    for (int target : {5, 4, 3})
      for (int rules : {0, 1}) QVERIFY(quillet::fsm5::load_2(target, rules, 0));
  }

  void everyStreetAheadIsShownAndOpponentsBeyondTheCountStayEmpty() {
    Form form;
    form.Players({"AA,KK", "QQ,JJ", "AKs"});
    form.Board({"Ah", "7c", "6d"});
    QVERIFY(form.EvaluateAndWait());
    const StreetEvaluation expected = form.Expected();
    for (int street = 0; street < 3; ++street) {
      for (int column = 0; column < 3; ++column)
        QCOMPARE(form.Text(street, column), QString::fromStdWString(StreetCellText(expected.tasks[street], column)));
      for (int column = 3; column < 6; ++column) QVERIFY(form.Text(street, column).isEmpty());
    }
    QVERIFY(form.Text(2, 0).endsWith('%'));
    QCOMPARE(form.view.Cell(0, 1)->toolTip(),
             QStringLiteral("Exact: %1 games counted").arg(expected.tasks[0].games));
    QCOMPARE(form.output.size(), 1);
    QVERIFY(form.output.front().contains("river games time ="));
  }

  void streetsTheBoardHasPassedShowNone() {
    Form form;
    form.Players({"AA", "KK"});
    form.Board({"Qh", "7c", "6d", "8s"});
    QVERIFY(form.EvaluateAndWait());
    QCOMPARE(form.Text(2, 0), QString("none"));
    QCOMPARE(form.Text(2, 1), QString("none"));
    QVERIFY(form.Text(2, 2).isEmpty());
    QVERIFY(form.Text(1, 0).endsWith('%'));
    form.Board({"9s"});
    QVERIFY(form.EvaluateAndWait());
    QCOMPARE(form.Text(1, 0), QString("none"));
    QVERIFY(form.Text(0, 0).endsWith('%'));
  }

  void theRunCountIsCheckedBeforeAnythingRuns() {
    Form form;
    form.Players({"AA", "KK"});
    form.Runs("999");
    QVERIFY(!form.view.Evaluate());
    QCOMPARE(form.messages.size(), 1);
    QVERIFY(form.messages.front().contains("1000"));
    QCOMPARE(form.settings.Runs(), 10'000);
    form.Runs("ten");
    QVERIFY(!form.view.Evaluate());
    form.Runs("1000000001");
    QVERIFY(!form.view.Evaluate());
    QCOMPARE(form.messages.size(), 3);
    form.Runs("1000");
    QVERIFY(form.EvaluateAndWait());
    QCOMPARE(form.settings.Runs(), 1000);
  }

  void aRefusedRequestSaysWhyAndLeavesTheCellsEmpty() {
    Form form;
    form.Players({"AA", "ZZ"});
    QVERIFY(!form.view.Evaluate());
    QCOMPARE(form.messages.size(), 1);
    // The message as it always was, then why on a line of its own.
    QCOMPARE(form.messages.front().section('\n', 0, 0), QString("Error in Op1 ZZ"));
    QVERIFY2(form.messages.front().section('\n', 1).contains("'ZZ'"), qPrintable(form.messages.front()));
    QVERIFY(form.Text(0, 0).isEmpty());
    form.Players({"", "KK"});
    form.messages.clear();
    QVERIFY(!form.view.Evaluate());
    QCOMPARE(form.messages.size(), 1);
    QCOMPARE(form.messages.front().section('\n', 0, 0), QString("Bad Hero range!"));
    QVERIFY2(form.messages.front().section('\n', 1).contains("empty"), qPrintable(form.messages.front()));
  }

  void theTwoModesSwapTogether() {
    Form form;
    auto* enumerate = form.view.findChild<QCheckBox*>(QString::number(CEvaluateView::kEnumerateId));
    auto* monteCarlo = form.view.findChild<QCheckBox*>(QString::number(CEvaluateView::kMonteCarloId));
    QVERIFY(enumerate->isChecked() && !monteCarlo->isChecked());
    QTest::mouseClick(monteCarlo, Qt::LeftButton);
    QVERIFY(!form.settings.Enumerate());
    QVERIFY(!enumerate->isChecked() && monteCarlo->isChecked());
    QTest::mouseClick(monteCarlo, Qt::LeftButton);
    QVERIFY(form.settings.Enumerate());
    QVERIFY(enumerate->isChecked() && !monteCarlo->isChecked());
  }

  void aLongEvaluationShowsProgressRefusesASecondAndStops() {
    Form form;
    form.settings.SetEnumerate(false);
    form.Runs("1000000000");
    form.Players({"22+,A6s+", "22+,K6s+", "22+,Q6s+", "A6o+", "K6o+", "QJo"});
    QVERIFY(form.view.Evaluate());
    QVERIFY(form.view.IsRunning());
    QVERIFY(QApplication::overrideCursor());
    QVERIFY2(!form.view.Evaluate(), "one evaluation at a time");
    QVERIFY(!form.view.findChild<QPushButton*>(QString::number(CEvaluateView::kEvaluateId))->isEnabled());
    auto* progress = form.view.findChild<QProgressBar*>("progress");
    QTRY_VERIFY_WITH_TIMEOUT(progress->isVisible(), kPatienceMs);
    QTest::keyClick(&form.view, Qt::Key_Escape);
    QTRY_VERIFY_WITH_TIMEOUT(!form.view.IsRunning(), kPatienceMs);
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(!progress->isVisible());
    for (int column = 0; column < 6; ++column) QVERIFY(form.Text(0, column).isEmpty());
    QVERIFY(form.output.back().contains("stopped"));
    QVERIFY(form.view.findChild<QPushButton*>(QString::number(CEvaluateView::kEvaluateId))->isEnabled());
  }

  void aResultForChangedInputsIsNotShown() {
    for (int change = 0; change < 3; ++change) {
      Form form;
      form.Players({"AA,KK", "QQ,JJ"});
      form.Board({"Ah", "7c", "6d"});
      QVERIFY(form.view.Evaluate());
      // Changed before the job can possibly be collected: collecting happens on this thread.
      if (change == 0) form.Board({"8s"});
      if (change == 1) form.hands.SetText(1, "QQ");
      if (change == 2) form.settings.SetRules(quillet::kRulesStraightBeatsSet);
      QTRY_VERIFY_WITH_TIMEOUT(!form.view.IsRunning(), kPatienceMs);
      for (int column = 0; column < 2; ++column) QVERIFY(form.Text(0, column).isEmpty());
      QVERIFY(form.output.back().contains("changed"));
    }
  }

  void enumerationTooLargeGivesWayToSamplingForThisEvaluationOnly() {
    Form form;
    form.Runs("1000");
    form.Players({"22+,A6+,K6+,Q6+", "22+,A6+,K6+,Q6+", "22+,A6+,K6+,Q6+", "22+,A6+,K6+,Q6+"});
    QVERIFY(form.EvaluateAndWait());
    QCOMPARE(form.notices.size(), 1);
    QVERIFY(form.notices.front().startsWith("Calculation time will be very long!"));
    QVERIFY(form.settings.Enumerate());
    QVERIFY(form.Text(0, 0).endsWith('%'));
    // The sampled figures say how far they may be off, with the games each street played:
    // at least the runs, then on to the fallback's target or time limit.
    const QRegularExpression tip("^Monte-Carlo: (\\d+) games, standard error \\d+\\.\\d\\d%$");
    const QRegularExpressionMatch match = tip.match(form.view.Cell(0, 2)->toolTip());
    QVERIFY2(match.hasMatch(), qPrintable(form.view.Cell(0, 2)->toolTip()));
    QVERIFY(match.captured(1).toLongLong() >= 1000);
    QVERIFY(form.view.Cell(0, 4)->toolTip().isEmpty());
    // The Output pane: the time taken, then what the sampling reached.
    QCOMPARE(form.output.size(), 2);
    QVERIFY(form.output.front().contains(" river games time = "));
    QVERIFY(form.output.back().startsWith("Monte-Carlo until standard error under 0.10% or 2 s: "));
    QVERIFY(form.output.back().endsWith(" reached\n"));
  }

  void hotnessComesWithTheEvaluationWhenItApplies() {
    Form form;
    QSignalSpy hotness(&form.view, &CEvaluateView::hotnessReady);
    form.Players({"AA,KK", "QQ"});
    form.Board({"Ah", "7c", "6d"});
    QVERIFY(form.EvaluateAndWait());
    QCOMPARE(hotness.size(), 0);  // the option is off
    form.settings.SetHotnessCalc(true);
    QVERIFY(form.EvaluateAndWait());
    QCOMPARE(hotness.size(), 1);
    form.Players({"AA,KK", "QQ", "JJ"});
    QVERIFY(form.EvaluateAndWait());
    QCOMPARE(hotness.size(), 1);  // two opponents: no hotness
  }
};

}  // namespace

QTEST_MAIN(EvaluateViewTest)
#include "EvaluateViewTest.moc"
