// The progress counter the long computations fill in, and that each reaches its total.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "engine/EquityDistribution.h"
#include "engine/Heatmap.h"
#include "engine/Hotness.h"
#include "engine/MonteCarlo.h"
#include "engine/Progress.h"
#include "engine/StreetEvaluation.h"
#include "quillet/PreflopTables.h"
#include "tests/engine/Requests.h"
#include "tests/support/Ranges.h"

namespace ferrox::testing {
namespace {

TEST(Progress, CountsFromManyThreadsAndGivesTheFractionDone) {
  Progress progress;
  EXPECT_EQ(progress.Fraction(), 0.0) << "nothing announced yet";
  progress.AddTotal(8000);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&progress] {
      for (int i = 0; i < 1000; ++i) progress.AddDone(1);
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(progress.Done(), 4000u);
  EXPECT_DOUBLE_EQ(progress.Fraction(), 0.5);
}

TEST(Progress, TheSamplerCountsEveryGameItPlays) {
  const std::vector<std::vector<CardMask>> lists = {ListOf("AA KK"), ListOf("QQ JJ AKs")};
  Progress played;
  int64_t games = 600'000;  // more than one report and both sampling threads
  double opponent = 0;
  MonteCarloStreetEquity(lists, 1, 0, 0, 5, quillet::kRulesStandard, &opponent, games, 4, &played);
  EXPECT_EQ(games, 600'000);
  EXPECT_EQ(played.Done(), 600'000u);
}

TEST(Progress, EachComputationReachesItsTotal) {
  std::array<quillet::Spec, 6> specs;
  specs[0] = SpecOf("AA KK");
  specs[1] = SpecOf("QQ JJ");
  specs[2] = SpecOf("AKs KQs");
  StreetSettings sampled;
  sampled.enumerate = false;
  sampled.runs = 200'000;
  sampled.seed = 3;
  Progress streets;
  EvaluateStreets(specs, RequestOf({"AA KK", "QQ JJ", "AKs KQs"}, ""), {}, sampled, {}, &streets);
  EXPECT_EQ(streets.Total(), 3u * 200'000);
  EXPECT_EQ(streets.Done(), streets.Total());

  specs[2].clear();
  Progress exact;  // on a turn: the river and the turn, the flop is past
  const std::vector<CardIndex> turn = CardsOf("Qs Jd 6h 7c");
  EvaluateStreets(specs, RequestOf({"AA KK", "QQ JJ"}, "Qs Jd 6h 7c"), turn, StreetSettings{}, {}, &exact);
  EXPECT_EQ(exact.Total(), 2u * StreetSettings{}.runs);
  EXPECT_EQ(exact.Done(), exact.Total());

  Progress distribution;
  const Distribution d =
      ComputeDistribution(RequestOf({"AsKs", "QQ JJ"}, "Qs Jd 6h"), quillet::kRulesStandard, true, 2000, 6, &distribution);
  EXPECT_EQ(distribution.Total(), static_cast<uint64_t>(d.deals) * 2000);
  EXPECT_EQ(distribution.Done(), distribution.Total());

  Progress hotness;
  ComputeHotness(ListOf("QQ AKs"), ListOf("JJ 99"), CardsOf("Js Ts 6c"), 0, quillet::kRulesStandard, L"", L"", 1000, 3, &hotness);
  EXPECT_EQ(hotness.Total(), quillet::kDeckSize * 1000u);
  EXPECT_EQ(hotness.Done(), hotness.Total());

  const OrderingRanges orderings;
  const RangeParser parser(orderings, quillet::kRulesStandard);
  ASSERT_TRUE(quillet::fsm5::load_2(5, 0, 1));
  Progress heatmap;
  ComputeHeatmap(SpecOf("KK QQ"), parser, nullptr, &heatmap);
  EXPECT_EQ(heatmap.Total(), 81u);
  EXPECT_EQ(heatmap.Done(), 81u);
}

}  // namespace
}  // namespace ferrox::testing
