#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <vector>

#include "quillet/Equity.h"
#include "quillet/EquityProblem.h"
#include "tests/support/BruteEquity.h"
#include "tests/support/Ranges.h"

namespace ferrox::testing {
namespace {

using namespace quillet;

struct Situation {
  const char* name;
  std::vector<std::string> ranges;  // hero first
  std::string board;
  std::string dead;
  int target;
  int rules;
};

std::ostream& operator<<(std::ostream& os, const Situation& s) { return os << s.name; }

EquityProblem ProblemOf(const Situation& s) {
  EquityProblem problem;
  for (const auto& text : s.ranges) {
    PlayerRange range;
    const Spec spec = SpecOf(text);
    for (const Combo& c : spec.combos()) range.Add(ComboMask(c));
    problem.players.push_back(range);
  }
  problem.board = VecToInt64(CardsOf(s.board));
  problem.dead = VecToInt64(CardsOf(s.dead));
  problem.target = s.target;
  problem.rules = Rules(s.rules);
  EXPECT_TRUE(problem.Prepare());
  return problem;
}

BruteResult BruteOf(const Situation& s) {
  std::vector<std::vector<Hand>> ranges;
  for (const auto& text : s.ranges) ranges.push_back(HandsOf(SpecOf(text)));
  return BruteEquity(ranges, CardsOf(s.board), CardsOf(s.dead), s.target, s.rules);
}

class ExactEquity : public ::testing::TestWithParam<Situation> {};

TEST_P(ExactEquity, BothWalksMatchTheBruteForce) {
  const Situation& s = GetParam();
  const BruteResult brute = BruteOf(s);
  ASSERT_GT(brute.games, 0);
  const EquityProblem problem = ProblemOf(s);
  for (Walk walk : {Walk::Auto, Walk::DealByDeal, Walk::BoardByBoard})
    for (Symmetry symmetry : {Symmetry::Use, Symmetry::Ignore}) {
      const EquityCounts counts = EnumerateEquity(problem, 1, walk, symmetry);
      const int how = static_cast<int>(walk) * 2 + static_cast<int>(symmetry);
      EXPECT_EQ(counts.games(), static_cast<uint64_t>(brute.games)) << how;
      for (std::size_t p = 0; p < s.ranges.size(); ++p)
        EXPECT_NEAR(counts.Equity(static_cast<int>(p)), brute.equity[p], 1e-12) << "player " << p << " " << how;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Situations, ExactEquity,
    ::testing::Values(
        Situation{"HandVsHandFlopToRiver", {"AsKs", "QhQd"}, "Js Ts 6c", "", 5, 0},
        Situation{"HandVsHandFlopToTurn", {"AsKs", "QhQd"}, "Js Ts 6c", "", 4, 1},
        Situation{"HandVsHandOnTheFlopItself", {"AsKs", "QhQd"}, "Js Ts 6c", "", 3, 0},
        Situation{"HandVsHandPreflopToFlop", {"AhKd", "7s7c"}, "", "", 3, 0},
        Situation{"HandVsHandPreflopToFlopOtherRules", {"9h8h", "6c6d"}, "", "", 3, 1},
        Situation{"HandVsHandPreflopToTurn", {"AhKd", "7s7c"}, "", "", 4, 1},
        Situation{"HandVsHandPreflopToRiver", {"9h8h", "6c6d"}, "", "", 5, 0},
        Situation{"SetAgainstStraightStandard", {"9h8h", "6c6d"}, "Tc 7d Kh", "", 5, 0},
        Situation{"SetAgainstStraightOtherRules", {"9h8h", "6c6d"}, "Tc 7d Kh", "", 5, 1},
        Situation{"ThreeHandsOnAFlop", {"AsKs", "QhQd", "8c7c"}, "Js Ts 6c", "", 5, 0},
        Situation{"FourHandsOnATurn", {"AsKs", "QhQd", "8c7c", "9d9h"}, "Js Ts 6c 7h", "", 5, 1},
        Situation{"RangesHeadsUpSharingHands", {"AA KK AKs", "AKs QQ JTs 9h8h"}, "Qs Jd 6h", "", 5, 0},
        Situation{"RangesHeadsUpWithDeadCards", {"AA KK AKs", "AKs QQ JTs"}, "Qs Jd 6h", "Ah Qd", 5, 0},
        Situation{"RangesThreeWayOnATurn", {"AA KK", "QQ AKo", "JTs 99"}, "Ts 9d 6h 7c", "", 5, 0},
        Situation{"RangesThreeWayOnTheRiver", {"AA KK", "QQ AKo", "JTs 99"}, "Ts 9d 6h 7c 8c", "", 5, 1},
        // The widest range is counted against the others' cards: hands made of one card from
        // each of two other players, and hands another player holds too.
        Situation{"RangesThreeWaySharingCardsWithTheCountedPlayer", {"AA KK AKs", "AKo AKs QQ", "KK QQ"},
                  "Ts 9d 6h 7c", "", 5, 0},
        Situation{"RangesThreeWayPreflopWithADeadCard", {"AA", "KK QQ AKs", "JJ AQs"}, "", "Qs", 3, 1},
        Situation{"RangesFourWayOnATurn", {"AA", "KK AKs", "QQ AQs", "AKo AQo KQo"}, "Js 9d 6h 7c", "8d", 5, 1},
        Situation{"BoardPlaysForEveryone", {"7c7d", "8h8d", "9c6d"}, "As Ks Qs Js Ts", "", 5, 0},
        Situation{"SplitPotsOnTheTurn", {"AhKh", "AdKd", "AcKc"}, "Qs Js 6d 6c", "Ts", 5, 0},
        // Ranges and cards that suit permutations leave as they are.
        Situation{"SymmetricPairsPreflopToFlop", {"AA", "KK"}, "", "", 3, 1},
        Situation{"SymmetricRangesThreeWayOnAFlop", {"KK QQ", "JTs 99", "87s"}, "As Ad 6h", "", 4, 0},
        Situation{"SymmetricRangesFourWayWithDeadCards", {"KK", "QQ JJ", "T9s", "88"}, "As Ad 6h 7c", "Ah Ac", 5, 1},
        // Ranges that share no card: every choice of live hands is a deal.
        Situation{"FourPairsOnATurn", {"AA", "KK", "QQ", "JJ"}, "9s 8d 6h 7c", "", 5, 0},
        Situation{"DisjointRangesWithTiesOnATurn", {"AsKd", "AhKc", "QQ 99", "7s6s"}, "Js Ts 8h 7c", "Qs", 5, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ExactEquityRoutines, ContractFunctionsReportEquitiesAndGames) {
  const Spec hero = SpecOf("AsKs"), opp[2] = {SpecOf("QhQd"), SpecOf("8c7c")};
  const auto board = CardsOf("Js Ts 6c");
  double oppEquity[2] = {};
  int64_t games = 0;
  const double heroEquity = getProbabilityOfWinHoldem6PlusEnumerate(hero, board.data(), 3, 5, opp, 2, nullptr,
                                                                    0, oppEquity, games, 10000);
  const BruteResult brute = BruteEquity({HandsOf(hero), HandsOf(opp[0]), HandsOf(opp[1])}, board, {}, 5, 0);
  EXPECT_NEAR(heroEquity, brute.equity[0], 1e-12);
  EXPECT_NEAR(oppEquity[0], brute.equity[1], 1e-12);
  EXPECT_NEAR(oppEquity[1], brute.equity[2], 1e-12);
  EXPECT_EQ(games, brute.games);
  EXPECT_NEAR(heroEquity + oppEquity[0] + oppEquity[1], 1.0, 1e-12);

  const int hand[2] = {CardsOf("As")[0], CardsOf("Ks")[0]};
  double single = 0;
  EXPECT_NEAR(getProbabilityOfWinBySpectr6Plus(hand, board.data(), 3, opp[0]),
              getProbabilityOfWinHoldem6PlusEnumerate(hero, board.data(), 3, 5, opp, 1, nullptr, 0, &single,
                                                      games, 0),
              1e-12);
  EXPECT_NEAR(getProbabilityOfWinBySpectrToTurn6Plus(hand, board.data(), 3, opp[0]),
              getProbabilityOfWinHoldem6PlusEnumerate(hero, board.data(), 3, 4, opp, 1, nullptr, 0, &single,
                                                      games, 0),
              1e-12);
  EXPECT_EQ(getProbabilityOfWinBySpectrToFlop6Plus(hand, board.data(), 3, opp[0]), 0.0) << "ace high loses";
}

TEST(ExactEquityRoutines, TheRuleSetChangesTheAnswer) {
  const auto board = CardsOf("Tc 7d Kh");
  const Spec hero = SpecOf("9h8h"), opp = SpecOf("6c6d");
  double o = 0;
  int64_t games = 0;
  const double standard =
      getProbabilityOfWinHoldem6PlusEnumerate(hero, board.data(), 3, 5, &opp, 1, nullptr, 0, &o, games, 0);
  const double other =
      getProbabilityOfWinHoldem6PlusChinaEnumerate(hero, board.data(), 3, 5, &opp, 1, nullptr, 0, &o, games, 0);
  EXPECT_GT(other, standard) << "a straight against a set wins only under the second rule set";
}

TEST(ExactEquityRoutines, NothingToCountGivesNoEquity) {
  const Spec aa = SpecOf("AA");
  const auto board = CardsOf("As Ad 6c");
  double oppEquity = 0;
  int64_t games = 7;
  EXPECT_EQ(getProbabilityOfWinHoldem6PlusEnumerate(aa, board.data(), 3, 5, &aa, 1, nullptr, 0, &oppEquity,
                                                    games, 0),
            kNoEquity);
  EXPECT_EQ(games, 0);
  const auto turn = CardsOf("Ks Kd 6c 7c");
  const Spec qq = SpecOf("QQ");
  EXPECT_EQ(getProbabilityOfWinHoldem6PlusEnumerate(qq, turn.data(), 4, 3, &aa, 1, nullptr, 0, &oppEquity,
                                                    games, 0),
            kNoEquity)
      << "the board is past the flop";
  EXPECT_EQ(games, 0);
}

TEST(ExactEquityRoutines, ThreadsDoNotChangeTheCounts) {
  const Situation s{"", {"AhKd", "7s7c", "QcJc"}, "", "", 5, 0};
  const EquityProblem problem = ProblemOf(s);
  const EquityCounts one = EnumerateEquity(problem, 1), two = EnumerateEquity(problem, 2);
  EXPECT_EQ(one.games(), 142506u);  // C(30, 5)
  for (uint32_t winners = 1; winners < 8; ++winners) EXPECT_EQ(one.CountOf(winners), two.CountOf(winners));
}

TEST(ExactEquityRoutines, SuitSymmetricCountsEqualThePlainWalks) {
  // Larger than the brute force can take: symmetry on and off, deal by deal and board by board.
  for (const Situation& s : {Situation{"", {"AA KK", "QQ", "JJ AKs"}, "", "", 4, 0},
                             Situation{"", {"AA KK QQ AKs", "JJ TT 99 KQs"}, "", "Ks", 5, 1},
                             Situation{"", {"AA KK QQ JJ AKs AKo", "TT 99 AQs KQs QJs JTs", "AA"}, "Ah Kh 7c", "", 5, 0}}) {
    const EquityProblem problem = ProblemOf(s);
    for (Walk walk : {Walk::DealByDeal, Walk::BoardByBoard}) {
      const EquityCounts plain = EnumerateEquity(problem, 2, walk, Symmetry::Ignore);
      const EquityCounts symmetric = EnumerateEquity(problem, 2, walk, Symmetry::Use);
      ASSERT_GT(plain.games(), 0u);
      for (uint32_t winners = 1; winners < (1u << s.ranges.size()); ++winners)
        EXPECT_EQ(symmetric.CountOf(winners), plain.CountOf(winners)) << winners << " " << static_cast<int>(walk);
    }
  }
}

TEST(EquityCountsTest, StandardErrorIsTheSpreadOfOneGamesShare) {
  EquityCounts counts(2);
  counts.Add(0b01, 3);  // hero wins three games
  counts.Add(0b11, 2);  // two split pots
  counts.Add(0b10, 5);
  // Hero's share per game: 1 three times, 1/2 twice, 0 five times.
  const double mean = (3 + 1) / 10.0, meanOfSquares = (3 + 2 * 0.25) / 10.0;
  EXPECT_DOUBLE_EQ(counts.Equity(0), mean);
  EXPECT_DOUBLE_EQ(counts.StandardError(0), std::sqrt((meanOfSquares - mean * mean) / 10));
  EXPECT_EQ(EquityCounts(3).StandardError(1), 0.0);
}

// --- Monte-Carlo --------------------------------------------------------------------

double StandardError(double equity, uint64_t games) { return std::sqrt(equity * (1 - equity) / games); }

TEST(SampledEquity, WithinFourStandardErrorsOfTheExactValue) {
  for (const Situation& s : {Situation{"", {"AA KK AKs", "QQ JTs 99 AKo"}, "", "", 5, 0},
                             Situation{"", {"AA KK", "QQ AKo", "JTs 99"}, "Ts 9d 6h", "", 5, 1},
                             Situation{"", {"AsKs", "QhQd", "8c7c"}, "", "Jc", 4, 0}}) {
    const EquityProblem problem = ProblemOf(s);
    const EquityCounts exact = EnumerateEquity(problem);
    const uint64_t games = 200000;
    const EquityCounts sampled = SampleEquity(problem, games, 12345);
    ASSERT_EQ(sampled.games(), games);
    for (int p = 0; p < static_cast<int>(s.ranges.size()); ++p) {
      const double e = exact.Equity(p);
      EXPECT_NEAR(sampled.Equity(p), e, 4 * StandardError(e, games)) << "player " << p;
    }
  }
}

TEST(SampledEquity, RareValidDealsAreStillDrawnUniformly) {
  // Two players on each of three pairs: a hand-by-hand draw is valid once in ~200 tries.
  const Situation s{"", {"AA", "AA", "KK", "KK", "QQ", "QQ"}, "", "", 3, 0};
  const EquityProblem problem = ProblemOf(s);
  const EquityCounts exact = EnumerateEquity(problem);
  const EquityCounts sampled = SampleEquity(problem, 100000, 99);
  for (int p = 0; p < 6; ++p)
    EXPECT_NEAR(sampled.Equity(p), exact.Equity(p), 4 * StandardError(exact.Equity(p), 100000));
}

TEST(SampledEquity, SeededRunsRepeatAndHonourTheRunCount) {
  const Spec hero = SpecOf("AA KK"), opp = SpecOf("QQ AKs");
  double o1 = 0, o2 = 0, o3 = 0;
  int64_t g1 = 0, g2 = 0, g3 = 0;
  const double a = getProbabilityOfWinHoldem6PlusCommon(hero, nullptr, 0, 5, &opp, 1, nullptr, 0, &o1, g1, 30000, 7);
  const double b = getProbabilityOfWinHoldem6PlusCommon(hero, nullptr, 0, 5, &opp, 1, nullptr, 0, &o2, g2, 30000, 7);
  const double c = getProbabilityOfWinHoldem6PlusChinaCommon(hero, nullptr, 0, 5, &opp, 1, nullptr, 0, &o3, g3, 30000, 8);
  EXPECT_EQ(a, b);
  EXPECT_EQ(o1, o2);
  EXPECT_NE(a, c);
  EXPECT_EQ(g1, 30000);
  EXPECT_EQ(g3, 30000);
  EXPECT_NEAR(a + o1, 1.0, 1e-12);
  // A large run is split in two seeded halves; it still repeats.
  const EquityProblem problem = ProblemOf({"", {"AA KK", "QQ AKs"}, "", "", 5, 0});
  EXPECT_EQ(SampleEquity(problem, 600000, 5).CountOf(1), SampleEquity(problem, 600000, 5).CountOf(1));
  EXPECT_EQ(SampleEquity(problem, 600000, 5).games(), 600000u);
}

TEST(SampledEquity, RoundsGoOnWhileAskedRepeatWithTheSeedAndEndOnAStop) {
  EquityProblem problem = ProblemOf({"", {"AA KK", "QQ AKs", "JTs 99"}, "Ts 9d 6h", "", 5, 1});
  std::vector<uint64_t> seen;
  const auto threeMore = [&seen](const EquityCounts& sofar) -> uint64_t {
    seen.push_back(sofar.games());
    return seen.size() <= 3 ? 100'000 : 0;
  };
  const EquityCounts a = SampleEquityUntil(problem, 5000, 7, threeMore);
  EXPECT_EQ(seen, (std::vector<uint64_t>{5000, 105'000, 205'000, 305'000}));
  ASSERT_EQ(a.games(), 305'000u);
  // Every round plays new games: the whole is as close to the exact value as its count says.
  const EquityCounts exact = EnumerateEquity(problem);
  for (int p = 0; p < 3; ++p)
    EXPECT_NEAR(a.Equity(p), exact.Equity(p), 4 * StandardError(exact.Equity(p), a.games())) << "player " << p;
  seen.clear();
  EXPECT_EQ(SampleEquityUntil(problem, 5000, 7, threeMore).CountOf(1), a.CountOf(1));

  std::atomic<bool> stop{false};
  problem.stop = &stop;
  const EquityCounts stopped = SampleEquityUntil(problem, 5000, 7, [&stop](const EquityCounts&) -> uint64_t {
    stop = true;
    return 100'000;
  });
  EXPECT_EQ(stopped.games(), 5000u) << "no round after the stop";
}

TEST(SampledEquity, NoValidDealGivesNoGames) {
  const Situation s{"", {"AA", "AA", "AA"}, "", "", 5, 0};
  const EquityProblem problem = ProblemOf(s);
  EXPECT_EQ(SampleEquity(problem, 1000, 3).games(), 0u);
}

}  // namespace
}  // namespace ferrox::testing
