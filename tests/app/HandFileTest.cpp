// Hand files as a player keeps them: saved with Ctrl+S, opened again from Recent Documents
// after a restart, refused when damaged, and asked about before unsaved changes are lost.
// The tool computes from the same file what the program shows.
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QProcess>
#include <QSettings>
#include <QtTest>
#include <csignal>
#include <functional>
#include <nlohmann/json.hpp>

#include "app/AppFolders.h"
#include "app/HandSession.h"
#include "app/MainFrame.h"
#include "app/NewDocumentDialog.h"
#include "app/TerminationSignals.h"
#include "engine/SavedHand.h"
#include "model/HandsModel.h"
#include "model/RecentFiles.h"
#include "tests/app/AppTestSupport.h"
#include "tests/views/ViewsTestSupport.h"
#include "views/CardButton.h"
#include "views/CardsView.h"
#include "views/ChartView.h"
#include "views/CommandIds.h"
#include "views/EvaluateView.h"
#include "views/FerroxView.h"
#include "views/HandsView.h"
#include "views/RangeEdit.h"
#include "widgets/RibbonBar.h"

namespace ferrox::testing {
namespace {

using namespace cmd;

constexpr int kPatienceMs = 120'000;

// Runs answer on the next visible top-level widget of type Dialog, then lets exec go on.
template <class Dialog, class Answer>
void AnswerNext(Answer answer) {
  QTimer::singleShot(20, [answer] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* dialog = qobject_cast<Dialog*>(w); dialog && dialog->isVisible()) return answer(dialog);
    AnswerNext<Dialog>(answer);
  });
}

using Then = std::function<void()>;

// Each answer arms `then` (the answer to the next dialog) before it closes its own.
// The file dialog answered as a user does: the name typed into its box, then Enter.
void AnswerFileDialog(const QString& path, Then then = {}) {
  AnswerNext<QFileDialog>([path, then](QFileDialog* dialog) {
    if (then) then();
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    name->setText(path);
    QTest::keyClick(name, Qt::Key_Return);
  });
}

// "New": the kind chosen with the arrow keys, then Enter.
void AnswerNewDialog(DocumentKind kind, Then then = {}) {
  AnswerNext<NewDocumentDialog>([kind, then](NewDocumentDialog* dialog) {
    if (then) then();
    auto* list = dialog->findChild<QListWidget*>("NewDocumentKinds");
    QTest::keyClick(list, kind == DocumentKind::Chart ? Qt::Key_Down : Qt::Key_Up);
    QTest::keyClick(list, Qt::Key_Return);
  });
}

// A message box answered with a button; its text reported.
void AnswerMessage(QMessageBox::StandardButton button, QString* text, Then then = {}) {
  AnswerNext<QMessageBox>([button, text, then](QMessageBox* box) {
    if (text) *text = box->text();
    if (then) then();
    QTest::mouseClick(box->button(button), Qt::LeftButton);
  });
}

struct Program {
  std::unique_ptr<CFerroxApp> app;
  CMainFrame* frame = nullptr;

  explicit Program(const QTemporaryDir& home) {
    app = StartActiveApp(HomeOf(home));
    QVERIFY(app);
    frame = app->MainFrame();
  }
  ~Program() {
    if (app) app->ExitInstance();
  }

