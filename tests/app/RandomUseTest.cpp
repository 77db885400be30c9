// A user who types and clicks at random: whatever the order, the program neither crashes
// nor lets the panes and the document disagree. Run under the sanitizers too.
#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QtTest>
#include <random>

#include "views/CommandIds.h"
#include "app/MainFrame.h"
#include "model/CalculatorDocument.h"
#include "model/HandsModel.h"
#include "model/PredefinedRanges.h"
#include "model/UserLibrary.h"
#include "views/CardButton.h"
#include "views/CardsView.h"
#include "views/ChartView.h"
#include "views/ClassView.h"
#include "views/DlgAllCards.h"
#include "views/EvaluateView.h"
#include "views/HeatmapView.h"
#include "views/FerroxView.h"
#include "views/HandSpectr.h"
#include "views/HandsView.h"
#include "views/RangeEdit.h"
#include "views/RangeView.h"
#include "views/ViewTree.h"
#include "tests/app/AppTestSupport.h"

using namespace ferrox;
using namespace ferrox::cmd;
using namespace ferrox::testing;

namespace {

const QStringList kNames = {"Open", "UTG", "New", "A&B", "<x>", "\"q\"", "ÐÐ°", "two words", "", " "};

const QStringList kFragments = {"AA", "KK+", "AKs", "T9o-T7o", "20%", "r", "AsKh", "7c6c", ",", " ",
                                "h", "hAA", "Error", "%", "-", "+", "Q", "xx", "100%", "0%", "6s6d",
                                "\xd0\x96", "\t", "AhAh", "99,88", "s", "o"};

class RandomUser {
 public:
  RandomUser(CFerroxApp& app, unsigned seed) : app_(app), frame_(*app.MainFrame()), random_(seed) {
    hands_ = frame_.HandsView();
    hands_->showMessage = [](const QString&) {};
    hands_->runPicker = [this](CDlgAllCards& dialog) { PickAtRandom(dialog); };
    evaluation_ = frame_.findChild<CEvaluateView*>();
    evaluation_->showMessage = [](const QString&, const QString&, bool) {};
    evaluation_->showNotice = [](const QString&) {};
    frame_.HeatmapView()->showTimedMessage = [](const QString&, const QString&, int) {};
    ranges_ = frame_.findChild<CRangeView*>();
    rankings_ = frame_.findChild<CClassView*>();
    ranges_->showMessage = rankings_->showMessage = [](const QString&) {};
    ranges_->ask = rankings_->ask = [this](const QString&) { return Draw(2) == 0; };
    ranges_->promptName = rankings_->promptName = [this](const QString&) -> std::optional<QString> {
      if (Draw(6) == 0) return std::nullopt;
      return kNames[Draw(static_cast<int>(kNames.size()))];
    };
    ranges_->chooseSaveFile = [] { return QString(); };
    ranges_->chooseOpenFile = [](const QString&) { return QString(); };
    rankings_->runMenu = [](QMenu&, const QPoint&) {};
  }

  void Step() {
    switch (Draw(13)) {
      case 0: TypeInto(hands_->RangeBox(Draw(kHandRows))); break;
      case 1: TypeInto(hands_->findChild<CMyEdit*>(QString::number(kDeadEditId))); break;
      case 2: ClickOneOf(hands_->findChildren<QAbstractButton*>()); break;
      case 3: ClickOneOf(frame_.findChild<CCardsView*>()->findChildren<QAbstractButton*>()); break;
      case 4: UseAnEditor(); break;
      case 5: CloseWhileApplying(); break;
      case 6: frame_.Action(Draw(2) ? ID_MODE_USE : ID_MODE_CREATE)->trigger(); break;
      case 7: if (Draw(10) == 0) frame_.Action(ID_CLEAR_ALL)->trigger(); break;
      case 8: ApplyAValidRange(); break;
      case 9: ClickOneOf(evaluation_->findChildren<QAbstractButton*>()); break;
      case 10: UseTheChart(); break;
      case 11: UseALibrary(); break;
      default: QCoreApplication::processEvents(); break;
    }
  }

