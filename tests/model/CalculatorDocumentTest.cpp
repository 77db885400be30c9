#include <gtest/gtest.h>

#include <thread>

#include "model/CalculatorDocument.h"
#include "model/CardPicker.h"
#include "tests/support/TestSupport.h"

namespace ferrox::testing {
namespace {

CardIndex Card(const char* name) { return CardsOf(name).at(0); }

class CalculatorDocumentTest : public ::testing::Test {
 protected:
  CalculatorDocumentTest() {
    QObject::connect(&document_, &CalculatorDocument::changed, [this] { ++changes_; });
  }
  void Board(const char* cards) {
    for (CardIndex c : CardsOf(cards)) ASSERT_TRUE(document_.AppendBoardCard(c));
  }

  CalculatorDocument document_;
  int changes_ = 0;
};

TEST_F(CalculatorDocumentTest, EachChangeIsAnnouncedOnceAndRefusalsChangeNothing) {
  Board("Ah Kd 7c 6s 9h");
  EXPECT_EQ(changes_, 5);
  EXPECT_FALSE(document_.AppendBoardCard(Card("Qc"))) << "five board cards at most";
  EXPECT_EQ(changes_, 5);

  ASSERT_TRUE(document_.SetPlayerHand(1, CardsOf("Qs Js")));
  EXPECT_EQ(changes_, 6) << "clearing and two cards make one change";
  EXPECT_TRUE(document_.SetPlayerHand(1, CardsOf("Js Ts"))) << "its own card is free to keep";
  EXPECT_EQ(document_.PlayerCards(1), CardsOf("Js Ts"));

  const int before = changes_;
  EXPECT_FALSE(document_.SetPlayerHand(1, CardsOf("Qs Ah"))) << "Ah is on the board";
  EXPECT_FALSE(document_.SetPlayerHand(1, CardsOf("Qs"))) << "exactly two cards";
  EXPECT_FALSE(document_.SetPlayerHand(1, CardsOf("Qs Qs")));
  EXPECT_FALSE(document_.SetPlayerHand(2, CardsOf("Ts 8c"))) << "Ts belongs to Op1";
  EXPECT_FALSE(document_.SetPlayerHand(6, CardsOf("Qs 8c"))) << "no such player";
  EXPECT_FALSE(document_.AppendDeadCards(CardsOf("8c Ts"))) << "all or nothing";
  EXPECT_FALSE(document_.AppendDeadCards(CardsOf("8c 8c")));
  EXPECT_EQ(document_.PlayerCards(1), CardsOf("Js Ts"));
  EXPECT_TRUE(document_.PlayerCards(2).empty());
  EXPECT_TRUE(document_.Dead().empty());
  EXPECT_EQ(changes_, before);

  EXPECT_TRUE(document_.AppendDeadCards(CardsOf("8c 8d")));
  EXPECT_EQ(changes_, before + 1);
  EXPECT_EQ(document_.DeadText(), QStringLiteral("8c8d"));
}

TEST_F(CalculatorDocumentTest, ChangesMadeElsewhereOnTheStoreAreAnnouncedToo) {
  TableCardStore& store = document_.Store();
  store.AppendBoardCard(Card("As"));
  EXPECT_EQ(changes_, 1);
  EXPECT_EQ(document_.Board(), CardsOf("As"));
}

TEST_F(CalculatorDocumentTest, AnotherThreadCannotChangeIt) {
  bool appended = true;
  std::thread([&] { appended = document_.AppendBoardCard(Card("As")); }).join();
  EXPECT_FALSE(appended);
  std::thread([&] { appended = document_.SetPlayerHand(0, CardsOf("Ah Kh")); }).join();
  EXPECT_FALSE(appended);
  EXPECT_EQ(changes_, 0);
  EXPECT_EQ(document_.TakenMask(), 0u);
}

TEST_F(CalculatorDocumentTest, ClearingAStreetKeepsTheStreetsBeforeIt) {
  Board("Ah Kd 7c 6s");
  document_.ClearStreet(Street::Turn);
  EXPECT_EQ(document_.Board(), CardsOf("Ah Kd 7c")) << "turn clear keeps the flop";
  document_.ClearStreet(Street::Turn);
  EXPECT_EQ(document_.Board(), CardsOf("Ah Kd 7c")) << "nothing to clear";

  Board("6s 9h");
  document_.ClearStreet(Street::River);
  EXPECT_EQ(document_.Board(), CardsOf("Ah Kd 7c 6s"));
  Board("9h");
  document_.ClearStreet(Street::Turn);
  EXPECT_EQ(document_.Board(), CardsOf("Ah Kd 7c")) << "turn and river go together";
  document_.ClearStreet(Street::Flop);
  EXPECT_TRUE(document_.Board().empty());
}

TEST_F(CalculatorDocumentTest, PlayerPickerRules) {
  Board("Qs Js Ts");
  ASSERT_TRUE(document_.SetPlayerHand(0, CardsOf("Ah Kd")));
  ASSERT_TRUE(document_.SetPlayerHand(1, CardsOf("9c 9d")));
  ASSERT_TRUE(document_.AppendDeadCards(CardsOf("6c")));

  CardPicker picker(document_, 1);
  for (const char* taken : {"Ah", "Kd", "Qs", "Js", "Ts", "6c"}) {
    EXPECT_FALSE(picker.IsAvailable(Card(taken))) << taken;
    EXPECT_FALSE(picker.Click(Card(taken))) << taken;
  }
  EXPECT_TRUE(picker.IsAvailable(Card("9c"))) << "its own cards";
  EXPECT_EQ(picker.Selection(), CardsOf("9c 9d"));
  EXPECT_FALSE(picker.IsAvailable(Card("2c"))) << "not in the short deck";

  EXPECT_FALSE(picker.Click(Card("8h"))) << "a third card is refused";
  EXPECT_TRUE(picker.Click(Card("9c")));
  EXPECT_FALSE(picker.IsSelected(Card("9c")));
  const PickerOutcome one = document_.AcceptPicker(1, picker.Selection());
  EXPECT_FALSE(one.accepted);
  EXPECT_EQ(one.message, QStringLiteral("Highlight the number of cards"));
  EXPECT_EQ(document_.PlayerCards(1), CardsOf("9c 9d")) << "nothing changes while the picker stays open";

  EXPECT_TRUE(picker.Click(Card("8h"))) << "deselecting freed a place";
  const PickerOutcome two = document_.AcceptPicker(1, picker.Selection());
  EXPECT_TRUE(two.accepted);
  EXPECT_TRUE(two.message.isEmpty());
  EXPECT_EQ(document_.PlayerCards(1), CardsOf("9d 8h"));
  EXPECT_EQ(document_.PlayerCards(0), CardsOf("Ah Kd"));
}

TEST_F(CalculatorDocumentTest, DeadPickerOnlyAdds) {
  Board("Qs Js Ts");
  ASSERT_TRUE(document_.SetPlayerHand(3, CardsOf("Ah Kd")));
  ASSERT_TRUE(document_.AppendDeadCards(CardsOf("6c")));

  CardPicker picker(document_, kDeadTarget);
  EXPECT_TRUE(picker.Selection().empty());
  for (const char* taken : {"Ah", "Kd", "Qs", "6c"}) EXPECT_FALSE(picker.IsAvailable(Card(taken))) << taken;
  EXPECT_TRUE(document_.AcceptPicker(kDeadTarget, picker.Selection()).accepted) << "none is fine";
  EXPECT_EQ(document_.Dead(), CardsOf("6c"));

  for (const char* name : {"7c", "7d", "7h", "7s"}) EXPECT_TRUE(picker.Click(Card(name))) << "any number";
  EXPECT_TRUE(document_.AcceptPicker(kDeadTarget, picker.Selection()).accepted);
  EXPECT_EQ(document_.Dead(), CardsOf("6c 7c 7d 7h 7s"));
}

}  // namespace
}  // namespace ferrox::testing