  CHandsView* Hands() const { return frame->HandsView(); }
  CEvaluateView* Evaluation() const { return qobject_cast<CEvaluateView*>(frame->Pane(ID_VIEW_EVALUATIONVIEW)->widget()); }
  void Type(CRangeEdit* box, const QString& text) const {
    QTest::mouseClick(box, Qt::LeftButton);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
  }
  void Type(int row, const QString& text) const { Type(Hands()->RangeBox(row), text); }
  void ClickBoard(std::initializer_list<const char*> cards) const {
    auto* panel = qobject_cast<CCardsView*>(frame->Pane(ID_VIEW_CARDSVIEW)->widget());
    for (const char* card : cards) QTest::mouseClick(panel->Button(Card(card)), Qt::LeftButton);
  }
  void ClickApply(int row) const {
    QTest::mouseClick(Hands()->findChild<QAbstractButton*>(QString::number(CHandsView::ApplyId(row))),
                      Qt::LeftButton);
  }
  // A key as the focused widget gets it; the frame's shortcuts see it there. A dialog
  // closed under the offscreen platform leaves no window active: the frame is made so.
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) const {
    frame->activateWindow();
    [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(frame);
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : frame, key, modifiers);
  }
  // Evaluates and returns the nine cells, river to flop, Hero then Op1 and Op2.
  QStringList Evaluate() const {
    auto* button = Evaluation()->findChild<QAbstractButton*>(QString::number(CEvaluateView::kEvaluateId));
    QTest::mouseClick(button, Qt::LeftButton);
    if (!QTest::qWaitFor([this] { return !Evaluation()->IsRunning(); }, kPatienceMs)) return {};
    QStringList cells;
    for (int street = 0; street < 3; ++street)
      for (int column = 0; column < 3; ++column) cells << Evaluation()->Cell(street, column)->text();
    return cells;
  }
  // The application menu's Recent Documents entry, clicked.
  bool ClickRecent(int number) const {
    auto* recent = frame->Ribbon()->applicationMenu()->findChild<QMenu*>("RecentDocuments");
    recent->popup(frame->mapToGlobal(QPoint(40, 40)));
    if (!QTest::qWaitForWindowExposed(recent)) return false;
    QAction* entry = recent->findChild<QAction*>(QStringLiteral("RecentFile%1").arg(number));
    if (!entry) {
      recent->hide();
      return false;
    }
    QTest::mouseClick(recent, Qt::LeftButton, {}, recent->actionGeometry(entry).center());
    return true;
  }
  QStringList Texts() const {
    QStringList texts;
    for (int row = 0; row < kHandRows; ++row) texts << Hands()->RangeBox(row)->text();
    return texts << Hands()->DeadBox()->text();
  }
  int EditorWindows() const {
    int count = 0;
    for (QMdiSubWindow* window : frame->Documents()->subWindowList())
      count += window->widget() && window->widget()->findChild<CFerroxView*>() ? 1 : 0;
    return count;
  }
};

// The three-way hand of these tests: ranges typed, a flop clicked, a dead card typed, and
// Op1's range editor opened and narrowed with its band.
void SetUpThreeWayHand(const Program& p) {
  p.Type(0, "AKs, QQ+");
  p.Type(1, "20%");
  p.Type(2, "77+, AJs+");
  p.ClickBoard({"Ah", "7c", "6d"});
  p.Type(p.Hands()->DeadBox(), "Qs");
  p.ClickApply(1);
}

QString HandPath(const QTemporaryDir& dir, const char* name) { return dir.filePath(QString::fromLatin1(name)); }

}  // namespace

class HandFileTest : public QObject {
  Q_OBJECT

 private slots:
  void aSavedHandComesBackAfterARestartWithTheSameNumbers() {
    QTemporaryDir home, files;
    const QString path = HandPath(files, "three-way.f6hand");
    QStringList before, texts;
    SavedHand saved;
    {
      Program p(home);
      SetUpThreeWayHand(p);
      texts = p.Texts();
      // Saved before any evaluation: the typed dead card is not on the table yet.
      AnswerFileDialog(path);
      p.Key(Qt::Key_S);
      QVERIFY(QFileInfo::exists(path));
      QVERIFY(p.frame->windowTitle().startsWith("three-way.f6hand"));
      QVERIFY(!p.frame->isWindowModified());
      saved = p.frame->Hand().Current();
      QVERIFY(saved.dead.empty());
      std::string error;
      const auto onDisk = ReadHandFile(path.toStdString(), error);
      QVERIFY2(onDisk, error.c_str());
      QVERIFY(*onDisk == saved);
      QCOMPARE(saved.editors.size(), std::size_t{1});
      QCOMPARE(saved.editors[0].player, 1);
      before = p.Evaluate();
      QVERIFY(!before.isEmpty() && !before[0].isEmpty());
      // The typed dead card is on the table now; the hand is the one saved all the same.
      QCOMPARE(p.frame->Hand().Current().dead.size(), std::size_t{1});
      QVERIFY(!p.frame->isWindowModified());
    }
    Program again(home);
    QVERIFY(again.ClickRecent(1));
    QTRY_COMPARE(again.Texts(), texts);
    QCOMPARE(again.EditorWindows(), 1);
    QVERIFY(again.frame->Hand().Current() == saved);
    QCOMPARE(again.Evaluate(), before);

    // The tool, given the same file, prints the same equities.
    QProcess tool;
    tool.start(QStringLiteral(FERROX_CLI_PATH), {"equity", "--hand", path, "--json"});
    QVERIFY(tool.waitForFinished(kPatienceMs));
    QCOMPARE(tool.exitCode(), 0);
    const auto json = nlohmann::json::parse(tool.readAllStandardOutput().toStdString());
    const char* streets[] = {"river", "turn", "flop"};
    for (int street = 0; street < 3; ++street) {
      const auto& row = json["streets"][streets[street]];
      QCOMPARE(QString::asprintf("%.2f%%", 100.0 * row["hero"].get<double>()), before[3 * street]);
      for (int op = 0; op < 2; ++op)
        QCOMPARE(QString::asprintf("%.2f%%", 100.0 * row["ops"][op].get<double>()), before[3 * street + 1 + op]);
    }
  }

