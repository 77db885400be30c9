#include "quillet/FourWayCounter.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "quillet/DisjointRangesCounter.h"
#include "quillet/PopcountCopy.h"

namespace quillet {
namespace {

constexpr auto EndOfValue = SortedHands::EndOfValue;
constexpr auto Next = SortedHands::ValueAt;

// Each pair's pairs of hands are looked up once: the pairing with the fewest of them.
std::array<int, 4> Order(const EquityProblem& problem) {
  const auto size = [&](int p) { return static_cast<double>(problem.players[p].size()); };
  const std::array<std::array<int, 4>, 3> pairings{{{0, 1, 2, 3}, {0, 2, 1, 3}, {0, 3, 1, 2}}};
  std::array<int, 4> best = pairings[0];
  double fewest = 1e300;
  for (const auto& o : pairings) {
    const double pairs = size(o[0]) * size(o[1]) + size(o[2]) * size(o[3]);
    if (pairs < fewest) fewest = pairs, best = o;
  }
  return best;
}

// From this many hands on, the counter's view of each of their cards is worked out at once.
constexpr std::size_t kPreparedFrom = 16;

// Over the hands [begin, end) of one player and [otherBegin, otherEnd) of another that
// share no card: the disjoint pairs of the counter's hands.
inline int64_t Sum(const PairCounter& pairs, const Sorted& mine, std::size_t begin, std::size_t end,
                   const Sorted& other, std::size_t otherBegin, std::size_t otherEnd) {
  // The count is the same either way round: the fewer hands outside.
  if (end - begin > otherEnd - otherBegin) return Sum(pairs, other, otherBegin, otherEnd, mine, begin, end);
  if (otherEnd == otherBegin) return 0;
  int64_t total = 0;
  uint64_t prepared = 0;  // the cards the other's hands hold, when there are many of them
  if (otherEnd - otherBegin >= kPreparedFrom)
    for (std::size_t j = otherBegin; j < otherEnd; ++j) prepared |= other[j].mask();
  for (std::size_t i = begin; i < end; ++i) {
    const SortedHand h = mine[i];
    PairCounter::WithHand against(pairs, h.a(), h.b(), prepared);
    for (std::size_t j = otherBegin; j < otherEnd; ++j)
      if (!(h.mask() & other[j].mask())) total += against.Disjoint(other[j].a(), other[j].b());
  }
  return total;
}

}  // namespace

bool FourWayCounter::Applies(const EquityProblem& problem) {
  return problem.players.size() == 4 && !DisjointRangesCounter::Applies(problem);
}

// Per hand: its value sorted and put into the counters; per pair of hands of each pair of
// players, a lookup of about two hand steps, ties included.
double FourWayCounter::BoardWork(const EquityProblem& problem) {
  double combos = 0;
  for (const auto& p : problem.players) combos += static_cast<double>(p.size());
  const std::array<int, 4> o = Order(problem);
  const auto size = [&](int i) { return static_cast<double>(problem.players[o[i]].size()); };
  const double pairs = size(0) * size(1) + size(2) * size(3);
  return combos * (16 + std::log2(std::max(combos, 2.0)) / 2) + 2 * pairs;
}

FourWayCounter::FourWayCounter(const EquityProblem& problem) : order_(Order(problem)), sorted_(problem) {}

void FourWayCounter::Count(const std::vector<std::vector<int>>& values, uint64_t weight, EquityCounts& out) {
  sorted_.Sort(values);
  RunWithFastestBitCount([&] { CountBoard(weight, out); });
}

// Deals topped by the first pair with the second below, by the second with the first below,
// and by both pairs.
inline void FourWayCounter::CountBoard(uint64_t weight, EquityCounts& out) {
  const auto [x, y, z, q] = order_;
  std::array<int64_t, 16> won{};  // by the players holding the top value
  CountTops(x, y, z, q, won);
  CountTops(z, q, x, y, won);
  CountTies(won);
  for (uint32_t s = 1; s < 16; ++s)
    if (won[s]) out.Add(s, static_cast<uint64_t>(won[s]) * weight);
}

// Per top value of x and y: the pairs of hands topped by x alone, by y alone, or by both,
// each against the deals of z and q below it.
inline void FourWayCounter::CountTops(int x, int y, int z, int q, std::array<int64_t, 16>& won) {
  const Sorted& sx = sorted_[x];
  const Sorted& sy = sorted_[y];
  const Sorted& sz = sorted_[z];
  const Sorted& sq = sorted_[q];
  const int cards = sorted_.CardsInUse();
  PairCounter& pairs = pairs_[0];
  pairs.Clear(cards);
  std::size_t ix = 0, iy = 0, nz = 0, nq = 0;
  while (ix < sx.size() || iy < sy.size()) {
    const int value = std::min(Next(sx, ix), Next(sy, iy));
    const std::size_t xEnd = EndOfValue(sx, ix, value), yEnd = EndOfValue(sy, iy, value);
    for (; Next(sz, nz) < value; ++nz) pairs.Insert(0, sz[nz].a(), sz[nz].b());
    for (; Next(sq, nq) < value; ++nq) pairs.Insert(1, sq[nq].a(), sq[nq].b());
    won[1u << x] += Sum(pairs, sx, ix, xEnd, sy, 0, iy);
    won[1u << y] += Sum(pairs, sy, iy, yEnd, sx, 0, ix);
    won[1u << x | 1u << y] += Sum(pairs, sx, ix, xEnd, sy, iy, yEnd);
    ix = xEnd;
    iy = yEnd;
  }
}

// Deals whose top value is held in both pairs. Each set of players at the top is counted by
// the hands of two of them at that value (few) against a counter of the other two's hands
// below it; a third or fourth player at the top joins by putting its hands at the value into
// the counter too:
//   x and z at the top, with or without y and q;  x and q, with or without y;
//   y and z, with or without q;  y and q.
inline void FourWayCounter::CountTies(std::array<int64_t, 16>& won) {
  const auto [x, y, z, q] = order_;
  const std::array<TieWalk, 4> walks{{{x, z, y, q, true, true}, {x, q, y, z, true, false}, {y, z, x, q, false, true},
                                      {y, q, x, z, false, false}}};
  for (int w = 1; w <= 4; ++w) pairs_[w].Clear(sorted_.CardsInUse());
  std::array<std::size_t, 4> below{};  // per player, its hands below the value
  // Per walk, the hands of s0 and s1 in its counter: put in when the walk next has a top.
  std::array<std::array<std::size_t, 2>, 4> in{};
  while (true) {
    int value = 1 << 16;
    for (int p = 0; p < 4; ++p) value = std::min(value, Next(sorted_[p], below[p]));
    if (value == 1 << 16) break;
    std::array<std::size_t, 4> end{};
    for (int p = 0; p < 4; ++p) end[p] = EndOfValue(sorted_[p], below[p], value);
    for (int w = 0; w < 4; ++w) {
      const TieWalk& k = walks[w];
      if (end[k.i] == below[k.i] || end[k.j] == below[k.j]) continue;
      SortedHands::Move(pairs_[w + 1], 0, sorted_[k.s0], in[w][0], below[k.s0], true);
      SortedHands::Move(pairs_[w + 1], 1, sorted_[k.s1], in[w][1], below[k.s1], true);
      in[w] = {below[k.s0], below[k.s1]};
      CountTopsAt(k, pairs_[w + 1], below, end, won);
    }
    below = end;
  }
}

// One walk at one value, its counter holding s0's and s1's hands below it. With each side
// below the value (B) or at most at it (L), the sums give the deals with neither of s0, s1
// at the top (BB), with s0 (LB - BB), with s1 (BL - BB) or with both (LL - LB - BL + BB).
inline void FourWayCounter::CountTopsAt(const TieWalk& k, PairCounter& pairs, const std::array<std::size_t, 4>& below,
                                        const std::array<std::size_t, 4>& end, std::array<int64_t, 16>& won) {
  const Sorted& s0 = sorted_[k.s0];
  const Sorted& s1 = sorted_[k.s1];
  const bool join0 = k.tie0 && end[k.s0] > below[k.s0], join1 = k.tie1 && end[k.s1] > below[k.s1];
  // Nothing to count while either side of the counter is empty.
  const auto sum = [&](bool with0, bool with1) -> int64_t {
    if (!(below[k.s0] || with0) || !(below[k.s1] || with1)) return 0;
    return Sum(pairs, sorted_[k.i], below[k.i], end[k.i], sorted_[k.j], below[k.j], end[k.j]);
  };
  // The states in an order that moves each player's hands at the value in and out once.
  const int64_t bb = sum(false, false);
  int64_t lb = bb, bl = bb, ll = bb;
  if (join0) {
    SortedHands::Move(pairs, 0, s0, below[k.s0], end[k.s0], true);
    lb = ll = sum(true, false);
  }
  if (join1) {
    SortedHands::Move(pairs, 1, s1, below[k.s1], end[k.s1], true);
    ll = bl = sum(join0, true);
  }
  if (join0) {
    SortedHands::Move(pairs, 0, s0, below[k.s0], end[k.s0], false);
    if (join1) bl = sum(false, true);
  }
  if (join1) SortedHands::Move(pairs, 1, s1, below[k.s1], end[k.s1], false);
  const uint32_t top = 1u << k.i | 1u << k.j, with0 = 1u << k.s0, with1 = 1u << k.s1;
  won[top] += bb;
  won[top | with0] += lb - bb;
  won[top | with1] += bl - bb;
  won[top | with0 | with1] += ll - lb - bl + bb;
}

}  // namespace quillet
