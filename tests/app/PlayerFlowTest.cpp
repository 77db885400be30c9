// The assembled program driven as a player drives it: mouse clicks on the real buttons,
// keys sent to the widget that has the focus, the program's own dialogs answered.
#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

#include "app/AboutDialog.h"
#include "views/CommandIds.h"
#include "app/MainFrame.h"
#include "model/FerroxDoc.h"
#include "model/HandsModel.h"
#include "quillet/HandClass.h"
#include "tests/app/AppTestSupport.h"
#include "tests/views/ViewsTestSupport.h"
#include "views/CardButton.h"
#include "widgets/RibbonBar.h"
#include "views/CardsView.h"
#include "views/EvaluateView.h"
#include "views/FerroxView.h"
#include "views/HandCell.h"
#include "views/HandSpectr.h"
#include "views/HandsView.h"
#include "views/RangeDragData.h"
#include "views/RangeEdit.h"
#include "views/SuitBtn.h"

namespace ferrox::testing {

using namespace cmd;

namespace {

// The program in a temporary home, its window active so that its keys reach it.
struct Program {
  QTemporaryDir home;
  std::unique_ptr<CFerroxApp> app;
  CMainFrame* frame = nullptr;

  Program() {
    app = StartActiveApp(HomeOf(home));
    QVERIFY(app);
    frame = app->MainFrame();
  }
  ~Program() {
    if (app) app->ExitInstance();
  }

  CHandsView* Hands() const { return frame->HandsView(); }
  QAbstractButton* Button(QWidget* in, int id) const { return in->findChild<QAbstractButton*>(QString::number(id)); }
  // The ribbon's button of a command.
  QAbstractButton* Ribbon(int id) const {
    for (auto* button : frame->Ribbon()->findChildren<QToolButton*>())
      if (button->defaultAction() == frame->Action(id)) return button;
    return nullptr;
  }
  void Type(int row, const QString& text) {
    CRangeEdit* box = Hands()->RangeBox(row);
    QTest::mouseClick(box, Qt::LeftButton);
    box->selectAll();
    QTest::keyClicks(box, text);
  }
  void Apply(int row) { QTest::mouseClick(Button(Hands(), CHandsView::ApplyId(row)), Qt::LeftButton); }
  void ClickCard(const char* name) {
    auto* cards = frame->findChild<CCardsView*>();
    QTest::mouseClick(cards->Button(Card(name)), Qt::LeftButton);
  }
  CFerroxView* Editor() const { return frame->ActiveEditorView(); }
  CHandSpectr* Matrix() const { return Editor()->findChild<CHandSpectr*>(); }
  void ClickClass(const char* label, Qt::MouseButton button = Qt::LeftButton) {
    for (CHandCell* cell : Matrix()->findChildren<CHandCell*>())
      if (cell->text() == QLatin1String(label))
        return QTest::mouseClick(Matrix(), button, {}, cell->geometry().center());
    QFAIL(label);
  }
  QString Field(int id) const { return Editor()->findChild<QLineEdit*>(QString::number(id))->text(); }
  QString Count() const { return Field(CFerroxView::kCountId); }
  void Key(int key, Qt::KeyboardModifiers modifiers) {
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : frame, static_cast<Qt::Key>(key), modifiers);
  }
};

// A drag entering target and dropped there (a drop goes where the drag was accepted);
// whether the target accepted the drag.
bool DragAndDrop(QWidget* target, const QMimeData* data) {
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data, Qt::LeftButton, {});
  QApplication::sendEvent(target, &enter);
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, data, Qt::LeftButton, {});
  QApplication::sendEvent(target, &drop);
  return enter.isAccepted();
}

// Runs answer on the next top-level widget of type Dialog to show, then lets exec go on.
template <class Dialog, class Answer>
void AnswerNext(Answer answer) {
  QTimer::singleShot(20, [answer] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* dialog = qobject_cast<Dialog*>(w); dialog && dialog->isVisible()) return answer(dialog);
    AnswerNext<Dialog>(answer);
  });
}

}  // namespace

class PlayerFlowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { QTest::failOnWarning(QRegularExpression("Ambiguous shortcut")); }

  void undoAndRedoKeysReachTheRangeEditor() {
    Program p;
    p.Type(0, "AA");
    p.Apply(0);
    p.ClickClass("KK");
    QCOMPARE(p.Count(), QString("12/630"));
    p.Key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(p.Count(), QString("6/630"));
    p.Key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(p.Count(), QString("12/630"));
    p.Key(Qt::Key_Backspace, Qt::AltModifier);
    QCOMPARE(p.Count(), QString("6/630"));
    p.Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(p.Count(), QString("12/630"));

    // In a range box the keys undo its text, and the editor keeps its range.
    CRangeEdit* op1 = p.Hands()->RangeBox(1);
    p.Type(1, "QQ");
    QCOMPARE(QApplication::focusWidget(), op1);
    p.Key(Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(op1->text().isEmpty());
    p.Key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(op1->text(), QString("QQ"));
    op1->selectAll();
    QTest::keyClicks(op1, "KK");
    p.Key(Qt::Key_Backspace, Qt::AltModifier);  // undo, not a word deleted
    QCOMPARE(op1->text(), QString("QQ"));
    QCOMPARE(p.Count(), QString("12/630"));

    // The editor's right-click menu undoes as well.
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(1, 1), p.Editor()->mapToGlobal(QPoint(1, 1)));
    QApplication::sendEvent(p.Editor(), &menuEvent);
    auto* menu = p.frame->findChild<QMenu*>("EditMenu");
    QVERIFY(menu);
    QAction* undo = menu->actions().value(0);
    QVERIFY(undo && undo->text().startsWith("Undo"));
    undo->trigger();
    QCOMPARE(p.Count(), QString("6/630"));
    menu->close();
  }

  void useModeNeverCountsAKnownCard() {
    Program p;
    for (const char* card : {"Ah", "7c", "6d"}) p.ClickCard(card);
    p.Type(0, "AA");
    p.Apply(0);
    QCOMPARE(p.Count(), QString("3/630"));

    // The widest band: the 528 hands the flop leaves, and the statistics' base is theirs.
    auto* vpip = p.Editor()->findChild<QDoubleSpinBox*>(QString::number(CFerroxView::kHighEditId));
    QTest::mouseClick(vpip, Qt::LeftButton);
    vpip->selectAll();
    QTest::keyClicks(vpip, "100");
    QTest::keyClick(vpip, Qt::Key_Return);
    QCOMPARE(p.Count(), QString("528/630"));
    QTest::mouseClick(p.Button(p.Editor(), CFerroxView::kApplyId), Qt::LeftButton);
    const int topPairs = p.Field(1301).toInt();
    QVERIFY(topPairs > 0);
    QCOMPARE(p.Field(1305), QString::asprintf("%.2f%%", topPairs * 100.0 / 528));

    // The suit grid offers no pair with the Ah.
    p.ClickClass("AKo", Qt::RightButton);
    CSuitBtn* heartsClubs = p.Editor()->findChild<CSuitBtn*>(QString::number(CFerroxView::kFirstSuitId + 4 * 2 + 0));
    QVERIFY(heartsClubs->isVisible());
    QVERIFY(!heartsClubs->isEnabled());
    QTest::mouseClick(heartsClubs, Qt::LeftButton);
    QVERIFY(!p.Editor()->Document()->Range().contains(Card("Ah"), Card("Kc")));

    // Neither a range dropped on the box nor a class clicked brings one back.
    std::unique_ptr<QMimeData> drop(MakeRangeMimeData("KQs"));
    DragAndDrop(p.Hands()->RangeBox(0), drop.get());
    QCOMPARE(p.Hands()->RangeBox(0)->text(), QString("KQs"));
    QCOMPARE(p.Count(), QString("4/630"));
    p.ClickClass("AA");
    QCOMPARE(p.Count(), QString("7/630"));
  }

  void theOrderingButtonsOpenTheProgramsFileDialog() {
    Program p;
    QTemporaryDir elsewhere;
    std::string ordering;
    auto classes = quillet::AllClassesInMatrixOrder();
    std::reverse(classes.begin(), classes.end());
    for (const auto& hc : classes) {
      const std::wstring label = quillet::ClassLabel(hc);
      ordering += std::string(label.begin(), label.end()) + "\n";
    }
    const QString chosen = elsewhere.filePath("MyOrdering.txt");
    WriteText(chosen.toStdString(), ordering);

    QString filter, suffix, typed;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    AnswerNext<QFileDialog>([&](QFileDialog* dialog) {
      filter = dialog->nameFilters().join(";");
      suffix = dialog->defaultSuffix();
      mode = dialog->fileMode();
      typed = dialog->findChild<QLineEdit*>("fileNameEdit")->text();
      dialog->reject();
    });
    QTest::mouseClick(p.Ribbon(ID_BUTTON_FILE_SIXPLUS), Qt::LeftButton);
    QCOMPARE(filter, QString("Ordering Files (*.txt)"));
    QCOMPARE(suffix, QString("txt"));
    QCOMPARE(mode, QFileDialog::ExistingFile);
    QCOMPARE(typed, QString("SixPlus*.txt"));
    QCOMPARE(p.frame->Action(ID_BUTTON_FILE_SIXPLUS)->text(), QString("SixPlusVsRandom"));

    AnswerNext<QFileDialog>([&](QFileDialog* dialog) {
      // Pasted into the name box (typing it would race the box's completion), then Open.
      dialog->findChild<QLineEdit*>("fileNameEdit")->setText(chosen);
      static_cast<QDialog*>(dialog)->accept();
    });
    QTest::mouseClick(p.Ribbon(ID_BUTTON_FILE_CHINA), Qt::LeftButton);
    QCOMPARE(p.frame->Action(ID_BUTTON_FILE_CHINA)->text(), QString("MyOrdering"));
    QCOMPARE(p.app->settings().Store().value("Game/FileChina").toString(), QString("MyOrdering.txt"));
  }

  void clearAllEmptiesTheEditorsStatistics() {
    Program p;
    for (const char* card : {"Kc", "7d", "6h"}) p.ClickCard(card);
    p.Type(0, "99");
    p.Apply(0);
    QTest::mouseClick(p.Button(p.Editor(), CFerroxView::kApplyId), Qt::LeftButton);
    QCOMPARE(p.Field(1294), QString("6"));
    auto* text = p.Editor()->findChild<QPlainTextEdit*>();
    QVERIFY(text->isVisible());

    QTest::mouseClick(p.Ribbon(ID_CLEAR_ALL), Qt::LeftButton);
    for (int id : {1294, 1295, 1308, 1309, 1351, 1354}) QCOMPARE(p.Field(id), QString());
    QCOMPARE(p.Count(), QString("0/630"));
    QVERIFY(!text->isVisible());
    for (int id : {CFerroxView::kLowEditId, CFerroxView::kHighEditId})
      QCOMPARE(p.Editor()->findChild<QDoubleSpinBox*>(QString::number(id))->text(), QString("0.0"));
  }

  // The screen is 1280 x 800 (Screen1280x800.json); the window fills it at a first start.
  void theEditorShowsWhatAClickActsOn() {
    Program p;
    QCOMPARE(p.frame->frameGeometry().size(), p.frame->screen()->availableGeometry().size());
    for (const char* card : {"Kc", "7d", "6h"}) p.ClickCard(card);
    p.Type(0, "AA");
    p.Apply(0);
    auto* scroll = qobject_cast<QScrollArea*>(p.frame->Documents()->activeSubWindow()->widget());
    QVERIFY(scroll);
    const auto inView = [scroll](QWidget* part) {
      const QRect shown(part->mapTo(scroll->viewport(), QPoint(0, 0)), part->size());
      return scroll->viewport()->rect().contains(shown);
    };
    QWidget* suits = p.Editor()->findChild<QLabel*>("suitCaption")->parentWidget();
    QTRY_VERIFY2(inView(p.Matrix()), "the whole matrix");
    QVERIFY2(inView(suits), "the suit grid beside it");
    p.ClickClass("66", Qt::RightButton);
    QVERIFY(inView(suits));
    QTest::mouseClick(p.Button(p.Editor(), CFerroxView::kApplyId), Qt::LeftButton);
    QVERIFY2(inView(p.Editor()->findChild<QLineEdit*>("1294")), "the statistics, scrolled to");

    // On a larger screen nothing needs scrolling.
    p.frame->resize(1600, 1000);
    QTRY_VERIFY(inView(p.Matrix()) && inView(suits) && inView(p.Editor()->findChild<QLineEdit*>("1360")));
    QTRY_VERIFY(!scroll->horizontalScrollBar()->isVisible() && !scroll->verticalScrollBar()->isVisible());
  }

  void aWindowKeptOnALargerScreenFitsThisOne() {
    QTemporaryDir home;
    auto app = StartApp(HomeOf(home));
    const QRect available = app->MainFrame()->screen()->availableGeometry();
    app->MainFrame()->setGeometry(available.adjusted(200, 150, 900, 700));
    app->MainFrame()->close();
    app->ExitInstance();
    app = StartApp(HomeOf(home));
    QVERIFY(available.contains(app->MainFrame()->frameGeometry()));
    app->ExitInstance();
  }

  void enterInARangeBoxAppliesItsRow() {
    Program p;
    p.Hands()->showMessage = [](const QString& text) { QFAIL(qPrintable(text)); };
    QMdiArea* documents = p.frame->Documents();
    p.Type(0, "AA");
    p.Key(Qt::Key_Return, Qt::NoModifier);
    QCOMPARE(documents->subWindowList().size(), 1);
    QCOMPARE(p.Editor()->Document()->PlayerSlot(), 0);
    QCOMPARE(p.Count(), QString("6/630"));
    p.Type(2, "KK,QQ");
    p.Key(Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(documents->subWindowList().size(), 2);
    QCOMPARE(p.Editor()->Document()->PlayerSlot(), 2);
    QCOMPARE(p.Count(), QString("12/630"));

    // The dead cards have no row to apply: Enter there opens nothing and keeps the cards.
    QTest::mouseClick(p.Hands()->DeadBox(), Qt::LeftButton);
    QTest::keyClicks(p.Hands()->DeadBox(), "Ah");
    p.Key(Qt::Key_Return, Qt::NoModifier);
    QCOMPARE(documents->subWindowList().size(), 2);
    QCOMPARE(p.Hands()->DeadBox()->text(), QString("Ah"));

    // In create mode an opponent's apply button is off, and so is Enter in its box.
    p.frame->Action(ID_MODE_CREATE)->trigger();
    const qsizetype open = documents->subWindowList().size();
    p.Type(3, "JJ");
    p.Key(Qt::Key_Return, Qt::NoModifier);
    QCOMPARE(documents->subWindowList().size(), open);
    p.Type(0, "JJ");
    p.Key(Qt::Key_Return, Qt::NoModifier);  // the Hero applies in both modes
    QCOMPARE(documents->subWindowList().size(), open + 1);
    QCOMPARE(p.Editor()->Document()->PlayerSlot(), 0);
  }

  void theBoxSaysWhatTheRowComputesWith() {
    Program p;
    p.Type(0, "AA,KK");
    p.Type(1, "QQ");
    p.Apply(0);
    p.ClickClass("KK");
    QCOMPARE(p.Hands()->RangeBox(0)->text(), QString("AA"));
    p.ClickClass("AKs");
    QCOMPARE(p.Hands()->RangeBox(0)->text(), p.Editor()->Document()->RangeText());
    BuiltRequest built = p.app->Hands().BuildRequest();
    QVERIFY(built.ok);
    quillet::Spec typed;
    p.app->ParseRange(p.Hands()->RangeBox(0)->text().toStdWString(), typed);
    QCOMPARE(built.specs[0].combos(), typed.combos());

    // A card put on the board later shows in the open editor at once.
    CFerroxDoc* hero = p.Editor()->Document();
    p.ClickCard("As");
    QCOMPARE(p.Count(), QString("6/630"));  // AA and AKs lose the ace of spades' hands
    // A text typed into the box and left reaches the editor.
    p.Type(0, "JJ");
    QTest::keyClick(p.Hands()->RangeBox(0), Qt::Key_Tab);
    QCOMPARE(hero->Count(), 6);
    QCOMPARE(hero->ClassCount(3, 3), 6);
  }

  void aRowWhoseEditorWasEmptiedIsRefusedSayingWhatItsMarkMeans() {
    Program p;
    p.Type(0, "KK");
    p.Type(1, "AA");
    p.Apply(1);
    p.ClickClass("AA");  // the editor left with no hand
    QCOMPARE(p.Count(), QString("0/630"));
    p.Apply(1);
    QCOMPARE(p.Hands()->RangeBox(1)->text(), QString("Error spectr:  "));
    QString told;
    AnswerNextMessageBox(&told);
    auto* evaluate = p.frame->findChild<CEvaluateView*>();
    QTest::mouseClick(p.Button(evaluate, CEvaluateView::kEvaluateId), Qt::LeftButton);
    QCOMPARE(told.section('\n', 0, 0), QString("Error in Op1 Error spectr:  "));
    QVERIFY2(told.section('\n', 1).startsWith("the row kept no hand when it was last applied"), qPrintable(told));
  }

  void theDeadBoxTakesADroppedRange() {
    Program p;
    CRangeEdit* dead = p.Hands()->DeadBox();
    QCOMPARE(dead->PlayerIndex(), kDeadTarget);
    std::unique_ptr<QMimeData> drop(MakeRangeMimeData("AhKd"));
    QVERIFY(DragAndDrop(dead, drop.get()));
    QCOMPARE(dead->text(), QString("AhKd"));
  }

  void theIniFileNextToTheProgramCountsAndTheUsersWins() {
    QTemporaryDir program, home;
    AppFolders folders = AppFolders::ForHome(HomeOf(home));
    folders.programDir = folders.dataDir = HomeOf(program);  // the one-folder layout
    folders.launcherDir = HomeOf(home);
    WriteText(HomeOf(program) / "Ferrox6Plus.ini", "[Splash]\nUse=0\n");
    {
      CFerroxApp app(folders);
      app.Construct();
      QVERIFY(!app.launcherUsed);
      QVERIFY(!std::filesystem::exists(HomeOf(home) / "tv.dat"));
    }
    WriteText(HomeOf(home) / "Ferrox6Plus.ini", "[Splash]\nUse=1\n");
    {
      CFerroxApp app(folders);
      app.Construct();
      QVERIFY(app.launcherUsed);
      app.ExitInstance();
    }
    WriteText(HomeOf(home) / "Ferrox6Plus.ini", "[Splash]\nUse=\n");  // empty: the program's says
    CFerroxApp app(folders);
    app.Construct();
    QVERIFY(!app.launcherUsed);
  }

  void aboutShowsTheProgramsTitle() {
    Program p;
    p.Type(0, "AA");
    p.Apply(0);
    QVERIFY(p.frame->windowTitle() != p.app->Title());  // the document's name comes first
    QString shown;
    AnswerNext<AboutDialog>([&shown](AboutDialog* about) {
      shown = about->TitleText();
      about->accept();
    });
    QTest::mouseClick(p.Ribbon(ID_APP_ABOUT), Qt::LeftButton);
    QCOMPARE(shown, QString("Ferrox6Plus  v4.11"));
  }

  void accessibleActionsDoWhatAClickDoes() {
    Program p;
    p.Type(0, "AA");
    p.Apply(0);
    // A screen reader builds a range: the cell's action selects the class.
    CHandCell* kings = nullptr;
    for (CHandCell* cell : p.Matrix()->findChildren<CHandCell*>())
      if (cell->text() == "KK") kings = cell;
    QAccessibleInterface* cell = QAccessible::queryAccessibleInterface(kings);
    QVERIFY(cell && cell->actionInterface());
    const QStringList actions = cell->actionInterface()->actionNames();
    QVERIFY(!actions.isEmpty());
    cell->actionInterface()->doAction(actions.first());
    QCOMPARE(p.Count(), QString("12/630"));
    QVERIFY(cell->state().checked);

    // Every enabled checkable button of the window does on its action what a click does.
    for (QAbstractButton* button : p.frame->findChildren<QAbstractButton*>()) {
      if (!button->isCheckable() || !button->isEnabled()) continue;
      QAccessibleInterface* face = QAccessible::queryAccessibleInterface(button);
      QVERIFY(face && face->actionInterface());
      QSignalSpy clicked(button, &QAbstractButton::clicked);
      face->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
      QVERIFY2(clicked.count() == 1, qPrintable(button->accessibleName() + " " + button->text()));
    }
  }
};

}  // namespace ferrox::testing

QTEST_MAIN(ferrox::testing::PlayerFlowTest)
#include "PlayerFlowTest.moc"
