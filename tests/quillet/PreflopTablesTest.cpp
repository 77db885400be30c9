#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <thread>

#include <sys/stat.h>

#include "quillet/DeadCardPreflop.h"
#include "quillet/Equity.h"
#include "quillet/EquityProblem.h"
#include "quillet/Files.h"
#include "quillet/PreflopTables.h"
#include "tests/support/BruteEquity.h"
#include "tests/support/Ranges.h"

namespace ferrox::testing {
namespace {

using namespace quillet;

class PreflopTables : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_EQ(fsm5::load_2_index(), kMatchups);
    const int triples[8][3] = {{5, 0, 0}, {5, 1, 0}, {4, 0, 0}, {4, 1, 0},
                               {3, 0, 0}, {3, 1, 0}, {5, 0, 1}, {5, 1, 1}};
    for (const auto& t : triples) ASSERT_EQ(fsm5::load_2(t[0], t[1], t[2]), kMatchups);
  }

  static Combo HeroOf(uint32_t key) { return {static_cast<int>((key >> 8) & 0xFF), static_cast<int>(key & 0xFF)}; }
  static Combo OppOf(uint32_t key) { return {static_cast<int>(key >> 24), static_cast<int>((key >> 16) & 0xFF)}; }
};

TEST_F(PreflopTables, KeysAreSortedAndFoundByBinarySearch) {
  ASSERT_NE(fsm5::ET2I_6, nullptr);
  ASSERT_NE(fsm5::FT2R_6, nullptr);
  ASSERT_NE(fsm5::FT2R_6C, nullptr);
  EXPECT_TRUE(std::is_sorted(fsm5::ET2I_6, fsm5::ET2I_6 + kMatchups));
  EXPECT_EQ(std::adjacent_find(fsm5::ET2I_6, fsm5::ET2I_6 + kMatchups), fsm5::ET2I_6 + kMatchups);
  for (int k : {0, 1, 4711, kMatchups - 1}) {
    EXPECT_EQ(fsm5::bsearch(fsm5::ET2I_6, 0, kMatchups, fsm5::ET2I_6[k]), k);
    EXPECT_EQ(MatchupIndex(MakeCombo(HeroOf(fsm5::ET2I_6[k]).first, HeroOf(fsm5::ET2I_6[k]).second),
                           MakeCombo(OppOf(fsm5::ET2I_6[k]).first, OppOf(fsm5::ET2I_6[k]).second)),
              k);
  }
  const auto as = CardsOf("As Ad Ah");
  EXPECT_EQ(fsm5::bsearch(fsm5::ET2I_6, 0, kMatchups, MatchupKey(as[0], as[1], as[0], as[2])), -1);
  EXPECT_EQ(fsm5::FT2R_6, PreflopCounts(5, 0));
  EXPECT_EQ(fsm5::FT2R_6C, PreflopCounts(5, 1));
}

// Every matchup against its mirror: my wins are your losses, ties are shared.
TEST_F(PreflopTables, EveryMatchupAgreesWithItsMirror) {
  for (int target : {3, 4, 5})
    for (int rules : {0, 1}) {
      const uint32_t* counts = PreflopCounts(target, rules);
      ASSERT_NE(counts, nullptr);
      const uint32_t boards = PreflopBoards(target);
      for (int k = 0; k < kMatchups; ++k) {
        const uint32_t key = fsm5::ET2I_6[k];
        const int m = fsm5::bsearch(fsm5::ET2I_6, 0, kMatchups, (key >> 16) | (key << 16));
        ASSERT_GE(m, 0);
        const uint32_t wins = counts[2 * k], ties = counts[2 * k + 1], losses = counts[2 * m];
        ASSERT_EQ(wins + ties + losses, boards) << "target " << target << " key " << key;
        ASSERT_EQ(ties, counts[2 * m + 1]);
      }
    }
  EXPECT_EQ(PreflopBoards(5), 201376u);
}

TEST_F(PreflopTables, RandomMatchupsAgreeWithTheBruteForce) {
  std::mt19937 rng(31);
  // Cheap targets often, the river a few times.
  for (const auto& [target, samples] : {std::pair{3, 300}, std::pair{4, 24}, std::pair{5, 2}}) {
    for (int i = 0; i < std::max(1, samples / kSampleDivisor); ++i) {
      const int k = static_cast<int>(rng() % kMatchups);
      const uint32_t key = fsm5::ET2I_6[k];
      const int rules = static_cast<int>(rng() % 2);
      const BruteResult brute =
          BruteEquity({{HeroOf(key)}, {OppOf(key)}}, {}, {}, target, rules);
      ASSERT_EQ(brute.games, PreflopBoards(target));
      const uint32_t* counts = PreflopCounts(target, rules);
      const double equity = (counts[2 * k] + 0.5 * counts[2 * k + 1]) / PreflopBoards(target);
      EXPECT_NEAR(equity, brute.equity[0], 1e-12) << "target " << target << " rules " << rules << " key " << key;
    }
  }
}

TEST_F(PreflopTables, RangeVersusRangeMatchesExactEnumeration) {
  const Spec hero = SpecOf("AA KQs 9h8h 76o"), opp = SpecOf("KK AKo JTs 7c6c");
  for (int target : {3, 4, 5})
    for (int rules : {0, 1}) {
      const double fromTables = getEquityRangeVsRangeWithNoBoard6Plus(hero, opp, target, rules);
      double oppEquity = 0;
      int64_t games = 0;
      const double exact = rules ? getProbabilityOfWinHoldem6PlusChinaEnumerate(hero, nullptr, 0, target, &opp, 1,
                                                                                nullptr, 0, &oppEquity, games, 0)
                                 : getProbabilityOfWinHoldem6PlusEnumerate(hero, nullptr, 0, target, &opp, 1,
                                                                           nullptr, 0, &oppEquity, games, 0);
      EXPECT_NEAR(fromTables, exact, 1e-12) << target << " " << rules;
    }
  const int hand[2] = {CardsOf("Ah")[0], CardsOf("Kh")[0]};
  EXPECT_NEAR(getProbabilityOfWinBySpectrWithNoBoard6Plus(hand, opp, 5, 0),
              getEquityRangeVsRangeWithNoBoard6Plus(SpecOf("AhKh"), opp, 5, 0), 1e-15);
  EXPECT_EQ(getEquityRangeVsRangeWithNoBoard6Plus(SpecOf("AsAh"), SpecOf("AsKs AhKh"), 5, 0), kNoEquity);
}

