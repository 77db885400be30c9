// The Cards pane and the card picker against the calculator document.
#include <QTest>

#include "model/CalculatorDocument.h"
#include "quillet/Cards.h"
#include "views/CardButton.h"
#include "views/CardsView.h"
#include "views/DlgAllCards.h"
#include "tests/views/ViewsTestSupport.h"

using namespace ferrox;
using ferrox::testing::Card;

namespace {

void Click(CCardButton* button) {
  QVERIFY(button);
  QTest::mouseClick(button, Qt::LeftButton);
}

}  // namespace

class CardsPaneTest : public QObject {
  Q_OBJECT

 private slots:
  void clicksMakeABoardOfFiveAtMost() {
    CalculatorDocument document;
    CCardsView view;
    view.SetDocument(&document);
    for (const char* name : {"Ah", "Kd", "7c"}) Click(view.Button(Card(name)));
    QCOMPARE(document.Board(), (std::vector<CardIndex>{Card("Ah"), Card("Kd"), Card("7c")}));
    QVERIFY(view.Button(Card("Kd"))->IsUsed());
    QVERIFY(!view.Button(Card("Qd"))->IsUsed());
    Click(view.Button(Card("Ah")));
    QCOMPARE(document.Board().size(), 3u);
    for (const char* name : {"6s", "9h", "Ts"}) Click(view.Button(Card(name)));
    QCOMPARE(document.Board().size(), 5u);
    QVERIFY2(!view.Button(Card("Ts"))->IsUsed(), "a sixth card is ignored");
  }

  void cardsTakenElsewhereShowAsUsedAndCannotJoinTheBoard() {
    CalculatorDocument document;
    CCardsView view;
    view.SetDocument(&document);
    QVERIFY(document.AppendDeadCards({Card("Qs")}));
    QVERIFY(document.SetPlayerHand(1, {Card("Js"), Card("Jh")}));
    QVERIFY(view.Button(Card("Qs"))->IsUsed());
    QVERIFY(view.Button(Card("Jh"))->IsUsed());
    Click(view.Button(Card("Jh")));
    QVERIFY(document.Board().empty());
    document.ClearDead();
    QVERIFY2(!view.Button(Card("Qs"))->IsUsed(), "kept in step with the document");
  }

  void aPlayersPickerOffersOnlyFreeCardsAndTakesExactlyTwo() {
    CalculatorDocument document;
    QVERIFY(document.AppendBoardCard(Card("Ah")));
    QVERIFY(document.SetPlayerHand(0, {Card("Kd"), Card("Kc")}));
    CDlgAllCards picker(document, 1);
    picker.showMessage = nullptr;
    QVERIFY(!picker.Button(Card("Ah"))->isEnabled());
    QVERIFY(!picker.Button(Card("Kd"))->isEnabled());
    Click(picker.Button(Card("Qs")));
    picker.accept();
    QCOMPARE(picker.LastMessage(), QString("Highlight the number of cards"));
    QVERIFY(document.PlayerCards(1).empty());
    Click(picker.Button(Card("Qh")));
    Click(picker.Button(Card("Qd")));
    QCOMPARE(picker.Selection().size(), 2u);  // a third card is refused
    QVERIFY(!picker.Button(Card("Qd"))->IsUsed());
    Click(picker.Button(Card("Qh")));
    Click(picker.Button(Card("Qd")));
    picker.accept();
    QCOMPARE(picker.result(), int(QDialog::Accepted));
    QCOMPARE(document.PlayerCards(1), (std::vector<CardIndex>{Card("Qs"), Card("Qd")}));
  }

  void aPlayersPickerStartsFromItsCards() {
    CalculatorDocument document;
    QVERIFY(document.SetPlayerHand(2, {Card("9s"), Card("8s")}));
    CDlgAllCards picker(document, 2);
    QVERIFY(picker.Button(Card("9s"))->isEnabled());
    QVERIFY(picker.Button(Card("9s"))->IsUsed());
    QCOMPARE(picker.Selection().size(), 2u);
  }

  void theDeadPickerOnlyAdds() {
    CalculatorDocument document;
    QVERIFY(document.AppendDeadCards({Card("6c")}));
    CDlgAllCards picker(document, kDeadTarget);
    QVERIFY(!picker.Button(Card("6c"))->isEnabled());
    QVERIFY(picker.Selection().empty());
    picker.accept();
    QCOMPARE(picker.result(), int(QDialog::Accepted));  // no card at all is fine
    CDlgAllCards more(document, kDeadTarget);
    for (const char* name : {"7c", "8c", "9c"}) Click(more.Button(Card(name)));
    more.accept();
    QCOMPARE(document.Dead(), (std::vector<CardIndex>{Card("6c"), Card("7c"), Card("8c"), Card("9c")}));
  }

  void cancelChangesNothing() {
    CalculatorDocument document;
    CDlgAllCards picker(document, 3);
    Click(picker.Button(Card("As")));
    Click(picker.Button(Card("Ad")));
    picker.reject();
    QVERIFY(document.PlayerCards(3).empty());
  }
};

int RunCardsPaneTest(int argc, char** argv) {
  CardsPaneTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "CardsPaneTest.moc"
