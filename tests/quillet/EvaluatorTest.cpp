#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "quillet/EvalTables.h"
#include "quillet/Evaluator.h"
#include "quillet/HandValue.h"
#include "tests/support/SlowEvaluator.h"
#include "tests/support/TestSupport.h"

namespace ferrox::testing {
namespace {

using namespace quillet;

int64_t Pack(const SlowStrength& s) {
  int64_t packed = s.order;
  for (size_t i = 0; i < 5; ++i) packed = packed * 16 + (i < s.tiebreak.size() ? s.tiebreak[i] : 0);
  return packed;
}

int Evaluate(const std::vector<int>& cards, int rules) {
  if (rules == kRulesStraightBeatsSet)
    return eval_rank_6China(cards.data(), static_cast<int>(cards.size()) - 2);
  switch (cards.size()) {
    case 5: return eval_rank5_via_fsm5(cards.data());
    case 6: return eval_rank6_via_fsm5(cards.data());
    default: return eval_rank7_via_fsm7(cards.data());
  }
}

int CategoryOf(int value, int rules) {
  return rules == kRulesStraightBeatsSet ? Get_rank36China(value) : Get_rank36(value);
}

struct Judged {
  int64_t slow;
  int category;
  int value;
};

// Every five-card hand of the deck, judged by both evaluators.
const std::vector<Judged>& AllFiveCardHands(int rules) {
  static std::vector<Judged> judged[2];
  auto& list = judged[rules];
  if (!list.empty()) return list;
  const int* deck = SixPlusDeckCards();
  std::vector<int> c(5);
  for (int a = 0; a < 36; ++a)
    for (int b = a + 1; b < 36; ++b)
      for (int d = b + 1; d < 36; ++d)
        for (int e = d + 1; e < 36; ++e)
          for (int f = e + 1; f < 36; ++f) {
            c = {deck[a], deck[b], deck[d], deck[e], deck[f]};
            const SlowStrength slow = SlowFive(c.data(), rules);
            list.push_back({Pack(slow), slow.category, Evaluate(c, rules)});
          }
  return list;
}

std::map<int64_t, int> SlowToValue(int rules) {
  std::map<int64_t, int> values;
  for (const Judged& j : AllFiveCardHands(rules)) values.emplace(j.slow, j.value);
  return values;
}

class EvaluatorVsSlow : public ::testing::TestWithParam<int> {};

TEST_P(EvaluatorVsSlow, EveryFiveCardHandOrdersAsTheSlowEvaluator) {
  const int rules = GetParam();
  const auto& hands = AllFiveCardHands(rules);
  ASSERT_EQ(hands.size(), 376992u);
  const auto values = SlowToValue(rules);
  for (size_t i = 0; i < hands.size(); ++i) {
    ASSERT_EQ(CategoryOf(hands[i].value, rules), hands[i].category) << "hand " << i;
    // Equal strength must give equal values.
    ASSERT_EQ(values.at(hands[i].slow), hands[i].value) << "hand " << i;
  }
  EXPECT_EQ(values.size(), 1404u);
  // Strictly increasing with the slow order: a larger value is exactly a better hand.
  int previous = 0;
  for (const auto& [strength, value] : values) {
    EXPECT_GT(value, previous);
    previous = value;
  }
}

TEST_P(EvaluatorVsSlow, SixAndSevenCardHandsTakeTheBestFiveUnderTheRuleSet) {
  const int rules = GetParam();
  const auto values = SlowToValue(rules);
  std::mt19937_64 rng(1234 + rules);
  const int* deck = SixPlusDeckCards();
  std::vector<int> positions(36);
  for (int n : {6, 7}) {
    for (int trial = 0; trial < 150000; ++trial) {
      for (int i = 0; i < 36; ++i) positions[i] = i;
      std::shuffle(positions.begin(), positions.end(), rng);
      std::vector<int> cards;
      for (int i = 0; i < n; ++i) cards.push_back(deck[positions[i]]);
      const SlowStrength slow = SlowBest(cards, rules);
      const int value = Evaluate(cards, rules);
      ASSERT_EQ(value, values.at(Pack(slow))) << "n=" << n << " trial " << trial;
      // The additive key path gives the same value, and so does the plain table walk
      // wherever the cards before the last one or two say that no flush can come.
      const FastEvaluator eval(rules);
      ASSERT_EQ(eval.ofMask(VecToInt64(cards)), value);
      // A hand kept as its key alone asks for its cards for a flush only.
      bool maskAsked = false;
      const uint64_t mask = VecToInt64(cards);
      ASSERT_EQ(eval.OfKey(KeyOfMask(mask), [&] { return maskAsked = true, mask; }), value);
      ASSERT_EQ(maskAsked, (KeyOfMask(mask) & kKeyFlushBits) != 0);
      for (int more : {1, 2}) {
        const uint64_t before = KeyOfMask(VecToInt64({cards.begin(), cards.end() - more}));
        uint64_t key = before;
        for (int i = n - more; i < n; ++i) key += KeyOf(cards[i]);
        if (FastEvaluator::NoFlushWithMore(before, more)) {
          ASSERT_EQ(eval.NoFlush(key), value);
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(BothRuleSets, EvaluatorVsSlow, ::testing::Values(0, 1));

int Std(const char* cards) { return Evaluate(CardsOf(cards), kRulesStandard); }
int China(const char* cards) { return Evaluate(CardsOf(cards), kRulesStraightBeatsSet); }

TEST(EvaluatorRules, ThreeOfAKindAndStraightInOneHandDependOnTheRuleSet) {
  const char* hand = "9h8h Th 7c 6s 6d 6c";  // 6-7-8-9-T and three sixes
  EXPECT_EQ(Get_rank36(Std(hand)), kCatTrips);
  EXPECT_EQ(Get_rank36China(China(hand)), kCatStraight);
  // Across hands: a set beats a straight under the standard rules, not under the other.
  EXPECT_GT(Std("6h6d 6c Ks 9d"), Std("Th9c 8d 7s 6h"));
  EXPECT_LT(China("6h6d 6c Ks 9d"), China("Th9c 8d 7s 6h"));
}

TEST(EvaluatorRules, FlushBeatsFullHouseUnderBothRuleSets) {
  EXPECT_GT(Std("Ah9h 8h 7h Jh"), Std("AsAd Ac Ks Kd"));
  EXPECT_GT(China("Ah9h 8h 7h Jh"), China("AsAd Ac Ks Kd"));
  EXPECT_EQ(Get_rank36(Std("Ah9h 8h 7h Jh")), kCatFlush);
}

TEST(EvaluatorRules, StraightsRunFromA6789ToTJQKAWithoutWrapping) {
  EXPECT_EQ(Get_rank36(Std("As6d 7c 8h 9s")), kCatStraight);
  EXPECT_LT(Std("As6d 7c 8h 9s"), Std("6d7c 8h 9s Tc"));  // the ace plays low
  EXPECT_GT(Std("AsKd Qc Jh Ts"), Std("KdQc Jh Ts 9s"));
  EXPECT_EQ(Get_rank36(Std("KsAd 6c 7h 8s")), kCatHighCard);
  EXPECT_EQ(Get_rank36(Std("As6s 7s 8s 9s")), kCatStraightFlush);
  EXPECT_EQ(Get_rank36(Std("AsKs Qs Js Ts")), kCatRoyalFlush);
  EXPECT_EQ(Get_rank36China(China("AsKs Qs Js Ts")), kCatRoyalFlush);
}

TEST(EvaluatorRules, EqualStrengthInDifferentSuitsTies) {
  EXPECT_EQ(Std("AsKd Qc Jh 9s 7d 6c"), Std("AhKc Qd Js 9c 7s 6h"));
  EXPECT_EQ(China("TsTd 8c 8h 6s"), China("ThTc 8s 8d 6c"));
}

TEST(EvaluatorTables, WeightsThatMergeTwoRankMultisetsAreRejected) {
  detail::EvalTables tables;
  // 6+6 and 7+5 style clashes: weights 1, 2, 3, ... give equal sums for different hands.
  EXPECT_FALSE(detail::BuildEvalTables(tables, {{1, 2, 3, 4, 5, 6, 7, 8, 9}, 8}));
  detail::RankHash ours{{}, kRowShift};
  std::copy(std::begin(kRankWeights), std::end(kRankWeights), ours.weights.begin());
  EXPECT_TRUE(detail::BuildEvalTables(tables, ours));
}

TEST(EvaluatorTables, CardsGivenTwiceOrOutsideTheDeckAreReadSafely) {
  // Seven aces of spades: a rank count no hand can hold still reads inside the tables.
  const std::vector<int> aces(7, CardsOf("As")[0]);
  EXPECT_GE(eval_rank7_via_fsm7(aces.data()), 0);
  EXPECT_GE(eval_rank_6China(aces.data(), 5), 0);
  // Cards outside the deck add nothing: five real cards and two others are the five.
  std::vector<int> cards = CardsOf("AsKd Qc Jh 9s");
  const int five = eval_rank5_via_fsm5(cards.data());
  cards.push_back(-1);
  cards.push_back(200);
  EXPECT_EQ(eval_rank7_via_fsm7(cards.data()), five);
  EXPECT_EQ(EvaluateHand(cards.data(), 7, kRulesStandard), five);
}

TEST(EvaluatorTables, LoadIsRepeatableAndSmall) {
  const int before = Std("AsKd Qc Jh 9s 7d 6c");
  fsm5::Free();
  EXPECT_FALSE(fsm5::IsLoaded());
  ASSERT_NE(fsm5::load_fsm7(), 0);
  ASSERT_NE(fsm5::load_fsm5(), 0);
  EXPECT_EQ(Std("AsKd Qc Jh 9s 7d 6c"), before);
  // Small enough to stay in the second-level cache (a river evaluation reads about 27 KiB
  // of them; the rows below five cards are never read by a hand).
  EXPECT_LT(fsm5::TableBytes(), std::size_t{192} << 10);
}

}  // namespace
}  // namespace ferrox::testing
