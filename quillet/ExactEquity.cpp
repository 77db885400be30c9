// Exact equity: every deal of disjoint hands and every completion of the board.
//
// Two ways to walk the same space:
//  - deal by deal: for each deal, every board; few deals with many boards (hands preflop);
//  - board by board: for each board, every combination evaluated once, then the deals
//    compared; many deals with few boards (ranges on a flop or turn). Heads-up, a board's
//    wins and ties are counted for all hero hands at once by sorting both ranges and
//    removing the opponent hands that share a card by inclusion-exclusion; three players
//    are counted the same way, a hand against every pair of the others' hands; ranges that
//    share no card are counted by value without any deal walked.
// Both count one deal or board of each orbit under the suit permutations that leave the
// problem as it is, weighted by the orbit's size.
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <memory>

#include "quillet/DeadCardPreflop.h"
#include "quillet/DisjointRangesCounter.h"
#include "quillet/EquityProblem.h"
#include "quillet/Evaluator.h"
#include "quillet/FourWayCounter.h"
#include "quillet/MultiwayCounter.h"
#include "quillet/Parallel.h"
#include "quillet/SuitSymmetry.h"
#include "quillet/ThreeWayCounter.h"

namespace quillet {
namespace {

constexpr std::size_t kDealListCap = 1 << 18;
constexpr double kParallelWork = 5e4;  // evaluations worth waking a helper (about 0.1 ms)

struct BoardCards {
  std::vector<uint64_t> keys, masks;
  int size() const { return static_cast<int>(keys.size()); }
};

BoardCards CardsOutside(uint64_t excluded) {
  BoardCards cards;
  for (int i = 0; i < kDeckSize; ++i) {
    const int c = SixPlusDeckCards()[i];
    if (excluded & CardBit(c)) continue;
    cards.keys.push_back(KeyOf(c));
    cards.masks.push_back(CardBit(c));
  }
  return cards;
}

// The cards of `all` outside `used`, into `out` (whose storage is kept from call to call).
void CardsOutside(const BoardCards& all, uint64_t used, BoardCards& out) {
  out.keys.clear();
  out.masks.clear();
  for (int i = 0; i < all.size(); ++i) {
    if (all.masks[i] & used) continue;
    out.keys.push_back(all.keys[i]);
    out.masks.push_back(all.masks[i]);
  }
}

double Choose(int n, int k) {
  if (k < 0 || k > n) return 0;
  double r = 1;
  for (int i = 0; i < k; ++i) r = r * (n - i) / (i + 1);
  return r;
}

template <class Leaf>
void WalkBoards(const BoardCards& c, int start, int depth, uint64_t key, uint64_t mask, Leaf& leaf) {
  if (depth == 0) {
    leaf(key, mask);
    return;
  }
  const int n = c.size();
  if (depth == 1) {
    if constexpr (requires { leaf.Last(key, mask, c, start); }) {
      leaf.Last(key, mask, c, start);
    } else {
      for (int i = start; i < n; ++i) leaf(key + c.keys[i], mask | c.masks[i]);
    }
    return;
  }
  for (int i = start; i <= n - depth; ++i)
    WalkBoards(c, i + 1, depth - 1, key + c.keys[i], mask | c.masks[i], leaf);
}

// Boards whose first card is position `first`.
template <class Leaf>
void WalkBoardsFrom(const BoardCards& c, int first, int depth, Leaf& leaf) {
  WalkBoards(c, first + 1, depth - 1, c.keys[first], c.masks[first], leaf);
}

// --- deal by deal ---------------------------------------------------------------------

// One deal's boards: the winners of each board counted. On the last card, the flush test is
// made once for all the cards to come when no player can complete a flush with one card.
struct DealLeaf {
  const FastEvaluator& eval;
  const uint64_t* keys;
  const uint64_t* masks;
  int players;
  EquityCounts& out;

  void operator()(uint64_t key, uint64_t mask) const { out.Add(Winners(eval, keys, masks, players, key, mask)); }

