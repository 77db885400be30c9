#include <gtest/gtest.h>

#include "core/Cards.h"
#include "core/MadeHand.h"
#include "tests/support/TestSupport.h"

namespace ferrox::testing {
namespace {

struct Deal {
  std::vector<CardIndex> hole, board;
};

Deal DealOf(const char* hole, const char* board) { return {CardsOf(hole), CardsOf(board)}; }

MadeHand Classify(const char* hole, const char* board, quillet::Rules rules = quillet::kRulesStandard) {
  const Deal d = DealOf(hole, board);
  MadeHand hand;
  EXPECT_TRUE(ClassifyMadeHand(d.hole.data(), d.board.data(), static_cast<int>(d.board.size()),
                               rules, hand));
  return hand;
}

std::array<int, kCategoryCount> Outs(const char* hole, const char* board,
                                     quillet::Rules rules = quillet::kRulesStandard) {
  const Deal d = DealOf(hole, board);
  std::array<int, kCategoryCount> outs{};
  EXPECT_EQ(CountOuts(d.hole.data(), d.board.data(), static_cast<int>(d.board.size()), rules,
                      outs.data()),
            1);
  return outs;
}

TEST(CardModel, IndicesNamesAndDeck) {
  EXPECT_EQ(CardNameTable[51], L"As");
  EXPECT_EQ(CardNameTable[4], L"6c");
  EXPECT_EQ(CardNameTable[52], L"Xc");
  EXPECT_EQ(CardNameTable[68], L"Ax");
  EXPECT_EQ(CardNameTable[69], L"Xx");
  EXPECT_EQ(quillet::CardBit(51), uint64_t{1} << 51);
  EXPECT_EQ(quillet::kSixPlusDeck.front(), 4);
  EXPECT_EQ(quillet::kSixPlusDeck[1], 17);
  EXPECT_EQ(quillet::kSixPlusDeck.back(), 51);
  for (CardIndex c : quillet::kSixPlusDeck) EXPECT_GE(c % 13, 4);
  EXPECT_EQ(RankLetter(12), L'A');
  EXPECT_EQ(RankLetter(13), L'2');
  EXPECT_EQ(MatrixRankLetter(0), L'A');
  EXPECT_EQ(MatrixRankLetter(8), L'6');
  EXPECT_EQ(MatrixRankLetter(13), L'2');
}

TEST(ClassifyMadeHand, PairKinds) {
  MadeHand h = Classify("AhKd", "Kc 7s 6d");
  EXPECT_EQ(h.category, quillet::kCatOnePair);
  EXPECT_EQ(h.names, std::vector<std::wstring>{L"One Pair"});
  EXPECT_EQ(h.kind, kTopPair);
  EXPECT_EQ(Classify("9h9d", "Kc 7s 6d").kind, kPocketBelowTop);
  EXPECT_EQ(Classify("9h9d", "Kc Qs 6d").kind, kWeakPair);
  EXPECT_EQ(Classify("9h9d", "8c 7s 6d").kind, kOverpair);
  EXPECT_EQ(Classify("Ah6d", "Kc 9s 6h").kind, kWeakPair);
  EXPECT_EQ(Classify("Ah9d", "Kc 9s 6h").kind, kMiddlePair);
  h = Classify("AhQd", "9c 9s 7h");
  EXPECT_EQ(h.category, quillet::kCatOnePair);
  EXPECT_EQ(h.kind, kNoKind) << "the board's pair, and no ace high";
}

TEST(ClassifyMadeHand, HighCardKinds) {
  EXPECT_EQ(Classify("AhQd", "9c 8s 6h").kind, kAceHigh);
  EXPECT_EQ(Classify("KhJd", "9c 7s 6h").kind, kKingHigh);
  const MadeHand h = Classify("QhJd", "9c 7s 6h");
  EXPECT_EQ(h.category, quillet::kCatHighCard);
  EXPECT_EQ(h.kind, kNoKind);
}

TEST(ClassifyMadeHand, TheRuleSetDecidesBetweenSetAndStraight) {
  EXPECT_EQ(Classify("9h8h", "Th 7c 6s 6d 6c").category, quillet::kCatTrips);
  EXPECT_EQ(Classify("9h8h", "Th 7c 6s 6d 6c", quillet::kRulesStraightBeatsSet).category, quillet::kCatStraight);
  EXPECT_EQ(Classify("9h8h", "Th 7c 6s 6d 6c", quillet::kRulesStraightBeatsSet).names.front(),
            L"Straight");
}

TEST(ClassifyMadeHand, DrawFlags) {
  MadeHand h = Classify("9h8d", "7c 6s Kd");  // T or A completes
  EXPECT_EQ(h.draws, (std::array<int, 3>{0, 1, 0}));
  h = Classify("Ts8d", "7c 6s Kd");  // only a 9
  EXPECT_EQ(h.draws, (std::array<int, 3>{0, 0, 1}));
  h = Classify("AhKh", "Qh 7h 6c");
  EXPECT_EQ(h.draws[0], 1);
  // The river counts no outs and sets no draw.
  h = Classify("AhKh", "Qh 7h 6c Jd 8s");
  EXPECT_EQ(h.draws, (std::array<int, 3>{0, 0, 0}));
  const Deal d = DealOf("AhKh", "Qh 7h 6c Jd 8s");
  int outs[kCategoryCount];
  EXPECT_EQ(CountOuts(d.hole.data(), d.board.data(), 5, quillet::kRulesStandard, outs), -5);
}

TEST(CountOuts, EachCardCountsOnceUnderItsBestCategory) {
  // Hearts make flushes (Ah and Th straight flushes), even where they also make straights.
  const auto outs = Outs("9h8h", "7h 6h Kc");
  EXPECT_EQ(outs[quillet::kCatStraightFlush], 2);
  EXPECT_EQ(outs[quillet::kCatFlush], 3);
  EXPECT_EQ(outs[quillet::kCatStraight], 6);  // the other tens and aces
  int total = 0;
  for (int n : outs) total += n;
  EXPECT_LE(total, 36 - 5);
  const auto turn = Outs("AhKd", "Kc 7s 6d 9h");
  EXPECT_EQ(turn[quillet::kCatTrips], 2);
  EXPECT_EQ(turn[quillet::kCatTwoPair], 3 + 3 + 3 + 3);  // A, 7, 6, 9
}

TEST(ClassifyMadeHand, BadBoardCountsLeaveCategoryAndKind) {
  const Deal d = DealOf("AhKd", "Kc 7s");
  MadeHand hand;
  hand.category = 7;
  hand.kind = 3;
  hand.names = {L"old"};
  hand.draws = {1, 1, 1};
  EXPECT_FALSE(ClassifyMadeHand(d.hole.data(), d.board.data(), 2, quillet::kRulesStandard, hand));
  EXPECT_TRUE(hand.names.empty());
  EXPECT_EQ(hand.draws, (std::array<int, 3>{0, 0, 0}));
  EXPECT_EQ(hand.category, 7);
  EXPECT_EQ(hand.kind, 3);
}

}  // namespace
}  // namespace ferrox::testing
