#include <gtest/gtest.h>

#include <cmath>

#include "engine/MonteCarlo.h"
#include "tests/support/BruteEquity.h"
#include "tests/support/Ranges.h"

namespace ferrox::testing {
namespace {

CardMask MaskOf(const char* cards) { return quillet::VecToInt64(CardsOf(cards)); }

TEST(MonteCarloStreetEquity, ACompleteBoardDrawsNothingAndIsExact) {
  // Ace high against a pair of queens, every game the same.
  const std::vector<std::vector<CardMask>> lists = {ListOf("AsKs"), ListOf("QhQd")};
  double opp = 0;
  int64_t games = 5000;
  EXPECT_EQ(MonteCarloStreetEquity(lists, 1, MaskOf("Js Ts 6c 8c 7d"), 0, 5, quillet::kRulesStandard, &opp, games, 1), 0.0);
  EXPECT_EQ(games, 5000);
  EXPECT_EQ(opp, 1.0);
  // On the turn with one card to come, one hand each: a multiple of 1/(cards left) exactly.
  games = 4000;
  const double hero = MonteCarloStreetEquity(lists, 1, MaskOf("Js Ts 6c 8c"), 0, 5, quillet::kRulesStandard, &opp, games, 1);
  EXPECT_NEAR(hero + opp, 1.0, 1e-12);
  EXPECT_GT(hero, 0.0);
}

TEST(MonteCarloStreetEquity, SplitPotsAreShared) {
  // The board's straight flush plays for all three.
  const std::vector<std::vector<CardMask>> lists = {ListOf("7c7d"), ListOf("8h8d"), ListOf("9c6d")};
  double opp[2] = {};
  int64_t games = 3000;
  const double hero = MonteCarloStreetEquity(lists, 2, MaskOf("As Ks Qs Js Ts"), 0, 5, quillet::kRulesStandard, opp, games, 2);
  EXPECT_EQ(games, 3000);
  EXPECT_NEAR(hero, 1.0 / 3, 1e-12);
  EXPECT_NEAR(opp[0], 1.0 / 3, 1e-12);
  EXPECT_NEAR(opp[1], 1.0 / 3, 1e-12);
  EXPECT_NEAR(SplitShareTable[1], 1.0 / 3, 1e-15);
}

TEST(MonteCarloStreetEquity, CloseToTheBruteForce) {
  const std::vector<std::string> texts = {"AA KK", "QQ AKo", "JTs 99"};
  std::vector<std::vector<CardMask>> lists;
  std::vector<std::vector<Hand>> ranges;
  for (const auto& t : texts) {
    lists.push_back(ListOf(t));
    ranges.push_back(HandsOf(SpecOf(t)));
  }
  // Empty lists between opponents are skipped.
  lists.insert(lists.begin() + 2, std::vector<CardMask>{});
  const BruteResult brute = BruteEquity(ranges, CardsOf("Ts 9d 6h 7c"), {}, 5, 1);
  double opp[2] = {};
  int64_t games = 200000;
  const double hero = MonteCarloStreetEquity(lists, 2, MaskOf("Ts 9d 6h 7c"), 0, 5, quillet::kRulesStraightBeatsSet, opp, games, 77);
  ASSERT_EQ(games, 200000);
  auto se = [&](double e) { return 4 * std::sqrt(e * (1 - e) / games); };
  EXPECT_NEAR(hero, brute.equity[0], se(brute.equity[0]));
  EXPECT_NEAR(opp[0], brute.equity[1], se(brute.equity[1]));
  EXPECT_NEAR(opp[1], brute.equity[2], se(brute.equity[2]));
}

TEST(MonteCarloStreetEquity, NothingToDealCountsNoGames) {
  const std::vector<std::vector<CardMask>> lists = {ListOf("AA"), ListOf("AA")};
  int64_t games = 1000;
  double opp = 0;
  EXPECT_EQ(MonteCarloStreetEquity(lists, 1, MaskOf("As Ad 6c"), 0, 5, quillet::kRulesStandard, &opp, games), 0.0);
  EXPECT_EQ(games, 0);
  games = 1000;
  EXPECT_EQ(MonteCarloStreetEquity(lists, 0, 0, 0, 5, quillet::kRulesStandard, &opp, games), 0.0) << "no opponent";
  EXPECT_EQ(games, 0);
}

}  // namespace
}  // namespace ferrox::testing