  void Last(uint64_t key, uint64_t mask, const BoardCards& c, int start) const {
    bool noFlush = true;
    for (int p = 0; p < players; ++p) noFlush &= FastEvaluator::NoFlushWithMore(keys[p] + key, 1);
    const int n = c.size();
    if (noFlush)
      for (int i = start; i < n; ++i) out.Add(WinnersNoFlush(eval, keys, players, key + c.keys[i]));
    else
      for (int i = start; i < n; ++i) (*this)(key + c.keys[i], mask | c.masks[i]);
  }
};

// The deals that stand for their orbits, with the orbit sizes.
struct CanonicalDeals {
  std::vector<uint16_t> deals;  // players per deal
  std::vector<uint32_t> weights;
  std::size_t size() const { return weights.size(); }
};

CanonicalDeals CanonicalOf(const EquityProblem& pr, const SuitSymmetry& symmetry,
                           const std::vector<uint16_t>& deals, std::size_t dealCount) {
  const int players = static_cast<int>(pr.players.size());
  CanonicalDeals out;
  std::array<uint64_t, kMaxPlayers> hands{};
  for (std::size_t d = 0; d < dealCount; ++d) {
    const uint16_t* deal = &deals[d * players];
    for (int p = 0; p < players; ++p) hands[p] = pr.players[p].masks[deal[p]];
    const uint32_t weight = symmetry.Order() == 1 ? 1 : symmetry.DealWeight(hands.data(), players);
    if (weight == 0) continue;
    out.deals.insert(out.deals.end(), deal, deal + players);
    out.weights.push_back(weight);
  }
  return out;
}

EquityCounts DealByDeal(const EquityProblem& pr, const CanonicalDeals& canonical, int need, int threads) {
  const int players = static_cast<int>(pr.players.size());
  const FastEvaluator eval(pr.rules);
  const uint64_t boardKey = KeyOfMask(pr.board);
  const BoardCards all = CardsOutside(pr.board | pr.dead);
  const auto dealCount = canonical.size();
  // Few deals: split each deal's boards by their first card as well.
  const bool splitBoards = need > 0 && dealCount < 64;
  const int perDeal = splitBoards ? all.size() : 1;
  std::vector<EquityCounts> counts(threads, EquityCounts(players)), weighted(threads, EquityCounts(players));
  std::vector<BoardCards> free(threads);

  ParallelFor(static_cast<int>(dealCount) * perDeal, threads, [&](int item, int worker) {
    if (pr.Stopped()) return;  // an item is a few milliseconds at most
    const std::size_t d = static_cast<std::size_t>(item / perDeal);
    const uint32_t weight = canonical.weights[d];
    const uint16_t* deal = &canonical.deals[d * players];
    std::array<uint64_t, kMaxPlayers> keys{}, masks{};
    uint64_t used = 0;
    for (int p = 0; p < players; ++p) {
      keys[p] = boardKey + pr.players[p].keys[deal[p]];
      masks[p] = pr.board | pr.players[p].masks[deal[p]];
      used |= pr.players[p].masks[deal[p]];
    }
    const int first = item % perDeal;
    if (splitBoards && (all.masks[first] & used)) return;
    // A deal that stands for others is counted apart, then added as often as it stands.
    EquityCounts& out = weight == 1 ? counts[worker] : weighted[worker];
    if (weight != 1) out.Clear();
    DealLeaf leaf{eval, keys.data(), masks.data(), players, out};
    BoardCards& cards = free[worker];
    CardsOutside(all, used, cards);
    if (!splitBoards) {
      WalkBoards(cards, 0, need, 0, 0, leaf);
    } else {
      const int position = static_cast<int>(
          std::find(cards.masks.begin(), cards.masks.end(), all.masks[first]) - cards.masks.begin());
      WalkBoardsFrom(cards, position, need, leaf);
    }
    if (weight != 1) counts[worker].Merge(out, weight);
  });
  for (int w = 1; w < threads; ++w) counts[0].Merge(counts[w]);
  return counts[0];
}

// --- board by board -------------------------------------------------------------------

struct Valued {
  int value;
  int index;
  bool operator<(const Valued& o) const { return value < o.value; }
};

// Heads-up on one board: hero wins, ties and losses against every disjoint opponent hand.
class HeadsUpCounter {
 public:
  explicit HeadsUpCounter(const EquityProblem& pr) : hero_(pr.players[0]), opp_(pr.players[1]) {
    for (const auto* range : {&hero_, &opp_}) {
      auto& cards = range == &hero_ ? heroCards_ : oppCards_;
      for (uint64_t m : range->masks)
        cards.push_back({std::countr_zero(m), 63 - std::countl_zero(m)});
    }
    for (std::size_t h = 0; h < hero_.size(); ++h) {
      const auto it = std::find(opp_.masks.begin(), opp_.masks.end(), hero_.masks[h]);
      alsoOpponent_.push_back(it != opp_.masks.end());
    }
  }

