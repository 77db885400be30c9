// Hotness, equity distribution and heatmap against slow enumerations written here, under
// both rule sets.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <queue>
#include <string>
#include <vector>

#include "engine/EquityDistribution.h"
#include "engine/Heatmap.h"
#include "engine/Hotness.h"
#include "tests/engine/Requests.h"
#include "tests/support/BruteEquity.h"
#include "tests/support/Ranges.h"
#include "tests/support/SlowEvaluator.h"
#include "tests/support/TestSupport.h"

namespace ferrox::testing {
namespace {

constexpr int kRuleSets[] = {0, 1};  // standard, straight beats set

std::string NameOf(int card) {
  static constexpr char kRanks[] = "23456789TJQKA", kSuits[] = "cdhs";
  return {kRanks[card % 13], kSuits[card / 13]};
}

// Position 0..35 in the short deck, rank-major, back to a card index.
int CardAt(int position) { return (position % 4) * 13 + 4 + position / 4; }

// Two single hands heads-up on a flop or a turn.
struct HeadsUp {
  std::string hero, op1, board;
  Hand HeroHand() const { return {CardsOf(hero)[0], CardsOf(hero)[1]}; }
  Hand Op1Hand() const { return {CardsOf(op1)[0], CardsOf(op1)[1]}; }
  std::vector<int> Board() const { return CardsOf(board); }
  // The cards the next street can bring.
  std::vector<int> NextCards() const {
    std::vector<int> known = Board();
    for (int c : CardsOf(hero + op1)) known.push_back(c);
    std::vector<int> next;
    for (int p = 0; p < 36; ++p)
      if (std::find(known.begin(), known.end(), CardAt(p)) == known.end()) next.push_back(CardAt(p));
    return next;
  }
  // The hero's exact share of the pot, the board completed to five cards every way.
  double Exact(const std::vector<int>& board, int rules) const {
    return BruteEquity({{HeroHand()}, {Op1Hand()}}, board, {}, 5, rules).equity[0];
  }
  double ExactWith(int card, int rules) const {
    std::vector<int> board = Board();
    board.push_back(card);
    return Exact(board, rules);
  }
};

// A straight against a set, the straight drawing to a flush: the rule set decides most
// rivers, and every river settles the hand.
const HeadsUp kTurn{"QhJh", "8s8c", "Ts 9h 8d Kh"};
// A straight with a flush draw against a set on the flop: hearts, pairing cards and the
// rule set all move the equity.
const HeadsUp kFlop{"KhQh", "9s9d", "Jh Th 9c"};

// Bound for a mean of `runs` games each worth 0, 1/2 or 1 around its exact value p: the
// variance is at most p(1 - p), so five standard errors; nothing when the result is certain.
double Tolerance(double p, int runs) { return 5 * std::sqrt(p * (1 - p) / runs) + 1e-9; }

// The distribution's level of an equity: trunc(100 x equity), capped at 99.
int LevelOf(double equity) { return std::min(99, static_cast<int>(100.0 * std::clamp(equity, 0.0, 1.0))); }

// On a complete board two single hands play every game alike, so few runs will do there.
constexpr int kTurnRuns = 64;
constexpr int kFlopRuns = 20'000 / kSampleDivisor;

// Per next card: the engine's hero and Op1 rows, checked against the exact equity: every
// river is counted. Returns the exact equities by card.
std::map<int, double> ExpectHotnessMatches(const HeadsUp& c, int rules) {
  const HotnessResult r = ComputeHotness(ListOf(c.hero), ListOf(c.op1), c.Board(), 0, quillet::Rules(rules), L"", L"");
  EXPECT_FALSE(r.sampled);
  std::map<int, double> hero, op1, exact;
  for (const HotnessEntry& e : r.hero) hero[quillet::kSixPlusDeck[e.card]] = e.equity;
  for (const HotnessEntry& e : r.opponent) op1[quillet::kSixPlusDeck[e.card]] = e.equity;
  const std::vector<int> next = c.NextCards();
  EXPECT_EQ(hero.size(), next.size()) << "one row per card that can come";
  EXPECT_EQ(op1.size(), next.size());
  for (int card : next) {
    const double p = c.ExactWith(card, rules);
    exact[card] = p;
    const std::string where = NameOf(card) + " on " + c.board + " rules " + std::to_string(rules);
    if (!hero.count(card) || !op1.count(card)) {
      ADD_FAILURE() << "no row for " << where;
      continue;
    }
    EXPECT_NEAR(hero[card], 100 * p, 1e-9) << where;
    EXPECT_NEAR(op1[card], 100 - 100 * p, 1e-9) << where;
  }
  return exact;
}

// The largest change a single next card makes to the equity on the current board.
double LargestSwing(const HeadsUp& c, const std::map<int, double>& exact, int rules) {
  const double now = c.Exact(c.Board(), rules);
  double swing = 0;
  for (const auto& [card, p] : exact) swing = std::max(swing, std::abs(p - now));
  return swing;
}

double LargestRuleGap(const std::map<int, double>& standard, const std::map<int, double>& straightBeatsSet) {
  double gap = 0;
  for (const auto& [card, p] : standard) gap = std::max(gap, std::abs(p - straightBeatsSet.at(card)));
  return gap;
}

TEST(HotnessAgainstEnumeration, TurnRowsAreExactUnderBothRules) {
  std::map<int, double> exact[2];
  for (int rules : kRuleSets) {
    exact[rules] = ExpectHotnessMatches(kTurn, rules);
    for (const auto& [card, p] : exact[rules]) EXPECT_TRUE(p == 0 || p == 0.5 || p == 1) << "every river decides";
    // Rows left on the turn board would all sit at its equity, strictly between 0 and 1.
    EXPECT_GT(LargestSwing(kTurn, exact[rules], rules), 0.5);
  }
  EXPECT_EQ(LargestRuleGap(exact[0], exact[1]), 1.0) << "a river that the rule set turns around";
}

TEST(HotnessAgainstEnumeration, FlopRowsAreExactUnderBothRules) {
  std::map<int, double> exact[2];
  for (int rules : kRuleSets) {
    exact[rules] = ExpectHotnessMatches(kFlop, rules);
    EXPECT_GT(LargestSwing(kFlop, exact[rules], rules), 0.3) << "some turn card must matter";
  }
  EXPECT_GT(LargestRuleGap(exact[0], exact[1]), 0.3);
}

TEST(DistributionAgainstEnumeration, TurnHistogramAndCurveAreExactUnderBothRules) {
  std::vector<int> levels[2];
  for (int rules : kRuleSets) {
    const Distribution d = ComputeDistribution(RequestOf({kTurn.hero, kTurn.op1}, kTurn.board), quillet::Rules(rules), true,
                                               kTurnRuns, 23 + rules);
    std::array<int, 101> histogram{};
    for (int card : kTurn.NextCards()) {
      const int level = LevelOf(kTurn.ExactWith(card, rules));
      ++histogram[100 - level];
      levels[rules].push_back(level);
    }
    EXPECT_EQ(d.deals, static_cast<int>(levels[rules].size())) << "rules " << rules;
    EXPECT_EQ(d.histogram, histogram) << "rules " << rules;

    // Point x of the curve: the level of the deal at x% of them, best first. Where x% falls
    // exactly on a deal the share sums may round either way, so those points are skipped.
    std::vector<int> best = levels[rules];
    std::sort(best.rbegin(), best.rend());
    const int n = static_cast<int>(best.size());
    const auto points = DistributionCurve(d);
    for (int x = 1; x < 100; ++x) {
      if (x * n % 100 == 0) continue;
      EXPECT_EQ(points[x].x, x);
      EXPECT_EQ(points[x].y, best[x * n / 100]) << "x " << x << " rules " << rules;
    }
    // Dealt cards left off the board would all land on the turn board's own level.
    const int turnLevel = LevelOf(kTurn.Exact(kTurn.Board(), rules));
    EXPECT_GT(std::count_if(best.begin(), best.end(), [&](int l) { return std::abs(l - turnLevel) > 10; }), n / 2);
  }
  EXPECT_NE(levels[0], levels[1]) << "the rule set must change some river";
}

// Whether the sampled levels can be paired one to one with the deals, each level inside its
// deal's allowed range: points in order, each taking the open range that closes first.
bool LevelsFitRanges(std::vector<int> levels, std::vector<std::pair<int, int>> ranges) {
  if (levels.size() != ranges.size()) return false;
  std::sort(levels.begin(), levels.end());
  std::sort(ranges.begin(), ranges.end());
  std::priority_queue<int, std::vector<int>, std::greater<>> open;
  std::size_t next = 0;
  for (int level : levels) {
    while (next < ranges.size() && ranges[next].first <= level) open.push(ranges[next++].second);
    if (open.empty() || open.top() < level) return false;
    open.pop();
  }
  return true;
}

TEST(DistributionAgainstEnumeration, FlopLevelsWithinSamplingErrorUnderBothRules) {
  std::vector<double> exact[2];
  for (int rules : kRuleSets) {
    const Distribution d = ComputeDistribution(RequestOf({kFlop.hero, kFlop.op1}, kFlop.board), quillet::Rules(rules), true,
                                               kFlopRuns, 29 + rules);
    std::vector<std::pair<int, int>> ranges;
    std::string expected;
    for (int card : kFlop.NextCards()) {
      const double p = kFlop.ExactWith(card, rules);
      const double tolerance = Tolerance(p, kFlopRuns);
      exact[rules].push_back(p);
      ranges.push_back({LevelOf(p - tolerance), LevelOf(p + tolerance)});
      expected += " " + NameOf(card) + ":" + std::to_string(ranges.back().first) + "-" +
                  std::to_string(ranges.back().second);
    }
    std::vector<int> levels;
    std::string got;
    for (int i = 1; i <= 100; ++i)
      for (int k = 0; k < d.histogram[i]; ++k) {
        levels.push_back(100 - i);
        got += " " + std::to_string(100 - i);
      }
    EXPECT_EQ(d.deals, static_cast<int>(ranges.size()));
    EXPECT_TRUE(LevelsFitRanges(levels, ranges)) << "rules " << rules << "\nallowed:" << expected
                                                 << "\nengine:" << got;

    // Dealt cards left off the board would all land near the flop's own level.
    const double flop = kFlop.Exact(kFlop.Board(), rules);
    const auto far = [&](double p) { return std::abs(p - flop) > 0.2; };
    EXPECT_GT(std::count_if(exact[rules].begin(), exact[rules].end(), far), 3);
  }
  EXPECT_NE(exact[0], exact[1]);
}

int PositionOf(int card) { return (card % 13 - 4) * 4 + card / 13; }

// Strength of every five-card hand of the short deck by the slow evaluator, under both rule
// sets, as its place among the distinct strengths (larger is stronger). Seven cards then
// take 21 look-ups instead of 21 slow evaluations.
class FiveCardStrengths {
 public:
  FiveCardStrengths() {
    for (int n = 0; n <= 36; ++n) {
      choose_[n][0] = 1;
      for (int k = 1; k <= 5; ++k) choose_[n][k] = n == 0 ? 0 : choose_[n - 1][k - 1] + choose_[n - 1][k];
    }
    std::vector<uint32_t> packed[2];
    for (auto& p : packed) p.resize(choose_[36][5]);
    int p[5];
    for (p[0] = 0; p[0] < 36; ++p[0])
      for (p[1] = p[0] + 1; p[1] < 36; ++p[1])
        for (p[2] = p[1] + 1; p[2] < 36; ++p[2])
          for (p[3] = p[2] + 1; p[3] < 36; ++p[3])
            for (p[4] = p[3] + 1; p[4] < 36; ++p[4]) {
              int cards[5];
              for (int i = 0; i < 5; ++i) cards[i] = CardAt(p[i]);
              for (int rules : kRuleSets) packed[rules][Index(p)] = Pack(SlowFive(cards, rules));
            }
    table_.resize(choose_[36][5]);
    for (int rules : kRuleSets) {
      std::vector<uint32_t> distinct = packed[rules];
      std::sort(distinct.begin(), distinct.end());
      distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
      for (std::size_t i = 0; i < table_.size(); ++i)
        table_[i][rules] = static_cast<uint16_t>(
            std::lower_bound(distinct.begin(), distinct.end(), packed[rules][i]) - distinct.begin());
    }
  }

