#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>

#include "quillet/Cards.h"
#include "quillet/DisjointTriples.h"
#include "quillet/EquityProblem.h"
#include "quillet/Evaluator.h"
#include "quillet/FourWayCounter.h"
#include "quillet/PairCounter.h"
#include "quillet/ThreeWayCounter.h"
#include "tests/support/BruteEquity.h"
#include "tests/support/TestSupport.h"

namespace ferrox::testing {
namespace {

using namespace quillet;

// A small random request: hands from a few cards of a few ranks, so that players share
// cards and hands and tie often; or each player's hands from cards of its own.
struct Request {
  std::vector<std::vector<Hand>> ranges;
  std::vector<int> board, dead;
  int target = 5;
  int rules = 0;
};

enum class Cards { Overlapping, Disjoint };

std::vector<int> Shuffled(std::mt19937& rng) {
  std::vector<int> deck(SixPlusDeckCards(), SixPlusDeckCards() + kDeckSize);
  std::shuffle(deck.begin(), deck.end(), rng);
  return deck;
}

std::vector<Hand> HandsFrom(const std::vector<int>& pool, int count, std::mt19937& rng) {
  std::vector<Hand> all;
  for (std::size_t a = 0; a < pool.size(); ++a)
    for (std::size_t b = a + 1; b < pool.size(); ++b) all.push_back({pool[a], pool[b]});
  std::shuffle(all.begin(), all.end(), rng);
  all.resize(std::min<std::size_t>(all.size(), count));
  return all;
}

Request RandomRequest(int players, Cards cards, int known, std::mt19937& rng) {
  Request r;
  r.rules = static_cast<int>(rng() % 2);
  r.target = known == 0 ? 3 : 5;
  std::vector<int> deck = Shuffled(rng);
  // Cards of three ranks (twelve cards) make pairs and equal hands.
  const int low = kLowestRank + static_cast<int>(rng() % (kAceRank - kLowestRank - 1));
  std::stable_partition(deck.begin(), deck.end(), [&](int c) { return GetCardRank(c) - low < 3; });
  const int poolSize = cards == Cards::Overlapping ? 2 * players + 4 : 5;
  std::vector<int> pool(deck.begin(), deck.begin() + 4 * 3);
  std::shuffle(pool.begin(), pool.end(), rng);
  std::vector<int> rest(deck.begin() + 12, deck.end());
  std::shuffle(rest.begin(), rest.end(), rng);
  if (cards == Cards::Disjoint) {
    pool.insert(pool.end(), rest.begin(), rest.begin() + 8);
    rest.erase(rest.begin(), rest.begin() + 8);
  }
  for (int p = 0; p < players; ++p) {
    const auto from = cards == Cards::Overlapping ? pool.begin() : pool.begin() + p * poolSize;
    r.ranges.push_back(HandsFrom({from, from + poolSize}, 2 + static_cast<int>(rng() % 7), rng));
  }
  r.board.assign(rest.begin(), rest.begin() + known);
  if (rng() % 2) r.dead.push_back(pool[rng() % pool.size()]);
  return r;
}

EquityProblem ProblemOf(const Request& r) {
  EquityProblem problem;
  for (const auto& range : r.ranges) {
    std::vector<uint64_t> masks;
    for (const Hand& h : range) masks.push_back(CardBit(h.first) | CardBit(h.second));
    problem.AddPlayer(masks);
  }
  for (int c : r.board) problem.board |= CardBit(c);
  for (int c : r.dead) problem.dead |= CardBit(c);
  problem.target = r.target;
  problem.rules = Rules(r.rules);
  return problem;
}

void ExpectBruteForce(const EquityCounts& counts, const BruteResult& brute, const Request& r) {
  ASSERT_EQ(counts.games(), static_cast<uint64_t>(brute.games));
  for (std::size_t p = 0; p < r.ranges.size(); ++p) EXPECT_NEAR(counts.Equity(static_cast<int>(p)), brute.equity[p], 1e-12) << p;
}

// The counter alone on a whole board; hands that touch it are given no value.
template <class Counter>
void CountOneBoard(const EquityProblem& problem, uint64_t board, Counter& counter, EquityCounts& out) {
  const FastEvaluator eval(problem.rules);
  std::vector<std::vector<int>> values;
  for (const auto& range : problem.players) {
    values.emplace_back();
    for (uint64_t m : range.masks) values.back().push_back((m & board) ? -1 : eval.ofMask(board | m));
  }
  counter.Count(values, 1, out);
}

// The counter alone on every completion of the board, one board at a time.
template <class Counter>
void CountEveryBoard(const EquityProblem& problem, uint64_t board, int need, int first, Counter& counter,
                     EquityCounts& out) {
  if (need == 0) return CountOneBoard(problem, board, counter, out);
  for (int i = first; i < kDeckSize; ++i) {
    const uint64_t card = CardBit(SixPlusDeckCards()[i]);
    if ((board | problem.dead) & card) continue;
    CountEveryBoard(problem, board | card, need - 1, i + 1, counter, out);
  }
}

template <class Counter>
EquityCounts SweptOverBoards(const EquityProblem& problem) {
  EquityCounts counts(static_cast<int>(problem.players.size()));
  Counter counter(problem);
  CountEveryBoard(problem, problem.board, problem.CardsToCome(), 0, counter, counts);
  return counts;
}

// Ranges card-disjoint or not, on a whole board.
template <class Counter>
void CheckOneBoard(int players, Cards cards, int seed) {
  std::mt19937 rng(seed);
  int checked = 0;
  for (int round = 0; round < 60; ++round) {
    const Request r = RandomRequest(players, cards, 5, rng);
    const BruteResult brute = BruteEquity(r.ranges, r.board, r.dead, 5, r.rules);
    EquityProblem problem = ProblemOf(r);
    if (!problem.Prepare() || brute.games == 0) continue;
    const EquityCounts counts = SweptOverBoards<Counter>(problem);
    SCOPED_TRACE(round);
    ExpectBruteForce(counts, brute, r);
    ++checked;
  }
  EXPECT_GT(checked, 20);
}

TEST(ThreeWayCounter, SharingCardsOnOneBoard) { CheckOneBoard<ThreeWayCounter>(3, Cards::Overlapping, 1); }
TEST(ThreeWayCounter, WithCardsOfTheirOwnOnOneBoard) { CheckOneBoard<ThreeWayCounter>(3, Cards::Disjoint, 3); }
// Both ways of counting four-way ties, each alone: hand by hand, and by joining the sums.
struct FourWayTiesHandByHand : FourWayCounter {
  explicit FourWayTiesHandByHand(const EquityProblem& problem) : FourWayCounter(problem, Ties::HandByHand) {}
};
struct FourWayTiesByJoining : FourWayCounter {
  explicit FourWayTiesByJoining(const EquityProblem& problem) : FourWayCounter(problem, Ties::ByJoining) {}
};

TEST(FourWayCounter, SharingCardsOnOneBoard) { CheckOneBoard<FourWayCounter>(4, Cards::Overlapping, 2); }
TEST(FourWayCounter, TiesHandByHandOnOneBoard) { CheckOneBoard<FourWayTiesHandByHand>(4, Cards::Overlapping, 5); }
TEST(FourWayCounter, TiesByJoiningOnOneBoard) { CheckOneBoard<FourWayTiesByJoining>(4, Cards::Overlapping, 6); }
TEST(FourWayCounter, WithCardsOfTheirOwnOnOneBoard) { CheckOneBoard<FourWayCounter>(4, Cards::Disjoint, 4); }

// Boards of none, three and four cards completed: by the counter alone, and by the whole
// enumeration (whose narrow ranges walk their deals).
template <class Counter>
void CheckEnumeration(int players, int known, int seed) {
  std::mt19937 rng(seed);
  int checked = 0;
  for (int round = 0; round < (known == 0 ? 4 : 16); ++round) {
    const Request r = RandomRequest(players, Cards::Overlapping, known, rng);
    const BruteResult brute = BruteEquity(r.ranges, r.board, r.dead, r.target, r.rules);
    EquityProblem problem = ProblemOf(r);
    if (!problem.Prepare() || brute.games == 0) continue;
    SCOPED_TRACE(round);
    ExpectBruteForce(SweptOverBoards<Counter>(problem), brute, r);
    ExpectBruteForce(EnumerateEquity(problem, 1, Walk::BoardByBoard), brute, r);
    ++checked;
  }
  EXPECT_GT(checked, 0);
}

TEST(ThreeWayCounter, Preflop) { CheckEnumeration<ThreeWayCounter>(3, 0, 11); }
TEST(ThreeWayCounter, OnAFlop) { CheckEnumeration<ThreeWayCounter>(3, 3, 12); }
TEST(ThreeWayCounter, OnATurn) { CheckEnumeration<ThreeWayCounter>(3, 4, 13); }
TEST(FourWayCounter, Preflop) { CheckEnumeration<FourWayCounter>(4, 0, 21); }
TEST(FourWayCounter, OnAFlop) { CheckEnumeration<FourWayCounter>(4, 3, 22); }
TEST(FourWayCounter, OnATurn) { CheckEnumeration<FourWayCounter>(4, 4, 23); }
TEST(FourWayCounter, TiesHandByHandOnAFlop) { CheckEnumeration<FourWayTiesHandByHand>(4, 3, 24); }
TEST(FourWayCounter, TiesByJoiningOnAFlop) { CheckEnumeration<FourWayTiesByJoining>(4, 3, 25); }

// Random hands in and out of both sides; after each change, the disjoint pairs against
// random hands, one or two, counted directly.
TEST(PairCounter, DisjointPairsAsHandsComeAndGo) {
  std::mt19937 rng(7);
  for (int round = 0; round < 20; ++round) {
    // Few cards, so that hands meet, repeat across the sides, and touch the looked-up hand.
    std::vector<int> cards(SixPlusDeckCards(), SixPlusDeckCards() + kDeckSize);
    std::shuffle(cards.begin(), cards.end(), rng);
    cards.resize(6 + round % 7);
    const std::vector<Hand> all = HandsFrom(cards, 100, rng);
    PairCounter counter;
    std::array<std::vector<Hand>, 2> sides;
    for (int step = 0; step < 40; ++step) {
      const int side = static_cast<int>(rng() % 2);
      const Hand hand = all[rng() % all.size()];
      auto& held = sides[side];
      const auto at = std::find(held.begin(), held.end(), hand);
      if (at == held.end()) {
        counter.Insert(side, hand.first, hand.second);
        held.push_back(hand);
      } else if (rng() % 2) {
        counter.Remove(side, hand.first, hand.second);
        held.erase(at);
      }
      const Hand probe = all[rng() % all.size()];
      const auto meets = [](const Hand& x, const Hand& y) {
        return x.first == y.first || x.first == y.second || x.second == y.first || x.second == y.second;
      };
      int64_t direct = 0;
      for (const Hand& a : sides[0])
        for (const Hand& b : sides[1]) direct += !meets(a, b) && !meets(a, probe) && !meets(b, probe);
      ASSERT_EQ(counter.Disjoint(probe.first, probe.second), direct) << round << " " << step;
      // And against two hands at once, of four different cards.
      const Hand second = all[rng() % all.size()];
      if (meets(probe, second)) continue;
      direct = 0;
      for (const Hand& a : sides[0])
        for (const Hand& b : sides[1])
          direct += !meets(a, b) && !meets(a, probe) && !meets(b, probe) && !meets(a, second) && !meets(b, second);
      ASSERT_EQ(PairCounter::WithHand(counter, probe.first, probe.second).Disjoint(second.first, second.second), direct)
          << round << " " << step;
    }
  }
}

// Random hands into and out of four sets; after each change, for every player and a random
// hand, the ways the other three hold disjoint hands avoiding it, and those of two of them and
// of one avoiding a few random cards, counted directly.
TEST(DisjointTriples, WaysTheOtherThreeAvoidAHand) {
  std::mt19937 rng(11);
  const auto meets = [](const Hand& x, const Hand& y) {
    return x.first == y.first || x.first == y.second || x.second == y.first || x.second == y.second;
  };
  for (int round = 0; round < 30; ++round) {
    // Few cards, so that hands meet, repeat across the sets and make triangles; the last
    // rounds spread over the whole deck's lanes.
    std::vector<int> cards(36);
    for (int c = 0; c < static_cast<int>(cards.size()); ++c) cards[c] = c;
    std::shuffle(cards.begin(), cards.end(), rng);
    cards.resize(round < 24 ? 6 + round % 8 : 36);
    const std::vector<Hand> all = HandsFrom(cards, 400, rng);
    DisjointTriples<48> counter;
    counter.Clear(36);
    std::array<std::vector<Hand>, 4> sets;
    for (int step = 0; step < (round < 24 ? 60 : 160); ++step) {
      const int player = static_cast<int>(rng() % 4);
      const Hand hand = all[rng() % all.size()];
      auto& held = sets[player];
      const auto at = std::find(held.begin(), held.end(), hand);
      if (at == held.end()) {
        counter.Insert(player, hand.first, hand.second);
        held.push_back(hand);
      } else if (rng() % 3 == 0) {
        counter.Remove(player, hand.first, hand.second);
        held.erase(at);
      }
      for (int p = 0; p < 4; ++p) {
        const Hand probe = all[rng() % all.size()];
        std::array<int, 3> o{};
        for (int q = 0, i = 0; q < 4; ++q)
          if (q != p) o[i++] = q;
        int64_t direct = 0;
        for (const Hand& a : sets[o[0]])
          for (const Hand& b : sets[o[1]])
            for (const Hand& c : sets[o[2]])
              direct += !meets(a, b) && !meets(a, c) && !meets(b, c) && !meets(a, probe) && !meets(b, probe) &&
                        !meets(c, probe);
        ASSERT_EQ(counter.Avoiding(p, probe.first, probe.second), direct) << round << " " << step << " " << p;
        // Two of the others, and one, against up to six cards (two or three hands' worth).
        uint64_t held = 0;
        for (int i = 0, n = 1 + static_cast<int>(rng() % 6); i < n; ++i)
          held |= uint64_t{1} << cards[rng() % cards.size()];
        const auto avoids = [held](const Hand& x) { return !(held >> x.first & 1) && !(held >> x.second & 1); };
        int64_t pairs = 0, hands = 0;
        for (const Hand& a : sets[o[0]]) {
          hands += avoids(a);
          for (const Hand& b : sets[o[1]]) pairs += avoids(a) && avoids(b) && !meets(a, b);
        }
        ASSERT_EQ(counter.PairsAvoiding(o[0], o[1], held), pairs) << round << " " << step << " " << p;
        ASSERT_EQ(counter.HandsAvoiding(o[0], held), hands) << round << " " << step << " " << p;
      }
    }
  }
}

}  // namespace
}  // namespace ferrox::testing