  // Whatever was done, both library files still read.
  void CheckLibraries() {
    UserLibrary reread(HomeFile("Copy.xml"));
    QVERIFY(reread.Load(HomeFile(kUserLibraryFileName)).ok);
    PredefinedRanges rankings(QString::fromStdString(HomeFile(kPredefinedRangesFileName).string()));
    QVERIFY(rankings.LoadPredefinedRanges());
  }

  std::filesystem::path HomeFile(const char* name) const { return app_.folders().workDir / name; }

  // Every card is taken at most once, and the board buttons show the document's board.
  void CheckConsistency() {
    const CalculatorDocument& document = app_.Calculator();
    mostEditors_ = std::max(mostEditors_, static_cast<int>(frame_.Documents()->subWindowList().size()));
    mostBoard_ = std::max(mostBoard_, static_cast<int>(document.Board().size()));
    std::vector<CardIndex> taken = document.Board();
    const std::vector<CardIndex> dead = document.Dead();
    taken.insert(taken.end(), dead.begin(), dead.end());
    for (int player = 0; player < kHandRows; ++player) {
      const std::vector<CardIndex> hand = document.PlayerCards(player);
      QVERIFY(hand.empty() || hand.size() == 2);
      taken.insert(taken.end(), hand.begin(), hand.end());
    }
    std::sort(taken.begin(), taken.end());
    QVERIFY2(std::adjacent_find(taken.begin(), taken.end()) == taken.end(), "a card is held twice");
    const std::vector<CardIndex> board = document.Board();
    QVERIFY(board.size() <= 5);
    for (int position = 0; position < 5; ++position) {
      const int shown = hands_->BoardButton(position)->GetCard();
      QCOMPARE(shown, position < static_cast<int>(board.size()) ? board[position] : -1);
    }
  }

  // How far the walk got: a walk that never opened editors or dealt a board proves little.
  int MostEditors() const { return mostEditors_; }
  int MostBoard() const { return mostBoard_; }

 private:
  int Draw(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

  void TypeInto(QLineEdit* box) {
    if (!box) return;
    if (Draw(3) == 0) box->clear();
    for (int i = Draw(4); i >= 0; --i) {
      const QString& fragment = kFragments[Draw(kFragments.size())];
      // Key events carry Latin-1 only; other letters arrive as an input method would send them.
      if (fragment.toLatin1() == fragment.toUtf8()) QTest::keyClicks(box, fragment);
      else box->insert(fragment);
    }
  }

  // Random texts rarely get past the checks: now and then every row is made valid.
  void ApplyAValidRange() {
    static const QStringList valid = {"AA", "KK+", "20%", "AKs", "T9o-T7o", "77+,AJs+"};
    for (int row = 0; row < kHandRows; ++row) {
      hands_->RangeBox(row)->clear();
      if (row == 0 || Draw(2)) QTest::keyClicks(hands_->RangeBox(row), valid[Draw(valid.size())]);
    }
    hands_->findChild<QAbstractButton*>(QString::number(CHandsView::ApplyId(Draw(kHandRows))))->click();
  }

  template <class Widget>
  void ClickOneOf(const QList<Widget*>& widgets) {
    QList<Widget*> usable;
    for (Widget* widget : widgets)
      if (widget->isVisible() && widget->isEnabled()) usable << widget;
    if (!usable.isEmpty()) usable[Draw(usable.size())]->click();
  }

  void PickAtRandom(CDlgAllCards& dialog) {
    for (int i = Draw(4); i > 0; --i) ClickOneOf(dialog.findChildren<CCardButton*>());
    dialog.showMessage = [](const QString&) {};
    dialog.accept();
  }

  CFerroxView* AnEditor() {
    const QList<QMdiSubWindow*> windows = frame_.Documents()->subWindowList();
    if (windows.isEmpty()) return nullptr;
    return windows[Draw(windows.size())]->findChild<CFerroxView*>();
  }

  void UseAnEditor() {
    CFerroxView* editor = AnEditor();
    if (!editor) return;
    auto* matrix = editor->findChild<CHandSpectr*>();
    const int column = Draw(CHandSpectr::kSide), row = Draw(CHandSpectr::kSide);
    switch (Draw(5)) {
      case 0: editor->ToggleClass(column, row); break;
      case 1: matrix->cellRightClicked(column, row); break;
      case 2: ClickOneOf(editor->findChildren<QAbstractButton*>()); break;
      case 3: Draw(2) ? editor->Undo() : editor->Redo(); break;
      default: QTest::keyClick(editor->findChild<QWidget*>(QString::number(CFerroxView::kSliderId)),
                               Draw(2) ? Qt::Key_Right : Qt::Key_PageDown); break;
    }
  }

  // A click on some item of either library tree, or one of its commands on the selection.
  void UseALibrary() {
    const bool user = Draw(2) == 0;
    CViewTree* tree = user ? ranges_->Tree() : rankings_->Tree();
    const QModelIndexList items = AllItems(*tree->model());
    if (!items.isEmpty()) {
      const QModelIndex item = items[Draw(static_cast<int>(items.size()))];
      tree->scrollTo(item);
      QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(item).center());
    }
    if (Draw(2) == 0) return;
    static const int kRangeCommands[] = {32810, 32811, 2003, 2004, 32812, 32802, 2001, 2002, 32782,
                                         32813, 32788, 32789, 32783, 32784, 32793, 32792, 32787};
    static const int kRankingCommands[] = {32810, 32782, 32788, 32789, 32783, 32784, 32787, 32780};
    if (user) ranges_->RunCommand(kRangeCommands[Draw(static_cast<int>(std::size(kRangeCommands)))]);
    else rankings_->RunCommand(kRankingCommands[Draw(static_cast<int>(std::size(kRankingCommands)))]);
  }