  // Best five of seven deck positions given in ascending order, per rule set.
  std::array<uint16_t, 2> Best(const int seven[7]) const {
    std::array<uint16_t, 2> best{};
    for (int skip1 = 0; skip1 < 7; ++skip1)
      for (int skip2 = skip1 + 1; skip2 < 7; ++skip2) {
        int five[5], k = 0;
        for (int i = 0; i < 7; ++i)
          if (i != skip1 && i != skip2) five[k++] = seven[i];
        const auto& s = table_[Index(five)];
        best[0] = std::max(best[0], s[0]);
        best[1] = std::max(best[1], s[1]);
      }
    return best;
  }

 private:
  // The order, then the tiebreak ranks a nibble each: tiebreaks of one order have one length.
  static uint32_t Pack(const SlowStrength& s) {
    uint32_t packed = static_cast<uint32_t>(s.order) << 20;
    for (std::size_t i = 0; i < s.tiebreak.size(); ++i) packed |= static_cast<uint32_t>(s.tiebreak[i]) << (16 - 4 * i);
    return packed;
  }
  // Combinatorial number of five ascending positions.
  uint32_t Index(const int p[5]) const {
    return choose_[p[0]][1] + choose_[p[1]][2] + choose_[p[2]][3] + choose_[p[3]][4] + choose_[p[4]][5];
  }