  // values: per hand, -1 for hands that touch the board.
  void Count(const std::vector<int>& heroValues, const std::vector<int>& oppValues, uint64_t weight,
             EquityCounts& out) {
    Sorted(heroValues, hero_, heroSorted_);
    Sorted(oppValues, opp_, oppSorted_);
    std::array<int, 64> byCardAll{}, byCardLower{}, byCardEqual{};
    for (const Valued& o : oppSorted_) ++byCardAll[oppCards_[o.index][0]], ++byCardAll[oppCards_[o.index][1]];
    const int oppAll = static_cast<int>(oppSorted_.size());
    int lowerAll = 0, equalAll = 0;
    std::size_t j = 0;
    int equalValue = -1;
    uint64_t wins = 0, ties = 0, losses = 0;
    for (const Valued& h : heroSorted_) {
      if (h.value != equalValue) {
        // Hands below the new value join the lower group; the equal group is rebuilt.
        for (; j < oppSorted_.size() && oppSorted_[j].value < h.value; ++j) {
          ++lowerAll;
          ++byCardLower[oppCards_[oppSorted_[j].index][0]];
          ++byCardLower[oppCards_[oppSorted_[j].index][1]];
        }
        equalAll = 0;
        byCardEqual = {};
        for (std::size_t k = j; k < oppSorted_.size() && oppSorted_[k].value == h.value; ++k) {
          ++equalAll;
          ++byCardEqual[oppCards_[oppSorted_[k].index][0]];
          ++byCardEqual[oppCards_[oppSorted_[k].index][1]];
        }
        equalValue = h.value;
      }
      const int a = heroCards_[h.index][0], b = heroCards_[h.index][1];
      const int same = alsoOpponent_[h.index] ? 1 : 0;  // the opponent holding this very hand
      const int w = lowerAll - byCardLower[a] - byCardLower[b];
      const int t = equalAll - byCardEqual[a] - byCardEqual[b] + same;
      const int total = oppAll - byCardAll[a] - byCardAll[b] + same;
      wins += w;
      ties += t;
      losses += total - w - t;
    }
    out.Add(0b01, wins * weight);
    out.Add(0b11, ties * weight);
    out.Add(0b10, losses * weight);
  }

 private:
  static void Sorted(const std::vector<int>& values, const PlayerRange& range, std::vector<Valued>& out) {
    out.clear();
    for (std::size_t i = 0; i < range.size(); ++i)
      if (values[i] >= 0) out.push_back({values[i], static_cast<int>(i)});
    std::sort(out.begin(), out.end());
  }

