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

// From this many hands of one player at a value on, ties are counted by joining the sums:
// hands at one value share cards so often that counting them hand by hand stays cheaper
// up to about there (measured on four-way requests of 10% to 30%: flat from 8 to 16).
constexpr std::size_t kManyAtAValue = 12;

}  // namespace

bool FourWayCounter::Applies(const EquityProblem& problem) {
  return problem.players.size() == 4 && !DisjointRangesCounter::Applies(problem);
}

// Per hand: its value sorted, put into the sums of the other players' sets, looked up
// against them, and its ties at its value; a flat 36 steps for all of it, measured on the
// four-way bench rows (within 10% from 10% to 30% each, preflop and on a flop).
double FourWayCounter::BoardWork(const EquityProblem& problem) {
  double combos = 0;
  for (const auto& p : problem.players) combos += static_cast<double>(p.size());
  return combos * (36 + std::log2(std::max(combos, 2.0)) / 2);
}

FourWayCounter::FourWayCounter(const EquityProblem& problem, Ties ties) : sorted_(problem), ties_(ties) {}

void FourWayCounter::Count(const std::vector<std::vector<int>>& values, uint64_t weight, EquityCounts& out) {
  sorted_.Sort(values);
  const int cards = sorted_.Compact();
  RunWithFastestBitCount([&] {
    if (cards <= 32)
      CountBoard(triples_, cards, weight, out);
    else
      CountBoard(wideTriples_, cards, weight, out);
  });
}

// One sweep up the values. At each, every hand at it is counted against the deals of the
// others at most at it, then it joins the sums.
template <class Triples>
inline void FourWayCounter::CountBoard(Triples& triples, int cards, uint64_t weight, EquityCounts& out) {
  std::array<int64_t, 16> won{};  // by the players holding the top value
  triples.Clear(cards);
  std::array<std::size_t, 4> below{};  // per player, its hands below the value
  while (true) {
    int value = 1 << 16;
    for (int p = 0; p < 4; ++p) value = std::min(value, Next(sorted_[p], below[p]));
    if (value == 1 << 16) break;
    std::array<std::size_t, 4> end{};
    for (int p = 0; p < 4; ++p) end[p] = EndOfValue(sorted_[p], below[p], value);
    for (int p = 0; p < 4; ++p)
      if (end[p] > below[p]) CountTopsAt(triples, p, below, end, won);
    for (int p = 0; p < 4; ++p) Move(triples, p, below[p], end[p], true);
    below = end;
  }
  for (uint32_t s = 1; s < 16; ++s)
    if (won[s]) out.Add(s, static_cast<uint64_t>(won[s]) * weight);
}

// The deals topped by player i's hands at the value, by the players at the top: i with those
// of the players after it that tie, every other player below.
template <class Triples>
inline void FourWayCounter::CountTopsAt(Triples& triples, int i, const std::array<std::size_t, 4>& below,
                                        const std::array<std::size_t, 4>& end, std::array<int64_t, 16>& won) {
  std::size_t most = 0;
  for (int p = 0; p < 4; ++p) most = std::max(most, end[p] - below[p]);
  if (ties_ == Ties::ByJoining || (ties_ == Ties::Cheaper && most >= kManyAtAValue))
    return CountByJoining(triples, i, below, end, won);
  const Sorted& s = sorted_[i];
  int64_t alone = 0;
  for (std::size_t h = below[i]; h < end[i]; ++h) alone += triples.Avoiding(i, s[h].a(), s[h].b());
  won[1u << i] += alone;
  for (int j = i + 1; j < 4; ++j)
    if (end[j] > below[j]) CountTiesOf(triples, i, j, below, end, won);
}

