#include "quillet/ThreeWayCounter.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "quillet/DisjointRangesCounter.h"
#include "quillet/PopcountCopy.h"

namespace quillet {
namespace {

// Totals over the counted hands [begin, end) of the disjoint pairs.
inline int64_t Sum(const PairCounter& pairs, const Sorted& mine, std::size_t begin, std::size_t end) {
  int64_t total = 0;
  for (std::size_t i = begin; i < end; ++i) total += pairs.Disjoint(mine[i].a(), mine[i].b());
  return total;
}

constexpr auto EndOfValue = SortedHands::EndOfValue;

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

ThreeWayCounter::ThreeWayCounter(const EquityProblem& problem) : sorted_(problem) {}

void ThreeWayCounter::Count(const std::vector<std::vector<int>>& values, uint64_t weight, EquityCounts& out) {
  sorted_.Sort(values);
  RunWithFastestBitCount([&] { CountBoard(weight, out); });
}

// The last player wins alone whatever deal the others do not count: all deals less theirs.
// All deals are the first player's hands against every pair of the others', which its own
// sweep has almost all put in.
inline void ThreeWayCounter::CountBoard(uint64_t weight, EquityCounts& out) {
  int64_t counted = CountPlayer(0, weight, out);
  const Sorted& first = sorted_[0];
  SortedHands::Move(pairs_, 0, sorted_[1], next_[0], sorted_[1].size(), true);
  SortedHands::Move(pairs_, 1, sorted_[2], next_[1], sorted_[2].size(), true);
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
  pairs_.Clear(sorted_.CardsInUse());
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
      SortedHands::Move(pairs_, 0, sj, nj, jEnd, true);
      lb = ll = Sum(pairs_, mine, h, end);
    }
    if (kEnd > nk) {
      SortedHands::Move(pairs_, 1, sk, nk, kEnd, true);
      ll = Sum(pairs_, mine, h, end);
      bl = ll;
      if (jEnd > nj) {
        SortedHands::Move(pairs_, 0, sj, nj, jEnd, false);
        bl = Sum(pairs_, mine, h, end);
        SortedHands::Move(pairs_, 0, sj, nj, jEnd, true);
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
