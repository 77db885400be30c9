// The Hands pane's form against its model and the calculator document.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "model/HandsModel.h"
#include "quillet/Cards.h"
#include "quillet/HandClass.h"
#include "views/CardButton.h"
#include "views/DlgAllCards.h"
#include "views/HandsView.h"
#include "views/RangeDragData.h"
#include "views/RangeEdit.h"
#include "tests/views/ViewsTestSupport.h"

using namespace ferrox;
using ferrox::testing::Card;

namespace {


std::vector<CardIndex> Cards(std::initializer_list<const char*> names) {
  std::vector<CardIndex> cards;
  for (const char* name : names) cards.push_back(Card(name));
  return cards;
}

// A pane with its model, whose message boxes and pickers are recorded instead of shown.
struct Pane {
  CalculatorDocument document;
  PaneSettings settings;
  HandsModel hands{document, settings};
  CHandsView view{&hands, &document, &settings};
  QStringList messages;
  std::vector<CardIndex> pick;  // what the replaced picker clicks before its OK
  QSignalSpy shown{&view, &CHandsView::showDocument};
  QSignalSpy output{&view, &CHandsView::outputLines};
  QSignalSpy heatmap{&view, &CHandsView::heatmapRequested};

  Pane() {
    OrderingRanges orderings;
    orderings.standard.SetOrdering(quillet::AllClassesInMatrixOrder());
    settings.SetOrderings(orderings);
    view.showMessage = [this](const QString& message) { messages << message; };
    view.runPicker = [this](CDlgAllCards& dialog) {
      dialog.showMessage = nullptr;
      for (CardIndex card : pick) QTest::mouseClick(dialog.Button(card), Qt::LeftButton);
      dialog.accept();
    };
    view.show();
  }
  QAbstractButton* Button(int id) const { return view.findChild<QAbstractButton*>(QString::number(id)); }
  void Click(int id) const {
    QAbstractButton* button = Button(id);
    QVERIFY2(button, qPrintable(QString::number(id)));
    QTest::mouseClick(button, Qt::LeftButton);
  }
  void Type(int row, const QString& text) {
    view.RangeBox(row)->clear();
    QTest::keyClicks(view.RangeBox(row), text);
  }
  void Board(std::initializer_list<const char*> names) {
    for (CardIndex card : Cards(names)) QVERIFY(document.AppendBoardCard(card));
  }
  std::vector<int> BoardShown() const {
    std::vector<int> cards;
    for (int i = 0; i < kMaxBoardCards; ++i)
      if (view.BoardButton(i)->HasCard()) cards.push_back(view.BoardButton(i)->GetCard());
    return cards;
  }
};

void Drop(QWidget* target, QMimeData* mime) {
  const std::unique_ptr<QMimeData> owned(mime);
  const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
  QDragEnterEvent enter(QPoint(5, 5), actions, mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  QDropEvent drop(QPointF(5, 5), actions, mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
}

QString RandomText(QRandomGenerator& random) {
  static const QString alphabet = "AKQJT9876shdcxo+-,%:. htr!#0123456789";
  QString text;
  const int length = random.bounded(12);
  for (int i = 0; i < length; ++i) text += alphabet[random.bounded(alphabet.size())];
  return text;
}

}  // namespace

class HandsViewTest : public QObject {
  Q_OBJECT

 private slots:
  void boxesAndModelShareTheTexts() {
    Pane pane;
    pane.Type(2, "AKs, QQ");
    QCOMPARE(pane.hands.Text(2), QString("AKs, QQ"));
    QVERIFY(pane.view.RangeBox(2)->Modified());
    QTest::keyClicks(pane.view.DeadBox(), "6c");
    QCOMPARE(pane.hands.Text(kDeadTarget), QString("6c"));
    pane.hands.SetText(4, "JJ+");
    QCOMPARE(pane.view.RangeBox(4)->text(), QString("JJ+"));
    for (int row = 0; row < kHandRows; ++row) {
      QCOMPARE(pane.view.RangeBox(row)->objectName(), QString::number(kHandsRangeEditId + row));
      QCOMPARE(pane.view.RangeBox(row)->accessibleName(), HandsModel::RowName(row));
    }
  }

  void applyReportsTheFirstProblem() {
    Pane pane;
    pane.Type(1, "AA");
    pane.Click(kOpApplyId);
    QCOMPARE(pane.messages, QStringList{"Please enter Hero range!"});
    pane.Type(0, "KK");
    pane.Type(1, "xyz");
    pane.Type(2, "QQ");
    pane.Click(CHandsView::ApplyId(2));
    // The message as it always was, then why on a line of its own.
    QCOMPARE(pane.messages.last().section('\n', 0, 0), QString("Error in Op1 xyz"));
    QVERIFY2(pane.messages.last().section('\n', 1).contains("'xyz' not understood"), qPrintable(pane.messages.last()));
    pane.Type(1, "JJ");
    pane.Board({"Ah", "Kd"});
    pane.Click(CHandsView::ApplyId(2));
    QCOMPARE(pane.messages.last().section('\n', 0, 0), QString("Error board"));
    QVERIFY2(pane.messages.last().section('\n', 1).startsWith("the board has 2 cards;"),
             qPrintable(pane.messages.last()));
    QCOMPARE(pane.shown.size(), 0);
    QCOMPARE(pane.output.size(), 0);
  }

  void validApplyShowsTheDocumentAndSuitCounts() {
    Pane pane;
    pane.Type(0, "QQ");
    pane.Type(1, "AKs");
    pane.Click(CHandsView::ApplyId(1));
    QVERIFY(pane.messages.isEmpty());
    QCOMPARE(pane.shown.size(), 1);
    auto* document = pane.shown[0][0].value<CFerroxDoc*>();
    QCOMPARE(document, pane.hands.Document(1));
    QCOMPARE(pane.shown[0][1].toInt(), 1);
    QCOMPARE(document->Count(), 4);
    // Four suited combinations: each suit is in exactly one of them.
    QStringList expected;
    for (int suit = 0; suit < 4; ++suit) expected << QString("Suit %1 has 1 combinations/4 (25.00%)\r\n").arg(suit);
    QCOMPARE(pane.output.size(), 1);
    QCOMPARE(pane.output[0][0].toStringList(), expected);
    QVERIFY(!pane.view.RangeBox(1)->Modified());

    pane.Click(CHandsView::ApplyId(1));
    QCOMPARE(pane.shown.size(), 2);
    QCOMPARE(pane.shown[1][0].value<CFerroxDoc*>(), document);  // the row's document is reused
    pane.Type(0, "tt");
    pane.Click(kHeroApplyId);
    QCOMPARE(pane.heatmap.size(), 1);
    QCOMPARE(pane.shown.size(), 2);
  }

  void pickerAndClearButtonsChangeRowAndDocument() {
    Pane pane;
    pane.pick = Cards({"Ah", "Kh"});
    pane.Click(kHandsPickId + 3);
    QCOMPARE(pane.document.PlayerCards(3), Cards({"Ah", "Kh"}));
    QCOMPARE(pane.view.RangeBox(3)->text(), pane.document.PlayerText(3));
    QVERIFY(!pane.view.RangeBox(3)->text().isEmpty());
    QVERIFY(pane.hands.IsModified(3));
    pane.Click(kHandsClearId + 3);
    QVERIFY(pane.view.RangeBox(3)->text().isEmpty());
    QVERIFY(pane.document.PlayerCards(3).empty());

    pane.pick = Cards({"6c", "7d"});
    pane.Click(kDeadPickId);
    QCOMPARE(pane.document.Dead(), Cards({"6c", "7d"}));
    QCOMPARE(pane.view.DeadBox()->text(), pane.document.DeadText());
    pane.Click(kDeadClearId);
    QVERIFY(pane.view.DeadBox()->text().isEmpty());
    QVERIFY(pane.document.Dead().empty());
  }

  void boardButtonsAndStreetClears() {
    Pane pane;
    QVERIFY(pane.BoardShown().empty());
    QVERIFY(pane.view.BoardButton(0)->IsUsed());
    pane.Board({"Ah", "Kd", "7c", "6s"});
    QCOMPARE(pane.BoardShown(), Cards({"Ah", "Kd", "7c", "6s"}));
    QVERIFY(!pane.view.BoardButton(3)->IsUsed());
    QVERIFY(pane.view.BoardButton(4)->IsUsed());
    // A screen reader hears the place and the card.
    QCOMPARE(pane.view.BoardButton(3)->accessibleName(), QString("Turn card"));
    QCOMPARE(pane.view.BoardButton(3)->accessibleDescription(), QString("6s"));
    QCOMPARE(pane.view.BoardButton(4)->accessibleDescription(), QString("Empty"));
    pane.Click(kStreetClearId + 1);  // turn: the flop stays
    QCOMPARE(pane.document.Board(), Cards({"Ah", "Kd", "7c"}));
    QCOMPARE(pane.BoardShown(), Cards({"Ah", "Kd", "7c"}));
    pane.Board({"9h", "Ts"});
    pane.Click(kStreetClearId + 2);
    QCOMPARE(pane.BoardShown(), Cards({"Ah", "Kd", "7c", "9h"}));
    pane.Click(kStreetClearId);
    QVERIFY(pane.document.Board().empty());
    QVERIFY(pane.BoardShown().empty());
  }

  void clearAllEmptiesRowsAndBoard() {
    Pane pane;
    pane.Type(0, "AA");
    pane.Type(5, "KK");
    pane.Board({"Ah", "Kd", "7c", "6s", "9h"});
    pane.view.ClearAll();
    QVERIFY(pane.view.RangeBox(0)->text().isEmpty());
    QVERIFY(pane.hands.Text(5).isEmpty());
    QVERIFY(pane.BoardShown().empty());
  }

  void onlyMarkedDropsSetTheBox() {
    Pane pane;
    CRangeEdit* op3 = pane.view.RangeBox(3);
    op3->setText("QQ");
    Drop(op3, MakeRangeMimeData("aa, kk"));
    QCOMPARE(op3->text(), QString("aa, kk"));
    QCOMPARE(pane.hands.Text(3), QString("aa, kk"));
    auto* unmarked = new QMimeData;
    const QString text = "JJ";
    unmarked->setData(kRangeMimeFormat,
                      QByteArray(reinterpret_cast<const char*>(text.utf16()), (text.size() + 1) * 2));
    Drop(op3, unmarked);
    QCOMPARE(op3->text(), QString("aa, kk"));
  }

  void createModeDisablesPickersAndOpponentButtons() {
    Pane pane;
    QList<int> disabled;
    for (int id = 1195; id <= 1200; ++id) disabled << id;
    for (int id = 1202; id <= 1206; ++id) disabled << id;
    for (int id = 1208; id <= 1212; ++id) disabled << id;
    const QList<int> enabled{1355, 1213, 1214, 1215, 1216, 1217, 1218, 32796, 1388, 1321, 1322, 1323};
    pane.settings.SetMode(EditMode::Create);
    for (int id : disabled) QVERIFY2(!pane.Button(id)->isEnabled(), qPrintable(QString::number(id)));
    for (int id : enabled) QVERIFY2(pane.Button(id)->isEnabled(), qPrintable(QString::number(id)));
    pane.settings.SetMode(EditMode::Use);
    for (int id : disabled + enabled) QVERIFY2(pane.Button(id)->isEnabled(), qPrintable(QString::number(id)));
  }

  void enterInABoxAppliesItsRowWhereTheButtonWould() {
    Pane pane;
    pane.Type(0, "QQ");
    pane.Type(2, "AKs");
    QTest::keyClick(pane.view.RangeBox(2), Qt::Key_Return);
    QCOMPARE(pane.shown.size(), 1);
    QCOMPARE(pane.shown[0][1].toInt(), 2);  // the row typed in, no other
    QCOMPARE(pane.shown[0][0].value<CFerroxDoc*>(), pane.hands.Document(2));
    QTest::keyClick(pane.view.RangeBox(0), Qt::Key_Enter);  // the keypad's
    QCOMPARE(pane.shown.size(), 2);
    QCOMPARE(pane.shown[1][1].toInt(), 0);

    // In create mode an opponent's row does not apply, by button or by key; the Hero's does.
    pane.settings.SetMode(EditMode::Create);
    QTest::keyClick(pane.view.RangeBox(2), Qt::Key_Return);
    QCOMPARE(pane.shown.size(), 2);
    QVERIFY(pane.messages.isEmpty());
    QTest::keyClick(pane.view.RangeBox(0), Qt::Key_Return);
    QCOMPARE(pane.shown.size(), 3);
  }

  void randomTextsNeverBreakApply() {
    Pane pane;
    QRandomGenerator random(20240611);
    for (int round = 0; round < 150; ++round) {
      pane.settings.SetMode(round % 5 == 0 ? EditMode::Create : EditMode::Use);
      for (int row = 0; row < kHandRows; ++row) pane.view.RangeBox(row)->setText(RandomText(random));
      pane.view.DeadBox()->setText(RandomText(random));
      const int row = random.bounded(kHandRows);
      const qsizetype before = pane.messages.size() + pane.shown.size() + pane.heatmap.size();
      pane.view.ApplyRow(row);
      // Every apply ends in exactly one answer: a message, a document or the heatmap.
      QCOMPARE(pane.messages.size() + pane.shown.size() + pane.heatmap.size(), before + 1);
    }
  }
};

int RunHandsViewTest(int argc, char** argv) {
  HandsViewTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "HandsViewTest.moc"
