#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "quillet/Equity.h"
#include "quillet/EquityProblem.h"
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
    for (int i = 0; i < samples; ++i) {
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

TEST_F(PreflopTables, ACorruptCacheIsRebuilt) {
  const auto file = PreflopCacheFile();
  ASSERT_TRUE(std::filesystem::exists(file)) << file;
  const auto size = std::filesystem::file_size(file);
  const auto dir = std::filesystem::temp_directory_path() / ("ferrox_cache_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::filesystem::copy_file(file, dir / file.filename());
  std::filesystem::resize_file(dir / file.filename(), size / 2);
  const std::string previous = std::getenv("FERROX_CACHE_DIR") ? std::getenv("FERROX_CACHE_DIR") : "";
  ::setenv("FERROX_CACHE_DIR", dir.c_str(), 1);
  FreePreflopTables();
  EXPECT_EQ(fsm5::load_2(5, 0, 1), kMatchups);
  EXPECT_EQ(std::filesystem::file_size(dir / file.filename()), size) << "rewritten whole";
  const uint32_t key = fsm5::ET2I_6[1000];
  const BruteResult brute = BruteEquity({{HeroOf(key)}, {OppOf(key)}}, {}, {}, 3, 0);
  ASSERT_EQ(fsm5::load_2(3, 0, 0), kMatchups);
  const uint32_t* counts = PreflopCounts(3, 0);
  EXPECT_NEAR((counts[2000] + 0.5 * counts[2001]) / 4960.0, brute.equity[0], 1e-12);
  std::filesystem::remove_all(dir);
  if (previous.empty()) ::unsetenv("FERROX_CACHE_DIR");
  else ::setenv("FERROX_CACHE_DIR", previous.c_str(), 1);
}

}  // namespace
}  // namespace ferrox::testing