TEST_F(PreflopTables, DeadCardsAreCountedOutOfTheTables) {
  const Spec hero = SpecOf("AA KQs 9h8h 76o T9s"), opp = SpecOf("KK AKo JTs 7c6c TT");
  for (const char* dead : {"Tc", "Tc Ah", "Tc Ah 6d"})
    for (int target : {3, 4, 5})
      for (int rules : {0, 1}) {
        EquityProblem problem;
        for (const Spec* spec : {&hero, &opp}) {
          PlayerRange range;
          for (const Combo& c : spec->combos()) range.Add(ComboMask(c));
          problem.players.push_back(range);
        }
        problem.dead = VecToInt64(CardsOf(dead));
        problem.target = target;
        problem.rules = Rules(rules);
        ASSERT_TRUE(problem.Prepare());
        ASSERT_TRUE(DeadCardPreflopApplies(problem));
        const EquityCounts tables = EnumerateEquity(problem, 2, Walk::Auto);
        const EquityCounts counted = EnumerateEquity(problem, 2, Walk::BoardByBoard, Symmetry::Ignore);
        ASSERT_GT(counted.games(), 0u);
        for (uint32_t winners = 1; winners < 4; ++winners)
          EXPECT_EQ(tables.CountOf(winners), counted.CountOf(winners)) << dead << " " << target << " " << rules;
      }
}

// Points the cache at a scratch folder for the test's lifetime.
class ScratchCache {
 public:
  ScratchCache() : dir_(std::filesystem::temp_directory_path() / ("ferrox_cache_" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(dir_);
    if (const char* p = std::getenv("FERROX_CACHE_DIR")) previous_ = p;
    ::setenv("FERROX_CACHE_DIR", dir_.c_str(), 1);
  }
  ~ScratchCache() {
    std::filesystem::remove_all(dir_);
    if (previous_.empty()) ::unsetenv("FERROX_CACHE_DIR");
    else ::setenv("FERROX_CACHE_DIR", previous_.c_str(), 1);
  }
  std::filesystem::path File() const { return PreflopCacheFile(); }

 private:
  std::filesystem::path dir_;
  std::string previous_;
};

TEST_F(PreflopTables, OnlyAWholeConsistentCacheImageIsTrusted) {
  const auto image = ReadRegularFile(PreflopCacheFile(), 64u << 20);
  ASSERT_TRUE(image);
  EXPECT_TRUE(PreflopCacheImageValid(*image));
  EXPECT_FALSE(PreflopCacheImageValid(""));
  EXPECT_FALSE(PreflopCacheImageValid(std::string_view(*image).substr(0, image->size() - 1))) << "truncated";
  EXPECT_FALSE(PreflopCacheImageValid(*image + '\0')) << "trailing bytes";
  for (std::size_t at : {std::size_t{0}, std::size_t{9}, std::size_t{100}, image->size() / 2, image->size() - 1}) {
    std::string flipped = *image;
    flipped[at] = static_cast<char>(flipped[at] ^ 0x10);
    EXPECT_FALSE(PreflopCacheImageValid(flipped)) << "byte " << at;
  }
}

TEST_F(PreflopTables, AFifoInPlaceOfTheCacheIsReplacedNotWaitedOn) {
  ScratchCache scratch;
  ASSERT_EQ(::mkfifo(scratch.File().c_str(), 0600), 0);
  FreePreflopTables();
  EXPECT_EQ(fsm5::load_2(5, 0, 1), kMatchups);
  EXPECT_TRUE(IsRegularFileWithin(scratch.File(), 64u << 20)) << "rewritten as a regular file";
  const uint32_t key = fsm5::ET2I_6[1000];
  const BruteResult brute = BruteEquity({{HeroOf(key)}, {OppOf(key)}}, {}, {}, 3, 0);
  ASSERT_EQ(fsm5::load_2(3, 0, 0), kMatchups);
  const uint32_t* counts = PreflopCounts(3, 0);
  EXPECT_NEAR((counts[2000] + 0.5 * counts[2001]) / 4960.0, brute.equity[0], 1e-12);
}

TEST_F(PreflopTables, LookupsOnManyThreadsWhileTheTablesLoad) {
  FreePreflopTables();
  const Spec hero = SpecOf("AA KQs 76o"), opp = SpecOf("JJ T9s AKo");
  std::vector<PreflopTally> tallies(4);
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < tallies.size(); ++i)
    threads.emplace_back([&, i] {
      // Half the threads load, the others only look up until the tables appear: a lookup
      // sees no tables or whole ones, never a part.
      while ((tallies[i] = TallyPreflop(hero, opp, 4, 1)).pairs == 0)
        if (i % 2 == 0) fsm5::load_2(4, 1, 0);
    });
  for (auto& t : threads) t.join();
  for (const auto& t : tallies) {
    EXPECT_GT(t.pairs, 0u);
    EXPECT_EQ(t.wins, tallies[0].wins);
    EXPECT_EQ(t.ties, tallies[0].ties);
  }
}

}  // namespace
}  // namespace ferrox::testing