  const PlayerRange& hero_;
  const PlayerRange& opp_;
  std::vector<std::array<int, 2>> heroCards_, oppCards_;
  std::vector<bool> alsoOpponent_;
  std::vector<Valued> heroSorted_, oppSorted_;
};

EquityCounts BoardByBoard(const EquityProblem& pr, const SuitSymmetry& symmetry, int need, int threads) {
  const int players = static_cast<int>(pr.players.size());
  const FastEvaluator eval(pr.rules);
  const uint64_t boardKey = KeyOfMask(pr.board);
  const BoardCards cards = CardsOutside(pr.board | pr.dead);
  const int items = need == 0 ? 1 : cards.size() - need + 1;
  std::vector<EquityCounts> counts(threads, EquityCounts(players));

  struct Scratch {
    std::vector<std::vector<int>> values;
    std::unique_ptr<HeadsUpCounter> headsUp;
    std::unique_ptr<DisjointRangesCounter> disjoint;
    std::unique_ptr<ThreeWayCounter> threeWay;
    std::unique_ptr<FourWayCounter> fourWay;
    std::unique_ptr<MultiwayCounter> multiway;
  };
  const bool disjoint = DisjointRangesCounter::Applies(pr);
  const bool threeWay = ThreeWayCounter::Applies(pr), fourWay = FourWayCounter::Applies(pr);
  std::vector<Scratch> scratch(threads);
  for (auto& s : scratch) {
    s.values.resize(players);
    for (int p = 0; p < players; ++p) s.values[p].resize(pr.players[p].size());
    if (players == 2) s.headsUp = std::make_unique<HeadsUpCounter>(pr);
    else if (disjoint) s.disjoint = std::make_unique<DisjointRangesCounter>(pr);
    else if (threeWay) s.threeWay = std::make_unique<ThreeWayCounter>(pr);
    else if (fourWay) s.fourWay = std::make_unique<FourWayCounter>(pr);
    else s.multiway = std::make_unique<MultiwayCounter>(pr);
  }

  ParallelFor(items, threads, [&](int item, int worker) {
    Scratch& s = scratch[worker];
    auto leaf = [&](uint64_t addKey, uint64_t addMask) {
      if (pr.Stopped()) return;  // a board costs a whole range's evaluations
      const uint32_t weight = symmetry.Order() == 1 ? 1 : symmetry.Weight(addMask);
      if (weight == 0) return;  // another board of its orbit stands for it
      const uint64_t key = boardKey + addKey, mask = pr.board | addMask;
      const bool noFlush = FastEvaluator::NoFlushWithMore(key, 2);  // no suit three times on the board
      for (int p = 0; p < players; ++p) {
        const PlayerRange& range = pr.players[p];
        int* values = s.values[p].data();
        if (noFlush)
          for (std::size_t i = 0; i < range.size(); ++i)
            values[i] = (range.masks[i] & addMask) ? -1 : eval.NoFlush(key + range.keys[i]);
        else
          for (std::size_t i = 0; i < range.size(); ++i)
            values[i] = (range.masks[i] & addMask) ? -1 : eval(key + range.keys[i], mask | range.masks[i]);
      }
      if (s.headsUp) s.headsUp->Count(s.values[0], s.values[1], weight, counts[worker]);
      else if (s.disjoint) s.disjoint->Count(s.values, weight, counts[worker]);
      else if (s.threeWay) s.threeWay->Count(s.values, weight, counts[worker]);
      else if (s.fourWay) s.fourWay->Count(s.values, weight, counts[worker]);
      else s.multiway->Count(s.values, weight, counts[worker]);
    };
    if (need == 0) leaf(0, 0);
    else WalkBoardsFrom(cards, item, need, leaf);
  });
  for (int w = 1; w < threads; ++w) counts[0].Merge(counts[w]);
  return counts[0];
}

// Deals of the players but `skipped` (-1: of all of them), estimated: the product of the
// range sizes, times, for every two players, the share of their hand pairs that share no
// card (from how many hands of each hold each card).
double EstimatedDeals(const EquityProblem& problem, int skipped = -1) {
  std::vector<std::array<double, 64>> holding;
  double deals = 1;
  for (int p = 0; p < static_cast<int>(problem.players.size()); ++p) {
    if (p == skipped) continue;
    const PlayerRange& range = problem.players[p];
    std::array<double, 64> cards{};
    for (uint64_t m : range.masks)
      for (uint64_t b = m; b; b &= b - 1) cards[std::countr_zero(b)] += 1.0 / static_cast<double>(range.size());
    for (const auto& other : holding) {
      double clash = 0;
      for (int c = 0; c < 64; ++c) clash += cards[c] * other[c];
      deals *= std::max(0.0, 1.0 - clash);
    }
    holding.push_back(cards);
    deals *= static_cast<double>(range.size());
  }
  return deals;
}

// What an enumeration will do: its deals, both walks' work, and which walk it takes.
struct Plan {
  std::vector<uint16_t> deals;
  std::size_t dealCount = 0;
  bool listed = false;
  double dealWork = 0;   // evaluations
  double boardWork = 0;  // evaluations and deal steps
  int symmetryOrder = 1;

