// The analysis panes as a player drives them in the assembled program, with real clicks and
// keys: the hotness table against the one opponent, the heatmap export's header, the
// chart's Stop and Esc and its output lines, the reasons in the refusal boxes, and the
// marks of sampled results.
#include <QCheckBox>
#include <QClipboard>
#include <QDockWidget>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>
#include <fcntl.h>
#include <functional>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

#include "views/CommandIds.h"
#include "app/MainFrame.h"
#include "app/OutputWnd.h"
#include "model/ChartDoc.h"
#include "model/FerroxDoc.h"
#include "model/HandsModel.h"
#include "model/PaneSettings.h"
#include "tests/app/AppTestSupport.h"
#include "tests/views/ViewsTestSupport.h"
#include "views/CardButton.h"
#include "views/CardsView.h"
#include "views/ChartView.h"
#include "views/EvaluateView.h"
#include "views/HandsView.h"
#include "views/HeatmapView.h"
#include "views/HotnessView.h"
#include "views/RangeEdit.h"
#include "widgets/GridCtrl.h"
#include "widgets/RibbonBar.h"
#include "widgets/RibbonCategory.h"
#include "widgets/RibbonPanel.h"

namespace ferrox::testing {
namespace {

using namespace cmd;

constexpr int kPatienceMs = 120'000;
const QString kSampledMark = QString(QChar(0x2248));

// Answers the next file dialog that opens with `path`, and reports its title and folder.
void AnswerNextFileDialog(const QString& path, QString* title, QString* folder) {
  QTimer::singleShot(50, [=] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* dialog = qobject_cast<QFileDialog*>(w); dialog && dialog->isVisible()) {
        *title = dialog->windowTitle();
        *folder = dialog->directory().absolutePath();
        // Typed into the name box and confirmed, as a user does.
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        name->setText(path);
        QTest::keyClick(name, Qt::Key_Return);
        return;
      }
    AnswerNextFileDialog(path, title, folder);  // not open yet: look again
  });
}

// The program in a temporary home, driven through its own window.
struct Program {
  QTemporaryDir home;
  std::unique_ptr<CFerroxApp> app;
  CMainFrame* frame = nullptr;

  // prepare puts what the test needs into the home before the program starts.
  explicit Program(const std::function<void(const std::filesystem::path&)>& prepare = {}) {
    if (prepare) prepare(HomeOf(home));
    app = StartApp(HomeOf(home));
    frame = app ? app->MainFrame() : nullptr;
  }

  ~Program() {
    if (app) app->ExitInstance();
  }

  template <class View>
  View* PaneView(int id) const {
    return qobject_cast<View*>(frame->Pane(id)->widget());
  }
  CEvaluateView* Evaluation() const { return PaneView<CEvaluateView>(ID_VIEW_EVALUATIONVIEW); }
  CHotnessView* Hotness() const { return PaneView<CHotnessView>(ID_HOTNESS_VIEW); }

