// The request a saved hand makes: the ranges the program's Evaluate would compute with
// after opening it, and its refusals.
#include <gtest/gtest.h>

#include "engine/HandRequest.h"
#include "engine/RefusalReason.h"
#include "tests/support/Ranges.h"

namespace ferrox::testing {
namespace {

using quillet::Spec;

class HandRequest : public ::testing::Test {
 protected:
  HandRequest() : parser_(orderings_, quillet::kRulesStandard) {
    orderings_.standard.SetOrdering(quillet::AllClassesInMatrixOrder());
    hand_.board = CardsOf("Ah Kd 7c");
    hand_.ranges[1] = L"QQ";
  }

  bool Build() {
    TableCardStore table;
    return BuildHandRequest(hand_, parser_, table, input_, request_, failure_);
  }
  std::wstring Explained() const {
    return ExplainRefusal(failure_, input_, parser_, hand_.board, ReasonPlace::SameLine);
  }

  OrderingRanges orderings_;
  RangeParser parser_;
  SavedHand hand_;
  HandsInput input_;
  RequestData request_;
  RequestFailure failure_;
};

TEST_F(HandRequest, AnEditorsRangeStandsForItsPlayerLessTheKnownCardsInUseMode) {
  // The editor holds AA and KK as built; the board, a dead card and Op2's single hand
  // are known to the Hero.
  hand_.ranges[0] = L"AA,KK";
  hand_.ranges[2] = L"AsQs";
  hand_.dead = CardsOf("Kc");
  hand_.deadText = L"Kc";
  hand_.editors.push_back({0, L"AA,KK", SpecOf("AA KK"), 0, 2});
  ASSERT_TRUE(Build()) << std::string(failure_.message.begin(), failure_.message.end());
  const Spec left = SpecOf("AdAc KsKh");
  EXPECT_EQ(input_.specs[0].combos(), left.combos());
  EXPECT_EQ(request_.handLists[0], HandList(left));
  EXPECT_EQ(request_.handLists[1], ListOf("QQ"));
  EXPECT_EQ(request_.opponentCount, 2);
  EXPECT_EQ(input_.texts[kDeadTextSlot], L"Kc");
  EXPECT_EQ(request_.deadMask, quillet::CardBit(CardsOf("Kc")[0]));

  // Create mode: the range as built, board cards and all.
  hand_.useMode = false;
  ASSERT_TRUE(Build());
  EXPECT_EQ(input_.specs[0].combos(), SpecOf("AA KK").combos());
}

TEST_F(HandRequest, AnEmptyBoxLeavesThePlayerToTheEditor) {
  hand_.editors.push_back({0, L"AKs", SpecOf("AsKs AcKc AhKh"), 0, 1});
  ASSERT_TRUE(Build());
  EXPECT_EQ(input_.specs[0].combos(), SpecOf("AsKs AcKc").combos());

  // An editor emptied: no hand for the Hero, as Evaluate says.
  hand_.editors[0].range.clear();
  EXPECT_FALSE(Build());
  EXPECT_EQ(Explained(), L"Bad Hero range! (the text is empty)");
}

TEST_F(HandRequest, AStaleBoxThatReadsAsARangeReplacesTheEditorsRange) {
  // Typed after the editor last agreed: the box counts, less the known cards, in either mode.
  hand_.ranges[0] = L"JJ";
  hand_.dead = CardsOf("Jc");
  hand_.editors.push_back({0, L"AA", SpecOf("AA"), 0, 1});
  for (const bool useMode : {true, false}) {
    hand_.useMode = useMode;
    const SavedHand opened = OpenedHand(hand_, parser_);
    ASSERT_EQ(opened.editors.size(), 1u);
    EXPECT_EQ(opened.editors[0].text, L"JJ");
    EXPECT_EQ(opened.editors[0].range.combos(), SpecOf("JsJh JsJd JhJd").combos());
    EXPECT_EQ(opened.editors[0].bandHigh, 1) << "the band stays";
    EXPECT_EQ(OpenedSpecs(hand_, parser_)[0].combos(), SpecOf("JsJh JsJd JhJd").combos());
    EXPECT_EQ(OpenedHand(opened, parser_), opened) << "opening twice changes nothing";
    ASSERT_TRUE(Build());
    EXPECT_EQ(input_.specs[0].combos(), SpecOf("JsJh JsJd JhJd").combos()) << useMode;
  }
  // An editor that agrees with its box stays as built.
  hand_.editors[0].text = L"JJ";
  EXPECT_EQ(OpenedHand(hand_, parser_), hand_);
}

TEST_F(HandRequest, AStaleBoxThatDoesNotReadIsRefusedWithTheProgramsMessage) {
  hand_.ranges[0] = L"AKs, A|";
  hand_.editors.push_back({0, L"AA", SpecOf("AA"), 0, 1});
  EXPECT_EQ(OpenedHand(hand_, parser_), hand_) << "left as it is";
  EXPECT_FALSE(Build());
  EXPECT_EQ(Explained(), L"Bad Hero range! ('A|' not understood in 'AKs, A|')");

  hand_.ranges[0] = L"AA";
  hand_.ranges[2] = L"xyz";
  hand_.editors.push_back({2, L"KK", SpecOf("KK"), 0, 1});
  EXPECT_FALSE(Build());
  EXPECT_EQ(failure_.opponent, 2);
  EXPECT_EQ(Explained(), L"Error in Op2 xyz ('xyz' not understood)");
}

TEST_F(HandRequest, ASingleHandTakenInARowBeforeIsKnownToTheRowsAfter) {
  // Both boxes were retyped: the Hero's single hand, taken first, leaves Op1's editor.
  hand_.ranges[0] = L"QsQh";
  hand_.ranges[1] = L"QQ";
  hand_.editors.push_back({0, L"AA", SpecOf("AA"), 0, 1});
  hand_.editors.push_back({1, L"KK", SpecOf("KK"), 0, 1});
  const SavedHand opened = OpenedHand(hand_, parser_);
  EXPECT_EQ(opened.editors[1].range.combos(), SpecOf("QdQc").combos());
  ASSERT_TRUE(Build());
  EXPECT_EQ(request_.handLists[1], ListOf("QdQc"));
}

TEST_F(HandRequest, TheTableHoldsTheHandsCards) {
  hand_.dead = CardsOf("Qs 9c");
  hand_.playerCards[3] = CardsOf("6h 6d");
  TableCardStore table;
  ASSERT_TRUE(FillTable(hand_, table));
  EXPECT_EQ(table.Board(), hand_.board);
  EXPECT_EQ(table.Dead(), hand_.dead);
  EXPECT_EQ(table.PlayerCards(3), hand_.playerCards[3]);

  hand_.dead.push_back(hand_.board[0]);
  TableCardStore again;
  EXPECT_FALSE(FillTable(hand_, again)) << "a card held twice";
  EXPECT_FALSE(Build());
}

}  // namespace
}  // namespace ferrox::testing