  void UseTheChart() {
    const int commands[] = {ID_CHART_VIEW, ID_CHART_RUN, ID_CHART_CLEAR};
    frame_.Action(commands[Draw(3)])->trigger();
    if (CChartView* chart = frame_.ChartView()) chart->showMessage = [](const QString&, const QString&, bool) {};
  }

  // The window goes on the next event loop turn; the row is applied before that.
  void CloseWhileApplying() {
    const QList<QMdiSubWindow*> windows = frame_.Documents()->subWindowList();
    if (windows.isEmpty()) return;
    QMdiSubWindow* window = windows[Draw(windows.size())];
    const auto* editor = window->findChild<CFerroxView*>();
    const int row = editor && editor->Document() ? editor->Document()->PlayerSlot() : 0;
    window->close();
    hands_->findChild<QAbstractButton*>(QString::number(CHandsView::ApplyId(row)))->click();
  }

  CFerroxApp& app_;
  CMainFrame& frame_;
  CHandsView* hands_ = nullptr;
  CEvaluateView* evaluation_ = nullptr;
  CRangeView* ranges_ = nullptr;
  CClassView* rankings_ = nullptr;
  std::mt19937 random_;
  int mostEditors_ = 0;
  int mostBoard_ = 0;
};

}  // namespace

class RandomUseTest : public QObject {
  Q_OBJECT

 private slots:
  void randomTextsAndClicksKeepTheProgramSound() {
    for (unsigned seed : {1u, 2u, 3u}) {
      QTemporaryDir home;
      auto app = StartApp(HomeOf(home));
      QVERIFY(app);
      app->MainFrame()->show();
      RandomUser user(*app, seed);
      for (int step = 0; step < 500; ++step) {
        user.Step();
        user.CheckConsistency();
        if (QTest::currentTestFailed()) QFAIL(qPrintable(QString("seed %1, step %2").arg(seed).arg(step)));
      }
      QVERIFY(user.MostEditors() >= 2);
      QVERIFY2(user.MostBoard() >= 3, qPrintable(QString("seed %1: %2").arg(seed).arg(user.MostBoard())));
      user.CheckLibraries();
      // Jobs still running end with the program.
      app->ExitInstance();
    }
  }
};

QTEST_MAIN(RandomUseTest)
#include "RandomUseTest.moc"