  // Types over a Hands row's text, as a player does.
  void Type(int row, const QString& text) const {
    CRangeEdit* box = frame->HandsView()->RangeBox(row);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
  }
  void ClickBoard(std::initializer_list<const char*> cards) const {
    auto* panel = PaneView<CCardsView>(ID_VIEW_CARDSVIEW);
    for (const char* card : cards) QTest::mouseClick(panel->Button(Card(card)), Qt::LeftButton);
  }
  void ClickApply(int row) const {
    QTest::mouseClick(frame->HandsView()->findChild<QAbstractButton*>(QString::number(CHandsView::ApplyId(row))),
                      Qt::LeftButton);
  }
  QAbstractButton* EvaluationButton(int id) const {
    return Evaluation()->findChild<QAbstractButton*>(QString::number(id));
  }
  // Evaluates and waits for the end of the evaluation.
  bool EvaluateToEnd() const {
    QTest::mouseClick(EvaluationButton(CEvaluateView::kEvaluateId), Qt::LeftButton);
    return QTest::qWaitFor([this] { return !Evaluation()->IsRunning(); }, kPatienceMs);
  }
  // The ribbon's element of a command, on its category brought forward.
  QWidget* RibbonElement(int id) const {
    const QString name = frame->Action(id)->objectName();
    widgets::RibbonBar* ribbon = frame->Ribbon();
    for (int index = 0; index < ribbon->categoryCount(); ++index)
      for (widgets::RibbonPanel* panel : ribbon->category(index)->panels())
        for (QWidget* element : panel->elements())
          if (element->objectName() == name) {
            ribbon->setCurrentCategory(index);
            return element;
          }
    return nullptr;
  }
  void ClickRibbon(int id) const { QTest::mouseClick(RibbonElement(id), Qt::LeftButton); }
  QStringList OutputLines() const {
    QStringList lines;
    QListWidget* build = frame->Output()->BuildList();
    for (int row = 0; row < build->count(); ++row) lines << build->item(row)->text();
    return lines;
  }
};