// Ties whose two first players are i and j, hand by hand: the other two below, or after j and
// at the value too.
template <class Triples>
inline void FourWayCounter::CountTiesOf(const Triples& triples, int i, int j, const std::array<std::size_t, 4>& below,
                                        const std::array<std::size_t, 4>& end, std::array<int64_t, 16>& won) {
  int k = 0;
  while (k == i || k == j) ++k;
  const int l = 6 - i - j - k;
  const bool kTies = k > j && end[k] > below[k], lTies = l > j && end[l] > below[l];
  const Sorted &si = sorted_[i], &sj = sorted_[j], &sk = sorted_[k], &sl = sorted_[l];
  const uint32_t top = 1u << i | 1u << j, withK = top | 1u << k, withL = top | 1u << l;
  for (std::size_t h = below[i]; h < end[i]; ++h) {
    const typename Triples::PairsBeside pairs(triples, k, l, si[h].mask());
    for (std::size_t e = below[j]; e < end[j]; ++e) {
      if (si[h].mask() & sj[e].mask()) continue;
      const uint64_t held = si[h].mask() | sj[e].mask();
      won[top] += pairs.Avoiding(sj[e].mask());
      for (std::size_t f = below[k]; kTies && f < end[k]; ++f) {
        if (held & sk[f].mask()) continue;
        won[withK] += triples.HandsAvoiding(l, held | sk[f].mask());
        for (std::size_t g = below[l]; lTies && g < end[l]; ++g)
          won[withK | withL] += !((held | sk[f].mask()) & sl[g].mask());
      }
      for (std::size_t g = below[l]; lTies && g < end[l]; ++g)
        if (!(held & sl[g].mask())) won[withL] += triples.HandsAvoiding(k, held | sl[g].mask());
    }
  }
}

// The same with many hands at the value (a board that plays), in steps per hand: each set of
// the tying players' hands at the value is put into the sums in turn (one in or out per
// step), and the counts with a set in, less those with its subsets in, are the deals those
// players tie.
template <class Triples>
inline void FourWayCounter::CountByJoining(Triples& triples, int i, const std::array<std::size_t, 4>& below,
                                           const std::array<std::size_t, 4>& end, std::array<int64_t, 16>& won) {
  std::array<int, 3> joiners{};
  int n = 0;
  for (int j = i + 1; j < 4; ++j)
    if (end[j] > below[j]) joiners[n++] = j;
  std::array<int64_t, 8> with{};  // by the joiners in, as bits of joiners[]
  uint32_t in = 0;
  for (uint32_t step = 0; step < 1u << n; ++step) {
    const uint32_t gray = step ^ step >> 1;
    if (const uint32_t flip = gray ^ in) {
      const int j = joiners[std::countr_zero(flip)];
      Move(triples, j, below[j], end[j], (gray & flip) != 0);
      in = gray;
    }
    const Sorted& s = sorted_[i];
    for (std::size_t h = below[i]; h < end[i]; ++h) with[in] += triples.Avoiding(i, s[h].a(), s[h].b());
  }
  for (uint32_t j = 0; j < static_cast<uint32_t>(n); ++j)
    if (in >> j & 1) Move(triples, joiners[j], below[joiners[j]], end[joiners[j]], false);
  for (uint32_t set = 0; set < 1u << n; ++set) {
    int64_t exact = 0;  // by inclusion and exclusion over the subsets
    for (uint32_t sub = set;; sub = (sub - 1) & set) {
      exact += (std::popcount(set ^ sub) & 1) ? -with[sub] : with[sub];
      if (sub == 0) break;
    }
    uint32_t top = 1u << i;
    for (int j = 0; j < n; ++j)
      if (set >> j & 1) top |= 1u << joiners[j];
    won[top] += exact;
  }
}

template <class Triples>
inline void FourWayCounter::Move(Triples& triples, int player, std::size_t begin, std::size_t end, bool in) {
  const Sorted& s = sorted_[player];
  for (std::size_t h = begin; h < end; ++h)
    in ? triples.Insert(player, s[h].a(), s[h].b()) : triples.Remove(player, s[h].a(), s[h].b());
}

}  // namespace quillet
