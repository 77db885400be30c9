// Hotness of ranges with dead cards, card by card against the slow count, under both rule
// sets; the same table from run to run; sampling beyond the exact limit; a stop.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "engine/Hotness.h"
#include "tests/support/BruteEquity.h"
#include "tests/support/Ranges.h"
#include "tests/support/TestSupport.h"

namespace ferrox::testing {
namespace {

struct Case {
  std::string hero, op1, board, dead;

  HotnessResult Compute(int rules, double exactSecondsLimit = kHotnessExactSecondsLimit, int runs = 1000,
                        Progress* progress = nullptr) const {
    return ComputeHotness(ListOf(hero), ListOf(op1), CardsOf(board), quillet::VecToInt64(CardsOf(dead)),
                          quillet::Rules(rules), L"", L"", runs, 7, progress, 1, exactSecondsLimit);
  }
  // The hero's share with `card` added to the board, every river counted slowly; no games
  // when no deal is possible.
  BruteResult Brute(int card, int rules) const {
    std::vector<int> next = CardsOf(board);
    next.push_back(card);
    return BruteEquity({HandsOf(SpecOf(hero)), HandsOf(SpecOf(op1))}, next, CardsOf(dead), 5, rules);
  }
  // Every short-deck card, written out, that is neither on the board nor dead.
  std::vector<int> Unseen() const {
    std::vector<int> known = CardsOf(board + dead), unseen;
    for (int suit = 0; suit < 4; ++suit)
      for (int rank = 4; rank <= 12; ++rank)
        if (std::find(known.begin(), known.end(), suit * 13 + rank) == known.end()) unseen.push_back(suit * 13 + rank);
    return unseen;
  }
};

// On the turn the hero holds aces that share the ace of spades: with that river no hand is
// left, so it has no row. Ts is dead.
const Case kTurn{"AsAh AsAd", "JJ T9s 87s", "Qh Jd 6c 9s", "Ts"};
// A flop with two dead cards; straights, sets and flush draws on both sides.
const Case kFlop{"AKs QQ", "JJ T9s", "Jh Th 9c", "Qd 8h"};

std::map<int, HotnessEntry> ByCard(const std::vector<HotnessEntry>& entries) {
  std::map<int, HotnessEntry> rows;
  for (const HotnessEntry& e : entries) rows[quillet::kSixPlusDeck[e.card]] = e;
  return rows;
}

// Every row against the slow count; tolerance 0 asks for the exact value.
void ExpectRowsMatch(const Case& c, const HotnessResult& r, int rules, double tolerance) {
  const auto hero = ByCard(r.hero), op1 = ByCard(r.opponent);
  std::size_t rows = 0;
  for (int card : c.Unseen()) {
    const BruteResult brute = c.Brute(card, rules);
    const std::string where = "card " + std::to_string(card) + " on " + c.board + ", rules " + std::to_string(rules);
    if (brute.games == 0) {
      EXPECT_FALSE(hero.count(card) || op1.count(card)) << "no deal, yet a row for " << where;
      continue;
    }
    ++rows;
    if (!hero.count(card) || !op1.count(card)) {
      ADD_FAILURE() << "no row for " << where;
      continue;
    }
    const double expected = 100 * brute.equity[0];
    EXPECT_NEAR(hero.at(card).equity, expected, tolerance + 1e-9) << where;
    EXPECT_NEAR(op1.at(card).equity, 100 - expected, tolerance + 1e-9) << where;
  }
  EXPECT_EQ(r.hero.size(), rows);
  EXPECT_EQ(r.opponent.size(), rows);
}

TEST(ExactHotness, EveryRowIsTheSlowCountWithDeadCardsUnderBothRules) {
  for (const Case* c : {&kTurn, &kFlop})
    for (int rules : {0, 1}) {
      const HotnessResult r = c->Compute(rules);
      EXPECT_FALSE(r.sampled);
      ExpectRowsMatch(*c, r, rules, 0);
    }
  EXPECT_EQ(kTurn.Compute(0).hero.size(), kTurn.Unseen().size() - 1) << "the ace of spades leaves no deal";
}

TEST(ExactHotness, SameTableEachRunWithEqualEquitiesInDeckOrder) {
  // Single hands on a turn: every river wins, splits or loses, so many rows tie.
  const Case c{"QhJh", "8s8c", "Ts 9h 8d Kh", ""};
  const HotnessResult first = c.Compute(0), second = c.Compute(0);
  int ties = 0;
  for (const auto* rows : {&first.hero, &first.opponent})
    for (std::size_t i = 1; i < rows->size(); ++i) {
      if ((*rows)[i - 1].equity != (*rows)[i].equity) continue;
      ++ties;
      EXPECT_LT((*rows)[i - 1].card, (*rows)[i].card) << "row " << i;
    }
  EXPECT_GT(ties, 10);
  for (const auto& [a, b] : {std::pair{&first.hero, &second.hero}, std::pair{&first.opponent, &second.opponent}}) {
    ASSERT_EQ(a->size(), b->size());
    for (std::size_t i = 0; i < a->size(); ++i) {
      EXPECT_EQ((*a)[i].card, (*b)[i].card) << "row " << i;
      EXPECT_EQ((*a)[i].equity, (*b)[i].equity) << "row " << i;
    }
  }
}

TEST(ExactHotness, SampledBeyondTheLimitWithinSamplingError) {
  const int runs = 20'000 / kSampleDivisor;
  Progress progress;
  const HotnessResult r = kFlop.Compute(1, 0.0, runs, &progress);
  EXPECT_TRUE(r.sampled);
  EXPECT_EQ(progress.Total(), quillet::kDeckSize * static_cast<uint64_t>(runs));
  EXPECT_EQ(progress.Done(), progress.Total());
  // Five standard errors of a mean of games each worth 0, 1/2 or 1.
  ExpectRowsMatch(kFlop, r, 1, 100 * 5 * 0.5 / std::sqrt(runs));
  const auto exact = ByCard(kFlop.Compute(1).hero);
  const auto differs = [&](const HotnessEntry& e) { return exact.at(quillet::kSixPlusDeck[e.card]).equity != e.equity; };
  EXPECT_TRUE(std::any_of(r.hero.begin(), r.hero.end(), differs)) << "sampled rows are not the counted ones";
}

TEST(ExactHotness, AStopEndsTheWorkKeepingOnlyWholeRows) {
  Progress before;
  before.RequestStop();
  EXPECT_TRUE(kFlop.Compute(0, kHotnessExactSecondsLimit, 1000, &before).hero.empty());

  // Stopped once half the deck's cards are done: the rows kept are counted whole.
  Progress halfway;
  halfway.OnAdvance([&] { if (halfway.Done() >= halfway.Total() / 2) halfway.RequestStop(); }, {});
  const HotnessResult stopped = kFlop.Compute(0, kHotnessExactSecondsLimit, 1000, &halfway);
  const auto full = ByCard(kFlop.Compute(0).hero);
  EXPECT_GT(stopped.hero.size(), 0u);
  EXPECT_LT(stopped.hero.size(), full.size());
  for (const HotnessEntry& e : stopped.hero)
    EXPECT_EQ(e.equity, full.at(quillet::kSixPlusDeck[e.card]).equity) << "card " << e.card;
}

}  // namespace
}  // namespace ferrox::testing