QStringList FileLines(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromLatin1(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

// "Monte-Carlo: 10000 games, standard error 0.31%": the games and the error in percent.
std::pair<long long, double> SampledFigures(const QString& toolTip) {
  static const QRegularExpression figures(QStringLiteral("^Monte-Carlo: (\\d+) games, standard error (\\d+\\.\\d\\d)%$"));
  const QRegularExpressionMatch match = figures.match(toolTip);
  if (!match.hasMatch()) return {-1, -1};
  return {match.captured(1).toLongLong(), match.captured(2).toDouble()};
}

// Ctrl+C (or another key of the frame's Copy) pressed where the focus is; what it copied.
QString CopiedBy(Qt::Key key = Qt::Key_C) {
  QApplication::clipboard()->setText(QStringLiteral("nothing copied"));
  QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier);
  return QApplication::clipboard()->text();
}

// The lines a spreadsheet reads from a grid's rows, written out from its cells: the
// headings of columns 1 on, then each row's cells.
QString GridLines(const widgets::CGridCtrl* grid, const QList<int>& rows) {
  QStringList lines, headings;
  for (int column = 1; column < grid->columnCount(); ++column)
    headings << grid->horizontalHeaderItem(column)->text();
  lines << headings.join('\t');
  for (int row : rows) {
    QStringList cells;
    for (int column = 1; column < grid->columnCount(); ++column) cells << grid->CellText(row, column);
    lines << cells.join('\t');
  }
  return lines.join('\n') + '\n';
}

// 10000 as "10,000".
QString Grouped(long long count) {
  QString digits = QString::number(count);
  for (int at = int(digits.size()) - 3; at > 0; at -= 3) digits.insert(at, QLatin1Char(','));
  return digits;
}

class AnalysisFlowTest : public QObject {
  Q_OBJECT

 private slots:
  void theHotnessTableIsAgainstTheOneOpponentInWhicheverRow() {
    Program p;
    QVERIFY(p.frame);
    p.ClickRibbon(ID_HOTNESS_CALC);
    QVERIFY(p.app->Panes().HotnessCalc());
    p.Type(0, "AA,KK");
    p.Type(3, "QQ,JJ");
    p.ClickBoard({"Js", "Ts", "6c"});
    QVERIFY(p.EvaluateToEnd());

    CHotnessView* hotness = p.Hotness();
    QCOMPARE(hotness->Op1Label()->text(), QString("Op3 range: QQ,JJ"));
    QCOMPARE(hotness->HeroLabel()->text(), QString("Hero range: AA,KK"));
    QCOMPARE(hotness->Op1Grid()->accessibleName(), QString("Op3 hotness"));
    QCOMPARE(p.frame->Pane(ID_HOTNESS_VIEW)->windowTitle(), QString("Equity at next board card on flop: Js Ts 6c"));
    // Every card but the flop's 3 for both players, and the two equities of a card make 100.
    const widgets::CGridCtrl* hero = hotness->HeroGrid();
    const widgets::CGridCtrl* opponent = hotness->Op1Grid();
    QCOMPARE(hero->rowCount(), 33);
    QCOMPARE(opponent->rowCount(), 33);
    std::map<QString, double> heroEquity;
    for (int row = 0; row < hero->rowCount(); ++row) heroEquity[hero->CellText(row, 2)] = hero->CellText(row, 3).toDouble();
    for (int row = 0; row < opponent->rowCount(); ++row) {
      const QString card = opponent->CellText(row, 2);
      QVERIFY2(heroEquity.count(card), qPrintable(card));
      QVERIFY(std::abs(heroEquity[card] + opponent->CellText(row, 3).toDouble() - 100.0) < 0.011);
    }

    // Back to Op1: the table follows the row again.
    p.Type(3, "");
    p.Type(1, "QQ");
    QVERIFY(p.EvaluateToEnd());
    QCOMPARE(hotness->Op1Label()->text(), QString("Op1 range: QQ"));
    QCOMPARE(hotness->Op1Grid()->accessibleName(), QString("Op1 hotness"));
    QCOMPARE(hotness->Op1Grid()->rowCount(), 33);
  }

  void theHeatmapExportIsHeadedByTheOp1TextOfTheHandsPaneNow() {
    Program p;
    QVERIFY(p.frame);
    // The user's working folder: the program's may not be his (an installed package).
    const QString folder = QString::fromStdString(p.app->folders().workDir.string());
    QTemporaryDir out;
    QString title, startedIn, told;

    // Before any computation the file holds the header alone.
    p.Type(1, "QQ+");
    const QString early = out.filePath("early.hmp");
    AnswerNextFileDialog(early, &title, &startedIn);
    AnswerNextMessageBox(&told);
    p.ClickRibbon(ID_HEATMAP_SAVE);
    QCOMPARE(title, QString("Save Heatmap"));
    QCOMPARE(QDir(startedIn).canonicalPath(), QDir(folder).canonicalPath());
    QCOMPARE(told, QString("Heatmap file is ready!"));
    QCOMPARE(FileLines(early), QStringList{"Equity Calculation for all hands vs range QQ+"});

    p.Type(0, "h");
    p.Type(1, "KK,QQ");
    AnswerNextMessageBox(&told);  // the heatmap is ready
    p.ClickApply(0);
    CHeatmapView* heatmap = p.frame->HeatmapView();
    QTRY_VERIFY_WITH_TIMEOUT(!heatmap->IsRunning(), kPatienceMs);
    QVERIFY2(told.startsWith("CPU equity calculation completed in"), qPrintable(told));

    // Op1's text changed after the computation: the header names the text as it is now.
    p.Type(1, "AA");
    const QString later = out.filePath("later.hmp");
    AnswerNextFileDialog(later, &title, &startedIn);
    AnswerNextMessageBox(&told);
    p.ClickRibbon(ID_HEATMAP_SAVE);
    const QStringList lines = FileLines(later);
    QCOMPARE(lines.size(), 82);
    QCOMPARE(lines[0], QString("Equity Calculation for all hands vs range AA"));
    QVERIFY2(lines[1].startsWith("   1 \t AA \t "), qPrintable(lines[1]));
  }

  void aHeatmapSavedIntoAFifoIsWrittenInPlaceAndNeverWaitsForAReader() {
    Program p;
    QVERIFY(p.frame);
    const QString fifo = QString::fromStdString((HomeOf(p.home) / "table.hmp").string());
    QCOMPARE(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    p.frame->HeatmapView()->chooseFile = [&](const QString&) { return fifo; };
    p.Type(1, "QQ+");
    QString told;
    AnswerNextMessageBox(&told);
    p.ClickRibbon(ID_HEATMAP_SAVE);
    QCOMPARE(told, QString("Cannot write %1: it is a FIFO and no program is reading it").arg(fifo));
    QVERIFY(QFileInfo(fifo).isFile() == false && QFileInfo(fifo).exists());

    const int reader = ::open(fifo.toLocal8Bit().constData(), O_RDONLY | O_NONBLOCK);
    QVERIFY(reader >= 0);
    AnswerNextMessageBox(&told);
    p.ClickRibbon(ID_HEATMAP_SAVE);
    QCOMPARE(told, QString("Heatmap file is ready!"));
    char buffer[256] = {};
    const ssize_t got = ::read(reader, buffer, sizeof buffer - 1);
    ::close(reader);
    QCOMPARE(QString::fromLatin1(buffer, int(std::max<ssize_t>(got, 0))),
             QString("Equity Calculation for all hands vs range QQ+\r\n"));
    struct stat st {};
    QVERIFY(::lstat(fifo.toLocal8Bit().constData(), &st) == 0 && S_ISFIFO(st.st_mode));
  }

  void aPercentRangeWithoutItsOrderingIsRefusedNamingTheFile() {
    Program p([](const std::filesystem::path& home) {
      WriteText(home / "Ferrox6Plus.conf", "[Game]\nFileSixPlus=NoSuchOrdering.txt\n");
    });
    QVERIFY(p.frame);
    const QString file = QString::fromStdString(p.app->folders().OrderingFile("NoSuchOrdering.txt").string());
    const QString missing =
        QString("'20%' is cut from the ordering file %1, which did not load: No such file or directory").arg(file);
    QString told;
    p.Type(0, "20%");
    p.Type(1, "AA");
    AnswerNextMessageBox(&told);
    p.ClickApply(0);
    QCOMPARE(told, "Bad Hero range!\n" + missing);
    QVERIFY2(p.frame->Documents()->subWindowList().isEmpty(), "no editor with an empty range");

    AnswerNextMessageBox(&told);
    QTest::mouseClick(p.EvaluationButton(CEvaluateView::kEvaluateId), Qt::LeftButton);
    QCOMPARE(told, "Bad Hero range!\n" + missing);

    p.Type(0, "AA");
    p.Type(1, "20%");
    AnswerNextMessageBox(&told);
    p.ClickApply(1);
    QCOMPARE(told, "Error in Op1 20%\n" + missing);

    // Under the other rule set its own ordering, which loaded, gives the range.
    p.ClickRibbon(ID_CHECK_CHINA);
    p.ClickApply(1);
    QVERIFY(p.frame->ActiveEditorDocument());
    quillet::Spec top;
    QCOMPARE(p.app->Parser().ParseRange(L"20%", top), 1);
    QVERIFY(!top.empty());
    QCOMPARE(p.frame->ActiveEditorDocument()->Range().combos(), top.combos());
  }

  void errorBoardSaysHowManyCardsTheBoardHas() {
    Program p;
    QVERIFY(p.frame);
    QString told;
    p.Type(0, "AA");
    p.Type(1, "KK");
    p.ClickBoard({"7c"});
    AnswerNextMessageBox(&told);
    p.ClickApply(1);
    QCOMPARE(told, QString("Error board\nthe board has 1 card; a board has three to five cards (flop, turn, river), "
                           "or none"));
    p.ClickBoard({"8d"});
    AnswerNextMessageBox(&told);
    QTest::mouseClick(p.EvaluationButton(CEvaluateView::kEvaluateId), Qt::LeftButton);
    QVERIFY2(told.startsWith("Error board\nthe board has 2 cards;"), qPrintable(told));
  }

  void theChartRunStopsFromItsWindowAndSaysWhyItAddedNoCurve() {
    Program p;
    QVERIFY(p.frame);
    p.ClickRibbon(ID_CHART_VIEW);
    CChartView* chart = p.frame->ChartView();
    QVERIFY(chart);
    auto* stop = chart->findChild<QPushButton*>("stop");
    QVERIFY(stop);
    QVERIFY(!stop->isEnabled());

    // A thousand flops sampled, each with a long sample: it runs until stopped.
    p.Type(0, "22+,A6s+");
    p.Type(1, "22+,K6s+");
    QTest::mouseClick(p.EvaluationButton(CEvaluateView::kMonteCarloId), Qt::LeftButton);
    p.app->Panes().SetRuns(1'000'000);
    p.frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(p.frame));
    p.ClickRibbon(ID_CHART_RUN);
    QVERIFY(chart->IsRunning());
    QVERIFY(stop->isEnabled());
    QWidget* focused = QApplication::focusWidget() ? QApplication::focusWidget() : p.frame;
    QTest::keyClick(focused, Qt::Key_Escape);
    QTRY_VERIFY_WITH_TIMEOUT(!chart->IsRunning(), kPatienceMs);
    QVERIFY(!stop->isEnabled());
    QCOMPARE(p.OutputLines().last(), QString("The chart run was stopped."));
    const qsizetype lines = p.OutputLines().size();

    p.ClickRibbon(ID_CHART_RUN);
    QVERIFY(stop->isEnabled());
    QTest::mouseClick(stop, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!chart->IsRunning(), kPatienceMs);
    QCOMPARE(p.OutputLines().size(), lines + 1);
    QCOMPARE(p.OutputLines().last(), QString("The chart run was stopped."));

    // With the evaluation running as well, each Esc stops one of the two.
    p.ClickRibbon(ID_CHART_RUN);
    QLineEdit* runs = p.Evaluation()->findChild<QLineEdit*>(QString::number(CEvaluateView::kRunsId));
    runs->selectAll();
    QTest::keyClicks(runs, "1000000000");
    QTest::mouseClick(p.EvaluationButton(CEvaluateView::kEvaluateId), Qt::LeftButton);
    QVERIFY(chart->IsRunning() && p.Evaluation()->IsRunning());
    focused = QApplication::focusWidget() ? QApplication::focusWidget() : p.frame;
    QTest::keyClick(focused, Qt::Key_Escape);
    QTest::qWait(3 * kProgressEveryMs);
    focused = QApplication::focusWidget() ? QApplication::focusWidget() : p.frame;
    QTest::keyClick(focused, Qt::Key_Escape);
    QTRY_VERIFY_WITH_TIMEOUT(!chart->IsRunning() && !p.Evaluation()->IsRunning(), kPatienceMs);
    QVERIFY2(p.OutputLines().contains("The evaluation was stopped."), qPrintable(p.OutputLines().join(" / ")));
    QVERIFY2(p.OutputLines().count("The chart run was stopped.") == 3, qPrintable(p.OutputLines().join(" / ")));

    // A result for hands that changed meanwhile is dropped, and said so.
    p.app->Panes().SetRuns(1'000);
    p.ClickBoard({"Ah", "7c", "6d", "8s", "9s"});
    p.ClickRibbon(ID_CHART_RUN);
    p.Type(1, "KK");  // before the result can be taken in: that happens on this thread
    QTRY_VERIFY_WITH_TIMEOUT(!chart->IsRunning(), kPatienceMs);
    QCOMPARE(p.OutputLines().last(),
             QString("The hands, board or rules changed during the chart run; its curve was not added."));
    QCOMPARE(chart->Document()->CurveCount(), 0);
    // The same inputs again: the curve is drawn and nothing more is said.
    const qsizetype said = p.OutputLines().size();
    p.ClickRibbon(ID_CHART_RUN);
    QTRY_VERIFY_WITH_TIMEOUT(!chart->IsRunning(), kPatienceMs);
    QCOMPARE(chart->Document()->CurveCount(), 1);
    QCOMPARE(p.OutputLines().size(), said);
  }

  void aRefusedRequestsBoxSaysWhyAfterTheMessage() {
    Program p;
    QVERIFY(p.frame);
    QString told;
    const auto firstLine = [&told] { return told.section('\n', 0, 0); };
    const auto reason = [&told] { return told.section('\n', 1); };

    p.Type(0, "AA");
    p.Type(1, "QQ, A|");
    AnswerNextMessageBox(&told);
    p.ClickApply(0);
    QCOMPARE(firstLine(), QString("Error in Op1 QQ, A|"));
    QVERIFY2(reason().contains("'A|' not understood in 'QQ, A|'"), qPrintable(told));

    p.Type(0, "AKs, A|, QQ");
    p.Type(1, "KK");
    AnswerNextMessageBox(&told);
    QTest::mouseClick(p.EvaluationButton(CEvaluateView::kEvaluateId), Qt::LeftButton);
    QCOMPARE(firstLine(), QString("Bad Hero range!"));
    QVERIFY2(reason().contains("'A|' not understood in 'AKs, A|, QQ'"), qPrintable(told));

    p.Type(0, "AA");
    p.Type(2, "xyz");
    AnswerNextMessageBox(&told);
    QTest::mouseClick(p.EvaluationButton(CEvaluateView::kEvaluateId), Qt::LeftButton);
    QCOMPARE(firstLine(), QString("Error in Op2 xyz"));
    QVERIFY2(reason().contains("'xyz' not understood"), qPrintable(told));
    QVERIFY(!p.Evaluation()->IsRunning());

    // The chart's Run: the self-closing box names the card the hands share.
    p.ClickRibbon(ID_CHART_VIEW);
    p.Type(0, "AhAd");
    p.Type(1, "AhKd");
    p.Type(2, "");
    AnswerNextMessageBox(&told);
    p.ClickRibbon(ID_CHART_RUN);
    QCOMPARE(firstLine(), QString("Please reenter card ranges!"));
    QVERIFY2(reason().contains("Ah is in both Hero's and Op1's hands"), qPrintable(told));
    QVERIFY(!p.frame->ChartView()->IsRunning());
  }

  void ctrlCCopiesTheResultGridsAsTabSeparatedText() {
    Program p;
    QVERIFY(p.frame);
    p.frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(p.frame));

    // Heatmap: the row clicked; with none selected, the class rows shown (AA's and KK's
    // single combinations are collapsed).
    QString told;
    p.Type(0, "h");
    p.Type(1, "KK,QQ");
    AnswerNextMessageBox(&told);
    p.ClickApply(0);
    CHeatmapView* heatmap = p.frame->HeatmapView();
    QTRY_VERIFY_WITH_TIMEOUT(!heatmap->IsRunning() && !told.isEmpty(), kPatienceMs);
    p.frame->activateWindow();  // back from the box that said the heatmap is ready
    QVERIFY(QTest::qWaitForWindowActive(p.frame));
    widgets::CGridCtrl* table = heatmap->Grid();
    const int aa = heatmap->ClassGridRow(0);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(table->model()->index(aa, 2)).center());
    QCOMPARE(QApplication::focusWidget(), table);
    QCOMPARE(CopiedBy(), GridLines(table, {aa}));
    QList<int> classes;
    for (int index = 0; index < int(heatmap->Rows().size()); ++index) classes << heatmap->ClassGridRow(index);
    table->clearSelection();
    QCOMPARE(CopiedBy(), GridLines(table, classes));

    p.ClickRibbon(ID_HOTNESS_CALC);
    p.Type(0, "AA,KK");
    p.Type(1, "QQ");
    p.ClickBoard({"Js", "Ts", "6c"});
    QVERIFY(p.EvaluateToEnd());

    // A click on an Evaluation cell, then Ctrl+C: the whole grid, each cell as shown.
    CEvaluateView* evaluation = p.Evaluation();
    QLineEdit* cell = evaluation->Cell(2, 1);
    QVERIFY(!cell->text().isEmpty());
    QTest::mouseClick(cell, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), cell);
    QString grid = "\tHero\tOpp1\tOpp2\tOpp3\tOpp4\tOpp5\n";
    const char* const streets[] = {"River", "Turn", "Flop"};
    for (int street = 0; street < 3; ++street) {
      grid += streets[street];
      for (int column = 0; column < 6; ++column) grid += '\t' + evaluation->Cell(street, column)->text();
      grid += '\n';
    }
    QCOMPARE(CopiedBy(), grid);
    QCOMPARE(CopiedBy(Qt::Key_Insert), grid);
    // Part of a cell's text selected: that part, as from any text box.
    cell->setSelection(0, 2);
    QCOMPARE(CopiedBy(), cell->text().left(2));

    // Hotness: the row clicked, then the rows from it to the one shift-clicked, then all.
    p.frame->Pane(ID_HOTNESS_VIEW)->raise();
    widgets::CGridCtrl* hero = p.Hotness()->HeroGrid();
    QCOMPARE(hero->rowCount(), 33);
    const auto rowAt = [hero](int row) { return hero->visualRect(hero->model()->index(row, 2)).center(); };
    QTest::mouseClick(hero->viewport(), Qt::LeftButton, {}, rowAt(2));
    QCOMPARE(QApplication::focusWidget(), hero);
    QCOMPARE(CopiedBy(), GridLines(hero, {2}));
    QTest::mouseClick(hero->viewport(), Qt::LeftButton, Qt::ShiftModifier, rowAt(4));
    QCOMPARE(CopiedBy(), GridLines(hero, {2, 3, 4}));
    QList<int> all;
    for (int row = 0; row < 33; ++row) all << row;
    QTest::keyClick(hero, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(CopiedBy(), GridLines(hero, all));
    // Its right-click menu copies too.
    hero->clearSelection();
    QApplication::clipboard()->clear();
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, rowAt(0), hero->viewport()->mapToGlobal(rowAt(0)));
    QApplication::sendEvent(hero->viewport(), &menuEvent);
    auto* menu = hero->findChild<QMenu*>("CopyMenu");
    QVERIFY(menu);
    menu->actions().value(0)->trigger();
    QCOMPARE(QApplication::clipboard()->text(), GridLines(hero, all));
    menu->close();
  }

  void sampledResultsAreMarkedAndExactOnesAreNot() {
    Program p;
    QVERIFY(p.frame);
    p.Type(0, "AA,KK");
    p.Type(1, "QQ,JJ");
    p.Type(2, "AKs");
    p.ClickBoard({"Ah", "7c", "6d"});
    CEvaluateView* evaluation = p.Evaluation();
    auto* sampling = evaluation->findChild<QLabel*>("sampling");

    QTest::mouseClick(p.EvaluationButton(CEvaluateView::kMonteCarloId), Qt::LeftButton);
    QVERIFY(p.EvaluateToEnd());
    static const QRegularExpression marked(QStringLiteral("^\u2248\\d+\\.\\d\\d%$"));
    long long games = -1;
    double largest = 0;
    for (int street = 0; street < 3; ++street)
      for (int column = 0; column < 3; ++column) {
        QLineEdit* cell = evaluation->Cell(street, column);
        QVERIFY2(marked.match(cell->text()).hasMatch(), qPrintable(cell->text()));
        const auto [cellGames, error] = SampledFigures(cell->toolTip());
        QVERIFY2(cellGames > 0, qPrintable(cell->toolTip()));
        games = std::max(games, cellGames);
        largest = std::max(largest, error);
      }
    QCOMPARE(evaluation->Cell(0, 0)->accessibleName(), QString("River Hero"));
    QVERIFY(sampling);
    QVERIFY(sampling->isVisible());
    QCOMPARE(sampling->text(), QString("Monte-Carlo, %1 games, standard error up to %2%")
                                   .arg(Grouped(games), QString::asprintf("%.2f", largest)));

    // Counted exactly: the plain "%.2f%%" and no line.
    QTest::mouseClick(p.EvaluationButton(CEvaluateView::kEnumerateId), Qt::LeftButton);
    QVERIFY(p.EvaluateToEnd());
    static const QRegularExpression exact(QStringLiteral("^\\d+\\.\\d\\d%$"));
    for (int street = 0; street < 3; ++street)
      for (int column = 0; column < 3; ++column)
        QVERIFY2(exact.match(evaluation->Cell(street, column)->text()).hasMatch(),
                 qPrintable(evaluation->Cell(street, column)->text()));
    QVERIFY(!sampling->isVisible());
    QVERIFY(!evaluation->Cell(0, 0)->text().contains(kSampledMark));
  }

  // Three ranges before the flop are counted exactly, without the notice, and so are four
  // narrow ones; two of any two cards make the count too long, and the sampling in its place
  // plays past the runs and says in the Output pane how far it got.
  void threeAndFourRangesPreflopAreExactAndWiderOnesSampleToTheirTarget() {
    Program p;
    QVERIFY(p.frame);
    CEvaluateView* evaluation = p.Evaluation();
    p.Type(0, "10%");
    p.Type(1, "12%");
    p.Type(2, "15%");
    QString notice;
    AnswerNextMessageBox(&notice);  // answers the first box that opens, from here on
    QVERIFY(p.EvaluateToEnd());
    QVERIFY2(notice.isEmpty(), qPrintable(notice));
    static const QRegularExpression exact(QStringLiteral("^\\d+\\.\\d\\d%$"));
    for (int street = 0; street < 3; ++street)
      for (int column = 0; column < 3; ++column)
        QVERIFY2(exact.match(evaluation->Cell(street, column)->text()).hasMatch(),
                 qPrintable(evaluation->Cell(street, column)->text()));
    QVERIFY2(p.OutputLines().last().contains(" river games time = "), qPrintable(p.OutputLines().join(" / ")));

    p.Type(3, "AA,KK");
    QVERIFY(p.EvaluateToEnd());
    QVERIFY2(notice.isEmpty(), qPrintable(notice));
    for (int street = 0; street < 3; ++street)
      for (int column = 0; column < 4; ++column) {
        QLineEdit* cell = evaluation->Cell(street, column);
        QVERIFY2(exact.match(cell->text()).hasMatch(), qPrintable(cell->text()));
        QVERIFY2(cell->toolTip().startsWith("Exact: "), qPrintable(cell->toolTip()));
      }
    // The river's games counted, as the tooltip and the Output pane say them.
    const QString river = p.OutputLines().last();
    QVERIFY2(river.contains(" river games time = "), qPrintable(p.OutputLines().join(" / ")));
    const QString games = river.trimmed().section(' ', 0, 0);
    QVERIFY(games.toLongLong() > 0);
    QCOMPARE(evaluation->Cell(0, 0)->toolTip(), QString("Exact: %1 games counted").arg(games));

    p.Type(2, "r");
    p.Type(3, "r");
    QVERIFY(p.EvaluateToEnd());
    QVERIFY2(notice.startsWith("Calculation time will be very long! Monte-Carlo option will be used!"), qPrintable(notice));
    for (int street = 0; street < 3; ++street)
      for (int column = 0; column < 4; ++column) {
        QLineEdit* cell = evaluation->Cell(street, column);
        QVERIFY2(cell->text().startsWith(kSampledMark), qPrintable(cell->text()));
        QVERIFY2(SampledFigures(cell->toolTip()).first >= 10'000, qPrintable(cell->toolTip()));
      }
    const QString last = p.OutputLines().last().trimmed();
    QVERIFY2(last.startsWith("Monte-Carlo until standard error under 0.10% or 2 s: "), qPrintable(last));
    QVERIFY2(last.endsWith("target reached") || last.endsWith("time limit reached"), qPrintable(last));
  }
};

}  // namespace
}  // namespace ferrox::testing

QTEST_MAIN(ferrox::testing::AnalysisFlowTest)
#include "AnalysisFlowTest.moc"