  uint32_t choose_[37][6] = {};
  std::vector<std::array<uint16_t, 2>> table_;
};

// Every hand of a class such as "JJ", "87s" or "A6o", written out card by card.
std::vector<Hand> ClassHands(const std::string& name) {
  const std::string ranks = "23456789TJQKA";
  const int r1 = static_cast<int>(ranks.find(name[0])), r2 = static_cast<int>(ranks.find(name[1]));
  std::vector<Hand> hands;
  for (int s1 = 0; s1 < 4; ++s1)
    for (int s2 = 0; s2 < 4; ++s2) {
      const bool keep = r1 == r2 ? s1 < s2 : name[2] == 's' ? s1 == s2 : s1 != s2;
      if (keep) hands.push_back({s1 * 13 + r1, s2 * 13 + r2});
    }
  return hands;
}

struct ClassTally {
  uint64_t wins[2] = {}, ties[2] = {}, boards = 0;
  int hands = 0;
};

// Every hand of each class against every hand of Op1 it shares no card with, on every board
// of five of the other 32 cards. A hand's strength on a board is taken once for all its
// opponents.
std::vector<ClassTally> TallyClasses(const FiveCardStrengths& strengths, const std::vector<std::vector<Hand>>& classes,
                                     const std::vector<Hand>& op1) {
  struct Hole {
    int low, high;
    uint64_t mask;
  };
  auto holeOf = [](const Hand& h) {
    const int a = PositionOf(h.first), b = PositionOf(h.second);
    return Hole{std::min(a, b), std::max(a, b), (uint64_t{1} << a) | (uint64_t{1} << b)};
  };
  // Op1's hands first, then each class's.
  std::vector<Hole> holes;
  for (const Hand& h : op1) holes.push_back(holeOf(h));
  struct Matchup {
    int cls, hero, op1;
  };
  std::vector<Matchup> matchups;
  std::vector<ClassTally> tallies(classes.size());
  for (std::size_t c = 0; c < classes.size(); ++c) {
    tallies[c].hands = static_cast<int>(classes[c].size());
    for (const Hand& h : classes[c]) {
      holes.push_back(holeOf(h));
      for (std::size_t o = 0; o < op1.size(); ++o)
        if (!(holes.back().mask & holes[o].mask))
          matchups.push_back({static_cast<int>(c), static_cast<int>(holes.size()) - 1, static_cast<int>(o)});
    }
  }

  std::vector<std::array<uint16_t, 2>> strength(holes.size());
  int b[5];
  for (b[0] = 0; b[0] < 36; ++b[0])
    for (b[1] = b[0] + 1; b[1] < 36; ++b[1])
      for (b[2] = b[1] + 1; b[2] < 36; ++b[2])
        for (b[3] = b[2] + 1; b[3] < 36; ++b[3])
          for (b[4] = b[3] + 1; b[4] < 36; ++b[4]) {
            uint64_t board = 0;
            for (int p : b) board |= uint64_t{1} << p;
            for (std::size_t i = 0; i < holes.size(); ++i) {
              if (holes[i].mask & board) continue;
              // The board with the two hole cards slotted in, ascending.
              int seven[7], n = 0, k = 0;
              for (int p : {holes[i].low, holes[i].high}) {
                while (k < 5 && b[k] < p) seven[n++] = b[k++];
                seven[n++] = p;
              }
              while (k < 5) seven[n++] = b[k++];
              strength[i] = strengths.Best(seven);
            }
            for (const Matchup& m : matchups) {
              if ((holes[m.hero].mask | holes[m.op1].mask) & board) continue;
              ClassTally& t = tallies[m.cls];
              for (int rules : kRuleSets) {
                t.wins[rules] += strength[m.hero][rules] > strength[m.op1][rules];
                t.ties[rules] += strength[m.hero][rules] == strength[m.op1][rules];
              }
              ++t.boards;
            }
          }
  return tallies;
}

TEST(HeatmapAgainstEnumeration, ClassesMatchEveryBoardUnderBothRules) {
  const std::string op1Text = "JhJd 8s7s";
  std::vector<Hand> op1;
  for (const char* hand : {"JhJd", "8s7s"}) op1.push_back({CardsOf(hand)[0], CardsOf(hand)[1]});
  // A suited connector that loses a hand to Op1, a pair blocked by Op1 on one hand only, a
  // small pair that sets up against straights.
  std::vector<std::string> names = {"87s", "JJ", "66"};
  if (kSampleDivisor > 1) names.resize(1);  // sanitized, the enumeration is ten times slower

  OrderingRanges orderings;
  RangeParser parser(orderings, quillet::kRulesStandard);
  std::vector<HeatmapRow> rows[2];
  for (int rules : kRuleSets) {
    parser.SetRules(rules == 1 ? quillet::kRulesStraightBeatsSet : quillet::kRulesStandard);
    rows[rules] = ComputeHeatmap(SpecOf(op1Text), parser);
    ASSERT_EQ(rows[rules].size(), 81u);
  }
  std::vector<std::vector<Hand>> classes;
  for (const std::string& name : names) classes.push_back(ClassHands(name));
  const std::vector<ClassTally> tallies = TallyClasses(FiveCardStrengths(), classes, op1);

  for (std::size_t c = 0; c < names.size(); ++c) {
    const std::string& name = names[c];
    const ClassTally& t = tallies[c];
    ASSERT_GT(t.boards, 0u);
    const double boards = static_cast<double>(t.boards);
    const std::wstring label(name.begin(), name.end());
    for (int rules : kRuleSets) {
      const auto row = std::find_if(rows[rules].begin(), rows[rules].end(),
                                    [&](const HeatmapRow& r) { return r.hand == label; });
      ASSERT_NE(row, rows[rules].end()) << name;
      const std::string where = name + " rules " + std::to_string(rules);
      EXPECT_EQ(row->combos, t.hands) << where;
      EXPECT_NEAR(row->wins, t.wins[rules] / boards, 1e-12) << where;
      EXPECT_NEAR(row->splits, t.ties[rules] / boards, 1e-12) << where;
      EXPECT_NEAR(row->losses, (t.boards - t.wins[rules] - t.ties[rules]) / boards, 1e-12) << where;
      EXPECT_NEAR(row->equity, (t.wins[rules] + 0.5 * t.ties[rules]) / boards, 1e-12) << where;
    }
    EXPECT_GT(std::abs(static_cast<double>(t.wins[0]) - static_cast<double>(t.wins[1])) / boards, 1e-4)
        << name << ": the rule set must show";
  }
}

}  // namespace
}  // namespace ferrox::testing
