#include "quillet/DisjointRangesCounter.h"

#include <algorithm>
#include <array>
#include <bit>

namespace quillet {

DisjointRangesCounter::DisjointRangesCounter(const EquityProblem& problem)
    : players_(static_cast<int>(problem.players.size())) {}

bool DisjointRangesCounter::Applies(const EquityProblem& problem) {
  uint64_t seen = 0;
  for (const PlayerRange& range : problem.players) {
    uint64_t cards = 0;
    for (uint64_t m : range.masks) cards |= m;
    if (cards & seen) return false;
    seen |= cards;
  }
  return true;
}

void DisjointRangesCounter::Count(const std::vector<std::vector<int>>& values, uint64_t weight,
                                  EquityCounts& out) {
  entries_.clear();
  for (int p = 0; p < players_; ++p)
    for (int v : values[p])
      if (v >= 0) entries_.push_back({v, p});
  std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) { return a.value < b.value; });

  std::array<uint64_t, kMaxPlayers> below{}, equal{};
  for (std::size_t i = 0; i < entries_.size();) {
    uint32_t present = 0;
    std::size_t j = i;
    for (; j < entries_.size() && entries_[j].value == entries_[i].value; ++j) {
      ++equal[entries_[j].player];
      present |= 1u << entries_[j].player;
    }
    AddLevel(equal.data(), below.data(), present, weight, out);
    for (uint32_t m = present; m; m &= m - 1) {
      const int p = std::countr_zero(m);
      below[p] += equal[p];
      equal[p] = 0;
    }
    i = j;
  }
}

// Every non-empty set of the players holding this value wins it alone when all the others
// hold less.
void DisjointRangesCounter::AddLevel(const uint64_t* equal, const uint64_t* below, uint32_t present,
                                     uint64_t weight, EquityCounts& out) const {
  const uint32_t all = (1u << players_) - 1;
  uint64_t othersBelow = weight;
  for (uint32_t m = all & ~present; m; m &= m - 1) othersBelow *= below[std::countr_zero(m)];
  if (othersBelow == 0) return;
  for (uint32_t winners = present; winners; winners = (winners - 1) & present) {
    uint64_t n = othersBelow;
    for (int p = 0; p < players_; ++p)
      if (present >> p & 1) n *= winners >> p & 1 ? equal[p] : below[p];
    if (n) out.Add(winners, n);
  }
}

}  // namespace quillet