  void aRefusedFileChangesNothingAndSaysWhy() {
    QTemporaryDir home, files;
    Program p(home);
    p.Type(0, "AA");
    p.Type(1, "KK");
    const SavedHand before = p.frame->Hand().Current();
    const QString damaged = HandPath(files, "damaged.f6hand");
    WriteText(damaged.toStdString(), R"({"format": "ferrox6plus-hand", "version": 1, "rules": )");
    SavedHand newer;
    std::string error;
    const QString newerPath = HandPath(files, "newer.f6hand");
    QVERIFY(WriteHandFile(newerPath.toStdString(), newer, error));
    std::string text = ReadText(newerPath.toStdString());
    text.replace(text.find("\"version\": 1"), 12, "\"version\": 9");
    WriteText(newerPath.toStdString(), text);

    for (const QString& file : {damaged, newerPath}) {
      QString told;
      // The typed hand is not saved first; then the file; then the refusal.
      AnswerMessage(QMessageBox::No, nullptr,
                    [&] { AnswerFileDialog(file, [&] { AnswerMessage(QMessageBox::Ok, &told); }); });
      p.Key(Qt::Key_O);
      QTRY_VERIFY(!told.isEmpty());
      QVERIFY2(told.contains(file) && told.contains("was not opened"), qPrintable(told));
      QVERIFY(p.frame->Hand().Current() == before);
      QVERIFY(p.frame->Hand().File().isEmpty());
    }
  }

  void openingAHandSetsItsRulesModeAndEvaluation() {
    QTemporaryDir home, files;
    Program p(home);
    SavedHand hand;
    hand.ranges[0] = L"AA";
    hand.ranges[1] = L"KK";
    hand.rules = quillet::kRulesStraightBeatsSet;
    hand.useMode = false;
    hand.enumerate = false;
    hand.runs = 20'000;
    const QString path = HandPath(files, "create.f6hand");
    std::string error;
    QVERIFY2(WriteHandFile(path.toStdString(), hand, error), error.c_str());
    AnswerFileDialog(path);  // nothing entered yet: no question first
    p.Key(Qt::Key_O);
    QCOMPARE(p.app->mode, 0);
    QCOMPARE(p.frame->Action(ID_MODE)->text(), QString("Create mode"));
    QVERIFY(p.frame->Action(ID_CHECK_CHINA)->isChecked());
    QVERIFY(p.Evaluation()->findChild<QCheckBox*>(QString::number(CEvaluateView::kMonteCarloId))->isChecked());
    QCOMPARE(p.Evaluation()->findChild<QLineEdit*>(QString::number(CEvaluateView::kRunsId))->text(), QString("20000"));
    QCOMPARE(p.Texts().mid(0, 2), (QStringList{"AA", "KK"}));
    QVERIFY(p.frame->Hand().Current() == hand);
    QVERIFY(!p.frame->isWindowModified());
  }

