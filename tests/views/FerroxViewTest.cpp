// The range editor form against its document: toggling, the band, suit editing, board
// statistics and undo. Cells are (column, row), 0 the ace; the ordering is the matrix order,
// so the top percent is a known prefix of the matrix.
#include <QAction>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "model/CalculatorDocument.h"
#include "model/FerroxDoc.h"
#include "model/HandsModel.h"
#include "model/PaneSettings.h"
#include "quillet/Cards.h"
#include "quillet/Evaluator.h"
#include "quillet/HandClass.h"
#include "views/FerroxView.h"
#include "views/HandCell.h"
#include "views/HandSpectr.h"
#include "views/RangeSlider.h"
#include "views/SuitBtn.h"
#include "tests/views/ViewsTestSupport.h"

using namespace ferrox;
using ferrox::testing::Card;

namespace {

constexpr int kA = 0, kK = 1, kQ = 2;


quillet::Spec ClassSpec(const char* label) {
  quillet::Spec spec;
  spec.AddClass(*quillet::ParseClassLabel(QString(label).toStdWString()));
  return spec;
}

void SetBoard(CalculatorDocument& cards, std::initializer_list<const char*> names) {
  cards.ClearBoard();
  for (const char* name : names) QVERIFY(cards.AppendBoardCard(Card(name)));
}

struct Editor {
  PaneSettings settings;
  CFerroxDoc doc{0};
  CFerroxView view;

  explicit Editor(HandsModel* hands = nullptr, EditMode mode = EditMode::Create) {
    quillet::Spec ordering;
    ordering.SetOrdering(quillet::AllClassesInMatrixOrder());
    settings.SetOrdering(quillet::kRulesStandard, ordering);
    settings.SetMode(mode);
    view.SetDocument(&doc, hands, &settings);
  }
  CHandSpectr* Matrix() const { return view.findChild<CHandSpectr*>(); }
  CRangeSlider* Slider() const { return view.findChild<CRangeSlider*>(QString::number(CFerroxView::kSliderId)); }
  QString Field(int id) const { return view.findChild<QLineEdit*>(QString::number(id))->text(); }
  QDoubleSpinBox* Spin(int id) const { return view.findChild<QDoubleSpinBox*>(QString::number(id)); }
  CSuitBtn* Suit(int k) const {
    return view.findChild<CSuitBtn*>(QString::number(CFerroxView::kFirstSuitId + k));
  }
  CHandCell* Cell(const char* label) const {
    for (auto* cell : view.findChildren<CHandCell*>())
      if (cell->text() == QLatin1String(label)) return cell;
    return nullptr;
  }
  void Click(int column, int row, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(Matrix(), button, {}, QPoint(column * 35 + 17, row * 33 + 16));
  }
  int Top(double percent) const {
    quillet::Spec spec;
    std::wstring text;
    if (percent > 0) settings.Parser().ResolvePercent(percent, spec, text);
    return static_cast<int>(spec.size());
  }
  QList<int> VisibleSuits() const {
    QList<int> shown;
    for (int k = 0; k < 16; ++k)
      if (!Suit(k)->isHidden()) shown << k;
    return shown;
  }
};

}  // namespace

class FerroxViewTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    if (!quillet::fsm5::IsLoaded()) QVERIFY(quillet::fsm5::load_fsm5() && quillet::fsm5::load_fsm7());
  }

  void clickingAClassTogglesItsCombinations() {
    Editor e;
    e.Click(kK, kA);  // AKs
    QCOMPARE(e.Matrix()->GetCount(kK, kA), 4);
    QCOMPARE(e.Field(CFerroxView::kCountId), QString("4/630"));
    QCOMPARE(e.Field(CFerroxView::kShareId), QString("0.63%"));
    QCOMPARE(e.view.windowTitle(), QString("AKs"));
    e.Click(kQ, kQ);
    QCOMPARE(e.Field(CFerroxView::kCountId), QString("10/630"));
    QCOMPARE(e.view.windowTitle(), e.doc.RangeText());

    e.Click(kK, kA);
    e.Click(kQ, kQ);
    QVERIFY(!e.Matrix()->IsSelected(kK, kA));
    QCOMPARE(e.Matrix()->GetCount(kK, kA), -1);
    QCOMPARE(e.Field(CFerroxView::kCountId), QString("0/630"));
    QCOMPARE(e.Field(CFerroxView::kShareId), QString("0.00%"));
  }

  void useModeKeepsOnlyWhatTheKnownCardsLeave() {
    CalculatorDocument cards;
    SetBoard(cards, {"Ah", "Kd", "7c"});
    PaneSettings handsSettings;
    HandsModel hands(cards, handsSettings);
    hands.SetText(0, QStringLiteral("QQ"));
    CFerroxDoc* hero = hands.Apply(0).document;
    QVERIFY(hero);
    Editor e(&hands, EditMode::Use);
    e.view.SetDocument(hero, &hands, &e.settings);
    e.Click(kK, kA);
    QCOMPARE(e.Matrix()->GetCount(kK, kA), 2);  // AcKc and AsKs
    QCOMPARE(e.Field(CFerroxView::kCountId), QString("8/630"));

    // The suit grid shows AKo's twelve pairs; those with the Ah or the Kd cannot be chosen.
    e.Click(kA, kK, Qt::RightButton);
    QCOMPARE(e.VisibleSuits().size(), 12);
    int enabled = 0;
    for (int k : e.VisibleSuits()) enabled += e.Suit(k)->isEnabled();
    QCOMPARE(enabled, 7);  // neither the Ah nor the Kd
    QVERIFY(!e.Suit(4 * 2 + 0)->isEnabled());  // AhKc
    QTest::mouseClick(e.Suit(4 * 2 + 0), Qt::LeftButton);
    QVERIFY(!hero->Range().contains(Card("Ah"), Card("Kc")));

    // The widest band holds only what can be dealt.
    e.Spin(CFerroxView::kHighEditId)->setValue(100.0);
    QCOMPARE(e.Field(CFerroxView::kCountId), QString("528/630"));
  }

  void documentChangesRefreshTheForm() {
    Editor e;
    e.doc.SetRange(ClassSpec("QQ"), QStringLiteral("QQ"));
    QCOMPARE(e.Matrix()->GetCount(kQ, kQ), 6);
    QCOMPARE(e.Field(CFerroxView::kCountId), QString("6/630"));
    // An unedited range given from outside sets the band to its share.
    QCOMPARE(e.Spin(CFerroxView::kHighEditId)->value(), 1.0);
    QCOMPARE(e.Slider()->Right(), e.doc.BandHigh());
  }

  void sliderAndSpinBoxesMoveTheBandInStep() {
    Editor e;
    e.Spin(CFerroxView::kHighEditId)->setValue(30.0);
    QCOMPARE(e.doc.Count(), e.Top(30));
    QCOMPARE(e.Field(CFerroxView::kCountId), e.doc.CountText());
    auto* slider = e.Slider();
    QCOMPARE(slider->Right(), 30.0);

    slider->SetRange(10.0, 30.0);
    emit slider->rangeChanged(0);
    QCOMPARE(e.Spin(CFerroxView::kLowEditId)->value(), 10.0);
    QCOMPARE(e.doc.BandLow(), 10.0);
    QCOMPARE(e.doc.Count(), e.Top(30) - e.Top(10));
    QVERIFY2(e.Top(10) > 0 && !e.Matrix()->IsSelected(kA, kA), "the top hands left");
    QCOMPARE(e.Field(CFerroxView::kCountId), e.doc.CountText());

    e.Spin(CFerroxView::kLowEditId)->stepDown();
    QCOMPARE(e.doc.BandLow(), 9.9);
    e.Spin(CFerroxView::kLowEditId)->setValue(0.0);
    QCOMPARE(slider->Left(), 0.0);
    QCOMPARE(e.doc.Count(), e.Top(30));
    QVERIFY(e.Matrix()->IsSelected(kA, kA));
    QCOMPARE(e.Field(CFerroxView::kCountId), e.doc.CountText());
  }

  void suitButtonsEditThePickedClass() {
    Editor e;
    e.Click(kK, kA);
    e.Click(kK, kA, Qt::RightButton);
    QCOMPARE(e.view.findChild<QLabel*>("suitCaption")->text(), QString("AKs "));
    QCOMPARE(e.VisibleSuits(), (QList<int>{0, 5, 10, 15}));
    for (int k : e.VisibleSuits()) QVERIFY(e.Suit(k)->isChecked());
    QCOMPARE(e.Cell("AKs")->Colour(), CFerroxView::kEditedCellColour);

    QTest::mouseClick(e.Suit(5), Qt::LeftButton);
    QVERIFY(!e.Suit(5)->isChecked());
    QVERIFY(!e.doc.Range().contains(Card("Ad"), Card("Kd")));
    QCOMPARE(e.Matrix()->GetCount(kK, kA), 3);
    QCOMPARE(e.Field(CFerroxView::kCountId), QString("3/630"));
    QTest::mouseClick(e.Suit(5), Qt::LeftButton);
    QCOMPARE(e.Matrix()->GetCount(kK, kA), 4);

    e.Click(kQ, kQ, Qt::RightButton);  // not selected: shown for editing, not coloured
    QCOMPARE(e.VisibleSuits(), (QList<int>{1, 2, 3, 6, 7, 11}));
    for (int k : e.VisibleSuits()) QVERIFY(!e.Suit(k)->isChecked());
    QVERIFY(e.Cell("AKs")->Colour() != CFerroxView::kEditedCellColour);
    QVERIFY(e.Cell("QQ")->Colour() != CFerroxView::kEditedCellColour);
  }

  void applyCountsTheRangeOnTheBoard_data() {
    QTest::addColumn<bool>("withHands");
    QTest::newRow("shared board") << false;
    QTest::newRow("hands pane") << true;
  }

  void applyCountsTheRangeOnTheBoard() {
    QFETCH(bool, withHands);
    CalculatorDocument cards;
    PaneSettings handsSettings;
    HandsModel hands(cards, handsSettings);
    Editor e(withHands ? &hands : nullptr);
    if (!withHands) e.view.SetTable(&cards);
    SetBoard(cards, {"Kc", "7d", "6h"});
    e.doc.SetRange(ClassSpec("99"), QStringLiteral("99"));
    QTest::mouseClick(e.view.findChild<QPushButton*>(QString::number(CFerroxView::kApplyId)), Qt::LeftButton);
    for (int id : {1294, 1308}) QCOMPARE(e.Field(id), QString("6"));
    for (int id : {1295, 1309}) QCOMPARE(e.Field(id), QString("100.00%"));
    for (int id : {1300, 1301, 1302, 1303, 1347, 1353, 1296, 1354, 1356, 1357}) QCOMPARE(e.Field(id), QString("0"));
    QCOMPARE(e.Field(1304), QString("0.00%"));
    if (withHands) QCOMPARE(hands.Range(0).size(), 6u);

    // Once counted, the table follows the range and the board.
    e.doc.SetRange(ClassSpec("AKs"), QStringLiteral("AKs"));
    QCOMPARE(e.Field(1301), QString("3"));  // top pair: AcKc holds the board's Kc
    QCOMPARE(e.Field(1308), QString("0"));
    if (withHands) {  // the Hands pane tells of board changes
      QVERIFY(cards.AppendBoardCard(Card("Ad")));
      QCOMPARE(e.Field(1353), QString("2"));  // two pairs: AhKh and AsKs
      QCOMPARE(e.Field(1301), QString("0"));
      QVERIFY(cards.RemoveBoardCard(3));
    }
    // Two board cards: nothing can be counted, and no count of another board stays.
    QVERIFY(cards.RemoveBoardCard(2));
    e.doc.SetRange(ClassSpec("99"), QStringLiteral("99"));
    QCOMPARE(e.Field(1294), QString());
    e.view.ApplyStatistics();
    QCOMPARE(e.Field(1294), QString());
    if (withHands) {  // the third card back: the table follows again
      QVERIFY(cards.AppendBoardCard(Card("6h")));
      QCOMPARE(e.Field(1294), QString("6"));
    }
  }

  void applyOnATwoCardBoardShowsNothing() {
    CalculatorDocument cards;
    SetBoard(cards, {"Kc", "7d"});
    Editor e;
    e.view.SetTable(&cards);
    e.doc.SetRange(ClassSpec("99"), QStringLiteral("99"));
    e.view.ApplyStatistics();
    QCOMPARE(e.Field(1294), QString());
    QCOMPARE(e.Field(1295), QString());
  }

  void readOnlyFieldsTakeTheSettingsColours() {
    Editor e;
    auto* field = e.view.findChild<QLineEdit*>(QString::number(CFerroxView::kCountId));
    const QPalette before = field->palette();
    e.settings.SetBackground(0x0000ff);  // red in the low byte
    e.settings.SetFontColour(0xff0000);
    QCOMPARE(field->palette().color(QPalette::Base), QColor(255, 0, 0));
    QCOMPARE(field->palette().color(QPalette::Text), QColor(0, 0, 255));
    e.settings.SetBackground(-1);
    e.settings.SetFontColour(-1);
    QCOMPARE(field->palette().color(QPalette::Base), before.color(QPalette::Base));
    QCOMPARE(field->palette().color(QPalette::Text), before.color(QPalette::Text));
  }

  void theMenusUndoAndRedoFollowTheHistory() {
    Editor e;
    const QList<QAction*> actions = e.view.EditActions();
    QCOMPARE(actions.size(), 2);
    QAction* undo = actions[0];
    QAction* redo = actions[1];
    QVERIFY(!undo->isEnabled() && !redo->isEnabled());
    e.Click(kK, kA);
    QVERIFY(undo->isEnabled());
    undo->trigger();
    QCOMPARE(e.Field(CFerroxView::kCountId), QString("0/630"));
    QVERIFY(!undo->isEnabled() && redo->isEnabled());
    redo->trigger();
    QCOMPARE(e.Matrix()->GetCount(kK, kA), 4);
  }

  void theFormsFieldsLeaveTheUndoKeysToTheFrame() {
    Editor e;
    auto* spin = e.Spin(CFerroxView::kHighEditId);
    for (QKeyCombination key : {QKeyCombination(Qt::CTRL, Qt::Key_Z), QKeyCombination(Qt::CTRL, Qt::Key_Y),
                                QKeyCombination(Qt::ALT, Qt::Key_Backspace)}) {
      QKeyEvent override(QEvent::ShortcutOverride, key.key(), key.keyboardModifiers());
      QApplication::sendEvent(spin->findChild<QLineEdit*>(), &override);
      QVERIFY2(!override.isAccepted(), "the spin box's own text undo would hide the range's");
    }
    QKeyEvent other(QEvent::ShortcutOverride, Qt::Key_C, Qt::ControlModifier);
    QApplication::sendEvent(spin->findChild<QLineEdit*>(), &other);
    QVERIFY(other.isAccepted());
  }
};

int RunFerroxViewTest(int argc, char** argv) {
  FerroxViewTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "FerroxViewTest.moc"
