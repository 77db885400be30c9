#include "quillet/ThreeWayCounter.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "quillet/DisjointRangesCounter.h"

// The counter's lookups are mostly bit counts: where the processor has the instruction, a
// copy of the sweep is built to use it.
#if defined(__x86_64__) && defined(__GNUC__)
#define QUILLET_POPCNT_COPY 1
#endif

namespace quillet {
namespace {

using Sorted = std::vector<ThreeWayCounter::Hand>;

// Totals over the counted hands [begin, end) of the disjoint pairs.
inline int64_t Sum(const PairCounter& pairs, const Sorted& mine, std::size_t begin, std::size_t end) {
  int64_t total = 0;
  for (std::size_t i = begin; i < end; ++i) total += pairs.Disjoint(mine[i].a(), mine[i].b());
  return total;
}

inline void Move(PairCounter& pairs, int side, const Sorted& s, std::size_t begin, std::size_t end, bool in) {
  for (std::size_t i = begin; i < end; ++i)
    in ? pairs.Insert(side, s[i].a(), s[i].b()) : pairs.Remove(side, s[i].a(), s[i].b());
}

inline std::size_t EndOfValue(const Sorted& s, std::size_t begin, int value) {
  while (begin < s.size() && s[begin].value() == value) ++begin;
  return begin;
}

}  // namespace

bool ThreeWayCounter::Applies(const EquityProblem& problem) {
  return problem.players.size() == 3 && !DisjointRangesCounter::Applies(problem);
}

// Per hand: its value sorted, then put into two counters and looked up in one.
double ThreeWayCounter::BoardWork(const EquityProblem& problem) {
  double combos = 0;
  for (const auto& p : problem.players) combos += static_cast<double>(p.size());
  return combos * (12 + std::log2(std::max(combos, 2.0)) / 2);
}

// Cards are renumbered densely, so that the counter is cleared over the cards in use only.
ThreeWayCounter::ThreeWayCounter(const EquityProblem& problem) {
  uint64_t all = 0;
  for (const auto& range : problem.players)
    for (uint64_t m : range.masks) all |= m;
  cardsInUse_ = std::popcount(all);
  const auto dense = [all](int card) { return static_cast<uint32_t>(std::popcount(all & ((uint64_t{1} << card) - 1))); };
  for (int p = 0; p < 3; ++p)
    for (uint64_t m : problem.players[p].masks)
      cards_[p].push_back(dense(std::countr_zero(m)) << 8 | dense(63 - std::countl_zero(m)));
}

void ThreeWayCounter::Count(const std::vector<std::vector<int>>& values, uint64_t weight, EquityCounts& out) {
  for (int p = 0; p < 3; ++p) {
    Sorted& sorted = sorted_[p];
    sorted.clear();
    for (std::size_t i = 0; i < values[p].size(); ++i)
      if (values[p][i] >= 0) sorted.push_back({static_cast<uint32_t>(values[p][i]) << 16 | cards_[p][i]});
    std::sort(sorted.begin(), sorted.end());
  }
#ifdef QUILLET_POPCNT_COPY
  static const bool popcnt = __builtin_cpu_supports("popcnt");
  if (popcnt) return CountBoardPopcnt(weight, out);
#endif
  CountBoard(weight, out);
}

#ifdef QUILLET_POPCNT_COPY
__attribute__((target("popcnt"), flatten)) void ThreeWayCounter::CountBoardPopcnt(uint64_t weight, EquityCounts& out) {
  CountBoard(weight, out);
}
#else
void ThreeWayCounter::CountBoardPopcnt(uint64_t weight, EquityCounts& out) { CountBoard(weight, out); }
#endif

// The last player wins alone whatever deal the others do not count: all deals less theirs.
// All deals are the first player's hands against every pair of the others', which its own
// sweep has almost all put in.
inline void ThreeWayCounter::CountBoard(uint64_t weight, EquityCounts& out) {
  int64_t counted = CountPlayer(0, weight, out);
  const Sorted& first = sorted_[0];
  Move(pairs_, 0, sorted_[1], next_[0], sorted_[1].size(), true);
  Move(pairs_, 1, sorted_[2], next_[1], sorted_[2].size(), true);
  const int64_t all = Sum(pairs_, first, 0, first.size());
  counted += CountPlayer(1, weight, out);
  if (all > counted) out.Add(0b100, static_cast<uint64_t>(all - counted) * weight);
}

// The deals whose first player at the top value is `player`: the others j < k in the
// counter's sides 0 and 1. Per value, the sums over the player's hands of the disjoint
// pairs with each side below the value (B) or at most at it (L) give the deals won alone
// (BB) and tied with j (LB - BB), with k (BL - BB) or with both (LL - LB - BL + BB); only a
// later player may tie, an earlier one counts the deal itself.
inline int64_t ThreeWayCounter::CountPlayer(int player, uint64_t weight, EquityCounts& out) {
  const int j = player == 0 ? 1 : 0, k = player == 2 ? 1 : 2;
  const bool jTies = j > player, kTies = k > player;
  const Sorted& mine = sorted_[player];
  const Sorted& sj = sorted_[j];
  const Sorted& sk = sorted_[k];
  std::size_t nj = 0, nk = 0;  // the hands of j and k in the counter
  pairs_.Clear(cardsInUse_);
  int64_t alone = 0, withJ = 0, withK = 0, withBoth = 0;
  for (std::size_t h = 0; h < mine.size();) {
    const int value = mine[h].value();
    const std::size_t end = EndOfValue(mine, h, value);
    for (; nj < sj.size() && sj[nj].value() < value; ++nj) pairs_.Insert(0, sj[nj].a(), sj[nj].b());
    for (; nk < sk.size() && sk[nk].value() < value; ++nk) pairs_.Insert(1, sk[nk].a(), sk[nk].b());
    const int64_t bb = Sum(pairs_, mine, h, end);
    int64_t lb = bb, bl = bb, ll = bb;
    const std::size_t jEnd = jTies ? EndOfValue(sj, nj, value) : nj;
    const std::size_t kEnd = kTies ? EndOfValue(sk, nk, value) : nk;
    if (jEnd > nj) {
      Move(pairs_, 0, sj, nj, jEnd, true);
      lb = ll = Sum(pairs_, mine, h, end);
    }
    if (kEnd > nk) {
      Move(pairs_, 1, sk, nk, kEnd, true);
      ll = Sum(pairs_, mine, h, end);
      bl = ll;
      if (jEnd > nj) {
        Move(pairs_, 0, sj, nj, jEnd, false);
        bl = Sum(pairs_, mine, h, end);
        Move(pairs_, 0, sj, nj, jEnd, true);
      }
    }
    nj = jEnd;
    nk = kEnd;
    alone += bb;
    withJ += lb - bb;
    withK += bl - bb;
    withBoth += ll - lb - bl + bb;
    h = end;
  }
  next_ = {nj, nk};
  const uint32_t me = 1u << player;
  if (alone) out.Add(me, static_cast<uint64_t>(alone) * weight);
  if (withJ) out.Add(me | 1u << j, static_cast<uint64_t>(withJ) * weight);
  if (withK) out.Add(me | 1u << k, static_cast<uint64_t>(withK) * weight);
  if (withBoth) out.Add(me | 1u << j | 1u << k, static_cast<uint64_t>(withBoth) * weight);
  return alone + withJ + withK + withBoth;
}

}  // namespace quillet