  void unsavedChangesAreAskedAboutFirst() {
    QTemporaryDir home, files;
    Program p(home);
    p.Type(0, "AKs");
    QString asked;
    AnswerNewDialog(DocumentKind::Calculator, [&] { AnswerMessage(QMessageBox::Cancel, &asked); });
    p.Key(Qt::Key_N);
    QCOMPARE(asked, QString("Save changes to Untitled?"));
    QCOMPARE(p.Hands()->RangeBox(0)->text(), QString("AKs"));

    AnswerNewDialog(DocumentKind::Calculator, [] { AnswerMessage(QMessageBox::No, nullptr); });
    p.Key(Qt::Key_N);
    QTRY_VERIFY(p.Hands()->RangeBox(0)->text().isEmpty());
    QVERIFY(!p.frame->Hand().IsModified());

    // Saved, then changed: the title marks it, and Yes saves before the new hand.
    const QString path = HandPath(files, "kept");
    p.Type(0, "QQ");
    AnswerFileDialog(path);
    p.Key(Qt::Key_S);
    QVERIFY(QFileInfo::exists(path + ".f6hand"));
    p.Type(1, "JJ");
    QVERIFY(p.frame->isWindowModified());
    AnswerNewDialog(DocumentKind::Calculator, [&] { AnswerMessage(QMessageBox::Yes, &asked); });
    p.Key(Qt::Key_N);
    QCOMPARE(asked, QString("Save changes to kept.f6hand?"));
    std::string error;
    const auto kept = ReadHandFile((path + ".f6hand").toStdString(), error);
    QVERIFY2(kept, error.c_str());
    QCOMPARE(QString::fromStdWString(kept->ranges[1]), QString("JJ"));
  }

  void newOffersTheChart() {
    QTemporaryDir home;
    Program p(home);
    p.Type(0, "AKs");
    AnswerNewDialog(DocumentKind::Chart);
    p.Key(Qt::Key_N);
    QTRY_VERIFY(p.frame->ChartView() != nullptr);
    QCOMPARE(p.Hands()->RangeBox(0)->text(), QString("AKs"));  // the hand stays
  }

  void recentDocumentsKeepTheLastFourAndDropAMissingOne() {
    QTemporaryDir home, files;
    Program p(home);
    QStringList paths;
    p.Type(0, "AA");
    for (const char* name : {"a", "b", "c", "d", "e"}) {
      paths << HandPath(files, name) + ".f6hand";
      AnswerFileDialog(paths.back());
      p.Key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
      QVERIFY(QFileInfo::exists(paths.back()));
    }
    RecentFiles recent(p.app->settings().Store());
    QCOMPARE(recent.List(), (QStringList{paths[4], paths[3], paths[2], paths[1]}));
    recent.Add(paths[2]);  // opened again: to the front, once
    QCOMPARE(recent.List(), (QStringList{paths[2], paths[4], paths[3], paths[1]}));

    QFile::remove(paths[4]);
    QString told;
    AnswerMessage(QMessageBox::Ok, &told);
    QVERIFY(p.ClickRecent(2));
    QTRY_VERIFY(!told.isEmpty());
    QVERIFY2(told.contains(paths[4]) && told.contains("Recent Documents"), qPrintable(told));
    QCOMPARE(recent.List(), (QStringList{paths[2], paths[3], paths[1]}));
  }

  void aFileNamedAtStartUpIsTheCallersNotTheProgramFoldersOne() {
    const QString here = QDir::currentPath();
    QCOMPARE(HandFileArgument({"Ferrox6Plus", "hand.f6hand"}), QDir(here).filePath("hand.f6hand"));
    QCOMPARE(HandFileArgument({"Ferrox6Plus", "--home", "/tmp/h", "/x/y.f6hand"}), QString("/x/y.f6hand"));
    QVERIFY(HandFileArgument({"Ferrox6Plus", "--home", "/tmp/h"}).isEmpty());
  }

  // Last: the signal handlers stay installed for the rest of the process.
  void aTerminationSignalClosesWithoutAsking() {
    QTemporaryDir home;
    Program p(home);
    p.Type(0, "AKs");
    QString asked;
    AnswerMessage(QMessageBox::Cancel, &asked);
    p.frame->close();
    QCOMPARE(asked, QString("Save changes to Untitled?"));
    QVERIFY(p.frame->isVisible());  // Cancel keeps the window

    CloseOnTerminationSignals(p.frame);
    QString askedAgain;
    AnswerMessage(QMessageBox::Cancel, &askedAgain);  // would keep the window, were it asked
    ::raise(SIGTERM);
    QTRY_VERIFY(!p.frame->isVisible());
    QVERIFY(askedAgain.isEmpty());
  }
};

}  // namespace ferrox::testing

QTEST_MAIN(ferrox::testing::HandFileTest)
#include "HandFileTest.moc"
