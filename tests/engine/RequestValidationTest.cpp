#include <gtest/gtest.h>

#include "engine/RangeResolution.h"
#include "engine/RequestValidation.h"
#include "engine/TableCardStore.h"
#include "tests/support/Ranges.h"

namespace ferrox::testing {
namespace {

class FixedLinks : public RangeLinks {
 public:
  bool IsLinked(int slot) const override { return linked[slot]; }
  const quillet::Spec* LinkedRange(int slot) const override { return ranges[slot].empty() ? nullptr : &ranges[slot]; }
  std::array<bool, 6> linked{};
  std::array<quillet::Spec, 6> ranges;
};

class Validation : public ::testing::Test {
 protected:
  Validation() : parser_(orderings_, quillet::kRulesStandard) {
    orderings_.standard.SetOrdering(quillet::AllClassesInMatrixOrder());
  }

  void Board(const char* cards) {
    for (CardIndex c : CardsOf(cards)) store_.AppendBoardCard(c);
  }
  bool Validate(const RangeLinks& links = NoRangeLinks()) {
    return ValidateRequest(store_, hands_, links, parser_, request_, failure_);
  }

  TableCardStore store_;
  OrderingRanges orderings_;
  RangeParser parser_;
  HandsInput hands_;
  RequestData request_;
  RequestFailure failure_;
};

TEST_F(Validation, ChecksComeInOrderWithTheirMessages) {
  hands_.texts[0] = L"tt";
  hands_.texts[1] = L"xyz";
  Board("Ah Kd");
  EXPECT_FALSE(Validate());
  EXPECT_EQ(failure_.message, L"Error board") << "before any range is parsed";
  EXPECT_FALSE(failure_.timed);
  store_.ClearBoard();

  EXPECT_FALSE(Validate());
  EXPECT_EQ(failure_.message, L"Bad Hero range!") << "a heatmap request is no hero range";

  hands_.texts[0] = L"AA";
  hands_.texts[1] = L"KK";
  hands_.texts[2] = L"xyz";
  EXPECT_FALSE(Validate());
  EXPECT_EQ(failure_.message, L"Error in Op2 xyz");

  hands_.texts[1] = hands_.texts[2] = L"";
  EXPECT_FALSE(Validate());
  EXPECT_EQ(failure_.message, L"A opponent range is absent!");
}

TEST_F(Validation, RangesWithoutAnyHandAreRefused) {
  hands_.texts[0] = L"0%";
  hands_.texts[1] = L"KK";
  EXPECT_FALSE(Validate());
  EXPECT_EQ(failure_.message, L"Bad Hero range!");

  hands_.texts[0] = L"AA";
  hands_.texts[2] = L"0%";
  EXPECT_FALSE(Validate());
  EXPECT_EQ(failure_.message, L"Error in Op2 0%");

  // Linked editors that hold no range, with nothing parsed before.
  FixedLinks links;
  links.linked[0] = true;
  hands_.specs[0].clear();
  EXPECT_FALSE(Validate(links));
  EXPECT_EQ(failure_.message, L"Bad Hero range!");
  links.linked[0] = false;
  links.linked[1] = true;
  hands_.texts[2] = L"";
  hands_.specs[1].clear();
  EXPECT_FALSE(Validate(links));
  EXPECT_EQ(failure_.message, L"Error in Op1 KK");
}

TEST_F(Validation, RangesThatCannotBeDealtAroundTheBoard) {
  hands_.texts[0] = L"AA";
  hands_.texts[1] = L"AA";
  Board("As Ad 6c");
  EXPECT_FALSE(Validate());
  EXPECT_EQ(failure_.message, L"Please reenter card ranges!");
  EXPECT_EQ(failure_.caption, L"Wrong ranges");
  EXPECT_TRUE(failure_.timed);
}

TEST_F(Validation, AGoodRequestFillsTheListsAndMasks) {
  hands_.texts[0] = L"AKs";
  hands_.texts[1] = L"QQ";
  hands_.texts[3] = L"JTs, 99";
  Board("Ah Kd 7c");
  ASSERT_TRUE(Validate());
  EXPECT_EQ(request_.opponentCount, 2);
  EXPECT_EQ(request_.handLists[0].size(), 4u);
  EXPECT_EQ(request_.handLists[1].size(), 6u);
  EXPECT_TRUE(request_.handLists[2].empty());
  EXPECT_EQ(request_.handLists[3].size(), 10u);
  EXPECT_EQ(request_.boardMask, quillet::VecToInt64(CardsOf("Ah Kd 7c")));
  EXPECT_EQ(request_.deadMask, 0u);
  EXPECT_EQ(hands_.specs[3].size(), 10u) << "parsed ranges stay in the hands pane";
}

TEST_F(Validation, DeadCardTexts) {
  for (const wchar_t* text : {L"Ah,Kd", L"Ah Kd", L"Ah, Kd", L"AhKd", L"  Ah  Kd ", L"ah,kd"})
    EXPECT_EQ(ReadDeadCards(text), CardsOf("Ah Kd")) << std::wstring(text).size();
  EXPECT_EQ(ReadDeadCards(L"Ah Ah"), CardsOf("Ah"));
  EXPECT_EQ(ReadDeadCards(L"xx |s Qc"), CardsOf("Qc"));
  EXPECT_TRUE(ReadDeadCards(L"5c").empty());

  hands_.texts[0] = L"QQ";
  hands_.texts[1] = L"JJ";
  hands_.texts[6] = L"Ah, Kd";
  ASSERT_TRUE(Validate());
  EXPECT_EQ(request_.deadMask, quillet::VecToInt64(CardsOf("Ah Kd")));
  EXPECT_EQ(store_.Dead(), CardsOf("Ah Kd")) << "typed dead cards join the document";

  hands_.texts[6] = L"Ah Kd Qc";
  ASSERT_TRUE(Validate());
  EXPECT_EQ(store_.Dead(), CardsOf("Ah Kd")) << "only when it held none";
  EXPECT_EQ(request_.deadMask, quillet::VecToInt64(CardsOf("Ah Kd Qc")));
}

TEST_F(Validation, DeadCardsOnTheBoardOrLeavingNoDeal) {
  hands_.texts[0] = L"QQ";
  hands_.texts[1] = L"JJ";
  hands_.texts[6] = L"Kd";
  Board("Ah Kd 7c");
  EXPECT_FALSE(Validate());
  EXPECT_EQ(failure_.message, L"Please reenter dead cards!");
  EXPECT_EQ(failure_.caption, L"Wrong dead cards");
  EXPECT_TRUE(failure_.timed);
  EXPECT_TRUE(store_.Dead().empty()) << "a refused request changes nothing";

  // Each alone leaves a deal; together they do not.
  store_.ClearBoard();
  hands_.texts[0] = L"AsAd AhAc";
  hands_.texts[1] = L"KK";
  hands_.texts[6] = L"Ah";
  Board("As 6c 7d");
  EXPECT_FALSE(Validate());
  EXPECT_EQ(failure_.message, L"Please reenter dead cards!");
}

TEST_F(Validation, LinkedEditorsReplaceTheText) {
  FixedLinks links;
  links.linked[0] = true;
  links.ranges[0] = SpecOf("AKs");
  hands_.texts[0] = L"not a range";
  hands_.texts[1] = L"QQ";
  ASSERT_TRUE(Validate(links));
  EXPECT_EQ(hands_.specs[0].size(), 4u);

  links.ranges[0].clear();  // an editor without a range keeps what the Spec held
  ASSERT_TRUE(Validate(links));
  EXPECT_EQ(hands_.specs[0].size(), 4u);
}

TEST(RangeResolution, KnownCardsAreRemoved) {
  TableCardStore store;
  for (CardIndex c : CardsOf("Ah Kd 7c")) store.AppendBoardCard(c);
  store.AppendDeadCard(CardsOf("Qs")[0]);
  std::array<quillet::Spec, 3> players = {SpecOf("AKs"), SpecOf("AcKc"), SpecOf("QQ JJ")};
  quillet::Spec out;
  EXPECT_TRUE(ExcludeKnownCards(store, 0, players.data(), 3, SpecOf("AKs"), out));
  // Ah and Kd on the board, AcKc held by player 1: only AsKs is left.
  EXPECT_EQ(out.combos(), SpecOf("AsKs").combos());
  EXPECT_TRUE(ExcludeKnownCards(store, 2, players.data(), 3, SpecOf("QQ"), out));
  EXPECT_EQ(out.size(), 3u) << "QQ without Qs";
}

}  // namespace
}  // namespace ferrox::testing
