#include "quillet/SortedHands.h"

#include <algorithm>
#include <array>
#include <bit>

namespace quillet {
namespace {

// The card's place among the cards of `used`, counted from the lowest.
uint32_t DenseIndex(uint64_t used, int card) {
  return static_cast<uint32_t>(std::popcount(used & ((uint64_t{1} << card) - 1)));
}

}  // namespace

SortedHands::SortedHands(const EquityProblem& problem)
    : cards_(problem.players.size()), sorted_(problem.players.size()) {
  uint64_t all = 0;
  for (const auto& range : problem.players)
    for (uint64_t m : range.masks) all |= m;
  cardsInUse_ = std::popcount(all);
  const auto dense = [all](int card) { return DenseIndex(all, card); };
  for (std::size_t p = 0; p < problem.players.size(); ++p)
    for (uint64_t m : problem.players[p].masks)
      cards_[p].push_back(dense(std::countr_zero(m)) << 8 | dense(63 - std::countl_zero(m)));
}

void SortedHands::Sort(const std::vector<std::vector<int>>& values) {
  for (std::size_t p = 0; p < sorted_.size(); ++p) {
    Sorted& sorted = sorted_[p];
    sorted.clear();
    for (std::size_t i = 0; i < values[p].size(); ++i)
      if (values[p][i] >= 0) sorted.push_back({static_cast<uint32_t>(values[p][i]) << 16 | cards_[p][i]});
    std::sort(sorted.begin(), sorted.end());
  }
}

int SortedHands::Compact() {
  uint64_t used = 0;
  for (const Sorted& s : sorted_)
    for (const SortedHand& h : s) used |= h.mask();
  std::array<uint32_t, 64> dense{};
  for (uint64_t m = used; m; m &= m - 1) dense[std::countr_zero(m)] = DenseIndex(used, std::countr_zero(m));
  for (Sorted& s : sorted_)
    for (SortedHand& h : s) h.key = (h.key & 0xffff0000u) | dense[h.a()] << 8 | dense[h.b()];
  return std::popcount(used);
}

}  // namespace quillet