  // The walk's work once symmetry has merged what it can. It merges boards by its order, but
  // deals no more than there are: one deal is walked whole whatever the symmetry.
  double Work(bool byDeal) const {
    return byDeal ? dealWork / std::min<double>(symmetryOrder, static_cast<double>(dealCount))
                  : boardWork / symmetryOrder;
  }
};

// Work a board-by-board walk takes: per board, every hand valued and sorted; then, for three
// or four players whose ranges share cards, their sweeps by value; for more, the others' deals
// walked and the widest range counted against each.
double BoardWork(const EquityProblem& problem, double boardsAll, bool disjoint) {
  const int players = static_cast<int>(problem.players.size());
  double combos = 0;
  for (const auto& p : problem.players) combos += static_cast<double>(p.size());
  // Heads-up or without shared cards, the sort of every hand by value is most of it.
  if (players == 2 || disjoint) return boardsAll * combos * (2 + std::log2(std::max(combos, 2.0)) / 2);
  if (ThreeWayCounter::Applies(problem)) return boardsAll * ThreeWayCounter::BoardWork(problem);
  if (FourWayCounter::Applies(problem)) return boardsAll * FourWayCounter::BoardWork(problem);
  const int widest = MultiwayCounter::CountedPlayer(problem);
  const auto widestHands = static_cast<double>(problem.players[widest].size());
  const double outerDeals = EstimatedDeals(problem, widest);
  // Counting the widest range against one deal of the others: each of their cards, and
  // each two of them, looked up; or its hands walked when there are fewer.
  const double cards = 2.0 * (players - 1),
               perDeal = std::min((cards + cards * (cards - 1) / 2) / 2, widestHands / 4);
  return boardsAll * (combos + perDeal * outerDeals + 8 * widestHands);
}

// The deals are listed only where the deal walk may be taken: ranges that share no card
// have the product of their sizes as deals, which can be far too many to list for nothing.
Plan PlanOf(const EquityProblem& problem, const SuitSymmetry& symmetry, Walk walk) {
  Plan plan;
  const int players = static_cast<int>(problem.players.size());
  const int need = problem.CardsToCome();
  const int open = kDeckSize - std::popcount(problem.board | problem.dead);
  const double boardsPerDeal = Choose(open - 2 * players, need);
  const bool disjoint = DisjointRangesCounter::Applies(problem);
  plan.boardWork = BoardWork(problem, Choose(open, need), disjoint);
  plan.symmetryOrder = symmetry.Order();
  if (disjoint && walk != Walk::DealByDeal) {
    double deals = 1;
    for (const auto& p : problem.players) deals *= static_cast<double>(p.size());
    if (deals * boardsPerDeal * players > plan.boardWork) {
      plan.dealCount = static_cast<std::size_t>(std::min(deals, 1e18));
      plan.dealWork = deals * boardsPerDeal * players;
      return plan;
    }
  }
  // Deals far costlier than boards by estimate are not listed: many ranges on a board.
  const double estimated = walk == Walk::Auto ? EstimatedDeals(problem) : 0;
  if (estimated * boardsPerDeal * players > 8 * plan.boardWork) {
    plan.dealCount = static_cast<std::size_t>(std::max(1.0, std::min(estimated, 1e18)));
    plan.dealWork = 1e300;
    return plan;
  }
  plan.dealCount = ListDeals(problem.players, kDealListCap, &plan.deals);
  plan.listed = plan.dealCount < kDealListCap;
  // Too many deals to list: the deal walk cannot be taken.
  plan.dealWork = plan.listed ? static_cast<double>(plan.dealCount) * boardsPerDeal * players : 1e300;
  return plan;
}

bool ByDeal(const Plan& plan, Walk walk) {
  const bool byDeal = walk == Walk::Auto ? plan.dealWork <= plan.boardWork : walk == Walk::DealByDeal;
  return plan.listed && byDeal;
}

// Seconds per unit of work on one core of the reference machine (2-core, shared), measured
// over a spread of requests by the predictor benchmark.
constexpr double kSecondsPerDealUnit = 3.5e-9;
constexpr double kSecondsPerBoardUnit = 6.0e-9;

}  // namespace

double PredictEnumerationSeconds(const EquityProblem& problem, int threads) {
  const int players = static_cast<int>(problem.players.size());
  if (problem.CardsToCome() < 0 || players < 1 || players > kMaxPlayers) return 0;
  if (DeadCardPreflopApplies(problem)) {
    double seconds = 0;
    for (const auto& sub : DeadCardSubproblems(problem)) seconds += PredictEnumerationSeconds(sub.first, threads);
    return seconds;
  }
  const Plan plan = PlanOf(problem, SuitSymmetry(problem), Walk::Auto);
  if (plan.dealCount == 0) return 0;
  const bool byDeal = ByDeal(plan, Walk::Auto);
  const double work = plan.Work(byDeal);
  const double seconds = work * (byDeal ? kSecondsPerDealUnit : kSecondsPerBoardUnit);
  if (threads <= 0) threads = HardwareThreads();
  return work < kParallelWork ? seconds : seconds / threads;
}

EquityCounts EnumerateEquity(const EquityProblem& problem, int threads, Walk walk, Symmetry use) {
  const int players = static_cast<int>(problem.players.size());
  const int need = problem.CardsToCome();
  if (need < 0 || players < 1 || players > kMaxPlayers) return EquityCounts(std::max(players, 0));
  if (walk == Walk::Auto && DeadCardPreflopApplies(problem)) return CountDeadCardPreflop(problem, threads);
  const SuitSymmetry symmetry = use == Symmetry::Use ? SuitSymmetry(problem) : SuitSymmetry();
  const Plan plan = PlanOf(problem, symmetry, walk);
  if (plan.dealCount == 0) return EquityCounts(players);
  const bool byDeal = ByDeal(plan, walk);
  if (threads <= 0) threads = HardwareThreads();
  if (plan.Work(byDeal) < kParallelWork) threads = 1;
  if (byDeal)
    return DealByDeal(problem, CanonicalOf(problem, symmetry, plan.deals, plan.dealCount), need, threads);
  return BoardByBoard(problem, symmetry, need, threads);
}

}  // namespace quillet
